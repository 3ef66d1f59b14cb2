#include "XdgBaseDirectories.h"

#include "KeptFiles.h"

#include <QDir>

QStringList XdgBaseDirectories::ignoreRelative()
{
    QStringList ignored;
    for (const char *name :
        {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (value.isEmpty() || QDir::isAbsolutePath(value))
            continue;
        qunsetenv(name);
        ignored.append(QString::fromLatin1(name));
        qCWarning(lcKeptFiles).noquote() << QStringLiteral("%1 is a relative path (%2) and is ignored.")
                                                .arg(QString::fromLatin1(name), value);
    }
    return ignored;
}
