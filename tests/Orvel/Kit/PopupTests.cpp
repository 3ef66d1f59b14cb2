#include "QmlHarness.h"
#include "SkinToolTip.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

// The kit's popups close on Escape, as a person expects.
TEST(Popups, EscapeClosesMenusListsAndPopovers)
{
    struct Row {
        const char *view;
        const char *popup;
        const char *open;
    };
    const Row rows[] = {
        {"SkinMenu { id: menu; SkinMenuItem { text: 'One' } SkinMenuItem { text: 'Two' } }", "menu",
            "menu.popup(owner, 0, 0)"},
        {"SkinPopover { id: popover; Text { text: 'Inside' } }", "popover", "popover.open()"},
        {"SkinComboBox { id: combo; model: ['One', 'Two'] }", "combo.popup",
            "combo.forceActiveFocus(); combo.popup.open()"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.view);
        QmlHarness harness;
        const auto view
            = harness.view(QByteArray("import QtQuick\nimport Orvel\nItem { id: owner; width: 300; "
                                      "height: 300\n  property var shown: ")
                    + row.popup + "\n  function show() { " + row.open + " }\n  " + row.view + " }",
                {}, QSize(300, 300));
        ASSERT_TRUE(view) << harness.errors().toStdString();
        view->window()->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
        QMetaObject::invokeMethod(view->item(), "show");
        QObject *popup = view->item()->property("shown").value<QObject *>();
        ASSERT_TRUE(popup);
        ASSERT_TRUE(popup->property("visible").toBool());
        QTest::keyClick(view->window(), Qt::Key_Escape);
        EXPECT_FALSE(popup->property("visible").toBool());
    }
}

TEST(HelpTip, TheSkinnedTipStaysOnItsScreenAndGoesAtAKeyOrAClick)
{
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    SkinToolTip &tip = SkinToolTip::shared();
    QWindow other;
    other.show();
    struct Row {
        QPoint at;
        QEvent::Type gone;
    };
    for (const Row row : {Row{room.center(), QEvent::KeyPress},
             Row{room.topRight(), QEvent::MouseButtonPress}, Row{room.bottomLeft(), QEvent::KeyPress}}) {
        tip.showText(
            row.at, QStringLiteral("<b>Play</b> Morning Run"), SkinPalette(Skin::rivista, Aura::brand()));
        ASSERT_TRUE(tip.isVisible());
        EXPECT_TRUE(room.contains(tip.geometry())) << tip.geometry().x() << "," << tip.geometry().y();
        EXPECT_EQ(tip.geometry().center().x(),
            std::clamp(row.at.x(), room.left() + tip.width() / 2, room.right() - tip.width() / 2))
            << "centred under the point where it fits";
        if (row.gone == QEvent::KeyPress)
            QTest::keyClick(&other, Qt::Key_Escape);
        else
            QTest::mouseClick(&other, Qt::LeftButton);
        EXPECT_FALSE(tip.isVisible());
    }
}
