#include "ExecLine.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QStandardPaths>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <sys/stat.h>

namespace {
bool among(char c, const char *set)
{
    return c != '\0' && std::strchr(set, c);
}

// How the text a word was split from is quoted: the Exec value's own rules,
// a shell's command string, or env's split string.
enum class Syntax { desktop, shell, envSplit };

// Where one byte of a word was written in the text it was split from, and
// inside which quote ('\0': none).
struct Written {
    qsizetype begin = 0;
    qsizetype end = 0;
    char quote = '\0';
};

struct Word {
    QByteArray text; // once unquoted
    QList<Written> bytes; // one for each byte of text
    qsizetype begin = 0; // the word as written, quotes included
    qsizetype end = 0;
    int container = -1; // the word whose text it was split from; -1: the Exec value
    Syntax syntax = Syntax::desktop; // the quoting of that text
    bool literal = true; // holds no expansion ($…, `…`)
    bool command = false; // stands where a command's name goes
    bool operand = false; // an option's argument or a redirection's file
    bool split = false; // its text was read as words of its own
    bool script = false; // a shell's command string or env's split string, read or not
};

// The words of one text, collected as a splitter meets them, in commands.
class Words {
public:
    explicit Words(Syntax syntax)
        : m_syntax(syntax)
    {
    }

    bool isOpen() const { return m_open; }
    // A word begins here, maybe with no byte yet (an empty quote).
    void open(qsizetype at)
    {
        if (m_open)
            return;
        m_word = {};
        m_word.syntax = m_syntax;
        m_word.begin = at;
        m_open = true;
    }
    void add(char byte, qsizetype begin, qsizetype end, char quote = '\0')
    {
        open(begin);
        m_word.text += byte;
        m_word.bytes.append({begin, end, quote});
    }
    void expansion(qsizetype at)
    {
        open(at);
        m_word.literal = false;
    }
    void close(qsizetype at)
    {
        if (!m_open)
            return;
        m_word.end = at;
        m_word.operand = m_redirected;
        m_redirected = false;
        m_commands.last().append(m_word);
        m_open = false;
    }
    void endCommand(qsizetype at)
    {
        close(at);
        if (!m_commands.last().isEmpty())
            m_commands.append(QList<Word>());
    }
    // The next word names a redirection's file; digits just before it, its descriptor.
    void redirect(qsizetype at)
    {
        const bool descriptor = m_open && !m_word.text.isEmpty()
            && std::all_of(m_word.bytes.cbegin(), m_word.bytes.cend(),
                [&](const Written &b) { return b.quote == '\0' && b.end == b.begin + 1; })
            && std::all_of(
                m_word.text.cbegin(), m_word.text.cend(), [](char c) { return std::isdigit(uchar(c)); });
        if (descriptor)
            m_open = false;
        close(at);
        m_redirected = true;
    }
    QList<QList<Word>> commands()
    {
        if (m_commands.last().isEmpty())
            m_commands.removeLast();
        return m_commands;
    }

private:
    Syntax m_syntax;
    Word m_word;
    bool m_open = false;
    bool m_redirected = false;
    QList<QList<Word>> m_commands = {QList<Word>()};
};

using Split = std::optional<QList<QList<Word>>>;

// The Exec value's arguments: the string escapes (\s, \t, \n, \r, \\) first,
// then quoting, and %% for % throughout. Nothing when a quote is left open.
Split splitDesktop(const QByteArray &value)
{
    QByteArray chars;
    QList<qsizetype> starts;
    for (qsizetype i = 0; i < value.size(); ++i) {
        starts.append(i);
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] == '\\' && among(next, "stnr\\")) {
            chars += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            chars += value[i];
        }
    }
    starts.append(value.size());

    Words words(Syntax::desktop);
    const qsizetype count = chars.size();
    const auto percent = [&](qsizetype i) { return chars[i] == '%' && i + 1 < count && chars[i + 1] == '%'; };
    for (qsizetype i = 0; i < count;) {
        if (chars[i] == ' ' || chars[i] == '\t') {
            words.close(starts[i++]);
        } else if (chars[i] == '#' && !words.isOpen()) {
            break; // a comment, as desktops read it
        } else if (chars[i] == '\\' && i + 1 < count) {
            // Outside quotes a backslash keeps the next character as it is, as in a shell.
            const qsizetype step = percent(i + 1) ? 3 : 2;
            if (chars[i + 1] != '\n')
                words.add(chars[i + 1], starts[i], starts[i + step]);
            i += step;
        } else if (chars[i] == '"') {
            words.open(starts[i]);
            for (++i; i < count && chars[i] != '"'; ++i) {
                const qsizetype from = i;
                if ((chars[i] == '\\' && i + 1 < count && among(chars[i + 1], "\"`$\\")) || percent(i))
                    ++i;
                words.add(chars[i], starts[from], starts[i + 1], '"');
            }
            if (i++ == count)
                return std::nullopt;
        } else if (chars[i] == '\'') {
            // Not the format's own quoting, but desktops read the value as a
            // shell would, and people write it so.
            words.open(starts[i]);
            for (++i; i < count && chars[i] != '\'';) {
                const qsizetype step = percent(i) ? 2 : 1;
                words.add(chars[i], starts[i], starts[i + step], '\'');
                i += step;
            }
            if (i++ == count)
                return std::nullopt;
        } else {
            const qsizetype step = percent(i) ? 2 : 1;
            words.add(chars[i], starts[i], starts[i + step]);
            i += step;
        }
    }
    words.close(value.size());
    return words.commands();
}

