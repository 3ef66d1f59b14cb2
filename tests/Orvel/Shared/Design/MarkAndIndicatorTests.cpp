#include "ManualScheduler.h"
#include "MarkView.h"
#include "PlayingIndicatorState.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "ScopedAppearance.h"
#include "ScopedWallClock.h"
#include "SkinEnvironment.h"
#include "SystemAppearance.h"
#include "VisualizerDrawing.h"

#include <QJsonObject>
#include <QQuickItem>
#include <gtest/gtest.h>

namespace {
const Aura artAura(ArtworkPalette{{1.0, 0.2, 0.1}, {0.1, 0.4, 1.0}, {0.1, 0.1, 0.1}}, QStringLiteral("art"));

// A manual clock behind both the scheduler and the wall clock.
struct ManualTime {
    ManualScheduler scheduler;
    ScopedScheduler scope{scheduler};
    ScopedWallClock wallClock{scheduler};
};

QVariant settingsJson(bool enabled)
{
    VisualizerSettings settings;
    settings.enabled = enabled;
    return settings.toJson().toVariant();
}

bool isOpaqueAt(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 255;
}
} // namespace

TEST(MarkView, ChoosesImageOrGlyphBySizeOrVariant)
{
    using V = MarkView::Variant;
    EXPECT_EQ(MarkView::chosen(43, {}), V::compact);
    EXPECT_EQ(MarkView::chosen(43.9, {}), V::compact);
    EXPECT_EQ(MarkView::chosen(44, {}), V::full);
    EXPECT_EQ(MarkView::chosen(20, V::full), V::full);
    EXPECT_EQ(MarkView::chosen(80, V::compact), V::compact);

    // The compact mark is the glyph in the palette's accent; the full one is the brand image.
    const SkinPalette classico(Skin::classico, artAura), rivista(Skin::rivista, artAura);
    const QImage compact = MarkView::render(96, V::compact, rivista);
    EXPECT_EQ(compact.pixel(48, 65), rivista.accentColor().rgba()); // the glyph's dot
    EXPECT_EQ(MarkView::render(96, V::compact, classico).pixel(48, 65), classico.accentColor().rgba());
    EXPECT_EQ(qAlpha(compact.pixel(2, 2)), 0);
    const QImage full = MarkView::render(96, {}, rivista);
    EXPECT_TRUE(isOpaqueAt(full, 10, 48)); // the badge fills the square
    EXPECT_NE(full.pixel(10, 48), rivista.accentColor().rgba());

    MarkView view;
    EXPECT_EQ(view.size(), 34);
    EXPECT_EQ(view.implicitWidth(), 34);
    view.setVariantName("full");
    EXPECT_EQ(view.variant(), V::full);
    view.setVariantName("");
    EXPECT_FALSE(view.variant().has_value());
}

TEST(AuraGlow, GlowsFromThePrimaryWithASecondaryBloom)
{
    const QSize size(200, 200);
    // Far from the secondary's bloom the core is the primary colour, fully opaque.
    const QImage wide = AuraGlow::render(QSize(1000, 1000), artAura, {0.5, 0.5}, 100, 1);
    const QColor centre = wide.pixelColor(500, 500);
    EXPECT_GE(centre.alpha(), 254);
    EXPECT_NEAR(centre.red(), artAura.primaryColor().red(), 2);
    EXPECT_NEAR(centre.green(), artAura.primaryColor().green(), 2);
    EXPECT_NEAR(centre.blue(), artAura.primaryColor().blue(), 2);
    const QImage strong = AuraGlow::render(size, artAura, {0.5, 0.5}, 100, 1);
    // Down and to the right lies the secondary's bloom.
    const QColor bloom
        = AuraGlow::render(size, artAura, {0.3, 0.3}, 100, 0.3).pixelColor(int(0.52 * 200), int(0.46 * 200));
    EXPECT_GT(bloom.blueF(), bloom.redF());
    // Beyond the radius nothing is drawn.
    EXPECT_EQ(qAlpha(strong.pixel(199, 0)), 0);

    const QImage none = AuraGlow::render(size, artAura, {0.5, 0.5}, 100, 0);
    for (int y = 0; y < size.height(); y += 7)
        for (int x = 0; x < size.width(); x += 7)
            ASSERT_EQ(qAlpha(none.pixel(x, y)), 0);

    AuraGlow glow;
    EXPECT_EQ(glow.acceptedMouseButtons(), Qt::NoButton);
    EXPECT_FALSE(glow.acceptHoverEvents());
    EXPECT_EQ(glow.intensity(), 0.3);
    EXPECT_EQ(glow.center(), QPointF(0.5, 0.5));
}

