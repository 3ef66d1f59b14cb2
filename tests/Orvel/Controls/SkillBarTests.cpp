#include "CooldownWedge.h"
#include "CoordinatorTestSupport.h"
#include "QmlHarness.h"
#include "SkillBarView.h"
#include "SkillSlotStyle.h"
#include "Uuid.h"

#include <QQuickItem>
#include <QTest>
#include <cmath>
#include <functional>

// The skill bar's rules: the wedge, when the panel makes room, hover and
// caption, a slot's flags, texts and menu.
namespace {
const QRectF square(0, 0, 28, 28);

MusicShortcut shortcut(const QString &title, const char *link = "spotify:track:4uLU6hMCjMI75M1A2tKUQC")
{
    return MusicShortcut(QUuid::createUuid(), title, *SpotifyLink::parse(link));
}
} // namespace

TEST(CooldownWedge, DrainsClockwiseToTwelveOClock)
{
    EXPECT_TRUE(CooldownWedge::path(square, 0.001).isEmpty());
    EXPECT_TRUE(CooldownWedge::path(square, std::nan("")).isEmpty());

    // A hairline just left of 12 o'clock, from the centre up.
    const QRectF hairline = CooldownWedge::path(square, 0.0011).boundingRect();
    EXPECT_FALSE(hairline.isEmpty());
    EXPECT_LT(hairline.width(), 0.5);
    EXPECT_LE(hairline.right(), 14.001);
    EXPECT_LE(hairline.bottom(), 14.001);
    EXPECT_LT(hairline.top(), 0);

    // A quarter: from 9 to 12 o'clock, the upper left.
    const QPainterPath quarter = CooldownWedge::path(square, 0.25);
    EXPECT_TRUE(quarter.contains(QPointF(8, 8)));
    EXPECT_FALSE(quarter.contains(QPointF(20, 8)));
    EXPECT_FALSE(quarter.contains(QPointF(8, 20)));
    EXPECT_FALSE(quarter.contains(QPointF(20, 20)));

    // Above 1: the whole disc, which the slot's shape trims.
    const QPainterPath full
        = CooldownWedge::path(square, 1.5).intersected(CooldownWedge::clip(square, true, 8));
    for (const QPointF point : {QPointF(8, 8), QPointF(20, 8), QPointF(8, 20), QPointF(20, 20)})
        EXPECT_TRUE(full.contains(point));
    EXPECT_FALSE(full.contains(QPointF(1, 1)));
}

TEST(SkillBarChrome, OnlyALiveSlotAndAShownPlacementMakeRoom)
{
    const MusicShortcut live = shortcut("Morning");
    SkillBar filled;
    filled.assign(live.id, 4);
    SkillBar stale;
    stale.assign(QUuid::createUuid(), 0);

    EXPECT_EQ(SkillBarView::chrome(true, SkillPlacement::hidden, filled, {live}), SkillChrome::none);
    EXPECT_EQ(SkillBarView::chrome(true, SkillPlacement::row, stale, {live}), SkillChrome::none);
    EXPECT_EQ(SkillBarView::chrome(true, SkillPlacement::peek, SkillBar(), {live}), SkillChrome::none);
    EXPECT_EQ(SkillBarView::chrome(true, SkillPlacement::wings, filled, {live}),
        (SkillChrome{SkillPlacement::wings, true}));
    EXPECT_EQ(SkillBarView::chrome(false, SkillPlacement::row, filled, {live}),
        (SkillChrome{SkillPlacement::row, false}));
}

TEST(SkillBarModel, WingsShowTheirHalfAndALateLeaveKeepsTheNeighbour)
{
    EXPECT_EQ(SkillBarModel::range("wingLeading"), std::make_pair(0, 3));
    EXPECT_EQ(SkillBarModel::range("wingTrailing"), std::make_pair(3, 6));
    EXPECT_EQ(SkillBarModel::range("peek"), std::make_pair(0, 6));

    SkillBarModel bar;
    bar.enter(2);
    bar.enter(3);
    bar.leave(2);
    EXPECT_EQ(bar.hovered(), 3);
    bar.leave(3);
    bar.enter(2);
    bar.leave(2);
    bar.enter(3);
    EXPECT_EQ(bar.hovered(), 3);
}

