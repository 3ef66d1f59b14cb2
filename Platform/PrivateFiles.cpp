#include "PrivateFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr QFile::Permissions userOnlyDirectory = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
    | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd)
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
    int get() const { return m_fd; }
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
} // namespace

FileError::FileError(const QString &path, const QString &description)
    : std::runtime_error(QStringLiteral("%1: %2").arg(path, description).toStdString())
    , path(path)
    , description(description)
{
}

void PrivateFiles::ensureDirectory(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QFileInfo info(absolute);
    if (info.isDir())
        return;
    if (info.exists())
        throw FileError(absolute, QStringLiteral("exists and is not a directory"));
    const QString parent = info.path();
    if (parent != absolute)
        ensureDirectory(parent);
    // QDir::mkdir with permissions applies them at creation, with no window in
    // which the directory is open to others.
    if (!QDir().mkdir(absolute, userOnlyDirectory) && !QFileInfo(absolute).isDir())
        throw FileError(absolute, QStringLiteral("could not create the directory"));
}

void PrivateFiles::writeAtomically(const QString &path, const QByteArray &data)
{
    const QByteArray target = QFile::encodeName(path);
    // mkostemp creates the file for the user alone (0600).
    QByteArray temporary = target + ".XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        throw FileError(path, systemReason(errno));
    int error = writeAll(file.get(), data);
    if (error == 0 && ::fsync(file.get()) != 0)
        error = errno;
    if (const int closed = file.close(); error == 0)
        error = closed;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        throw FileError(path, systemReason(error));
    }
    // The rename itself survives a crash only once the directory is synced.
    Descriptor directory(::open(
        QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
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

QString PrivateFiles::setAside(const QString &path)
{
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
