#include "OrvelURL.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(OrvelURL, TheBuiltInSchemeFormsThePlayerAndShortcutsLinks)
{
    EXPECT_EQ(OrvelURL::scheme(), "orvel");
    EXPECT_EQ(OrvelURL::player(), QUrl("orvel://player"));
    EXPECT_EQ(OrvelURL::shortcuts(), QUrl("orvel://shortcuts"));
    EXPECT_EQ(OrvelURL::player().host(), "player");
    EXPECT_EQ(OrvelURL::shortcuts().host(), "shortcuts");
}

TEST(OrvelURL, TheConfiguredSchemeIsUsedOnlyWhenItCanFormALink)
{
    const std::vector<std::pair<QJsonObject, QString>> cases{
        {{}, "orvel"},
        {{{"OrvelURLScheme", 7}}, "orvel"},
        {{{"OrvelURLScheme", ""}}, "orvel"},
        {{{"OrvelURLScheme", "1player"}}, "orvel"},
        {{{"OrvelURLScheme", "or vel"}}, "orvel"},
        {{{"OrvelURLScheme", "orvel://"}}, "orvel"},
        {{{"OrvelURLScheme", "my-orvel+beta.2"}}, "my-orvel+beta.2"},
        // Schemes ignore case; QUrl reports incoming ones in lower case.
        {{{"OrvelURLScheme", "Orvel"}}, "orvel"},
    };
    for (const auto &[info, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        const QString scheme = OrvelURL::scheme(info);
        EXPECT_EQ(scheme, expected);
        EXPECT_EQ(QUrl(scheme + "://player").scheme(), scheme);
    }
}
