#include "DashboardState.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scene.h"
#include "SystemAppearance.h"

#include <QQuickItem>
#include <QQuickWindow>

// The skill-bar page with its slot editor, the animation page and the preset
// picker.
namespace {
using Setup = std::function<void(ScriptedState &)>;

// The window is sized before the page's rows and wrapped texts are laid out:
// lay them out once, then fit the window to what they need.
void fitToContent(ScriptedState &state, QQuickItem *root)
{
    // Progress bars draw in as they appear.
    state.scheduler.advance(1);
    root->window()->grabWindow();
    const QSize size(qCeil(root->implicitWidth()), qCeil(root->implicitHeight()));
    root->window()->resize(size);
    root->setSize(size);
}

QList<Scene> bothSkins(
    const QString &view, const QString &stateName, const QmlSource &qml, QSize size, const Setup &setup = {})
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        const QString name = QStringList{view, toRawValue(skin), stateName}.join(QLatin1Char('.'));
        result << Scene{name, qml, size, {},
            [skin, setup](ScriptedState &state, QmlHarness &) {
                state.root().preferences().setSkin(skin);
                if (setup)
                    setup(state);
            },
            size.isEmpty() ? fitToContent : std::function<void(ScriptedState &, QQuickItem *)>{}};
    }
    return result;
}

