#include "MenuTracker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMenu>

MenuTracker::MenuTracker(QObject *parent)
    : QObject(parent)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

MenuTracker::~MenuTracker()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool MenuTracker::eventFilter(QObject *watched, QEvent *event)
{
    // The window system's own show and hide of a popup come as spontaneous
    // events besides Qt's; counting only Qt's counts each menu once.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && !event->spontaneous()
        && qobject_cast<QMenu *>(watched)) {
        if (type == QEvent::Show)
            emit began();
        else
            emit ended();
    }
    return false;
}
