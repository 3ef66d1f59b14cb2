#include "X11Desktop.h"

#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {
// Qt's own value for a desktop-type window (QXcbWindow::Desktop), read when the window is made.
constexpr int qtDesktopWindowType = 0x000002;
constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

struct Free {
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    static QHash<QByteArray, xcb_atom_t> known;
    const QByteArray key(name);
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(key.size()), name), nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (value != XCB_ATOM_NONE)
        known.insert(key, value);
    return value;
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);
}

// A client message to the root, as EWMH asks of a mapped window's client.
void tellWindowManager(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, std::uint32_t d0,
    std::uint32_t d1 = 0, std::uint32_t d2 = 0, std::uint32_t d3 = 0)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    event.data.data32[3] = d3;
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&event));
}

bool ours(xcb_window_t window)
{
    const QWindowList windows = QGuiApplication::allWindows();
    return std::any_of(windows.begin(), windows.end(),
        [window](const QWindow *w) { return w->handle() && w->winId() == window; });
}

QRect fromNative(const QRect &pixels)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    const qreal ratio = primary ? primary->devicePixelRatio() : 1;
    if (ratio == 1)
        return pixels;
    return QRectF(QPointF(pixels.topLeft()) / ratio, QSizeF(pixels.size()) / ratio).toAlignedRect();
}
} // namespace

X11Desktop *X11Desktop::instance()
{
    static QPointer<X11Desktop> desktop;
    if (!desktop) {
        xcb_connection_t *c = connection();
        if (!c)
            return nullptr;
        desktop = new X11Desktop(c, rootOf(c));
        desktop->setParent(qGuiApp);
    }
    return desktop;
}

X11Desktop::X11Desktop(void *connection, std::uint32_t root)
    : m_connection(connection)
    , m_root(root)
{
    auto *c = static_cast<xcb_connection_t *>(connection);
    // Our wishes on a window add to what Qt already asked of it.
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr));
    const std::uint32_t mask
        = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    qGuiApp->installNativeEventFilter(this);
    refresh();
}

X11Desktop::~X11Desktop()
{
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

void X11Desktop::floatAboveWindows(QWindow &window)
{
    if (connection())
        window.setFlag(Qt::BypassWindowManagerHint, true);
}

void X11Desktop::keepOnDesktop(QWindow &window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    // Qt writes the window's type when it makes it, from this property.
    window.setProperty("_q_xcb_wm_window_type", qtDesktopWindowType);
    const xcb_window_t id = xcb_window_t(window.winId());
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    // Qt rewrites the state as it maps the window; the window manager heeds a
    // request only once it manages the window, which its WM_STATE tells.
    X11Desktop *watcher = instance();
    watcher->m_desktopWindows.insert(id);
    QObject::connect(
        &window, &QObject::destroyed, watcher, [watcher, id] { watcher->m_desktopWindows.remove(id); });
}

void X11Desktop::askDesktopStates(std::uint32_t window)
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    constexpr std::uint32_t add = 1;
    constexpr std::uint32_t fromApplication = 1;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    tellWindowManager(c, window, state, add, atom(c, "_NET_WM_STATE_STICKY"),
        atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), fromApplication);
    tellWindowManager(c, window, state, add, atom(c, "_NET_WM_STATE_SKIP_PAGER"),
        atom(c, "_NET_WM_STATE_BELOW"), fromApplication);
    tellWindowManager(c, window, atom(c, "_NET_WM_DESKTOP"), allDesktops, fromApplication);
    xcb_flush(c);
}

void X11Desktop::setShadow(QWindow &window, bool shadow)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    // Read by compton-style compositors (picom); others draw no shadow on a frameless window.
    const std::uint32_t value = shadow ? 1 : 0;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), atom(c, "_COMPTON_SHADOW"),
        XCB_ATOM_CARDINAL, 32, 1, &value);
}

void X11Desktop::setBlurBehind(QWindow &window, bool blur)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    // KWin's blur: an empty region means the whole window.
    const xcb_atom_t region = atom(c, "_KDE_NET_WM_BLUR_BEHIND_REGION");
    const xcb_window_t id = xcb_window_t(window.winId());
    if (blur)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, region, XCB_ATOM_CARDINAL, 32, 0, nullptr);
    else
        xcb_delete_property(c, id, region);
}

bool X11Desktop::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & ~0x80) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        auto *c = static_cast<xcb_connection_t *>(m_connection);
        if (property->state == XCB_PROPERTY_NEW_VALUE && property->atom == atom(c, "WM_STATE")
            && m_desktopWindows.contains(property->window))
            askDesktopStates(property->window);
        if ((property->window == m_root && property->atom == atom(c, "_NET_ACTIVE_WINDOW"))
            || (property->window == m_active && m_active != 0 && property->atom == atom(c, "_NET_WM_STATE")))
            refreshSoon();
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto *configure = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
        if (configure->window == m_active && m_active != 0 && m_fullScreen)
            refreshSoon();
        break;
    }
    case XCB_UNMAP_NOTIFY:
    case XCB_DESTROY_NOTIFY: {
        const auto *unmap = reinterpret_cast<const xcb_unmap_notify_event_t *>(event);
        if (unmap->window == m_active && m_active != 0)
            refreshSoon();
        break;
    }
    default:
        break;
    }
    return false;
}

void X11Desktop::refreshSoon()
{
    // Several notifications of one change make one look, on the next turn.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_refreshPending = false;
            refresh();
        },
        Qt::QueuedConnection);
}

void X11Desktop::follow(std::uint32_t window)
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    if (window == m_active)
        return;
    // Qt already hears our own windows' changes; their event mask is Qt's.
    if (m_active != 0 && m_activeIsForeign) {
        const std::uint32_t none = 0;
        // It may be gone already: no error to report then.
        xcb_discard_reply(
            c, xcb_change_window_attributes_checked(c, m_active, XCB_CW_EVENT_MASK, &none).sequence);
    }
    m_active = window;
    m_activeIsForeign = window != 0 && !ours(window);
    if (m_activeIsForeign) {
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_discard_reply(
            c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask).sequence);
    }
}

void X11Desktop::refresh()
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    // The active window may go at any moment; its errors are answers here, not faults.
    xcb_generic_error_t *error = nullptr;
    const auto forget = [&error] {
        std::free(error);
        error = nullptr;
    };
    const auto property = [c, &error, &forget](xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 64), &error));
        forget();
        return reply;
    };

    xcb_window_t active = 0;
    if (auto reply = property(m_root, atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
        reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) >= 4)
        active = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
    follow(active);

    std::optional<QRect> fullScreen;
    if (active != 0) {
        bool full = false;
        if (auto reply = property(active, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM);
            reply && reply->format == 32) {
            const auto *states = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
            const int count = xcb_get_property_value_length(reply.get()) / 4;
            const xcb_atom_t wanted = atom(c, "_NET_WM_STATE_FULLSCREEN");
            full = std::find(states, states + count, wanted) != states + count;
        }
        if (full) {
            const auto geometryCookie = xcb_get_geometry(c, active);
            const auto placeCookie = xcb_translate_coordinates(c, active, m_root, 0, 0);
            Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, &error));
            forget();
            Reply<xcb_translate_coordinates_reply_t> place(
                xcb_translate_coordinates_reply(c, placeCookie, &error));
            forget();
            if (geometry && place)
                fullScreen = fromNative(QRect(place->dst_x, place->dst_y, geometry->width, geometry->height));
        }
    }
    xcb_flush(c);
    if (fullScreen == m_fullScreen)
        return;
    m_fullScreen = fullScreen;
    emit fullScreenChanged();
}
