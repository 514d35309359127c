// clock_power_duties.h — the clock keeper and the power control take on their duties: the bid
// engine's ClockSync and PowerControl, the main window's wake-up poll and sleep timer, and the
// options dialog's sleep test.
#pragma once

namespace ClockPower {

void Register_Clock_And_Power();
// Gives every duty back (tests).
void Release_Clock_And_Power();

}  // namespace ClockPower
