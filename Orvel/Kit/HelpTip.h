#pragma once

#include "Scheduler.h"
#include "SkinPalette.h"

#include <QPoint>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>
#include <functional>

// A control's help text as a real top-level tooltip: a small panel window
// would clip one drawn inside it. It shows once the pointer has rested on
// the control for `delay` seconds and hides when the pointer leaves.
// Lay it over the control and bind `active` to the control's hover state.
class HelpTip : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)

public:
    static constexpr double delay = 0.7;

    // Where tooltips appear: a label in the control's skin in a widgets
    // application, nowhere otherwise; tests put their own in place (an empty
    // one restores it).
    struct Display {
        std::function<void(const QPoint &at, const QString &text, const SkinPalette &palette)> show;
        std::function<void()> hide;
    };
    static void setDisplay(const Display &display);
    // The text as the label is given it: a label reads anything that looks
    // like markup as rich text, so the help text goes in as escaped plain text.
    static QString systemText(const QString &text);

    explicit HelpTip(QQuickItem *parent = nullptr);
    ~HelpTip() override;

    QString text() const { return m_text; }
    void setText(const QString &text);
    bool active() const { return m_active; }
    void setActive(bool active);
    bool shown() const { return m_shown; }

signals:
    void textChanged();
    void activeChanged();
    void shownChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    friend QCoro::Task<void> showHelpTipLater(Scheduler &, QPointer<HelpTip>, TaskHandle);
    void show();
    void hide();
    void setShown(bool shown);

    QString m_text;
    bool m_active = false;
    bool m_shown = false;
    TaskHandle m_pending;
};
