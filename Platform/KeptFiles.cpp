#include "KeptFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QMutex>
#include <QSet>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcKeptFiles, "com.velbrandtoro.Orvel.files")

namespace {
struct State {
    QMutex mutex;
    QSet<QString> held;
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
} // namespace

std::optional<QByteArray> KeptFiles::load(const QString &path, const Understands &understands, qint64 limit)
{
    {
        const QMutexLocker lock(&state().mutex);
        state().held.remove(path);
    }
    KeptRead read = PrivateFiles::readCapped(path, limit);
    if (read.status == KeptRead::Status::missing)
        return std::nullopt;
    if (read.wasRead()) {
        if (understands(read.data))
            return std::move(read.data);
        read.description = QStringLiteral("not in a form this version of Orvel understands");
    }
    const QString staysNote = QStringLiteral("it stays where it is and is not saved over while Orvel runs");
    if (read.status == KeptRead::Status::unopenable) {
        // Often a passing fault or a question of rights: the file may well be fine.
        hold(path);
        warn(QStringLiteral("Could not open %1 (%2); %3.").arg(path, read.description, staysNote));
        return std::nullopt;
    }
    try {
        const QString aside = PrivateFiles::setAside(path);
        warn(QStringLiteral("Could not use %1 (%2); kept it as %3 and started without it.")
                 .arg(path, read.description, aside));
    } catch (const FileError &error) {
        hold(path);
        warn(QStringLiteral("Could not use %1 (%2) nor move it aside (%3); %4.")
                 .arg(path, read.description, error.description, staysNote));
    }
    return std::nullopt;
}

void KeptFiles::save(const QString &path, const QByteArray &data)
{
    if (isHeld(path)) {
        if (somethingAt(path)) {
            const FileError refused(
                path, QStringLiteral("it could not be read at start, so it is not saved over"));
            report(refused);
            throw refused;
        }
        // Moved away by the user: nothing is lost by writing.
        const QMutexLocker lock(&state().mutex);
        state().held.remove(path);
    }
    try {
        PrivateFiles::ensureDirectory(QFileInfo(path).path());
        PrivateFiles::writeAtomically(path, data);
    } catch (const FileError &error) {
        const FileError failure(path,
            error.path == path ? error.description
                               : QStringLiteral("%1: %2").arg(error.path, error.description));
        report(failure);
        throw failure;
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
