#include "Workspace.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

// Sleep and wake come from logind's PrepareForSleep, here sent by a stand-in on a private bus.
TEST(DBusWorkspaceTest, FollowsLogindSleepAndWake)
{
    PrivateBus bus;
    const QString name = QStringLiteral("orvel-login1");
    QDBusConnection login1 = QDBusConnection::connectToBus(bus.address(), name);
    ASSERT_TRUE(login1.registerService(QStringLiteral("org.freedesktop.login1")));

    DBusWorkspace workspace(bus.connection());
    workspace.watchSleepAndSession(bus.connection());
    QStringList seen;
    QObject::connect(&workspace, &Workspace::willSleep, [&] { seen << "sleep"; });
    QObject::connect(&workspace, &Workspace::didWake, [&] { seen << "wake"; });
    // Let the match rules reach the bus before anything is sent.
    bus.connection().interface()->isServiceRegistered(QStringLiteral("org.freedesktop.login1"));

    for (const bool starting : {true, false}) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
        signal << starting;
        login1.send(signal);
    }
    // Waits for the bus's delivery, bounded.
    for (QDeadlineTimer guard(5000); seen.size() < 2 && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(seen, QStringList({"sleep", "wake"}));
    QDBusConnection::disconnectFromBus(name);
}
