// stop_signals.h — a stop asked by the system (SIGTERM at log-out, SIGINT, SIGHUP) ends the
// program at once from its event loop, whatever box is open: the end-of-run clean-up (the main
// window's unload with its saves and "Program Ended" line, the single-instance lock and socket)
// runs as after Exit, then the process ends.
#pragma once

namespace programstart {

// Installs the handlers; call once, after the application object exists.
// Also ignores SIGPIPE, as Ignore_Broken_Pipes does.
void Catch_Stop_Signals();

// A write to a connection the other side has closed fails with EPIPE instead of ending the process.
void Ignore_Broken_Pipes();

}  // namespace programstart
