#include "Announcer.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

namespace {

// A screen reader's side: hears StateChanged events on the bus and asks the
// object an event names what it is.
class Listener : public QObject {
    Q_OBJECT
public:
    explicit Listener(QDBusConnection connection)
        : m_connection(std::move(connection))
    {
        m_connection.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
            QStringLiteral("StateChanged"), this, SLOT(heard(QDBusMessage)));
    }
    bool waitFor(qsizetype count)
    {
        for (QDeadlineTimer guard(5000); events.size() < count && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        return events.size() >= count;
    }
    QVariant ask(const QDBusMessage &event, const QString &interface, const QString &method,
        const QVariantList &arguments = {}) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(event.service(), event.path(), interface, method);
        call.setArguments(arguments);
        const QDBusMessage reply = m_connection.call(call, QDBus::BlockWithGui, 5000);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
    }
    QString name(const QDBusMessage &event) const
    {
        const QVariant value = ask(event, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"), {QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("Name")});
        return qvariant_cast<QDBusVariant>(value).variant().toString();
    }
    QList<uint> state(const QDBusMessage &event) const
    {
        const QVariant value
            = ask(event, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetState"));
        QList<uint> words;
        qvariant_cast<QDBusArgument>(value) >> words;
        return words;
    }

    QList<QDBusMessage> events;

public slots:
    void heard(const QDBusMessage &message) { events.append(message); }

private:
    QDBusConnection m_connection;
};

} // namespace

// Each announcement comes into view as a notification named by its text, on
// the connection Qt's bridge keeps to the accessibility bus.
TEST(ScreenReaderAnnouncerTest, AnnouncementsReachTheAccessibilityBusAsShowingNotifications)
{
    PrivateBus bus;
    const QDBusConnection bridge
        = QDBusConnection::connectToBus(bus.address(), ScreenReaderAnnouncer::accessibilityConnection);
    Listener listener(bus.connection());
    bus.connection().call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("GetId"))); // the match rule is in place once the bus answered
    ScreenReaderAnnouncer announcer;
    const QStringList texts{
        QStringLiteral("Playing Morning"), QStringLiteral("Spotify is taking too long to respond.")};
    for (const QString &text : texts)
        announcer.announce(text);
    ASSERT_TRUE(listener.waitFor(2));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].toStdString());
        const QDBusMessage &event = listener.events[i];
        EXPECT_EQ(event.service(), bridge.baseService());
        EXPECT_EQ(event.arguments().value(0).toString(), "showing");
        EXPECT_EQ(event.arguments().value(1).toInt(), 1);
        EXPECT_EQ(listener.ask(event, "org.a11y.atspi.Accessible", "GetRole").toUInt(), 101u); // notification
        EXPECT_EQ(listener.name(event), texts[i]); // the earlier one keeps its own
        const QList<uint> state = listener.state(event);
        ASSERT_EQ(state.size(), 2);
        EXPECT_TRUE(state[0] & (1u << 25)); // showing
    }
    // Only the last few stay to be read: the oldest goes first.
    for (int i = 0; i < ScreenReaderAnnouncer::keptAnnouncements; ++i)
        announcer.announce(QString::number(i));
    ASSERT_TRUE(listener.waitFor(2 + ScreenReaderAnnouncer::keptAnnouncements));
    EXPECT_EQ(listener.name(listener.events[1]), QString());
    EXPECT_EQ(listener.name(listener.events[2]), "0");
    EXPECT_EQ(
        listener.name(listener.events.last()), QString::number(ScreenReaderAnnouncer::keptAnnouncements - 1));
    QDBusConnection::disconnectFromBus(ScreenReaderAnnouncer::accessibilityConnection);
}

#include "AnnouncerTests.moc"
