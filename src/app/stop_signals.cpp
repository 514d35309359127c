#include "app/stop_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "app/program_start.h"
#include "platform/process.h"

namespace programstart {
namespace {

int g_pipe[2] = {-1, -1};

// Only what is safe inside a signal handler: one byte into the pipe.
void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

void Catch_Stop_Signals() {
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char buffer[16];
        while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
        }
        // The program ends here, whatever box is open: a box's wait is a loop of its own that an
        // event loop's exit does not end, and the code behind it must not go on as if answered.
        // Everything is saved and the end logged first, as at Exit.
        Finish();
        platform::exitProcess(0);
    });
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &sa, nullptr);
    Ignore_Broken_Pipes();
}

void Ignore_Broken_Pipes() {
    // A peer that hangs up while we write (a mail server, the service, a time server) is an
    // error from that write, read by the request that made it; never the end of the program
    // and of every armed bid with it.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, nullptr);
}

}  // namespace programstart
