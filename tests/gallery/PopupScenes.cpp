#include "AutomationConsentDialog.h"
#include "DashboardState.h"
#include "HelpTip.h"
#include "Preferences.h"
#include "Scene.h"
#include "StatusItem.h"
#include "WidgetMenu.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QQuickItem>
#include <tuple>

// The popups open: the slot editor's menu, context menus and help tips; the
// consent question, a dialog on the popups' panel.
namespace {
const QString morning = QStringLiteral("6A1B7C3E-0D5F-4E2A-9B8C-1F2E3D4C5B6A");

QList<MusicShortcut> shortcuts()
{
    return {MusicShortcut(QUuid(morning), QStringLiteral("Morning Run"),
                *SpotifyLink::parse("spotify:playlist:37i9dQZF1DX76Wlfdnj7AP"), SkillGlyph::run),
        MusicShortcut(QUuid(QStringLiteral("7B2C8D4F-1E6A-4F3B-8C9D-2A3B4C5D6E7F")),
            QStringLiteral("For Emma, Forever Ago"),
            *SpotifyLink::parse("spotify:album:4pox3k0BqNSIr2T3fYUE2e")),
        MusicShortcut(QUuid(QStringLiteral("8C3D9E5A-2F7B-4A4C-9D0E-3B4C5D6E7F80")),
            QStringLiteral("Holocene"), *SpotifyLink::parse("spotify:track:4fbvXwMTXPWaFyaMWUm9CR"),
            SkillGlyph::heart)};
}

void withShortcuts(ScriptedState &state, QmlHarness &)
{
    state.shortcuts = shortcuts();
    SkillBar bar;
    bar.assign(state.shortcuts.at(0).id, 0);
    state.root().preferences().setSkills(bar);
}

QList<Scene> bothSkins(const QString &view, const QString &stateName, const Scene &scene)
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        Scene copy = scene;
        copy.name = QStringList{view, toRawValue(skin), stateName}.join(QLatin1Char('.'));
        const auto setup = scene.setup;
        copy.setup = [skin, setup](ScriptedState &state, QmlHarness &harness) {
            state.root().preferences().setSkin(skin);
            if (setup)
                setup(state, harness);
        };
        result << copy;
    }
    return result;
}

QmlSource onGround(const QByteArray &view, QSize size)
{
    return QmlSource(
        "import QtQuick\nimport Orvel\nimport Orvel.Shared\nRectangle { color: Skinned.palette.ground\n"
        "  implicitWidth: "
        + QByteArray::number(size.width()) + "; implicitHeight: " + QByteArray::number(size.height()) + "\n  "
        + view + " }");
}

// A shown item of the window by name, also in the overlay where popups lie.
QQuickItem *named(QQuickItem *root, const char *name)
{
    QList<QQuickItem *> pending{root->window()->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem *item = pending.takeFirst();
        if (item->objectName() == QLatin1String(name) && item->isVisible())
            return item;
        pending << item->childItems();
    }
    return nullptr;
}
} // namespace

void openContextMenu(QQuickItem *item)
{
    if (!item)
        return;
    QCursor::setPos(item->mapToGlobal(QPointF(item->width() / 2, item->height() / 2)).toPoint());
    if (auto *model = item->property("menu").value<QObject *>())
        QMetaObject::invokeMethod(model, "popup");
    // The pointer moves onto the first entry.
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
        menu->setActiveAction(menu->actions().value(0));
}

void restPointerOn(ScriptedState &state, QQuickItem *item)
{
    auto *tip = item ? item->findChild<HelpTip *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!tip)
        return;
    tip->setActive(true);
    state.scheduler.advance(HelpTip::delay + 0.1);
}

