// GLib first: its headers name a struct member as Qt's keywords are.
#include <glib.h>

#include "ExecLine.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// How many words of a value are read for the program: env's options and
// variables and its command are far fewer.
constexpr size_t mostWords = 1024;

bool among(char c, const char *set)
{
    return c != '\0' && std::strchr(set, c);
}

QByteArrayView fileName(QByteArrayView path)
{
    return path.sliced(path.lastIndexOf('/') + 1);
}

// Text read from a value, with where each of its bytes began in the value
// (`at` has one more: the value's end), so that a word maps back to its bytes.
struct Mapped {
    QByteArray text;
    std::vector<int> at;
};

// The string escapes undone (\s \n \t \r \\), as GLib reads a string value;
// any other escape stays as it is written (and GLib refuses the value).
Mapped unescaped(const QByteArray &value)
{
    Mapped out;
    out.text.reserve(value.size());
    out.at.reserve(value.size() + 1);
    for (qsizetype i = 0; i < value.size(); ++i) {
        out.at.push_back(int(i));
        static const char escapes[] = "sntr\\";
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] == '\\' && among(next, escapes))
            out.text += " \n\t\r\\"[std::strchr(escapes, value[++i]) - escapes];
        else
            out.text += value[i];
    }
    out.at.push_back(int(value.size()));
    return out;
}

// %% read as %, as desktops do before they split the command into words.
Mapped percentsJoined(const Mapped &in)
{
    Mapped out;
    out.text.reserve(in.text.size());
    out.at.reserve(in.at.size());
    for (qsizetype i = 0; i < in.text.size(); ++i) {
        out.at.push_back(in.at[i]);
        out.text += in.text[i];
        i += in.text[i] == '%' && i + 1 < in.text.size() && in.text[i + 1] == '%';
    }
    out.at.push_back(in.at.back());
    return out;
}

struct Word {
    QByteArray text; // unquoted
    qsizetype begin = 0; // as written, quotes included, in the split text
    qsizetype end = 0;
};

// The words of a command as g_shell_parse_argv splits them: blanks part
// them, quotes and backslashes as a shell reads them, and a # that begins a
// word after a space or a line break comments out the rest of its line. Only
// the first `kept` are kept; the rest are read to see that they can be.
std::optional<std::vector<Word>> shellWords(const QByteArray &s, size_t kept)
{
    std::vector<Word> words;
    QByteArray text; // one buffer for every word: most are only read past
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        if (among(s[i], " \t\n")) {
            ++i;
            continue;
        }
        if (s[i] == '#' && (i == 0 || s[i - 1] == ' ' || s[i - 1] == '\n')) {
            const qsizetype newline = s.indexOf('\n', i);
            i = newline < 0 ? n : newline;
            continue;
        }
        const qsizetype begin = i;
        text.resize(0);
        while (i < n && !among(s[i], " \t\n")) {
            if (s[i] == '\'') {
                const qsizetype close = s.indexOf('\'', i + 1);
                if (close < 0)
                    return std::nullopt;
                text += QByteArrayView(s).sliced(i + 1, close - i - 1);
                i = close + 1;
            } else if (s[i] == '"') {
                for (++i; i < n && s[i] != '"'; ++i) {
                    i += s[i] == '\\' && i + 1 < n && among(s[i + 1], "\"\\`$\n");
                    text += s[i];
                }
                if (i++ >= n)
                    return std::nullopt;
            } else if (s[i] == '\\') {
                if (i + 1 >= n)
                    return std::nullopt;
                if (s[i + 1] != '\n')
                    text += s[i + 1];
                i += 2;
            } else {
                text += s[i++];
            }
        }
        if (words.size() < kept)
            words.push_back({text, begin, i});
    }
    return words;
}

