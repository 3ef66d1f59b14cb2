#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

// Points XDG_CONFIG_HOME and XDG_DATA_HOME into a fresh temporary directory for
// the guard's lifetime, so code that finds its files the standard way never
// touches the real home.
class TemporaryHome {
public:
    TemporaryHome()
        : m_savedConfig(saved("XDG_CONFIG_HOME"))
        , m_savedData(saved("XDG_DATA_HOME"))
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
    static std::optional<QByteArray> saved(const char *name)
    {
        if (!qEnvironmentVariableIsSet(name))
            return std::nullopt;
        return qgetenv(name);
    }
    static void restore(const char *name, const std::optional<QByteArray> &value)
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }

    QTemporaryDir m_root;
    std::optional<QByteArray> m_savedConfig;
    std::optional<QByteArray> m_savedData;
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
