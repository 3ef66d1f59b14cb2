#include "NowPlayingWidgetModel.h"
#include "QtPrinters.h"
#include "WidgetHost/WidgetFixtures.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
using Model = NowPlayingWidgetModel;
using fixtures::snapshot;
using fixtures::track;

MusicEntry entryOf(const PlaybackSnapshot &snapshot, Skin skin = Skin::classico)
{
    MusicEntry entry;
    entry.date = fixtures::writtenAt;
    entry.snapshot = snapshot;
    entry.skin = skin;
    return entry;
}
} // namespace

TEST(NowPlayingWidgetModelTest, ReadyWithoutATrackDrawsAnEmptyPlayer)
{
    const PlaybackSnapshot ready = snapshot(PlayerAvailability::ready, std::nullopt, false, 0);
    EXPECT_EQ(Model::layout(ready, WidgetFamily::systemSmall), Model::Layout::small);
    EXPECT_EQ(Model::progress(ready).form, Model::Progress::Form::none);
    EXPECT_EQ(Model::badgeIdentity(ready), "-false-0");

    Model model;
    model.setEntry(entryOf(ready));
    EXPECT_EQ(model.title(), "");
    EXPECT_EQ(model.artist(), "");
    EXPECT_EQ(model.toggleGlyph(), "play");
    EXPECT_EQ(model.statusName(), "badge");
    EXPECT_EQ(model.spotifyLinkValue(), QUrl());
}

TEST(NowPlayingWidgetModelTest, AnUnreachableSpotifyWithALastTrackShowsItStill)
{
    const PlaybackSnapshot lost = snapshot(PlayerAvailability::unavailable, track(), true, 83.9);
    EXPECT_TRUE(Model::showsPlayer(lost));
    EXPECT_EQ(Model::layout(lost, WidgetFamily::systemMedium), Model::Layout::medium);
    EXPECT_EQ(Model::status(entryOf(lost)), Model::Status::unavailable);
    const Model::Progress progress = Model::progress(lost);
    EXPECT_EQ(progress.form, Model::Progress::Form::still);
    EXPECT_EQ(progress.text, "1:23");
    EXPECT_EQ(Model::backdropIntensity(lost), 0.14);

    Model model;
    model.setEntry(entryOf(lost));
    EXPECT_EQ(model.toggleGlyph(), "play");
    EXPECT_EQ(model.toggleLabel(), "Play");
    EXPECT_FALSE(model.active());
}

TEST(NowPlayingWidgetModelTest, ThePromptSendsToTheAppWithTheReasonsText)
{
    const std::pair<PlayerAvailability, const char *> cases[] = {
        {PlayerAvailability::needsPermission, "Connect Spotify in Orvel"},
        {PlayerAvailability::permissionDenied, "Connect Spotify in Orvel"},
        {PlayerAvailability::notInstalled, "Open Orvel to get started"},
        {PlayerAvailability::notRunning, "Open Orvel to get started"},
        {PlayerAvailability::noTrack, "Open Orvel to get started"},
        {PlayerAvailability::unavailable, "Open Orvel to get started"},
    };
    for (const auto &[availability, text] : cases) {
        const PlaybackSnapshot withoutTrack = snapshot(availability, std::nullopt, false);
        EXPECT_EQ(Model::layout(withoutTrack, WidgetFamily::systemSmall), Model::Layout::prompt)
            << toRawValue(availability).toStdString();
        EXPECT_EQ(Model::promptMessage(availability), text) << toRawValue(availability).toStdString();
    }
    // Only a ready player or an unreachable one with a track is a player.
    EXPECT_EQ(
        Model::layout(snapshot(PlayerAvailability::notRunning, track(), false), WidgetFamily::systemSmall),
        Model::Layout::prompt);
}

TEST(NowPlayingWidgetModelTest, ActivePlaybackRunsATimerFromTheMomentTheTrackStarted)
{
    const Date T = fixtures::writtenAt;
    const PlaybackSnapshot active = fixtures::playing(83.9, 200);
    const Model::Progress progress = Model::progress(active);
    ASSERT_EQ(progress.form, Model::Progress::Form::live);
    EXPECT_DOUBLE_EQ(progress.start.secondsSinceReferenceDate, T.secondsSinceReferenceDate - 83.9);
    EXPECT_DOUBLE_EQ(progress.end.secondsSinceReferenceDate, T.secondsSinceReferenceDate + 116.1);
    EXPECT_EQ(Model::badgeIdentity(active), fixtures::trackId + "-true-83");
    EXPECT_EQ(Model::backdropIntensity(active), 0.3);

    // Without a length there is nothing to run to: the position stands.
    const Model::Progress unknownLength = Model::progress(fixtures::playing(83.9, 0));
    EXPECT_EQ(unknownLength.form, Model::Progress::Form::still);
    EXPECT_EQ(unknownLength.text, "1:23");
    // Paused: still, and the identity says so.
    const PlaybackSnapshot paused = snapshot(PlayerAvailability::ready, track(), false, 83.9);
    EXPECT_EQ(Model::progress(paused).form, Model::Progress::Form::still);
    EXPECT_EQ(Model::badgeIdentity(paused), fixtures::trackId + "-false-83");
}

