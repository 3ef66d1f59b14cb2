#pragma once

// What a real X server reports about windows, for the tests that run on one
// (tests/support/run-with-openbox starts Xvfb and openbox for them).

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QProcess>
#include <QQuickWindow>
#include <QRegion>
#include <QTest>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>

namespace X11Server {

inline xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Running on an X server under a window manager, as run-with-openbox sets up.
inline bool underWindowManager()
{
    return QGuiApplication::platformName() == QLatin1String("xcb")
        && !qEnvironmentVariableIsEmpty("ORVEL_TEST_WINDOW_MANAGER");
}

// The server maps the window and all its ancestors: it can be seen.
inline bool viewable(const QWindow &window)
{
    xcb_connection_t *c = connection();
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(
            c, xcb_get_window_attributes(c, xcb_window_t(window.winId())), nullptr),
        &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The colour the screen shows at a point of the root window.
inline QRgb pixel(QPoint at)
{
    xcb_connection_t *c = connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c,
            xcb_get_image(
                c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, std::int16_t(at.x()), std::int16_t(at.y()), 1, 1, ~0u),
            nullptr),
        &std::free);
    if (!reply || xcb_get_image_data_length(reply.get()) < 3)
        return 0;
    // 24-bit depth in 32-bit little-endian pixels: blue, green, red.
    const std::uint8_t *data = xcb_get_image_data(reply.get());
    return qRgb(data[2], data[1], data[0]);
}

// The window's shape as the server holds it, in its own device pixels.
inline QRegion shape(const QWindow &window)
{
    xcb_connection_t *c = connection();
    const xcb_xfixes_region_t region = xcb_generate_id(c);
    xcb_xfixes_create_region_from_window(c, region, xcb_window_t(window.winId()), XCB_SHAPE_SK_BOUNDING);
    std::unique_ptr<xcb_xfixes_fetch_region_reply_t, decltype(&std::free)> reply(
        xcb_xfixes_fetch_region_reply(c, xcb_xfixes_fetch_region(c, region), nullptr), &std::free);
    xcb_xfixes_destroy_region(c, region);
    QRegion shape;
    if (!reply)
        return shape;
    const xcb_rectangle_t *rectangles = xcb_xfixes_fetch_region_rectangles(reply.get());
    for (int i = 0; i < xcb_xfixes_fetch_region_rectangles_length(reply.get()); ++i)
        shape += QRect(rectangles[i].x, rectangles[i].y, rectangles[i].width, rectangles[i].height);
    return shape;
}

// Where the server has the window, in the screen's own pixels from the root's corner.
inline QRect nativeGeometry(const QWindow &window)
{
    xcb_connection_t *c = connection();
    const xcb_window_t id = xcb_window_t(window.winId());
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr), &std::free);
    if (!geometry)
        return {};
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, geometry->root, 0, 0), nullptr),
        &std::free);
    return origin ? QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height) : QRect();
}

// The window's bit depth: 32 for a window with an alpha channel.
inline int depth(const QWindow &window)
{
    xcb_connection_t *c = connection();
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_window_t(window.winId())), nullptr), &std::free);
    return reply ? reply->depth : 0;
}

// A drawable's pixels over an area, as `format`; none when the server gives
// fewer, or (with `depth`) pixels of another depth.
inline QImage image(xcb_drawable_t drawable, const QRect &area, QImage::Format format, int depth = 0)
{
    xcb_connection_t *c = connection();
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c,
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, std::int16_t(area.x()),
                std::int16_t(area.y()), std::uint16_t(area.width()), std::uint16_t(area.height()), ~0u),
            nullptr),
        &std::free);
    if (!reply || (depth && reply->depth != depth)
        || xcb_get_image_data_length(reply.get()) < area.width() * area.height() * 4)
        return {};
    return QImage(xcb_get_image_data(reply.get()), area.width(), area.height(), area.width() * 4, format)
        .copy();
}

