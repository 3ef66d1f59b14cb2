#pragma once

#include "RawEnum.h"

#include <QJsonValue>
#include <QString>
#include <QUrl>
#include <optional>

// A validated reference to a Spotify track, album, playlist or artist.
// It can only be made by parsing, so every value carries a well-formed id.
class SpotifyLink {
public:
    enum class Kind { track, album, playlist, artist };

    // The host of Spotify's public web player; every web link is built on it.
    static constexpr QLatin1String openLinkHost{"open.spotify.com"};
    static constexpr int idLength = 22;

    // Parses a "spotify:" URI or a web link on openLinkHost; nothing when invalid.
    static std::optional<SpotifyLink> parse(const QString &text);
    // The web link for the identifier Spotify reports for the current item
    // (podcast episodes included), or for pasted text.
    static std::optional<QUrl> playbackURL(const QString &text);

    Kind kind() const { return m_kind; }
    const QString &id() const { return m_id; }
    QUrl uri() const;
    QUrl url() const;
    QString uriString() const;

    QJsonValue toJson() const;
    static SpotifyLink fromJson(const QJsonValue &value);

    friend bool operator==(const SpotifyLink &, const SpotifyLink &) = default;

    static bool isValidId(const QString &id);

private:
    SpotifyLink(Kind kind, QString id)
        : m_kind(kind)
        , m_id(std::move(id))
    {
    }

    Kind m_kind;
    QString m_id;
};

template<>
struct RawEnumCases<SpotifyLink::Kind> {
    using K = SpotifyLink::Kind;
    static constexpr std::array<std::pair<K, std::string_view>, 4> cases{
        {{K::track, "track"}, {K::album, "album"}, {K::playlist, "playlist"}, {K::artist, "artist"}}};
};
