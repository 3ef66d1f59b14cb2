#include "ArtworkPicture.h"

#include "Assets.h"
#include "GlyphView.h"

#include <QPainter>
#include <QPainterPath>
#include <QQmlEngine>
#include <QQmlFile>
#include <QQuickImageProvider>
#include <cmath>

namespace {
QPainterPath rounded(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// The image scaled to the pixels it covers, so a large cover shrinks smoothly.
QImage toDevice(const QImage &image, const QPainter &painter, const QRectF &target)
{
    const QSize pixels = painter.transform().mapRect(target).size().toSize();
    if (pixels.isEmpty() || pixels == image.size())
        return image;
    return image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void drawCover(QPainter &painter, const QRectF &frame, const QImage &image, qreal radius)
{
    const QRectF target = ArtworkPicture::coverRect(frame, image.size());
    if (target.isEmpty())
        return;
    const QImage scaled = toDevice(image, painter, target);
    // A textured fill keeps the rounded edge antialiased, which a clip would not.
    QBrush brush(scaled);
    QTransform place;
    place.translate(target.x(), target.y());
    place.scale(target.width() / scaled.width(), target.height() / scaled.height());
    brush.setTransform(place);
    painter.fillPath(rounded(target, radius), brush);
}

void drawPlaceholder(
    QPainter &painter, const QRectF &frame, qreal radius, bool thumbnail, const SkinPalette &palette)
{
    const QRectF square = ArtworkPicture::placeholderSquare(frame);
    if (square.isEmpty())
        return;
    QLinearGradient gradient(square.topLeft(), square.bottomRight());
    gradient.setColorAt(0, palette.fillStrongColor());
    gradient.setColorAt(1, palette.fillColor());
    painter.fillPath(rounded(square, radius), gradient);

    if (thumbnail) {
        const qreal side = ArtworkPicture::thumbnailMarkSize(square.size());
        GlyphView::draw(painter, OrvelGlyph::mark,
            QRectF(square.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), palette.mutedColor());
    } else {
        const qreal side = square.width() * ArtworkPicture::placeholderScale;
        const QRectF target(square.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
        const QSize pixels = painter.transform().mapRect(target).size().toSize();
        const QImage picture = Assets::image(QStringLiteral("ArtworkPlaceholder"), pixels);
        if (!picture.isNull())
            painter.drawImage(target, picture);
    }

    // Stroked inside the edge: the line's centre lies half its width in.
    const qreal half = ArtworkPicture::borderWidth / 2;
    painter.setPen(QPen(palette.strokeColor(), ArtworkPicture::borderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(rounded(square.adjusted(half, half, -half, -half), std::max<qreal>(radius - half, 0)));
}
} // namespace

QString ArtworkPicture::key(bool hasImage, const std::optional<QString> &identity)
{
    if (!hasImage)
        return placeholderKey;
    return identity.value_or(anonymousKey);
}

qreal ArtworkPicture::cornerRadius(qreal requested)
{
    if (!std::isfinite(requested))
        return maximumRadius;
    return std::clamp<qreal>(requested, 0, maximumRadius);
}

std::optional<ArtworkPicture::Fade> ArtworkPicture::fade(MotionLevel level)
{
    switch (level) {
    case MotionLevel::full: {
        // The standard ease-in-out timing curve.
        QEasingCurve curve(QEasingCurve::BezierSpline);
        curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return Fade{0.35, curve};
    }
    case MotionLevel::reduced:
        return Fade{0.12, QEasingCurve(QEasingCurve::Linear)};
    case MotionLevel::still:
        break;
    }
    return std::nullopt;
}

QRectF ArtworkPicture::coverRect(const QRectF &frame, const QSizeF &imageSize)
{
    const QSizeF fitted = imageSize.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

QRectF ArtworkPicture::placeholderSquare(const QRectF &frame)
{
    const qreal side = std::max<qreal>(std::min(frame.width(), frame.height()), 0);
    return QRectF(frame.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
}

qreal ArtworkPicture::thumbnailMarkSize(const QSizeF &frame)
{
    return thumbnailMarkScale * std::max<qreal>(std::min(frame.width(), frame.height()), 0);
}

void ArtworkPicture::draw(QPainter &painter, const QRectF &frame, const QImage &image, qreal radius,
    bool thumbnail, const SkinPalette &palette)
{
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const qreal r = cornerRadius(radius);
    if (image.isNull())
        drawPlaceholder(painter, frame, r, thumbnail, palette);
    else
        drawCover(painter, frame, image, r);
    painter.restore();
}

QImage ArtworkPicture::render(
    QSize size, const QImage &image, qreal radius, bool thumbnail, const SkinPalette &palette)
{
    QImage result(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    if (!size.isEmpty()) {
        QPainter painter(&result);
        draw(painter, QRectF(QPointF(0, 0), QSizeF(size)), image, radius, thumbnail, palette);
    }
    return result;
}

ArtworkPicture::ArtworkPicture(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
}

void ArtworkPicture::setSource(const QUrl &source)
{
    if (source == m_source)
        return;
    m_source = source;
    emit sourceChanged();
    // QML sets the source before its engine can be asked: loaded on completion.
    if (isComponentComplete())
        loadSource();
}

void ArtworkPicture::loadSource()
{
    QImage loaded;
    if (m_source.scheme() == QLatin1String("image")) {
        // The same provider an Image of that URL would ask; its id is everything after the host.
        QQmlEngine *engine = qmlEngine(this);
        auto *provider
            = engine ? dynamic_cast<QQuickImageProvider *>(engine->imageProvider(m_source.host())) : nullptr;
        const QString prefix = QStringLiteral("image://%1/").arg(m_source.host());
        const QString id = m_source.toString(QUrl::FullyEncoded).mid(prefix.size());
        QSize size;
        if (provider && provider->imageType() == QQmlImageProviderBase::Image)
            loaded = provider->requestImage(id, &size, QSize());
        else if (provider && provider->imageType() == QQmlImageProviderBase::Pixmap)
            loaded = provider->requestPixmap(id, &size, QSize()).toImage();
    } else if (!m_source.isEmpty()) {
        loaded = QImage(QQmlFile::urlToLocalFileOrQrc(m_source));
    }
    change(loaded, m_identity);
}

void ArtworkPicture::setImage(const QImage &image)
{
    change(image, m_identity);
}

void ArtworkPicture::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit radiusChanged();
    update();
}

void ArtworkPicture::setIdentity(const std::optional<QString> &identity)
{
    change(m_image, identity);
}

QVariant ArtworkPicture::identityValue() const
{
    return m_identity ? QVariant(*m_identity) : QVariant::fromValue(nullptr);
}

void ArtworkPicture::setIdentityValue(const QVariant &identity)
{
    const bool none
        = !identity.isValid() || identity.isNull() || identity.metaType().id() == QMetaType::Nullptr;
    setIdentity(none ? std::nullopt : std::optional<QString>(identity.toString()));
}

void ArtworkPicture::setThumbnail(bool thumbnail)
{
    if (thumbnail == m_thumbnail)
        return;
    m_thumbnail = thumbnail;
    emit thumbnailChanged();
    update();
}

void ArtworkPicture::change(const QImage &image, const std::optional<QString> &identity)
{
    const QString before = key();
    const QImage previous = m_image;
    m_image = image;
    m_identity = identity;
    const bool keyMoved = key() != before;
    const auto fade = m_settled && keyMoved ? currentFade() : std::nullopt;
    if (fade) {
        m_outgoing = previous;
        m_progress = 0;
    } else if (keyMoved) {
        m_outgoing.reset();
        m_progress = 1;
    }
    if (keyMoved) {
        emit keyChanged();
        emit progressChanged();
        if (fade)
            emit fadeStarted();
    }
    update();
}

void ArtworkPicture::setProgress(qreal progress)
{
    progress = std::isfinite(progress) ? std::clamp<qreal>(progress, 0, 1) : 1;
    if (progress == m_progress)
        return;
    m_progress = progress;
    if (m_progress >= 1)
        m_outgoing.reset();
    emit progressChanged();
    update();
}

SkinnedAttached *ArtworkPicture::environment() const
{
    auto *self = const_cast<ArtworkPicture *>(this);
    return m_environment.get(self, [self] {
        emit self->fadeChanged();
        self->update();
    });
}

std::optional<ArtworkPicture::Fade> ArtworkPicture::currentFade() const
{
    return fade(environment()->values().motion.level(AnimationFeature::trackChange));
}

int ArtworkPicture::fadeMilliseconds() const
{
    const auto current = currentFade();
    return current ? int(std::lround(current->seconds * 1000)) : 0;
}

QEasingCurve ArtworkPicture::fadeCurve() const
{
    const auto current = currentFade();
    return current ? current->curve : QEasingCurve(QEasingCurve::Linear);
}

void ArtworkPicture::classBegin()
{
    QQuickPaintedItem::classBegin();
    m_settled = false;
}

void ArtworkPicture::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
    loadSource();
    m_settled = true;
}

QImage ArtworkPicture::deviceCover(const QImage &image, const QPainter &painter, const QRectF &frame) const
{
    if (image.isNull())
        return image;
    const QSize pixels = painter.transform().mapRect(coverRect(frame, image.size())).size().toSize();
    for (const ScaledCover &scaled : m_scaled)
        if (scaled.source == image.cacheKey() && scaled.image.size() == pixels)
            return scaled.image;
    const QImage result = toDevice(image, painter, coverRect(frame, image.size()));
    m_scaled[m_nextScaled] = {image.cacheKey(), result};
    m_nextScaled = (m_nextScaled + 1) % 2;
    return result;
}

void ArtworkPicture::paint(QPainter *painter)
{
    const QRectF frame(0, 0, width(), height());
    const SkinPalette palette = environment()->palette();
    if (m_outgoing && m_progress < 1) {
        painter->setOpacity(1 - m_progress);
        draw(*painter, frame, deviceCover(*m_outgoing, *painter, frame), m_radius, m_thumbnail, palette);
        painter->setOpacity(m_progress);
    }
    draw(*painter, frame, deviceCover(m_image, *painter, frame), m_radius, m_thumbnail, palette);
}
