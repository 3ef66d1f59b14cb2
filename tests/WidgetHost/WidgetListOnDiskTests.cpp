#include "ManualScheduler.h"
#include "NobodysCopy.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"
#include "WidgetHost.h"
#include "WidgetHostCommand.h"
#include "WidgetPlacements.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

// The widget list as the real orvel-widget-host keeps it on disk: failing
// writes, many writers at once, lists it cannot read or open, runaway
// arguments and a second host.
namespace {
struct Outcome {
    int status = 0;
    QString out;
    QString err;
    qint64 elapsedMs = 0;

    // Answered without waiting out the lock's time-out: not the time-out's
    // words, and well before it would have ended. The test runs alone
    // (ORVEL_ALONE_TESTS), so the bound holds for a loaded machine too.
    bool answeredAtOnce() const
    {
        return !err.contains("held its lock") && elapsedMs < WidgetListLock::waitMs * 4 / 5;
    }
};

const WidgetPlacement nowPlaying{"OrvelNowPlaying", WidgetFamily::systemSmall, "", {24, 24}};
const WidgetPlacement shortcuts{"OrvelShortcuts", WidgetFamily::systemMedium, "", {24, 210}};
const WidgetPlacement large{"OrvelShortcuts", WidgetFamily::systemLarge, "", {500, 24}};

// A runtime folder of the program's own, as a session gives it one.
QString runtimeFolder()
{
    static const QTemporaryDir folder;
    return folder.path();
}

QProcessEnvironment offscreen()
{
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", runtimeFolder());
    environment.remove("DISPLAY");
    return environment;
}

void start(
    QProcess &process, const QStringList &arguments, const QProcessEnvironment &environment = offscreen())
{
    process.setProcessEnvironment(environment);
    process.start(ORVEL_WIDGET_HOST_BINARY, arguments);
    process.waitForStarted();
}

Outcome finish(QProcess &process, const QElapsedTimer &since)
{
    if (!process.waitForFinished(30000))
        return {-1, {}, "did not finish", since.elapsed()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
        QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()),
        since.elapsed()};
}

Outcome run(const QStringList &arguments, std::function<void()> inChild = {},
    const QProcessEnvironment &environment = offscreen())
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    QElapsedTimer timer;
    timer.start();
    start(process, arguments, environment);
    return finish(process, timer);
}

QStringList lines(const QString &text)
{
    return text.split('\n', Qt::SkipEmptyParts);
}

class WidgetListOnDisk : public ::testing::Test {
protected:
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();

    // Every file beside the list.
    QStringList folder() const
    {
        return QDir(QFileInfo(path).absolutePath())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    void put(const QByteArray &data, const QString &name = {}) const
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(name.isEmpty() ? path : QFileInfo(path).absolutePath() + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }
};
} // namespace

