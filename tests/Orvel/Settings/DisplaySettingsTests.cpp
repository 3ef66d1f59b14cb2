#include "DisplayCatalog.h"
#include "DisplayMapModel.h"
#include "DisplaySettingsModel.h"
#include "PanelTestSupport.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "Typography.h"

#include <QFontInfo>
#include <QQuickItem>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
QList<QQuickItem *> allNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    for (QQuickItem *child : root->childItems()) {
        if (child->objectName() == name)
            found << child;
        found << allNamed(child, name);
    }
    return found;
}

bool shown(QQuickItem *item)
{
    for (; item; item = item->parentItem())
        if (!item->isVisible())
            return false;
    return true;
}

ScreenInfo secondary(const QString &output, std::uint32_t number, const Rect &frame)
{
    return FakeScreens::display(output, number, frame, false);
}

class DisplaySettings : public ::testing::Test {
protected:
    PanelWorld world;
    ScopedScheduler installed{world.clock};
    std::unique_ptr<DisplayCatalog> catalog;
    DisplaySettingsModel model;
    // "id" and "scope", in the order the preferences were written.
    QStringList writes;

    void SetUp() override
    {
        world.screens.list = {monitor(), laptop()};
        catalog = makeCatalog();
        model.setPreferences(&world.preferences);
        model.setCatalog(catalog.get());
        QObject::connect(
            &world.preferences, &Preferences::selectedDisplayIDChanged, [this] { writes << "id"; });
        QObject::connect(
            &world.preferences, &Preferences::displayScopeChanged, [this] { writes << "scope"; });
    }
    std::unique_ptr<DisplayCatalog> makeCatalog()
    {
        return std::make_unique<DisplayCatalog>(DisplayCatalog::Services{&world.screens, &world.clock,
            [this](const DisplayCatalog::Display &) { return world.makeWindow(); }, &world.preferences});
    }
    void connect(const QList<ScreenInfo> &screens)
    {
        world.screens.set(screens);
        world.clock.runUntilIdle();
    }
    QStringList menuTitles() const
    {
        QStringList titles;
        for (const auto &entry : model.menu())
            titles << entry.title;
        return titles;
    }
};
} // namespace

TEST_F(DisplaySettings, ChoosingADisplayWithNothingStoredTakesThePrimaryThenTheScope)
{
    model.choose(QStringLiteral("selected"));
    EXPECT_EQ(world.preferences.selectedDisplayID(), "eDP-1");
    EXPECT_EQ(world.preferences.displayScope(), DisplayScope::selected);
    EXPECT_EQ(writes, (QStringList{"id", "scope"}));
    EXPECT_EQ(model.activeIDs(), QStringList{"eDP-1"});
    EXPECT_TRUE(model.showsMenu());
    EXPECT_EQ(model.menu()[std::size_t(model.menuIndex())].tag, "eDP-1");
}

TEST_F(DisplaySettings, WithoutAPrimaryTheFirstDisplayIsTakenAndWithoutDisplaysNoneButTheScopeStillChanges)
{
    connect({secondary("DP-1", 4, Rect(0, 0, 800, 600)), secondary("DP-2", 5, Rect(800, 0, 800, 600))});
    model.choose(DisplayScope::selected);
    EXPECT_EQ(world.preferences.selectedDisplayID(), "DP-1");

    world.preferences.setSelectedDisplayID(std::nullopt);
    world.preferences.setDisplayScope(DisplayScope::all);
    connect({});
    writes.clear();
    model.choose(DisplayScope::selected);
    EXPECT_EQ(world.preferences.selectedDisplayID(), std::nullopt);
    EXPECT_EQ(world.preferences.displayScope(), DisplayScope::selected);
    EXPECT_EQ(writes, (QStringList{"id", "scope"}));
    EXPECT_EQ(menuTitles(), QStringList{"Choose a display"});
    EXPECT_EQ(model.menuIndex(), 0);
    EXPECT_FALSE(model.selectedDisplayMissing());
    EXPECT_EQ(model.noteSymbol(), "info.circle");
}

TEST_F(DisplaySettings, AStoredDisplayIsKeptByEveryScopeButton)
{
    world.preferences.setSelectedDisplayID(QStringLiteral("DP-9"));
    model.choose(DisplayScope::all);
    model.choose(DisplayScope::primary);
    model.choose(DisplayScope::selected);
    EXPECT_EQ(world.preferences.selectedDisplayID(), "DP-9");
    EXPECT_EQ(world.preferences.displayScope(), DisplayScope::selected);
}

