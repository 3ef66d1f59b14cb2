#include "WidgetPlacements.h"

#include "KeptFiles.h"
#include "LoginItem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcWidgetHost, "com.velbrandtoro.Orvel.WidgetHost")

namespace {
// A value of the file as it stands there, for messages.
QString shown(const QJsonValue &value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

// Why a file is no list this version understands; empty when it is one.
QString problemOf(const QByteArray &data)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
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

// Why the content is no list, as the messages say it.
QString problemText(const KeptRead &content)
{
    const bool ofTheFile
        = content.status == KeptRead::Status::notRegular || content.status == KeptRead::Status::tooLarge;
    return ofTheFile ? QStringLiteral("it is ") + content.description : content.description;
}

WidgetList listOf(const KeptRead &content)
{
    WidgetList list;
    list.status = content.status;
    if (!content.wasRead()) {
        list.problem = content.status == KeptRead::Status::missing ? QString() : problemText(content);
        return list;
    }
    QJsonObject root = QJsonDocument::fromJson(content.data).object();
    const QJsonArray widgets = root.take(QStringLiteral("widgets")).toArray();
    root.remove(QStringLiteral("version"));
    list.unknown = root;
    for (const QJsonValue &element : widgets) {
        if (auto placement = WidgetPlacement::fromJson(element)) {
            list.placements.append(*placement);
        } else {
            qCWarning(lcWidgetHost).noquote()
                << "A widget of the list is skipped:"
                << QJsonDocument(QJsonArray{element}).toJson(QJsonDocument::Compact);
            list.skipped.append(element);
            list.skippedBefore.append(list.placements.size());
        }
    }
    return list;
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
    // Untouched, it is written as it was read: a screen given as a number or
    // a position beyond the limit stays the user's.
    if (const auto read = fromJson(element); read && *read == *this)
        return element;
    QJsonObject element = this->element;
    element.insert(QStringLiteral("kind"), kind);
    element.insert(QStringLiteral("family"), toRawValue(family));
    element.insert(QStringLiteral("screen"), screen);
    element.insert(QStringLiteral("x"), position.x());
    element.insert(QStringLiteral("y"), position.y());
    return element;
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
        QPoint(coordinate(x), coordinate(y)), o};
}

QString WidgetPlacementFile::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel/widgets.json");
}

WidgetList WidgetPlacementFile::read(const QString &path)
{
    return listOf(KeptFiles::read(path, problemOf));
}

WidgetList WidgetPlacementFile::check(const QString &path, QString *report, double quietSeconds)
{
    KeptFiles::CheckOptions options;
    options.quietSeconds = quietSeconds;
    const KeptFiles::Checked checked = KeptFiles::check(path, problemOf, options);
    QString line;
    switch (checked.outcome) {
    case KeptFiles::Checked::Outcome::read:
    case KeptFiles::Checked::Outcome::missing:
        break;
    case KeptFiles::Checked::Outcome::setAside:
        line = QStringLiteral("The widget list %1 cannot be read (%2); it is kept as %3.")
                   .arg(path, problemText(checked.content), checked.aside);
        break;
    case KeptFiles::Checked::Outcome::held:
        if (checked.content.status != KeptRead::Status::unopenable) {
            throw FileError(path,
                QStringLiteral("it cannot be read (%1) nor set aside: %2")
                    .arg(problemText(checked.content), checked.problem));
        }
        line = QStringLiteral("The widget list %1 cannot be opened (%2); it is left as it is.")
                   .arg(path, checked.problem);
        break;
    }
    if (report)
        *report = line;
    return checked.outcome == KeptFiles::Checked::Outcome::setAside ? WidgetList{} : listOf(checked.content);
}

void WidgetPlacementFile::write(
    const QString &path, const QList<WidgetPlacement> &placements, const WidgetList &kept)
{
    QJsonArray list;
    qsizetype skipped = 0;
    const auto skippedUpTo = [&](qsizetype index) {
        for (; skipped < kept.skipped.size() && kept.skippedBefore.value(skipped) <= index; ++skipped)
            list.append(kept.skipped[skipped]);
    };
    for (qsizetype i = 0; i < placements.size(); ++i) {
        skippedUpTo(i);
        list.append(placements[i].toJson());
    }
    skippedUpTo(std::numeric_limits<qsizetype>::max());
    QJsonObject root = kept.unknown;
    root.insert(QStringLiteral("version"), version);
    root.insert(QStringLiteral("widgets"), list);
    KeptFiles::replace(path, QJsonDocument(root).toJson());
}

