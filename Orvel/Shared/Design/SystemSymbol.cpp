#include "SystemSymbol.h"

#include "GlyphView.h"

#include <QPainter>

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

void SymbolView::paint(QPainter *painter)
{
    const QRectF square(width() / 2 - size() / 2, height() / 2 - size() / 2, size(), size());
    GlyphView::drawLayers(*painter, SystemSymbol::layers(m_name), square, color());
}

QImage SymbolView::render(const QString &name, int side, const QColor &color)
{
    QImage image(std::max(side, 0), std::max(side, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (side > 0) {
        QPainter painter(&image);
        GlyphView::drawLayers(painter, SystemSymbol::layers(name), QRectF(0, 0, side, side), color);
    }
    return image;
}
