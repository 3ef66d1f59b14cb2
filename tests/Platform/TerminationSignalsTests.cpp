#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <csignal>
#include <gtest/gtest.h>

namespace {
void ownHandler(int) { }

sighandler_t handlerOf(int number)
{
    struct sigaction current = {};
    sigaction(number, nullptr, &current);
    return current.sa_handler;
}
} // namespace

TEST(TerminationSignalsTest, TermIntAndHupArriveOnTheEventLoopInsteadOfEndingTheProcess)
{
    const struct {
        const char *name;
        QList<std::pair<int, sighandler_t>> before; // the rest are SIG_DFL
        QList<int> arriving;
    } cases[] = {
        {"as a shell starts it", {}, {SIGTERM, SIGINT, SIGHUP}},
        // nohup: the hang-up stays ignored, and so does it once torn down.
        {"under nohup", {{SIGHUP, SIG_IGN}, {SIGINT, ownHandler}}, {SIGTERM, SIGINT}},
        {"as a script's background job", {{SIGINT, SIG_IGN}}, {SIGTERM, SIGHUP}},
    };
    for (const auto &c : cases) {
        QMap<int, sighandler_t> before{{SIGTERM, SIG_DFL}, {SIGINT, SIG_DFL}, {SIGHUP, SIG_DFL}};
        for (const auto &[number, handler] : c.before)
            before[number] = handler;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            std::signal(it.key(), it.value());
        QList<int> received;
        {
            TerminationSignals terminationSignals;
            ASSERT_TRUE(terminationSignals.isInstalled());
            QObject::connect(
                &terminationSignals, &TerminationSignals::received, [&](int number) { received << number; });
            for (const int kept : {SIGHUP, SIGINT})
                EXPECT_EQ(handlerOf(kept) == SIG_IGN, before[kept] == SIG_IGN) << c.name;
            std::raise(SIGTERM);
            std::raise(SIGINT);
            std::raise(SIGHUP);
            EXPECT_TRUE(received.isEmpty()); // nothing runs inside the handler
            for (QDeadlineTimer guard(5000); received.size() < c.arriving.size() && !guard.hasExpired();)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            EXPECT_FALSE(TerminationSignals().isInstalled()); // one at a time
        }
        EXPECT_EQ(received, c.arriving) << c.name;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            EXPECT_EQ(handlerOf(it.key()), it.value()) << c.name << " " << it.key();
    }
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        std::signal(number, SIG_DFL);
}
