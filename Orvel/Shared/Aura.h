#pragma once

#include "ArtworkPalette.h"

#include <QColor>
#include <QString>
#include <optional>

// The glow colours the views take from the current cover, with an identity for
// cross-fades. Without a cover palette it is the brand's own.
struct Aura {
    QColor primary;
    QColor secondary;
    QString key;

    static Aura brand();
    // No palette gives the brand aura (the key is then ignored); otherwise the
    // key, or the primary swatch's components when there is none.
    Aura(const std::optional<ArtworkPalette> &palette, const std::optional<QString> &key);

    friend bool operator==(const Aura &, const Aura &) = default;

private:
    Aura(QColor primary, QColor secondary, QString key);
};
