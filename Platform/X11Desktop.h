#pragma once

#include "Desktop.h"
#include "DesktopStacking.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QSet>
#include <QWindow>
#include <cstdint>
#include <vector>

// Where our windows sit on an X11 desktop run by an EWMH window manager, and
// what that desktop's stacking tells the floating panels.
//
// Floating panels are override-redirect windows: the window manager never
// sees them, so they are on every workspace, stay through "show desktop",
// are in no task bar, pager or switcher, and only we stack them (above the
// managed windows, a full-screen one included). Desktop widgets are managed
// desktop-type windows on every workspace, below every other window; window
// managers keep that type through "show desktop".
//
// The managed windows are read from _NET_CLIENT_LIST_STACKING and followed
// through their property and structure notifications, never polled. Only
// the desktop being shown counts: a window on another one, mapped or not,
// covers nothing.
//
// Off X11 every static call does nothing and instance() is null.
class X11Desktop final : public Desktop, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // The process's watcher of the desktop, made on first use; null off X11.
    static X11Desktop *instance();

    // A floating panel: out of the window manager's hands. Call before the window is shown.
    static void floatAboveWindows(QWindow &window);
    // A desktop widget: every workspace, below every window, kept through
    // "show desktop", in no task bar or switcher. Call before the window is shown.
    static void keepOnDesktop(QWindow &window);
    // Asks a compositor for a drop shadow (or for none) on the window.
    static void setShadow(QWindow &window, bool shadow);
    // Asks a compositor to blur what lies behind the whole window, or to stop.
    static void setBlurBehind(QWindow &window, bool blur);

    QList<QRect> fullScreenAreas() const override { return m_fullScreen; }
    bool managedWindowAbove(QWindow &window) const override;
    void raise(QWindow &window) override;
    WindowId activeWindow() const override;
    void giveFocusBack(WindowId window) override;

private:
    X11Desktop(void *connection, std::uint32_t root);
    ~X11Desktop() override;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;
    void refreshSoon();
    void refresh();
    // Selects this client's events on the foreign windows of the list, and gives up those of the rest.
    void track(const QSet<std::uint32_t> &windows, const QHash<std::uint32_t, std::uint32_t> &masks);
    void untrackAll();
    // The root's children, bottom to top.
    std::vector<TopLevel> topLevels() const;
    // The managed windows' frames among them.
    QSet<std::uint32_t> frames() const;
    void askDesktopStates(std::uint32_t window);

    void *m_connection;
    std::uint32_t m_root;
    bool m_refreshPending = false;
    bool m_restacked = false;
    std::vector<StackedWindow> m_stack;
    QList<QRect> m_fullScreen;
    // The foreign windows we follow, with the event mask this client had selected there before.
    QHash<std::uint32_t, std::uint32_t> m_tracked;
    QSet<std::uint32_t> m_desktopWindows;
};
