#include "QtPrinters.h"
#include "WidgetCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
// A private session bus for the test, so no desktop bus is needed or touched.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (!m_daemon.waitForStarted(5000))
            return;
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) { }
        address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    QString address;

private:
    QProcess m_daemon;
};

class SignalRecorder : public QObject {
    Q_OBJECT
public:
    QStringList kinds;
public slots:
    void onReload(const QString &kind) { kinds.append(kind); }
};
} // namespace

TEST(DBusWidgetCenter, ReloadsAreSignalsOnTheSessionBus)
{
    PrivateBus bus;
    if (bus.address.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not available";
    QDBusConnection sender = QDBusConnection::connectToBus(bus.address, "widget-center-sender");
    QDBusConnection listener = QDBusConnection::connectToBus(bus.address, "widget-center-listener");
    ASSERT_TRUE(sender.isConnected());
    ASSERT_TRUE(listener.isConnected());
    SignalRecorder recorder;
    ASSERT_TRUE(listener.connect(QString(), "/com/velbrandtoro/Orvel", "com.velbrandtoro.Orvel.WidgetCenter",
        "ReloadTimelines", &recorder, SLOT(onReload(QString))));

    DBusWidgetCenter center(sender);
    center.reloadTimelines("OrvelNowPlaying");
    center.reloadAllTimelines();
    const QDeadlineTimer deadline(10000);
    while (recorder.kinds.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(recorder.kinds, (QStringList{"OrvelNowPlaying", ""}));

    QDBusConnection::disconnectFromBus("widget-center-sender");
    QDBusConnection::disconnectFromBus("widget-center-listener");
}

TEST(DBusWidgetCenter, ANotConnectedBusDropsReloadsQuietly)
{
    DBusWidgetCenter center(
        QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "widget-center-none"));
    EXPECT_NO_THROW(center.reloadAllTimelines());
    QDBusConnection::disconnectFromBus("widget-center-none");
}

TEST(WidgetCenter, TheSharedCenterCanBeReplacedByARecorder)
{
    {
        RecordingWidgetCenter recorder;
        WidgetCenter::setShared(&recorder);
        WidgetCenter::shared().reloadTimelines("OrvelShortcuts");
        WidgetCenter::shared().reloadAllTimelines();
        EXPECT_EQ(recorder.reloads, (QStringList{"OrvelShortcuts", ""}));
    }
    // A recorder that goes away uninstalls itself.
    EXPECT_NE(dynamic_cast<DBusWidgetCenter *>(&WidgetCenter::shared()), nullptr);
}

#include "WidgetCenterTests.moc"
