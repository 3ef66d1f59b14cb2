#include "PanelOutline.h"

#include "X11Compositor.h"

#include <QQuickWindow>

namespace {
// The pieces of one window, and the window's clip kept in step with them.
class OutlineFollower final : public QObject {
public:
    explicit OutlineFollower(QQuickWindow &window)
        : QObject(&window)
    {
        setObjectName(name);
        X11Compositor *compositor = X11Compositor::instance();
        if (!compositor)
            return;
        const auto follow = [this, compositor, &window] {
            if (!compositor->isCompositing())
                compositor->setOutline(window, PanelOutline::of(window));
        };
        // Every frame that moves, scales or fades a piece passes here first.
        connect(&window, &QQuickWindow::afterAnimating, this, follow);
        connect(&window, &QWindow::visibleChanged, this, follow);
        connect(compositor, &X11Compositor::compositingChanged, this, follow);
    }

    static OutlineFollower *of(const QQuickWindow &window)
    {
        // Without a meta-object of its own, findChild would take any child for one.
        return dynamic_cast<OutlineFollower *>(window.findChild<QObject *>(name, Qt::FindDirectChildrenOnly));
    }

    static inline const QString name = QStringLiteral("orvel-panel-outline");

    QList<QPointer<PanelOutline>> pieces;
};

double opacityOnScreen(const QQuickItem &item)
{
    double opacity = 1;
    for (const QQuickItem *at = &item; at; at = at->parentItem())
        opacity *= at->opacity();
    return opacity;
}
} // namespace

PanelOutline::PanelOutline(QQuickItem *parent)
    : QQuickItem(parent)
{
}

PanelOutline::~PanelOutline()
{
    leave();
}

void PanelOutline::setTopRadius(qreal radius)
{
    if (qFuzzyCompare(m_topRadius, radius))
        return;
    m_topRadius = radius;
    emit changed();
}

void PanelOutline::setBottomRadius(qreal radius)
{
    if (qFuzzyCompare(m_bottomRadius, radius))
        return;
    m_bottomRadius = radius;
    emit changed();
}

void PanelOutline::itemChange(ItemChange change, const ItemChangeData &data)
{
    QQuickItem::itemChange(change, data);
    if (change != ItemSceneChange)
        return;
    leave();
    if (!data.window)
        return;
    OutlineFollower *follower = OutlineFollower::of(*data.window);
    if (!follower)
        follower = new OutlineFollower(*data.window);
    follower->pieces.append(this);
    m_joined = data.window;
}

void PanelOutline::leave()
{
    if (!m_joined)
        return;
    if (OutlineFollower *follower = OutlineFollower::of(*m_joined))
        follower->pieces.removeAll(this);
    m_joined = nullptr;
}

WindowOutline PanelOutline::of(const QQuickWindow &window)
{
    WindowOutline outline;
    const OutlineFollower *follower = OutlineFollower::of(window);
    if (!follower)
        return outline;
    for (const PanelOutline *piece : follower->pieces) {
        if (!piece || !piece->isVisible() || piece->width() <= 0 || piece->height() <= 0
            || opacityOnScreen(*piece) <= 0)
            continue;
        const QRectF placed = piece->mapRectToScene(QRectF(0, 0, piece->width(), piece->height()));
        // A scaled ancestor scales the corners with the piece.
        const double scale = placed.width() / piece->width();
        outline.pieces.append({placed, piece->topRadius() * scale, piece->bottomRadius() * scale});
    }
    return outline;
}
