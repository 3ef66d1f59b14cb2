#include "Preferences.h"

#include "Defaults.h"
#include "DisplayIdentity.h"
#include "Localization.h"
#include "LoginItem.h"
#include "SystemAppearance.h"
#include "Uuid.h"
#include "WidgetCenter.h"

#include <QJsonObject>
#include <QLoggingCategory>
#include <QQmlInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {
Q_LOGGING_CATEGORY(lcPreferences, "com.velbrandtoro.Orvel.preferences")
} // namespace

namespace {
// MARK: - Readers of the stored forms

template<class T>
std::optional<T> readValue(const Defaults &stored, const QString &key)
{
    return stored.value<T>(key);
}

// In the manner of the platform's defaults: a number reads as a boolean too.
std::optional<bool> readBoolean(const Defaults &stored, const QString &key)
{
    return stored.boolean(key);
}

std::optional<std::optional<QString>> readOptionalString(const Defaults &stored, const QString &key)
{
    return stored.value<QString>(key);
}

std::optional<int> readInteger(const Defaults &stored, const QString &key)
{
    return int(std::clamp<qint64>(
        stored.integer(key), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

template<class E>
std::optional<E> readRawEnum(const Defaults &stored, const QString &key)
{
    return fromRawValue<E>(stored.value<QString>(key).value_or(QString()));
}

std::optional<Skin> readSkin(const Defaults &stored, const QString &key)
{
    return skinFromStoredValue(stored.value<QString>(key));
}

std::optional<double> readIdleOpacity(const Defaults &stored, const QString &key)
{
    std::optional<double> opacity = stored.value<double>(key);
    if (const auto integer = stored.value<qint64>(key))
        opacity = double(*integer);
    if (!opacity || !std::isfinite(*opacity))
        return std::nullopt;
    return std::clamp(*opacity, Preferences::minimumIdleOpacity, Preferences::maximumIdleOpacity);
}

template<class T>
std::optional<T> readJson(const Defaults &stored, const QString &key)
{
    const auto data = stored.value<QByteArray>(key);
    if (!data)
        return std::nullopt;
    try {
        return T::fromJson(json::parse(*data));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// One entry that does not decode costs the whole dictionary, as any bad data does.
std::optional<QMap<QString, PlayerPosition>> readPlayerPositions(const Defaults &stored, const QString &key)
{
    const auto data = stored.value<QByteArray>(key);
    if (!data)
        return std::nullopt;
    try {
        const QJsonObject object = json::asObject(json::parse(*data));
        QMap<QString, PlayerPosition> positions;
        for (auto it = object.begin(); it != object.end(); ++it)
            positions.insert(it.key(), PlayerPosition::fromJson(it.value()));
        return positions;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// MARK: - Stored forms; nothing removes the key, json::EncodingError leaves it as it was

using StoredForm = std::optional<Defaults::Value>;

StoredForm storedForm(bool value)
{
    return Defaults::Value(value);
}

StoredForm storedForm(int value)
{
    return Defaults::Value(qint64(value));
}

StoredForm storedForm(double value)
{
    return Defaults::Value(value);
}

template<class E>
requires std::is_enum_v<E> StoredForm storedForm(E value)
{
    return Defaults::Value(toRawValue(value));
}

StoredForm storedForm(const std::optional<QString> &value)
{
    return value ? StoredForm(*value) : StoredForm();
}

template<class T>
requires requires(const T &value)
{
    value.toJson();
}
StoredForm storedForm(const T &value)
{
    return Defaults::Value(json::encodeData(value));
}

StoredForm storedForm(const QMap<QString, PlayerPosition> &positions)
{
    QJsonObject object;
    for (auto it = positions.cbegin(); it != positions.cend(); ++it)
        object.insert(it.key(), it.value().toJson());
    return Defaults::Value(json::serialize(object));
}

// MARK: - The views' forms

QVariant nullable(const std::optional<QString> &value)
{
    return value ? QVariant(*value) : QVariant::fromValue(nullptr);
}

bool isNullOrUndefined(const QVariant &value)
{
    return !value.isValid() || value.typeId() == QMetaType::Nullptr;
}

const QStringList visualizerFields{QStringLiteral("enabled"), QStringLiteral("style"),
    QStringLiteral("palette"), QStringLiteral("customHex"), QStringLiteral("intensity"),
    QStringLiteral("speed"), QStringLiteral("glow")};

// Exactly the seven fields with the stored JSON's types and raw values. A
// non-finite number has no stored form, so it is refused too.
std::optional<VisualizerSettings> visualizerFromMap(const QVariantMap &map)
{
    if (map.size() != visualizerFields.size())
        return std::nullopt;
    try {
        const VisualizerSettings settings = VisualizerSettings::fromJson(QJsonObject::fromVariantMap(map));
        if (!std::isfinite(settings.intensity) || !std::isfinite(settings.speed))
            return std::nullopt;
        return settings;
    } catch (const json::DecodingError &) {
        return std::nullopt;
    }
}

// Holds neither the preferences nor anything of theirs, so it may outlive them.
QCoro::Task<void> reloadWidgetsLater(Scheduler &scheduler, WidgetCenter &center, TaskHandle self)
{
    // Awaited into a variable: GCC 12 miscompiles a co_await inside an if condition.
    const bool slept = co_await scheduler.sleep(Preferences::widgetReloadDelay, self);
    if (!slept)
        co_return;
    center.reloadAllTimelines();
}
} // namespace

// MARK: - The table

// How a setting's stored form is written when it is assigned.
enum class Write {
    group, // with the other plain settings, in one write of all of them
    alone, // its own key only
};

template<class T>
struct Preferences::Setting {
    QString key;
    T Preferences::*member;
    T fallback;
    // The stored value, or nothing to take the fallback.
    std::optional<T> (*read)(const Defaults &stored, const QString &key);
    Write write = Write::group;
    // Also copies the value into the App Group folder and reloads the widgets a little later.
    void (*mirror)(const SharedStore &store, const T &value) = nullptr;
    void (Preferences::*signal)() = nullptr;
    // A derived property that changes with it, notified first.
    void (Preferences::*derivedSignal)() = nullptr;
};

struct Preferences::Table {
    using P = Preferences;

    static inline const Setting<bool> notchEnabled{.key = QStringLiteral("notchEnabled"),
        .member = &P::m_notchEnabled,
        .fallback = true,
        .read = readValue<bool>,
        .signal = &P::notchEnabledChanged};
    static inline const Setting<bool> sidebarEnabled{.key = QStringLiteral("sidebarEnabled"),
        .member = &P::m_sidebarEnabled,
        .fallback = true,
        .read = readValue<bool>,
        .signal = &P::sidebarEnabledChanged};
    static inline const Setting<bool> showInFullScreen{.key = QStringLiteral("showInFullScreen"),
        .member = &P::m_showInFullScreen,
        .fallback = false,
        .read = readBoolean,
        .signal = &P::showInFullScreenChanged};
    static inline const Setting<bool> onboardingComplete{.key = QStringLiteral("onboardingComplete"),
        .member = &P::m_onboardingComplete,
        .fallback = false,
        .read = readBoolean,
        .signal = &P::onboardingCompleteChanged,
        .derivedSignal = &P::needsSetupChanged};
    static inline const Setting<DisplayScope> displayScope{.key = QStringLiteral("displayScope"),
        .member = &P::m_displayScope,
        .fallback = DisplayScope::all,
        .read = readRawEnum<DisplayScope>,
        .signal = &P::displayScopeChanged};
    static inline const Setting<std::optional<QString>> selectedDisplayID{
        .key = QStringLiteral("selectedDisplayID"),
        .member = &P::m_selectedDisplayID,
        .fallback = std::nullopt,
        .read = readOptionalString,
        .signal = &P::selectedDisplayIDChanged};
    static inline const Setting<int> setupVersion{.key = QStringLiteral("setupVersion"),
        .member = &P::m_setupVersion,
        .fallback = 0,
        .read = readInteger,
        .signal = &P::setupVersionChanged,
        .derivedSignal = &P::needsSetupChanged};
    static inline const Setting<VisualizerSettings> visualizer{.key = QStringLiteral("visualizer"),
        .member = &P::m_visualizer,
        .fallback = VisualizerSettings(),
        .read = readJson<VisualizerSettings>,
        .write = Write::alone,
        .mirror
        = [](const SharedStore &store, const VisualizerSettings &value) { store.saveVisualizer(value); },
        .signal = &P::visualizerChanged};
    static inline const Setting<EffectsMode> effects{.key = QStringLiteral("effectsMode"),
        .member = &P::m_effects,
        .fallback = EffectsMode::standard,
        .read = readRawEnum<EffectsMode>,
        .signal = &P::effectsChanged,
        .derivedSignal = &P::motionPolicyChanged};
    static inline const Setting<AnimationSettings> animations{.key = QStringLiteral("animations"),
        .member = &P::m_animations,
        .fallback = AnimationSettings(),
        .read = readJson<AnimationSettings>,
        .write = Write::alone,
        .signal = &P::animationsChanged,
        .derivedSignal = &P::motionPolicyChanged};
    static inline const Setting<SkillPlacement> skillPlacement{.key = QStringLiteral("skillPlacement"),
        .member = &P::m_skillPlacement,
        .fallback = SkillPlacement::row,
        .read = readRawEnum<SkillPlacement>,
        .signal = &P::skillPlacementChanged};
    static inline const Setting<SkillBar> skills{.key = QStringLiteral("skillBar"),
        .member = &P::m_skills,
        .fallback = SkillBar(),
        .read = readJson<SkillBar>,
        .write = Write::alone,
        .signal = &P::skillsChanged};
    static inline const Setting<Skin> skin{.key = QStringLiteral("skin"),
        .member = &P::m_skin,
        .fallback = Skin::classico,
        .read = readSkin,
        .write = Write::alone,
        .mirror = [](const SharedStore &store, const Skin &value) { store.saveSkin(value); },
        .signal = &P::skinChanged};
    static inline const Setting<bool> dragEnabled{.key = QStringLiteral("dragEnabled"),
        .member = &P::m_dragEnabled,
        .fallback = true,
        .read = readValue<bool>,
        .signal = &P::dragEnabledChanged};
    static inline const Setting<bool> compactTranslucency{.key = QStringLiteral("compactTranslucency"),
        .member = &P::m_compactTranslucency,
        .fallback = true,
        .read = readValue<bool>,
        .signal = &P::compactTranslucencyChanged};
    // Stored as given; the range is applied when it is read back.
    static inline const Setting<double> idleOpacity{.key = QStringLiteral("idleOpacity"),
        .member = &P::m_idleOpacity,
        .fallback = defaultIdleOpacity,
        .read = readIdleOpacity,
        .signal = &P::idleOpacityChanged};
    static inline const Setting<QMap<QString, PlayerPosition>> playerPositions{
        .key = QStringLiteral("playerPositions"),
        .member = &P::m_playerPositions,
        .fallback = {},
        .read = readPlayerPositions,
        .signal = &P::playerPositionsChanged};

    template<class F>
    static void forEach(F &&f)
    {
        std::apply([&f](const auto &...setting) { (f(setting), ...); },
            std::tie(notchEnabled, sidebarEnabled, showInFullScreen, onboardingComplete, displayScope,
                selectedDisplayID, setupVersion, visualizer, effects, animations, skillPlacement, skills,
                skin, dragEnabled, compactTranslucency, idleOpacity, playerPositions));
    }
};

template<class T>
void Preferences::assign(const Setting<T> &setting, T value)
{
    this->*setting.member = std::move(value);
    write(setting);
    if (setting.derivedSignal)
        emit(this->*setting.derivedSignal)();
    notify(setting.signal);
}

template<class T>
void Preferences::write(const Setting<T> &setting)
{
    if (setting.write == Write::group) {
        persist();
        return;
    }
    try {
        defaults().apply({{setting.key, storedForm(this->*setting.member)}});
    } catch (const json::EncodingError &) {
        // The key keeps its previous data; a mirror reports the failure.
    }
    if (setting.mirror) {
        mirrorAppearance(setting.key,
            [this, &setting](const SharedStore &store) { setting.mirror(store, this->*setting.member); });
        scheduleWidgetReload();
    }
}

Preferences::Preferences(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    // Handed down by whoever builds the graph; a missing one is a wiring fault.
    if (!m_services.defaults || !m_services.makeStore || !m_services.scheduler || !m_services.loginItem
        || !m_services.widgetCenter || !m_services.reduceMotion)
        qFatal("Preferences is missing a service");
    m_loginEnabled = loginItem().status() == LoginItem::Status::enabled;
    readStoredSettings();
}

Defaults &Preferences::defaults() const
{
    return *m_services.defaults;
}

SharedStore Preferences::makeStore() const
{
    return m_services.makeStore();
}

LoginItem &Preferences::loginItem() const
{
    return *m_services.loginItem;
}

void Preferences::readStoredSettings()
{
    const Defaults &stored = defaults();
    Table::forEach([this, &stored](const auto &setting) {
        this->*setting.member = setting.read(stored, setting.key).value_or(setting.fallback);
    });
}

void Preferences::persist()
{
    std::vector<Defaults::Change> changes;
    Table::forEach([this, &changes](const auto &setting) {
        if (setting.write != Write::group)
            return;
        try {
            changes.emplace_back(setting.key, storedForm(this->*setting.member));
        } catch (const json::EncodingError &) {
            // This key alone keeps what it had.
        }
    });
    defaults().apply(changes);
}

void Preferences::notify(void (Preferences::*signal)())
{
    emit(this->*signal)();
    emit changed();
}

// MARK: - Setters

void Preferences::setNotchEnabled(bool value)
{
    assign(Table::notchEnabled, value);
}

void Preferences::setSidebarEnabled(bool value)
{
    assign(Table::sidebarEnabled, value);
}

void Preferences::setShowInFullScreen(bool value)
{
    assign(Table::showInFullScreen, value);
}

void Preferences::setOnboardingComplete(bool value)
{
    assign(Table::onboardingComplete, value);
}

void Preferences::setDisplayScope(DisplayScope value)
{
    assign(Table::displayScope, value);
}

void Preferences::setSelectedDisplayID(const std::optional<QString> &value)
{
    assign(Table::selectedDisplayID, value);
}

void Preferences::setSetupVersion(int value)
{
    assign(Table::setupVersion, value);
}

void Preferences::setVisualizer(const VisualizerSettings &value)
{
    assign(Table::visualizer, value);
}

void Preferences::setEffects(EffectsMode value)
{
    assign(Table::effects, value);
}

void Preferences::setAnimations(const AnimationSettings &value)
{
    assign(Table::animations, value);
}

void Preferences::setSkillPlacement(SkillPlacement value)
{
    assign(Table::skillPlacement, value);
}

void Preferences::setSkills(const SkillBar &value)
{
    assign(Table::skills, value);
}

void Preferences::setSkin(Skin value)
{
    assign(Table::skin, value);
}

void Preferences::setDragEnabled(bool value)
{
    assign(Table::dragEnabled, value);
}

void Preferences::setCompactTranslucency(bool value)
{
    assign(Table::compactTranslucency, value);
}

void Preferences::setIdleOpacity(double value)
{
    assign(Table::idleOpacity, value);
}

void Preferences::setPlayerPosition(const std::optional<PlayerPosition> &position, const QString &displayID)
{
    QMap<QString, PlayerPosition> positions = m_playerPositions;
    if (position)
        positions.insert(displayID, *position);
    else
        positions.remove(displayID);
    assign(Table::playerPositions, std::move(positions));
}

void Preferences::resetPlayerPositions()
{
    assign(Table::playerPositions, {});
}

void Preferences::carryOverDisplays(const QHash<QString, QString> &carryOvers)
{
    if (carryOvers.isEmpty())
        return;
    const std::optional<QString> selected = carriedOver(m_selectedDisplayID, carryOvers);
    if (selected != m_selectedDisplayID)
        setSelectedDisplayID(selected);
    QMap<QString, PlayerPosition> positions = m_playerPositions;
    if (carryOver(positions, carryOvers))
        assign(Table::playerPositions, std::move(positions));
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

void Preferences::applyAnimationPreset(AnimationPreset preset)
{
    setAnimations(settings(preset));
}

void Preferences::resetVisualizer()
{
    setVisualizer(VisualizerSettings());
}

// MARK: - Appearance mirror

void Preferences::mirrorAppearance(const QString &key, std::function<void(const SharedStore &)> write)
{
    // A copy that could not be written before is written again with this one:
    // the message goes only once every copy holds what was asked.
    m_unsavedMirrors.insert_or_assign(key, std::move(write));
    const SharedStore store = makeStore();
    for (auto it = m_unsavedMirrors.begin(); it != m_unsavedMirrors.end();) {
        try {
            it->second(store);
            it = m_unsavedMirrors.erase(it);
        } catch (const std::exception &) {
            ++it;
        }
    }
    setAppearanceError(
        m_unsavedMirrors.empty() ? std::nullopt : std::optional<QString>(localized(saveFailedMessage)));
}

void Preferences::scheduleWidgetReload()
{
    m_widgetReload.cancel();
    Scheduler &scheduler = *m_services.scheduler;
    WidgetCenter &center = *m_services.widgetCenter;
    m_widgetReload = scheduler.spawn(
        [&scheduler, &center](TaskHandle self) { return reloadWidgetsLater(scheduler, center, self); });
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
    if (const QString warning = item.warning(); !warning.isEmpty())
        qCWarning(lcPreferences).noquote() << "The login entry" << warning;
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
    return MotionPolicy{m_animations, lightEffects(), m_services.reduceMotion()};
}

// MARK: - Views' forms

void Preferences::refuse(const char *what, const QVariant &value) const
{
    qmlWarning(this) << "refused " << what << ": " << value;
}

void Preferences::setDisplayScopeRawValue(const QString &value)
{
    if (const auto scope = fromRawValue<DisplayScope>(value))
        setDisplayScope(*scope);
    else
        refuse("displayScope", value);
}

QVariant Preferences::selectedDisplayIDValue() const
{
    return nullable(m_selectedDisplayID);
}

void Preferences::setSelectedDisplayIDValue(const QVariant &value)
{
    if (isNullOrUndefined(value))
        setSelectedDisplayID(std::nullopt);
    else if (value.typeId() == QMetaType::QString)
        setSelectedDisplayID(value.toString());
    else
        refuse("selectedDisplayID", value);
}

QVariant Preferences::loginErrorValue() const
{
    return nullable(m_loginError);
}

void Preferences::setEffectsRawValue(const QString &value)
{
    if (const auto mode = fromRawValue<EffectsMode>(value))
        setEffects(*mode);
    else
        refuse("effects", value);
}

void Preferences::setSkillPlacementRawValue(const QString &value)
{
    if (const auto placement = fromRawValue<SkillPlacement>(value))
        setSkillPlacement(*placement);
    else
        refuse("skillPlacement", value);
}

void Preferences::setSkinRawValue(const QString &value)
{
    if (const auto skin = fromRawValue<Skin>(value))
        setSkin(*skin);
    else
        refuse("skin", value);
}

QVariant Preferences::appearanceErrorValue() const
{
    return nullable(m_appearanceError);
}

QVariantMap Preferences::visualizerValue() const
{
    // Built by hand: the JSON form refuses the non-finite numbers C++ may have set.
    return {{QStringLiteral("enabled"), m_visualizer.enabled},
        {QStringLiteral("style"), toRawValue(m_visualizer.style)},
        {QStringLiteral("palette"), toRawValue(m_visualizer.palette)},
        {QStringLiteral("customHex"), m_visualizer.customHex},
        {QStringLiteral("intensity"), m_visualizer.intensity}, {QStringLiteral("speed"), m_visualizer.speed},
        {QStringLiteral("glow"), m_visualizer.glow}};
}

void Preferences::setVisualizerValue(const QVariantMap &value)
{
    if (const auto settings = visualizerFromMap(value))
        setVisualizer(*settings);
    else
        refuse("visualizer", value);
}

void Preferences::setVisualizerField(const QString &name, const QVariant &value)
{
    QVariantMap map = visualizerValue();
    if (!map.contains(name)) {
        refuse("visualizer field", name);
        return;
    }
    map.insert(name, value);
    if (const auto settings = visualizerFromMap(map))
        setVisualizer(*settings);
    else
        refuse("visualizer", map);
}

QStringList Preferences::animationsValue() const
{
    QStringList off;
    for (const AnimationFeature feature : m_animations.disabled)
        off.append(toRawValue(feature));
    return off;
}

void Preferences::setAnimationsValue(const QStringList &value)
{
    AnimationSettings animations;
    for (const QString &name : value) {
        const auto feature = fromRawValue<AnimationFeature>(name);
        if (!feature) {
            refuse("animations", value);
            return;
        }
        animations.disabled.insert(*feature);
    }
    setAnimations(animations);
}

void Preferences::setAnimationEnabled(const QString &feature, bool enabled)
{
    const auto parsed = fromRawValue<AnimationFeature>(feature);
    if (!parsed) {
        refuse("animation feature", feature);
        return;
    }
    AnimationSettings animations = m_animations;
    animations.setEnabled(*parsed, enabled);
    setAnimations(animations);
}

void Preferences::applyAnimationPreset(const QString &preset)
{
    if (const auto parsed = fromRawValue<AnimationPreset>(preset))
        applyAnimationPreset(*parsed);
    else
        refuse("animation preset", preset);
}

QVariantList Preferences::skillsValue() const
{
    QVariantList ids;
    for (const auto &id : m_skills.slotIds())
        ids.append(id ? QVariant(uuidString(*id)) : QVariant::fromValue(nullptr));
    return ids;
}

void Preferences::setSkillsValue(const QVariantList &value)
{
    QList<std::optional<QUuid>> ids;
    for (const QVariant &entry : value) {
        if (isNullOrUndefined(entry)) {
            ids.append(std::nullopt);
            continue;
        }
        const auto id
            = entry.typeId() == QMetaType::QString ? uuidFromString(entry.toString()) : std::nullopt;
        if (!id)
            break;
        ids.append(*id);
    }
    if (value.size() != SkillBar::capacity || ids.size() != value.size()) {
        refuse("skills", value);
        return;
    }
    setSkills(SkillBar(ids));
}

bool Preferences::isSkillSlot(int slot) const
{
    if (slot >= 0 && slot < SkillBar::capacity)
        return true;
    refuse("skill slot", slot);
    return false;
}

void Preferences::assignSkill(int slot, const QString &id)
{
    const auto parsed = uuidFromString(id);
    if (!parsed) {
        refuse("skill id", id);
        return;
    }
    if (!isSkillSlot(slot))
        return;
    SkillBar skills = m_skills;
    skills.assign(*parsed, slot);
    setSkills(skills);
}

void Preferences::clearSkill(int slot)
{
    if (!isSkillSlot(slot))
        return;
    SkillBar skills = m_skills;
    skills.assign(std::nullopt, slot);
    setSkills(skills);
}

void Preferences::swapSkills(int a, int b)
{
    if (!isSkillSlot(a) || !isSkillSlot(b))
        return;
    SkillBar skills = m_skills;
    skills.swap(a, b);
    setSkills(skills);
}

QVariantMap Preferences::playerPositionsValue() const
{
    QVariantMap positions;
    for (auto it = m_playerPositions.cbegin(); it != m_playerPositions.cend(); ++it) {
        positions.insert(it.key(),
            QVariantMap{{QStringLiteral("centerX"), it->centerX}, {QStringLiteral("topY"), it->topY}});
    }
    return positions;
}

QVariantMap Preferences::motionPolicyValue() const
{
    const MotionPolicy policy = motionPolicy();
    QVariantMap levels;
    for (const AnimationFeature feature : allCases<AnimationFeature>())
        levels.insert(toRawValue(feature), toRawValue(policy.level(feature)));
    return levels;
}
