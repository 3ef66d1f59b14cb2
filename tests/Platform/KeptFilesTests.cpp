#include "AutomationPermission.h"
#include "Defaults.h"
#include "KeptFiles.h"
#include "NobodysCopy.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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
    std::optional<SocketFile> socket(std::in_place, path);
    EXPECT_EQ(KeptFiles::load(path, [](const QByteArray &) { return true; }), std::nullopt);
    EXPECT_TRUE(KeptFiles::isHeld(path));
    EXPECT_EQ(log.count("Could not open " + path), 1);
    EXPECT_THROW(KeptFiles::save(path, "[]"), FileError);
    EXPECT_THROW(KeptFiles::save(path, "[]"), FileError);
    EXPECT_EQ(log.count("Could not save " + path), 1);
    EXPECT_EQ(entries(dir.path()), QStringList{"shortcuts.json"});
    EXPECT_FALSE(QFileInfo(path).isFile());

    socket.reset();
    ASSERT_TRUE(QFile::remove(path));
    KeptFiles::save(path, "[]");
    EXPECT_EQ(readFile(path), "[]");
    EXPECT_FALSE(KeptFiles::isHeld(path));
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
