// stop_signals.h — a stop asked by the system (SIGTERM at log-out, SIGINT, SIGHUP) ends the
// program through its event loop, so the end-of-run clean-up (the single-instance lock and
// socket, the configuration save) runs as after a normal exit.
#pragma once

namespace programstart {

// Installs the handlers; call once, after the application object exists.
void Catch_Stop_Signals();

}  // namespace programstart
