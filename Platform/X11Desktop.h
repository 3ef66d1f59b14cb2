#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QRect>
#include <QSet>
#include <QWindow>
#include <cstdint>
#include <optional>

// Where our windows sit on an X11 desktop run by an EWMH window manager, and
// what that desktop tells about its active window.
//
// Floating panels are override-redirect windows: the window manager never
// sees them, so they are on every workspace, stay through "show desktop",
// are in no task bar, pager or switcher, and only we stack them (above the
// managed windows, a full-screen one included). Desktop widgets are managed
// desktop-type windows on every workspace, below every other window; window
// managers keep that type through "show desktop".
//
// Off X11 every call does nothing and instance() is null.
class X11Desktop final : public QObject, private QAbstractNativeEventFilter {
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

    // The active window's frame in Qt's coordinates while it is full screen.
    std::optional<QRect> fullScreenArea() const { return m_fullScreen; }

signals:
    // The active window changed, or went into or out of full screen, or moved.
    void fullScreenChanged();

private:
    X11Desktop(void *connection, std::uint32_t root);
    ~X11Desktop() override;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;
    void refreshSoon();
    void refresh();
    void follow(std::uint32_t window);
    void askDesktopStates(std::uint32_t window);

    void *m_connection;
    std::uint32_t m_root;
    std::uint32_t m_active = 0;
    bool m_activeIsForeign = false;
    bool m_refreshPending = false;
    std::optional<QRect> m_fullScreen;
    QSet<std::uint32_t> m_desktopWindows;
};
