// clock_state.h — what the clock keeper shares with the rest of the program.
#pragma once

namespace modClock {

// Whole seconds added to the PC clock when the program may not set the clock.
inline long ClockOffset = 0;
// 1 while the wake-up timer that resumes the PC is armed.
inline long WakeupArmed = 0;

}  // namespace modClock
