#include "AutomationPermission.h"
#include "Defaults.h"
#include "KeptFiles.h"
#include "ManualScheduler.h"
#include "NobodysCopy.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
struct ChildRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The probe in a child process; limit: its file-size limit (SIGXFSZ ignored,
// so writes past it fail as on a full disk); asNobody: as an unprivileged user.
ChildRun runProbe(QStringList arguments, std::optional<rlim_t> limit = std::nullopt, bool asNobody = false)
{
    QString program = QStringLiteral(ORVEL_KEPT_FILES_PROBE);
    std::optional<NobodysCopy> copy;
    if (asNobody) {
        copy.emplace(program);
        arguments = copy->arguments({}, arguments);
        program = copy->runuser();
    }
    QProcess process;
    if (limit) {
        process.setChildProcessModifier([bytes = *limit] {
            const rlimit fileSize{bytes, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
            std::signal(SIGXFSZ, SIG_IGN);
        });
    }
    process.start(program, arguments);
    ChildRun run;
    if (!process.waitForFinished(10000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void writeRaw(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(data), data.size());
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Collects the warnings logged while it lives.
class LogCapture {
public:
    LogCapture()
    {
        current = this;
        m_previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { current->lines << text; });
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        current = nullptr;
    }
    qsizetype count(const QString &part) const
    {
        return std::count_if(
            lines.cbegin(), lines.cend(), [&](const QString &l) { return l.contains(part); });
    }
    QStringList lines;

private:
    static inline LogCapture *current = nullptr;
    QtMessageHandler m_previous;
};

// Makes this thread's file access that of nobody while it lives, so even a
// test run by root meets a file it may not open.
class AsNobodyHere {
public:
    AsNobodyHere()
        : m_previous(::setfsuid(::getpwnam("nobody")->pw_uid))
    {
    }
    ~AsNobodyHere() { ::setfsuid(m_previous); }

private:
    int m_previous;
};

void makeOld(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
}

struct Ownership {
    uid_t user;
    gid_t group;
    mode_t mode;
    friend bool operator==(const Ownership &, const Ownership &) = default;
};

// Each whole replacement of a file is a new inode.
ino_t inodeOf(const QString &path)
{
    struct stat status { };
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_ino;
}

Ownership ownershipOf(const QString &path)
{
    struct stat status { };
    ::stat(QFile::encodeName(path).constData(), &status);
    return {status.st_uid, status.st_gid, mode_t(status.st_mode & 07777)};
}

// A listening socket at the path: even root cannot open it for reading.
class SocketFile {
public:
    explicit SocketFile(const QString &path)
        : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(
            address.sun_path, name.constData(), std::min<size_t>(name.size(), sizeof address.sun_path - 1));
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    }
    ~SocketFile() { ::close(m_fd); }

private:
    int m_fd;
};
} // namespace

TEST(PrivateFiles, AWriteStoppedByTheFileSizeLimitLeavesTheOldFileAndNoTemporaryOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.json");
    const QByteArray old(300, 'o');
    writeRaw(path, old);

    const ChildRun run = runProbe({"write", path, QString(4096, 'n')}, 100);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(), QString::fromLocal8Bit(std::strerror(EFBIG))) << run.err.toStdString();
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(entries(dir.path()), QStringList{"defaults.json"});

    // Under the limit the same child writes.
    EXPECT_EQ(runProbe({"write", path, "new"}, 100).exitCode, 0);
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(entries(dir.path()), QStringList{"defaults.json"});
}

TEST(PrivateFiles, ReadCappedRefusesDevicesPipesAndLargeFilesAtOnce)
{
    QTemporaryDir dir;
    const QString zero = dir.filePath("zero.json");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const QString fifo = dir.filePath("fifo.json");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(PrivateFiles::readCapped(zero).status, KeptRead::Status::notRegular);
    EXPECT_EQ(PrivateFiles::readCapped(fifo).status, KeptRead::Status::notRegular); // no writer: would block
    EXPECT_EQ(PrivateFiles::readCapped(dir.path()).status, KeptRead::Status::notRegular);
    EXPECT_LT(clock.elapsed(), 1000);

    const QString file = dir.filePath("file.json");
    writeRaw(file, QByteArray(100, 'x'));
    EXPECT_EQ(PrivateFiles::readCapped(file, 99).status, KeptRead::Status::tooLarge);
    EXPECT_TRUE(PrivateFiles::readCapped(file, 99).data.isEmpty());
    const KeptRead exact = PrivateFiles::readCapped(file, 100);
    EXPECT_TRUE(exact.wasRead());
    EXPECT_EQ(exact.data, QByteArray(100, 'x'));
    EXPECT_EQ(PrivateFiles::readCapped(dir.filePath("none.json")).status, KeptRead::Status::missing);
    EXPECT_EQ(PrivateFiles::readCapped(file + "/under-a-file.json").status, KeptRead::Status::missing);
    EXPECT_FALSE(PrivateFiles::readCapped(dir.filePath("none.json")).isUnreadable());
}

TEST(PrivateFiles, SetAsideTakesTheNextFreeNumberAndNeverReplacesACopy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("widgets.json");
    writeRaw(path, "first");
    EXPECT_EQ(PrivateFiles::setAside(path), path + ".unreadable");
    writeRaw(path + ".unreadable.2", "someone else's");
    writeRaw(path, "second");
    EXPECT_EQ(PrivateFiles::setAside(path), path + ".unreadable.3");
    EXPECT_EQ(readFile(path + ".unreadable"), "first");
    EXPECT_EQ(readFile(path + ".unreadable.2"), "someone else's");
    EXPECT_EQ(readFile(path + ".unreadable.3"), "second");
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_THROW(PrivateFiles::setAside(path), FileError);
}

TEST(KeptFiles, AFailedSaveIsLoggedOncePerCauseUntilASaveSucceeds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings/defaults.json");
    LogCapture log;
    // A directory in the file's place: the rename fails.
    ASSERT_TRUE(QDir().mkpath(path + "/in-the-way"));
    EXPECT_THROW(KeptFiles::save(path, "{}"), FileError);
    EXPECT_THROW(KeptFiles::save(path, "{}"), FileError);
    EXPECT_EQ(log.count("Could not save " + path), 1);

    QDir(dir.filePath("settings")).removeRecursively();
    writeRaw(dir.filePath("settings"), "a file where the folder belongs");
    EXPECT_THROW(KeptFiles::save(path, "{}"), FileError);
    EXPECT_EQ(log.count("Could not save " + path), 2); // another cause

    QFile::remove(dir.filePath("settings"));
    KeptFiles::save(path, "{\"saved\":1}");
    EXPECT_EQ(readFile(path), "{\"saved\":1}");
    ASSERT_TRUE(QFile::remove(path) && QDir().mkpath(path + "/in-the-way"));
    EXPECT_THROW(KeptFiles::save(path, "{}"), FileError);
    EXPECT_EQ(log.count("Could not save " + path), 3); // a new episode after a success
}

TEST(KeptFiles, AFileThatCannotBeOpenedIsLeftInPlaceAndNotSavedOverUntilItIsGone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shortcuts.json");
    LogCapture log;
    writeRaw(path, "[]");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    {
        AsNobodyHere nobody;
        EXPECT_EQ(KeptFiles::load(path, [](const QByteArray &) { return true; }), std::nullopt);
    }
    EXPECT_TRUE(KeptFiles::isHeld(path));
    EXPECT_EQ(log.count("Could not open " + path), 1);
    EXPECT_THROW(KeptFiles::save(path, "[1]"), FileError);
    EXPECT_THROW(KeptFiles::save(path, "[1]"), FileError);
    EXPECT_EQ(log.count("Could not save " + path), 1);
    EXPECT_EQ(entries(dir.path()), QStringList{"shortcuts.json"});

    ASSERT_TRUE(QFile::remove(path));
    KeptFiles::save(path, "[2]");
    EXPECT_EQ(readFile(path), "[2]");
    EXPECT_FALSE(KeptFiles::isHeld(path));
}

TEST(KeptFiles, ASocketInAFilesPlaceIsSetAsideLikeAPipe)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shortcuts.json");
    LogCapture log;
    SocketFile socket(path);
    EXPECT_EQ(KeptFiles::load(path, [](const QByteArray &) { return true; }), std::nullopt);
    EXPECT_FALSE(KeptFiles::isHeld(path));
    EXPECT_EQ(
        log.count("Could not use " + path + " (not a regular file); kept it as " + path + ".unreadable"), 1);
    KeptFiles::save(path, "[]");
    EXPECT_EQ(readFile(path), "[]");
}

