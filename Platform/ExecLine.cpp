#include "ExecLine.h"

#include "PrivateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QMap>
#include <QStandardPaths>
#include <QVarLengthArray>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

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

// Bytes of a word written one for one in a row from `begin` on, or a single
// byte written as an escape from `begin` to `end`; `at` is where the run
// starts in the word. Entries are at most a few MB: int is enough.
struct Run {
    int at = 0;
    int begin = 0;
    int end = 0;
    char quote = '\0';
};

struct Word {
    QByteArray text; // once unquoted; the bytes lie in the text's arena
    QVarLengthArray<Run, 1> runs; // where each byte of text was written
    qsizetype begin = 0; // the word as written, quotes included
    qsizetype end = 0;
    int container = -1; // the word whose text it was split from; -1: the Exec value
    int depth = 0; // how many texts it lies in below the Exec value
    int group = 0; // which simple command of its text it belongs to
    Syntax syntax = Syntax::desktop; // the quoting of that text
    bool literal = true; // holds no expansion ($…, `…`)
    bool command = false; // stands where a command's name goes
    bool byEnv = false; // that command is env's, which takes a word with = for a variable
    bool operand = false; // an option's argument or a redirection's file
    bool assignment = false; // NAME=value, for a shell or env
    bool split = false; // its text was read as words of its own
    bool script = false; // a shell's command string or env's split string, read or not

    Written byte(qsizetype k) const
    {
        const Run &run = *(std::upper_bound(runs.begin(), runs.end(), k, [](qsizetype k, const Run &run) {
            return k < run.at;
        }) - 1);
        const qsizetype last = &run == &runs.last() ? text.size() : (&run)[1].at;
        if (run.end - run.begin != last - run.at)
            return {run.begin, run.end, run.quote};
        const qsizetype at = run.begin + k - run.at;
        return {at, at + 1, run.quote};
    }
};

// The words of one text, collected as a splitter meets them, in commands.
// Their bytes go to one arena for the text, which never holds more bytes than
// the text (each byte of a word stands for one or more of it): reserved so,
// it never moves, and the words' texts point into it rather than each
// allocating its own.
class Words {
public:
    Words(Syntax syntax, std::vector<Word> &into, std::string &arena)
        : m_syntax(syntax)
        , m_words(into)
        , m_first(into.size())
        , m_arena(arena)
        , m_arenaStart(arena.size())
    {
    }

    bool isOpen() const { return m_open; }
    // A word begins here, maybe with no byte yet (an empty quote).
    void open(qsizetype at)
    {
        if (m_open)
            return;
        // Made in its place: words are many, and moving each costs.
        Word &word = m_words.emplace_back();
        word.syntax = m_syntax;
        word.begin = at;
        m_wordStart = m_arena.size();
        m_open = true;
    }
    void add(char byte, qsizetype begin, qsizetype end, char quote = '\0')
    {
        open(begin);
        if (m_arena.size() == m_arena.capacity()) {
            m_overflow = true; // would move the arena under the words: never, but never dangle
            return;
        }
        auto &runs = m_words.back().runs;
        const int at = int(m_arena.size() - m_wordStart);
        if (!runs.isEmpty() && end == begin + 1 && runs.last().end == begin && runs.last().quote == quote
            && begin - runs.last().begin == at - runs.last().at)
            runs.last().end = int(end);
        else
            runs.append({at, int(begin), int(end), quote});
        m_arena.push_back(byte);
    }
    void expansion(qsizetype at)
    {
        open(at);
        m_words.back().literal = false;
    }
    void close(qsizetype at)
    {
        if (!m_open)
            return;
        Word &word = m_words.back();
        word.end = at;
        word.text
            = QByteArray::fromRawData(m_arena.data() + m_wordStart, qsizetype(m_arena.size() - m_wordStart));
        word.operand = m_redirected;
        word.group = m_group;
        m_redirected = false;
        m_open = false;
    }
    void endCommand(qsizetype at)
    {
        close(at);
        if (m_words.size() > m_first && m_words.back().group == m_group)
            ++m_group;
    }
    // The next word names a redirection's file; digits just before it, its descriptor.
    void redirect(qsizetype at)
    {
        const auto text = std::string_view(m_arena).substr(m_wordStart);
        const auto runs = [&]() -> const QVarLengthArray<Run, 1> & { return m_words.back().runs; };
        const bool descriptor = m_open && !text.empty() && runs().size() == 1 && runs()[0].quote == '\0'
            && runs()[0].end - runs()[0].begin == qsizetype(text.size())
            && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(uchar(c)); });
        if (descriptor) {
            m_open = false;
            m_arena.resize(m_wordStart);
            m_words.pop_back();
        }
        close(at);
        m_redirected = true;
    }
    // The words split so far; none when the text cannot be read.
    bool done(bool read = true)
    {
        if (read && !m_overflow)
            return true;
        m_words.resize(m_first);
        m_arena.resize(m_arenaStart);
        return false;
    }

