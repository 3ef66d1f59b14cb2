#include "CoordinatorTestSupport.h"
#include "DashboardState.h"
#include "QmlHarness.h"
#include "SkillSettingsModel.h"
#include "SkillSlotEditorModel.h"
#include "Uuid.h"

#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

// The skill-bar page and its slot editor over the real owners.
namespace {
QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> result;
    for (QQuickItem *child : root->childItems())
        result << child << descendants(child);
    return result;
}

QList<QQuickItem *> allNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> result;
    for (QQuickItem *item : descendants(root))
        if (item->objectName() == name)
            result << item;
    return result;
}
} // namespace

class SkillSettings : public CoordinatorTest {
protected:
    SkillSettings()
    {
        for (const auto &[title, link] : {std::pair{"Morning", "spotify:track:4uLU6hMCjMI75M1A2tKUQC"},
                 {"Evening", "spotify:album:1DFixLWuPkv3KT3TnV35m3"},
                 {"Night", "spotify:artist:0OdUWJ0sBjDrqHygGUXeCF"}})
            EXPECT_TRUE(coordinator->upsertShortcut(std::nullopt, title, link));
        page.setPlayer(coordinator.get());
        page.setPreferences(&preferences);
        page.setState(&state);
        editor.setPlayer(coordinator.get());
        editor.setPreferences(&preferences);
    }

    QUuid id(int i) const { return coordinator->shortcuts().at(i).id; }
    QVariantMap tile(int i) const { return page.tiles().at(i).toMap(); }

    ScopedScheduler installed{clock};
    DashboardState state{nullptr};
    SkillSettingsModel page;
    SkillSlotEditorModel editor;
};

TEST_F(SkillSettings, ADeletedShortcutsSlotReadsAsEmpty)
{
    SkillBar bar;
    bar.assign(id(0), 0);
    bar.assign(QUuid::createUuid(), 2);
    preferences.setSkills(bar);

    EXPECT_EQ(tile(0)["caption"], "Morning");
    EXPECT_EQ(tile(0)["accessibleName"], "Skill slot 1, Morning");
    EXPECT_EQ(tile(2)["filled"], false);
    EXPECT_EQ(tile(2)["caption"], "Slot 3");
    EXPECT_EQ(tile(2)["accessibleName"], "Empty skill slot 3");

    editor.setIndex(2);
    EXPECT_FALSE(editor.filled());
    EXPECT_EQ(editor.menuLabel(), "Choose a favorite");
    EXPECT_TRUE(editor.glyphs().isEmpty());
}

TEST_F(SkillSettings, TileLooksFollowTheSkin)
{
    const SkinPalette classico(Skin::classico, Aura::brand());
    const SkinPalette rivista(Skin::rivista, Aura::brand());
    const auto filled = SkillSettingsModel::tileLook(classico, true);
    EXPECT_FALSE(filled.circle);
    EXPECT_EQ(filled.glyphColor, classico.accentColor());
    EXPECT_EQ(filled.fill, classico.fillColor());

    const auto full = SkillSettingsModel::tileLook(rivista, true);
    const auto empty = SkillSettingsModel::tileLook(rivista, false);
    EXPECT_TRUE(full.circle);
    EXPECT_EQ(full.glyphColor, rivista.textColor());
    EXPECT_FALSE(full.dashed);
    EXPECT_TRUE(empty.dashed);
    EXPECT_NEAR(full.stroke.alphaF(), rivista.textColor().alphaF() * 0.35, 0.01);
    EXPECT_NEAR(empty.stroke.alphaF(), rivista.textColor().alphaF() * 0.2, 0.01);
    EXPECT_EQ(empty.captionColor, rivista.mutedColor());
    EXPECT_FALSE(empty.mediumCaption);
}

TEST_F(SkillSettings, PlacementsAreOneWriteAndHiddenDimsTheSlots)
{
    EXPECT_EQ(page.slotRowOpacity(), 1);
    page.choosePlacement("hidden");
    EXPECT_EQ(preferences.skillPlacement(), SkillPlacement::hidden);
    EXPECT_EQ(page.slotRowOpacity(), 0.55);
    const QVariantList cards = page.placements();
    ASSERT_EQ(cards.size(), 4);
    EXPECT_EQ(cards[3].toMap()["title"], "Hidden");
    EXPECT_TRUE(cards[3].toMap()["selected"].toBool());
    EXPECT_FALSE(cards[0].toMap()["selected"].toBool());
    EXPECT_EQ(cards[1].toMap()["title"], "Beside the header"); // no display has a notch
}

TEST_F(SkillSettings, APendingSlotIsTakenAtOnceAndOpenedATurnLater)
{
    state.setSkillSlot(4);
    page.appear();
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    EXPECT_EQ(page.openSlot(), std::nullopt);
    clock.runUntilIdle();
    EXPECT_EQ(page.openSlot(), 4);

    // While shown, a new request replaces the open slot.
    state.setSkillSlot(1);
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    clock.runUntilIdle();
    EXPECT_EQ(page.openSlot(), 1);
}

