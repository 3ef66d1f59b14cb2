#include "Assets.h"
#include "PanelModel.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scene.h"
#include "SystemAppearance.h"

#include <QQmlContext>
#include <QQuickItem>
#include <stdexcept>

// The player surfaces over a real panel model: the top player folded,
// hovered, peeking, announcing and expanded (down and up) in every
// availability, beside a notch declared by the test hook or on a display
// without one; the sidebar folded and expanded; the panel keys and the
// skins' players and sidebars alone.
namespace {

// A 200-point notch beside a 32-point menu bar: Linux has none, the pictures declare one.
ScreenGeometry notchDisplay()
{
    return ScreenGeometry(Rect(0, 0, 1512, 982), Rect(0, 0, 1512, 950), 200, 32, 656);
}

ScreenGeometry plainDisplay()
{
    return ScreenGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1050), 0, 0);
}

enum class Playback { cover, noCover, noTrack, notRunning, permissionDenied };

PlaybackSnapshot holocene()
{
    return PlaybackSnapshot(PlayerAvailability::ready,
        Track("spotify:track:4fbvXwMTXPWaFyaMWUm9CR", "Holocene", "Bon Iver", "Bon Iver, Bon Iver", 337,
            std::nullopt, QUrl("https://open.spotify.com/track/4fbvXwMTXPWaFyaMWUm9CR")),
        true, 64, 60, true, false, PlaybackCapabilities{true, true, true}, Date::now(), std::nullopt,
        std::nullopt, std::nullopt);
}

void script(ScriptedState &state, Playback playback)
{
    switch (playback) {
    case Playback::cover:
        state.cover = Assets::image(QStringLiteral("PreviewArtwork"), QSize(300, 300));
        state.palette = ArtworkPalette{{0.93, 0.33, 0.55}, {0.98, 0.66, 0.25}, {0.16, 0.06, 0.14}};
        [[fallthrough]];
    case Playback::noCover:
        state.playback = holocene();
        state.playback->updatedAt = Date::now();
        break;
    case Playback::noTrack:
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::noTrack);
        break;
    case Playback::notRunning:
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::notRunning);
        break;
    case Playback::permissionDenied:
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::permissionDenied);
        break;
    }
}

// Three shortcuts in slots 0, 1 and 4 of the skill bar.
void withSkills(ScriptedState &state)
{
    const auto shortcut = [](const char *id, const char *title, const char *link, SkillGlyph glyph) {
        return MusicShortcut(QUuid(QString::fromLatin1(id)), title, *SpotifyLink::parse(link), glyph);
    };
    state.shortcuts = {shortcut("6A1B7C3E-0D5F-4E2A-9B8C-1F2E3D4C5B6A", "Morning Run",
                           "spotify:playlist:37i9dQZF1DX76Wlfdnj7AP", SkillGlyph::run),
        shortcut("7B2C8D4F-1E6A-4F3B-8C9D-2A3B4C5D6E7F", "For Emma, Forever Ago",
            "spotify:album:4pox3k0BqNSIr2T3fYUE2e", SkillGlyph::disc),
        shortcut("8C3D9E5A-2F7B-4A4C-9D0E-3B4C5D6E7F80", "Holocene", "spotify:track:4fbvXwMTXPWaFyaMWUm9CR",
            SkillGlyph::heart)};
    SkillBar bar;
    bar.assign(state.shortcuts.at(0).id, 0);
    bar.assign(state.shortcuts.at(1).id, 1);
    bar.assign(state.shortcuts.at(2).id, 4);
    state.root().preferences().setSkills(bar);
}

// What one picture's panel is: its kind and display, where it was left,
// its skill placement and what the pointer did.
struct Panel {
    SurfaceKind kind = SurfaceKind::notch;
    ScreenGeometry geometry = notchDisplay();
    std::optional<PlayerPosition> position;
    SkillPlacement skills = SkillPlacement::hidden;
    bool hovered = false;
    bool expanded = false;
    bool announcing = false;
    Playback playback = Playback::cover;
    bool desktop = true; // the busy desktop behind, so glass shows
    std::function<void(ScriptedState &)> more = {};
};

// The panel's window size in that state, as the panels lay it out.
QSize windowSize(const Panel &panel)
{
    if (panel.kind == SurfaceKind::sidebar) {
        const Size size = panel.geometry.sidebarFrame(panel.expanded).size;
        return QSize(qRound(size.width), qRound(size.height));
    }
    const ScreenGeometry effective = panel.position ? panel.geometry.detached() : panel.geometry;
    const bool peeking = panel.skills == SkillPlacement::peek && panel.hovered && !panel.expanded;
    const Size size
        = effective.panelSize(panel.expanded, SkillChrome{panel.skills, peeking}, panel.announcing);
    return QSize(qRound(size.width), qRound(size.height));
}