private:
    Syntax m_syntax;
    bool m_open = false; // the last word is still being read
    bool m_redirected = false;
    bool m_overflow = false;
    int m_group = 0;
    std::vector<Word> &m_words;
    size_t m_first;
    std::string &m_arena;
    size_t m_arenaStart;
    size_t m_wordStart = 0;
};

// The Exec value's arguments: the string escapes (\s, \t, \n, \r, \\) first,
// then quoting, and %% for % throughout. Nothing when a quote is left open.
bool splitDesktop(const QByteArray &value, std::vector<Word> &into, std::string &arena)
{
    std::string chars;
    std::vector<qsizetype> starts;
    chars.reserve(value.size());
    starts.reserve(value.size() + 1);
    for (qsizetype i = 0; i < value.size(); ++i) {
        starts.push_back(i);
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] == '\\' && among(next, "stnr\\")) {
            chars += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            chars += value[i];
        }
    }
    starts.push_back(value.size());

    Words words(Syntax::desktop, into, arena);
    const qsizetype count = qsizetype(chars.size());
    const auto percent = [&](qsizetype i) { return chars[i] == '%' && i + 1 < count && chars[i + 1] == '%'; };
    for (qsizetype i = 0; i < count;) {
        if (chars[i] == ' ' || chars[i] == '\t' || chars[i] == '\n') {
            words.close(starts[i++]);
        } else if (chars[i] == '#' && !words.isOpen()) {
            // A comment, as desktops read it, to the end of its line.
            while (i < count && chars[i] != '\n')
                ++i;
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
                return words.done(false);
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
                return words.done(false);
        } else {
            const qsizetype step = percent(i) ? 2 : 1;
            words.add(chars[i], starts[i], starts[i + step]);
            i += step;
        }
    }
    words.close(value.size());
    return words.done();
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
            } else if (text[k] == '\'') {
                k = text.indexOf('\'', k + 1);
                if (k < 0)
                    return -1;
            } else if (text[k] == '"') {
                // A quoted ) or } does not end it.
                for (++k; k < n && text[k] != '"'; ++k)
                    k += text[k] == '\\';
                if (k >= n)
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
bool splitShell(const QByteArray &text, std::vector<Word> &into, std::string &arena)
{
    Words words(Syntax::shell, into, arena);
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
                return words.done(false);
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
                return words.done(false);
        } else if (c == '\\') {
            if (i + 1 < n && text[i + 1] != '\n')
                words.add(text[i + 1], i, i + 2);
            i += 2;
        } else if (among(c, "$`")) {
            if (!expansion('\0'))
                return words.done(false);
        } else {
            words.add(c, i, i + 1);
            ++i;
        }
    }
    words.close(n);
    return words.done();
}

