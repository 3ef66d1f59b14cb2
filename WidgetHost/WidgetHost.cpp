#include "WidgetHost.h"

#include "PrivateFiles.h"
#include "WidgetCenter.h"
#include "WidgetRenderer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QRegion>
#include <QScreen>
#include <algorithm>

namespace {
Q_LOGGING_CATEGORY(lcWidgetHost, "com.velbrandtoro.Orvel.WidgetHost")

QScreen *screenNamed(const QString &name)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const auto found = std::find_if(
        screens.begin(), screens.end(), [&](const QScreen *screen) { return screen->name() == name; });
    return found != screens.end() ? *found : QGuiApplication::primaryScreen();
}
} // namespace

WidgetHost::Placed::Placed(
    WidgetHost &host, const WidgetPlacement &placement_, const WidgetConfiguration &configuration_)
    : placement(placement_)
    , configuration(configuration_)
    , m_host(host)
{
}

WidgetHost::Placed::~Placed()
{
    m_pending.cancel();
}

void WidgetHost::Placed::openURL(const QUrl &url)
{
    if (url.isEmpty())
        return;
    if (m_host.m_services.openURL)
        m_host.m_services.openURL(url);
    else if (!QDesktopServices::openUrl(url))
        qCWarning(lcWidgetHost) << "Nothing opened" << url.toString();
}

void WidgetHost::Placed::perform(const QString &action)
{
    auto call = QDBusMessage::createMethodCall(appService, appPath, appInterface, intentMethod);
    call << action;
    auto *watcher
        = new QDBusPendingCallWatcher(m_host.m_services.bus.asyncCall(call, intentTimeoutMs), &m_host);
    const QString kind = configuration.kind;
    QPointer<WidgetHost> host(&m_host);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_host, [host, watcher, action, kind] {
        watcher->deleteLater();
        const QDBusPendingReply<QString> reply = *watcher;
        if (!host)
            return;
        if (reply.isError()) {
            qCInfo(lcWidgetHost).noquote()
                << "The widget's" << action << "did not reach Orvel:" << reply.error().message();
            emit host->intentFinished(action, QString());
            return;
        }
        if (reply.value() != QLatin1String("ok"))
            qCInfo(lcWidgetHost).noquote() << "Orvel could not perform" << action << "-" << reply.value();
        emit host->intentFinished(action, reply.value());
        // As the desktop does after an intent: the widget shows the outcome at once.
        host->reloadTimelines(kind);
    });
}

WidgetHost::WidgetHost(QList<WidgetConfiguration> widgets, Services services, QObject *parent)
    : QObject(parent)
    , m_widgets(std::move(widgets))
    , m_services(std::move(services))
{
    WidgetRenderer::registerModules(m_engine);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &WidgetHost::reloadFile);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &WidgetHost::reloadFile);
}

WidgetHost::~WidgetHost()
{
    m_placed.clear();
}

