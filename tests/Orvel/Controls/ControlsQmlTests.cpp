#include "CoordinatorTestSupport.h"
#include "FunctionButtonStyle.h"
#include "ProgressControlModel.h"
#include "QmlHarness.h"
#include "SystemSymbol.h"
#include "TransportStyle.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QQmlProperty>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

// The control views over the app's coordinator: clicks, keys and the slider
// accessibility sees.
namespace {
const SkinPalette classico(Skin::classico, Aura::brand());
const SkinPalette rivista(Skin::rivista, Aura::brand());

class ControlsQml : public CoordinatorTest {
protected:
    ControlsQml()
    {
        harness.provide(*coordinator);
        spotify->onCommand = [](const PlaybackCommand &command, PlaybackSnapshot &state) {
            if (const auto *seek = std::get_if<PlaybackCommand::Seek>(&command.value))
                state.position = seek->seconds;
        };
    }
    ~ControlsQml() override { view.reset(); }

    void show(const PlaybackSnapshot &snapshot)
    {
        spotify->state = snapshot;
        coordinator->publish(snapshot, true);
    }
    QQuickItem *load(const QByteArray &qml)
    {
        view = harness.view(qml);
        EXPECT_TRUE(view) << harness.errors().toStdString();
        return view ? view->item() : nullptr;
    }
    QQuickItem *find(const char *name) const { return view->item()->findChild<QQuickItem *>(name); }
    void click(QQuickItem *item)
    {
        QTest::mouseClick(view->window(), Qt::LeftButton, {},
            item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint());
    }
    QList<PlaybackCommand::Kind> sent() const
    {
        QList<PlaybackCommand::Kind> kinds;
        for (const PlaybackCommand &command : spotify->commands)
            kinds << command.kind();
        return kinds;
    }

    ScopedScheduler installed{clock};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;
};
} // namespace

TEST_F(ControlsQml, TransportButtonsWaitForAReadyPlayerAndSendOneCommandEach)
{
    show(PlaybackCoordinator::placeholder(PlayerAvailability::notRunning));
    QQuickItem *row = load("import Orvel\nTransportControls {}");
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->isEnabled());
    click(find("next"));
    click(find("playPause"));
    clock.advance(1);
    EXPECT_TRUE(spotify->commands.isEmpty());

    show(playing("a", false));
    EXPECT_TRUE(find("playPause")->isEnabled());
    click(find("next"));
    clock.advance(1);
    click(find("previous"));
    clock.advance(1);
    EXPECT_EQ(
        sent(), (QList<PlaybackCommand::Kind>{PlaybackCommand::Kind::next, PlaybackCommand::Kind::previous}));
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST_F(ControlsQml, PlayWhilePausedSendsPlayAndTheGlyphWaitsForTheSnapshot)
{
    show(playing("a", false));
    spotify->latency = 0.5;
    load("import Orvel\nTransportControls { compact: true }");
    QQuickItem *button = find("playPause");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->width(), 42);
    click(button);
    clock.runUntilIdle();
    EXPECT_EQ(sent(), QList<PlaybackCommand::Kind>{PlaybackCommand::Kind::play});
    EXPECT_FALSE(button->property("playing").toBool()); // nothing changes locally
    EXPECT_EQ(button->property("text").toString(), "Play");
    spotify->state.isPlaying = true;
    clock.advance(2);
    EXPECT_TRUE(button->property("playing").toBool());
    EXPECT_EQ(button->property("text").toString(), "Pause");
}

TEST_F(ControlsQml, OnlyThePlayPauseCircleTakesThePointer)
{
    show(playing("a", false));
    load("import Orvel\nTransportControls {}");
    QQuickItem *button = find("playPause");
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->contains(QPointF(27, 27)));
    EXPECT_FALSE(button->contains(QPointF(2, 2))); // the square's corner, outside the circle
}

TEST(TransportStyle, SizesAndThePlayGlyphsPlace)
{
    TransportLayout layout;
    EXPECT_EQ(layout.spacing(), 24);
    EXPECT_EQ(layout.playSize(), 54);
    EXPECT_EQ(layout.glyphSize(), 24);
    layout.setCompact(true);
    EXPECT_EQ(layout.spacing(), 14);
    EXPECT_EQ(layout.glyphSize(), 21);
    EXPECT_FALSE(TransportLayout::enabled(PlayerAvailability::noTrack));

    PlayPauseStyle style;
    style.setSize(50);
    EXPECT_DOUBLE_EQ(style.glyphSize(), 23);
    EXPECT_DOUBLE_EQ(style.offset(), 1.5); // the play triangle sits right of centre
    style.setPlaying(true);
    EXPECT_EQ(style.offset(), 0);
    EXPECT_EQ(PlayPauseStyle::background(classico), classico.accent);
    EXPECT_EQ(PlayPauseStyle::background(rivista), rivista.text);
}

TEST(FunctionButtonStyle, SystemSymbolsForShuffleAndLoopAndRivistasDot)
{
    EXPECT_EQ(FunctionButtonStyle::symbol("shuffle"), "shuffle");
    EXPECT_EQ(FunctionButtonStyle::symbol("loop"), "repeat");
    EXPECT_EQ(FunctionButtonStyle::symbol("pin"), "");
    for (const char *name : {"shuffle", "repeat", "speaker.slash.fill", "speaker.wave.2.fill"})
        EXPECT_TRUE(SystemSymbol::exists(name)) << name;
    EXPECT_TRUE(FunctionButtonStyle::showsDot(rivista, true));
    EXPECT_FALSE(FunctionButtonStyle::showsDot(rivista, false));
    EXPECT_FALSE(FunctionButtonStyle::showsDot(classico, true));
    EXPECT_EQ(FunctionButtonStyle::accessibilityValue(true), "Enabled");
    EXPECT_EQ(FunctionButtonStyle::accessibilityValue(false), "Disabled");
}

