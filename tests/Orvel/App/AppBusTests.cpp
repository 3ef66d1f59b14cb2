#include "AppBus.h"
#include "ManualScheduler.h"
#include "QtPrinters.h"
#include "Scheduler.h"
#include "SpotifyPlaybackIntent.h"
#include "fixtures/FakeSpotify.h"

#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

namespace {
// A second client of the private bus, as another process would be.
class Peer {
public:
    explicit Peer(const PrivateBus &bus)
        : m_name(QStringLiteral("peer-%1").arg(++counter()))
        , connection(QDBusConnection::connectToBus(bus.address(), m_name))
    {
    }
    ~Peer() { QDBusConnection::disconnectFromBus(m_name); }

private:
    static int &counter()
    {
        static int value = 0;
        return value;
    }
    QString m_name;

public:
    QDBusConnection connection;
};

// Runs the event loop until the call is answered; a guard, not a pause.
QDBusMessage await(const QDBusPendingCall &call)
{
    for (QDeadlineTimer guard(10000); !call.isFinished() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return call.reply();
}

QDBusMessage callApp(QDBusConnection &connection, const QString &member, const QVariantList &arguments)
{
    auto message
        = QDBusMessage::createMethodCall(AppBus::serviceName, AppBus::objectPath, AppBus::interface, member);
    message.setArguments(arguments);
    return await(connection.asyncCall(message));
}

class AppBusTest : public ::testing::Test {
protected:
    PrivateBus bus;
    SystemScheduler clock;
    ScopedScheduler installed{clock};

    void TearDown() override { SpotifyPlaybackIntent::setPerformer({}); }
};

TEST_F(AppBusTest, OnlyOneClaimHoldsTheNameUntilItsOwnerLeaves)
{
    auto first = std::make_unique<Peer>(bus);
    Peer second(bus);
    auto owner = std::make_unique<AppBus>(first->connection);
    AppBus later(second.connection);
    EXPECT_EQ(owner->claim(), AppBus::Claim::owned);
    EXPECT_EQ(later.claim(), AppBus::Claim::taken);
    EXPECT_EQ(later.claim(), AppBus::Claim::taken); // no queueing: a refusal stays a refusal

    owner.reset(); // the owning process ends
    first.reset();
    AppBus::Claim retried = AppBus::Claim::taken;
    for (QDeadlineTimer guard(5000); retried != AppBus::Claim::owned && !guard.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        retried = later.claim();
    }
    EXPECT_EQ(retried, AppBus::Claim::owned);
    Peer third(bus);
    EXPECT_EQ(AppBus(third.connection).claim(), AppBus::Claim::taken);

    EXPECT_EQ(AppBus(QDBusConnection(QStringLiteral("never-connected"))).claim(), AppBus::Claim::noBus);
}

TEST_F(AppBusTest, ForwardedUrlsArriveInOrderAndAnEmptyLaunchAsksForTheDashboard)
{
    Peer app(bus);
    Peer launcher(bus);
    AppBus owner(app.connection);
    ASSERT_EQ(owner.claim(), AppBus::Claim::owned);
    QList<QUrl> received;
    int handOvers = 0;
    QObject::connect(&owner, &AppBus::urlsReceived, [&](const QList<QUrl> &urls) { received += urls; });
    QObject::connect(&owner, &AppBus::showDashboardRequested, [&] { ++handOvers; });

    const QStringList urls{"orvel://shortcuts", "orvel://player", "orvel://"};
    EXPECT_EQ(callApp(launcher.connection, "OpenURLs", {urls}).type(), QDBusMessage::ReplyMessage);
    for (QDeadlineTimer guard(5000); received.isEmpty() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(received, (QList<QUrl>{QUrl("orvel://shortcuts"), QUrl("orvel://player"), QUrl("orvel://")}));

    AppBus second(launcher.connection);
    EXPECT_TRUE(second.forward({}));
    for (QDeadlineTimer guard(5000); handOvers == 0 && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(handOvers, 1);
    EXPECT_EQ(AppBus::showDashboardNotification(), "com.velbrandtoro.Orvel.showDashboard");
}

TEST_F(AppBusTest, CallsOfOneTurnArriveAsOneBoundedBurst)
{
    Peer app(bus);
    AppBus owner(app.connection);
    QList<QList<QUrl>> bursts;
    QObject::connect(&owner, &AppBus::urlsReceived, [&](const QList<QUrl> &urls) { bursts << urls; });

    const QString tooLong = "orvel://shortcuts/" + QString(AppBus::maxURLLength, 'a');
    QStringList flood{tooLong};
    for (int i = 0; i < 1000; ++i)
        flood << QStringLiteral("orvel://player/%1").arg(i);
    owner.OpenURLs(flood);
    EXPECT_TRUE(bursts.isEmpty()); // answered before any link is handled
    for (int call = 0; call < 10; ++call)
        owner.OpenURLs(flood.mid(1, 40));
    QCoreApplication::processEvents();
    ASSERT_EQ(bursts.size(), 1);
    const QList<QUrl> &burst = bursts.first();
    ASSERT_EQ(burst.size(), AppBus::maxPendingURLs);
    EXPECT_EQ(burst.first(), QUrl("orvel://player/0"));
    EXPECT_EQ(burst.at(AppBus::maxURLsPerCall - 1), QUrl("orvel://player/63"));
    EXPECT_EQ(burst.at(AppBus::maxURLsPerCall), QUrl("orvel://player/0")); // the next call's first

    owner.OpenURLs({"orvel://shortcuts"});
    QCoreApplication::processEvents();
    ASSERT_EQ(bursts.size(), 2);
    EXPECT_EQ(bursts.last(), QList<QUrl>{QUrl("orvel://shortcuts")});
    EXPECT_EQ(AppBus::acceptedURLs({tooLong.left(AppBus::maxURLLength), tooLong}).size(), 1);
}

TEST_F(AppBusTest, AFloodOfDroppedLinksIsLoggedAsOneCountedLine)
{
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
              if (text.startsWith("Dropped"))
                  logged << text;
          });
    ManualScheduler manual;
    ScopedScheduler onManual(manual);
    Peer app(bus);
    {
        AppBus owner(app.connection);
        QStringList hundred;
        for (int i = 0; i < 100; ++i)
            hundred << QStringLiteral("orvel://player/%1").arg(i);
        // Each call drops 36 past its own bound, each turn 64 past the turn's.
        for (int turn = 0; turn < 10; ++turn) {
            for (int call = 0; call < 5; ++call)
                owner.OpenURLs(hundred);
            manual.advance(0.05);
        }
        EXPECT_TRUE(logged.isEmpty());
        manual.advance(1);
        EXPECT_EQ(logged, QStringList{"Dropped 2440 URLs: too many or too long"});

        owner.OpenURLs(hundred);
        manual.advance(1);
        EXPECT_EQ(logged.size(), 2);
        owner.OpenURLs(hundred);
    }
    // What is still counted when the bus goes is not lost.
    EXPECT_EQ(logged.value(2), "Dropped 36 URLs: too many or too long");
    qInstallMessageHandler(previous);
}

TEST_F(AppBusTest, ForwardingToANameWithoutOwnerAsksForAnotherClaim)
{
    Peer launcher(bus);
    EXPECT_FALSE(AppBus(launcher.connection).forward({"orvel://player"}));
}

TEST_F(AppBusTest, ThePlaybackIntentAnswersOkOrItsError)
{
    Peer app(bus);
    Peer widgets(bus);
    AppBus owner(app.connection);
    ASSERT_EQ(owner.claim(), AppBus::Claim::owned);
    auto perform = [&](const QString &action) {
        const QDBusMessage reply = callApp(widgets.connection, "PerformPlaybackIntent", {action});
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString()
                                                          : reply.errorName();
    };

    // Where no process performs the intent, as in the widget extension.
    EXPECT_EQ(perform("toggle"), "requiresApp");

    QStringList performed;
    SpotifyPlaybackIntent::setPerformer([&](WidgetPlaybackAction action) -> QCoro::Task<void> {
        performed << toRawValue(action);
        if (action == WidgetPlaybackAction::next)
            throw PlaybackIntentError();
        co_return;
    });
    EXPECT_EQ(perform("previous"), "ok");
    EXPECT_EQ(perform("next"), "requiresApp");
    EXPECT_EQ(perform("Toggle"), "org.freedesktop.DBus.Error.InvalidArgs");
    EXPECT_EQ(performed, (QStringList{"previous", "next"}));
}

} // namespace
