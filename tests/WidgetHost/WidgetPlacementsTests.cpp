#include "QtPrinters.h"
#include "WidgetFixtures.h"
#include "WidgetPlacements.h"

#include <gtest/gtest.h>

namespace {
const WidgetPlacement small{"OrvelNowPlaying", WidgetFamily::systemSmall, "", {24, 24}};
const WidgetPlacement large{"OrvelShortcuts", WidgetFamily::systemLarge, "HDMI-1", {600, 40}};
} // namespace

TEST(WidgetPlacementsTest, TheListSurvivesTheFileAndSkipsWhatItCannotRead)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    EXPECT_EQ(path, home.configHome() + "/com.velbrandtoro.Orvel/widgets.json");
    EXPECT_TRUE(WidgetPlacementFile::load(path).isEmpty());

    WidgetPlacementFile::save(path, {small, large});
    EXPECT_EQ(WidgetPlacementFile::load(path), (QList{small, large}));
    EXPECT_TRUE(isUserOnly(path));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(R"({"widgets":[{"kind":"OrvelShortcuts","family":"systemHuge","x":1,"y":2},
        {"family":"systemSmall","x":1,"y":2}, {"kind":"OrvelNowPlaying","family":"systemSmall","x":"1","y":2},
        {"kind":"OrvelNowPlaying","family":"systemSmall","x":24,"y":24}]})");
    file.close();
    EXPECT_EQ(WidgetPlacementFile::load(path), QList{small});
}

TEST(WidgetPlacementsTest, ANewWidgetGoesUnderTheLowestOnItsScreen)
{
    EXPECT_EQ(WidgetPlacementFile::nextPosition({}, ""), QPoint(24, 24));
    // Under the small one: 24 + 170 + 16.
    EXPECT_EQ(WidgetPlacementFile::nextPosition({small, large}, ""), QPoint(24, 210));
    EXPECT_EQ(WidgetPlacementFile::nextPosition({small, large}, "HDMI-1"), QPoint(24, 40 + 382 + 16));
}

TEST(WidgetPlacementsTest, TheHostStartsAtLoginOnlyWhileWidgetsArePlaced)
{
    TemporaryHome home;
    const QString entry = WidgetHostAutostart::standardPath();
    EXPECT_EQ(entry, home.configHome() + "/autostart/com.velbrandtoro.Orvel.WidgetHost.desktop");
    WidgetHostAutostart::follow({small}, "/opt/orvel/bin/orvel-widget-host");
    const QByteArray text = readFile(entry);
    EXPECT_TRUE(text.contains("Name=Orvel widgets\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Exec=\"/opt/orvel/bin/orvel-widget-host\"\n")) << text.toStdString();
    WidgetHostAutostart::follow({}, "/opt/orvel/bin/orvel-widget-host");
    EXPECT_FALSE(QFileInfo::exists(entry));
}
