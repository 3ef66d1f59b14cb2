#include "AutomationPermission.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

std::optional<QJsonObject> readRecord(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

QString AutomationConsentRecord::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel/automation.json");
}

AutomationConsentRecord::AutomationConsentRecord(QString path)
    : m_path(std::move(path))
{
}

std::optional<bool> AutomationConsentRecord::answer(const QString &applicationId) const
{
    const auto record = readRecord(m_path);
    if (!record)
        return std::nullopt;
    const QJsonValue value = record->value(applicationId);
    if (value == QJsonValue(QStringLiteral("allowed")))
        return true;
    if (value == QJsonValue(QStringLiteral("denied")))
        return false;
    return std::nullopt;
}

bool AutomationConsentRecord::record(const QString &applicationId, bool allowed) const
{
    // An unreadable record holds no answer worth keeping; a readable one keeps its other entries.
    QJsonObject object = readRecord(m_path).value_or(QJsonObject());
    object.insert(applicationId, allowed ? QStringLiteral("allowed") : QStringLiteral("denied"));
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    return file.commit();
}

AutomationPermission::AutomationPermission(AutomationConsentRecord record, ConsentPrompt prompt)
    : m_record(std::move(record))
    , m_prompt(std::move(prompt))
{
}

OSStatus AutomationPermission::determine(
    AppleEventTransport &transport, std::int32_t pid, FourCharCode, FourCharCode, bool askUserIfNeeded) const
{
    // One answer covers every event to the application, as the consent is asked per application.
    const auto applicationId = transport.applicationIdentifier(pid);
    if (!applicationId)
        return AEStatus::procNotFound;
    if (const auto answer = m_record.answer(*applicationId))
        return *answer ? AEStatus::noErr : AEStatus::errAEEventNotPermitted;
    if (!askUserIfNeeded || !m_prompt)
        return AEStatus::errAEEventWouldRequireUserConsent;
    const auto answer = m_prompt(*applicationId);
    if (!answer)
        return AEStatus::errAEEventWouldRequireUserConsent;
    m_record.record(*applicationId, *answer);
    return *answer ? AEStatus::noErr : AEStatus::errAEEventNotPermitted;
}

std::optional<bool> AutomationPermission::askAgain(const QString &applicationId) const
{
    if (!m_prompt)
        return std::nullopt;
    const auto answer = m_prompt(applicationId);
    if (answer)
        m_record.record(applicationId, *answer);
    return answer;
}
