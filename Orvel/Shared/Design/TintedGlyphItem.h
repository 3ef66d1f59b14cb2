#pragma once

#include "SkinEnvironment.h"

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>
#include <optional>

// What every painted glyph item shares: a size in points, a frame that many
// times the size as its implicit size, and a foreground that follows the
// environment palette's text colour until set.
class TintedGlyphItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY sizeChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor RESET resetColor NOTIFY colorChanged)

public:
    static constexpr qreal defaultSize = 16;

    qreal size() const { return m_size; }
    void setSize(qreal size);
    QColor color() const;
    void setColor(const QColor &color);
    void resetColor();

    void componentComplete() override;

signals:
    void sizeChanged();
    void colorChanged();

protected:
    TintedGlyphItem(qreal frameScale, QQuickItem *parent);

private:
    SkinnedAttached *environment() const;

    const qreal m_frameScale;
    qreal m_size = defaultSize;
    std::optional<QColor> m_color;
    mutable EnvironmentLink m_environment;
};