// Where the shell expansion at `i` ($NAME, ${…}, $(…), `…`) ends; -1 when it is left open.
qsizetype expansionEnd(const QByteArray &text, qsizetype i)
{
    const qsizetype n = text.size();
    if (text[i] == '`') {
        for (qsizetype k = i + 1; k < n; ++k) {
            if (text[k] == '\\')
                ++k;
            else if (text[k] == '`')
                return k + 1;
        }
        return -1;
    }
    const char open = i + 1 < n ? text[i + 1] : '\0';
    if (open == '(' || open == '{') {
        const char close = open == '(' ? ')' : '}';
        int depth = 0;
        for (qsizetype k = i + 1; k < n; ++k) {
            if (text[k] == '\\') {
                ++k;
            } else if (text[k] == '\'' && open == '(') {
                k = text.indexOf('\'', k + 1);
                if (k < 0)
                    return -1;
            } else if (text[k] == open) {
                ++depth;
            } else if (text[k] == close && --depth == 0) {
                return k + 1;
            }
        }
        return -1;
    }
    if (among(open, "@*#?$!-0123456789"))
        return i + 2;
    qsizetype k = i + 1;
    while (k < n && (std::isalnum(uchar(text[k])) || text[k] == '_'))
        ++k;
    return k;
}

// Reads the double-quoted part at `i` into the word, past its closing quote:
// `special` bytes are read by `inside`, which moves `i` past what it read and
// says whether it could read it. False when the part cannot be read or is
// left open.
template<typename Inside>
bool doubleQuoted(const QByteArray &text, qsizetype &i, Words &words, const char *special, Inside inside)
{
    words.open(i);
    for (++i; i < text.size() && text[i] != '"';) {
        if (!among(text[i], special)) {
            words.add(text[i], i, i + 1, '"');
            ++i;
        } else if (!inside()) {
            return false;
        }
    }
    return i++ < text.size();
}

