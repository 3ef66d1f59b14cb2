#include "SkinToolTip.h"

#include "HelpTip.h"
#include "PopupStyle.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <algorithm>

SkinToolTip &SkinToolTip::shared()
{
    static QPointer<SkinToolTip> tip;
    if (!tip)
        tip = new SkinToolTip;
    return *tip;
}

SkinToolTip::SkinToolTip()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::BypassGraphicsProxyWidget)
{
    setObjectName(QStringLiteral("helpTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The text is escaped before it is set: rich text that draws it as typed.
    setTextFormat(Qt::RichText);
    setFont(PopupStyle::tipFont().toQFont());
}

// Every event of the application passes the filter: only while it is shown.
void SkinToolTip::showEvent(QShowEvent *event)
{
    qApp->installEventFilter(this);
    QLabel::showEvent(event);
}

void SkinToolTip::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QLabel::hideEvent(event);
}

void SkinToolTip::showText(const QPoint &at, const QString &text, const SkinPalette &palette)
{
    setStyleSheet(PopupStyle::tipStyleSheet(palette));
    setText(HelpTip::systemText(text));
    adjustSize();
    const QScreen *screen = QGuiApplication::screenAt(at);
    const QRect room = (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry();
    const int gap = 4;
    QPoint place(at.x() - width() / 2, at.y() + gap);
    place.setX(std::clamp(place.x(), room.left(), std::max(room.left(), room.right() + 1 - width())));
    place.setY(std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() + 1 - height())));
    move(place);
    show();
}

bool SkinToolTip::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (isVisible())
            hide();
        break;
    default:
        break;
    }
    return QLabel::eventFilter(watched, event);
}
