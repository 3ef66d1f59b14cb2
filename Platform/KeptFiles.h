#pragma once

#include "PrivateFiles.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// How the app treats the files it keeps between runs (PrivateFiles reads and
// writes them). At start, a file that exists but cannot be understood is set
// aside as NAME.unreadable before anything writes; one that cannot even be
// opened, or set aside, is held: left where it is and never written over while
// the app runs, unless it goes away. A save that fails is logged once per file
// and cause until a save of that file succeeds. Safe from any thread.
class KeptFiles {
public:
    // Whether bytes read from a file are a form of it this program understands.
    using Understands = std::function<bool(const QByteArray &)>;

    // Reads a file at start: its bytes when they were read and understood,
    // nothing when it is missing or unusable (each unusable case logged once).
    static std::optional<QByteArray> load(
        const QString &path, const Understands &understands, qint64 limit = PrivateFiles::keptFileLimit);

    // Replaces the file, creating its folder (user-only) when missing. Throws
    // FileError, logged once, when that fails or the file is held.
    static void save(const QString &path, const QByteArray &data);

    // Logs a failure once per file and cause, until the file is saved again.
    static void report(const FileError &failure);

    // Whether load() left an unreadable file at this path, which save() refuses.
    static bool isHeld(const QString &path);

    // A process past its file-size limit is killed by SIGXFSZ; ignored, the
    // write fails with EFBIG as on a full disk, which every writer handles.
    static void ignoreFileSizeSignal();
};
