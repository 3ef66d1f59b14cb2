#include "Workspace.h"

#include "MprisAppleEventTransport.h"

#include <QDBusServiceWatcher>
#include <QStandardPaths>

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
    for (const char *entry : {"applications/spotify.desktop", "applications/com.spotify.Client.desktop"}) {
        if (!QStandardPaths::locate(QStandardPaths::GenericDataLocation, QString::fromLatin1(entry))
                 .isEmpty())
            return true;
    }
    return !QStandardPaths::findExecutable(QStringLiteral("spotify")).isEmpty();
}

void FakeWorkspace::launchSpotify(std::int32_t pid)
{
    spotifyPid = pid;
    emit applicationLaunched(spotifyBundleIdentifier);
}

void FakeWorkspace::terminateSpotify()
{
    spotifyPid.reset();
    emit applicationTerminated(spotifyBundleIdentifier);
}
