#include "Json.h"
#include "Playback.h"
#include "QtPrinters.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
const Date AT{786543210.123456789};

Track track(double duration = 200)
{
    return Track("spotify:track:4uLU6hMCjMI75M1A2tKUQC", "Song", "Artist", "Album", duration,
        QUrl("https://i.scdn.co/image/ab67616d0000b273"),
        QUrl("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC"));
}

PlaybackSnapshot snapshot(double position, double volume = 50, std::optional<Track> t = track(),
    bool playing = true, PlayerAvailability availability = PlayerAvailability::ready)
{
    return PlaybackSnapshot(availability, std::move(t), playing, position, volume, true, false,
        {true, false, true}, AT, std::nullopt, std::nullopt, std::nullopt);
}

PlaybackSnapshot full()
{
    const ArtworkPalette::Swatch s{0.1, 0.2, 0.30000000000000004};
    return PlaybackSnapshot(PlayerAvailability::ready, track(213.457), true, 12.345678901234567, 37.5, true,
        true, {true, true, false}, AT, "a1b2.jpg", ArtworkPalette{s, s, s},
        "Spotify could not apply this control.");
}

// The full snapshot's file with one key replaced, or removed when the value is undefined.
QByteArray withKey(const QString &key, const QJsonValue &value)
{
    QJsonObject o = full().toJson().toObject();
    value.isUndefined() ? void(o.remove(key)) : void(o.insert(key, value));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}
} // namespace

TEST(PlaybackSnapshot, ConstructionClamps)
{
    for (const auto &[given, stored] : {std::pair{-3.0, 0.0}, {NaN, 0.0}, {Inf, 0.0}, {7200.0, 7200.0}})
        EXPECT_EQ(snapshot(given).position, stored) << given;
    for (const auto &[given, stored] :
        {std::pair{140.0, 100.0}, {-5.0, 0.0}, {NaN, 50.0}, {-Inf, 50.0}, {37.5, 37.5}})
        EXPECT_EQ(snapshot(0, given).volume, stored) << given;
    EXPECT_EQ(snapshot(0).version, PlaybackSnapshot::schemaVersion);
    for (double duration : {-1.0, NaN, Inf})
        EXPECT_EQ(track(duration).duration, 0) << duration;
}

