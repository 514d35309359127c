// user_state.h — the program user in use and the process-wide values that the options dialog sets.
//
// The options and users windows own these values; lower parts of the program read them here.
#pragma once

#include <cstdint>
#include <string>

namespace UserState {

inline std::string CurrentUserID;  // the auction-service user in use; "" = no user
inline int16_t SignInTest = 0;     // the options dialog's sign-in test is running (test wording, clipboard report)
inline int32_t TimeFormat12 = 0;   // 1 = times are shown with am/pm

inline void ResetForTests() {
    CurrentUserID.clear();
    SignInTest = 0;
    TimeFormat12 = 0;
}

}  // namespace UserState