// A page on the dashboard's ground, 660 wide as in the detail pane.
QmlSource page(const char *view)
{
    return QmlSource(QByteArray("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                "Rectangle { color: Skinned.palette.ground; implicitWidth: 700\n"
                                "  implicitHeight: page.height + 40\n  ")
        + view + " { id: page; x: 20; y: 20; width: 660 } }");
}

MusicShortcut shortcut(
    const char *id, const char *title, const char *link, std::optional<SkillGlyph> glyph = std::nullopt)
{
    return MusicShortcut(QUuid(QString::fromLatin1(id)), title, *SpotifyLink::parse(link), glyph);
}

QList<MusicShortcut> sixShortcuts()
{
    return {shortcut("6A1B7C3E-0D5F-4E2A-9B8C-1F2E3D4C5B6A", "Morning Run",
                "spotify:playlist:37i9dQZF1DX76Wlfdnj7AP", SkillGlyph::run),
        shortcut("7B2C8D4F-1E6A-4F3B-8C9D-2A3B4C5D6E7F", "For Emma, Forever Ago",
            "spotify:album:4pox3k0BqNSIr2T3fYUE2e"),
        shortcut("8C3D9E5A-2F7B-4A4C-9D0E-3B4C5D6E7F80", "Holocene", "spotify:track:4fbvXwMTXPWaFyaMWUm9CR",
            SkillGlyph::heart),
        shortcut("9D4E0F6B-3A8C-4B5D-8E1F-4C5D6E7F8091", "Bon Iver", "spotify:artist:4LEiUm1SRbFMgfqnQTwUbQ"),
        shortcut("0E5F1A7C-4B9D-4C6E-9F2A-5D6E7F8091A2", "Deep Focus for a Long Late Evening",
            "spotify:playlist:37i9dQZF1DWZeKCadgRdKQ", SkillGlyph::moon),
        shortcut("1F6A2B8D-5C0E-4D7F-8A3B-6E7F8091A2B3", "Coffee Table Jazz",
            "spotify:playlist:37i9dQZF1DWVqfgj8NZEp1", SkillGlyph::coffee)};
}

void sixFilled(ScriptedState &state)
{
    state.shortcuts = sixShortcuts();
    SkillBar bar;
    for (int i = 0; i < SkillBar::capacity; ++i)
        bar.assign(state.shortcuts.at(i).id, i);
    state.root().preferences().setSkills(bar);
}

// Two shortcuts in slots 1 and 3, four empty slots, and one stale id.
void twoFilled(ScriptedState &state)
{
    state.shortcuts = sixShortcuts().mid(0, 3);
    SkillBar bar;
    bar.assign(state.shortcuts.at(0).id, 0);
    bar.assign(state.shortcuts.at(2).id, 2);
    bar.assign(QUuid(QStringLiteral("2A7B3C9E-6D1F-4E8A-9B4C-7F8091A2B3C4")), 4);
    state.root().preferences().setSkills(bar);
}

void animations(ScriptedState &state, const AnimationSettings &settings, bool light)
{
    state.animations = settings;
    state.lightEffects = light;
    state.root().preferences().setAnimations(settings);
    state.root().preferences().setEffects(light ? EffectsMode::light : EffectsMode::standard);
}

const AnimationSettings customMix{{AnimationFeature::titleScroll, AnimationFeature::skillCast}};

// The editor alone, on the popover's panel.
QmlSource editor(int index)
{
    return QmlSource(
        QByteArray("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                   "Rectangle { color: Skinned.palette.ground\n"
                   "  implicitWidth: panel.width + 40; implicitHeight: panel.height + 40\n"
                   "  Rectangle { id: panel; x: 20; y: 20; radius: 12; color: Skinned.palette.panel\n"
                   "    Rectangle { anchors.fill: parent; radius: 12; color: Skinned.palette.fill\n"
                   "      border.width: 1; border.color: Skinned.palette.stroke }\n"
                   "    width: editor.width; height: editor.height\n"
                   "    SkillSlotEditor { id: editor; index: ")
        + QByteArray::number(index) + " } } }");
}

// The picker alone, as the guided setup and the page show it.
QmlSource picker(bool compact)
{
    return QmlSource(QByteArray("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                "Rectangle { color: Skinned.palette.ground; implicitWidth: 640\n"
                                "  implicitHeight: picker.height + 40\n"
                                "  AnimationPresetPicker { id: picker; x: 20; y: 20; width: 600; compact: ")
        + (compact ? "true" : "false") + " } }");
}
} // namespace

QList<Scene> settingsScenesA()
{
    QList<Scene> scenes;
    const QmlSource skills = page("SkillSettingsView");
    scenes << bothSkins("SkillSettingsView", "empty", skills, {});
    scenes << bothSkins("SkillSettingsView", "filled", skills, {}, sixFilled);
    scenes << bothSkins("SkillSettingsView", "hidden", skills, {}, [](ScriptedState &state) {
        twoFilled(state);
        state.root().preferences().setSkillPlacement(SkillPlacement::hidden);
    });
    // Opened the way the top player asks: a pending slot taken over a turn later.
    scenes << bothSkins("SkillSettingsView", "editor", skills, QSize(700, 760), [](ScriptedState &state) {
        sixFilled(state);
        state.root().dashboardState().setSkillSlot(2);
    });

    scenes << bothSkins("SkillSlotEditor", "filled", editor(2), {}, twoFilled);
    scenes << bothSkins("SkillSlotEditor", "empty", editor(1), {}, twoFilled);
    scenes << bothSkins("SkillSlotEditor", "first", editor(0), {}, twoFilled);
    scenes << bothSkins("SkillSlotEditor", "noShortcuts", editor(5), {});

    const QmlSource motion = page("AnimationSettingsView");
    scenes << bothSkins("AnimationSettingsView", "custom", motion, {},
        [](ScriptedState &state) { animations(state, customMix, false); });
    scenes << bothSkins("AnimationSettingsView", "light", motion, {},
        [](ScriptedState &state) { animations(state, customMix, true); });
    // The desktop's animations switched off: the note under the strip.
    scenes << bothSkins("AnimationSettingsView", "reduceMotion", motion, {}, [](ScriptedState &state) {
        SystemAppearance::shared()->setOverrides({true, false, false});
        animations(state, {}, false);
    });

    scenes << bothSkins("AnimationPresetPicker", "essential", picker(true), {},
        [](ScriptedState &state) { animations(state, settings(AnimationPreset::essential), false); });
    scenes << bothSkins("AnimationPresetPicker", "custom", picker(true), {},
        [](ScriptedState &state) { animations(state, customMix, false); });
    scenes << bothSkins("AnimationPresetPicker", "light", picker(true), {},
        [](ScriptedState &state) { animations(state, {}, true); });
    scenes << bothSkins("AnimationPresetPicker", "full", picker(false), {});
    return scenes;
}
