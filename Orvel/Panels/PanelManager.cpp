#include "PanelManager.h"

#include "Preferences.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

PanelManager::PanelManager(Preferences &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
}

PanelManager::~PanelManager()
{
    stop();
}

void PanelManager::start()
{
    m_preferencesSubscription
        = connect(&preferences(), &Preferences::changed, this, &PanelManager::rebuildPanels);
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        m_displaysSubscription
            = connect(application, &QGuiApplication::screenAdded, this, &PanelManager::rebuildPanels);
        m_observers.append(
            connect(application, &QGuiApplication::screenRemoved, this, &PanelManager::rebuildPanels));
    }
    rebuildPanels();
}

void PanelManager::showPlayer()
{
    if (preferences().needsSetup()) {
        emit dashboardRequested(DashboardSection::overview);
        return;
    }
    preferences().setNotchEnabled(true);
    rebuildPanels();
    for (const auto &windows : std::as_const(m_surfaces)) {
        for (QWindow *window : windows) {
            if (window->isVisible())
                window->raise();
        }
    }
}

void PanelManager::stop()
{
    for (auto *subscription : {&m_preferencesSubscription, &m_displaysSubscription}) {
        if (*subscription)
            disconnect(**subscription);
        subscription->reset();
    }
    for (const auto &observer : std::as_const(m_observers))
        disconnect(observer);
    m_observers.clear();
    for (const auto &windows : std::as_const(m_surfaces)) {
        for (QWindow *window : windows)
            window->close();
    }
}

void PanelManager::rebuildPanels()
{
    // No panel windows exist yet; counting the passes keeps the wiring observable.
    ++m_rebuilds;
}