TEST_F(WidgetListOnDisk, AnAddWhoseSaveFailsSaysSoAndLeavesTheListAsItWas)
{
    WidgetPlacementFile::save(path, {nowPlaying, shortcuts, large});
    const QByteArray before = readFile(path);
    ASSERT_GT(before.size(), 300);
    // Writes past 300 bytes fail as on a full disk (the program ignores SIGXFSZ).
    const Outcome outcome = run({"--add", "OrvelShortcuts", "--family", "large"}, [] {
        const rlimit limit{300, 300};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(outcome.status, 1) << outcome.err.toStdString();
    EXPECT_EQ(lines(outcome.err), QStringList{"Could not save the widget list " + path + ": File too large"});
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(readFile(path), before);
    // No temporary file or lock is left behind.
    EXPECT_EQ(folder(), QStringList{"widgets.json"});
    EXPECT_FALSE(QFileInfo::exists(WidgetHostAutostart::standardPath()));
}

TEST_F(WidgetListOnDisk, TwentyAddsAtOnceKeepTwentyWidgets)
{
    std::vector<std::unique_ptr<QProcess>> adds;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 20; ++i) {
        adds.push_back(std::make_unique<QProcess>());
        start(*adds.back(),
            {"--add", i % 2 ? "OrvelNowPlaying" : "OrvelShortcuts", "--family", "medium", "--at",
                QString("%1,%2").arg(i * 10).arg(i)});
    }
    QStringList placed;
    for (const auto &add : adds) {
        const Outcome outcome = finish(*add, timer);
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        placed.append(outcome.out.section(" as widget ", 1).section(' ', 0, 0));
    }
    const QList<WidgetPlacement> list = WidgetPlacementFile::read(path).placements;
    EXPECT_EQ(list.size(), 20);
    // Each was told its own number.
    placed.sort();
    placed.removeDuplicates();
    EXPECT_EQ(placed.size(), 20);
    EXPECT_EQ(folder(), QStringList{"widgets.json"});
}

TEST_F(WidgetListOnDisk, AListThatCannotBeReadIsKeptAsideAndEarlierCopiesStay)
{
    put("the first copy", "widgets.json.unreadable");
    const QList<std::pair<QByteArray, QString>> unreadable{
        {R"({"widgets": [ oops)", "it is not a list of widgets"},
        {R"({"version": "99", "widgets": []})", R"(its version "99" is not a whole number)"},
        {R"({"version": 1e10, "widgets": []})", "it was written by a newer Orvel (version 10000000000)"},
    };
    int copy = 1;
    for (const auto &[data, problem] : unreadable) {
        put(data);
        const Outcome outcome = run({"--add", "OrvelNowPlaying", "--family", "small"});
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        const QString aside = QString("%1.unreadable.%2").arg(path).arg(++copy);
        EXPECT_EQ(lines(outcome.err),
            QStringList{QString("The widget list %1 cannot be read (%2); it is kept as %3.")
                            .arg(path, problem, aside)});
        EXPECT_EQ(readFile(aside), data);
        EXPECT_EQ(WidgetPlacementFile::read(path).placements, QList{nowPlaying});
    }
    EXPECT_EQ(readFile(path + ".unreadable"), "the first copy");
}

TEST_F(WidgetListOnDisk, AListThatCannotBeOpenedIsLeftAndNeverWrittenOver)
{
    WidgetPlacementFile::save(path, {nowPlaying});
    const QByteArray before = readFile(path);
    // As a user who may not read it: root reads everything, so the program
    // runs as nobody on root's file there.
    const bool root = ::geteuid() == 0;
    const passwd *nobody = ::getpwnam("nobody");
    std::optional<NobodysCopy> host;
    if (root) {
        host.emplace(ORVEL_WIDGET_HOST_BINARY, QStringList{"libOrvelWidgetKit.so", "OrvelWidgets.so"});
        if (!nobody || !host->usable())
            GTEST_SKIP() << "needs runuser and the user nobody";
    }
    const QString runtime = home.path("runtime-nobody");
    if (root) {
        QDir().mkpath(runtime);
        ASSERT_EQ(::chown(QFile::encodeName(runtime).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const auto asUser = [&](const QStringList &arguments) {
        if (!root)
            return run(arguments);
        QStringList environment{
            "QT_QPA_PLATFORM=offscreen", "HOME=" + home.path(), "XDG_RUNTIME_DIR=" + runtime};
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            environment.append(QString("%1=%2").arg(name, qEnvironmentVariable(name)));
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(host->runuser(), host->arguments(environment, arguments));
        return finish(process, timer);
    };
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (root) {
        // Its folders open to the user, who may make the lock there.
        const QFile::Permissions open = QFile::Permissions(0x7777);
        for (const QString &folder : {home.path(), home.configHome(), QFileInfo(path).absolutePath()})
            QFile::setPermissions(folder, open);
    } else {
        QFile::setPermissions(path, {});
    }
    for (const QStringList &arguments :
        {QStringList{"--add", "OrvelShortcuts", "--family", "large"}, QStringList{"--list"}}) {
        const Outcome outcome = asUser(arguments);
        EXPECT_EQ(outcome.status, 1) << outcome.err.toStdString();
        EXPECT_EQ(lines(outcome.err),
            QStringList{
                QString("The widget list %1 cannot be opened (Permission denied); it is left as it is.")
                    .arg(path)});
        EXPECT_EQ(outcome.out, "");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folder(), QStringList{"widgets.json"});
}

TEST_F(WidgetListOnDisk, AListThatIsADeviceIsRefusedUnread)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(QFile::link("/dev/zero", path));
    const Outcome outcome = run({"--list"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(lines(outcome.err),
        QStringList{QString("The widget list %1 cannot be read (it is not a regular file); it is kept as "
                            "%1.unreadable.")
                        .arg(path)});
    EXPECT_TRUE(outcome.out.startsWith("No widgets placed.\n"));
    EXPECT_EQ(QFileInfo(path + ".unreadable").symLinkTarget(), "/dev/zero");
}

TEST_F(WidgetListOnDisk, RunawayNumbersAreRefusedAtOnceWithOneLine)
{
    const QStringList render{"--render", "OrvelNowPlaying", "--family", "small", "--mode", "fullColor",
        "--out", home.path("widget.png")};
    for (const QStringList &scale : QList<QStringList>{{"--scale", "nan"}, {"--scale", "0"},
             {"--scale", "300"}, {"--scale", "inf"}, {"--scale", "-2"}, {"--scale", "2x"}, {"--scale=300"}}) {
        const Outcome outcome = run(render + scale);
        EXPECT_EQ(outcome.status, 2) << scale.join(' ').toStdString();
        EXPECT_EQ(lines(outcome.err), QStringList{"--scale takes a number from 0.25 to 8"});
    }
    EXPECT_FALSE(QFileInfo::exists(home.path("widget.png")));

    for (const QStringList &arguments :
        QList<QStringList>{{"--add", "OrvelNowPlaying", "--family", "small", "--at", "1e9,5"},
            {"--add", "OrvelNowPlaying", "--family", "small", "--at", "2000000,5"},
            {"--add", "OrvelNowPlaying", "--family", "small", "--at", "nan,5"},
            {"--add", "OrvelNowPlaying", "--family", "small", "--at", "5,99999999999"},
            {"--remove", "99999999999"}, {"--remove", "-1"}, {"--remove", "two"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(lines(outcome.err).size(), 1) << outcome.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));

    // A sensible scale still draws, that many times larger.
    const Outcome drawn = run(render + QStringList{"--scale", "2"});
    EXPECT_EQ(drawn.status, 0) << drawn.err.toStdString();
    EXPECT_EQ(QImage(home.path("widget.png")).size(), QSize(340, 340));
}

TEST_F(WidgetListOnDisk, WithoutASessionBusASecondHostStandsDown)
{
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = offscreen();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime.filePath("no-bus"));
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    const QString lock = runtime.filePath("com.velbrandtoro.Orvel.WidgetHost.lock");
    // The pid the lock names, once it names that one.
    const auto holds = [&](const QProcess &host) {
        for (QDeadlineTimer guard(10000); !guard.hasExpired(); QThread::msleep(20)) {
            qint64 pid = 0;
            QString hostName, program;
            if (QLockFile(lock).getLockInfo(&pid, &hostName, &program) && pid == host.processId())
                return true;
        }
        return false;
    };

    QProcess first;
    start(first, {}, environment);
    ASSERT_TRUE(holds(first)) << first.readAllStandardError().toStdString();
    QProcess second;
    QElapsedTimer timer;
    timer.start();
    start(second, {}, environment);
    const Outcome refused = finish(second, timer);
    EXPECT_EQ(refused.status, 0);
    EXPECT_TRUE(refused.err.contains("Another orvel-widget-host is already showing the widgets."))
        << refused.err.toStdString();
    QProcess gallery;
    start(gallery, {"--gallery"}, environment);
    const Outcome noGallery = finish(gallery, timer);
    EXPECT_EQ(noGallery.status, 1);
    EXPECT_TRUE(noGallery.err.contains("without a session bus it cannot be asked to show its gallery"))
        << noGallery.err.toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(first.state(), QProcess::Running);

    // A host that was killed leaves its lock to the next one.
    first.kill();
    first.waitForFinished();
    QProcess third;
    start(third, {}, environment);
    EXPECT_TRUE(holds(third)) << third.readAllStandardError().toStdString();
    third.terminate();
    EXPECT_TRUE(third.waitForFinished(10000));
}

TEST_F(WidgetListOnDisk, ALinkedListIsWrittenThroughItsLinkAndADanglingOneGetsItsTarget)
{
    QTemporaryDir dotfiles;
    const QString folderPath = QFileInfo(path).absolutePath();
    QDir().mkpath(folderPath);
    const QString kept = dotfiles.filePath("widgets.json");
    WidgetPlacementFile::save(kept, {nowPlaying});
    // An absolute link to the list, and a dangling relative one whose folder exists.
    const QList<std::pair<QString, qsizetype>> cases{
        {kept, 2}, {QDir(folderPath).relativeFilePath(kept + ".new"), 1}};
    for (const auto &[target, count] : cases) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(target, path));
        const Outcome outcome = run({"--add", "OrvelShortcuts", "--family", "large"});
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        const QString linked = QDir::cleanPath(QDir(folderPath).absoluteFilePath(target));
        EXPECT_EQ(QFileInfo(path).symLinkTarget(), linked);
        EXPECT_EQ(WidgetPlacementFile::read(linked).placements.size(), count);
    }
    EXPECT_EQ(folder(), (QStringList{"widgets.json"}));

    // A link into a folder that is not there is an error that names it; nothing is replaced.
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(dotfiles.filePath("gone/widgets.json"), path));
    const Outcome refused = run({"--add", "OrvelNowPlaying", "--family", "small"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(lines(refused.err),
        QStringList{QString("Could not save the widget list %1: %2: No such file or directory")
                        .arg(path, dotfiles.filePath("gone/widgets.json"))});
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), dotfiles.filePath("gone/widgets.json"));
}

TEST_F(WidgetListOnDisk, TheAutostartEntryIsTheUsersAndItsFailureIsOnlyAWarning)
{
    const QString entry = WidgetHostAutostart::standardPath();
    QDir().mkpath(QFileInfo(entry).absolutePath());
    const QByteArray edited = "[Desktop Entry]\nType=Application\nName=Orvel widgets\nExec=\"/old/place\"\n"
                              "Hidden=true\nX-GNOME-Autostart-Delay=30\n";
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(edited);
    file.close();
    const Outcome added = run({"--add", "OrvelNowPlaying", "--family", "small"});
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    // Only the program's new place is written into it.
    QByteArray expected = edited;
    expected.replace("\"/old/place\"", "\"" + QByteArray(ORVEL_WIDGET_HOST_BINARY) + "\"");
    EXPECT_EQ(readFile(entry), expected);
    const QDateTime written = QFileInfo(entry).lastModified();
    ASSERT_EQ(run({"--add", "OrvelShortcuts", "--family", "medium"}).status, 0);
    EXPECT_EQ(QFileInfo(entry).lastModified(), written);

    // A file where the autostart folder belongs: the list is saved all the same.
    QDir(QFileInfo(entry).absolutePath()).removeRecursively();
    QFile blocker(QFileInfo(entry).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const Outcome warned = run({"--remove", "1"});
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.out, "Removed widget 1 (OrvelNowPlaying).\n");
    ASSERT_EQ(lines(warned.err).size(), 1) << warned.err.toStdString();
    EXPECT_TRUE(
        warned.err.startsWith("Warning: the widget list is saved, but the autostart entry could not be "
                              "changed: "
            + entry))
        << warned.err.toStdString();
    EXPECT_EQ(WidgetPlacementFile::read(path).placements.size(), 1);
}

TEST_F(WidgetListOnDisk, LocksAndListsLeftHalfDoneAreTakenOverAndASocketIsSetAside)
{
    // A lock a killed command made but never wrote, three seconds ago.
    put("", "widgets.json.lock");
    const QString lock = WidgetListLock::lockPath(path);
    const QDateTime old = QDateTime::currentDateTime().addSecs(-3);
    QFile lockFile(lock);
    ASSERT_TRUE(
        lockFile.open(QIODevice::ReadWrite) && lockFile.setFileTime(old, QFileDevice::FileModificationTime));
    lockFile.close();
    const Outcome taken = run({"--add", "OrvelNowPlaying", "--family", "small"});
    EXPECT_EQ(taken.status, 0) << taken.err.toStdString();
    EXPECT_EQ(taken.err, "");
    EXPECT_TRUE(taken.answeredAtOnce()) << taken.elapsedMs;

    // A save killed after its temporary file was named, and a live writer's, beside the list.
    put("{}", ".widgets.json.orvel-save.dead01");
    put("{}", ".widgets.json.orvel-save.alive1");
    for (const QString name : {".widgets.json.orvel-save.dead01", ".widgets.json.orvel-save.alive1"}) {
        QFile leftover(QFileInfo(path).absolutePath() + '/' + name);
        ASSERT_TRUE(leftover.open(QIODevice::ReadWrite)
            && leftover.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QFile alive(QFileInfo(path).absolutePath() + "/.widgets.json.orvel-save.alive1");
    ASSERT_TRUE(alive.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(alive.handle(), LOCK_EX), 0);
    EXPECT_EQ(run({"--list"}).status, 0);
    EXPECT_EQ(folder(), (QStringList{".widgets.json.orvel-save.alive1", "widgets.json"}));
    alive.close();

    // An editor writing the list slowly while a command starts: the command
    // waits until the file has been left alone before it judges it.
    const QByteArray whole = readFile(path);
    QByteArray part = "{\"widgets\": [";
    put(part);
    QProcess add;
    QElapsedTimer timer;
    timer.start();
    start(add, {"--add", "OrvelShortcuts", "--family", "medium"});
    const auto commandHoldsTheLock = [&] {
        qint64 pid = 0;
        QString host, program;
        return QLockFile(lock).getLockInfo(&pid, &host, &program) && pid == add.processId();
    };
    for (QDeadlineTimer guard(20000); !guard.hasExpired() && !commandHoldsTheLock(); QThread::msleep(20))
        put(part += ' ');
    // Writes far closer together than the quiet time, so a busy machine does not open a gap.
    for (int i = 0; i < 6; ++i, QThread::msleep(50))
        put(part += ' ');
    put(whole);
    const Outcome waited = finish(add, timer);
    EXPECT_EQ(waited.status, 0) << waited.err.toStdString();
    EXPECT_EQ(waited.err, "");
    EXPECT_EQ(WidgetPlacementFile::read(path).placements.size(), 2);

    // A socket is no list: set aside like a pipe.
    QFile::remove(path);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const Outcome socketAside = run({"--add", "OrvelNowPlaying", "--family", "small"});
    ::close(socket);
    EXPECT_EQ(socketAside.status, 0) << socketAside.err.toStdString();
    EXPECT_TRUE(QFileInfo(path + ".unreadable").exists());
    EXPECT_EQ(WidgetPlacementFile::read(path).placements.size(), 1);
}

TEST_F(WidgetListOnDisk, ARelativeConfigFolderIsIgnoredAsTheBaseDirectoryRulesSay)
{
    WidgetPlacementFile::save(path, {nowPlaying});
    QTemporaryDir elsewhere;
    QDir(elsewhere.path()).mkpath("relative/com.velbrandtoro.Orvel");
    QFile decoy(elsewhere.filePath("relative/com.velbrandtoro.Orvel/widgets.json"));
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.write(R"({"widgets":[]})");
    decoy.close();
    // HOME's .config is where the rules then look.
    QDir(home.path()).mkpath(".config");
    ASSERT_TRUE(QFile::link(
        home.configHome() + "/com.velbrandtoro.Orvel", home.path(".config/com.velbrandtoro.Orvel")));
    QProcess list;
    QProcessEnvironment environment = offscreen();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", "relative");
    list.setWorkingDirectory(elsewhere.path());
    QElapsedTimer timer;
    timer.start();
    start(list, {"--list"}, environment);
    const Outcome outcome = finish(list, timer);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out.contains("1. Now playing")) << outcome.out.toStdString();
    EXPECT_TRUE(outcome.err.contains("XDG_CONFIG_HOME is a relative path (relative) and is ignored."));
}

TEST_F(WidgetListOnDisk, ALockThatIsNoLockFileIsTakenOverOrRefusedAtOnce)
{
    WidgetPlacementFile::save(path, {nowPlaying});
    const QString lock = WidgetListLock::lockPath(path);
    // What lies where the lock belongs, and what the refusal calls it (none: taken over).
    const QList<std::tuple<std::function<bool()>, QString>> cases{
        {[&] { return QFile::link(home.path("gone"), lock); }, {}},
        {[&] { return QFile::link(lock, lock); }, {}},
        {[&] { return QDir().mkdir(lock); }, "a directory"},
        {[&] { return ::mkfifo(QFile::encodeName(lock).constData(), 0600) == 0; }, "a named pipe (FIFO)"},
        {[&] { return QFile::link(home.path(), lock); }, "a link to a directory"},
    };
    for (const auto &[make, what] : cases) {
        ASSERT_TRUE(make()) << what.toStdString();
        const Outcome outcome = run({"--add", "OrvelShortcuts", "--family", "medium"});
        // At once, not after the wait for a holder.
        EXPECT_TRUE(outcome.answeredAtOnce()) << what.toStdString() << ' ' << outcome.elapsedMs;
        EXPECT_EQ(outcome.status, what.isEmpty() ? 0 : 1);
        EXPECT_EQ(outcome.err,
            what.isEmpty() ? QString()
                           : QString("Could not save the widget list %1: its lock "
                                     "%2 is %3, not a lock file\n")
                                 .arg(path, lock, what));
        EXPECT_EQ(QFileInfo(lock).isSymLink() || QFileInfo::exists(lock), !what.isEmpty());
        QDir().rmdir(lock);
        QFile::remove(lock);
    }
    EXPECT_EQ(WidgetPlacementFile::read(path).placements.size(), 3);
    EXPECT_EQ(folder(), QStringList{"widgets.json"});
}

TEST_F(WidgetListOnDisk, OnAFullDiskNothingIsLeftBesideTheListAndTheReasonIsNamed)
{
    // A real full disk: a tmpfs of its own, filled to its last byte.
    const QByteArray disk = QFile::encodeName(home.configHome());
    if (!QDir().mkpath(home.configHome()) || ::mount("tmpfs", disk.constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "needs to mount a tmpfs (root)";
    const auto unmount = qScopeGuard([&] { ::umount2(disk.constData(), MNT_DETACH); });
    WidgetPlacementFile::save(path, {nowPlaying});
    const QByteArray before = readFile(path);
    // Leftover locks, made while there is room and moved into place later:
    // one of a process that is gone, and a link to nothing.
    const QString lock = WidgetListLock::lockPath(path);
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    put(QByteArray::number(gone) + "\norvel-widget-host\n" + QSysInfo::machineHostName().toUtf8() + "\n",
        "widgets.json.lock.gone");
    ASSERT_TRUE(QFile::link(home.path("nothing"), lock + ".link"));
    QFile filler(home.configHome() + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'x')) > 0) { }
    const QString said
        = "its lock " + WidgetListLock::lockPath(path) + " cannot be made: No space left on device";
    for (const QStringList &command :
        {QStringList{"--add=OrvelShortcuts", "--family=large"}, {"--remove=1"}}) {
        const Outcome outcome = run(command);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, "Could not save the widget list " + path + ": " + said + "\n");
    }
    // A leftover that cannot be taken over for want of room says so at once, naming no holder.
    for (const auto &[leftover, what] : {std::pair{".link", "is a link to nothing"},
             std::pair{".gone", "is left by a program that is gone"}}) {
        ASSERT_TRUE(QFile::rename(lock + leftover, lock));
        const Outcome outcome = run({"--remove=1"});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.answeredAtOnce()) << outcome.elapsedMs;
        EXPECT_EQ(outcome.err,
            QString("Could not save the widget list %1: its lock %2 %3 and cannot be removed: No space "
                    "left on device\n")
                .arg(path, lock, what));
        ASSERT_TRUE(QFile::remove(lock));
    }
    while (filler.write(QByteArray(4096, 'x')) > 0) { } // what the leftover took
    // The running host says so in its log and shows the list all the same.
    QProcessEnvironment environment = offscreen();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.path("no-bus"));
    QProcess host;
    start(host, {}, environment);
    QString log;
    for (QDeadlineTimer guard(20000); !guard.hasExpired() && !log.contains(said); host.waitForReadyRead(100))
        log += QString::fromUtf8(host.readAllStandardError());
    EXPECT_TRUE(log.contains("The widget list " + path + " is not checked: " + said)) << log.toStdString();
    host.terminate();
    EXPECT_TRUE(host.waitForFinished(10000));
    EXPECT_EQ(folder(), QStringList{"widgets.json"});
    EXPECT_EQ(readFile(path), before);
}

