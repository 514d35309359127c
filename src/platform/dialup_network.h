// dialup_network.h — the dial-up line as the system keeps it: the connections that dial (mobile
// broadband, CDMA, PPPoE and Bluetooth dial-up), bringing one up with an account, taking them
// down, the default connection and the connected state.
//
// Every call starts the work and returns at once; `done` runs later on the UI thread. The real
// one asks NetworkManager through nmcli; tests install a scripted fake.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The line's failures, as the dial-up messages number them.
inline constexpr int kDialNoService = 621;    // no connection manager answers
inline constexpr int kDialNoEntry = 623;      // no such connection
inline constexpr int kDialAuthFailed = 645;   // secrets missing or the account refused
inline constexpr int kDialLineBusy = 676;
inline constexpr int kDialNoAnswer = 678;     // dial timeout
inline constexpr int kDialNoCarrier = 679;
inline constexpr int kDialNoDialTone = 680;

struct DialEntry {
    std::string name;
    std::string type;      // "gsm", "cdma", "pppoe", "bluetooth"
    std::string user;      // the account kept with the connection
    std::string password;
    std::string number;    // the number it dials ("" for PPPoE and when none is kept)
};

// The account to dial with; an empty field keeps what the connection has.
struct DialAccount {
    std::string user;
    std::string password;
    std::string number;
};

class DialupNetwork {
public:
    virtual ~DialupNetwork() = default;
    // The dialling connections; `code` 0, or kDialNoService when nothing could be asked.
    virtual void listEntries(std::function<void(int code, std::vector<DialEntry> entries)> done) = 0;
    // Brings the connection up with the account; `code` 0 when it is up, else one of the codes
    // above or another number for another failure; `connection` names what came up (a copy of the
    // entry kept in memory when the account differs from the entry's). The password never goes
    // on a command line.
    virtual void dial(const std::string& entry, const DialAccount& account,
                      std::function<void(int code, std::string connection)> done) = 0;
    // Stops a dial that is under way; its `done` then reports a failure.
    virtual void cancelDial() = 0;
    // The dialling connections that are up now.
    virtual void activeDialConnections(std::function<void(std::vector<std::string> names)> done) = 0;
    // Takes the named connections down, one after the other (a copy made for an account goes).
    virtual void hangUp(const std::vector<std::string>& names, std::function<void()> done) = 0;
    // Waits up to `timeoutSecs` for the system's own connection to reach the Internet.
    virtual void bringUpDefault(int timeoutSecs, std::function<void(bool connected)> done) = 0;
    // Whether the system is online and the name of its primary connection.
    virtual void connectedState(std::function<void(bool connected, std::string name)> done) = 0;
};

// The name of the in-memory copy of `entry` that is dialled with another account.
std::string Account_Copy_Name(const std::string& entry);

DialupNetwork& dialupNetwork();
void setDialupNetworkForTests(DialupNetwork* network);  // nullptr: the real one

// The nmcli failure text and exit status read as one of the codes above (another failure keeps
// its reason number, else the exit status).
int Dial_Failure_Code(int exitStatus, const std::string& errorText);

}  // namespace platform
