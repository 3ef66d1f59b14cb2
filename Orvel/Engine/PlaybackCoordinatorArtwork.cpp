#include "PlaybackCoordinator.h"

#include "KeptFiles.h"
#include "WidgetCenter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>
#include <qcoro/qcorofuture.h>
#include <qcoro/qcoronetworkreply.h>

namespace {
// A decoded image, or a null one; the allocation limit keeps a small file that
// claims enormous dimensions from taking the memory.
QImage decodeImage(const QByteArray &data, int limitMB)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(limitMB);
    reader.setAutoTransform(true);
    return reader.read();
}

QFuture<std::optional<ArtworkPalette>> extractPaletteInBackground(QByteArray data, int maxPixel)
{
    auto promise = std::make_shared<QPromise<std::optional<ArtworkPalette>>>();
    QFuture<std::optional<ArtworkPalette>> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, data = std::move(data), maxPixel] {
        promise->addResult(ArtworkPalette::extract(data, maxPixel));
        promise->finish();
    });
    return future;
}
} // namespace

QString PlaybackCoordinator::artworkFileName(const QUrl &url)
{
    const QByteArray digest
        = QCryptographicHash::hash(url.toString(QUrl::FullyEncoded).toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex()) + QStringLiteral(".jpg");
}

void PlaybackCoordinator::updateArtwork(const std::optional<Track> &track)
{
    const std::optional<QUrl> newURL = track ? track->artworkURL : std::nullopt;
    if (newURL == m_artworkSource) {
        if (!m_artwork.isNull())
            return;
        if (Date::now() < m_artworkRetryAfter)
            return;
    }
    cancelArtworkDownload();
    m_artworkSource = newURL;
    m_artworkRetryAfter = Date::now().addingTimeInterval(artworkRetryPause);
    if (!newURL) {
        clearArtwork();
        return;
    }
    const QString name = artworkFileName(*newURL);
    const std::optional<QUrl> fileURL = m_store.artworkURL(name);
    if (!fileURL) {
        clearArtwork();
        return;
    }

    if (const std::optional<QByteArray> cached = m_store.loadArtwork(name)) {
        const QByteArray &bytes = *cached;
        const QImage image = decodeImage(bytes, artworkDecodeLimitMB);
        if (!image.isNull()) {
            const auto palette = ArtworkPalette::extract(bytes, artworkThumbnailPixels);
            // A failed save leaves the cover shown; the next publication writes again.
            showArtwork(image, palette, name);
            return;
        }
    }

    m_artworkGrace.cancel();
    m_artworkGrace = m_scheduler.spawn(
        [guard = QPointer<PlaybackCoordinator>(this), name](TaskHandle self) -> QCoro::Task<void> {
            if (guard)
                co_await guard->artworkGraceTask(self, name);
        });
    m_artworkTask
        = m_scheduler.spawn([guard = QPointer<PlaybackCoordinator>(this), url = *newURL, track = *track,
                                file = *fileURL, name](TaskHandle self) -> QCoro::Task<void> {
              if (guard)
                  co_await guard->downloadArtwork(self, url, track, file, name);
          });
}

void PlaybackCoordinator::cancelArtworkDownload()
{
    // Cancelled first, so the download's own check drops what the hang-up brings.
    m_artworkTask.cancel();
    if (m_artworkReply)
        m_artworkReply->abort();
}

QCoro::Task<void> PlaybackCoordinator::artworkGraceTask(TaskHandle self, QString name)
{
    const QPointer<PlaybackCoordinator> guard(this);
    co_await m_scheduler.sleep(artworkGracePause, self);
    if (self.isCancelled() || !guard)
        co_return;
    if (m_artworkID == name)
        co_return;
    clearArtwork();
}

