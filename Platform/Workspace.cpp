// GLib's headers name a struct member "signals", a word Qt's headers define away.
#include <gio/gdesktopappinfo.h>

#include "Workspace.h"

#include "MprisAppleEventTransport.h"

#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <limits>
#include <unistd.h>

namespace {
Q_LOGGING_CATEGORY(lcWorkspace, "com.velbrandtoro.Orvel.workspace")

const QString login1Service = QStringLiteral("org.freedesktop.login1");
// A bus that has not answered by then is asked again on the next call.
constexpr int lookUpTimeoutMs = 2000;
constexpr int activationQueryTimeoutMs = 500;

// The entry as GIO reads it: nothing when the program it names is not there.
GDesktopAppInfo *readEntry(const QString &path)
{
    return g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
}

// As the desktop's own launcher would: GIO expands the field codes, runs a
// Terminal entry in a terminal and activates a DBusActivatable one on the bus.
// One whose name the bus cannot start is run by its Exec line instead, as GIO
// says it launched what then fails on the bus.
bool launchDesktopEntry(const QString &path, const std::function<bool(const QString &)> &busCanStart)
{
    GDesktopAppInfo *info = readEntry(path);
    if (!info) {
        qCWarning(lcWorkspace) << "Cannot read the desktop entry" << path;
        return false;
    }
    const QString id = QFileInfo(path).completeBaseName();
    if (g_desktop_app_info_get_boolean(info, "DBusActivatable") && !busCanStart(id)) {
        GKeyFile *file = g_key_file_new();
        if (g_key_file_load_from_file(file, QFile::encodeName(path).constData(), G_KEY_FILE_NONE, nullptr)) {
            g_key_file_remove_key(file, G_KEY_FILE_DESKTOP_GROUP, "DBusActivatable", nullptr);
            if (GDesktopAppInfo *byExec = g_desktop_app_info_new_from_keyfile(file)) {
                g_object_unref(info);
                info = byExec;
            }
        }
        g_key_file_free(file);
    }
    GAppLaunchContext *context = g_app_launch_context_new();
    GError *error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(info), nullptr, context, &error);
    if (!launched) {
        qCWarning(lcWorkspace) << "Cannot launch" << path << ":"
                               << (error ? QString::fromUtf8(error->message) : QString());
        g_clear_error(&error);
    }
    g_object_unref(context);
    g_object_unref(info);
    return launched;
}
} // namespace

QStringList DBusWorkspace::spotifyDesktopEntryPaths()
{
    // XDG_DATA_HOME first, then each XDG_DATA_DIRS folder in order, read afresh
    // each time; a Snap's folder is one of them (/var/lib/snapd/desktop).
    QStringList paths;
    for (const QString &entry : spotifyDesktopEntries) {
        const QString file = QStandardPaths::locate(
            QStandardPaths::GenericDataLocation, QStringLiteral("applications/") + entry);
        if (file.isEmpty())
            continue;
        if (GDesktopAppInfo *info = readEntry(file)) {
            if (!g_desktop_app_info_get_is_hidden(info))
                paths << file;
            g_object_unref(info);
        }
    }
    return paths;
}

QString DBusWorkspace::spotifyDesktopEntry()
{
    return spotifyDesktopEntryPaths().value(0);
}

Workspace::~Workspace() = default;

DBusWorkspace::DBusWorkspace(QDBusConnection connection, QObject *parent)
    : Workspace(parent)
    , m_connection(std::move(connection))
    , m_watcher(new QDBusServiceWatcher(MprisAppleEventTransport::serviceName, m_connection,
          QDBusServiceWatcher::WatchForOwnerChange, this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString &, const QString &oldOwner, const QString &newOwner) {
            spotifyOwnerChanged(oldOwner, newOwner);
        });
    lookUpSpotifyOwner();
}

std::optional<std::int32_t> DBusWorkspace::spotifyProcessIdentifier()
{
    if (!m_lookUpAnswered && !m_lookingUp)
        lookUpSpotifyOwner();
    return m_spotifyPid;
}

bool DBusWorkspace::isLookingUpSpotify() const
{
    return m_lookingUp && !m_lookUpEnded;
}

void DBusWorkspace::spotifyOwnerChanged(const QString &oldOwner, const QString &newOwner)
{
    ++m_lookUp;
    m_lookingUp = false;
    m_spotifyPid.reset();
    m_spotifyOwned = !newOwner.isEmpty();
    m_lookUpAnswered = newOwner.isEmpty();
    if (!oldOwner.isEmpty())
        emit applicationTerminated(spotifyBundleIdentifier);
    if (!newOwner.isEmpty()) {
        lookUpSpotifyProcess(newOwner);
    } else {
        // No owner answers whatever look-up was still on its way.
        m_lookUpEnded = true;
        emit spotifyLookUpEnded();
    }
}

