#include "SymbolView.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>

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
} // namespace

SymbolView::SymbolView(QQuickItem *parent)
    : TintedGlyphItem(1, parent)
{
}

void SymbolView::setSymbolName(const QString &name)
{
    const auto symbol = fromRawValue<SystemSymbol>(name);
    if (!symbol || *symbol == m_symbol)
        return;
    m_symbol = *symbol;
    emit symbolChanged();
    update();
}

QPainterPath SymbolView::path(SystemSymbol symbol, const QRectF &square)
{
    const QPainterPath unit = symbol == SystemSymbol::wifiSlash ? wifiSlash() : arrowUpRight();
    QTransform fit;
    fit.translate(square.x(), square.y());
    fit.scale(square.width() / grid, square.height() / grid);
    return fit.map(unit);
}

void SymbolView::paint(QPainter *painter)
{
    const QRectF square(width() / 2 - size() / 2, height() / 2 - size() / 2, size(), size());
    if (square.isEmpty())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(path(m_symbol, square), color());
}
