#pragma once

#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeScreens.h"
#include "ManualScheduler.h"
#include "Preferences.h"
#include "RecordingPanelWindow.h"
#include "RecordingWidgetCenter.h"
#include "SharedStore.h"

#include <QTemporaryDir>
#include <memory>
#include <vector>

// The preferences over a temporary file, a manual clock and a fake display list.
struct PanelWorld {
    QTemporaryDir dir;
    ManualScheduler clock;
    FakeScreens screens;
    Defaults defaults{dir.filePath("defaults.json")};
    FakeLoginItem login;
    RecordingWidgetCenter widgets;
    bool reduceMotion = false;
    Preferences preferences{Preferences::Services{&defaults,
        [this] { return SharedStore(dir.filePath("group"), dir.filePath("support")); }, &clock, &login,
        &widgets, [this] { return reduceMotion; }}};
    // Every recording window made, in order; they stay owned by whoever asked.
    std::vector<RecordingPanelWindow *> made;

    std::unique_ptr<PanelWindow> makeWindow()
    {
        auto window = std::make_unique<RecordingPanelWindow>(clock);
        made.push_back(window.get());
        return window;
    }

    ~PanelWorld() { clock.runUntilIdle(); }
};

// 1512 × 982 with a bar of 25 at the top; 1920 × 1080 to its right.
inline ScreenInfo laptop(bool notch = false)
{
    ScreenInfo screen = FakeScreens::display("eDP-1", 1, Rect(0, 0, 1512, 982), true);
    return notch ? FakeScreens::notched(screen, 200, 38) : screen;
}
inline ScreenInfo monitor()
{
    return FakeScreens::display("HDMI-1", 2, Rect(1512, 0, 1920, 1080), false);
}
