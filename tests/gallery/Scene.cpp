#include "Scene.h"

#include "ArtworkImageProvider.h"
#include "DashboardState.h"
#include "Date.h"
#include "Defaults.h"
#include "DisplayCatalog.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "SharedStore.h"
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
    if (m_root) {
        m_root->coordinator().flush();
        m_root.reset();
    }
    scheduler.runUntilIdle();
    SystemAppearance::shared()->setOverrides({});
    Date::setNowProvider({});
    PlatformFeatures::setCurrent(m_features);
}

Aura ScriptedState::aura() const
{
    return Aura(palette, palette ? std::optional<QString>(QStringLiteral("scripted")) : std::nullopt);
}

SharedStore ScriptedState::store() const
{
    return SharedStore(home.path("group"), home.path("support"));
}

AppRoot &ScriptedState::root()
{
    if (!m_root) {
        m_defaults = std::make_unique<Defaults>(home.path("config/defaults.json"), scheduler);
        m_spotify = std::make_shared<ScriptedSpotify>(scheduler);
        m_workspace.spotifyPid = 4242;
        if (displays)
            m_screens.list = *displays;
        m_root = std::make_unique<AppRoot>(AppRoot::Outside{scheduler, *m_defaults, m_widgets, m_workspace,
            m_login, m_announcer, m_spotify, [this] { return store(); }, [] { return false; }, nullptr, false,
            [] {}, displays ? &m_screens : nullptr});
    }
    return *m_root;
}

void ScriptedState::apply(QmlHarness &harness)
{
    AppRoot &owners = root();
    PlaybackCoordinator &coordinator = owners.coordinator();
    if (!shortcuts.isEmpty())
        coordinator.saveShortcuts(shortcuts);
    if (playback) {
        m_spotify->state = *playback;
        coordinator.publish(*playback, true);
    }
    if (!cover.isNull())
        coordinator.setArtwork(cover, palette, QStringLiteral("scripted"));
    harness.provide(owners.preferences());
    harness.provide(coordinator);
    harness.provide(owners.dashboardState());
    harness.provide(owners.displays());
    ArtworkImageProvider::install(harness.engine(), coordinator);
}

QUrl sceneFile(const QString &name)
{
    return QUrl(QStringLiteral("qrc:/gallery/scenes/%1.qml").arg(name));
}
