// ras.h — the dial-up line: dialling the chosen connection with its account or the default
// account, hanging up, the list of dialling connections for the options dialog, and the two
// connection checks. Every call starts its work and returns; `done` follows on the UI thread,
// so no dial, hang-up or check holds up a tick or a bid.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bidding/dial_state.h"
#include "platform/dialup_network.h"

class QComboBox;

namespace modRAS {

// Dials DUN ConName: with the default account when DUN DefaultStatus is on and the account is
// complete, else with the entry's stored account (its own number). `done` gets 0 when connected,
// 623 when no entry is configured, else the failure's number.
void RAS_Dial(std::function<void(int code)> done);

// Which connections a hang-up takes down: every dialling connection (the user's commands and the
// test), or only the one the program brought up itself (the automatic hang-up and a failed dial).
enum class HangUpScope { AllDial, Own };
// Takes the connections down, then lets about 4 seconds pass. It starts only when no bid is
// less than a minute away and no request runs; until then it waits, looking once a second.
void Hang_Up_All(HangUpScope scope, std::function<void()> done = {});
// A bid is less than a minute away or a request runs: a hang-up now could cost it.
bool Hang_Up_Held();

// The dialling connections as last listed, and listing them again.
const std::vector<platform::DialEntry>& Dial_Entries();
void Refresh_Dial_Entries(std::function<void()> done);

// Reads the number of `entry` into DunPhoneNumber (DunAreaCode stays empty); 0 when the entry is
// known, else 623.
int Get_RAS_Entry_Phone(const std::string& entry);

// Fills the options dialog's entry list once the connections are listed: names of entries that
// can be dialled unattended, "?? - " before the others, else "No Connections Available"; selects
// DUN Conidx.
void Load_DUN_Entries(QComboBox& list);

// The user chose list entry `index` with text `listText`: DUN Conidx, ConName, Username,
// Password and Phone are written.
void Choose_DUN_Entry(const std::string& listText, int index);

// The system reports an Internet connection; ConnectionName is set. The started form and the
// form that waits (yielding) for it.
void GetConStatus(std::function<void(bool connected)> done);
bool GetConStatus();

// 1 when a connection to the service's web server, port 80, is made within 5 seconds, else 0;
// logged either way.
void GetConStatusAlt(std::function<void(long connected)> done);
long GetConStatusAlt();

// Runs `fn` once after `ms` on the program's timers.
void After_Ms(int ms, std::function<void()> fn);
// Forgets every After_Ms still to run (tests).
void Drop_Pending_Timers();

}  // namespace modRAS
