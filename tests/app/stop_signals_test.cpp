// The program's signal set-up: a peer that hangs up while the program writes is an error of that
// write, never the program's end.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "app/stop_signals.h"

namespace {

void setDisposition(int signal, void (*handler)(int)) {
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    ::sigaction(signal, &sa, nullptr);
}

TEST(StopSignalsTest, AWriteToAClosedPipeFailsWithEpipeAndTheProgramGoesOn) {
    setDisposition(SIGPIPE, SIG_DFL);  // as a process starts
    programstart::Catch_Stop_Signals();

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const char byte = 'x';
    errno = 0;
    // Without the set-up the default action ends this test program here.
    EXPECT_EQ(::write(fds[1], &byte, 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(fds[1]);

    for (int s : {SIGTERM, SIGINT, SIGHUP}) setDisposition(s, SIG_DFL);
    setDisposition(SIGPIPE, SIG_IGN);
}

}  // namespace
