#include "TopPlayerSettingsModel.h"

#include "Localization.h"
#include "Preferences.h"
#include "VisualizerSettingsModel.h"

#include <cmath>

void TopPlayerSettingsModel::setIdleOpacity(double opacity)
{
    if (opacity == m_idleOpacity || (std::isnan(opacity) && std::isnan(m_idleOpacity)))
        return;
    m_idleOpacity = opacity;
    emit changed();
}

void TopPlayerSettingsModel::setPlayerPositions(const QVariantMap &positions)
{
    if (positions == m_playerPositions)
        return;
    m_playerPositions = positions;
    emit changed();
}

double TopPlayerSettingsModel::minimumOpacity()
{
    return Preferences::minimumIdleOpacity;
}

double TopPlayerSettingsModel::maximumOpacity()
{
    return Preferences::maximumIdleOpacity;
}

QString TopPlayerSettingsModel::opacityText() const
{
    // A localisable text of its own, so a language can place the sign its way.
    return localized(QStringLiteral("%lld%"),
        {VisualizerSettingsModel::wholePercent(m_idleOpacity, Preferences::defaultIdleOpacity)});
}
