// dial_state.h — the dial-up state shared by the bid scheduler's dial pass, the dial sequence, the
// hang-up count-down and the Esc key; with the dial settings the main window's load copies from
// [Options]. Process-wide, UI thread only.
#pragma once

#include <cstdint>
#include <string>

namespace modRAS {

// Settings: the dial type (0 the system's default connection, 1 a phone-book entry, 2 an always-on
// line, 3 the connect macro), minutes before the end to bring the line up, minutes after it to
// drop it.
inline int16_t DialType = 2;
inline int16_t ConnectTimeMins = 5;
inline int16_t HangupTimeMins = 2;

inline int16_t DialBusy = 0;         // an automatic dial started by the scheduler is under way
inline int16_t DialCancel = 0;       // the user pressed Esc to cancel the automatic dial
inline int16_t DialStep = 0;         // step of the phone-book dial sequence; 1 = begin
inline int16_t DialItem = 0;         // index of the item whose bid the dial serves
inline int16_t DialConnected = 0;    // a connection the program made is up
inline int16_t HangupCountdown = 0;  // seconds to the automatic hang-up
inline int16_t HangingUp = 0;        // the automatic hang-up is under way
inline int16_t DialWarnSecs = 0;     // the seconds last shown by the dial count-down
inline int16_t DialWarnSounded = 0;  // the dial count-down has played its sound
inline int16_t DialAttemptsLeft = 0; // attempts still allowed in this dial sequence
inline int16_t RedialCountdown = 0;  // seconds left in the pause before the next attempt

// The phone-book entry being listed or chosen, and the number of the entry last read (the
// connections kept by the system have no separate area code: DunAreaCode stays empty).
inline std::string DunConnectionName;
inline std::string DunAreaCode;
inline std::string DunPhoneNumber;
// The connection the program brought up itself (what the automatic hang-up takes down).
inline std::string OwnConnection;
// The name of the Internet connection GetConStatus last reported.
inline std::string ConnectionName;

inline void ResetDialStateForTests() {
    DialType = 2;
    ConnectTimeMins = 5;
    HangupTimeMins = 2;
    DialBusy = DialCancel = DialStep = DialItem = DialConnected = 0;
    HangupCountdown = HangingUp = DialWarnSecs = DialWarnSounded = 0;
    DialAttemptsLeft = RedialCountdown = 0;
    DunConnectionName.clear();
    DunAreaCode.clear();
    DunPhoneNumber.clear();
    OwnConnection.clear();
    ConnectionName.clear();
}

}  // namespace modRAS
