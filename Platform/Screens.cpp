#include "Screens.h"

#include "WaylandSession.h"
#include "X11Connection.h"

#include <QCursor>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

ScreenGeometry ScreenInfo::geometry() const
{
    double notchWidth = 0;
    if (auxiliaryTopLeftArea && auxiliaryTopRightArea)
        notchWidth = std::max(auxiliaryTopRightArea->minX() - auxiliaryTopLeftArea->maxX(), 0.0);
    std::optional<double> notchMinX;
    if (auxiliaryTopLeftArea && notchWidth > 0)
        notchMinX = auxiliaryTopLeftArea->maxX();
    return ScreenGeometry(frame, visibleFrame, notchWidth, topInset, notchMinX);
}

Screens::~Screens() = default;

void Screens::place(QWindow &window, const Rect &frame) const
{
    window.setGeometry(toQt(frame));
}

QRect Screens::toQt(const Rect &frame, const QRect &primary)
{
    // Qt counts down from the primary display's top edge, the frame up from its bottom edge.
    const double left = primary.x() + frame.minX();
    const double top = primary.y() + primary.height() - frame.maxY();
    return QRect(int(std::lround(left)), int(std::lround(top)), int(std::lround(frame.width())),
        int(std::lround(frame.height())));
}

QPointF Screens::toQt(Point point, const QRect &primary)
{
    return QPointF(primary.x() + point.x, primary.y() + primary.height() - point.y);
}

Rect Screens::fromQt(const QRectF &rect, const QRect &primary)
{
    const double bottom = primary.y() + primary.height() - (rect.y() + rect.height());
    return Rect(rect.x() - primary.x(), bottom, rect.width(), rect.height());
}

Point Screens::fromQtGlobal(const QPointF &point)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return fromQt(QRectF(point, QSizeF(0, 0)), primary ? primary->geometry() : QRect()).origin;
}

std::optional<QSizeF> Screens::parseNotch(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*[xX]\\s*(\\d+(?:\\.\\d+)?)\\s*$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSizeF size(match.captured(1).toDouble(), match.captured(2).toDouble());
    if (size.width() <= 0 || size.height() <= 0)
        return std::nullopt;
    return size;
}

ScreenInfo Screens::withNotch(ScreenInfo screen, QSizeF notch)
{
    const Rect &frame = screen.frame;
    const double width = std::min(notch.width(), frame.width());
    const double height = std::min(notch.height(), frame.height());
    const double side = (frame.width() - width) / 2;
    const double top = frame.maxY() - height;
    screen.topInset = height;
    screen.auxiliaryTopLeftArea = Rect(frame.minX(), top, side, height);
    screen.auxiliaryTopRightArea = Rect(frame.maxX() - side, top, side, height);
    // The bar beside the housing is not room for windows.
    const Rect &visible = screen.visibleFrame;
    if (visible.maxY() > top)
        screen.visibleFrame
            = Rect(visible.minX(), visible.minY(), visible.width(), std::max(top - visible.minY(), 0.0));
    return screen;
}

ScreenInfo Screens::withOutput(ScreenInfo screen, const WaylandOutput &output)
{
    const QString connector = output.name.simplified();
    if (!connector.isEmpty() && connector != screen.name) {
        screen.x11Name = screen.name;
        screen.name = connector;
    }
    // A monitor X11 could read keeps what it said there.
    if (screen.manufacturer.isEmpty() && screen.model.isEmpty()) {
        screen.manufacturer = output.make.simplified();
        screen.model = output.model.simplified();
        const QString name = WaylandOutputs::displayName(output);
        if (!name.isEmpty())
            screen.localizedName = name;
    }
    return screen;
}

// MARK: - System

SystemScreens::SystemScreens(QObject *parent)
    : Screens(parent)
    , m_notch(declaredNotch())
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application)
        return;
    m_xwayland = onXWayland();
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(application, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watch(screen);
        emit changed();
    });
    connect(application, &QGuiApplication::screenRemoved, this, [this](QScreen *screen) {
        forget(screen);
        emit changed();
    });
    connect(application, &QGuiApplication::primaryScreenChanged, this, &Screens::changed);
}

SystemScreens::SystemScreens(WaylandSession &wayland, QObject *parent)
    : SystemScreens(parent)
{
    m_wayland = &wayland;
    connect(&wayland, &WaylandSession::outputsChanged, this, &Screens::changed);
}

bool SystemScreens::onXWayland()
{
    xcb_connection_t *c = x11::connection();
    if (!c)
        return false;
    static const char name[] = "XWAYLAND";
    x11::Reply<xcb_query_extension_reply_t> reply(
        xcb_query_extension_reply(c, xcb_query_extension(c, std::uint16_t(sizeof name - 1), name), nullptr));
    if (reply && reply->present)
        return true;
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
        [](const QScreen *screen) { return screen->name().startsWith(QLatin1String("XWAYLAND")); });
}

std::optional<QSizeF> SystemScreens::declaredNotch()
{
    return parseNotch(qEnvironmentVariable("ORVEL_TEST_NOTCH"));
}

void SystemScreens::watch(QScreen *screen)
{
    if (m_numbers.contains(screen))
        return;
    m_numbers.insert(screen, ++m_lastNumber);
    connect(screen, &QScreen::geometryChanged, this, &Screens::changed);
    connect(screen, &QScreen::availableGeometryChanged, this, &Screens::changed);
    // A later screen object at the same address must not inherit the number.
    connect(screen, &QObject::destroyed, this, [this, screen] { m_numbers.remove(screen); });
}

void SystemScreens::forget(QScreen *screen)
{
    disconnect(screen, nullptr, this, nullptr);
    m_numbers.remove(screen);
}

QRect SystemScreens::primaryGeometry() const
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

QList<ScreenInfo> SystemScreens::screens() const
{
    QList<ScreenInfo> result;
    const QScreen *primaryScreen = QGuiApplication::primaryScreen();
    const QRect primary = primaryGeometry();
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<std::optional<WaylandOutput>> outputs;
    if (m_wayland) {
        QList<QRect> native;
        for (const QScreen *screen : screens)
            native.append(DisplayPixels{screen->geometry(), screen->devicePixelRatio()}.native());
        outputs = WaylandOutputs::match(native, m_wayland->outputs());
    }
    for (const QScreen *screen : screens) {
        ScreenInfo info;
        info.name = screen->name();
        const QString model
            = (screen->manufacturer() + QLatin1Char(' ') + edidText(screen->model())).simplified();
        info.localizedName = model.isEmpty() ? screen->name() : model;
        info.manufacturer = screen->manufacturer();
        info.model = screen->model();
        info.serialNumber = screen->serialNumber();
        info.number = m_numbers.value(screen, 0);
        info.frame = fromQt(screen->geometry(), primary);
        info.visibleFrame = fromQt(screen->availableGeometry(), primary);
        info.primary = screen == primaryScreen;
        if (const qsizetype at = result.size(); at < outputs.size() && outputs[at])
            info = withOutput(info, *outputs[at]);
        if (info.primary && m_notch)
            info = withNotch(info, *m_notch);
        result.append(info);
    }
    return result;
}

Point SystemScreens::pointer() const
{
    // The middle of the pixel under the pointer, so a window's edge rows count as inside it.
    return fromQtGlobal(QPointF(QCursor::pos()) + QPointF(0.5, 0.5));
}
