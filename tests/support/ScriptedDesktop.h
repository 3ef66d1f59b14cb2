#pragma once

#include "Desktop.h"

#include <QList>
#include <QSet>
#include <QWindow>

// A desktop whose full-screen areas, stacking and active window a test sets,
// and which writes down every raise and every hand-back of the keyboard.
class ScriptedDesktop final : public Desktop {
    Q_OBJECT
public:
    using Desktop::Desktop;

    QList<QRect> fullScreenAreas() const override { return areas; }
    bool managedWindowAbove(QWindow &window) const override { return below.contains(&window); }
    void raise(QWindow &window) override
    {
        raised.append(&window);
        below.remove(&window);
    }
    WindowId activeWindow() const override { return active; }
    void giveFocusBack(WindowId window) override { focusReturns.append(window); }

    // A full-screen window now has these areas to itself.
    void setFullScreen(const QList<QRect> &covered)
    {
        areas = covered;
        emit fullScreenChanged();
    }
    // A managed window is stacked over this one of ours.
    void stackAbove(QWindow &window)
    {
        below.insert(&window);
        emit stackingChanged();
    }

    QList<QRect> areas;
    QSet<const QWindow *> below;
    WindowId active = 0;
    QList<const QWindow *> raised;
    QList<WindowId> focusReturns;
};
