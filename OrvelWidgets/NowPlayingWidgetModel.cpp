#include "NowPlayingWidgetModel.h"

#include "Localization.h"
#include "OrvelURL.h"
#include "SpotifyLink.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonObject>
#include <cmath>
#include <limits>

NowPlayingWidgetModel::NowPlayingWidgetModel(QObject *parent)
    : QObject(parent)
{
    recompute();
}

bool NowPlayingWidgetModel::showsPlayer(const PlaybackSnapshot &snapshot)
{
    return snapshot.availability == PlayerAvailability::ready
        || (snapshot.availability == PlayerAvailability::unavailable && snapshot.track);
}

NowPlayingWidgetModel::Layout NowPlayingWidgetModel::layout(
    const PlaybackSnapshot &snapshot, WidgetFamily family)
{
    if (!showsPlayer(snapshot))
        return Layout::prompt;
    return family == WidgetFamily::systemSmall ? Layout::small : Layout::medium;
}

NowPlayingWidgetModel::Status NowPlayingWidgetModel::status(const MusicEntry &entry)
{
    if (entry.snapshot.availability == PlayerAvailability::unavailable)
        return Status::unavailable;
    return entry.visualizer.enabled && showsPlayer(entry.snapshot) ? Status::badge : Status::none;
}

qint64 NowPlayingWidgetModel::wholeSeconds(double seconds)
{
    // 2^63 is exact as a double; every double at or beyond it is out of range.
    constexpr double limit = 9223372036854775808.0;
    if (std::isnan(seconds))
        return 0;
    if (seconds >= limit)
        return std::numeric_limits<qint64>::max();
    if (seconds < -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(std::trunc(seconds));
}

QString NowPlayingWidgetModel::relativeTime(Date written, Date now)
{
    const double elapsed = now.timeIntervalSince(written);
    if (!std::isfinite(elapsed) || elapsed < 1)
        return localized(QStringLiteral("now"));
    const qint64 seconds = qint64(std::min(elapsed, 1e12));
    const auto phrase = [](qint64 count, const char *one, const char *many) {
        return count == 1 ? localized(QString::fromLatin1(one))
                          : localized(QString::fromLatin1(many), {QVariant(count)});
    };
    if (seconds < 60)
        return phrase(seconds, "1 second ago", "%ld seconds ago");
    if (seconds < 3600)
        return phrase(seconds / 60, "1 minute ago", "%ld minutes ago");
    if (seconds < 86400)
        return phrase(seconds / 3600, "1 hour ago", "%ld hours ago");
    return phrase(seconds / 86400, "1 day ago", "%ld days ago");
}

QString NowPlayingWidgetModel::badgeIdentity(const PlaybackSnapshot &snapshot)
{
    const QString id = snapshot.track ? snapshot.track->id : QString();
    return id + u'-' + (snapshot.showsActivePlayback() ? QStringLiteral("true") : QStringLiteral("false"))
        + u'-' + QString::number(wholeSeconds(snapshot.position));
}

NowPlayingWidgetModel::Progress NowPlayingWidgetModel::progress(const PlaybackSnapshot &snapshot)
{
    if (!snapshot.track)
        return {};
    const double duration = snapshot.track->duration;
    if (duration > 0 && snapshot.showsActivePlayback()) {
        const Date start = snapshot.updatedAt.addingTimeInterval(-snapshot.position);
        return {Progress::Form::live, start, start.addingTimeInterval(duration), {}};
    }
    return {Progress::Form::still, {}, {}, PlaybackSnapshot::displayTime(snapshot.position)};
}

FontDescription NowPlayingWidgetModel::progressFont(Skin skin, double baseSize)
{
    return skin == Skin::rivista ? Font::numeric(baseSize + 3) : Font::mono(baseSize);
}

bool NowPlayingWidgetModel::progressUsesAccent(Skin skin, WidgetRenderingMode mode, bool active)
{
    return mode == WidgetRenderingMode::fullColor && skin == Skin::rivista && active;
}

FontDescription NowPlayingWidgetModel::titleFont(Skin skin, Layout layout)
{
    const bool small = layout == Layout::small;
    if (skin == Skin::rivista)
        return Font::display(small ? 14 : 16);
    return FontDescription{small ? 13.0 : 15.0, FontWeight::semibold};
}

QString NowPlayingWidgetModel::promptMessage(PlayerAvailability availability)
{
    if (availability == PlayerAvailability::needsPermission
        || availability == PlayerAvailability::permissionDenied)
        return localized(QStringLiteral("Connect Spotify in Orvel"));
    return localized(QStringLiteral("Open Orvel to get started"));
}

double NowPlayingWidgetModel::backdropIntensity(const PlaybackSnapshot &snapshot)
{
    return snapshot.showsActivePlayback() ? activeBackdrop : idleBackdrop;
}

std::optional<QUrl> NowPlayingWidgetModel::spotifyLink(const std::optional<Track> &track)
{
    if (!track || !track->spotifyURL)
        return std::nullopt;
    const QUrl &url = *track->spotifyURL;
    const bool onWebPlayer = url.isValid() && url.scheme() == QLatin1String("https")
        && url.host() == SpotifyLink::openLinkHost && url.userInfo().isEmpty() && url.port(443) == 443;
    return onWebPlayer ? std::optional(url) : std::nullopt;
}

QImage NowPlayingWidgetModel::artwork(
    const SharedStore &store, const std::optional<QString> &file, int pixels, WidgetRenderingMode mode)
{
    if (pixels <= 0)
        return {};
    // Read through the store: capped, and a pipe in the file's place cannot stall the host.
    const std::optional<QByteArray> data = store.loadArtwork(file);
    if (!data)
        return {};
    QBuffer buffer;
    buffer.setData(*data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize original = reader.size();
    if (original.isValid() && (original.width() > pixels || original.height() > pixels))
        reader.setScaledSize(original.scaled(pixels, pixels, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    switch (mode) {
    case WidgetRenderingMode::fullColor:
        return image;
    case WidgetRenderingMode::accented:
        return desaturated(image);
    case WidgetRenderingMode::vibrant:
        return luminanceToAlpha(image);
    }
    return image;
}

namespace {
// Relative luminance of a pixel's colour, 0…255.
double luminance(QRgb pixel)
{
    return 0.2126 * qRed(pixel) + 0.7152 * qGreen(pixel) + 0.0722 * qBlue(pixel);
}

// A copy of the image with each pixel replaced.
template<class Map>
QImage mapPixels(const QImage &image, Map map)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = map(in[x]);
    }
    return result;
}
} // namespace

QImage NowPlayingWidgetModel::luminanceToAlpha(const QImage &image)
{
    return mapPixels(image, [](QRgb pixel) {
        return qRgba(255, 255, 255, int(std::lround(luminance(pixel) / 255.0 * qAlpha(pixel))));
    });
}

QImage NowPlayingWidgetModel::desaturated(const QImage &image)
{
    return mapPixels(image, [](QRgb pixel) {
        const int grey = int(std::lround(luminance(pixel)));
        return qRgba(grey, grey, grey, qAlpha(pixel));
    });
}

void NowPlayingWidgetModel::setEntryValue(const QVariant &value)
{
    setEntry(value.canConvert<MusicEntry>() ? value.value<MusicEntry>() : MusicEntry());
}

void NowPlayingWidgetModel::setEntry(const MusicEntry &entry)
{
    m_entry = entry;
    recompute();
}

void NowPlayingWidgetModel::setFamilyName(const QString &name)
{
    const auto family = fromRawValue<WidgetFamily>(name);
    if (!family || *family == m_family)
        return;
    m_family = *family;
    recompute();
}

void NowPlayingWidgetModel::setRenderingModeName(const QString &name)
{
    const auto mode = fromRawValue<WidgetRenderingMode>(name);
    if (!mode || *mode == m_mode)
        return;
    m_mode = *mode;
    recompute();
}

void NowPlayingWidgetModel::recompute()
{
    const PlaybackSnapshot &snapshot = m_entry.snapshot;
    m_aura = Aura(snapshot.artworkPalette, snapshot.artworkFile);
    m_palette = SkinPalette(m_entry.skin, m_aura);
    m_progress = progress(snapshot);
    // Read on every new entry: nothing is cached between entries.
    m_artwork = layout(snapshot, m_family) == Layout::prompt
        ? QImage()
        : artwork(SharedStore(), snapshot.artworkFile, int(artworkSize()) * artworkReadScale, m_mode);
    emit changed();
}

QString NowPlayingWidgetModel::layoutName() const
{
    switch (layout(m_entry.snapshot, m_family)) {
    case Layout::prompt:
        return QStringLiteral("prompt");
    case Layout::small:
        return QStringLiteral("small");
    case Layout::medium:
        return QStringLiteral("medium");
    }
    return {};
}

QUrl NowPlayingWidgetModel::playerURL() const
{
    return OrvelURL::player();
}

QString NowPlayingWidgetModel::statusName() const
{
    switch (status(m_entry)) {
    case Status::none:
        return QStringLiteral("none");
    case Status::unavailable:
        return QStringLiteral("unavailable");
    case Status::badge:
        return QStringLiteral("badge");
    }
    return {};
}

QVariant NowPlayingWidgetModel::visualizer() const
{
    return m_entry.visualizer.toJson().toObject().toVariantMap();
}

QString NowPlayingWidgetModel::title() const
{
    return m_entry.snapshot.track ? m_entry.snapshot.track->title : QString();
}

QString NowPlayingWidgetModel::artist() const
{
    return m_entry.snapshot.track ? m_entry.snapshot.track->artist : QString();
}

QFont NowPlayingWidgetModel::titleFontValue() const
{
    return titleFont(m_entry.skin, layout(m_entry.snapshot, m_family)).toQFont();
}

QString NowPlayingWidgetModel::progressName() const
{
    switch (m_progress.form) {
    case Progress::Form::none:
        return QStringLiteral("none");
    case Progress::Form::live:
        return QStringLiteral("live");
    case Progress::Form::still:
        return QStringLiteral("still");
    }
    return {};
}

QFont NowPlayingWidgetModel::progressFontValue() const
{
    const bool small = layout(m_entry.snapshot, m_family) == Layout::small;
    return progressFont(m_entry.skin, small ? smallProgressBase : mediumProgressBase).toQFont();
}

QColor NowPlayingWidgetModel::progressColor() const
{
    return progressUsesAccent(m_entry.skin, m_mode, active()) ? m_palette.accentColor()
                                                              : WidgetMetrics::secondary();
}

QString NowPlayingWidgetModel::toggleLabel() const
{
    return localized(active() ? QStringLiteral("Pause") : QStringLiteral("Play"));
}

QColor NowPlayingWidgetModel::primaryFill() const
{
    return m_entry.skin == Skin::rivista ? m_palette.textColor() : m_palette.accentColor();
}

double NowPlayingWidgetModel::artworkSize() const
{
    return m_family == WidgetFamily::systemSmall ? smallArtwork : mediumArtwork;
}
