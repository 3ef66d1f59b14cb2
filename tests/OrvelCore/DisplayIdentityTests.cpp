#include "DisplayIdentity.h"
#include "PlayerPosition.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {
DisplayFacts dell(const QString &output, const QString &serial = "5KC0353", std::uint32_t number = 1)
{
    return DisplayFacts{output, "Dell Inc.", "DELL U2720Q", serial, number};
}
} // namespace

TEST(DisplayIdentity, AMonitorKeepsItsIdOnAnyOutputAndInAnyOrder)
{
    const QStringList onHdmi = displayIdentifiers({dell("HDMI-1"), DisplayFacts{"eDP-1", {}, {}, {}, 2}});
    EXPECT_EQ(onHdmi, (QStringList{"edid:Dell Inc./DELL U2720Q/5KC0353", "eDP-1"}));
    const QStringList moved
        = displayIdentifiers({DisplayFacts{"eDP-1", {}, {}, {}, 2}, dell("DP-2", "5KC0353", 7)});
    EXPECT_EQ(moved[1], onHdmi[0]);
    EXPECT_EQ(moved[0], "eDP-1");
}

TEST(DisplayIdentity, WithoutMonitorFactsTheOutputThenTheNumberName)
{
    // Blank and zero-filled fields say nothing.
    EXPECT_EQ(displayIdentifiers({DisplayFacts{"HDMI-1", " ", "", "00000000", 3}}), QStringList{"HDMI-1"});
    EXPECT_EQ(displayIdentifiers({DisplayFacts{"", "", "", "", 3}}), QStringList{"display-3"});
    // A model alone is still the monitor's.
    EXPECT_EQ(displayIdentifiers({DisplayFacts{"HDMI-1", "", "Q27", "0", 3}}), QStringList{"edid:/Q27/"});
}

TEST(DisplayIdentity, TwinsWithoutASerialAreToldApartByTheirOutputsWhereverTheyAreListed)
{
    const DisplayFacts left = dell("HDMI-1", "", 1);
    const DisplayFacts right = dell("DP-1", "", 2);
    const QStringList ids = displayIdentifiers({left, right});
    EXPECT_EQ(ids, (QStringList{"edid:Dell Inc./DELL U2720Q/@HDMI-1", "edid:Dell Inc./DELL U2720Q/@DP-1"}));
    EXPECT_EQ(displayIdentifiers({right, left}), (QStringList{ids[1], ids[0]}));
    // Alone, the monitor needs no output.
    EXPECT_EQ(displayIdentifiers({left}), QStringList{"edid:Dell Inc./DELL U2720Q/"});
    // Twins that cannot be told apart at all still get ids of their own.
    const QStringList same = displayIdentifiers({dell(""), dell("")});
    EXPECT_NE(same[0], same[1]);
}

TEST(DisplayIdentity, SeparatorsInsideTheFactsCannotMakeTwoMonitorsOne)
{
    const QString a = monitorIdentifier(DisplayFacts{"HDMI-1", "A/B", "C", "1"});
    const QString b = monitorIdentifier(DisplayFacts{"HDMI-1", "A", "B/C", "1"});
    EXPECT_NE(a, b);
    EXPECT_EQ(a, "edid:A%2FB/C/1");
    // Nor can a serial with an output-like tail pass for a twin.
    EXPECT_NE(monitorIdentifier(DisplayFacts{"", "A", "B", "1@DP-1"}),
        displayIdentifiers({DisplayFacts{"DP-1", "A", "B", "1"}, DisplayFacts{"DP-2", "A", "B", "1"}})[0]);
}

TEST(DisplayIdentity, StoredOutputNamesMoveToTheMonitorOnceAndNewerPlacesWin)
{
    const QList<DisplayFacts> displays{dell("HDMI-1"), DisplayFacts{"eDP-1", {}, {}, {}, 2}};
    const QHash<QString, QString> carry = outputCarryOvers(displays, displayIdentifiers(displays));
    const QString monitor = "edid:Dell Inc./DELL U2720Q/5KC0353";
    // eDP-1 keeps its name as its id: nothing to move.
    EXPECT_EQ(carry, (QHash<QString, QString>{{"HDMI-1", monitor}}));

    QMap<QString, PlayerPosition> stored{{"HDMI-1", {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}, {"DP-3", {0.5, 0.5}}};
    EXPECT_TRUE(carryOver(stored, carry));
    EXPECT_EQ(stored,
        (QMap<QString, PlayerPosition>{{monitor, {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}, {"DP-3", {0.5, 0.5}}}));
    EXPECT_FALSE(carryOver(stored, carry)); // once

    QMap<QString, PlayerPosition> both{{"HDMI-1", {0.2, 0.4}}, {monitor, {0.7, 0.3}}};
    EXPECT_TRUE(carryOver(both, carry));
    EXPECT_EQ(both, (QMap<QString, PlayerPosition>{{monitor, {0.7, 0.3}}}));

    EXPECT_EQ(carriedOver(QString("HDMI-1"), carry), monitor);
    EXPECT_EQ(carriedOver(QString("DP-3"), carry), "DP-3");
    EXPECT_EQ(carriedOver(std::nullopt, carry), std::nullopt);
}
