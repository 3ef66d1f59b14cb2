#pragma once

#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The mark of a chosen option: a small dot in rivista, a check circle (or an
// empty circle) at the size plus 9 in classico.
class SelectionDotStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(bool on READ on WRITE setOn NOTIFY changed)
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY changed)

    // The system symbol to draw; empty for the dot.
    Q_PROPERTY(QString symbol READ symbol NOTIFY changed)
    Q_PROPERTY(qreal side READ side NOTIFY changed)
    Q_PROPERTY(QColor color READ color NOTIFY changed)

public:
    static constexpr double defaultSize = 6;
    static constexpr double symbolGrowth = 9;

    struct Look {
        QString symbol;
        double side = 0;
        SRGBColor color;
        friend bool operator==(const Look &, const Look &) = default;
    };
    static Look look(const SkinPalette &palette, bool on, double size);

    explicit SelectionDotStyle(QObject *parent = nullptr);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);
    bool on() const { return m_on; }
    void setOn(bool on);
    qreal size() const { return m_size; }
    void setSize(qreal size);

    QString symbol() const { return look(m_palette, m_on, m_size).symbol; }
    qreal side() const { return look(m_palette, m_on, m_size).side; }
    QColor color() const { return look(m_palette, m_on, m_size).color.toQColor(); }

signals:
    void changed();

private:
    SkinPalette m_palette;
    bool m_on = false;
    qreal m_size = defaultSize;
};
