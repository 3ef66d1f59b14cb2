#include "DisplayIdentity.h"
#include "PlayerPosition.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {
const QString dellID = "edid:Dell Inc./U2720Q/5KC0353";
DisplayFacts dell(const QString &output, const QString &serial = "5KC0353")
{
    return DisplayFacts{output, "Dell Inc.", "U2720Q", serial, 1};
}
} // namespace

TEST(DisplayIdentity, AMonitorIsItsOwnIdOnAnyOutputAndTwinsAddTheirOutputs)
{
    const DisplayFacts blank{"eDP-1", " ", "", "00000000", 2}; // blank and zero-filled fields say nothing
    EXPECT_EQ(displayIdentifiers({dell("HDMI-1"), blank}), (QStringList{dellID, "eDP-1"}));
    EXPECT_EQ(displayIdentifiers({blank, dell("DP-2"), DisplayFacts{"", "", "", "", 3}}),
        (QStringList{"eDP-1", dellID, "display-3"}));
    EXPECT_NE(monitorIdentifier({"", "A/B", "C", "1"}), monitorIdentifier({"", "A", "B/C", "1"}));

    EXPECT_EQ(displayIdentifiers({dell("DP-1", ""), dell("HDMI-1", "")}),
        (QStringList{"edid:Dell Inc./U2720Q/@DP-1", "edid:Dell Inc./U2720Q/@HDMI-1"}));
    const QStringList alike = displayIdentifiers({dell(""), dell("")});
    EXPECT_NE(alike[0], alike[1]);
}

TEST(DisplayIdentity, StoredOutputNamesMoveToTheMonitorOnceAndNewerPlacesWin)
{
    const QList<DisplayFacts> displays{dell("HDMI-1"), DisplayFacts{"eDP-1", {}, {}, {}, 2}};
    const QHash<QString, QString> carry = outputCarryOvers(displays, displayIdentifiers(displays));
    EXPECT_EQ(carry, (QHash<QString, QString>{{"HDMI-1", dellID}}));

    QMap<QString, PlayerPosition> stored{{"HDMI-1", {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}};
    EXPECT_TRUE(carryOver(stored, carry));
    EXPECT_EQ(stored, (QMap<QString, PlayerPosition>{{dellID, {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}}));
    EXPECT_FALSE(carryOver(stored, carry));
    QMap<QString, PlayerPosition> both{{"HDMI-1", {0.2, 0.4}}, {dellID, {0.7, 0.3}}};
    carryOver(both, carry);
    EXPECT_EQ(both, (QMap<QString, PlayerPosition>{{dellID, {0.7, 0.3}}}));
}
