#include "AutomationPermission.h"

#include "KeptFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {
std::optional<QJsonObject> parseRecord(const QByteArray &data)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

// The record on disk: empty when there is none, nothing when it cannot be used.
std::optional<QJsonObject> readRecord(const QString &path)
{
    const KeptRead read = PrivateFiles::readCapped(path);
    if (read.status == KeptRead::Status::missing)
        return QJsonObject();
    if (!read.wasRead())
        return std::nullopt;
    return parseRecord(read.data);
}
} // namespace

QString AutomationConsentRecord::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/com.velbrandtoro.Orvel/automation.json");
}

AutomationConsentRecord::AutomationConsentRecord(QString path)
    : m_path(std::move(path))
    , m_unsaved(std::make_shared<Unsaved>())
{
    KeptFiles::load(m_path, [](const QByteArray &data) { return parseRecord(data).has_value(); });
}

std::optional<bool> AutomationConsentRecord::answer(const QString &applicationId) const
{
    {
        const QMutexLocker lock(&m_unsaved->mutex);
        const auto unsaved = m_unsaved->answers.constFind(applicationId);
        if (unsaved != m_unsaved->answers.cend())
            return *unsaved;
    }
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
    // Answers this run are kept here until a save succeeds, so a failed save
    // does not ask the user again; a later save writes them all.
    const QMutexLocker lock(&m_unsaved->mutex);
    m_unsaved->answers.insert(applicationId, allowed);
    std::optional<QJsonObject> object = readRecord(m_path);
    if (!object) {
        KeptFiles::report(FileError(m_path, QStringLiteral("it cannot be read, so it is not saved over")));
        return false;
    }
    for (auto it = m_unsaved->answers.cbegin(); it != m_unsaved->answers.cend(); ++it)
        object->insert(it.key(), it.value() ? QStringLiteral("allowed") : QStringLiteral("denied"));
    try {
        KeptFiles::save(m_path, QJsonDocument(*object).toJson(QJsonDocument::Compact));
    } catch (const FileError &) {
        return false;
    }
    m_unsaved->answers.clear();
    return true;
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
