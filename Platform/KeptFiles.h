#pragma once

#include "PrivateFiles.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <functional>
#include <optional>

// What is said of the files kept: com.velbrandtoro.Orvel.files.
Q_DECLARE_LOGGING_CATEGORY(lcKeptFiles)

// How the programs treat the files they keep between runs (PrivateFiles reads
// and writes them). At start, a file that exists but cannot be understood is
// set aside as NAME.unreadable before anything writes; one that cannot even be
// opened, or set aside, is held: left where it is and never written over while
// the program runs, unless it goes away. Temporary files of saves killed
// midway are removed then too. A save that fails is logged once per file and
// cause until a save of that file succeeds. Safe from any thread.
class KeptFiles {
public:
    // Whether bytes read from a file are a form of it this program understands.
    using Understands = std::function<bool(const QByteArray &)>;
    // Why bytes read from a file are no form this program understands; empty when they are one.
    using Judge = std::function<QString(const QByteArray &)>;

    // What checking a file before anything writes it came to.
    struct Checked {
        enum class Outcome {
            read, // content holds the file, understood
            missing, // no file: start afresh
            setAside, // it could not be used and now lies at `aside`
            held, // it could not be used and stays where it is (`problem` says why)
        };
        Outcome outcome = Outcome::missing;
        // As read: the status says what was wrong, the description why.
        KeptRead content;
        QString aside;
        // Why a held file stays: the read's reason, or why it could not be moved.
        QString problem;
    };
    struct CheckOptions {
        qint64 limit = PrivateFiles::keptFileLimit;
        // A file that cannot be used is read again once it has been left alone
        // this long (perhaps another program was writing it), waiting at most
        // `patienceSeconds`. 0: judged as first read.
        double quietSeconds = 0;
        double patienceSeconds = 5;
    };

    // Reads a file and judges its bytes; moves nothing. A read file the judge
    // refuses is notUnderstood, with the judge's reason as its description.
    static KeptRead read(const QString &path, const Judge &judge, qint64 limit = PrivateFiles::keptFileLimit);
    // Reads a file before anything writes it: removes the leftovers of killed
    // saves beside it, sets a file that cannot be used aside, holds one that
    // cannot be opened or moved. Logs nothing: the caller says what happened.
    static Checked check(const QString &path, const Judge &judge, const CheckOptions &options);
    static Checked check(const QString &path, const Judge &judge)
    {
        return check(path, judge, CheckOptions());
    }

    // check() at the app's start: the bytes when they were read and understood,
    // nothing when the file is missing or unusable (each unusable case logged once).
    static std::optional<QByteArray> load(
        const QString &path, const Understands &understands, qint64 limit = PrivateFiles::keptFileLimit);

    // Replaces the file, creating its folder (user-only) when missing. Throws
    // FileError when that fails or the file is held; logs nothing.
    static void replace(const QString &path, const QByteArray &data,
        PrivateFiles::Durability durability = PrivateFiles::Durability::synced);
    // replace(), with a failure logged once: for the app, which keeps the
    // values and saves them again with the next change.
    static void save(const QString &path, const QByteArray &data,
        PrivateFiles::Durability durability = PrivateFiles::Durability::synced);
    // save() for a cache the program writes again and again (what the widgets
    // show): whole, but not synced, and not written at all while the file
    // still holds these bytes from this process's last save of it.
    static void saveCache(const QString &path, const QByteArray &data);
    // save() on the one saving thread, so the caller never waits on the disk
    // (on the caller's thread where no thread can be started). Saves of one
    // path happen in order; only the newest bytes still waiting are written.
    // A failure is logged as save()'s are.
    static void saveLater(const QString &path, const QByteArray &data);
    // Holds the newest bytes of a file that is not to be written yet (a burst
    // of changes goes on): saveKept() writes them, and so does the end of
    // the process, however it ends with exit().
    static void keepUnsaved(const QString &path, const QByteArray &data);
    // saveLater() of the bytes keepUnsaved() holds for the path, if any.
    static void saveKept(const QString &path);
    // Waits until everything handed to saveLater() or saveKept() is written
    // (or failed); bytes keepUnsaved() holds stay held.
    static void finishSaves();

    // Logs a failure once per file and cause, until the file is saved again.
    static void report(const FileError &failure);

    // Whether a check left an unusable file at this path, which save() refuses.
    static bool isHeld(const QString &path);

    // A process past its file-size limit is killed by SIGXFSZ; ignored, the
    // write fails with EFBIG as on a full disk, which every writer handles.
    static void ignoreFileSizeSignal();
};
