#pragma once

#include "SkinPalette.h"

#include <QColor>
#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The small views' rules for QML: the panel keys, the compact ground and the
// sidebar tab's grip.
class SurfaceRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Leading to trailing, each {action: "settings" | "keepOpen" | "close", glyph, label (localised)}.
    Q_INVOKABLE QVariantList panelKeys(bool includesClose) const;
    // {base: "none" | "glass" | "surfaceGround", tint: "black" | "field", tintOpacity}.
    Q_INVOKABLE QVariantMap compactGround(bool translucent, qreal idleOpacity, bool notch,
        const QString &skin, bool light, bool reduceTransparency) const;
    Q_INVOKABLE QColor gripColor(const SkinPalette &palette, bool playing) const;
};
