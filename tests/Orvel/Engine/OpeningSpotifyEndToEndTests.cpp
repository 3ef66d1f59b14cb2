#include "CoordinatorTestSupport.h"
#include "MprisAppleEventTransport.h"
#include "OnboardingFlow.h"
#include "ScopedEnvironment.h"
#include "SpotifyBridge.h"
#include "Workspace.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <csignal>

namespace {

// Runs the event loop until done() holds, for at most ten seconds, moving the
// clock to each pause's end whenever something sleeps and nothing else is due.
template<typename Condition>
bool spinUntil(ManualScheduler &clock, Condition done, bool movesClock)
{
    for (QDeadlineTimer guard(10000); !done() && !guard.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (done())
            break;
        if (const auto next = clock.nextDeadline(); movesClock && next)
            clock.advance(*next);
        else
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return done();
}

// A Flatpak whose exported entry starts the fake client, slow to reach the
// bus: it takes the player's name only when the test says so.
struct SlowFlatpak {
    explicit SlowFlatpak(const PrivateBus &bus)
    {
        const QString script = dir.filePath("flatpak-run");
        QFile run(script);
        run.open(QIODevice::WriteOnly);
        run.write("#!/bin/sh\nDBUS_SESSION_BUS_ADDRESS='" + bus.address().toUtf8() + "' exec '"
            + FakeSpotify::program().toUtf8() + "' --hold '" + dir.path().toUtf8() + "'\n");
        run.close();
        run.setPermissions(run.permissions() | QFileDevice::ExeUser);
        const QString entries = dir.filePath("exports/share/applications");
        QDir().mkpath(entries);
        QFile entry(entries + "/com.spotify.Client.desktop");
        entry.open(QIODevice::WriteOnly);
        entry.write("[Desktop Entry]\nType=Application\nName=Spotify\nExec=" + script.toUtf8() + " %U\n");
        entry.close();
        environment.set("XDG_DATA_HOME", dir.filePath("home").toUtf8());
        environment.set("XDG_DATA_DIRS", dir.filePath("exports/share").toUtf8());
        QDir().mkpath(dir.filePath("bin"));
        environment.set("PATH", dir.filePath("bin").toUtf8());
    }
    ~SlowFlatpak()
    {
        if (const qint64 pid = startedPid(); pid > 0)
            ::kill(pid_t(pid), SIGKILL);
    }
    bool started() const { return QFile::exists(dir.filePath("started")); }
    qint64 startedPid() const
    {
        QFile file(dir.filePath("started"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toLongLong() : 0;
    }
    void reachTheBus() { QFile(dir.filePath("go")).open(QIODevice::WriteOnly); }

    QTemporaryDir dir;
    ScopedEnvironment environment;
};

// The guided setup over the real bridge and workspace on a private bus.
class OpeningSpotify : public CoordinatorTest {
protected:
    OpeningSpotify()
    {
        const auto answered = [&] { return !busWorkspace.isLookingUpSpotify(); };
        EXPECT_TRUE(spinUntil(clock, answered, false));
        auto bridge
            = std::make_shared<SpotifyBridge>(std::make_shared<MprisAppleEventTransport>(bus.connection()),
                AutomationPermission(AutomationConsentRecord(dir.filePath("automation.json")),
                    [this](const QString &) {
                        ++questions;
                        return std::optional<bool>(true); // Allow
                    }),
                clock);
        PlaybackCoordinator::Services services = this->services(bridge, container());
        services.workspace = &busWorkspace;
        coordinator = std::make_unique<PlaybackCoordinator>(std::move(services));
        flow.setPreferences(&preferences);
        flow.setPlayer(coordinator.get());
    }
    ~OpeningSpotify() override
    {
        coordinator->flush();
        clock.advance(60);
        coordinator.reset();
    }

    PrivateBus bus;
    SlowFlatpak flatpak{bus};
    DBusWorkspace busWorkspace{bus.connection()};
    std::atomic<int> questions = 0;
    ScopedScheduler installed{clock};
    OnboardingFlow flow;
};

} // namespace

TEST_F(OpeningSpotify, OnePressStartsASlowClientAndPutsTheQuestionOnceItIsThere)
{
    EXPECT_TRUE(coordinator->isSpotifyInstalled());
    run(coordinator->refresh());
    EXPECT_EQ(coordinator->snapshot().availability, PlayerAvailability::notRunning);
    flow.advance();
    flow.connect();
    clock.runUntilIdle();
    const auto started = [&] { return flatpak.started(); };
    ASSERT_TRUE(spinUntil(clock, started, false));

    // Seconds go by before the client reaches the bus; the setup keeps waiting.
    clock.advance(5);
    EXPECT_TRUE(flow.connecting());
    EXPECT_EQ(flow.primaryTitle(), QString::fromUtf8("Connecting…"));
    EXPECT_EQ(questions, 0);

    flatpak.reachTheBus();
    const auto onTheBus = [&] { return busWorkspace.spotifyProcessIdentifier().has_value(); };
    ASSERT_TRUE(spinUntil(clock, onTheBus, false));
    const auto answered = [&] { return !flow.connecting(); };
    EXPECT_TRUE(spinUntil(clock, answered, true));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(busWorkspace.spotifyProcessIdentifier(), flatpak.startedPid());
    EXPECT_TRUE(flow.connected());
    EXPECT_EQ(flow.primaryTitle(), "Continue");
}
