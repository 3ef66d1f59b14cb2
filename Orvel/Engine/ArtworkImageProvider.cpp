#include "ArtworkImageProvider.h"

#include "PlaybackCoordinator.h"

#include <QQmlEngine>

ArtworkImageProvider::ArtworkImageProvider(std::shared_ptr<const PublishedArtwork> artwork)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_artwork(std::move(artwork))
{
}

void ArtworkImageProvider::install(QQmlEngine &engine, PlaybackCoordinator &coordinator)
{
    engine.removeImageProvider(name);
    engine.addImageProvider(name, new ArtworkImageProvider(coordinator.publishedArtwork()));
}

QString ArtworkImageProvider::key(const QUrl &url)
{
    // As the QML image loader cuts it: everything after "image://<provider>/".
    return url.isEmpty() ? QString() : url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1);
}

QImage ArtworkImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const QImage image = m_artwork->image(id);
    if (size)
        *size = image.size();
    if (image.isNull())
        return image;
    const int width = requestedSize.width();
    const int height = requestedSize.height();
    if (width > 0 && height > 0)
        return image.scaled(requestedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (width > 0)
        return image.scaledToWidth(width, Qt::SmoothTransformation);
    if (height > 0)
        return image.scaledToHeight(height, Qt::SmoothTransformation);
    return image;
}
