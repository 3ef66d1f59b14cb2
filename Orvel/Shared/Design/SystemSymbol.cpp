#include "SystemSymbol.h"

#include "GlyphView.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>
#include <cmath>
#include <optional>

namespace {
constexpr double grid = 24;
constexpr double lineWidth = 2;

QPainterPath stroked(const QPainterPath &path, double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

QPainterPath wifiSlash()
{
    // Three arcs over a dot, crossed by a slash with a clear gap on both sides.
    const QPointF base(12, 19);
    QPainterPath arcs;
    for (const double radius : {5.0, 9.5, 14.0}) {
        const QRectF box(base.x() - radius, base.y() - radius, 2 * radius, 2 * radius);
        arcs.arcMoveTo(box, 50);
        arcs.arcTo(box, 50, 80);
    }
    QPainterPath shape = stroked(arcs, lineWidth);
    QPainterPath dot;
    dot.addEllipse(base, 1.6, 1.6);
    shape = shape.united(dot);
    QPainterPath slash;
    slash.moveTo(4, 3);
    slash.lineTo(20, 21);
    return shape.subtracted(stroked(slash, lineWidth * 2.5)).united(stroked(slash, lineWidth));
}

QPainterPath arrowUpRight()
{
    QPainterPath arrow;
    arrow.moveTo(6, 18);
    arrow.lineTo(17, 7);
    arrow.moveTo(8.5, 6);
    arrow.lineTo(18, 6);
    arrow.lineTo(18, 15.5);
    return stroked(arrow, lineWidth);
}

QPainterPath arrowRight()
{
    QPainterPath arrow;
    arrow.moveTo(4, 12);
    arrow.lineTo(19.5, 12);
    arrow.moveTo(13, 5.5);
    arrow.lineTo(19.5, 12);
    arrow.lineTo(13, 18.5);
    return stroked(arrow, lineWidth);
}

// Two screens, the back one peeking out above and to the right.
QPainterPath displayTwo()
{
    QPainterPath front;
    front.addRoundedRect(QRectF(2, 7, 15, 10), 1.5, 1.5);
    front.moveTo(7, 20.5);
    front.lineTo(12, 20.5);
    QPainterPath back;
    back.moveTo(7, 4.5);
    back.lineTo(20.5, 4.5);
    back.quadTo(22, 4.5, 22, 6);
    back.lineTo(22, 13);
    back.quadTo(22, 14.5, 20.5, 14.5);
    back.lineTo(19.5, 14.5);
    return stroked(front, lineWidth * 0.9).united(stroked(back, lineWidth * 0.9));
}

QPainterPath squareGrid()
{
    QPainterPath squares;
    for (const QPointF corner : {QPointF(3, 3), QPointF(13.5, 3), QPointF(3, 13.5), QPointF(13.5, 13.5)})
        squares.addRoundedRect(QRectF(corner, QSizeF(7.5, 7.5)), 2, 2);
    return stroked(squares, lineWidth * 0.8);
}

QPainterPath chevron(bool up)
{
    QPainterPath mark;
    const double tip = up ? 8 : 16, ends = up ? 15.5 : 8.5;
    mark.moveTo(5, ends);
    mark.lineTo(12, tip);
    mark.lineTo(19, ends);
    return stroked(mark, lineWidth);
}

// A pencil leaning right, its tip at the bottom left.
QPainterPath pencil()
{
    QPainterPath body;
    body.moveTo(4, 20);
    body.lineTo(5, 15.5);
    body.lineTo(16, 4.5);
    body.quadTo(17, 3.5, 18, 4.5);
    body.lineTo(19.5, 6);
    body.quadTo(20.5, 7, 19.5, 8);
    body.lineTo(8.5, 19);
    body.closeSubpath();
    QPainterPath shape = stroked(body, lineWidth * 0.9);
    QPainterPath band;
    band.moveTo(14, 6.5);
    band.lineTo(17.5, 10);
    return shape.united(stroked(band, lineWidth * 0.9));
}

// A bin with a lid and a handle, two ribs inside.
QPainterPath trash()
{
    QPainterPath lines;
    lines.moveTo(3.5, 6);
    lines.lineTo(20.5, 6);
    lines.moveTo(9, 6);
    lines.lineTo(9, 3.5);
    lines.lineTo(15, 3.5);
    lines.lineTo(15, 6);
    lines.moveTo(5.5, 6);
    lines.lineTo(6.8, 19.5);
    lines.quadTo(7, 21, 8.5, 21);
    lines.lineTo(15.5, 21);
    lines.quadTo(17, 21, 17.2, 19.5);
    lines.lineTo(18.5, 6);
    lines.moveTo(10, 10);
    lines.lineTo(10, 17);
    lines.moveTo(14, 10);
    lines.lineTo(14, 17);
    return stroked(lines, lineWidth * 0.9);
}

// A ring with a mark inside: the outlined circle symbols.
QPainterPath ringAround(const QPainterPath &mark)
{
    QPainterPath ring;
    ring.addEllipse(QPointF(12, 12), 10, 10);
    return stroked(ring, lineWidth * 0.8).united(stroked(mark, lineWidth * 0.9));
}

QPainterPath checkmarkCircle()
{
    QPainterPath check;
    check.moveTo(7.5, 12.3);
    check.lineTo(10.6, 15.4);
    check.lineTo(16.5, 8.8);
    return ringAround(check);
}

QPainterPath arrowDownCircle()
{
    QPainterPath arrow;
    arrow.moveTo(12, 6.8);
    arrow.lineTo(12, 16.8);
    arrow.moveTo(8, 13);
    arrow.lineTo(12, 17);
    arrow.lineTo(16, 13);
    return ringAround(arrow);
}

QPainterPath sidewaysChevron(bool left)
{
    QPainterPath path;
    const double tip = left ? 7.5 : 16.5, arms = left ? 15.5 : 8.5;
    path.moveTo(arms, 4.5);
    path.lineTo(tip, 12);
    path.lineTo(arms, 19.5);
    return stroked(path, lineWidth * 1.1);
}

// Two upright bars with rounded corners.
QPainterPath pauseFill()
{
    QPainterPath bars;
    bars.addRoundedRect(QRectF(5.5, 4, 4.6, 16), 1.4, 1.4);
    bars.addRoundedRect(QRectF(13.9, 4, 4.6, 16), 1.4, 1.4);
    return bars;
}

// A triangle pointing right, its corners rounded by a thin stroke.
QPainterPath playFill()
{
    QPainterPath triangle;
    triangle.moveTo(7, 4.8);
    triangle.lineTo(19.2, 12);
    triangle.lineTo(7, 19.2);
    triangle.closeSubpath();
    return triangle.united(stroked(triangle, 1.6));
}

// A ring with an "i": the dot and the stem.
QPainterPath infoCircle()
{
    QPainterPath ring;
    ring.addEllipse(QPointF(12, 12), 9.5, 9.5);
    QPainterPath stem;
    stem.moveTo(12, 11);
    stem.lineTo(12, 16.5);
    QPainterPath dot;
    dot.addEllipse(QPointF(12, 7.6), 1.35, 1.35);
    return stroked(ring, lineWidth * 0.9).united(stroked(stem, lineWidth)).united(dot);
}

// A screen with a warning triangle over its lower right corner.
QPainterPath displayWarning()
{
    QPainterPath screen;
    screen.addRoundedRect(QRectF(2, 3.5, 18, 12.5), 1.5, 1.5);
    screen.moveTo(7, 20);
    screen.lineTo(11, 20);
    QPainterPath triangle;
    triangle.moveTo(17.5, 11);
    triangle.lineTo(23.5, 22);
    triangle.lineTo(11.5, 22);
    triangle.closeSubpath();
    QPainterPath gap;
    gap.addRoundedRect(QRectF(9.5, 9, 16, 15), 2, 2);
    QPainterPath mark;
    mark.moveTo(17.5, 14.5);
    mark.lineTo(17.5, 17.6);
    QPainterPath dot;
    dot.addEllipse(QPointF(17.5, 19.9), 0.9, 0.9);
    const QPainterPath body = stroked(triangle, lineWidth * 0.6).united(triangle);
    return stroked(screen, lineWidth * 0.9)
        .subtracted(gap)
        .united(body.subtracted(stroked(mark, lineWidth * 0.8)).subtracted(dot));
}

// The symbols drawn as strokes rather than path programs.
std::optional<QPainterPath> strokedSymbol(const QString &name)
{
    if (name == QLatin1String("wifi.slash"))
        return wifiSlash();
    if (name == QLatin1String("arrow.up.right"))
        return arrowUpRight();
    if (name == QLatin1String("arrow.right"))
        return arrowRight();
    if (name == QLatin1String("display.2"))
        return displayTwo();
    if (name == QLatin1String("square.grid.2x2"))
        return squareGrid();
    if (name == QLatin1String("chevron.up"))
        return chevron(true);
    if (name == QLatin1String("chevron.down"))
        return chevron(false);
    if (name == QLatin1String("pencil"))
        return pencil();
    if (name == QLatin1String("trash"))
        return trash();
    if (name == QLatin1String("checkmark.circle"))
        return checkmarkCircle();
    if (name == QLatin1String("arrow.down.circle"))
        return arrowDownCircle();
    if (name == QLatin1String("chevron.left"))
        return sidewaysChevron(true);
    if (name == QLatin1String("chevron.right"))
        return sidewaysChevron(false);
    if (name == QLatin1String("pause.fill"))
        return pauseFill();
    if (name == QLatin1String("play.fill"))
        return playFill();
    if (name == QLatin1String("info.circle"))
        return infoCircle();
    if (name == QLatin1String("display.trianglebadge.exclamationmark"))
        return displayWarning();
    return std::nullopt;
}

// Draws a symbol into a square: its path program when the table has one, else its strokes.
void drawSymbol(QPainter &painter, const QString &name, const QRectF &square, const QColor &color)
{
    if (square.isEmpty())
        return;
    if (const auto layers = SystemSymbol::layers(name); !layers.empty()) {
        GlyphView::drawLayers(painter, layers, square, color);
        return;
    }
    const std::optional<QPainterPath> unit = strokedSymbol(name);
    if (!unit)
        return;
    QTransform fit;
    fit.translate(square.x(), square.y());
    fit.scale(square.width() / grid, square.height() / grid);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(fit.map(*unit), color);
}
} // namespace

namespace {
// The symbol grown by `spread` points on every side: copies drawn around a
// circle in one opaque colour, then laid down at the colour's opacity so the
// overlaps do not darken.
void drawWeighted(
    QPainter &painter, const QString &name, const QRectF &square, const QColor &color, int weight)
{
    const double spread
        = std::max(0, weight - 400) / 100.0 * SymbolView::growthPerHundred * square.width() / grid;
    if (spread <= 0 || square.isEmpty()) {
        drawSymbol(painter, name, square, color);
        return;
    }
    const QRectF bounds = square.adjusted(-spread, -spread, spread, spread);
    const qreal ratio = std::max<qreal>(1, painter.transform().m11());
    QImage layer((bounds.size() * ratio).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.scale(ratio, ratio);
        const QColor solid = QColor::fromRgbF(color.redF(), color.greenF(), color.blueF());
        const QRectF local = square.translated(-bounds.topLeft());
        constexpr int steps = 12;
        for (int i = 0; i < steps; ++i) {
            const double angle = 2 * M_PI * i / steps;
            drawSymbol(p, name, local.translated(spread * std::cos(angle), spread * std::sin(angle)), solid);
        }
        drawSymbol(p, name, local, solid);
    }
    painter.save();
    painter.setOpacity(painter.opacity() * color.alphaF());
    painter.drawImage(QRectF(bounds.topLeft(), QSizeF(layer.size()) / ratio), layer);
    painter.restore();
}
} // namespace

SymbolView::SymbolView(QQuickItem *parent)
    : TintedGlyphItem(1, parent)
{
}

void SymbolView::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit nameChanged();
    update();
}

void SymbolView::setWeight(int weight)
{
    if (weight == m_weight)
        return;
    m_weight = weight;
    emit weightChanged();
    update();
}

void SymbolView::paint(QPainter *painter)
{
    const QRectF square(width() / 2 - size() / 2, height() / 2 - size() / 2, size(), size());
    drawWeighted(*painter, m_name, square, color(), m_weight);
}

QImage SymbolView::render(const QString &name, int side, const QColor &color, int weight)
{
    QImage image(std::max(side, 0), std::max(side, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (side > 0) {
        QPainter painter(&image);
        drawWeighted(painter, name, QRectF(0, 0, side, side), color, weight);
    }
    return image;
}
