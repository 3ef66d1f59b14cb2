// The app's composition root against the fake Spotify client on a private
// session bus, with its files in a temporary folder: what the benchmarks run.
#pragma once

#include "AppRoot.h"
#include "AutomationPermission.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "MprisAppleEventTransport.h"
#include "OrvelMain.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "SpotifyBridge.h"
#include "SurfaceWindow.h"
#include "X11Desktop.h"
#include "fixtures/FakeSpotify.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

// The app's choice of platform and renderer, before the application is made.
inline void chooseAppsPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    OrvelMain::chooseRenderer();
}

inline void runFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

struct BenchApp {
    PrivateBus bus;
    FakeSpotify player{bus};
    QTemporaryDir dir;
    FakeWorkspace workspace;
    // coalesced: the settings saved as the app saves them, a burst at once off the main thread.
    std::unique_ptr<Defaults> defaults;
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    std::unique_ptr<AppRoot> root;

    explicit BenchApp(bool coalesced = false)
    {
        player.setMetadata(
            FakeSpotify::track(QStringLiteral("4uLU6hMCjMI75M1A2tKUQC"), "Song", 212'000'000, {}));
        player.setProperty("PlaybackStatus", QStringLiteral("Paused"));
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
        const AutomationConsentRecord consent(dir.filePath("automation.json"));
        consent.record(Workspace::spotifyBundleIdentifier, true);
        workspace.spotifyPid = player.pid();
        Scheduler &scheduler = Scheduler::current();
        defaults = coalesced ? std::make_unique<Defaults>(dir.filePath("defaults.json"), scheduler)
                             : std::make_unique<Defaults>(dir.filePath("defaults.json"));
        auto bridge
            = std::make_shared<SpotifyBridge>(std::make_shared<MprisAppleEventTransport>(bus.connection()),
                AutomationPermission(consent), scheduler);
        AppRoot::Outside outside{scheduler, *defaults, widgets, workspace, login, announcer, bridge,
            [this] { return SharedStore(dir.filePath("group"), dir.filePath("support")); },
            [] { return false; }, nullptr, false, [] {}};
        // The desktop the app's panels follow, as in the app.
        outside.desktop = X11Desktop::instance();
        root = std::make_unique<AppRoot>(outside);
        Preferences &preferences = root->preferences();
        preferences.completeSetup();
        preferences.setSidebarEnabled(false);
        preferences.setDisplayScope(DisplayScope::primary);
        root->coordinator().start();
        root->panels().start();
        runFor(2); // the first refresh and the windows' first frames are not the steady state
    }
    ~BenchApp()
    {
        root->panels().stop();
        root->coordinator().flush();
    }

    // Until the app has seen the new state (its pace while paused is slow), at most a minute.
    void play(bool playing)
    {
        player.setProperty("PlaybackStatus", playing ? QStringLiteral("Playing") : QStringLiteral("Paused"));
        for (int waited = 0; root->coordinator().snapshot().isPlaying != playing && waited < 600; ++waited)
            runFor(0.1);
        if (root->coordinator().snapshot().isPlaying != playing)
            std::printf("the app did not see the player %s\n", playing ? "play" : "pause");
    }

    SurfaceWindow *firstPanel(SurfaceKind kind) const
    {
        for (const auto &[number, windows] : root->panels().surfaces())
            for (const auto &window : windows)
                if (window->model().kind() == kind)
                    return window.get();
        return nullptr;
    }
};
