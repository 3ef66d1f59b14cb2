#include "QtPrinters.h"
#include "TemporaryHome.h"
#include "WidgetPlacements.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
