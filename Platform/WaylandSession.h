#pragma once

#include "WaylandOutputs.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

// Our own connection to the Wayland compositor of the session, beside Qt's
// X11 one: the compositor's outputs (connector, maker, model, description,
// place and size, from wl_output and xdg-output) and, where it tells its
// clients about other programs' windows, whether each is full screen or
// minimised and on which outputs (wlroots' foreign-toplevel list, KWin's
// plasma window management).
//
// Everything happens on the main thread without waiting: the connection's
// socket is watched by the event loop, and the events read are handled at
// once. A connection that breaks (the compositor exits, a protocol error)
// is dropped quietly and the session then tells nothing, as without one.
class WaylandSession final : public QObject {
    Q_OBJECT
public:
    // Which list of windows the compositor gave us.
    enum class Windows { none, wlroots, kde };

    // The compositor WAYLAND_DISPLAY names; null without one, or when it cannot be reached.
    static std::unique_ptr<WaylandSession> connectToSession(QObject *parent = nullptr);
    // The compositor at that socket (a name in XDG_RUNTIME_DIR, or a path); null when unreachable.
    static std::unique_ptr<WaylandSession> connectTo(const QString &socket, QObject *parent = nullptr);
    ~WaylandSession() override;

    // False once the connection broke.
    bool connected() const { return m_display != nullptr; }
    // The outputs the compositor has described in full, in the order it announced them.
    QList<WaylandOutput> outputs() const;
    // The other programs' windows the compositor has described in full.
    QList<WaylandToplevel> toplevels() const;
    Windows windows() const { return m_windows; }
    // The compositor has answered: every output and window it offers us is known.
    bool settled() const { return m_settled; }

signals:
    void outputsChanged();
    void toplevelsChanged();
    // The first round is answered; also when the connection broke before.
    void settledChanged();

private:
    struct State;
    explicit WaylandSession(void *display, QObject *parent);
    void readEvents();
    void flush();
    // Hands on what the events of one read changed; signals go after every callback has returned.
    void announce();
    void drop(const char *why);

    void *m_display = nullptr;
    std::unique_ptr<State> m_state;
    QSocketNotifier *m_reader = nullptr;
    QSocketNotifier *m_writer = nullptr;
    Windows m_windows = Windows::none;
    bool m_settled = false;
};
