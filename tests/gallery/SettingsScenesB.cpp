#include "FakeScreens.h"
#include "Preferences.h"
#include "Scene.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>

// The visualizer, top player and display settings pages on the dashboard's ground.
namespace {
using Setup = std::function<void(ScriptedState &)>;

// The page at a dashboard page's width, on the skin's ground.
QmlSource onGround(const QString &view)
{
    return QmlSource(QStringLiteral("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                    "Rectangle { color: Skinned.palette.ground; implicitWidth: 648; "
                                    "implicitHeight: 48\n"
                                    "%1 { id: page; x: 24; y: 24; width: 600 } }")
                         .arg(view)
                         .toUtf8());
}

// Sized by hand: the pages' heights settle only once their texts have wrapped.
QList<Scene> bothSkins(
    const QString &view, const QString &stateName, const QmlSource &qml, QSize size, const Setup &setup)
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        const QString name = QStringList{view, toRawValue(skin), stateName}.join(QLatin1Char('.'));
        result << Scene{
            name, qml, size, {}, [setup](ScriptedState &state, QmlHarness &) {
                // A warm cover, so the artwork chip has colours of its own.
                state.palette = ArtworkPalette{{0.93, 0.33, 0.55}, {0.98, 0.66, 0.25}, {0.16, 0.06, 0.14}};
                if (setup)
                    setup(state);
            }};
    }
    return result;
}

QList<Scene> page(const QString &view, const QString &stateName, int height, const Setup &setup = {})
{
    return bothSkins(view, stateName, onGround(view), QSize(648, height), setup);
}

// A display with its output's name (its id) and the name a person reads.
ScreenInfo display(
    const QString &output, const QString &name, std::uint32_t number, const Rect &frame, bool primary = false)
{
    ScreenInfo screen = FakeScreens::display(output, number, frame, primary);
    screen.localizedName = name;
    return screen;
}

const ScreenInfo laptop = display("eDP-1", "Built-in Display", 1, Rect(0, 0, 1512, 982), true);
// A monitor standing above the laptop, and one beside it.
const ScreenInfo above = display("DP-1", "DELL U2720Q", 2, Rect(-204, 982, 1920, 1080));
const ScreenInfo beside = display("HDMI-1", "LG HDR 4K", 3, Rect(1512, -98, 1920, 1080));

void oneDisplay(ScriptedState &state)
{
    state.displays = QList<ScreenInfo>{laptop};
}

void twoStacked(ScriptedState &state)
{
    state.displays = QList<ScreenInfo>{laptop, above};
    state.root().preferences().setSelectedDisplayID(QStringLiteral("DP-1"));
    state.root().preferences().setDisplayScope(DisplayScope::selected);
}

void chosenDisconnected(ScriptedState &state)
{
    state.displays = QList<ScreenInfo>{laptop, beside};
    state.root().preferences().setSelectedDisplayID(QStringLiteral("DP-1"));
    state.root().preferences().setDisplayScope(DisplayScope::selected);
}

void customVisualizer(ScriptedState &state)
{
    VisualizerSettings settings;
    settings.style = VisualizerStyle::wave;
    settings.palette = VisualizerPalette::custom;
    settings.customHex = QStringLiteral("7AA2FF");
    settings.intensity = 0.85;
    settings.speed = 1.3;
    state.root().preferences().setVisualizer(settings);
}

void lightWithError(ScriptedState &state)
{
    state.lightEffects = true;
    state.root().preferences().setEffects(EffectsMode::light);
    // A file where the group's folder should be: the next write cannot be mirrored.
    QDir(state.home.path("group")).removeRecursively();
    QFile blocker(state.home.path("group"));
    blocker.open(QIODevice::WriteOnly);
    VisualizerSettings settings;
    settings.style = VisualizerStyle::dots;
    settings.palette = VisualizerPalette::artwork;
    state.root().preferences().setVisualizer(settings);
}
} // namespace

QList<Scene> settingsScenesB()
{
    QList<Scene> scenes;
    scenes << page("VisualizerSettingsView", "default", 900);
    scenes << page("VisualizerSettingsView", "custom", 940, customVisualizer);
    scenes << page("VisualizerSettingsView", "light-error", 940, lightWithError);
    // The custom colour's dialog over the page, as opened and after a pick in its field.
    const auto openDialog = [](ScriptedState &, QQuickItem *root) {
        if (auto *button = root->findChild<QQuickItem *>(QStringLiteral("customColor")))
            QMetaObject::invokeMethod(button, "clicked");
    };
    QList<Scene> dialogs = page("CustomColorDialog", "open", 940, customVisualizer)
        + page("CustomColorDialog", "picked", 940, customVisualizer);
    for (Scene &scene : dialogs) {
        scene.qml = onGround(QStringLiteral("VisualizerSettingsView"));
        scene.act = openDialog;
        if (scene.name.endsWith(QLatin1String(".picked")))
            scene.act = [openDialog](ScriptedState &state, QQuickItem *root) {
                openDialog(state, root);
                auto *dialog = root->findChild<QObject *>(QStringLiteral("colorDialog"));
                auto *picker = dialog->property("picker").value<QObject *>();
                QMetaObject::invokeMethod(picker, "pickHue", Q_ARG(double, 0.9), Q_ARG(double, 1));
                QMetaObject::invokeMethod(picker, "pickInField", Q_ARG(double, 0.8), Q_ARG(double, 0.3),
                    Q_ARG(double, 1), Q_ARG(double, 1));
            };
    }
    scenes << dialogs;
    scenes << page("TopPlayerSettingsView", "translucent", 480, [](ScriptedState &state) {
        state.root().preferences().setIdleOpacity(0.45);
        state.root().preferences().setPlayerPosition(PlayerPosition{0.3, 0.2}, QStringLiteral("display-1"));
    });
    scenes << page("TopPlayerSettingsView", "opaque", 480,
        [](ScriptedState &state) { state.root().preferences().setCompactTranslucency(false); });
    scenes << page("DisplaySettingsView", "one", 420, oneDisplay);
    scenes << page("DisplaySettingsView", "two-stacked", 470, twoStacked);
    scenes << page("DisplaySettingsView", "chosen-disconnected", 490, chosenDisconnected);
    QList<Scene> menuOpen = page("DisplaySettingsView", "menu-open", 490, chosenDisconnected);
    for (Scene &scene : menuOpen)
        scene.act = [](ScriptedState &, QQuickItem *root) {
            if (auto *menu = root->findChild<QQuickItem *>(QStringLiteral("menu")))
                QMetaObject::invokeMethod(menu->property("popup").value<QObject *>(), "open");
        };
    scenes << menuOpen;
    const QmlSource map(
        "import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
        "Rectangle { color: Skinned.palette.ground; implicitWidth: 648; implicitHeight: 174\n"
        "DisplayMap { x: 24; y: 24; width: 600; height: 126; displays: DisplayCatalog.displays; "
        "activeIDs: DisplayCatalog.activeIDs(Preferences) } }");
    scenes << bothSkins("DisplayMap", "three", map, {}, [](ScriptedState &state) {
        state.displays = QList<ScreenInfo>{laptop, above, beside};
        state.root().preferences().setDisplayScope(DisplayScope::primary);
    });
    scenes << bothSkins("DisplayMap", "all-active", map, {}, [](ScriptedState &state) {
        state.displays = QList<ScreenInfo>{laptop, beside};
    });
    return scenes;
}
