#include "WaylandDesktop.h"

#include "WaylandSession.h"

#include <QGuiApplication>
#include <QScreen>

WaylandDesktop::WaylandDesktop(Desktop &x11, WaylandSession &session, QObject *parent)
    : Desktop(parent)
    , m_x11(x11)
    , m_session(session)
{
    connect(&x11, &Desktop::fullScreenChanged, this, &WaylandDesktop::refresh);
    connect(&x11, &Desktop::stackingChanged, this, &Desktop::stackingChanged);
    connect(&session, &WaylandSession::outputsChanged, this, &WaylandDesktop::refresh);
    connect(&session, &WaylandSession::toplevelsChanged, this, &WaylandDesktop::refresh);
    // A display that comes, goes or moves may now lie where a covered output lies.
    const auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &WaylandDesktop::refresh);
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, &WaylandDesktop::refresh);
    };
    if (qGuiApp) {
        const QList<QScreen *> screens = QGuiApplication::screens();
        for (QScreen *screen : screens)
            watch(screen);
        connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen *screen) {
            watch(screen);
            refresh();
        });
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, &WaylandDesktop::refresh);
    }
    refresh();
}

void WaylandDesktop::refresh()
{
    QList<DisplayPixels> displays;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens)
        displays.append(DisplayPixels{screen->geometry(), screen->devicePixelRatio()});
    QList<QRect> areas = m_x11.fullScreenAreas();
    const QList<QRect> native
        = WaylandOutputs::fullScreenAreas(displays, m_session.outputs(), m_session.toplevels());
    for (const QRect &area : native) {
        if (!areas.contains(area))
            areas.append(area);
    }
    if (areas == m_fullScreen)
        return;
    m_fullScreen = areas;
    emit fullScreenChanged();
}
