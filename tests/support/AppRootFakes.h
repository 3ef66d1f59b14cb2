#pragma once

#include "AppRoot.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "PanelManager.h"
#include "Preferences.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"
#include "SharedStore.h"
#include "TemporaryHome.h"

#include <memory>

// What the composition root takes from outside, as fakes: a temporary home, a
// manual clock installed as the current scheduler and the platform doubles.
// outside() hands them to an AppRoot that makes no status item.
struct AppRootFakes {
    TemporaryHome home;
    ManualScheduler clock;
    ScopedScheduler installed{clock};
    Defaults defaults{home.path("config/defaults.json")};
    RecordingWidgetCenter widgets;
    FakeWorkspace workspace;
    FakeLoginItem login;
    RecordingAnnouncer announcer;

    // spotify: a scripted Spotify on the clock when none is given; screens: Qt's when none.
    AppRoot::Outside outside(std::shared_ptr<SpotifyControlling> spotify = {}, Screens *screens = nullptr)
    {
        if (!spotify)
            spotify = std::make_shared<ScriptedSpotify>(clock);
        return AppRoot::Outside{clock, defaults, widgets, workspace, login, announcer, std::move(spotify),
            [this] { return SharedStore(home.path("group"), home.path("support")); }, [] { return false; },
            nullptr, false, [] {}, screens};
    }
    // An app past its setup whose panels are up on those screens and that desktop.
    std::unique_ptr<AppRoot> startedPanels(Screens &screens, Desktop *desktop)
    {
        AppRoot::Outside parts = outside(nullptr, &screens);
        parts.desktop = desktop;
        auto root = std::make_unique<AppRoot>(parts);
        root->preferences().completeSetup();
        root->panels().start();
        clock.advance(1);
        return root;
    }
};
