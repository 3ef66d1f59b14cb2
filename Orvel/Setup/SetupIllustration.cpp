#include "SetupIllustration.h"

#include "Assets.h"
#include "KitShape.h"
#include "PressFeedback.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QQuickWindow>
#include <algorithm>
#include <cmath>

namespace SetupIllustration {
namespace {

double atLeastZero(double value)
{
    return std::isfinite(value) ? std::max(value, 0.0) : 0.0;
}

// A rectangle that never reaches below zero (a first layout can be 0 x 0):
// what would overflow a tiny drawing starts at its edge instead.
QRectF box(double x, double y, double width, double height)
{
    return QRectF(atLeastZero(x), atLeastZero(y), atLeastZero(width), atLeastZero(height));
}

// The title over the track, the pair centred on `centreY`.
TextLines textLines(
    double x, double centreY, double columnWidth, double gap, double titleWidth, double fillWidth)
{
    const double height = 3 + gap + 2;
    const double top = centreY - height / 2;
    TextLines lines;
    lines.title = box(x, top, titleWidth, 3);
    lines.track = box(x, top + 3 + gap, columnWidth, 2);
    lines.fill = box(x, lines.track.y(), fillWidth, 2);
    return lines;
}

void fillRounded(QPainter &painter, const QRectF &rect, double radius, const QColor &color)
{
    if (rect.isEmpty())
        return;
    painter.fillPath(Corners::all(radius).path(rect), color);
}

void fillCapsule(QPainter &painter, const QRectF &rect, const QColor &color)
{
    fillRounded(painter, rect, std::min(rect.width(), rect.height()) / 2, color);
}

QColor faded(QColor color, double opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

void drawArtwork(QPainter &painter, const QRectF &rect, double radius)
{
    if (rect.isEmpty())
        return;
    // At the target's pixel size so it stays sharp.
    const QSize pixels = painter.transform().mapRect(rect).size().toSize().expandedTo(QSize(1, 1));
    const QImage image = Assets::image(QStringLiteral("PreviewArtwork"), pixels);
    if (image.isNull())
        return;
    painter.save();
    painter.setClipPath(Corners::all(radius).path(rect), Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect, image);
    painter.restore();
}

void drawLines(QPainter &painter, const TextLines &lines, const Colors &colors)
{
    fillCapsule(painter, lines.title, faded(colors.text, 0.85));
    fillCapsule(painter, lines.track, faded(colors.text, 0.3));
    fillCapsule(painter, lines.fill, colors.accent);
}

void drawFrame(QPainter &painter, QSizeF size, const Colors &colors)
{
    const QRectF frame(QPointF(0, 0), size);
    if (frame.isEmpty())
        return;
    fillRounded(painter, frame, frameRadius, QColor::fromRgbF(0, 0, 0, frameShade));
    // A one-point border drawn inside the edge.
    const QRectF border = frame.adjusted(0.5, 0.5, -0.5, -0.5);
    if (border.isEmpty())
        return;
    painter.save();
    painter.setPen(QPen(colors.stroke, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(Corners::all(frameRadius - 0.5).path(border));
    painter.restore();
}

void strokeDashed(QPainter &painter, const QPainterPath &path, const QColor &color, double on, double off,
    Qt::PenCapStyle cap)
{
    QPen pen(color, 1);
    pen.setDashPattern({on, off});
    pen.setCapStyle(cap);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

} // namespace

SurfaceLayout surfaceLayout(SurfaceKind kind, double width, double height)
{
    const double w = atLeastZero(width), h = atLeastZero(height);
    SurfaceLayout layout;
    layout.rich = h > richAbove;
    layout.padding = layout.rich ? 10 : 6;
    const double pad = layout.padding;

    if (kind == SurfaceKind::notch) {
        // The notch, with the unfolded player hanging from it, centred at the top.
        const double notchHeight = std::max(0.09 * h, 5.0);
        layout.notch = box((w - 0.26 * w) / 2, 0, 0.26 * w, notchHeight);
        layout.bodyRadius = layout.rich ? 12 : 8;
        const double art = 0.34 * h, play = 0.18 * h, spacing = 8;
        const double titleWidth = 0.2 * w;
        const double column = std::max(0.8 * w - 2 * pad - art - play - 2 * spacing, titleWidth);
        const double content = std::max({art, play, 3.0 + 5 + 2});
        const double bodyWidth = 2 * pad + art + spacing + column + spacing + play;
        layout.body = box((w - bodyWidth) / 2, notchHeight, bodyWidth, content + 2 * pad);
        const double centre = layout.body.y() + pad + content / 2;
        const double x = layout.body.x() + pad;
        layout.artwork = box(x, centre - art / 2, art, art);
        layout.lines = textLines(x + art + spacing, centre, column, 5, titleWidth, 0.12 * w);
        layout.playButton = box(x + art + spacing + column + spacing, centre - play / 2, play, play);
        return layout;
    }

    // The sidebar: a column at the right edge, inset 5 all round.
    layout.spacing = layout.rich ? 8 : 4;
    layout.bodyRadius = 7;
    const double bodyWidth = 0.34 * w, bodyHeight = atLeastZero(h - 10);
    layout.body = box(w - 5 - bodyWidth, (h - bodyHeight) / 2, bodyWidth, bodyHeight);
    const double column = atLeastZero(bodyWidth - 2 * pad);
    const double inner = atLeastZero(bodyHeight - 2 * pad);
    const int gaps = layout.rich ? 3 : 2;
    const double fixed = 3 + 2 + (layout.rich ? 9 : 0) + gaps * layout.spacing;
    // The cover fills the column unless the height runs short.
    const double art = atLeastZero(std::min(column, inner - fixed));
    const double x = layout.body.x() + pad;
    double y = layout.body.y() + pad + atLeastZero((inner - art - fixed) / 2);
    layout.artwork = box(x, y, art, art);
    y += art + layout.spacing;
    layout.lines.title = box(x, y, 0.16 * w, 3);
    y += 3 + layout.spacing;
    layout.lines.track = box(x, y, column, 2);
    layout.lines.fill = box(x, y, 0.1 * w, 2);
    if (layout.rich) {
        y += 2 + layout.spacing;
        const double tile = atLeastZero((column - 2 * 4) / 3);
        for (int i = 0; i < 3; ++i)
            layout.tiles << box(x + i * (tile + 4), y, tile, 9);
    }
    return layout;
}

MoveLayout moveLayout(double width, double height)
{
    const double w = atLeastZero(width), h = atLeastZero(height);
    const auto centred = [](double cx, double cy, double bw, double bh) {
        return box(cx - atLeastZero(bw) / 2, cy - atLeastZero(bh) / 2, bw, bh);
    };
    MoveLayout layout;
    layout.notch = centred(0.5 * w, 0.035 * h, 0.2 * w, 0.07 * h);
    layout.oldPlace = centred(0.5 * w, 0.14 * h, 0.42 * w, 0.13 * h);
    layout.oldPlaceRadius = 0.065 * h;
    layout.routeStart = QPointF(0.5 * w, 0.22 * h);
    layout.routeControl = QPointF(0.26 * w, 0.3 * h);
    layout.routeEnd = QPointF(0.36 * w, 0.6 * h);

    // The unfolded card over the compact pill, centred at (0.66 W, 0.64 H).
    const double pad = 6, spacing = 6;
    const double art = 0.22 * h, play = 0.1 * h, titleWidth = 0.16 * w;
    const double content = std::max({art, play, 3.0 + 4 + 2});
    const double cardWidth = 0.56 * w, cardHeight = content + 2 * pad;
    const double pillWidth = 0.42 * w, pillHeight = 0.13 * h;
    const double top = 0.64 * h - (cardHeight + pillHeight) / 2;
    layout.card = box(0.66 * w - cardWidth / 2, top, cardWidth, cardHeight);
    const double centre = top + pad + content / 2;
    const double x = layout.card.x() + pad;
    const double column = std::max(cardWidth - 2 * pad - art - play - 2 * spacing, titleWidth);
    layout.artwork = box(x, centre - art / 2, art, art);
    layout.lines = textLines(x + art + spacing, centre, column, 4, titleWidth, 0.1 * w);
    layout.playButton = box(x + art + spacing + column + spacing, centre - play / 2, play, play);

    layout.pill = box(0.66 * w - pillWidth / 2, top + cardHeight, pillWidth, pillHeight);
    layout.pillRadius = 0.065 * h;
    const double pillArt = 0.62 * pillHeight;
    const double pillCentre = layout.pill.center().y();
    layout.pillArtwork = box(layout.pill.x() + 5, pillCentre - pillArt / 2, pillArt, pillArt);
    layout.pillLine
        = box(layout.pillArtwork.right() + 4, pillCentre - 1, layout.pill.width() - 10 - pillArt - 4, 2);
    return layout;
}

Colors colors(const SkinPalette &palette, const Aura &aura)
{
    const bool rivista = palette.skin == Skin::rivista;
    return {rivista ? aura.fieldColor() : QColor(Qt::black),
        rivista ? palette.textColor() : palette.accentColor(), palette.textColor(), palette.mutedColor(),
        palette.strokeColor()};
}

namespace {
void drawSurfaceMock(QPainter &painter, QSizeF size, SurfaceKind kind, const Colors &colors)
{
    const SurfaceLayout layout = surfaceLayout(kind, size.width(), size.height());
    if (kind == SurfaceKind::notch) {
        fillRounded(painter, layout.body, layout.bodyRadius, colors.panel);
        fillRounded(painter, layout.notch, 4, Qt::black);
        drawArtwork(painter, layout.artwork, 3);
        drawLines(painter, layout.lines, colors);
        fillCapsule(painter, layout.playButton, colors.accent);
    } else {
        fillRounded(painter, layout.body, layout.bodyRadius, colors.panel);
        drawArtwork(painter, layout.artwork, 3);
        drawLines(painter, layout.lines, colors);
        for (const QRectF &tile : layout.tiles)
            fillRounded(painter, tile, 2, faded(colors.text, 0.12));
    }
}
} // namespace

void drawSurface(QPainter &painter, QSizeF size, SurfaceKind kind, bool enabled, const Colors &colors)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawFrame(painter, size, colors);
    if (enabled) {
        drawSurfaceMock(painter, size, kind, colors);
        painter.restore();
        return;
    }
    // Off dims the mock as one picture (the cover does not show the body
    // through it), and never the display.
    const QRectF device = painter.transform().mapRect(QRectF(QPointF(0, 0), size));
    const QSize pixels = device.size().toSize();
    if (pixels.isEmpty()) {
        painter.restore();
        return;
    }
    QImage layer(pixels, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter mock(&layer);
        mock.setRenderHint(QPainter::Antialiasing);
        mock.scale(pixels.width() / size.width(), pixels.height() / size.height());
        drawSurfaceMock(mock, size, kind, colors);
    }
    painter.resetTransform();
    painter.setOpacity(painter.opacity() * dimmedOpacity);
    painter.drawImage(device.topLeft(), layer);
    painter.restore();
}

void drawMove(QPainter &painter, QSizeF size, const Colors &colors)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawFrame(painter, size, colors);
    const MoveLayout layout = moveLayout(size.width(), size.height());
    fillRounded(painter, layout.notch, 3, Qt::black);
    if (!layout.oldPlace.isEmpty()) {
        const QRectF inside = layout.oldPlace.adjusted(0.5, 0.5, -0.5, -0.5);
        strokeDashed(painter, Corners::all(std::max(layout.oldPlaceRadius - 0.5, 0.0)).path(inside),
            faded(colors.muted, 0.7), 3, 3, Qt::FlatCap);
    }
    QPainterPath route(layout.routeStart);
    route.quadTo(layout.routeControl, layout.routeEnd);
    // Qt counts dashes in pen widths; the pen is 1 wide, so these are points.
    strokeDashed(painter, route, faded(colors.muted, 0.6), 2, 3, Qt::RoundCap);

    fillRounded(painter, layout.card, 7, colors.panel);
    drawArtwork(painter, layout.artwork, 3);
    drawLines(painter, layout.lines, colors);
    fillCapsule(painter, layout.playButton, colors.accent);

    fillRounded(painter, layout.pill, layout.pillRadius, colors.panel);
    drawArtwork(painter, layout.pillArtwork, 2);
    fillCapsule(painter, layout.pillLine, faded(colors.text, 0.7));
    painter.restore();
}

} // namespace SetupIllustration

// MARK: - Items

SurfaceIllustration::SurfaceIllustration(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(this, &SurfaceIllustration::changed, this, [this] { update(); });
}

QImage SurfaceIllustration::render(
    SurfaceKind kind, bool enabled, QSize size, const SkinPalette &palette, const Aura &aura)
{
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!size.isEmpty()) {
        QPainter painter(&image);
        SetupIllustration::drawSurface(
            painter, size, kind, enabled, SetupIllustration::colors(palette, aura));
    }
    return image;
}

void SurfaceIllustration::setKindName(const QString &name)
{
    const SurfaceKind kind = fromRawValue<SurfaceKind>(name).value_or(SurfaceKind::notch);
    if (kind == m_kind)
        return;
    m_kind = kind;
    emit changed();
}

void SurfaceIllustration::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    emit changed();
}

