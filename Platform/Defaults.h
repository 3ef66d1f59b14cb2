#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

class Scheduler;
class TaskHandle;

// The app's user defaults: a typed key-value store kept as one JSON file.
// Each value keeps its kind (a boolean is not a number, a string is not data),
// since readers decide by the stored kind. Used on the main thread only.
class Defaults {
public:
    using Value = std::variant<bool, qint64, double, QString, QByteArray>;
    // A key with its new value, or nothing to remove the key.
    using Change = std::pair<QString, std::optional<Value>>;

    // Loads the file at once. A missing or unusable file reads as empty; an
    // unusable one is first set aside, or, when it cannot be opened, left in
    // place and not written over (KeptFiles). Entries of an unknown form are
    // written back as they were until their key changes.
    explicit Defaults(QString filePath);
    // Saving coalesced: a change is kept in memory at once and the file is
    // written on a thread of its own once no change came for
    // saveDelaySeconds, so a burst of changes (a slider dragged) is one write
    // and the caller never waits on the disk. flush(), the destructor and the
    // end of the process (KeptFiles::keepUnsaved) write what is pending.
    Defaults(QString filePath, Scheduler &coalesceOn);
    ~Defaults();
    Defaults(const Defaults &) = delete;
    Defaults &operator=(const Defaults &) = delete;

    static constexpr double saveDelaySeconds = 0.3;

    // $XDG_CONFIG_HOME/com.velbrandtoro.Orvel/defaults.json
    static QString standardFilePath();

    const QString &filePath() const { return m_filePath; }

    std::optional<Value> object(const QString &key) const;
    bool contains(const QString &key) const { return m_values.contains(key); }
    QStringList keys() const;

    // The stored value when it is exactly of kind T, else nothing.
    template<class T>
    std::optional<T> value(const QString &key) const
    {
        const auto it = m_values.constFind(key);
        if (it == m_values.cend())
            return std::nullopt;
        if (const T *stored = std::get_if<T>(&*it))
            return *stored;
        return std::nullopt;
    }

    // Conversions in the manner of the platform's defaults: a boolean or a
    // number reads as a boolean (non-zero is true), a boolean or a whole finite
    // number as an integer; anything else, or no value, gives false and 0.
    bool boolean(const QString &key) const;
    qint64 integer(const QString &key) const;

    void set(const QString &key, Value value);
    void remove(const QString &key);
    // Applies the changes in order and saves them with one write of the file.
    void apply(const std::vector<Change> &changes);
    // Writes the changes not written yet and waits until they are on disk.
    void flush();

    // The tagged JSON form of one value, public for the tests of the file format.
    static QJsonValue encode(const Value &value);
    static std::optional<Value> decode(const QJsonValue &json);

private:
    void load();
    QByteArray encoded() const;

    QString m_filePath;
    Scheduler *m_scheduler = nullptr;
    std::unique_ptr<TaskHandle> m_pendingSave;
    QHash<QString, Value> m_values;
    QJsonObject m_unreadEntries;
};
