#pragma once

#include "SkinPalette.h"

#include <QLabel>
#include <QPoint>

// The help tip's top-level label in the popup look. QToolTip would frame
// it in the widget style's own colours. Like QToolTip it hides at a click,
// a key or the wheel, and it stays on the screen it is shown on.
class SkinToolTip : public QLabel {
    Q_OBJECT
public:
    // The one label of the application, made on first use.
    static SkinToolTip &shared();

    // Centred under `at`, which is the bottom centre of what it explains.
    void showText(const QPoint &at, const QString &text, const SkinPalette &palette);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    SkinToolTip();
};
