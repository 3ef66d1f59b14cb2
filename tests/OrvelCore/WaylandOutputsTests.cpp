#include "QtPrinters.h"
#include "WaylandOutputs.h"

#include <gtest/gtest.h>

namespace {
WaylandOutput output(std::uint32_t id, const QRect &area, const QString &name = {})
{
    WaylandOutput result;
    result.id = id;
    result.name = name;
    result.area = area;
    return result;
}

WaylandToplevel fullScreenOn(QList<std::uint32_t> outputs)
{
    WaylandToplevel toplevel;
    toplevel.fullScreen = true;
    toplevel.outputs = std::move(outputs);
    return toplevel;
}

WaylandToplevel fullScreenAt(const QRect &area)
{
    WaylandToplevel toplevel;
    toplevel.fullScreen = true;
    toplevel.area = area;
    return toplevel;
}

std::optional<std::uint32_t> idOf(const std::optional<WaylandOutput> &matched)
{
    return matched ? std::optional<std::uint32_t>(matched->id) : std::nullopt;
}

const QRect left(0, 0, 1920, 1080);
const QRect right(1920, 0, 1280, 1024);
} // namespace

TEST(WaylandOutputs, DisplaysMatchTheOutputAtTheirPlaceAndSizeOnlyAndMirrorsPairOff)
{
    const struct {
        const char *what;
        QList<QRect> displays;
        QList<WaylandOutput> outputs;
        QList<std::optional<std::uint32_t>> expected;
    } cases[] = {
        {"announced in another order", {left, right}, {output(8, right), output(7, left)}, {7, 8}},
        {"a pixel of rounding", {QRect(1, 0, 1919, 1081)}, {output(7, left)}, {7}},
        {"two pixels off", {QRect(0, 0, 1918, 1080)}, {output(7, left)}, {std::nullopt}},
        {"same size elsewhere", {QRect(0, 1080, 1920, 1080)}, {output(7, left)}, {std::nullopt}},
        {"same place, other size", {QRect(0, 0, 1280, 720)}, {output(7, left)}, {std::nullopt}},
        {"not yet described", {QRect()}, {output(7, QRect())}, {std::nullopt}},
        {"mirrors in order, one too many", {left, left, left}, {output(7, left), output(9, left)},
            {7, 9, std::nullopt}},
        {"no outputs", {left}, {}, {std::nullopt}},
    };
    for (const auto &c : cases) {
        QList<std::optional<std::uint32_t>> ids;
        for (const auto &matched : WaylandOutputs::match(c.displays, c.outputs))
            ids.append(idOf(matched));
        EXPECT_EQ(ids, c.expected) << c.what;
    }
}

TEST(WaylandOutputs, AWindowHasTheOutputsItIsShownOnWhileFullScreenAndNotMinimised)
{
    const QList<WaylandOutput> outputs{output(7, left), output(8, right)};
    WaylandToplevel minimised = fullScreenOn({7});
    minimised.minimized = true;
    WaylandToplevel windowed = fullScreenOn({7});
    windowed.fullScreen = false;
    WaylandToplevel elsewhere = fullScreenOn({7});
    elsewhere.elsewhere = true;
    WaylandToplevel both = fullScreenOn({8});
    both.area = left; // the outputs it names are what counts
    const struct {
        const char *what;
        QList<WaylandToplevel> toplevels;
        QSet<std::uint32_t> expected;
    } cases[] = {
        {"on one output", {fullScreenOn({8})}, {8}},
        {"across both", {fullScreenOn({7, 8})}, {7, 8}},
        {"minimised", {minimised}, {}},
        {"on another desktop", {elsewhere}, {}},
        {"not full screen", {windowed}, {}},
        {"no output and no place", {fullScreenOn({})}, {}},
        {"an output that went", {fullScreenOn({3})}, {}},
        {"a place on the right", {fullScreenAt(QRect(1920, 0, 1280, 1024))}, {8}},
        {"an empty place", {fullScreenAt(QRect(100, 100, 0, 0))}, {}},
        {"a place off every output", {fullScreenAt(QRect(5000, 0, 800, 600))}, {}},
        {"outputs before place", {both}, {8}},
        {"one of two windows", {windowed, fullScreenOn({7})}, {7}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WaylandOutputs::fullScreenOutputs(c.toplevels, outputs), c.expected) << c.what;
}

TEST(WaylandOutputs, OnlyTheDisplaysAtACoveredOutputAreGivenToFullScreenInQtsCoordinates)
{
    // Qt keeps a scaled display's origin in device pixels: this one spans 2560 × 1600 of them.
    const QList<DisplayPixels> displays{
        {QRect(0, 0, 1280, 800), 2}, {QRect(2560, 0, 1024, 768), 1}, {QRect(2560, 768, 1024, 768), 1}};
    const QList<WaylandOutput> outputs{output(1, QRect(0, 0, 2560, 1600)),
        output(2, QRect(2560, 0, 1024, 768)), output(4, QRect(9000, 0, 800, 600))};
    EXPECT_EQ(WaylandOutputs::fullScreenAreas(displays, outputs, {fullScreenOn({1})}),
        QList<QRect>{QRect(0, 0, 1280, 800)});
    EXPECT_EQ(WaylandOutputs::fullScreenAreas(displays, outputs, {fullScreenOn({2, 1})}),
        (QList<QRect>{QRect(0, 0, 1280, 800), QRect(2560, 0, 1024, 768)}));
    // An output at no display's place, or no window at all, gives nothing.
    EXPECT_TRUE(WaylandOutputs::fullScreenAreas(displays, outputs, {fullScreenOn({4})}).isEmpty());
    EXPECT_TRUE(WaylandOutputs::fullScreenAreas(displays, outputs, {}).isEmpty());
}

TEST(WaylandOutputs, AMonitorIsNamedByMakerAndModelElseDescriptionElseConnector)
{
    const struct {
        QString make, model, description, name, expected;
    } cases[] = {
        {"Dell Inc.", "DELL U2415", "Dell Inc. DELL U2415 7MT0186 (DP-1)", "DP-1", "Dell Inc. DELL U2415"},
        {"headless", "headless", "Headless output 1", "HEADLESS-1", "headless"},
        {"Samsung", "Samsung  C27F390", "", "HDMI-A-1", "Samsung C27F390"},
        {"", "U2720Q", "", "DP-2", "U2720Q"},
        {"", "", "Built-in display", "eDP-1", "Built-in display"},
        {"", "", " ", "Virtual-0", "Virtual-0"},
        {"", "", "", "", ""},
    };
    for (const auto &c : cases) {
        WaylandOutput described = output(1, left, c.name);
        described.make = c.make;
        described.model = c.model;
        described.description = c.description;
        EXPECT_EQ(WaylandOutputs::displayName(described), c.expected) << c.name.toStdString();
    }
}
