#include "PlaybackCommand.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
const QString ID = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
const QString OTHER = QStringLiteral("0VjIjW4GlUZAMYd2vXMi3b");
constexpr auto READY = PlayerAvailability::ready;

PlaybackCommand playLink(const QString &kind, const QString &id = ID)
{
    return PlaybackCommand::playLink(*SpotifyLink::parse("spotify:" + kind + ":" + id));
}

// A state read; an empty id means no track.
PlaybackSnapshot state(const QString &id, double position, bool playing = true,
    PlayerAvailability availability = READY, double volume = 50, bool shuffle = false, bool repeat = false)
{
    std::optional<Track> track;
    if (!id.isEmpty())
        track = Track("spotify:track:" + id, "t", "a", "b", 300, std::nullopt, std::nullopt);
    return PlaybackSnapshot(availability, track, playing, position, volume, shuffle, repeat,
        {true, true, true}, Date{0}, std::nullopt, std::nullopt, std::nullopt);
}
} // namespace

TEST(PlaybackCommand, ConfirmationRules)
{
    using C = PlaybackCommand;
    struct Case {
        PlaybackCommand command;
        PlaybackSnapshot before, after;
        bool confirmed;
    };
    const auto volume = [](double v) { return state(ID, 0, true, READY, v); };
    const Case cases[] = {
        {C::seek(100), state(ID, 10), state(ID, 104.9), true},
        {C::seek(100), state(ID, 10), state(ID, 105), false},
        {C::seek(100), state(ID, 10), state(ID, 95), false},
        {C::volume(50), volume(10), volume(51), true},
        {C::volume(50), volume(10), volume(49), true},
        {C::volume(50), volume(10), volume(48.9), false},
        {C::shuffle(true), state(ID, 0), state(ID, 0, true, READY, 50, true), true},
        {C::shuffle(true), state(ID, 0), state(ID, 0), false},
        {C::repeatMode(false), state(ID, 0), state(ID, 0), true},
        {C::repeatMode(true), state(ID, 0), state(ID, 0), false},
        {C::play(), state(ID, 0, false), state(ID, 0), true},
        {C::play(), state(ID, 0, false), state(ID, 0, false), false},
        {C::pause(), state(ID, 0), state(ID, 0, false), true},
        // next and previous: a new, gained or lost track, or a jump back on the same one
        {C::next(), state(ID, 120), state(ID, 2), true},
        {C::next(), state(ID, 120), state(ID, 119.5), false},
        {C::next(), state(ID, 0.5), state(ID, 0.2), false},
        {C::next(), state(ID, 10), state(OTHER, 10), true},
        {C::next(), state("", 0), state(ID, 0), true},
        {C::next(), state(ID, 0), state("", 0), true},
        {C::next(), state("", 0), state("", 0), false},
        {C::previous(), state(ID, 0.2), state(ID, 0.5), true},
        {C::previous(), state(ID, 30), state(ID, 28.5), true},
        {C::previous(), state(ID, 30), state(ID, 29.5), false},
        {C::previous(), state(ID, 30), state("", 30), true},
        // playing a link
        {playLink("track"), state(ID, 90), state(ID, 120), true},
        {playLink("track", OTHER), state(ID, 40), state(ID, 41), false},
        {playLink("playlist"), state(ID, 90, false), state(ID, 91), true},
        {playLink("album"), state("", 0, true, PlayerAvailability::notRunning), state(ID, 5), true},
        {playLink("track"), state(ID, 0, false), state(ID, 0, false), false},
        {playLink("track"), state(ID, 0, false), state(ID, 0, true, PlayerAvailability::unavailable), false},
        {playLink("album"), state(ID, 40), state(OTHER, 41), true},
        {playLink("album"), state(ID, 1.5), state(ID, 3), true},
        {playLink("album"), state(ID, 40), state(ID, 41), false},
        {playLink("artist"), state(ID, 40), state(ID, 0), true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].command.isConfirmed(cases[i].after, cases[i].before), cases[i].confirmed)
            << "case " << i;
}

TEST(PlaybackCommand, KindsAndEquality)
{
    using C = PlaybackCommand;
    const C all[] = {C::seek(1), C::volume(1), C::shuffle(true), C::repeatMode(true), playLink("track"),
        C::play(), C::pause(), C::next(), C::previous()};
    for (std::size_t i = 0; i < std::size(all); ++i) {
        const bool quiet = i >= 1 && i <= 3; // volume, shuffle and repeat change nothing the widgets show
        EXPECT_EQ(all[i].changesWidgetPlayback(), !quiet) << i;
        EXPECT_EQ(all[i].confirmationReads(), i == 4 ? 3 : 1) << i;
        for (std::size_t j = 0; j < std::size(all); ++j)
            EXPECT_EQ(all[i] == all[j], i == j) << i << " " << j;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(C::seek(nan), C::seek(nan));
    EXPECT_NE(C::shuffle(true), C::shuffle(false));
    EXPECT_EQ(playLink("album"), C::playLink(*SpotifyLink::parse("https://open.spotify.com/album/" + ID)));
    EXPECT_NE(playLink("album"), playLink("album", OTHER));
}

TEST(SpotifyFailure, AppleEventCodes)
{
    using F = SpotifyFailure;
    const std::pair<int, F> codes[] = {{-1744, F::permissionRequired}, {-1743, F::permissionDenied},
        {-600, F::notRunning}, {-609, F::notRunning}, {-1712, F::timeout}, {-1728, F::unsupported},
        {-1708, F::unsupported}, {-10000, F::unsupported}, {-10006, F::unsupported}, {0, F::unavailable},
        {-1701, F::unavailable}, {1744, F::unavailable}, {std::numeric_limits<int>::min(), F::unavailable}};
    for (const auto &[code, failure] : codes)
        EXPECT_EQ(spotifyFailureFromAppleEvent(code), failure) << code;
    EXPECT_STREQ(SpotifyError(F::invalidValue).what(), "invalidValue");
}