// env's split string from `from` on, as env -S reads it: its own escapes,
// ${NAME}, and # or \c ending it.
bool splitEnvString(const QByteArray &text, qsizetype from, std::vector<Word> &into, std::string &arena)
{
    Words words(Syntax::envSplit, into, arena);
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
                return words.done(false);
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
                return words.done(false);
        } else if (c == '\\' && next == '_') {
            words.close(i);
            i += 2;
        } else if (c == '\\') {
            if (!escaped(next))
                return words.done(false);
            words.add(escaped(next), i, i + 2);
            i += 2;
        } else if (c == '$') {
            if (!variable('\0'))
                return words.done(false);
        } else {
            words.add(c, i, i + 1);
            ++i;
        }
    }
    words.close(std::min(i, n));
    return words.done();
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
        QByteArray out = quote == '\''  ? QByteArray(text).replace('\'', "'\\''")
            : quote == '\0' && !wrapped ? text
                                        : backslashed(text, "\"`$\\");
        if (wrapped)
            out = '"' + out + '"';
        // Then escaped once more as a string value.
        // Line breaks and tabs as escapes: raw ones would end the entry's line.
        return out.replace('\\', "\\\\")
            .replace('%', "%%")
            .replace('\n', "\\n")
            .replace('\r', "\\r")
            .replace('\t', "\\t");
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

QByteArrayView fileName(QByteArrayView path)
{
    return path.sliced(path.lastIndexOf('/') + 1);
}

// An edit of a text: [begin, end) becomes `text`.
struct Edit {
    qsizetype begin;
    qsizetype end;
    QByteArray text;
};

// In one pass: replacing one edit after another would move the rest of a
// long text each time.
QByteArray applied(QByteArrayView text, QList<Edit> edits)
{
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.begin < b.begin; });
    QByteArray out;
    qsizetype at = 0;
    for (const Edit &edit : edits) {
        out += text.sliced(at, edit.begin - at);
        out += edit.text;
        at = edit.end;
    }
    out += text.sliced(at);
    return out;
}

// Texts inside texts (a shell's command string holding env's split string,
// and so on) are read this deep; a deeper one is a command this reading
// cannot follow.
constexpr int deepestText = 16;

// A line is followed through at most this many names and paths looked up on
// the disk; each costs a few system calls.
constexpr qsizetype mostLookups = 4096;

// Every word of an Exec value, at every depth, with what each one stands for.
// Read in a loop, never by recursion: a line of a hundred thousand wrappers
// takes no more stack than one of a single wrapper.
class ExecWords {
public:
    explicit ExecWords(const QByteArray &value)
        : m_value(value)
        , m_unread(std::max<qsizetype>(4 * value.size(), 1 << 20))
    {
        words.reserve(size_t(value.size()) / 2 + 1);
        if (!splitDesktop(value, words, arena(value.size())))
            return;
        read = true;
        queue({0, int(words.size())});
        Pending rest;
        while (!m_commands.empty()) {
            const auto [first, last] = m_commands.back();
            m_commands.pop_back();
            rest.clear();
            for (int i = last; i-- > first;)
                rest.push_back(i);
            readCommand(rest);
        }
    }

    bool read = false;
    std::vector<Word> words;

    // The text the word was split from.
    const QByteArray &around(const Word &word) const
    {
        return word.container < 0 ? m_value : words[word.container].text;
    }

