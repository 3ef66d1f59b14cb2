#include "Pixels.h"

#include "ManualScheduler.h"

#include <QPointer>

// The now-playing card's control column: the indicator under the transport is
// drawn, moves while Spotify plays and holds still while it is paused.
TEST(DashboardPixels, TheCardsIndicatorIsDrawnUnderItsTransportAndMovesOnlyWhilePlaying)
{
    struct Row {
        const char *scene;
        bool moves;
    };
    for (const Row row :
        {Row{"NowPlayingCard.classico.playing", true}, Row{"NowPlayingCard.classico.paused", false}}) {
        SCOPED_TRACE(row.scene);
        QRect column, indicator;
        const RenderedScene picture
            = Pixels::render(QString::fromLatin1(row.scene), [&](ScriptedState &state, QQuickItem *root) {
                  column = Pixels::rectOf(Pixels::find(root, "controlColumn"));
                  indicator = Pixels::rectOf(Pixels::find(root, "cardIndicator"));
                  state.scheduler.advance(0.4);
                  state.scheduler.runUntilIdle();
              });
        ASSERT_FALSE(picture.image.isNull());
        EXPECT_EQ(column.width(), 104);
        EXPECT_EQ(indicator.width(), 104);
        EXPECT_EQ(indicator.height(), 38);
        // More than the card's own fill: bars are drawn there.
        EXPECT_GT(Pixels::colours(picture.image, indicator).size(), 4);
        EXPECT_EQ(picture.image.copy(indicator) != picture.later.copy(indicator), row.moves);
    }
}
