#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// The rules of the top player's settings page: the opacity's value text and
// whether there is any stored position to reset. The page binds the stored
// settings in and writes them itself.
class TopPlayerSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double idleOpacity READ idleOpacity WRITE setIdleOpacity NOTIFY changed)
    // Display id -> stored position.
    Q_PROPERTY(QVariantMap playerPositions READ playerPositions WRITE setPlayerPositions NOTIFY changed)

    // The slider's range.
    Q_PROPERTY(double minimumOpacity READ minimumOpacity CONSTANT)
    Q_PROPERTY(double maximumOpacity READ maximumOpacity CONSTANT)
    Q_PROPERTY(QString opacityText READ opacityText NOTIFY changed)
    Q_PROPERTY(bool canResetPositions READ canResetPositions NOTIFY changed)

public:
    using QObject::QObject;

    double idleOpacity() const { return m_idleOpacity; }
    void setIdleOpacity(double opacity);
    QVariantMap playerPositions() const { return m_playerPositions; }
    void setPlayerPositions(const QVariantMap &positions);

    static double minimumOpacity();
    static double maximumOpacity();
    // Truncated, not rounded: 0.299 shows 29%; not a number shows the default 30%.
    QString opacityText() const;
    bool canResetPositions() const { return !m_playerPositions.isEmpty(); }

signals:
    void changed();

private:
    double m_idleOpacity = 0.3;
    QVariantMap m_playerPositions;
};
