#include "Playback.h"

#include "Json.h"

#include <algorithm>
#include <cmath>

namespace {

QString urlString(const QUrl &url)
{
    return url.toString(QUrl::FullyEncoded);
}

std::optional<QUrl> optionalUrl(const QJsonObject &o, const QString &key)
{
    const auto text = json::optionalString(o, key);
    if (!text)
        return std::nullopt;
    const QUrl url(*text, QUrl::StrictMode);
    if (text->isEmpty() || !url.isValid())
        throw json::DecodingError(key, QStringLiteral("Invalid URL string."));
    return url;
}

void insertUrl(QJsonObject &o, const QString &key, const std::optional<QUrl> &url)
{
    if (url)
        o.insert(key, urlString(*url));
}

} // namespace

Track::Track(QString id_, QString title_, QString artist_, QString album_, double duration_,
    std::optional<QUrl> artworkURL_, std::optional<QUrl> spotifyURL_)
    : id(std::move(id_))
    , title(std::move(title_))
    , artist(std::move(artist_))
    , album(std::move(album_))
    , duration(std::isfinite(duration_) && duration_ >= 0 ? duration_ : 0.0)
    , artworkURL(std::move(artworkURL_))
    , spotifyURL(std::move(spotifyURL_))
{
}

QJsonValue Track::toJson() const
{
    QJsonObject o{{QStringLiteral("id"), id}, {QStringLiteral("title"), title},
        {QStringLiteral("artist"), artist}, {QStringLiteral("album"), album},
        {QStringLiteral("duration"), json::finite(duration)}};
    insertUrl(o, QStringLiteral("artworkURL"), artworkURL);
    insertUrl(o, QStringLiteral("spotifyURL"), spotifyURL);
    return o;
}

Track Track::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    Track track(json::string(o, QStringLiteral("id")), json::string(o, QStringLiteral("title")),
        json::string(o, QStringLiteral("artist")), json::string(o, QStringLiteral("album")), 0,
        optionalUrl(o, QStringLiteral("artworkURL")), optionalUrl(o, QStringLiteral("spotifyURL")));
    track.duration = json::number(o, QStringLiteral("duration"));
    return track;
}

QJsonValue PlaybackCapabilities::toJson() const
{
    return QJsonObject{{QStringLiteral("canSeek"), canSeek}, {QStringLiteral("canShuffle"), canShuffle},
        {QStringLiteral("canRepeat"), canRepeat}};
}

PlaybackCapabilities PlaybackCapabilities::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    return PlaybackCapabilities{json::boolean(o, QStringLiteral("canSeek")),
        json::boolean(o, QStringLiteral("canShuffle")), json::boolean(o, QStringLiteral("canRepeat"))};
}

PlaybackSnapshot::PlaybackSnapshot(PlayerAvailability availability_, std::optional<Track> track_,
    bool isPlaying_, double position_, double volume_, bool shuffle_, bool repeatEnabled_,
    PlaybackCapabilities capabilities_, Date updatedAt_, std::optional<QString> artworkFile_,
    std::optional<ArtworkPalette> artworkPalette_, std::optional<QString> commandError_)
    : version(schemaVersion)
    , availability(availability_)
    , track(std::move(track_))
    , isPlaying(isPlaying_)
    , position(std::isfinite(position_) && position_ >= 0 ? position_ : 0.0)
    , volume(std::isfinite(volume_) ? std::clamp(volume_, 0.0, 100.0) : defaultVolume)
    , shuffle(shuffle_)
    , repeatEnabled(repeatEnabled_)
    , capabilities(capabilities_)
    , updatedAt(updatedAt_)
    , artworkFile(std::move(artworkFile_))
    , artworkPalette(std::move(artworkPalette_))
    , commandError(std::move(commandError_))
{
}

bool PlaybackSnapshot::isStale(Date at, double after) const
{
    return at.timeIntervalSince(updatedAt) > after;
}

bool PlaybackSnapshot::showsActivePlayback() const
{
    return availability == PlayerAvailability::ready && track && isPlaying;
}

double PlaybackSnapshot::estimatedPosition(Date at) const
{
    double elapsed = 0;
    if (availability == PlayerAvailability::ready && isPlaying) {
        const double interval = at.timeIntervalSince(updatedAt);
        if (interval > 0)
            elapsed = interval;
    }
    // A stored track may carry a negative duration; a position never goes below 0.
    const double limit = track ? std::max(track->duration, 0.0) : 0.0;
    return std::min(std::max(position + elapsed, 0.0), limit);
}

QString PlaybackSnapshot::displayTime(double seconds)
{
    const double value = std::isfinite(seconds) ? std::min(seconds, maximumDisplaySeconds) : 0.0;
    const int whole = std::max(int(std::trunc(std::max(value, -1.0))), 0);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QJsonValue PlaybackSnapshot::toJson() const
{
    QJsonObject o{{QStringLiteral("version"), version},
        {QStringLiteral("availability"), toRawValue(availability)}, {QStringLiteral("isPlaying"), isPlaying},
        {QStringLiteral("position"), json::finite(position)},
        {QStringLiteral("volume"), json::finite(volume)}, {QStringLiteral("shuffle"), shuffle},
        {QStringLiteral("repeatEnabled"), repeatEnabled},
        {QStringLiteral("capabilities"), capabilities.toJson()},
        {QStringLiteral("updatedAt"), json::finite(updatedAt.secondsSinceReferenceDate)}};
    json::insertOptional(o, QStringLiteral("track"), track);
    json::insertOptional(o, QStringLiteral("artworkFile"), artworkFile);
    json::insertOptional(o, QStringLiteral("artworkPalette"), artworkPalette);
    json::insertOptional(o, QStringLiteral("commandError"), commandError);
    return o;
}

PlaybackSnapshot PlaybackSnapshot::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    PlaybackSnapshot snapshot;
    snapshot.version = json::integer(o, QStringLiteral("version"));
    snapshot.availability = json::rawEnum<PlayerAvailability>(o, QStringLiteral("availability"));
    snapshot.track = json::decodeOptional<Track>(o, QStringLiteral("track"));
    snapshot.isPlaying = json::boolean(o, QStringLiteral("isPlaying"));
    snapshot.position = json::number(o, QStringLiteral("position"));
    snapshot.volume = json::number(o, QStringLiteral("volume"));
    snapshot.shuffle = json::boolean(o, QStringLiteral("shuffle"));
    snapshot.repeatEnabled = json::boolean(o, QStringLiteral("repeatEnabled"));
    snapshot.capabilities = json::decode<PlaybackCapabilities>(o, QStringLiteral("capabilities"));
    snapshot.updatedAt = Date{json::number(o, QStringLiteral("updatedAt"))};
    snapshot.artworkFile = json::optionalString(o, QStringLiteral("artworkFile"));
    snapshot.artworkPalette = json::decodeOptional<ArtworkPalette>(o, QStringLiteral("artworkPalette"));
    snapshot.commandError = json::optionalString(o, QStringLiteral("commandError"));
    return snapshot;
}