TEST(PrivateFiles, ASaveWritesThroughLinksAndKeepsWhatTheFileWas)
{
    QTemporaryDir dir;
    QTemporaryDir dotfiles;
    const QString path = dir.filePath("defaults.json");
    const QString kept = dotfiles.filePath("defaults.json");
    writeRaw(kept, "{}");
    ASSERT_TRUE(QFile::setPermissions(kept, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    struct Case {
        QString linkTo; // empty: a plain file
        QString written; // where the bytes land
        mode_t mode;
    };
    const QList<Case> cases{
        {kept, kept, 0640}, // the mode a user gave it stays
        {dir.filePath("hop"), kept, 0640}, // a chain of links
        {QDir(dir.path()).relativeFilePath(dotfiles.filePath("new.json")), dotfiles.filePath("new.json"),
            0600},
        {{}, path, 0600},
    };
    ASSERT_TRUE(QFile::link(kept, dir.filePath("hop")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.linkTo.toStdString());
        QFile::remove(path);
        if (!c.linkTo.isEmpty()) {
            ASSERT_TRUE(QFile::link(c.linkTo, path));
        }
        Defaults(path).set("skin", QStringLiteral("rivista"));
        EXPECT_EQ(Defaults(c.written).value<QString>("skin"), "rivista");
        EXPECT_EQ(QFileInfo(path).isSymLink(), !c.linkTo.isEmpty());
        EXPECT_EQ(ownershipOf(c.written).mode, c.mode);
    }
    EXPECT_EQ(entries(dir.path()), (QStringList{"defaults.json", "hop"}));
    EXPECT_EQ(entries(dotfiles.path()), (QStringList{"defaults.json", "new.json"}));

    // A link into a folder that is not there: an error naming that file; the link stays.
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(dotfiles.filePath("gone/defaults.json"), path));
    try {
        PrivateFiles::writeAtomically(path, "{}");
        ADD_FAILURE() << "written";
    } catch (const FileError &error) {
        EXPECT_EQ(error.description, dotfiles.filePath("gone/defaults.json") + ": No such file or directory");
    }
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), dotfiles.filePath("gone/defaults.json"));

    // Set aside where the linked file lies, so the link stays the user's.
    writeRaw(kept, "cut sh");
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(kept, path));
    EXPECT_EQ(PrivateFiles::setAside(path), kept + ".unreadable");
    EXPECT_TRUE(QFileInfo(path).isSymLink());
}

