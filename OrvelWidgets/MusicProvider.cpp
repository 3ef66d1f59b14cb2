#include "MusicProvider.h"

#include "SharedStore.h"

Timeline<MusicEntry> MusicProvider::timeline() const
{
    const MusicEntry entry = currentEntry();
    // From the entry's own date, not a second reading of the clock.
    return {{entry}, TimelineReloadPolicy::after(entry.date.addingTimeInterval(reloadInterval))};
}

MusicEntry MusicProvider::currentEntry()
{
    const SharedStore store;
    MusicEntry entry;
    entry.date = Date::now();
    entry.snapshot = store.loadSnapshot();
    entry.shortcuts = store.loadShortcuts();
    entry.visualizer = store.loadVisualizer();
    entry.skin = store.loadSkin();
    return entry;
}
