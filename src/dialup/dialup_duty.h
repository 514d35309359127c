// dialup_duty.h — the dial-up line takes on its duties: the bid engine's dialler, the main
// window's dial timers and Connect/Hangup commands, the options dialog's dial-up page and the
// set-up wizard's connection check.
#pragma once

namespace Dialup {

// Takes the duties on for the life of the program.
void Register_Dialup();

}  // namespace Dialup