    // The value with the edits made, given by the word whose text they edit
    // (-1: the value): deepest first, each word's edits become edits of the
    // text it was written in, escaped as its quotes there want.
    // Nothing when the edits would write more than an entry may hold: each
    // level escapes the one inside again, so deep edits grow fast.
    std::optional<QByteArray> edited(const QMap<int, QList<Edit>> &given) const
    {
        qsizetype total = 0;
        const auto grown = [&](const QByteArray &text) {
            total += text.size();
            return text;
        };
        // By depth, deepest first; the value itself (-1) last.
        const auto depth
            = [&](int holder) { return std::pair(holder < 0 ? -1 : words[holder].depth, holder); };
        std::map<std::pair<int, int>, QList<Edit>, std::greater<>> edits;
        for (auto it = given.begin(); it != given.end(); ++it)
            edits[depth(it.key())] += it.value();
        while (edits.begin()->first.second >= 0) {
            const int deepest = edits.begin()->first.second;
            const QList<Edit> inner = std::move(edits.begin()->second);
            edits.erase(edits.begin());
            const Word &word = words[deepest];
            const bool eachInOneQuote = std::all_of(inner.begin(), inner.end(), [&](const Edit &edit) {
                for (qsizetype k = edit.begin; k < edit.end; ++k) {
                    if (word.byte(k).quote != word.byte(edit.begin).quote)
                        return false;
                }
                return true;
            });
            QList<Edit> &outer = edits[depth(word.container)];
            if (!eachInOneQuote) {
                outer.append(
                    {word.begin, word.end, grown(written(word.syntax, applied(word.text, inner), '\0'))});
            } else {
                for (const Edit &edit : inner) {
                    const Written first = word.byte(edit.begin);
                    outer.append({first.begin, word.byte(edit.end - 1).end,
                        grown(written(word.syntax, edit.text, first.quote))});
                }
            }
            if (total > PrivateFiles::keptFileLimit)
                return std::nullopt;
        }
        QByteArray result = applied(m_value, edits.begin()->second);
        if (result.size() > PrivateFiles::keptFileLimit)
            return std::nullopt;
        return result;
    }

private:
    // Room for the words of a text this long, where they never move.
    std::string &arena(qsizetype size)
    {
        std::string &arena = m_arenas.emplace_back();
        arena.reserve(size_t(size) + 1);
        return arena;
    }

    // The words of one command still to be read, the next one last.
    using Pending = std::vector<int>;

    // The words of the holder's text, after the others: the range of their indices.
    std::optional<std::pair<int, int>> split(
        int holder, const std::function<bool(const QByteArray &)> &splitter)
    {
        words[holder].script = true;
        const int depth = words[holder].depth + 1;
        const int first = int(words.size());
        // Room for as many words as the text can hold (untouched room costs
        // nothing), so that the words are not moved again and again.
        if (const size_t most = words.size() + size_t(words[holder].text.size()) / 2 + 1;
            words.capacity() < most)
            words.reserve(most);
        // A copy: the words it adds may move the holder.
        m_unread -= words[holder].text.size();
        if (depth > deepestText || m_unread < 0 || !splitter(QByteArray(words[holder].text)))
            return std::nullopt;
        words[holder].split = true;
        for (auto word = words.begin() + first; word != words.end(); ++word) {
            word->container = holder;
            word->depth = depth;
        }
        return std::pair(first, int(words.size()));
    }

    // Each simple command of the words, to be read in turn.
    void queue(std::pair<int, int> adopted)
    {
        for (int first = adopted.first, next = first; first < adopted.second; first = next) {
            while (next < adopted.second && words[next].group == words[first].group)
                ++next;
            m_commands.emplace_back(first, next);
        }
    }

    int take(Pending &rest)
    {
        const int index = rest.back();
        rest.pop_back();
        return index;
    }

    // The word after an option that takes one; -1 when there is none.
    int takeOperand(Pending &rest)
    {
        if (rest.empty())
            return -1;
        const int index = take(rest);
        words[index].operand = true;
        return index;
    }

    static bool isAssignment(const QByteArray &text)
    {
        // NAME=value, or NAME+=value in bash and zsh.
        const qsizetype equals = text.indexOf('=');
        const qsizetype name = equals > 0 && text[equals - 1] == '+' ? equals - 1 : equals;
        return name > 0 && !std::isdigit(uchar(text[0]))
            && std::all_of(
                text.begin(), text.begin() + name, [](char c) { return std::isalnum(uchar(c)) || c == '_'; });
    }

