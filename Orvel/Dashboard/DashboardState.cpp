#include "DashboardState.h"

#include "Localization.h"

QString title(DashboardSection section)
{
    switch (section) {
    case DashboardSection::overview:
        return localized(QStringLiteral("Overview"));
    case DashboardSection::shortcuts:
        return localized(QStringLiteral("Shortcuts"));
    case DashboardSection::appearance:
        return localized(QStringLiteral("Preferences"));
    case DashboardSection::personalization:
        return localized(QStringLiteral("Appearance"));
    case DashboardSection::about:
        return localized(QStringLiteral("About"));
    }
    return {};
}

DashboardState::DashboardState(QObject *parent)
    : QObject(parent)
{
}

void DashboardState::setSection(DashboardSection section)
{
    m_section = section;
    emit sectionChanged();
}

QString DashboardState::titleOf(const QString &section) const
{
    const auto parsed = fromRawValue<DashboardSection>(section);
    return parsed ? title(*parsed) : QString();
}

QStringList DashboardState::sections() const
{
    QStringList result;
    for (const DashboardSection section : allCases<DashboardSection>())
        result << toRawValue(section);
    return result;
}

void DashboardState::setSkillSlot(std::optional<int> slot)
{
    if (slot && (*slot < 0 || *slot >= skillSlotCount))
        slot.reset();
    m_skillSlot = slot;
    emit skillSlotChanged();
}

void DashboardState::requestOpen(DashboardSection section, std::optional<int> skillSlot)
{
    emit openRequested(section, skillSlot);
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
