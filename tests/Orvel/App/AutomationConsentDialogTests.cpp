#include "AutomationConsentDialog.h"
#include "TemporaryHome.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Only the two buttons answer the consent question; a dismissed question is
// asked again next time.
TEST(AutomationConsentBox, OnlyTheButtonsAnswerEscapeAndClosingLeaveItOpen)
{
    const std::pair<std::function<void(AutomationConsentBox &)>, std::optional<bool>> cases[]
        = {{[](AutomationConsentBox &box) { QTest::keyClick(&box, Qt::Key_Escape); }, std::nullopt},
            {[](AutomationConsentBox &box) { box.close(); }, std::nullopt},
            {[](AutomationConsentBox &box) { box.allowButton()->click(); }, true},
            {[](AutomationConsentBox &box) { box.denyButton()->click(); }, false}};
    for (const auto &[act, answer] : cases) {
        AutomationConsentBox box(QStringLiteral("com.spotify.client"));
        box.show();
        act(box);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.answer(), answer);
    }
}

TEST(AutomationConsentBox, ADismissedPromptRecordsNothingAndAsksAgainNextTime)
{
    TemporaryHome home;
    const AutomationConsentRecord record(home.path("automation.json"));
    const AutomationPermission permission(record, automationConsentDialog());
    int shown = 0;
    // Dismiss each question the moment it is on screen.
    const auto dismissNext = [&] {
        QTimer::singleShot(0, qApp, [&] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                ++shown;
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
    };
    dismissNext();
    EXPECT_EQ(permission.askAgain(QStringLiteral("com.spotify.client")), std::nullopt);
    EXPECT_EQ(record.answer(QStringLiteral("com.spotify.client")), std::nullopt);
    dismissNext();
    EXPECT_EQ(permission.askAgain(QStringLiteral("com.spotify.client")), std::nullopt);
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(QFile::exists(home.path("automation.json")));
}
