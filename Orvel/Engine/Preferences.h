#pragma once

#include "DisplayScope.h"
#include "Motion.h"
#include "PlayerPosition.h"
#include "QmlOwners.h"
#include "RawEnum.h"
#include "Scheduler.h"
#include "SharedStore.h"
#include "SkillBar.h"
#include "Skin.h"
#include "VisualizerSettings.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <map>
#include <optional>

class Defaults;
class LoginItem;
class WidgetCenter;

enum class EffectsMode {
    standard, // full visual effects
    light, // still visuals: no animation at all
};

template<>
struct RawEnumCases<EffectsMode> {
    static constexpr std::array<std::pair<EffectsMode, std::string_view>, 2> cases{
        {{EffectsMode::standard, "standard"}, {EffectsMode::light, "light"}}};
};

// Every user setting, read from the user defaults at creation and written back
// at once on each change. The visualizer and the skin are also mirrored into the
// App Group folder for the widgets. Main thread only.
//
// Each assignment runs its write even when the value is unchanged, and then
// notifies: the property's own signal and changed(). The settings are rows of
// one table (Preferences.cpp) and every setter goes through the same path.
//
// Views see enums as raw-value strings, optional values as null, and the
// compound settings as plain maps and lists; a value they write that does not
// convert is refused with a warning and changes nothing.
class Preferences : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool notchEnabled READ notchEnabled WRITE setNotchEnabled NOTIFY notchEnabledChanged)
    Q_PROPERTY(bool sidebarEnabled READ sidebarEnabled WRITE setSidebarEnabled NOTIFY sidebarEnabledChanged)
    Q_PROPERTY(
        bool showInFullScreen READ showInFullScreen WRITE setShowInFullScreen NOTIFY showInFullScreenChanged)
    Q_PROPERTY(bool onboardingComplete READ onboardingComplete WRITE setOnboardingComplete NOTIFY
            onboardingCompleteChanged)
    // Raw values for the views; C++ uses the typed accessors of the same names.
    Q_PROPERTY(QString displayScope READ displayScopeRawValue WRITE setDisplayScopeRawValue NOTIFY
            displayScopeChanged)
    // A string, or null for none.
    Q_PROPERTY(QVariant selectedDisplayID READ selectedDisplayIDValue WRITE setSelectedDisplayIDValue NOTIFY
            selectedDisplayIDChanged)
    Q_PROPERTY(int setupVersion READ setupVersion WRITE setSetupVersion NOTIFY setupVersionChanged)
    Q_PROPERTY(bool loginEnabled READ loginEnabled WRITE setLoginEnabled NOTIFY loginEnabledChanged)
    Q_PROPERTY(QVariant loginError READ loginErrorValue NOTIFY loginErrorChanged)
    Q_PROPERTY(QString effects READ effectsRawValue WRITE setEffectsRawValue NOTIFY effectsChanged)
    Q_PROPERTY(QString skillPlacement READ skillPlacementRawValue WRITE setSkillPlacementRawValue NOTIFY
            skillPlacementChanged)
    Q_PROPERTY(QString skin READ skinRawValue WRITE setSkinRawValue NOTIFY skinChanged)
    Q_PROPERTY(bool dragEnabled READ dragEnabled WRITE setDragEnabled NOTIFY dragEnabledChanged)
    Q_PROPERTY(bool compactTranslucency READ compactTranslucency WRITE setCompactTranslucency NOTIFY
            compactTranslucencyChanged)
    Q_PROPERTY(double idleOpacity READ idleOpacity WRITE setIdleOpacity NOTIFY idleOpacityChanged)
    Q_PROPERTY(QVariant appearanceError READ appearanceErrorValue NOTIFY appearanceErrorChanged)
    Q_PROPERTY(bool needsSetup READ needsSetup NOTIFY needsSetupChanged)
    Q_PROPERTY(bool lightEffects READ lightEffects NOTIFY effectsChanged)
    // {enabled, style, palette, customHex, intensity, speed, glow}, as in the stored JSON.
    Q_PROPERTY(QVariantMap visualizer READ visualizerValue WRITE setVisualizerValue NOTIFY visualizerChanged)
    // The switched-off features' raw values.
    Q_PROPERTY(QStringList animations READ animationsValue WRITE setAnimationsValue NOTIFY animationsChanged)
    // Six entries, each a shortcut id (upper case, no braces) or null.
    Q_PROPERTY(QVariantList skills READ skillsValue WRITE setSkillsValue NOTIFY skillsChanged)
    // Display id -> {centerX, topY}.
    Q_PROPERTY(QVariantMap playerPositions READ playerPositionsValue NOTIFY playerPositionsChanged)
    // Feature raw value -> "full", "reduced" or "still"; notified with the animations and the effects
    // (the desktop's Reduce Motion is read at each evaluation, not watched).
    Q_PROPERTY(QVariantMap motionPolicy READ motionPolicyValue NOTIFY motionPolicyChanged)

