#include "PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace {
QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor(Descriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int get() const { return m_fd; }
    // Takes a descriptor opened after construction; holds none before.
    void adopt(int fd) { m_fd = fd; }
    // Closes now, so a failure of close (a late write error on some file
    // systems) is seen. Returns errno, or 0.
    int close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Writes all of data, riding out short writes and interruptions; errno or 0.
int writeAll(int fd, const QByteArray &data)
{
    const char *next = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return ENOSPC;
        next += written;
        left -= written;
    }
    return 0;
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
}

// The path made absolute against the current folder, otherwise as given.
// Cleaned as text, "link/.." would lose the link the system follows there:
// its target's parent is another folder than the link's.
QString absoluteAsGiven(const QString &path)
{
    return QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
}

QByteArray resolveLinks(const QString &path)
{
    QByteArray current = QFile::encodeName(absoluteAsGiven(path));
    // As many hops as the kernel follows before it calls it a loop.
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX + 1];
        const ssize_t length = ::readlink(current.constData(), target, sizeof target);
        // Not a link, nothing there, or no right to look: the write says what is wrong.
        if (length < 0)
            return current;
        if (size_t(length) >= sizeof target)
            throw FileError(path, systemReason(ENAMETOOLONG));
        const QByteArray next(target, length);
        current = next.startsWith('/') ? next : directoryOf(current) + '/' + next;
    }
    throw FileError(path, systemReason(ELOOP));
}

QByteArray randomSuffix()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(8, 'x');
    for (char &c : suffix)
        c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return suffix;
}

// The temporary file of one save. Held under an exclusive flock from its
// creation until the rename, so a cleaner tells a live writer's file from a
// dead one's. Created unnamed (O_TMPFILE) where the file system can, so a
// save killed before it is complete leaves nothing at all.
class Temporary {
public:
    Temporary(const QByteArray &directory, const QByteArray &prefix)
        : m_prefix(directory + '/' + prefix)
    {
#ifdef O_TMPFILE
        if (procAvailable()) {
            m_file.adopt(::open(directory.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
            if (m_file.get() >= 0) {
                lock();
                return;
            }
            // The file system has no unnamed files: a named one serves.
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
                m_error = errno;
                return;
            }
        }
#endif
        m_name = m_prefix + "XXXXXX";
        m_file.adopt(::mkostemp(m_name.data(), O_CLOEXEC));
        if (m_file.get() < 0) {
            m_error = errno;
            m_name.clear();
            return;
        }
        lock();
    }
    ~Temporary()
    {
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }
    Temporary(const Temporary &) = delete;
    Temporary &operator=(const Temporary &) = delete;
    Temporary(Temporary &&other) noexcept
        : m_prefix(std::move(other.m_prefix))
        , m_name(std::exchange(other.m_name, {}))
        , m_file(std::move(other.m_file))
        , m_lock(std::move(other.m_lock))
        , m_error(other.m_error)
    {
    }

    // errno of the creation, or 0.
    int error() const
    {
        return m_error;
    }
    int fd() const
    {
        return m_file.get();
    }
    // Closes the written descriptor (a late write error shows here on some
    // file systems); the lock stays. errno or 0.
    int close()
    {
        return m_file.close();
    }
    // Gives an unnamed file its name beside the target. errno or 0.
    int name()
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_lock.get());
        for (int attempt = 0; m_name.isEmpty(); ++attempt) {
            QByteArray name = m_prefix + randomSuffix();
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                m_name = name;
            else if (errno != EEXIST || attempt > 100)
                return errno;
        }
        return 0;
    }
    const QByteArray &path() const
    {
        return m_name;
    }
    // The name no longer holds this file (it was renamed or exchanged away).
    void forget()
    {
        m_name.clear();
    }
    // Renames the file over the target, naming an unnamed one first. errno or 0.
    int renameOver(const QByteArray &target)
    {
        if (const int error = name(); error != 0)
            return error;
        if (::rename(m_name.constData(), target.constData()) != 0)
            return errno;
        m_name.clear();
        return 0;
    }

