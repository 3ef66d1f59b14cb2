#include "WidgetCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWidgetCenter, "com.velbrandtoro.Orvel.widgets")

namespace {
WidgetCenter *&installedCenter()
{
    static WidgetCenter *center = nullptr;
    return center;
}
} // namespace

WidgetCenter::~WidgetCenter()
{
    if (installedCenter() == this)
        installedCenter() = nullptr;
}

WidgetCenter &WidgetCenter::shared()
{
    if (WidgetCenter *installed = installedCenter())
        return *installed;
    static DBusWidgetCenter center;
    return center;
}

void WidgetCenter::setShared(WidgetCenter *center)
{
    installedCenter() = center;
}

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