    // A command: in a shell, its assignments, redirections and `exec` first,
    // then its name; env, wrappers and shells are read on to what they start.
    void readCommand(Pending &rest)
    {
        static const QList<QByteArray> beforeTheName{
            "exec", "!", "{", "if", "then", "else", "elif", "do", "while", "until"};
        bool byEnv = false;
        while (!rest.empty()) {
            Word &word = words[take(rest)];
            const bool shell = word.syntax == Syntax::shell && !byEnv;
            // Never the program, even where no shell reads it as an assignment.
            word.assignment = !byEnv && isAssignment(word.text);
            if (word.operand || (shell && (word.assignment || beforeTheName.contains(word.text))))
                continue;
            word.command = true;
            word.byEnv = byEnv;
            const QByteArrayView name = fileName(word.text);
            byEnv = name == "env";
            if (byEnv) {
                if (!readEnv(rest))
                    return;
            } else if (name == "sh" || name == "bash" || name == "dash" || name == "zsh") {
                return readShell(rest);
            } else if (name == "cd" || name == "pushd") {
                // A folder, however it is named.
                for (const int argument : rest)
                    words[argument].operand = true;
                return;
            } else if (const Wrapper *wrapper = wrapperNamed(name)) {
                if (!readWrapper(*wrapper, rest))
                    return;
            } else {
                return;
            }
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

    static const Wrapper *wrapperNamed(QByteArrayView name)
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
            {"xvfb-run", "nsefp", {"server-num", "server-args", "error-file", "auth-file", "xauth-protocol"},
                0},
            {"gamemoderun", "", {}, 0},
            {"prime-run", "", {}, 0},
            {"firejail", "", {}, 0},
            {"torsocks", "", {}, 0},
        };
        const auto found = std::find_if(
            wrappers.begin(), wrappers.end(), [&](const Wrapper &wrapper) { return wrapper.name == name; });
        return found == wrappers.end() ? nullptr : &*found;
    }

    // Past a wrapper's options and operands: true when its command is next.
    bool readWrapper(const Wrapper &wrapper, Pending &rest)
    {
        int operands = wrapper.operands;
        bool options = true;
        while (!rest.empty()) {
            const QByteArray &text = words[rest.back()].text;
            if (options && text.size() > 1 && text[0] == '-') {
                options = text != "--";
                const bool valued = text.startsWith("--")
                    ? !text.contains('=') && wrapper.valuedLong.contains(text.mid(2))
                    : text.size() == 2 && among(text[1], wrapper.valued);
                take(rest);
                if (valued)
                    takeOperand(rest);
            } else if (operands-- == 0) {
                return true;
            } else {
                take(rest);
            }
        }
        return false;
    }

    // Past env's options (-i, -, -0, -v, -u NAME, -C DIR, -S STRING, their
    // long forms) and its assignments: true when its command is next.
    bool readEnv(Pending &rest)
    {
        bool options = true;
        while (!rest.empty()) {
            const QByteArray text = words[rest.back()].text;
            if (options && (text == "--" || text == "-")) {
                options = text == "-";
                take(rest);
            } else if (options && text.startsWith("--")) {
                int holder = take(rest);
                const qsizetype equals = text.indexOf('=');
                const QByteArray option = text.mid(2, equals < 0 ? -1 : equals - 2);
                const bool valued = option == "unset" || option == "chdir" || option == "split-string";
                if (equals < 0 && valued && (holder = takeOperand(rest)) < 0)
                    return false;
                if (option == "split-string" && !splitString(holder, equals < 0 ? 0 : equals + 1, rest))
                    return false;
            } else if (options && text.size() > 1 && text[0] == '-') {
                int holder = take(rest);
                for (qsizetype j = 1; j < text.size(); ++j) {
                    if (among(text[j], "i0v"))
                        continue;
                    // An option env does not have: it starts nothing.
                    if (!among(text[j], "uCS"))
                        return false;
                    const bool joined = j + 1 < text.size();
                    if (!joined && (holder = takeOperand(rest)) < 0)
                        return false;
                    if (text[j] == 'S' && !splitString(holder, joined ? j + 1 : 0, rest))
                        return false;
                    break;
                }
            } else if (text.contains('=')) {
                options = false;
                words[take(rest)].assignment = true;
            } else {
                return true;
            }
        }
        return false;
    }

