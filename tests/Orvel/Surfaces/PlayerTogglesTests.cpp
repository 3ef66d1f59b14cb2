#include "CoordinatorTestSupport.h"

// The shuffle and repeat keys of the player views: each flips what the
// coordinator shows when its work runs, not what it showed at the click.
namespace {

class PlayerToggles : public CoordinatorTest {
protected:
    PlayerToggles()
    {
        spotify->state = playing("a");
        run(coordinator->refresh());
    }
    void show(bool shuffle, bool repeat)
    {
        PlaybackSnapshot snapshot = playing("a");
        snapshot.shuffle = shuffle;
        snapshot.repeatEnabled = repeat;
        spotify->state = snapshot;
        coordinator->publish(snapshot, false);
    }
};

} // namespace

TEST_F(PlayerToggles, EachSendsTheOppositeOfTheSnapshot)
{
    show(true, false);
    coordinator->sendShuffleToggle();
    clock.advance(5);
    coordinator->sendRepeatToggle();
    clock.advance(5);
    ASSERT_EQ(spotify->commands.size(), 2);
    EXPECT_EQ(spotify->commands.at(0), PlaybackCommand::shuffle(false));
    EXPECT_EQ(spotify->commands.at(1), PlaybackCommand::repeatMode(true));
}

TEST_F(PlayerToggles, TheSnapshotIsReadWhenTheWorkRuns)
{
    show(false, true);
    coordinator->sendShuffleToggle();
    EXPECT_TRUE(spotify->commands.isEmpty()); // nothing is sent from inside the click
    show(true, true);
    clock.advance(5);
    coordinator->sendRepeatToggle();
    show(true, false);
    clock.advance(5);
    EXPECT_EQ(spotify->commands,
        (QList<PlaybackCommand>{PlaybackCommand::shuffle(false), PlaybackCommand::repeatMode(true)}));
}
