#include "QtPrinters.h"
#include "SpotifyOEmbed.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {
QByteArray reply(const QJsonValue &title)
{
    return QJsonDocument(QJsonObject{{"title", title}}).toJson(QJsonDocument::Compact);
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
    EXPECT_EQ(SpotifyOEmbed::requestURL(link).toString(QUrl::FullyEncoded),
        "https://open.spotify.com/oembed?url=https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M");
    EXPECT_EQ(SpotifyOEmbed::requestURL(link, QUrl("http://127.0.0.1:8123")).toString(QUrl::FullyEncoded),
        "http://127.0.0.1:8123/oembed?url=https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M");
}

TEST(SpotifyOEmbed, RedirectsAreFollowedOnlyToHttpsOnTheSameHost)
{
    const QUrl service("https://open.spotify.com/oembed?url=x");
    EXPECT_TRUE(SpotifyOEmbed::followsRedirect(service, QUrl("https://open.spotify.com/oembed/?url=x")));
    EXPECT_TRUE(SpotifyOEmbed::followsRedirect(service, QUrl("https://OPEN.spotify.com:443/o")));
    for (const char *target : {"http://open.spotify.com/oembed", "https://open.spotify.com.evil.test/oembed",
             "https://evil.test/oembed", "https://open.spotify.com:8443/oembed",
             "https://user@open.spotify.com/oembed", "ftp://open.spotify.com/oembed", "/oembed", ""}) {
        EXPECT_FALSE(SpotifyOEmbed::followsRedirect(service, QUrl(target))) << target;
    }
    // A local endpoint's redirect may only go to https on that host.
    const QUrl local("http://127.0.0.1:8123/oembed");
    EXPECT_FALSE(SpotifyOEmbed::followsRedirect(local, QUrl("http://127.0.0.1:8123/other")));
    EXPECT_TRUE(SpotifyOEmbed::followsRedirect(local, QUrl("https://127.0.0.1/oembed")));
}

TEST(SpotifyOEmbed, TitleIsTrimmedOrNothing)
{
    const std::pair<QByteArray, std::optional<QString>> cases[] = {
        {reply("  Daydreams \n"), "Daydreams"},
        {reply("\u3000 \n\t "), std::nullopt},
        {reply(7), std::nullopt},
        {R"([{"title":"x"}])", std::nullopt},
        {"", std::nullopt},
        {replyOfSize(63999), "Sized"},
        {replyOfSize(64000), std::nullopt},
    };
    for (const auto &[data, expected] : cases)
        EXPECT_EQ(SpotifyOEmbed::title(data), expected)
            << data.left(40).toStdString() << " (" << data.size() << ")";
}

TEST(SpotifyOEmbed, TitleIsCutAfterEightyCharacters)
{
    const QString letters = QString(200, u'a');
    const QString note = QStringLiteral("\U0001F3B5"); // a surrogate pair
    const QString accented = QStringLiteral("e\u0301"); // a combining sequence
    const QString family = QStringLiteral("\U0001F469\u200D\U0001F469\u200D\U0001F467");
    const std::pair<QString, QString> cases[] = {
        {letters, letters.left(80)},
        {letters.left(80), letters.left(80)},
        {letters.left(79) + note + "b", letters.left(79) + note},
        {accented.repeated(100), accented.repeated(80)},
        {family.repeated(81), family.repeated(80)},
        {letters.left(79) + " tail", letters.left(79) + " "},
    };
    for (const auto &[title, expected] : cases)
        EXPECT_EQ(SpotifyOEmbed::title(reply(title)), expected) << title.size();
}
