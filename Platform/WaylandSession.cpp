#include "WaylandSession.h"

#include "plasma-virtual-desktop-client-protocol.h"
#include "plasma-window-management-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <QDebug>
#include <QPointer>
#include <QSocketNotifier>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

namespace {
// The newest versions whose events our listeners know.
constexpr std::uint32_t outputVersion = 4;
constexpr std::uint32_t xdgOutputVersion = 3;
constexpr std::uint32_t foreignToplevelVersion = 3;
constexpr std::uint32_t plasmaVersion = 16;
constexpr std::uint32_t virtualDesktopsVersion = 2;

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

// Events of no interest here; a listener must still have every entry.
template<typename... Args>
void ignore(void *, Args...)
{
}

// What the compositor has told in full of each object; one still being described is left out.
template<class Objects>
auto describedOf(const Objects &objects)
{
    QList<std::remove_cvref_t<decltype(*objects.front()->described)>> result;
    for (const auto &object : objects) {
        if (object->described)
            result.append(*object->described);
    }
    return result;
}
} // namespace

struct WaylandSession::State {
    struct Output {
        State *state = nullptr;
        wl_output *proxy = nullptr;
        zxdg_output_v1 *xdg = nullptr;
        std::uint32_t version = 0;
        // What the compositor said so far, and what it said up to its last "done".
        WaylandOutput pending;
        std::optional<WaylandOutput> described;
        QPoint position;
        QSize mode;
        int scale = 1;
        std::int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;
        std::optional<QPoint> logicalPosition;
        std::optional<QSize> logicalSize;
    };
    struct Toplevel {
        State *state = nullptr;
        zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
        org_kde_plasma_window *window = nullptr;
        WaylandToplevel pending;
        std::optional<WaylandToplevel> described;
        // KWin's virtual desktops it is on; every one when it says so.
        QStringList desktops;
        bool onAllDesktops = false;
    };
    struct VirtualDesktop {
        State *state = nullptr;
        org_kde_plasma_virtual_desktop *proxy = nullptr;
        QString id;
        bool active = false;
    };

    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    wl_callback *round = nullptr;
    // The first round answers with the globals, the second with what binding them brought.
    int rounds = 0;
    zxdg_output_manager_v1 *xdgOutputs = nullptr;
    zwlr_foreign_toplevel_manager_v1 *foreign = nullptr;
    std::uint32_t foreignName = 0;
    org_kde_plasma_window_management *plasma = nullptr;
    std::uint32_t plasmaName = 0;
    std::uint32_t plasmaBound = 0;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<std::unique_ptr<Toplevel>> toplevels;
    org_kde_plasma_virtual_desktop_management *desktops = nullptr;
    std::vector<std::unique_ptr<VirtualDesktop>> virtualDesktops;
    bool outputsChanged = false;
    bool toplevelsChanged = false;
    bool settled = false;

    ~State() { destroyAll(); }

    void destroyAll()
    {
        for (auto &toplevel : toplevels)
            destroy(*toplevel);
        toplevels.clear();
        for (auto &output : outputs)
            destroy(*output);
        outputs.clear();
        if (foreign)
            zwlr_foreign_toplevel_manager_v1_destroy(std::exchange(foreign, nullptr));
        if (plasma)
            org_kde_plasma_window_management_destroy(std::exchange(plasma, nullptr));
        if (xdgOutputs)
            zxdg_output_manager_v1_destroy(std::exchange(xdgOutputs, nullptr));
        for (auto &desktop : virtualDesktops)
            org_kde_plasma_virtual_desktop_destroy(desktop->proxy);
        virtualDesktops.clear();
        if (desktops)
            org_kde_plasma_virtual_desktop_management_destroy(std::exchange(desktops, nullptr));
        if (round)
            wl_callback_destroy(std::exchange(round, nullptr));
        if (registry)
            wl_registry_destroy(std::exchange(registry, nullptr));
    }

    // MARK: Outputs

    static void destroy(Output &output)
    {
        if (output.xdg)
            zxdg_output_v1_destroy(std::exchange(output.xdg, nullptr));
        if (!output.proxy)
            return;
        if (output.version >= WL_OUTPUT_RELEASE_SINCE_VERSION)
            wl_output_release(std::exchange(output.proxy, nullptr));
        else
            wl_output_destroy(std::exchange(output.proxy, nullptr));
    }

