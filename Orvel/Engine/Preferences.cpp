#include "Preferences.h"

#include "Defaults.h"
#include "Localization.h"
#include "LoginItem.h"
#include "SystemAppearance.h"
#include "WidgetCenter.h"

#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
namespace Key {
const QString notchEnabled = QStringLiteral("notchEnabled");
const QString sidebarEnabled = QStringLiteral("sidebarEnabled");
const QString showInFullScreen = QStringLiteral("showInFullScreen");
const QString onboardingComplete = QStringLiteral("onboardingComplete");
const QString displayScope = QStringLiteral("displayScope");
const QString selectedDisplayID = QStringLiteral("selectedDisplayID");
const QString setupVersion = QStringLiteral("setupVersion");
const QString visualizer = QStringLiteral("visualizer");
const QString effects = QStringLiteral("effectsMode");
const QString animations = QStringLiteral("animations");
const QString skillPlacement = QStringLiteral("skillPlacement");
const QString skills = QStringLiteral("skillBar");
const QString skin = QStringLiteral("skin");
const QString dragEnabled = QStringLiteral("dragEnabled");
const QString compactTranslucency = QStringLiteral("compactTranslucency");
const QString idleOpacity = QStringLiteral("idleOpacity");
const QString playerPositions = QStringLiteral("playerPositions");
} // namespace Key