TEST_F(WidgetListOnDisk, WhatANewerVersionWroteIsKeptThroughAddRemoveAndADrag)
{
    // A newer version's keys at the top and in a widget, and a widget of a
    // family this one does not know; written as Qt writes them, so bytes compare.
    const QByteArrayList newer{
        R"({"future":{"ids":[9007199254740993,-0.125,"ü",null,true],"theme":"glass"}})",
        R"({"family":"systemExtraLarge","kind":"OrvelShortcuts","x":1,"y":2})",
        R"({"pinned":true,"tint":{"hue":210}})"};
    put(newer[0].chopped(1) + R"(,"version":1,"widgets":[)" + newer[1]
        + R"(,{"family":"systemSmall","kind":"OrvelNowPlaying","screen":"","x":24,"y":24,)" + newer[2].mid(1)
        + R"(,{"family":"systemMedium","kind":"OrvelShortcuts","screen":"","x":24,"y":210}]})");
    const auto unknownParts = [&] {
        QJsonObject root = QJsonDocument::fromJson(readFile(path)).object();
        const QJsonArray widgets = root.take("widgets").toArray();
        root.remove("version");
        QJsonObject nowPlaying = widgets[1].toObject();
        for (const char *known : {"kind", "family", "screen", "x", "y"})
            nowPlaying.remove(known);
        const auto compact
            = [](const QJsonObject &o) { return QJsonDocument(o).toJson(QJsonDocument::Compact); };
        return QByteArrayList{compact(root), compact(widgets[0].toObject()), compact(nowPlaying)};
    };
    ASSERT_EQ(unknownParts(), newer);
    EXPECT_EQ(run({"--add", "OrvelShortcuts", "--family", "large"}).status, 0);
    EXPECT_EQ(unknownParts(), newer);
    EXPECT_EQ(run({"--remove", "2"}).status, 0);
    EXPECT_EQ(unknownParts(), newer);

    // The running host's drag moves the widget within its own element.
    WidgetBundle *bundle = WidgetPluginLoader::load({ORVEL_WIDGETS_PLUGIN});
    ASSERT_TRUE(bundle);
    ManualScheduler clock;
    WidgetHost host(bundle->body(), {clock, QDBusConnection(QString()), {}, false, {}});
    host.follow(path);
    ASSERT_EQ(host.placed().size(), 2u);
    QWindow *window = host.placed()[0]->window();
    window->setPosition(window->position() + QPoint(100, 50));
    host.keepWhereDropped(*host.placed()[0]);
    EXPECT_EQ(WidgetPlacementFile::read(path).placements.value(0).position, QPoint(124, 74));
    EXPECT_EQ(unknownParts(), newer);
}

