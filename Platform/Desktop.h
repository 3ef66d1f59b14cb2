#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <cstdint>

class QWindow;

// What the floating panels ask of the desktop they float on: where a
// full-screen window has a display to itself, whether a managed window has
// been stacked above one of them, and the raise and keyboard calls. AppRoot
// hands one down; X11Desktop is the X11 one, tests script their own.
class Desktop : public QObject {
    Q_OBJECT
public:
    // A window of the desktop (an X window id); 0 is none.
    using WindowId = std::uint32_t;

    using QObject::QObject;
    ~Desktop() override;

    // Qt's rectangles of the displays whose topmost normal window is full screen.
    virtual QList<QRect> fullScreenAreas() const = 0;
    // A managed window lies above this window of ours.
    virtual bool managedWindowAbove(QWindow &window) const = 0;
    // Puts this window of ours above every managed window, below what other
    // programs float above those (menus, tooltips, notifications, lockers).
    virtual void raise(QWindow &window) = 0;
    // The managed window that has the keyboard now; 0 when none (or the root) is named.
    virtual WindowId activeWindow() const = 0;
    // Hands the keyboard to that window while it still exists, else to the
    // window the window manager would choose; never to the root.
    virtual void giveFocusBack(WindowId window) = 0;

signals:
    // The full-screen areas changed.
    void fullScreenChanged();
    // Managed windows were restacked, mapped or activated.
    void stackingChanged();
};

// A desktop that tells nothing: no full-screen window, nothing above; raising is Qt's.
class PlainDesktop final : public Desktop {
    Q_OBJECT
public:
    using Desktop::Desktop;

    QList<QRect> fullScreenAreas() const override { return {}; }
    bool managedWindowAbove(QWindow &) const override { return false; }
    void raise(QWindow &window) override;
    WindowId activeWindow() const override { return 0; }
    void giveFocusBack(WindowId) override { }
};
