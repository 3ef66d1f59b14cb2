#include "AutomationConsentDialog.h"
#include "TemporaryHome.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Only the two buttons answer the consent question; a dismissed question is
// asked again next time.
TEST(AutomationConsentBox, OnlyTheButtonsAnswerEscapeAndClosingLeaveItOpen)
{
    {
        AutomationConsentBox box(QStringLiteral("com.spotify.client"));
        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.answer(), std::nullopt);
    }
    {
        AutomationConsentBox box(QStringLiteral("com.spotify.client"));
        box.show();
        box.close();
        EXPECT_EQ(box.answer(), std::nullopt);
    }
    {
        AutomationConsentBox box(QStringLiteral("com.spotify.client"));
        box.show();
        box.allowButton()->click();
        EXPECT_EQ(box.answer(), true);
    }
    {
        AutomationConsentBox box(QStringLiteral("com.spotify.client"));
        box.show();
        box.denyButton()->click();
        EXPECT_EQ(box.answer(), false);
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
