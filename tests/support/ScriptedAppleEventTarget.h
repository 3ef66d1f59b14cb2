#pragma once

#include "AppleEvents.h"

#include <functional>
#include <mutex>
#include <vector>

// An in-process stand-in for a scriptable application: it answers 'getd' and
// 'setd' from a table of properties (the application's and its current track's),
// records every event it receives, and can be told to fail.
class ScriptedAppleEventTarget final : public AppleEventTransport {
public:
    struct Received {
        AppleEvent event;
        double timeout = 0;
    };
    enum class Scope { application, track };

    explicit ScriptedAppleEventTarget(std::int32_t pid = 4242, QString applicationId = "com.spotify.client");

    AESendResult send(const AppleEvent &event, double timeoutSeconds) override;
    std::optional<QString> applicationIdentifier(std::int32_t pid) override;

    void setProcess(std::int32_t pid)
    {
        const std::lock_guard lock(m_mutex);
        m_pid = pid;
    }
    void setProperty(Scope scope, const char (&code)[5], AEDescriptor value);
    void removeProperty(Scope scope, const char (&code)[5]);
    std::optional<AEDescriptor> property(Scope scope, const char (&code)[5]) const;
    // Answers every event touching this property with the error number.
    void failProperty(const char (&code)[5], OSStatus errn);
    // Fails delivery of every event as a transport would.
    void failDelivery(std::optional<AESendError> error);
    // Runs before the table; a result replaces the table's answer.
    void setHandler(std::function<std::optional<AESendResult>(const AppleEvent &)> handler);

    std::vector<Received> received() const;
    void clearReceived();

    // The property a 'getd'/'setd' direct object names, with its scope.
    static std::optional<std::pair<Scope, FourCharCode>> propertyOf(const AEDescriptor &specifier);

private:
    mutable std::mutex m_mutex;
    std::int32_t m_pid;
    QString m_applicationId;
    std::map<std::pair<Scope, FourCharCode>, AEDescriptor> m_properties;
    std::map<FourCharCode, OSStatus> m_failures;
    std::optional<AESendError> m_deliveryError;
    std::function<std::optional<AESendResult>(const AppleEvent &)> m_handler;
    std::vector<Received> m_received;
};
