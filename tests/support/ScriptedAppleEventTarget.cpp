#include "ScriptedAppleEventTarget.h"

ScriptedAppleEventTarget::ScriptedAppleEventTarget(std::int32_t pid, QString applicationId)
    : m_pid(pid)
    , m_applicationId(std::move(applicationId))
{
}

std::optional<std::pair<ScriptedAppleEventTarget::Scope, FourCharCode>> ScriptedAppleEventTarget::propertyOf(
    const AEDescriptor &specifier)
{
    const auto reference = propertyReference(specifier);
    if (!reference)
        return std::nullopt;
    if (reference->container == 0)
        return std::make_pair(Scope::application, reference->property);
    if (reference->container == fourCharCode("pTrk"))
        return std::make_pair(Scope::track, reference->property);
    return std::nullopt;
}

AESendResult ScriptedAppleEventTarget::send(const AppleEvent &event, double timeoutSeconds)
{
    std::function<std::optional<AESendResult>(const AppleEvent &)> handler;
    {
        const std::lock_guard lock(m_mutex);
        m_received.push_back({event, timeoutSeconds});
        if (event.targetProcess != m_pid)
            return AESendResult::failure("NSOSStatusErrorDomain", AEStatus::procNotFound);
        if (m_deliveryError)
            return {{}, m_deliveryError};
        handler = m_handler;
    }
    if (handler) {
        if (auto result = handler(event))
            return *result;
    }

    const std::lock_guard lock(m_mutex);
    const bool getd = event.eventClass == fourCharCode("core") && event.eventID == fourCharCode("getd");
    const bool setd = event.eventClass == fourCharCode("core") && event.eventID == fourCharCode("setd");
    if (getd || setd) {
        const auto *object = event.parameter(AEKeyword::directObject);
        const auto property = object ? propertyOf(*object) : std::nullopt;
        if (!property)
            return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
        if (auto failure = m_failures.find(property->second); failure != m_failures.end())
            return AESendResult::errorNumber(failure->second);
        if (setd) {
            const auto *data = event.parameter(AEKeyword::data);
            if (!data)
                return AESendResult::errorNumber(AEStatus::errAEEventFailed);
            m_properties[*property] = *data;
            return AESendResult{};
        }
        auto it = m_properties.find(*property);
        if (it == m_properties.end())
            return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
        return AESendResult::value(it->second);
    }
    if (event.eventClass == fourCharCode("spfy")) {
        const auto state = std::make_pair(Scope::application, fourCharCode("pPlS"));
        if (event.eventID == fourCharCode("Play") || event.eventID == fourCharCode("PCtx"))
            m_properties[state] = AEDescriptor::enumeration(fourCharCode("kPSP"));
        else if (event.eventID == fourCharCode("Paus"))
            m_properties[state] = AEDescriptor::enumeration(fourCharCode("kPSp"));
        return AESendResult{};
    }
    return AESendResult::errorNumber(AEStatus::errAEEventNotHandled);
}

std::optional<QString> ScriptedAppleEventTarget::applicationIdentifier(std::int32_t pid)
{
    const std::lock_guard lock(m_mutex);
    if (pid <= 0 || pid != m_pid)
        return std::nullopt;
    return m_applicationId;
}

void ScriptedAppleEventTarget::setProperty(Scope scope, const char (&code)[5], AEDescriptor value)
{
    const std::lock_guard lock(m_mutex);
    m_properties[{scope, fourCharCode(code)}] = std::move(value);
}

void ScriptedAppleEventTarget::removeProperty(Scope scope, const char (&code)[5])
{
    const std::lock_guard lock(m_mutex);
    m_properties.erase({scope, fourCharCode(code)});
}

std::optional<AEDescriptor> ScriptedAppleEventTarget::property(Scope scope, const char (&code)[5]) const
{
    const std::lock_guard lock(m_mutex);
    auto it = m_properties.find({scope, fourCharCode(code)});
    if (it == m_properties.end())
        return std::nullopt;
    return it->second;
}

void ScriptedAppleEventTarget::failProperty(const char (&code)[5], OSStatus errn)
{
    const std::lock_guard lock(m_mutex);
    m_failures[fourCharCode(code)] = errn;
}

void ScriptedAppleEventTarget::failDelivery(std::optional<AESendError> error)
{
    const std::lock_guard lock(m_mutex);
    m_deliveryError = std::move(error);
}

void ScriptedAppleEventTarget::setHandler(
    std::function<std::optional<AESendResult>(const AppleEvent &)> handler)
{
    const std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

std::vector<ScriptedAppleEventTarget::Received> ScriptedAppleEventTarget::received() const
{
    const std::lock_guard lock(m_mutex);
    return m_received;
}

void ScriptedAppleEventTarget::clearReceived()
{
    const std::lock_guard lock(m_mutex);
    m_received.clear();
}
