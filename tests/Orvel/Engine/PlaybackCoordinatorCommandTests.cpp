#include "CoordinatorTestSupport.h"

#include "SpotifyLink.h"

// Commands, their confirmation, failures and the connection actions.
namespace {

using A = PlayerAvailability;

class Commands : public CoordinatorTest {
protected:
    Commands()
    {
        spotify->state = playing("a", false, 10, 60);
        run(coordinator->refresh());
        widgets.reloads.clear();
        spotify->reads = 0;
        spotify->readTimes.clear();
    }
    // Spotify does what it is told, as the bridge would send it.
    void obey()
    {
        spotify->onCommand = [](const PlaybackCommand &command, PlaybackSnapshot &state) {
            if (auto *seek = std::get_if<PlaybackCommand::Seek>(&command.value))
                state.position = std::clamp(seek->seconds, 0.0, state.track->duration);
            else if (auto *volume = std::get_if<PlaybackCommand::Volume>(&command.value))
                state.volume = volume->level < 0 ? 0 : std::lround(std::min(volume->level, 100.0));
            else if (command.kind() == PlaybackCommand::Kind::play)
                state.isPlaying = true;
        };
    }
};

TEST_F(Commands, OneAtATime)
{
    obey();
    spotify->latency = 1;
    auto first = start(coordinator->perform(PlaybackCommand::play()));
    workspace.openSucceeds = false;
    run(coordinator->openSpotifyAsync(true)); // a text set while the command runs
    auto second = start(coordinator->perform(PlaybackCommand::next()));
    ASSERT_TRUE(second.done());
    EXPECT_FALSE(second.get());
    EXPECT_EQ(spotify->commands.size(), 1);
    EXPECT_EQ(coordinator->errorKey(), PlaybackCoordinator::openFailedText);
    clock.advance(1);
    ASSERT_TRUE(first.done());
    EXPECT_FALSE(coordinator->busy());
}

TEST_F(Commands, WithoutAConnectionTheyRefreshInstead)
{
    for (const bool disconnected : {true, false}) {
        SCOPED_TRACE(disconnected ? "disconnected" : "not running");
        defaults.set(PlaybackCoordinator::disconnectedKey, disconnected);
        workspace.spotifyPid = disconnected ? std::optional<std::int32_t>(4242) : std::nullopt;
        EXPECT_FALSE(run(coordinator->perform(PlaybackCommand::next())));
        EXPECT_TRUE(spotify->commands.isEmpty());
        EXPECT_EQ(coordinator->snapshot().availability, disconnected ? A::needsPermission : A::notRunning);
        EXPECT_FALSE(coordinator->errorKey());
        EXPECT_FALSE(coordinator->busy());
    }
}

TEST_F(Commands, ConfirmedByTheBridgesOwnAnswer)
{
    obey();
    EXPECT_TRUE(run(coordinator->perform(PlaybackCommand::play())));
    EXPECT_EQ(spotify->reads, 0);
    EXPECT_TRUE(coordinator->snapshot().isPlaying);
    EXPECT_EQ(widgets.reloads, QStringList({QString()})); // immediate: the widgets show it

    widgets.reloads.clear();
    EXPECT_TRUE(run(coordinator->perform(PlaybackCommand::volume(30))));
    EXPECT_EQ(coordinator->snapshot().volume, 30.0);
    clock.advance(5);
    EXPECT_TRUE(widgets.reloads.isEmpty()); // volume does not show in the widgets
}

TEST_F(Commands, UnconfirmedAfterTheRereads)
{
    struct Case {
        const char *name;
        PlaybackCommand command;
        QList<double> readOffsets;
    };
    const auto link = *SpotifyLink::parse("spotify:album:1DFixLWuPkv3KT3TnV35m3");
    for (const Case &c : {Case{"volume", PlaybackCommand::volume(30), {0.4}},
             Case{"link", PlaybackCommand::playLink(link), {0.5, 1.0, 1.5}}}) {
        SCOPED_TRACE(c.name);
        spotify->state = playing("a", true, 50, 45);
        run(coordinator->refresh());
        spotify->readTimes.clear();
        widgets.reloads.clear();
        const double sentAt = clock.now();
        EXPECT_FALSE(run(coordinator->perform(c.command)));
        QList<double> offsets;
        for (double at : spotify->readTimes)
            offsets.append(std::round((at - sentAt) * 10) / 10);
        EXPECT_EQ(offsets, c.readOffsets);
        EXPECT_EQ(coordinator->errorKey(), PlaybackCoordinator::controlFailedText);
        EXPECT_EQ(coordinator->snapshot().commandError, PlaybackCoordinator::controlFailedText);
        EXPECT_EQ(stored().commandError, PlaybackCoordinator::controlFailedText);
        EXPECT_EQ(widgets.reloads, QStringList({QString()}));
    }
}

TEST_F(Commands, ClampedRequestsAreJudgedAsSent)
{
    obey();
    for (const auto &command : {PlaybackCommand::seek(-5), PlaybackCommand::seek(400),
             PlaybackCommand::volume(150), PlaybackCommand::volume(-3), PlaybackCommand::volume(30.4)}) {
        EXPECT_TRUE(run(coordinator->perform(command)));
        EXPECT_FALSE(coordinator->errorKey());
    }
    EXPECT_EQ(spotify->reads, 0);
}

TEST_F(Commands, FailuresBecomeStatesAndTexts)
{
    // A failure that keeps the last state marks it and reloads the widgets at
    // once; the others change the availability, which reloads them 2 s later.
    struct Case {
        SpotifyFailure failure;
        A availability;
        std::optional<QString> text;
        bool keepsTrack;
    };
    for (const Case &c :
        {Case{SpotifyFailure::timeout, A::unavailable, PlaybackCoordinator::timeoutText, false},
            Case{SpotifyFailure::permissionRequired, A::needsPermission, {}, false},
            Case{SpotifyFailure::permissionDenied, A::permissionDenied, {}, false},
            Case{SpotifyFailure::notRunning, A::notRunning, {}, false},
            Case{SpotifyFailure::unsupported, A::ready, PlaybackCoordinator::controlFailedText, true},
            Case{SpotifyFailure::invalidValue, A::ready, PlaybackCoordinator::controlFailedText, true},
            Case{SpotifyFailure::unavailable, A::ready, PlaybackCoordinator::controlFailedText, true}}) {
        SCOPED_TRACE(toRawValue(c.failure).toStdString());
        run(coordinator->refresh());
        clock.advance(PlaybackCoordinator::widgetReloadDelay);
        widgets.reloads.clear();
        spotify->commandFailure = c.failure;
        auto command = start(coordinator->perform(PlaybackCommand::next()));
        ASSERT_TRUE(command.done());
        EXPECT_FALSE(command.get());
        EXPECT_EQ(widgets.reloads.size(), c.keepsTrack ? 1 : 0);
        EXPECT_EQ(coordinator->snapshot().availability, c.availability);
        EXPECT_EQ(coordinator->errorKey(), c.text);
        EXPECT_EQ(coordinator->snapshot().track.has_value(), c.keepsTrack);
        if (c.keepsTrack) {
            EXPECT_EQ(stored().commandError, c.text);
        }
        EXPECT_FALSE(coordinator->busy());
        clock.advance(PlaybackCoordinator::widgetReloadDelay);
        EXPECT_EQ(widgets.reloads.size(), 1);
        spotify->commandFailure.reset();
    }
}

TEST_F(Commands, MissingPermissionAtCommandTime)
{
    spotify->permissionStatus = -1744;
    EXPECT_FALSE(run(coordinator->perform(PlaybackCommand::play())));
    EXPECT_TRUE(spotify->commands.isEmpty());
    EXPECT_EQ(coordinator->snapshot().availability, A::permissionDenied);
    EXPECT_FALSE(coordinator->errorKey());
}

TEST_F(Commands, ADisconnectDuringACommandWins)
{
    obey();
    spotify->latency = 1;
    auto command = start(coordinator->perform(PlaybackCommand::play()));
    clock.advance(0.5);
    coordinator->setDisconnected();
    clock.advance(1);
    ASSERT_TRUE(command.done());
    EXPECT_FALSE(fileExists());
    EXPECT_EQ(coordinator->snapshot().availability, A::needsPermission);
    EXPECT_FALSE(coordinator->busy());
}

// Spotify's answer to the permission question comes a second late.
class SlowToPermit final : public SpotifyControlling {
public:
    SlowToPermit(std::shared_ptr<ScriptedSpotify> spotify, Scheduler &clock)
        : m_spotify(std::move(spotify))
        , m_clock(clock)
    {
    }
    QCoro::Task<PlaybackSnapshot> readState(qint32 pid) override { return m_spotify->readState(pid); }
    QCoro::Task<PlaybackSnapshot> perform(PlaybackCommand command, qint32 pid) override
    {
        return m_spotify->perform(std::move(command), pid);
    }
    QCoro::Task<qint32> permission(qint32 pid, bool ask) override
    {
        co_await m_clock.sleep(1);
        co_return co_await m_spotify->permission(pid, ask);
    }

private:
    std::shared_ptr<ScriptedSpotify> m_spotify;
    Scheduler &m_clock;
};

TEST_F(Commands, ADisconnectWhileAskingPermissionSendsAndPublishesNothing)
{
    for (const qint32 status : {0, -1743}) {
        SCOPED_TRACE(status);
        defaults.set(PlaybackCoordinator::disconnectedKey, false);
        spotify->permissionStatus = status;
        coordinator = std::make_unique<PlaybackCoordinator>(
            services(std::make_shared<SlowToPermit>(spotify, clock), container()));
        auto command = start(coordinator->perform(PlaybackCommand::play()));
        clock.advance(0.5);
        coordinator->setDisconnected();
        clock.advance(1);
        ASSERT_TRUE(command.done());
        EXPECT_FALSE(command.get());
        EXPECT_TRUE(spotify->commands.isEmpty());
        EXPECT_FALSE(fileExists());
        EXPECT_EQ(coordinator->snapshot().availability, A::needsPermission);
        EXPECT_FALSE(coordinator->busy());
    }
}

class Connection : public CoordinatorTest { };

TEST_F(Connection, ConnectLaunchesSpotifyAndAsksOnlyWhenItRuns)
{
    // The client reaches the bus when it does; the question follows it, once settled.
    struct Case {
        const char *name;
        std::optional<double> onTheBusAfter;
    };
    const double bound = PlaybackCoordinator::launchBusWait;
    const double settle = PlaybackCoordinator::launchSettlePause;
    for (const Case &c : {Case{"at once", 0.0}, Case{"after 3 s", 3.0}, Case{"just in time", bound - 0.1},
             Case{"never", std::nullopt}}) {
        SCOPED_TRACE(c.name);
        workspace.spotifyPid.reset();
        workspace.launchPid = c.onTheBusAfter == 0.0 ? std::optional<std::int32_t>(99) : std::nullopt;
        workspace.openedSpotify.clear();
        spotify->permissionAsks.clear();
        spotify->reads = 0;
        const double began = clock.now();
        auto connecting = start(coordinator->connectAsync());
        EXPECT_EQ(workspace.openedSpotify, std::vector<bool>({true}));
        if (c.onTheBusAfter > 0.0) {
            clock.advance(*c.onTheBusAfter);
            EXPECT_FALSE(connecting.done());
            workspace.launchSpotify(99);
        }
        clock.advance(began + c.onTheBusAfter.value_or(bound) + settle - 0.01 - clock.now());
        EXPECT_EQ(spotify->reads, 0);
        EXPECT_FALSE(connecting.done());
        clock.advance(0.01);
        EXPECT_EQ(spotify->reads > 0, c.onTheBusAfter.has_value());
        clock.advance(1);
        ASSERT_TRUE(connecting.done());
        EXPECT_EQ(spotify->permissionAsks,
            c.onTheBusAfter ? std::vector<bool>({false, false, true, false}) : std::vector<bool>());
        EXPECT_EQ(coordinator->snapshot().availability, c.onTheBusAfter ? A::ready : A::notRunning);
        // Nothing is left waiting.
        clock.advance(bound);
        EXPECT_EQ(workspace.openedSpotify.size(), 1u);
    }
}

TEST_F(Connection, ASecondPressOrQuittingWhileSpotifyStartsIsSafe)
{
    // Each happens a second into the wait; the client comes two seconds in, if at all.
    struct Case {
        const char *name;
        std::function<void()> meanwhile;
        int opened;
        bool refreshed;
    };
    const Case cases[] = {
        {"second press", [this] { start(coordinator->openSpotifyAsync(true)); }, 1, true},
        {"second connect", [this] { start(coordinator->connectAsync()); }, 1, true},
        {"quit", [this] { coordinator->flush(); }, 1, false},
        {"gone", [this] { coordinator.reset(); }, 1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        make(container());
        workspace.spotifyPid.reset();
        workspace.launchPid.reset();
        workspace.openedSpotify.clear();
        spotify->reads = 0;
        auto connecting = start(coordinator->connectAsync());
        clock.advance(1);
        c.meanwhile();
        clock.advance(1);
        workspace.launchSpotify(99);
        clock.advance(PlaybackCoordinator::launchBusWait + 1);
        EXPECT_TRUE(connecting.done());
        EXPECT_EQ(int(workspace.openedSpotify.size()), c.opened);
        EXPECT_EQ(spotify->reads > 0, c.refreshed);
        if (!c.refreshed && coordinator) { // the last word stays the one written on quitting
            EXPECT_EQ(stored().availability, A::unavailable);
        }
    }
}

TEST_F(Connection, ConnectAnswers)
{
    // After a refusal, connecting puts the question again; its answer decides.
    struct Case {
        qint32 status;
        std::optional<bool> reconsidered;
        A availability;
        int asksAgain;
    };
    for (const Case &c : {Case{0, {}, A::ready, 0}, Case{-1744, {}, A::needsPermission, 0},
             Case{-1743, {}, A::permissionDenied, 1}, Case{-1743, false, A::permissionDenied, 1},
             Case{-1743, true, A::ready, 1}, Case{-600, true, A::permissionDenied, 0}}) {
        SCOPED_TRACE(testing::Message() << c.status << " then " << c.reconsidered.value_or(-1));
        coordinator->setDisconnected();
        spotify->permissionStatus = c.status;
        spotify->reconsidered = c.reconsidered;
        spotify->asksAgain = 0;
        run(coordinator->connectAsync());
        EXPECT_FALSE(defaults.boolean(PlaybackCoordinator::disconnectedKey));
        EXPECT_EQ(coordinator->snapshot().availability, c.availability);
        EXPECT_EQ(spotify->asksAgain, c.asksAgain);
        EXPECT_FALSE(coordinator->errorKey());
    }
}

TEST_F(Connection, WithoutSpotifyTheDownloadPageOpens)
{
    workspace.spotifyInstalled = false;
    workspace.spotifyPid.reset();
    run(coordinator->connectAsync());
    EXPECT_EQ(workspace.openedURLs, QList<QUrl>({PlaybackCoordinator::spotifyDownloadURL}));
    EXPECT_TRUE(workspace.openedSpotify.empty());
    EXPECT_EQ(coordinator->snapshot().availability, A::notInstalled);
    EXPECT_TRUE(spotify->permissionAsks.empty());
}

TEST_F(Connection, AFailedOpeningSaysSoAndRefreshes)
{
    workspace.spotifyPid.reset();
    workspace.openSucceeds = false;
    run(coordinator->openSpotifyAsync(false));
    EXPECT_EQ(workspace.openedSpotify, std::vector<bool>({false}));
    EXPECT_EQ(coordinator->errorKey(), PlaybackCoordinator::openFailedText);
    EXPECT_EQ(coordinator->snapshot().availability, A::notRunning);
}

TEST_F(Connection, DisconnectingRemovesTheFilesUntilConnected)
{
    run(coordinator->refresh());
    QFile(filesDirectory() + "/" + PlaybackCoordinator::artworkFileName(QUrl("http://x/1")))
        .open(QIODevice::WriteOnly);
    QFile(filesDirectory() + "/shortcuts.json").open(QIODevice::WriteOnly);
    widgets.reloads.clear();
    coordinator->setDisconnected();
    EXPECT_FALSE(fileExists());
    EXPECT_EQ(QDir(filesDirectory()).entryList(QDir::Files), QStringList({"shortcuts.json"}));
    EXPECT_EQ(coordinator->snapshot().availability, A::needsPermission);
    EXPECT_EQ(widgets.reloads, QStringList({QString()}));

    spotify->reads = 0;
    coordinator->start();
    clock.advance(30);
    EXPECT_EQ(stored().availability, A::needsPermission);
    EXPECT_FALSE(run(coordinator->perform(PlaybackCommand::play())));
    EXPECT_EQ(spotify->reads, 0);
    EXPECT_TRUE(spotify->commands.isEmpty());
}

} // namespace
