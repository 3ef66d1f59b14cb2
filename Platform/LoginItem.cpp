#include "LoginItem.h"

#include "ExecLine.h"
#include "KeptFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// One line of an entry and the line end that follows it ("\r\n", "\n", or
// nothing for a last line without one), so that an edit keeps the file's ends.
struct Line {
    QByteArray text;
    QByteArray end;
};

// An entry as lines, with the byte-order mark it may begin with kept apart.
struct EntryLines {
    static constexpr char bom[] = "\xEF\xBB\xBF";

    bool hasBom = false;
    QList<Line> lines;

    explicit EntryLines(QByteArray data)
    {
        hasBom = data.startsWith(bom);
        if (hasBom)
            data.remove(0, 3);
        qsizetype start = 0;
        while (start < data.size()) {
            const qsizetype newline = data.indexOf('\n', start);
            if (newline < 0) {
                lines.append({data.mid(start), {}});
                break;
            }
            const bool crlf = newline > start && data[newline - 1] == '\r';
            const qsizetype textEnd = crlf ? newline - 1 : newline;
            lines.append({data.mid(start, textEnd - start), crlf ? "\r\n" : "\n"});
            start = newline + 1;
        }
    }

    QByteArray joined() const
    {
        QByteArray data = hasBom ? QByteArray(bom) : QByteArray();
        for (const Line &line : lines)
            data += line.text + line.end;
        return data;
    }

    // The line end this file uses: its first one, or LF for a file with none.
    QByteArray end() const
    {
        for (const Line &line : lines) {
            if (!line.end.isEmpty())
                return line.end;
        }
        return "\n";
    }

    // Calls `visit` with the line number, key and value of each entry of the
    // [Desktop Entry] group; returns the group's header line, or -1 when there is none.
    qsizetype mainGroup(
        const std::function<void(qsizetype, const QByteArray &, const QByteArray &)> &visit) const
    {
        qsizetype header = -1;
        bool inMainGroup = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray line = lines[i].text.trimmed();
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
};

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
        .arg(QString::fromUtf8(ExecLine::argument(program)), name)
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
    EntryLines(entry.data).mainGroup([&](qsizetype, const QByteArray &key, const QByteArray &value) {
        switchedOff = switchedOff || (key == "Hidden" && value == "true")
            || (key == "X-GNOME-Autostart-enabled" && value == "false");
    });
    return switchedOff ? Status::notRegistered : Status::enabled;
}

QByteArray AutostartLoginItem::editedEntry(
    const QByteArray &entry, const QString &program, bool enable, const QString &name, QString *refusal)
{
    EntryLines edited(entry);
    bool hasExec = false;
    const qsizetype groupLine
        = edited.mainGroup([&](qsizetype i, const QByteArray &key, const QByteArray &value) {
              QByteArray &text = edited.lines[i].text;
              if (key == "Exec") {
                  hasExec = true;
                  if (const QByteArray wanted = ExecLine::startingProgram(value, program, refusal);
                      wanted != value) {
                      // Only the value changes: the spaces around it stay the user's.
                      const qsizetype start = text.indexOf(value, text.indexOf('=') + 1);
                      text = text.left(start) + wanted + text.mid(start + value.size());
                  }
              } else if (enable && key == "Hidden" && value != "false") {
                  text = "Hidden=false";
              } else if (enable && key == "X-GNOME-Autostart-enabled" && value != "true") {
                  text = "X-GNOME-Autostart-enabled=true";
              }
          });
    if (groupLine < 0)
        return desktopEntry(program, name);
    if (!hasExec) {
        Line &header = edited.lines[groupLine];
        const QByteArray end = header.end.isEmpty() ? edited.end() : header.end;
        // A header that ended the file without a line end gets one; the file still ends as it did.
        const QByteArray execEnd = header.end.isEmpty() ? QByteArray() : end;
        header.end = end;
        edited.lines.insert(groupLine + 1, {"Exec=" + ExecLine::argument(program), execEnd});
    }
    return edited.joined();
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
        QString refusal;
        const QByteArray wanted = entry.wasRead()
            ? editedEntry(entry.data, m_program, enable, m_name, &refusal)
            : desktopEntry(m_program, m_name);
        // The user's line stays as it is rather than start nothing.
        if (!refusal.isEmpty())
            throw FileError(m_filePath, QStringLiteral("its Exec line is left as it is: %1").arg(refusal));
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
    const QByteArray path = QFile::encodeName(m_filePath);
    const auto refuse = [&](const QString &what) {
        throw LoginItemError(
            QStringLiteral("%1: %2, not an entry; left as it is").arg(m_filePath, what).toStdString());
    };
    const auto fail = [&](int error) {
        throw LoginItemError(QStringLiteral("%1: %2")
                                 .arg(m_filePath, QString::fromLocal8Bit(std::strerror(error)))
                                 .toStdString());
    };
    struct stat status { };
    if (::lstat(path.constData(), &status) != 0) {
        // An entry that is not there already means "do not start at login".
        if (errno == ENOENT || errno == ENOTDIR)
            return;
        fail(errno);
    }
    // Only what could be an entry is removed: a file, or a link to one. A link
    // that leads nowhere starts nothing either.
    if (S_ISLNK(status.st_mode)) {
        struct stat target { };
        if (::stat(path.constData(), &target) == 0 && !S_ISREG(target.st_mode))
            refuse(QStringLiteral("a symbolic link to %1").arg(PrivateFiles::kindOf(target.st_mode)));
    } else if (!S_ISREG(status.st_mode)) {
        refuse(PrivateFiles::kindOf(status.st_mode));
    }
    if (::unlink(path.constData()) != 0 && errno != ENOENT)
        fail(errno);
}
