#include "StatusNotifierRelay.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QScreen>
#include <QVariantMap>
#include <array>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcRelay, "com.velbrandtoro.Orvel.statusItem")

const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString introspectableInterface = QStringLiteral("org.freedesktop.DBus.Introspectable");
const QString itemIsMenuName = QStringLiteral("ItemIsMenu");

// The adaptor of Qt's item that speaks the item's interface.
QDBusAbstractAdaptor *itemAdaptor(QObject *item)
{
    for (QDBusAbstractAdaptor *child :
        item->findChildren<QDBusAbstractAdaptor *>(Qt::FindDirectChildrenOnly)) {
        const QMetaObject *meta = child->metaObject();
        const int info = meta->indexOfClassInfo("D-Bus Interface");
        if (info >= 0 && QLatin1String(meta->classInfo(info).value()) == itemInterface)
            return child;
    }
    return nullptr;
}
} // namespace

std::unique_ptr<StatusNotifierRelay> StatusNotifierRelay::takeOver(bool itemIsMenu)
{
    // Qt puts each tray icon on a connection of its own, named after the
    // icon: the process id and a count of every icon Qt made, also those it
    // makes only to ask whether there is a tray.
    const qint64 pid = QCoreApplication::applicationPid();
    for (int count = 1; count <= 64; ++count) {
        QDBusConnection connection(QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(pid).arg(count));
        if (!connection.isConnected())
            continue;
        QObject *item = connection.objectRegisteredAt(itemPath);
        QDBusAbstractAdaptor *adaptor = item ? itemAdaptor(item) : nullptr;
        if (!adaptor)
            continue;
        connection.unregisterObject(itemPath);
        std::unique_ptr<StatusNotifierRelay> relay(
            new StatusNotifierRelay(connection, item, adaptor, itemIsMenu));
        if (connection.registerVirtualObject(itemPath, relay.get())) {
            // Qt told the watcher of its item before it was ours: a host that
            // read it meanwhile reads it again.
            relay->emitSignal(QStringLiteral("NewStatus"), {relay->property(QStringLiteral("Status"))});
            return relay;
        }
        connection.registerObject(itemPath, item, QDBusConnection::ExportAdaptors);
        break;
    }
    qCInfo(lcRelay) << "The tray item is Qt's own: a plain click opens the menu at the pointer.";
    return nullptr;
}

StatusNotifierRelay::StatusNotifierRelay(
    QDBusConnection connection, QObject *item, QDBusAbstractAdaptor *adaptor, bool itemIsMenu)
    : m_connection(std::move(connection))
    , m_item(item)
    , m_adaptor(adaptor)
    , m_itemIsMenu(itemIsMenu)
{
    // Qt's item tells of a new icon, tool tip or status through its adaptor,
    // which no longer reaches the bus.
    const QMetaObject *meta = adaptor->metaObject();
    const QMetaMethod plain = metaObject()->method(metaObject()->indexOfSlot("relaySignal()"));
    const QMetaMethod withStatus = metaObject()->method(metaObject()->indexOfSlot("relayStatus(QString)"));
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod signal = meta->method(i);
        if (signal.methodType() != QMetaMethod::Signal)
            continue;
        if (signal.parameterCount() == 0)
            connect(adaptor, signal, this, plain);
        else if (signal.parameterCount() == 1
            && signal.parameterMetaType(0) == QMetaType::fromType<QString>())
            connect(adaptor, signal, this, withStatus);
    }
}

StatusNotifierRelay::~StatusNotifierRelay()
{
    // Qt's item goes back in its place, for Qt to take down with its icon.
    if (m_connection.isConnected() && m_connection.objectRegisteredAt(itemPath) == this) {
        m_connection.unregisterObject(itemPath);
        if (m_item)
            m_connection.registerObject(itemPath, m_item, QDBusConnection::ExportAdaptors);
    }
}

bool StatusNotifierRelay::hostShowsMenu()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

std::optional<QPoint> StatusNotifierRelay::fromPixels(QPoint pixels, const QList<Display> &displays)
{
    for (const Display &display : displays) {
        const double ratio = display.pixelRatio > 0 ? display.pixelRatio : 1;
        const QPoint corner = display.geometry.topLeft();
        const QRect covered(corner,
            QSize(int(std::lround(display.geometry.width() * ratio)),
                int(std::lround(display.geometry.height() * ratio))));
        if (!covered.contains(pixels))
            continue;
        const QPoint within = pixels - corner;
        return corner + QPoint(int(std::floor(within.x() / ratio)), int(std::floor(within.y() / ratio)));
    }
    return std::nullopt;
}

QString StatusNotifierRelay::introspect(const QString &) const
{
    if (!m_adaptor)
        return {};
    const QMetaObject *meta = m_adaptor->metaObject();
    const int info = meta->indexOfClassInfo("D-Bus Introspection");
    return info >= 0 ? QString::fromUtf8(meta->classInfo(info).value()) : QString();
}

