#pragma once

#include "RawEnum.h"

#include <QString>
#include <exception>
#include <functional>
#include <qcoro/qcorotask.h>

// Which transport button of a widget ran the intent.
enum class WidgetPlaybackAction { toggle, previous, next };

template<>
struct RawEnumCases<WidgetPlaybackAction> {
    using A = WidgetPlaybackAction;
    static constexpr std::array<std::pair<A, std::string_view>, 3> cases{
        {{A::toggle, "toggle"}, {A::previous, "previous"}, {A::next, "next"}}};
};

QString displayTitle(WidgetPlaybackAction action);

enum class PlaybackIntentFailure { requiresApp };

template<>
struct RawEnumCases<PlaybackIntentFailure> {
    static constexpr std::array<std::pair<PlaybackIntentFailure, std::string_view>, 1> cases{
        {{PlaybackIntentFailure::requiresApp, "requiresApp"}}};
};

// Thrown by a failed intent; it carries no message of its own.
class PlaybackIntentError : public std::exception {
public:
    explicit PlaybackIntentError(PlaybackIntentFailure failure = PlaybackIntentFailure::requiresApp)
        : failure(failure)
    {
    }
    const char *what() const noexcept override { return "requiresApp"; }

    PlaybackIntentFailure failure;
};

// The widgets' transport buttons. Only the process that holds the Spotify
// connection installs a performer; everywhere else the intent fails at once.
struct SpotifyPlaybackIntent {
    static constexpr QLatin1String title{"Control Spotify"};
    static constexpr QLatin1String description{"Control Spotify playing on this Mac."};
    static constexpr QLatin1String typeDisplayName{"Playback"};
    static constexpr QLatin1String actionTitle{"Playback"};
    static constexpr bool openAppWhenRun = false;
    static constexpr bool isDiscoverable = false;

    WidgetPlaybackAction action = WidgetPlaybackAction::toggle;

    SpotifyPlaybackIntent() = default;
    explicit SpotifyPlaybackIntent(WidgetPlaybackAction action)
        : action(action)
    {
    }

    // Throws PlaybackIntentError on failure.
    QCoro::Task<void> perform() const;

    using Performer = std::function<QCoro::Task<void>(WidgetPlaybackAction)>;
    static void setPerformer(Performer performer);

    friend bool operator==(const SpotifyPlaybackIntent &, const SpotifyPlaybackIntent &) = default;
};
