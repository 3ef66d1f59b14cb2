#include "AppDelegate.h"

#include "DashboardWindow.h"
#include "Localization.h"
#include "OrvelURL.h"
#include "PanelManager.h"
#include "Preferences.h"
#include "Scheduler.h"
#include "StatusItem.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQuickWindow>

namespace {
Q_LOGGING_CATEGORY(lcApp, "com.velbrandtoro.Orvel.app")
} // namespace

AppDelegate::AppDelegate(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    // The panels ask for the dashboard; they do not reach up into the delegate.
    connect(&m_services.panels, &PanelManager::dashboardRequested, this,
        [this](DashboardSection section) { openDashboard(section); });
    // Nor do the views: they ask the dashboard state.
    connect(&m_services.dashboardState, &DashboardState::openRequested, this, &AppDelegate::openDashboard);
    connect(&preferences(), &Preferences::notchEnabledChanged, this, &AppDelegate::statusMenuChanged);
    connect(&preferences(), &Preferences::sidebarEnabledChanged, this, &AppDelegate::statusMenuChanged);
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::startTask(std::function<QCoro::Task<void>()> work)
{
    if (!work)
        return;
    m_services.scheduler.spawn([work = std::move(work)](TaskHandle) -> QCoro::Task<void> {
        try {
            co_await work();
        } catch (const std::exception &error) {
            qWarning() << "A menu action failed:" << error.what();
        }
    });
}

void AppDelegate::applicationDidFinishLaunching()
{
    // A tray app: its windows come and go, the process stays.
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        application->setQuitOnLastWindowClosed(applicationShouldTerminateAfterLastWindowClosed());
    if (m_services.makeStatusItem)
        m_statusItem = StatusItem::make(*this);
    if (m_services.engine.start)
        m_services.engine.start();
    m_services.panels.start();
    if (preferences().needsSetup() && !m_services.engine.isPreview)
        openDashboard(DashboardSection::overview);
}

void AppDelegate::showDashboardRequested()
{
    m_services.scheduler.spawn([self = QPointer<AppDelegate>(this)](TaskHandle) -> QCoro::Task<void> {
        if (self)
            self->openDashboard(DashboardSection::overview);
        co_return;
    });
}

QList<AppDelegate::MenuItem> AppDelegate::statusMenuItems() const
{
    return statusMenuItems(m_services.engine.trackTitle ? m_services.engine.trackTitle() : std::nullopt,
        preferences().notchEnabled(), preferences().sidebarEnabled());
}

QList<AppDelegate::MenuItem> AppDelegate::statusMenuItems(
    const std::optional<QString> &track, bool notchEnabled, bool sidebarEnabled)
{
    const MenuItem separator;
    auto item = [](const char *title, MenuAction action, const char *key = "") {
        return MenuItem{localized(QString::fromUtf8(title)), action, QString::fromLatin1(key), std::nullopt};
    };
    MenuItem notch = item("Notch player", MenuAction::toggleNotch);
    notch.checked = notchEnabled;
    MenuItem sidebar = item("Music sidebar", MenuAction::toggleSidebar);
    sidebar.checked = sidebarEnabled;
    return {
        MenuItem{track.value_or(QStringLiteral("Orvel")), std::nullopt, {}, std::nullopt},
        separator,
        item("Open Orvel", MenuAction::openDashboard, ","),
        item("Show player", MenuAction::showPlayer),
        item("Your shortcuts", MenuAction::openShortcuts),
        separator,
        notch,
        sidebar,
        separator,
        item("Open Spotify", MenuAction::openSpotify),
        item("Quit Orvel", MenuAction::quit, "q"),
    };
}

void AppDelegate::perform(MenuAction action)
{
    switch (action) {
    case MenuAction::openDashboard:
        openDashboard(DashboardSection::overview);
        break;
    case MenuAction::openShortcuts:
        openDashboard(DashboardSection::shortcuts);
        break;
    case MenuAction::showPlayer:
        m_services.panels.showPlayer();
        break;
    case MenuAction::toggleNotch:
        preferences().setNotchEnabled(!preferences().notchEnabled());
        break;
    case MenuAction::toggleSidebar:
        preferences().setSidebarEnabled(!preferences().sidebarEnabled());
        break;
    case MenuAction::openSpotify:
        if (auto open = m_services.engine.openSpotify)
            startTask([open] { return open(true); });
        break;
    case MenuAction::quit:
        if (m_services.quit)
            m_services.quit();
        else
            QCoreApplication::quit();
        break;
    }
}

bool AppDelegate::applicationShouldHandleReopen()
{
    openDashboard(DashboardSection::overview);
    return true;
}

void AppDelegate::open(const QList<QUrl> &urls)
{
    // A burst of links has one effect of each kind, taken in the order of its
    // last link: the player shown once, the dashboard opened once at the
    // section of the last link that names one.
    qsizetype playerAt = -1;
    qsizetype dashboardAt = -1;
    DashboardSection section = DashboardSection::overview;
    for (qsizetype i = 0; i < urls.size(); ++i) {
        const QUrl &url = urls[i];
        // QUrl keeps schemes and hosts in lower case, as URL schemes compare without case.
        if (url.scheme().isEmpty() || url.scheme() != OrvelURL::scheme())
            continue;
        qCInfo(lcApp).noquote() << "Opening" << url.toString();
        const QString host = url.host();
        if (host == QLatin1String("player")) {
            playerAt = i;
        } else {
            dashboardAt = i;
            section = host == QLatin1String("shortcuts") ? DashboardSection::shortcuts
                                                         : DashboardSection::overview;
        }
    }
    const auto showPlayer = [this] {
        m_services.panels.showPlayer();
        startTask(m_services.engine.refresh);
    };
    if (playerAt >= 0 && playerAt < dashboardAt)
        showPlayer();
    if (dashboardAt >= 0)
        openDashboard(section);
    if (playerAt > dashboardAt)
        showPlayer();
}

void AppDelegate::handle(const QUrl &url)
{
    open({url});
}

void AppDelegate::applicationWillTerminate()
{
    // Quit, a signal and the end of the event loop may all arrive; stop once.
    if (m_terminated)
        return;
    m_terminated = true;
    m_services.panels.stop();
    if (m_services.engine.flush)
        m_services.engine.flush();
}

void AppDelegate::openDashboard(DashboardSection section, std::optional<int> skillSlot)
{
    dashboardState().setSection(section);
    dashboardState().setSkillSlot(skillSlot);
    if (!m_dashboard) {
        m_dashboard = std::make_unique<DashboardWindow>(m_services.qml, dashboardState());
        connect(m_dashboard.get(), &DashboardWindow::openDashboardRequested, this,
            [this] { perform(MenuAction::openDashboard); });
        connect(
            m_dashboard.get(), &DashboardWindow::quitRequested, this, [this] { perform(MenuAction::quit); });
        m_dashboard->center();
    }
    m_dashboard->bringToFront();
}
