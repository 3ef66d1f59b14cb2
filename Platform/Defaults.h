#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

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

    // The tagged JSON form of one value, public for the tests of the file format.
    static QJsonValue encode(const Value &value);
    static std::optional<Value> decode(const QJsonValue &json);

private:
    void load();
    void save();

    QString m_filePath;
    QHash<QString, Value> m_values;
    QJsonObject m_unreadEntries;
};
