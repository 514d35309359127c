// connection_test.h — the Connections page's two buttons: Play runs the connection test (the
// default connection or the chosen dial-up connection, each step reported in the test panel) or
// replays the connect macro; RecordCmd records the macro or opens the default dial account.
#pragma once

#include <string>

namespace ConnectionTest {

void Play_Click();
void RecordCmd_Click();

// Said by "Record" where the desktop offers no input recording.
inline constexpr const char* kRecordUnavailable =
    "Macro recording is not available: it needs an X11 desktop with the RECORD and XTEST extensions.";

}  // namespace ConnectionTest
