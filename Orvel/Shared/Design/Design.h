#pragma once

#include "SkinPalette.h"

#include <QObject>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The design system's lookups for QML: texts, named assets, brand colours and
// the palette of any skin (for skin previews).
class Design : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QColor brandGreen READ brandGreen CONSTANT)
    Q_PROPERTY(QColor brandCyan READ brandCyan CONSTANT)
    Q_PROPERTY(Aura brandAura READ brandAura CONSTANT)

public:
    using QObject::QObject;

    Q_INVOKABLE QString localized(const QString &key, const QVariantList &arguments = {}) const;
    // A named colour; transparent (draws nothing) when the catalogue lacks it.
    Q_INVOKABLE QColor color(const QString &name) const;
    // The URL of a named image for Image.source; empty when the catalogue lacks it.
    Q_INVOKABLE QUrl image(const QString &name) const;
    // The palette of a skin (unknown names read as classico) over an aura.
    Q_INVOKABLE SkinPalette palette(const QString &skin, const Aura &aura) const;

    QColor brandGreen() const { return Brand::green().toQColor(); }
    QColor brandCyan() const { return Brand::cyan().toQColor(); }
    Aura brandAura() const { return Aura::brand(); }
};
