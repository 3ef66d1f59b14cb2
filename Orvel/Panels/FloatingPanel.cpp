#include "FloatingPanel.h"

#include "PanelModel.h"
#include "Screens.h"
#include "X11Compositor.h"
#include "X11Desktop.h"

#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QResizeEvent>
#include <QSurfaceFormat>
#include <algorithm>
#include <cmath>
#include <utility>

PanelHostingView::PanelHostingView()
{
    setFlags(FloatingPanel::baseFlags);
    // Rounded panels: whatever the view leaves undrawn shows what lies behind.
    QSurfaceFormat surface = format();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
    setColor(Qt::transparent);
}

namespace {
QByteArray titleForLog(const QWindow &window)
{
    return window.title().isEmpty() ? QByteArrayLiteral("-") : window.title().toUtf8();
}
} // namespace

bool PanelHostingView::event(QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        // The window itself is the one area it tracks, so every crossing is its own.
        qCDebug(lcHover, "%s own=1 %s", event->type() == QEvent::Enter ? "mouseEntered" : "mouseExited",
            titleForLog(*this).constData());
        if (pointerChanged)
            pointerChanged(event->type() == QEvent::Enter);
    } else if (event->type() == QEvent::MouseMove && pointerMoved) {
        pointerMoved();
    }
    return QQuickWindow::event(event);
}

void PanelHostingView::resizeEvent(QResizeEvent *event)
{
    QQuickWindow::resizeEvent(event);
    // The tracked area follows the window's bounds; the log shows them as they now are.
    const QSize bounds = event->size();
    qCDebug(lcHover, "reset tracking %s bounds={{0, 0}, {%d, %d}}", titleForLog(*this).constData(),
        bounds.width(), bounds.height());
}

void PanelHostingView::keyPressEvent(QKeyEvent *event)
{
    // Items accept what they take; without a focused item nothing does.
    event->ignore();
    QQuickWindow::keyPressEvent(event);
    if (event->isAccepted() || event->key() != Qt::Key_Escape || !escape)
        return;
    event->accept();
    escape();
}

void PanelHostingView::mousePressEvent(QMouseEvent *event)
{
    // Qt refuses to activate a window that accepts no focus: lift that first.
    if (flags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
        if (takingFocus)
            takingFocus();
        setFlag(Qt::WindowDoesNotAcceptFocus, false);
        requestActivate();
    }
    QQuickWindow::mousePressEvent(event);
}

void PanelHostingView::focusOutEvent(QFocusEvent *event)
{
    QQuickWindow::focusOutEvent(event);
    setFlag(Qt::WindowDoesNotAcceptFocus, true);
}

FloatingPanel::FloatingPanel(Screens &screens, Desktop &desktop, Scheduler &scheduler, QQmlEngine &engine,
    const QByteArray &qml, const QVariantMap &properties)
    : PanelWindow(scheduler)
    , m_screens(screens)
    , m_desktop(desktop)
    , m_window(std::make_unique<PanelHostingView>())
{
    m_window->pointerChanged = [this](bool inside) {
        if (pointerChanged)
            pointerChanged(inside);
    };
    m_window->pointerMoved = [this] {
        if (pointerMoved)
            pointerMoved();
    };
    m_window->escape = [this] {
        if (escape)
            escape();
    };
    m_window->takingFocus = [this] { m_focusBefore = m_desktop.activeWindow(); };
    X11Desktop::floatAboveWindows(*m_window);
    // Where the compositor offers it, the glass frosts what lies behind.
    X11Desktop::setBlurBehind(*m_window, true);
    QObject::connect(&desktop, &Desktop::fullScreenChanged, m_window.get(), [this] { showAsAllowed(); });
    QObject::connect(
        &desktop, &Desktop::stackingChanged, m_window.get(), [this] { keepAboveManagedWindows(); });

    QQmlComponent component(&engine);
    component.setData(qml, QUrl(QStringLiteral("qrc:/Orvel/Panels/FloatingPanel.qml")));
    QObject *object = component.createWithInitialProperties(properties, engine.rootContext());
    m_content = qobject_cast<QQuickItem *>(object);
    if (!m_content) {
        m_contentErrors = component.isError() ? component.errorString() : QStringLiteral("not an item");
        qWarning().noquote() << "A floating panel's view could not be made:" << m_contentErrors;
        delete object;
        return;
    }
    m_content->setParentItem(m_window->contentItem());
    // The window alone decides its size, also while it is hidden; the view fills it.
    PanelHostingView *window = m_window.get();
    const auto fill = [this, window] {
        if (m_content)
            m_content->setSize(window->size());
    };
    QObject::connect(window, &QWindow::widthChanged, m_content, fill);
    QObject::connect(window, &QWindow::heightChanged, m_content, fill);
    fill();
}

