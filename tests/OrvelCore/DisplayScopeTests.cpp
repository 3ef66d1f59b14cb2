#include "DisplayScope.h"
#include "QtPrinters.h"
#include "Skin.h"

#include <gtest/gtest.h>

TEST(DisplayScope, ResolvesToConnectedDisplaysWithFallbacks)
{
    using S = DisplayScope;
    const QString A = "display-1", B = "display-2", C = "display-3";
    const struct {
        S scope;
        QStringList available;
        std::optional<QString> primary, selected;
        QSet<QString> expected;
    } cases[] = {
        {S::selected, {A, B}, A, B, {B}},
        {S::selected, {A, B}, A, C, {A}},
        {S::selected, {A, B}, {}, {}, {A}},
        {S::selected, {B, A}, C, C, {B}},
        {S::primary, {C, A}, B, {}, {C}},
        {S::primary, {A, B}, B, A, {B}},
        {S::all, {A, A, B}, A, B, {A, B}},
        {S::all, {}, A, A, {}},
        {S::primary, {}, A, A, {}},
        {S::selected, {}, A, A, {}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(resolve(c.scope, c.available, c.primary, c.selected), c.expected)
            << toRawValue(c.scope).toStdString() << " over " << c.available.join(',').toStdString();
    }
    EXPECT_EQ(fromRawValue<DisplayScope>("All"), std::nullopt);
    EXPECT_EQ(json::decodeRawEnum<DisplayScope>(QJsonValue("selected")), S::selected);
}

TEST(Skin, StrictRawValuesAndLenientStoredReads)
{
    const struct {
        std::optional<QString> stored;
        Skin expected;
    } stored[] = {
        {std::nullopt, Skin::classico},
        {"", Skin::classico},
        {"RIVISTA", Skin::classico},
        {" rivista", Skin::classico},
        {"rivista", Skin::rivista},
        {"classico", Skin::classico},
    };
    for (const auto &c : stored)
        EXPECT_EQ(skinFromStoredValue(c.stored), c.expected) << c.stored.value_or("<none>").toStdString();

    EXPECT_THROW(json::decodeRawEnum<Skin>(QJsonValue("Classico")), json::DecodingError);
    EXPECT_EQ(json::decodeRawEnum<Skin>(QJsonValue("classico")), Skin::classico);
    EXPECT_EQ(standardSkin, Skin::classico);
}

TEST(Skin, FileFormTrimsAndFallsBack)
{
    const struct {
        QByteArray data;
        Skin expected;
    } files[] = {
        {"rivista", Skin::rivista},
        {"rivista\n", Skin::rivista},
        {" \t\r\nrivista \n", Skin::rivista},
        {"", Skin::classico},
        {"Rivista", Skin::classico},
        {"rivista\xff", Skin::classico},
        {"\xc3", Skin::classico},
        {QByteArray("rivista\0", 8), Skin::classico},
        {"classico", Skin::classico},
    };
    for (const auto &c : files)
        EXPECT_EQ(skinFromFileData(c.data), c.expected) << c.data.toStdString();
    for (Skin skin : allCases<Skin>())
        EXPECT_EQ(skinFromFileData(skinFileData(skin)), skin);
    EXPECT_EQ(skinFileData(Skin::rivista), "rivista");
}
