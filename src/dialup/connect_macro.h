// connect_macro.h — the connect macro: the user's keyboard and mouse input recorded once into
// "Connect.mac" in the data folder and replayed, with its pauses, whenever the line must come up
// that way (dial type 3).
//
// The file is the events back to back, 20 bytes each (five little-endian 32-bit numbers:
// message, paramL, paramH, the pause after the event in milliseconds, window); record 0 holds the
// number of events in its first field. Recording ends with Esc or a Windows key (not recorded).
// The replay runs on the program's timers, one event per step, so the window, the heartbeat and
// the bids go on between events; Esc held stops it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace SysHook {

struct MacroEvent {
    int32_t message = 0;
    int32_t paramL = 0;
    int32_t paramH = 0;
    int32_t time = 0;
    int32_t hwnd = 0;
    bool operator==(const MacroEvent&) const = default;
};

inline constexpr const char* kMacroFile = "Connect.mac";
inline constexpr int kMacroRecordBytes = 20;

// The events: element 0 is the count record, events from 1.
inline std::vector<MacroEvent> MacroEvents(1);
// While recording: events so far; while replaying: the event being replayed.
inline int32_t MacroPos = 0;

// Reads Connect.mac into MacroEvents. False when it is missing or holds no events, and when its
// count disagrees with its size (logged; nothing of it is kept). Never creates the file.
bool Load_Connect_Macro();
// The file's bytes for MacroEvents[0..count].
std::string Macro_File_Bytes(const std::vector<MacroEvent>& events);

// Starts recording; `ended` runs when the recording has ended (the file written) or could not
// start, so the caller shows its windows again. False when recording is unavailable.
bool Start_Macro_Recording(std::function<void()> ended);
// Ends the recording and writes the file (owner-only permissions).
void Stop_Macro_Recording();
bool Recording();

// Replays MacroEvents; `done` runs when every event is replayed or Esc stopped it.
void Play_Macro(std::function<void()> done);
bool Playing();

// The record step for one input event (what the recorder delivers).
void Journal_Record_Proc(int32_t message, int32_t paramL, int32_t paramH, int32_t time, int32_t hwnd);

// Forgets a recording or replay in progress (tests).
void ResetForTests();

}  // namespace SysHook