TEST_F(SkillSettings, APageGoneBeforeItsTurnOpensNothing)
{
    auto gone = std::make_unique<SkillSettingsModel>();
    gone->setState(&state);
    state.setSkillSlot(3);
    gone->appear();
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    gone.reset();
    clock.runUntilIdle();
    EXPECT_EQ(state.skillSlot(), std::nullopt);
}

TEST_F(SkillSettings, ADismissalClosesOnlyItsOwnSlotAndNewFromALinkClosesFirst)
{
    page.open(2);
    page.open(4);
    page.dismissed(2);
    EXPECT_EQ(page.openSlot(), 4);

    std::optional<int> openWhenAsked;
    int asked = -1;
    QObject::connect(&page, &SkillSettingsModel::newShortcut, [&](int slot) {
        asked = slot;
        openWhenAsked = page.openSlot();
    });
    page.startNewShortcut(4);
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(openWhenAsked, std::nullopt);
}

TEST_F(SkillSettings, EditorActionsAreOneSkillBarWriteEach)
{
    SkillBar bar;
    bar.assign(id(0), 1);
    preferences.setSkills(bar);
    QSignalSpy writes(&preferences, &Preferences::skillsChanged);

    // Assigning slot 2's shortcut to slot 5 moves it.
    editor.setIndex(4);
    editor.assign(uuidString(id(0)));
    EXPECT_EQ(preferences.skills().slotIds()[1], std::nullopt);
    EXPECT_EQ(preferences.skills().slotIds()[4], id(0));

    editor.moveRight();
    EXPECT_EQ(preferences.skills().slotIds()[5], id(0));
    EXPECT_EQ(preferences.skills().slotIds()[4], std::nullopt);
    EXPECT_TRUE(editor.canMoveLeft());

    // Clearing keeps the shortcut saved.
    editor.setIndex(5);
    EXPECT_FALSE(editor.canMoveRight());
    editor.clear();
    EXPECT_FALSE(editor.filled());
    EXPECT_EQ(coordinator->shortcuts().size(), 3);
    EXPECT_EQ(writes.size(), 3);

    editor.setIndex(0);
    EXPECT_FALSE(editor.canMoveLeft());
}

TEST_F(SkillSettings, TheSelectedIconIsStoredAsTheShortcutsOwn)
{
    SkillBar bar;
    bar.assign(id(1), 0); // an album: disc is its standard glyph
    preferences.setSkills(bar);
    editor.setIndex(0);
    const QVariantList glyphs = editor.glyphs();
    ASSERT_EQ(glyphs.size(), 16);
    EXPECT_EQ(glyphs[1].toMap()["glyph"], "disc");
    EXPECT_TRUE(glyphs[1].toMap()["selected"].toBool());
    EXPECT_EQ(glyphs[1].toMap()["value"], "Selected");
    EXPECT_EQ(coordinator->shortcuts().at(1).glyph, std::nullopt);

    editor.setIcon("disc");
    EXPECT_EQ(coordinator->shortcuts().at(1).glyph, SkillGlyph::disc);
    editor.setIcon("moon");
    EXPECT_EQ(coordinator->shortcuts().at(1).glyph, SkillGlyph::moon);
    EXPECT_EQ(preferences.skills().slotIds()[0], id(1));
}

TEST_F(SkillSettings, TheMenuListsTheShortcutsOrSaysThereAreNone)
{
    const QVariantList items = editor.menuItems();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[2].toMap()["title"], "Night");
    EXPECT_TRUE(items[2].toMap()["enabled"].toBool());

    for (int i = 0; i < 3; ++i)
        coordinator->removeShortcut(uuidString(coordinator->shortcuts().at(0).id));
    const QVariantList none = editor.menuItems();
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0].toMap()["title"], "No shortcuts yet");
    EXPECT_FALSE(none[0].toMap()["enabled"].toBool());
}

// The page itself, shown.
class SkillSettingsPage : public SkillSettings {
protected:
    SkillSettingsPage()
    {
        harness.provide(*coordinator);
        harness.provide(preferences);
        harness.provide(state);
    }
    ~SkillSettingsPage() override
    {
        view.reset();
        EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
    }
    void show()
    {
        view = harness.view("import QtQuick\nimport Orvel\nItem { width: 700; height: 800\n"
                            "  property var asked: []\n  property alias page: page\n"
                            "  SkillSettingsView { id: page; width: 660; onNewShortcut: slot => asked = "
                            "asked.concat([slot]) } }",
            {}, QSize(700, 800));
        ASSERT_TRUE(view) << harness.errors().toStdString();
    }
    SkillSettingsModel *pageModel() const
    {
        return view->item()
            ->property("page")
            .value<QQuickItem *>()
            ->property("model")
            .value<SkillSettingsModel *>();
    }
    QList<QQuickItem *> popovers() const
    {
        QList<QQuickItem *> shown;
        for (QQuickItem *item : descendants(view->window()->contentItem()))
            if (item->objectName() == "editorTitle" && item->isVisible() && item->window())
                shown << item;
        return shown;
    }

    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;
};

