#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A program that root runs as the unprivileged user nobody. Where the build
// tree lies out of nobody's reach (under /root, say), the program and the
// libraries beside it are copied to a folder anyone may enter, and the copy
// runs with that folder as its library path.
class NobodysCopy {
public:
    // besides: the names of the files beside the program that it loads.
    explicit NobodysCopy(const QString &program, const QStringList &besides = {})
        : m_program(program)
    {
        m_runuser = QStandardPaths::findExecutable(QStringLiteral("runuser"));
        if (m_runuser.isEmpty() || mayRun(program))
            return;
        m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/nobody-XXXXXX"));
        const auto anyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(m_folder->path(), anyone);
        const QString from = QFileInfo(program).absolutePath();
        for (const QString &name : QStringList{QFileInfo(program).fileName()} + besides) {
            const QString to = m_folder->filePath(name);
            if (!QFile::copy(from + QLatin1Char('/') + name, to))
                return;
            QFile::setPermissions(to, anyone);
        }
        m_program = m_folder->filePath(QFileInfo(program).fileName());
    }

    // Whether nobody can run it here at all.
    bool usable() const { return !m_runuser.isEmpty() && mayRun(m_program); }

    // runuser's arguments that run the program as nobody with these settings.
    QStringList arguments(const QStringList &environment, const QStringList &programArguments) const
    {
        QStringList command{
            QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), QStringLiteral("env")};
        command << environment;
        if (m_folder)
            command << QStringLiteral("LD_LIBRARY_PATH=") + m_folder->path();
        return command << m_program << programArguments;
    }

    const QString &runuser() const { return m_runuser; }

private:
    bool mayRun(const QString &program) const
    {
        return QProcess::execute(m_runuser,
                   {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                       QStringLiteral("test"), QStringLiteral("-x"), program})
            == 0;
    }

    QString m_program;
    QString m_runuser;
    std::unique_ptr<QTemporaryDir> m_folder;
};
