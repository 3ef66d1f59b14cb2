#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <gtest/gtest.h>

TEST(TerminationSignalsTest, TermIntAndHupArriveOnTheEventLoopInsteadOfEndingTheProcess)
{
    QList<int> received;
    {
        TerminationSignals terminationSignals;
        ASSERT_TRUE(terminationSignals.isInstalled());
        QObject::connect(
            &terminationSignals, &TerminationSignals::received, [&](int number) { received << number; });
        std::raise(SIGTERM);
        std::raise(SIGINT);
        std::raise(SIGHUP);
        EXPECT_TRUE(received.isEmpty()); // nothing runs inside the handler
        for (QDeadlineTimer guard(5000); received.size() < 3 && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_FALSE(TerminationSignals().isInstalled()); // one at a time
    }
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGHUP}));
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current = {};
        sigaction(number, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
    }
}
