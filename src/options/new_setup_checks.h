// new_setup_checks.h — what the set-up wizard checks besides the sign-in: that the service's web
// server can be reached, and that the clock can be synchronised.
//
// Tests register fakes here. Otherwise the connection is tried through the program's HTTP client,
// and the clock check runs the program's clock keeper (the ClockSync duty of the bid engine); it
// reports that no synchronisation was made while no clock keeper is registered.
#pragma once

namespace SetupChecks {

class ConnectionCheck {
public:
    virtual ~ConnectionCheck() = default;
    // GetConStatusAlt: 1 when a test connection to the service's web server succeeded within
    // 5 seconds, else 0. Logs the outcome.
    virtual long GetConStatusAlt() = 0;
};

class ClockCheck {
public:
    virtual ~ClockCheck() = default;
    // Synchronises the clock, trying the first time server first (TimeServerIndex 0, then
    // SetSysClock); true when it was set, false when ClockSetFailed.
    virtual bool Sync_Clock_From_First_Server() = 0;
};

ConnectionCheck& connection();
ClockCheck& clock();
void setConnectionCheck(ConnectionCheck* check);  // nullptr: the HTTP client's check
void setClockCheck(ClockCheck* check);            // nullptr: the clock keeper's check

// The connection check's deadline.
inline constexpr long kConnectionCheckMs = 5000;

}  // namespace SetupChecks
