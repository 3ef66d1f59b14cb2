#include "CoordinatorTestSupport.h"
#include "ProgressControlModel.h"
#include "VolumeControlModel.h"

#include <limits>

// The position and volume bars over a coordinator with scripted Spotify.
namespace {
std::optional<double> seekOf(const PlaybackCommand &command)
{
    if (const auto *seek = std::get_if<PlaybackCommand::Seek>(&command.value))
        return seek->seconds;
    return std::nullopt;
}

std::optional<double> volumeOf(const PlaybackCommand &command)
{
    if (const auto *volume = std::get_if<PlaybackCommand::Volume>(&command.value))
        return volume->level;
    return std::nullopt;
}

PlaybackSnapshot at(double position, bool isPlaying, double duration = 205, bool canSeek = true)
{
    return PlaybackSnapshot(PlayerAvailability::ready, song("a", duration), isPlaying, position, 60, false,
        false, PlaybackCapabilities{canSeek, true, true}, Date::now(), std::nullopt, std::nullopt,
        std::nullopt);
}

class PlaybackControls : public CoordinatorTest {
protected:
    PlaybackControls()
    {
        // The bars wait for the commands they send, which need a reply of Spotify's.
        spotify->onCommand = [](const PlaybackCommand &command, PlaybackSnapshot &state) {
            if (const auto seconds = seekOf(command))
                state.position = *seconds;
            if (const auto level = volumeOf(command))
                state.volume = *level;
        };
    }
    void show(const PlaybackSnapshot &snapshot)
    {
        spotify->state = snapshot;
        coordinator->publish(snapshot, true);
    }

    ScopedScheduler installed{clock};
};
} // namespace

TEST_F(PlaybackControls, WithoutATrackTheRangeIsOneSecond)
{
    show(PlaybackCoordinator::placeholder(PlayerAvailability::noTrack));
    ProgressControlModel progress;
    progress.setCoordinator(coordinator.get());
    EXPECT_EQ(progress.duration(), 1);
    EXPECT_EQ(progress.elapsedText(), "0:00");
    EXPECT_EQ(progress.remainingText(), QStringLiteral("\u22120:01"));
    EXPECT_FALSE(progress.scrubber()->enabled());
}

// Fault mended: a duration that is not finite kept an unbounded range.
TEST_F(PlaybackControls, ADurationThatIsNotFiniteCountsAsOneSecond)
{
    PlaybackSnapshot snapshot = at(0, false);
    for (double duration :
        {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        snapshot.track->duration = duration;
        EXPECT_EQ(ProgressControlModel::duration(snapshot), 1) << duration;
    }
    EXPECT_EQ(
        ProgressControlModel::remainingText(10, std::numeric_limits<double>::quiet_NaN()), "\u22120:00");
}

TEST_F(PlaybackControls, ReadoutsFollowTheScrubAndSeekOnCommit)
{
    show(at(60, false));
    spotify->latency = 0.5; // Spotify takes its time to seek
    ProgressControlModel progress;
    progress.setCoordinator(coordinator.get());
    std::vector<bool> holds;
    QObject::connect(&progress, &ProgressControlModel::hold, [&](bool on) { holds.push_back(on); });
    EXPECT_EQ(progress.elapsedText(), "1:00");
    EXPECT_EQ(progress.remainingText(), QStringLiteral("\u22122:25"));
    EXPECT_FALSE(progress.elapsedEmphasized()); // paused, no edit

    ScrubberState &scrubber = *progress.scrubber();
    scrubber.dragChanged(240, 410);
    EXPECT_EQ(progress.elapsedText(), "2:00");
    EXPECT_EQ(progress.remainingText(), QStringLiteral("\u22121:25"));
    EXPECT_TRUE(progress.elapsedEmphasized()); // even though paused
    EXPECT_TRUE(spotify->commands.isEmpty());

    scrubber.dragEnded(240, 410);
    clock.runUntilIdle();
    ASSERT_EQ(spotify->commands.size(), 1);
    EXPECT_EQ(*seekOf(spotify->commands[0]), 120);
    EXPECT_EQ(holds, std::vector<bool>{true}); // held until the seek is confirmed
    clock.advance(2);
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));
    EXPECT_FALSE(progress.scrub().has_value());
    EXPECT_EQ(progress.elapsedText(), "2:00"); // Spotify's own position now
}

