#include "Pixels.h"

#include "PopupStyle.h"
#include "SkinEnvironment.h"

#include <QApplication>
#include <QMenu>
#include <QQuickWindow>

// Every open popup, in both skins: its lines stand on the skin's popup
// ground (or its highlight) and their text reaches 4.5:1 against it.
namespace {
struct Lines {
    QList<QRect> rects;
    SkinPalette palette;
};

// The shown entries of Qt Quick menus and lists, in the window's overlay.
QList<QRect> quickEntries(QQuickItem *root)
{
    QList<QRect> rects;
    QList<QQuickItem *> pending{root->window()->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem *item = pending.takeFirst();
        if (item->inherits("QQuickMenuItem") && item->isVisible())
            rects << Pixels::rectOf(item);
        pending << item->childItems();
    }
    return rects;
}

// The entries of the open context menu, or the help tip's text.
QList<QRect> widgetEntries(QQuickItem *root)
{
    const QPoint origin = root->window()->mapToGlobal(QPoint(0, 0));
    QList<QRect> rects;
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        for (QAction *action : menu->actions())
            rects << menu->actionGeometry(action).translated(menu->pos() - origin);
    }
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowType() == Qt::ToolTip)
            rects << widget->contentsRect().translated(widget->pos() - origin);
    return rects;
}
} // namespace

TEST(PopupPixels, EveryOpenPopupStandsOnTheSkinsGroundWithReadableText)
{
    struct Row {
        const char *view;
        const char *state;
        QList<QRect> (*entries)(QQuickItem *);
        const char *owner; // whose skin the popup takes; empty: the scene's root
        int lines;
    };
    const Row rows[] = {
        {"SkillSettingsView", "menuOpen", quickEntries, "", 3},
        {"SkillSlotEditor", "menuNoShortcuts", quickEntries, "", 1},
        {"DisplaySettingsView", "menu-open", quickEntries, "", 3},
        {"SkillSlotView", "contextMenu", widgetEntries, "", 4},
        {"ShortcutListView", "contextMenu", widgetEntries, "", 5},
        {"SurfaceView", "headerMenu", widgetEntries, "header", 2},
        {"GlyphButton", "helpTip", widgetEntries, "", 1},
        {"ShortcutListView", "helpTip", widgetEntries, "", 1},
        {"SurfaceView", "headerTip", widgetEntries, "header", 1},
        {"WidgetMenu", "open", widgetEntries, "", 2},
    };
    for (const Row &row : rows) {
        for (const char *skin : {"classico", "rivista"}) {
            const QString name = QStringList{row.view, skin, row.state}.join('.');
            SCOPED_TRACE(name.toStdString());
            Lines found;
            const RenderedScene picture = Pixels::render(name, [&](ScriptedState &, QQuickItem *root) {
                found.rects = row.entries(root);
                QQuickItem *owner = *row.owner ? Pixels::find(root, row.owner) : root;
                found.palette = Skinned::of(owner ? owner : root)->palette();
            });
            ASSERT_FALSE(picture.image.isNull());
            ASSERT_EQ(found.rects.size(), row.lines);
            const PopupStyle::Look look = PopupStyle::look(found.palette);
            const QRgb ground = look.ground.toQColor().rgb(), highlight = look.highlight.toQColor().rgb();
            for (const QRect &line : found.rects) {
                const QRgb under = Pixels::mostCommon(picture.image, line);
                EXPECT_TRUE(under == ground || under == highlight)
                    << std::hex << under << " is neither " << ground << " nor " << highlight;
                EXPECT_GE(Pixels::bestContrast(picture.image, line, under), 4.5);
            }
        }
    }
}

// What the pictures cannot vary: the popup colours over covers dark and light.
TEST(PopupPixels, ThePopupLookIsReadableOverEveryAura)
{
    const Aura auras[] = {Aura::brand(),
        Aura(ArtworkPalette{{0.98, 0.92, 0.35}, {1.0, 0.97, 0.8}, {0.9, 0.9, 0.85}}, QStringLiteral("pale")),
        Aura(ArtworkPalette{{0.05, 0.05, 0.08}, {0.1, 0.1, 0.1}, {0.02, 0.02, 0.02}}, QStringLiteral("dark")),
        Aura(ArtworkPalette{{0.9, 0.1, 0.2}, {0.2, 0.3, 1.0}, {0.4, 0.0, 0.1}}, QStringLiteral("red"))};
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        for (const Aura &aura : auras) {
            SCOPED_TRACE(toRawValue(skin).toStdString() + " " + aura.key.toStdString());
            const PopupStyle::Look look = PopupStyle::look(SkinPalette(skin, aura));
            const auto rgb = [](const SRGBColor &c) { return c.toQColor().rgb(); };
            EXPECT_EQ(look.ground.opacity, 1);
            EXPECT_GE(Pixels::contrast(rgb(look.text), rgb(look.ground)), 4.5);
            EXPECT_GE(Pixels::contrast(rgb(look.text), rgb(look.highlight)), 4.5);
            EXPECT_GE(Pixels::contrast(rgb(look.disabledText), rgb(look.ground)), 4.5);
        }
    }
}
