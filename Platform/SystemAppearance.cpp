#include "SystemAppearance.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString interfaceGroup = QStringLiteral("org.gnome.desktop.interface");
const QString animationsKey = QStringLiteral("enable-animations");

// The portal wraps values in one or two variants depending on its version.
QVariant unwrap(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}
} // namespace

SystemAppearance *SystemAppearance::shared()
{
    static SystemAppearance *instance = new SystemAppearance(QCoreApplication::instance());
    return instance;
}

SystemAppearance::SystemAppearance(QObject *parent)
    : QObject(parent)
{
    if (qEnvironmentVariableIsSet("ORVEL_REDUCE_MOTION"))
        m_override.reduceMotion = qEnvironmentVariableIntValue("ORVEL_REDUCE_MOTION") != 0;
    readDesktop();
}

void SystemAppearance::readDesktop()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusInterface portal(portalService, portalPath, portalSettings, bus);
    portal.setTimeout(500);
    const QDBusMessage reply = portal.call(QStringLiteral("Read"), interfaceGroup, animationsKey);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        const QVariant value = unwrap(reply.arguments().first());
        if (value.typeId() == QMetaType::Bool)
            m_desktopReduceMotion = !value.toBool();
    }
    bus.connect(portalService, portalPath, portalSettings, QStringLiteral("SettingChanged"), this,
        SLOT(onPortalSettingChanged(QString, QString, QDBusVariant)));
}

void SystemAppearance::onPortalSettingChanged(
    const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group != interfaceGroup || key != animationsKey)
        return;
    const QVariant v = unwrap(value.variant());
    if (v.typeId() != QMetaType::Bool)
        return;
    const bool reduce = !v.toBool();
    if (reduce != m_desktopReduceMotion) {
        m_desktopReduceMotion = reduce;
        emit changed();
    }
}

void SystemAppearance::setOverrides(const Overrides &overrides)
{
    m_override = overrides;
    emit changed();
}
