#include "Bundle.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <QJsonArray>
#include <gtest/gtest.h>

TEST(Bundle, TheEmbeddedInfoCarriesTheBuiltInConfiguration)
{
    EXPECT_EQ(Bundle::infoString("OrvelAppGroup"), "QX7TR4LM2B.com.velbrandtoro.Orvel.shared");
    EXPECT_EQ(Bundle::infoString("OrvelURLScheme"), "orvel");
    EXPECT_EQ(Bundle::infoString("NoSuchKey"), std::nullopt);
    const QJsonObject info{{"number", 5}, {"list", QJsonArray{"a"}}, {"null", QJsonValue()}};
    for (const char *key : {"number", "list", "null"})
        EXPECT_EQ(Bundle::infoString(key, info), std::nullopt) << key;
}

TEST(Containers, TheAppGroupIsADirectoryOfTheDataHomeNamedAfterTheGroup)
{
    TemporaryHome home;
    EXPECT_EQ(Containers::appGroupDirectory("QX7TR4LM2B.com.velbrandtoro.Orvel.shared"),
        home.dataHome() + "/QX7TR4LM2B.com.velbrandtoro.Orvel.shared");
    EXPECT_EQ(Containers::applicationSupportDirectory(), home.dataHome() + "/com.velbrandtoro.Orvel");
    for (const char *bad : {"", ".", "..", "../elsewhere", "a/b"})
        EXPECT_EQ(Containers::appGroupDirectory(bad), std::nullopt) << bad;
}
