#include "Assets.h"
#include "DashboardState.h"
#include "PlatformFeatures.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scene.h"
#include "ShortcutEditorModel.h"

#include <QDir>
#include <QFile>

// The dashboard window's content in each section and state, and the
// now-playing card alone.
namespace {
const QSize window(960, 750);

void playing(ScriptedState &state)
{
    state.playback = PlaybackSnapshot(PlayerAvailability::ready,
        Track("spotify:track:4fbvXwMTXPWaFyaMWUm9CR", "Holocene", "Bon Iver", "Bon Iver, Bon Iver", 337,
            std::nullopt, QUrl("https://open.spotify.com/track/4fbvXwMTXPWaFyaMWUm9CR")),
        true, 64, 60, true, false, PlaybackCapabilities{true, true, true}, Date::now(), std::nullopt,
        std::nullopt, std::nullopt);
    state.cover = Assets::image(QStringLiteral("PreviewArtwork"), QSize(300, 300));
    state.palette = ArtworkPalette{{0.93, 0.33, 0.55}, {0.98, 0.66, 0.25}, {0.16, 0.06, 0.14}};
}

// Saved shortcuts of every kind, with stable ids so a scene can name one.
MusicShortcut favorite(int n)
{
    struct Entry {
        const char *title;
        const char *link;
        std::optional<SkillGlyph> glyph;
    };
    static const Entry entries[] = {
        {"Night Drive", "https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M", SkillGlyph::moon},
        {"Holocene", "spotify:track:4fbvXwMTXPWaFyaMWUm9CR", std::nullopt},
        {"For Emma, Forever Ago", "spotify:album:1DFixLWuPkv3KT3TnV35m3", std::nullopt},
        {"Bon Iver", "spotify:artist:4LEiUm1SRbFMgfqnQTwUbQ", std::nullopt},
        {"Morning Coffee", "https://open.spotify.com/playlist/37i9dQZF1DX6ziVCJnEm59", SkillGlyph::coffee},
        {"Running Mix", "spotify:playlist:37i9dQZF1DWUVpAXiEPK8P", SkillGlyph::run},
        {"Deep Focus", "spotify:playlist:37i9dQZF1DWZeKCadgRdKQ", std::nullopt},
    };
    const Entry &entry = entries[n % std::size(entries)];
    return MusicShortcut(
        QUuid(QStringLiteral("{00000000-0000-4000-8000-%1}").arg(n + 1, 12, 10, QLatin1Char('0'))),
        QString::fromUtf8(entry.title), *SpotifyLink::parse(QString::fromLatin1(entry.link)), entry.glyph);
}

void favorites(ScriptedState &state, int count, int slotted)
{
    QList<std::optional<QUuid>> ids;
    for (int n = 0; n < count; ++n) {
        state.shortcuts << favorite(n);
        if (n < slotted)
            ids << favorite(n).id;
    }
    state.root().preferences().setSkills(SkillBar(ids));
}

using Setup = std::function<void(ScriptedState &)>;

QList<Scene> bothSkins(const QString &view, const QString &stateName, const QmlSource &qml, QSize size,
    DashboardSection section, const Setup &setup)
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        const QString name = QStringList{view, toRawValue(skin), stateName}.join(QLatin1Char('.'));
        result << Scene{name, qml, size, {}, [skin, section, setup](ScriptedState &state, QmlHarness &) {
                            state.root().preferences().completeSetup();
                            state.root().preferences().setSkin(skin);
                            state.root().dashboardState().setSection(section);
                            if (setup)
                                setup(state);
                        }};
    }
    return result;
}

QList<Scene> dashboard(
    const QString &stateName, DashboardSection section, const Setup &setup = {}, QSize size = window)
{
    return bothSkins(QStringLiteral("DashboardView"), stateName,
        QmlSource(QUrl(QStringLiteral("qrc:/Orvel/Dashboard/DashboardView.qml"))), size, section, setup);
}
// The shortcut sheet alone, on its own ground.
QList<Scene> editor(const QString &stateName, QSize size, const QVariantMap &properties, const Setup &setup,
    std::function<void(ScriptedState &, QQuickItem *)> act = {})
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        const QString name
            = QStringList{QStringLiteral("ShortcutEditor"), toRawValue(skin), stateName}.join('.');
        result << Scene{name, QmlSource("import QtQuick\nimport Orvel\nShortcutEditor {}"), size, properties,
            [skin, setup](ScriptedState &state, QmlHarness &) {
                state.root().preferences().completeSetup();
                state.root().preferences().setSkin(skin);
                if (setup)
                    setup(state);
            },
            act};
    }
    return result;
}
} // namespace

