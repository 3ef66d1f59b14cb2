#pragma once

#include "SpotifyPlaybackIntent.h"

#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>

class Announcer;
class AppDelegate;
class DashboardState;
class Desktop;
class DisplayCatalog;
class Defaults;
class LoginItem;
class MenuTracker;
class PanelManager;
class PlaybackCoordinator;
class Preferences;
class QNetworkAccessManager;
class QQmlEngine;
class Scheduler;
class Screens;
class SharedStore;
class SpotifyControlling;
class WidgetCenter;
class Workspace;

// The composition root: creates every process-wide object of the app once, in
// the order they depend on each other, and hands each its collaborators. The
// app builds it from the real services; tests build the same graph from fakes.
// Views reach the owners through the one QML engine it makes.
class AppRoot {
public:
    // What lies outside the app: the platform's services and the Spotify connection.
    struct Outside {
        Scheduler &scheduler;
        Defaults &defaults;
        WidgetCenter &widgetCenter;
        Workspace &workspace;
        LoginItem &loginItem;
        Announcer &announcer;
        std::shared_ptr<SpotifyControlling> bridge;
        std::function<SharedStore()> makeStore;
        std::function<bool()> reduceMotion;
        // The session for artwork and title look-ups; the coordinator makes one when absent.
        QNetworkAccessManager *network = nullptr;
        // Only where a widget application and a tray can run.
        bool makeStatusItem = true;
        // Nothing: quitting ends the event loop.
        std::function<void()> quit;
        // The displays; Qt's when absent.
        Screens *screens = nullptr;
        // What the panels learn of the desktop and ask of it; one that tells nothing when absent.
        Desktop *desktop = nullptr;
    };

    explicit AppRoot(Outside outside);
    ~AppRoot();
    AppRoot(const AppRoot &) = delete;
    AppRoot &operator=(const AppRoot &) = delete;

    // The root of the running app, over the session bus, the desktop and the user's files.
    static std::unique_ptr<AppRoot> production();

    Scheduler &scheduler() const { return m_outside.scheduler; }
    Preferences &preferences() const { return *m_preferences; }
    PlaybackCoordinator &coordinator() const { return *m_coordinator; }
    DashboardState &dashboardState() const { return *m_dashboardState; }
    Screens &screens() const { return *m_screens; }
    Desktop &desktop() const { return *m_desktop; }
    DisplayCatalog &displays() const { return *m_displays; }
    PanelManager &panels() const { return *m_panels; }
    AppDelegate &delegate() const { return *m_delegate; }
    QQmlEngine &engine() const { return *m_engine; }
    // Writes the settings changed but not written yet, and waits for them.
    void savePendingSettings() const;

private:
    struct Owned;

    std::unique_ptr<Owned> m_owned; // the real services of production(); first made, last gone
    Outside m_outside;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<PlaybackCoordinator> m_coordinator;
    std::unique_ptr<DashboardState> m_dashboardState;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<Screens> m_ownScreens;
    Screens *m_screens = nullptr;
    std::unique_ptr<Desktop> m_ownDesktop;
    Desktop *m_desktop = nullptr;
    std::unique_ptr<DisplayCatalog> m_displays;
    std::unique_ptr<MenuTracker> m_menus;
    std::unique_ptr<PanelManager> m_panels;
    std::unique_ptr<AppDelegate> m_delegate;

    AppRoot(std::unique_ptr<Owned> owned, Outside outside);
};

// The widgets' playback intent as the app performs it: the same road as any
// control, refused while Spotify is not ready or another command runs.
QCoro::Task<void> performPlaybackIntent(PlaybackCoordinator &coordinator, WidgetPlaybackAction action);
