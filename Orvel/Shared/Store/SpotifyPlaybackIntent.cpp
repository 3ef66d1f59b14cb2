#include "SpotifyPlaybackIntent.h"

namespace {
SpotifyPlaybackIntent::Performer &performer()
{
    static SpotifyPlaybackIntent::Performer value;
    return value;
}
} // namespace

QString displayTitle(WidgetPlaybackAction action)
{
    switch (action) {
    case WidgetPlaybackAction::toggle:
        return QStringLiteral("Play or pause");
    case WidgetPlaybackAction::previous:
        return QStringLiteral("Previous track");
    case WidgetPlaybackAction::next:
        return QStringLiteral("Next track");
    }
    return {};
}

void SpotifyPlaybackIntent::setPerformer(Performer value)
{
    performer() = std::move(value);
}

QCoro::Task<void> SpotifyPlaybackIntent::perform() const
{
    // Copied first: the performer may be replaced while this run is suspended.
    const Performer run = performer();
    if (!run)
        throw PlaybackIntentError(PlaybackIntentFailure::requiresApp);
    co_await run(action);
}
