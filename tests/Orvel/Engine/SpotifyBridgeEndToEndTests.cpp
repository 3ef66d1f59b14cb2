#include "BridgeTestSupport.h"
#include "MprisAppleEventTransport.h"
#include "QtPrinters.h"
#include "SpotifyBridge.h"
#include "fixtures/FakeSpotify.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

// The bridge against the fake Spotify client over a private bus, through the MPRIS backend.
namespace {

const QString id = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");

class EndToEnd : public ::testing::Test {
protected:
    EndToEnd()
    {
        spotify.setMetadata(FakeSpotify::track(id, "Song", 212'000'000));
        spotify.setProperty("PlaybackStatus", QStringLiteral("Playing"));
        spotify.setProperty("Volume", 0.4);
        spotify.setProperty("Position", qlonglong(30'000'000));
    }

    Started<PlaybackSnapshot> read() { return drive(clock, bridge.readState(spotify.pid())); }
    Started<PlaybackSnapshot> perform(PlaybackCommand command)
    {
        return drive(clock, bridge.perform(std::move(command), spotify.pid()));
    }
    // The player's own calls, without the reads.
    QStringList commands()
    {
        QStringList list;
        for (const QString &call : spotify.calls()) {
            if (!call.startsWith("Get "))
                list << call;
        }
        return list;
    }

    PrivateBus bus;
    FakeSpotify spotify{bus};
    ManualScheduler clock;
    std::shared_ptr<MprisAppleEventTransport> transport
        = std::make_shared<MprisAppleEventTransport>(bus.connection());
    QTemporaryDir config;
    SpotifyBridge bridge{
        transport, AutomationPermission(AutomationConsentRecord(config.filePath("automation.json"))), clock};
};

} // namespace

TEST_F(EndToEnd, ReadsWhatThePlayerReports)
{
    spotify.setProperty("Shuffle", true);
    spotify.setProperty("LoopStatus", QStringLiteral("Playlist"));
    const PlaybackSnapshot state = read().get();
    EXPECT_EQ(state.availability, PlayerAvailability::ready);
    EXPECT_TRUE(state.isPlaying);
    EXPECT_EQ(state.volume, 40.0);
    EXPECT_EQ(state.position, 30.0);
    EXPECT_TRUE(state.shuffle);
    EXPECT_TRUE(state.repeatEnabled);
    EXPECT_EQ(state.capabilities, (PlaybackCapabilities{true, true, true}));
    ASSERT_TRUE(state.track);
    EXPECT_EQ(*state.track,
        Track("spotify:track:" + id, "Song", "Artist A, Artist B", "Album", 212.0,
            QUrl("https://i.scdn.co/image/ab67616d0000b273"), QUrl("https://open.spotify.com/track/" + id)));
    spotify.clearCalls();
    read();
    EXPECT_EQ(spotify.calls().size(), 6); // the cached track costs six round trips
}

TEST_F(EndToEnd, ReportsNothingLoadedAndAdverts)
{
    spotify.setMetadata({});
    PlaybackSnapshot state = read().get();
    EXPECT_EQ(state.availability, PlayerAvailability::noTrack);
    EXPECT_TRUE(state.isPlaying);
    EXPECT_EQ(state.capabilities, (PlaybackCapabilities{false, false, false}));

    spotify.setMetadata({{"mpris:trackid", "spotify:ad:000000012c603a6600000020316a17a1"},
        {"xesam:title", "Advertisement"}, {"mpris:length", qlonglong(30'000'000)}});
    state = read().get();
    EXPECT_EQ(state.availability, PlayerAvailability::ready);
    EXPECT_EQ(state.capabilities, (PlaybackCapabilities{false, false, false}));
    spotify.clearCalls();
    EXPECT_EQ(failureOf(perform(PlaybackCommand::seek(3)).error()), SpotifyFailure::unsupported);
    EXPECT_TRUE(commands().isEmpty());
}

TEST_F(EndToEnd, SendsEachCommandAsItsPlayerCall)
{
    struct Case {
        PlaybackCommand command;
        QString call;
    };
    const std::vector<Case> cases{
        {PlaybackCommand::seek(400), "SetPosition /com/spotify/track/" + id + " 212000000"},
        {PlaybackCommand::shuffle(true), "Set org.mpris.MediaPlayer2.Player Shuffle true"},
        {PlaybackCommand::repeatMode(true), "Set org.mpris.MediaPlayer2.Player LoopStatus Playlist"},
        {PlaybackCommand::repeatMode(false), "Set org.mpris.MediaPlayer2.Player LoopStatus None"},
        {PlaybackCommand::volume(70), "Set org.mpris.MediaPlayer2.Player Volume 0.7"},
        {PlaybackCommand::pause(), "Pause"},
        {PlaybackCommand::play(), "Play"},
        {PlaybackCommand::next(), "Next"},
        {PlaybackCommand::previous(), "Previous"},
    };
    read();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.call.toStdString());
        spotify.clearCalls();
        auto result = perform(c.command);
        ASSERT_FALSE(result.error());
        EXPECT_EQ(commands(), QStringList{c.call});
    }
}

TEST_F(EndToEnd, NudgesAVolumeThePlayerStoredOneStepLow)
{
    spotify.setVolumeBias(0.01);
    read();
    spotify.clearCalls();
    const PlaybackSnapshot state = perform(PlaybackCommand::volume(50)).get();
    EXPECT_EQ(commands(),
        (QStringList{"Set org.mpris.MediaPlayer2.Player Volume 0.5",
            "Set org.mpris.MediaPlayer2.Player Volume 0.51"}));
    EXPECT_EQ(state.volume, 50.0);
}

