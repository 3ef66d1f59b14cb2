#pragma once

#include "Desktop.h"

class WaylandSession;

// The desktop of a Wayland session: the X11 desktop XWayland shows (its
// windows' stacking, the raise and the keyboard) joined to what the
// compositor tells about its native windows. A display is given to a
// full-screen window when X11 finds its topmost window full screen, or when
// the compositor has a full-screen window, not minimised, on the output at
// the display's place and size.
class WaylandDesktop final : public Desktop {
    Q_OBJECT
public:
    // Both outlive this desktop.
    WaylandDesktop(Desktop &x11, WaylandSession &session, QObject *parent = nullptr);

    QList<QRect> fullScreenAreas() const override { return m_fullScreen; }
    bool managedWindowAbove(QWindow &window) const override { return m_x11.managedWindowAbove(window); }
    void raise(QWindow &window) override { m_x11.raise(window); }
    WindowId activeWindow() const override { return m_x11.activeWindow(); }
    void giveFocusBack(WindowId window) override { m_x11.giveFocusBack(window); }

private:
    void refresh();

    Desktop &m_x11;
    WaylandSession &m_session;
    QList<QRect> m_fullScreen;
};
