#include "PanelManager.h"

#include "DisplayCatalog.h"
#include "Preferences.h"
#include "Screens.h"

#include <set>
#include <utility>

PanelManager::PanelManager(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    if (!m_services.preferences || !m_services.displays || !m_services.windows.screens)
        qFatal("PanelManager is missing a service");
}

PanelManager::~PanelManager()
{
    stop();
}

void PanelManager::scheduleRebuild()
{
    // Never inside the notification: the change is complete by the time it runs.
    // One still queued at stop() builds nothing.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isStarted())
                rebuild();
        },
        Qt::QueuedConnection);
}

void PanelManager::start()
{
    m_preferencesSubscription
        = connect(&preferences(), &Preferences::changed, this, &PanelManager::scheduleRebuild);
    m_displaysSubscription = connect(
        m_services.displays, &DisplayCatalog::displaysChanged, this, &PanelManager::scheduleRebuild);
    // The display list counts as delivered once on subscribing.
    scheduleRebuild();
    rebuild();
}

void PanelManager::rebuild()
{
    Preferences &settings = preferences();
    const QSet<QString> active = m_services.displays->activeDisplayIDs(settings);
    std::set<std::uint32_t> seen;

    const QList<ScreenInfo> screens = m_services.windows.screens->screens();
    const QList<qsizetype> leaders = DisplayCatalog::mirrorLeaders(screens);
    for (qsizetype index = 0; index < screens.size(); ++index) {
        const ScreenInfo &screen = screens[index];
        // A mirror shows its leader's panels already.
        if (leaders[index] != index)
            continue;
        if (screen.visibleFrame.width() < minimumVisibleSide
            || screen.visibleFrame.height() < minimumVisibleSide)
            continue;
        if (screen.number == 0)
            continue;
        seen.insert(screen.number);
        const ScreenGeometry geometry = screen.geometry();
        const QString id = DisplayCatalog::identifier(screen, screens);

        auto &windows = m_surfaces[screen.number];
        // A display now known by another id (its twin came or went) stores its places anew.
        if (!windows.empty() && windows.front()->displayID() != id) {
            for (const auto &window : std::exchange(windows, {}))
                window->close();
        }
        if (windows.empty()) {
            for (const SurfaceKind kind : {SurfaceKind::notch, SurfaceKind::sidebar})
                windows.push_back(std::make_unique<SurfaceWindow>(kind, geometry, id, m_services.windows));
        }

        for (const auto &window : windows) {
            PanelModel &model = window->model();
            const Point origin = window->panel().frame().origin;
            model.setGeometry(geometry);
            if (!model.isDragging()) {
                const std::optional<PlayerPosition> stored = SurfaceWindow::storedPosition(settings, id);
                model.setPosition(geometry.anchored(stored));
                // A place that snaps home is forgotten, on a later turn (it rebuilds once more).
                if (stored && !model.position() && model.kind() == SurfaceKind::notch) {
                    QMetaObject::invokeMethod(
                        this, [this, id] { preferences().setPlayerPosition(std::nullopt, id); },
                        Qt::QueuedConnection);
                }
            }
            const bool enabled
                = model.kind() == SurfaceKind::notch ? settings.notchEnabled() : settings.sidebarEnabled();
            if (enabled && active.contains(id) && !settings.needsSetup())
                window->show();
            else
                window->hide();
            // A panel that moved from under the pointer, or under it, learns so at once.
            if (window->panel().isVisible() && window->panel().frame().origin != origin
                && !model.isDragging())
                window->reprobePointer();
        }
    }

    for (auto it = m_surfaces.begin(); it != m_surfaces.end();) {
        if (seen.contains(it->first)) {
            ++it;
            continue;
        }
        auto windows = std::move(it->second);
        it = m_surfaces.erase(it);
        for (const auto &window : windows)
            window->close();
    }
}

void PanelManager::showPlayer()
{
    if (preferences().needsSetup()) {
        emit dashboardRequested(DashboardSection::overview);
        return;
    }
    preferences().setNotchEnabled(true);
    rebuild();
    for (const auto &[number, windows] : m_surfaces) {
        for (const auto &window : windows) {
            if (window->model().kind() == SurfaceKind::notch && window->panel().isVisible())
                window->model().open();
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
    auto surfaces = std::move(m_surfaces);
    m_surfaces.clear();
    for (const auto &[number, windows] : surfaces) {
        for (const auto &window : windows)
            window->close();
    }
}
