#include "QtPrinters.h"
#include "SkillBar.h"
#include "Uuid.h"

#include <gtest/gtest.h>

namespace {
using Ids = QList<std::optional<QUuid>>;
const QUuid a = QUuid::createUuid(), b = QUuid::createUuid(), c = QUuid::createUuid();
const std::nullopt_t _ = std::nullopt;

SkillBar::Slots six(const Ids &ids)
{
    SkillBar::Slots result;
    std::copy(ids.begin(), ids.end(), result.begin());
    return result;
}
} // namespace

TEST(SkillBar, NormalisesToSixUniqueSlots)
{
    const Ids eight{
        a, b, c, QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid(), _};
    EXPECT_EQ(SkillBar(Ids{}).slotIds(), six({}));
    EXPECT_EQ(SkillBar(eight).slotIds(), six(eight.first(6)));
    EXPECT_EQ(SkillBar({a, a, b}).slotIds(), six({a, _, b}));
}

TEST(SkillBar, DecodesAnObjectLeniently)
{
    const QString A = uuidString(a);
    const std::pair<QString, std::optional<SkillBar::Slots>> cases[] = {
        {R"({"slots":["%1",null,"%1"]})", six({a})},
        {R"({"slots":[null,"%2"]})", six({_, a})},
        {R"({"slots":["%1","{%1}"]})", six({})},
        {R"({"slots":5})", six({})},
        {"{}", six({})},
        {R"(["%1"])", std::nullopt},
    };
    for (const auto &[text, expected] : cases) {
        const QByteArray data = QString(text).replace("%1", A).replace("%2", A.toLower()).toUtf8();
        const auto bar = json::decodeData<SkillBar>(data);
        EXPECT_EQ(bar ? std::optional(bar->slotIds()) : std::nullopt, expected) << data.toStdString();
    }
    const SkillBar bar({_, a});
    EXPECT_EQ(json::encodeData(bar),
        QStringLiteral(R"({"slots":[null,"%1",null,null,null,null]})").arg(A).toUtf8());
}

TEST(SkillBar, EditingKeepsOneSlotPerShortcut)
{
    SkillBar bar({a, b});
    bar.assign(a, 3);
    bar.assign(c, 6);
    bar.assign(c, -1);
    EXPECT_EQ(bar.slotIds(), six({_, b, _, a}));
    bar.assign(std::nullopt, 1);
    EXPECT_EQ(bar.slotIds(), six({_, _, _, a}));

    bar = SkillBar({a, b, _, _, _, c});
    for (auto [i, j] : {std::pair{1, 1}, {0, 6}, {-1, 2}, {0, 5}})
        bar.swap(i, j);
    bar.remove(QUuid::createUuid());
    bar.remove(b);
    EXPECT_EQ(bar.slotIds(), six({c, _, _, _, _, a}));
}

TEST(SkillBar, ResolvesSlotsAgainstTheShortcutList)
{
    const auto link = *SpotifyLink::parse(QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
    const QList<MusicShortcut> shortcuts{MusicShortcut(b, "B", link), MusicShortcut(b, "B2", link)};
    EXPECT_FALSE(SkillBar({a, c}).hasSkills(shortcuts));

    const SkillBar bar({a, b});
    EXPECT_TRUE(bar.hasSkills(shortcuts));
    const auto resolved = bar.resolve(shortcuts);
    EXPECT_FALSE(resolved[0]);
    EXPECT_EQ(resolved[1]->title, "B");
    EXPECT_EQ(bar.slot(c), std::nullopt);
    EXPECT_EQ(bar.firstEmptySlot(), 2);
    EXPECT_EQ(
        SkillBar({a, b, c, QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid()}).firstEmptySlot(),
        std::nullopt);
}

TEST(SkillBar, HoverDelays)
{
    using P = SkillPlacement;
    const std::tuple<bool, P, bool, std::optional<double>> cases[] = {
        {true, P::row, true, 0.2},
        {true, P::peek, false, 0.9},
        {true, P::peek, true, std::nullopt},
        {false, P::peek, true, 0.6},
    };
    for (const auto &[entering, placement, overSkills, delay] : cases)
        EXPECT_EQ(HoverPolicy::delay(entering, placement, overSkills), delay) << int(placement);
}
