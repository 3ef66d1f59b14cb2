#include "X11Desktop.h"

#include "X11Connection.h"

#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <utility>

namespace {
// Qt's own value for a desktop-type window (QXcbWindow::Desktop), read when the window is made.
constexpr int qtDesktopWindowType = 0x000002;
constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

using x11::atom;
using x11::connection;
using x11::Reply;

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

QSet<std::uint32_t> ownWindows()
{
    QSet<std::uint32_t> own;
    const QWindowList windows = QGuiApplication::allWindows();
    for (const QWindow *window : windows) {
        if (window->handle())
            own.insert(std::uint32_t(window->winId()));
    }
    return own;
}

// Every window may go at any moment: an error is an answer here, not a fault.
template<typename T, typename Cookie, typename Get>
Reply<T> ask(xcb_connection_t *c, Get get, Cookie cookie)
{
    xcb_generic_error_t *error = nullptr;
    Reply<T> reply(get(c, cookie, &error));
    std::free(error);
    return reply;
}

// The 32-bit items of a property of the expected type; empty when it has another type or shape.
template<typename Item>
std::vector<Item> items(const xcb_get_property_reply_t *reply, xcb_atom_t type)
{
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const int length = xcb_get_property_value_length(reply);
    if (length <= 0 || length % 4 != 0)
        return {};
    const auto *first = static_cast<const Item *>(xcb_get_property_value(reply));
    return std::vector<Item>(first, first + length / 4);
}

xcb_get_property_cookie_t askProperty(
    xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    // 1024 items: far more than any list of windows or states.
    return xcb_get_property(c, 0, window, name, type, 0, 1024);
}

void changeEventMask(xcb_connection_t *c, xcb_window_t window, std::uint32_t mask)
{
    xcb_discard_reply(c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask).sequence);
}

constexpr std::uint32_t followed = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
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
    // A display that comes, goes or changes size may be covered or freed.
    const auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &X11Desktop::refreshSoon);
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, &X11Desktop::refreshSoon);
    };
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen *screen) {
        watch(screen);
        refreshSoon();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &X11Desktop::refreshSoon);
    refresh();
}