// A shell's command string as its simple commands (split at ; & | ( ) and
// new lines), quotes and escapes read as the shell reads them.
Split splitShell(const QByteArray &text)
{
    Words words(Syntax::shell);
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto expansion = [&](char quote) {
        const qsizetype end = expansionEnd(text, i);
        if (end < 0)
            return false;
        words.expansion(i);
        for (; i < end; ++i)
            words.add(text[i], i, i + 1, quote);
        return true;
    };
    while (i < n) {
        const char c = text[i];
        if (c == ' ' || c == '\t') {
            words.close(i++);
        } else if (c == '#' && !words.isOpen()) {
            i = text.indexOf('\n', i);
            i = i < 0 ? n : i;
        } else if (among(c, ";&|()\n")) {
            words.endCommand(i++);
        } else if (c == '<' || c == '>') {
            words.redirect(i);
            for (++i; i < n && among(text[i], "<>&|-");)
                ++i;
        } else if (c == '\'') {
            words.open(i);
            const qsizetype close = text.indexOf('\'', i + 1);
            if (close < 0)
                return std::nullopt;
            for (++i; i < close; ++i)
                words.add(text[i], i, i + 1, '\'');
            ++i;
        } else if (c == '"') {
            const bool read = doubleQuoted(text, i, words, "\\$`", [&] {
                if (text[i] != '\\')
                    return expansion('"');
                if (i + 1 < n && among(text[i + 1], "$`\"\\\n")) {
                    if (text[i + 1] != '\n')
                        words.add(text[i + 1], i, i + 2, '"');
                    i += 2;
                } else {
                    words.add(text[i], i, i + 1, '"');
                    ++i;
                }
                return true;
            });
            if (!read)
                return std::nullopt;
        } else if (c == '\\') {
            if (i + 1 < n && text[i + 1] != '\n')
                words.add(text[i + 1], i, i + 2);
            i += 2;
        } else if (among(c, "$`")) {
            if (!expansion('\0'))
                return std::nullopt;
        } else {
            words.add(c, i, i + 1);
            ++i;
        }
    }
    words.close(n);
    return words.commands();
}

// env's split string from `from` on, as env -S reads it: its own escapes,
// ${NAME}, and # or \c ending it.
Split splitEnvString(const QByteArray &text, qsizetype from)
{
    Words words(Syntax::envSplit);
    const qsizetype n = text.size();
    // The byte an escape stands for; '\0' for one env refuses.
    const auto escaped = [](char c) -> char {
        switch (c) {
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        case '_':
            return ' ';
        default:
            return among(c, "#$\"'\\") ? c : '\0';
        }
    };
    qsizetype i = from;
    const auto variable = [&](char quote) {
        const qsizetype close = text.indexOf('}', i);
        if (i + 1 >= n || text[i + 1] != '{' || close < 0)
            return false;
        words.expansion(i);
        for (; i <= close; ++i)
            words.add(text[i], i, i + 1, quote);
        return true;
    };
    while (i < n) {
        const char c = text[i];
        const char next = i + 1 < n ? text[i + 1] : '\0';
        if (among(c, " \t\n\r\v\f")) {
            words.close(i++);
        } else if ((c == '#' && !words.isOpen()) || (c == '\\' && next == 'c')) {
            break;
        } else if (c == '\'') {
            words.open(i);
            for (++i; i < n && text[i] != '\''; ++i) {
                const qsizetype at = i;
                if (text[i] == '\\' && i + 1 < n && among(text[i + 1], "\\'"))
                    ++i;
                words.add(text[i], at, i + 1, '\'');
            }
            if (i++ == n)
                return std::nullopt;
        } else if (c == '"') {
            const bool read = doubleQuoted(text, i, words, "\\$", [&] {
                if (text[i] != '\\')
                    return variable('"');
                const char byte = i + 1 < n ? escaped(text[i + 1]) : '\0';
                if (byte)
                    words.add(byte, i, i + 2, '"');
                i += 2;
                return byte != '\0';
            });
            if (!read)
                return std::nullopt;
        } else if (c == '\\' && next == '_') {
            words.close(i);
            i += 2;
        } else if (c == '\\') {
            if (!escaped(next))
                return std::nullopt;
            words.add(escaped(next), i, i + 2);
            i += 2;
        } else if (c == '$') {
            if (!variable('\0'))
                return std::nullopt;
        } else {
            words.add(c, i, i + 1);
            ++i;
        }
    }
    words.close(std::min(i, n));
    return words.commands();
}

