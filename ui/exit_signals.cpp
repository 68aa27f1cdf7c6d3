/// @file exit_signals.cpp The self-pipe between the signal handler and the event loop.
#include "ui/exit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

#include "ui/Tavrek95.h"

namespace {

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_pending = 0;
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void OnSignal(int signal)
{
    // Only what a signal handler may do: the window reacts in the event loop.
    if (g_pending) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_pending = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void Handle(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

}  // namespace

void WatchExitSignals(TForm1& form)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, &form);
    QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form] {
        char byte = 0;
        while (::read(g_pipe[0], &byte, 1) > 0) {
        }
        form.CloseBySignal();
        g_pending = 0;
    });
    QObject::connect(notifier, &QObject::destroyed, [] { Handle(SIG_DFL); });
    g_pending = 0;
    Handle(OnSignal);
}
