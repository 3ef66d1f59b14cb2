#include "AppBus.h"

#include "Bundle.h"
#include "Scheduler.h"
#include "SpotifyPlaybackIntent.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLoggingCategory>
#include <QPointer>
#include <algorithm>
#include <utility>

namespace {
Q_LOGGING_CATEGORY(lcAppBus, "com.velbrandtoro.Orvel.AppBus")
}

AppBus::AppBus(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
}

AppBus::~AppBus()
{
    m_dropReport.cancel();
    reportDropped();
    if (m_registered)
        m_bus.unregisterObject(objectPath);
}

QString AppBus::showDashboardNotification()
{
    static const QString name = QString(Bundle::identifier) + QStringLiteral(".showDashboard");
    return name;
}

AppBus::Claim AppBus::claim()
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return Claim::noBus;
    // The object is in place before the name appears, so a caller that sees the
    // name always finds something to call.
    if (!m_registered)
        m_registered = m_bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
        = m_bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
            QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        qCWarning(lcAppBus) << "The session bus refused the app's name:" << reply.error().message();
        return Claim::noBus;
    }
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        m_bus.unregisterObject(objectPath);
        m_registered = false;
        return Claim::taken;
    }
    m_bus.connect(
        QString(), QString(), notificationInterface, showDashboardMember, this, SLOT(onShowDashboard()));
    return Claim::owned;
}

bool AppBus::forward(const QStringList &urls)
{
    if (urls.isEmpty()) {
        const auto signal
            = QDBusMessage::createSignal(objectPath, notificationInterface, showDashboardMember);
        if (!m_bus.send(signal))
            return false;
        // A round trip to the bus daemon: once it answers, the signal has left this process.
        m_bus.interface()->isServiceRegistered(serviceName);
        return true;
    }
    auto call
        = QDBusMessage::createMethodCall(serviceName, objectPath, interface, QStringLiteral("OpenURLs"));
    call.setArguments({urls});
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, forwardTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return false;
    // A running copy that does not answer keeps the name; a second one must not start beside it.
    qCWarning(lcAppBus) << "The running Orvel did not take the URLs:" << reply.errorMessage();
    return true;
}

QList<QUrl> AppBus::acceptedURLs(const QStringList &urls, qsizetype *dropped)
{
    QList<QUrl> accepted;
    for (const QString &text : urls) {
        if (accepted.size() == maxURLsPerCall)
            break;
        if (text.size() <= maxURLLength)
            accepted.append(QUrl(text));
    }
    if (dropped)
        *dropped += urls.size() - accepted.size();
    else if (accepted.size() < urls.size())
        qCWarning(lcAppBus) << "Dropped" << urls.size() - accepted.size() << "of" << urls.size()
                            << "URLs: too many or too long";
    return accepted;
}

void AppBus::OpenURLs(const QStringList &urls)
{
    qsizetype dropped = 0;
    const QList<QUrl> accepted = acceptedURLs(urls, &dropped);
    const qsizetype taken = std::min(maxPendingURLs - m_pendingURLs.size(), accepted.size());
    m_pendingURLs.append(accepted.first(taken));
    noteDropped(dropped + accepted.size() - taken);
    if (m_deliveryQueued)
        return;
    m_deliveryQueued = true;
    QMetaObject::invokeMethod(this, &AppBus::deliverURLs, Qt::QueuedConnection);
}

void AppBus::noteDropped(qsizetype count)
{
    if (count == 0)
        return;
    m_droppedURLs += count;
    if (m_dropReport.isValid() && !m_dropReport.isFinished())
        return;
    Scheduler &scheduler = Scheduler::current();
    m_dropReport
        = scheduler.spawn([&scheduler, guard = QPointer<AppBus>(this)](TaskHandle self) -> QCoro::Task<void> {
              const bool slept = co_await scheduler.sleep(dropReportPause, self);
              if (slept && guard)
                  guard->reportDropped();
          });
}

void AppBus::reportDropped()
{
    if (m_droppedURLs == 0)
        return;
    qCWarning(lcAppBus) << "Dropped" << m_droppedURLs << "URLs: too many or too long";
    m_droppedURLs = 0;
}

void AppBus::deliverURLs()
{
    m_deliveryQueued = false;
    const QList<QUrl> urls = std::exchange(m_pendingURLs, {});
    if (!urls.isEmpty())
        emit urlsReceived(urls);
}

QString AppBus::PerformPlaybackIntent(const QString &action)
{
    const auto parsed = fromRawValue<WidgetPlaybackAction>(action);
    if (!parsed) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("Unknown playback action: ") + action);
        return {};
    }
    setDelayedReply(true);
    const QDBusMessage request = message();
    QDBusConnection connection = this->connection();
    Scheduler::current().spawn([request, connection, parsed](TaskHandle) mutable -> QCoro::Task<void> {
        QString result = QStringLiteral("ok");
        try {
            co_await SpotifyPlaybackIntent(*parsed).perform();
        } catch (const PlaybackIntentError &error) {
            result = toRawValue(error.failure);
        } catch (const std::exception &error) {
            qCWarning(lcAppBus) << "The playback intent failed:" << error.what();
            result = toRawValue(PlaybackIntentFailure::requiresApp);
        }
        connection.send(request.createReply(result));
    });
    return {};
}

void AppBus::onShowDashboard()
{
    emit showDashboardRequested();
}
