#include "DashboardFixture.h"
#include "ShortcutEditorModel.h"
#include "ShortcutsPageModel.h"

#include <QSignalSpy>

using namespace DashboardFixture;

// The Shortcuts page's rows and their actions, over the app's owners.
namespace {
const QString albumLink = QStringLiteral("spotify:album:1DFixLWuPkv3KT3TnV35m3");

class ShortcutsPage : public Dashboard {
protected:
    ShortcutsPageModel model;

    void SetUp() override
    {
        Dashboard::SetUp();
        model.setCoordinator(&root.coordinator());
        model.setPreferences(&root.preferences());
    }
    QVariant at(int row, ShortcutsPageModel::Role role) const { return model.data(model.index(row), role); }
    std::optional<QUuid> slotHolder(int slot) const { return root.preferences().skills().slotIds()[slot]; }
};
} // namespace

TEST_F(ShortcutsPage, OneRowCannotMoveAndIsTheLast)
{
    EXPECT_EQ(model.rowCount(), 0);
    addShortcut("Only");
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_FALSE(at(0, ShortcutsPageModel::CanMoveUpRole).toBool());
    EXPECT_FALSE(at(0, ShortcutsPageModel::CanMoveDownRole).toBool());
    EXPECT_TRUE(at(0, ShortcutsPageModel::IsLastRole).toBool());

    addShortcut("Second", albumLink);
    EXPECT_TRUE(at(0, ShortcutsPageModel::CanMoveDownRole).toBool());
    EXPECT_FALSE(at(0, ShortcutsPageModel::IsLastRole).toBool());
    EXPECT_TRUE(at(1, ShortcutsPageModel::CanMoveUpRole).toBool());
    EXPECT_EQ(at(1, ShortcutsPageModel::GlyphRole).toString(), "disc");
}

TEST_F(ShortcutsPage, WithSixSlotsFullOnlyTheSlottedStarsAct)
{
    QList<std::optional<QUuid>> ids;
    for (int i = 0; i < 6; ++i)
        ids << addShortcut(QStringLiteral("Slotted %1").arg(i));
    addShortcut("Loose");
    setSkills(ids);

    EXPECT_FALSE(at(6, ShortcutsPageModel::StarEnabledRole).toBool());
    EXPECT_FALSE(at(6, ShortcutsPageModel::HoldsSlotRole).toBool());
    EXPECT_EQ(at(6, ShortcutsPageModel::StarLabelRole).toString(), "Add to skill bar");
    for (int row = 0; row < 6; ++row) {
        EXPECT_TRUE(at(row, ShortcutsPageModel::StarEnabledRole).toBool());
        EXPECT_TRUE(at(row, ShortcutsPageModel::HoldsSlotRole).toBool());
        EXPECT_EQ(at(row, ShortcutsPageModel::StarLabelRole).toString(), "Remove from skill bar");
    }
    // Even asked directly, a full bar takes nothing.
    model.toggleSkill(6);
    EXPECT_EQ(root.preferences().skills(), SkillBar(ids));
}

TEST_F(ShortcutsPage, AStarTakesTheLowestEmptySlotAndGivesBackExactlyItsOwn)
{
    const QUuid a = addShortcut("A");
    const QUuid b = addShortcut("B");
    const QUuid c = addShortcut("C");
    setSkills({a, std::nullopt, c, std::nullopt, std::nullopt, std::nullopt});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    model.toggleSkill(1);
    EXPECT_EQ(root.preferences().skills(), SkillBar({a, b, c, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(at(1, ShortcutsPageModel::StarLabelRole).toString(), "Remove from skill bar");
    EXPECT_FALSE(changed.isEmpty());

    model.toggleSkill(0);
    EXPECT_EQ(root.preferences().skills(),
        SkillBar({std::nullopt, b, c, std::nullopt, std::nullopt, std::nullopt}));
}

TEST_F(ShortcutsPage, ABarChangedSinceTheRowDrewNeverLosesAnotherShortcutsSlot)
{
    const QUuid a = addShortcut("A");
    const QUuid b = addShortcut("B");
    setSkills({std::nullopt, a});
    ASSERT_TRUE(at(0, ShortcutsPageModel::HoldsSlotRole).toBool());

    // Elsewhere, B takes A's slot before the click lands.
    setSkills({std::nullopt, b});
    model.toggleSkill(0);
    EXPECT_EQ(slotHolder(1), b);
    EXPECT_EQ(slotHolder(0), a);
}

TEST_F(ShortcutsPage, RowsFollowPositionsSoARepeatedIdShowsEveryEntry)
{
    const QUuid id = QUuid::createUuid();
    const SpotifyLink link = *SpotifyLink::parse(albumLink);
    ASSERT_TRUE(root.coordinator().saveShortcuts({MusicShortcut(id, "First", link),
        MusicShortcut(id, "Copy", link), MusicShortcut(id, "Third", link)}));
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(at(1, ShortcutsPageModel::TitleRole).toString(), "Copy");
    EXPECT_TRUE(at(2, ShortcutsPageModel::IsLastRole).toBool());

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    const QUuid other = QUuid::createUuid();
    ASSERT_TRUE(root.coordinator().saveShortcuts(
        {MusicShortcut(other, "Fresh", link), MusicShortcut(id, "Copy", link)}));
    EXPECT_EQ(removed.size(), 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(at(0, ShortcutsPageModel::TitleRole).toString(), "Fresh");
    EXPECT_TRUE(at(1, ShortcutsPageModel::IsLastRole).toBool());

    model.remove(1);
    EXPECT_EQ(model.rowCount(), 1);
}

TEST_F(ShortcutsPage, RemovingWithAnUnwritableStoreKeepsTheShortcutAndItsSlot)
{
    addShortcut("A");
    const QUuid b = addShortcut("B");
    setSkills({std::nullopt, std::nullopt, b});
    breakTheStore();
    model.remove(1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(slotHolder(2), b);

    QFile::remove(home.path("group"));
    model.remove(1);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(slotHolder(2), std::nullopt);
}

TEST_F(ShortcutsPage, MovesOpenAndEditActOnTheirRow)
{
    addShortcut("A");
    addShortcut("B", albumLink);
    model.move(1, -1);
    EXPECT_EQ(at(0, ShortcutsPageModel::TitleRole).toString(), "B");
    model.open(0);
    EXPECT_EQ(workspace.openedURLs, QList<QUrl>{QUrl("spotify:album:1DFixLWuPkv3KT3TnV35m3")});

    // The editor gets the web link, whatever form was stored.
    const QVariantMap edited = model.shortcut(0).toMap();
    EXPECT_EQ(edited.value("link").toString(), "https://open.spotify.com/album/1DFixLWuPkv3KT3TnV35m3");
    EXPECT_EQ(ShortcutEditorModel::shortcutFrom(edited), root.coordinator().shortcuts().constFirst());
    EXPECT_TRUE(model.shortcut(2).isNull());
}
