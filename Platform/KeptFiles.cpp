#include "KeptFiles.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QWaitCondition>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <optional>
#include <sys/stat.h>
#include <thread>

Q_LOGGING_CATEGORY(lcKeptFiles, "com.velbrandtoro.Orvel.files")

namespace {
// What tells whether a file changed since it was last looked at: another
// program still writing it, or a cache no longer as this process saved it.
struct Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec changed{};

    explicit Stamp(const QString &path)
    {
        struct stat status { };
        exists = ::stat(QFile::encodeName(path).constData(), &status) == 0;
        if (exists) {
            device = status.st_dev;
            inode = status.st_ino;
            size = status.st_size;
            changed = status.st_ctim;
        }
    }
    bool operator==(const Stamp &other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size
            && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
    double secondsSinceChange() const
    {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return double(now.tv_sec - changed.tv_sec) + double(now.tv_nsec - changed.tv_nsec) / 1e9;
    }
};

// A cache as this process last saved it.
struct Saved {
    QByteArray data;
    Stamp stamp;
};

struct State {
    QMutex mutex;
    QSet<QString> held;
    QHash<QString, Saved> caches;
    // The causes logged for each file since it was last saved.
    QHash<QString, QSet<QString>> reported;
};

State &state()
{
    static State shared;
    return shared;
}

void warn(const QString &text)
{
    qCWarning(lcKeptFiles).noquote() << text;
}

// Anything at the path, a dangling link included.
bool somethingAt(const QString &path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 || errno != ENOENT;
}

void hold(const QString &path)
{
    const QMutexLocker lock(&state().mutex);
    state().held.insert(path);
}

// Returns once nothing has changed the file for `quiet` seconds, or after `patience`.
void waitForQuiet(const QString &path, double quiet, double patience)
{
    const QDeadlineTimer giveUp(qint64(patience * 1000));
    Stamp last(path);
    QElapsedTimer unchanged;
    unchanged.start();
    while (last.secondsSinceChange() < quiet && unchanged.elapsed() < qint64(quiet * 1000)
        && !giveUp.hasExpired()) {
        QThread::msleep(50);
        const Stamp now(path);
        if (!(now == last)) {
            last = now;
            unchanged.restart();
        }
    }
}

// The one thread that saves what saveLater() was given.
struct LaterSaves {
    QMutex mutex;
    QWaitCondition idle;
    // In the order given; a path appears once, with its newest bytes.
    QList<QString> order;
    QHash<QString, QByteArray> newest;
    bool running = false;

    void drain()
    {
        QMutexLocker lock(&mutex);
        while (!order.isEmpty()) {
            const QString path = order.takeFirst();
            const QByteArray data = newest.take(path);
            lock.unlock();
            try {
                KeptFiles::save(path, data);
            } catch (const FileError &) {
                // Logged by save(); the next change writes all the values again.
            }
            lock.relock();
        }
        running = false;
        idle.wakeAll();
    }
};

LaterSaves &laterSaves()
{
    // Never destroyed: a save may still run while the process exits.
    static auto *saves = new LaterSaves;
    return *saves;
}
} // namespace

KeptRead KeptFiles::read(const QString &path, const Judge &judge, qint64 limit)
{
    KeptRead content = PrivateFiles::readCapped(path, limit);
    if (content.wasRead()) {
        if (QString problem = judge(content.data); !problem.isEmpty()) {
            content.status = KeptRead::Status::notUnderstood;
            content.description = std::move(problem);
            content.data.clear();
        }
    }
    return content;
}

KeptFiles::Checked KeptFiles::check(const QString &path, const Judge &judge, const CheckOptions &options)
{
    {
        const QMutexLocker lock(&state().mutex);
        state().held.remove(path);
    }
    PrivateFiles::removeLeftovers(path);
    Checked checked;
    checked.content = read(path, judge, options.limit);
    const auto settled = [&] {
        return !checked.content.isUnreadable() || checked.content.status == KeptRead::Status::unopenable;
    };
    if (!settled() && options.quietSeconds > 0) {
        // Another program may be halfway through writing it.
        waitForQuiet(path, options.quietSeconds, options.patienceSeconds);
        checked.content = read(path, judge, options.limit);
    }
    switch (checked.content.status) {
    case KeptRead::Status::read:
        checked.outcome = Checked::Outcome::read;
        return checked;
    case KeptRead::Status::missing:
        checked.outcome = Checked::Outcome::missing;
        return checked;
    case KeptRead::Status::unopenable:
        // Often a passing fault or a question of rights: the file may well be fine.
        checked.outcome = Checked::Outcome::held;
        checked.problem = checked.content.description;
        hold(path);
        return checked;
    case KeptRead::Status::notRegular:
    case KeptRead::Status::tooLarge:
    case KeptRead::Status::notUnderstood:
        break;
    }
    try {
        checked.aside = PrivateFiles::setAside(path);
        checked.outcome = Checked::Outcome::setAside;
    } catch (const FileError &error) {
        checked.outcome = Checked::Outcome::held;
        checked.problem = error.description;
        hold(path);
    }
    return checked;
}

