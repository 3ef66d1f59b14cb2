#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

// A file-system operation that failed, with the path it concerned.
class FileError : public std::runtime_error {
public:
    FileError(const QString &path, const QString &description);
    QString path;
    QString description;
};

// Files that hold the user's data: directories and files we create are
// readable by the user alone, and files are replaced whole.
struct PrivateFiles {
    // Creates the directory and its missing parents (each new one user-only);
    // an existing directory is no error. Throws FileError.
    static void ensureDirectory(const QString &path);
    // Writes a temporary file beside the target and renames it over the target,
    // so a reader sees the old content or the new one, never a part. The
    // directory must exist. Throws FileError; the old file is then untouched.
    static void writeAtomically(const QString &path, const QByteArray &data);
};
