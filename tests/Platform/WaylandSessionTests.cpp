#include "QtPrinters.h"
#include "ScopedEnvironment.h"
#include "ScriptedCompositor.h"
#include "WaylandSession.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

// Our connection to a compositor scripted on libwayland-server: what it
// reads, and how it takes a compositor that misbehaves or goes away.
namespace {
const QRect left(0, 0, 1920, 1080);
const QRect right(1920, 0, 1280, 1024);

class WaylandSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(compositor.running()) << "no socket at " << compositor.socket().toStdString();
        dell = compositor.addOutput("DP-1", "Dell Inc.", "U2720Q", left);
        lg = compositor.addOutput("HDMI-A-1", "LG", "27UL850", right);
        session = WaylandSession::connectTo(compositor.socket());
        ASSERT_TRUE(session);
        ASSERT_TRUE(QTest::qWaitFor([&] { return session->settled(); }, 5000));
    }

    // The outputs the session's windows make full screen.
    QSet<std::uint32_t> covered() const
    {
        return WaylandOutputs::fullScreenOutputs(session->toplevels(), session->outputs());
    }
    std::uint32_t idOf(const QString &name) const
    {
        for (const WaylandOutput &output : session->outputs()) {
            if (output.name == name)
                return output.id;
        }
        return 0;
    }
    template<class Condition>
    static bool soon(Condition condition)
    {
        return QTest::qWaitFor(condition, 5000);
    }

    ScriptedCompositor compositor;
    int dell = -1;
    int lg = -1;
    std::unique_ptr<WaylandSession> session;
};
} // namespace

TEST_F(WaylandSessionTest, OutputsAreReadWithTheirConnectorMonitorPlaceAndSizeAndFollowedAsTheyComeAndGo)
{
    const QList<WaylandOutput> outputs = session->outputs();
    ASSERT_EQ(outputs.size(), 2);
    EXPECT_EQ(outputs[0].name, "DP-1");
    EXPECT_EQ(outputs[0].make, "Dell Inc.");
    EXPECT_EQ(outputs[0].model, "U2720Q");
    EXPECT_EQ(outputs[0].area, left);
    EXPECT_EQ(outputs[1].area, right);
    EXPECT_EQ(session->windows(), WaylandSession::Windows::wlroots);

    QSignalSpy changed(session.get(), &WaylandSession::outputsChanged);
    const int third = compositor.addOutput("DP-2", "", "", QRect(-800, 0, 800, 600));
    ASSERT_TRUE(soon([&] { return session->outputs().size() == 3; }));
    EXPECT_EQ(session->outputs().back().area, QRect(-800, 0, 800, 600));
    compositor.removeOutput(third);
    compositor.removeOutput(dell);
    ASSERT_TRUE(soon([&] { return session->outputs().size() == 1; }));
    EXPECT_EQ(session->outputs()[0].name, "HDMI-A-1");
    EXPECT_GE(changed.count(), 2);
}

TEST_F(WaylandSessionTest, AFullScreenWindowCoversItsOutputsUntilItLeavesFullScreenIsMinimisedOrCloses)
{
    QSignalSpy changed(session.get(), &WaylandSession::toplevelsChanged);
    const int video = compositor.addToplevel(true, {lg});
    ASSERT_TRUE(soon([&] { return !covered().isEmpty(); }));
    EXPECT_EQ(covered(), QSet<std::uint32_t>{idOf("HDMI-A-1")});

    const struct {
        const char *what;
        bool fullScreen, minimized;
        QList<int> outputs;
        QSet<QString> expected;
    } steps[] = {
        {"moved across both", true, false, {dell, lg}, {"DP-1", "HDMI-A-1"}},
        {"left full screen", false, false, {dell}, {}},
        {"full screen again", true, false, {dell}, {"DP-1"}},
        {"minimised", true, true, {dell}, {}},
        {"on no output", true, false, {}, {}},
        {"back on the right", true, false, {lg}, {"HDMI-A-1"}},
    };
    for (const auto &step : steps) {
        compositor.setToplevel(video, step.fullScreen, step.minimized, step.outputs);
        QSet<std::uint32_t> expected;
        for (const QString &name : step.expected)
            expected.insert(idOf(name));
        EXPECT_TRUE(soon([&] { return covered() == expected; })) << step.what;
    }

    const int changes = int(changed.count());
    compositor.closeToplevel(video);
    ASSERT_TRUE(soon([&] { return session->toplevels().isEmpty(); }));
    EXPECT_TRUE(covered().isEmpty());
    EXPECT_EQ(changed.count(), changes + 1) << "a window's close is one change";
}