TEST(NowPlayingWidgetModelTest, TheBadgeNeedsTheVisualizerAndAReadyPlayer)
{
    MusicEntry entry = entryOf(fixtures::playing());
    EXPECT_EQ(Model::status(entry), Model::Status::badge);
    entry.visualizer.enabled = false;
    EXPECT_EQ(Model::status(entry), Model::Status::none);
    entry.visualizer.enabled = true;
    entry.snapshot = snapshot(PlayerAvailability::noTrack, std::nullopt, false);
    EXPECT_EQ(Model::status(entry), Model::Status::none);
}

TEST(NowPlayingWidgetModelTest, TheBadgeReadsOutHowLongAgoTheAppWroteTheSnapshot)
{
    const Date written = fixtures::writtenAt;
    EXPECT_EQ(Model::relativeTime(written, written), "now");
    EXPECT_EQ(Model::relativeTime(written, written.addingTimeInterval(-30)), "now");
    EXPECT_EQ(Model::relativeTime(written, written.addingTimeInterval(1.5)), "1 second ago");
    EXPECT_EQ(Model::relativeTime(written, written.addingTimeInterval(59.9)), "59 seconds ago");
    EXPECT_EQ(Model::relativeTime(written, written.addingTimeInterval(125)), "2 minutes ago");
    EXPECT_EQ(Model::relativeTime(written, written.addingTimeInterval(3600)), "1 hour ago");
    EXPECT_EQ(Model::relativeTime(written, written.addingTimeInterval(3 * 86400)), "3 days ago");
    EXPECT_EQ(Model::relativeTime(Date{-std::numeric_limits<double>::infinity()}, written), "now");

    ScopedWallClock wall{written.addingTimeInterval(90)};
    Model model;
    model.setEntryValue(QVariant::fromValue(entryOf(fixtures::playing())));
    EXPECT_EQ(model.property("badgeUpdated").toString(), "1 minute ago");
}

TEST(NowPlayingWidgetModelTest, TheBadgeIdentityTakesAnyPosition)
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    constexpr qint64 smallest = std::numeric_limits<qint64>::min();
    EXPECT_EQ(Model::wholeSeconds(83.9), 83);
    EXPECT_EQ(Model::wholeSeconds(-83.9), -83);
    EXPECT_EQ(Model::wholeSeconds(std::nan("")), 0);
    EXPECT_EQ(Model::wholeSeconds(infinity), largest);
    EXPECT_EQ(Model::wholeSeconds(-infinity), smallest);
    EXPECT_EQ(Model::wholeSeconds(9223372036854775808.0), largest);
    EXPECT_EQ(Model::wholeSeconds(-9223372036854775808.0), smallest);
    EXPECT_EQ(Model::wholeSeconds(1e300), largest);

    // A stored position is taken as it is read, unclamped.
    PlaybackSnapshot stored = fixtures::playing();
    stored.position = -1e300;
    EXPECT_EQ(Model::badgeIdentity(stored), fixtures::trackId + "-true-" + QString::number(smallest));
}

TEST(NowPlayingWidgetModelTest, TheTimeIsMonospacedInClassicoAndThinInRivistaAccentedOnlyWhilePlaying)
{
    EXPECT_EQ(Model::progressFont(Skin::classico, 13), Font::mono(13));
    EXPECT_EQ(Model::progressFont(Skin::rivista, 13), Font::numeric(16));
    EXPECT_EQ(Model::progressFont(Skin::rivista, 11), Font::numeric(14));

    EXPECT_TRUE(Model::progressUsesAccent(Skin::rivista, WidgetRenderingMode::fullColor, true));
    EXPECT_FALSE(Model::progressUsesAccent(Skin::rivista, WidgetRenderingMode::fullColor, false));
    EXPECT_FALSE(Model::progressUsesAccent(Skin::classico, WidgetRenderingMode::fullColor, true));
    EXPECT_FALSE(Model::progressUsesAccent(Skin::rivista, WidgetRenderingMode::accented, true));

    Model model;
    model.setFamilyName("systemMedium");
    model.setEntry(entryOf(fixtures::playing(), Skin::rivista));
    EXPECT_EQ(model.progressColor(), SkinPalette(Skin::rivista, Aura::brand()).accentColor());
    model.setRenderingModeName("vibrant");
    EXPECT_EQ(model.progressColor(), WidgetMetrics::secondary());
}