TEST_F(EndToEnd, PlaysALinkAndSeesItsTrack)
{
    spotify.setProperty("PlaybackStatus", QStringLiteral("Paused"));
    const auto link = *SpotifyLink::parse("spotify:track:6rqhFgbbKwnb9MLmUQDhG6");
    spotify.clearCalls();
    auto result = perform(PlaybackCommand::playLink(link));
    EXPECT_EQ(commands(), QStringList{"OpenUri spotify:track:6rqhFgbbKwnb9MLmUQDhG6"});
    EXPECT_EQ(result.pauses(), std::vector<double>{0.45});
    const PlaybackSnapshot state = result.get();
    EXPECT_TRUE(state.isPlaying);
    EXPECT_EQ(state.track->id, "spotify:track:6rqhFgbbKwnb9MLmUQDhG6");
    EXPECT_TRUE(PlaybackCommand::playLink(link).isConfirmed(state, PlaybackSnapshot()));
}

TEST_F(EndToEnd, AnIgnoredCommandReturnsTheUnchangedState)
{
    spotify.setProperty("PlaybackStatus", QStringLiteral("Paused"));
    spotify.setBehaviour("Play", "ignore");
    const PlaybackSnapshot state = perform(PlaybackCommand::play()).get();
    EXPECT_FALSE(state.isPlaying);
    EXPECT_FALSE(PlaybackCommand::play().isConfirmed(state, state));
}

TEST_F(EndToEnd, ASlowPlayerTimesOutAndAVanishedOneIsNotRunning)
{
    // Slow, yet well within the whole 2 s of a read: a busy machine does not make it late.
    spotify.setBehaviour("Get Volume", "normal", 200);
    EXPECT_FALSE(read().error());
    transport->setTimeoutScale(0.05); // the 2 s of a read become 100 ms of real waiting
    spotify.setBehaviour("Get Volume", "silent");
    EXPECT_EQ(failureOf(read().error()), SpotifyFailure::timeout);
    transport->setTimeoutScale(1);
    spotify.setBehaviour("Get Volume", "normal");

    spotify.vanish();
    EXPECT_EQ(failureOf(read().error()), SpotifyFailure::notRunning);
    EXPECT_EQ(drive(clock, bridge.permission(spotify.pid(), false)).get(), -600);
}

TEST_F(EndToEnd, BadAnswersFailOrFallBackWithoutCrashing)
{
    struct Case {
        const char *name;
        std::function<void(FakeSpotify &)> script;
        std::optional<SpotifyFailure> failure;
        std::function<void(const PlaybackSnapshot &)> check;
    };
    const std::vector<Case> cases{
        {"status as a number", [](auto &s) { s.setProperty("PlaybackStatus", 3); },
            SpotifyFailure::unavailable, {}},
        {"volume as text", [](auto &s) { s.setProperty("Volume", QStringLiteral("x")); },
            SpotifyFailure::unavailable, {}},
        {"NaN volume", [](auto &s) { s.setProperty("Volume", std::nan("")); }, std::nullopt,
            [](const PlaybackSnapshot &p) { EXPECT_EQ(p.volume, 50.0); }},
        {"negative position", [](auto &s) { s.setProperty("Position", qlonglong(-9'000'000)); }, std::nullopt,
            [](const PlaybackSnapshot &p) { EXPECT_EQ(p.position, 0.0); }},
        {"shuffle as text", [](auto &s) { s.setProperty("Shuffle", QStringLiteral("on")); }, std::nullopt,
            [](const PlaybackSnapshot &p) { EXPECT_FALSE(p.shuffle); }},
        {"loop status missing",
            [](auto &s) {
                s.setBehaviour("Get LoopStatus", "error", 0, "org.freedesktop.DBus.Error.UnknownProperty");
            },
            std::nullopt, [](const PlaybackSnapshot &p) { EXPECT_FALSE(p.repeatEnabled); }},
        {"metadata as text", [](auto &s) { s.setProperty("Metadata", QStringLiteral("none")); },
            SpotifyFailure::unavailable, {}},
        {"no title",
            [](auto &s) {
                s.setMetadata({{"mpris:trackid", "spotify:track:" + id}});
            },
            std::nullopt,
            [](const PlaybackSnapshot &p) { EXPECT_EQ(p.availability, PlayerAvailability::noTrack); }},
        {"negative length",
            [](auto &s) {
                s.setMetadata({{"mpris:trackid", "spotify:track:" + id}, {"xesam:title", "T"},
                    {"mpris:length", qlonglong(-1)}});
            },
            std::nullopt,
            [](const PlaybackSnapshot &p) {
                EXPECT_EQ(p.track->duration, 0.0);
                EXPECT_FALSE(p.capabilities.canSeek);
            }},
        {"huge strings",
            [](auto &s) {
                s.setMetadata(
                    {{"mpris:trackid", "spotify:track:" + id}, {"xesam:title", QString(500'000, 'a')},
                        {"xesam:artist", QStringList(1000, QString(100, 'b'))},
                        {"mpris:artUrl", QString(100'000, 'c')}});
            },
            std::nullopt,
            [](const PlaybackSnapshot &p) {
                EXPECT_EQ(p.track->title.size(), 500'000);
                EXPECT_EQ(p.track->artworkURL, std::nullopt);
            }},
    };
    spotify.vanish(); // each case gets a client of its own
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeSpotify fresh(bus);
        fresh.setMetadata(FakeSpotify::track(id, "Song", 212'000'000));
        c.script(fresh);
        SpotifyBridge each(transport, AutomationPermission(), clock);
        auto result = drive(clock, each.readState(fresh.pid()));
        if (c.failure) {
            ASSERT_TRUE(result.error());
            EXPECT_EQ(failureOf(result.error()), *c.failure);
        } else {
            ASSERT_FALSE(result.error());
            c.check(*result.value());
        }
        fresh.vanish();
    }
}
