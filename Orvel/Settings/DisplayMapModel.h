#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The display map's tiles for the size the map is given: where each display
// is drawn, whether it carries panels, and what it says to accessibility.
class DisplayMapModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The catalogue's displays as it hands them to views.
    Q_PROPERTY(QVariantList displays READ displays WRITE setDisplays NOTIFY changed)
    Q_PROPERTY(QStringList activeIDs READ activeIDs WRITE setActiveIDs NOTIFY changed)
    Q_PROPERTY(qreal width READ width WRITE setWidth NOTIFY changed)
    Q_PROPERTY(qreal height READ height WRITE setHeight NOTIFY changed)
    // {display, id, number, name, primary, active, x, y, width, height,
    // accessibleName, accessibleValue}, one per display in list order.
    Q_PROPERTY(QVariantList tiles READ tiles NOTIFY changed)

public:
    using QObject::QObject;

    QVariantList displays() const { return m_displays; }
    void setDisplays(const QVariantList &displays);
    QStringList activeIDs() const { return m_activeIDs; }
    void setActiveIDs(const QStringList &ids);
    qreal width() const { return m_width; }
    void setWidth(qreal width);
    qreal height() const { return m_height; }
    void setHeight(qreal height);

    QVariantList tiles() const;

signals:
    void changed();

private:
    QVariantList m_displays;
    QStringList m_activeIDs;
    qreal m_width = 0;
    qreal m_height = 0;
};