// What the window itself holds, alpha included where it has one, in device pixels:
// 32-bit little-endian pixels, premultiplied as a compositor reads them.
inline QImage content(const QWindow &window)
{
    return image(xcb_window_t(window.winId()), QRect(QPoint(), window.size() * window.devicePixelRatio()),
        QImage::Format_ARGB32_Premultiplied, 32);
}

// A window's picture (content()) is clear at its four corners, and along
// the edge row beside each it fades in over at least `soft` partly covered
// pixels within `radius`: a rounded, anti-aliased outline.
inline bool clearWithSoftCorners(const QImage &content, int radius, int soft = 3)
{
    const QRect frame = content.rect();
    for (const QPoint corner : {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()}) {
        if (qAlpha(content.pixel(corner)) != 0)
            return false;
        const int inwards = corner.x() == 0 ? 1 : -1;
        int partial = 0;
        for (int step = 0; step < radius; ++step) {
            const int alpha = qAlpha(content.pixel(corner.x() + inwards * step, corner.y()));
            partial += alpha > 0 && alpha < 255;
        }
        if (partial < soft)
            return false;
    }
    return true;
}

// What the screen shows over an area, every window on it included: 24-bit
// depth in 32-bit little-endian pixels, as QImage holds RGB32.
inline QImage screen(const QRect &area)
{
    return image(
        xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root, area, QImage::Format_RGB32);
}

// Paints the desktop behind every window in one colour, to tell it from a window.
inline void paintRoot(QRgb colour)
{
    xcb_connection_t *c = connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t pixel = colour & 0xFFFFFF;
    xcb_change_window_attributes(c, root, XCB_CW_BACK_PIXEL, &pixel);
    xcb_clear_area(c, 0, root, 0, 0, 0, 0);
    xcb_flush(c);
}

// Runs a command-line tool to its end (a few seconds at most); its exit code, -1 when it did not run.
inline int run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

inline QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Handles events until the condition holds or two seconds have passed.
template<class Condition>
bool within2s(Condition condition)
{
    return QTest::qWaitFor(condition, 2000);
}

// Handles events until this client has had every X event the server sent
// before the call, and the work they queued has run: what the app made of the
// server's state so far can be judged then, also that it did nothing.
inline bool settled()
{
    xcb_connection_t *c = connection();
    static const xcb_window_t marker = [c] {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const xcb_window_t id = xcb_generate_id(c);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, id, root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
            XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        return id;
    }();
    // The server answers a change of the marker's property after all it sent before, in order.
    struct Answer final : QAbstractNativeEventFilter {
        bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
        {
            const auto *event = static_cast<const xcb_generic_event_t *>(message);
            if (type == "xcb_generic_event_t" && (event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY
                && reinterpret_cast<const xcb_property_notify_event_t *>(event)->window == marker)
                heard = true;
            return false;
        }
        bool heard = false;
    } answer;
    qGuiApp->installNativeEventFilter(&answer);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, marker, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
    const bool heard = within2s([&] { return answer.heard; });
    qGuiApp->removeNativeEventFilter(&answer);
    // Those events' handlers leave work for the next turns (a look at the stacking, then its outcome).
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    return heard;
}

// The frames a Qt Quick window has put on screen since this began to count.
class Frames {
public:
    explicit Frames(QQuickWindow &window)
    {
        QObject::connect(&window, &QQuickWindow::frameSwapped, &m_context, [this] { ++m_count; });
    }
    int count() const { return m_count; }

private:
    QObject m_context;
    int m_count = 0;
};

// The pointer's crossings and moves Qt delivered to a window since this began to count.
class PointerEvents final : public QObject {
public:
    explicit PointerEvents(QWindow &window) { window.installEventFilter(this); }
    int enters = 0;
    int leaves = 0;
    int moves = 0;
    // Where the last move went, on the screen.
    QPoint lastMove;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        enters += event->type() == QEvent::Enter;
        leaves += event->type() == QEvent::Leave;
        if (event->type() == QEvent::MouseMove) {
            ++moves;
            lastMove = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        }
        return false;
    }
};

