// power_control.h — sleep between bids and wake-up before the next one.
//
// A wake-up alarm (platform/wake_alarm.h) is armed 6 minutes plus the bid's lead time before the
// earliest bid moment of the pending bids. After a bid's result the program stays awake when the
// user is at the mouse or the wake-up is less than 15 minutes away (the display is then kept on
// with one activity poke), or, after a 20-second count-down the user can cancel, it asks the login
// manager for standby or hibernation ([Options] PwrSleepMode: non-zero standby, 0 hibernation).
// When the sleep timer fires, the machine goes to sleep only when nothing is under way (a
// request, a bid being validated or placed or waiting for its result, a result e-mail) and the
// next bid's wake-up is armed and at least 15 minutes ahead; else it stays awake and logs why.
// The program never shuts the machine down, restarts it or logs the user off.
#pragma once

#include <QDateTime>
#include <string>

#include "bidding/bid_engine_links.h"
#include "mainwindow/tl_main_services.h"
#include "options/setup_links.h"

namespace modPwrCtrl {

// The time (local, the program's clock) the wake-up was last set for by Set_Next_Bid_Wakeup.
inline QDateTime WakeupTime;

// How far away a wake-up must be for the machine to sleep, and the lead before a bid's moment.
inline constexpr long kMinSleepSecs = 900;
inline constexpr long kWakeLeadSecs = 360;

// Arms the wake-up for that local time (the PC clock); WakeupArmed 1 when it was armed.
void Set_Wakeup_Timer(const QDateTime& when);
// Arms the wake-up for the earliest pending bid moment, or cancels it when no bid is pending.
void Set_Next_Bid_Wakeup();
// Disarms the wake-up so it can no longer wake the PC; WakeupArmed 0.
void Cancel_Wakeup_Timer();
// Some item has a bid armed (BidTimeSecs 1 or more) and has not ended.
bool Bids_Pending();
// After a bid's result: sleep until the next bid when `sleep` (the item's after-bid choice) and
// the user is away. Started: returns at once; the e-mail wait and the count-down run on timers.
void Sleep_Until_Next_Bid(bool sleep);
// Looks, without waiting, whether the armed wake-up has gone off.
void Check_Wakeup_Timer();
// The mouse moved 11 pixels or more across or down since the last look.
bool Have_User_Input();
// The sleep timer fired: standby or hibernation when nothing stands against it.
void SleepTimer_Timer();
// Asks the login manager for standby (true) or hibernation; a refusal goes to the error log.
void Suspend(bool standby);
// The options dialog's sleep test: arms the wake-up for that time; what comes of the sleep (a
// reason to stay awake, a refused sleep, the wake-up) is shown to the user in a box.
void Start_Sleep_Test(const QDateTime& wakeAt);

// Back to the start (tests).
void ResetPowerForTests();

// The program's power duties: the bid engine's PowerControl, the main window's wake-up poll and
// sleep timer, and the options dialog's sleep test.
class PowerKeeper final : public TLMainBids::PowerControl,
                          public TLMainServices::PowerAndDial,
                          public SetupLinks::Power {
public:
    void Set_Next_Bid_Wakeup() override { modPwrCtrl::Set_Next_Bid_Wakeup(); }
    bool Bids_Pending() override { return modPwrCtrl::Bids_Pending(); }
    void Sleep_Until_Next_Bid(bool sleepAfterBid) override { modPwrCtrl::Sleep_Until_Next_Bid(sleepAfterBid); }
    bool Have_User_Input() override { return modPwrCtrl::Have_User_Input(); }
    void Check_Wakeup_Timer() override { modPwrCtrl::Check_Wakeup_Timer(); }
    void Enter_Sleep_Mode() override { modPwrCtrl::SleepTimer_Timer(); }
    void Start_Sleep_Timer() override;
    // The options dialog's sleep test arms this wake-up.
    void Set_Wakeup_Timer(const QDateTime& when) override { modPwrCtrl::Start_Sleep_Test(when); }
};

PowerKeeper& powerKeeper();

}  // namespace modPwrCtrl
