#include "CoordinatorTestSupport.h"
#include "QmlHarness.h"
#include "ShortcutMenu.h"

#include <QQuickItem>
#include <functional>

// The sidebar's shortcut list: rules between rows, the rows' menu and what
// it does.
namespace {
class ShortcutListViews : public CoordinatorTest {
protected:
    ShortcutListViews()
    {
        for (const char *title : {"One", "Two", "Three"})
            EXPECT_TRUE(
                coordinator->upsertShortcut(std::nullopt, title, "spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
        harness.provide(*coordinator);
        harness.provide(preferences);
    }
    std::unique_ptr<QmlHarness::View> show(const QString &skin)
    {
        auto view = harness.view(QByteArray("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                            "ShortcutListView { width: 260; Skinned.skin: '")
            + skin.toUtf8() + "' }");
        EXPECT_TRUE(view) << harness.errors().toStdString();
        return view;
    }
    static QList<QQuickItem *> visibleNamed(QQuickItem *root, const QString &name)
    {
        // Repeaters' rows are child items, not child objects.
        QList<QQuickItem *> found;
        for (QQuickItem *item : root->childItems()) {
            if (item->objectName() == name && item->isVisible())
                found << item;
            found << visibleNamed(item, name);
        }
        return found;
    }
    QStringList titles() const
    {
        QStringList result;
        for (const MusicShortcut &shortcut : coordinator->shortcuts())
            result << shortcut.title;
        return result;
    }
    QmlHarness harness;
};
} // namespace

TEST(ShortcutMenu, FiveItemsInOrderOnlyRemoveDestructive)
{
    QStringList texts;
    QList<bool> destructive;
    for (const QVariant &item : ShortcutMenu::menuItems()) {
        texts << item.toMap().value("text").toString();
        destructive << item.toMap().value("destructive").toBool();
    }
    EXPECT_EQ(texts, (QStringList{"Open in Spotify", "Move up", "Move down", "Edit", "Remove"}));
    EXPECT_EQ(destructive, (QList<bool>{false, false, false, false, true}));
}

TEST_F(ShortcutListViews, RivistaRulesLieBetweenRowsAndUnderTheHeader)
{
    const auto view = show("rivista");
    ASSERT_TRUE(view);
    EXPECT_EQ(visibleNamed(view->item(), "shortcutRow").size(), 3);
    EXPECT_EQ(visibleNamed(view->item(), "rowRule").size(), 2);
    EXPECT_EQ(visibleNamed(view->item(), "headerRule").size(), 1);
    EXPECT_TRUE(visibleNamed(view->item(), "emptyShortcuts").isEmpty());

    const auto classico = show("classico");
    ASSERT_TRUE(classico);
    EXPECT_TRUE(visibleNamed(classico->item(), "rowRule").isEmpty());
    EXPECT_TRUE(visibleNamed(classico->item(), "headerRule").isEmpty());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(ShortcutListViews, MovingAtTheEdgesLeavesTheOrderAndTheMenuActs)
{
    const auto view = show("classico");
    ASSERT_TRUE(view);
    const QList<QQuickItem *> rows = visibleNamed(view->item(), "shortcutRow");
    ASSERT_EQ(rows.size(), 3);
    auto menuOf = [](QQuickItem *row) { return row->property("menu").value<QObject *>(); };

    // "Move up" on the first row and "Move down" on the last change nothing.
    for (QQuickItem *row : rows) {
        auto *menu = menuOf(row);
        ASSERT_TRUE(menu);
    }
    const QStringList before = titles();
    QMetaObject::invokeMethod(menuOf(rows.at(0)), "trigger", Q_ARG(int, 1));
    EXPECT_EQ(titles(), before);
    QMetaObject::invokeMethod(menuOf(rows.at(0)), "trigger", Q_ARG(int, 2));
    EXPECT_EQ(titles(), (QStringList{"Two", "One", "Three"}));

    // "Edit" without an app delegate does nothing; "Remove" removes.
    QMetaObject::invokeMethod(menuOf(rows.at(0)), "trigger", Q_ARG(int, 3));
    QMetaObject::invokeMethod(menuOf(rows.at(0)), "trigger", Q_ARG(int, 4));
    EXPECT_EQ(titles(), (QStringList{"Two", "Three"}));
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST(ShortcutRow, ALongTitleKeepsItsGapToTheKindAndThePlayMark)
{
    QmlHarness harness;
    const QString title(80, u'W');
    for (const char *skin : {"rivista", "classico"}) {
        const auto view = harness.view(QByteArray("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                                  "ShortcutRow { width: 260; kind: 'track'; title: '")
            + title.toUtf8() + "'; Skinned.skin: '" + skin + "' }");
        ASSERT_TRUE(view) << harness.errors().toStdString();
        QQuickItem *titleText = nullptr, *kindText = nullptr, *playMark = nullptr;
        const std::function<void(QQuickItem *)> find = [&](QQuickItem *item) {
            for (QQuickItem *child : item->childItems()) {
                if (!child->isVisible())
                    continue;
                if (child->property("text").toString() == title)
                    titleText = child;
                else if (child->property("text").toString() == "Track")
                    kindText = child;
                else if (child->property("glyph").toString() == "play")
                    playMark = child;
                find(child);
            }
        };
        find(view->item());
        ASSERT_TRUE(titleText && kindText) << skin;
        const double titleEnd = titleText->mapToScene(QPointF(titleText->width(), 0)).x();
        if (QByteArray(skin) == "rivista") {
            EXPECT_GE(kindText->mapToScene(QPointF(0, 0)).x() - titleEnd, 32 - 0.5);
        } else {
            ASSERT_TRUE(playMark);
            EXPECT_NEAR(playMark->mapToScene(QPointF(0, 0)).x() - titleEnd, 30, 0.5);
        }
    }
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}