// The desktop entry format's reserved characters: an Exec argument holding one must be quoted.
bool needsQuotes(const QByteArray &argument)
{
    return argument.isEmpty() || std::any_of(argument.begin(), argument.end(), [](char c) {
        return among(c, " \t\n\"'\\><~|&;$*?#()`");
    });
}

// Whether a shell or env reads the text as one word as it stands.
bool bare(const QByteArray &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
        return uchar(c) >= 0x80 || std::isalnum(uchar(c)) || among(c, "_/.,:+@%=-");
    });
}

QByteArray backslashed(const QByteArray &text, const char *special)
{
    QByteArray out;
    for (const char c : text) {
        if (among(c, special))
            out += '\\';
        out += c;
    }
    return out;
}

// The text as the syntax writes it inside `quote` ('\0': outside any), to be read back as the text.
QByteArray written(Syntax syntax, const QByteArray &text, char quote)
{
    switch (syntax) {
    case Syntax::desktop: {
        const bool wrapped = quote == '\0' && needsQuotes(text);
        QByteArray out = quote == '\'' ? QByteArray(text).replace('\'', "'\\''")
            : quote == '\0' && !wrapped ? text
                                        : backslashed(text, "\"`$\\");
        if (wrapped)
            out = '"' + out + '"';
        // Then escaped once more as a string value.
        // Line breaks and tabs as escapes: raw ones would end the entry's line.
        return out.replace('\\', "\\\\").replace('%', "%%").replace('\n', "\\n").replace('\r', "\\r").replace('\t', "\\t");
    }
    case Syntax::shell:
        if (quote == '"')
            return backslashed(text, "$`\"\\");
        if (quote == '\0' && bare(text))
            return text;
        return quote == '\0' ? '\'' + QByteArray(text).replace('\'', "'\\''") + '\''
                             : QByteArray(text).replace('\'', "'\\''");
    case Syntax::envSplit:
        if (quote == '\0' && bare(text))
            return text;
        return quote == '\0' ? '\'' + backslashed(text, "'\\") + '\''
                             : backslashed(text, quote == '"' ? "\"\\$" : "'\\");
    }
    return text;
}

QByteArray fileName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat first { };
    struct stat second { };
    return ::stat(a.constData(), &first) == 0 && ::stat(b.constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Whether a word is this program: the same path, the same file through a
// link, or a bare name that the search path finds as this file.
bool isProgram(const QByteArray &named, const QByteArray &path)
{
    if (named == path)
        return true;
    if (named.contains('/'))
        return named.startsWith('/') && sameFile(named, path);
    const QString found = QStandardPaths::findExecutable(QFile::decodeName(named));
    return !found.isEmpty() && sameFile(QFile::encodeName(found), path);
}

// An edit of a text: [begin, end) becomes `text`.
struct Edit {
    qsizetype begin;
    qsizetype end;
    QByteArray text;
};

QByteArray applied(QByteArray text, QList<Edit> edits)
{
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.begin > b.begin; });
    for (const Edit &edit : edits)
        text.replace(edit.begin, edit.end - edit.begin, edit.text);
    return text;
}

// Every word of an Exec value, at every depth, with what each one stands for.
class ExecWords {
public:
    explicit ExecWords(const QByteArray &value)
        : m_value(value)
    {
        const Split split = splitDesktop(value);
        if (!split)
            return;
        read = true;
        scanCommand(adopt(split->value(0), -1));
    }

    bool read = false;
    QList<Word> words;

    // The text the word was split from.
    const QByteArray &around(const Word &word) const
    {
        return word.container < 0 ? m_value : words[word.container].text;
    }