TEST(PrivateFiles, ASaveByRootKeepsTheOwnerOfTheUsersFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    QTemporaryDir dir;
    const QString path = dir.filePath("widgets.json");
    writeRaw(path, "{}");
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const Ownership before = ownershipOf(path);
    PrivateFiles::writeAtomically(path, "{\"widgets\":[]}");
    EXPECT_EQ(readFile(path), "{\"widgets\":[]}");
    EXPECT_EQ(ownershipOf(path), before);
    EXPECT_EQ(before.user, nobody->pw_uid);
}

TEST(PrivateFiles, ASaveKilledMidwayLeavesNothingTheNextStartDoesNotRemove)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.json");
    writeRaw(path, "{}");
    // Killed in the rename: the temporary file has its name by then.
    QProcess strace;
    strace.start("strace",
        {"-f", "-qq", "-o", "/dev/null", "-e", "inject=rename,renameat,renameat2:signal=SIGKILL",
            ORVEL_KEPT_FILES_PROBE, "write", path, "{\"a\":1}"});
    ASSERT_TRUE(strace.waitForFinished(20000)) << "strace is needed";
    ASSERT_FALSE(strace.exitStatus() == QProcess::NormalExit && strace.exitCode() == 0) << "not killed";
    QStringList left = entries(dir.path());
    ASSERT_EQ(left.size(), 2) << left.join(' ').toStdString();
    left.removeAll("defaults.json");
    const QString leftover = dir.filePath(left.value(0));
    EXPECT_TRUE(left.value(0).startsWith(".defaults.json.orvel-save.")) << left.value(0).toStdString();
    EXPECT_EQ(readFile(path), "{}");

    // Too fresh to be a dead writer's, or locked by a live one: it stays.
    const KeptFiles::Judge any = [](const QByteArray &) { return QString(); };
    KeptFiles::check(path, any);
    EXPECT_TRUE(QFileInfo::exists(leftover));
    makeOld(leftover);
    {
        QFile live(leftover);
        ASSERT_TRUE(live.open(QIODevice::ReadOnly));
        ASSERT_EQ(::flock(live.handle(), LOCK_EX), 0);
        EXPECT_EQ(PrivateFiles::removeLeftovers(path), 0);
    }
    EXPECT_EQ(KeptFiles::check(path, any).outcome, KeptFiles::Checked::Outcome::read);
    EXPECT_EQ(entries(dir.path()), QStringList{"defaults.json"});
}

