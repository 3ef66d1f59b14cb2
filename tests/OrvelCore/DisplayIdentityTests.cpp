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

TEST(DisplayIdentity, TheDashQtLeavesOfAnEdidTextsLineFeedGoesAndOnlyThat)
{
    const struct {
        const char *read; // as Qt 6.4 reads the 13-byte field
        const char *clean;
    } texts[] = {
        {"DELL U2720Q-", "DELL U2720Q"}, // "DELL U2720Q\n "
        {"LG ULTRAFINE-", "LG ULTRAFINE"}, // twelve letters and the line feed fill the field
        {"5KC0353-", "5KC0353"},
        {"U2720Q -", "U2720Q"}, // a space before the line feed
        {"-", ""}, // the line feed alone
        {"U2720Q", "U2720Q"}, // no line feed: thirteen letters, or another reader
        {"PRO-X", "PRO-X"},
        {"PRO--", "PRO-"}, // the name's own dash before the line feed
        {"ABC----------", "ABC"}, // "ABC\n" padded with line feeds or zeros, not spaces
        {"PRO-X--------", "PRO-X"},
        {"THIRTEEN-CHARS-", "THIRTEEN-CHARS-"}, // longer than the field: not Qt's reading of one
        {"", ""},
    };
    for (const auto &text : texts)
        EXPECT_EQ(edidText(text.read), text.clean) << text.read;

    // Model and serial lose it in the id; the maker comes from a table, not from a text, and keeps its own.
    EXPECT_EQ(monitorIdentifier({"DP-1", "Dell Inc.", "DELL U2720Q-", "5KC0353-", 1}),
        "edid:Dell Inc./DELL U2720Q/5KC0353");
    EXPECT_EQ(monitorIdentifier({"DP-1", "ACME-", "X-", "-", 1}), "edid:ACME-/X/");
    // A serial number field that is only the line feed, or zeros and it, says nothing.
    EXPECT_EQ(monitorIdentifier({"DP-1", "", "", "0000-", 1}), QString());
}

TEST(DisplayIdentity, ChoicesStoredUnderTheDashedIdMoveToTheCleanOne)
{
    const DisplayFacts dashed{"DP-1", "Dell Inc.", "DELL U2720Q-", "5KC0353-", 1};
    const DisplayFacts laptop{"eDP-1", {}, {}, {}, 2};
    const DisplayFacts clean{"HDMI-1", "LG Electronics", "27UL850", "1234", 3};
    const QString before = "edid:Dell Inc./DELL U2720Q-/5KC0353-";
    const QString now = "edid:Dell Inc./DELL U2720Q/5KC0353";
    EXPECT_EQ(edidCarryOvers({dashed, laptop, clean}), (QHash<QString, QString>{{before, now}}));
    // Twins without a serial number keep their outputs.
    DisplayFacts left = dashed, right = dashed;
    left.serialNumber = right.serialNumber = "";
    right.output = "DP-2";
    EXPECT_EQ(edidCarryOvers({left, right}),
        (QHash<QString, QString>{{"edid:Dell Inc./DELL U2720Q-/@DP-1", "edid:Dell Inc./DELL U2720Q/@DP-1"},
            {"edid:Dell Inc./DELL U2720Q-/@DP-2", "edid:Dell Inc./DELL U2720Q/@DP-2"}}));

    // Positions and the chosen display follow; a place stored under the clean id already is newer.
    const QHash<QString, QString> carry = edidCarryOvers({dashed, laptop});
    QMap<QString, PlayerPosition> stored{{before, {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}};
    EXPECT_TRUE(carryOver(stored, carry));
    EXPECT_EQ(stored, (QMap<QString, PlayerPosition>{{now, {0.2, 0.4}}, {"eDP-1", {0.9, 0.1}}}));
    EXPECT_FALSE(carryOver(stored, carry)) << "once";
    QMap<QString, PlayerPosition> both{{before, {0.2, 0.4}}, {now, {0.7, 0.3}}};
    carryOver(both, carry);
    EXPECT_EQ(both, (QMap<QString, PlayerPosition>{{now, {0.7, 0.3}}}));
    EXPECT_EQ(carriedOver(before, carry), now);
    EXPECT_EQ(carriedOver(QString("eDP-1"), carry), "eDP-1");
}

TEST(DisplayIdentity, DisplaysOfTheSamePlaceAndSizeAreOneTheFirstOfThem)
{
    const Rect a(0, 0, 1920, 1080), b(1920, 0, 1920, 1080), smaller(0, 0, 1280, 1024),
        moved(1, 0, 1920, 1080);
    EXPECT_EQ(mirrorLeaders({a, b, a, b, a}), (QList<qsizetype>{0, 1, 0, 1, 0}));
    // Overlapping is not mirroring: another size or place is a display of its own.
    EXPECT_EQ(mirrorLeaders({a, smaller, moved}), (QList<qsizetype>{0, 1, 2}));
    EXPECT_TRUE(mirrorLeaders({}).isEmpty());
}
