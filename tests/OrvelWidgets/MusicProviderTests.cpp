#include "MusicProvider.h"
#include "NowPlayingWidget.h"
#include "OrvelWidgetBundle.h"
#include "PlaybackCoordinator.h"
#include "QtPrinters.h"
#include "ShortcutsWidget.h"
#include "WidgetHost/WidgetFixtures.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {
const Date T{770000000};

class MusicProviderTest : public ::testing::Test {
protected:
    AppGroupFixture group;
    ScopedWallClock clock{T};
    MusicProvider provider;
};
} // namespace

TEST_F(MusicProviderTest, AnEmptyContainerGivesOneEntryOfFallbacksAskingAgainAfterFifteenMinutes)
{
    const Timeline<MusicEntry> timeline = provider.timeline();
    ASSERT_EQ(timeline.entries.size(), 1);
    const MusicEntry &entry = timeline.entries.first();
    EXPECT_EQ(entry.date, T);
    EXPECT_EQ(entry.snapshot, SharedStore::placeholderSnapshot());
    EXPECT_EQ(entry.snapshot.availability, PlayerAvailability::unavailable);
    EXPECT_FALSE(entry.snapshot.track);
    EXPECT_TRUE(entry.shortcuts.isEmpty());
    EXPECT_EQ(entry.visualizer, VisualizerSettings());
    EXPECT_EQ(entry.skin, Skin::classico);
    EXPECT_EQ(timeline.policy, TimelineReloadPolicy::after(T.addingTimeInterval(900)));
}

TEST_F(MusicProviderTest, TheReloadDateComesFromTheEntrysOwnDate)
{
    // A clock that moves on every reading: a second reading would show.
    double reading = 0;
    ScopedWallClock moving([&reading] { return T.addingTimeInterval(reading += 7); });
    const Timeline<MusicEntry> timeline = provider.timeline();
    EXPECT_EQ(timeline.policy.date, timeline.entries.first().date.addingTimeInterval(900));
}

TEST_F(MusicProviderTest, ASnapshotOfAnotherVersionReadsAsAMissingOne)
{
    QJsonObject stored = fixtures::playing().toJson().toObject();
    stored["version"] = 2;
    group.put("playback.json", QJsonDocument(stored).toJson());
    EXPECT_EQ(provider.snapshot().snapshot, SharedStore::placeholderSnapshot());
}

TEST_F(MusicProviderTest, OnlyExactlyRivistaAfterTrimmingIsRivista)
{
    group.put("skin.txt", "rivista\n");
    EXPECT_EQ(provider.snapshot().skin, Skin::rivista);
    group.put("skin.txt", "RIVISTA");
    EXPECT_EQ(provider.snapshot().skin, Skin::classico);
}

TEST_F(MusicProviderTest, EveryCallReadsTheFilesAfresh)
{
    EXPECT_EQ(provider.snapshot().skin, Skin::classico);
    group.write(fixtures::playing());
    group.write(fixtures::shortcuts(2));
    group.write(Skin::rivista);
    VisualizerSettings off;
    off.enabled = false;
    group.write(off);

    const MusicEntry snapshot = provider.snapshot();
    EXPECT_EQ(snapshot.snapshot, fixtures::playing());
    EXPECT_EQ(snapshot.shortcuts, fixtures::shortcuts(2));
    EXPECT_EQ(snapshot.visualizer, off);
    EXPECT_EQ(snapshot.skin, Skin::rivista);
    // The gallery's snapshot and a timeline read the same.
    EXPECT_EQ(provider.timeline().entries.first(), snapshot);
}

TEST_F(MusicProviderTest, ThePlaceholderReadsNoFile)
{
    group.write(fixtures::playing());
    group.write(fixtures::shortcuts(3));
    group.write(Skin::rivista);
    const MusicEntry sample = provider.placeholder();
    EXPECT_EQ(sample.date, T);
    EXPECT_EQ(sample.skin, Skin::classico);
    EXPECT_EQ(sample.snapshot.availability, PlayerAvailability::noTrack);
    EXPECT_FALSE(sample.snapshot.track);
    EXPECT_EQ(sample.snapshot.volume, 50);
    EXPECT_EQ(sample.snapshot.updatedAt, T);
    EXPECT_EQ(sample.snapshot.version, 1);
    EXPECT_TRUE(sample.shortcuts.isEmpty());
    EXPECT_EQ(sample.visualizer, VisualizerSettings());
}

TEST_F(MusicProviderTest, ReadingLeavesTheContainerAsItWas)
{
    group.write(fixtures::playing());
    group.write(fixtures::shortcuts(5));
    group.putArtwork("cover.jpg");
    const auto before = group.contents();
    provider.timeline();
    provider.snapshot();
    EXPECT_EQ(group.contents(), before);
}

TEST(OrvelWidgetBundleTest, ListsNowPlayingThenShortcutsUnderTheAppsReloadKinds)
{
    const QList<WidgetConfiguration> widgets = OrvelWidgetBundle().body();
    ASSERT_EQ(widgets.size(), 2);
    EXPECT_EQ(widgets[0].kind, QString(PlaybackCoordinator::nowPlayingWidgetKind));
    EXPECT_EQ(widgets[1].kind, QString(PlaybackCoordinator::shortcutsWidgetKind));
    EXPECT_EQ(widgets[0].kind.toUtf8(), QByteArray("OrvelNowPlaying"));
    EXPECT_EQ(widgets[1].kind.toUtf8(), QByteArray("OrvelShortcuts"));

    EXPECT_EQ(widgets[0].displayName, "Now playing");
    EXPECT_EQ(widgets[0].description, "Your current Spotify track and playback controls.");
    EXPECT_EQ(widgets[0].families, (QList{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
    EXPECT_EQ(widgets[1].displayName, "Your shortcuts");
    EXPECT_EQ(widgets[1].description, "Tracks, albums and playlists, always within reach.");
    EXPECT_EQ(widgets[1].families, (QList{WidgetFamily::systemMedium, WidgetFamily::systemLarge}));
}

TEST(OrvelWidgetBundleTest, TheConfigurationsHandTheProvidersEntriesToTheView)
{
    AppGroupFixture group;
    const Date at{771000000};
    ScopedWallClock clock(at);
    group.write(fixtures::playing());
    const WidgetConfiguration configuration = NowPlayingWidget().body();
    const Timeline<WidgetEntry> timeline = configuration.timeline();
    ASSERT_EQ(timeline.entries.size(), 1);
    EXPECT_EQ(timeline.entries[0].date, at);
    ASSERT_TRUE(timeline.entries[0].value.canConvert<MusicEntry>());
    EXPECT_EQ(timeline.entries[0].value.value<MusicEntry>().snapshot, fixtures::playing());
    EXPECT_EQ(timeline.policy.date, at.addingTimeInterval(900));
    EXPECT_EQ(configuration.placeholder().value.value<MusicEntry>().snapshot.availability,
        PlayerAvailability::noTrack);
    EXPECT_EQ(ShortcutsWidget().body().view.toString(), "qrc:/Orvel/Widgets/ShortcutsWidgetView.qml");
}