void WidgetPlacementFile::save(const QString &path, const QList<WidgetPlacement> &placements)
{
    const WidgetList list = check(path, nullptr);
    if (list.status == KeptRead::Status::unopenable)
        throw FileError(path, list.problem);
    write(path, placements, list);
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

std::optional<WidgetPlacementFile::Shown> WidgetPlacementFile::shown(
    const WidgetPlacement &placement, const QList<WidgetScreen> &screens)
{
    const auto named = [&](auto matches) {
        const auto found = std::find_if(screens.begin(), screens.end(), matches);
        return found == screens.end() ? qsizetype(-1) : qsizetype(found - screens.begin());
    };
    qsizetype index = named([&](const WidgetScreen &screen) { return screen.name == placement.screen; });
    if (index < 0)
        index = named([](const WidgetScreen &screen) { return screen.primary; });
    if (index < 0 && !screens.isEmpty())
        index = 0;
    if (index < 0)
        return std::nullopt;
    const QRect &area = screens[index].geometry;
    const QSize size = WidgetMetrics::size(placement.family);
    const QPoint position = clamped(placement.position, size, QRect(QPoint(0, 0), area.size()));
    return Shown{index, QRect(area.topLeft() + position, size)};
}

namespace {
// What lies where the lock belongs, as seen before QLockFile is asked: it
// would read a pipe there and wait for a writer forever.
struct LockSpot {
    enum class Kind {
        absent, // free to be made
        file, // a lock file, or a link to one: QLockFile's rules
        linkToNothing, // no holder ever makes a link: a dead leftover
        other, // no lock file at all: `what` says what it is
    };
    Kind kind = Kind::absent;
    QString what;
};

LockSpot lockSpot(const QByteArray &lockPath)
{
    struct stat status { };
    // Not there, or no right to look: making the lock says which.
    if (::lstat(lockPath.constData(), &status) != 0)
        return {};
    if (S_ISREG(status.st_mode))
        return {LockSpot::Kind::file, {}};
    if (!S_ISLNK(status.st_mode))
        return {LockSpot::Kind::other, PrivateFiles::kindOf(status.st_mode)};
    struct stat target { };
    if (::stat(lockPath.constData(), &target) != 0) {
        const bool nothing = errno == ENOENT || errno == ENOTDIR || errno == ELOOP;
        return {nothing ? LockSpot::Kind::linkToNothing : LockSpot::Kind::file, {}};
    }
    if (S_ISREG(target.st_mode))
        return {LockSpot::Kind::file, {}};
    return {LockSpot::Kind::other, QStringLiteral("a link to ") + PrivateFiles::kindOf(target.st_mode)};
}

// A lock that names no holder (empty or unreadable) and is old enough that its
// maker would long have written itself into it.
bool saysNothingForLong(QLockFile &lock, const QString &lockPath)
{
    qint64 pid = 0;
    QString host;
    QString program;
    if (lock.getLockInfo(&pid, &host, &program))
        return false;
    const QFileInfo info(lockPath);
    return info.exists()
        && std::abs(info.lastModified().msecsTo(QDateTime::currentDateTime())) > WidgetListLock::staleEmptyMs;
}

// Why QLockFile could not make the lock, found by making it the same way:
// errno, EEXIST when another program has it now, or 0 when it can be made
// after all. Nothing is left: what is made is removed at once (a crash in
// between leaves an empty lock, taken over as any other).
int whyNoLockCanBeMade(const QByteArray &lockPath)
{
    const int fd = ::open(lockPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    // A full disk still has room for the name, not for the holder's line.
    int error = ::write(fd, "\n", 1) == 1 ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    ::unlink(lockPath.constData());
    return error;
}

// Whether the lock names a process of this machine that is gone.
bool holderIsGone(QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString program;
    return lock.getLockInfo(&pid, &host, &program) && pid > 0 && host == QSysInfo::machineHostName()
        && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Takes the guard under which a leftover lock is removed, as QLockFile does:
// 0 with it held, -1 while another taker has it, or why it cannot be made (errno).
int takeGuard(QLockFile &guard, const QString &guardPath)
{
    if (guard.tryLock(0))
        return 0;
    if (guard.error() == QLockFile::LockFailedError)
        return -1;
    const int error = whyNoLockCanBeMade(QFile::encodeName(guardPath));
    return error == 0 || error == EEXIST ? -1 : error;
}
} // namespace

WidgetListLock::WidgetListLock(const QString &path)
    : m_lock(lockPath(path))
{
    // The folder as the system finds it: cleaned as text, "link/.." would be another one.
    PrivateFiles::ensureDirectory(QFileInfo(path).path());
    m_lock.setStaleLockTime(staleMs);
    const QString lock = lockPath(path);
    const QByteArray lockName = QFile::encodeName(lock);
    const QString guardName = lock + QStringLiteral(".rmlock");
    const auto reason = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    // Why the last try failed: errno, or one of these.
    constexpr int held = 0;
    constexpr int linkStays = -1;
    constexpr int unexplained = -2;
    int failure = held;
    // Asked often rather than with QLockFile's growing pauses: with many
    // writers waiting, each gets its turn soon after the lock is free.
    const QDeadlineTimer deadline(waitMs);
    while (true) {
        const LockSpot spot = lockSpot(lockName);
        if (spot.kind == LockSpot::Kind::other)
            throw FileError(path, QStringLiteral("its lock %1 is %2, not a lock file").arg(lock, spot.what));
        if (spot.kind == LockSpot::Kind::linkToNothing) {
            failure = linkStays;
            // Removed under QLockFile's own guard, as a stale lock file is, so
            // two takers never remove each other's new lock.
            QLockFile removal(guardName);
            int error = takeGuard(removal, guardName);
            if (error == 0 && lockSpot(lockName).kind == LockSpot::Kind::linkToNothing) {
                error = ::unlink(lockName.constData()) == 0 ? 0 : errno;
                if (error == 0 || error == ENOENT)
                    continue;
            }
            if (error > 0) {
                throw FileError(path,
                    QStringLiteral("its lock %1 is a link to nothing and cannot be removed: %2")
                        .arg(lock, reason(error)));
            }
        } else if (m_lock.tryLock(0)) {
            return;
        } else if (m_lock.error() != QLockFile::LockFailedError) {
            const int error = whyNoLockCanBeMade(lockName);
            // EEXIST: another program made it meanwhile, and holds it.
            failure = error == EEXIST ? held : error == 0 ? unexplained : error;
            if (failure > 0)
                break;
        } else {
            failure = held;
            const bool saysNothing = saysNothingForLong(m_lock, lock);
            if (saysNothing || holderIsGone(m_lock)) {
                // A leftover: removed under QLockFile's guard (for a gone
                // holder, by tryLock itself). A guard that cannot be made is
                // why it stays, not a holder.
                QLockFile removal(guardName);
                const int error = takeGuard(removal, guardName);
                if (error > 0) {
                    throw FileError(path,
                        QStringLiteral(
                            "its lock %1 is left by a program that is gone and cannot be removed: %2")
                            .arg(lock, reason(error)));
                }
                if (error == 0 && saysNothing && saysNothingForLong(m_lock, lock)
                    && m_lock.removeStaleLockFile())
                    continue;
            }
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(pollMs);
    }
    if (failure > 0)
        throw FileError(path, QStringLiteral("its lock %1 cannot be made: %2").arg(lock, reason(failure)));
    if (failure == unexplained)
        throw FileError(path, QStringLiteral("its lock %1 cannot be made").arg(lock));
    if (failure == linkStays)
        throw FileError(
            path, QStringLiteral("its lock %1 is a link to nothing and is not removed").arg(lock));
    qint64 pid = 0;
    QString host;
    QString program;
    const QString holder = m_lock.getLockInfo(&pid, &host, &program)
        ? QStringLiteral("%1 (process %2)").arg(program).arg(pid)
        : QStringLiteral("another program");
    throw FileError(path,
        QStringLiteral("%1 held its lock %2 for more than %3 seconds").arg(holder, lock).arg(waitMs / 1000));
}

QString WidgetHostAutostart::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/com.velbrandtoro.Orvel.WidgetHost.desktop");
}

QString WidgetHostAutostart::follow(
    const QList<WidgetPlacement> &placements, const QString &program, const QString &path)
{
    AutostartLoginItem item(path, program, QStringLiteral("Orvel widgets"));
    if (placements.isEmpty())
        item.unregisterItem();
    else
        item.keepRegistered();
    return item.warning();
}
