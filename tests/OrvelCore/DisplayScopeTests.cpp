#include "DisplayScope.h"
#include "QtPrinters.h"
#include "Skin.h"

#include <gtest/gtest.h>

TEST(DisplayScope, ResolvesToConnectedDisplaysWithFallbacks)
{
    using S = DisplayScope;
    const QString A = "display-1", B = "display-2", C = "display-3";
    const std::optional<QString> none;
    const std::tuple<S, QStringList, std::optional<QString>, std::optional<QString>, QSet<QString>> cases[]
        = {
            {S::selected, {A, B}, A, B, {B}},
            {S::selected, {A, B}, A, C, {A}},
            {S::selected, {A, B}, none, none, {A}},
            {S::primary, {C, A}, B, none, {C}},
            {S::primary, {A, B}, B, A, {B}},
            {S::all, {A, A, B}, A, B, {A, B}},
            {S::selected, {}, A, A, {}},
            {S::primary, {}, A, none, {}},
            {S::all, {}, none, none, {}},
        };
    for (const auto &[scope, available, primary, selected, expected] : cases)
        EXPECT_EQ(resolve(scope, available, primary, selected), expected)
            << available.join(',').toStdString();
}

TEST(Skin, StoredValuesAndFileReadLeniently)
{
    const std::pair<std::optional<QString>, Skin> stored[] = {
        {std::nullopt, Skin::classico},
        {"", Skin::classico},
        {"classico", Skin::classico},
        {"RIVISTA", Skin::classico},
        {" rivista", Skin::classico},
        {"rivista", Skin::rivista},
    };
    for (const auto &[value, expected] : stored)
        EXPECT_EQ(skinFromStoredValue(value), expected) << value.value_or("<none>").toStdString();

    const std::pair<QByteArray, Skin> files[] = {
        {"rivista\n", Skin::rivista},
        {" \t\r\nrivista ", Skin::rivista},
        {"", Skin::classico},
        {"rivista\xff", Skin::classico},
        {QByteArray("rivista\0", 8), Skin::classico},
    };
    for (const auto &[data, expected] : files)
        EXPECT_EQ(skinFromFileData(data), expected) << data.toStdString();
    EXPECT_EQ(skinFromFileData(skinFileData(Skin::rivista)), Skin::rivista);
    EXPECT_THROW(json::decodeRawEnum<Skin>(QJsonValue("Classico")), json::DecodingError);
}
