#include "QtPrinters.h"
#include "SkillBar.h"
#include "Uuid.h"

#include <gtest/gtest.h>

namespace {
using Ids = QList<std::optional<QUuid>>;
const QUuid a = QUuid::createUuid(), b = QUuid::createUuid(), c = QUuid::createUuid();
const std::nullopt_t _ = std::nullopt;

SkillBar::Slots slots6(Ids ids)
{
    SkillBar::Slots result;
    for (int i = 0; i < ids.size(); ++i)
        result[i] = ids[i];
    return result;
}

QByteArray barJson(const QString &slotsMember)
{
    return QStringLiteral(R"({"slots":%1})").arg(slotsMember).toUtf8();
}
} // namespace

TEST(SkillBar, NormalisesToSixUniqueSlots)
{
    Ids eight;
    for (int i = 0; i < 8; ++i)
        eight << QUuid::createUuid();
    EXPECT_EQ(SkillBar(Ids{}).slotIds(), slots6({}));
    EXPECT_EQ(SkillBar(eight).slotIds(), slots6(eight.first(6)));
    EXPECT_EQ(SkillBar({a, a, b}).slotIds(), slots6({a, _, b}));
    EXPECT_EQ(SkillBar({_, b, c, b, _, a, c}).slotIds(), slots6({_, b, c, _, _, a}));
}

TEST(SkillBar, DecodesLenientlyInsideAnObject)
{
    const QString A = uuidString(a);
    const struct {
        QByteArray data;
        std::optional<SkillBar::Slots> expected; // nothing: decoding fails
    } cases[] = {
        {barJson(QStringLiteral(R"(["%1",null,"%1"])").arg(A)), slots6({a})},
        {barJson(QStringLiteral(R"([null,"%1"])").arg(A.toLower())), slots6({_, a})},
        {barJson(QStringLiteral(R"(["%1","{%1}"])").arg(A)), slots6({})},
        {barJson(QStringLiteral(R"(["%1",7])").arg(A)), slots6({})},
        {barJson("5"), slots6({})},
        {barJson("null"), slots6({})},
        {"{}", slots6({})},
        {"[]", std::nullopt},
        {"\"slots\"", std::nullopt},
        {"null", std::nullopt},
    };
    for (const auto &k : cases) {
        const auto bar = json::decodeData<SkillBar>(k.data);
        ASSERT_EQ(bar.has_value(), k.expected.has_value()) << k.data.toStdString();
        if (bar) {
            EXPECT_EQ(bar->slotIds(), *k.expected) << k.data.toStdString();
        }
    }
    const SkillBar bar({_, c, a});
    EXPECT_EQ(json::encodeData(bar),
        QStringLiteral(R"({"slots":[null,"%1","%2",null,null,null]})").arg(uuidString(c), A).toUtf8());
    EXPECT_EQ(json::decodeData<SkillBar>(json::encodeData(bar)), bar);
}

TEST(SkillBar, EditingKeepsOneSlotPerShortcut)
{
    SkillBar bar({a, b});
    bar.assign(a, 3);
    EXPECT_EQ(bar.slotIds(), slots6({_, b, _, a}));
    bar.assign(a, 3);
    bar.assign(c, 6);
    bar.assign(c, -1);
    EXPECT_EQ(bar.slotIds(), slots6({_, b, _, a}));
    bar.assign(std::nullopt, 1);
    EXPECT_EQ(bar.slotIds(), slots6({_, _, _, a}));

    bar = SkillBar({a, b, _, _, _, c});
    for (auto [i, j] : {std::pair{1, 1}, {0, 6}, {-1, 2}})
        bar.swap(i, j);
    EXPECT_EQ(bar.slotIds(), slots6({a, b, _, _, _, c}));
    bar.swap(0, 5);
    EXPECT_EQ(bar.slotIds(), slots6({c, b, _, _, _, a}));
    bar.remove(QUuid::createUuid());
    EXPECT_EQ(bar.slotIds(), slots6({c, b, _, _, _, a}));
    bar.remove(b);
    EXPECT_EQ(bar.slotIds(), slots6({c, _, _, _, _, a}));
}

TEST(SkillBar, LooksUpSlotsAndShortcuts)
{
    const auto link = *SpotifyLink::parse(QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
    const QList<MusicShortcut> shortcuts{MusicShortcut(b, "B", link), MusicShortcut(b, "B2", link)};
    const SkillBar stale({a, c});
    EXPECT_FALSE(stale.hasSkills(shortcuts));
    EXPECT_EQ(stale.resolve(shortcuts), (std::array<std::optional<MusicShortcut>, 6>{}));

    const SkillBar bar({a, b});
    EXPECT_TRUE(bar.hasSkills(shortcuts));
    EXPECT_EQ(bar.resolve(shortcuts)[1]->title, "B");
    EXPECT_FALSE(bar.resolve(shortcuts)[0]);
    EXPECT_EQ(bar.slot(b), 1);
    EXPECT_EQ(bar.slot(c), std::nullopt);
    EXPECT_EQ(bar.firstEmptySlot(), 2);
    EXPECT_EQ(SkillBar().firstEmptySlot(), 0);
    Ids six;
    for (int i = 0; i < 6; ++i)
        six << QUuid::createUuid();
    EXPECT_EQ(SkillBar(six).firstEmptySlot(), std::nullopt);
}

TEST(SkillBar, HoverDelaysAndChrome)
{
    using P = SkillPlacement;
    const struct {
        bool entering;
        P placement;
        bool overSkills;
        std::optional<double> delay;
    } cases[] = {
        {true, P::row, true, 0.2},
        {true, P::hidden, false, 0.2},
        {true, P::peek, false, 0.9},
        {true, P::peek, true, {}},
        {false, P::peek, true, 0.6},
        {false, P::row, false, 0.6},
    };
    for (const auto &k : cases)
        EXPECT_EQ(HoverPolicy::delay(k.entering, k.placement, k.overSkills), k.delay) << int(k.placement);
    EXPECT_EQ(SkillChrome::none, (SkillChrome{P::hidden, false}));
    EXPECT_NE(SkillChrome::none, (SkillChrome{P::hidden, true}));
    EXPECT_EQ(SkillLayout::rowWidth, 228);
    EXPECT_EQ(SkillLayout::wingWidth, 120);
    EXPECT_EQ(fromRawValue<SkillPlacement>("Peek"), std::nullopt);
}