    void addOutput(std::uint32_t name, std::uint32_t version)
    {
        auto output = std::make_unique<Output>();
        output->state = this;
        output->version = std::min(version, outputVersion);
        output->pending.id = name;
        output->proxy = static_cast<wl_output *>(
            wl_registry_bind(registry, name, &wl_output_interface, output->version));
        wl_output_add_listener(output->proxy, &outputListener, output.get());
        describeLogically(*output);
        outputs.push_back(std::move(output));
    }

    void describeLogically(Output &output)
    {
        if (!xdgOutputs || output.xdg || !output.proxy)
            return;
        output.xdg = zxdg_output_manager_v1_get_xdg_output(xdgOutputs, output.proxy);
        zxdg_output_v1_add_listener(output.xdg, &xdgOutputListener, &output);
    }

    Output *outputOf(wl_output *proxy) const
    {
        const auto found = std::find_if(outputs.begin(), outputs.end(),
            [proxy](const std::unique_ptr<Output> &output) { return proxy && output->proxy == proxy; });
        return found == outputs.end() ? nullptr : found->get();
    }

    void removeOutput(std::uint32_t name)
    {
        const auto found = std::find_if(outputs.begin(), outputs.end(),
            [name](const std::unique_ptr<Output> &output) { return output->pending.id == name; });
        if (found == outputs.end())
            return;
        destroy(**found);
        if ((*found)->described)
            outputsChanged = true;
        outputs.erase(found);
        // Its windows are on one output fewer.
        for (auto &toplevel : toplevels) {
            toplevel->pending.outputs.removeAll(name);
            if (toplevel->described && toplevel->described->outputs.removeAll(name) > 0)
                toplevelsChanged = true;
        }
    }

    static void done(Output &output)
    {
        WaylandOutput described = output.pending;
        if (output.logicalPosition && output.logicalSize) {
            described.area = QRect(*output.logicalPosition, *output.logicalSize);
        } else {
            // Without xdg-output: the mode in the output's own pixels, turned and scaled.
            QSize size = output.mode;
            if (output.transform % 2 == 1)
                size.transpose();
            const int scale = std::max(output.scale, 1);
            described.area = QRect(output.position, size / scale);
        }
        if (output.described != described) {
            output.described = described;
            output.state->outputsChanged = true;
        }
    }

    static constexpr wl_output_listener outputListener{
        .geometry =
            [](void *data, wl_output *, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                std::int32_t, const char *make, const char *model, std::int32_t transform) {
                auto &output = *static_cast<Output *>(data);
                output.position = QPoint(x, y);
                output.pending.make = text(make);
                output.pending.model = text(model);
                output.transform = transform;
                // Before version 2 nothing says "done": each description stands alone.
                if (output.version < WL_OUTPUT_DONE_SINCE_VERSION)
                    done(output);
            },
        .mode =
            [](void *data, wl_output *, std::uint32_t flags, std::int32_t width, std::int32_t height,
                std::int32_t) {
                auto &output = *static_cast<Output *>(data);
                if (flags & WL_OUTPUT_MODE_CURRENT)
                    output.mode = QSize(width, height);
                if (output.version < WL_OUTPUT_DONE_SINCE_VERSION)
                    done(output);
            },
        .done = [](void *data, wl_output *) { done(*static_cast<Output *>(data)); },
        .scale
        = [](void *data, wl_output *, std::int32_t factor) { static_cast<Output *>(data)->scale = factor; },
        .name = [](void *data, wl_output *,
                    const char *name) { static_cast<Output *>(data)->pending.name = text(name); },
        .description =
            [](void *data, wl_output *, const char *description) {
                static_cast<Output *>(data)->pending.description = text(description);
            },
    };

