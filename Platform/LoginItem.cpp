#include "LoginItem.h"

#include "KeptFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <functional>

namespace {
// One argument of an Exec line, quoted as the desktop entry format wants, then
// escaped once more as a string value of the file.
QString execArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

// Calls `visit` with the line number, key and value of each entry of the
// [Desktop Entry] group; the group's header line, or -1 when there is none.
qsizetype mainGroup(const QList<QByteArray> &lines,
    const std::function<void(qsizetype, const QByteArray &, const QByteArray &)> &visit)
{
    qsizetype header = -1;
    bool inMainGroup = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            if (inMainGroup && header < 0)
                header = i;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inMainGroup && equals >= 0)
            visit(i, line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return header;
}
} // namespace

LoginItem::~LoginItem() = default;

AutostartLoginItem::AutostartLoginItem(QString desktopFilePath, QString program, QString name)
    : m_filePath(std::move(desktopFilePath))
    , m_program(std::move(program))
    , m_name(std::move(name))
{
}

QString AutostartLoginItem::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/com.velbrandtoro.Orvel.desktop");
}

QByteArray AutostartLoginItem::desktopEntry(const QString &program, const QString &name)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%2\n"
                          "Exec=%1\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(program), name)
        .toUtf8();
}

LoginItem::Status AutostartLoginItem::status() const
{
    if (m_program.isEmpty())
        return Status::notFound;
    // An entry that cannot be read starts nothing at login.
    const KeptRead entry = PrivateFiles::readCapped(m_filePath);
    if (!entry.wasRead())
        return Status::notRegistered;
    bool switchedOff = false;
    mainGroup(entry.data.split('\n'), [&](qsizetype, const QByteArray &key, const QByteArray &value) {
        switchedOff = switchedOff || (key == "Hidden" && value == "true")
            || (key == "X-GNOME-Autostart-enabled" && value == "false");
    });
    return switchedOff ? Status::notRegistered : Status::enabled;
}

QByteArray AutostartLoginItem::editedEntry(const QByteArray &entry, const QString &program, bool enable)
{
    const QByteArray exec = "Exec=" + execArgument(program).toUtf8();
    QList<QByteArray> lines = entry.split('\n');
    bool hasExec = false;
    const qsizetype groupLine = mainGroup(lines, [&](qsizetype i, const QByteArray &key, const QByteArray &) {
        if (key == "Exec") {
            lines[i] = exec;
            hasExec = true;
        } else if (enable && key == "Hidden") {
            lines[i] = "Hidden=false";
        } else if (enable && key == "X-GNOME-Autostart-enabled") {
            lines[i] = "X-GNOME-Autostart-enabled=true";
        }
    });
    if (groupLine < 0)
        return desktopEntry(program);
    if (!hasExec)
        lines.insert(groupLine + 1, exec);
    return lines.join('\n');
}

void AutostartLoginItem::update(bool enable)
{
    if (m_program.isEmpty())
        throw LoginItemError("the program to start at login is unknown");
    try {
        // The autostart folder is the desktop's, not ours: ordinary permissions.
        PrivateFiles::ensureDirectory(QFileInfo(m_filePath).path(), 0755);
        const KeptRead entry = PrivateFiles::readCapped(m_filePath);
        if (entry.isUnreadable())
            throw FileError(m_filePath, entry.description);
        const QByteArray wanted
            = entry.wasRead() ? editedEntry(entry.data, m_program, enable) : desktopEntry(m_program, m_name);
        if (!entry.wasRead() || wanted != entry.data)
            KeptFiles::replace(m_filePath, wanted);
    } catch (const FileError &error) {
        throw LoginItemError(QStringLiteral("%1: %2").arg(m_filePath, error.description).toStdString());
    }
}

void AutostartLoginItem::registerItem()
{
    update(true);
}

void AutostartLoginItem::keepRegistered()
{
    update(false);
}

void AutostartLoginItem::unregisterItem()
{
    QFile file(m_filePath);
    // An entry that is not there already means "do not start at login".
    if (file.exists() && !file.remove())
        throw LoginItemError(QStringLiteral("%1: %2").arg(m_filePath, file.errorString()).toStdString());
}
