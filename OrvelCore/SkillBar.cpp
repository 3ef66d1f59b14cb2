#include "SkillBar.h"

#include "Uuid.h"

#include <utility>

SkillBar::SkillBar(const QList<std::optional<QUuid>> &ids)
{
    int index = 0;
    for (const auto &id : ids) {
        if (index == capacity)
            break;
        if (id && slot(*id))
            m_slots[index] = std::nullopt;
        else
            m_slots[index] = id;
        ++index;
    }
}

std::array<std::optional<MusicShortcut>, SkillBar::capacity> SkillBar::resolve(
    const QList<MusicShortcut> &shortcuts) const
{
    std::array<std::optional<MusicShortcut>, capacity> result;
    for (int i = 0; i < capacity; ++i) {
        if (!m_slots[i])
            continue;
        for (const MusicShortcut &shortcut : shortcuts) {
            if (shortcut.id == *m_slots[i]) {
                result[i] = shortcut;
                break;
            }
        }
    }
    return result;
}

bool SkillBar::hasSkills(const QList<MusicShortcut> &shortcuts) const
{
    for (const auto &resolved : resolve(shortcuts)) {
        if (resolved)
            return true;
    }
    return false;
}

std::optional<int> SkillBar::slot(const QUuid &id) const
{
    for (int i = 0; i < capacity; ++i) {
        if (m_slots[i] == id)
            return i;
    }
    return std::nullopt;
}

std::optional<int> SkillBar::firstEmptySlot() const
{
    for (int i = 0; i < capacity; ++i) {
        if (!m_slots[i])
            return i;
    }
    return std::nullopt;
}

void SkillBar::assign(const std::optional<QUuid> &id, int index)
{
    if (!isSlot(index))
        return;
    if (id) {
        if (const auto current = slot(*id))
            m_slots[*current] = std::nullopt;
    }
    m_slots[index] = id;
}

void SkillBar::swap(int i, int j)
{
    if (!isSlot(i) || !isSlot(j) || i == j)
        return;
    std::swap(m_slots[i], m_slots[j]);
}

void SkillBar::remove(const QUuid &id)
{
    if (const auto index = slot(id))
        m_slots[*index] = std::nullopt;
}

QJsonValue SkillBar::toJson() const
{
    QJsonArray ids;
    for (const auto &id : m_slots)
        ids.append(id ? QJsonValue(uuidString(*id)) : QJsonValue(QJsonValue::Null));
    return QJsonObject{{QStringLiteral("slots"), ids}};
}

SkillBar SkillBar::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    const QJsonValue member = o.value(QStringLiteral("slots"));
    if (!member.isArray())
        return SkillBar();
    QList<std::optional<QUuid>> ids;
    const QJsonArray elements = member.toArray();
    for (const QJsonValue &element : elements) {
        if (element.isNull()) {
            ids.append(std::nullopt);
            continue;
        }
        const auto id = element.isString() ? uuidFromString(element.toString()) : std::nullopt;
        // One bad element discards the whole list, not just itself.
        if (!id)
            return SkillBar();
        ids.append(id);
    }
    return SkillBar(ids);
}

std::optional<double> HoverPolicy::delay(bool entering, SkillPlacement placement, bool overSkills)
{
    if (!entering)
        return closeDelay;
    if (placement == SkillPlacement::peek) {
        if (overSkills)
            return std::nullopt;
        return peekOpenDelay;
    }
    return openDelay;
}