public:
    // The setup version this program's guided setup completes.
    static constexpr int requiredSetupVersion = 2;
    static constexpr double defaultIdleOpacity = 0.3;
    static constexpr double minimumIdleOpacity = 0.15;
    static constexpr double maximumIdleOpacity = 0.8;
    // Changes of the visualizer or the skin closer together than this give one widget reload.
    static constexpr double widgetReloadDelay = 0.6;

    // The English texts of the published errors, which are also their localisation keys.
    static inline const QString saveFailedMessage = QStringLiteral("Your changes could not be saved.");
    static inline const QString loginFailedMessage = QStringLiteral("Login settings could not be changed.");
    static inline const QString loginApprovalMessage
        = QStringLiteral("Allow Orvel in System Settings \u2192 Login Items.");

    // What the settings are kept in and talk to; every one is required.
    struct Services {
        Defaults *defaults = nullptr;
        std::function<SharedStore()> makeStore;
        Scheduler *scheduler = nullptr;
        LoginItem *loginItem = nullptr;
        WidgetCenter *widgetCenter = nullptr;
        std::function<bool()> reduceMotion;
    };

    // Reads every stored setting; writes nothing. There is no default
    // constructor: QML would make a stray instance instead of calling create().
    explicit Preferences(Services services, QObject *parent = nullptr);

    static Preferences *create(QQmlEngine *engine, QJSEngine *)
    {
        return QmlOwners::lookup<Preferences>(engine);
    }

    bool notchEnabled() const { return m_notchEnabled; }
    bool sidebarEnabled() const { return m_sidebarEnabled; }
    bool showInFullScreen() const { return m_showInFullScreen; }
    bool onboardingComplete() const { return m_onboardingComplete; }
    DisplayScope displayScope() const { return m_displayScope; }
    const std::optional<QString> &selectedDisplayID() const { return m_selectedDisplayID; }
    int setupVersion() const { return m_setupVersion; }
    bool loginEnabled() const { return m_loginEnabled; }
    const std::optional<QString> &loginError() const { return m_loginError; }
    const VisualizerSettings &visualizer() const { return m_visualizer; }
    EffectsMode effects() const { return m_effects; }
    const AnimationSettings &animations() const { return m_animations; }
    SkillPlacement skillPlacement() const { return m_skillPlacement; }
    const SkillBar &skills() const { return m_skills; }
    Skin skin() const { return m_skin; }
    bool dragEnabled() const { return m_dragEnabled; }
    bool compactTranslucency() const { return m_compactTranslucency; }
    double idleOpacity() const { return m_idleOpacity; }
    const QMap<QString, PlayerPosition> &playerPositions() const { return m_playerPositions; }
    const std::optional<QString> &appearanceError() const { return m_appearanceError; }

    bool needsSetup() const { return !m_onboardingComplete || m_setupVersion < requiredSetupVersion; }
    bool lightEffects() const { return m_effects == EffectsMode::light; }
    // What animations may do now, with the desktop's reduce-motion setting as it is at this moment.
    MotionPolicy motionPolicy() const;

    void setNotchEnabled(bool value);
    void setSidebarEnabled(bool value);
    void setShowInFullScreen(bool value);
    void setOnboardingComplete(bool value);
    void setDisplayScope(DisplayScope value);
    void setSelectedDisplayID(const std::optional<QString> &value);
    void setSetupVersion(int value);
    void setVisualizer(const VisualizerSettings &value);
    void setEffects(EffectsMode value);
    void setAnimations(const AnimationSettings &value);
    void setSkillPlacement(SkillPlacement value);
    void setSkills(const SkillBar &value);
    void setSkin(Skin value);
    void setDragEnabled(bool value);
    void setCompactTranslucency(bool value);
    void setIdleOpacity(double value);

    // Stores the position of the player on that display; none removes it.
    void setPlayerPosition(const std::optional<PlayerPosition> &position, const QString &displayID);
    Q_INVOKABLE void resetPlayerPositions();
    // Moves the chosen display and the players' places from displays' former
    // ids to their current ones (old id to new id); stores only when something moved.
    void carryOverDisplays(const QHash<QString, QString> &carryOvers);
    Q_INVOKABLE void resetVisualizer();
    void applyAnimationPreset(AnimationPreset preset);
    Q_INVOKABLE void completeSetup();
    Q_INVOKABLE void restartSetup();
    // Registers or unregisters the login item; the switch shows what the desktop then reports.
    void setLoginEnabled(bool enabled);

    // For controls bound to a part of a compound setting; each writes the whole setting.
    Q_INVOKABLE void setVisualizerField(const QString &name, const QVariant &value);
    Q_INVOKABLE void setAnimationEnabled(const QString &feature, bool enabled);
    Q_INVOKABLE void applyAnimationPreset(const QString &preset);
    Q_INVOKABLE void assignSkill(int slot, const QString &id);
    Q_INVOKABLE void clearSkill(int slot);
    Q_INVOKABLE void swapSkills(int a, int b);

