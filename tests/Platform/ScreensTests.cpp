#include "FakeScreens.h"
#include "Screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
const QRect primary(0, 0, 1920, 1080);
} // namespace

TEST(Screens, AFrameAtTheTopOfThePrimaryDisplayIsAtQtsTopRow)
{
    EXPECT_EQ(Screens::toQt(Rect(100, 1042, 284, 38), primary), QRect(100, 0, 284, 38));
    EXPECT_EQ(Screens::toQt(Rect(0, 0, 20, 10), primary), QRect(0, 1070, 20, 10));
}

TEST(Screens, ADisplayAboveAndLeftOfThePrimaryComesBackUpward)
{
    const Rect up = Screens::fromQt(QRectF(-1280, -1024, 1280, 1024), primary);
    EXPECT_EQ(up, Rect(-1280, 1080, 1280, 1024));
    EXPECT_EQ(Screens::toQt(up, primary), QRect(-1280, -1024, 1280, 1024));
}

TEST(Screens, APrimaryDisplayAwayFromQtsOriginStaysTheOrigin)
{
    const QRect moved(500, 200, 1000, 800);
    EXPECT_EQ(Screens::fromQt(QRectF(moved), moved), Rect(0, 0, 1000, 800));
    EXPECT_EQ(Screens::toQt(Rect(10, 790, 50, 10), moved), QRect(510, 200, 50, 10));
    EXPECT_EQ(Screens::toQt(Point{10.5, 789.5}, moved), QPointF(510.5, 210.5));
}

TEST(Screens, OnlyWidthByHeightDeclaresANotch)
{
    EXPECT_EQ(Screens::parseNotch("200x38"), QSizeF(200, 38));
    EXPECT_EQ(Screens::parseNotch(" 185.5 X 32 "), QSizeF(185.5, 32));
    EXPECT_EQ(Screens::parseNotch(""), std::nullopt);
    EXPECT_EQ(Screens::parseNotch("200"), std::nullopt);
    EXPECT_EQ(Screens::parseNotch("0x38"), std::nullopt);
    EXPECT_EQ(Screens::parseNotch("200x38px"), std::nullopt);
}

TEST(Screens, ADeclaredNotchGivesTheGapTheInsetAndAVisibleFrameBelowIt)
{
    const ScreenInfo screen
        = FakeScreens::notched(FakeScreens::display("A", 1, Rect(0, 0, 1512, 982), true, 0), 200, 38);
    const ScreenGeometry geometry = screen.geometry();
    EXPECT_DOUBLE_EQ(geometry.notchWidth, 200);
    EXPECT_DOUBLE_EQ(geometry.topInset, 38);
    ASSERT_TRUE(geometry.notchMinX);
    EXPECT_DOUBLE_EQ(*geometry.notchMinX, 656);
    EXPECT_DOUBLE_EQ(geometry.visibleFrame.maxY(), 944);
}

TEST(Screens, WithoutTopAreasThereIsNoNotch)
{
    ScreenInfo screen = FakeScreens::display("A", 1, Rect(0, 0, 1512, 982), true);
    EXPECT_DOUBLE_EQ(screen.geometry().notchWidth, 0);
    EXPECT_FALSE(screen.geometry().notchMinX);
    // Overlapping areas are no housing either.
    screen.auxiliaryTopLeftArea = Rect(0, 950, 800, 32);
    screen.auxiliaryTopRightArea = Rect(700, 950, 812, 32);
    EXPECT_DOUBLE_EQ(screen.geometry().notchWidth, 0);
    EXPECT_FALSE(screen.geometry().notchMinX);
}

TEST(SystemScreens, ReportsQtsScreensNumberedAndWithThePrimaryAtTheOrigin)
{
    SystemScreens screens;
    const QList<ScreenInfo> list = screens.screens();
    ASSERT_EQ(list.size(), QGuiApplication::screens().size());
    const QScreen *qtPrimary = QGuiApplication::primaryScreen();
    const ScreenInfo &first = list.first();
    EXPECT_GT(first.number, 0u);
    EXPECT_TRUE(first.primary);
    EXPECT_EQ(first.frame, Rect(0, 0, qtPrimary->geometry().width(), qtPrimary->geometry().height()));
    EXPECT_EQ(first.name, qtPrimary->name());
    EXPECT_EQ(first.facts(),
        (DisplayFacts{qtPrimary->name(), qtPrimary->manufacturer(), qtPrimary->model(),
            qtPrimary->serialNumber(), first.number}));
    EXPECT_DOUBLE_EQ(first.geometry().notchWidth, 0);
}

