// GLib first: its headers name a struct member as Qt's keywords are.
#include <gio/gdesktopappinfo.h>
#include <glib.h>

#include "AutostartEntry.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr char bom[] = "\xEF\xBB\xBF";
constexpr char group[] = "Desktop Entry";

// GLib's blanks: space, \t, \n, \v, \f, \r.
bool blank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The file as GLib reads it, or nothing when GLib refuses it.
GKeyFile *glibReading(const QByteArray &text)
{
    GKeyFile *file = g_key_file_new();
    if (g_key_file_load_from_data(file, text.constData(), gsize(text.size()), G_KEY_FILE_NONE, nullptr))
        return file;
    g_key_file_free(file);
    return nullptr;
}
} // namespace

AutostartEntry::AutostartEntry(QByteArray data)
    : m_data(std::move(data))
{
    GKeyFile *file = glibReading(m_data);
    if (file) {
        scan(0, false);
    } else {
        m_readByGLib = false;
        file = glibReading(scan(m_data.startsWith(bom) ? 3 : 0, true));
    }
    if (!file)
        return;
    // The keys Orvel reads, compared with GLib's reading of them.
    for (const char *key : {"Exec", "TryExec", "Hidden", "X-GNOME-Autostart-enabled"}) {
        gchar *theirs = g_key_file_get_value(file, group, key, nullptr);
        const std::optional<QByteArray> mine = value(key);
        m_agrees = m_agrees && (theirs ? mine == QByteArray(theirs) : !mine);
        g_free(theirs);
    }
    m_agrees = m_agrees && g_key_file_has_group(file, group) == (m_header >= 0);
    if (GDesktopAppInfo *info = g_desktop_app_info_new_from_keyfile(file)) {
        m_launchable = true;
        g_object_unref(info);
    }
    g_key_file_free(file);
}

QByteArray AutostartEntry::scan(qsizetype from, bool crEnds)
{
    QByteArray read;
    const char *data = m_data.constData();
    const qsizetype size = m_data.size();
    bool inGroup = false;
    bool firstEnd = true;
    for (qsizetype begin = from; begin < size;) {
        qsizetype end = begin;
        while (end < size && data[end] != '\n' && !(crEnds && data[end] == '\r'))
            ++end;
        qsizetype next = end + (end < size) + (end + 1 < size && data[end] == '\r' && data[end + 1] == '\n');
        // GLib drops a CR before the LF.
        const qsizetype textEnd
            = !crEnds && end > begin && end < size && data[end - 1] == '\r' ? end - 1 : end;
        const QByteArray lineEnd = m_data.mid(textEnd, next - textEnd);
        if (firstEnd && !lineEnd.isEmpty()) {
            m_lineEnd = lineEnd;
            firstEnd = false;
        }
        if (crEnds)
            read += m_data.mid(begin, textEnd - begin) + '\n';
        // A NUL ends what GLib reads of a line.
        const char *nul = static_cast<const char *>(std::memchr(data + begin, '\0', size_t(textEnd - begin)));
        const qsizetype stop = nul ? nul - data : textEnd;
        qsizetype start = begin;
        while (start < stop && blank(data[start]))
            ++start;
        const QByteArrayView line(data + start, stop - start);
        if (line.startsWith('[')) {
            const qsizetype close = line.lastIndexOf(']');
            // A header with more after it: neither GLib nor systemd reads the file.
            if (close < 0 || !std::all_of(line.begin() + close + 1, line.end(), blank)) {
                m_header = -1;
                return {};
            }
            inGroup = line.sliced(1, close - 1) == group;
            if (inGroup && m_header < 0) {
                m_header = next;
                m_headerEnd = lineEnd;
            }
        } else if (const qsizetype equals = line.indexOf('='); equals > 0 && inGroup && line[0] != '#') {
            qsizetype keyEnd = equals;
            while (keyEnd > 0 && blank(line[keyEnd - 1]))
                --keyEnd;
            qsizetype valueBegin = start + equals + 1;
            while (valueBegin < stop && blank(data[valueBegin]))
                ++valueBegin;
            m_values.insert(line.first(keyEnd).toByteArray(), {valueBegin, stop});
        }
        begin = next;
    }
    return read;
}

std::optional<QByteArray> AutostartEntry::value(const QByteArray &key) const
{
    const auto found = m_values.constFind(key);
    if (found == m_values.constEnd())
        return std::nullopt;
    return m_data.mid(found->begin, found->end - found->begin);
}

std::optional<bool> AutostartEntry::boolean(const QByteArray &key) const
{
    QByteArray text = value(key).value_or(QByteArray());
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    if (!m_readByGLib) {
        // systemd's reading, which dex shares for true and false.
        const QByteArray word = text.toLower();
        for (const char *yes : {"1", "yes", "y", "true", "t", "on"})
            if (word == yes)
                return true;
        for (const char *no : {"0", "no", "n", "false", "f", "off"})
            if (word == no)
                return false;
        return std::nullopt;
    }
    if (text == "true" || text == "1")
        return true;
    if (text == "false" || text == "0")
        return false;
    return std::nullopt;
}

void AutostartEntry::setValue(const QByteArray &key, const QByteArray &value)
{
    const auto found = m_values.constFind(key);
    if (found != m_values.constEnd()) {
        m_edits.append({*found, value});
        return;
    }
    // A header that ended the file without a line end gets one; the file still ends as it did.
    const bool last = m_headerEnd.isEmpty();
    m_edits.append({{m_header, m_header},
        (last ? m_lineEnd : QByteArray()) + key + '=' + value + (last ? QByteArray() : m_headerEnd)});
}

QByteArray AutostartEntry::text() const
{
    QList<Edit> edits = m_edits;
    std::stable_sort(
        edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.span.begin < b.span.begin; });
    QByteArray out;
    qsizetype at = 0;
    for (const Edit &edit : edits) {
        out += QByteArrayView(m_data).sliced(at, edit.span.begin - at);
        out += edit.bytes;
        at = edit.span.end;
    }
    out += QByteArrayView(m_data).sliced(at);
    return out;
}
