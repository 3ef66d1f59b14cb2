#include "WidgetHost.h"

#include "Localization.h"
#include "PrivateFiles.h"
#include "WidgetCenter.h"
#include "WidgetGallery.h"
#include "WidgetMenu.h"
#include "WidgetRenderer.h"
#include "X11Compositor.h"
#include "X11Desktop.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleHints>
#include <algorithm>

namespace {

// The name a placement keeps for a screen: the primary one is "" unless named before.
QString placementScreenName(QScreen *screen, const QString &before)
{
    if (!screen || screen->name() == before)
        return before;
    return screen == QGuiApplication::primaryScreen() ? QString() : screen->name();
}

QRect screenArea(const QScreen *screen)
{
    return QRect(QPoint(0, 0), screen->geometry().size());
}

QList<WidgetScreen> connectedScreens()
{
    QList<WidgetScreen> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append({screen->name(), screen->geometry(), screen == QGuiApplication::primaryScreen()});
    return screens;
}
} // namespace

WidgetHostInstance::WidgetHostInstance(const QString &path)
    : m_lock(path)
{
    // Held for hours: only a dead holder makes it stale, never its age.
    m_lock.setStaleLockTime(0);
}

QString WidgetHostInstance::standardPath()
{
    // Without XDG_RUNTIME_DIR, Qt makes a user-only folder under /tmp.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel.WidgetHost.lock");
}

bool WidgetHostInstance::claim()
{
    if (m_lock.tryLock(0))
        return true;
    if (m_lock.error() == QLockFile::LockFailedError)
        return false;
    qCWarning(lcWidgetHost).noquote()
        << "Cannot make" << m_lock.fileName() << "- another host would not be noticed without a session bus";
    return true;
}

WidgetWindow::WidgetWindow() = default;

void WidgetWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit menuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_pressedAt = event->globalPosition().toPoint();
        m_startedAt = position();
        m_dragging = false;
    }
    QQuickWindow::mousePressEvent(event);
}

void WidgetWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressedAt && event->buttons().testFlag(Qt::LeftButton)) {
        const QPoint moved = event->globalPosition().toPoint() - *m_pressedAt;
        if (!m_dragging && moved.manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
            m_dragging = true;
            // A drag is no tap: the button or link under the pointer lets go.
            if (QQuickItem *grabber = mouseGrabberItem())
                grabber->ungrabMouse();
        }
        if (m_dragging) {
            setPosition(m_startedAt + moved);
            event->accept();
            return;
        }
    }
    QQuickWindow::mouseMoveEvent(event);
}

void WidgetWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressedAt.reset();
        if (m_dragging) {
            m_dragging = false;
            event->accept();
            emit dropped();
            return;
        }
    }
    QQuickWindow::mouseReleaseEvent(event);
}

WidgetHost::Placed::Placed(
    WidgetHost &host, const WidgetPlacement &placement_, const WidgetConfiguration &configuration_)
    : configuration(configuration_)
    , m_placement(placement_)
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
    // The bus starts Orvel from its service file when it is not running.
    call.setAutoStartService(true);
    if (m_container)
        m_container->setPending(true);
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
            // A new timeline ends the pending look, whatever came of the intent.
            host->reloadTimelines(kind);
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
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &WidgetHost::fileChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &WidgetHost::fileChanged);
    // A widget waits on the primary screen while its own is missing, and
    // follows its screen as it moves, changes size or scale.
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        followScreen(screen);
        placeAllLater();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &WidgetHost::placeAllLater);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &WidgetHost::placeAllLater);
    for (QScreen *screen : QGuiApplication::screens())
        followScreen(screen);
}

void WidgetHost::followScreen(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &WidgetHost::placeAllLater);
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &WidgetHost::placeAllLater);
    connect(screen, &QScreen::physicalDotsPerInchChanged, this, &WidgetHost::placeAllLater);
}

WidgetHost::~WidgetHost()
{
    m_quiet.cancel();
    m_gallery.reset();
    m_placed.clear();
}

