#include "AppRoot.h"
#include "CoordinatorTestSupport.h"

// The widgets' transport buttons as the app performs them.
namespace {
class PlaybackIntent : public CoordinatorTest {
protected:
    // "ok" or the failure, once the intent has run.
    QString press(WidgetPlaybackAction action)
    {
        auto outcome = std::make_shared<QString>();
        auto body = [](PlaybackCoordinator &coordinator, WidgetPlaybackAction action,
                        std::shared_ptr<QString> into) -> QCoro::Task<bool> {
            try {
                co_await performPlaybackIntent(coordinator, action);
                *into = "ok";
            } catch (const PlaybackIntentError &error) {
                *into = toRawValue(error.failure);
            }
            co_return true;
        };
        run(body(*coordinator, action, outcome));
        return *outcome;
    }
    QList<PlaybackCommand::Kind> sent() const
    {
        QList<PlaybackCommand::Kind> kinds;
        for (const PlaybackCommand &command : spotify->commands)
            kinds << command.kind();
        return kinds;
    }
};

TEST_F(PlaybackIntent, ButtonsSendTheirCommandOnTheRefreshedState)
{
    struct Case {
        WidgetPlaybackAction action;
        bool playing;
        PlaybackCommand::Kind command;
    };
    const Case cases[] = {
        {WidgetPlaybackAction::toggle, true, PlaybackCommand::Kind::pause},
        {WidgetPlaybackAction::toggle, false, PlaybackCommand::Kind::play},
        {WidgetPlaybackAction::previous, true, PlaybackCommand::Kind::previous},
        {WidgetPlaybackAction::next, false, PlaybackCommand::Kind::next},
    };
    spotify->onCommand = [](const PlaybackCommand &command, PlaybackSnapshot &state) {
        if (command.kind() == PlaybackCommand::Kind::pause)
            state.isPlaying = false;
        if (command.kind() == PlaybackCommand::Kind::play)
            state.isPlaying = true;
        if (command.kind() == PlaybackCommand::Kind::next
            || command.kind() == PlaybackCommand::Kind::previous)
            state.track = song("other");
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.command));
        spotify->commands.clear();
        spotify->state = playing("a", c.playing); // the app has not seen it yet
        EXPECT_EQ(press(c.action), "ok");
        EXPECT_EQ(sent(), QList<PlaybackCommand::Kind>{c.command});
    }
}

TEST_F(PlaybackIntent, RefusalsAndFailuresAnswerRequiresApp)
{
    struct Case {
        const char *name;
        std::function<void()> arrange;
        QList<PlaybackCommand::Kind> sent;
    };
    const Case cases[] = {
        {"Spotify not running", [this] { workspace.spotifyPid.reset(); }, {}},
        {"disconnected", [this] { defaults.set("spotifyDisconnected", true); }, {}},
        {"no track",
            [this] { spotify->state = PlaybackCoordinator::placeholder(PlayerAvailability::noTrack); }, {}},
        {"command failed", [this] { spotify->commandFailure = SpotifyFailure::unsupported; },
            {PlaybackCommand::Kind::pause}},
        {"command timed out", [this] { spotify->commandFailure = SpotifyFailure::timeout; },
            {PlaybackCommand::Kind::pause}},
        {"not confirmed", [] {}, {PlaybackCommand::Kind::pause}}, // Spotify keeps playing
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spotify = std::make_shared<ScriptedSpotify>(clock);
        spotify->state = playing("a", true);
        workspace.spotifyPid = 4242;
        defaults.remove("spotifyDisconnected");
        make(container());
        c.arrange();
        EXPECT_EQ(press(WidgetPlaybackAction::toggle), "requiresApp");
        EXPECT_EQ(sent(), c.sent);
    }
}

TEST_F(PlaybackIntent, APressDuringAnotherCommandIsRefusedNotQueued)
{
    spotify->latency = 1;
    auto command = start(coordinator->perform(PlaybackCommand::next()));
    ASSERT_TRUE(coordinator->busy());
    spotify->latency = 0;
    EXPECT_EQ(press(WidgetPlaybackAction::toggle), "requiresApp");
    for (int step = 0; step < 100 && !command.done(); ++step)
        clock.advance(0.1);
    EXPECT_EQ(sent(), QList<PlaybackCommand::Kind>{PlaybackCommand::Kind::next});
}
} // namespace

namespace {
QCoro::Task<bool> performOutcome(SpotifyPlaybackIntent intent, std::shared_ptr<QString> into)
{
    try {
        co_await intent.perform();
        *into = "ok";
    } catch (const PlaybackIntentError &error) {
        *into = toRawValue(error.failure);
    }
    co_return true;
}

TEST(PlaybackIntentType, DefaultsToggleNamesItsActionsAndFailsWhereNobodyPerformsIt)
{
    EXPECT_EQ(SpotifyPlaybackIntent().action, WidgetPlaybackAction::toggle);
    EXPECT_EQ(SpotifyPlaybackIntent(WidgetPlaybackAction::next).action, WidgetPlaybackAction::next);
    struct Case {
        WidgetPlaybackAction action;
        const char *raw;
        const char *title;
    };
    for (const Case &c : {Case{WidgetPlaybackAction::toggle, "toggle", "Play or pause"},
             Case{WidgetPlaybackAction::previous, "previous", "Previous track"},
             Case{WidgetPlaybackAction::next, "next", "Next track"}}) {
        EXPECT_EQ(toRawValue(c.action), c.raw);
        EXPECT_EQ(fromRawValue<WidgetPlaybackAction>(QString::fromLatin1(c.raw)), c.action);
        EXPECT_EQ(displayTitle(c.action), c.title);
    }
    EXPECT_EQ(fromRawValue<WidgetPlaybackAction>(QStringLiteral("Next")), std::nullopt);

    // The widget host's build installs no performer.
    SpotifyPlaybackIntent::setPerformer({});
    auto outcome = std::make_shared<QString>();
    performOutcome(SpotifyPlaybackIntent(), outcome);
    EXPECT_EQ(*outcome, "requiresApp");
}
} // namespace