signals:
    // Every assignment of a setting, after its own signal.
    void changed();
    void notchEnabledChanged();
    void sidebarEnabledChanged();
    void showInFullScreenChanged();
    void onboardingCompleteChanged();
    void displayScopeChanged();
    void selectedDisplayIDChanged();
    void setupVersionChanged();
    void loginEnabledChanged();
    void loginErrorChanged();
    void visualizerChanged();
    void effectsChanged();
    void animationsChanged();
    void skillPlacementChanged();
    void skillsChanged();
    void skinChanged();
    void dragEnabledChanged();
    void compactTranslucencyChanged();
    void idleOpacityChanged();
    void playerPositionsChanged();
    void appearanceErrorChanged();
    void needsSetupChanged();
    void motionPolicyChanged();

private:
    template<class T>
    struct Setting;
    struct Table;

    // Stores the value, runs the setting's write and notifies.
    template<class T>
    void assign(const Setting<T> &setting, T value);
    template<class T>
    void write(const Setting<T> &setting);

    Defaults &defaults() const;
    SharedStore makeStore() const;
    LoginItem &loginItem() const;

    void readStoredSettings();
    // Writes the thirteen plain settings together.
    void persist();
    // Copies a setting into the App Group folder, with those whose copy failed before.
    void mirrorAppearance(const QString &key, std::function<void(const SharedStore &)> write);
    void scheduleWidgetReload();
    void setLoginError(const std::optional<QString> &value);
    void setAppearanceError(const std::optional<QString> &value);
    void notify(void (Preferences::*signal)());
    void refuse(const char *what, const QVariant &value) const;

    QString displayScopeRawValue() const { return toRawValue(m_displayScope); }
    void setDisplayScopeRawValue(const QString &value);
    QVariant selectedDisplayIDValue() const;
    void setSelectedDisplayIDValue(const QVariant &value);
    QVariant loginErrorValue() const;
    QString effectsRawValue() const { return toRawValue(m_effects); }
    void setEffectsRawValue(const QString &value);
    QString skillPlacementRawValue() const { return toRawValue(m_skillPlacement); }
    void setSkillPlacementRawValue(const QString &value);
    QString skinRawValue() const { return toRawValue(m_skin); }
    void setSkinRawValue(const QString &value);
    QVariant appearanceErrorValue() const;
    QVariantMap visualizerValue() const;
    void setVisualizerValue(const QVariantMap &value);
    QStringList animationsValue() const;
    void setAnimationsValue(const QStringList &value);
    QVariantList skillsValue() const;
    void setSkillsValue(const QVariantList &value);
    QVariantMap playerPositionsValue() const;
    QVariantMap motionPolicyValue() const;
    // False, with a warning, for an index outside the skill bar.
    bool isSkillSlot(int slot) const;

    Services m_services;

    bool m_notchEnabled = true;
    bool m_sidebarEnabled = true;
    bool m_showInFullScreen = false;
    bool m_onboardingComplete = false;
    DisplayScope m_displayScope = DisplayScope::all;
    std::optional<QString> m_selectedDisplayID;
    int m_setupVersion = 0;
    bool m_loginEnabled = false;
    std::optional<QString> m_loginError;
    VisualizerSettings m_visualizer;
    EffectsMode m_effects = EffectsMode::standard;
    AnimationSettings m_animations;
    SkillPlacement m_skillPlacement = SkillPlacement::row;
    SkillBar m_skills;
    Skin m_skin = Skin::classico;
    bool m_dragEnabled = true;
    bool m_compactTranslucency = true;
    double m_idleOpacity = defaultIdleOpacity;
    QMap<QString, PlayerPosition> m_playerPositions;
    std::optional<QString> m_appearanceError;
    // The App Group copies not written since they last failed, by setting key.
    std::map<QString, std::function<void(const SharedStore &)>> m_unsavedMirrors;

    TaskHandle m_widgetReload;
};
