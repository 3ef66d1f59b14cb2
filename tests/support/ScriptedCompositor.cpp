#include "ScriptedCompositor.h"

#include "wlr-foreign-toplevel-management-unstable-v1-server-protocol.h"

#include <QSocketNotifier>
#include <wayland-server.h>

#include <algorithm>
#include <vector>

namespace {
struct Output {
    ScriptedCompositor::State *state = nullptr;
    wl_global *global = nullptr;
    QString name, make, model;
    QRect area;
    std::vector<wl_resource *> resources;
};

struct Toplevel {
    bool fullScreen = false;
    bool minimized = false;
    bool closed = false;
    QList<int> outputs;
    std::vector<wl_resource *> handles;
};

template<typename T>
void forget(std::vector<T *> &list, T *item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

struct ScriptedCompositor::State {
    wl_display *display = nullptr;
    wl_global *manager = nullptr;
    std::vector<wl_resource *> managers;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<std::unique_ptr<Toplevel>> toplevels;

    ~State() { close(); }

    void close()
    {
        if (!display)
            return;
        wl_display_destroy_clients(display);
        wl_display_destroy(std::exchange(display, nullptr));
    }

    void flush()
    {
        if (display)
            wl_display_flush_clients(display);
    }

    static void sendState(wl_resource *handle, const Toplevel &toplevel)
    {
        wl_array states;
        wl_array_init(&states);
        const auto add = [&states](std::uint32_t state) {
            *static_cast<std::uint32_t *>(wl_array_add(&states, sizeof state)) = state;
        };
        if (toplevel.fullScreen)
            add(ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN);
        if (toplevel.minimized)
            add(ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED);
        zwlr_foreign_toplevel_handle_v1_send_state(handle, &states);
        wl_array_release(&states);
    }

    // Each of that output's objects the handle's client holds.
    std::vector<wl_resource *> outputsOf(int output, wl_resource *handle) const
    {
        std::vector<wl_resource *> found;
        if (output < 0 || std::size_t(output) >= outputs.size())
            return found;
        for (wl_resource *resource : outputs[std::size_t(output)]->resources) {
            if (wl_resource_get_client(resource) == wl_resource_get_client(handle))
                found.push_back(resource);
        }
        return found;
    }

    void announce(wl_resource *manager, Toplevel &toplevel)
    {
        wl_resource *handle = wl_resource_create(wl_resource_get_client(manager),
            &zwlr_foreign_toplevel_handle_v1_interface, wl_resource_get_version(manager), 0);
        wl_resource_set_implementation(handle, &handleRequests, &toplevel, [](wl_resource *resource) {
            forget(static_cast<Toplevel *>(wl_resource_get_user_data(resource))->handles, resource);
        });
        toplevel.handles.push_back(handle);
        zwlr_foreign_toplevel_manager_v1_send_toplevel(manager, handle);
        sendState(handle, toplevel);
        for (const int output : toplevel.outputs) {
            for (wl_resource *resource : outputsOf(output, handle))
                zwlr_foreign_toplevel_handle_v1_send_output_enter(handle, resource);
        }
        zwlr_foreign_toplevel_handle_v1_send_done(handle);
    }

    static constexpr struct zwlr_foreign_toplevel_handle_v1_interface handleRequests {
        .set_maximized = [](wl_client *, wl_resource *) {},
        .unset_maximized = [](wl_client *, wl_resource *) {},
        .set_minimized = [](wl_client *, wl_resource *) {},
        .unset_minimized = [](wl_client *, wl_resource *) {},
        .activate = [](wl_client *, wl_resource *, wl_resource *) {},
        .close = [](wl_client *, wl_resource *) {},
        .set_rectangle = [](wl_client *, wl_resource *, wl_resource *, std::int32_t, std::int32_t,
                             std::int32_t, std::int32_t) {},
        .destroy = [](wl_client *, wl_resource *resource) { wl_resource_destroy(resource); },
        .set_fullscreen = [](wl_client *, wl_resource *, wl_resource *) {},
        .unset_fullscreen = [](wl_client *, wl_resource *) {},
    };

    static constexpr struct zwlr_foreign_toplevel_manager_v1_interface managerRequests {
        .stop = [](wl_client *, wl_resource *) {},
    };

    static constexpr struct wl_output_interface outputRequests {
        .release = [](wl_client *, wl_resource *resource) { wl_resource_destroy(resource); },
    };

    static void bindOutput(wl_client *client, void *data, std::uint32_t version, std::uint32_t id)
    {
        auto &output = *static_cast<Output *>(data);
        wl_resource *resource = wl_resource_create(client, &wl_output_interface, int(version), id);
        wl_resource_set_implementation(resource, &outputRequests, &output, [](wl_resource *gone) {
            forget(static_cast<Output *>(wl_resource_get_user_data(gone))->resources, gone);
        });
        output.resources.push_back(resource);
        wl_output_send_geometry(resource, output.area.x(), output.area.y(), 600, 340,
            WL_OUTPUT_SUBPIXEL_UNKNOWN, output.make.toUtf8().constData(), output.model.toUtf8().constData(),
            WL_OUTPUT_TRANSFORM_NORMAL);
        wl_output_send_mode(
            resource, WL_OUTPUT_MODE_CURRENT, output.area.width(), output.area.height(), 60000);
        if (version >= WL_OUTPUT_SCALE_SINCE_VERSION)
            wl_output_send_scale(resource, 1);
        if (version >= WL_OUTPUT_NAME_SINCE_VERSION)
            wl_output_send_name(resource, output.name.toUtf8().constData());
        if (version >= WL_OUTPUT_DONE_SINCE_VERSION)
            wl_output_send_done(resource);
    }

    static void bindManager(wl_client *client, void *data, std::uint32_t version, std::uint32_t id)
    {
        auto &state = *static_cast<State *>(data);
        wl_resource *manager
            = wl_resource_create(client, &zwlr_foreign_toplevel_manager_v1_interface, int(version), id);
        wl_resource_set_implementation(manager, &managerRequests, &state, [](wl_resource *gone) {
            forget(static_cast<State *>(wl_resource_get_user_data(gone))->managers, gone);
        });
        state.managers.push_back(manager);
        for (auto &toplevel : state.toplevels) {
            if (!toplevel->closed)
                state.announce(manager, *toplevel);
        }
    }
};

ScriptedCompositor::ScriptedCompositor(const QString &socket)
    : m_socket(socket.isEmpty() ? m_dir.filePath(QStringLiteral("wayland-scripted")) : socket)
    , m_state(std::make_unique<State>())
{
    m_state->display = wl_display_create();
    if (wl_display_add_socket(m_state->display, m_socket.toLocal8Bit().constData()) != 0) {
        m_state->close();
        return;
    }
    m_state->manager = wl_global_create(
        m_state->display, &zwlr_foreign_toplevel_manager_v1_interface, 3, m_state.get(), &State::bindManager);
    wl_event_loop *loop = wl_display_get_event_loop(m_state->display);
    m_notifier = std::make_unique<QSocketNotifier>(wl_event_loop_get_fd(loop), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { dispatch(); });
}

ScriptedCompositor::~ScriptedCompositor()
{
    m_notifier.reset();
    m_state.reset();
}

bool ScriptedCompositor::running() const
{
    return m_state->display != nullptr;
}

void ScriptedCompositor::dispatch()
{
    if (!m_state->display)
        return;
    wl_event_loop_dispatch(wl_display_get_event_loop(m_state->display), 0);
    m_state->flush();
}

int ScriptedCompositor::addOutput(
    const QString &name, const QString &make, const QString &model, const QRect &area)
{
    auto output = std::make_unique<Output>();
    output->state = m_state.get();
    output->name = name;
    output->make = make;
    output->model = model;
    output->area = area;
    output->global
        = wl_global_create(m_state->display, &wl_output_interface, 4, output.get(), &State::bindOutput);
    m_state->outputs.push_back(std::move(output));
    m_state->flush();
    return int(m_state->outputs.size() - 1);
}

void ScriptedCompositor::removeOutput(int output)
{
    Output &gone = *m_state->outputs.at(std::size_t(output));
    if (gone.global)
        wl_global_remove(std::exchange(gone.global, nullptr));
    m_state->flush();
}

int ScriptedCompositor::addToplevel(bool fullScreen, const QList<int> &outputs)
{
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->fullScreen = fullScreen;
    toplevel->outputs = outputs;
    Toplevel &added = *toplevel;
    m_state->toplevels.push_back(std::move(toplevel));
    for (wl_resource *manager : m_state->managers)
        m_state->announce(manager, added);
    m_state->flush();
    return int(m_state->toplevels.size() - 1);
}

void ScriptedCompositor::setToplevel(int index, bool fullScreen, bool minimized, const QList<int> &outputs)
{
    Toplevel &toplevel = *m_state->toplevels.at(std::size_t(index));
    const QList<int> before = toplevel.outputs;
    toplevel.fullScreen = fullScreen;
    toplevel.minimized = minimized;
    toplevel.outputs = outputs;
    for (wl_resource *handle : toplevel.handles) {
        for (const int output : before) {
            if (!outputs.contains(output)) {
                for (wl_resource *resource : m_state->outputsOf(output, handle))
                    zwlr_foreign_toplevel_handle_v1_send_output_leave(handle, resource);
            }
        }
        for (const int output : outputs) {
            if (!before.contains(output)) {
                for (wl_resource *resource : m_state->outputsOf(output, handle))
                    zwlr_foreign_toplevel_handle_v1_send_output_enter(handle, resource);
            }
        }
        State::sendState(handle, toplevel);
        zwlr_foreign_toplevel_handle_v1_send_done(handle);
    }
    m_state->flush();
}

void ScriptedCompositor::closeToplevel(int index)
{
    Toplevel &toplevel = *m_state->toplevels.at(std::size_t(index));
    toplevel.closed = true;
    for (wl_resource *handle : toplevel.handles)
        zwlr_foreign_toplevel_handle_v1_send_closed(handle);
    m_state->flush();
}

void ScriptedCompositor::enterAgain(int index, int output)
{
    Toplevel &toplevel = *m_state->toplevels.at(std::size_t(index));
    for (wl_resource *handle : toplevel.handles) {
        for (wl_resource *resource : m_state->outputsOf(output, handle))
            zwlr_foreign_toplevel_handle_v1_send_output_enter(handle, resource);
        zwlr_foreign_toplevel_handle_v1_send_done(handle);
    }
    m_state->flush();
}

void ScriptedCompositor::breakProtocol()
{
    const std::vector<wl_resource *> managers = m_state->managers;
    for (wl_resource *manager : managers)
        wl_resource_post_error(manager, 0, "scripted protocol error");
    m_state->flush();
}

void ScriptedCompositor::exit()
{
    m_notifier.reset();
    m_state->close();
}