    static constexpr zxdg_output_v1_listener xdgOutputListener{
        .logical_position
        = [](void *data, zxdg_output_v1 *, std::int32_t x,
              std::int32_t y) { static_cast<Output *>(data)->logicalPosition = QPoint(x, y); },
        .logical_size
        = [](void *data, zxdg_output_v1 *, std::int32_t width,
              std::int32_t height) { static_cast<Output *>(data)->logicalSize = QSize(width, height); },
        // From version 3 on wl_output's "done" closes the description.
        .done = [](void *data, zxdg_output_v1 *) { done(*static_cast<Output *>(data)); },
        .name =
            [](void *data, zxdg_output_v1 *, const char *name) {
                auto &output = *static_cast<Output *>(data);
                if (output.pending.name.isEmpty())
                    output.pending.name = text(name);
            },
        .description =
            [](void *data, zxdg_output_v1 *, const char *description) {
                auto &output = *static_cast<Output *>(data);
                if (output.pending.description.isEmpty())
                    output.pending.description = text(description);
            },
    };

    // MARK: Windows

    static void destroy(Toplevel &toplevel)
    {
        if (toplevel.handle)
            zwlr_foreign_toplevel_handle_v1_destroy(std::exchange(toplevel.handle, nullptr));
        if (!toplevel.window)
            return;
        if (wl_proxy_get_version(reinterpret_cast<wl_proxy *>(toplevel.window))
            >= ORG_KDE_PLASMA_WINDOW_DESTROY_SINCE_VERSION)
            org_kde_plasma_window_destroy(std::exchange(toplevel.window, nullptr));
        else
            wl_proxy_destroy(reinterpret_cast<wl_proxy *>(std::exchange(toplevel.window, nullptr)));
    }

    Toplevel &addToplevel()
    {
        auto toplevel = std::make_unique<Toplevel>();
        toplevel->state = this;
        toplevels.push_back(std::move(toplevel));
        return *toplevels.back();
    }

    void removeToplevel(Toplevel &gone)
    {
        const auto found = std::find_if(toplevels.begin(), toplevels.end(),
            [&gone](const std::unique_ptr<Toplevel> &toplevel) { return toplevel.get() == &gone; });
        if (found == toplevels.end())
            return;
        destroy(**found);
        if ((*found)->described)
            toplevelsChanged = true;
        toplevels.erase(found);
    }

    void dropToplevels()
    {
        for (auto &toplevel : toplevels) {
            if (toplevel->described)
                toplevelsChanged = true;
            destroy(*toplevel);
        }
        toplevels.clear();
    }

    static void described(Toplevel &toplevel)
    {
        if (toplevel.described != toplevel.pending) {
            toplevel.described = toplevel.pending;
            toplevel.state->toplevelsChanged = true;
        }
    }

