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
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sys/stat.h>
#include <system_error>
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
    // Never destroyed: a save at the process's end may still use it.
    static State *shared = new State;
    return *shared;
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

// The one thread that writes what saveLater() was given, from the first save
// that needs it to the end of the process. Where no thread can be started,
// the callers write on their own threads instead.
class Saver {
public:
    static Saver &instance()
    {
        // Never destroyed, and drained and joined by the exit handler before
        // anything it uses goes.
        static Saver *saver = new Saver;
        return *saver;
    }

    void keep(const QString &path, const QByteArray &data, bool due)
    {
        QMutexLocker lock(&m_mutex);
        auto pending = m_pending.find(path);
        if (pending == m_pending.end()) {
            m_order.append(path);
            pending = m_pending.insert(path, Pending{});
        }
        pending->data = data;
        pending->due = pending->due || due;
        if (pending->due)
            dispatch(lock);
    }

    void makeDue(const QString &path)
    {
        QMutexLocker lock(&m_mutex);
        const auto pending = m_pending.find(path);
        if (pending == m_pending.end())
            return;
        pending->due = true;
        dispatch(lock);
    }

    // Returns once every due save is written; with `held`, the bytes held
    // for later are made due first.
    void finish(bool held)
    {
        QMutexLocker lock(&m_mutex);
        if (held) {
            for (Pending &pending : m_pending)
                pending.due = true;
        }
        while (anyDue() || m_draining) {
            if (m_thread == ThreadState::running) {
                m_work.wakeOne();
                m_idle.wait(&m_mutex);
            } else if (m_draining) {
                m_idle.wait(&m_mutex);
            } else {
                drain(lock);
            }
        }
    }

private:
    struct Pending {
        QByteArray data;
        bool due = false;
    };
    enum class ThreadState { notStarted, running, unavailable, stopped };

    Saver()
    {
        // Made before the handler is registered, so they outlive it.
        state();
        lcKeptFiles();
        std::atexit([] { instance().stop(); });
    }

    bool anyDue() const
    {
        return std::any_of(m_pending.cbegin(), m_pending.cend(), [](const Pending &p) { return p.due; });
    }

    // Has the due saves written: by the thread, or here when there is none.
    void dispatch(QMutexLocker<QMutex> &lock)
    {
        if (m_thread == ThreadState::notStarted || m_thread == ThreadState::unavailable)
            startThread();
        if (m_thread == ThreadState::running)
            m_work.wakeOne();
        else if (!m_draining)
            drain(lock);
    }

    void startThread()
    {
        try {
            m_worker = std::thread([this] { run(); });
            m_thread = ThreadState::running;
        } catch (const std::system_error &error) {
            if (m_thread == ThreadState::notStarted)
                warn(QStringLiteral("Could not start the thread that saves files (%1); files are saved as "
                                    "they change.")
                         .arg(QString::fromLocal8Bit(error.what())));
            m_thread = ThreadState::unavailable;
        }
    }

    // Writes the due saves in the order given, the newest bytes of each; the
    // lock is let go while a file is written.
    void drain(QMutexLocker<QMutex> &lock)
    {
        m_draining = true;
        for (qsizetype i = 0; i < m_order.size();) {
            const QString path = m_order[i];
            const auto pending = m_pending.constFind(path);
            if (!pending->due) {
                ++i;
                continue;
            }
            const QByteArray data = pending->data;
            m_pending.erase(pending);
            m_order.removeAt(i);
            lock.unlock();
            try {
                KeptFiles::save(path, data);
            } catch (const FileError &) {
                // Logged by save(); the next change writes all the values again.
            }
            lock.relock();
            i = 0;
        }
        m_draining = false;
        m_idle.wakeAll();
        // A thread started while a caller wrote takes over what is due since.
        m_work.wakeOne();
    }

    void run()
    {
        QMutexLocker lock(&m_mutex);
        while (true) {
            while (!m_stopping && (m_draining || !anyDue()))
                m_work.wait(&m_mutex);
            if (m_stopping && !anyDue())
                return;
            drain(lock);
        }
    }

    // At the process's end, by exit() on any thread: what is waiting is
    // written, and the thread is joined before the statics it uses go.
    void stop()
    {
        finish(true);
        {
            const QMutexLocker lock(&m_mutex);
            if (m_thread != ThreadState::running)
                return;
            m_stopping = true;
            m_thread = ThreadState::stopped;
            m_work.wakeAll();
        }
        if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id())
            m_worker.join();
    }

    QMutex m_mutex;
    QWaitCondition m_work;
    QWaitCondition m_idle;
    // In the order given; a path appears once, with its newest bytes.
    QList<QString> m_order;
    QHash<QString, Pending> m_pending;
    bool m_draining = false;
    bool m_stopping = false;
    ThreadState m_thread = ThreadState::notStarted;
    std::thread m_worker;
};
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
    Saver::instance().keep(path, data, true);
}

void KeptFiles::keepUnsaved(const QString &path, const QByteArray &data)
{
    Saver::instance().keep(path, data, false);
}

void KeptFiles::saveKept(const QString &path)
{
    Saver::instance().makeDue(path);
}

void KeptFiles::finishSaves()
{
    Saver::instance().finish(false);
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