TEST_F(DisplaySettings, AChosenDisplayThatIsGoneIsNamedInTheMenuAndWarnedAboutOnlyUnderSelected)
{
    world.preferences.setSelectedDisplayID(QStringLiteral("DP-9"));
    world.preferences.setDisplayScope(DisplayScope::selected);
    EXPECT_TRUE(model.selectedDisplayMissing());
    EXPECT_EQ(menuTitles(),
        (QStringList{QString::fromUtf8("Saved display \u00B7 disconnected"), "1. HDMI-1",
            QString::fromUtf8("2. eDP-1 \u00B7 Primary")}));
    EXPECT_EQ(model.menuIndex(), 0);
    EXPECT_EQ(model.noteSymbol(), "display.trianglebadge.exclamationmark");
    EXPECT_TRUE(model.noteText().startsWith("Your chosen display is disconnected."));
    // The panels fall back to the primary display.
    EXPECT_EQ(model.activeIDs(), QStringList{"eDP-1"});

    world.preferences.setDisplayScope(DisplayScope::all);
    EXPECT_FALSE(model.selectedDisplayMissing());
    EXPECT_FALSE(model.showsMenu());
    EXPECT_TRUE(model.noteText().startsWith("Click a display to select it."));

    // It comes back: the entry goes.
    world.preferences.setDisplayScope(DisplayScope::selected);
    connect({monitor(), laptop(), secondary("DP-9", 9, Rect(-800, 0, 800, 600))});
    EXPECT_FALSE(model.selectedDisplayMissing());
    EXPECT_EQ(menuTitles().size(), 3);
}

TEST_F(DisplaySettings, MirroredDisplaysAreOneEntryAndAChoiceOfEitherIsThatEntryNotADisconnectedOne)
{
    world.preferences.setSelectedDisplayID(QStringLiteral("DP-2"));
    world.preferences.setDisplayScope(DisplayScope::selected);
    connect({monitor(), laptop(), secondary("DP-2", 3, monitor().frame)});
    EXPECT_EQ(menuTitles(), (QStringList{"1. HDMI-1", QString::fromUtf8("2. eDP-1 \u00B7 Primary")}));
    EXPECT_EQ(model.displays().size(), 2);
    EXPECT_FALSE(model.selectedDisplayMissing());
    EXPECT_EQ(model.menuIndex(), 0);
    EXPECT_EQ(model.activeIDs(), QStringList{"HDMI-1"});
    // The choice itself stays the mirror's, for when it stops mirroring.
    EXPECT_EQ(world.preferences.selectedDisplayID(), "DP-2");
}

TEST_F(DisplaySettings, PickingChooseADisplayInTheMenuStoresTheEmptyTextAndLeavesTheScope)
{
    world.preferences.setDisplayScope(DisplayScope::selected);
    ASSERT_EQ(menuTitles().first(), "Choose a display");
    writes.clear();
    model.pickMenuEntry(0);
    EXPECT_EQ(world.preferences.selectedDisplayID(), std::optional<QString>(""));
    EXPECT_EQ(writes, QStringList{"id"});
    EXPECT_TRUE(model.selectedDisplayMissing());
    EXPECT_EQ(menuTitles().first(), QString::fromUtf8("Saved display \u00B7 disconnected"));

    model.pickMenuEntry(1);
    EXPECT_EQ(world.preferences.selectedDisplayID(), "HDMI-1");
}

TEST_F(DisplaySettings, AClickOnTheMapStoresTheDisplayThenSwitchesToSelected)
{
    model.selectDisplay(QStringLiteral("HDMI-1"));
    EXPECT_EQ(writes, (QStringList{"id", "scope"}));
    EXPECT_EQ(world.preferences.selectedDisplayID(), "HDMI-1");
    EXPECT_EQ(world.preferences.displayScope(), DisplayScope::selected);
}

TEST(DisplayMapTiles, SayWhatTheyShowToAccessibility)
{
    DisplayCatalog::Display primary{"eDP-1", 1, "Built-in", Rect(0, 0, 1512, 982), true};
    DisplayCatalog::Display other{"HDMI-1", 2, "LG", Rect(1512, 0, 1920, 1080), false};
    DisplayMapModel model;
    model.setDisplays({primary.toVariant(), other.toVariant()});
    model.setActiveIDs({"HDMI-1"});
    model.setWidth(600);
    model.setHeight(126);

    const QVariantList tiles = model.tiles();
    ASSERT_EQ(tiles.size(), 2);
    EXPECT_EQ(tiles[0].toMap()["accessibleName"], QString::fromUtf8("1. Built-in, 1512 \u00D7 982"));
    EXPECT_EQ(tiles[0].toMap()["accessibleValue"], "Inactive");
    EXPECT_EQ(tiles[1].toMap()["accessibleValue"], "Active");
    EXPECT_LT(tiles[0].toMap()["x"].toDouble(), tiles[1].toMap()["x"].toDouble());
}