    // The value with the edits made, given by the word whose text they edit
    // (-1: the value): deepest first, each word's edits become edits of the
    // text it was written in, escaped as its quotes there want.
    QByteArray edited(QMap<int, QList<Edit>> edits) const
    {
        const auto depth = [&](int index) {
            int levels = 0;
            for (; index >= 0; index = words[index].container)
                ++levels;
            return levels;
        };
        while (edits.size() > 1 || !edits.contains(-1)) {
            const QList<int> holders = edits.keys();
            const int deepest = *std::max_element(
                holders.begin(), holders.end(), [&](int a, int b) { return depth(a) < depth(b); });
            const QList<Edit> inner = edits.take(deepest);
            const Word &word = words[deepest];
            const bool eachInOneQuote = std::all_of(inner.begin(), inner.end(), [&](const Edit &edit) {
                for (qsizetype k = edit.begin; k < edit.end; ++k) {
                    if (word.bytes[k].quote != word.bytes[edit.begin].quote)
                        return false;
                }
                return true;
            });
            QList<Edit> &outer = edits[word.container];
            if (!eachInOneQuote) {
                outer.append({word.begin, word.end, written(word.syntax, applied(word.text, inner), '\0')});
                continue;
            }
            for (const Edit &edit : inner) {
                const Written &first = word.bytes[edit.begin];
                outer.append({first.begin, word.bytes[edit.end - 1].end,
                    written(word.syntax, edit.text, first.quote)});
            }
        }
        return applied(m_value, edits.value(-1));
    }

private:
    QList<int> adopt(const QList<Word> &found, int container)
    {
        QList<int> indices;
        for (Word word : found) {
            word.container = container;
            indices.append(int(words.size()));
            words.append(word);
        }
        return indices;
    }

    static bool isAssignment(const QByteArray &text)
    {
        const qsizetype equals = text.indexOf('=');
        return equals > 0 && !std::isdigit(uchar(text[0]))
            && std::all_of(text.begin(), text.begin() + equals,
                [](char c) { return std::isalnum(uchar(c)) || c == '_'; });
    }

    // A command: in a shell, its assignments, redirections and `exec` first,
    // then its name; env's and a shell's arguments are read on.
    void scanCommand(const QList<int> &sequence)
    {
        static const QList<QByteArray> beforeTheName{
            "exec", "!", "{", "if", "then", "else", "elif", "do", "while", "until"};
        qsizetype i = 0;
        for (; i < sequence.size(); ++i) {
            const Word &word = words[sequence[i]];
            const bool shell = word.syntax == Syntax::shell;
            if (!word.operand && !(shell && (isAssignment(word.text) || beforeTheName.contains(word.text))))
                break;
        }
        if (i == sequence.size())
            return;
        words[sequence[i]].command = true;
        const QByteArray name = fileName(words[sequence[i]].text);
        const QList<int> arguments = sequence.mid(i + 1);
        if (name == "env") {
            scanEnv(arguments);
        } else if (name == "sh" || name == "bash" || name == "dash" || name == "zsh") {
            scanShell(arguments);
        } else if (name == "cd" || name == "pushd") {
            // A folder, however it is named.
            for (const int argument : arguments)
                words[argument].operand = true;
        } else if (const Wrapper *wrapper = wrapperNamed(name)) {
            scanWrapper(*wrapper, arguments);
        }
    }

    // A program that runs the command after its options: the short options
    // that take a value, the long ones, and how many operands come first
    // (timeout's duration, taskset's mask, chrt's priority).
    struct Wrapper {
        QByteArray name;
        const char *valued;
        QList<QByteArray> valuedLong;
        int operands;
    };

