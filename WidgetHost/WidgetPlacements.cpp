#include "WidgetPlacements.h"

#include "LoginItem.h"
#include "PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

QJsonValue WidgetPlacement::toJson() const
{
    return QJsonObject{{QStringLiteral("kind"), kind}, {QStringLiteral("family"), toRawValue(family)},
        {QStringLiteral("screen"), screen}, {QStringLiteral("x"), position.x()},
        {QStringLiteral("y"), position.y()}};
}

std::optional<WidgetPlacement> WidgetPlacement::fromJson(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    const QJsonValue kind = o.value(QStringLiteral("kind"));
    const auto family = fromRawValue<WidgetFamily>(o.value(QStringLiteral("family")).toString());
    const QJsonValue x = o.value(QStringLiteral("x"));
    const QJsonValue y = o.value(QStringLiteral("y"));
    if (!kind.isString() || kind.toString().isEmpty() || !family || !x.isDouble() || !y.isDouble())
        return std::nullopt;
    const auto coordinate = [](const QJsonValue &v) { return int(std::clamp(v.toDouble(), -1e6, 1e6)); };
    return WidgetPlacement{kind.toString(), *family, o.value(QStringLiteral("screen")).toString(),
        QPoint(coordinate(x), coordinate(y))};
}

QString WidgetPlacementFile::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel/widgets.json");
}

QList<WidgetPlacement> WidgetPlacementFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<WidgetPlacement> placements;
    const QJsonArray list
        = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("widgets")).toArray();
    for (const QJsonValue &element : list) {
        if (auto placement = WidgetPlacement::fromJson(element))
            placements.append(*placement);
    }
    return placements;
}

void WidgetPlacementFile::save(const QString &path, const QList<WidgetPlacement> &placements)
{
    QJsonArray list;
    for (const WidgetPlacement &placement : placements)
        list.append(placement.toJson());
    const QByteArray data = QJsonDocument(QJsonObject{{QStringLiteral("widgets"), list}}).toJson();
    PrivateFiles::ensureDirectory(QFileInfo(path).absolutePath());
    PrivateFiles::writeAtomically(path, data);
}

QPoint WidgetPlacementFile::nextPosition(const QList<WidgetPlacement> &placements, const QString &screen)
{
    QPoint next = origin;
    for (const WidgetPlacement &placement : placements) {
        if (placement.screen != screen)
            continue;
        const int bottom = placement.position.y() + WidgetMetrics::size(placement.family).height() + gap;
        next.setY(std::max(next.y(), bottom));
    }
    return next;
}

QString WidgetHostAutostart::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/com.velbrandtoro.Orvel.WidgetHost.desktop");
}

void WidgetHostAutostart::follow(
    const QList<WidgetPlacement> &placements, const QString &program, const QString &path)
{
    AutostartLoginItem item(path, program, QStringLiteral("Orvel widgets"));
    if (placements.isEmpty())
        item.unregisterItem();
    else
        item.registerItem();
}
