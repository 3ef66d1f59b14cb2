#include "CoordinatorTestSupport.h"
#include "MarqueeTrackTitle.h"
#include "PlayingIndicatorState.h"
#include "ProgressControlModel.h"
#include "QmlHarness.h"
#include "VisualizerSettingsModel.h"

#include <QQuickItem>
#include <QSignalSpy>

// Clocks that only move a picture run while it can be seen: a hidden window
// or an invisible view stops them all, showing it again starts them afresh.
namespace {

class OffScreenClocks : public CoordinatorTest {
protected:
    OffScreenClocks()
    {
        harness.provide(*coordinator);
        harness.provide(preferences);
        view = harness.view(R"(
            import QtQuick
            import Orvel
            import Orvel.Shared
            Item {
                width: 640; height: 1400
                Skinned.lightEffects: false
                readonly property var indicator: indicator.indicatorState
                readonly property var title: title
                readonly property var progress: progress.model
                readonly property var preview: page.model
                property alias indicatorShown: holder.visible
                Item {
                    id: holder
                    PlayingIndicator { id: indicator; playing: true; compact: true }
                }
                MarqueeTrackTitle {
                    id: title; y: 30; width: 80; trackID: "a"
                    title: "A title far too long for eighty points"
                }
                ProgressControl { id: progress; y: 60; width: 240 }
                VisualizerSettingsView { id: page; y: 120; width: 600 }
            })");
        EXPECT_TRUE(view) << harness.errors().toStdString();
        clock.runUntilIdle();
    }
    ~OffScreenClocks() override { view.reset(); }

    template<class T>
    T *part(const char *name) const
    {
        return qvariant_cast<T *>(view->item()->property(name));
    }
    // Every clock of the view, as its owner reports it.
    std::vector<bool> running() const
    {
        return {part<PlayingIndicatorState>("indicator")->ticking(),
            part<MarqueeTrackTitle>("title")->ticking(), part<ProgressControlModel>("progress")->shown(),
            part<VisualizerSettingsModel>("preview")->clockRunning()};
    }

    ScopedScheduler installed{clock};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;
};

} // namespace

TEST_F(OffScreenClocks, AHiddenWindowStopsEveryClockAndShowingItStartsThemAfresh)
{
    ASSERT_TRUE(view);
    ASSERT_EQ(running(), std::vector<bool>(4, true));
    auto *title = part<MarqueeTrackTitle>("title");
    clock.advance(2.2 + 2);
    EXPECT_GT(title->currentFrame().offset, 0);

    view->window()->hide();
    clock.runUntilIdle();
    EXPECT_EQ(running(), std::vector<bool>(4, false));
    QSignalSpy frames(part<PlayingIndicatorState>("indicator"), &PlayingIndicatorState::timeChanged);
    QSignalSpy previewFrames(
        part<VisualizerSettingsModel>("preview"), &VisualizerSettingsModel::previewTimeChanged);
    const std::size_t sleepers = clock.pendingSleepers();
    clock.advance(5);
    EXPECT_EQ(frames.count() + previewFrames.count(), 0);
    EXPECT_LE(clock.pendingSleepers(), sleepers);

    view->window()->show();
    clock.runUntilIdle();
    EXPECT_EQ(running(), std::vector<bool>(4, true));
    // The title starts its cycle again with the pause, as on any appearance.
    EXPECT_EQ(title->currentFrame().offset, 0);
    clock.advance(0.5);
    EXPECT_GT(frames.count(), 0);
    EXPECT_GT(previewFrames.count(), 0);
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(OffScreenClocks, AnInvisibleViewStopsItsOwnClockOnly)
{
    ASSERT_TRUE(view);
    auto *indicator = part<PlayingIndicatorState>("indicator");
    view->item()->setProperty("indicatorShown", false);
    EXPECT_FALSE(indicator->onScreen());
    EXPECT_FALSE(indicator->ticking());
    EXPECT_TRUE(part<MarqueeTrackTitle>("title")->ticking());
    view->item()->setProperty("indicatorShown", true);
    EXPECT_TRUE(indicator->ticking());
}