    static const Wrapper *wrapperNamed(const QByteArray &name)
    {
        static const QList<Wrapper> wrappers{
            {"nohup", "", {}, 0},
            {"setsid", "", {}, 0},
            {"nice", "n", {"adjustment"}, 0},
            {"ionice", "cn", {"class", "classdata"}, 0},
            {"stdbuf", "ioe", {"input", "output", "error"}, 0},
            {"timeout", "sk", {"signal", "kill-after"}, 1},
            {"chrt", "", {}, 1},
            {"taskset", "", {}, 1},
            {"time", "fo", {"format", "output"}, 0},
            {"systemd-inhibit", "", {"what", "who", "why", "mode"}, 0},
            {"systemd-run", "pEuM",
                {"property", "setenv", "unit", "machine", "description", "slice", "uid", "gid", "nice",
                    "working-directory"},
                0},
            {"systemd-cat", "tp", {"identifier", "priority", "stderr-priority", "level-prefix"}, 0},
            {"dbus-run-session", "", {"config-file", "dbus-daemon"}, 0},
            {"dbus-launch", "", {"config-file"}, 0},
            {"xvfb-run", "nsefp", {"server-num", "server-args", "error-file", "auth-file", "xauth-protocol"}, 0},
            {"gamemoderun", "", {}, 0},
            {"prime-run", "", {}, 0},
            {"firejail", "", {}, 0},
            {"torsocks", "", {}, 0},
        };
        const auto found = std::find_if(
            wrappers.begin(), wrappers.end(), [&](const Wrapper &wrapper) { return wrapper.name == name; });
        return found == wrappers.end() ? nullptr : &*found;
    }

    void scanWrapper(const Wrapper &wrapper, const QList<int> &arguments)
    {
        int operands = wrapper.operands;
        bool options = true;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QByteArray text = words[arguments[i]].text;
            if (options && text.size() > 1 && text[0] == '-') {
                options = text != "--";
                const bool valued = text.startsWith("--")
                    ? !text.contains('=') && wrapper.valuedLong.contains(text.mid(2))
                    : text.size() == 2 && among(text[1], wrapper.valued);
                if (valued && ++i < arguments.size())
                    words[arguments[i]].operand = true;
            } else if (operands-- == 0) {
                return scanCommand(arguments.mid(i));
            }
        }
    }

    // env's options (-i, -, -0, -v, -u NAME, -C DIR, -S STRING, their long
    // forms, the signal options), its assignments, then the command.
    void scanEnv(const QList<int> &arguments)
    {
        bool options = true;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QByteArray text = words[arguments[i]].text;
            if (options && (text == "--" || text == "-")) {
                options = text == "-";
                continue;
            }
            if (options && text.startsWith("--")) {
                const qsizetype equals = text.indexOf('=');
                const QByteArray option = text.mid(2, equals < 0 ? -1 : equals - 2);
                if (equals < 0 && (option == "unset" || option == "chdir" || option == "split-string")) {
                    if (++i == arguments.size())
                        return;
                    words[arguments[i]].operand = true;
                }
                if (option == "split-string")
                    return splitString(arguments[i], equals < 0 ? 0 : equals + 1, arguments.mid(i + 1));
                continue;
            }
            if (options && text.size() > 1 && text[0] == '-') {
                for (qsizetype j = 1; j < text.size(); ++j) {
                    if (among(text[j], "i0v"))
                        continue;
                    // An option env does not have: it starts nothing.
                    if (!among(text[j], "uCS"))
                        return;
                    const bool joined = j + 1 < text.size();
                    if (!joined && ++i == arguments.size())
                        return;
                    if (text[j] == 'S')
                        return splitString(arguments[i], joined ? j + 1 : 0, arguments.mid(i + 1));
                    words[arguments[i]].operand = !joined;
                    break;
                }
                continue;
            }
            options = false;
            if (!text.contains('=')) {
                scanCommand(arguments.mid(i));
                return;
            }
        }
    }

    void splitString(int holder, qsizetype from, const QList<int> &rest)
    {
        words[holder].script = true;
        const Split split = splitEnvString(words[holder].text, from);
        if (!split)
            return;
        words[holder].split = true;
        scanEnv(adopt(split->value(0), holder) + rest);
    }

    // A shell's options; with -c, its first operand is the command string.
    void scanShell(const QList<int> &arguments)
    {
        bool commandString = false;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QByteArray text = words[arguments[i]].text;
            const bool ends = text == "--" || text == "-";
            if (!ends && text.startsWith("--")) {
                if ((text == "--rcfile" || text == "--init-file") && ++i < arguments.size())
                    words[arguments[i]].operand = true;
                continue;
            }
            if (!ends && text.size() > 1 && (text[0] == '-' || text[0] == '+')) {
                commandString = commandString || (text[0] == '-' && text.contains('c'));
                if ((text.contains('o') || text.contains('O')) && ++i < arguments.size())
                    words[arguments[i]].operand = true;
                continue;
            }
            if (ends && ++i == arguments.size())
                return;
            if (!commandString)
                return; // a script's file
            const int holder = arguments[i];
            words[holder].script = true;
            const Split split = splitShell(words[holder].text);
            if (!split)
                return;
            words[holder].split = true;
            for (const QList<Word> &command : *split)
                scanCommand(adopt(command, holder));
            return;
        }
    }

    QByteArray m_value;
};
} // namespace

