#include "QtPrinters.h"
#include "VisualizerSettings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

void expectLevels(const QList<double> &actual, const QList<double> &expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-4) << "element " << i;
}
} // namespace

TEST(VisualizerSettings, JsonFormIsStrictAndKeepsValuesAsStored)
{
    const VisualizerSettings defaults;
    const QJsonObject o = defaults.toJson().toObject();
    EXPECT_EQ(o,
        (QJsonObject{{"enabled", true}, {"style", "bars"}, {"palette", "orvel"}, {"customHex", "C4F08F"},
            {"intensity", 0.7}, {"speed", 1.0}, {"glow", true}}));
    EXPECT_EQ(json::decodeData<VisualizerSettings>(json::encodeData(defaults)), defaults);

    for (const QString &key : o.keys()) {
        QJsonObject missing = o;
        missing.remove(key);
        EXPECT_FALSE(json::decodeData<VisualizerSettings>(json::serialize(missing))) << key.toStdString();
    }
    const std::pair<const char *, QJsonValue> bad[] = {
        {"style", "Bars"},
        {"style", "bar"},
        {"palette", "Custom"},
        {"glow", 1},
        {"speed", "1"},
        {"enabled", QJsonValue()},
    };
    for (const auto &[key, value] : bad) {
        QJsonObject wrong = o;
        wrong.insert(key, value);
        EXPECT_FALSE(json::decodeData<VisualizerSettings>(json::serialize(wrong))) << key;
    }

    QJsonObject odd = o;
    odd.insert("intensity", 5);
    odd.insert("customHex", " #abc");
    odd.insert("palette", "custom");
    odd.insert("extra", "ignored");
    const auto settings = json::decodeData<VisualizerSettings>(json::serialize(odd));
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->intensity, 5);
    EXPECT_EQ(settings->customHex, " #abc");
    EXPECT_EQ(settings->palette, VisualizerPalette::custom);
    EXPECT_EQ(settings->toJson().toObject().value("intensity"), 5);

    VisualizerSettings unwritable;
    unwritable.speed = NaN;
    EXPECT_THROW(unwritable.toJson(), json::EncodingError);
}

TEST(VisualizerSettings, GettersClampStoredValues)
{
    const struct {
        double stored;
        double intensity;
        double speed;
    } numbers[] = {
        {0, 0.15, 0.4},
        {0.1, 0.15, 0.4},
        {0.5, 0.5, 0.5},
        {2.5, 1.0, 1.8},
        {3, 1.0, 1.8},
        {NaN, 0.7, 1.0},
        {Inf, 0.7, 1.0},
        {-Inf, 0.7, 1.0},
    };
    for (const auto &c : numbers) {
        VisualizerSettings s;
        s.intensity = s.speed = c.stored;
        EXPECT_EQ(s.safeIntensity(), c.intensity) << c.stored;
        EXPECT_EQ(s.safeSpeed(), c.speed) << c.stored;
        EXPECT_TRUE(s.intensity == c.stored || std::isnan(c.stored));
    }

    const std::pair<QString, QString> hexes[] = {
        {"c4f08f", "C4F08F"},
        {"a1b2c3", "A1B2C3"},
        {"0099FF", "0099FF"},
        {"#C4F08F", "C4F08F"},
        {"#a1b2c3", "C4F08F"},
        {"A1B2C", "C4F08F"},
        {"A1B2C3D", "C4F08F"},
        {"GGGGGG", "C4F08F"},
        {" a1b2c", "C4F08F"},
        {"a1b2c\u0301", "C4F08F"},
        {"\uff41\uff41\uff41\uff41\uff41\uff41", "C4F08F"},
        {"", "C4F08F"},
    };
    for (const auto &[stored, expected] : hexes) {
        VisualizerSettings s;
        s.customHex = stored;
        EXPECT_EQ(s.safeHex(), expected) << stored.toStdString();
    }
}

TEST(VisualizerSettings, SamplesFollowTheFixedFormula)
{
    VisualizerSettings s;
    EXPECT_TRUE(s.samples(0, 1, true, false).isEmpty());
    EXPECT_TRUE(s.samples(-3, 1, true, false).isEmpty());
    expectLevels(s.samples(4, 12.3, false, false), {0.12, 0.12, 0.12, 0.12});

    expectLevels(s.samples(1, 0, true, false), {0.2575});
    for (auto [time, reduced] : {std::pair{0.0, false}, {NaN, false}, {123.4, true}})
        expectLevels(s.samples(3, time, true, reduced), {0.2575, 0.11873, 0.22528});
    s.intensity = 1.0;
    expectLevels(s.samples(3, 0, true, false), {0.325, 0.12676, 0.27897});
    expectLevels(s.samples(5, 0.5, true, false), s.samples(5, 3600.5, true, false));

    for (double intensity : {0.0, 0.7, 1.0, 9.0, NaN}) {
        for (double speed : {0.0, 1.0, 5.0, Inf}) {
            s.intensity = intensity;
            s.speed = speed;
            for (double time : {-7200.25, -1.0, 0.0, 0.37, 1799.9, 1e12, Inf}) {
                for (double level : s.samples(9, time, true, false)) {
                    EXPECT_GE(level, 0.1);
                    EXPECT_LE(level, 1.0);
                }
            }
        }
    }
}
