#include "Json.h"
#include "QtPrinters.h"
#include "SpotifyLink.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
const QString ID = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
const QString HOST = SpotifyLink::openLinkHost;

QString web(const QString &rest)
{
    return QStringLiteral("https://") + HOST + rest;
}

struct ParseCase {
    QString text;
    std::optional<SpotifyLink::Kind> kind; // nothing: refused
};
} // namespace

TEST(SpotifyLink, ParsesAcceptedAndRefusesEverythingElse)
{
    using K = SpotifyLink::Kind;
    const std::vector<ParseCase> cases = {
        {"spotify:track:" + ID, K::track},
        {"  spotify:album:" + ID + "\n", K::album},
        {"\u2003spotify:playlist:" + ID + "\t", K::playlist},
        {"spotify:artist:" + ID, K::artist},
        {"Spotify:track:" + ID, {}},
        {"spotify:track:" + ID + ":extra", {}},
        {"spotify:user:x:playlist:" + ID, {}},
        {"spotify::" + ID, {}},
        {"spotify:episode:" + ID, {}},
        {"spotify:Track:" + ID, {}},
        {"spotify:track:" + ID.left(21), {}},
        {"spotify:track:" + ID + "x", {}},
        {"spotify:track:" + ID.left(21) + "-", {}},
        {"spotify:track:" + ID.left(21) + "_", {}},
        {"spotify:track:" + ID.left(21) + QChar(0x00E9), {}},
        {web("/track/") + ID, K::track},
        {web("/track/") + ID + "?si=abc", K::track},
        {web("/track/") + ID + "#frag", K::track},
        {web("/intl-de/track/") + ID, K::track},
        {web("/intl-de/intl-fr/track/") + ID, {}},
        {web("/track/") + ID + "/", K::track},
        {web("//track//") + ID, K::track},
        {"https://OPEN.Spotify.COM/album/" + ID, K::album},
        {"HTTPS://" + HOST + "/track/" + ID, {}},
        {"http://" + HOST + "/track/" + ID, {}},
        {"https://" + HOST + ":443/track/" + ID, {}},
        {"https://" + HOST + ":/track/" + ID, {}},
        {"https://user@" + HOST + "/track/" + ID, {}},
        {"https://user:pw@" + HOST + "/track/" + ID, {}},
        {web("/embed/track/") + ID, {}},
        {web("/track/") + ID + " x", {}},
        {web("/tr ack/") + ID, {}},
        {"https://example.com/track/" + ID, {}},
        {web("/track"), {}},
        {web("/%74rack/") + ID, K::track},
        {"", {}},
        {"   ", {}},
        {"spotify:", {}},
    };
    for (const auto &c : cases) {
        const auto link = SpotifyLink::parse(c.text);
        EXPECT_EQ(link.has_value(), c.kind.has_value()) << c.text.toStdString();
        if (link && c.kind) {
            EXPECT_EQ(link->kind(), *c.kind) << c.text.toStdString();
            EXPECT_EQ(link->id(), ID);
        }
    }
}

TEST(SpotifyLink, FormsAndEquality)
{
    const auto album = SpotifyLink::parse("spotify:album:" + ID);
    ASSERT_TRUE(album);
    EXPECT_EQ(album->uri().toString(), "spotify:album:" + ID);
    EXPECT_EQ(album->url().toString(), "https://" + HOST + "/album/" + ID);
    EXPECT_EQ(SpotifyLink::parse(web("/album/") + ID), album);
    EXPECT_NE(SpotifyLink::parse("spotify:track:" + ID), album);
    EXPECT_NE(SpotifyLink::parse("spotify:album:" + QString(ID).replace(0, 1, u'Z')), album);
}

TEST(SpotifyLink, PlaybackURL)
{
    EXPECT_EQ(SpotifyLink::playbackURL("spotify:track:" + ID), QUrl("https://" + HOST + "/track/" + ID));
    EXPECT_EQ(SpotifyLink::playbackURL("spotify:episode:" + ID), QUrl("https://" + HOST + "/episode/" + ID));
    EXPECT_EQ(SpotifyLink::playbackURL("spotify::episode:" + ID), QUrl("https://" + HOST + "/episode/" + ID));
    EXPECT_FALSE(SpotifyLink::playbackURL(" spotify:episode:" + ID));
    EXPECT_FALSE(SpotifyLink::playbackURL("spotify:ad:" + ID));
    EXPECT_FALSE(SpotifyLink::playbackURL("spotify:episode:" + ID.left(20)));
    EXPECT_FALSE(SpotifyLink::playbackURL(""));
}

TEST(SpotifyLink, JsonForm)
{
    const auto link = SpotifyLink::parse("spotify:track:" + ID);
    ASSERT_TRUE(link);
    EXPECT_EQ(
        json::serialize(link->toJson()), QByteArray(R"({"id":")" + ID.toLatin1() + R"(","kind":"track"})"));
    EXPECT_EQ(json::decodeData<SpotifyLink>(json::encodeData(*link)), link);

    EXPECT_FALSE(json::decodeData<SpotifyLink>(R"({"kind":"episode","id":")" + ID.toLatin1() + "\"}"));
    try {
        SpotifyLink::fromJson(json::parse(R"({"kind":"track","id":"abcde"})"));
        FAIL() << "a five-character id must not decode";
    } catch (const json::DecodingError &error) {
        EXPECT_EQ(error.key, "id");
        EXPECT_EQ(error.description, "Invalid Spotify resource identifier");
    }
    EXPECT_FALSE(json::decodeData<SpotifyLink>(R"({"kind":"track"})"));
    EXPECT_FALSE(json::decodeData<SpotifyLink>(R"({"kind":"track","id":7})"));
    EXPECT_FALSE(json::decodeData<SpotifyLink>(R"({"kind":"track","id":"a:b"})"));
}

TEST(SpotifyLink, MutatedInputNeverCrashes)
{
    const QStringList seeds
        = {"spotify:track:" + ID, web("/intl-de/playlist/") + ID + "?si=x#y", "spotify:episode:" + ID};
    const QString alphabet = QStringLiteral(":/%?#@ .-_aZ9\u00e9\u2003\n");
    QRandomGenerator rng(42);
    for (int round = 0; round < 3000; ++round) {
        QString text = seeds.at(round % seeds.size());
        const int edits = 1 + int(rng.bounded(4));
        for (int e = 0; e < edits && !text.isEmpty(); ++e) {
            const int at = int(rng.bounded(text.size()));
            switch (rng.bounded(3)) {
            case 0:
                text.remove(at, 1);
                break;
            case 1:
                text.insert(at, alphabet.at(int(rng.bounded(alphabet.size()))));
                break;
            default:
                text.truncate(at);
                break;
            }
        }
        if (const auto link = SpotifyLink::parse(text)) {
            EXPECT_TRUE(SpotifyLink::isValidId(link->id()));
            EXPECT_EQ(SpotifyLink::parse(link->uriString()), link);
        }
        SpotifyLink::playbackURL(text);
    }
}
