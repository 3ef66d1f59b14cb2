#include "PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr QFile::Permissions userOnlyDirectory = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
    | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
constexpr QFile::Permissions userOnlyFile
    = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(path, file.errorString());
    file.setPermissions(userOnlyFile);
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw FileError(path, reason);
    }
    if (!file.commit())
        throw FileError(path, file.errorString());
}