std::optional<QByteArray> KeptFiles::load(const QString &path, const Understands &understands, qint64 limit)
{
    const Judge judge = [&understands](const QByteArray &data) {
        return understands(data) ? QString()
                                 : QStringLiteral("not in a form this version of Orvel understands");
    };
    CheckOptions options;
    options.limit = limit;
    Checked checked = check(path, judge, options);
    const QString staysNote = QStringLiteral("it stays where it is and is not saved over while Orvel runs");
    const QString &why = checked.content.description;
    switch (checked.outcome) {
    case Checked::Outcome::read:
        return std::move(checked.content.data);
    case Checked::Outcome::missing:
        break;
    case Checked::Outcome::setAside:
        warn(QStringLiteral("Could not use %1 (%2); kept it as %3 and started without it.")
                 .arg(path, why, checked.aside));
        break;
    case Checked::Outcome::held:
        if (checked.content.status == KeptRead::Status::unopenable)
            warn(QStringLiteral("Could not open %1 (%2); %3.").arg(path, why, staysNote));
        else
            warn(QStringLiteral("Could not use %1 (%2) nor move it aside (%3); %4.")
                     .arg(path, why, checked.problem, staysNote));
        break;
    }
    return std::nullopt;
}

void KeptFiles::saveCache(const QString &path, const QByteArray &data)
{
    {
        const QMutexLocker lock(&state().mutex);
        const auto last = state().caches.constFind(path);
        if (last != state().caches.cend() && last->data == data && last->stamp == Stamp(path))
            return;
        state().caches.remove(path);
    }
    save(path, data, PrivateFiles::Durability::cached);
    const QMutexLocker lock(&state().mutex);
    state().caches.insert(path, Saved{data, Stamp(path)});
}

void KeptFiles::saveLater(const QString &path, const QByteArray &data)
{
    LaterSaves &saves = laterSaves();
    const QMutexLocker lock(&saves.mutex);
    if (!saves.newest.contains(path))
        saves.order.append(path);
    saves.newest.insert(path, data);
    if (!saves.running) {
        saves.running = true;
        std::thread([&saves] { saves.drain(); }).detach();
    }
}

void KeptFiles::finishSaves()
{
    LaterSaves &saves = laterSaves();
    QMutexLocker lock(&saves.mutex);
    while (saves.running)
        saves.idle.wait(&saves.mutex);
}

void KeptFiles::replace(const QString &path, const QByteArray &data, PrivateFiles::Durability durability)
{
    if (isHeld(path)) {
        if (somethingAt(path))
            throw FileError(path, QStringLiteral("it could not be read at start, so it is not saved over"));
        // Moved away by the user: nothing is lost by writing.
        const QMutexLocker lock(&state().mutex);
        state().held.remove(path);
    }
    try {
        PrivateFiles::ensureDirectory(QFileInfo(path).path());
        PrivateFiles::writeAtomically(path, data, durability);
    } catch (const FileError &error) {
        // Each description names the folder or linked file it concerns where that is not the path.
        throw FileError(path, error.description);
    }
}

void KeptFiles::save(const QString &path, const QByteArray &data, PrivateFiles::Durability durability)
{
    try {
        replace(path, data, durability);
    } catch (const FileError &failure) {
        report(failure);
        throw;
    }
    const QMutexLocker lock(&state().mutex);
    state().reported.remove(path);
}

void KeptFiles::report(const FileError &failure)
{
    {
        const QMutexLocker lock(&state().mutex);
        QSet<QString> &causes = state().reported[failure.path];
        if (causes.contains(failure.description))
            return;
        causes.insert(failure.description);
    }
    warn(QStringLiteral(
        "Could not save %1: %2. Orvel keeps the values it has and saves again on the next change.")
             .arg(failure.path, failure.description));
}

bool KeptFiles::isHeld(const QString &path)
{
    const QMutexLocker lock(&state().mutex);
    return state().held.contains(path);
}

void KeptFiles::ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