bool WidgetHost::claim()
{
    if (!m_services.bus.isConnected() || !m_services.bus.interface())
        return true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
        = m_services.bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
            QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

bool WidgetHost::listen()
{
    return m_services.bus.connect(QString(), DBusWidgetCenter::objectPath, DBusWidgetCenter::interface,
        DBusWidgetCenter::signalName, this, SLOT(onReloadTimelines(QString)));
}

void WidgetHost::onReloadTimelines(const QString &kind)
{
    reloadTimelines(kind);
}

const WidgetConfiguration *WidgetHost::configuration(const QString &kind) const
{
    const auto found = std::find_if(m_widgets.begin(), m_widgets.end(),
        [&](const WidgetConfiguration &configuration) { return configuration.kind == kind; });
    return found != m_widgets.end() ? &*found : nullptr;
}

void WidgetHost::show(const QList<WidgetPlacement> &placements)
{
    std::vector<std::unique_ptr<Placed>> kept;
    std::vector<std::unique_ptr<Placed>> previous = std::move(m_placed);
    m_placed.clear();
    for (const WidgetPlacement &placement : placements) {
        const auto same = std::find_if(previous.begin(), previous.end(),
            [&](const std::unique_ptr<Placed> &placed) { return placed && placed->placement == placement; });
        if (same != previous.end()) {
            m_placed.push_back(std::move(*same));
            continue;
        }
        const WidgetConfiguration *configuration = this->configuration(placement.kind);
        if (!configuration) {
            qCWarning(lcWidgetHost) << "No widget of kind" << placement.kind << "to show";
            continue;
        }
        m_placed.push_back(std::make_unique<Placed>(*this, placement, *configuration));
        reload(*m_placed.back());
    }
}

void WidgetHost::follow(const QString &path)
{
    m_path = path;
    const QString directory = QFileInfo(path).absolutePath();
    try {
        PrivateFiles::ensureDirectory(directory);
    } catch (const FileError &error) {
        qCWarning(lcWidgetHost) << "Cannot watch the widget list:" << error.what();
    }
    m_watcher.addPath(directory);
    reloadFile();
}

void WidgetHost::reloadFile()
{
    if (m_path.isEmpty())
        return;
    // A file replaced whole is a new file to watch.
    if (QFileInfo::exists(m_path) && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    show(WidgetPlacementFile::load(m_path));
}

void WidgetHost::reloadTimelines(const QString &kind)
{
    for (const auto &placed : m_placed) {
        if (kind.isEmpty() || placed->configuration.kind == kind)
            reload(*placed);
    }
}

void WidgetHost::reload(Placed &placed)
{
    placed.m_pending.cancel();
    Timeline<WidgetEntry> timeline = placed.configuration.timeline();
    QList<WidgetEntry> &entries = timeline.entries;
    std::stable_sort(entries.begin(), entries.end(),
        [](const WidgetEntry &a, const WidgetEntry &b) { return a.date < b.date; });
    const Date now = Date::now();
    qsizetype current = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].date <= now)
            current = i;
    }
    if (!entries.isEmpty())
        present(placed, entries[current]);

    const QList<WidgetEntry> upcoming = entries.isEmpty() ? QList<WidgetEntry>() : entries.mid(current + 1);
    const std::optional<Date> reloadAt
        = timeline.policy.reloadDate(entries.isEmpty() ? std::nullopt : std::optional(entries.last().date));
    if (upcoming.isEmpty() && !reloadAt)
        return;
    QPointer<WidgetHost> self(this);
    Placed *target = &placed;
    Scheduler &scheduler = m_services.scheduler;
    placed.m_pending = scheduler.spawn(
        [self, target, &scheduler, upcoming, reloadAt](TaskHandle task) -> QCoro::Task<void> {
            for (const WidgetEntry &entry : upcoming) {
                const double wait = std::max(0.0, entry.date.timeIntervalSince(Date::now()));
                const bool slept = co_await scheduler.sleep(wait, task);
                if (!slept || !self)
                    co_return;
                self->present(*target, entry);
            }
            if (!reloadAt)
                co_return;
            const double wait = std::max(0.0, reloadAt->timeIntervalSince(Date::now()));
            const bool slept = co_await scheduler.sleep(wait, task);
            if (!slept || !self)
                co_return;
            self->reload(*target);
        });
}

void WidgetHost::present(Placed &placed, const WidgetEntry &entry)
{
    if (placed.m_container) {
        WidgetRenderer::update(*placed.m_container, entry);
        return;
    }
    const WidgetContainer::Environment environment{
        placed.placement.family, WidgetRenderingMode::fullColor, m_services.reduceMotion};
    QString error;
    auto container = WidgetRenderer::create(
        m_engine, placed.configuration, entry, environment, &placed, &m_services.scheduler, &error);
    if (!container) {
        qCWarning(lcWidgetHost).noquote()
            << "The widget" << placed.configuration.kind << "does not load:" << error;
        return;
    }
    auto window = std::make_unique<QQuickWindow>();
    // On the desktop: no frame, no taskbar entry, below every other window.
    window->setFlags(
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    window->setColor(Qt::transparent);
    window->setTitle(placed.configuration.displayName);
    QScreen *screen = screenNamed(placed.placement.screen);
    const QSize size = WidgetMetrics::size(placed.placement.family);
    if (screen) {
        window->setScreen(screen);
        window->setGeometry(QRect(screen->geometry().topLeft() + placed.placement.position, size));
    } else {
        window->setGeometry(QRect(placed.placement.position, size));
    }
    // Without a compositor the clear corners would show black: cut them away.
    window->setMask(QRegion(WidgetRenderer::shape(QSizeF(size)).toFillPolygon().toPolygon()));
    container->setParentItem(window->contentItem());
    placed.m_window = std::move(window);
    placed.m_container = std::move(container);
    placed.m_window->show();
}