// Where the program itself is in the words: first, or after env's options and
// NAME=value words; -1 for any other shape (env -S, unknown options, no command).
qsizetype commandAt(const std::vector<Word> &words)
{
    if (words.empty())
        return -1;
    if (fileName(words[0].text) != "env")
        return 0;
    static const QList<QByteArray> flags{
        "ignore-environment", "null", "debug", "default-signal", "ignore-signal", "block-signal"};
    bool options = true;
    for (size_t i = 1; i < words.size(); ++i) {
        const QByteArray &text = words[i].text;
        if (options && (text == "--" || text == "-")) {
            options = text == "-";
        } else if (options && text.startsWith("--")) {
            const qsizetype equals = text.indexOf('=');
            const QByteArray option = text.mid(2, equals < 0 ? -1 : equals - 2);
            const bool valued = option == "unset" || option == "chdir";
            if (!valued && !flags.contains(option))
                return -1;
            i += valued && equals < 0;
        } else if (options && text.size() > 1 && text[0] == '-') {
            for (qsizetype j = 1; j < text.size(); ++j) {
                if (among(text[j], "i0v"))
                    continue;
                if (!among(text[j], "uC"))
                    return -1;
                i += j + 1 == text.size();
                break;
            }
        } else if (text.contains('=')) {
            options = false;
        } else {
            return qsizetype(i);
        }
    }
    return -1;
}

// The value's words with where they were written; none when GLib would start
// nothing. GLib reads the string and the words up to the command as they are.
struct Reading {
    Mapped split;
    std::vector<Word> words;
    qsizetype command = -1; // commandAt(), when GLib reads the words up to it so too

    explicit Reading(const QByteArray &value)
    {
        GKeyFile *file = g_key_file_new();
        g_key_file_set_value(file, "E", "Exec", value.constData());
        gchar *string = g_key_file_get_string(file, "E", "Exec", nullptr);
        g_key_file_free(file);
        const Mapped plain = unescaped(value);
        const bool same = string && plain.text == string;
        g_free(string);
        split = percentsJoined(plain);
        std::optional<std::vector<Word>> mine = shellWords(split.text, mostWords);
        if (!same || !mine)
            return;
        words = std::move(*mine);
        const qsizetype at = commandAt(words);
        gint count = 0;
        gchar **argv = nullptr;
        if (at < 0 || !g_shell_parse_argv(split.text.left(words[at].end).constData(), &count, &argv, nullptr))
            return;
        bool agrees = count == at + 1;
        for (qsizetype i = 0; agrees && i < count; ++i)
            agrees = words[i].text == argv[i];
        g_strfreev(argv);
        command = agrees ? at : -1;
    }
    qsizetype begin(const Word &word) const { return split.at[word.begin]; }
    qsizetype end(const Word &word) const { return split.at[word.end]; }
};

// A path written inside `quote` (none, ' or ") as a word of the value.
QByteArray written(const QByteArray &path, char quote)
{
    QByteArray word;
    for (const char c : path) {
        if (quote == '\'' && c == '\'')
            word += "'\\''";
        else if (quote == '"' && among(c, "\"`$\\"))
            word += QByteArray("\\") + c;
        else
            word += c;
    }
    word.replace('%', "%%");
    // The value's own string escapes last.
    word.replace('\\', "\\\\").replace('\n', "\\n").replace('\t', "\\t").replace('\r', "\\r");
    return quote == '\0' ? word : quote + word + quote;
}

bool needsQuotes(const QByteArray &path)
{
    return std::any_of(
        path.begin(), path.end(), [](char c) { return !(std::isalnum(uchar(c)) || among(c, "/._+,:@=%-")); });
}

// Whether a word names the program's file: its path, a link to it, or its
// name found on the search path.
bool startsIt(const QByteArray &word, const QByteArray &path)
{
    if (word == path)
        return true;
    QByteArray file = word;
    if (!word.contains('/'))
        file = QFile::encodeName(QStandardPaths::findExecutable(QFile::decodeName(word)));
    struct stat mine { };
    struct stat its { };
    return file.startsWith('/') && ::stat(path.constData(), &mine) == 0 && ::stat(file.constData(), &its) == 0
        && mine.st_dev == its.st_dev && mine.st_ino == its.st_ino;
}

// A word that names the program's file name where it is no longer: an
// absolute path or a bare name, not a relative or ~ spelling.
bool movedFrom(const QByteArray &word, const QByteArray &path)
{
    return fileName(word) == fileName(path) && (word.startsWith('/') || !word.contains('/'))
        && !startsIt(word, path);
}

// The home folder's spellings a shell expands at a word's start; a desktop
// takes them as written.
constexpr const char *homeSpellings[] = {"~/", "$HOME/", "${HOME}/"};

// The file a word names in the home folder as a shell reads it; empty when it is not spelled so.
QByteArray inHome(const QByteArray &word)
{
    for (const char *spelling : homeSpellings) {
        if (word.startsWith(spelling))
            return QFile::encodeName(QDir::homePath()) + word.mid(qsizetype(std::strlen(spelling)) - 1);
    }
    return {};
}

