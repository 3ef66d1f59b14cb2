#include "Assets.h"
#include "AutomationConsentDialog.h"
#include "PopupStyle.h"
#include "TemporaryHome.h"
#include "X11Server.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QQuickWindow>
#include <QStyle>
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

// The question stands on the app's popup panel in each skin, its words and
// buttons readable there, not in the desktop's own style.
TEST(AutomationConsentBox, TheQuestionIsDrawnInTheSkinWithReadableText)
{
    const auto luminance = [](QRgb rgb) {
        const auto channel = [](int v) {
            const double c = v / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
    };
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        SCOPED_TRACE(toRawValue(skin).toStdString());
        const SkinPalette palette(skin, Aura());
        AutomationConsentBox box(QStringLiteral("com.spotify.client"), palette);
        box.show();
        const QImage picture = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb ground = PopupStyle::look(palette).ground.toQColor().rgb();
        EXPECT_EQ(picture.pixel(2, picture.height() / 2), ground);
        for (QWidget *part : box.findChildren<QWidget *>()) {
            if (!qobject_cast<QLabel *>(part) && !qobject_cast<QPushButton *>(part))
                continue;
            if (qobject_cast<QLabel *>(part) && !qobject_cast<QLabel *>(part)->pixmap().isNull())
                continue;
            const QRect area(part->mapTo(&box, QPoint()), part->size());
            const QRgb under = qobject_cast<QPushButton *>(part)
                ? picture.pixel(area.left() + 3, area.center().y())
                : ground;
            double best = 1;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) {
                    const double a = luminance(picture.pixel(x, y)), b = luminance(under);
                    best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
                }
            EXPECT_GE(best, 4.5) << part->metaObject()->className();
        }
    }
}

// Every line, the question, its detail and both buttons, is in the popups'
// type, beside Orvel's own icon rather than the style's question balloon.
TEST(AutomationConsentBox, EveryLineIsInThePopupsTypeBesideOrvelsOwnIcon)
{
    const QFont type = PopupStyle::menuFont().toQFont();
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        SCOPED_TRACE(toRawValue(skin).toStdString());
        AutomationConsentBox box(QStringLiteral("com.spotify.client"), SkinPalette(skin, Aura()));
        box.show();
        QLabel *icon = nullptr;
        int lines = 0;
        for (QWidget *part : box.findChildren<QWidget *>()) {
            auto *label = qobject_cast<QLabel *>(part);
            if (label && !label->pixmap().isNull()) {
                icon = label;
                continue;
            }
            if (!label && !qobject_cast<QPushButton *>(part))
                continue;
            ++lines;
            const QString text = label ? label->text() : qobject_cast<QPushButton *>(part)->text();
            EXPECT_EQ(part->font().family(), type.family()) << text.toStdString();
            EXPECT_EQ(part->font().pixelSize(), type.pixelSize()) << text.toStdString();
            EXPECT_EQ(part->fontInfo().family(), type.family()) << "drawn in " << text.toStdString();
        }
        EXPECT_EQ(lines, 4);
        ASSERT_TRUE(icon);
        const QPixmap shown = icon->pixmap();
        const QImage picture = shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage balloon = box.style()
                                   ->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, &box)
                                   .pixmap(shown.deviceIndependentSize().toSize(), shown.devicePixelRatio())
                                   .toImage()
                                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_NE(picture, balloon);
        EXPECT_EQ(picture, Assets::image(QStringLiteral("AppIcon"), picture.size()));
    }
}

// On openbox: asked while the dashboard is open, the question is the
// dashboard's dialog, centred on it and without a maximise button; with the
// dashboard closed it stands on its own.
TEST(ConsentQuestionOnOpenbox, AskedOverTheOpenDashboardItIsItsDialog)
{
    if (!X11Server::underWindowManager())
        GTEST_SKIP() << "needs an X server with a window manager (tests/support/run-with-openbox)";
    QQuickWindow dashboard;
    dashboard.setGeometry(300, 120, 800, 600);
    auto surroundings = std::make_shared<ConsentSurroundings>();
    surroundings->owner = [&]() -> QWindow * { return &dashboard; };
    const ConsentPrompt ask = automationConsentDialog(surroundings);
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "dashboard open" : "dashboard closed");
        if (open) {
            dashboard.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&dashboard));
        } else {
            dashboard.hide();
        }
        QTimer::singleShot(0, qApp, [&] {
            auto *box = qobject_cast<AutomationConsentBox *>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            const QString id = QString::number(box->winId());
            const auto property = [&](const char *name) {
                return X11Server::output("xprop", {"-id", id, name});
            };
            // Judged once openbox manages it and has said what it allows.
            EXPECT_TRUE(
                X11Server::within2s([&] { return property("_NET_WM_ALLOWED_ACTIONS").contains("CLOSE"); }));
            const bool transient
                = property("WM_TRANSIENT_FOR").contains(QStringLiteral("0x%1").arg(dashboard.winId(), 0, 16));
            EXPECT_EQ(transient, open);
            if (open) {
                EXPECT_FALSE(property("_NET_WM_ALLOWED_ACTIONS").contains("MAXIMIZE"));
                EXPECT_TRUE(X11Server::within2s([&] {
                    return (box->geometry().center() - dashboard.geometry().center()).manhattanLength() <= 4;
                })) << box->geometry().center().x()
                    << "," << box->geometry().center().y();
            }
            box->allowButton()->click();
        });
        EXPECT_EQ(ask(QStringLiteral("com.spotify.client")), true);
    }
}