// The page over the app's preferences and catalogue.
class DisplayPage : public DisplaySettings {
protected:
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;

    void SetUp() override
    {
        DisplaySettings::SetUp();
        harness.provide(world.preferences);
        harness.provide(*catalog);
    }
    void TearDown() override
    {
        view.reset();
        EXPECT_EQ(harness.warnings(), QStringList());
    }
    void show()
    {
        view = harness.view(
            QmlSource(QUrl("qrc:/Orvel/Settings/DisplaySettingsView.qml")), {}, QSize(600, 480));
        ASSERT_TRUE(view) << harness.errors().toStdString();
    }
    QQuickItem *item(const QString &name) const { return allNamed(view->item(), name).value(0); }
};

TEST_F(DisplayPage, OpeningWritesNothingAndATileClickAlwaysSelects)
{
    world.preferences.setSelectedDisplayID(QStringLiteral("HDMI-1"));
    world.preferences.setDisplayScope(DisplayScope::selected);
    writes.clear();
    show();
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_TRUE(shown(item("displayMenu")));

    const QList<QQuickItem *> tiles = allNamed(view->item(), "displayTile");
    ASSERT_EQ(tiles.size(), 2);
    // Only the primary's tile says so.
    EXPECT_FALSE(shown(allNamed(tiles[0], "primaryMark").value(0)));
    EXPECT_TRUE(shown(allNamed(tiles[1], "primaryMark").value(0)));

    // The chosen, active display clicked again still writes.
    QMetaObject::invokeMethod(tiles[0], "clicked");
    EXPECT_EQ(writes, (QStringList{"id", "scope"}));
    // Another display: the active marks move, the tiles stay the same items.
    QMetaObject::invokeMethod(tiles[1], "clicked");
    EXPECT_EQ(world.preferences.selectedDisplayID(), "eDP-1");
    EXPECT_EQ(allNamed(view->item(), "displayTile"), tiles);
}

TEST_F(DisplayPage, ATileShowsItsNumberInTheRoundedLightFaceUnderAPlainStrip)
{
    show();
    const QList<QQuickItem *> tiles = allNamed(view->item(), "displayTile");
    ASSERT_FALSE(tiles.isEmpty());
    QQuickItem *tile = tiles[0];
    QQuickItem *number = nullptr;
    for (QQuickItem *candidate : allNamed(tile, QString()))
        if (candidate->property("text").toString()
            == tile->property("modelData").toMap()["number"].toString())
            number = candidate;
    ASSERT_TRUE(number);
    const QFont font = number->property("font").value<QFont>();
    // The rounded family ships its light weight as a family of its own.
    EXPECT_EQ(font.family(), FontDescription::roundedFamily + " Light");
    EXPECT_EQ(font.weight(), QFont::Light);
    EXPECT_EQ(QFontInfo(font).family(), FontDescription::roundedFamily + " Light"); // the face is installed
    QQuickItem *strip = allNamed(tile, "topStrip").value(0);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->property("radius").toDouble(), 0);
    EXPECT_EQ(strip->width(), tile->width());
    EXPECT_EQ(strip->height(), 15);
}

TEST_F(DisplayPage, IdentifyAsksTheCatalogueTheMenuStoresItsPickAndOnlyAMissingChoiceIsOrange)
{
    world.preferences.setSelectedDisplayID(QStringLiteral("DP-9"));
    world.preferences.setDisplayScope(DisplayScope::selected);
    show();
    QMetaObject::invokeMethod(item("identify"), "clicked");
    EXPECT_EQ(world.made.size(), 2u);
    EXPECT_EQ(item("noteText")->property("color").value<QColor>().name(),
        DisplaySettingsModel::warningColor().name());

    // The menu stores the picked display and leaves the scope.
    QMetaObject::invokeMethod(item("menu"), "activated", Q_ARG(int, 1));
    EXPECT_EQ(world.preferences.selectedDisplayID(), "HDMI-1");
    EXPECT_EQ(world.preferences.displayScope(), DisplayScope::selected);
    EXPECT_EQ(item("menu")->property("currentIndex"), 0);

    world.preferences.setSelectedDisplayID(QStringLiteral("DP-9"));
    QMetaObject::invokeMethod(allNamed(view->item(), "scopeButton")[0], "clicked");
    EXPECT_EQ(world.preferences.displayScope(), DisplayScope::all);
    EXPECT_FALSE(shown(item("displayMenu")));
    EXPECT_NE(item("noteText")->property("color").value<QColor>().name(),
        DisplaySettingsModel::warningColor().name());
}
