#include "AnimationPresetModel.h"
#include "AnimationSettingsModel.h"
#include "CoordinatorTestSupport.h"
#include "QmlHarness.h"
#include "ScrubberState.h"
#include "SkinEnvironment.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

// The animation page and its preset picker over real preferences.
namespace {
QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> result;
    for (QQuickItem *child : root->childItems())
        result << child << descendants(child);
    return result;
}

QList<QQuickItem *> allNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> result;
    for (QQuickItem *item : descendants(root))
        if (item->objectName() == name)
            result << item;
    return result;
}

AnimationSettings without(std::set<AnimationFeature> disabled)
{
    return AnimationSettings{std::move(disabled)};
}
} // namespace

class AnimationSettingsTest : public CoordinatorTest {
protected:
    AnimationSettingsTest()
    {
        picker.setPreferences(&preferences);
        page.setPreferences(&preferences);
        page.setEnvironment(&environment);
        follow();
        QObject::connect(&preferences, &Preferences::changed, [this] { follow(); });
    }
    // What the dashboard's skinned root does: the policy of the settings,
    // light mode and the system's Reduce Motion.
    void follow()
    {
        environment.setValues(SkinEnvironment::skinned(Skin::classico, Aura::brand(),
            preferences.lightEffects(), preferences.animations(), reduceMotion));
    }
    QVariantMap card(int i) const { return picker.cards().at(i).toMap(); }

    ScopedScheduler installed{clock};
    bool reduceMotion = false;
    SkinEnvironment environment;
    AnimationPresetModel picker;
    AnimationSettingsModel page;
};

TEST_F(AnimationSettingsTest, ThePresetCardsAndTheirNote)
{
    preferences.setAnimations(without({AnimationFeature::trackSwell, AnimationFeature::titleScroll}));
    EXPECT_TRUE(card(1)["selected"].toBool());
    EXPECT_FALSE(card(0)["selected"].toBool());
    EXPECT_EQ(card(1)["title"], "Essential");
    EXPECT_EQ(picker.noteName(), "none");

    page.setFeature("titleScroll", true);
    EXPECT_EQ(picker.noteName(), "custom");
    EXPECT_EQ(picker.noteText(), "Custom mix");
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(card(i)["selected"].toBool());

    preferences.setEffects(EffectsMode::light);
    EXPECT_EQ(picker.noteName(), "light");
    EXPECT_EQ(picker.noteText(), "In Light mode animations are off.");
    EXPECT_EQ(picker.opacity(), 0.55);

    EXPECT_EQ(picker.spacing(), 14);
    picker.setCompact(true);
    EXPECT_EQ(picker.spacing(), 10);
}

TEST_F(AnimationSettingsTest, TheSelectedCardAppliesAgain)
{
    QSignalSpy writes(&preferences, &Preferences::animationsChanged);
    picker.select("all");
    EXPECT_EQ(writes.size(), 1);
    picker.select("none");
    EXPECT_EQ(preferences.animations().disabled.size(), 6);
    EXPECT_TRUE(card(2)["selected"].toBool());
    for (const QVariant &row : page.rows())
        EXPECT_FALSE(row.toMap()["enabled"].toBool());
    picker.select("bogus");
    EXPECT_EQ(writes.size(), 2);
}

TEST_F(AnimationSettingsTest, RowsInFeatureOrderWithARuleAfterAllButTheLast)
{
    const QVariantList rows = page.rows();
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0].toMap()["title"], "Progress swell");
    EXPECT_EQ(rows[2].toMap()["feature"], "titleScroll");
    EXPECT_EQ(rows[5].toMap()["caption"], "A cooldown sweep while a skill starts.");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(rows[i].toMap()["rule"].toBool()) << i;
    EXPECT_FALSE(rows[5].toMap()["rule"].toBool());
}

TEST_F(AnimationSettingsTest, LightModeDimsButStillSwitchesAndStopsTheDemo)
{
    EXPECT_TRUE(page.canTry());
    page.setFeature("trackSwell", false);
    EXPECT_FALSE(page.canTry());
    page.setFeature("trackSwell", true);
    EXPECT_TRUE(page.canTry());

    preferences.setEffects(EffectsMode::light);
    EXPECT_EQ(page.rowOpacity(), 0.55);
    EXPECT_FALSE(page.canTry());
    QSignalSpy writes(&preferences, &Preferences::animationsChanged);
    page.setFeature("controls", false);
    EXPECT_EQ(writes.size(), 1);
    EXPECT_FALSE(preferences.animations()[AnimationFeature::controls]);
}

