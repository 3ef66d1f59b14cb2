#include "Announcer.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QLocale>
#include <QLoggingCategory>
#include <QMap>

namespace {
Q_LOGGING_CATEGORY(lcAccessibility, "com.velbrandtoro.Orvel.accessibility")

// AT-SPI's numbers (atspi-constants.h).
constexpr uint notificationRole = 101;
constexpr uint enabledState = 8;
constexpr uint sensitiveState = 24;
constexpr uint showingState = 25;
constexpr uint visibleState = 30;

const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
// The application's own object, which Qt's bridge serves on the same connection.
const QDBusObjectPath rootPath(QStringLiteral("/org/a11y/atspi/accessible/root"));

// An object on the accessibility bus: its connection's name and its path.
struct Reference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Reference &reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Reference &reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

struct Relation {
    uint type = 0;
    QList<Reference> targets;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Relation &relation)
{
    argument.beginStructure();
    argument << relation.type << relation.targets;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Relation &relation)
{
    argument.beginStructure();
    argument >> relation.type >> relation.targets;
    argument.endStructure();
    return argument;
}
} // namespace

Q_DECLARE_METATYPE(Reference)
Q_DECLARE_METATYPE(Relation)

// The announcements as AT-SPI accessibles: just enough of the Accessible
// interface for a screen reader to learn what it is, that it shows and what it says.
class ScreenReaderAnnouncer::Notifications final : public QDBusVirtualObject {
public:
    explicit Notifications(QDBusConnection connection)
        : m_connection(std::move(connection))
    {
        qDBusRegisterMetaType<Reference>();
        qDBusRegisterMetaType<QList<Reference>>();
        qDBusRegisterMetaType<Relation>();
        qDBusRegisterMetaType<QList<Relation>>();
        qDBusRegisterMetaType<QMap<QString, QString>>();
        m_registered = m_connection.registerVirtualObject(announcementsPath, this, QDBusConnection::SubPath);
    }
    ~Notifications() override
    {
        if (m_registered)
            m_connection.unregisterObject(announcementsPath, QDBusConnection::UnregisterTree);
    }

    bool isRegistered() const { return m_registered; }
    bool serves(const QDBusConnection &connection) const
    {
        return connection.isConnected() && connection.baseService() == m_connection.baseService();
    }

    void show(const QString &text)
    {
        m_texts.insert(++m_count, text);
        while (m_texts.size() > keptAnnouncements)
            m_texts.erase(m_texts.begin()); // the oldest
        const QString path = announcementsPath + QLatin1Char('/') + QString::number(m_count);
        QDBusMessage signal = QDBusMessage::createSignal(
            path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
        signal << QStringLiteral("showing") << 1 << 0 << QVariant::fromValue(QDBusVariant(0))
               << QVariant::fromValue(root());
        m_connection.send(signal);
    }

    QString introspect(const QString &) const override
    {
        return QStringLiteral("<interface name=\"org.a11y.atspi.Accessible\"/>");
    }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString prefix = announcementsPath + QLatin1Char('/');
        if (!message.path().startsWith(prefix))
            return false;
        const auto text = m_texts.constFind(message.path().mid(prefix.size()).toULongLong());
        if (text == m_texts.cend())
            return false;
        const QString member = message.member();
        QVariantList reply;
        if (message.interface() == propertiesInterface) {
            if (member == QLatin1String("Get") && message.arguments().size() == 2)
                reply << QVariant::fromValue(
                    QDBusVariant(property(message.arguments().at(1).toString(), *text)));
            else if (member == QLatin1String("GetAll"))
                reply << properties(*text);
            else
                return false;
        } else if (message.interface() == accessibleInterface || message.interface().isEmpty()) {
            if (member == QLatin1String("GetRole"))
                reply << notificationRole;
            else if (member == QLatin1String("GetRoleName")
                || member == QLatin1String("GetLocalizedRoleName"))
                reply << QStringLiteral("notification");
            else if (member == QLatin1String("GetState"))
                reply << QVariant::fromValue(QList<uint>{(1u << enabledState) | (1u << sensitiveState)
                        | (1u << showingState) | (1u << visibleState),
                    0u});
            else if (member == QLatin1String("GetAttributes"))
                reply << QVariant::fromValue(QMap<QString, QString>());
            else if (member == QLatin1String("GetInterfaces"))
                reply << QStringList{accessibleInterface};
            else if (member == QLatin1String("GetApplication"))
                reply << QVariant::fromValue(root());
            else if (member == QLatin1String("GetChildren"))
                reply << QVariant::fromValue(QList<Reference>());
            else if (member == QLatin1String("GetIndexInParent"))
                reply << 0;
            else if (member == QLatin1String("GetRelationSet"))
                reply << QVariant::fromValue(QList<Relation>());
            else
                return false;
        } else {
            return false;
        }
        connection.send(message.createReply(reply));
        return true;
    }

private:
    Reference root() const { return {m_connection.baseService(), rootPath}; }

    QVariant property(const QString &name, const QString &text) const
    {
        if (name == QLatin1String("Name"))
            return text;
        if (name == QLatin1String("Parent"))
            return QVariant::fromValue(root());
        if (name == QLatin1String("ChildCount"))
            return 0;
        if (name == QLatin1String("Locale"))
            return QLocale().name();
        return QString(); // Description, AccessibleId
    }

    QVariantMap properties(const QString &text) const
    {
        QVariantMap all;
        for (const char *name : {"Name", "Description", "Parent", "ChildCount", "Locale", "AccessibleId"})
            all.insert(QLatin1String(name), property(QLatin1String(name), text));
        return all;
    }

    QDBusConnection m_connection;
    bool m_registered = false;
    quint64 m_count = 0;
    // By number, so the first is the oldest.
    QMap<quint64, QString> m_texts;
};

Announcer::~Announcer() = default;

ScreenReaderAnnouncer::ScreenReaderAnnouncer() = default;
ScreenReaderAnnouncer::~ScreenReaderAnnouncer() = default;

void ScreenReaderAnnouncer::announce(const QString &text)
{
    qCInfo(lcAccessibility).noquote() << "Announcement:" << text;
    // Qt connects to the accessibility bus only while assistive technology is
    // on; it may also reconnect, so the objects follow its current connection.
    const QDBusConnection bus(accessibilityConnection);
    if (!bus.isConnected()) {
        m_notifications.reset();
        return;
    }
    if (!m_notifications || !m_notifications->serves(bus))
        m_notifications = std::make_unique<Notifications>(bus);
    if (m_notifications->isRegistered())
        m_notifications->show(text);
}
