#include "AppEngine.h"

#include "PlaybackCoordinator.h"
#include "SpotifyPlaybackIntent.h"

AppDelegate::Services appDelegateServices()
{
    AppDelegate::Engine engine;
    engine.start = [] { PlaybackCoordinator::shared().start(); };
    engine.flush = [] { PlaybackCoordinator::shared().flush(); };
    engine.refresh = [] { return PlaybackCoordinator::shared().refresh(); };
    engine.openSpotify
        = [](bool activates) { return PlaybackCoordinator::shared().openSpotifyAsync(activates); };
    engine.trackTitle = []() -> std::optional<QString> {
        const auto &track = PlaybackCoordinator::shared().snapshot().track;
        return track ? std::optional<QString>(track->title) : std::nullopt;
    };
    engine.isPreview = PlaybackCoordinator::shared().isPreview();
    AppDelegate::Services services;
    services.engine = std::move(engine);
    return services;
}

QCoro::Task<void> performPlaybackIntent(PlaybackCoordinator &coordinator, WidgetPlaybackAction action)
{
    const QPointer<PlaybackCoordinator> guard(&coordinator);
    co_await coordinator.refresh();
    if (!guard || coordinator.snapshot().availability != PlayerAvailability::ready || coordinator.busy())
        throw PlaybackIntentError(PlaybackIntentFailure::requiresApp);
    PlaybackCommand command = PlaybackCommand::play();
    switch (action) {
    case WidgetPlaybackAction::toggle:
        command = coordinator.snapshot().isPlaying ? PlaybackCommand::pause() : PlaybackCommand::play();
        break;
    case WidgetPlaybackAction::previous:
        command = PlaybackCommand::previous();
        break;
    case WidgetPlaybackAction::next:
        command = PlaybackCommand::next();
        break;
    }
    co_await coordinator.perform(command);
    if (!guard || coordinator.errorKey() || coordinator.snapshot().availability != PlayerAvailability::ready)
        throw PlaybackIntentError(PlaybackIntentFailure::requiresApp);
}

void installPlaybackIntentPerformer()
{
    SpotifyPlaybackIntent::setPerformer([](WidgetPlaybackAction action) {
        return performPlaybackIntent(PlaybackCoordinator::shared(), action);
    });
}
