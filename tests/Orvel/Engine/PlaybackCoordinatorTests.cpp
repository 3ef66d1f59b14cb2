#include "CoordinatorTestSupport.h"

// Polling, refresh and publication of the coordinator.
namespace {

using A = PlayerAvailability;

class Polling : public CoordinatorTest {
protected:
    // Gaps between the reads of Spotify, in seconds.
    QList<double> gaps() const
    {
        QList<double> result;
        for (qsizetype i = 1; i < spotify->readTimes.size(); ++i)
            result.append(std::round((spotify->readTimes[i] - spotify->readTimes[i - 1]) * 10) / 10);
        return result;
    }
};

TEST_F(Polling, StartsNotRunningAndRefreshesAtOnce)
{
    EXPECT_EQ(coordinator->snapshot().availability, A::notRunning);
    EXPECT_EQ(coordinator->snapshot().volume, 50.0);
    coordinator->start();
    clock.runUntilIdle();
    EXPECT_EQ(spotify->reads, 1);
    EXPECT_EQ(coordinator->snapshot().availability, A::ready);
}

TEST_F(Polling, PaceFollowsTheState)
{
    struct Case {
        const char *name;
        bool playing;
        bool panel;
        double pace;
    };
    for (const Case &c : {Case{"paused", false, false, 15}, Case{"playing", true, false, 5},
             Case{"panel open", false, true, 1}, Case{"playing with a panel", true, true, 1}}) {
        SCOPED_TRACE(c.name);
        make(container());
        spotify->readTimes.clear();
        spotify->state = playing("a", c.playing);
        coordinator->start();
        if (c.panel)
            coordinator->setPanel(QUuid::createUuid(), true);
        clock.runUntilIdle();
        spotify->readTimes.clear(); // the first pass and the panel's refresh
        clock.advance(c.pace * 3 + 0.01);
        EXPECT_EQ(gaps(), QList<double>({c.pace, c.pace}));
        coordinator->flush();
    }
}

TEST_F(Polling, StartingTwiceRunsOneLoopAndOneSetOfObservers)
{
    coordinator->start();
    coordinator->start();
    clock.runUntilIdle();
    EXPECT_EQ(spotify->reads, 1);
    clock.advance(15);
    EXPECT_EQ(spotify->reads, 2);
    emit workspace.applicationLaunched("org.example.other"); // not filtered for Spotify
    clock.runUntilIdle();
    EXPECT_EQ(spotify->reads, 3);
}

TEST_F(Polling, APanelRefreshesAtOnceWithoutShorteningTheRunningPause)
{
    coordinator->start();
    clock.runUntilIdle();
    clock.advance(3);
    const QUuid panel = QUuid::createUuid();
    coordinator->setPanel(panel, true);
    coordinator->setPanel(panel, true); // already open: nothing
    coordinator->setPanel(QUuid::createUuid(), false); // never opened: nothing
    clock.runUntilIdle();
    EXPECT_EQ(spotify->reads, 2);
    clock.advance(11.9); // the 15 s pause runs on
    EXPECT_EQ(spotify->reads, 2);
    clock.advance(0.1);
    EXPECT_EQ(spotify->reads, 3);
    clock.advance(2);
    EXPECT_EQ(spotify->reads, 5); // now every second
    coordinator->setPanel(panel, false);
    clock.advance(1);
    clock.advance(14);
    EXPECT_EQ(spotify->reads, 6);
}

TEST_F(Polling, AsleepNothingReachesSpotifyAndWakingRefreshes)
{
    using Signal = void (Workspace::*)();
    for (const auto &[sleep, wake] : {std::pair<Signal, Signal>{&Workspace::willSleep, &Workspace::didWake},
             {&Workspace::sessionDidResignActive, &Workspace::sessionDidBecomeActive}}) {
        make(container());
        spotify->reads = 0;
        coordinator->start();
        clock.runUntilIdle();
        emit(workspace.*sleep)();
        coordinator->setPanel(QUuid::createUuid(), true);
        emit workspace.applicationLaunched(Workspace::spotifyBundleIdentifier);
        clock.advance(120);
        EXPECT_EQ(spotify->reads, 1);
        emit(workspace.*wake)();
        clock.runUntilIdle();
        EXPECT_EQ(spotify->reads, 2);
        coordinator->flush();
    }
}

// Before the bus has answered, "no pid" is no state to pace by.
TEST_F(Polling, TheFirstPassWaitsForTheBusAndPacesByWhatItSays)
{
    struct Case {
        const char *name;
        std::optional<double> answerAfter;
        std::optional<std::int32_t> pid;
        A availability;
        double pace;
    };
    const double wait = PlaybackCoordinator::lookUpWait;
    for (const Case &c : {Case{"playing", 0.01, 4242, A::ready, 5},
             Case{"not running", 0.01, {}, A::notRunning, 15}, Case{"bus silent", {}, {}, A::notRunning, 15},
             Case{"bus answers after the wait", wait + 1, 4242, A::ready, 5}}) {
        SCOPED_TRACE(c.name);
        make(container());
        workspace.spotifyPid.reset();
        workspace.lookingUp = true;
        spotify->state = playing("a", true);
        spotify->readTimes.clear();
        const double began = clock.now();
        coordinator->start();
        clock.runUntilIdle();
        clock.advance(c.answerAfter.value_or(wait) - 0.001);
        EXPECT_EQ(coordinator->snapshot().availability, A::notRunning);
        EXPECT_TRUE(spotify->readTimes.isEmpty());
        if (c.answerAfter)
            workspace.answerLookUp(c.pid);
        clock.advance(0.001);
        clock.runUntilIdle();
        EXPECT_EQ(coordinator->snapshot().availability, c.availability);
        // The next read comes at the pace the real state asks for.
        const double firstPass = c.answerAfter.value_or(wait);
        spotify->readTimes.clear();
        workspace.spotifyPid = 4242;
        clock.advance(began + firstPass + c.pace - 0.01 - clock.now());
        EXPECT_TRUE(spotify->readTimes.isEmpty());
        clock.advance(0.02);
        EXPECT_EQ(spotify->readTimes.size(), 1);
        workspace.lookingUp = false;
        coordinator->flush();
    }
}

// Falling asleep while a pass reads keeps the loop at the sleeper's pace:
// after waking, the loop's next pass comes 30 s after the one that was reading.
TEST_F(Polling, FallingAsleepDuringARefreshKeepsTheLongPause)
{
    spotify->latency = 1;
    const double began = clock.now();
    coordinator->start();
    clock.runUntilIdle();
    clock.advance(0.5);
    emit workspace.willSleep();
    clock.advance(19.5);
    emit workspace.didWake(); // refreshes at once, the pause runs on
    clock.runUntilIdle();
    clock.advance(12);
    QList<double> at;
    for (const double time : std::as_const(spotify->readTimes))
        at.append(std::round((time - began) * 10) / 10);
    EXPECT_EQ(at, QList<double>({0, 20, 1 + PlaybackCoordinator::asleepPace}));
}

TEST_F(Polling, FlushLeavesAFinalNotPlayingFileAndKeepsMemory)
{
    spotify->state = playing("a", true);
    coordinator->start();
    clock.runUntilIdle();
    widgets.reloads.clear();
    coordinator->flush();
    EXPECT_EQ(stored().availability, A::unavailable);
    EXPECT_FALSE(stored().isPlaying);
    EXPECT_EQ(stored().track, coordinator->snapshot().track);
    EXPECT_TRUE(coordinator->snapshot().isPlaying);
    EXPECT_EQ(coordinator->snapshot().availability, A::ready);
    EXPECT_EQ(widgets.reloads, QStringList({QString()}));
    clock.advance(60);
    EXPECT_EQ(spotify->reads, 1); // polling stopped
    emit workspace.applicationLaunched(Workspace::spotifyBundleIdentifier);
    clock.runUntilIdle();
    EXPECT_EQ(spotify->reads, 1); // observers gone
}

class Refresh : public CoordinatorTest { };

TEST_F(Refresh, CallersDuringAPassJoinIt)
{
    spotify->latency = 1;
    QList<Started<bool>> calls;
    for (int i = 0; i < 10; ++i)
        calls.append(start(coordinator->refresh()));
    clock.advance(0.9);
    for (const auto &call : calls)
        EXPECT_FALSE(call.done());
    clock.advance(0.1);
    for (const auto &call : calls)
        EXPECT_TRUE(call.done());
    EXPECT_EQ(spotify->reads, 1);
    run(coordinator->refresh());
    EXPECT_EQ(spotify->reads, 2);
}

TEST_F(Refresh, RefusedWhileAsleepOrBusy)
{
    coordinator->start();
    clock.runUntilIdle();
    emit workspace.willSleep();
    auto asleep = start(coordinator->refresh());
    EXPECT_TRUE(asleep.done());
    emit workspace.didWake();
    clock.runUntilIdle();
    const int reads = spotify->reads;

    spotify->latency = 1;
    spotify->onCommand = [](const PlaybackCommand &, PlaybackSnapshot &state) { state.isPlaying = true; };
    auto command = start(coordinator->perform(PlaybackCommand::play()));
    EXPECT_TRUE(coordinator->busy());
    auto busy = start(coordinator->refresh());
    EXPECT_TRUE(busy.done());
    EXPECT_EQ(spotify->reads, reads);
    clock.advance(1);
    EXPECT_TRUE(command.done());
    EXPECT_TRUE(stored().isPlaying);
}

TEST_F(Refresh, AReadEndingDuringACommandIsDiscarded)
{
    spotify->latency = 1;
    spotify->readQueue.push_back(playing("stale"));
    auto pass = start(coordinator->refresh());
    clock.advance(0.5);
    spotify->onCommand
        = [](const PlaybackCommand &, PlaybackSnapshot &state) { state = playing("b", false); };
    auto command = start(coordinator->perform(PlaybackCommand::pause()));
    clock.advance(0.5);
    EXPECT_TRUE(pass.done());
    const auto &shown = coordinator->snapshot().track;
    EXPECT_FALSE(shown && shown->id == "spotify:track:stale");
    clock.advance(1);
    EXPECT_TRUE(command.done());
    ASSERT_TRUE(coordinator->snapshot().track);
    EXPECT_EQ(coordinator->snapshot().track->id, "spotify:track:b");
}

TEST_F(Refresh, LadderDecidesBeforeAskingSpotify)
{
    struct Case {
        const char *name;
        bool disconnected;
        bool installed;
        bool running;
        qint32 permission;
        std::optional<SpotifyFailure> readFailure;
        A expected;
        bool asksPermission;
        bool reads;
    };
    const auto timeout = SpotifyFailure::timeout;
    for (const Case &c : {
             Case{"disconnected, not installed", true, false, false, 0, {}, A::needsPermission, false, false},
             Case{"not installed", false, false, true, 0, {}, A::notInstalled, false, false},
             Case{"not running", false, true, false, 0, {}, A::notRunning, false, false},
             Case{"consent needed", false, true, true, -1744, {}, A::needsPermission, true, false},
             Case{"refused", false, true, true, -1743, {}, A::permissionDenied, true, false},
             Case{"other status", false, true, true, -600, {}, A::permissionDenied, true, false},
             Case{"read times out", false, true, true, 0, timeout, A::unavailable, true, true},
             Case{"read needs consent", false, true, true, 0, SpotifyFailure::permissionRequired,
                 A::needsPermission, true, true},
             Case{"read finds it gone", false, true, true, 0, SpotifyFailure::notRunning, A::notRunning, true,
                 true},
             Case{"read succeeds", false, true, true, 0, {}, A::ready, true, true},
         }) {
        SCOPED_TRACE(c.name);
        defaults.set(PlaybackCoordinator::disconnectedKey, c.disconnected);
        workspace.spotifyInstalled = c.installed;
        workspace.spotifyPid = c.running ? std::optional<std::int32_t>(7) : std::nullopt;
        spotify->permissionStatus = c.permission;
        spotify->readFailure = c.readFailure;
        spotify->permissionAsks.clear();
        spotify->reads = 0;
        run(coordinator->refresh());
        EXPECT_EQ(coordinator->snapshot().availability, c.expected);
        EXPECT_EQ(stored().availability, c.expected);
        EXPECT_EQ(spotify->permissionAsks, c.asksPermission ? std::vector<bool>{false} : std::vector<bool>{});
        EXPECT_EQ(spotify->reads, c.reads ? 1 : 0);
        EXPECT_FALSE(coordinator->errorKey());
    }
}

class Publish : public CoordinatorTest { };

TEST_F(Publish, ChangesReloadTheWidgetsOnceAfterTwoSeconds)
{
    coordinator->publish(playing("a"), false);
    clock.runUntilIdle();
    clock.advance(1);
    coordinator->publish(playing("b"), false);
    clock.advance(0.99);
    EXPECT_TRUE(widgets.reloads.isEmpty());
    clock.advance(0.01);
    EXPECT_EQ(widgets.reloads, QStringList({QString()}));
    clock.advance(5);
    EXPECT_EQ(widgets.reloads.size(), 1);

    coordinator->publish(playing("b", true, 42), false); // only the position moved
    clock.advance(5);
    EXPECT_EQ(widgets.reloads.size(), 1);
}

TEST_F(Publish, AnImmediatePublishReloadsAtOnceAndCancelsThePendingOne)
{
    coordinator->publish(playing("a"), false);
    clock.runUntilIdle();
    coordinator->publish(playing("a"), true);
    EXPECT_EQ(widgets.reloads.size(), 1);
    clock.advance(5);
    EXPECT_EQ(widgets.reloads.size(), 1);
}

TEST_F(Publish, ArtworkFieldsFollowTheCoverURL)
{
    const QUrl cover("http://127.0.0.1:9/cover");
    const QString name = PlaybackCoordinator::artworkFileName(cover);
    QDir().mkpath(filesDirectory());
    ASSERT_TRUE(colourfulCover().save(filesDirectory() + "/" + name, "JPEG"));
    coordinator->publish(playing("a", true, 10, 60, cover), false); // the cover comes from the cache
    coordinator->publish(playing("a", true, 20, 60, cover), false);
    EXPECT_EQ(coordinator->snapshot().artworkFile, name);
    EXPECT_TRUE(coordinator->snapshot().artworkPalette);
    coordinator->publish(PlaybackCoordinator::placeholder(A::notRunning), false);
    EXPECT_FALSE(coordinator->snapshot().artworkFile);
    EXPECT_FALSE(coordinator->snapshot().artworkPalette);
}

TEST_F(Publish, StorageErrorTellsWhenTheWidgetsCannotSeeTheFile)
{
    make(std::nullopt); // no App Group container: the private folder is used
    coordinator->publish(playing("a"), false);
    EXPECT_TRUE(coordinator->storageError());
    EXPECT_EQ(stored().track, coordinator->snapshot().track);

    make(container());
    coordinator->publish(playing("a"), false);
    EXPECT_FALSE(coordinator->storageError());

    // A file where the folder should be: the write fails, the state moves on.
    QDir().mkpath(dir.filePath("blocked"));
    QFile(dir.filePath("blocked/Orvel")).open(QIODevice::WriteOnly);
    make(dir.filePath("blocked"));
    coordinator->publish(playing("b"), false);
    EXPECT_TRUE(coordinator->storageError());
    EXPECT_EQ(coordinator->snapshot().track->id, "spotify:track:b");
    run(coordinator->refresh());
    EXPECT_EQ(coordinator->snapshot().availability, A::ready);
}

} // namespace
