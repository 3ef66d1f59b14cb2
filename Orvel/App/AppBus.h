#pragma once

#include "Scheduler.h"

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
    // One call hands over at most this many URLs, each at most this long, and
    // one turn of the event loop takes at most maxPendingURLs from all calls;
    // the rest are dropped, so a flood of links costs little more than one.
    static constexpr int maxURLsPerCall = 64;
    static constexpr int maxURLLength = 2048;
    static constexpr int maxPendingURLs = 256;
    // What was dropped is logged as one count per burst: one line at most
    // this often, however many calls a flood makes.
    static constexpr double dropReportPause = 1.0;

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
    // The URLs of a launch or a call within the bounds above, in order. The
    // number left out is added to `dropped` when given, else logged.
    static QList<QUrl> acceptedURLs(const QStringList &urls, qsizetype *dropped = nullptr);

public slots:
    // Exported methods.
    // Answers at once; the URLs of every call that arrives meanwhile are
    // handed on together in the next turn of the event loop.
    Q_SCRIPTABLE void OpenURLs(const QStringList &urls);
    // "ok", or the intent's error; the reply is sent once the command has run.
    Q_SCRIPTABLE QString PerformPlaybackIntent(const QString &action);

signals:
    // One burst of URLs, in the order they came.
    void urlsReceived(const QList<QUrl> &urls);
    void showDashboardRequested();

private slots:
    void onShowDashboard();
    void deliverURLs();

private:
    void noteDropped(qsizetype count);
    void reportDropped();

    QDBusConnection m_bus;
    bool m_registered = false;
    QList<QUrl> m_pendingURLs;
    bool m_deliveryQueued = false;
    qsizetype m_droppedURLs = 0;
    TaskHandle m_dropReport;
};