TEST_F(WaylandSessionTest, AWindowOnAnOutputThatWentCoversNothingAndTheRestStays)
{
    const int video = compositor.addToplevel(true, {dell});
    const int other = compositor.addToplevel(true, {lg});
    ASSERT_TRUE(soon([&] { return covered().size() == 2; }));
    // The compositor speaks of the output in the same breath as it takes it away.
    compositor.removeOutput(dell);
    compositor.enterAgain(video, dell);
    ASSERT_TRUE(soon([&] { return session->outputs().size() == 1; }));
    EXPECT_TRUE(soon([&] { return covered() == QSet<std::uint32_t>{idOf("HDMI-A-1")}; }));
    EXPECT_TRUE(session->connected());
    compositor.closeToplevel(other);
    EXPECT_TRUE(soon([&] { return covered().isEmpty(); }));
    EXPECT_TRUE(session->connected());
}

TEST_F(WaylandSessionTest, AProtocolErrorOrACompositorThatExitsDropsTheConnectionQuietly)
{
    for (const bool exits : {false, true}) {
        if (exits) {
            session = WaylandSession::connectTo(compositor.socket());
            ASSERT_TRUE(session && soon([&] { return session->settled(); }));
        }
        compositor.addToplevel(true, {dell});
        ASSERT_TRUE(soon([&] { return !covered().isEmpty(); }));
        QSignalSpy outputs(session.get(), &WaylandSession::outputsChanged);
        QSignalSpy toplevels(session.get(), &WaylandSession::toplevelsChanged);
        if (exits)
            compositor.exit();
        else
            compositor.breakProtocol();
        ASSERT_TRUE(soon([&] { return !session->connected(); })) << (exits ? "exit" : "error");
        EXPECT_TRUE(session->outputs().isEmpty());
        EXPECT_TRUE(session->toplevels().isEmpty());
        EXPECT_EQ(session->windows(), WaylandSession::Windows::none);
        EXPECT_EQ(outputs.count(), 1);
        EXPECT_EQ(toplevels.count(), 1);
        // Nothing more is read from the dropped connection.
        QTest::qWait(20);
        EXPECT_EQ(outputs.count(), 1);
    }
}

TEST(WaylandSession, NoCompositorIsNoSessionAndNoError)
{
    QTemporaryDir empty;
    EXPECT_FALSE(WaylandSession::connectTo(empty.filePath("wayland-none")));
    // An X11 session: not even the default socket is tried.
    ScopedEnvironment environment;
    environment.set("WAYLAND_DISPLAY", "");
    environment.set("XDG_RUNTIME_DIR", QFile::encodeName(empty.path()));
    ScriptedCompositor defaultSocket(empty.filePath("wayland-0"));
    ASSERT_TRUE(defaultSocket.running());
    EXPECT_FALSE(WaylandSession::connectToSession());
}

// A real compositor (weston, headless) killed under a running connection.
TEST(WaylandSession, AKilledCompositorIsDroppedQuietlyAndNothingWaitsOnIt)
{
    const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
    if (weston.isEmpty()) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            FAIL() << "weston is missing (scripts/install-deps --tests installs it)";
        GTEST_SKIP() << "needs weston";
    }
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess compositor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("DISPLAY");
    compositor.setProcessEnvironment(environment);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.start(weston,
        {"--backend=headless-backend.so", "--socket=wayland-weston", "--width=800", "--height=600",
            "--idle-time=0"});
    ASSERT_TRUE(compositor.waitForStarted(5000));
    const QString socket = runtime.filePath("wayland-weston");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo(socket + ".lock").exists() && QFileInfo::exists(socket); }, 10000))
        << compositor.readAll().toStdString();

    const auto session = WaylandSession::connectTo(socket);
    ASSERT_TRUE(session);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->settled() && !session->outputs().isEmpty(); }, 10000));
    const WaylandOutput output = session->outputs().constFirst();
    EXPECT_EQ(output.area, QRect(0, 0, 800, 600));
    EXPECT_EQ(WaylandOutputs::displayName(output), "weston headless");
    // Weston tells nothing of other programs' windows.
    EXPECT_EQ(session->windows(), WaylandSession::Windows::none);

    QSignalSpy outputs(session.get(), &WaylandSession::outputsChanged);
    compositor.kill();
    ASSERT_TRUE(compositor.waitForFinished(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !session->connected(); }, 5000));
    EXPECT_TRUE(session->outputs().isEmpty());
    EXPECT_EQ(outputs.count(), 1);
}
