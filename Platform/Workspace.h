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
    // True while the first answer on Spotify's process is still to come:
    // until then, "no pid" means "not known yet", not "not running".
    virtual bool isLookingUpSpotify() const { return false; }
    virtual bool isSpotifyInstalled() = 0;
    // Starts the installed Spotify client; false when it could not be started.
    // activates: whether it should come to the front.
    virtual bool openSpotify(bool activates) = 0;
    // Hands a URL to the user's default handler.
    virtual bool openURL(const QUrl &url) = 0;

signals:
    void applicationLaunched(const QString &bundleIdentifier);
    void applicationTerminated(const QString &bundleIdentifier);
    // A look-up of Spotify's process ended, with an answer or not.
    void spotifyLookUpEnded();
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
    // Until the bus first answered (or failed to) on the player's owner.
    bool isLookingUpSpotify() const override;
    // Whatever owns the player's name on the bus; else one of the entries the
    // Debian package, the Flatpak or the Snap installs (spotifyDesktopEntries)
    // in XDG_DATA_HOME or an XDG_DATA_DIRS folder; else a "spotify" program on PATH.
    bool isSpotifyInstalled() override;
    // Launches the desktop entry as desktops do (GIO reads its Exec, Terminal
    // and DBusActivatable), else the "spotify" program. A client already on
    // the bus without either is asked to raise itself.
    bool openSpotify(bool activates) override;

    static inline const QStringList spotifyDesktopEntries{QStringLiteral("spotify.desktop"),
        QStringLiteral("com.spotify.Client.desktop"), QStringLiteral("spotify_spotify.desktop")};
    // The spotifyDesktopEntries the desktop would start, in that order, as file
    // paths: each name's first file in the data folders, unless it is hidden
    // (which hides that name's other files too) or names a program that is not there.
    static QStringList spotifyDesktopEntryPaths();
    // The first of them; empty when none.
    static QString spotifyDesktopEntry();
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
    // Some look-up has ended since construction.
    bool m_lookUpEnded = false;
    // Someone owns the player's name, as far as the bus last said.
    bool m_spotifyOwned = false;
    std::optional<QDBusConnection> m_systemBus;
    QString m_sessionPath;
};