TEST_F(AnimationSettingsTest, ReduceMotionKeepsTheDemoAndShowsItsNoteOutsideLightMode)
{
    reduceMotion = true;
    follow();
    EXPECT_TRUE(page.canTry());
    EXPECT_TRUE(page.showsReduceMotionNote());
    preferences.setEffects(EffectsMode::light);
    EXPECT_FALSE(page.showsReduceMotionNote());
    EXPECT_FALSE(page.canTry());
}

TEST_F(AnimationSettingsTest, TryItPulsesTheDemoScrubber)
{
    ScrubberState *demo = page.scrubber();
    EXPECT_EQ(demo->value(), 38);
    EXPECT_EQ(demo->maximum(), 100);
    EXPECT_EQ(demo->valueText(), "38%");
    EXPECT_EQ(AnimationSettingsModel::demoValueText(38.9), "38%");
    demo->setEnvironment(&environment);
    page.tryIt();
    EXPECT_EQ(page.demo(), 1);
    EXPECT_EQ(demo->pulse(), "1");
    EXPECT_TRUE(demo->swelling());
    clock.advance(2);
    EXPECT_FALSE(demo->swelling());

    // Where the swell stays still, a pulse plays nothing.
    preferences.setEffects(EffectsMode::light);
    page.tryIt();
    EXPECT_FALSE(demo->swelling());
}

// The page itself, under a root that derives its motion from the preferences.
class AnimationSettingsPage : public CoordinatorTest {
protected:
    AnimationSettingsPage() { harness.provide(preferences); }
    ~AnimationSettingsPage() override
    {
        view.reset();
        EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
    }

    QQuickItem *named(const QString &name) const
    {
        const auto found = allNamed(view->item(), name);
        return found.isEmpty() ? nullptr : found.first();
    }

    ScopedScheduler installed{clock};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;
};

TEST_F(AnimationSettingsPage, OpeningWritesNothingAndTheDemoTakesNoInput)
{
    preferences.setAnimations(without({AnimationFeature::trackSwell}));
    QSignalSpy writes(&preferences, &Preferences::changed);
    view = harness.view("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                        "Item { Skinned.lightEffects: Preferences.lightEffects\n"
                        "  Skinned.animations: Preferences.animations\n"
                        "  AnimationSettingsView { width: 660 } }",
        {}, QSize(700, 900));
    ASSERT_TRUE(view) << harness.errors().toStdString();
    clock.runUntilIdle();
    EXPECT_EQ(writes.size(), 0);

    auto *tryIt = named("tryIt");
    ASSERT_TRUE(tryIt);
    EXPECT_FALSE(tryIt->isEnabled());
    preferences.setAnimations({});
    EXPECT_TRUE(tryIt->isEnabled());

    auto *demo = named("demoScrubber");
    ASSERT_TRUE(demo);
    EXPECT_FALSE(demo->isEnabled());
    // The demonstration takes no pointer: a hover wakes no knob, and a press moves nothing.
    auto *scrubber = demo->property("model").value<ScrubberState *>();
    ASSERT_TRUE(scrubber);
    const double before = scrubber->trackFraction();
    const QPoint onDemo = demo->mapToScene(QPointF(demo->width() * 0.8, demo->height() / 2)).toPoint();
    QTest::mouseMove(view->window(), onDemo);
    QTest::mousePress(view->window(), Qt::LeftButton, {}, onDemo);
    QTest::mouseRelease(view->window(), Qt::LeftButton, {}, onDemo);
    EXPECT_FALSE(scrubber->hovering());
    EXPECT_FALSE(scrubber->active());
    EXPECT_EQ(scrubber->trackFraction(), before);
    EXPECT_EQ(view->window()->cursor().shape(), Qt::ArrowCursor);
    const auto switches = allNamed(view->item(), "featureSwitch");
    ASSERT_EQ(switches.size(), 6);

    // Light mode dims the rows, yet a click still switches and persists.
    preferences.setEffects(EffectsMode::light);
    EXPECT_FALSE(tryIt->isEnabled());
    const QPointF centre
        = switches[2]->mapToScene(QPointF(switches[2]->width() / 2, switches[2]->height() / 2));
    QTest::mouseClick(view->window(), Qt::LeftButton, {}, centre.toPoint());
    EXPECT_FALSE(preferences.animations()[AnimationFeature::titleScroll]);
    EXPECT_EQ(allNamed(view->item(), "featureSwitch"), switches);
}