    static constexpr zwlr_foreign_toplevel_handle_v1_listener handleListener{
        .title = ignore<zwlr_foreign_toplevel_handle_v1 *, const char *>,
        .app_id = ignore<zwlr_foreign_toplevel_handle_v1 *, const char *>,
        .output_enter =
            [](void *data, zwlr_foreign_toplevel_handle_v1 *, wl_output *proxy) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                // An output we let go of meanwhile arrives as null.
                if (const Output *output = toplevel.state->outputOf(proxy)) {
                    if (!toplevel.pending.outputs.contains(output->pending.id))
                        toplevel.pending.outputs.append(output->pending.id);
                }
            },
        .output_leave =
            [](void *data, zwlr_foreign_toplevel_handle_v1 *, wl_output *proxy) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                if (const Output *output = toplevel.state->outputOf(proxy))
                    toplevel.pending.outputs.removeAll(output->pending.id);
            },
        .state =
            [](void *data, zwlr_foreign_toplevel_handle_v1 *, wl_array *states) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                toplevel.pending.fullScreen = false;
                toplevel.pending.minimized = false;
                if (!states || !states->data)
                    return;
                const auto *first = static_cast<const std::uint32_t *>(states->data);
                for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
                    if (first[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN)
                        toplevel.pending.fullScreen = true;
                    else if (first[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED)
                        toplevel.pending.minimized = true;
                }
            },
        .done
        = [](void *data, zwlr_foreign_toplevel_handle_v1 *) { described(*static_cast<Toplevel *>(data)); },
        .closed =
            [](void *data, zwlr_foreign_toplevel_handle_v1 *) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                toplevel.state->removeToplevel(toplevel);
            },
        .parent = ignore<zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *>,
    };

    static constexpr zwlr_foreign_toplevel_manager_v1_listener foreignListener{
        .toplevel =
            [](void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle) {
                auto &state = *static_cast<State *>(data);
                Toplevel &toplevel = state.addToplevel();
                toplevel.handle = handle;
                zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, &toplevel);
            },
        .finished =
            [](void *data, zwlr_foreign_toplevel_manager_v1 *) {
                auto &state = *static_cast<State *>(data);
                state.dropToplevels();
                if (state.foreign)
                    zwlr_foreign_toplevel_manager_v1_destroy(std::exchange(state.foreign, nullptr));
            },
    };

    static constexpr std::uint32_t plasmaFullScreen = ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_FULLSCREEN;
    static constexpr std::uint32_t plasmaMinimized = ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED;
    static constexpr std::uint32_t plasmaOnAllDesktops
        = ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ON_ALL_DESKTOPS;

    // A window is elsewhere while it is on virtual desktops none of which is shown.
    void placeOnDesktops(Toplevel &toplevel) const
    {
        const auto active = std::find_if(virtualDesktops.begin(), virtualDesktops.end(),
            [](const std::unique_ptr<VirtualDesktop> &desktop) { return desktop->active; });
        toplevel.pending.elsewhere = !toplevel.onAllDesktops && !toplevel.desktops.isEmpty()
            && active != virtualDesktops.end() && !toplevel.desktops.contains((*active)->id);
    }

    void placeAllOnDesktops()
    {
        for (auto &toplevel : toplevels) {
            if (!toplevel->window)
                continue;
            placeOnDesktops(*toplevel);
            if (toplevel->described)
                described(*toplevel);
        }
    }

    static constexpr org_kde_plasma_window_listener windowListener{
        .title_changed = ignore<org_kde_plasma_window *, const char *>,
        .app_id_changed = ignore<org_kde_plasma_window *, const char *>,
        .state_changed =
            [](void *data, org_kde_plasma_window *, std::uint32_t flags) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                toplevel.pending.fullScreen = flags & plasmaFullScreen;
                toplevel.pending.minimized = flags & plasmaMinimized;
                toplevel.onAllDesktops = flags & plasmaOnAllDesktops;
                toplevel.state->placeOnDesktops(toplevel);
                // KWin has no "done": after the first description each change stands alone.
                if (toplevel.described)
                    described(toplevel);
            },
        .virtual_desktop_changed = ignore<org_kde_plasma_window *, std::int32_t>,
        .themed_icon_name_changed = ignore<org_kde_plasma_window *, const char *>,
        .unmapped =
            [](void *data, org_kde_plasma_window *) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                toplevel.state->removeToplevel(toplevel);
            },
        .initial_state
        = [](void *data, org_kde_plasma_window *) { described(*static_cast<Toplevel *>(data)); },
        .parent_window = ignore<org_kde_plasma_window *, org_kde_plasma_window *>,
        .geometry =
            [](void *data, org_kde_plasma_window *, std::int32_t x, std::int32_t y, std::uint32_t width,
                std::uint32_t height) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                toplevel.pending.area = QRect(x, y, int(std::min<std::uint32_t>(width, INT32_MAX)),
                    int(std::min<std::uint32_t>(height, INT32_MAX)));
                if (toplevel.described)
                    described(toplevel);
            },
        .icon_changed = ignore<org_kde_plasma_window *>,
        .pid_changed = ignore<org_kde_plasma_window *, std::uint32_t>,
        .virtual_desktop_entered =
            [](void *data, org_kde_plasma_window *, const char *id) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                if (!toplevel.desktops.contains(text(id)))
                    toplevel.desktops.append(text(id));
                toplevel.state->placeOnDesktops(toplevel);
                if (toplevel.described)
                    described(toplevel);
            },
        .virtual_desktop_left =
            [](void *data, org_kde_plasma_window *, const char *id) {
                auto &toplevel = *static_cast<Toplevel *>(data);
                toplevel.desktops.removeAll(text(id));
                toplevel.state->placeOnDesktops(toplevel);
                if (toplevel.described)
                    described(toplevel);
            },
        .application_menu = ignore<org_kde_plasma_window *, const char *, const char *>,
        .activity_entered = ignore<org_kde_plasma_window *, const char *>,
        .activity_left = ignore<org_kde_plasma_window *, const char *>,
        .resource_name_changed = ignore<org_kde_plasma_window *, const char *>,
    };

    void watchWindow(org_kde_plasma_window *window)
    {
        Toplevel &toplevel = addToplevel();
        toplevel.window = window;
        org_kde_plasma_window_add_listener(window, &windowListener, &toplevel);
        // Before version 4 nothing closes the first description.
        if (plasmaBound < ORG_KDE_PLASMA_WINDOW_INITIAL_STATE_SINCE_VERSION)
            described(toplevel);
    }

    static constexpr org_kde_plasma_window_management_listener plasmaListener{
        .show_desktop_changed = ignore<org_kde_plasma_window_management *, std::uint32_t>,
        .window =
            [](void *data, org_kde_plasma_window_management *management, std::uint32_t id) {
                auto &state = *static_cast<State *>(data);
                // From version 13 on the window comes with its uuid instead.
                if (state.plasmaBound < ORG_KDE_PLASMA_WINDOW_MANAGEMENT_WINDOW_WITH_UUID_SINCE_VERSION)
                    state.watchWindow(org_kde_plasma_window_management_get_window(management, id));
            },
        .stacking_order_changed = ignore<org_kde_plasma_window_management *, wl_array *>,
        .stacking_order_uuid_changed = ignore<org_kde_plasma_window_management *, const char *>,
        .window_with_uuid =
            [](void *data, org_kde_plasma_window_management *management, std::uint32_t, const char *uuid) {
                auto &state = *static_cast<State *>(data);
                state.watchWindow(
                    org_kde_plasma_window_management_get_window_by_uuid(management, uuid ? uuid : ""));
            },
    };

    // MARK: KWin's virtual desktops

    void activate(VirtualDesktop &desktop, bool active)
    {
        desktop.active = active;
        placeAllOnDesktops();
    }

    static constexpr org_kde_plasma_virtual_desktop_listener desktopListener{
        .desktop_id = [](void *data, org_kde_plasma_virtual_desktop *,
                          const char *id) { static_cast<VirtualDesktop *>(data)->id = text(id); },
        .name = ignore<org_kde_plasma_virtual_desktop *, const char *>,
        .activated =
            [](void *data, org_kde_plasma_virtual_desktop *) {
                auto &desktop = *static_cast<VirtualDesktop *>(data);
                desktop.state->activate(desktop, true);
            },
        .deactivated =
            [](void *data, org_kde_plasma_virtual_desktop *) {
                auto &desktop = *static_cast<VirtualDesktop *>(data);
                desktop.state->activate(desktop, false);
            },
        .done = ignore<org_kde_plasma_virtual_desktop *>,
        .removed =
            [](void *data, org_kde_plasma_virtual_desktop *) {
                auto &gone = *static_cast<VirtualDesktop *>(data);
                State &state = *gone.state;
                org_kde_plasma_virtual_desktop_destroy(gone.proxy);
                std::erase_if(state.virtualDesktops, [&gone](const std::unique_ptr<VirtualDesktop> &desktop) {
                    return desktop.get() == &gone;
                });
                state.placeAllOnDesktops();
            },
    };

    static constexpr org_kde_plasma_virtual_desktop_management_listener desktopsListener{
        .desktop_created =
            [](void *data, org_kde_plasma_virtual_desktop_management *management, const char *id,
                std::uint32_t) {
                auto &state = *static_cast<State *>(data);
                auto desktop = std::make_unique<VirtualDesktop>();
                desktop->state = &state;
                desktop->id = text(id);
                desktop->proxy
                    = org_kde_plasma_virtual_desktop_management_get_virtual_desktop(management, id ? id : "");
                org_kde_plasma_virtual_desktop_add_listener(desktop->proxy, &desktopListener, desktop.get());
                state.virtualDesktops.push_back(std::move(desktop));
            },
        .desktop_removed = ignore<org_kde_plasma_virtual_desktop_management *, const char *>,
        .done = ignore<org_kde_plasma_virtual_desktop_management *>,
        .rows = ignore<org_kde_plasma_virtual_desktop_management *, std::uint32_t>,
    };

    // MARK: Registry

    static constexpr wl_registry_listener registryListener{
        .global =
            [](void *data, wl_registry *registry, std::uint32_t name, const char *interface,
                std::uint32_t version) {
                auto &state = *static_cast<State *>(data);
                if (!interface)
                    return;
                if (std::strcmp(interface, wl_output_interface.name) == 0) {
                    state.addOutput(name, version);
                } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0
                    && !state.xdgOutputs) {
                    state.xdgOutputs = static_cast<zxdg_output_manager_v1 *>(wl_registry_bind(registry, name,
                        &zxdg_output_manager_v1_interface, std::min(version, xdgOutputVersion)));
                    for (auto &output : state.outputs)
                        state.describeLogically(*output);
                } else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0
                    && !state.foreign && !state.plasma) {
                    // Version 2 brought the full-screen state.
                    if (version < ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN_SINCE_VERSION)
                        return;
                    state.foreignName = name;
                    state.foreign = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
                        wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                            std::min(version, foreignToplevelVersion)));
                    zwlr_foreign_toplevel_manager_v1_add_listener(state.foreign, &foreignListener, &state);
                } else if (std::strcmp(interface, org_kde_plasma_virtual_desktop_management_interface.name)
                        == 0
                    && !state.desktops) {
                    state.desktops = static_cast<org_kde_plasma_virtual_desktop_management *>(
                        wl_registry_bind(registry, name, &org_kde_plasma_virtual_desktop_management_interface,
                            std::min(version, virtualDesktopsVersion)));
                    org_kde_plasma_virtual_desktop_management_add_listener(
                        state.desktops, &desktopsListener, &state);
                } else if (std::strcmp(interface, org_kde_plasma_window_management_interface.name) == 0
                    && !state.plasma && !state.foreign) {
                    state.plasmaName = name;
                    state.plasmaBound = std::min(version, plasmaVersion);
                    state.plasma = static_cast<org_kde_plasma_window_management *>(wl_registry_bind(
                        registry, name, &org_kde_plasma_window_management_interface, state.plasmaBound));
                    org_kde_plasma_window_management_add_listener(state.plasma, &plasmaListener, &state);
                }
            },
        .global_remove =
            [](void *data, wl_registry *, std::uint32_t name) {
                auto &state = *static_cast<State *>(data);
                state.removeOutput(name);
                if (state.foreign && name == state.foreignName) {
                    state.dropToplevels();
                    zwlr_foreign_toplevel_manager_v1_destroy(std::exchange(state.foreign, nullptr));
                }
                if (state.plasma && name == state.plasmaName) {
                    state.dropToplevels();
                    org_kde_plasma_window_management_destroy(std::exchange(state.plasma, nullptr));
                }
            },
    };

    void nextRound()
    {
        round = wl_display_sync(display);
        wl_callback_add_listener(round, &roundListener, this);
    }

    static constexpr wl_callback_listener roundListener{
        .done =
            [](void *data, wl_callback *callback, std::uint32_t) {
                auto &state = *static_cast<State *>(data);
                wl_callback_destroy(callback);
                state.round = nullptr;
                if (++state.rounds < 2)
                    state.nextRound();
                else
                    state.settled = true;
            },
    };
};

