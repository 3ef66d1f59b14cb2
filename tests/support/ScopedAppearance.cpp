#include "ScopedAppearance.h"

ScopedAppearance::ScopedAppearance(const SystemAppearance::Overrides &overrides)
    : m_previous(SystemAppearance::shared()->overrides())
{
    SystemAppearance::shared()->setOverrides(overrides);
}

ScopedAppearance::~ScopedAppearance()
{
    SystemAppearance::shared()->setOverrides(m_previous);
}
