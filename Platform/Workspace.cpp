#include "Workspace.h"

#include "MprisAppleEventTransport.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <limits>
#include <unistd.h>

namespace {
constexpr const char *spotifyDesktopEntries[] = {"spotify", "com.spotify.Client"};
const QString login1Service = QStringLiteral("org.freedesktop.login1");
// A bus that has not answered by then is asked again on the next call.
constexpr int lookUpTimeoutMs = 2000;

QString installedDesktopEntry()
{
    for (const char *entry : spotifyDesktopEntries) {
        const QString file = QStringLiteral("applications/%1.desktop").arg(QLatin1String(entry));
        if (!QStandardPaths::locate(QStandardPaths::GenericDataLocation, file).isEmpty())
            return QLatin1String(entry);
    }
    return {};
}
} // namespace

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

void DBusWorkspace::spotifyOwnerChanged(const QString &oldOwner, const QString &newOwner)
{
    ++m_lookUp;
    m_lookingUp = false;
    m_spotifyPid.reset();
    m_lookUpAnswered = newOwner.isEmpty();
    if (!oldOwner.isEmpty())
        emit applicationTerminated(spotifyBundleIdentifier);
    if (!newOwner.isEmpty())
        lookUpSpotifyProcess(newOwner);
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
            if (reply.isError())
                lookUpFailed(reply.error());
            else
                lookUpSpotifyProcess(reply.value());
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
            const quint32 pid = reply.value();
            if (pid == 0 || pid > quint32(std::numeric_limits<std::int32_t>::max())
                || m_spotifyPid == std::int32_t(pid))
                return;
            m_spotifyPid = std::int32_t(pid);
            emit applicationLaunched(spotifyBundleIdentifier);
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
}

bool DBusWorkspace::isSpotifyInstalled()
{
    if (!installedDesktopEntry().isEmpty())
        return true;
    return !QStandardPaths::findExecutable(QStringLiteral("spotify")).isEmpty();
}

bool DBusWorkspace::openSpotify(bool)
{
    // A desktop session brings a newly started window to the front by itself;
    // there is no portable way to start it behind the others.
    const QString entry = installedDesktopEntry();
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("gtk-launch"));
    if (!entry.isEmpty() && !launcher.isEmpty())
        return QProcess::startDetached(launcher, {entry});
    const QString program = QStandardPaths::findExecutable(QStringLiteral("spotify"));
    return !program.isEmpty() && QProcess::startDetached(program, {});
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
