#pragma once

#include "Playback.h"
#include "RawEnum.h"
#include "SpotifyLink.h"

#include <exception>
#include <optional>
#include <qcoro/qcorotask.h>
#include <variant>

// What can be asked of Spotify, and how a state read afterwards shows that it happened.
struct PlaybackCommand {
    struct Seek {
        double seconds;
        friend bool operator==(const Seek &, const Seek &) = default;
    };
    struct Volume {
        double level; // 0...100
        friend bool operator==(const Volume &, const Volume &) = default;
    };
    struct Shuffle {
        bool enabled;
        friend bool operator==(const Shuffle &, const Shuffle &) = default;
    };
    struct RepeatMode {
        bool enabled;
        friend bool operator==(const RepeatMode &, const RepeatMode &) = default;
    };
    struct PlayLink {
        SpotifyLink link;
        friend bool operator==(const PlayLink &, const PlayLink &) = default;
    };
    struct Play {
        friend bool operator==(const Play &, const Play &) = default;
    };
    struct Pause {
        friend bool operator==(const Pause &, const Pause &) = default;
    };
    struct Next {
        friend bool operator==(const Next &, const Next &) = default;
    };
    struct Previous {
        friend bool operator==(const Previous &, const Previous &) = default;
    };

    // Kind names the alternative of `value`, in the same order, for switch statements.
    enum class Kind { seek, volume, shuffle, repeatMode, playLink, play, pause, next, previous };
    using Value = std::variant<Seek, Volume, Shuffle, RepeatMode, PlayLink, Play, Pause, Next, Previous>;

    Value value;

    static PlaybackCommand seek(double seconds) { return {Seek{seconds}}; }
    static PlaybackCommand volume(double level) { return {Volume{level}}; }
    static PlaybackCommand shuffle(bool enabled) { return {Shuffle{enabled}}; }
    static PlaybackCommand repeatMode(bool enabled) { return {RepeatMode{enabled}}; }
    static PlaybackCommand playLink(SpotifyLink link) { return {PlayLink{std::move(link)}}; }
    static PlaybackCommand play() { return {Play{}}; }
    static PlaybackCommand pause() { return {Pause{}}; }
    static PlaybackCommand next() { return {Next{}}; }
    static PlaybackCommand previous() { return {Previous{}}; }

    static constexpr double seekTolerance = 5.0;
    static constexpr double volumeTolerance = 1.0;
    static constexpr double skipBackMargin = 1.0;
    static constexpr double restartedPosition = 1.0;
    static constexpr double linkStartPosition = 2.0;

    Kind kind() const { return Kind(value.index()); }
    // Whether the widgets show the effect, so their timelines are reloaded at once.
    bool changesWidgetPlayback() const;
    // How many state reads after sending may be spent to confirm the command.
    int confirmationReads() const;
    // Whether `by`, read after the command was sent, shows its effect given `before`, read before it.
    bool isConfirmed(const PlaybackSnapshot &by, const PlaybackSnapshot &before) const;

    friend bool operator==(const PlaybackCommand &, const PlaybackCommand &) = default;
};

// The failures of the Spotify connection.
enum class SpotifyFailure {
    permissionRequired,
    permissionDenied,
    notRunning,
    timeout,
    unavailable,
    unsupported,
    invalidValue
};

template<>
struct RawEnumCases<SpotifyFailure> {
    using F = SpotifyFailure;
    static constexpr std::array<std::pair<F, std::string_view>, 7> cases{
        {{F::permissionRequired, "permissionRequired"}, {F::permissionDenied, "permissionDenied"},
            {F::notRunning, "notRunning"}, {F::timeout, "timeout"}, {F::unavailable, "unavailable"},
            {F::unsupported, "unsupported"}, {F::invalidValue, "invalidValue"}}};
};

// The failure for an Apple Event or operating-system error code; never invalidValue.
SpotifyFailure spotifyFailureFromAppleEvent(int code);

// A SpotifyFailure is thrown wrapped in SpotifyError, so that std::exception handlers (QCoro's among them)
// see it.
class SpotifyError : public std::exception {
public:
    explicit SpotifyError(SpotifyFailure failure)
        : failure(failure)
    {
    }
    const char *what() const noexcept override;

    SpotifyFailure failure;
};

// The playback coordinator's only view of the Spotify connection, addressed by Spotify's
// process id. readState and perform throw SpotifyError, or pass on the cancellation of a
// pause; permission never throws and returns an operating-system status, 0 meaning allowed.
class SpotifyControlling {
public:
    virtual ~SpotifyControlling() = default;

    virtual QCoro::Task<PlaybackSnapshot> readState(qint32 pid) = 0;
    virtual QCoro::Task<PlaybackSnapshot> perform(PlaybackCommand command, qint32 pid) = 0;
    virtual QCoro::Task<qint32> permission(qint32 pid, bool ask) = 0;
    // Asks the user again whether Spotify may be controlled, whatever the earlier
    // answer, and keeps the new one; nothing when no one could be asked.
    virtual QCoro::Task<std::optional<bool>> askPermissionAgain() { co_return std::nullopt; }
};
