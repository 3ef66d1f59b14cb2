#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler may only write to a descriptor: the self-pipe.
int pipeEnds[2] = {-1, -1};
// A SIGHUP ignored from the start (nohup) means "outlive the terminal", a
// SIGINT ignored from the start "not for the terminal's Ctrl-C" (a shell's
// background job without job control): both stay ignored.
struct Taken {
    int number;
    bool leftIgnored;
};
constexpr Taken taken[] = {{SIGTERM, false}, {SIGINT, true}, {SIGHUP, true}};
// What each was before, put back at teardown.
struct sigaction found[std::size(taken)];

void onSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto written = ::write(pipeEnds[0], &byte, 1);
    errno = saved;
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (pipeEnds[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        return;
    for (const int end : pipeEnds)
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(taken); ++i) {
        ::sigaction(taken[i].number, nullptr, &found[i]);
        const bool ignored = !(found[i].sa_flags & SA_SIGINFO) && found[i].sa_handler == SIG_IGN;
        if (!(taken[i].leftIgnored && ignored))
            ::sigaction(taken[i].number, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(taken); ++i)
        ::sigaction(taken[i].number, &found[i], nullptr);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::drain()
{
    unsigned char byte = 0;
    while (::read(pipeEnds[1], &byte, 1) == 1)
        emit received(byte);
}
