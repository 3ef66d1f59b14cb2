#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>
#include <stdexcept>

// The JSON conventions of every stored form. A type T takes part by providing
//   QJsonValue toJson() const;                  // throws json::EncodingError
//   static T fromJson(const QJsonValue &value); // throws json::DecodingError
// Decoders are strict: exact JSON types (a number is not a bool), required keys
// present, null accepted only where a value is optional.
namespace json {

class DecodingError : public std::runtime_error {
public:
    DecodingError(QString key, QString description);
    QString key;
    QString description;
};

class EncodingError : public std::runtime_error {
public:
    explicit EncodingError(const QString &description);
};

// Raw data → value. Accepts top-level fragments ("\"x\"", "5") as well as
// objects and arrays; malformed text throws.
QJsonValue parse(const QByteArray &data);
// Compact UTF-8 text of a value.
QByteArray serialize(const QJsonValue &value);

QJsonObject asObject(const QJsonValue &value, const QString &context = {});
QJsonArray asArray(const QJsonValue &value, const QString &context = {});
QString asString(const QJsonValue &value, const QString &context = {});
bool asBool(const QJsonValue &value, const QString &context = {});
double asDouble(const QJsonValue &value, const QString &context = {});
qint64 asInteger(const QJsonValue &value, const QString &context = {});

// Required members.
QJsonValue require(const QJsonObject &object, const QString &key);
inline QJsonObject object(const QJsonObject &o, const QString &key)
{
    return asObject(require(o, key), key);
}
inline QJsonArray array(const QJsonObject &o, const QString &key)
{
    return asArray(require(o, key), key);
}
inline QString string(const QJsonObject &o, const QString &key)
{
    return asString(require(o, key), key);
}
inline bool boolean(const QJsonObject &o, const QString &key)
{
    return asBool(require(o, key), key);
}
inline double number(const QJsonObject &o, const QString &key)
{
    return asDouble(require(o, key), key);
}
inline qint64 integer(const QJsonObject &o, const QString &key)
{
    return asInteger(require(o, key), key);
}

// Optional members: missing or null gives nothing, any other wrong type throws.
std::optional<QJsonValue> optional(const QJsonObject &object, const QString &key);
std::optional<QString> optionalString(const QJsonObject &o, const QString &key);
std::optional<bool> optionalBoolean(const QJsonObject &o, const QString &key);
std::optional<double> optionalNumber(const QJsonObject &o, const QString &key);

template<class T>
T decode(const QJsonObject &o, const QString &key)
{
    return T::fromJson(require(o, key));
}

template<class T>
std::optional<T> decodeOptional(const QJsonObject &o, const QString &key)
{
    if (auto value = optional(o, key))
        return T::fromJson(*value);
    return std::nullopt;
}

// A double for writing; non-finite numbers have no JSON form and throw.
QJsonValue finite(double value);

template<class T>
void insertOptional(QJsonObject &o, const QString &key, const std::optional<T> &value)
{
    if (value)
        o.insert(key, value->toJson());
}
inline void insertOptional(QJsonObject &o, const QString &key, const std::optional<QString> &value)
{
    if (value)
        o.insert(key, *value);
}

// Whole documents. decodeData returns nothing for anything that does not decode.
template<class T>
std::optional<T> decodeData(const QByteArray &data)
{
    try {
        return T::fromJson(parse(data));
    } catch (const DecodingError &) {
        return std::nullopt;
    }
}

template<class T>
QByteArray encodeData(const T &value)
{
    return serialize(value.toJson());
}

} // namespace json
