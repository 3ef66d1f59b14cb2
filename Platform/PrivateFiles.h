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

// What reading a kept file gave: its bytes, or why there are none.
struct KeptRead {
    enum class Status {
        read, // data holds the whole file
        missing, // no such file: the caller starts afresh
        unopenable, // exists, but could not be opened or read (description says why)
        notRegular, // a directory, device, pipe or socket
        tooLarge, // larger than the limit the caller gave
    };
    Status status = Status::missing;
    QByteArray data;
    QString description;

    bool wasRead() const { return status == Status::read; }
    // Exists but gave nothing usable: never to be written over.
    bool isUnreadable() const { return status != Status::read && status != Status::missing; }
};

// Files that hold the user's data: directories and files we create are
// readable by the user alone, and files are replaced whole.
struct PrivateFiles {
    // A JSON file Orvel keeps is a few kilobytes; anything near this is not ours.
    static constexpr qint64 keptFileLimit = 4 * 1024 * 1024;

    // Creates the directory and its missing parents (each new one user-only);
    // an existing directory is no error. Throws FileError.
    static void ensureDirectory(const QString &path);
    // Writes a temporary file beside the target, checks every write, syncs it
    // and renames it over the target, so a reader sees the old content or the
    // new one, never a part. The directory must exist. Throws FileError (its
    // description is the system's reason, "No space left on device"); the old
    // file is then byte-identical and the temporary file gone.
    static void writeAtomically(const QString &path, const QByteArray &data);
    // Reads a regular file of at most `limit` bytes without blocking on
    // pipes or devices and without reading past the limit.
    static KeptRead readCapped(const QString &path, qint64 limit = keptFileLimit);
    // Moves a file that could not be understood aside as "NAME.unreadable",
    // or "NAME.unreadable.2", ".3", … when that name is taken: an earlier copy
    // is never replaced. Returns the new path. Throws FileError.
    static QString setAside(const QString &path);
};