std::unique_ptr<WaylandSession> WaylandSession::connectToSession(QObject *parent)
{
    // Without it libwayland would try "wayland-0", which an X11 session may well have lying about.
    const QString socket = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (socket.isEmpty())
        return nullptr;
    return connectTo(socket, parent);
}

std::unique_ptr<WaylandSession> WaylandSession::connectTo(const QString &socket, QObject *parent)
{
    wl_display *display = wl_display_connect(socket.toLocal8Bit().constData());
    if (!display) {
        qInfo().noquote() << "No connection to the Wayland compositor at" << socket
                          << "(" + QString::fromLocal8Bit(std::strerror(errno))
                + "): full-screen Wayland windows "
                  "and the monitors' names stay unknown.";
        return nullptr;
    }
    return std::unique_ptr<WaylandSession>(new WaylandSession(display, parent));
}

WaylandSession::WaylandSession(void *display, QObject *parent)
    : QObject(parent)
    , m_display(display)
    , m_state(std::make_unique<State>())
{
    auto *d = static_cast<wl_display *>(display);
    m_state->display = d;
    m_state->registry = wl_display_get_registry(d);
    wl_registry_add_listener(m_state->registry, &State::registryListener, m_state.get());
    m_state->nextRound();
    const int fd = wl_display_get_fd(d);
    m_reader = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_reader, &QSocketNotifier::activated, this, &WaylandSession::readEvents);
    m_writer = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writer->setEnabled(false);
    connect(m_writer, &QSocketNotifier::activated, this, &WaylandSession::flush);
    flush();
}