// Owns the compositing manager's selection of screen 0 while it lives, as a
// starting compositor does; its end gives the selection up with its window.
class CompositorStandIn {
public:
    CompositorStandIn()
    {
        xcb_connection_t *c = connection();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        m_window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, root, -1, -1, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const char name[] = "_NET_WM_CM_S0";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr), &std::free);
        xcb_set_selection_owner(c, m_window, atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE), XCB_CURRENT_TIME);
        xcb_flush(c);
    }
    ~CompositorStandIn()
    {
        xcb_destroy_window(connection(), m_window);
        xcb_flush(connection());
    }
    CompositorStandIn(const CompositorStandIn &) = delete;
    CompositorStandIn &operator=(const CompositorStandIn &) = delete;

private:
    xcb_window_t m_window = 0;
};

// A plain white window of another program, started and ended with the test.
class WhiteWindow {
public:
    // Titles must not contain one another: wmctrl picks a window by a part of its title.
    explicit WhiteWindow(const QString &title = QStringLiteral("orvel-test-white"))
        : title(title)
    {
        m_process.start(QStringLiteral("xlogo"),
            {"-bg", "white", "-fg", "white", "-geometry", "300x200+40+40", "-title", title});
    }
    ~WhiteWindow()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    // The window manager lists it.
    bool managed() const { return output("wmctrl", {"-l"}).contains(title); }
    // Its client window, as the window manager names it (0 while unlisted).
    xcb_window_t id() const
    {
        const QStringList lines = output("wmctrl", {"-l"}).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (line.contains(title))
                return xcb_window_t(line.section(QLatin1Char(' '), 0, 0).toUInt(nullptr, 0));
        }
        return 0;
    }
    bool setFullScreen(bool on)
    {
        return run("wmctrl", {"-r", title, "-b", on ? "add,fullscreen" : "remove,fullscreen"}) == 0;
    }
    bool activate() { return run("wmctrl", {"-a", title}) == 0; }
    // Moves and sizes its frame.
    bool place(const QRect &area)
    {
        return run("wmctrl",
                   {"-r", title, "-e",
                       QStringLiteral("0,%1,%2,%3,%4")
                           .arg(area.x())
                           .arg(area.y())
                           .arg(area.width())
                           .arg(area.height())})
            == 0;
    }

    const QString title;

private:
    QProcess m_process;
};

// A window of another X client (a connection of its own), filled with one
// colour: an unmanaged popup, menu or notification when override-redirect.
class ForeignWindow {
public:
    ForeignWindow(const QRect &area, QRgb colour, bool overrideRedirect = true)
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        root = screen->root;
        id = xcb_generate_id(m_connection);
        const std::uint32_t values[] = {colour & 0xFFFFFF, overrideRedirect ? 1u : 0u};
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, id, root, std::int16_t(area.x()),
            std::int16_t(area.y()), std::uint16_t(area.width()), std::uint16_t(area.height()), 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT,
            values);
        xcb_map_window(m_connection, id);
        sync();
    }
    ~ForeignWindow() { xcb_disconnect(m_connection); }
    ForeignWindow(const ForeignWindow &) = delete;
    ForeignWindow &operator=(const ForeignWindow &) = delete;

    // Takes the keyboard itself, as a launcher or a popup does.
    void takeFocus()
    {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, id, XCB_CURRENT_TIME);
        sync();
    }
    // Writes the root's active window, as a confused client might.
    void nameActive(xcb_window_t window)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, 18, "_NET_ACTIVE_WINDOW"), nullptr);
        xcb_change_property(
            m_connection, XCB_PROP_MODE_REPLACE, root, reply->atom, XCB_ATOM_WINDOW, 32, 1, &window);
        std::free(reply);
        sync();
    }

    xcb_window_t root = 0;
    xcb_window_t id = 0;

private:
    // Returns once the server has done all asked so far: another client's requests have no order with ours.
    void sync()
    {
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_connection_t *m_connection;
};

// The events this client selected on the root window.
inline std::uint32_t rootEventMask()
{
    xcb_connection_t *c = connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr), &std::free);
    return reply ? reply->your_event_mask : 0;
}

} // namespace X11Server
