#pragma once

#include "DisplayIdentity.h"
#include "Geometry.h"
#include "ScreenGeometry.h"
#include "WaylandOutputs.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <optional>

class QScreen;
class QWindow;
class WaylandSession;

// One connected display as the panels see it, in screen points with y up
// (origin at the bottom left of the primary display).
struct ScreenInfo {
    // The system's name of the output ("HDMI-1"); empty when it has none.
    QString name;
    // What a person calls it: maker and model, or the output's name.
    QString localizedName;
    // What the monitor reports of itself, as Qt reads it (ids clean it,
    // edidText()); each empty when it does not say.
    QString manufacturer;
    QString model;
    QString serialNumber;
    // X11's name of the output where the compositor's differs (XWayland's "XWAYLAND0").
    QString x11Name;
    // Given once per screen object, never reused while the program runs; 0 is none.
    std::uint32_t number = 0;
    Rect frame;
    // The display without the desktop's panels and docks.
    Rect visibleFrame;
    bool primary = false;
    // The safe-area top: the height of the bar beside a camera housing; 0 without one.
    double topInset = 0;
    // The bar's parts left and right of the housing, when there is one.
    std::optional<Rect> auxiliaryTopLeftArea;
    std::optional<Rect> auxiliaryTopRightArea;

    // The measurements the panel rules use: the housing's width is the gap
    // between the two top areas (never negative), its left edge where the left area ends.
    ScreenGeometry geometry() const;
    // What tells this display from the others (its id's ingredients).
    DisplayFacts facts() const { return DisplayFacts{name, manufacturer, model, serialNumber, number}; }

    friend bool operator==(const ScreenInfo &, const ScreenInfo &) = default;
};

// The displays, the pointer and where windows go. The only code that turns
// the panels' y-up points into Qt's y-down pixels and back.
class Screens : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Screens() override;

    // In the system's order; the primary display is not necessarily first.
    virtual QList<ScreenInfo> screens() const = 0;
    // Where the mouse is now, y up.
    virtual Point pointer() const = 0;
    // Whether pointer() is right wherever the pointer is. Under XWayland the X
    // server follows the pointer only over X windows: elsewhere pointer() is
    // where it was last seen on one.
    virtual bool seesPointerEverywhere() const { return true; }

    // The primary display's rectangle in Qt's coordinates: the anchor of every conversion.
    virtual QRect primaryGeometry() const = 0;
    QRect toQt(const Rect &frame) const { return toQt(frame, primaryGeometry()); }
    QPointF toQt(Point point) const { return toQt(point, primaryGeometry()); }
    Rect fromQt(const QRectF &rect) const { return fromQt(rect, primaryGeometry()); }
    // Puts a window's frame (its content, y up) on screen.
    void place(QWindow &window, const Rect &frame) const;

    static QRect toQt(const Rect &frame, const QRect &primary);
    // A point in Qt's global coordinates, unrounded: the pointer keeps its place within its pixel.
    static QPointF toQt(Point point, const QRect &primary);
    static Rect fromQt(const QRectF &rect, const QRect &primary);
    // A point of Qt's global coordinates (an event's), y up from Qt's primary display.
    static Point fromQtGlobal(const QPointF &point);

    // "WxH" declares a camera housing of that size at the top centre; anything else none.
    static std::optional<QSizeF> parseNotch(const QString &text);
    // The screen with a housing of that size at its top centre: top areas
    // beside it, a top inset of its height and the visible frame below it.
    static ScreenInfo withNotch(ScreenInfo screen, QSizeF notch);
    // The screen as the compositor's output at its place names it: its
    // connector, and the monitor's maker and model where X11 knows none.
    static ScreenInfo withOutput(ScreenInfo screen, const WaylandOutput &output);

signals:
    // A display came, went, moved or changed size; also its usable area.
    void changed();
};

// The displays Qt reports. Linux displays have no camera housing: the
// environment variable ORVEL_TEST_NOTCH=WxH declares one on the primary display.
// On a Wayland session each display is named by the compositor's output at its place.
class SystemScreens final : public Screens {
    Q_OBJECT
public:
    explicit SystemScreens(QObject *parent = nullptr);
    // The session outlives these screens.
    explicit SystemScreens(WaylandSession &wayland, QObject *parent = nullptr);

    // The housing ORVEL_TEST_NOTCH declares; nothing on every real Linux display.
    static std::optional<QSizeF> declaredNotch();

    QList<ScreenInfo> screens() const override;
    Point pointer() const override;
    bool seesPointerEverywhere() const override { return !m_xwayland; }
    QRect primaryGeometry() const override;
    // The X server is XWayland, which says so by an extension of that name
    // (older ones only by the names of their outputs).
    static bool onXWayland();

private:
    void watch(QScreen *screen);
    void forget(QScreen *screen);

    QHash<const QScreen *, std::uint32_t> m_numbers;
    std::uint32_t m_lastNumber = 0;
    std::optional<QSizeF> m_notch;
    WaylandSession *m_wayland = nullptr;
    bool m_xwayland = false;
};
