#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME and XDG_DATA_HOME into a fresh temporary directory for
// the guard's lifetime, so code that finds its files the standard way never
// touches the real home.
class TemporaryHome {
public:
    TemporaryHome()
    {
        qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
        qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    }
    ~TemporaryHome()
    {
        restore("XDG_CONFIG_HOME", m_savedConfig);
        restore("XDG_DATA_HOME", m_savedData);
    }
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path(const QString &relative = {}) const
    {
        return relative.isEmpty() ? m_root.path() : m_root.filePath(relative);
    }
    QString configHome() const { return m_root.filePath(QStringLiteral("config")); }
    QString dataHome() const { return m_root.filePath(QStringLiteral("data")); }

private:
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QTemporaryDir m_root;
    // A null array for a variable that was not set.
    QByteArray m_savedConfig
        = qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? qgetenv("XDG_CONFIG_HOME") : QByteArray();
    QByteArray m_savedData
        = qEnvironmentVariableIsSet("XDG_DATA_HOME") ? qgetenv("XDG_DATA_HOME") : QByteArray();
};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Neither the group nor others may read, write or enter it.
inline bool isUserOnly(const QString &path)
{
    const QFile::Permissions permissions = QFileInfo(path).permissions();
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return (permissions & others) == 0 && permissions.testFlags(QFile::ReadOwner | QFile::WriteOwner);
}
