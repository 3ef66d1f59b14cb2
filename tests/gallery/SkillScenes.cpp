#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scene.h"
#include "Uuid.h"

// The skill bar, its slots, the shortcut list and the scrolling title.
namespace {
QList<Scene> bothSkins(const QString &view, const QString &state, const Scene &scene)
{
    QList<Scene> result;
    for (const QString &skin : {QStringLiteral("classico"), QStringLiteral("rivista")}) {
        Scene copy = scene;
        copy.name = QStringList{view, skin, state}.join(QLatin1Char('.'));
        result << copy;
    }
    return result;
}

// Fixed ids, so a scene can name them; upper case, as the coordinator writes them.
const QString runID = QStringLiteral("6A1B7C3E-0D5F-4E2A-9B8C-1F2E3D4C5B6A");
const QString albumID = QStringLiteral("7B2C8D4F-1E6A-4F3B-8C9D-2A3B4C5D6E7F");
const QString trackID = QStringLiteral("8C3D9E5A-2F7B-4A4C-9D0E-3B4C5D6E7F80");

MusicShortcut shortcut(
    const QString &id, const char *title, const char *link, std::optional<SkillGlyph> glyph = std::nullopt)
{
    return MusicShortcut(QUuid(id), title, *SpotifyLink::parse(link), glyph);
}

QList<MusicShortcut> threeShortcuts()
{
    return {shortcut(runID, "Morning Run", "spotify:playlist:37i9dQZF1DX76Wlfdnj7AP", SkillGlyph::run),
        shortcut(albumID, "For Emma, Forever Ago", "spotify:album:4pox3k0BqNSIr2T3fYUE2e"),
        shortcut(trackID, "Holocene", "spotify:track:4fbvXwMTXPWaFyaMWUm9CR", SkillGlyph::heart)};
}

// Three filled slots (1, 2, 4) and three empty ones; slot 1 starting,
// slot 2 last started, slot 4 failed.
Scene skillBar()
{
    Scene scene{{}, sceneFile("SkillBarSheet"), {}};
    scene.setup = [](ScriptedState &state, QmlHarness &) {
        state.shortcuts = threeShortcuts();
        SkillBar bar;
        bar.assign(state.shortcuts.at(0).id, 1);
        bar.assign(state.shortcuts.at(1).id, 2);
        bar.assign(state.shortcuts.at(2).id, 4);
        state.root().preferences().setSkills(bar);
    };
    return scene;
}
} // namespace

QList<Scene> skillScenes()
{
    QList<Scene> scenes;
    scenes << bothSkins("SkillBarView", "empty", {{}, sceneFile("SkillBarSheet"), {}});
    scenes << bothSkins("SkillBarView", "filled", skillBar());
    // Slot 1 starting (mid-sweep), slot 2 last started, slot 4 failed.
    Scene marked = skillBar();
    marked.properties = {{"casting", runID}, {"lastCast", albumID}, {"failedCast", trackID}};
    scenes << bothSkins("SkillBarView", "marked", marked);
    // The same start where the skill-cast animation may not run: a flat cover.
    Scene flat = marked;
    const auto setup = flat.setup;
    flat.setup = [setup](ScriptedState &state, QmlHarness &harness) {
        setup(state, harness);
        state.animations.disabled.insert(AnimationFeature::skillCast);
    };
    scenes << bothSkins("SkillBarView", "flatCover", flat);
    scenes << bothSkins("SkillSlotView", "states", {{}, sceneFile("SkillSlotSheet"), {}});
    Scene stillSlots{{}, sceneFile("SkillSlotSheet"), {}};
    stillSlots.setup = [](ScriptedState &state, QmlHarness &) { state.lightEffects = true; };
    scenes << bothSkins("SkillSlotView", "light", stillSlots);
    scenes << bothSkins("ShortcutListView", "empty", {{}, sceneFile("ShortcutListSheet"), {}});
    Scene list{{}, sceneFile("ShortcutListSheet"), {}};
    list.setup = [](ScriptedState &state, QmlHarness &) { state.shortcuts = threeShortcuts(); };
    scenes << bothSkins("ShortcutListView", "three", list);
    // One shortcut of each kind, none with a glyph of its own: each shows its kind's.
    Scene kinds{{}, sceneFile("ShortcutListSheet"), {}};
    kinds.setup = [](ScriptedState &state, QmlHarness &) {
        state.shortcuts = {shortcut(runID, "Morning Run", "spotify:playlist:37i9dQZF1DX76Wlfdnj7AP"),
            shortcut(albumID, "For Emma, Forever Ago", "spotify:album:4pox3k0BqNSIr2T3fYUE2e"),
            shortcut(trackID, "Holocene", "spotify:track:4fbvXwMTXPWaFyaMWUm9CR"),
            shortcut(QStringLiteral("9D4E0F6B-3A8C-4B5D-8E1F-4C5D6E7F8091"), "Bon Iver",
                "spotify:artist:4LEiUm1SRbFMgfqnQTwUbQ")};
    };
    scenes << bothSkins("ShortcutListView", "kinds", kinds);
    scenes << bothSkins("MarqueeTrackTitle", "scrolling", {{}, sceneFile("MarqueeSheet"), {}});
    Scene still{{}, sceneFile("MarqueeSheet"), {}};
    still.setup = [](ScriptedState &state, QmlHarness &) { state.lightEffects = true; };
    scenes << bothSkins("MarqueeTrackTitle", "truncated", still);
    return scenes;
}
