// dial_sequence.h — the automatic dial before a bid and the hang-up after it, as the main
// window's timers run them: SyncAutoDial dials the chosen connection, retrying with a pause
// between attempts, HangupTimer counts down to the automatic hang-up; the File menu's Connect
// and Hangup; and the bid engine's dialler (TLMainBids::AutoDialer).
//
// A dial is started and answered later: the tick that starts it returns at once and SyncAutoDial
// keeps ticking meanwhile, so Esc cancels the dial in progress.
#pragma once

#include <functional>

#include "bidding/bid_engine_links.h"

namespace platform {
class Timer;
}

namespace modRAS {

// Pictures of the phone indicator.
inline constexpr int kPhoneNotConnected = 17;
inline constexpr int kPhoneDialing = 18;
inline constexpr int kPhoneConnected = 19;

// What the dial-up line uses of the main window: its two timers and the phone indicator.
class DialWindow {
public:
    virtual ~DialWindow() = default;
    virtual platform::Timer* syncAutoDial() = 0;  // nullptr while no main window is loaded
    virtual platform::Timer* hangupTimer() = 0;
    virtual void showPhone(int picture) = 0;      // 0: shows the indicator as it is
};
DialWindow& dialWindow();
void setDialWindow(DialWindow* window);  // nullptr: none (the timers read nullptr)

// One tick of SyncAutoDial and of HangupTimer.
void SyncAutoDial_Timer();
void HangupTimer_Timer();

// The File menu's Connect and Hangup; `done` runs when the command has ended.
void MnuSubConnect_Click(std::function<void()> done = {});
void MnuSubHangup_Click(std::function<void()> done = {});

// Dial type 0: waits (bounded) for the system's connection to reach the Internet.
void Internet_Autodial(std::function<void(bool connected)> done);
// How long the system's connection is given to come up.
inline constexpr int kAutodialTimeoutSecs = 60;

// The bid engine's dialler.
class AutoDialer final : public TLMainBids::AutoDialer {
public:
    void InternetAutodial(std::function<void(bool connected)> done) override;
    void Start_Phonebook_Dial() override;
    bool Load_Connect_Macro() override;
    void Play_Macro(std::function<void()> done) override;
    void Show_Phone_Picture(int picture) override;
    void Start_Hangup_Timer() override;
};

// Forgets a dial in progress (tests).
void ResetSequenceForTests();

}  // namespace modRAS
