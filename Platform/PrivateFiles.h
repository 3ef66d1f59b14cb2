#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

// A file-system operation that failed, with the path it concerned.
class FileError : public std::runtime_error {
public:
    FileError(const QString &path, const QString &description);
    // For a description that names the path itself ("could not create the
    // directory PATH: …"), so that it can stand after another file's name:
    // what() is the description alone, not the path twice.
    static FileError naming(const QString &path, const QString &description);
    QString path;
    QString description;

private:
    FileError(const QString &path, const QString &description, const QString &shown);
};

// What reading a kept file gave: its bytes, or why there are none.
struct KeptRead {
    enum class Status {
        read, // data holds the whole file
        missing, // no such file: the caller starts afresh
        unopenable, // exists, but could not be opened or read (description says why)
        notRegular, // a directory, device, pipe or socket
        tooLarge, // larger than the limit the caller gave
        notUnderstood, // read, but not a form this version understands (description says why)
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
    // A temporary file this old and not locked is a dead writer's.
    static constexpr int leftoverSeconds = 2;

    // Whether a save must survive a crash of the machine (settings) or only
    // be whole (caches the app writes again anyway).
    enum class Durability { synced, cached };

    // Creates the directory and its missing parents (each new one user-only,
    // or with the given mode less the umask); an existing directory is no
    // error. The path is taken as the system resolves it, never cleaned as
    // text first ("link/.." is the parent of the link's target). Throws
    // FileError naming the folder and the system's reason.
    static void ensureDirectory(const QString &path, unsigned mode = 0700);
    // Writes a temporary file beside the target, checks every write, syncs it
    // (synced) and renames it over the target, so a reader sees the old
    // content or the new one, never a part. A symbolic link is followed: its
    // target is replaced and the link stays. An existing file keeps its owner,
    // group and mode as far as this process may keep them (never a wider
    // mode); a new one is user-only. The directory must exist. Throws
    // FileError (its description names the linked target and the system's
    // reason, "No space left on device"); the old file is then byte-identical
    // and no temporary file is left.
    static void writeAtomically(
        const QString &path, const QByteArray &data, Durability durability = Durability::synced);
    // writeAtomically() for a file other programs save too (an autostart
    // entry): the new bytes take its place only while it is still the file
    // read as `base` (its bytes; nothing: no file at all), and never displace
    // a save made meanwhile, whether that program renamed a file over it or
    // writes it in place. Gives false when such a save came first or is under
    // way; the file then holds that save.
    static bool replaceIfUnchanged(const QString &path, const QByteArray &data,
        const std::optional<QByteArray> &base, Durability durability = Durability::synced);
    // Whether some program has the file open for writing (saving it in place
    // right now), as a lease tells; nothing where none can be taken (another
    // user's file, a file system without leases) or there is no file.
    static std::optional<bool> isBeingWritten(const QString &path);
    // The file a path names once its chain of symbolic links is followed (the
    // path itself when it is no link). Throws FileError on a loop.
    static QString linkTarget(const QString &path);
    // The prefix of the temporary files that saving the path writes beside its target.
    static QString temporaryPrefix(const QString &path);
    // Removes the temporary files beside the path's target that writers
    // killed mid-save left: older than leftoverSeconds and locked by no
    // writer. Returns how many.
    static int removeLeftovers(const QString &path);
    // The same for every file this program keeps in the folder.
    static int removeLeftoversIn(const QString &directory);
    // Reads a regular file of at most `limit` bytes without blocking on
    // pipes or devices and without reading past the limit.
    static KeptRead readCapped(const QString &path, qint64 limit = keptFileLimit);
    // Moves a file that could not be understood aside as "NAME.unreadable",
    // beside the target of a symbolic link to a file (the link stays),
    // or "NAME.unreadable.2", ".3", … when that name is taken: an earlier copy
    // is never replaced. Returns the new path. Throws FileError.
    static QString setAside(const QString &path);
    // What a file of this st_mode is, in words for a message ("a directory",
    // "a named pipe (FIFO)", "a socket", "a device").
    static QString kindOf(unsigned mode);
};
