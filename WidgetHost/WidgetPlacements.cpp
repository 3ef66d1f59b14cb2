#include "WidgetPlacements.h"

#include "LoginItem.h"
#include "PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <algorithm>

namespace {
Q_LOGGING_CATEGORY(lcPlacements, "com.velbrandtoro.Orvel.WidgetHost")

struct ReadFile {
    bool present = false;
    QList<WidgetPlacement> placements;
    QJsonArray skipped;
};

// Reads the file; one that cannot be read is set aside and reads as missing.
ReadFile readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    file.close();
    const QJsonObject root = document.object();
    const int fileVersion = root.value(QStringLiteral("version")).toInt(WidgetPlacementFile::version);
    QString problem;
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        problem = QStringLiteral("it is not a list of widgets");
    else if (fileVersion > WidgetPlacementFile::version)
        problem = QStringLiteral("it was written by a newer Orvel (version %1)").arg(fileVersion);
    else if (!root.value(QStringLiteral("widgets")).isArray() && root.contains(QStringLiteral("widgets")))
        problem = QStringLiteral("its widgets are not a list");
    if (!problem.isEmpty()) {
        const QString aside = WidgetPlacementFile::setAsidePath(path);
        QFile::remove(aside);
        const bool moved = QFile::rename(path, aside);
        qCWarning(lcPlacements).noquote()
            << "The widget list" << path << "cannot be read:" << problem
            << (moved ? "- kept as " + aside : QStringLiteral("- left as it is"));
        return {};
    }
    ReadFile result{true, {}, {}};
    for (const QJsonValue &element : root.value(QStringLiteral("widgets")).toArray()) {
        if (auto placement = WidgetPlacement::fromJson(element)) {
            result.placements.append(*placement);
        } else {
            qCWarning(lcPlacements).noquote()
                << "A widget of the list is skipped:"
                << QJsonDocument(QJsonArray{element}).toJson(QJsonDocument::Compact);
            result.skipped.append(element);
        }
    }
    return result;
}

bool overlaps(const QRect &a, const QRect &b)
{
    // Widgets keep the gap between them.
    return a
        .adjusted(-WidgetPlacementFile::gap, -WidgetPlacementFile::gap, WidgetPlacementFile::gap,
            WidgetPlacementFile::gap)
        .intersects(b);
}
} // namespace

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
    return readFile(path).placements;
}

QJsonArray WidgetPlacementFile::unreadableElements(const QString &path)
{
    return readFile(path).skipped;
}

void WidgetPlacementFile::save(const QString &path, const QList<WidgetPlacement> &placements)
{
    // Read first: an unreadable file is set aside before this one replaces it.
    QJsonArray list = readFile(path).skipped;
    for (const WidgetPlacement &placement : placements)
        list.append(placement.toJson());
    const QByteArray data
        = QJsonDocument(QJsonObject{{QStringLiteral("version"), version}, {QStringLiteral("widgets"), list}})
              .toJson();
    PrivateFiles::ensureDirectory(QFileInfo(path).absolutePath());
    PrivateFiles::writeAtomically(path, data);
}

QPoint WidgetPlacementFile::nextPosition(const QList<WidgetPlacement> &placements, const QString &screen,
    WidgetFamily family, std::optional<QRect> area)
{
    QList<QRect> taken;
    for (const WidgetPlacement &placement : placements) {
        if (placement.screen == screen) {
            const QSize size = WidgetMetrics::size(placement.family);
            taken.append(QRect(area ? clamped(placement.position, size, *area) : placement.position, size));
        }
    }
    if (!area) {
        QPoint next = origin;
        for (const QRect &rect : taken)
            next.setY(std::max(next.y(), rect.bottom() + 1 + gap));
        return next;
    }
    // Candidates: the origin's column and row, and beside or under every placed widget.
    QList<int> columns{area->left() + origin.x()};
    QList<int> rows{area->top() + origin.y()};
    for (const QRect &rect : taken) {
        columns.append(rect.right() + 1 + gap);
        rows.append(rect.bottom() + 1 + gap);
    }
    std::sort(columns.begin(), columns.end());
    std::sort(rows.begin(), rows.end());
    const QSize size = WidgetMetrics::size(family);
    for (const int x : columns) {
        for (const int y : rows) {
            const QRect candidate(QPoint(x, y), size);
            if (!area->contains(candidate))
                continue;
            if (std::none_of(
                    taken.begin(), taken.end(), [&](const QRect &rect) { return overlaps(rect, candidate); }))
                return candidate.topLeft();
        }
    }
    return clamped(area->topLeft() + origin, size, *area);
}

QPoint WidgetPlacementFile::clamped(QPoint position, QSize size, const QRect &area)
{
    // A widget larger than the area keeps its top-left corner on it.
    const int x = std::max(area.left(), std::min(position.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(position.y(), area.bottom() + 1 - size.height()));
    return {x, y};
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