TEST(SkillBarModel, TheCaptionFallsBackToTheStartingShortcut)
{
    const MusicShortcut first = shortcut("First");
    const MusicShortcut second = shortcut("Second");
    std::array<std::optional<MusicShortcut>, SkillBar::capacity> resolved;
    resolved[0] = first;
    resolved[1] = second;

    EXPECT_EQ(SkillBarModel::caption(1, resolved, std::nullopt, {first, second}), "Second");
    // An empty slot under the pointer while the first starts.
    EXPECT_EQ(SkillBarModel::caption(4, resolved, first.id, {first, second}), "First");
    EXPECT_EQ(SkillBarModel::caption(std::nullopt, resolved, std::nullopt, {first, second}), "");
}

TEST(SkillSlotStyle, WhileAnotherStartsOnlyEmptySlotsAndItselfTakeClicks)
{
    const QString casting = uuidString(QUuid::createUuid());
    SkillSlotStyle filled;
    filled.setShortcutID(uuidString(QUuid::createUuid()));
    filled.setCasting(casting);
    EXPECT_FALSE(filled.clickable());
    EXPECT_EQ(filled.cover(), "none");
    filled.setShortcutID(casting);
    EXPECT_TRUE(filled.clickable());
    EXPECT_EQ(filled.cover(), "wedge");
    for (const char *level : {"reduced", "still"}) {
        filled.setCastLevel(level);
        EXPECT_EQ(filled.cover(), "flat");
    }

    SkillSlotStyle empty;
    empty.setCasting(casting);
    empty.setIndex(3);
    EXPECT_TRUE(empty.clickable());
    EXPECT_FALSE(empty.isCasting());
    EXPECT_EQ(empty.accessibleName(), "Empty skill slot 4");
    EXPECT_EQ(empty.help(), "Choose a favorite");
    EXPECT_TRUE(empty.menu().isEmpty());
}

TEST(SkillSlotStyle, TextsFollowTheLastAndTheFailedStart)
{
    const QString id = uuidString(QUuid::createUuid());
    SkillSlotStyle slot;
    slot.setShortcutID(id);
    slot.setTitle("Morning Mix");
    slot.setKind("playlist");
    EXPECT_EQ(slot.help(), "Morning Mix");
    EXPECT_EQ(slot.accessibleName(), "Play Morning Mix");
    EXPECT_EQ(slot.accessibleValue(), "Playlist");
    EXPECT_EQ(slot.accessibleHint(), "Starts playback in Spotify.");

    slot.setLastCast(id);
    EXPECT_EQ(slot.accessibleValue(), "Playlist, Last started");
    slot.setFailedCast(id);
    EXPECT_EQ(slot.help(), "Spotify could not apply this control.");
    slot.setErrorKey("Connect Spotify to use skills.");
    EXPECT_EQ(slot.help(), "Connect Spotify to use skills.");

    const QVariantList menu = slot.menu();
    QStringList texts;
    for (const QVariant &item : menu)
        texts << item.toMap().value("text").toString();
    EXPECT_EQ(texts, (QStringList{"Play now", "Open in Spotify", "Change\u2026", "Remove from skill bar"}));
    EXPECT_TRUE(menu.last().toMap().value("destructive").toBool());
}

