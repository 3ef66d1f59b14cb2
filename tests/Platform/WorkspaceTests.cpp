#include "Workspace.h"
#include "fixtures/FakeSpotify.h"
#include "fixtures/FrozenBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// Runs the event loop until done() holds, for at most ten seconds.
template<typename Condition>
bool spinUntil(Condition done)
{
    for (QDeadlineTimer guard(10000); !done() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return done();
}

// Records each signal with the pid the workspace reported when it came.
struct Seen {
    explicit Seen(Workspace &workspace)
    {
        QObject::connect(&workspace, &Workspace::applicationLaunched, [&](const QString &id) {
            events << "launched " + id;
            pids.push_back(workspace.spotifyProcessIdentifier());
        });
        QObject::connect(&workspace, &Workspace::applicationTerminated, [&](const QString &id) {
            events << "terminated " + id;
            pids.push_back(workspace.spotifyProcessIdentifier());
        });
    }
    QStringList events;
    std::vector<std::optional<std::int32_t>> pids;
};

} // namespace

TEST(DBusWorkspaceTest, SpotifyRunningAtStartIsFoundAndSeenLeaving)
{
    PrivateBus bus;
    FakeSpotify spotify(bus);
    DBusWorkspace workspace(bus.connection());
    Seen seen(workspace);
    ASSERT_TRUE(spinUntil([&] { return workspace.spotifyProcessIdentifier().has_value(); }));
    const std::int32_t pid = spotify.pid();
    EXPECT_EQ(workspace.spotifyProcessIdentifier(), pid);
    spotify.vanish();
    ASSERT_TRUE(spinUntil([&] { return seen.events.size() == 2; }));
    EXPECT_EQ(seen.events, QStringList({"launched com.spotify.client", "terminated com.spotify.client"}));
    EXPECT_EQ(seen.pids, (std::vector<std::optional<std::int32_t>>{pid, std::nullopt}));
    EXPECT_EQ(workspace.spotifyProcessIdentifier(), std::nullopt);
}

// Whoever refreshes on a launch finds the pid already known.
TEST(DBusWorkspaceTest, ALaunchIsReportedOnceItsPidIsKnown)
{
    PrivateBus bus;
    DBusWorkspace workspace(bus.connection());
    Seen seen(workspace);
    EXPECT_EQ(workspace.spotifyProcessIdentifier(), std::nullopt);
    FakeSpotify spotify(bus);
    ASSERT_TRUE(spinUntil([&] { return !seen.events.isEmpty(); }));
    EXPECT_EQ(seen.events, QStringList{"launched com.spotify.client"});
    EXPECT_EQ(seen.pids.front(), spotify.pid());
}

TEST(DBusWorkspaceTest, ASilentBusNeverHoldsUpTheCaller)
{
    PrivateBus bus;
    FakeSpotify spotify(bus);
    DBusWorkspace known(bus.connection());
    ASSERT_TRUE(spinUntil([&] { return known.spotifyProcessIdentifier().has_value(); }));

    FrozenBus frozen(bus);
    ASSERT_TRUE(frozen.isFrozen());
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(known.spotifyProcessIdentifier(), spotify.pid());
    DBusWorkspace fresh(bus.connection());
    Seen seen(fresh);
    EXPECT_EQ(fresh.spotifyProcessIdentifier(), std::nullopt);
    EXPECT_EQ(fresh.spotifyProcessIdentifier(), std::nullopt); // the look-up still waits
    // A caller held up waits the look-up's whole 2 s; one that is not takes
    // microseconds, however busy the machine.
    EXPECT_LT(elapsed.elapsed(), 1000);

    // The answer counts once it comes.
    frozen.thaw();
    ASSERT_TRUE(spinUntil([&] { return fresh.spotifyProcessIdentifier().has_value(); }));
    EXPECT_EQ(fresh.spotifyProcessIdentifier(), spotify.pid());
    EXPECT_EQ(seen.events, QStringList{"launched com.spotify.client"});
}

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
