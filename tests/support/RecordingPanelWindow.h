#pragma once

#include "PanelWindow.h"

#include <QList>
#include <QString>
#include <QStringList>

// A panel window that only writes down what it is told, for running the
// panels' rules on a manual clock; tests play the pointer and the keys.
class RecordingPanelWindow final : public PanelWindow {
public:
    using PanelWindow::PanelWindow;

    // Every frame shown, animation steps included.
    QList<Rect> frames;
    int levelWrites = 0;
    // "front", "out", "close", "resign" (gave the keyboard back), in order.
    QStringList ordering;

    void enter()
    {
        if (pointerChanged)
            pointerChanged(true);
    }
    void leave()
    {
        if (pointerChanged)
            pointerChanged(false);
    }
    void pressEscape()
    {
        if (escape)
            escape();
    }
    // A full-screen window takes the display (or gives it back).
    void keepAway(bool away) { setKeptAway(away); }

protected:
    void applyFrame(const Rect &frame) override { frames.append(frame); }
    void applyLevel(int) override { ++levelWrites; }
    void applyCollectionBehavior(std::uint64_t) override { }
    void applyTitle(const QString &) override { }
    void applyShadow(bool) override { }
    void applyIgnoresMouseEvents(bool) override { }
    void applyVisible(bool visible) override { ordering.append(visible ? "front" : "out"); }
    void applyClose() override { ordering.append("close"); }
    void applyResignKey() override { ordering.append("resign"); }
};