QList<Scene> popupScenes()
{
    QList<Scene> scenes;
    // The editor's menu, opened from its button.
    const auto openMenu = [](ScriptedState &state, QQuickItem *root) {
        state.scheduler.runUntilIdle();
        if (QQuickItem *button = named(root, "shortcutMenu"))
            QMetaObject::invokeMethod(button, "clicked");
    };
    Scene page{{}, onGround("SkillSettingsView { x: 20; y: 20; width: 660 }", {700, 760}), {}, {},
        [](ScriptedState &state, QmlHarness &harness) {
            withShortcuts(state, harness);
            state.root().dashboardState().setSkillSlot(0);
        },
        openMenu};
    scenes << bothSkins("SkillSettingsView", "menuOpen", page);
    const QByteArray editor = "PopupGround { x: 20; y: 20; width: editor.width; height: editor.height\n"
                              "    SkillSlotEditor { id: editor; index: 3 } }";
    scenes << bothSkins(
        "SkillSlotEditor", "menuNoShortcuts", {{}, onGround(editor, {380, 260}), {}, {}, {}, openMenu});

    // Context menus: a filled skill slot's, a shortcut row's.
    scenes << bothSkins("SkillSlotView", "contextMenu",
        {{},
            onGround("SkillSlotView { objectName: 'slot'; x: 20; y: 20; size: 40; index: 0\n"
                     "    shortcut: ({shortcutID: '"
                    + morning.toLatin1() + "', title: 'Morning Run', kind: 'playlist', glyph: 'run'}) }",
                {260, 200}),
            {}, {}, withShortcuts,
            [](ScriptedState &, QQuickItem *root) { openContextMenu(named(root, "slot")); }});
    scenes << bothSkins("ShortcutListView", "contextMenu",
        {{}, onGround("ShortcutListView { x: 20; y: 20; width: 260 }", {300, 240}), {}, {}, withShortcuts,
            [](ScriptedState &, QQuickItem *root) { openContextMenu(named(root, "shortcutRow")); }});

    // Help tips, once the pointer has rested.
    scenes << bothSkins("GlyphButton", "helpTip",
        {{},
            onGround(
                "GlyphButton { objectName: 'button'; x: 85; y: 20; glyph: 'pin'; label: 'Pin the player' }",
                {200, 90}),
            {}, {}, {},
            [](ScriptedState &state, QQuickItem *root) { restPointerOn(state, named(root, "button")); }});
    scenes << bothSkins("ShortcutListView", "helpTip",
        {{}, onGround("ShortcutListView { x: 20; y: 20; width: 260 }", {300, 160}), {}, {}, withShortcuts,
            [](ScriptedState &state, QQuickItem *root) {
                restPointerOn(state, named(root, "shortcutRow"));
            }});

    // The consent question for Spotify, and for an application it has no name for.
    for (const auto &[stateName, application] :
        {std::pair{"spotify", "com.spotify.client"}, std::pair{"otherApplication", "org.example.Player"}}) {
        for (const Skin skin : {Skin::classico, Skin::rivista}) {
            const QString id = QString::fromLatin1(application);
            scenes << Scene{
                QStringList{QStringLiteral("ConsentQuestion"), toRawValue(skin), stateName}.join('.'), QUrl(),
                {}, {}, {}, {},
                [id](ScriptedState &, const SkinPalette &palette) -> std::unique_ptr<QWidget> {
                    return std::make_unique<AutomationConsentBox>(id, palette);
                }};
        }
    }

    // A desktop widget's menu, as the widget host opens it: in the skin the
    // app wrote for the widgets, the pointer on its first entry.
    scenes << bothSkins("WidgetMenu", "open",
        {{},
            QmlSource(
                "import QtQuick\nRectangle { color: '#2e3440'; implicitWidth: 240; implicitHeight: 120 }"),
            {}, {}, {}, [](ScriptedState &state, QQuickItem *root) {
                const auto nothing = [] {};
                QMenu *menu
                    = WidgetMenu::make(WidgetMenu::palette(state.store()), nothing, nothing).release();
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(root->window()->mapToGlobal(QPoint(24, 24)));
                menu->setActiveAction(menu->actions().value(0));
            }});

    // The tray menu a plain click opens, with nothing playing, with a track
    // and with a title of 100 kB and many lines, in the current skin, the
    // pointer on its first live entry.
    QString longTitle;
    while (longTitle.size() < 100'000)
        longTitle += QStringLiteral("Concerto for the Longest Night in Twelve Parts & a Coda\r\n");
    for (const auto &[stateName, track, width] : {std::tuple{"idle", std::optional<QString>(), 300},
             std::tuple{"playing", std::optional<QString>("Holocene"), 300},
             std::tuple{"longTitle", std::optional<QString>(longTitle), 520}}) {
        scenes << bothSkins("StatusMenu", stateName,
            {{},
                QmlSource("import QtQuick\nRectangle { color: '#2e3440'; implicitWidth: "
                    + QByteArray::number(width) + "; implicitHeight: 380 }"),
                {}, {}, {}, [track](ScriptedState &state, QQuickItem *root) {
                    auto *menu = new QMenu;
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    StatusItem::fill(*menu, AppDelegate::statusMenuItems(track, true, false),
                        [](AppDelegate::MenuAction) {});
                    StatusItem::style(*menu, SkinPalette(state.root().preferences().skin(), state.aura()));
                    menu->popup(root->window()->mapToGlobal(QPoint(24, 24)));
                    for (QAction *action : menu->actions()) {
                        if (action->isEnabled() && !action->isSeparator()) {
                            menu->setActiveAction(action);
                            break;
                        }
                    }
                }});
    }
    return scenes;
}
