#include "MusicEntry.h"

MusicEntry MusicEntry::sample()
{
    const Date date = Date::now();
    const PlaybackSnapshot snapshot(PlayerAvailability::noTrack, std::nullopt, false, 0,
        PlaybackSnapshot::defaultVolume, false, false, PlaybackCapabilities{}, Date::now(), std::nullopt,
        std::nullopt, std::nullopt);
    return MusicEntry{date, snapshot, {}, VisualizerSettings(), Skin::classico};
}
