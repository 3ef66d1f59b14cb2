#pragma once

#include "WindowOutline.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWindow>
#include <cstdint>
#include <optional>

// Whether a compositing manager runs on the X11 display, and the shapes of
// our translucent windows that follow from it. Without one, the X server
// shows every clear pixel of a window black, so each window given an outline
// is clipped to it (the SHAPE extension, in device pixels); with one, the
// window keeps its full rectangle and its soft, translucent edges. The
// compositor's coming and going is heard from the owner of its selection
// (_NET_WM_CM_S<screen>) through XFixes, never polled.
//
// Off X11 instance() is null.
class X11Compositor final : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // The process's watcher, made on first use; null off X11 or without XFixes.
    static X11Compositor *instance();

    bool isCompositing() const { return m_compositing; }
    // The shape the window draws now; cheap when it did not change.
    void setOutline(QWindow &window, const WindowOutline &outline);
    // The region the window is clipped to, in device pixels; none while unclipped.
    std::optional<QRegion> clip(const QWindow &window) const;

signals:
    void compositingChanged(bool compositing);

private:
    X11Compositor(void *connection, std::uint32_t root, std::uint32_t selection, std::uint8_t firstEvent);
    ~X11Compositor() override;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;
    void apply(QWindow &window);

    struct Shaped {
        QPointer<QWindow> window;
        WindowOutline outline;
        qreal ratio = 1;
        std::optional<QRegion> clip;
    };

    void *m_connection;
    std::uint32_t m_root;
    std::uint32_t m_selection;
    std::uint8_t m_firstEvent;
    bool m_compositing = false;
    QHash<const QWindow *, Shaped> m_windows;
};