QList<Scene> dashboardScenes()
{
    QList<Scene> scenes;
    scenes << dashboard("overview-playing", DashboardSection::overview, playing);
    scenes << dashboard("overview-not-connected", DashboardSection::overview, [](ScriptedState &state) {
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::notRunning);
    });
    scenes << dashboard("overview-no-track", DashboardSection::overview, [](ScriptedState &state) {
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::ready);
    });
    scenes << dashboard(
        "overview-storage-warning", DashboardSection::overview,
        [](ScriptedState &state) {
            playing(state);
            // A file where the group's folder should be: the snapshot cannot be shared.
            QDir(state.home.path("group")).removeRecursively();
            QFile blocker(state.home.path("group"));
            blocker.open(QIODevice::WriteOnly);
        },
        QSize(960, 960));
    scenes << dashboard("shortcuts-empty", DashboardSection::shortcuts);
    scenes << dashboard(
        "shortcuts-three", DashboardSection::shortcuts, [](ScriptedState &state) { favorites(state, 3, 1); });
    scenes << dashboard(
        "shortcuts-full", DashboardSection::shortcuts, [](ScriptedState &state) { favorites(state, 7, 6); },
        QSize(960, 1000));
    scenes << bothSkins(QStringLiteral("DashboardView"), QStringLiteral("shortcuts-adding"),
        QmlSource(
            "import QtQuick\nimport Orvel\nDashboardView { Component.onCompleted: screen.newShortcut(3) }"),
        window, DashboardSection::shortcuts, [](ScriptedState &state) { favorites(state, 3, 1); });
    // Tall enough for the error line and the caption under the card.
    scenes << dashboard("preferences", DashboardSection::appearance, playing, QSize(960, 1000));
    scenes << dashboard(
        "preferences-login-error", DashboardSection::appearance,
        [](ScriptedState &state) {
            state.login().failsChanges = true;
            state.root().preferences().setLoginEnabled(true);
        },
        QSize(960, 1000));
    scenes << dashboard("appearance", DashboardSection::personalization, {}, QSize(960, 1100));
    scenes << dashboard("about", DashboardSection::about, playing);
    scenes << dashboard("setup", DashboardSection::overview,
        [](ScriptedState &state) { state.root().preferences().restartSetup(); });
    scenes << bothSkins(QStringLiteral("DashboardView"), QStringLiteral("widget-guide"),
        QmlSource("import QtQuick\nimport Orvel\nDashboardView { Component.onCompleted: screen.widgetGuide = "
                  "true }"),
        window, DashboardSection::overview, {});
    // The card alone on the skin's ground.
    const QmlSource card(
        "import QtQuick\nimport Orvel\nimport Orvel.Shared\nRectangle { Skinned.skin: Preferences.skin; "
        "color: Skinned.palette.ground; "
        "implicitWidth: 760; implicitHeight: card.height + 48; NowPlayingCard { id: card; x: 24; y: 24; "
        "width: 712 } }");
    scenes << bothSkins(QStringLiteral("NowPlayingCard"), QStringLiteral("playing"), card, {},
        DashboardSection::overview, playing);
    scenes << bothSkins(QStringLiteral("NowPlayingCard"), QStringLiteral("paused"), card, {},
        DashboardSection::overview, [](ScriptedState &state) {
            playing(state);
            state.playback->isPlaying = false;
        });
    scenes << bothSkins(QStringLiteral("NowPlayingCard"), QStringLiteral("not-connected"), card, {},
        DashboardSection::overview, [](ScriptedState &state) {
            state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::notRunning);
        });
    // The message appears after loading: room for it from the start.
    scenes << editor(QStringLiteral("adding"), QSize(460, 500), {{QStringLiteral("slot"), 2}}, {},
        [](ScriptedState &, QQuickItem *root) {
            auto *model = root->property("model").value<ShortcutEditorModel *>();
            model->setLink(QStringLiteral("https://open.spotify.com/album/1DFixLWuPkv3KT3TnV35m3"));
            model->save();
        });
    scenes << editor(QStringLiteral("editing"), QSize(460, 472),
        {{QStringLiteral("shortcut"), ShortcutEditorModel::describe(favorite(0))}},
        [](ScriptedState &state) { favorites(state, 3, 2); });
    // Last: the features stay switched for the rest of the run.
    scenes << dashboard("overview-no-widgets", DashboardSection::overview, [](ScriptedState &state) {
        playing(state);
        PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    });
    return scenes;
}