TEST(NowPlayingWidgetModelTest, TheTitleFontFollowsSkinAndLayout)
{
    EXPECT_EQ(Model::titleFont(Skin::rivista, Model::Layout::small), Font::display(14));
    EXPECT_EQ(Model::titleFont(Skin::rivista, Model::Layout::medium), Font::display(16));
    EXPECT_EQ(
        Model::titleFont(Skin::classico, Model::Layout::small), (FontDescription{13, FontWeight::semibold}));
    EXPECT_EQ(
        Model::titleFont(Skin::classico, Model::Layout::medium), (FontDescription{15, FontWeight::semibold}));
}

TEST(NowPlayingWidgetModelTest, TheLogoLinksOnlySpotifysWebPlayer)
{
    const auto link = [](const char *url) { return Model::spotifyLink(fixtures::track(200, QUrl(url))); };
    EXPECT_EQ(link("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC"),
        QUrl("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC"));
    EXPECT_EQ(link("file:///etc/passwd"), std::nullopt);
    EXPECT_EQ(link("http://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC"), std::nullopt);
    EXPECT_EQ(link("https://open.spotify.com.example.org/track/x"), std::nullopt);
    EXPECT_EQ(link("https://open.spotify.com@example.org/track/x"), std::nullopt);
    EXPECT_EQ(link("https://open.spotify.com:8080/track/x"), std::nullopt);
    EXPECT_EQ(link("orvel://player"), std::nullopt);
    EXPECT_EQ(Model::spotifyLink(fixtures::track(200, std::nullopt)), std::nullopt);
    EXPECT_EQ(Model::spotifyLink(std::nullopt), std::nullopt);
}

TEST(NowPlayingWidgetModelTest, TheCoverIsReadScaledAndShownAsTheModeWants)
{
    AppGroupFixture group;
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    picture.setPixel(1, 0, qRgb(255, 0, 0));
    group.putArtwork("big.jpg", fixtures::cover(1000));
    QDir().mkpath(group.directory());
    picture.save(group.directory() + "/tiny.png", "PNG");
    // The name says .jpg; the reader goes by content.
    QFile::rename(group.directory() + "/tiny.png", group.directory() + "/tiny.jpg");
    const SharedStore store = group.store();

    const QImage big = Model::artwork(store, QString("big.jpg"), 184, WidgetRenderingMode::fullColor);
    EXPECT_EQ(big.size(), QSize(184, 184));

    const QImage vibrant = Model::artwork(store, QString("tiny.jpg"), 184, WidgetRenderingMode::vibrant);
    ASSERT_EQ(vibrant.size(), QSize(2, 1));
    EXPECT_EQ(vibrant.pixel(0, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(vibrant.pixel(1, 0), qRgba(255, 255, 255, 54)); // red's luminance, 0.2126
    const QImage accented = Model::artwork(store, QString("tiny.jpg"), 184, WidgetRenderingMode::accented);
    EXPECT_EQ(accented.pixel(1, 0), qRgba(54, 54, 54, 255));

    EXPECT_TRUE(Model::artwork(store, QString("../tiny.jpg"), 184, WidgetRenderingMode::fullColor).isNull());
    EXPECT_TRUE(Model::artwork(store, QString("missing.jpg"), 184, WidgetRenderingMode::fullColor).isNull());
    EXPECT_TRUE(Model::artwork(store, std::nullopt, 184, WidgetRenderingMode::fullColor).isNull());
}

TEST(NowPlayingWidgetModelTest, EveryFamilyButSmallGetsTheMediumLayout)
{
    const PlaybackSnapshot active = fixtures::playing();
    EXPECT_EQ(Model::layout(active, WidgetFamily::systemSmall), Model::Layout::small);
    EXPECT_EQ(Model::layout(active, WidgetFamily::systemMedium), Model::Layout::medium);
    EXPECT_EQ(Model::layout(active, WidgetFamily::systemLarge), Model::Layout::medium);
}

TEST(NowPlayingWidgetModelTest, TheEntrysArtworkPaletteMakesTheAuraAndPalette)
{
    const ArtworkPalette palette{{0.8, 0.2, 0.1}, {0.1, 0.3, 0.9}, {0.2, 0.05, 0.05}};
    Model model;
    model.setEntry(entryOf(snapshot(PlayerAvailability::ready, track(), true, 10, fixtures::writtenAt,
                               QString("cover.jpg"), palette),
        Skin::rivista));
    const Aura aura(palette, QString("cover.jpg"));
    EXPECT_EQ(model.aura(), aura);
    EXPECT_EQ(model.palette(), SkinPalette(Skin::rivista, aura));
    EXPECT_EQ(model.primaryFill(), SkinPalette(Skin::rivista, aura).textColor());
    model.setEntry(entryOf(fixtures::playing(), Skin::classico));
    EXPECT_EQ(model.aura(), Aura::brand());
    EXPECT_EQ(model.primaryFill(), SkinPalette(Skin::classico, Aura::brand()).accentColor());
}
