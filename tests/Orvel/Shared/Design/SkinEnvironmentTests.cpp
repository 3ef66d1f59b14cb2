#include "GlyphView.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "ScopedAppearance.h"
#include "SkillGlyphImage.h"
#include "SkinEnvironment.h"

#include <QCoreApplication>
#include <QQuickItem>
#include <gtest/gtest.h>

namespace {
const Aura artAura(ArtworkPalette{{0.9, 0.3, 0.1}, {0.1, 0.3, 0.9}, {0.1, 0.1, 0.1}}, QStringLiteral("art"));

} // namespace

TEST(SkinEnvironment, ViewsWithoutARootReadTheDefaults)
{
    QQuickItem lone;
    const SkinnedAttached *attached = Skinned::of(&lone);
    EXPECT_EQ(attached->environment(), SkinEnvironment::defaultEnvironment());
    const auto &values = attached->values();
    EXPECT_EQ(values.skin, Skin::classico);
    EXPECT_EQ(values.palette, SkinPalette(Skin::classico, Aura::brand()));
    EXPECT_EQ(values.aura, Aura::brand());
    EXPECT_FALSE(values.lightEffects);
    EXPECT_EQ(values.motion, MotionPolicy{});
    for (const auto feature : allCases<AnimationFeature>())
        EXPECT_TRUE(values.motion.allows(feature));

    // The default does not follow the system's Reduce Motion.
    ScopedAppearance on({true, {}, {}});
    EXPECT_FALSE(attached->reduceMotion());
}

TEST(SkinEnvironment, RootHandsItsValuesDownTheTree)
{
    QQuickItem root, middle, leaf, outsider;
    middle.setParentItem(&root);
    leaf.setParentItem(&middle);
    SkinnedAttached *leafEnv = Skinned::of(&leaf); // read before the root applies the modifier
    int changes = 0;
    QObject::connect(leafEnv, &SkinnedAttached::changed, [&] { ++changes; });

    Skinned::of(&root)->apply(Skin::classico, artAura, false, {});
    EXPECT_EQ(leafEnv->environment(), Skinned::of(&root)->environment());
    EXPECT_EQ(leafEnv->aura(), artAura);
    EXPECT_EQ(leafEnv->palette().accent, (SRGBColor{0.77, 0.94, 0.56, 1}));
    EXPECT_GT(changes, 0);

    // Switching the skin changes the palette, not the aura.
    changes = 0;
    Skinned::of(&root)->setSkin("rivista");
    EXPECT_EQ(leafEnv->values().skin, Skin::rivista);
    EXPECT_EQ(leafEnv->palette().accent, artAura.ink);
    EXPECT_EQ(leafEnv->aura(), artAura);
    EXPECT_GT(changes, 0);
    Skinned::of(&root)->setSkin("Rivista"); // not a skin: classico, as stored values read
    EXPECT_EQ(leafEnv->values().skin, Skin::classico);

    // Moving a subtree out of the root returns it to the default.
    middle.setParentItem(&outsider);
    EXPECT_EQ(leafEnv->environment(), SkinEnvironment::defaultEnvironment());
    middle.setParentItem(&root);
    EXPECT_EQ(leafEnv->aura(), artAura);
}

TEST(SkinEnvironment, MotionPolicyCombinesSettingsLightAndReduceMotion)
{
    QQuickItem root;
    SkinnedAttached *env = Skinned::of(&root);
    AnimationSettings settings;
    settings.disabled = {AnimationFeature::controls};
    env->apply(Skin::classico, Aura::brand(), false, settings);
    EXPECT_EQ(env->level("controls"), "still");
    EXPECT_EQ(env->level("panels"), "full");
    EXPECT_TRUE(env->allows("panels"));
    EXPECT_FALSE(env->allows("Panels"));
    EXPECT_EQ(env->animations(), QStringList{"controls"});

    {
        // Reduce Motion comes from the system, with no change of the user's settings.
        ScopedAppearance on({true, {}, {}});
        EXPECT_TRUE(env->reduceMotion());
        EXPECT_EQ(env->level("trackSwell"), "reduced");
        EXPECT_EQ(env->level("titleScroll"), "still");
    }
    EXPECT_FALSE(env->reduceMotion());

    env->setLightEffects(true);
    for (const auto feature : allCases<AnimationFeature>())
        EXPECT_EQ(env->level(toRawValue(feature)), "still");
}