    // env's split string, read as words that come before the rest.
    bool splitString(int holder, qsizetype from, Pending &rest)
    {
        const auto found = split(holder,
            [&](const QByteArray &text) { return splitEnvString(text, from, words, arena(text.size())); });
        for (int i = found ? found->second : 0; found && i-- > found->first;)
            rest.push_back(i);
        return found.has_value();
    }

    // A shell's options; with -c, its first operand is the command string.
    void readShell(Pending &rest)
    {
        bool commandString = false;
        while (!rest.empty()) {
            const QByteArray text = words[rest.back()].text;
            const bool ends = text == "--" || text == "-";
            if (!ends && text.size() > 1 && (text[0] == '-' || text[0] == '+')) {
                take(rest);
                if (text.startsWith("--")) {
                    if (text == "--rcfile" || text == "--init-file")
                        takeOperand(rest);
                    continue;
                }
                commandString = commandString || (text[0] == '-' && text.contains('c'));
                if (text.contains('o') || text.contains('O'))
                    takeOperand(rest);
                continue;
            }
            if (ends)
                take(rest);
            // Without -c the operand is a script's file.
            if (!commandString || rest.empty())
                return;
            const auto found = split(take(rest),
                [&](const QByteArray &text) { return splitShell(text, words, arena(text.size())); });
            if (found)
                queue(*found);
            return;
        }
    }

    QByteArray m_value;
    std::deque<std::string> m_arenas; // the words' bytes, a text's in one
    // How many bytes of strings inside strings are still read: nested strings
    // nearly as long as the line would otherwise cost the line's length at
    // every level.
    qsizetype m_unread;
    std::vector<std::pair<int, int>> m_commands; // each a command's words, by index
};
} // namespace

QByteArray ExecLine::argument(const QString &program, bool quote)
{
    const QByteArray path = QFile::encodeName(program);
    return quote ? '"' + written(Syntax::desktop, path, '"') + '"' : written(Syntax::desktop, path, '\0');
}

