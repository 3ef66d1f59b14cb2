#pragma once

#include "PanelModel.h"
#include "SkinEnvironment.h"

#include <QImage>
#include <QList>
#include <QQuickPaintedItem>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

// The drawn miniatures of the guided setup: a display with the top player
// unfolded under the notch or the sidebar at its right edge, and the top
// player dragged to another place. Every size is a fraction of the drawing's
// own width and height unless it is in points; the drawings switch to a
// richer variant above 100 points of height. Rectangles are in the drawing's
// own coordinates (y down) and never negative in size.
namespace SetupIllustration {

constexpr double richAbove = 100;
constexpr double frameRadius = 9;
constexpr double frameShade = 0.25;
constexpr double dimmedOpacity = 0.3;

// A mock player's title line over its progress track and fill.
struct TextLines {
    QRectF title; // 3 high
    QRectF track; // 2 high, as wide as the column
    QRectF fill; // 2 high at the track's leading edge
    friend bool operator==(const TextLines &, const TextLines &) = default;
};

struct SurfaceLayout {
    bool rich = false;
    double padding = 0;
    double spacing = 0; // the sidebar's column
    QRectF notch; // empty for the sidebar
    QRectF body; // the unfolded player or the sidebar
    double bodyRadius = 0;
    QRectF artwork;
    TextLines lines;
    QRectF playButton; // empty for the sidebar
    QList<QRectF> tiles; // the sidebar's shortcuts, only when rich
    friend bool operator==(const SurfaceLayout &, const SurfaceLayout &) = default;
};
SurfaceLayout surfaceLayout(SurfaceKind kind, double width, double height);

struct MoveLayout {
    QRectF notch;
    QRectF oldPlace;
    double oldPlaceRadius = 0;
    QPointF routeStart, routeControl, routeEnd;
    QRectF card;
    QRectF artwork;
    TextLines lines;
    QRectF playButton;
    QRectF pill;
    double pillRadius = 0;
    QRectF pillArtwork;
    QRectF pillLine;
    friend bool operator==(const MoveLayout &, const MoveLayout &) = default;
};
MoveLayout moveLayout(double width, double height);

// What the skin gives the mocks: the body and the accents.
struct Colors {
    QColor panel; // the aura's field under rivista, black under classico
    QColor accent; // text under rivista, accent under classico
    QColor text;
    QColor muted;
    QColor stroke;
};
Colors colors(const SkinPalette &palette, const Aura &aura);

void drawSurface(QPainter &painter, QSizeF size, SurfaceKind kind, bool enabled, const Colors &colors);
void drawMove(QPainter &painter, QSizeF size, const Colors &colors);

} // namespace SetupIllustration

// The picture of a surface choice card. Dims the mock when the surface is
// off; the display frame keeps its full opacity. Hidden from accessibility.
class SurfaceIllustration : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString kind READ kindName WRITE setKindName NOTIFY changed)
    Q_PROPERTY(bool isOn READ isOn WRITE setOn NOTIFY changed)
    Q_PROPERTY(bool rich READ rich NOTIFY changed)
    // Added to every colour of the picture while the card around it is hovered.
    Q_PROPERTY(qreal brightness READ brightness WRITE setBrightness NOTIFY changed)

public:
    explicit SurfaceIllustration(QQuickItem *parent = nullptr);

    static QImage render(
        SurfaceKind kind, bool enabled, QSize size, const SkinPalette &palette, const Aura &aura);

    SurfaceKind kind() const { return m_kind; }
    QString kindName() const { return toRawValue(m_kind); }
    void setKindName(const QString &name);
    bool isOn() const { return m_on; }
    void setOn(bool on);
    bool rich() const { return height() > SetupIllustration::richAbove; }
    qreal brightness() const { return m_brightness; }
    void setBrightness(qreal brightness);

    void componentComplete() override;
    void paint(QPainter *painter) override;

signals:
    void changed();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    SkinnedAttached *environment() const;

    SurfaceKind m_kind = SurfaceKind::notch;
    bool m_on = true;
    qreal m_brightness = 0;
    mutable EnvironmentLink m_environment;
};

// The top player dragged away from the notch. Hidden from accessibility.
class MovePlayerIllustration : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    explicit MovePlayerIllustration(QQuickItem *parent = nullptr);

    static QImage render(QSize size, const SkinPalette &palette, const Aura &aura);

    void componentComplete() override;
    void paint(QPainter *painter) override;

private:
    SkinnedAttached *environment() const;
    mutable EnvironmentLink m_environment;
};
