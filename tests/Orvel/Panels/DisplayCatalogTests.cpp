#include "AppRoot.h"
#include "DisplayCatalog.h"
#include "FakeWorkspace.h"
#include "PanelTestSupport.h"
#include "PlaybackCoordinator.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "RecordingAnnouncer.h"
#include "ScriptedSpotify.h"
#include "TemporaryHome.h"

#include <QFontInfo>
#include <QQmlComponent>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
class DisplayCatalogTest : public ::testing::Test {
protected:
    DisplayCatalogTest() { world.screens.list = {monitor(), laptop()}; }

    std::unique_ptr<DisplayCatalog> make()
    {
        return std::make_unique<DisplayCatalog>(DisplayCatalog::Services{&world.screens, &world.clock,
            [this](const DisplayCatalog::Display &) { return world.makeWindow(); }, &world.preferences});
    }

    PanelWorld world;
};
} // namespace

TEST_F(DisplayCatalogTest, NumbersAreListPositionsAndTitlesCarryThem)
{
    const auto catalog = make();
    ASSERT_EQ(catalog->displays().size(), 2);
    const auto &second = catalog->displays()[1];
    // The laptop's screen number is 1, but it is second in the list.
    EXPECT_EQ(second.number, 2);
    EXPECT_EQ(second.id, "eDP-1");
    EXPECT_EQ(second.title(), "2. eDP-1");
    EXPECT_TRUE(second.isPrimary);
    EXPECT_FALSE(catalog->displays()[0].isPrimary);
}

TEST_F(DisplayCatalogTest, SizesAreWholePointsCutTowardsZero)
{
    DisplayCatalog::Display display;
    display.frame = Rect(0, 0, 1512.5, 982.9);
    EXPECT_EQ(display.sizeText(), QString::fromUtf8("1512 \u00d7 982"));
}

TEST_F(DisplayCatalogTest, AScreenWithoutANameIsKnownByItsNumber)
{
    ScreenInfo unnamed = monitor();
    unnamed.name.clear();
    unnamed.number = 7;
    EXPECT_EQ(DisplayCatalog::identifier(unnamed), "display-7");
    EXPECT_EQ(DisplayCatalog::identifier(monitor()), "HDMI-1");
}

TEST_F(DisplayCatalogTest, RearrangingKeepsIdsAndRenumbersOnALaterTurn)
{
    const auto catalog = make();
    QSignalSpy changed(catalog.get(), &DisplayCatalog::displaysChanged);
    world.screens.set({laptop(), monitor()});
    EXPECT_EQ(changed.count(), 0);
    world.clock.runUntilIdle();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(catalog->displays()[0].id, "eDP-1");
    EXPECT_EQ(catalog->displays()[0].title(), "1. eDP-1");
    EXPECT_EQ(catalog->displays()[1].id, "HDMI-1");
}

TEST_F(DisplayCatalogTest, ChoicesStoredUnderAnOutputNameMoveToTheMonitorThereOnce)
{
    world.preferences.setPlayerPosition(PlayerPosition(0.2, 0.4), "HDMI-1");
    world.preferences.setSelectedDisplayID(QStringLiteral("HDMI-1"));
    world.preferences.setSkin(Skin::rivista);
    world.screens.list = {FakeScreens::withMonitor(monitor(), "Dell Inc.", "U2720Q", "5KC0353"), laptop()};
    const auto catalog = make();
    const QString id = "edid:Dell Inc./U2720Q/5KC0353";
    const QMap<QString, PlayerPosition> carried{{id, {0.2, 0.4}}};
    // Written back beside everything else stored.
    const Defaults written{world.dir.filePath("defaults.json")};
    EXPECT_EQ(written.value<QString>("selectedDisplayID"), id);
    EXPECT_EQ(written.value<QString>("skin"), "rivista");
    EXPECT_TRUE(written.value<QByteArray>("playerPositions")->contains(id.toUtf8()));
    EXPECT_EQ(world.preferences.playerPositions(), carried);

    // Another monitor on that output later takes nothing of the first one's.
    world.screens.set({FakeScreens::withMonitor(monitor(), "LG", "27UL850", "1"), laptop()});
    world.clock.runUntilIdle();
    EXPECT_EQ(world.preferences.playerPositions(), carried);
    EXPECT_EQ(world.preferences.selectedDisplayID(), id);
}

