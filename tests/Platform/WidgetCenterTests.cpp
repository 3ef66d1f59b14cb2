#include "QtPrinters.h"
#include "WidgetCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
class SignalRecorder : public QObject {
    Q_OBJECT
public:
    QStringList kinds;
public slots:
    void onReload(const QString &kind) { kinds.append(kind); }
};
} // namespace

// On a private bus of its own, so no desktop bus is needed or touched.
TEST(DBusWidgetCenter, ReloadsAreSignalsOnTheBus)
{
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    if (!daemon.waitForStarted(5000) || !daemon.waitForReadyRead(5000))
        GTEST_SKIP() << "dbus-daemon is not available";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    {
        QDBusConnection sender = QDBusConnection::connectToBus(address, "sender");
        QDBusConnection listener = QDBusConnection::connectToBus(address, "listener");
        SignalRecorder recorder;
        ASSERT_TRUE(listener.connect(QString(), "/com/velbrandtoro/Orvel",
            "com.velbrandtoro.Orvel.WidgetCenter", "ReloadTimelines", &recorder, SLOT(onReload(QString))));
        DBusWidgetCenter center(sender);
        center.reloadTimelines("OrvelNowPlaying");
        center.reloadAllTimelines();
        const QDeadlineTimer deadline(10000);
        while (recorder.kinds.size() < 2 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EXPECT_EQ(recorder.kinds, (QStringList{"OrvelNowPlaying", ""}));
    }
    QDBusConnection::disconnectFromBus("sender");
    QDBusConnection::disconnectFromBus("listener");
    daemon.kill();
    daemon.waitForFinished(5000);
}

#include "WidgetCenterTests.moc"
