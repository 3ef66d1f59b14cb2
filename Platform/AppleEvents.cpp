#include "AppleEvents.h"

#include <cmath>
#include <limits>

FourCharCode fourCharCode(const QString &text)
{
    if (text.size() != 4)
        return 0;
    FourCharCode code = 0;
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return 0;
        code = (code << 8) | FourCharCode(c.unicode());
    }
    return code;
}

QString fourCharString(FourCharCode code)
{
    QString text;
    for (int shift = 24; shift >= 0; shift -= 8)
        text.append(QChar(char16_t((code >> shift) & 0xFF)));
    return text;
}

AEDescriptor AEDescriptor::make(Kind kind, Value value)
{
    AEDescriptor d;
    d.m_kind = kind;
    d.m_value = std::move(value);
    return d;
}

AEDescriptor AEDescriptor::boolean(bool value)
{
    return make(Kind::boolean, value);
}

AEDescriptor AEDescriptor::integer(std::int32_t value)
{
    return make(Kind::integer, value);
}

AEDescriptor AEDescriptor::real(double value)
{
    return make(Kind::real, value);
}

AEDescriptor AEDescriptor::text(const QString &value)
{
    return make(Kind::text, value);
}

AEDescriptor AEDescriptor::enumeration(FourCharCode code)
{
    return make(Kind::enumeration, code);
}

AEDescriptor AEDescriptor::type(FourCharCode code)
{
    return make(Kind::type, code);
}

AEDescriptor AEDescriptor::record(Fields fields)
{
    AEDescriptor d;
    d.m_kind = Kind::record;
    d.m_fields = std::move(fields);
    return d;
}

FourCharCode AEDescriptor::descriptorType() const
{
    switch (m_kind) {
    case Kind::null:
        return fourCharCode("null");
    case Kind::boolean:
        return fourCharCode("bool");
    case Kind::integer:
        return fourCharCode("long");
    case Kind::real:
        return fourCharCode("doub");
    case Kind::text:
        return fourCharCode("utxt");
    case Kind::enumeration:
        return fourCharCode("enum");
    case Kind::type:
        return fourCharCode("type");
    case Kind::record:
        return fourCharCode("reco");
    case Kind::objectSpecifier:
        return fourCharCode("obj ");
    }
    return 0;
}

std::optional<AEDescriptor> AEDescriptor::coercedToObjectSpecifier() const
{
    if (m_kind == Kind::objectSpecifier)
        return *this;
    if (m_kind != Kind::record)
        return std::nullopt;
    AEDescriptor d = *this;
    d.m_kind = Kind::objectSpecifier;
    return d;
}

std::optional<bool> AEDescriptor::booleanValue() const
{
    switch (m_kind) {
    case Kind::boolean:
        return std::get<bool>(m_value);
    case Kind::integer: {
        const auto v = std::get<std::int32_t>(m_value);
        if (v == 0 || v == 1)
            return v == 1;
        return std::nullopt;
    }
    case Kind::enumeration: {
        const auto v = std::get<FourCharCode>(m_value);
        if (v == fourCharCode("true") || v == fourCharCode("fals"))
            return v == fourCharCode("true");
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::int32_t> AEDescriptor::int32Value() const
{
    switch (m_kind) {
    case Kind::integer:
        return std::get<std::int32_t>(m_value);
    case Kind::real: {
        const double v = std::get<double>(m_value);
        if (!std::isfinite(v) || v < double(std::numeric_limits<std::int32_t>::min())
            || v > double(std::numeric_limits<std::int32_t>::max()))
            return std::nullopt;
        return std::int32_t(std::lround(v));
    }
    case Kind::boolean:
        return std::get<bool>(m_value) ? 1 : 0;
    default:
        return std::nullopt;
    }
}

std::optional<double> AEDescriptor::doubleValue() const
{
    switch (m_kind) {
    case Kind::real:
        return std::get<double>(m_value);
    case Kind::integer:
        return double(std::get<std::int32_t>(m_value));
    default:
        return std::nullopt;
    }
}

std::optional<QString> AEDescriptor::stringValue() const
{
    switch (m_kind) {
    case Kind::text:
        return std::get<QString>(m_value);
    case Kind::integer:
        return QString::number(std::get<std::int32_t>(m_value));
    default:
        return std::nullopt;
    }
}

std::optional<FourCharCode> AEDescriptor::enumCodeValue() const
{
    if (m_kind == Kind::enumeration || m_kind == Kind::type)
        return std::get<FourCharCode>(m_value);
    return std::nullopt;
}

std::optional<FourCharCode> AEDescriptor::typeCodeValue() const
{
    return enumCodeValue();
}

const AEDescriptor *AEDescriptor::field(FourCharCode keyword) const
{
    if (m_kind != Kind::record && m_kind != Kind::objectSpecifier)
        return nullptr;
    auto it = m_fields.find(keyword);
    return it == m_fields.end() ? nullptr : &it->second;
}

std::optional<PropertyReference> propertyReference(const AEDescriptor &specifier)
{
    if (specifier.kind() != AEDescriptor::Kind::objectSpecifier)
        return std::nullopt;
    const auto *want = specifier.field(AEKeyword::desiredClass);
    const auto *form = specifier.field(AEKeyword::keyForm);
    const auto *seld = specifier.field(AEKeyword::keyData);
    const auto *from = specifier.field(AEKeyword::container);
    if (!want || !form || !seld || !from || want->typeCodeValue() != fourCharCode("prop")
        || form->enumCodeValue() != fourCharCode("prop") || !seld->typeCodeValue())
        return std::nullopt;
    if (from->isNull())
        return PropertyReference{0, *seld->typeCodeValue()};
    const auto container = propertyReference(*from);
    if (!container || container->container != 0)
        return std::nullopt; // deeper nesting is not something we address
    return PropertyReference{container->property, *seld->typeCodeValue()};
}

const AEDescriptor *AppleEvent::parameter(FourCharCode keyword) const
{
    auto it = parameters.find(keyword);
    return it == parameters.end() ? nullptr : &it->second;
}

AESendResult AESendResult::value(AEDescriptor result)
{
    AESendResult r;
    r.reply[AEKeyword::directObject] = std::move(result);
    return r;
}

AESendResult AESendResult::errorNumber(OSStatus code)
{
    AESendResult r;
    r.reply[AEKeyword::errorNumber] = AEDescriptor::integer(code);
    return r;
}

AppleEventTransport::~AppleEventTransport() = default;
