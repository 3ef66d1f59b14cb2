#include "GeometryTesting.h"
#include "Json.h"
#include "QtPrinters.h"
#include "ScreenGeometry.h"

#include <limits>

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// Visible frame 1440 × 875 at the origin; the full frame is centred on x 720.
const ScreenGeometry display{Rect(0, 0, 1440, 875), Rect(0, 0, 1440, 875), 0, 0};
const SkillChrome row{SkillPlacement::row, false};

PlayerPosition raw(double centerX, double topY)
{
    PlayerPosition p(0.5, 0);
    p.centerX = centerX;
    p.topY = topY;
    return p;
}
} // namespace

TEST(PlayerPosition, ClampsFractionsAndReadsJsonAsStored)
{
    const std::vector<std::pair<PlayerPosition, PlayerPosition>> cases = {
        {PlayerPosition(1.4, -0.2), raw(1, 0)},
        {PlayerPosition(notANumber, notANumber), raw(0.5, 0)},
        {PlayerPosition(infinity, -infinity), raw(0.5, 0)},
        // A visible frame of no width divides by 1.
        {PlayerPosition(Rect(100, 865, 1, 10), Rect(100, 0, 0, 875)), raw(0.5, 0)},
        {PlayerPosition(Rect(578, 662, 284, 38), display.visibleFrame), raw(0.5, 0.2)},
    };
    for (const auto &[actual, expected] : cases) {
        EXPECT_NEAR(actual.centerX, expected.centerX, 1e-12);
        EXPECT_NEAR(actual.topY, expected.topY, 1e-12);
    }

    EXPECT_EQ(json::decodeData<PlayerPosition>(R"({"centerX":0.25,"topY":3})"), raw(0.25, 3));
    EXPECT_EQ(json::encodeData(raw(0.25, 0.5)), R"({"centerX":0.25,"topY":0.5})");
    for (const QByteArray data : {R"({"centerX":0.5})", R"({"centerX":"0.5","topY":0})", R"([0.5,0])"})
        EXPECT_FALSE(json::decodeData<PlayerPosition>(data)) << data.toStdString();
    EXPECT_THROW(raw(notANumber, 0).toJson(), json::EncodingError);
}

TEST(ScreenGeometry, HomeSnappingAndDirection)
{
    const std::vector<std::pair<PlayerPosition, bool>> snaps
        = {{raw(0.5, 0.02), true}, {raw(0.5, 0.04), false}, {raw(0.6, 0), false}, {raw(0.5694, 0), true}};
    for (const auto &[position, home] : snaps) {
        EXPECT_EQ(display.snapsHome(position), home) << position.centerX << ", " << position.topY;
        EXPECT_EQ(display.anchored(position).has_value(), !home);
    }
    EXPECT_FALSE(display.anchored(std::nullopt));
    EXPECT_FALSE(display.opensUpward(std::nullopt));
    EXPECT_FALSE(display.opensUpward(raw(0.5, 0.5)));
    EXPECT_TRUE(display.opensUpward(raw(0.5, 0.51)));
}

TEST(ScreenGeometry, PlacedPlayerFrames)
{
    const ScreenGeometry notched{Rect(0, 0, 1512, 982), Rect(0, 0, 1512, 950), 200, 32};
    const ScreenGeometry tiny{Rect(0, 0, 100, 40), Rect(0, 0, 100, 40), 0, 0};
    const std::vector<std::pair<Rect, Rect>> cases = {
        {display.playerFrame(false, raw(0.5, 0.2), SkillChrome::none, true), Rect(578, 662, 284, 38)},
        {display.playerFrame(true, raw(0.5, 0.2), row, false), Rect(410, 434, 620, 266)},
        // Lower half: the header stays where the folded player was and the body opens above it.
        {display.playerFrame(true, raw(0.5, 0.8), row, false), Rect(410, 137, 620, 266)},
        {display.playerFrame(false, raw(0, 1), SkillChrome::none, false), Rect(12, 6, 284, 38)},
        {display.playerFrame(true, raw(0.5, 3), row, false), Rect(410, 6, 620, 266)},
        {display.playerFrame(true, raw(1, 0), row, false), Rect(808, 603, 620, 266)},
        // Away from home a notched display is laid out without its notch and announcement.
        {notched.playerFrame(false, raw(0.5, 0.5), SkillChrome::none, true), Rect(614, 437, 284, 38)},
        {notched.playerFrame(false, std::nullopt, SkillChrome::none, true), Rect(604, 916, 304, 66)},
        // A display smaller than the player shrinks it into the allowed area.
        {tiny.playerFrame(true, raw(0.5, 0.5), row, false), Rect(12, 6, 76, 28)},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_TRUE(rectNear(cases[i].first, cases[i].second)) << "case " << i;
}
