#include "Json.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <cmath>

namespace json {

DecodingError::DecodingError(QString key_, QString description_)
    : std::runtime_error(
        (key_.isEmpty() ? description_ : key_ + QStringLiteral(": ") + description_).toStdString())
    , key(std::move(key_))
    , description(std::move(description_))
{
}

EncodingError::EncodingError(const QString &description)
    : std::runtime_error(description.toStdString())
{
}

namespace {
[[noreturn]] void mismatch(const QString &context, const char *expected)
{
    throw DecodingError(context, QStringLiteral("Expected to decode %1").arg(QLatin1String(expected)));
}
} // namespace

QJsonValue parse(const QByteArray &data)
{
    const QByteArray trimmed = data.trimmed();
    const bool container = trimmed.startsWith('{') || trimmed.startsWith('[');
    QJsonParseError error{};
    // QJsonDocument only takes objects and arrays; a fragment is read as the only element of an array.
    const QJsonDocument document
        = QJsonDocument::fromJson(container ? trimmed : QByteArray("[" + trimmed + "]"), &error);
    if (error.error != QJsonParseError::NoError || document.isNull())
        throw DecodingError({}, QStringLiteral("The given data was not valid JSON."));
    if (container)
        return document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
    const QJsonArray wrapper = document.array();
    if (wrapper.size() != 1)
        throw DecodingError({}, QStringLiteral("The given data was not valid JSON."));
    return wrapper.first();
}

QByteArray serialize(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

QJsonObject asObject(const QJsonValue &value, const QString &context)
{
    if (!value.isObject())
        mismatch(context, "an object");
    return value.toObject();
}

QJsonArray asArray(const QJsonValue &value, const QString &context)
{
    if (!value.isArray())
        mismatch(context, "an array");
    return value.toArray();
}

QString asString(const QJsonValue &value, const QString &context)
{
    if (!value.isString())
        mismatch(context, "a string");
    return value.toString();
}

bool asBool(const QJsonValue &value, const QString &context)
{
    if (!value.isBool())
        mismatch(context, "a boolean");
    return value.toBool();
}

double asDouble(const QJsonValue &value, const QString &context)
{
    if (!value.isDouble())
        mismatch(context, "a number");
    return value.toDouble();
}

qint64 asInteger(const QJsonValue &value, const QString &context)
{
    if (!value.isDouble())
        mismatch(context, "an integer");
    const double d = value.toDouble();
    // Only whole numbers that fit into 64 bits are integers.
    if (!std::isfinite(d) || d != std::trunc(d) || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
        throw DecodingError(context, QStringLiteral("Parsed JSON number does not fit in an integer."));
    return value.toInteger(qint64(d));
}

QJsonValue require(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd())
        throw DecodingError(key, QStringLiteral("No value associated with key \"%1\".").arg(key));
    if (it->isNull())
        throw DecodingError(key, QStringLiteral("Expected a value but found null instead."));
    return *it;
}

std::optional<QJsonValue> optional(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull() || it->isUndefined())
        return std::nullopt;
    return *it;
}

std::optional<QString> optionalString(const QJsonObject &o, const QString &key)
{
    if (auto value = optional(o, key))
        return asString(*value, key);
    return std::nullopt;
}

std::optional<bool> optionalBoolean(const QJsonObject &o, const QString &key)
{
    if (auto value = optional(o, key))
        return asBool(*value, key);
    return std::nullopt;
}

std::optional<double> optionalNumber(const QJsonObject &o, const QString &key)
{
    if (auto value = optional(o, key))
        return asDouble(*value, key);
    return std::nullopt;
}

QJsonValue finite(double value)
{
    if (!std::isfinite(value))
        throw EncodingError(QStringLiteral("Unable to encode %1 directly in JSON.").arg(value));
    return QJsonValue(value);
}

} // namespace json
