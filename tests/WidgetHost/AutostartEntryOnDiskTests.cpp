#include "QtPrinters.h"
#include "ScopedEnvironment.h"
#include "TemporaryHome.h"
#include "WidgetPlacements.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The host's autostart entry as the real orvel-widget-host's commands leave it.
namespace {
struct Outcome {
    int status = 0;
    QString out;
    QString err;
};

Outcome run(const QStringList &arguments)
{
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    static const QTemporaryDir runtime; // as a session gives each user one
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    process.setProcessEnvironment(environment);
    process.start(ORVEL_WIDGET_HOST_BINARY, arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

TEST(AutostartEntryOnDisk, AnAddLeavesTheUsersEntryAsItWasButForAMovedProgram)
{
    TemporaryHome home;
    const QString entry = WidgetHostAutostart::standardPath();
    const QByteArray host = ORVEL_WIDGET_HOST_BINARY;
    const auto wrapped = [](const QByteArray &program,
                             const QByteArray &exec = "env QT_SCALE_FACTOR=2 %1 -platform xcb") {
        return "\xEF\xBB\xBF[Desktop Entry]\r\nType=Application\r\nName=Meine Widgets\r\nName[de]=Meine "
               "Widgets\r\nExec="
            + QByteArray(exec).replace("%1", program)
            + "\r\nHidden=true\r\n\r\n# mine\r\n[Desktop Action x]\r\nExec=other\r\n";
    };
    const QByteArray moved = "/old/place/orvel-widget-host";
    const QByteArray delayed = "sh -c \"sleep 10; %1\"";
    const QByteArray envOptions = "env -C /tmp -uFOO QT_SCALE_FACTOR=2 %1 -platform xcb";
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    // A shell's line is the user's: it stays, and a gone path in it is one warning line.
    const QString gone = "Warning: the autostart entry " + entry + ": its Exec line names " + moved
        + ", which is not there; the line is yours and stays as it is\n";
    // So is one in the home folder as a shell spells it.
    ScopedEnvironment environment;
    environment.set("HOME", home.path().toUtf8());
    const QByteArray inHome = "~/gone/orvel-widget-host";
    const QString goneFromHome = QString(gone).replace(moved, inHome);
    const struct {
        QByteArray before;
        QByteArray after;
        QString err = {};
    } cases[] = {
        {wrapped(host), wrapped(host)},
        {wrapped(moved), wrapped(host)},
        {wrapped(host, delayed), wrapped(host, delayed)},
        {wrapped(moved, delayed), wrapped(moved, delayed), gone},
        {wrapped(moved, envOptions), wrapped(host, envOptions)},
        {wrapped(inHome), wrapped(inHome), goneFromHome},
    };
    for (const auto &[before, after, err] : cases) {
        QDir().mkpath(QFileInfo(entry).absolutePath());
        QFile file(entry);
        ASSERT_TRUE(
            file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(before) && file.flush());
        ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
        file.close();
        const Outcome added = run({"--add", "OrvelNowPlaying", "--family", "small"});
        EXPECT_EQ(added.status, 0);
        EXPECT_EQ(added.err, err);
        EXPECT_EQ(readFile(entry), after);
        EXPECT_EQ(QFileInfo(entry).lastModified() == past, before == after);
    }
}

TEST(AutostartEntryOnDisk, RemovingTheLastWidgetLeavesAPipeAtTheEntrysPlace)
{
    TemporaryHome home;
    const QString entry = WidgetHostAutostart::standardPath();
    ASSERT_EQ(run({"--add", "OrvelNowPlaying", "--family", "small"}).status, 0);
    ASSERT_TRUE(QFile::remove(entry));
    ASSERT_EQ(::mkfifo(QFile::encodeName(entry), 0600), 0);

    const Outcome removed = run({"--remove", "1"});
    EXPECT_EQ(removed.status, 0);
    EXPECT_EQ(removed.out, "Removed widget 1 (OrvelNowPlaying).\n");
    EXPECT_EQ(removed.err,
        "Warning: the widget list is saved, but the autostart entry could not be changed: " + entry
            + ": a named pipe (FIFO), not an entry; left as it is\n");
    EXPECT_TRUE(QFileInfo(entry).exists() && !QFileInfo(entry).isFile());
    EXPECT_TRUE(WidgetPlacementFile::read(WidgetPlacementFile::standardPath()).placements.isEmpty());
}

// A program of the user's saves the entry every few milliseconds, by writing
// a new file and renaming it over the entry and by rewriting it in place in
// two writes, while the host keeps the entry starting it (each save names a
// moved host, so the host rewrites each one, keeping the save's number). No
// save is undone: a watcher never sees Orvel's fresh entry nor a mix of the
// two, after each of the host's writes the entry holds the user's last save
// or a newer one, and the last save is what stays.
TEST(AutostartEntryOnDisk, SavesTheUserMakesWhileTheHostWritesAreNeverUndone)
{
    TemporaryHome home;
    const QString entry = WidgetHostAutostart::standardPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(entry).absolutePath()));
    const QByteArray host = ORVEL_WIDGET_HOST_BINARY;
    const QByteArray moved = "/old/place/orvel-widget-host";
    constexpr int saves = 400;
    constexpr int hostWrites = 200;
    // What a save in place has written after its first write: the same for every save.
    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Mine\nExec=" + moved + " --x\n";
    std::vector<QByteArray> texts;
    for (int i = 0; i < saves; ++i)
        texts.push_back(head + "X-GNOME-Autostart-Delay=2\n# save "
            + QByteArray::number(i).rightJustified(6, '0') + "\n# end\n");
    const qsizetype numberAt = texts[0].indexOf("# save ") + 7;
    // The save's number, when the text is a whole save, as written or as the host edits it.
    const auto saveIn = [&](const QByteArray &text) {
        const QByteArray asSaved = QByteArray(text).replace(host, moved);
        const int number = asSaved.mid(numberAt, 6).toInt();
        return number >= 0 && number < saves && asSaved == texts[size_t(number)] ? number : -1;
    };
    {
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(texts[0]) == texts[0].size());
    }
    // The number of the user's last finished save, shared with the saving process.
    void *shared = ::mmap(
        nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto *finished = new (shared) std::atomic<int>(0);
    const auto unmap = qScopeGuard([&] { ::munmap(shared, sizeof(std::atomic<int>)); });
    const QByteArray path = QFile::encodeName(entry);
    const QByteArray staging = path + ".new";
    const pid_t saver = ::fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
        // System calls alone from here on: the parent has threads.
        bool whole = true;
        for (int i = 1; i < saves; ++i) {
            const QByteArray &text = texts[size_t(i)];
            const size_t size = size_t(text.size());
            const size_t first = i % 2 ? size : size_t(head.size());
            const int fd = ::open(i % 2 ? staging.constData() : path.constData(),
                O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            whole = whole && fd >= 0 && ::write(fd, text.constData(), first) == ssize_t(first)
                && ::write(fd, text.constData() + first, size - first) == ssize_t(size - first)
                && ::close(fd) == 0 && (i % 2 == 0 || ::rename(staging.constData(), path.constData()) == 0);
            finished->store(i);
            const timespec pace{0, 2'500'000};
            ::nanosleep(&pace, nullptr);
        }
        ::_exit(whole ? 0 : 1);
    }

    std::atomic<bool> done = false;
    int fresh = 0;
    int mixed = 0;
    int edited = 0;
    QByteArray firstMixed;
    std::thread watcher([&] {
        while (!done) {
            const QByteArray now = readFile(entry);
            const bool whole = saveIn(now) >= 0;
            edited += whole && now.contains(host);
            // Between a save in place's writes the file is empty or the head alone.
            if (!whole && !now.isEmpty() && now != head) {
                ++(now.contains("Name=Orvel widgets") ? fresh : mixed);
                if (firstMixed.isEmpty())
                    firstMixed = now;
            }
        }
    });
    const QList<WidgetPlacement> placed{{"OrvelNowPlaying", WidgetFamily::systemSmall, "", {24, 24}}};
    QList<std::pair<int, int>> undone; // the save found after a host's write, and the user's last one
    for (int i = 0; i < hostWrites; ++i) {
        try {
            WidgetHostAutostart::follow(placed, host, entry);
        } catch (const std::exception &) {
            // It kept changing: left to the user, which loses nothing.
        }
        const int last = finished->load();
        const int found = saveIn(readFile(entry));
        if (found >= 0 && found < last)
            undone.append({found, last});
    }
    int status = -1;
    ::waitpid(saver, &status, 0);
    done = true;
    watcher.join();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(undone, (QList<std::pair<int, int>>{}));
    EXPECT_EQ(fresh, 0);
    EXPECT_EQ(mixed, 0) << firstMixed.toStdString();
    // The two did meet: the host rewrote saves while the user made them.
    EXPECT_GT(edited, 0);
    WidgetHostAutostart::follow(placed, host, entry);
    EXPECT_EQ(readFile(entry), QByteArray(texts.back()).replace(moved, host));
}
