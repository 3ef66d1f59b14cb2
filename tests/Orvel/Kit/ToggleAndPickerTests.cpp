#include "ChoiceCardStyle.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "ManualScheduler.h"
#include "MotionSpring.h"
#include "Preferences.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "RecordingWidgetCenter.h"
#include "SharedStore.h"
#include "SkinEnvironment.h"
#include "SkinPickerStyle.h"
#include "SkinSwatchStyle.h"
#include "SkinToggleStyle.h"
#include "TemporaryHome.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const Aura blueAura(
    ArtworkPalette{{0.18, 0.42, 0.93}, {0.62, 0.38, 0.95}, {0.05, 0.08, 0.2}}, QStringLiteral("blue"));

void click(QmlHarness::View &view, QQuickItem *item)
{
    view.grab(); // laid out
    const QPointF center = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(view.window(), Qt::LeftButton, {}, center.toPoint());
}

// Repeater delegates are items below the row, not QObject children.
QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}
} // namespace

TEST(SkinToggleStyle, RivistaKnobLeftOffRightOnInItsColours)
{
    const SkinPalette rivista(Skin::rivista, blueAura);
    const auto off = SkinToggleStyle::look(rivista, 0);
    EXPECT_EQ(off.knobX, 2);
    EXPECT_EQ(off.knob, rivista.text);
    EXPECT_EQ(off.track, rivista.text.withOpacity(0.25));
    const auto on = SkinToggleStyle::look(rivista, 1);
    EXPECT_EQ(on.knobX, 36 - 2 - 16);
    EXPECT_EQ(on.knob, rivista.onAccent);
    EXPECT_EQ(on.track, rivista.text);
    EXPECT_EQ(SkinToggleStyle::animation(true), motionSpring(0.18).animation());
    EXPECT_FALSE(SkinToggleStyle::animation(false).enabled());
    EXPECT_EQ(SkinToggleStyle::accessibilityValue(true), "On");
    EXPECT_EQ(SkinToggleStyle::accessibilityValue(false), "Off");
}

TEST(SkinToggleStyle, ClassicoHighlightsOnWithTheAccentAndSlidesAsAPlatformSwitch)
{
    const SkinPalette classico(Skin::classico, blueAura);
    const auto off = SkinToggleStyle::look(classico, 0);
    EXPECT_EQ(off.knobX, 1);
    EXPECT_EQ(off.track, classico.fillStrong);
    EXPECT_EQ(off.trackBorder, classico.stroke);
    EXPECT_EQ(off.knob, classico.text);
    const auto on = SkinToggleStyle::look(classico, 1);
    EXPECT_EQ(on.knobX, 32 - 1 - 16);
    EXPECT_EQ(on.track, classico.accent);
    EXPECT_EQ(on.knob, classico.text);
    // Animated even where the environment stills controls; only the system's reduce motion stops it.
    EXPECT_TRUE(SkinToggleStyle::animation(Skin::classico, false, false).enabled());
    EXPECT_FALSE(SkinToggleStyle::animation(Skin::classico, true, true).enabled());
    EXPECT_FALSE(SkinToggleStyle::animation(Skin::rivista, false, false).enabled());
}

TEST(SkinToggle, ClassicoDrawsItsOwnAccentTrackWhateverTheControlsStyle)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        import Orvel.Shared
        Rectangle {
            width: 40; height: 20
            color: "black"
            SkinToggle { objectName: "toggle"; label: "Drag the player"; isOn: true }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *toggle = view->item()->findChild<QQuickItem *>("toggle");
    EXPECT_EQ(toggle->implicitWidth(), 32);
    EXPECT_EQ(toggle->implicitHeight(), 18);
    const QImage image = view->grab();
    const QColor accent = SkinPalette().accent.toQColor();
    const QColor track = image.pixelColor(7, 9); // left of the knob, which sits at the trailing end
    EXPECT_LE(std::abs(track.red() - accent.red()) + std::abs(track.green() - accent.green())
            + std::abs(track.blue() - accent.blue()),
        6);
    EXPECT_GT(image.pixelColor(23, 9).blue(), 220); // the light knob
}