QByteArray ExecLine::argument(const QString &program, bool quote)
{
    const QByteArray path = QFile::encodeName(program);
    return quote ? '"' + written(Syntax::desktop, path, '"') + '"' : written(Syntax::desktop, path, '\0');
}

QByteArray ExecLine::startingProgram(const QByteArray &value, const QString &program)
{
    const ExecWords line(value);
    if (!line.read)
        return argument(program);
    const QByteArray path = QFile::encodeName(program);
    const QByteArray name = fileName(path);
    // An expansion ending in the program's name may well be it: the user's line stays.
    // The search path is asked only where a command goes or for the program's
    // own name: a line of many words would otherwise take seconds.
    const auto names = [&](const Word &word) {
        if (word.split)
            return false;
        // A command this reading cannot follow may be one the shell can: it stays.
        if (word.script)
            return word.text.contains(name);
        if (!word.literal)
            return fileName(word.text) == name;
        // A shell reads an unquoted ~/ as the home folder.
        if (word.syntax == Syntax::shell && word.text.startsWith("~/") && word.bytes[0].quote == '\0')
            return isProgram(qgetenv("HOME") + word.text.mid(1), path);
        const bool looked = word.command || word.text.contains('/') || word.text == name;
        return looked && isProgram(word.text, path);
    };
    if (std::any_of(line.words.begin(), line.words.end(), names))
        return value;

    // Where a command goes the old path is surely the program; a word among a
    // program's arguments is taken for it only when no command is (an unknown
    // wrapper), so a folder of the same name, as in `cd`, stays.
    const auto named = [&](const Word &word) {
        return word.literal && !word.script && !word.operand && fileName(word.text) == name;
    };
    const bool commandNamed = std::any_of(
        line.words.begin(), line.words.end(), [&](const Word &word) { return word.command && named(word); });
    QMap<int, QList<Edit>> edits;
    for (const Word &word : line.words) {
        const bool moved = named(word)
            && (word.command
                || (!commandNamed && word.text.contains('/')
                    && !QFileInfo(QFile::decodeName(word.text)).isDir()));
        if (!moved)
            continue;
        // Quoted as the old one was, or as the new path needs.
        const char opening = line.around(word).at(word.begin);
        const char quote = among(opening, "'\"") ? opening : '\0';
        edits[word.container].append({word.begin, word.end,
            quote == '\0' ? written(word.syntax, path, '\0')
                          : quote + written(word.syntax, path, quote) + quote});
    }
    if (!edits.isEmpty())
        return line.edited(edits);

    // Another program: this one in its stead, after the env prefix.
    const auto command = std::find_if(line.words.rbegin(), line.words.rend(),
        [](const Word &word) { return word.container < 0 && word.command; });
    if (command == line.words.rend())
        return argument(program);
    return value.left(command->begin) + argument(program, value.at(command->begin) == '"');
}
