#include "clockpower/clock_power_duties.h"

#include "clockpower/clock_sync.h"
#include "clockpower/power_control.h"

namespace ClockPower {

void Register_Clock_And_Power() {
    TLMainBids::setBidLink<TLMainBids::ClockSync>(&modClockSync::clockKeeper());
    modPwrCtrl::PowerKeeper& power = modPwrCtrl::powerKeeper();
    TLMainBids::setBidLink<TLMainBids::PowerControl>(&power);
    TLMainServices::setService<TLMainServices::PowerAndDial>(&power);
    SetupLinks::setSetupLink<SetupLinks::Power>(&power);
}

void Release_Clock_And_Power() {
    TLMainBids::setBidLink<TLMainBids::ClockSync>(nullptr);
    TLMainBids::setBidLink<TLMainBids::PowerControl>(nullptr);
    TLMainServices::setService<TLMainServices::PowerAndDial>(nullptr);
    SetupLinks::setSetupLink<SetupLinks::Power>(nullptr);
}

}  // namespace ClockPower