FloatingPanel::~FloatingPanel()
{
    m_window->pointerChanged = nullptr;
    m_window->pointerMoved = nullptr;
    m_window->escape = nullptr;
    m_window->takingFocus = nullptr;
    delete m_content.data();
}

void FloatingPanel::applyFrame(const Rect &frame)
{
    m_screens.place(*m_window, frame);
    // Moved onto or off a display with a full-screen window.
    if (!m_desktop.fullScreenAreas().isEmpty())
        showAsAllowed();
}

void FloatingPanel::applyLevel(int)
{
    // Every level is stay-on-top, which the window's flags already say.
}

void FloatingPanel::applyCollectionBehavior(std::uint64_t behavior)
{
    // Every workspace, "show desktop" and the window cycle are the window's
    // nature on X11; only the full-screen choice acts.
    const bool changed = behavior != m_behavior;
    m_behavior = behavior;
    if (changed)
        showAsAllowed();
}

void FloatingPanel::applyTitle(const QString &title)
{
    m_window->setTitle(title);
}

void FloatingPanel::applyShadow(bool shadow)
{
    X11Desktop::setShadow(*m_window, shadow);
}

void FloatingPanel::applyIgnoresMouseEvents(bool ignores)
{
    m_window->setFlag(Qt::WindowTransparentForInput, ignores);
}

void FloatingPanel::applyVisible(bool)
{
    showAsAllowed();
}

bool FloatingPanel::keptAwayByFullScreen() const
{
    if (!(m_behavior & fullScreenNone))
        return false;
    const QRect at = m_window->geometry();
    const QList<QRect> areas = m_desktop.fullScreenAreas();
    return std::any_of(areas.begin(), areas.end(), [&at](const QRect &area) { return area.intersects(at); });
}

void FloatingPanel::showAsAllowed()
{
    const bool keptAway = keptAwayByFullScreen();
    setKeptAway(keptAway);
    if (isVisible() && !keptAway) {
        if (m_window->isVisible())
            return;
        // Mapping leaves a window where it was stacked, or on top when new: it goes just above the
        // managed windows once mapped (a compositor sorts a window it draws only from then on).
        m_window->show();
        m_desktop.raise(*m_window);
        return;
    }
    if (!m_window->isVisible())
        return;
    applyResignKey();
    m_window->hide();
    // The full-screen window has the pointer now.
    if (isVisible() && pointerChanged)
        pointerChanged(false);
}

void FloatingPanel::keepAboveManagedWindows()
{
    if (m_window->isVisible() && m_desktop.managedWindowAbove(*m_window))
        m_desktop.raise(*m_window);
}

void FloatingPanel::applyResignKey()
{
    // A press lifted the refusal; losing the focus brings it back, so it tells who holds the keyboard.
    if (m_window->flags().testFlag(Qt::WindowDoesNotAcceptFocus))
        return;
    m_window->setFlag(Qt::WindowDoesNotAcceptFocus, true);
    m_desktop.giveFocusBack(std::exchange(m_focusBefore, 0));
}

bool FloatingPanel::drawnAt(Point point) const
{
    // Without a compositor the window is cut to its outline, and X sees the pointer only there.
    const X11Compositor *compositor = X11Compositor::instance();
    const std::optional<QRegion> clip = compositor ? compositor->clip(*m_window) : std::nullopt;
    if (!clip)
        return true;
    const QPointF local
        = (m_screens.toQt(point) - QPointF(m_window->geometry().topLeft())) * m_window->devicePixelRatio();
    return clip->contains(QPoint(int(std::floor(local.x())), int(std::floor(local.y()))));
}

void FloatingPanel::applyClose()
{
    m_window->close();
}
