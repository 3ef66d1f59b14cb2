#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <cstdint>
#include <optional>
#include <vector>

class QDBusError;
class QDBusPendingCallWatcher;
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
    // Starts the installed Spotify client; false when it could not be started.
    // activates: whether it should come to the front.
    virtual bool openSpotify(bool activates) = 0;
    // Hands a URL to the user's default handler.
    virtual bool openURL(const QUrl &url) = 0;

signals:
    void applicationLaunched(const QString &bundleIdentifier);
    void applicationTerminated(const QString &bundleIdentifier);
    void willSleep();
    void didWake();
    void sessionDidResignActive();
    void sessionDidBecomeActive();
};

class DBusWorkspace final : public Workspace {
    Q_OBJECT
public:
    explicit DBusWorkspace(
        QDBusConnection connection = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    // The process id from the bus's last answer, without waiting for the bus: it is
    // asked at construction and on every change of the player's owner.
    // applicationLaunched comes once the id is known (also for a Spotify already
    // running at construction); applicationTerminated as soon as the owner leaves.
    // A look-up that failed is started again, in the background, by the next call.
    std::optional<std::int32_t> spotifyProcessIdentifier() override;
    // A "spotify.desktop" entry in the XDG data directories or a "spotify" program on PATH.
    bool isSpotifyInstalled() override;
    // Through the desktop entry when there is one, else the "spotify" program.
    bool openSpotify(bool activates) override;
    bool openURL(const QUrl &url) override;

    // Follows logind on the given system bus: sleep and wake from PrepareForSleep,
    // session activity from the Active property of this process's session.
    // Without a system bus nothing is ever reported.
    void watchSleepAndSession(QDBusConnection systemBus = QDBusConnection::systemBus());

private slots:
    void prepareForSleep(bool starting);
    void sessionPropertiesChanged(
        const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void watchSession(const QString &sessionPath);
    void spotifyOwnerChanged(const QString &oldOwner, const QString &newOwner);
    void lookUpSpotifyOwner();
    void lookUpSpotifyProcess(const QString &uniqueName);
    QDBusPendingCallWatcher *askBus(const QString &method, const QString &name);
    void lookUpFailed(const QDBusError &error);

    QDBusConnection m_connection;
    QDBusServiceWatcher *m_watcher;
    std::optional<std::int32_t> m_spotifyPid;
    // Answers to an earlier look-up than the current one are dropped.
    quint64 m_lookUp = 0;
    bool m_lookingUp = false;
    // The last look-up ended with an answer (a pid or no owner), not a failure.
    bool m_lookUpAnswered = false;
    std::optional<QDBusConnection> m_systemBus;
    QString m_sessionPath;
};