TEST_F(ControlsQml, FunctionButtonShowsTheSymbolAndSaysWhetherItIsOn)
{
    QQuickItem *button = load("import Orvel\nFunctionButton { glyph: 'loop'; label: 'Repeat'; isOn: true }");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->width(), 25);
    EXPECT_EQ(button->property("symbol").toString(), "repeat");
    EXPECT_TRUE(button->property("selected").toBool());
    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(button);
    ASSERT_TRUE(access);
    EXPECT_EQ(access->text(QAccessible::Description), "Enabled");
    EXPECT_EQ(access->text(QAccessible::Name), "Repeat");
}

TEST_F(ControlsQml, TheScrubberIsASliderToAccessibilityAndTakesArrowKeys)
{
    show(playing("a", false, 60));
    QQuickItem *bar = load("import Orvel\nProgressControl { width: 300 }");
    ASSERT_TRUE(bar);
    auto *model = bar->property("model").value<ProgressControlModel *>();
    ASSERT_TRUE(model);
    QQuickItem *slider = bar->findChild<QQuickItem *>("scrubber");
    ASSERT_TRUE(slider);

    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(slider);
    ASSERT_TRUE(access);
    EXPECT_EQ(access->role(), QAccessible::Slider);
    EXPECT_EQ(access->text(QAccessible::Name), "Playback position");
    EXPECT_EQ(access->text(QAccessible::Description), "1:00 of 3:20");
    // The readouts are not read out: the slider's value speaks for them.
    for (const char *readout : {"elapsed", "remaining"}) {
        QQuickItem *text = find(readout);
        ASSERT_TRUE(text) << readout;
        EXPECT_TRUE(QQmlProperty(text, "Accessible.ignored", qmlContext(text)).read().toBool()) << readout;
    }
    QAccessibleValueInterface *value = access->valueInterface();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->maximumValue().toDouble(), 200);
    EXPECT_EQ(value->minimumStepSize().toDouble(), 5);

    value->setCurrentValue(40);
    EXPECT_EQ(model->scrubber()->draft(), 40);
    EXPECT_EQ(model->elapsedText(), "0:40");
    EXPECT_TRUE(spotify->commands.isEmpty());
    clock.advance(0.35);
    ASSERT_EQ(spotify->commands.size(), 1);
    EXPECT_EQ(std::get<PlaybackCommand::Seek>(spotify->commands[0].value).seconds, 40);
    clock.advance(2);

    QAccessibleActionInterface *actions = access->actionInterface();
    ASSERT_TRUE(actions);
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(model->scrubber()->draft(), 35);
    clock.advance(2);

    slider->forceActiveFocus();
    EXPECT_TRUE(model->scrubber()->focused());
    QTest::keyClick(view->window(), Qt::Key_Right);
    EXPECT_EQ(model->scrubber()->draft(), 40);
    QTest::keyClick(view->window(), Qt::Key_Up); // nothing else is handled
    EXPECT_EQ(model->scrubber()->draft(), 40);
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST_F(ControlsQml, ADisabledScrubberTakesNoFocusAndIgnoresKeys)
{
    PlaybackSnapshot advert = playing("a", false, 10);
    advert.capabilities.canSeek = false;
    show(advert);
    QQuickItem *bar = load("import Orvel\nProgressControl { width: 300 }");
    ASSERT_TRUE(bar);
    QQuickItem *slider = bar->findChild<QQuickItem *>("scrubber");
    EXPECT_FALSE(slider->isEnabled());
    EXPECT_FALSE(slider->activeFocusOnTab());
    slider->forceActiveFocus();
    QTest::keyClick(view->window(), Qt::Key_Right);
    auto *model = bar->property("model").value<ProgressControlModel *>();
    EXPECT_FALSE(model->scrubber()->draft().has_value());
}

TEST_F(ControlsQml, ADragHoldsThePanelUntilTheSeekIsConfirmed)
{
    show(playing("a", false, 0));
    spotify->latency = 0.5;
    QQuickItem *bar = load(R"(
        import Orvel
        ProgressControl {
            property var holds: []
            onHold: editing => holds = holds.concat([editing])
        })");
    ASSERT_TRUE(bar);
    QQuickItem *slider = bar->findChild<QQuickItem *>("scrubber");
    const double middle = slider->width() / 2;
    QTest::mousePress(view->window(), Qt::LeftButton, {}, slider->mapToScene({middle / 2, 7}).toPoint());
    QTest::mouseMove(view->window(), slider->mapToScene({middle, 7}).toPoint());
    QTest::mouseRelease(view->window(), Qt::LeftButton, {}, slider->mapToScene({middle, 7}).toPoint());
    clock.runUntilIdle();
    EXPECT_EQ(bar->property("holds").toList(), QVariantList{true});
    ASSERT_EQ(spotify->commands.size(), 1);
    EXPECT_EQ(std::get<PlaybackCommand::Seek>(spotify->commands[0].value).seconds, 100);
    clock.advance(2);
    EXPECT_EQ(bar->property("holds").toList(), (QVariantList{true, false}));

    // Going away in the middle of an edit lets go of the panel, quietly.
    QTest::mousePress(view->window(), Qt::LeftButton, {}, slider->mapToScene({middle, 7}).toPoint());
    EXPECT_EQ(bar->property("holds").toList(), (QVariantList{true, false, true}));
    QSignalSpy holds(bar, SIGNAL(hold(bool)));
    view.reset();
    ASSERT_EQ(holds.count(), 1);
    EXPECT_FALSE(holds[0][0].toBool());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}