TEST(KeptFiles, CachesAreNotSyncedAndNotWrittenWhenTheirBytesAreTheSame)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("playback.json");
    const auto inode = [&] { return inodeOf(path); };
    KeptFiles::saveCache(path, "one");
    const auto first = inode();
    KeptFiles::saveCache(path, "one");
    EXPECT_EQ(inode(), first);
    KeptFiles::saveCache(path, "two");
    EXPECT_NE(inode(), first);
    EXPECT_EQ(readFile(path), "two");
    // Changed behind our back: written again.
    writeRaw(path, "tw0");
    KeptFiles::saveCache(path, "two");
    EXPECT_EQ(readFile(path), "two");
    QFile::remove(path);
    KeptFiles::saveCache(path, "two");
    EXPECT_EQ(readFile(path), "two");
}

TEST(KeptFiles, CoalescedDefaultsWriteABurstOnceAfterItAndWhatIsPendingWhenTheyGo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.json");
    ManualScheduler scheduler;
    {
        Defaults defaults(path, scheduler);
        for (int i = 0; i < 50; ++i) {
            defaults.set("idleOpacity", 0.15 + i / 100.0);
            scheduler.advance(Defaults::saveDelaySeconds / 3);
        }
        KeptFiles::finishSaves();
        EXPECT_FALSE(QFileInfo::exists(path)); // still being dragged
        scheduler.advance(Defaults::saveDelaySeconds);
        KeptFiles::finishSaves();
        EXPECT_DOUBLE_EQ(*Defaults(path).value<double>("idleOpacity"), 0.64);
        const auto written = inodeOf(path);
        scheduler.advance(10);
        KeptFiles::finishSaves();
        EXPECT_EQ(inodeOf(path), written); // nothing new: no write

        defaults.set("skin", QStringLiteral("classico"));
    }
    // Gone before the pause ended: written on the way out.
    EXPECT_EQ(Defaults(path).value<QString>("skin"), "classico");
}