TEST_F(DisplayCatalogTest, ChoicesStoredUnderXWaylandsNameMoveToTheMonitorTheCompositorNames)
{
    world.preferences.setPlayerPosition(PlayerPosition(0.2, 0.4), "XWAYLAND0");
    world.preferences.setPlayerPosition(PlayerPosition(0.6, 0.1), "XWAYLAND1");
    world.preferences.setSelectedDisplayID(QStringLiteral("XWAYLAND1"));
    WaylandOutput dell;
    dell.name = "DP-1";
    dell.make = "Dell Inc.";
    dell.model = "U2720Q";
    WaylandOutput bare;
    bare.name = "Virtual-1";
    world.screens.list = {
        Screens::withOutput(FakeScreens::display("XWAYLAND0", 1, Rect(0, 0, 1920, 1080), true), dell),
        Screens::withOutput(FakeScreens::display("XWAYLAND1", 2, Rect(1920, 0, 1280, 1024), false), bare)};
    const auto catalog = make();
    ASSERT_EQ(catalog->displays().size(), 2);
    EXPECT_EQ(catalog->displays()[0].id, "edid:Dell Inc./U2720Q/");
    EXPECT_EQ(catalog->displays()[0].title(), "1. Dell Inc. U2720Q");
    EXPECT_EQ(catalog->displays()[1].id, "Virtual-1");
    EXPECT_EQ(world.preferences.playerPositions(),
        (QMap<QString, PlayerPosition>{{"edid:Dell Inc./U2720Q/", {0.2, 0.4}}, {"Virtual-1", {0.6, 0.1}}}));
    EXPECT_EQ(world.preferences.selectedDisplayID(), "Virtual-1");
}

