// clock_state.h — what the clock keeper and the wake-up share with the rest of the program.
#pragma once

#include <cstdint>

#include "foundation/startup.h"
#include "foundation/system_info.h"

namespace modClock {

// Milliseconds added to the PC clock when the program may not set the clock (reference minus PC).
// Kept to the millisecond: a bid goes out at the start of its second by the reference's clock.
inline int64_t ClockOffsetMs = 0;
// Whole seconds by which the PC clock differed from the reference at the last sync (PC minus
// reference, to the nearest second): the texts of the status line and the log.
inline long ClockDifference = 0;
// The last sync from the time servers failed (read by the first-run checks).
inline int16_t ClockSetFailed = 0;
// The system refused the last setting of the PC clock (no CAP_SYS_TIME, or a time service keeps
// the clock): the program keeps its own offset from then on.
inline bool ClockSetRefused = false;
// 1 while the wake-up timer that resumes the PC is armed.
inline long WakeupArmed = 0;

// User mode: the program may not set the PC clock, so its times are the PC clock plus
// ClockOffsetMs. Found at start (no right to set the clock), or learnt when the system refused.
inline bool User_Mode() {
    return (modWinInfo::OSMajorVersion == 6 && modTLMain::TokenElevationType == 3) || ClockSetRefused;
}

// What the program's times add to the PC clock now: the offset in user mode, else nothing.
inline int64_t Program_Offset_Ms() { return User_Mode() ? ClockOffsetMs : 0; }

}  // namespace modClock