X11Desktop::~X11Desktop()
{
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    untrackAll();
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
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    const auto stacked = [this](xcb_window_t window) {
        return std::any_of(
            m_stack.begin(), m_stack.end(), [window](const StackedWindow &w) { return w.id == window; });
    };
    switch (event->response_type & ~0x80) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event);
        const xcb_atom_t name = property->atom;
        if (property->state == XCB_PROPERTY_NEW_VALUE && name == atom(c, "WM_STATE")
            && m_desktopWindows.contains(property->window))
            askDesktopStates(property->window);
        if (property->window == m_root) {
            // A window raised or activated may leave the managed windows' order as it was, and
            // the list is written anew all the same: it still may have gone above a panel.
            if (name == atom(c, "_NET_ACTIVE_WINDOW") || name == atom(c, "_NET_CLIENT_LIST_STACKING"))
                m_restacked = true;
            if (name == atom(c, "_NET_CLIENT_LIST_STACKING") || name == atom(c, "_NET_ACTIVE_WINDOW")
                || name == atom(c, "_NET_CURRENT_DESKTOP"))
                refreshSoon();
        } else if ((name == atom(c, "_NET_WM_STATE") || name == atom(c, "_NET_WM_WINDOW_TYPE")
                       || name == atom(c, "_NET_WM_DESKTOP") || name == atom(c, "WM_STATE"))
            && stacked(property->window)) {
            refreshSoon();
        }
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        if (stacked(reinterpret_cast<const xcb_configure_notify_event_t *>(event)->window))
            refreshSoon();
        break;
    case XCB_MAP_NOTIFY:
        if (stacked(reinterpret_cast<const xcb_map_notify_event_t *>(event)->window))
            refreshSoon();
        break;
    case XCB_UNMAP_NOTIFY:
        if (stacked(reinterpret_cast<const xcb_unmap_notify_event_t *>(event)->window))
            refreshSoon();
        break;
    case XCB_REPARENT_NOTIFY:
        if (stacked(reinterpret_cast<const xcb_reparent_notify_event_t *>(event)->window))
            refreshSoon();
        break;
    case XCB_DESTROY_NOTIFY: {
        const xcb_window_t window = reinterpret_cast<const xcb_destroy_notify_event_t *>(event)->window;
        // Its event mask went with it.
        m_tracked.remove(window);
        if (stacked(window))
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

void X11Desktop::refresh()
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    std::vector<xcb_window_t> listed;
    {
        auto reply = ask<xcb_get_property_reply_t>(c, xcb_get_property_reply,
            askProperty(c, m_root, atom(c, "_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW));
        QSet<xcb_window_t> once;
        for (const xcb_window_t window : items<xcb_window_t>(reply.get(), XCB_ATOM_WINDOW)) {
            // A list that names the root or a window twice is not taken at its word there.
            if (window != XCB_WINDOW_NONE && window != m_root && !once.contains(window)) {
                once.insert(window);
                listed.push_back(window);
            }
        }
    }

    // Every question to every window first, then the answers: one round trip for all.
    struct Questions {
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_property_cookie_t state;
        xcb_get_property_cookie_t type;
        xcb_get_property_cookie_t desktop;
        xcb_get_geometry_cookie_t geometry;
        xcb_translate_coordinates_cookie_t place;
        xcb_query_tree_cookie_t tree;
    };
    const xcb_atom_t stateAtom = atom(c, "_NET_WM_STATE");
    const xcb_atom_t typeAtom = atom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t desktopAtom = atom(c, "_NET_WM_DESKTOP");
    const xcb_get_property_cookie_t shownCookie
        = askProperty(c, m_root, atom(c, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL);
    std::vector<Questions> questions;
    questions.reserve(listed.size());
    for (const xcb_window_t window : listed) {
        questions.push_back(Questions{xcb_get_window_attributes(c, window),
            askProperty(c, window, stateAtom, XCB_ATOM_ATOM), askProperty(c, window, typeAtom, XCB_ATOM_ATOM),
            askProperty(c, window, desktopAtom, XCB_ATOM_CARDINAL), xcb_get_geometry(c, window),
            xcb_translate_coordinates(c, window, m_root, 0, 0), xcb_query_tree(c, window)});
    }
    const xcb_atom_t fullScreen = atom(c, "_NET_WM_STATE_FULLSCREEN");
    const xcb_atom_t hidden = atom(c, "_NET_WM_STATE_HIDDEN");
    const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    const xcb_atom_t desktop = atom(c, "_NET_WM_WINDOW_TYPE_DESKTOP");

    // Without it (sway's X11 side) the window manager has no desktops to tell.
    const auto first = [](const xcb_get_property_reply_t *reply) -> std::optional<std::uint32_t> {
        const std::vector<std::uint32_t> values = items<std::uint32_t>(reply, XCB_ATOM_CARDINAL);
        return values.empty() ? std::nullopt : std::optional(values.front());
    };
    const std::optional<std::uint32_t> shown
        = first(ask<xcb_get_property_reply_t>(c, xcb_get_property_reply, shownCookie).get());

    std::vector<StackedWindow> stack;
    QHash<std::uint32_t, std::uint32_t> masks;
    QHash<std::uint32_t, std::uint32_t> parents;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const Questions &q = questions[i];
        auto attributes
            = ask<xcb_get_window_attributes_reply_t>(c, xcb_get_window_attributes_reply, q.attributes);
        auto state = ask<xcb_get_property_reply_t>(c, xcb_get_property_reply, q.state);
        auto type = ask<xcb_get_property_reply_t>(c, xcb_get_property_reply, q.type);
        auto desktopOf = ask<xcb_get_property_reply_t>(c, xcb_get_property_reply, q.desktop);
        auto geometry = ask<xcb_get_geometry_reply_t>(c, xcb_get_geometry_reply, q.geometry);
        auto place = ask<xcb_translate_coordinates_reply_t>(c, xcb_translate_coordinates_reply, q.place);
        auto tree = ask<xcb_query_tree_reply_t>(c, xcb_query_tree_reply, q.tree);
        // Gone meanwhile.
        if (!attributes || !geometry || !place || !tree)
            continue;
        StackedWindow window;
        window.id = listed[i];
        window.area = QRect(place->dst_x, place->dst_y, geometry->width, geometry->height);
        window.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        window.onShownDesktop = DesktopStacking::onShownDesktop(first(desktopOf.get()), shown);
        const std::vector<xcb_atom_t> states = items<xcb_atom_t>(state.get(), XCB_ATOM_ATOM);
        window.fullScreen = std::find(states.begin(), states.end(), fullScreen) != states.end();
        window.hidden = std::find(states.begin(), states.end(), hidden) != states.end();
        const std::vector<xcb_atom_t> types = items<xcb_atom_t>(type.get(), XCB_ATOM_ATOM);
        // The first type the window manager knows counts; these two are known to all.
        window.furniture = !types.empty() && (types.front() == dock || types.front() == desktop);
        window.frame = window.id;
        parents.insert(window.id, tree->parent);
        masks.insert(window.id, attributes->your_event_mask);
        stack.push_back(window);
    }

    // The frame of each window: its ancestor among the root's children, a few levels up at most.
    for (int level = 0; level < 4; ++level) {
        QHash<std::uint32_t, xcb_query_tree_cookie_t> asked;
        for (StackedWindow &window : stack) {
            const std::uint32_t parent = parents.value(window.frame, m_root);
            if (parent == m_root || parent == XCB_WINDOW_NONE)
                continue;
            window.frame = parent;
            if (!parents.contains(parent) && !asked.contains(parent))
                asked.insert(parent, xcb_query_tree(c, parent));
        }
        if (asked.isEmpty())
            break;
        for (auto it = asked.cbegin(); it != asked.cend(); ++it) {
            auto tree = ask<xcb_query_tree_reply_t>(c, xcb_query_tree_reply, it.value());
            parents.insert(it.key(), tree ? tree->parent : m_root);
        }
    }

    const QSet<std::uint32_t> own = ownWindows();
    QSet<std::uint32_t> foreign;
    for (const StackedWindow &window : stack) {
        if (!own.contains(window.id))
            foreign.insert(window.id);
    }
    track(foreign, masks);
    xcb_flush(c);

    QList<DisplayPixels> displays;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens)
        displays.append(DisplayPixels{screen->geometry(), screen->devicePixelRatio()});
    const QList<QRect> areas = DesktopStacking::fullScreenAreas(stack, displays);

    // Moves and resizes alone restack nothing.
    const auto order = [](const std::vector<StackedWindow> &windows) {
        std::vector<std::tuple<std::uint32_t, std::uint32_t, bool, bool, bool>> order;
        for (const StackedWindow &window : windows)
            order.emplace_back(
                window.id, window.frame, window.viewable, window.hidden, window.onShownDesktop);
        return order;
    };
    const bool restacked = std::exchange(m_restacked, false) || order(stack) != order(m_stack);
    m_stack = std::move(stack);
    if (areas != m_fullScreen) {
        m_fullScreen = areas;
        emit fullScreenChanged();
    }
    if (restacked)
        emit stackingChanged();
}

void X11Desktop::track(const QSet<std::uint32_t> &windows, const QHash<std::uint32_t, std::uint32_t> &masks)
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    for (auto it = m_tracked.begin(); it != m_tracked.end();) {
        if (windows.contains(it.key())) {
            ++it;
            continue;
        }
        // What this client had selected there before comes back.
        changeEventMask(c, it.key(), it.value());
        it = m_tracked.erase(it);
    }
    for (const std::uint32_t window : windows) {
        if (m_tracked.contains(window))
            continue;
        const std::uint32_t before = masks.value(window);
        m_tracked.insert(window, before);
        // Added to what this client already selected there (Qt may have), never in its place.
        if ((before | followed) != before)
            changeEventMask(c, window, before | followed);
    }
}

void X11Desktop::untrackAll()
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    for (auto it = m_tracked.cbegin(); it != m_tracked.cend(); ++it)
        changeEventMask(c, it.key(), it.value());
    m_tracked.clear();
    xcb_flush(c);
}

