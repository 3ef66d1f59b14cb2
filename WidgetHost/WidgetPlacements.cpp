#include "WidgetPlacements.h"

#include "LoginItem.h"
#include "PrivateFiles.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcPlacements, "com.velbrandtoro.Orvel.WidgetHost")

// A value of the file as it stands there, for messages.
QString shown(const QJsonValue &value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

// Why a parsed file is no list this version understands; empty when it is one.
QString problemOf(const QJsonParseError &parseError, const QJsonDocument &document)
{
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return QStringLiteral("it is not a list of widgets");
    const QJsonObject root = document.object();
    // Lists from before the version was written are version 1.
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isUndefined()) {
        const double number = version.toDouble(std::nan(""));
        if (!version.isDouble() || !std::isfinite(number) || number != std::trunc(number))
            return QStringLiteral("its version %1 is not a whole number").arg(shown(version));
        if (number > WidgetPlacementFile::version)
            return QStringLiteral("it was written by a newer Orvel (version %1)").arg(shown(version));
        if (number < 1)
            return QStringLiteral("its version %1 is none Orvel writes").arg(shown(version));
    }
    if (root.contains(QStringLiteral("widgets")) && !root.value(QStringLiteral("widgets")).isArray())
        return QStringLiteral("its widgets are not a list");
    return {};
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
    const auto coordinate = [](const QJsonValue &v) {
        const double limit = WidgetPlacementFile::coordinateLimit;
        return int(std::clamp(v.toDouble(), -limit, limit));
    };
    return WidgetPlacement{kind.toString(), *family, o.value(QStringLiteral("screen")).toString(),
        QPoint(coordinate(x), coordinate(y))};
}

QString WidgetPlacementFile::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel/widgets.json");
}

WidgetList WidgetPlacementFile::read(const QString &path)
{
    WidgetList list;
    const KeptRead kept = PrivateFiles::readCapped(path);
    switch (kept.status) {
    case KeptRead::Status::missing:
        return list;
    case KeptRead::Status::unopenable:
        list.status = WidgetList::Status::unopenable;
        list.problem = kept.description;
        return list;
    case KeptRead::Status::notRegular:
    case KeptRead::Status::tooLarge:
        list.status = WidgetList::Status::unreadable;
        list.problem = QStringLiteral("it is ") + kept.description;
        return list;
    case KeptRead::Status::read:
        break;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(kept.data, &parseError);
    list.problem = problemOf(parseError, document);
    if (!list.problem.isEmpty()) {
        list.status = WidgetList::Status::unreadable;
        return list;
    }
    list.status = WidgetList::Status::read;
    for (const QJsonValue &element : document.object().value(QStringLiteral("widgets")).toArray()) {
        if (auto placement = WidgetPlacement::fromJson(element)) {
            list.placements.append(*placement);
        } else {
            qCWarning(lcPlacements).noquote()
                << "A widget of the list is skipped:"
                << QJsonDocument(QJsonArray{element}).toJson(QJsonDocument::Compact);
            list.skipped.append(element);
        }
    }
    return list;
}

WidgetList WidgetPlacementFile::check(const QString &path, QString *report)
{
    WidgetList list = read(path);
    QString line;
    if (list.status == WidgetList::Status::unopenable) {
        line = QStringLiteral("The widget list %1 cannot be opened (%2); it is left as it is.")
                   .arg(path, list.problem);
    } else if (list.status == WidgetList::Status::unreadable) {
        try {
            const QString aside = PrivateFiles::setAside(path);
            line = QStringLiteral("The widget list %1 cannot be read (%2); it is kept as %3.")
                       .arg(path, list.problem, aside);
        } catch (const FileError &error) {
            throw FileError(path,
                QStringLiteral("it cannot be read (%1) nor set aside: %2")
                    .arg(list.problem, error.description));
        }
        list = WidgetList{};
    }
    if (report)
        *report = line;
    return list;
}

void WidgetPlacementFile::write(
    const QString &path, const QList<WidgetPlacement> &placements, const QJsonArray &skipped)
{
    QJsonArray list = skipped;
    for (const WidgetPlacement &placement : placements)
        list.append(placement.toJson());
    const QByteArray data
        = QJsonDocument(QJsonObject{{QStringLiteral("version"), version}, {QStringLiteral("widgets"), list}})
              .toJson();
    PrivateFiles::ensureDirectory(QFileInfo(path).absolutePath());
    PrivateFiles::writeAtomically(path, data);
}

void WidgetPlacementFile::save(const QString &path, const QList<WidgetPlacement> &placements)
{
    const WidgetList list = check(path, nullptr);
    if (list.status == WidgetList::Status::unopenable)
        throw FileError(path, list.problem);
    write(path, placements, list.skipped);
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

WidgetListLock::WidgetListLock(const QString &path)
    : m_lock(lockPath(path))
{
    PrivateFiles::ensureDirectory(QFileInfo(path).absolutePath());
    m_lock.setStaleLockTime(staleMs);
    // Asked often rather than with QLockFile's growing pauses: with many
    // writers waiting, each gets its turn soon after the lock is free.
    const QDeadlineTimer deadline(waitMs);
    while (!m_lock.tryLock(0) && m_lock.error() == QLockFile::LockFailedError && !deadline.hasExpired())
        QThread::msleep(pollMs);
    if (m_lock.isLocked())
        return;
    if (m_lock.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString program;
        const QString holder = m_lock.getLockInfo(&pid, &host, &program)
            ? QStringLiteral("%1 (process %2)").arg(program).arg(pid)
            : QStringLiteral("another program");
        throw FileError(path,
            QStringLiteral("%1 held its lock %2 for more than %3 seconds")
                .arg(holder, lockPath(path))
                .arg(waitMs / 1000));
    }
    throw FileError(path, QStringLiteral("its lock %1 cannot be made").arg(lockPath(path)));
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
