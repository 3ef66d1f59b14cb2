#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

class QSocketNotifier;

// A Wayland compositor that a test scripts, on libwayland-server: it offers
// outputs and wlroots' list of other programs' windows, as a test sets them,
// and may misbehave as a compositor can (outputs that come and go, windows
// on outputs the client never heard of, a protocol error, going away).
// It runs on the test's event loop; every change is flushed to the clients at once.
class ScriptedCompositor {
public:
    // Listening at that absolute path; in a folder of its own when none is given.
    explicit ScriptedCompositor(const QString &socket = {});
    ~ScriptedCompositor();
    ScriptedCompositor(const ScriptedCompositor &) = delete;
    ScriptedCompositor &operator=(const ScriptedCompositor &) = delete;

    // The socket's absolute path, as WAYLAND_DISPLAY may name it.
    QString socket() const { return m_socket; }
    bool running() const;

    // An output at that place, described to every client that binds it; its index.
    int addOutput(const QString &name, const QString &make, const QString &model, const QRect &area);
    // The output's global goes; clients that bound it keep their object until they let go.
    void removeOutput(int output);

    // A window of another program on those outputs; its index.
    int addToplevel(bool fullScreen, const QList<int> &outputs);
    void setToplevel(int toplevel, bool fullScreen, bool minimized, const QList<int> &outputs);
    void closeToplevel(int toplevel);
    // Tells each window's clients it entered that output's object again, whatever became of it.
    void enterAgain(int toplevel, int output);

    // Ends the connection of every client with an error on its window list.
    void breakProtocol();
    // Goes away as a compositor that exits: every connection closes.
    void exit();

    struct State;

private:
    void dispatch();

    QTemporaryDir m_dir;
    QString m_socket;
    std::unique_ptr<State> m_state;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