void SurfaceIllustration::setBrightness(qreal brightness)
{
    if (brightness == m_brightness)
        return;
    m_brightness = brightness;
    emit changed();
    update();
}

SkinnedAttached *SurfaceIllustration::environment() const
{
    auto *self = const_cast<SurfaceIllustration *>(this);
    return m_environment.get(self, [self] { self->update(); });
}

void SurfaceIllustration::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
}

void SurfaceIllustration::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.height() != oldGeometry.height())
        emit changed();
}

void SurfaceIllustration::paint(QPainter *painter)
{
    const SkinEnvironment::Values &values = environment()->values();
    const SetupIllustration::Colors colors = SetupIllustration::colors(values.palette, values.aura);
    if (m_brightness == 0) {
        SetupIllustration::drawSurface(*painter, size(), m_kind, m_on, colors);
        return;
    }
    // Drawn apart first, so the brightening reaches the picture's pixels too.
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1;
    QImage layer((size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter picture(&layer);
        picture.scale(ratio, ratio);
        SetupIllustration::drawSurface(picture, size(), m_kind, m_on, colors);
    }
    painter->drawImage(QRectF(QPointF(0, 0), size()), PressFeedback::brightened(layer, m_brightness));
}

MovePlayerIllustration::MovePlayerIllustration(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

QImage MovePlayerIllustration::render(QSize size, const SkinPalette &palette, const Aura &aura)
{
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!size.isEmpty()) {
        QPainter painter(&image);
        SetupIllustration::drawMove(painter, size, SetupIllustration::colors(palette, aura));
    }
    return image;
}

SkinnedAttached *MovePlayerIllustration::environment() const
{
    auto *self = const_cast<MovePlayerIllustration *>(this);
    return m_environment.get(self, [self] { self->update(); });
}

void MovePlayerIllustration::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
}

void MovePlayerIllustration::paint(QPainter *painter)
{
    const SkinEnvironment::Values &values = environment()->values();
    SetupIllustration::drawMove(*painter, size(), SetupIllustration::colors(values.palette, values.aura));
}
