#pragma once

// App Group files as the app writes them, a fixed wall clock and sample
// values, for the widgets' and the host's tests.

#include "MusicShortcut.h"
#include "Playback.h"
#include "ScopedWallClock.h"
#include "SharedStore.h"
#include "TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QQuickWindow>
#include <functional>

// Widgets are drawn by the software scene graph, as the host chooses before
// its first window; chosen here before main() for the same reason.
inline const bool softwareScenegraph = [] {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}();

namespace fixtures {
inline const QString trackId = QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
inline const Date writtenAt{760000000};

inline Track track(double duration = 200,
    std::optional<QUrl> spotifyURL
    = QUrl(QStringLiteral("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC")))
{
    return Track(trackId, QStringLiteral("Midnight Arcade"), QStringLiteral("Lumen Drift"),
        QStringLiteral("Neon"), duration, std::nullopt, std::move(spotifyURL));
}

inline PlaybackSnapshot snapshot(PlayerAvailability availability, std::optional<Track> track, bool playing,
    double position = 83.9, Date at = writtenAt, std::optional<QString> artworkFile = std::nullopt,
    std::optional<ArtworkPalette> palette = std::nullopt, std::optional<QString> commandError = std::nullopt)
{
    return PlaybackSnapshot(availability, std::move(track), playing, position, 60, false, false,
        PlaybackCapabilities{true, true, true}, at, std::move(artworkFile), std::move(palette),
        std::move(commandError));
}

inline PlaybackSnapshot playing(double position = 83.9, double duration = 200)
{
    return snapshot(PlayerAvailability::ready, track(duration), true, position);
}

// 22 characters of base 62 from a number, so every shortcut has its own id.
inline QString spotifyId(int n)
{
    return QStringLiteral("%1").arg(n, 22, 10, QLatin1Char('0'));
}

inline MusicShortcut shortcut(int n, SpotifyLink::Kind kind = SpotifyLink::Kind::playlist,
    std::optional<SkillGlyph> glyph = std::nullopt, const QString &title = {})
{
    const auto link = SpotifyLink::parse(QStringLiteral("spotify:%1:%2").arg(toRawValue(kind), spotifyId(n)));
    return MusicShortcut(QUuid::createUuidV5(QUuid(), QString::number(n)),
        title.isEmpty() ? QStringLiteral("Shortcut %1").arg(n) : title, *link, glyph);
}

inline QList<MusicShortcut> shortcuts(int count)
{
    QList<MusicShortcut> list;
    for (int i = 1; i <= count; ++i)
        list.append(shortcut(i));
    return list;
}

// A cover of two colours, so that a picture of it shows where it lies.
inline QImage cover(int side = 600)
{
    QImage image(side, side, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, side, side);
    gradient.setColorAt(0, QColor(236, 96, 64));
    gradient.setColorAt(1, QColor(48, 64, 180));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(250, 220, 120));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(side * 0.62, side * 0.4), side * 0.2, side * 0.2);
    return image;
}
} // namespace fixtures

// A temporary home whose App Group container the widgets read.
class AppGroupFixture {
public:
    TemporaryHome home;

    SharedStore store() const { return SharedStore(); }
    QString directory() const { return store().directory; }

    void write(const PlaybackSnapshot &snapshot) const { store().saveSnapshot(snapshot); }
    void write(const QList<MusicShortcut> &shortcuts) const { store().saveShortcuts(shortcuts); }
    void write(const VisualizerSettings &settings) const { store().saveVisualizer(settings); }
    void write(Skin skin) const { store().saveSkin(skin); }
    void put(const QString &name, const QByteArray &data) const
    {
        QDir().mkpath(directory());
        QFile file(directory() + u'/' + name);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(data);
    }
    void putArtwork(const QString &name, const QImage &image = fixtures::cover()) const
    {
        QDir().mkpath(directory());
        image.save(directory() + u'/' + name, "JPG", 90);
    }

    // Every file of the container with its bytes.
    QMap<QString, QByteArray> contents() const
    {
        QMap<QString, QByteArray> result;
        const QDir dir(directory());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
            QFile file(dir.filePath(name));
            result.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
        }
        return result;
    }
};
