#include "WidgetCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWidgetCenter, "com.velbrandtoro.Orvel.widgets")

WidgetCenter::~WidgetCenter() = default;

void DBusWidgetCenter::reloadTimelines(const QString &kind)
{
    if (!m_bus.isConnected()) {
        qCDebug(lcWidgetCenter) << "No session bus; widget reload of" << kind << "dropped";
        return;
    }
    QDBusMessage message = QDBusMessage::createSignal(objectPath, interface, signalName);
    message << kind;
    if (!m_bus.send(message))
        qCWarning(lcWidgetCenter) << "Cannot send the widget reload:" << m_bus.lastError().message();
}

void DBusWidgetCenter::reloadAllTimelines()
{
    reloadTimelines(QString());
}
