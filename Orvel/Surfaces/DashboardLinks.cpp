#include "DashboardLinks.h"

#include "AppDelegate.h"

namespace {
void open(DashboardSection section, std::optional<int> slot)
{
    if (AppDelegate *delegate = AppDelegate::current())
        delegate->openDashboard(section, slot);
}
} // namespace

void openShortcutsPage()
{
    open(DashboardSection::shortcuts, std::nullopt);
}

void openDashboardSection(DashboardSection section)
{
    open(section, std::nullopt);
}

void openSkillSlot(int slot)
{
    open(DashboardSection::shortcuts, slot);
}

void DashboardLinks::openSection(const QString &section) const
{
    if (const auto value = fromRawValue<DashboardSection>(section))
        openDashboardSection(*value);
}
