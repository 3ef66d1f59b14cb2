#include "AppRoot.h"

#include "Announcer.h"
#include "AppDelegate.h"
#include "ArtworkImageProvider.h"
#include "AutomationConsentDialog.h"
#include "DashboardState.h"
#include "DashboardWindow.h"
#include "Defaults.h"
#include "Desktop.h"
#include "DisplayCatalog.h"
#include "LoginItem.h"
#include "MenuTracker.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "PrivateFiles.h"
#include "QmlModules.h"
#include "QmlOwners.h"
#include "Scheduler.h"
#include "Screens.h"
#include "SharedStore.h"
#include "SkillBarView.h"
#include "SpotifyBridge.h"
#include "SystemAppearance.h"
#include "WaylandDesktop.h"
#include "WaylandSession.h"
#include "WidgetCenter.h"
#include "Workspace.h"
#include "X11Desktop.h"

#include <QCoreApplication>
#include <QPointer>
#include <QQmlEngine>

struct AppRoot::Owned {
    DBusWorkspace workspace;
    // Settings are written off the main thread, a burst of changes at once.
    Defaults defaults{Defaults::standardFilePath(), Scheduler::current()};
    DBusWidgetCenter widgetCenter;
    AutostartLoginItem loginItem{
        AutostartLoginItem::standardFilePath(), QCoreApplication::applicationFilePath()};
    ScreenReaderAnnouncer announcer;
    // On a Wayland session: what the compositor tells of its outputs and native windows.
    std::unique_ptr<WaylandSession> wayland;
    std::unique_ptr<PlainDesktop> plainDesktop;
    std::unique_ptr<WaylandDesktop> waylandDesktop;
    std::unique_ptr<SystemScreens> screens;
};

std::unique_ptr<AppRoot> AppRoot::production()
{
    auto owned = std::make_unique<Owned>();
    // The other kept files' are removed as each is loaded.
    PrivateFiles::removeLeftovers(AutostartLoginItem::standardFilePath());
    owned->workspace.watchSleepAndSession();
    // The consent question is drawn in the user's skin and asked over the
    // dashboard, both known once the owners exist.
    auto consentSurroundings = std::make_shared<ConsentSurroundings>();
    Outside outside{Scheduler::current(), owned->defaults, owned->widgetCenter, owned->workspace,
        owned->loginItem, owned->announcer,
        std::make_shared<SpotifyBridge>(Scheduler::current(), automationConsentDialog(consentSurroundings)),
        [] { return SharedStore(); }, [] { return SystemAppearance::shared()->reduceMotion(); }, nullptr,
        true, {}};
    // Null off X11: the panels then learn nothing of the desktop.
    outside.desktop = X11Desktop::instance();
    // No compositor, or one that refuses us: the panels follow X11 alone.
    owned->wayland = WaylandSession::connectToSession();
    if (WaylandSession *wayland = owned->wayland.get()) {
        Desktop *x11 = outside.desktop;
        if (!x11) {
            owned->plainDesktop = std::make_unique<PlainDesktop>();
            x11 = owned->plainDesktop.get();
        }
        owned->waylandDesktop = std::make_unique<WaylandDesktop>(*x11, *wayland);
        owned->screens = std::make_unique<SystemScreens>(*wayland);
        outside.desktop = owned->waylandDesktop.get();
        outside.screens = owned->screens.get();
    }
    auto root = std::unique_ptr<AppRoot>(new AppRoot(std::move(owned), std::move(outside)));
    consentSurroundings->skin = [preferences = QPointer<Preferences>(&root->preferences())] {
        return preferences ? preferences->skin() : Skin::classico;
    };
    consentSurroundings->owner = [delegate = QPointer<AppDelegate>(&root->delegate())]() -> QWindow * {
        DashboardWindow *dashboard = delegate ? delegate->dashboard() : nullptr;
        return dashboard ? dashboard->window() : nullptr;
    };
    return root;
}

AppRoot::AppRoot(Outside outside)
    : AppRoot(nullptr, std::move(outside))
{
}