private:
    // The lock is held on a descriptor of its own, so it outlasts the written
    // one's close. It only reads, so once the written one is closed nothing
    // has the file open for writing (a read lease can then be taken on it).
    void lock()
    {
        // Close-on-exec like the first: a program started meanwhile must not inherit it.
        const QByteArray self
            = m_name.isEmpty() ? "/proc/self/fd/" + QByteArray::number(m_file.get()) : m_name;
        m_lock.adopt(::open(self.constData(), O_RDONLY | O_CLOEXEC | (m_name.isEmpty() ? 0 : O_NOFOLLOW)));
        if (m_lock.get() < 0 || ::flock(m_lock.get(), LOCK_EX) != 0)
            m_error = errno;
    }
    static bool procAvailable()
    {
        // A chroot or container may lack /proc, through which an unnamed file gets its name.
        static const bool available = ::access("/proc/self/fd", X_OK) == 0;
        return available;
    }

    QByteArray m_prefix;
    QByteArray m_name;
    Descriptor m_file;
    Descriptor m_lock;
    int m_error = 0;
};

// Gives the new file the owner, group and mode of the one it replaces, as far
// as this process may; a group it cannot keep loses the group's rights.
void keepOwnership(int fd, const struct stat &prior)
{
    mode_t mode = prior.st_mode & 0777;
    if (::fchown(fd, prior.st_uid, prior.st_gid) != 0 && ::fchown(fd, uid_t(-1), prior.st_gid) != 0)
        mode &= ~mode_t(S_IRWXG);
    ::fchmod(fd, mode);
}

// Renames without replacing an existing target; errno or 0.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without RENAME_NOREPLACE: a hard link fails on an existing name too.
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    ::unlink(from.constData());
    return 0;
}

// Lease notices come as a signal. SIGURG is ignored unless a program handles
// it, so it is asked for; where the program does handle it, no lease is taken.
bool leaseNoticeIsQuiet()
{
    struct sigaction current { };
    return ::sigaction(SIGURG, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO)
        && (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN);
}

// A file held open to read: its identity stays while it is open (its inode
// cannot be reused), and a read lease on it, where one can be taken, tells
// whether any program has opened it for writing or truncated it since. Such
// a program waits in the kernel until the lease is let go, so a save in place
// that began meanwhile has not written a byte yet.
class Held {
public:
    enum class Writers { none, some, unknown };

    Held() = default;
    explicit Held(const QByteArray &path)
        : m_fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW))
    {
        struct stat status { };
        m_error = m_fd.get() < 0 ? errno : ::fstat(m_fd.get(), &status) != 0 ? errno : 0;
        if (m_error == 0) {
            m_device = status.st_dev;
            m_inode = status.st_ino;
            m_regular = S_ISREG(status.st_mode);
        }
    }

    bool isOpen() const { return m_error == 0; }
    int error() const { return m_error; }
    bool isRegular() const { return m_regular; }
    bool isSameFile(const Held &other) const
    {
        return isOpen() && other.isOpen() && m_device == other.m_device && m_inode == other.m_inode;
    }
    Writers lease()
    {
        if (!m_regular || !leaseNoticeIsQuiet() || ::fcntl(m_fd.get(), F_SETSIG, SIGURG) != 0)
            return m_writers = Writers::unknown;
        if (::fcntl(m_fd.get(), F_SETLEASE, F_RDLCK) == 0)
            return m_writers = Writers::none;
        return m_writers = errno == EAGAIN ? Writers::some : Writers::unknown;
    }
    // A program had it open for writing when the lease was asked for, or has
    // opened it so since.
    bool written() const
    {
        return m_writers == Writers::some
            || (m_writers == Writers::none && ::fcntl(m_fd.get(), F_GETLEASE) != F_RDLCK);
    }
    // Its bytes from the start, or nothing past the limit or on an error.
    std::optional<QByteArray> contents() const
    {
        QByteArray data;
        char chunk[65536];
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(m_fd.get(), chunk, sizeof chunk, at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 || data.size() + got > PrivateFiles::keptFileLimit)
                return std::nullopt;
            if (got == 0)
                return data;
            data.append(chunk, got);
            at += got;
        }
    }
    // While it lies under a temporary's name, a cleaner of dead writers' files leaves it.
    void guard() const { ::flock(m_fd.get(), LOCK_EX | LOCK_NB); }

private:
    Descriptor m_fd;
    int m_error = 0;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    bool m_regular = false;
    Writers m_writers = Writers::unknown;
};

enum class Swapped { placed, declined };

int exchange(const QByteArray &a, const QByteArray &b)
{
    return ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0 ? 0 : errno;
}