QVariant StatusNotifierRelay::property(const QString &name) const
{
    if (name == itemIsMenuName)
        return m_itemIsMenu;
    if (!m_adaptor)
        return {};
    const QMetaObject *meta = m_adaptor->metaObject();
    const int index = meta->indexOfProperty(name.toLatin1().constData());
    if (index < meta->propertyOffset())
        return {};
    return meta->property(index).read(m_adaptor);
}

bool StatusNotifierRelay::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    if (message.path() != itemPath)
        return false;
    const QString &member = message.member();
    const QVariantList arguments = message.arguments();
    if (message.interface() == propertiesInterface) {
        const QString asked = arguments.value(0).toString();
        if (asked != itemInterface && !asked.isEmpty()) {
            connection.send(message.createErrorReply(QDBusError::UnknownInterface, asked));
            return true;
        }
        if (member == QLatin1String("Get") && arguments.size() == 2) {
            const QVariant value = property(arguments.at(1).toString());
            connection.send(value.isValid()
                    ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                    : message.createErrorReply(QDBusError::UnknownProperty, arguments.at(1).toString()));
        } else if (member == QLatin1String("GetAll")) {
            QVariantMap all;
            if (m_adaptor) {
                const QMetaObject *meta = m_adaptor->metaObject();
                for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
                    all.insert(
                        QString::fromLatin1(meta->property(i).name()), meta->property(i).read(m_adaptor));
            }
            all.insert(itemIsMenuName, m_itemIsMenu);
            connection.send(message.createReply(all));
        } else if (member == QLatin1String("Set")) {
            connection.send(
                message.createErrorReply(QDBusError::PropertyReadOnly, arguments.value(1).toString()));
        } else {
            return false;
        }
        return true;
    }
    if (message.interface() == introspectableInterface && member == QLatin1String("Introspect")) {
        connection.send(message.createReply(
            QStringLiteral(
                "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
                "\"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n")
            + introspect(itemPath)
            + QStringLiteral("  <interface name=\"org.freedesktop.DBus.Properties\">\n"
                             "    <method name=\"Get\"><arg name=\"interface_name\" type=\"s\" "
                             "direction=\"in\"/><arg name=\"property_name\" type=\"s\" direction=\"in\"/>"
                             "<arg name=\"value\" type=\"v\" direction=\"out\"/></method>\n"
                             "    <method name=\"GetAll\"><arg name=\"interface_name\" type=\"s\" "
                             "direction=\"in\"/><arg name=\"values\" type=\"a{sv}\" direction=\"out\"/>"
                             "</method>\n  </interface>\n"
                             "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
                             "    <method name=\"Introspect\"><arg name=\"xml_data\" type=\"s\" "
                             "direction=\"out\"/></method>\n  </interface>\n</node>\n")));
        return true;
    }
    if (message.interface() != itemInterface && !message.interface().isEmpty())
        return false;
    if (member == QLatin1String("Activate") && message.signature() == QLatin1String("ii")) {
        QList<Display> displays;
        for (const QScreen *screen : QGuiApplication::screens())
            displays.append({screen->geometry(), screen->devicePixelRatio()});
        const QPoint pixels(arguments.at(0).toInt(), arguments.at(1).toInt());
        emit activated(fromPixels(pixels, displays).value_or(QCursor::pos()));
        connection.send(message.createReply());
        return true;
    }
    return forward(message, connection);
}

bool StatusNotifierRelay::forward(const QDBusMessage &message, const QDBusConnection &connection)
{
    if (!m_adaptor)
        return false;
    const QVariantList arguments = message.arguments();
    if (arguments.size() > 10)
        return false;
    const QByteArray name = message.member().toLatin1();
    const QMetaObject *meta = m_adaptor->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Slot || method.name() != name
            || method.parameterCount() != arguments.size())
            continue;
        std::array<QGenericArgument, 10> passed{};
        bool fits = true;
        for (qsizetype j = 0; j < arguments.size(); ++j) {
            fits = fits && method.parameterMetaType(int(j)) == arguments.at(j).metaType();
            passed[size_t(j)] = QGenericArgument(arguments.at(j).typeName(), arguments.at(j).constData());
        }
        if (!fits)
            continue;
        method.invoke(m_adaptor, Qt::DirectConnection, passed[0], passed[1], passed[2], passed[3], passed[4],
            passed[5], passed[6], passed[7], passed[8], passed[9]);
        connection.send(message.createReply());
        return true;
    }
    return false;
}

void StatusNotifierRelay::emitSignal(const QString &name, const QVariantList &arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(itemPath, itemInterface, name);
    signal.setArguments(arguments);
    m_connection.send(signal);
}

void StatusNotifierRelay::relaySignal()
{
    if (const QObject *from = sender())
        emitSignal(QString::fromLatin1(from->metaObject()->method(senderSignalIndex()).name()), {});
}

void StatusNotifierRelay::relayStatus(const QString &status)
{
    if (const QObject *from = sender())
        emitSignal(QString::fromLatin1(from->metaObject()->method(senderSignalIndex()).name()), {status});
}
