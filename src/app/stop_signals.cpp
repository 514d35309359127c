#include "app/stop_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "foundation/config_store.h"
#include "foundation/program_end.h"

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
        // Settings changed since the last save are not lost; then every event loop, nested ones
        // too, ends and the start-up's finish cleans up.
        if (modTLC::ConfigDirty) modTLC::Save_Config_File();
        modTLMain::Run_Program_End_Saves();
        QCoreApplication::exit(0);
    });
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &sa, nullptr);
}

}  // namespace programstart
