#include "WidgetHostCommand.h"
#include "WidgetHostSurroundings.h"
#include "X11Compositor.h"
#include "X11Server.h"

#include <gtest/gtest.h>

// The widgets on two displays of different scales (the ctest
// "Widgets.OnTwoDisplays" runs tests/support/run-with-two-displays: DUMMY0 at
// 1x, the primary one, and DUMMY1 at 2x, each 1920x1080 pixels), moved,
// resized and switched with xrandr as a user's display settings do.
namespace {
constexpr QPoint nowhere{-1, -1};

struct Output {
    const char *name;
    QSize mode;
    QPoint at = nowhere; // off
};

// The outputs set as given, all at once.
bool setOutputs(const QList<Output> &outputs)
{
    QStringList arguments;
    for (const Output &output : outputs) {
        arguments << "--output" << output.name;
        if (output.at == nowhere)
            arguments << "--off";
        else
            arguments << "--mode"
                      << QStringLiteral("%1x%2").arg(output.mode.width()).arg(output.mode.height()) << "--pos"
                      << QStringLiteral("%1x%2").arg(output.at.x()).arg(output.at.y());
    }
    return X11Server::run("xrandr", arguments) == 0;
}

const QSize fullHD(1920, 1080);
const QList<Output> sideBySide{{"DUMMY0", fullHD, {0, 0}}, {"DUMMY1", fullHD, {1920, 0}}};

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

// Qt has heard of every output as set: each on, where it was put, or off.
bool seen(const QList<Output> &outputs)
{
    return std::all_of(outputs.begin(), outputs.end(), [](const Output &output) {
        const QScreen *screen = screenNamed(output.name);
        if (output.at == nowhere)
            return !screen;
        return screen && screen->geometry().topLeft() == output.at
            && screen->geometry().size() * screen->devicePixelRatio() == output.mode;
    });
}

std::string shown(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

std::string shown(QPoint p)
{
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()).toStdString();
}

// The screens as Qt has them, for messages.
std::string screens()
{
    std::string text;
    for (const QScreen *screen : QGuiApplication::screens())
        text += " " + screen->name().toStdString() + " " + shown(screen->geometry()) + " x"
            + std::to_string(screen->devicePixelRatio());
    return text;
}

template<class Condition>
bool within5s(Condition condition)
{
    return QTest::qWaitFor(condition, 5000);
}

// The window's picture fills it exactly: clear with soft edges at each of
// its four corners, none cut off and no margin beside it.
bool whole(const QWindow &window)
{
    const QImage content = X11Server::content(window);
    return !content.isNull()
        && X11Server::clearWithSoftCorners(
            content, int(WidgetMetrics::cornerRadius * window.devicePixelRatio()));
}

// The part of the window the server shows, in its pixels.
QRect cut(const QWindow &window)
{
    return X11Server::shape(window).boundingRect();
}

// The server has the window there, in its pixels, and cuts none of it away
// but its rounded corners.
bool framedAt(const QWindow &window, const QRect &native)
{
    return X11Server::nativeGeometry(window) == native && cut(window) == QRect(QPoint(), native.size());
}

class WidgetHostOnTwoDisplays : public ::testing::Test, protected WidgetHostSurroundings {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !screenNamed("DUMMY0")
            || !screenNamed("DUMMY1")) {
            if (qEnvironmentVariableIsSet("ORVEL_REQUIRE_X11"))
                FAIL() << "needs two displays: run under tests/support/run-with-two-displays";
            GTEST_SKIP() << "needs two displays (ctest runs it as Widgets.OnTwoDisplays)";
        }
        ASSERT_EQ(screenNamed("DUMMY1")->devicePixelRatio(), 2.0) << "run with --scales 1,2";
        group.write(fixtures::playing());
        group.write(fixtures::shortcuts(5));
        ASSERT_TRUE(host = hostOfThePlugin());
    }
    void TearDown() override
    {
        host.reset();
        if (screenNamed("DUMMY0") && !seen(sideBySide)) {
            EXPECT_TRUE(setOutputs(sideBySide) && within5s([] { return seen(sideBySide); }));
        }
    }

    // Where the server should have a widget: on the output's pixels at its scale.
    static QRect expected(const Output &output, qreal scale, QPoint place, WidgetFamily family)
    {
        return QRect(output.at + place * scale, WidgetMetrics::size(family) * scale);
    }

    std::unique_ptr<WidgetHost> host;
};
} // namespace

