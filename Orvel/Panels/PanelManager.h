#pragma once

#include "DashboardState.h"
#include "SurfaceWindow.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class DisplayCatalog;
class Preferences;

// Owns the floating panels of every display: one top player and one sidebar
// per screen (mirrors count once, as the first of them), made together when
// the screen is first seen and kept until it goes. The preferences, the
// display scope and a pending setup decide which are on screen; every change
// of a preference or of the displays rebuilds the picture on a later turn.
// Main thread only.
class PanelManager : public QObject {
    Q_OBJECT
public:
    // Smaller visible frames get no panels.
    static constexpr double minimumVisibleSide = 100;

    struct Services {
        Preferences *preferences = nullptr;
        DisplayCatalog *displays = nullptr;
        // What every surface window is made with (preferences, scheduler, screens, …).
        SurfaceWindow::Services windows;
    };

    explicit PanelManager(Services services, QObject *parent = nullptr);
    ~PanelManager() override;

    // Follows the settings and the displays, then builds the panels for the current displays.
    void start();
    // Brings the windows in line with the screens and the preferences.
    void rebuild();
    // Opens the dashboard while setup is pending; otherwise turns the top player on and opens it.
    void showPlayer();
    // Drops the subscriptions and closes every panel.
    void stop();

    bool isStarted() const { return m_preferencesSubscription || m_displaysSubscription; }
    // The windows of each screen by its number: the top player first, the sidebar second.
    const std::map<std::uint32_t, std::vector<std::unique_ptr<SurfaceWindow>>> &surfaces() const
    {
        return m_surfaces;
    }

signals:
    // The panels cannot help: the dashboard should open at that section.
    void dashboardRequested(DashboardSection section);

private:
    Preferences &preferences() const { return *m_services.preferences; }
    void scheduleRebuild();

    Services m_services;
    std::map<std::uint32_t, std::vector<std::unique_ptr<SurfaceWindow>>> m_surfaces;
    QList<QMetaObject::Connection> m_observers;
    std::optional<QMetaObject::Connection> m_preferencesSubscription;
    std::optional<QMetaObject::Connection> m_displaysSubscription;
};
