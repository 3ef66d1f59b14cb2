#include "HelpTip.h"

#include "SkinEnvironment.h"
#include "SkinToolTip.h"

#include <QApplication>
#include <QTextDocument>

namespace {
bool widgetsRun()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance());
}

HelpTip::Display systemDisplay()
{
    return {[](const QPoint &at, const QString &text, const SkinPalette &palette) {
                if (widgetsRun())
                    SkinToolTip::shared().showText(at, text, palette);
            },
        [] {
            if (widgetsRun())
                SkinToolTip::shared().hide();
        }};
}

HelpTip::Display &display()
{
    static HelpTip::Display current = systemDisplay();
    return current;
}
} // namespace

QCoro::Task<void> showHelpTipLater(Scheduler &scheduler, QPointer<HelpTip> tip, TaskHandle self)
{
    const bool slept = co_await scheduler.sleep(HelpTip::delay, self);
    if (!slept || !tip)
        co_return;
    tip->show();
}

QString HelpTip::systemText(const QString &text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

void HelpTip::setDisplay(const Display &replacement)
{
    display() = replacement.show ? replacement : systemDisplay();
}

HelpTip::HelpTip(QQuickItem *parent)
    : QQuickItem(parent)
{
}

HelpTip::~HelpTip()
{
    m_pending.cancel();
    if (m_shown)
        display().hide();
}

void HelpTip::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged();
    if (m_shown)
        show();
}

void HelpTip::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    emit activeChanged();
    m_pending.cancel();
    m_pending = {};
    if (!active) {
        hide();
        return;
    }
    Scheduler &scheduler = Scheduler::current();
    m_pending = scheduler.spawn([&scheduler, tip = QPointer<HelpTip>(this)](
                                    TaskHandle self) { return showHelpTipLater(scheduler, tip, self); });
}

void HelpTip::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if ((change == ItemVisibleHasChanged && !value.boolValue) || change == ItemSceneChange)
        hide();
}

void HelpTip::show()
{
    if (m_text.isEmpty() || !isVisible() || !window())
        return;
    // Just below the control, centred on it.
    display().show(
        mapToGlobal(QPointF(width() / 2, height())).toPoint(), m_text, Skinned::of(this)->palette());
    setShown(true);
}

void HelpTip::hide()
{
    if (!m_shown)
        return;
    display().hide();
    setShown(false);
}

void HelpTip::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    emit shownChanged();
}