// The views over the real owners.
class SkillSlotViews : public CoordinatorTest {
protected:
    SkillSlotViews()
    {
        EXPECT_TRUE(
            coordinator->upsertShortcut(std::nullopt, "Morning", "spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
        EXPECT_TRUE(
            coordinator->upsertShortcut(std::nullopt, "Evening", "spotify:album:1DFixLWuPkv3KT3TnV35m3"));
        SkillBar bar;
        bar.assign(coordinator->shortcuts().at(0).id, 1);
        bar.assign(coordinator->shortcuts().at(1).id, 2);
        preferences.setSkills(bar);
        harness.provide(*coordinator);
        harness.provide(preferences);
    }
    QmlHarness harness;
};

TEST_F(SkillSlotViews, RemoveFromSkillBarEmptiesOnlyThatSlot)
{
    const auto view = harness.view("import QtQuick\nimport Orvel\nSkillBarView { style: 'row'; width: 300 }");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    // Repeaters' slots are child items, not child objects.
    QList<QQuickItem *> cells;
    const std::function<void(QQuickItem *)> collect = [&](QQuickItem *item) {
        for (QQuickItem *child : item->childItems()) {
            if (qobject_cast<SkillSlotStyle *>(child->property("style").value<QObject *>()))
                cells << child;
            collect(child);
        }
    };
    collect(view->item());
    ASSERT_EQ(cells.size(), 6);
    QQuickItem *second = nullptr;
    for (QQuickItem *slot : cells)
        if (slot->property("index").toInt() == 2)
            second = slot;
    ASSERT_TRUE(second);
    auto *menu = second->property("menu").value<QObject *>();
    ASSERT_TRUE(menu);
    QMetaObject::invokeMethod(menu, "trigger", Q_ARG(int, 3));

    EXPECT_EQ(preferences.skills().slotIds()[1], coordinator->shortcuts().at(0).id);
    EXPECT_EQ(preferences.skills().slotIds()[2], std::nullopt);
    EXPECT_EQ(coordinator->shortcuts().size(), 2);
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(SkillSlotViews, TheSweepStartsOnlyWhenAStartBegins)
{
    const auto view = harness.view(
        "import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
        "Item { width: 40; height: 40; property bool light: false\n"
        "  Skinned.lightEffects: light\n"
        "  property alias slot: slot\n"
        "  SkillSlotView { id: slot; castingID: 'S'; index: 0\n"
        "    shortcut: ({shortcutID: 'S', title: 'Morning', kind: 'track', glyph: 'note'}) } }");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *slot = view->item()->property("slot").value<QQuickItem *>();
    ASSERT_TRUE(slot);
    auto *style = qobject_cast<SkillSlotStyle *>(slot->property("style").value<QObject *>());
    ASSERT_TRUE(style);
    // First shown mid-start: no sweep.
    EXPECT_EQ(slot->property("sweep").toDouble(), 0);
    EXPECT_EQ(style->cover(), "wedge");

    slot->setProperty("castingID", QVariant());
    slot->setProperty("castingID", "S");
    EXPECT_GT(slot->property("sweep").toDouble(), 0.9);

    // Light effects: a flat cover, the sweep left at 1.
    view->item()->setProperty("light", true);
    slot->setProperty("castingID", QVariant());
    slot->setProperty("castingID", "S");
    EXPECT_EQ(slot->property("sweep").toDouble(), 1);
    EXPECT_EQ(style->cover(), "flat");
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(SkillSlotViews, TheSlotUnderThePointerNamesTheCaptionWhileAnotherStarts)
{
    const auto view = harness.view("import QtQuick\nimport Orvel\nSkillBarView { style: 'row'; width: 300 }");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *model = view->item()->property("model").value<SkillBarModel *>();
    ASSERT_TRUE(model);
    view->item()->setProperty("castingID", model->cells().at(1).toMap().value("shortcutID"));
    QQuickItem *evening = nullptr;
    const std::function<void(QQuickItem *)> find = [&](QQuickItem *item) {
        for (QQuickItem *child : item->childItems()) {
            if (child->property("style").value<SkillSlotStyle *>() && child->property("index").toInt() == 2)
                evening = child;
            find(child);
        }
    };
    find(view->item());
    ASSERT_TRUE(evening);
    view->grab();
    EXPECT_FALSE(evening->isEnabled()); // another shortcut is starting

    const QPointF centre = evening->mapToScene(QPointF(evening->width() / 2, evening->height() / 2));
    QTest::mouseMove(view->window(), centre.toPoint());
    EXPECT_EQ(model->caption(), "Evening");
    QTest::mouseMove(view->window(), QPoint(299, 1));
    EXPECT_EQ(model->caption(), "");
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}
