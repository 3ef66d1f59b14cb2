#include "DashboardLinks.h"

DashboardLinks::DashboardLinks(DashboardState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
}

void DashboardLinks::open(DashboardSection section, std::optional<int> skillSlot) const
{
    if (m_state)
        m_state->requestOpen(section, skillSlot);
}

void DashboardLinks::openSection(const QString &section) const
{
    if (const auto value = fromRawValue<DashboardSection>(section))
        open(*value);
}