TEST_F(WidgetHostOnTwoDisplays, EachWidgetWindowHasTheScaleOfItsDisplayWhereverThatDisplayLies)
{
    X11Compositor *compositor = X11Compositor::instance();
    ASSERT_TRUE(compositor);
    // Under a compositor the window is not cut: its own picture shows its edges.
    X11Server::CompositorStandIn compositing;
    ASSERT_TRUE(X11Server::within2s([&] { return compositor->isCompositing(); }));
    const struct {
        const char *layout;
        Output first, second;
    } layouts[] = {
        {"side by side", {"DUMMY0", fullHD, {0, 0}}, {"DUMMY1", fullHD, {1920, 0}}},
        {"the 2x display at the top-left", {"DUMMY0", fullHD, {1920, 0}}, {"DUMMY1", fullHD, {0, 0}}},
        {"offset below", {"DUMMY0", fullHD, {0, 0}}, {"DUMMY1", fullHD, {600, 1080}}},
    };
    const QList<WidgetPlacement> placements{
        {"OrvelNowPlaying", WidgetFamily::systemSmall, "", {24, 24}},
        {"OrvelNowPlaying", WidgetFamily::systemMedium, "DUMMY1", {24, 24}},
        {"OrvelShortcuts", WidgetFamily::systemLarge, "DUMMY1", {500, 100}},
    };
    for (const auto &[layout, first, second] : layouts) {
        ASSERT_TRUE(setOutputs({first, second}) && within5s([&] {
            return seen({first, second});
        })) << layout
            << ":" << screens();
        // Made afresh on this layout.
        host->show({});
        host->show(placements);
        ASSERT_EQ(host->placed().size(), 3u) << layout;
        for (const auto &placed : host->placed()) {
            const WidgetPlacement &placement = placed->placement();
            const bool primary = placement.screen.isEmpty();
            const QRect native
                = expected(primary ? first : second, primary ? 1 : 2, placement.position, placement.family);
            const QWindow &window = *placed->window();
            const std::string row
                = layout + (" " + placement.screen + " " + toRawValue(placement.family)).toStdString();
            EXPECT_TRUE(within5s([&] { return X11Server::nativeGeometry(window) == native; }))
                << row << ": " << shown(X11Server::nativeGeometry(window)) << " rather than "
                << shown(native);
            EXPECT_TRUE(within5s([&] { return whole(window); })) << row;
        }
    }
}

TEST_F(WidgetHostOnTwoDisplays, AWidgetDraggedOntoADisplayOfAnotherScaleTakesItsScaleAndIsKeptThereInPoints)
{
    // Without a compositor, where the window is cut to its rounded outline.
    ASSERT_TRUE(X11Compositor::instance() && !X11Compositor::instance()->isCompositing());
    const QString path = WidgetPlacementFile::standardPath();
    WidgetPlacementFile::save(path, {{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {1500, 40}}});
    host->follow(path);
    ASSERT_EQ(host->placed().size(), 1u);
    const QWindow &window = *host->placed()[0]->window();
    ASSERT_TRUE(within5s([&] { return framedAt(window, QRect(1500, 40, 364, 170)); }));

    // On the artist line, no button or link there; carried well into the 2x display.
    const QPoint grip(1700, 120);
    ASSERT_EQ(X11Server::run("xdotool",
                  {"mousemove", QString::number(grip.x()), QString::number(grip.y()), "mousedown", "1",
                      "mousemove", "2600", "400"}),
        0);
    const QRect secondDisplay(1920, 0, 1920, 1080);
    // Whole while it is still being dragged, not only once it is dropped.
    EXPECT_TRUE(within5s([&] {
        const QRect native = X11Server::nativeGeometry(window);
        return secondDisplay.contains(native) && native.size() == QSize(728, 340) && framedAt(window, native);
    })) << shown(X11Server::nativeGeometry(window))
        << " cut to " << shown(cut(window));
    ASSERT_EQ(X11Server::run("xdotool", {"mouseup", "1"}), 0);

    ASSERT_TRUE(
        within5s([&] { return WidgetPlacementFile::read(path).placements.value(0).screen == "DUMMY1"; }));
    const WidgetPlacement kept = WidgetPlacementFile::read(path).placements.value(0);
    // In points from the display's corner: its pixels at 2x are twice as far.
    const QRect dropped(secondDisplay.topLeft() + kept.position * 2, QSize(728, 340));
    EXPECT_TRUE(within5s([&] { return framedAt(window, dropped); }))
        << shown(X11Server::nativeGeometry(window)) << " cut to " << shown(cut(window)) << " for "
        << shown(kept.position);
}

