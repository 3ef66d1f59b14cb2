#include "Workspace.h"

#include "MprisAppleEventTransport.h"

#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

namespace {
constexpr const char *spotifyDesktopEntries[] = {"spotify", "com.spotify.Client"};
const QString login1Service = QStringLiteral("org.freedesktop.login1");

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
            if (!oldOwner.isEmpty())
                emit applicationTerminated(spotifyBundleIdentifier);
            if (!newOwner.isEmpty())
                emit applicationLaunched(spotifyBundleIdentifier);
        });
}

std::optional<std::int32_t> DBusWorkspace::spotifyProcessIdentifier()
{
    if (!m_connection.isConnected())
        return std::nullopt;
    const auto owner = MprisAppleEventTransport::findOwner(m_connection, 2000, nullptr);
    if (!owner)
        return std::nullopt;
    return owner->pid;
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
