#pragma once

#include "WindowOutline.h"

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// A piece of the shape a panel's window draws, laid over the item that draws
// it (anchors.fill) with the same corners. Where nothing composites, the
// window is clipped to its visible pieces as they are placed, scaled and
// faded in now, so the desktop shows around them instead of black; the clip
// follows each frame that changes them. Draws nothing.
class PanelOutline : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal topRadius READ topRadius WRITE setTopRadius NOTIFY changed)
    Q_PROPERTY(qreal bottomRadius READ bottomRadius WRITE setBottomRadius NOTIFY changed)

public:
    explicit PanelOutline(QQuickItem *parent = nullptr);
    ~PanelOutline() override;

    qreal topRadius() const { return m_topRadius; }
    void setTopRadius(qreal radius);
    qreal bottomRadius() const { return m_bottomRadius; }
    void setBottomRadius(qreal radius);

    // The window's shown pieces in its logical pixels: visible, not wholly
    // faded out, as transformed on the way up; in the order they joined.
    static WindowOutline of(const QQuickWindow &window);

signals:
    void changed();

protected:
    void itemChange(ItemChange change, const ItemChangeData &data) override;

private:
    void leave();

    qreal m_topRadius = 0;
    qreal m_bottomRadius = 0;
    // A window going away takes its pieces' list with it.
    QPointer<QQuickWindow> m_joined;
};
