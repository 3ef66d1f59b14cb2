#include "QtPrinters.h"
#include "VisualizerSettings.h"

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
    const QJsonObject o = VisualizerSettings().toJson().toObject();
    EXPECT_EQ(json::serialize(o),
        R"({"customHex":"C4F08F","enabled":true,"glow":true,"intensity":0.7,"palette":"orvel","speed":1,"style":"bars"})");

    const std::pair<const char *, QJsonValue> bad[] = {{"glow", QJsonValue::Undefined /* removes the key */},
        {"style", "Bars"}, {"palette", "Custom"}, {"glow", 1}, {"speed", "1"}};
    for (const auto &[key, value] : bad) {
        QJsonObject wrong = o;
        wrong.insert(key, value);
        EXPECT_FALSE(json::decodeData<VisualizerSettings>(json::serialize(wrong))) << key;
    }

    QJsonObject odd = o;
    odd.insert("intensity", 5);
    odd.insert("customHex", " #abc");
    odd.insert("extra", "ignored");
    const auto settings = json::decodeData<VisualizerSettings>(json::serialize(odd));
    ASSERT_TRUE(settings);
    odd.remove("extra");
    EXPECT_EQ(settings->toJson().toObject(), odd);

    VisualizerSettings unwritable;
    unwritable.speed = NaN;
    EXPECT_THROW(unwritable.toJson(), json::EncodingError);
}

TEST(VisualizerSettings, GettersClampStoredValues)
{
    const std::tuple<double, double, double> numbers[]
        = {{0.1, 0.15, 0.4}, {0.5, 0.5, 0.5}, {2.5, 1.0, 1.8}, {NaN, 0.7, 1.0}, {-Inf, 0.7, 1.0}};
    for (const auto &[stored, intensity, speed] : numbers) {
        VisualizerSettings s;
        s.intensity = s.speed = stored;
        EXPECT_EQ(s.safeIntensity(), intensity) << stored;
        EXPECT_EQ(s.safeSpeed(), speed) << stored;
    }

    const std::pair<QString, QString> hexes[] = {
        {"a1b2c3", "A1B2C3"},
        {"#C4F08F", "C4F08F"},
        {"#a1b2c3", "C4F08F"},
        {"A1B2C", "C4F08F"},
        {"GGGGGG", "C4F08F"},
        {"a1b2c\u0301", "C4F08F"},
        {"\uFB00a1b2", "FFA1B2"}, // full case mapping: the ligature upper-cases to two letters
        {"\u00DF12345", "C4F08F"},
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
    EXPECT_TRUE(s.samples(-3, 1, true, false).isEmpty());
    expectLevels(s.samples(3, 12.3, false, false), {0.12, 0.12, 0.12});
    expectLevels(s.samples(1, 0, true, false), {0.2575});
    for (auto [time, reduced] : {std::pair{0.0, false}, {NaN, false}, {123.4, true}})
        expectLevels(s.samples(3, time, true, reduced), {0.2575, 0.11873, 0.22528});
    expectLevels(s.samples(5, 0.5, true, false), s.samples(5, 3600.5, true, false));
    s.intensity = 1.0;
    expectLevels(s.samples(3, 0, true, false), {0.325, 0.12676, 0.27897});

    for (double extreme : {0.0, 9.0, Inf}) {
        s.intensity = s.speed = extreme;
        for (double time : {-7200.25, 0.37, 1e12}) {
            for (double level : s.samples(9, time, true, false)) {
                EXPECT_GE(level, 0.1);
                EXPECT_LE(level, 1.0);
            }
        }
    }
}