std::vector<TopLevel> X11Desktop::topLevels() const
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    auto tree = ask<xcb_query_tree_reply_t>(c, xcb_query_tree_reply, xcb_query_tree(c, m_root));
    if (!tree)
        return {};
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    cookies.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        cookies.push_back(xcb_get_window_attributes(c, children[i]));
    std::vector<TopLevel> levels;
    levels.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        auto attributes = ask<xcb_get_window_attributes_reply_t>(
            c, xcb_get_window_attributes_reply, cookies[std::size_t(i)]);
        if (attributes) {
            levels.push_back(TopLevel{children[i], attributes->map_state == XCB_MAP_STATE_VIEWABLE,
                bool(attributes->override_redirect)});
        }
    }
    return levels;
}

QSet<std::uint32_t> X11Desktop::frames() const
{
    QSet<std::uint32_t> frames;
    for (const StackedWindow &window : m_stack)
        frames.insert(window.frame);
    return frames;
}

bool X11Desktop::managedWindowAbove(QWindow &window) const
{
    if (!window.handle())
        return false;
    return DesktopStacking::managedAbove(topLevels(), frames(), std::uint32_t(window.winId()));
}

void X11Desktop::raise(QWindow &window)
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    const auto id = xcb_window_t(window.winId());
    const Restack place = DesktopStacking::raise(topLevels(), frames(), ownWindows(), id);
    if (place.sibling == XCB_WINDOW_NONE) {
        const std::uint32_t values[] = {XCB_STACK_MODE_ABOVE};
        xcb_discard_reply(
            c, xcb_configure_window_checked(c, id, XCB_CONFIG_WINDOW_STACK_MODE, values).sequence);
    } else {
        const std::uint32_t values[]
            = {place.sibling, std::uint32_t(place.above ? XCB_STACK_MODE_ABOVE : XCB_STACK_MODE_BELOW)};
        xcb_discard_reply(c,
            xcb_configure_window_checked(
                c, id, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values)
                .sequence);
    }
    xcb_flush(c);
}

Desktop::WindowId X11Desktop::activeWindow() const
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    auto reply = ask<xcb_get_property_reply_t>(
        c, xcb_get_property_reply, askProperty(c, m_root, atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW));
    const std::vector<xcb_window_t> active = items<xcb_window_t>(reply.get(), XCB_ATOM_WINDOW);
    // openbox names none while an unmanaged window has the keyboard; a bogus root is none too.
    if (active.empty() || active.front() == m_root)
        return 0;
    return active.front();
}

void X11Desktop::giveFocusBack(WindowId window)
{
    auto *c = static_cast<xcb_connection_t *>(m_connection);
    const std::uint32_t target = DesktopStacking::focusTarget(m_stack, window);
    if (target == 0)
        return;
    // As a pager asks: window managers grant that without weighing focus stealing.
    constexpr std::uint32_t fromPager = 2;
    tellWindowManager(c, target, atom(c, "_NET_ACTIVE_WINDOW"), fromPager, XCB_CURRENT_TIME);
    xcb_flush(c);
}
