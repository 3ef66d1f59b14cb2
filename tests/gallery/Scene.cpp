#include "Scene.h"

#include "Date.h"
#include "SystemAppearance.h"

namespace {
// 2027-01-15 12:00 UTC: every scene sees the same wall clock.
constexpr double sceneUnixSeconds = 1800013200;
} // namespace

ScriptedState::ScriptedState()
{
    Date::setNowProvider([this] { return Date::fromUnixSeconds(sceneUnixSeconds + scheduler.now()); });
    // The desktop's Reduce Motion must not change what the pictures show.
    SystemAppearance::shared()->setOverrides({false, false, false});
}

ScriptedState::~ScriptedState()
{
    SystemAppearance::shared()->setOverrides({});
    Date::setNowProvider({});
}

Aura ScriptedState::aura() const
{
    return Aura(palette, palette ? std::optional<QString>(QStringLiteral("scripted")) : std::nullopt);
}

QUrl sceneFile(const QString &name)
{
    return QUrl(QStringLiteral("qrc:/gallery/scenes/%1.qml").arg(name));
}
