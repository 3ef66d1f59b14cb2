#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

// An autostart entry's text read as desktops read it: by GLib's key-file
// reader (groups, keys, the last of a key written twice wins, a NUL ends a
// line's text); a file GLib refuses, as systemd's autostart generator and dex
// read it (a byte-order mark skipped, a CR alone ending a line, a line that
// is no key passed over). Edits change a value's bytes alone: every other
// byte stays as it was.
class AutostartEntry {
public:
    explicit AutostartEntry(QByteArray data);

    // Some desktop reader takes the text as an entry: it has a [Desktop Entry] group.
    bool isEntry() const { return m_header >= 0; }
    // The desktop can start it: an application whose Exec (and TryExec)
    // program GLib finds, as GLib, systemd and dex ask.
    bool launchable() const { return m_launchable; }
    // GLib reads the file itself; else it is read as systemd's generator reads it.
    bool readByGLib() const { return m_readByGLib; }
    // Where GLib reads the file, it reads the values this reader reads.
    bool agreesWithGLib() const { return m_agrees; }
    // The [Desktop Entry] group's value for a key as written, escapes and all.
    std::optional<QByteArray> value(const QByteArray &key) const;
    // A boolean as GLib reads it (true or 1, false or 0, blanks after it
    // allowed), or in a file GLib refuses as systemd reads it (also yes, on
    // and the like, in any case); none for any other value or no key.
    std::optional<bool> boolean(const QByteArray &key) const;
    // Writes the value in place of the key's last value, or adds the key
    // right after the group's header.
    void setValue(const QByteArray &key, const QByteArray &value);
    // The text with its edits.
    QByteArray text() const;

private:
    struct Span {
        qsizetype begin = 0;
        qsizetype end = 0;
    };
    struct Edit {
        Span span;
        QByteArray bytes;
    };

    // Reads the lines from `from` on; `crEnds`: a CR alone ends a line too.
    // Gives the text as GLib would read it with those line ends.
    QByteArray scan(qsizetype from, bool crEnds);

    QByteArray m_data;
    QHash<QByteArray, Span> m_values;
    qsizetype m_header = -1; // where the group's header line ends, its line end included
    QByteArray m_headerEnd; // that line end
    QByteArray m_lineEnd = "\n"; // the file's first line end
    bool m_agrees = true;
    bool m_readByGLib = true;
    bool m_launchable = false;
    QList<Edit> m_edits;
};