WaylandSession::~WaylandSession()
{
    m_state.reset();
    if (m_display)
        wl_display_disconnect(static_cast<wl_display *>(m_display));
}

QList<WaylandOutput> WaylandSession::outputs() const
{
    return m_state ? describedOf(m_state->outputs) : QList<WaylandOutput>();
}

QList<WaylandToplevel> WaylandSession::toplevels() const
{
    return m_state ? describedOf(m_state->toplevels) : QList<WaylandToplevel>();
}

void WaylandSession::readEvents()
{
    auto *d = static_cast<wl_display *>(m_display);
    if (!d)
        return;
    // Events read earlier and not handled yet go first; then what the socket holds, without waiting.
    while (wl_display_prepare_read(d) != 0) {
        if (wl_display_dispatch_pending(d) < 0)
            return drop("its events could not be handled");
    }
    if (wl_display_read_events(d) < 0)
        return drop("the compositor closed the connection");
    if (wl_display_dispatch_pending(d) < 0)
        return drop("its events could not be handled");
    flush();
    announce();
}

void WaylandSession::flush()
{
    auto *d = static_cast<wl_display *>(m_display);
    if (!d)
        return;
    if (wl_display_flush(d) >= 0) {
        m_writer->setEnabled(false);
        return;
    }
    // A full socket takes the rest once the compositor has read some.
    if (errno == EAGAIN) {
        m_writer->setEnabled(true);
        return;
    }
    drop("the compositor closed the connection");
}