TEST(PlaybackSnapshot, DerivedValues)
{
    const PlaybackSnapshot s = snapshot(30);
    EXPECT_FALSE(s.isStale(AT.addingTimeInterval(5), 5));
    EXPECT_TRUE(s.isStale(Date{std::nextafter(AT.addingTimeInterval(5).secondsSinceReferenceDate, Inf)}, 5));
    EXPECT_TRUE(s.showsActivePlayback());
    EXPECT_FALSE(snapshot(30, 50, std::nullopt).showsActivePlayback());
    EXPECT_FALSE(snapshot(30, 50, track(), true, PlayerAvailability::noTrack).showsActivePlayback());

    struct Case {
        PlaybackSnapshot snapshot;
        double later, expected;
    } const cases[] = {{snapshot(30), 10, 40}, {snapshot(30, 50, track(35)), 10, 35}, {snapshot(30), -10, 30},
        {snapshot(30), NaN, 30},
        {snapshot(250, 50, track(200), false), 1000, 200}, // paused: only the duration bounds it
        {snapshot(30, 50, track(), true, PlayerAvailability::unavailable), 10, 30},
        {snapshot(30, 50, std::nullopt), 10, 0}, {snapshot(30, 50, track(0)), 10, 0},
        {[] {
             auto s = snapshot(30);
             s.track->duration = -5; // as a decoded file may hold it
             return s;
         }(),
            10, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(c.snapshot.estimatedPosition(AT.addingTimeInterval(c.later)), c.expected) << c.later;

    const std::pair<double, QString> times[] = {{65, "1:05"}, {59.9, "0:59"}, {NaN, "0:00"}, {-4, "0:00"},
        {-1e300, "0:00"}, {Inf, "0:00"}, {3600, "60:00"}, {400000, "5999:59"}};
    for (const auto &[seconds, text] : times)
        EXPECT_EQ(PlaybackSnapshot::displayTime(seconds), text) << seconds;
}

TEST(PlaybackSnapshot, FileForm)
{
    for (const PlaybackSnapshot &s : {full(), snapshot(0, 50, std::nullopt, false)})
        EXPECT_EQ(json::decodeData<PlaybackSnapshot>(json::encodeData(s)), s);
    // Absent values are left out, never written as null.
    EXPECT_EQ(snapshot(0, 50, std::nullopt).toJson().toObject().keys(),
        QStringList({"availability", "capabilities", "isPlaying", "position", "repeatEnabled", "shuffle",
            "updatedAt", "version", "volume"}));
    Track bare = track();
    bare.artworkURL = bare.spotifyURL = std::nullopt;
    EXPECT_EQ(bare.toJson().toObject().keys(), QStringList({"album", "artist", "duration", "id", "title"}));

    for (const QString key : {"track", "artworkFile", "artworkPalette", "commandError"}) {
        EXPECT_TRUE(json::decodeData<PlaybackSnapshot>(withKey(key, QJsonValue::Undefined)))
            << key.toStdString();
        EXPECT_TRUE(json::decodeData<PlaybackSnapshot>(withKey(key, QJsonValue::Null))) << key.toStdString();
    }
    for (const QString key : {"version", "availability", "isPlaying", "position", "volume", "shuffle",
             "repeatEnabled", "capabilities", "updatedAt"})
        EXPECT_FALSE(json::decodeData<PlaybackSnapshot>(withKey(key, QJsonValue::Undefined)))
            << key.toStdString();

    const auto trackWith = [](const QString &key, const QJsonValue &value) {
        QJsonObject o = track().toJson().toObject();
        o.insert(key, value);
        return o;
    };
    const QByteArray refused[] = {withKey("availability", "paused"), withKey("availability", "Ready"),
        withKey("isPlaying", 1), withKey("position", "3"), withKey("volume", QJsonValue::Null),
        withKey("version", 1.5), withKey("updatedAt", "2024-01-01T00:00:00Z"),
        withKey("capabilities", QJsonObject{{"canSeek", true}}), withKey("commandError", 5),
        withKey("track", trackWith("duration", "213")), withKey("track", trackWith("artworkURL", "")), "[]",
        "{"};
    for (const QByteArray &data : refused)
        EXPECT_FALSE(json::decodeData<PlaybackSnapshot>(data)) << data.toStdString();

    // Decoding keeps what is stored: another version, a negative duration, an out-of-range volume.
    EXPECT_EQ(
        json::decodeData<PlaybackSnapshot>(withKey("track", trackWith("duration", -5)))->track->duration, -5);
    EXPECT_EQ(json::decodeData<PlaybackSnapshot>(withKey("version", 2))->version, 2);
    EXPECT_EQ(json::decodeData<PlaybackSnapshot>(withKey("volume", 140))->volume, 140);

    std::vector<PlaybackSnapshot> nonFinite(4, full());
    nonFinite[0].position = NaN;
    nonFinite[1].updatedAt = Date{Inf};
    nonFinite[2].track->duration = -Inf;
    nonFinite[3].artworkPalette->deep.blue = NaN;
    for (const auto &s : nonFinite)
        EXPECT_THROW(json::encodeData(s), json::EncodingError);
}

TEST(PlaybackSnapshot, MutatedFilesNeverCrashTheDecoder)
{
    const QByteArray valid = json::encodeData(full());
    const QByteArray alphabet = "{}[]\",:.-0123456789eEtrufalsn \\";
    QRandomGenerator rng(1101);
    for (int round = 0; round < 4000; ++round) {
        QByteArray data = valid;
        for (int e = 1 + int(rng.bounded(3)); e > 0 && !data.isEmpty(); --e) {
            const int at = int(rng.bounded(data.size()));
            const char c = alphabet.at(int(rng.bounded(alphabet.size())));
            switch (rng.bounded(4)) {
            case 0:
                data.remove(at, 1);
                break;
            case 1:
                data.insert(at, c);
                break;
            case 2:
                data[at] = c;
                break;
            default:
                data.truncate(at);
                break;
            }
        }
        if (const auto s = json::decodeData<PlaybackSnapshot>(data)) {
            EXPECT_EQ(json::decodeData<PlaybackSnapshot>(json::encodeData(*s)), s) << data.toStdString();
        }
    }
}
