#include "DashboardState.h"

DashboardState::DashboardState(QObject *parent)
    : QObject(parent)
{
}

void DashboardState::setSection(DashboardSection section)
{
    m_section = section;
    emit sectionChanged();
}

void DashboardState::setSkillSlot(std::optional<int> slot)
{
    m_skillSlot = slot;
    emit skillSlotChanged();
}

void DashboardState::setSectionRawValue(const QString &value)
{
    if (const auto section = fromRawValue<DashboardSection>(value))
        setSection(*section);
}

void DashboardState::setSkillSlotValue(const QVariant &value)
{
    bool ok = false;
    const int slot = value.toInt(&ok);
    setSkillSlot(value.isNull() || !ok ? std::nullopt : std::optional<int>(slot));
}
