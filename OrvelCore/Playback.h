#pragma once

#include "ArtworkPalette.h"
#include "Date.h"
#include "RawEnum.h"

#include <QJsonValue>
#include <QString>
#include <QUrl>
#include <optional>

// Whether, and why not, Spotify's player can be shown.
enum class PlayerAvailability {
    ready,
    notInstalled,
    notRunning,
    needsPermission,
    permissionDenied,
    noTrack,
    unavailable
};

template<>
struct RawEnumCases<PlayerAvailability> {
    using A = PlayerAvailability;
    static constexpr std::array<std::pair<A, std::string_view>, 7> cases{
        {{A::ready, "ready"}, {A::notInstalled, "notInstalled"}, {A::notRunning, "notRunning"},
            {A::needsPermission, "needsPermission"}, {A::permissionDenied, "permissionDenied"},
            {A::noTrack, "noTrack"}, {A::unavailable, "unavailable"}}};
};

struct Track {
    QString id; // a "spotify:" URI; an advertisement's begins "spotify:ad:"
    QString title;
    QString artist;
    QString album;
    double duration = 0; // seconds
    std::optional<QUrl> artworkURL;
    std::optional<QUrl> spotifyURL;

    // A duration that is not finite or is negative is stored as 0.
    Track(QString id, QString title, QString artist, QString album, double duration,
        std::optional<QUrl> artworkURL, std::optional<QUrl> spotifyURL);

    QJsonValue toJson() const;
    // Keeps the stored duration as it is, negative included.
    static Track fromJson(const QJsonValue &value);

    friend bool operator==(const Track &, const Track &) = default;
};

struct PlaybackCapabilities {
    bool canSeek = false;
    bool canShuffle = false;
    bool canRepeat = false;

    QJsonValue toJson() const;
    static PlaybackCapabilities fromJson(const QJsonValue &value);

    friend bool operator==(const PlaybackCapabilities &, const PlaybackCapabilities &) = default;
};

// The player's state at one moment, and the form of "playback.json".
struct PlaybackSnapshot {
    static constexpr qint64 schemaVersion = 1;
    static constexpr double defaultVolume = 50;
    static constexpr double maximumDisplaySeconds = 359999;

    qint64 version = schemaVersion;
    PlayerAvailability availability = PlayerAvailability::unavailable;
    std::optional<Track> track;
    bool isPlaying = false;
    double position = 0; // seconds, at updatedAt
    double volume = defaultVolume; // 0...100
    bool shuffle = false;
    bool repeatEnabled = false;
    PlaybackCapabilities capabilities;
    Date updatedAt;
    std::optional<QString> artworkFile;
    std::optional<ArtworkPalette> artworkPalette;
    std::optional<QString> commandError;

    // Unavailable, dated at the reference date; for containers and awaiting results.
    PlaybackSnapshot() = default;
    // Sets version to schemaVersion; position becomes finite and non-negative,
    // volume lands in 0...100 (a non-finite volume reads as defaultVolume).
    PlaybackSnapshot(PlayerAvailability availability, std::optional<Track> track, bool isPlaying,
        double position, double volume, bool shuffle, bool repeatEnabled, PlaybackCapabilities capabilities,
        Date updatedAt, std::optional<QString> artworkFile, std::optional<ArtworkPalette> artworkPalette,
        std::optional<QString> commandError);

    bool isStale(Date at, double after) const;
    bool showsActivePlayback() const;
    // The position extrapolated to the given moment while playing, within the track's duration.
    double estimatedPosition(Date at) const;
    // "m:ss", minutes unbounded by hours; non-finite and negative values read as 0.
    static QString displayTime(double seconds);

    QJsonValue toJson() const;
    // Stores what it reads: the version is not checked and nothing is clamped.
    static PlaybackSnapshot fromJson(const QJsonValue &value);

    friend bool operator==(const PlaybackSnapshot &, const PlaybackSnapshot &) = default;
};