void WaylandSession::announce()
{
    if (!m_state)
        return;
    const Windows windows = m_state->foreign ? Windows::wlroots
        : m_state->plasma                    ? Windows::kde
                                             : Windows::none;
    const bool outputs = std::exchange(m_state->outputsChanged, false);
    const bool toplevels = std::exchange(m_state->toplevelsChanged, false);
    const bool settled = m_state->settled && !m_settled;
    m_windows = windows;
    m_settled = m_settled || m_state->settled;
    const QPointer<WaylandSession> self(this);
    if (outputs)
        emit outputsChanged();
    if (self && toplevels)
        emit toplevelsChanged();
    if (self && settled) {
        // KWin hides its list from a program whose desktop entry does not ask for it.
        if (windows == Windows::none
            && qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("KDE")))
            qInfo()
                << "KWin lets Orvel see no other program's window (Orvel was not started from its installed "
                   "desktop entry): full-screen Wayland windows do not keep the panels away.";
        else if (windows == Windows::none)
            qInfo() << "The Wayland compositor tells nothing of other programs' windows: full-screen Wayland "
                       "windows do not keep the panels away.";
        emit settledChanged();
    }
}

void WaylandSession::drop(const char *why)
{
    auto *d = static_cast<wl_display *>(m_display);
    if (!d)
        return;
    const int error = wl_display_get_error(d);
    const bool hadOutputs = !outputs().isEmpty();
    const bool hadToplevels = !toplevels().isEmpty();
    const bool wasSettled = m_settled;
    m_reader->setEnabled(false);
    m_writer->setEnabled(false);
    // The proxies are ours alone now: freeing them tells the compositor nothing.
    m_state.reset();
    wl_display_disconnect(d);
    m_display = nullptr;
    m_windows = Windows::none;
    m_settled = true;
    qInfo().noquote() << "The connection to the Wayland compositor is gone (" + QString::fromLatin1(why)
            + (error == EPROTO ? QStringLiteral(", a protocol error") : QString())
            + "): the panels now follow X11 alone.";
    const QPointer<WaylandSession> self(this);
    if (hadOutputs)
        emit outputsChanged();
    if (self && hadToplevels)
        emit toplevelsChanged();
    if (self && !wasSettled)
        emit settledChanged();
}