TEST(SystemScreens, TheEnvironmentDeclaresANotchOnThePrimaryDisplay)
{
    qputenv("ORVEL_TEST_NOTCH", "180x32");
    SystemScreens screens;
    qunsetenv("ORVEL_TEST_NOTCH");
    const ScreenGeometry geometry = screens.screens().first().geometry();
    EXPECT_DOUBLE_EQ(geometry.notchWidth, 180);
    EXPECT_DOUBLE_EQ(geometry.topInset, 32);
}

TEST(SystemScreens, ThePointerIsThePixelsMiddleMeasuredUp)
{
    SystemScreens screens;
    QCursor::setPos(QPoint(40, 10));
    if (QCursor::pos() != QPoint(40, 10))
        GTEST_SKIP() << "this platform does not move the cursor";
    const int height = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(screens.pointer(), (Point{40.5, height - 10.5}));
}

TEST(SystemScreens, PlacesAWindowByItsUpwardFrame)
{
    SystemScreens screens;
    QWindow window;
    const int height = QGuiApplication::primaryScreen()->geometry().height();
    screens.place(window, Rect(30, height - 50, 120, 40));
    EXPECT_EQ(window.geometry(), QRect(30, 10, 120, 40));
}

TEST(FakeScreens, ReportsEveryReplacement)
{
    FakeScreens screens;
    QSignalSpy changed(&screens, &Screens::changed);
    screens.set({FakeScreens::display("A", 1, Rect(0, 0, 800, 600), true)});
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(screens.primaryGeometry(), QRect(0, 0, 800, 600));
}

TEST(Screens, AWaylandOutputNamesTheDisplayXWaylandLeftBlankAndKeepsWhatX11Knew)
{
    WaylandOutput dell;
    dell.name = "DP-1";
    dell.make = "Dell Inc.";
    dell.model = " DELL U2415 ";
    WaylandOutput virtualOutput;
    virtualOutput.name = "Virtual-0";
    virtualOutput.description = " ";
    const ScreenInfo xwayland = FakeScreens::display("XWAYLAND0", 1, Rect(0, 0, 1920, 1080), true);
    const ScreenInfo edid = FakeScreens::withMonitor(xwayland, "DEL", "DELL U2415", "7MT0186");
    const struct {
        const char *what;
        ScreenInfo screen;
        WaylandOutput output;
        QString name, x11Name, manufacturer, model, localizedName;
    } cases[] = {
        {"a monitor", xwayland, dell, "DP-1", "XWAYLAND0", "Dell Inc.", "DELL U2415", "Dell Inc. DELL U2415"},
        {"no monitor", xwayland, virtualOutput, "Virtual-0", "XWAYLAND0", "", "", "Virtual-0"},
        {"read by X11", edid, dell, "DP-1", "XWAYLAND0", "DEL", "DELL U2415", edid.localizedName},
        {"named alike", FakeScreens::display("DP-1", 1, Rect(0, 0, 1920, 1080), true), dell, "DP-1", "",
            "Dell Inc.", "DELL U2415", "Dell Inc. DELL U2415"},
        {"a nameless output", xwayland, WaylandOutput{}, "XWAYLAND0", "", "", "", xwayland.localizedName},
    };
    for (const auto &c : cases) {
        const ScreenInfo named = Screens::withOutput(c.screen, c.output);
        EXPECT_EQ(named.name, c.name) << c.what;
        EXPECT_EQ(named.x11Name, c.x11Name) << c.what;
        EXPECT_EQ(named.manufacturer, c.manufacturer) << c.what;
        EXPECT_EQ(named.model, c.model) << c.what;
        EXPECT_EQ(named.localizedName, c.localizedName) << c.what;
        EXPECT_EQ(named.frame, c.screen.frame) << c.what;
    }
}