TEST(PlayingIndicatorState, FormsAndStillness)
{
    PlayingIndicatorState compact;
    compact.setCompact(true);
    compact.setRegularHeight(60); // ignored by the compact form
    EXPECT_EQ(compact.frameWidth(), 27);
    EXPECT_EQ(compact.frameHeight(), 20);
    EXPECT_DOUBLE_EQ(compact.interval(), 1.0 / 15);

    PlayingIndicatorState regular;
    EXPECT_EQ(regular.frameHeight(), 38);
    EXPECT_EQ(regular.frameWidth(), 0); // as wide as offered
    EXPECT_DOUBLE_EQ(regular.interval(), 1.0 / 30);
    EXPECT_EQ(regular.accessibleLabel(), "Paused");
    regular.setPlaying(true);
    EXPECT_EQ(regular.accessibleLabel(), "Playing");
    EXPECT_TRUE(regular.ticking());

    struct Case {
        const char *what;
        SystemAppearance::Overrides system;
        bool light;
    };
    for (const Case &c : std::vector<Case>{{"reduce motion", {true, {}, {}}, false},
             {"reduced luminance", {{}, {}, true}, false}, {"light effects", {}, true}}) {
        ScopedAppearance overrides(c.system);
        regular.setLightEffects(c.light);
        EXPECT_TRUE(regular.still()) << c.what;
        EXPECT_FALSE(regular.ticking()) << c.what;
        regular.setLightEffects(false);
    }
    EXPECT_TRUE(regular.ticking());
    regular.setSettingsJson(settingsJson(false));
    EXPECT_FALSE(regular.shown());
    EXPECT_FALSE(regular.ticking());
}

TEST(PlayingIndicatorState, TicksAtItsRateOnlyWhileMoving)
{
    ManualTime time;
    PlayingIndicatorState state;
    state.setCompact(true);
    int ticks = 0;
    QObject::connect(&state, &PlayingIndicatorState::timeChanged, [&] { ++ticks; });

    state.setPlaying(true);
    time.scheduler.runUntilIdle();
    time.scheduler.advance(3.0);
    EXPECT_NEAR(ticks, 45, 1); // 15 frames a second
    EXPECT_NEAR(state.time(), time.scheduler.now(), 1.0 / 15);

    state.setCompact(false);
    time.scheduler.runUntilIdle();
    ticks = 0;
    time.scheduler.advance(3.0);
    EXPECT_NEAR(ticks, 90, 1);

    state.setPlaying(false);
    time.scheduler.runUntilIdle();
    ticks = 0;
    time.scheduler.advance(5.0);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(time.scheduler.pendingSleepers(), 0u);

    state.setPlaying(true);
    state.setLightEffects(true);
    time.scheduler.runUntilIdle();
    time.scheduler.advance(5.0);
    EXPECT_EQ(ticks, 0);
}

TEST(PlayingIndicator, QmlViewTakesNoSpaceWhenSwitchedOff)
{
    QmlHarness harness;
    const auto object = harness.create(QUrl(QStringLiteral("qrc:/Orvel/Shared/Design/PlayingIndicator.qml")));
    ASSERT_TRUE(object) << harness.errors().toStdString();
    auto *indicator = qobject_cast<QQuickItem *>(object.get());
    ASSERT_TRUE(indicator);
    auto *drawing = indicator->findChild<VisualizerDrawing *>("drawing");
    ASSERT_TRUE(drawing);

    indicator->setProperty("compact", true);
    EXPECT_EQ(indicator->implicitWidth(), 27);
    EXPECT_EQ(indicator->implicitHeight(), 20);
    EXPECT_TRUE(drawing->compact());

    indicator->setProperty("lightEffects", true);
    EXPECT_TRUE(drawing->reducedMotion());

    indicator->setProperty("settings", settingsJson(false));
    EXPECT_FALSE(indicator->isVisible());
    EXPECT_EQ(indicator->implicitWidth(), 0);
    EXPECT_EQ(indicator->implicitHeight(), 0);
}

TEST(PlayingIndicator, TakesSettingsAsAJavaScriptObject)
{
    QmlHarness harness;
    const auto object = harness.create(R"(
        import QtQuick
        import Orvel.Shared
        PlayingIndicator {
            settings: ({"enabled": true, "style": "wave", "palette": "sunset", "customHex": "C4F08F",
                        "intensity": 0.7, "speed": 1.0, "glow": true})
        })");
    ASSERT_TRUE(object) << harness.errors().toStdString();
    auto *drawing = object->findChild<VisualizerDrawing *>("drawing");
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->settings().style, VisualizerStyle::wave);
    EXPECT_EQ(drawing->settings().palette, VisualizerPalette::sunset);
    EXPECT_EQ(object->property("implicitHeight").toDouble(), 38);
}