bool WidgetHost::claim()
{
    if (!m_services.bus.isConnected() || !m_services.bus.interface())
        return true;
    // In place before the name, so that whoever sees the name can call it.
    m_services.bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
        = m_services.bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
            QDBusConnectionInterface::DontAllowReplacement);
    const bool owned = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!owned)
        m_services.bus.unregisterObject(objectPath);
    return owned;
}

void WidgetHost::ShowGallery()
{
    gallery().show();
}

WidgetGallery &WidgetHost::gallery()
{
    if (!m_gallery)
        m_gallery = std::make_unique<WidgetGallery>(*this);
    return *m_gallery;
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
    m_list = placements;
    std::vector<std::unique_ptr<Placed>> kept;
    std::vector<std::unique_ptr<Placed>> previous = std::move(m_placed);
    m_placed.clear();
    for (const WidgetPlacement &placement : placements) {
        const auto same
            = std::find_if(previous.begin(), previous.end(), [&](const std::unique_ptr<Placed> &placed) {
                  return placed && placed->placement() == placement;
              });
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
    // As the system finds it: cleaned as text, "link/.." would be another folder.
    const QString directory = QFileInfo(path).path();
    try {
        PrivateFiles::ensureDirectory(directory);
    } catch (const FileError &error) {
        qCWarning(lcWidgetHost) << "Cannot watch the widget list:" << error.what();
    }
    m_watcher.addPath(directory);
    // The list's own are removed when it is checked below.
    PrivateFiles::removeLeftovers(WidgetHostAutostart::standardPath());
    WidgetList list;
    try {
        const WidgetListLock lock(path);
        QString report;
        list = WidgetPlacementFile::check(path, &report);
        if (!report.isEmpty())
            qCWarning(lcWidgetHost).noquote() << report;
    } catch (const FileError &error) {
        qCWarning(lcWidgetHost).noquote()
            << QStringLiteral("The widget list %1 is not checked: %2").arg(path, error.description);
        list = WidgetPlacementFile::read(path);
    }
    m_readProblem = list.problem;
    watchFile();
    show(list.placements);
}

void WidgetHost::watchFile()
{
    // A file replaced whole is a new file to watch.
    if (QFileInfo::exists(m_path) && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
}

void WidgetHost::fileChanged()
{
    m_quiet.cancel();
    QPointer<WidgetHost> self(this);
    Scheduler &scheduler = m_services.scheduler;
    m_quiet = scheduler.spawn([self, &scheduler](TaskHandle task) -> QCoro::Task<void> {
        const bool quiet = co_await scheduler.sleep(WidgetPlacementFile::quietSeconds, task);
        if (!quiet || !self)
            co_return;
        self->readFile();
    });
}

void WidgetHost::readFile()
{
    if (m_path.isEmpty())
        return;
    watchFile();
    const WidgetList list = WidgetPlacementFile::read(m_path);
    if (!list.usable()) {
        // Perhaps still being written: kept for the next change to mend.
        if (list.problem != m_readProblem) {
            const QString said = QStringLiteral("The widget list %1 cannot be read (%2); the widgets stay as "
                                                "they are until it changes again.");
            qCWarning(lcWidgetHost).noquote() << said.arg(m_path, list.problem);
        }
        m_readProblem = list.problem;
        return;
    }
    m_readProblem.clear();
    QList<WidgetPlacement> placements = list.placements;
    for (const Edit &edit : m_unsaved)
        edit(placements);
    show(placements);
}

void WidgetHost::change(Edit edit)
{
    QList<WidgetPlacement> shown = m_list;
    edit(shown);
    if (m_path.isEmpty()) {
        show(shown);
        return;
    }
    m_unsaved.push_back(std::move(edit));
    QList<WidgetPlacement> placements;
    try {
        const WidgetListLock lock(m_path);
        const WidgetList list = WidgetPlacementFile::read(m_path);
        if (!list.usable())
            throw FileError(m_path, QStringLiteral("it cannot be read (%1)").arg(list.problem));
        placements = list.placements;
        for (const Edit &unsaved : m_unsaved)
            unsaved(placements);
        WidgetPlacementFile::write(m_path, placements, list);
        // Under the lock, as the commands do: a command's change in between
        // would leave the entry following a list that is no longer there.
        followAutostart(placements);
    } catch (const FileError &error) {
        if (error.description != m_saveProblem)
            qCWarning(lcWidgetHost).noquote()
                << QStringLiteral("The widget list %1 could not be saved: %2").arg(m_path, error.description)
                << "- the change is kept and saved with the next one.";
        m_saveProblem = error.description;
        show(shown);
        return;
    }
    m_unsaved.clear();
    m_saveProblem.clear();
    show(placements);
}

void WidgetHost::followAutostart(const QList<WidgetPlacement> &placements)
{
    if (m_services.program.isEmpty())
        return;
    try {
        if (const QString warning = WidgetHostAutostart::follow(placements, m_services.program);
            !warning.isEmpty())
            qCWarning(lcWidgetHost).noquote() << "The autostart entry" << warning;
    } catch (const std::exception &error) {
        qCWarning(lcWidgetHost) << "The autostart entry could not be changed:" << error.what();
    }
}

WidgetPlacement WidgetHost::add(const QString &kind, WidgetFamily family, QScreen *screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    WidgetPlacement placement{kind, family, placementScreenName(screen, QString()), {}};
    // Where the screen's own widgets lie now: a widget waiting for its screen is not in the way.
    QList<WidgetPlacement> here;
    for (const auto &placed : m_placed) {
        if (placed->window() && placed->window()->screen() == screen)
            here.append(WidgetPlacement{placed->placement().kind, placed->placement().family,
                placement.screen, placed->window()->position() - screen->geometry().topLeft()});
    }
    for (const WidgetPlacement &other : m_list) {
        if (other.screen == placement.screen && !configuration(other.kind))
            here.append(other);
    }
    const QRect available = screen->availableGeometry().translated(-screen->geometry().topLeft());
    placement.position = WidgetPlacementFile::nextPosition(here, placement.screen, family, available);
    change([placement](QList<WidgetPlacement> &placements) { placements.append(placement); });
    return placement;
}

void WidgetHost::keepWhereDropped(Placed &placed)
{
    QWindow *window = placed.window();
    QScreen *screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = window->screen();
    const QPoint position = WidgetPlacementFile::clamped(window->position() - screen->geometry().topLeft(),
        WidgetMetrics::size(placed.m_placement.family), screenArea(screen));
    const WidgetPlacement before = placed.m_placement;
    WidgetPlacement after = before;
    after.screen = placementScreenName(screen, before.screen);
    after.position = position;
    placed.m_placement = after;
    place(placed);
    if (after == before)
        return;
    change([before, after](QList<WidgetPlacement> &placements) {
        // Moved, not replaced: it keeps what a newer version wrote into it.
        const auto found = std::find(placements.begin(), placements.end(), before);
        if (found != placements.end()) {
            found->screen = after.screen;
            found->position = after.position;
        }
    });
}

void WidgetHost::remove(const WidgetPlacement &placement)
{
    change([placement](QList<WidgetPlacement> &placements) {
        const auto found = std::find(placements.begin(), placements.end(), placement);
        if (found != placements.end())
            placements.erase(found);
    });
}

void WidgetHost::showMenu(const WidgetPlacement &placement, QPoint globalPosition)
{
    QPointer<WidgetHost> self(this);
    QMenu *menu = WidgetMenu::make(
        WidgetMenu::palette(),
        [self] {
            if (self)
                self->gallery().show();
        },
        [self, placement] {
            // After the menu is gone: removing closes the window it came from.
            QMetaObject::invokeMethod(
                self, [self, placement] { self->remove(placement); }, Qt::QueuedConnection);
        }).release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

void WidgetHost::setReduceMotion(bool reduceMotion)
{
    m_services.reduceMotion = reduceMotion;
    for (const auto &placed : m_placed) {
        if (placed->m_container)
            placed->m_container->setReduceMotion(reduceMotion);
    }
}

void WidgetHost::reloadTimelines(const QString &kind)
{
    for (const auto &placed : m_placed) {
        if (kind.isEmpty() || placed->configuration.kind == kind)
            reload(*placed);
    }
    if (m_gallery)
        m_gallery->reload(kind);
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
        placed.m_container->setPending(false);
        return;
    }
    const WidgetContainer::Environment environment{
        placed.m_placement.family, WidgetRenderingMode::fullColor, m_services.reduceMotion};
    QString error;
    auto container = WidgetRenderer::create(
        m_engine, placed.configuration, entry, environment, &placed, &m_services.scheduler, &error);
    if (!container) {
        qCWarning(lcWidgetHost).noquote()
            << "The widget" << placed.configuration.kind << "does not load:" << error;
        return;
    }
    auto window = std::make_unique<WidgetWindow>();
    // On the desktop: no frame, no taskbar entry, below every other window.
    window->setFlags(
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    // A clear colour makes Qt ask for an ARGB visual: a compositor shows the
    // desktop wherever the widget leaves the window clear.
    window->setColor(Qt::transparent);
    window->setTitle(placed.configuration.displayName);
    window->resize(WidgetMetrics::size(placed.m_placement.family));
    container->setParentItem(window->contentItem());
    Placed *target = &placed;
    connect(window.get(), &WidgetWindow::dropped, this, [this, target] { keepWhereDropped(*target); });
    connect(window.get(), &WidgetWindow::menuRequested, this,
        [this, target](QPoint at) { showMenu(target->m_placement, at); });
    // Qt keeps a window's pixels and its cut when it lands on a screen of
    // another scale (dragged there, or its screen gone): sized and cut again
    // there, or it shows a part of its picture or a margin.
    connect(window.get(), &QWindow::screenChanged, this, [this, target] {
        fitToScale(*target);
        placeAllLater();
    });
    placed.m_window = std::move(window);
    placed.m_container = std::move(container);
    // On its screen before the native window is made, so it is made at that screen's scale.
    place(placed);
    X11Desktop::keepOnDesktop(*placed.m_window);
    fitToScale(placed);
    placed.m_window->show();
}

void WidgetHost::place(Placed &placed)
{
    WidgetWindow *window = placed.m_window.get();
    if (!window || window->dragging())
        return;
    const auto shown = WidgetPlacementFile::shown(placed.m_placement, connectedScreens());
    if (!shown)
        return;
    window->setScreen(QGuiApplication::screens().value(shown->screen));
    // Asked only when it differs: a window that is where it belongs hears nothing.
    if (window->geometry() != shown->frame)
        window->setGeometry(shown->frame);
    fitToScale(placed);
}

void WidgetHost::fitToScale(Placed &placed)
{
    WidgetWindow *window = placed.m_window.get();
    if (!window)
        return;
    const QSize size = WidgetMetrics::size(placed.m_placement.family);
    if (window->size() != size)
        window->resize(size);
    // Without a compositor the clear corners would show black: cut away, in the
    // screen's pixels (after keepOnDesktop, which must come before the native
    // window is made).
    X11Compositor *compositor = X11Compositor::instance();
    if (compositor && window->handle())
        compositor->setOutline(
            *window, WindowOutline::rounded(QRectF(QPointF(), QSizeF(size)), WidgetMetrics::cornerRadius));
}

void WidgetHost::placeAllLater()
{
    if (m_placeDue)
        return;
    m_placeDue = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_placeDue = false;
            placeAll();
        },
        Qt::QueuedConnection);
}

void WidgetHost::placeAll()
{
    for (const auto &placed : m_placed)
        place(*placed);
}