TEST_F(DisplayCatalogTest, ChoicesStoredUnderTheDashedMonitorIdMoveToTheCleanOneOnce)
{
    const QString dashed = "edid:Dell Inc./DELL U2720Q-/5KC0353-";
    const QString clean = "edid:Dell Inc./DELL U2720Q/5KC0353";
    world.preferences.setPlayerPosition(PlayerPosition(0.2, 0.4), dashed);
    // Stored when the id was the output's name, before the dashed one: the dashed one is newer.
    world.preferences.setPlayerPosition(PlayerPosition(0.6, 0.6), "HDMI-1");
    world.preferences.setPlayerPosition(PlayerPosition(0.9, 0.1), "eDP-1");
    world.preferences.setSelectedDisplayID(dashed);
    world.screens.list
        = {FakeScreens::withMonitor(monitor(), "Dell Inc.", "DELL U2720Q-", "5KC0353-"), laptop()};
    const auto catalog = make();
    EXPECT_EQ(catalog->displays()[0].id, clean);
    const QMap<QString, PlayerPosition> carried{{clean, {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}};
    EXPECT_EQ(world.preferences.playerPositions(), carried);
    EXPECT_EQ(world.preferences.selectedDisplayID(), clean);
    const Defaults written{world.dir.filePath("defaults.json")};
    EXPECT_EQ(written.value<QString>("selectedDisplayID"), clean);
    EXPECT_FALSE(written.value<QByteArray>("playerPositions")->contains("U2720Q-"));

    // Seen again, nothing moves: the clean place is the one kept.
    world.preferences.setPlayerPosition(PlayerPosition(0.3, 0.3), clean);
    catalog->refresh();
    EXPECT_EQ(world.preferences.playerPositions(),
        (QMap<QString, PlayerPosition>{{clean, {0.3, 0.3}}, {"eDP-1", {0.9, 0.1}}}));
}

TEST_F(DisplayCatalogTest, MirroredDisplaysAreOneEntryTheFirstOnesAndChoosingEitherChoosesIt)
{
    // The laptop mirrors the monitor: both at the monitor's place and size, the laptop primary.
    const ScreenInfo mirror = FakeScreens::display("eDP-1", 1, monitor().frame, true);
    const ScreenInfo side = FakeScreens::display("DP-2", 3, Rect(-800, 0, 800, 600), false);
    world.screens.list = {monitor(), mirror, side};
    const auto catalog = make();
    ASSERT_EQ(catalog->displays().size(), 2);
    EXPECT_EQ(catalog->displays()[0].id, "HDMI-1");
    EXPECT_TRUE(catalog->displays()[0].isPrimary) << "it shows what the primary display shows";
    EXPECT_EQ(catalog->displays()[1].title(), "2. DP-2");
    world.preferences.setDisplayScope(DisplayScope::primary);
    EXPECT_EQ(catalog->activeIDs(&world.preferences), QStringList{"HDMI-1"});
    world.preferences.setDisplayScope(DisplayScope::selected);
    world.preferences.setSelectedDisplayID(QStringLiteral("eDP-1"));
    EXPECT_EQ(catalog->activeIDs(&world.preferences), QStringList{"HDMI-1"});
    world.preferences.setSelectedDisplayID(QStringLiteral("DP-2"));
    EXPECT_EQ(catalog->activeIDs(&world.preferences), QStringList{"DP-2"});

    // One card each to identify them by.
    catalog->identify();
    EXPECT_EQ(catalog->identificationPanels().size(), 2u);
    world.clock.advance(3);
}

TEST_F(DisplayCatalogTest, ASingleDisplayIsActiveUnderEveryScope)
{
    world.screens.list = {monitor()};
    const auto catalog = make();
    for (const DisplayScope scope : {DisplayScope::all, DisplayScope::primary, DisplayScope::selected}) {
        world.preferences.setDisplayScope(scope);
        EXPECT_EQ(catalog->activeDisplayIDs(world.preferences), QSet<QString>{"HDMI-1"});
    }
}

TEST_F(DisplayCatalogTest, AnAbsentSelectionFallsBackToThePrimaryThenTheFirst)
{
    const auto catalog = make();
    world.preferences.setDisplayScope(DisplayScope::selected);
    world.preferences.setSelectedDisplayID(QStringLiteral("DP-9"));
    EXPECT_EQ(catalog->activeDisplayIDs(world.preferences), QSet<QString>{"eDP-1"});

    world.screens.list = {monitor(), FakeScreens::display("DP-2", 3, Rect(-800, 0, 800, 600), false)};
    catalog->refresh();
    EXPECT_EQ(catalog->activeDisplayIDs(world.preferences), QSet<QString>{"HDMI-1"});

    world.preferences.setSelectedDisplayID(QStringLiteral("DP-2"));
    EXPECT_EQ(catalog->activeIDs(&world.preferences), QStringList{"DP-2"});
    world.preferences.setDisplayScope(DisplayScope::all);
    EXPECT_EQ(catalog->activeIDs(&world.preferences), (QStringList{"HDMI-1", "DP-2"}));
}

TEST_F(DisplayCatalogTest, IdentifyCentresAClickThroughPanelOnEachDisplayForThreeSeconds)
{
    const auto catalog = make();
    catalog->identify();
    ASSERT_EQ(world.made.size(), 2u);
    const RecordingPanelWindow &onMonitor = *world.made[0];
    EXPECT_EQ(onMonitor.frame(), Rect(1512 + 960 - 140, 540 - 105, 280, 210));
    EXPECT_TRUE(onMonitor.ignoresMouseEvents());
    EXPECT_EQ(onMonitor.level(), 3);
    EXPECT_EQ(onMonitor.collectionBehavior(), 257u);
    EXPECT_TRUE(onMonitor.hasShadow());
    EXPECT_TRUE(onMonitor.isVisible());

    world.clock.advance(2.99);
    EXPECT_EQ(catalog->identificationPanels().size(), 2u);
    world.clock.advance(0.01);
    EXPECT_TRUE(catalog->identificationPanels().empty());
}

TEST_F(DisplayCatalogTest, IdentifyingAgainClosesTheFirstSetAtOnceAndKeepsTheSecondAFullThreeSeconds)
{
    const auto catalog = make();
    catalog->identify();
    world.clock.advance(2);
    const RecordingPanelWindow *first = world.made[0];
    EXPECT_TRUE(first->isVisible());
    catalog->identify();
    // The first set is gone with the call, not at its own deadline.
    EXPECT_EQ(catalog->identificationPanels().size(), 2u);
    EXPECT_EQ(catalog->identificationPanels()[0].get(), world.made[2]);
    world.clock.advance(2.9);
    EXPECT_EQ(catalog->identificationPanels().size(), 2u);
    world.clock.advance(0.1);
    EXPECT_TRUE(catalog->identificationPanels().empty());
}

TEST_F(DisplayCatalogTest, ViewsSeeTheDisplaysAsMaps)
{
    const auto catalog = make();
    QmlHarness harness;
    harness.provide(*catalog);
    const auto object = harness.create("import QtQml\nimport Orvel\nQtObject {\n"
                                       "    property var first: DisplayCatalog.displays[1]\n}\n");
    ASSERT_TRUE(object) << harness.errors().toStdString();
    const QVariantMap first = object->property("first").toMap();
    EXPECT_EQ(first.value("id").toString(), "eDP-1");
    EXPECT_EQ(first.value("number").toInt(), 2);
    EXPECT_EQ(first.value("title").toString(), "2. eDP-1");
    EXPECT_EQ(first.value("sizeText").toString(), QString::fromUtf8("1512 \u00d7 982"));
    EXPECT_EQ(first.value("primary").toBool(), true);
    EXPECT_EQ(first.value("frame").toMap().value("height").toDouble(), 982);
}

TEST(DisplayIdentificationView, ShowsTheNumberLargeAndTheRoleOfTheDisplay)
{
    QmlHarness harness;
    const auto view = harness.view(QUrl("qrc:/Orvel/Panels/DisplayIdentificationView.qml"),
        {{"number", 2}, {"name", "HDMI-1"}, {"primary", false}});
    ASSERT_TRUE(view) << harness.errors().toStdString();
    EXPECT_EQ(view->item()->width(), 280);
    EXPECT_EQ(view->item()->height(), 210);
    const auto text = [&](const char *name) { return view->item()->findChild<QObject *>(name); };
    ASSERT_TRUE(text("number") && text("role"));
    EXPECT_EQ(text("number")->property("text").toString(), "2");
    const QFont number = text("number")->property("font").value<QFont>();
    EXPECT_EQ(number.pixelSize(), 72);
    EXPECT_EQ(number.weight(), QFont::Light);
    EXPECT_EQ(QFontInfo(number).family(), "Quicksand Light"); // the rounded design
    EXPECT_EQ(text("role")->property("text").toString(), "Connected display");
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST(DisplayCatalogInTheApp, TheCompositionRootHandsViewsItsCatalogOfTheGivenScreens)
{
    TemporaryHome home;
    ManualScheduler clock;
    Defaults defaults{home.path("config/defaults.json")};
    RecordingWidgetCenter widgets;
    FakeWorkspace workspace;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    FakeScreens screens;
    screens.list = {laptop(), monitor()};
    AppRoot root{AppRoot::Outside{clock, defaults, widgets, workspace, login, announcer,
        std::make_shared<ScriptedSpotify>(clock),
        [&home] { return SharedStore(home.path("group"), home.path("support")); }, [] { return false; },
        nullptr, false, [] {}, &screens}};
    QQmlComponent component(&root.engine());
    component.setData(
        "import QtQml\nimport Orvel\nQtObject { property int count: DisplayCatalog.displays.length }",
        QUrl("qrc:/harness/Inline.qml"));
    const std::unique_ptr<QObject> object(component.create());
    ASSERT_TRUE(object) << component.errorString().toStdString();
    EXPECT_EQ(object->property("count").toInt(), 2);
    root.coordinator().flush();
    clock.runUntilIdle();
}
