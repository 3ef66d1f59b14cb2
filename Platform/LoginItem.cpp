#include "LoginItem.h"

#include "KeptFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The desktop entry format's reserved characters: an Exec argument holding one must be quoted.
bool needsQuotes(const QString &argument)
{
    return argument.isEmpty() || std::any_of(argument.begin(), argument.end(), [](QChar c) {
        return QStringView(u" \t\n\"'\\><~|&;$*?#()`").contains(c);
    });
}

// One argument of an Exec line, quoted (when `quote` or when it must be) as
// the desktop entry format wants, then escaped once more as a string value.
QString execArgument(const QString &argument, bool quote = true)
{
    QString quoted;
    if (quote || needsQuotes(argument)) {
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted = u'"' + quoted + u'"';
    } else {
        quoted = argument;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

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

// One argument of an Exec value: its text once unescaped and unquoted, and
// where it lies in the value as written.
struct ExecArgument {
    QByteArray text;
    qsizetype begin = 0;
    qsizetype end = 0;
    bool quoted = false;
};

// The arguments of an Exec value as the desktop entry format reads them: the
// string escapes (\s, \t, \n, \r, \\) first, then quoting, then %% for %.
// Nothing when a quote is left open.
std::optional<QList<ExecArgument>> execArguments(const QByteArray &value)
{
    // Each character after the string escapes, and where it starts in `value`.
    QByteArray chars;
    QList<qsizetype> starts;
    for (qsizetype i = 0; i < value.size(); ++i) {
        starts.append(i);
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] == '\\' && next && std::strchr("stnr\\", next)) {
            chars += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            chars += value[i];
        }
    }
    starts.append(value.size());

    QList<ExecArgument> arguments;
    const qsizetype count = chars.size();
    const auto isSpace = [&](qsizetype i) { return chars[i] == ' ' || chars[i] == '\t'; };
    qsizetype i = 0;
    while (true) {
        while (i < count && isSpace(i))
            ++i;
        if (i == count)
            return arguments;
        ExecArgument argument;
        argument.begin = starts[i];
        argument.quoted = chars[i] == '"';
        while (i < count && !isSpace(i)) {
            if (chars[i] == '"') {
                for (++i; i < count && chars[i] != '"'; ++i) {
                    if (chars[i] == '\\' && i + 1 < count && std::strchr("\"`$\\", chars[i + 1]))
                        ++i;
                    argument.text += chars[i];
                }
                if (i == count)
                    return std::nullopt;
                ++i;
            } else {
                argument.text += chars[i];
                i += chars[i] == '%' && i + 1 < count && chars[i + 1] == '%' ? 2 : 1;
            }
        }
        argument.end = starts[i];
        arguments.append(argument);
    }
}

// Which argument names the program the Exec line starts: the first, or the
// first after `env` and its variable assignments. -1 when that is unclear.
qsizetype programArgument(const QList<ExecArgument> &arguments)
{
    if (arguments.isEmpty())
        return -1;
    qsizetype i = 0;
    const QByteArray &first = arguments[0].text;
    if (first == "env" || first.endsWith("/env")) {
        for (i = 1; i < arguments.size(); ++i) {
            const QByteArray &argument = arguments[i].text;
            if (argument == "-u" || argument == "--unset")
                ++i; // with the variable's name
            else if (argument.indexOf('=') <= 0 && argument != "-i" && argument != "--ignore-environment"
                && argument != "--")
                break;
        }
    }
    if (i >= arguments.size() || arguments[i].text.startsWith('-'))
        return -1;
    return i;
}

bool sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat first { };
    struct stat second { };
    return ::stat(a.constData(), &first) == 0 && ::stat(b.constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Whether an Exec line's program is this one: the same path, the same file
// through a link, or a bare name that the search path finds as this file.
bool isProgram(const QByteArray &named, const QString &program)
{
    const QByteArray path = QFile::encodeName(program);
    if (named == path)
        return true;
    if (named.contains('/'))
        return named.startsWith('/') && sameFile(named, path);
    const QString found = QStandardPaths::findExecutable(QFile::decodeName(named));
    return !found.isEmpty() && sameFile(QFile::encodeName(found), path);
}

// The Exec value that starts the program with what the user wrapped around it:
// the same value when it already starts it; the program's new place written
// over its old one when it moved (the same file name elsewhere), keeping the
// env prefix and the arguments; the program after that prefix when the value
// starts another program, whose arguments are not this one's.
QByteArray execValue(const QByteArray &value, const QString &program)
{
    const std::optional<QList<ExecArgument>> arguments = execArguments(value);
    // A wrapper this code does not read (env -C DIR, env -S "…", a shell)
    // that still names the program starts it: the user's line stays.
    if (arguments && std::any_of(arguments->cbegin(), arguments->cend(), [&](const ExecArgument &argument) {
            const QByteArray first = argument.text.trimmed().split(' ').value(0);
            return isProgram(argument.text, program) || (!first.isEmpty() && isProgram(first, program));
        }))
        return value;
    const qsizetype index = arguments ? programArgument(*arguments) : -1;
    if (index < 0)
        return execArgument(program).toUtf8();
    const ExecArgument &named = (*arguments)[index];
    const bool moved = QFileInfo(QFile::decodeName(named.text)).fileName() == QFileInfo(program).fileName();
    return value.left(named.begin) + execArgument(program, named.quoted).toUtf8()
        + (moved ? value.mid(named.end) : QByteArray());
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
    EntryLines(entry.data).mainGroup([&](qsizetype, const QByteArray &key, const QByteArray &value) {
        switchedOff = switchedOff || (key == "Hidden" && value == "true")
            || (key == "X-GNOME-Autostart-enabled" && value == "false");
    });
    return switchedOff ? Status::notRegistered : Status::enabled;
}

QByteArray AutostartLoginItem::editedEntry(
    const QByteArray &entry, const QString &program, bool enable, const QString &name)
{
    EntryLines edited(entry);
    bool hasExec = false;
    const qsizetype groupLine
        = edited.mainGroup([&](qsizetype i, const QByteArray &key, const QByteArray &value) {
              QByteArray &text = edited.lines[i].text;
              if (key == "Exec") {
                  hasExec = true;
                  if (const QByteArray wanted = execValue(value, program); wanted != value) {
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
        edited.lines.insert(groupLine + 1, {"Exec=" + execArgument(program).toUtf8(), execEnd});
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
        const QByteArray wanted = entry.wasRead() ? editedEntry(entry.data, m_program, enable, m_name)
                                                  : desktopEntry(m_program, m_name);
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