AppRoot::AppRoot(std::unique_ptr<Owned> owned, Outside outside)
    : m_owned(std::move(owned))
    , m_outside(std::move(outside))
{
    // Before anything can write them: shared files that cannot be used are set aside.
    m_outside.makeStore().keepUnreadable();

    m_preferences
        = std::make_unique<Preferences>(Preferences::Services{&m_outside.defaults, m_outside.makeStore,
            &m_outside.scheduler, &m_outside.loginItem, &m_outside.widgetCenter, m_outside.reduceMotion});

    PlaybackCoordinator::Services engine;
    engine.bridge = m_outside.bridge;
    engine.workspace = &m_outside.workspace;
    engine.store = m_outside.makeStore();
    engine.defaults = &m_outside.defaults;
    engine.scheduler = &m_outside.scheduler;
    engine.widgetCenter = &m_outside.widgetCenter;
    engine.preferences = m_preferences.get();
    engine.announcer = &m_outside.announcer;
    engine.network = m_outside.network;
    m_coordinator = std::make_unique<PlaybackCoordinator>(std::move(engine));

    m_dashboardState = std::make_unique<DashboardState>(nullptr);

    // The one QML engine of every window; views reach the owners through it.
    m_engine = std::make_unique<QQmlEngine>();
    registerOrvelModules(*m_engine);
    QmlOwners::provide(*m_engine, *m_preferences);
    QmlOwners::provide(*m_engine, *m_coordinator);
    QmlOwners::provide(*m_engine, *m_dashboardState);
    ArtworkImageProvider::install(*m_engine, *m_coordinator);

    if (!m_outside.screens)
        m_ownScreens = std::make_unique<SystemScreens>();
    m_screens = m_outside.screens ? m_outside.screens : m_ownScreens.get();
    if (!m_outside.desktop)
        m_ownDesktop = std::make_unique<PlainDesktop>();
    m_desktop = m_outside.desktop ? m_outside.desktop : m_ownDesktop.get();
    m_displays = std::make_unique<DisplayCatalog>(DisplayCatalog::Services{m_screens, &m_outside.scheduler,
        DisplayCatalog::floatingPanels(*m_screens, *m_desktop, m_outside.scheduler, *m_engine),
        m_preferences.get()});
    QmlOwners::provide(*m_engine, *m_displays);

    m_menus = std::make_unique<MenuTracker>();
    PlaybackCoordinator &player = *m_coordinator;
    Preferences &settings = *m_preferences;
    SurfaceWindow::Services windows;
    windows.preferences = m_preferences.get();
    windows.scheduler = &m_outside.scheduler;
    windows.screens = m_screens;
    windows.menus = m_menus.get();
    windows.reportPanel = [&player](const QUuid &panel, bool active) { player.setPanel(panel, active); };
    windows.chrome
        = [&settings, &player](bool peeking) { return SkillBarView::chrome(peeking, settings, player); };
    windows.makeWindow
        = SurfaceWindow::floatingPanels(*m_screens, *m_desktop, m_outside.scheduler, *m_engine);
    m_panels = std::make_unique<PanelManager>(
        PanelManager::Services{m_preferences.get(), m_displays.get(), std::move(windows)});

    PlaybackCoordinator &coordinator = *m_coordinator;
    AppDelegate::Engine delegateEngine;
    delegateEngine.start = [&coordinator] { coordinator.start(); };
    delegateEngine.flush = [this, &coordinator] {
        coordinator.flush();
        savePendingSettings();
    };
    delegateEngine.refresh = [&coordinator] { return coordinator.refresh(); };
    delegateEngine.openSpotify
        = [&coordinator](bool activates) { return coordinator.openSpotifyAsync(activates); };
    delegateEngine.trackTitle = [&coordinator]() -> std::optional<QString> {
        const auto &track = coordinator.snapshot().track;
        return track ? std::optional<QString>(track->title) : std::nullopt;
    };
    delegateEngine.isPreview = coordinator.isPreview();
    m_delegate = std::make_unique<AppDelegate>(
        AppDelegate::Services{std::move(delegateEngine), *m_preferences, *m_panels, *m_dashboardState,
            m_outside.scheduler, *m_engine, m_outside.makeStatusItem, m_outside.quit});
    for (const auto changed : {&PlaybackCoordinator::trackTitleChanged, &PlaybackCoordinator::hasTrackChanged,
             &PlaybackCoordinator::availabilityChanged})
        QObject::connect(&coordinator, changed, m_delegate.get(), &AppDelegate::statusMenuChanged);

    // The widgets' transport buttons run their intent in this process.
    SpotifyPlaybackIntent::setPerformer(
        [&coordinator](WidgetPlaybackAction action) { return performPlaybackIntent(coordinator, action); });
}

AppRoot::~AppRoot()
{
    SpotifyPlaybackIntent::setPerformer({});
    // Windows go before the engine that made them, the engine before the owners it shows.
    m_delegate.reset();
    m_panels.reset();
    m_menus.reset();
    m_displays.reset();
    m_engine.reset();
}

QCoro::Task<void> performPlaybackIntent(PlaybackCoordinator &coordinator, WidgetPlaybackAction action)
{
    const QPointer<PlaybackCoordinator> guard(&coordinator);
    co_await coordinator.refresh();
    if (!guard || coordinator.snapshot().availability != PlayerAvailability::ready || coordinator.busy())
        throw PlaybackIntentError(PlaybackIntentFailure::requiresApp);
    PlaybackCommand command = PlaybackCommand::play();
    switch (action) {
    case WidgetPlaybackAction::toggle:
        command = coordinator.snapshot().isPlaying ? PlaybackCommand::pause() : PlaybackCommand::play();
        break;
    case WidgetPlaybackAction::previous:
        command = PlaybackCommand::previous();
        break;
    case WidgetPlaybackAction::next:
        command = PlaybackCommand::next();
        break;
    }
    co_await coordinator.perform(command);
    if (!guard || coordinator.errorKey() || coordinator.snapshot().availability != PlayerAvailability::ready)
        throw PlaybackIntentError(PlaybackIntentFailure::requiresApp);
}

void AppRoot::savePendingSettings() const
{
    m_outside.defaults.flush();
}