TEST_F(WidgetListOnDisk, AConfigFolderWithDotDotAfterALinkIsTheOneTheSystemFinds)
{
    // x/link/.. is the parent of link's target, real/: the list belongs in real/cfg, not in x/cfg.
    ASSERT_TRUE(QDir(home.path()).mkpath("x") && QDir(home.path()).mkpath("real/deep"));
    ASSERT_TRUE(QFile::link(home.path("real/deep"), home.path("x/link")));
    QProcessEnvironment environment = offscreen();
    environment.insert("XDG_CONFIG_HOME", home.path("x/link/../cfg"));
    const Outcome added = run({"--add", "OrvelNowPlaying", "--family", "small"}, {}, environment);
    EXPECT_EQ(added.err, "");
    EXPECT_EQ(WidgetPlacementFile::read(home.path("real/cfg/com.velbrandtoro.Orvel/widgets.json")).placements,
        QList{nowPlaying});
    EXPECT_TRUE(QFileInfo::exists(home.path("real/cfg/autostart/com.velbrandtoro.Orvel.WidgetHost.desktop")));
    EXPECT_TRUE(run({"--list"}, {}, environment).out.startsWith("Placed widgets:\n  1. Now playing"));
    EXPECT_EQ(QDir(home.path("x")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
        QStringList{"link"});
}
