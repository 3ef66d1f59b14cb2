#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

class QDBusServiceWatcher;

// The running applications the app cares about. Spotify runs when some process
// owns its MPRIS player name on the session bus.
class Workspace : public QObject {
    Q_OBJECT
public:
    static inline const QString spotifyBundleIdentifier = QStringLiteral("com.spotify.client");

    using QObject::QObject;
    ~Workspace() override;

    virtual std::optional<std::int32_t> spotifyProcessIdentifier() = 0;
    virtual bool isSpotifyInstalled() = 0;

signals:
    void applicationLaunched(const QString &bundleIdentifier);
    void applicationTerminated(const QString &bundleIdentifier);
};

class DBusWorkspace final : public Workspace {
    Q_OBJECT
public:
    explicit DBusWorkspace(
        QDBusConnection connection = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    std::optional<std::int32_t> spotifyProcessIdentifier() override;
    // A "spotify.desktop" entry in the XDG data directories or a "spotify" program on PATH.
    bool isSpotifyInstalled() override;

private:
    QDBusConnection m_connection;
    QDBusServiceWatcher *m_watcher;
};

// A workspace whose answers tests set.
class FakeWorkspace final : public Workspace {
    Q_OBJECT
public:
    using Workspace::Workspace;

    std::optional<std::int32_t> spotifyProcessIdentifier() override { return spotifyPid; }
    bool isSpotifyInstalled() override { return spotifyInstalled; }

    void launchSpotify(std::int32_t pid);
    void terminateSpotify();

    std::optional<std::int32_t> spotifyPid;
    bool spotifyInstalled = true;
};
