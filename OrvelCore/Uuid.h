#pragma once

#include "Json.h"

#include <QString>
#include <QUuid>
#include <optional>

// The stored text of an identifier: 36 characters, upper-case hexadecimal
// groups of 8-4-4-4-12 joined by "-", no braces.
QString uuidString(const QUuid &id);

// Reads only that canonical shape, in either letter case. QUuid alone would also
// take braces and other lengths.
std::optional<QUuid> uuidFromString(const QString &text);

namespace json {
QUuid decodeUuid(const QJsonValue &value, const QString &context = {});
inline QUuid uuid(const QJsonObject &o, const QString &key)
{
    return decodeUuid(require(o, key), key);
}
} // namespace json
