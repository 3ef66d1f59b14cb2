#include "WidgetKit.h"

#include <QPainter>

WidgetBundle::~WidgetBundle() = default;

QSize WidgetMetrics::size(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return {170, 170};
    case WidgetFamily::systemMedium:
        return {364, 170};
    case WidgetFamily::systemLarge:
        return {364, 382};
    }
    return {170, 170};
}

QPainterPath WidgetMetrics::outline(QSizeF size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), cornerRadius, cornerRadius);
    return path;
}

void WidgetMetrics::clipToOutline(QPainter &painter, QSizeF size)
{
    // The hint is what makes the raster engine's clip soft.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(outline(size), Qt::IntersectClip);
}

QColor WidgetMetrics::accentTint()
{
    return QColor::fromRgbF(0.55f, 0.75f, 1.0f);
}

QColor WidgetMetrics::plainGround(WidgetRenderingMode mode)
{
    // Accented: an opaque neutral ground; vibrant: a dark veil over the desktop.
    if (mode == WidgetRenderingMode::vibrant)
        return QColor::fromRgbF(0.0f, 0.0f, 0.0f, 0.45f);
    return QColor::fromRgbF(0.13f, 0.14f, 0.16f);
}

QColor WidgetMetrics::secondary()
{
    return QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.55f);
}

std::optional<Date> TimelineReloadPolicy::reloadDate(std::optional<Date> lastEntryDate) const
{
    switch (kind) {
    case Kind::atEnd:
        return lastEntryDate;
    case Kind::after:
        return date;
    case Kind::never:
        return std::nullopt;
    }
    return std::nullopt;
}