QByteArray ExecLine::startingProgram(const QByteArray &value, const QString &program, QString *refusal)
{
    const QByteArray path = QFile::encodeName(program);
    const QByteArray name = fileName(path).toByteArray();
    const ExecWords line(value);
    // The user's text wherever it holds the name, read or not, quoted or
    // escaped in part: never replaced whole.
    const auto holdsName
        = [&](const Word &word) { return word.text.size() >= name.size() && word.text.contains(name); };
    // The value's string escapes undone, then without quotes, escapes, `$`
    // of $'…' and line continuations: the name however a shell may join it.
    QByteArray unquoted = QByteArray(value).replace("\\\\", "\\").replace("\\n", "\n");
    unquoted.removeIf([](char c) { return among(c, "\\\"'$\n"); });
    const bool mentioned
        = unquoted.contains(name) || std::any_of(line.words.begin(), line.words.end(), holdsName);
    const auto refuse = [&](const QString &why) {
        if (refusal)
            *refusal = why;
        return value;
    };
    if (!line.read)
        return mentioned ? value : argument(program);

    // Each name or path is looked up once, and only so many: a line that
    // names more is not followed and stays.
    struct stat programFile { };
    const bool programThere = ::stat(path.constData(), &programFile) == 0;
    QHash<QByteArray, bool> known;
    bool gaveUp = false;
    const auto lookUp = [&](const QByteArray &named) {
        if (named == path)
            return true;
        auto found = known.find(named);
        if (found != known.end())
            return *found;
        gaveUp = gaveUp || known.size() == mostLookups;
        if (gaveUp)
            return false;
        // A copy that ends: a word's text is a slice of its arena.
        QByteArray file;
        if (!named.contains('/'))
            file = QFile::encodeName(QStandardPaths::findExecutable(QFile::decodeName(named)));
        else if (named.startsWith('/'))
            file = QByteArray(named.constData(), named.size());
        struct stat status { };
        return *known.insert(named,
            programThere && !file.isEmpty() && ::stat(file.constData(), &status) == 0
                && status.st_dev == programFile.st_dev && status.st_ino == programFile.st_ino);
    };
    std::optional<QByteArray> last; // a long line names one command again and again
    bool lastIsIt = false;
    const auto isIt = [&](const QByteArray &named) {
        if (!last || named != *last) {
            last = named;
            lastIsIt = lookUp(named);
        }
        return lastIsIt;
    };
    // An expansion ending in the program's name, or a command this reading
    // cannot follow that mentions it, may well be it: the user's line stays.
    const auto names = [&](const Word &word) {
        if (word.split || word.assignment)
            return false;
        if (word.script)
            return holdsName(word);
        if (!word.literal)
            return fileName(word.text) == name;
        // Only where a command goes or for the program's own file name: a
        // link to it under another name among an unknown program's arguments
        // does not count.
        if (!word.command && fileName(word.text) != name)
            return false;
        // A shell reads an unquoted ~/ as the home folder.
        if (word.syntax == Syntax::shell && word.text.startsWith("~/") && word.runs[0].quote == '\0')
            return isIt(qgetenv("HOME") + word.text.mid(1));
        return isIt(word.text);
    };
    if (std::any_of(line.words.begin(), line.words.end(), names))
        return value;
    if (gaveUp)
        return refuse(QStringLiteral("it names more programs than Orvel follows"));

    // Where a command goes the old path is surely the program; a path among a
    // program's arguments is taken for it only when no command is (an unknown
    // wrapper), so a folder of the same name, as in `cd`, stays.
    const auto named = [&](const Word &word) {
        return word.literal && !word.script && !word.operand && !word.assignment
            && fileName(word.text) == name;
    };
    const bool commandNamed = std::any_of(
        line.words.begin(), line.words.end(), [&](const Word &word) { return word.command && named(word); });
    // env, and a program Orvel does not know, may take a path with = for a variable.
    const QString unwritable = QStringLiteral("env would take the new path %1 for a variable").arg(program);
    QMap<int, QList<Edit>> edits;
    qsizetype moves = 0;
    for (const Word &word : line.words) {
        const bool moved = named(word)
            && (word.command
                || (!commandNamed && word.text.startsWith('/')
                    && !QFileInfo(QFile::decodeName(word.text)).isDir()));
        if (!moved)
            continue;
        if ((word.byEnv || !word.command) && path.contains('='))
            return refuse(unwritable);
        if (++moves > mostLookups)
            return refuse(QStringLiteral("it names the program in more places than Orvel rewrites"));
        // Quoted as the old one was, or as the new path needs.
        const char opening = line.around(word).at(word.begin);
        const char quote = among(opening, "'\"") ? opening : '\0';
        edits[word.container].append({word.begin, word.end,
            quote == '\0' ? written(word.syntax, path, '\0')
                          : quote + written(word.syntax, path, quote) + quote});
    }
    if (!edits.isEmpty()) {
        const std::optional<QByteArray> result = line.edited(edits);
        return result ? *result
                      : refuse(QStringLiteral("the new path makes the line longer than an entry may be"));
    }
    if (mentioned)
        return value;

    // Another program: this one in its stead, after the env prefix.
    const auto command = std::find_if(line.words.rbegin(), line.words.rend(),
        [](const Word &word) { return word.container < 0 && word.command; });
    if (command == line.words.rend())
        return argument(program);
    if (command->byEnv && path.contains('='))
        return refuse(unwritable);
    return value.left(command->begin) + argument(program, value.at(command->begin) == '"');
}