TEST_F(SkillSettingsPage, OpeningWritesNothingAndAPendingSlotOpensItsPopover)
{
    state.setSkillSlot(4);
    QSignalSpy writes(&preferences, &Preferences::changed);
    show();
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    EXPECT_TRUE(popovers().isEmpty());
    clock.runUntilIdle();
    const auto open = popovers();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0]->property("text"), "Skill slot 5");
    EXPECT_EQ(writes.size(), 0);
    EXPECT_EQ(allNamed(view->item(), "slotTile").size(), 6);
}

TEST_F(SkillSettingsPage, NewFromALinkClosesThePopoverAndHandsTheSlotOver)
{
    show();
    auto *model = pageModel();
    ASSERT_TRUE(model);
    model->open(2);
    QQuickItem *link = nullptr;
    for (QQuickItem *item : descendants(view->window()->contentItem()))
        if (item->objectName() == "newFromLink" && item->isVisible())
            link = item;
    ASSERT_TRUE(link);
    QMetaObject::invokeMethod(link, "clicked");
    EXPECT_EQ(model->openSlot(), std::nullopt);
    EXPECT_EQ(view->item()->property("asked").toList(), QVariantList{2});
}

TEST_F(SkillSettingsPage, ChoosingFromTheMenuKeepsThePopoverAndAnotherTileReplacesIt)
{
    show();
    auto *model = pageModel();
    ASSERT_TRUE(model);
    const auto tiles = allNamed(view->item(), "slotTile");
    ASSERT_EQ(tiles.size(), 6);
    const QList<QPointer<QQuickItem>> kept(tiles.cbegin(), tiles.cend());
    const auto click = [&](QQuickItem *item) {
        const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
        QTest::mouseClick(view->window(), Qt::LeftButton, {}, centre.toPoint());
    };
    click(tiles[1]);
    EXPECT_EQ(model->openSlot(), 1);

    QQuickItem *menuButton = nullptr;
    for (QQuickItem *item : descendants(view->window()->contentItem()))
        if (item->objectName() == "shortcutMenu" && item->isVisible())
            menuButton = item;
    ASSERT_TRUE(menuButton);
    click(menuButton);
    QQuickItem *evening = nullptr;
    for (QQuickItem *item : descendants(view->window()->contentItem()))
        if (item->property("text").toString() == "Evening" && item->inherits("QQuickMenuItem")
            && item->isVisible())
            evening = item;
    ASSERT_TRUE(evening);
    click(evening);
    EXPECT_EQ(preferences.skills().slotIds()[1], id(1));
    EXPECT_EQ(model->openSlot(), 1);
    EXPECT_EQ(popovers().size(), 1);

    // The tiles are the same items after the change.
    ASSERT_TRUE(std::none_of(kept.cbegin(), kept.cend(), [](const auto &tile) { return tile.isNull(); }));
    EXPECT_EQ(allNamed(view->item(), "slotTile"), tiles);
    click(tiles[3]);
    EXPECT_EQ(model->openSlot(), 3);
    const auto open = popovers();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0]->property("text"), "Skill slot 4");
}

TEST_F(SkillSettingsPage, EscapeClosesTheOpenMenuFirstThenThePopover)
{
    struct Row {
        bool menu; // the shortcut menu opened in the popover
        int escapes;
        bool popoverStays;
    };
    for (const Row row : {Row{false, 1, false}, Row{true, 1, true}, Row{true, 2, false}}) {
        SCOPED_TRACE(testing::Message() << "menu " << row.menu << ", escapes " << row.escapes);
        show();
        auto *model = pageModel();
        ASSERT_TRUE(model);
        view->window()->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
        model->open(2);
        const auto shown = [&](const char *type) {
            const auto all = descendants(view->window()->contentItem());
            return std::count_if(all.cbegin(), all.cend(), [&](QQuickItem *item) {
                return item->inherits(type) && item->isVisible() && item->opacity() > 0;
            });
        };
        if (row.menu) {
            const auto buttons = allNamed(view->window()->contentItem(), "shortcutMenu");
            ASSERT_EQ(buttons.size(), 1);
            QMetaObject::invokeMethod(buttons[0], "clicked");
            ASSERT_EQ(shown("QQuickMenuItem"), 3);
        }
        for (int i = 0; i < row.escapes; ++i)
            QTest::keyClick(view->window(), Qt::Key_Escape);
        EXPECT_EQ(shown("QQuickMenuItem"), 0);
        EXPECT_EQ(model->openSlot().has_value(), row.popoverStays);
        EXPECT_EQ(popovers().size(), row.popoverStays ? 1 : 0);
    }
}