TEST(KeptFiles, DefaultsFailingToSaveKeepTheFileAndTheValuesAndALaterSaveWritesThemAll)
{
    TemporaryHome home;
    const QString path = home.path("config/com.velbrandtoro.Orvel/defaults.json");
    {
        Defaults defaults(path);
        for (int i = 0; i < 12; ++i)
            defaults.set(QStringLiteral("setting%1").arg(i), QStringLiteral("value %1").arg(i));
    }
    const QByteArray before = readFile(path);
    ASSERT_GT(before.size(), 400);

    const ChildRun failing = runProbe({"defaults", path, "a=1", "b=2"}, 64);
    EXPECT_EQ(failing.exitCode, 0) << failing.err.toStdString();
    EXPECT_EQ(failing.err.count("Could not save " + path), 1) << failing.err.toStdString();
    EXPECT_TRUE(failing.err.contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
    EXPECT_TRUE(failing.out.contains("a=1\nb=2\n")); // kept in memory
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(entries(QFileInfo(path).path()), QStringList{"defaults.json"});

    const ChildRun recovering = runProbe({"defaults", path, "a=1", "--unlimit", "b=2"}, 64);
    EXPECT_EQ(recovering.err.count("Could not save"), 1);
    const Defaults reread(path);
    EXPECT_EQ(reread.value<QString>("a"), "1");
    EXPECT_EQ(reread.value<QString>("b"), "2");
    EXPECT_EQ(reread.value<QString>("setting11"), "value 11");
}

TEST(KeptFiles, DefaultsThatAnUnprivilegedUserCannotOpenStayAndAreNotSavedOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.json");
    const QByteArray content = R"({"skin":{"type":"string","value":"rivista"}})";
    writeRaw(path, content);
    ChildRun run;
    if (::geteuid() == 0) {
        // Root reads anything: the child runs as nobody, in a folder it may write.
        const passwd *nobody = ::getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(::chown(QFile::encodeName(dir.path()).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        run = runProbe({"defaults", path, "skin=classico", "dragEnabled=0"}, std::nullopt, true);
    } else {
        ASSERT_TRUE(QFile::setPermissions(path, {}));
        run = runProbe({"defaults", path, "skin=classico", "dragEnabled=0"});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count("Could not open " + path), 1) << run.err.toStdString();
    EXPECT_EQ(run.err.count("Could not save " + path), 1);
    EXPECT_EQ(run.out, "dragEnabled=0\nskin=classico\n"); // this run's values, from memory
    EXPECT_EQ(readFile(path), content);
    EXPECT_EQ(entries(dir.path()), QStringList{"defaults.json"});
}

TEST(KeptFiles, ConsentIsSavedUserOnlyAndKeptInMemoryWhenItCannotBeSaved)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("config/com.velbrandtoro.Orvel");
    const AutomationConsentRecord record(folder + "/automation.json");
    ASSERT_TRUE(record.record("com.spotify.client", true));
    EXPECT_TRUE(isUserOnly(folder));
    EXPECT_TRUE(isUserOnly(folder + "/automation.json"));
    EXPECT_TRUE(isUserOnly(dir.filePath("config")));

    // A file where the folder belongs: the answer lives on in memory.
    const QString blocked = dir.filePath("blocked/automation.json");
    writeRaw(dir.filePath("blocked"), "not a folder");
    const AutomationConsentRecord unsaved(blocked);
    EXPECT_FALSE(unsaved.record("com.spotify.client", false));
    EXPECT_EQ(unsaved.answer("com.spotify.client"), false);
    ASSERT_TRUE(QFile::remove(dir.filePath("blocked")));
    EXPECT_TRUE(unsaved.record("com.other", true));
    const AutomationConsentRecord reread(blocked);
    EXPECT_EQ(reread.answer("com.spotify.client"), false);
    EXPECT_EQ(reread.answer("com.other"), true);
}

TEST(KeptFiles, AConsentFileThatCannotBeUsedIsSetAsideAndOneChangedSinceIsNotSavedOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("automation.json");
    writeRaw(path, "{\"com.spotify.client\":\"allo");
    const AutomationConsentRecord record(path);
    EXPECT_EQ(readFile(path + ".unreadable"), "{\"com.spotify.client\":\"allo");
    EXPECT_EQ(record.answer("com.spotify.client"), std::nullopt);

    writeRaw(path, "half written");
    EXPECT_FALSE(record.record("com.spotify.client", true));
    EXPECT_EQ(readFile(path), "half written");
    EXPECT_EQ(record.answer("com.spotify.client"), true);
}

// Settings still waiting for their pause are written however the process
// ends while it can run code: by returning, by exit() on another thread while
// the saving thread is busy, and where no thread can be started at all.
TEST(KeptFiles, PendingDefaultsAreWrittenOnEveryEndAndWithoutASavingThread)
{
    const bool root = ::geteuid() == 0;
    struct End {
        const char *name;
        QStringList steps;
        bool asNobody;
    };
    const End ends[] = {
        {"returning", {"skin=rivista"}, false},
        {"exit() while saving", {"skin=rivista", "--busy", "6", "--exit-from-thread"}, false},
        // Only an unprivileged user is held to a count of threads.
        {"no thread", {"--no-threads", "skin=rivista", "--busy", "2"}, root},
    };
    for (const End &end : ends) {
        SCOPED_TRACE(end.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("defaults.json");
        if (end.asNobody) {
            const passwd *nobody = ::getpwnam("nobody");
            ASSERT_NE(nobody, nullptr);
            ASSERT_EQ(::chown(QFile::encodeName(dir.path()).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        // A child that hangs at its end is stopped by runProbe and has no exit code.
        const ChildRun run = runProbe(QStringList{"later", path} + end.steps, std::nullopt, end.asNobody);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(Defaults(path).value<QString>("skin"), "rivista") << run.err.toStdString();
        for (const QString &name : entries(dir.path())) {
            if (name.contains(".busy")) {
                EXPECT_EQ(QFileInfo(dir.filePath(name)).size(), 1 << 20) << name.toStdString();
            }
        }
        EXPECT_EQ(run.err.contains("Could not start the thread that saves files"),
            end.steps.contains("--no-threads"))
            << run.err.toStdString();
    }
}

// A program started while a file is being saved (Spotify, a link opened)
// must not inherit a descriptor of the file or its folder.
TEST(KeptFiles, AProgramStartedWhileFilesAreSavedInheritsNoneOfTheirDescriptors)
{
    QTemporaryDir dir;
    std::atomic<bool> done = false;
    std::thread saving([&] {
        for (int i = 0; !done; ++i) {
            PrivateFiles::writeAtomically(dir.filePath("defaults.json"), QByteArray::number(i));
            KeptFiles::saveLater(dir.filePath("later.json"), QByteArray::number(i));
        }
    });
    int inherited = 0;
    for (int i = 0; i < 60; ++i) {
        QProcess child;
        child.start("ls", {"-l", "/proc/self/fd/"});
        child.waitForFinished(5000);
        inherited += QString::fromLocal8Bit(child.readAllStandardOutput()).contains(dir.path());
    }
    done = true;
    saving.join();
    KeptFiles::finishSaves();
    EXPECT_EQ(inherited, 0);
}
