#pragma once

#include "AppleEvents.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The user's answers to "may Orvel control this application?", kept as one JSON
// object from application id to "allowed" or "denied". Copies share the
// answers that could not be saved yet.
class AutomationConsentRecord {
public:
    // $XDG_CONFIG_HOME/com.velbrandtoro.Orvel/automation.json
    static QString defaultPath();
    // A file that cannot be used is set aside, or left alone when it cannot
    // be opened (KeptFiles).
    explicit AutomationConsentRecord(QString path = defaultPath());

    const QString &path() const { return m_path; }
    // Nothing when the user was never asked (or the file cannot be read).
    std::optional<bool> answer(const QString &applicationId) const;
    // Writes the answer atomically, keeping the other entries; false when it
    // could not be written, in which case this run keeps the answer in memory.
    // A file that exists but cannot be read is not written over.
    bool record(const QString &applicationId, bool allowed) const;

private:
    struct Unsaved {
        QMutex mutex;
        QHash<QString, bool> answers;
    };
    QString m_path;
    std::shared_ptr<Unsaved> m_unsaved;
};

// Shows the consent question for an application; nothing when no one can be asked.
using ConsentPrompt = std::function<std::optional<bool>(const QString &applicationId)>;

// Whether events of this class and id may be sent to the process: 0 when allowed,
// -1744 when the user has not been asked, -1743 when refused, -600 when there is no such process.
class AutomationPermission {
public:
    explicit AutomationPermission(
        AutomationConsentRecord record = AutomationConsentRecord(), ConsentPrompt prompt = {});

    void setPrompt(ConsentPrompt prompt) { m_prompt = std::move(prompt); }
    OSStatus determine(AppleEventTransport &transport, std::int32_t pid, FourCharCode eventClass,
        FourCharCode eventID, bool askUserIfNeeded) const;
    // Puts the question again even when it was answered, and records the new
    // answer: our stand-in for the system's Automation list. Nothing when no
    // one can be asked; the record then stays as it was.
    std::optional<bool> askAgain(const QString &applicationId) const;

private:
    AutomationConsentRecord m_record;
    ConsentPrompt m_prompt;
};
