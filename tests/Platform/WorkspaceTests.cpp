#include "ScopedEnvironment.h"
#include "Workspace.h"
#include "fixtures/FakeSpotify.h"
#include "fixtures/FrozenBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
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

// A home, system folders as a Flatpak and a Snap add them, and a PATH with
// nothing on it (no gtk-launch either), all in a temporary directory.
struct LinuxInstall {
    LinuxInstall()
    {
        environment.set("XDG_DATA_HOME", path("home").toUtf8());
        environment.set("XDG_DATA_DIRS",
            (path("usr/share") + ':' + path("flatpak/exports/share") + ':' + path("snapd/desktop")).toUtf8());
        QDir().mkpath(path("bin"));
        environment.set("PATH", path("bin").toUtf8());
    }
    QString path(const QString &relative) const { return dir.filePath(relative); }
    void write(const QString &relative, const QByteArray &text, bool executable = false)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeUser);
    }
    // A program that writes its arguments to `marker`.
    QString program(const QString &name, const QString &marker)
    {
        write(name, "#!/bin/sh\necho \"started $*\" > '" + path(marker).toUtf8() + "'\n", true);
        return path(name);
    }
    QByteArray entry(const QString &exec)
    {
        return "[Desktop Entry]\nType=Application\nName=Spotify\nExec=" + exec.toUtf8()
            + " %U\nIcon=spotify-client\n";
    }

    QTemporaryDir dir;
    ScopedEnvironment environment;
};

bool spinUntilFile(const QString &path)
{
    return spinUntil([&] { return QFile::exists(path); });
}

} // namespace

// Where each Linux package of Spotify puts its entry; the desktop's launcher
// starts it, with no helper program on PATH.
TEST(DBusWorkspaceTest, EachPackagesEntryCountsAndIsLaunchedAsDesktopsDo)
{
    struct Case {
        const char *name;
        QString entry;
    };
    const Case cases[] = {
        {"Debian package", "usr/share/applications/spotify.desktop"},
        {"Flatpak", "flatpak/exports/share/applications/com.spotify.Client.desktop"},
        {"Snap", "snapd/desktop/applications/spotify_spotify.desktop"},
        {"the user's own", "home/applications/spotify.desktop"},
    };
    LinuxInstall install;
    DBusWorkspace workspace(QDBusConnection(QStringLiteral("none")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(workspace.isSpotifyInstalled());
        EXPECT_FALSE(workspace.openSpotify(true));
        install.write(c.entry, install.entry(install.program("start", "launched")));
        EXPECT_TRUE(workspace.isSpotifyInstalled());
        EXPECT_EQ(DBusWorkspace::spotifyDesktopEntry(), install.path(c.entry));
        EXPECT_TRUE(workspace.openSpotify(true));
        EXPECT_TRUE(spinUntilFile(install.path("launched")));
        QFile::remove(install.path("launched"));
        QFile::remove(install.path(c.entry));
    }
}

// An entry the desktop would not start (its program gone, or hidden) is no
// Spotify: the next package's entry is, then the program.
TEST(DBusWorkspaceTest, AnEntryThatCannotStartGivesWayToTheNextAndThenTheProgram)
{
    LinuxInstall install;
    DBusWorkspace workspace(QDBusConnection(QStringLiteral("none")));
    install.write("home/applications/spotify.desktop",
        install.entry(install.path("gone/spotify")) + "TryExec=" + install.path("gone/spotify").toUtf8()
            + "\n");
    EXPECT_FALSE(workspace.isSpotifyInstalled());
    EXPECT_FALSE(workspace.openSpotify(true)); // nothing started: the app says so
    const QString flatpak = "flatpak/exports/share/applications/com.spotify.Client.desktop";
    install.write(flatpak, install.entry(install.program("flatpak-spotify", "launched")));
    EXPECT_EQ(DBusWorkspace::spotifyDesktopEntry(), install.path(flatpak));
    EXPECT_TRUE(workspace.openSpotify(true));
    EXPECT_TRUE(spinUntilFile(install.path("launched")));
    QFile::remove(install.path("launched"));

    // The user's hidden copy hides that name's entry in every folder.
    install.write("home/applications/com.spotify.Client.desktop",
        install.entry(install.path("flatpak-spotify")) + "Hidden=true\n");
    EXPECT_FALSE(workspace.isSpotifyInstalled());
    install.program("bin/spotify", "launched");
    EXPECT_TRUE(workspace.openSpotify(true));
    EXPECT_TRUE(spinUntilFile(install.path("launched")));
}

// An entry for the bus to start, where the session bus cannot: its Exec line runs.
TEST(DBusWorkspaceTest, ABusActivatedEntryTheBusCannotStartRunsItsExecLine)
{
    PrivateBus bus; // found on PATH before it is emptied
    LinuxInstall install;
    install.environment.set("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    DBusWorkspace workspace(bus.connection());
    install.write("flatpak/exports/share/applications/com.spotify.Client.desktop",
        install.entry(install.program("flatpak-spotify", "launched")) + "DBusActivatable=true\n");
    EXPECT_TRUE(workspace.openSpotify(true));
    EXPECT_TRUE(spinUntilFile(install.path("launched")));
}

// A client from an unpacked archive has neither entry nor program.
TEST(DBusWorkspaceTest, AClientOnTheBusIsInstalledForAsLongAsItRuns)
{
    PrivateBus bus; // found on PATH before it is emptied
    LinuxInstall install;
    auto spotify = std::make_unique<FakeSpotify>(bus);
    DBusWorkspace workspace(bus.connection());
    ASSERT_TRUE(spinUntil([&] { return workspace.spotifyProcessIdentifier().has_value(); }));
    EXPECT_TRUE(workspace.isSpotifyInstalled());
    // With nothing to start, opening brings the running client forward.
    EXPECT_TRUE(workspace.openSpotify(true));
    EXPECT_TRUE(spinUntil([&] { return spotify->calls().contains("Raise"); }));
    spotify->vanish();
    ASSERT_TRUE(spinUntil([&] { return !workspace.spotifyProcessIdentifier(); }));
    EXPECT_FALSE(workspace.isSpotifyInstalled());
}

// Until the bus's first answer, "no pid" is not "not running"; the end of the
// look-up is told, with the pid already known.
TEST(DBusWorkspaceTest, TheFirstLookUpIsPendingUntilTheBusAnswers)
{
    for (const bool running : {true, false}) {
        SCOPED_TRACE(running ? "running" : "not running");
        PrivateBus bus;
        std::unique_ptr<FakeSpotify> spotify = running ? std::make_unique<FakeSpotify>(bus) : nullptr;
        DBusWorkspace workspace(bus.connection());
        std::vector<std::optional<std::int32_t>> ends;
        QObject::connect(&workspace, &Workspace::spotifyLookUpEnded,
            [&] { ends.push_back(workspace.spotifyProcessIdentifier()); });
        EXPECT_TRUE(workspace.isLookingUpSpotify());
        ASSERT_TRUE(spinUntil([&] { return !ends.empty(); }));
        EXPECT_FALSE(workspace.isLookingUpSpotify());
        EXPECT_EQ(ends.front(), running ? std::optional(spotify->pid()) : std::nullopt);
        EXPECT_EQ(workspace.isSpotifyInstalled(), running);
    }
    // Without a bus nothing is awaited.
    EXPECT_FALSE(DBusWorkspace(QDBusConnection(QStringLiteral("none"))).isLookingUpSpotify());
}

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
