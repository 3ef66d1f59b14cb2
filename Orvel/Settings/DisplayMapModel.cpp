#include "DisplayMapModel.h"

#include "DisplayMapLayout.h"
#include "Localization.h"

#include <QJSValue>

namespace {
QVariantMap plainMap(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<QJSValue>() ? value.value<QJSValue>().toVariant().toMap()
                                                               : value.toMap();
}

Rect frameOf(const QVariantMap &display)
{
    const QVariantMap frame = plainMap(display.value(QStringLiteral("frame")));
    return Rect(frame.value(QStringLiteral("x")).toDouble(), frame.value(QStringLiteral("y")).toDouble(),
        frame.value(QStringLiteral("width")).toDouble(), frame.value(QStringLiteral("height")).toDouble());
}
} // namespace

void DisplayMapModel::setDisplays(const QVariantList &displays)
{
    if (displays == m_displays)
        return;
    m_displays = displays;
    emit changed();
}

void DisplayMapModel::setActiveIDs(const QStringList &ids)
{
    if (ids == m_activeIDs)
        return;
    m_activeIDs = ids;
    emit changed();
}

void DisplayMapModel::setWidth(qreal width)
{
    if (width == m_width)
        return;
    m_width = width;
    emit changed();
}

void DisplayMapModel::setHeight(qreal height)
{
    if (height == m_height)
        return;
    m_height = height;
    emit changed();
}

QVariantList DisplayMapModel::tiles() const
{
    std::vector<Rect> frames;
    QList<QVariantMap> displays;
    for (const QVariant &value : m_displays) {
        displays << plainMap(value);
        frames.push_back(frameOf(displays.last()));
    }
    const DisplayMapLayout layout = DisplayMapLayout::make(frames, Size{m_width, m_height});

    QVariantList tiles;
    for (qsizetype i = 0; i < displays.size(); ++i) {
        const QVariantMap &display = displays[i];
        const DisplayMapLayout::Tile &tile = layout.tiles[std::size_t(i)];
        const QString id = display.value(QStringLiteral("id")).toString();
        const bool active = m_activeIDs.contains(id);
        tiles << QVariantMap{
            {QStringLiteral("display"), display},
            {QStringLiteral("id"), id},
            {QStringLiteral("number"), display.value(QStringLiteral("number"))},
            {QStringLiteral("name"), display.value(QStringLiteral("name"))},
            {QStringLiteral("primary"), display.value(QStringLiteral("primary")).toBool()},
            {QStringLiteral("active"), active},
            {QStringLiteral("x"), tile.x()},
            {QStringLiteral("y"), tile.y()},
            {QStringLiteral("width"), tile.size.width},
            {QStringLiteral("height"), tile.size.height},
            {QStringLiteral("accessibleName"),
                display.value(QStringLiteral("title")).toString() + QStringLiteral(", ")
                    + display.value(QStringLiteral("sizeText")).toString()},
            {QStringLiteral("accessibleValue"),
                localized(active ? QStringLiteral("Active") : QStringLiteral("Inactive"))},
        };
    }
    return tiles;
}
