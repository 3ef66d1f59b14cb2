#include "DashboardMetrics.h"

#include <algorithm>

DashboardMetrics::DashboardMetrics(QObject *parent)
    : QObject(parent)
{
}

void DashboardMetrics::setSkin(Skin skin)
{
    if (skin == m_skin)
        return;
    m_skin = skin;
    emit skinChanged();
}

void DashboardMetrics::setSkinName(const QString &name)
{
    if (const auto skin = fromRawValue<Skin>(name))
        setSkin(*skin);
}

double DashboardMetrics::columnWidth(double available)
{
    return std::clamp(available, 0.0, double(columnLimit));
}