QList<Scene> surface(const QString &state, const Panel &panel)
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        Scene scene{
            QStringList{QStringLiteral("SurfaceView"), toRawValue(skin), state}.join(QLatin1Char('.')),
            sceneFile(QStringLiteral("SurfaceSheet")), windowSize(panel)};
        scene.properties = {{"desktop", panel.desktop}};
        scene.setup = [skin, panel](ScriptedState &state, QmlHarness &harness) {
            state.root().preferences().setSkin(skin);
            script(state, panel.playback);
            if (panel.more)
                panel.more(state);
            auto *model = new PanelModel(panel.kind, panel.geometry, state.scheduler, &harness.engine());
            model->setPosition(panel.position);
            model->applySkills(panel.skills);
            if (panel.expanded)
                model->open();
            // The state is reached before the view loads: QML's animations run on
            // real time and the picture would catch them midway.
            if (panel.hovered)
                model->hover(true);
            if (panel.announcing) {
                model->announce(4);
                state.scheduler.advance(0.5);
            }
            harness.engine().rootContext()->setContextProperty(QStringLiteral("panelModel"), model);
        };
        // The bars have grown in; a hovered player would open after its delay.
        if (!panel.hovered)
            scene.act = [](ScriptedState &state, QQuickItem *) { state.scheduler.advance(1); };
        result << scene;
    }
    return result;
}

// The four skin views alone, in their skin, on their ground.
Scene skinView(
    const QString &view, Skin skin, const QString &state, QSize size, Playback playback, bool failed = false)
{
    Scene scene{QStringList{view, toRawValue(skin), state}.join(QLatin1Char('.')),
        sceneFile(QStringLiteral("SkinViewSheet")), size};
    scene.properties = {{"view", view}};
    scene.setup = [skin, playback](ScriptedState &state, QmlHarness &harness) {
        state.root().preferences().setSkin(skin);
        script(state, playback);
        auto *model = new PanelModel(SurfaceKind::notch, notchDisplay(), state.scheduler, &harness.engine());
        harness.engine().rootContext()->setContextProperty(QStringLiteral("panelModel"), model);
    };
    // The bars have grown in; a command that Spotify did not apply shows its message.
    scene.act = [failed](ScriptedState &state, QQuickItem *) {
        state.scheduler.advance(1);
        if (failed)
            state.root().coordinator().handle(std::make_exception_ptr(std::runtime_error("refused")), true);
    };
    return scene;
}

} // namespace

