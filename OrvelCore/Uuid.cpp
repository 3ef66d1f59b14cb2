#include "Uuid.h"

QString uuidString(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> uuidFromString(const QString &text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (dash ? c != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

namespace json {
QUuid decodeUuid(const QJsonValue &value, const QString &context)
{
    const QString text = asString(value, context);
    if (auto id = uuidFromString(text))
        return *id;
    throw DecodingError(context, QStringLiteral("Attempted to decode UUID from invalid UUID string."));
}
} // namespace json