TEST(SkinEnvironment, QmlViewsReadTheRootsEnvironment)
{
    QmlHarness harness;
    const auto root = harness.create(R"(
        import QtQuick
        import Orvel.Shared
        Item {
            Skinned.skin: "rivista"
            Skinned.lightEffects: true
            Item {
                objectName: "view"
                property color text: Skinned.palette.text
                property color accent: Skinned.palette.accent
                property string swell: Skinned.level("trackSwell")
                property color ink: Skinned.aura.ink
                property color plainText: palette.windowText
                property string label: Design.localized("Skill slot %d", [3])
                property color previewAccent: Design.palette("rivista", Design.brandAura).accent
                property url mark: Design.image("BrandMark")
                property color tint: palette.highlight
                GlyphView { objectName: "glyph"; glyph: "play" }
            }
        })");
    ASSERT_TRUE(root) << harness.errors().toStdString();
    QObject *view = root->findChild<QObject *>("view");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->property("text").value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(view->property("accent").value<QColor>(), Aura::brand().inkColor());
    EXPECT_EQ(view->property("ink").value<QColor>(), Aura::brand().inkColor());
    EXPECT_EQ(view->property("swell").toString(), "still");
    EXPECT_EQ(view->property("label").toString(), "Skill slot 3");
    EXPECT_EQ(view->property("previewAccent").value<QColor>(), Aura::brand().inkColor());
    EXPECT_EQ(view->property("mark").toUrl(), QUrl("qrc:/Orvel/Shared/Assets/BrandMark.svg"));
    // What views inherit without asking: text in the palette's text colour, tint in its accent.
    EXPECT_EQ(view->property("plainText").value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(view->property("tint").value<QColor>(), Aura::brand().inkColor());

    // A glyph with no colour of its own takes the palette's text colour, and follows it.
    auto *glyph = root->findChild<GlyphView *>("glyph");
    ASSERT_TRUE(glyph);
    EXPECT_EQ(glyph->glyph(), OrvelGlyph::play);
    EXPECT_EQ(glyph->color(), QColor(Qt::white));
    Skinned::of(root.get())->setSkin("classico");
    EXPECT_EQ(glyph->color(), SkinPalette().textColor());
    EXPECT_EQ(view->property("accent").value<QColor>(), SkinPalette().accentColor());
    glyph->setColor(Qt::red);
    EXPECT_EQ(glyph->color(), QColor(Qt::red));
    glyph->resetColor();
    EXPECT_EQ(glyph->color(), SkinPalette().textColor());
}

TEST(SkinEnvironment, AViewOutsideItsOwnersTreeReadsTheOwnersEnvironment)
{
    // As a popup's parts in the window's overlay: the owner lies in another branch.
    QQuickItem window, overlay, part, line;
    auto page = std::make_unique<QQuickItem>(), button = std::make_unique<QQuickItem>();
    page->setParentItem(&window);
    button->setParentItem(page.get());
    overlay.setParentItem(&window);
    part.setParentItem(&overlay);
    line.setParentItem(&part);
    Skinned::of(page.get())->apply(Skin::rivista, artAura, false, {});
    Skinned::of(&window)->apply(Skin::classico, Aura::brand(), false, {});

    struct Row {
        QQuickItem *owner;
        Skin skin;
    };
    for (const Row row :
        {Row{button.get(), Skin::rivista}, Row{nullptr, Skin::classico}, Row{page.get(), Skin::rivista}}) {
        Skinned::of(&part)->setOwner(row.owner);
        // The part's own items search through the owner too.
        EXPECT_EQ(Skinned::of(&part)->values().skin, row.skin);
        EXPECT_EQ(Skinned::of(&line)->values().skin, row.skin);
    }
    // An owner that goes away leaves the part to its own tree.
    page.reset();
    button.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(Skinned::of(&part)->owner(), nullptr);
    EXPECT_EQ(Skinned::of(&line)->values().skin, Skin::classico);
}

TEST(SkinEnvironment, ViewsFollowWhenMovedAndOutliveTheirRoot)
{
    auto root = std::make_unique<QQuickItem>();
    Skinned::of(root.get())->apply(Skin::rivista, artAura, false, {});
    QQuickItem elsewhere;
    auto *glyph = new GlyphView(&elsewhere);
    glyph->setParentItem(&elsewhere);
    EXPECT_EQ(Skinned::of(glyph)->values().skin, Skin::classico);

    // An item moved under a root looks again on the next turn of the event loop.
    glyph->setParentItem(root.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(glyph->color(), QColor(Qt::white));
    EXPECT_EQ(Skinned::of(glyph)->aura(), artAura);

    // Deleting views and roots in any order leaves nothing dangling.
    auto *text = new QQuickItem(root.get());
    text->setParentItem(root.get());
    SkinnedAttached *textEnvironment = Skinned::of(text);
    EXPECT_EQ(textEnvironment->aura(), artAura);
    delete glyph;
    root.reset();
    QCoreApplication::processEvents();
    QQuickItem lone;
    EXPECT_EQ(Skinned::of(&lone)->environment(), SkinEnvironment::defaultEnvironment());
}

TEST(SkinEnvironment, GlyphItemsTakeSizeAndColourFromQmlAndFollowThePalette)
{
    QmlHarness harness;
    const auto root = harness.create(R"(
        import QtQuick
        import Orvel.Shared
        Item {
            property alias plain: plain
            property alias skill: skill
            GlyphView { id: plain; glyph: "play"; size: 20 }
            SkillGlyphImage { id: skill; glyph: "heart"; size: 20; color: "#ff0000" }
        }
    )");
    ASSERT_TRUE(root) << harness.errors().toStdString();
    auto *plain = root->property("plain").value<GlyphView *>();
    auto *skill = root->property("skill").value<SkillGlyphImage *>();
    ASSERT_TRUE(plain && skill);
    EXPECT_EQ(plain->implicitWidth(), 20);
    EXPECT_EQ(skill->implicitWidth(), 20 * SkillGlyphImage::frameScale);
    EXPECT_EQ(plain->color(), Skinned::of(plain)->palette().textColor());
    EXPECT_EQ(skill->color(), QColor("#ff0000"));
    skill->resetColor();
    EXPECT_EQ(skill->color(), Skinned::of(skill)->palette().textColor());
}