template<class T>
std::optional<T> decodeStored(const Defaults &defaults, const QString &key)
{
    const auto data = defaults.value<QByteArray>(key);
    if (!data)
        return std::nullopt;
    try {
        return T::fromJson(json::parse(*data));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// Holds neither the preferences nor anything of theirs, so it may outlive them.
QCoro::Task<void> reloadWidgetsLater(Scheduler &scheduler, WidgetCenter *center, TaskHandle self)
{
    // Awaited into a variable: GCC 12 miscompiles a co_await inside an if condition.
    const bool slept = co_await scheduler.sleep(Preferences::widgetReloadDelay, self);
    if (!slept)
        co_return;
    (center ? *center : WidgetCenter::shared()).reloadAllTimelines();
}
} // namespace

Preferences::Preferences()
    : Preferences(Services())
{
}

Preferences::Preferences(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    m_loginEnabled = loginItem().status() == LoginItem::Status::enabled;
    readStoredSettings();
}

Preferences &Preferences::shared()
{
    static Preferences *instance = new Preferences();
    return *instance;
}

Defaults &Preferences::defaults() const
{
    return m_services.defaults ? *m_services.defaults : Defaults::standard();
}

SharedStore Preferences::makeStore() const
{
    return m_services.makeStore ? m_services.makeStore() : SharedStore();
}

LoginItem &Preferences::loginItem() const
{
    return m_services.loginItem ? *m_services.loginItem : LoginItem::mainApp();
}

void Preferences::readStoredSettings()
{
    const Defaults &stored = defaults();
    m_notchEnabled = stored.value<bool>(Key::notchEnabled).value_or(true);
    m_sidebarEnabled = stored.value<bool>(Key::sidebarEnabled).value_or(true);
    m_showInFullScreen = stored.boolean(Key::showInFullScreen);
    m_onboardingComplete = stored.boolean(Key::onboardingComplete);
    m_displayScope = fromRawValue<DisplayScope>(stored.value<QString>(Key::displayScope).value_or(QString()))
                         .value_or(DisplayScope::all);
    m_selectedDisplayID = stored.value<QString>(Key::selectedDisplayID);
    m_setupVersion = int(std::clamp<qint64>(
        stored.integer(Key::setupVersion), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    m_visualizer = decodeStored<VisualizerSettings>(stored, Key::visualizer).value_or(VisualizerSettings());
    m_effects = stored.value<QString>(Key::effects) == QLatin1String("light") ? EffectsMode::light
                                                                              : EffectsMode::standard;
    m_animations = decodeStored<AnimationSettings>(stored, Key::animations).value_or(AnimationSettings());
    m_skillPlacement
        = fromRawValue<SkillPlacement>(stored.value<QString>(Key::skillPlacement).value_or(QString()))
              .value_or(SkillPlacement::row);
    m_skills = decodeStored<SkillBar>(stored, Key::skills).value_or(SkillBar());
    m_skin = skinFromStoredValue(stored.value<QString>(Key::skin));
    m_dragEnabled = stored.value<bool>(Key::dragEnabled).value_or(true);
    m_compactTranslucency = stored.value<bool>(Key::compactTranslucency).value_or(true);

    std::optional<double> opacity = stored.value<double>(Key::idleOpacity);
    if (const auto integer = stored.value<qint64>(Key::idleOpacity))
        opacity = double(*integer);
    m_idleOpacity = opacity && std::isfinite(*opacity)
        ? std::clamp(*opacity, minimumIdleOpacity, maximumIdleOpacity)
        : defaultIdleOpacity;

    // One entry that does not decode costs the whole dictionary, as any bad data does.
    if (const auto data = stored.value<QByteArray>(Key::playerPositions)) {
        try {
            const QJsonObject object = json::asObject(json::parse(*data));
            QMap<QString, PlayerPosition> positions;
            for (auto it = object.begin(); it != object.end(); ++it)
                positions.insert(it.key(), PlayerPosition::fromJson(it.value()));
            m_playerPositions = positions;
        } catch (const std::exception &) {
        }
    }
}

void Preferences::persist()
{
    using Value = Defaults::Value;
    std::vector<Defaults::Change> changes{
        {Key::notchEnabled, Value(m_notchEnabled)},
        {Key::sidebarEnabled, Value(m_sidebarEnabled)},
        {Key::showInFullScreen, Value(m_showInFullScreen)},
        {Key::onboardingComplete, Value(m_onboardingComplete)},
        {Key::setupVersion, Value(qint64(m_setupVersion))},
        {Key::displayScope, Value(toRawValue(m_displayScope))},
        {Key::selectedDisplayID,
            m_selectedDisplayID ? std::optional<Value>(*m_selectedDisplayID) : std::optional<Value>()},
        {Key::effects, Value(toRawValue(m_effects))},
        {Key::dragEnabled, Value(m_dragEnabled)},
        {Key::compactTranslucency, Value(m_compactTranslucency)},
        {Key::idleOpacity, Value(m_idleOpacity)},
        {Key::skillPlacement, Value(toRawValue(m_skillPlacement))},
    };
    try {
        QJsonObject positions;
        for (auto it = m_playerPositions.cbegin(); it != m_playerPositions.cend(); ++it)
            positions.insert(it.key(), it.value().toJson());
        changes.emplace_back(Key::playerPositions, Value(json::serialize(positions)));
    } catch (const json::EncodingError &) {
        // This key alone keeps what it had.
    }
    defaults().apply(changes);
}

void Preferences::notify(void (Preferences::*signal)())
{
    emit(this->*signal)();
    emit changed();
}

// MARK: - Plain settings

void Preferences::setNotchEnabled(bool value)
{
    m_notchEnabled = value;
    persist();
    notify(&Preferences::notchEnabledChanged);
}

void Preferences::setSidebarEnabled(bool value)
{
    m_sidebarEnabled = value;
    persist();
    notify(&Preferences::sidebarEnabledChanged);
}

void Preferences::setShowInFullScreen(bool value)
{
    m_showInFullScreen = value;
    persist();
    notify(&Preferences::showInFullScreenChanged);
}

void Preferences::setOnboardingComplete(bool value)
{
    m_onboardingComplete = value;
    persist();
    emit needsSetupChanged();
    notify(&Preferences::onboardingCompleteChanged);
}

void Preferences::setDisplayScope(DisplayScope value)
{
    m_displayScope = value;
    persist();
    notify(&Preferences::displayScopeChanged);
}

void Preferences::setSelectedDisplayID(const std::optional<QString> &value)
{
    m_selectedDisplayID = value;
    persist();
    notify(&Preferences::selectedDisplayIDChanged);
}

void Preferences::setSetupVersion(int value)
{
    m_setupVersion = value;
    persist();
    emit needsSetupChanged();
    notify(&Preferences::setupVersionChanged);
}

void Preferences::setEffects(EffectsMode value)
{
    m_effects = value;
    persist();
    notify(&Preferences::effectsChanged);
}

void Preferences::setSkillPlacement(SkillPlacement value)
{
    m_skillPlacement = value;
    persist();
    notify(&Preferences::skillPlacementChanged);
}

void Preferences::setDragEnabled(bool value)
{
    m_dragEnabled = value;
    persist();
    notify(&Preferences::dragEnabledChanged);
}

void Preferences::setCompactTranslucency(bool value)
{
    m_compactTranslucency = value;
    persist();
    notify(&Preferences::compactTranslucencyChanged);
}

void Preferences::setIdleOpacity(double value)
{
    // Stored as given; the range is applied when it is read back.
    m_idleOpacity = value;
    persist();
    notify(&Preferences::idleOpacityChanged);
}

void Preferences::setPlayerPosition(const std::optional<PlayerPosition> &position, const QString &displayID)
{
    if (position)
        m_playerPositions.insert(displayID, *position);
    else
        m_playerPositions.remove(displayID);
    persist();
    notify(&Preferences::playerPositionsChanged);
}

void Preferences::resetPlayerPositions()
{
    m_playerPositions.clear();
    persist();
    notify(&Preferences::playerPositionsChanged);
}

void Preferences::completeSetup()
{
    setSetupVersion(requiredSetupVersion);
    setOnboardingComplete(true);
}

void Preferences::restartSetup()
{
    setOnboardingComplete(false);
}

// MARK: - Settings written alone

void Preferences::setAnimations(const AnimationSettings &value)
{
    m_animations = value;
    try {
        defaults().set(Key::animations, json::encodeData(m_animations));
    } catch (const json::EncodingError &) {
    }
    notify(&Preferences::animationsChanged);
}

void Preferences::applyAnimationPreset(AnimationPreset preset)
{
    setAnimations(settings(preset));
}

void Preferences::setSkills(const SkillBar &value)
{
    m_skills = value;
    try {
        defaults().set(Key::skills, json::encodeData(m_skills));
    } catch (const json::EncodingError &) {
    }
    notify(&Preferences::skillsChanged);
}

void Preferences::setVisualizer(const VisualizerSettings &value)
{
    m_visualizer = value;
    try {
        defaults().set(Key::visualizer, json::encodeData(m_visualizer));
    } catch (const json::EncodingError &) {
        // The key keeps its previous data; the mirror below reports the failure.
    }
    const VisualizerSettings settings = m_visualizer;
    mirrorAppearance([&settings](const SharedStore &store) { store.saveVisualizer(settings); });
    scheduleWidgetReload();
    notify(&Preferences::visualizerChanged);
}

void Preferences::resetVisualizer()
{
    setVisualizer(VisualizerSettings());
}

void Preferences::setSkin(Skin value)
{
    m_skin = value;
    defaults().set(Key::skin, toRawValue(m_skin));
    mirrorAppearance([value](const SharedStore &store) { store.saveSkin(value); });
    scheduleWidgetReload();
    notify(&Preferences::skinChanged);
}

void Preferences::mirrorAppearance(const std::function<void(const SharedStore &)> &write)
{
    try {
        write(makeStore());
        setAppearanceError(std::nullopt);
    } catch (const std::exception &) {
        setAppearanceError(localized(saveFailedMessage));
    }
}

void Preferences::scheduleWidgetReload()
{
    m_widgetReload.cancel();
    Scheduler &scheduler = m_services.scheduler ? *m_services.scheduler : Scheduler::current();
    WidgetCenter *center = m_services.widgetCenter;
    m_widgetReload = scheduler.spawn(
        [&scheduler, center](TaskHandle self) { return reloadWidgetsLater(scheduler, center, self); });
}

void Preferences::setAppearanceError(const std::optional<QString> &value)
{
    m_appearanceError = value;
    emit appearanceErrorChanged();
}

// MARK: - Login item

void Preferences::setLoginEnabled(bool enabled)
{
    LoginItem &item = loginItem();
    try {
        if (enabled)
            item.registerItem();
        else
            item.unregisterItem();
    } catch (const std::exception &) {
        setLoginError(localized(loginFailedMessage));
        // Unchanged, but a switch that moved must be shown the old state again.
        emit loginEnabledChanged();
        return;
    }
    m_loginEnabled = item.status() == LoginItem::Status::enabled;
    notify(&Preferences::loginEnabledChanged);
    setLoginError(item.status() == LoginItem::Status::requiresApproval
            ? std::optional(localized(loginApprovalMessage))
            : std::nullopt);
}

void Preferences::setLoginError(const std::optional<QString> &value)
{
    m_loginError = value;
    emit loginErrorChanged();
}

MotionPolicy Preferences::motionPolicy() const
{
    const bool reduceMotion
        = m_services.reduceMotion ? m_services.reduceMotion() : SystemAppearance::shared()->reduceMotion();
    return MotionPolicy{m_animations, lightEffects(), reduceMotion};
}

// MARK: - Views' forms

void Preferences::setDisplayScopeRawValue(const QString &value)
{
    if (const auto scope = fromRawValue<DisplayScope>(value))
        setDisplayScope(*scope);
}

QVariant Preferences::selectedDisplayIDValue() const
{
    return m_selectedDisplayID ? QVariant(*m_selectedDisplayID) : QVariant::fromValue(nullptr);
}

void Preferences::setSelectedDisplayIDValue(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        setSelectedDisplayID(std::nullopt);
    else
        setSelectedDisplayID(value.toString());
}

QVariant Preferences::loginErrorValue() const
{
    return m_loginError ? QVariant(*m_loginError) : QVariant::fromValue(nullptr);
}

void Preferences::setEffectsRawValue(const QString &value)
{
    if (const auto mode = fromRawValue<EffectsMode>(value))
        setEffects(*mode);
}

void Preferences::setSkillPlacementRawValue(const QString &value)
{
    if (const auto placement = fromRawValue<SkillPlacement>(value))
        setSkillPlacement(*placement);
}

void Preferences::setSkinRawValue(const QString &value)
{
    if (const auto skin = fromRawValue<Skin>(value))
        setSkin(*skin);
}

QVariant Preferences::appearanceErrorValue() const
{
    return m_appearanceError ? QVariant(*m_appearanceError) : QVariant::fromValue(nullptr);
}
