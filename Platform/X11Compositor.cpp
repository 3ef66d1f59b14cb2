#include "X11Compositor.h"

#include "X11Connection.h"

#include <QGuiApplication>
#include <QVector>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace {
using x11::connection;
using x11::Reply;

// The compositor of the display's default screen owns _NET_WM_CM_S<screen>.
int defaultScreen()
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        return 0;
    std::free(host);
    return screen;
}
} // namespace

X11Compositor *X11Compositor::instance()
{
    static QPointer<X11Compositor> compositor;
    if (compositor)
        return compositor;
    xcb_connection_t *c = connection();
    if (!c)
        return nullptr;
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return nullptr;
    // Regions and window shapes came with version 2; the client must say which it speaks.
    Reply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    if (!version || version->major_version < 2)
        return nullptr;

    const int screen = defaultScreen();
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && roots.rem > 1; ++i)
        xcb_screen_next(&roots);
    if (!roots.data)
        return nullptr;
    const xcb_atom_t selection = x11::atom(c, "_NET_WM_CM_S" + QByteArray::number(screen));
    if (selection == XCB_ATOM_NONE)
        return nullptr;
    compositor = new X11Compositor(c, roots.data->root, selection, xfixes->first_event);
    compositor->setParent(qGuiApp);
    return compositor;
}

X11Compositor::X11Compositor(
    void *connection, std::uint32_t root, std::uint32_t selection, std::uint8_t firstEvent)
    : m_connection(connection)
    , m_root(root)
    , m_selection(selection)
    , m_firstEvent(firstEvent)
{
    auto *c = static_cast<xcb_connection_t *>(connection);
    xcb_xfixes_select_selection_input(c, root, selection,
        XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
            | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
            | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    // Asked after selecting, so a compositor starting in between is heard of either way.
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    m_compositing = owner && owner->owner != XCB_NONE;
    qGuiApp->installNativeEventFilter(this);
}

X11Compositor::~X11Compositor()
{
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

void X11Compositor::setOutline(QWindow &window, const WindowOutline &outline)
{
    const qreal ratio = window.devicePixelRatio();
    auto found = m_windows.find(&window);
    if (found == m_windows.end()) {
        found = m_windows.insert(&window, Shaped{&window, outline, ratio, std::nullopt});
        const QWindow *key = &window;
        connect(&window, &QObject::destroyed, this, [this, key] { m_windows.remove(key); });
    } else if (found->outline == outline && found->ratio == ratio) {
        return;
    } else {
        found->outline = outline;
        found->ratio = ratio;
    }
    apply(window);
}

std::optional<QRegion> X11Compositor::clip(const QWindow &window) const
{
    const auto found = m_windows.constFind(&window);
    return found == m_windows.constEnd() ? std::nullopt : found->clip;
}

void X11Compositor::apply(QWindow &window)
{
    Shaped &shaped = m_windows[&window];
    std::optional<QRegion> wanted;
    if (!m_compositing)
        wanted = shaped.outline.region(shaped.ratio);
    if (wanted == shaped.clip)
        return;
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    const xcb_window_t id = xcb_window_t(window.winId());
    xcb_xfixes_region_t region = XCB_XFIXES_REGION_NONE;
    if (wanted) {
        QVector<xcb_rectangle_t> rectangles;
        rectangles.reserve(wanted->rectCount());
        for (const QRect &rect : *wanted)
            rectangles.append({std::int16_t(rect.x()), std::int16_t(rect.y()), std::uint16_t(rect.width()),
                std::uint16_t(rect.height())});
        region = xcb_generate_id(c);
        xcb_xfixes_create_region(c, region, std::uint32_t(rectangles.size()), rectangles.constData());
    }
    // No region: the window's own rectangle again.
    xcb_xfixes_set_window_shape_region(c, id, XCB_SHAPE_SK_BOUNDING, 0, 0, region);
    if (region != XCB_XFIXES_REGION_NONE)
        xcb_xfixes_destroy_region(c, region);
    // What the clip kept off screen was never drawn there: have the window draw it.
    if (!wanted)
        xcb_clear_area(c, 1, id, 0, 0, 0, 0);
    xcb_flush(c);
    shaped.clip = wanted;
}

bool X11Compositor::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != m_firstEvent + XCB_XFIXES_SELECTION_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
    if (notify->selection != m_selection)
        return false;
    // A destroyed owner window or a closed client leaves the selection without owner.
    const bool compositing
        = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER && notify->owner != XCB_NONE;
    if (compositing == m_compositing)
        return false;
    m_compositing = compositing;
    const QList<Shaped> windows = m_windows.values();
    for (const Shaped &shaped : windows)
        if (shaped.window)
            apply(*shaped.window);
    emit compositingChanged(compositing);
    return false;
}
