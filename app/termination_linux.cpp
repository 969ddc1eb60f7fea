#include "termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int s_pipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here: the notifier does the real work.
    [[maybe_unused]] const ssize_t n = ::write(s_pipe[1], &byte, 1);
}

} // namespace

void handleTerminationSignals(std::function<void()> onTerminate)
{
    if (s_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_pipe) != 0)
        return;
    ::fcntl(s_pipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier
        = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(
        notifier, &QSocketNotifier::activated, notifier, [onTerminate = std::move(onTerminate)]() {
            char buffer[16];
            [[maybe_unused]] const ssize_t n = ::read(s_pipe[0], buffer, sizeof buffer);
            onTerminate();
        });
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}
