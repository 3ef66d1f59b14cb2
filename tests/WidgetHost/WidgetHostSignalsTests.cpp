#include "TemporaryHome.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

// The real orvel-widget-host ends on a hang-up as on SIGTERM, but not under
// nohup, which ignores the hang-up before the host starts.
namespace {
// A signal mask of /proc/PID/status (SigIgn, SigCgt) as bits, bit n - 1 for signal n.
quint64 mask(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}

quint64 bit(int number)
{
    return quint64(1) << (number - 1);
}
} // namespace

TEST(WidgetHostSignals, AHangUpEndsTheHostUnlessNohupIgnoresIt)
{
    TemporaryHome home;
    // A runtime folder and no bus of its own: no other host makes this one stand down.
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime.filePath("no-bus"));
    environment.remove("DISPLAY");
    for (const bool underNohup : {false, true}) {
        QProcess host;
        host.setProcessEnvironment(environment);
        host.setChildProcessModifier([underNohup] {
            if (underNohup)
                ::signal(SIGHUP, SIG_IGN);
        });
        host.start(ORVEL_WIDGET_HOST_BINARY, QStringList());
        ASSERT_TRUE(host.waitForStarted());
        const pid_t pid = pid_t(host.processId());
        // Once it catches SIGTERM, it has taken its signals.
        for (QDeadlineTimer guard(20000); !(mask(pid, "SigCgt") & bit(SIGTERM)) && !guard.hasExpired();)
            QThread::msleep(10);
        ASSERT_TRUE(mask(pid, "SigCgt") & bit(SIGTERM)) << host.readAllStandardError().toStdString();
        EXPECT_EQ(bool(mask(pid, "SigIgn") & bit(SIGHUP)), underNohup);
        ::kill(pid, SIGHUP);
        if (underNohup)
            ::kill(pid, SIGTERM);
        ASSERT_TRUE(host.waitForFinished(30000));
        EXPECT_EQ(host.exitStatus(), QProcess::NormalExit) << underNohup;
        EXPECT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();
    }
}