QCoro::Task<void> PlaybackCoordinator::downloadArtwork(
    TaskHandle self, QUrl url, Track track, QUrl fileURL, QString name)
{
    const QPointer<PlaybackCoordinator> guard(this);
    const auto stopped = [&] { return self.isCancelled() || !guard; };
    if (stopped())
        co_return; // superseded before it began: no request at all

    QNetworkRequest request(url);
    request.setTransferTimeout(artworkRequestTimeoutMs);
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> reply(
        m_artworkSession->get(request), [](QNetworkReply *r) { r->deleteLater(); });
    m_artworkReply = reply.get();

    QNetworkReply *stream = reply.get();
    const std::optional<QByteArray> read = co_await readBody(stream, artworkBodyLimit);
    if (!read || stopped())
        co_return;
    const QByteArray &body = *read;
    const QVariant status = stream->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool isHTTP = status.isValid();
    // The request failed when no answer came at all, or when an HTTP answer broke
    // off (hang-up, time-out, garbled framing); a status that merely says no did not.
    const QNetworkReply::NetworkError error = stream->error();
    const bool failed = isHTTP
        ? (error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied)
            || error == QNetworkReply::ProtocolFailure
        : error != QNetworkReply::NoError;
    if (failed) {
        clearArtwork();
        co_return;
    }
    // Only an HTTP answer counts, and only a 200.
    if (!isHTTP || status.toInt() != 200)
        co_return;
    const QImage image = decodeImage(body, artworkDecodeLimitMB);
    if (image.isNull())
        co_return;
    if (!m_snapshot.track || m_snapshot.track->id != track.id)
        co_return;

    const std::optional<ArtworkPalette> palette
        = co_await extractPaletteInBackground(body, artworkThumbnailPixels);
    if (stopped())
        co_return;

    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "JPEG", artworkJpegQuality))
            co_return;
    }

    const std::optional<QString> previousFile = m_snapshot.artworkFile;
    try {
        // A cover is fetched again when lost: whole, but not synced.
        KeptFiles::save(fileURL.toLocalFile(), jpeg, PrivateFiles::Durability::cached);
    } catch (const std::exception &) {
        clearArtwork();
        co_return;
    }
    const bool saved = showArtwork(image, palette, name);
    if (!saved) {
        clearArtwork();
        co_return;
    }
    pruneArtwork(name, previousFile);
    m_widgetCenter.reloadTimelines(nowPlayingWidgetKind);
}

QCoro::Task<std::optional<QByteArray>> PlaybackCoordinator::readBody(QNetworkReply *reply, qint64 limit)
{
    // Taken as it streams in, so an oversized body is cut off without ever being held whole.
    // Qt reads the network on a thread of its own, as fast as it can, into a buffer without
    // bound: bounded, it stops reading while this thread is slow to take what came.
    reply->setReadBufferSize(readBufferBytes);
    QByteArray body;
    bool oversized = false;
    const auto refuse = [reply, &body, &oversized] {
        oversized = true;
        body.clear();
        reply->abort();
    };
    const auto take = [reply, &body, &oversized, &refuse, limit] {
        if (oversized)
            return;
        body += reply->readAll();
        if (body.size() >= limit)
            refuse();
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, take);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, &oversized, &refuse, limit] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (!oversized && length.isValid() && length.toLongLong() >= limit)
            refuse();
    });
    if (!reply->isFinished())
        co_await qCoro(reply).waitForFinished();
    QObject::disconnect(reply, nullptr, reply, nullptr);
    if (!oversized && reply->isOpen())
        take();
    if (oversized)
        co_return std::nullopt;
    co_return body;
}

void PlaybackCoordinator::pruneArtwork(const QString &keep, const std::optional<QString> &previous) const
{
    const QDir directory(m_store.directory);
    const QStringList entries
        = directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (QFileInfo(entry).suffix() != QLatin1String("jpg") || entry == keep || entry == previous)
            continue;
        QFile::remove(directory.filePath(entry));
    }
}

bool PlaybackCoordinator::showArtwork(
    const QImage &image, const std::optional<ArtworkPalette> &palette, const QString &name)
{
    setArtwork(image, palette, name);
    m_snapshot.artworkFile = name;
    m_snapshot.artworkPalette = palette;
    emit snapshotChanged();
    try {
        m_store.saveSnapshot(m_snapshot);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
