#include "QtPrinters.h"
#include "SpotifyOEmbed.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {
QByteArray reply(const QJsonValue &title)
{
    return QJsonDocument(QJsonObject{{"title", title}, {"type", "rich"}}).toJson(QJsonDocument::Compact);
}

// A reply of exactly `size` bytes carrying the title "Sized".
QByteArray replyOfSize(qsizetype size)
{
    const QByteArray head = R"({"title":"Sized","html":")";
    return head + QByteArray(size - head.size() - 2, 'x') + "\"}";
}
} // namespace

TEST(SpotifyOEmbed, RequestAsksForTheLinksWebAddress)
{
    const auto link = *SpotifyLink::parse("spotify:playlist:37i9dQZF1DXcBWIGoYBM5M");
    const QUrl url = SpotifyOEmbed::requestURL(link);
    EXPECT_EQ(url.scheme(), "https");
    EXPECT_EQ(url.host(), "open.spotify.com");
    EXPECT_EQ(url.path(), "/oembed");
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].first, "url");
    EXPECT_EQ(items[0].second, link.url().toString());
    EXPECT_EQ(url.toString(QUrl::FullyEncoded),
        "https://open.spotify.com/oembed?url=https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M");

    const QUrl local = SpotifyOEmbed::requestURL(link, QUrl("http://127.0.0.1:8123"));
    EXPECT_EQ(local.toString(QUrl::FullyEncoded),
        "http://127.0.0.1:8123/oembed?url=https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M");
}

TEST(SpotifyOEmbed, TitleIsTrimmedOrNothing)
{
    const std::pair<QByteArray, std::optional<QString>> cases[] = {
        {reply("  Daydreams \n"), "Daydreams"},
        {reply("\u3000Tokyo\u2029"), "Tokyo"},
        {reply(" \n\t "), std::nullopt},
        {reply(""), std::nullopt},
        {reply(7), std::nullopt},
        {reply(QJsonValue::Null), std::nullopt},
        {R"({"author_name":"x"})", std::nullopt},
        {R"([{"title":"x"}])", std::nullopt},
        {R"("title")", std::nullopt},
        {R"({"title":"x")", std::nullopt},
        {"", std::nullopt},
        {replyOfSize(63999), "Sized"},
        {replyOfSize(64000), std::nullopt},
        {replyOfSize(200000), std::nullopt},
    };
    for (const auto &[data, expected] : cases)
        EXPECT_EQ(SpotifyOEmbed::title(data), expected)
            << data.left(60).toStdString() << " (" << data.size() << ")";
}

TEST(SpotifyOEmbed, TitleIsCutAtTheEightiethCharacter)
{
    const QString letters = QString(200, u'a');
    const QString emoji = QStringLiteral("\U0001F3B5"); // a surrogate pair
    const QString accented = QStringLiteral("e\u0301"); // a combining sequence
    const QString family = QStringLiteral("\U0001F469\u200D\U0001F469\u200D\U0001F467");
    const std::pair<QString, QString> cases[] = {
        {letters, letters.left(80)},
        {letters.left(80), letters.left(80)},
        {letters.left(79) + emoji + "b", letters.left(79) + emoji},
        {accented.repeated(100), accented.repeated(80)},
        {family.repeated(81), family.repeated(80)},
        {letters.left(79) + " tail", letters.left(79) + " "},
        {" " + letters.left(80) + " ", letters.left(80)},
    };
    for (const auto &[title, expected] : cases)
        EXPECT_EQ(SpotifyOEmbed::title(reply(title)), expected) << title.size();
}
