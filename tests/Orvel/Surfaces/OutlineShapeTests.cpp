#include "OutlineShape.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
// How much of a white desktop the idle classico header hides at that idle opacity: 0 … 1.
double covered(double idleOpacity)
{
    OutlineShape header;
    header.setSize(QSizeF(40, 20));
    header.setGlass(true);
    header.setStrokeWidth(0);
    QColor black(Qt::black);
    black.setAlphaF(float(idleOpacity));
    header.setFill(black);
    QImage desktop(40, 20, QImage::Format_ARGB32_Premultiplied);
    desktop.fill(Qt::white);
    QPainter painter(&desktop);
    header.paint(&painter);
    painter.end();
    return 1 - qRed(desktop.pixel(20, 10)) / 255.0;
}
} // namespace

TEST(OutlineShape, TheIdleHeadersGlassLetsTheWholeIdleOpacityRangeShow)
{
    // The glass adds little, so the user's setting is what one sees.
    EXPECT_NEAR(covered(0.15), 0.15, 0.1);
    EXPECT_NEAR(covered(0.3), 0.3, 0.1);
    EXPECT_NEAR(covered(0.8), 0.8, 0.05);
    EXPECT_GT(covered(0.8) - covered(0.15), 0.55);
}