// The first path to the program's file name in the value that is not there:
// an absolute one, or one in the home folder (~/, $HOME/, ${HOME}/); only so
// many are looked at in a long value.
QByteArray gonePath(const QByteArray &value, const QByteArray &path)
{
    const QByteArray name = fileName(path).toByteArray();
    static const char *const ends = " \t\n;&|'\"()<>`$\\=";
    QSet<QByteArray> seen;
    for (qsizetype at = value.indexOf(name); at > 0 && seen.size() < 64; at = value.indexOf(name, at + 1)) {
        const qsizetype end = at + name.size();
        if (value[at - 1] != '/' || (end < value.size() && !among(value[end], ends)))
            continue;
        qsizetype start = at;
        while (start > 0 && !among(value[start - 1], ends))
            --start;
        // $ ends a word, but begins $HOME.
        const QByteArrayView rest = QByteArrayView(value).sliced(start);
        if (start > 0 && value[start - 1] == '$' && (rest.startsWith("HOME/") || rest.startsWith("{HOME}/")))
            --start;
        const QByteArray named = value.mid(start, end - start);
        const QByteArray file = named.startsWith('/') ? named : inHome(named);
        if (file.isEmpty() || file == path || seen.contains(named))
            continue;
        seen.insert(named);
        if (::access(file.constData(), F_OK) != 0)
            return named;
    }
    return {};
}
} // namespace

QByteArray ExecLine::argument(const QString &program, bool quote)
{
    const QByteArray path = QFile::encodeName(program);
    return written(path, quote || needsQuotes(path) ? '"' : '\0');
}

ExecLine::Start ExecLine::startingProgram(const QByteArray &value, const QString &program)
{
    const QByteArray path = QFile::encodeName(program);
    const QByteArray name = fileName(path).toByteArray();
    Start start;
    start.value = value;
    const Reading line(value);
    const qsizetype at = line.command;
    const QString unwritable = QStringLiteral("env would take the new path %1 for a variable").arg(program);
    if (at >= 0) {
        const Word &command = line.words[at];
        if (startsIt(command.text, path)) {
            start.direct = true;
            return start;
        }
        if (movedFrom(command.text, path)) {
            if (at > 0 && path.contains('=')) {
                start.refusal = unwritable;
                return start;
            }
            const qsizetype begin = line.begin(command);
            const char opening = value[begin];
            const char quote = opening == '\'' || opening == '"' ? opening : needsQuotes(path) ? '"' : '\0';
            start.value = value.left(begin) + written(path, quote) + value.mid(line.end(command));
            start.direct = true;
            return start;
        }
    }
    // The name however a shell may join it: without quotes, escapes, the `$`
    // of $'…' and line continuations.
    QByteArray unquoted = QByteArray(value).replace("\\\\", "\\").replace("\\n", "\n");
    unquoted.removeIf([](char c) { return among(c, "\\\"'$\n"); });
    if (value.contains(name) || unquoted.contains(name)) {
        start.gone = gonePath(value, path);
        if (start.gone.isEmpty() && at >= 0 && !inHome(line.words[at].text).isEmpty())
            start.unexpanded = line.words[at].text;
        return start;
    }
    // Another program: this one in its stead, after env's part.
    if (at > 0 && path.contains('=')) {
        start.refusal = unwritable;
        return start;
    }
    const qsizetype begin = at > 0 ? line.begin(line.words[at]) : 0;
    start.value = value.left(begin) + argument(program, at < 0 || value[begin] == '"');
    start.direct = true;
    return start;
}

QByteArray ExecLine::tryingProgram(const QByteArray &value, const QString &program)
{
    const QByteArray path = QFile::encodeName(program);
    if (!movedFrom(unescaped(value).text, path))
        return value;
    QByteArray escaped = path;
    return escaped.replace('\\', "\\\\").replace('\n', "\\n").replace('\t', "\\t").replace('\r', "\\r");
}

bool ExecLine::isThere(const QByteArray &tryExec)
{
    // As GLib looks for it: an empty one asks for nothing.
    const QByteArray program = unescaped(tryExec).text;
    if (program.isEmpty())
        return true;
    gchar *found = g_find_program_in_path(program.constData());
    const bool there = found != nullptr;
    g_free(found);
    return there;
}
