#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <gtest/gtest.h>

TEST(TerminationSignalsTest, TermAndIntArriveOnTheEventLoopInsteadOfEndingTheProcess)
{
    QList<int> received;
    {
        TerminationSignals terminationSignals;
        ASSERT_TRUE(terminationSignals.isInstalled());
        QObject::connect(
            &terminationSignals, &TerminationSignals::received, [&](int number) { received << number; });
        std::raise(SIGTERM);
        std::raise(SIGINT);
        EXPECT_TRUE(received.isEmpty()); // nothing runs inside the handler
        for (QDeadlineTimer guard(5000); received.size() < 2 && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_FALSE(TerminationSignals().isInstalled()); // one at a time
    }
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT}));
    struct sigaction current = {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}
