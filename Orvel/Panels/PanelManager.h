#pragma once

#include "DashboardState.h"

#include <QList>
#include <QMap>
#include <QMetaObject>
#include <QObject>
#include <optional>

class Preferences;
class QWindow;

// Owns the floating panel windows of every display. The panels themselves are
// not built yet: the manager keeps its subscriptions and opens nothing.
class PanelManager : public QObject {
    Q_OBJECT
public:
    explicit PanelManager(Preferences &preferences, QObject *parent = nullptr);
    ~PanelManager() override;

    // Follows the settings and the displays, then builds the panels for the current displays.
    void start();
    // Opens the dashboard while setup is pending; otherwise turns the top player on and shows it.
    void showPlayer();
    // Drops the subscriptions and closes every panel.
    void stop();

    bool isStarted() const { return m_preferencesSubscription || m_displaysSubscription; }
    int rebuilds() const { return m_rebuilds; }

signals:
    // The panels cannot help: the dashboard should open at that section.
    void dashboardRequested(DashboardSection section);

private:
    Preferences &preferences() const { return m_preferences; }
    void rebuildPanels();

    Preferences &m_preferences;
    QMap<int, QList<QWindow *>> m_surfaces;
    QList<QMetaObject::Connection> m_observers;
    std::optional<QMetaObject::Connection> m_preferencesSubscription;
    std::optional<QMetaObject::Connection> m_displaysSubscription;
    int m_rebuilds = 0;
};
