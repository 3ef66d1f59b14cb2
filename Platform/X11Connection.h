#pragma once

// What the X11 services share: Qt's own xcb connection, replies that free
// themselves, and atoms interned once. Internal to Platform.

#include <QByteArray>
#include <QGuiApplication>
#include <QHash>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace x11 {
struct Free {
    void operator()(void *pointer) const { std::free(pointer); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

// Null when the application does not run on xcb.
inline xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// XCB_ATOM_NONE when the server does not answer; only answered atoms are kept.
// Main thread only, as Qt's connection is used here.
inline xcb_atom_t atom(xcb_connection_t *c, const QByteArray &name)
{
    static QHash<QByteArray, xcb_atom_t> known;
    if (const auto found = known.constFind(name); found != known.constEnd())
        return *found;
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.constData()), nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (value != XCB_ATOM_NONE)
        known.insert(name, value);
    return value;
}
} // namespace x11
