#include "CoordinatorTestSupport.h"
#include "LoginItem.h"
#include "Preferences.h"
#include "ShortcutListModel.h"
#include "Uuid.h"

#include <QSignalSpy>

// The shortcuts as the views' list model: changed in place, row by row.
namespace {

const QString trackLink = QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
const QString albumLink = QStringLiteral("https://open.spotify.com/album/1DFixLWuPkv3KT3TnV35m3");

class ShortcutRows : public CoordinatorTest {
protected:
    QUuid add(const QString &title, const QString &link = trackLink)
    {
        EXPECT_TRUE(coordinator->upsertShortcut(std::nullopt, title, link));
        return coordinator->shortcuts().constLast().id;
    }
    QVariant cell(int row, const QByteArray &role) const
    {
        return model->data(model->index(row), model->roleNames().key(role));
    }
    // The rows' titles, checked against the coordinator's own list.
    QStringList rows() const
    {
        QStringList titles;
        for (int row = 0; row < model->rowCount(); ++row)
            titles << cell(row, "title").toString();
        QStringList expected;
        for (const MusicShortcut &shortcut : coordinator->shortcuts())
            expected << shortcut.title;
        EXPECT_EQ(titles, expected);
        return titles;
    }

    ShortcutListModel *model = coordinator->shortcutModel();
    QSignalSpy inserted{model, &QAbstractItemModel::rowsInserted};
    QSignalSpy moved{model, &QAbstractItemModel::rowsMoved};
    QSignalSpy removed{model, &QAbstractItemModel::rowsRemoved};
    QSignalSpy changed{model, &QAbstractItemModel::dataChanged};
    QSignalSpy reset{model, &QAbstractItemModel::modelReset};
};

TEST_F(ShortcutRows, RowsFollowEachChangeInPlace)
{
    const QUuid a = add("A");
    add("B", albumLink);
    const QUuid c = add("C");
    EXPECT_EQ(inserted.size(), 3);
    EXPECT_EQ(inserted.last().at(1).toInt(), 2);
    EXPECT_EQ(rows(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(cell(0, "shortcutID").toString(), uuidString(a));
    EXPECT_EQ(cell(1, "link").toString(), "spotify:album:1DFixLWuPkv3KT3TnV35m3");
    EXPECT_EQ(cell(1, "kind").toString(), "album");
    EXPECT_EQ(cell(1, "glyph").toString(), "disc");
    EXPECT_EQ(cell(2, "slot").toInt(), -1);

    // One shortcut moved is one row moved.
    coordinator->moveShortcut(uuidString(a), 2);
    EXPECT_EQ(moved.size(), 1);
    EXPECT_EQ(rows(), (QStringList{"B", "C", "A"}));
    coordinator->moveShortcut(uuidString(a), -2);
    EXPECT_EQ(moved.size(), 2);
    EXPECT_EQ(rows(), (QStringList{"A", "B", "C"}));

    // An edit changes its row's data only.
    coordinator->setGlyph(SkillGlyph::moon, c);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 2);
    EXPECT_EQ(cell(2, "glyph").toString(), "moon");
    // A new kind is a new glyph for a shortcut without its own.
    const QUuid b = coordinator->shortcuts().at(1).id;
    EXPECT_TRUE(coordinator->upsertShortcut(b, "B", "spotify:artist:4Z8W4fKeB5YxbusRsdQVPb"));
    ASSERT_EQ(changed.size(), 2);
    EXPECT_TRUE(changed.last().at(2).value<QList<int>>().contains(ShortcutListModel::GlyphRole));
    EXPECT_EQ(cell(1, "glyph").toString(), "mic");

    coordinator->removeShortcut(uuidString(a));
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.last().at(1).toInt(), 0);
    EXPECT_EQ(rows(), (QStringList{"B", "C"}));

    EXPECT_EQ(inserted.size(), 3);
    EXPECT_EQ(reset.size(), 0);
}

TEST_F(ShortcutRows, TheSlotFollowsTheSkillBar)
{
    add("A");
    const QUuid b = add("B");
    EXPECT_EQ(cell(1, "slot").toInt(), -1);

    SkillBar skills;
    skills.assign(b, 4);
    preferences.setSkills(skills);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 1);
    EXPECT_EQ(cell(1, "slot").toInt(), 4);

    // Removing the shortcut empties its slot; the row goes, nothing else changes.
    coordinator->removeShortcut(uuidString(b));
    EXPECT_EQ(preferences.skills().slot(b), std::nullopt);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(reset.size(), 0);
}

// Larger rearrangements, straight on the model: every step keeps rows and list equal.
TEST(ShortcutListModel, AnyNewOrderIsReachedWithoutAReset)
{
    const auto shortcut = [](int n) {
        return MusicShortcut(QUuid::createUuid(), QString::number(n), *SpotifyLink::parse(trackLink));
    };
    QList<MusicShortcut> all;
    for (int n = 0; n < 6; ++n)
        all << shortcut(n);
    ShortcutListModel model([] { return SkillBar(); });
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const auto titles = [&] {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result << model.data(model.index(row), ShortcutListModel::TitleRole).toString();
        return result;
    };
    const QList<QList<int>> orders{{0, 1, 2, 3, 4, 5}, {5, 4, 3, 2, 1, 0}, {1, 3, 5}, {6, 3, 7, 1}, {},
        {2, 0, 4, 1, 5, 3}, {0, 8, 2, 9, 4}};
    for (const QList<int> &order : orders) {
        QList<MusicShortcut> next;
        QStringList expected;
        for (const int n : order) {
            while (all.size() <= n)
                all << shortcut(int(all.size()));
            next << all.at(n);
            expected << QString::number(n);
        }
        model.setShortcuts(next);
        EXPECT_EQ(titles(), expected);
        EXPECT_EQ(model.shortcuts(), next);
    }
    EXPECT_EQ(reset.size(), 0);
}

} // namespace