// Puts the temporary's file at the target in place of the file read as
// `base`. The names are exchanged, not renamed over, so that what the target
// held at that instant is not destroyed but lies under the temporary's name,
// to be checked: a file another program renamed there after the read, or the
// old file opened meanwhile to be saved in place, goes back to the target.
// errno on a failure, the temporary's file then where it was.
std::pair<Swapped, int> swapIn(Temporary &file, const QByteArray &target, const QByteArray &base)
{
    Held old(target);
    if (!old.isOpen())
        return {Swapped::declined, old.error() == ENOENT || old.error() == ELOOP ? 0 : old.error()};
    // Being saved in place right now, or not the file that was read.
    if (!old.isRegular() || old.lease() == Held::Writers::some || old.contents() != base)
        return {Swapped::declined, 0};
    old.guard();
    if (const int error = file.name(); error != 0)
        return {Swapped::declined, error};
    const QByteArray temporary = file.path();
    Held mine(temporary);
    mine.lease();
    // The last look, right before the exchange: opened to be written, or replaced.
    if (old.written() || !Held(target).isSameFile(old))
        return {Swapped::declined, 0};
    if (const int error = exchange(temporary, target); error != 0) {
        if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
            return {Swapped::declined, error};
        // A file system that cannot exchange names: that last look is all there is.
        return {Swapped::placed, file.renameOver(target)};
    }
    Held expected = std::move(old);
    Held placed = std::move(mine);
    bool clean = true;
    bool waited = false;
    for (int round = 0; round < 16; ++round) {
        Held out(temporary);
        if (!out.isOpen())
            return {Swapped::declined, out.error()};
        // Another program put this file at the target after the last look: it
        // is the newest there is, and goes back at once.
        const bool renamedMeanwhile = !out.isSameFile(expected);
        if (!renamedMeanwhile) {
            out.guard();
            out.lease();
            if (!waited) {
                // A program that found the replaced file just before the
                // exchange and is opening it to write reaches its lease within moments.
                ::usleep(1000);
                waited = true;
            }
        }
        // The file replaced was opened to be saved in place: its save must land at the target.
        const bool savedInto = !renamedMeanwhile
            && (expected.written() || out.written() || (round == 0 && out.contents() != base));
        if (!renamedMeanwhile && !(savedInto && !placed.written())) {
            // A save into the file now at the target is under way: it stays, and the edit is made afresh.
            clean = clean && !placed.written();
            break;
        }
        clean = false;
        if (const int error = exchange(temporary, target); error != 0)
            return {Swapped::declined, error};
        if (renamedMeanwhile) {
            out.guard();
            out.lease();
        }
        expected = std::move(placed);
        placed = std::move(out);
    }
    // What lies under the temporary's name now is what the target's file replaced.
    ::unlink(temporary.constData());
    file.forget();
    return {clean ? Swapped::placed : Swapped::declined, 0};
}