TEST_F(WidgetHostOnTwoDisplays, WidgetsFollowTheirDisplaysAsTheyMoveResizeSwapAndComeBack)
{
    const QString path = WidgetPlacementFile::standardPath();
    const WidgetPlacement onPrimary{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {1480, 40}};
    const WidgetPlacement onSecond{"OrvelNowPlaying", WidgetFamily::systemSmall, "DUMMY1", {600, 300}};
    WidgetPlacementFile::save(path, {onPrimary, onSecond});
    const QByteArray stored = readFile(path);
    host->follow(path);
    ASSERT_EQ(host->placed().size(), 2u);
    const QWindow &primary = *host->placed()[0]->window();
    const QWindow &second = *host->placed()[1]->window();

    const QSize small(1280, 720);
    const struct {
        const char *step;
        QList<Output> outputs;
        QRect primary, second;
    } steps[] = {
        {"side by side", sideBySide, {1480, 40, 364, 170}, {1920 + 1200, 600, 340, 340}},
        {"swapped", {{"DUMMY0", fullHD, {1920, 0}}, {"DUMMY1", fullHD, {0, 0}}}, {1920 + 1480, 40, 364, 170},
            {1200, 600, 340, 340}},
        // Moved just far enough to lie wholly on it: 1280 - 364.
        {"the primary one shrunk", {{"DUMMY0", small, {1920, 0}}, {"DUMMY1", fullHD, {0, 0}}},
            {1920 + 916, 40, 364, 170}, {1200, 600, 340, 340}},
        {"the primary one grown again", {{"DUMMY0", fullHD, {1920, 0}}, {"DUMMY1", fullHD, {0, 0}}},
            {1920 + 1480, 40, 364, 170}, {1200, 600, 340, 340}},
        {"the second one off", {{"DUMMY0", fullHD, {0, 0}}, {"DUMMY1", fullHD}}, {1480, 40, 364, 170},
            {600, 300, 170, 170}},
        {"the second one back, lower", {{"DUMMY0", fullHD, {0, 0}}, {"DUMMY1", fullHD, {1920, 200}}},
            {1480, 40, 364, 170}, {1920 + 1200, 200 + 600, 340, 340}},
    };
    for (const auto &[step, outputs, primaryFrame, secondFrame] : steps) {
        ASSERT_TRUE(setOutputs(outputs) && within5s([&] { return seen(outputs); }))
            << step << ":" << screens();
        EXPECT_TRUE(within5s([&] {
            return framedAt(primary, primaryFrame) && framedAt(second, secondFrame);
        })) << step
            << ": " << shown(X11Server::nativeGeometry(primary)) << " cut to " << shown(cut(primary))
            << " and " << shown(X11Server::nativeGeometry(second)) << " cut to " << shown(cut(second));
    }
    // Nothing of it is written down: the places stay the user's.
    EXPECT_EQ(readFile(path), stored);
    EXPECT_EQ(host->placed()[0]->placement(), onPrimary);
    EXPECT_EQ(host->placed()[1]->placement(), onSecond);
}
