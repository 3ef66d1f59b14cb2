#pragma once

#include "Json.h"

#include <QString>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

// String-backed enumerations: the raw value of each case is its name, and it is
// what JSON and the defaults store. An enum takes part by specialising
// RawEnumCases with a constexpr array `cases` of {value, name} in declaration order.
template<class E>
struct RawEnumCases;

template<class E>
QString toRawValue(E value)
{
    for (const auto &[candidate, name] : RawEnumCases<E>::cases) {
        if (candidate == value)
            return QString::fromLatin1(name.data(), qsizetype(name.size()));
    }
    return {};
}

// Exact, case-sensitive match of a raw value.
template<class E>
std::optional<E> fromRawValue(const QString &raw)
{
    for (const auto &[candidate, name] : RawEnumCases<E>::cases) {
        if (raw == QLatin1String(name.data(), qsizetype(name.size())))
            return candidate;
    }
    return std::nullopt;
}

template<class E>
constexpr auto allCases()
{
    std::array<E, RawEnumCases<E>::cases.size()> result{};
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = RawEnumCases<E>::cases[i].first;
    return result;
}

template<class E>
constexpr std::size_t caseIndex(E value)
{
    for (std::size_t i = 0; i < RawEnumCases<E>::cases.size(); ++i) {
        if (RawEnumCases<E>::cases[i].first == value)
            return i;
    }
    return 0;
}

namespace json {
template<class E>
E decodeRawEnum(const QJsonValue &value, const QString &context = {})
{
    const QString raw = asString(value, context);
    if (auto result = fromRawValue<E>(raw))
        return *result;
    throw DecodingError(context, QStringLiteral("Cannot initialize from invalid String value %1").arg(raw));
}

template<class E>
E rawEnum(const QJsonObject &o, const QString &key)
{
    return decodeRawEnum<E>(require(o, key), key);
}
} // namespace json