void DBusWorkspace::lookUpSpotifyOwner()
{
    if (!m_connection.isConnected())
        return;
    ++m_lookUp;
    auto *watcher = askBus(QStringLiteral("GetNameOwner"), MprisAppleEventTransport::serviceName);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, lookUp = m_lookUp](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            if (lookUp != m_lookUp)
                return;
            const QDBusPendingReply<QString> reply = *finished;
            if (reply.isError()) {
                lookUpFailed(reply.error());
            } else {
                m_spotifyOwned = true;
                lookUpSpotifyProcess(reply.value());
            }
        });
}

void DBusWorkspace::lookUpSpotifyProcess(const QString &uniqueName)
{
    auto *watcher = askBus(QStringLiteral("GetConnectionUnixProcessID"), uniqueName);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, lookUp = m_lookUp](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            if (lookUp != m_lookUp)
                return;
            const QDBusPendingReply<quint32> reply = *finished;
            if (reply.isError()) {
                lookUpFailed(reply.error());
                return;
            }
            m_lookingUp = false;
            m_lookUpAnswered = true;
            m_lookUpEnded = true;
            const quint32 pid = reply.value();
            if (pid > 0 && pid <= quint32(std::numeric_limits<std::int32_t>::max())
                && m_spotifyPid != std::int32_t(pid)) {
                m_spotifyPid = std::int32_t(pid);
                emit applicationLaunched(spotifyBundleIdentifier);
            }
            emit spotifyLookUpEnded();
        });
}

QDBusPendingCallWatcher *DBusWorkspace::askBus(const QString &method, const QString &name)
{
    m_lookingUp = true;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), method);
    call << name;
    return new QDBusPendingCallWatcher(m_connection.asyncCall(call, lookUpTimeoutMs), this);
}

void DBusWorkspace::lookUpFailed(const QDBusError &error)
{
    m_lookingUp = false;
    // No owner is an answer; a timeout or a lost bus is not.
    m_lookUpAnswered = error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
    if (m_lookUpAnswered)
        m_spotifyOwned = false;
    m_lookUpEnded = true;
    emit spotifyLookUpEnded();
}

bool DBusWorkspace::isSpotifyInstalled()
{
    // A client started from an unpacked archive has neither entry nor program.
    if (m_spotifyOwned || m_spotifyPid)
        return true;
    if (!spotifyDesktopEntry().isEmpty())
        return true;
    return !QStandardPaths::findExecutable(QStringLiteral("spotify")).isEmpty();
}

bool DBusWorkspace::openSpotify(bool activates)
{
    // A desktop session brings a newly started window to the front by itself;
    // there is no portable way to start it behind the others. A client that
    // runs already is brought forward by its second start.
    // Asked only for an entry the bus is to start, briefly: a stalled bus
    // cannot hold up the app.
    const auto busCanStart = [this](const QString &name) {
        const QDBusMessage reply = m_connection.call(
            QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
                QStringLiteral("ListActivatableNames")),
            QDBus::Block, activationQueryTimeoutMs);
        return reply.type() == QDBusMessage::ReplyMessage
            && reply.arguments().value(0).toStringList().contains(name);
    };
    for (const QString &entry : spotifyDesktopEntryPaths()) {
        if (launchDesktopEntry(entry, busCanStart))
            return true;
    }
    const QString program = QStandardPaths::findExecutable(QStringLiteral("spotify"));
    if (!program.isEmpty() && QProcess::startDetached(program, {}))
        return true;
    if (!m_spotifyOwned || !m_connection.isConnected())
        return false;
    if (activates) {
        m_connection.asyncCall(QDBusMessage::createMethodCall(MprisAppleEventTransport::serviceName,
            QStringLiteral("/org/mpris/MediaPlayer2"), QStringLiteral("org.mpris.MediaPlayer2"),
            QStringLiteral("Raise")));
    }
    return true;
}

bool DBusWorkspace::openURL(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void DBusWorkspace::watchSleepAndSession(QDBusConnection systemBus)
{
    if (!systemBus.isConnected() || m_systemBus)
        return;
    m_systemBus = systemBus;
    systemBus.connect(login1Service, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(prepareForSleep(bool)));
    // The session's path is asked for without blocking the start of the app.
    QDBusMessage call
        = QDBusMessage::createMethodCall(login1Service, QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSessionByPID"));
    call << quint32(::getpid());
    auto *watcher = new QDBusPendingCallWatcher(systemBus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        if (!reply.isError())
            watchSession(reply.value().path());
    });
}

void DBusWorkspace::watchSession(const QString &sessionPath)
{
    if (sessionPath.isEmpty() || !m_systemBus)
        return;
    m_sessionPath = sessionPath;
    m_systemBus->connect(login1Service, sessionPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), this,
        SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
}

void DBusWorkspace::prepareForSleep(bool starting)
{
    if (starting)
        emit willSleep();
    else
        emit didWake();
}

void DBusWorkspace::sessionPropertiesChanged(
    const QString &interface, const QVariantMap &changed, const QStringList &)
{
    if (interface != QLatin1String("org.freedesktop.login1.Session"))
        return;
    const auto active = changed.constFind(QStringLiteral("Active"));
    if (active == changed.cend())
        return;
    if (active->toBool())
        emit sessionDidBecomeActive();
    else
        emit sessionDidResignActive();
}
