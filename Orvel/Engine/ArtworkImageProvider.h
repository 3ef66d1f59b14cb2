#pragma once

#include <QLatin1String>
#include <QQuickImageProvider>
#include <memory>

class PlaybackCoordinator;
class PublishedArtwork;
class QQmlEngine;

// Serves the coordinator's cover to QML at image://artwork/<artworkID>?<n>, the
// coordinator's artworkSource. It answers from a copy the coordinator publishes,
// so image loaders on other threads (asynchronous Images) read it safely too.
class ArtworkImageProvider final : public QQuickImageProvider {
public:
    static constexpr QLatin1String name{"artwork"};

    explicit ArtworkImageProvider(std::shared_ptr<const PublishedArtwork> artwork);

    // Installs a provider for the coordinator on the engine, replacing an earlier one.
    static void install(QQmlEngine &engine, PlaybackCoordinator &coordinator);
    // The id QML hands the provider for an image:// URL.
    static QString key(const QUrl &url);

    // Scaled to the requested size, if any, keeping the cover's proportions.
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    const std::shared_ptr<const PublishedArtwork> m_artwork;
};
