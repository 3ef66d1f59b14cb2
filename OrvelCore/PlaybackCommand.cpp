#include "PlaybackCommand.h"

namespace {

// Exactly one side has a track, or both have one with different ids.
bool trackChanged(const PlaybackSnapshot &after, const PlaybackSnapshot &before)
{
    if (after.track.has_value() != before.track.has_value())
        return true;
    return after.track && after.track->id != before.track->id;
}

template<class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

} // namespace

bool PlaybackCommand::changesWidgetPlayback() const
{
    switch (kind()) {
    case Kind::volume:
    case Kind::shuffle:
    case Kind::repeatMode:
        return false;
    default:
        return true;
    }
}

int PlaybackCommand::confirmationReads() const
{
    return kind() == Kind::playLink ? 3 : 1;
}

bool PlaybackCommand::isConfirmed(const PlaybackSnapshot &by, const PlaybackSnapshot &before) const
{
    const bool skippedBack = by.position + skipBackMargin < before.position;
    return std::visit(
        Overloaded{
            [&](const Seek &seek) { return std::abs(by.position - seek.seconds) < seekTolerance; },
            [&](const Volume &volume) { return std::abs(by.volume - volume.level) <= volumeTolerance; },
            [&](const Shuffle &shuffle) { return by.shuffle == shuffle.enabled; },
            [&](const RepeatMode &repeat) { return by.repeatEnabled == repeat.enabled; },
            [&](const Play &) { return by.isPlaying; },
            [&](const Pause &) { return !by.isPlaying; },
            [&](const Next &) { return trackChanged(by, before) || skippedBack; },
            [&](const Previous &) {
                return trackChanged(by, before) || skippedBack || by.position < restartedPosition;
            },
            [&](const PlayLink &playLink) {
                if (by.availability != PlayerAvailability::ready || !by.isPlaying)
                    return false;
                const SpotifyLink &link = playLink.link;
                if (link.kind() == SpotifyLink::Kind::track && by.track && by.track->id == link.uriString())
                    return true;
                // Anything that now plays after a stop is the link starting.
                if (before.availability != PlayerAvailability::ready || !before.isPlaying)
                    return true;
                if (trackChanged(by, before))
                    return true;
                return skippedBack || before.position < linkStartPosition;
            },
        },
        value);
}

SpotifyFailure spotifyFailureFromAppleEvent(int code)
{
    switch (code) {
    case -1744:
        return SpotifyFailure::permissionRequired; // errAEEventWouldRequireUserConsent
    case -1743:
        return SpotifyFailure::permissionDenied; // errAEEventNotPermitted
    case -600: // procNotFound
    case -609:
        return SpotifyFailure::notRunning; // connectionInvalid
    case -1712:
        return SpotifyFailure::timeout; // errAETimeout
    case -1728: // errAENoSuchObject
    case -1708: // errAEEventNotHandled
    case -10000: // errAEEventFailed
    case -10006:
        return SpotifyFailure::unsupported; // errAEWriteDenied
    default:
        return SpotifyFailure::unavailable;
    }
}

const char *SpotifyError::what() const noexcept
{
    // The case names are string literals, so the pointer outlives the error.
    return RawEnumCases<SpotifyFailure>::cases[caseIndex(failure)].second.data();
}