// Fault mended: an advertisement starting during a keyed edit still got the
// seek, and the panel stayed held.
TEST_F(PlaybackControls, AnAdvertisementDuringAKeyedEditDropsItAndReleasesTheHold)
{
    show(at(60, false));
    ProgressControlModel progress;
    progress.setCoordinator(coordinator.get());
    std::vector<bool> holds;
    QObject::connect(&progress, &ProgressControlModel::hold, [&](bool on) { holds.push_back(on); });
    progress.scrubber()->increment();
    EXPECT_EQ(progress.elapsedText(), "1:05");
    show(at(0, true, 30, false));
    clock.advance(0.5);
    EXPECT_TRUE(spotify->commands.isEmpty());
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));
    EXPECT_EQ(progress.elapsedText(), "0:00");
}

TEST_F(PlaybackControls, ReadoutsTickOnceASecondWhileShown)
{
    show(at(60, true));
    ProgressControlModel progress;
    progress.setCoordinator(coordinator.get());
    progress.setShown(true);
    clock.runUntilIdle();
    clock.advance(0.9);
    EXPECT_EQ(progress.elapsedText(), "1:00");
    clock.advance(0.1);
    EXPECT_EQ(progress.elapsedText(), "1:01");
    EXPECT_EQ(progress.remainingText(), QStringLiteral("\u22122:24"));
    EXPECT_TRUE(progress.elapsedEmphasized());

    progress.setShown(false);
    clock.advance(3);
    EXPECT_EQ(progress.elapsedText(), "1:01");
}

TEST_F(PlaybackControls, AnAdvertisementDisablesTheScrubberButNotTheReadouts)
{
    show(at(30, true, 30 + 15, false));
    ProgressControlModel progress;
    progress.setCoordinator(coordinator.get());
    progress.setShown(true);
    clock.runUntilIdle();
    EXPECT_FALSE(progress.seekable());
    EXPECT_FALSE(progress.scrubber()->enabled());
    clock.advance(1);
    EXPECT_EQ(progress.elapsedText(), "0:31");
}

TEST_F(PlaybackControls, ReadoutSizesPerSkin)
{
    ProgressControlModel progress;
    progress.setReadoutSize(22);
    EXPECT_EQ(progress.elapsedSize(), 10); // readoutSize changes nothing in classico
    EXPECT_EQ(progress.remainingSize(), 10);
    EXPECT_EQ(progress.spacing(), 4);
    progress.setSkinName("rivista");
    EXPECT_EQ(progress.elapsedSize(), 22);
    EXPECT_EQ(progress.remainingSize(), 11);
    EXPECT_EQ(progress.spacing(), 6);
}

TEST_F(PlaybackControls, ANewTrackSwellsTheBarButTheFirstDoesNot)
{
    show(at(10, true));
    ProgressControlModel progress;
    progress.setCoordinator(coordinator.get());
    EXPECT_FALSE(progress.scrubber()->swelling());
    PlaybackSnapshot next = at(0, true);
    next.track = song("b", 180);
    show(next);
    EXPECT_TRUE(progress.scrubber()->swelling());
}

TEST_F(PlaybackControls, VolumeTextRoundsHalvesUp)
{
    EXPECT_EQ(VolumeControlModel::percentText(42.5), "43%");
    EXPECT_EQ(VolumeControlModel::percentText(0), "0%");
    EXPECT_EQ(VolumeControlModel::percentText(100), "100%");
}

TEST_F(PlaybackControls, TheSpeakerFollowsTheDraftAndTheCommitSetsTheVolume)
{
    PlaybackSnapshot silent = at(0, true);
    silent.volume = 0;
    show(silent);
    VolumeControlModel volume;
    volume.setCoordinator(coordinator.get());
    EXPECT_EQ(volume.symbol(), "speaker.slash.fill");
    EXPECT_EQ(volume.scrubber()->valueText(), "0%");

    ScrubberState &scrubber = *volume.scrubber();
    scrubber.dragChanged(0.4, 100); // rounds to 0
    EXPECT_EQ(volume.symbol(), "speaker.slash.fill");
    scrubber.dragChanged(1.2, 100);
    EXPECT_EQ(volume.current(), 1);
    EXPECT_EQ(volume.symbol(), "speaker.wave.2.fill");
    scrubber.dragEnded(42.6, 100);
    clock.runUntilIdle();
    ASSERT_EQ(spotify->commands.size(), 1);
    EXPECT_EQ(*volumeOf(spotify->commands[0]), 43);
    clock.advance(2);
    EXPECT_EQ(volume.current(), 43);

    show(PlaybackCoordinator::placeholder(PlayerAvailability::notRunning));
    EXPECT_FALSE(scrubber.enabled());
}
