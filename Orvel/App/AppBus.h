#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// The app's face on the session bus. Owning its well-known name is what makes
// a process the one running Orvel: a later launch finds it taken and hands its
// URLs, or else the dashboard hand-over, to the owner.
class AppBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.velbrandtoro.Orvel.App")
public:
    static constexpr QLatin1String serviceName{"com.velbrandtoro.Orvel"};
    static constexpr QLatin1String objectPath{"/com/velbrandtoro/Orvel"};
    static constexpr QLatin1String interface {
        "com.velbrandtoro.Orvel.App"
    };
    // The ".showDashboard" notification as a signal: member showDashboard of this interface.
    static constexpr QLatin1String notificationInterface{"com.velbrandtoro.Orvel"};
    static constexpr QLatin1String showDashboardMember{"showDashboard"};
    // How long a second launch waits for the running one to take its URLs.
    static constexpr int forwardTimeoutMs = 5000;

    enum class Claim {
        owned, // this process is the one instance
        taken, // another process runs Orvel
        noBus, // no session bus: nobody to ask, so this process runs alone
    };

    explicit AppBus(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~AppBus() override;

    // "<bundle id>.showDashboard".
    static QString showDashboardNotification();

    // Takes the name without queueing for it, so that of two copies started
    // together exactly one wins; the owner exports its object and listens for hand-overs.
    Claim claim();
    // From a launch that lost the claim: the URLs to the owner, in order, or
    // without URLs the dashboard hand-over. False only when the name has no
    // owner any more (it quit meanwhile), so the claim is worth another try.
    bool forward(const QStringList &urls);

public slots:
    // Exported methods.
    Q_SCRIPTABLE void OpenURLs(const QStringList &urls);
    // "ok", or the intent's error; the reply is sent once the command has run.
    Q_SCRIPTABLE QString PerformPlaybackIntent(const QString &action);

signals:
    void urlsReceived(const QList<QUrl> &urls);
    void showDashboardRequested();

private slots:
    void onShowDashboard();

private:
    QDBusConnection m_bus;
    bool m_registered = false;
};