void syncFolder(const QByteArray &directory)
{
    // A rename survives a crash only once the directory is synced.
    Descriptor folder(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

// Where a link leads elsewhere, the message names the file actually written.
FileError failureWriting(const QString &path, const QByteArray &target, int error)
{
    const QString reason = systemReason(error);
    const QString written = QFile::decodeName(target);
    return FileError(
        path, written == absoluteAsGiven(path) ? reason : QStringLiteral("%1: %2").arg(written, reason));
}

// The temporary file beside the target with the new bytes written, checked
// and (synced) on disk, owned as the file it replaces.
Temporary prepared(const QString &path, const QByteArray &target, const QByteArray &data,
    PrivateFiles::Durability durability)
{
    struct stat prior { };
    const bool replacing = ::stat(target.constData(), &prior) == 0 && S_ISREG(prior.st_mode);
    Temporary file(
        directoryOf(target), QFile::encodeName(PrivateFiles::temporaryPrefix(QFile::decodeName(target))));
    if (file.fd() < 0 || file.error() != 0)
        throw failureWriting(path, target, file.error());
    if (replacing)
        keepOwnership(file.fd(), prior);
    int error = writeAll(file.fd(), data);
    if (error == 0 && durability == PrivateFiles::Durability::synced && ::fsync(file.fd()) != 0)
        error = errno;
    if (const int closed = file.close(); error == 0)
        error = closed;
    if (error != 0)
        throw failureWriting(path, target, error);
    return file;
}
} // namespace

FileError::FileError(const QString &path, const QString &description)
    : FileError(path, description, QStringLiteral("%1: %2").arg(path, description))
{
}

FileError::FileError(const QString &path, const QString &description, const QString &shown)
    : std::runtime_error(shown.toStdString())
    , path(path)
    , description(description)
{
}

FileError FileError::naming(const QString &path, const QString &description)
{
    return FileError(path, description, description);
}

void PrivateFiles::ensureDirectory(const QString &path, unsigned mode)
{
    QString absolute = absoluteAsGiven(path);
    while (absolute.size() > 1 && absolute.endsWith(u'/'))
        absolute.chop(1);
    // Each step goes to the system as the path stands, as every later open of
    // it does, so the folder made is the folder later found.
    const QByteArray name = QFile::encodeName(absolute);
    struct stat status { };
    if (::stat(name.constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            return;
        throw FileError::naming(absolute, QStringLiteral("%1 exists and is not a directory").arg(absolute));
    }
    const qsizetype slash = absolute.lastIndexOf(u'/');
    const QString parent = slash == 0 ? QStringLiteral("/") : absolute.left(slash);
    const QString last = absolute.mid(slash + 1);
    if (parent != absolute)
        ensureDirectory(parent, mode);
    // "." and ".." are there once their parent is. A new folder is user-only
    // at creation, with no moment in which others may enter.
    if (last != u'.' && last != QStringLiteral("..") && ::mkdir(name.constData(), mode_t(mode)) != 0
        && errno != EEXIST) {
        throw FileError::naming(absolute,
            QStringLiteral("could not create the directory %1: %2").arg(absolute, systemReason(errno)));
    }
    if (::stat(name.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        throw FileError::naming(absolute, QStringLiteral("%1 exists and is not a directory").arg(absolute));
}

QString PrivateFiles::linkTarget(const QString &path)
{
    return QFile::decodeName(resolveLinks(path));
}

QString PrivateFiles::temporaryPrefix(const QString &path)
{
    // Hidden, and named after the file and the program, so it is plain whose it is.
    return u'.' + QFileInfo(path).fileName() + QStringLiteral(".orvel-save.");
}

void PrivateFiles::writeAtomically(const QString &path, const QByteArray &data, Durability durability)
{
    const QByteArray target = resolveLinks(path);
    Temporary file = prepared(path, target, data, durability);
    if (const int error = file.renameOver(target); error != 0)
        throw failureWriting(path, target, error);
    if (durability == Durability::synced)
        syncFolder(directoryOf(target));
}

bool PrivateFiles::replaceIfUnchanged(
    const QString &path, const QByteArray &data, const std::optional<QByteArray> &base, Durability durability)
{
    const QByteArray target = resolveLinks(path);
    Temporary file = prepared(path, target, data, durability);
    Swapped swapped = Swapped::placed;
    int error = 0;
    if (!base) {
        // Made only where there is still no file: one made meanwhile is never replaced.
        error = file.name();
        if (error == 0)
            error = renameNoReplace(file.path(), target);
        if (error == 0)
            file.forget();
        else if (error == EEXIST)
            std::tie(swapped, error) = std::pair(Swapped::declined, 0);
    } else {
        std::tie(swapped, error) = swapIn(file, target, *base);
    }
    if (error != 0)
        throw failureWriting(path, target, error);
    if (durability == Durability::synced)
        syncFolder(directoryOf(target));
    return swapped == Swapped::placed;
}

std::optional<bool> PrivateFiles::isBeingWritten(const QString &path)
{
    QByteArray target;
    try {
        target = resolveLinks(path);
    } catch (const FileError &) {
        return std::nullopt;
    }
    Held file(target);
    if (!file.isOpen())
        return std::nullopt;
    switch (file.lease()) {
    case Held::Writers::none:
        return false;
    case Held::Writers::some:
        return true;
    case Held::Writers::unknown:
        break;
    }
    return std::nullopt;
}

namespace {
// Removes the files of the folder whose names pass `matches` that are
// temporaries of dead writers: not locked, and not written for a while.
int removeDeadTemporaries(const QByteArray &directory, const std::function<bool(const QByteArray &)> &matches)
{
    DIR *folder = ::opendir(directory.constData());
    if (!folder)
        return 0;
    QList<QByteArray> candidates;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (matches(name))
            candidates.append(directory + '/' + name);
    }
    ::closedir(folder);
    int removed = 0;
    const std::time_t now = std::time(nullptr);
    for (const QByteArray &candidate : candidates) {
        Descriptor file(::open(candidate.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status { };
        if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
            continue;
        // Locked: its writer is still at work.
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (std::abs(now - status.st_mtime) < PrivateFiles::leftoverSeconds)
            continue;
        if (::unlink(candidate.constData()) == 0)
            ++removed;
    }
    return removed;
}
} // namespace

int PrivateFiles::removeLeftovers(const QString &path)
{
    QByteArray target;
    try {
        target = resolveLinks(path);
    } catch (const FileError &) {
        return 0;
    }
    const QByteArray prefix = QFile::encodeName(temporaryPrefix(QFile::decodeName(target)));
    return removeDeadTemporaries(directoryOf(target),
        [&prefix](const QByteArray &name) { return name.startsWith(prefix) && name.size() > prefix.size(); });
}

int PrivateFiles::removeLeftoversIn(const QString &directory)
{
    const QByteArray marker = QFile::encodeName(temporaryPrefix(QString())).mid(1);
    return removeDeadTemporaries(QFile::encodeName(directory),
        [&marker](const QByteArray &name) { return name.startsWith('.') && name.contains(marker); });
}

KeptRead PrivateFiles::readCapped(const QString &path, qint64 limit)
{
    KeptRead result;
    // O_NONBLOCK: a FIFO put in the file's place must not hang the reader.
    Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) {
        const int error = errno;
        // ENOTDIR: a file where a folder of the path belongs; there is no such file either.
        const bool missing = error == ENOENT || error == ENOTDIR;
        result.status = missing ? KeptRead::Status::missing : KeptRead::Status::unopenable;
        result.description = systemReason(error);
        // A socket cannot be opened at all, but it is no file of ours either.
        struct stat status { };
        if (!missing && ::stat(QFile::encodeName(path).constData(), &status) == 0
            && !S_ISREG(status.st_mode)) {
            result.status = KeptRead::Status::notRegular;
            result.description = QStringLiteral("not a regular file");
        }
        return result;
    }
    struct stat status { };
    if (::fstat(file.get(), &status) != 0) {
        result.status = KeptRead::Status::unopenable;
        result.description = systemReason(errno);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.status = KeptRead::Status::notRegular;
        result.description = QStringLiteral("not a regular file");
        return result;
    }
    const auto tooLarge = [&] {
        result.status = KeptRead::Status::tooLarge;
        result.description = QStringLiteral("larger than %1 bytes").arg(limit);
        result.data.clear();
        return result;
    };
    if (status.st_size > limit)
        return tooLarge();
    // The size can change while we read: read up to one byte past the limit.
    result.data.resize(qsizetype(std::min<qint64>(status.st_size, limit) + 1));
    qint64 filled = 0;
    while (true) {
        if (filled == result.data.size()) {
            if (filled > limit)
                return tooLarge();
            result.data.resize(qsizetype(std::min<qint64>(filled * 2, limit + 1)));
        }
        const ssize_t got
            = ::read(file.get(), result.data.data() + filled, size_t(result.data.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.status = KeptRead::Status::unopenable;
            result.description = systemReason(errno);
            result.data.clear();
            return result;
        }
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > limit)
        return tooLarge();
    result.data.truncate(qsizetype(filled));
    result.status = KeptRead::Status::read;
    return result;
}

QString PrivateFiles::setAside(const QString &linkOrFile)
{
    // A linked file is moved aside where it lies, so the link itself stays the
    // user's; a link to a device or a pipe is itself what is in the way.
    const QString target = linkTarget(linkOrFile);
    const QString path = QFileInfo(target).isFile() ? target : linkOrFile;
    const QByteArray from = QFile::encodeName(path);
    for (int number = 1; number < 1000; ++number) {
        const QString aside = number == 1 ? path + QStringLiteral(".unreadable")
                                          : QStringLiteral("%1.unreadable.%2").arg(path).arg(number);
        const int error = renameNoReplace(from, QFile::encodeName(aside));
        if (error == 0)
            return aside;
        if (error != EEXIST)
            throw FileError(path, systemReason(error));
    }
    throw FileError(path, QStringLiteral("too many unreadable copies beside it"));
}

QString PrivateFiles::kindOf(unsigned mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a directory");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("not a regular file");
}