QList<Scene> surfaceScenes()
{
    const std::optional<PlayerPosition> upper = PlayerPosition(0.5, 0.2);
    const std::optional<PlayerPosition> lower = PlayerPosition(0.5, 0.8);
    QList<Scene> scenes;
    const auto with = [](const std::function<void(Panel &)> &change) {
        Panel panel;
        change(panel);
        return panel;
    };
    const auto plain = [](Panel &p) { p.geometry = plainDisplay(); };
    const auto open = [](Panel &p) { p.expanded = true; };
    const auto sidebar = [](Panel &p) {
        p.kind = SurfaceKind::sidebar;
        p.geometry = plainDisplay();
    };

    scenes << surface("foldedNotch", Panel());
    scenes << surface("foldedIdle", with(plain));
    // The idle opacity's range over the busy desktop: the glass lets it show whole.
    for (const double opacity : {0.15, 0.8}) {
        scenes << surface(QStringLiteral("foldedIdle%1").arg(qRound(opacity * 100)), with([&](Panel &p) {
            plain(p);
            p.more = [opacity](ScriptedState &state) { state.root().preferences().setIdleOpacity(opacity); };
        }));
    }
    scenes << surface("foldedIdleLight", with([&](Panel &p) {
        plain(p);
        p.more = [](ScriptedState &state) { state.root().preferences().setEffects(EffectsMode::light); };
    }));
    scenes << surface("foldedOpaque", with([&](Panel &p) {
        plain(p);
        p.more = [](ScriptedState &state) { state.root().preferences().setCompactTranslucency(false); };
    }));
    scenes << surface("foldedReduceTransparency", with([&](Panel &p) {
        plain(p);
        p.more = [](ScriptedState &) { SystemAppearance::shared()->setOverrides({false, true, false}); };
    }));
    scenes << surface("hovered", with([&](Panel &p) {
        plain(p);
        p.hovered = true;
    }));
    scenes << surface("peekingNotch", with([](Panel &p) {
        p.more = withSkills;
        p.skills = SkillPlacement::peek;
        p.hovered = true;
    }));
    scenes << surface("peeking", with([&](Panel &p) {
        p.more = withSkills;
        plain(p);
        p.skills = SkillPlacement::peek;
        p.hovered = true;
    }));
    scenes << surface("announcing", with([](Panel &p) { p.announcing = true; }));
    scenes << surface("expandedNotch", with(open));
    scenes << surface("expandedNoCover", with([&](Panel &p) {
        plain(p);
        open(p);
        p.playback = Playback::noCover;
    }));
    scenes << surface("expandedDetached", with([&](Panel &p) {
        open(p);
        p.position = upper;
    }));
    scenes << surface("expandedUp", with([&](Panel &p) {
        open(p);
        p.position = lower;
    }));
    scenes << surface("expandedRow", with([&](Panel &p) {
        p.more = withSkills;
        open(p);
        p.skills = SkillPlacement::row;
    }));
    scenes << surface("expandedWings", with([&](Panel &p) {
        p.more = withSkills;
        open(p);
        p.skills = SkillPlacement::wings;
    }));
    scenes << surface("noTrackNotch", with([&](Panel &p) {
        open(p);
        p.playback = Playback::noTrack;
    }));
    scenes << surface("notRunning", with([&](Panel &p) {
        plain(p);
        open(p);
        p.playback = Playback::notRunning;
    }));
    scenes << surface("permissionDeniedNotch", with([&](Panel &p) {
        open(p);
        p.playback = Playback::permissionDenied;
    }));
    scenes << surface("permissionDeniedUp", with([&](Panel &p) {
        open(p);
        p.position = lower;
        p.playback = Playback::permissionDenied;
    }));
    scenes << surface("sidebarFolded", with(sidebar));
    scenes << surface("sidebarExpanded", with([&](Panel &p) {
        sidebar(p);
        open(p);
    }));
    scenes << surface("sidebarNotRunning", with([&](Panel &p) {
        sidebar(p);
        open(p);
        p.playback = Playback::notRunning;
    }));

    // The header's context menu and its help tip, over the folded player.
    for (const auto &[name, open] :
        std::initializer_list<std::pair<const char *, std::function<void(ScriptedState &, QQuickItem *)>>>{
            {"headerMenu", [](ScriptedState &, QQuickItem *header) { openContextMenu(header); }},
            {"headerTip", restPointerOn}}) {
        for (Scene scene : surface(name, with(plain))) {
            const auto act = scene.act;
            scene.act = [act, open](ScriptedState &state, QQuickItem *root) {
                if (act)
                    act(state, root);
                open(state, root->findChild<QQuickItem *>(QStringLiteral("header")));
            };
            scenes << scene;
        }
    }

    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        Scene keys{
            QStringList{QStringLiteral("PanelKeys"), toRawValue(skin), QStringLiteral("keys")}.join('.'),
            sceneFile(QStringLiteral("PanelKeysSheet")), {}};
        keys.setup = [skin](ScriptedState &state, QmlHarness &harness) {
            state.root().preferences().setSkin(skin);
            auto *model
                = new PanelModel(SurfaceKind::sidebar, plainDisplay(), state.scheduler, &harness.engine());
            model->togglePin();
            harness.engine().rootContext()->setContextProperty(QStringLiteral("panelModel"), model);
        };
        scenes << keys;
    }
    scenes << skinView("ClassicoExpandedPlayer", Skin::classico, "ready", {620, 184}, Playback::cover);
    scenes << skinView("ClassicoExpandedPlayer", Skin::classico, "error", {620, 184}, Playback::cover, true);
    scenes << skinView("RivistaExpandedPlayer", Skin::rivista, "ready", {620, 184}, Playback::cover);
    scenes << skinView("RivistaExpandedPlayer", Skin::rivista, "error", {620, 184}, Playback::cover, true);
    scenes << skinView("ClassicoSidebar", Skin::classico, "ready", {344, 728}, Playback::cover);
    scenes << skinView("ClassicoSidebar", Skin::classico, "noTrack", {344, 728}, Playback::noTrack);
    scenes << skinView("RivistaSidebar", Skin::rivista, "ready", {344, 728}, Playback::cover);
    scenes << skinView("RivistaSidebar", Skin::rivista, "notRunning", {344, 728}, Playback::notRunning);
    return scenes;
}