TEST(SkinToggle, NeverKeepsItsOwnFlip)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        import Orvel.Shared
        Item {
            width: 100; height: 40
            property bool owned: false
            property bool accepts: false
            SkinToggle {
                objectName: "toggle"
                label: "Drag the player"
                isOn: parent.owned
                onToggled: on => { if (parent.accepts) parent.owned = on }
            }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    QQuickItem *root = view->item();
    auto *toggle = root->findChild<QQuickItem *>("toggle");
    QSignalSpy toggled(toggle, SIGNAL(toggled(bool)));
    QQuickItem *platform = toggle->childItems().at(0); // the classico switch

    // Classico: the platform switch asks, the owner refuses, the switch returns.
    click(*view, toggle);
    ASSERT_EQ(toggled.count(), 1);
    EXPECT_TRUE(toggled.at(0).at(0).toBool());
    EXPECT_FALSE(platform->property("checked").toBool());
    // And still follows the owner afterwards.
    root->setProperty("owned", true);
    EXPECT_TRUE(platform->property("checked").toBool());
    root->setProperty("owned", false);

    // Rivista: the drawn switch asks the same way; an accepting owner flips it.
    Skinned::of(root)->setSkin("rivista");
    root->setProperty("accepts", true);
    click(*view, toggle);
    ASSERT_EQ(toggled.count(), 2);
    EXPECT_TRUE(toggle->property("isOn").toBool());
    EXPECT_EQ(toggle->property("style").value<SkinToggleStyle *>()->accessibilityValue(), "On");
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(SkinSwatchStyle, DrawsItsOwnSkinWhateverTheEnvironment)
{
    const auto rivista = SkinSwatchStyle::look(Skin::rivista, blueAura);
    EXPECT_EQ(rivista.background, blueAura.field);
    EXPECT_EQ(rivista.backgroundEnd, blueAura.fieldDeep);
    EXPECT_EQ(rivista.trackHeight, 1);
    EXPECT_EQ(rivista.playButton, SRGBColor::white(1));
    EXPECT_EQ(rivista.coverRadius, 2);
    EXPECT_EQ(rivista.titleBar, QSizeF(86, 7));
    const auto classico = SkinSwatchStyle::look(Skin::classico, blueAura);
    EXPECT_EQ(classico.background, SRGBColor::black());
    EXPECT_EQ(classico.trackHeight, 3);
    EXPECT_EQ(classico.progress, SkinPalette(Skin::classico, blueAura).accent);
    EXPECT_EQ(classico.border, SRGBColor::white(0.1));
}

TEST(ChoiceCardStyle, OneElementNamedByTitleAndDetailAsGiven)
{
    EXPECT_EQ(ChoiceCardStyle::accessibleName("Peek", "Keys slide out."), "Peek, Keys slide out.");
    EXPECT_EQ(ChoiceCardStyle::accessibleValue(true), "Selected");
    EXPECT_EQ(ChoiceCardStyle::accessibleValue(false), "Not selected");
    EXPECT_EQ(ChoiceCardStyle::padding(true), 12);
    EXPECT_EQ(ChoiceCardStyle::padding(false), 14);
}

TEST(SkinPickerStyle, RivistaFirstWithTheirTexts)
{
    const auto cards = SkinPickerStyle::cards(Skin::classico);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].skin, Skin::rivista);
    EXPECT_EQ(cards[0].accessibleName, "Rivista, Type over glass tinted by the cover.");
    EXPECT_FALSE(cards[0].selected);
    EXPECT_EQ(cards[0].accessibleValue, "Not selected");
    EXPECT_EQ(cards[1].skin, Skin::classico);
    EXPECT_EQ(cards[1].detail, "Solid black panels and classic controls.");
    EXPECT_TRUE(cards[1].selected);
}

TEST(SkinPicker, WritesThePreferenceAlsoWhenAlreadyChosen)
{
    TemporaryHome home;
    ManualScheduler scheduler;
    Defaults defaults(home.path("defaults.json"), scheduler);
    const SharedStore store(home.path("group"), home.path("support"));
    FakeLoginItem login;
    RecordingWidgetCenter widgets;
    Preferences preferences(Preferences::Services{
        &defaults, [&] { return store; }, &scheduler, &login, &widgets, [] { return false; }});
    QSignalSpy written(&preferences, &Preferences::skinChanged);

    QmlHarness harness;
    harness.provide(preferences);
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        Item { width: 500; height: 300; SkinPicker { width: 480 } })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *classico = findItem(view->item(), "card-classico");
    auto *rivista = findItem(view->item(), "card-rivista");
    ASSERT_TRUE(classico && rivista);
    EXPECT_LT(rivista->x(), classico->x());

    click(*view, classico);
    EXPECT_EQ(written.count(), 1);
    EXPECT_EQ(preferences.skin(), Skin::classico);
    click(*view, rivista);
    EXPECT_EQ(preferences.skin(), Skin::rivista);
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}
