#include "CoordinatorTestSupport.h"
#include "Localization.h"
#include "RecordingAnnouncer.h"

// Firing a shortcut: Spotify is made ready, the link plays, the outcome is told.
namespace {
using A = PlayerAvailability;

class Casting : public CoordinatorTest {
protected:
    Casting()
    {
        EXPECT_TRUE(
            coordinator->upsertShortcut(std::nullopt, "Morning", "spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
        shortcut = coordinator->shortcuts().constFirst();
        // Playing a link starts that track.
        spotify->onCommand = [](const PlaybackCommand &command, PlaybackSnapshot &state) {
            if (const auto *link = std::get_if<PlaybackCommand::PlayLink>(&command.value))
                state = playing(link->link.id());
        };
    }

    // Casts and moves the clock until the cast has ended.
    void castToEnd()
    {
        run(coordinator->cast(shortcut));
        EXPECT_EQ(coordinator->casting(), std::nullopt);
    }
    int playLinks() const
    {
        return int(std::count_if(spotify->commands.cbegin(), spotify->commands.cend(),
            [](const PlaybackCommand &c) { return c.kind() == PlaybackCommand::Kind::playLink; }));
    }

    MusicShortcut shortcut{QUuid(), "x", *SpotifyLink::parse("spotify:album:1DFixLWuPkv3KT3TnV35m3")};
};

TEST_F(Casting, ASuccessPlaysTheLinkAndAnnouncesTheTitle)
{
    castToEnd();
    EXPECT_EQ(playLinks(), 1);
    EXPECT_EQ(coordinator->lastCast(), shortcut.id);
    EXPECT_EQ(coordinator->failedCast(), std::nullopt);
    EXPECT_EQ(coordinator->errorKey(), std::nullopt);
    EXPECT_EQ(announcer.announcements, QStringList{"Playing Morning"});
    // The track it led to keeps the marker; another track ends it.
    coordinator->publish(playing("4uLU6hMCjMI75M1A2tKUQC"), false);
    EXPECT_EQ(coordinator->lastCast(), shortcut.id);
    coordinator->publish(playing("b"), false);
    EXPECT_EQ(coordinator->lastCast(), std::nullopt);
}

TEST_F(Casting, ASecondCastDuringACastOrACommandIsIgnored)
{
    spotify->latency = 1;
    auto first = start(coordinator->cast(shortcut));
    ASSERT_EQ(coordinator->casting(), shortcut.id);
    MusicShortcut other = shortcut;
    other.id = QUuid::createUuid();
    auto second = start(coordinator->cast(other));
    EXPECT_TRUE(second.done());
    EXPECT_EQ(coordinator->casting(), shortcut.id);
    for (int step = 0; step < 100 && !first.done(); ++step)
        clock.advance(0.1);
    EXPECT_EQ(playLinks(), 1);
    EXPECT_EQ(announcer.announcements.size(), 1);

    auto command = start(coordinator->perform(PlaybackCommand::pause()));
    ASSERT_TRUE(coordinator->busy());
    auto duringCommand = start(coordinator->cast(shortcut));
    EXPECT_TRUE(duringCommand.done());
    EXPECT_EQ(coordinator->casting(), std::nullopt);
    for (int step = 0; step < 100 && !command.done(); ++step)
        clock.advance(0.1);
    EXPECT_EQ(playLinks(), 1);
}

TEST_F(Casting, FailuresSetTheirTextAndMarkTheShortcutForOneAndAHalfSeconds)
{
    struct Case {
        const char *name;
        std::function<void()> arrange;
        QString text;
        bool launched;
    };
    const Case cases[] = {
        {"disconnected", [this] { defaults.set("spotifyDisconnected", true); },
            "Connect Spotify to use skills.", false},
        {"not answering", [this] { spotify->readFailure = SpotifyFailure::timeout; },
            "Spotify is taking too long to respond.", false},
        {"not running, never starts", [this] { workspace.spotifyPid.reset(); },
            "Spotify is taking too long to respond.", true},
        {"refused", [this] { spotify->permissionStatus = -1743; },
            QStringLiteral(
                "Allow Spotify control in System Settings \u2192 Privacy & Security \u2192 Automation."),
            false},
        {"consent not given", [this] { spotify->permissionStatus = -1744; },
            "Spotify is taking too long to respond.", false},
        {"play refused", [this] { spotify->commandFailure = SpotifyFailure::unsupported; },
            "Spotify could not apply this control.", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto onCommand = spotify->onCommand;
        spotify = std::make_shared<ScriptedSpotify>(clock);
        spotify->onCommand = onCommand;
        spotify->state = playing("a", false);
        make(container());
        workspace.spotifyPid = 4242;
        workspace.openedSpotify.clear();
        defaults.remove("spotifyDisconnected");
        announcer.announcements.clear();
        c.arrange();

        castToEnd();
        EXPECT_EQ(coordinator->errorKey(), c.text);
        // Announced in the words of the system (the refusal's are Linux ones).
        EXPECT_EQ(announcer.announcements, QStringList{localized(c.text)});
        EXPECT_EQ(coordinator->failedCast(), shortcut.id);
        EXPECT_EQ(coordinator->lastCast(), std::nullopt);
        // Started in the background, if at all.
        EXPECT_EQ(std::count(workspace.openedSpotify.begin(), workspace.openedSpotify.end(), false),
            c.launched ? 1 : 0);
        EXPECT_EQ(workspace.openedSpotify.size(), c.launched ? 1u : 0u);
        clock.advance(1.5);
        EXPECT_EQ(coordinator->failedCast(), std::nullopt);
    }
}

TEST_F(Casting, ASilentSpotifyIsGivenUpAfterEightSeconds)
{
    spotify->readFailure = SpotifyFailure::timeout;
    auto cast = start(coordinator->cast(shortcut));
    clock.advance(7.9);
    EXPECT_FALSE(cast.done());
    clock.advance(0.5);
    EXPECT_TRUE(cast.done());
    EXPECT_EQ(coordinator->errorKey(), "Spotify is taking too long to respond.");
}

TEST_F(Casting, ConsentIsAskedForOnceAndWaitedForFourSeconds)
{
    spotify->permissionStatus = -1744;
    auto cast = start(coordinator->cast(shortcut));
    clock.advance(0.1);
    EXPECT_EQ(spotify->permissionAsks, (std::vector<bool>{false, false, true, false}));
    clock.advance(5);
    EXPECT_TRUE(cast.done());
    EXPECT_EQ(playLinks(), 0);
}

TEST_F(Casting, ASpotifyThatStartsWithinEightSecondsPlaysTheLink)
{
    workspace.spotifyPid.reset();
    workspace.launchPid = 777;
    spotify->readFailure = SpotifyFailure::notRunning; // still starting up
    auto cast = start(coordinator->cast(shortcut));
    clock.advance(3);
    EXPECT_FALSE(cast.done());
    spotify->readFailure.reset();
    for (int step = 0; step < 100 && !cast.done(); ++step)
        clock.advance(0.1);
    EXPECT_EQ(workspace.openedSpotify, std::vector<bool>{false});
    EXPECT_EQ(playLinks(), 1);
    EXPECT_EQ(coordinator->lastCast(), shortcut.id);
}

TEST_F(Casting, WithoutSpotifyTheWebLinkOpensAndCountsAsPlaying)
{
    workspace.spotifyInstalled = false;
    castToEnd();
    EXPECT_EQ(
        workspace.openedURLs, QList<QUrl>{QUrl("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC")});
    EXPECT_TRUE(spotify->commands.isEmpty());
    EXPECT_EQ(coordinator->lastCast(), shortcut.id);
    EXPECT_EQ(announcer.announcements, QStringList{"Playing Morning"});
}

TEST_F(Casting, APlayThatLeavesSpotifyNotReadyFailsWithTheGenericAnnouncement)
{
    spotify->onCommand = [](const PlaybackCommand &, PlaybackSnapshot &state) {
        state = PlaybackCoordinator::placeholder(A::noTrack);
        state.isPlaying = true;
    };
    castToEnd();
    EXPECT_EQ(coordinator->failedCast(), shortcut.id);
    EXPECT_EQ(announcer.announcements, QStringList{"Spotify could not apply this control."});
}

TEST_F(Casting, TwoFailuresOneSecondApartClearOneAndAHalfSecondsAfterTheSecond)
{
    defaults.set("spotifyDisconnected", true);
    castToEnd();
    clock.advance(1);
    castToEnd();
    clock.advance(1.4);
    EXPECT_EQ(coordinator->failedCast(), shortcut.id);
    clock.advance(0.1);
    EXPECT_EQ(coordinator->failedCast(), std::nullopt);
}

TEST_F(Casting, ACommandStartedWhileWaitingIsWaitedForAtMostTwoSeconds)
{
    struct Case {
        double commandLatency;
        QStringList sent;
        std::optional<QString> error;
    };
    const Case cases[] = {
        {0.5, {"play", "playLink"}, std::nullopt},
        {3.0, {"play"}, "Spotify could not apply this control."}, // still busy: the play is refused
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.commandLatency);
        make(container());
        spotify->commands.clear();
        spotify->latency = 0.3; // the cast's readiness read
        auto cast = start(coordinator->cast(shortcut));
        spotify->latency = c.commandLatency;
        clock.advance(0.1);
        auto command = start(coordinator->perform(PlaybackCommand::play()));
        ASSERT_TRUE(coordinator->busy());
        spotify->latency = 0;
        for (int step = 0; step < 100 && !cast.done(); ++step)
            clock.advance(0.1);
        ASSERT_TRUE(cast.done());
        QStringList sent;
        for (const PlaybackCommand &sentCommand : spotify->commands)
            sent << (sentCommand.kind() == PlaybackCommand::Kind::play ? "play" : "playLink");
        EXPECT_EQ(sent, c.sent);
        EXPECT_EQ(coordinator->errorKey(), c.error);
        for (int step = 0; step < 100 && !command.done(); ++step)
            clock.advance(0.1);
    }
}
} // namespace
