#pragma once

#include "Screens.h"

#include <QList>

// Displays and a pointer that tests set; the primary display sits at Qt's origin.
class FakeScreens final : public Screens {
    Q_OBJECT
public:
    using Screens::Screens;

    QList<ScreenInfo> screens() const override { return list; }
    Point pointer() const override { return pointerLocation; }
    bool seesPointerEverywhere() const override { return pointerSeenEverywhere; }
    QRect primaryGeometry() const override;

    // Replaces the list and reports the change, as a plugged or unplugged display does.
    void set(const QList<ScreenInfo> &screens);

    // A display of that size at that place, its visible frame the whole frame
    // less a bar of `barHeight` at the top.
    static ScreenInfo display(
        const QString &name, std::uint32_t number, const Rect &frame, bool primary, double barHeight = 25);
    // The same display with a monitor that reports those facts of itself.
    static ScreenInfo withMonitor(
        ScreenInfo screen, const QString &manufacturer, const QString &model, const QString &serialNumber);
    // The same display with a camera housing of that size.
    static ScreenInfo notched(ScreenInfo screen, double width = 200, double height = 38);

    QList<ScreenInfo> list;
    Point pointerLocation{-10000, -10000};
    // False plays XWayland: tests then leave pointerLocation where the pointer was last over a window.
    bool pointerSeenEverywhere = true;
};
