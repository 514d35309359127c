// bid_engine_state.h — the values of the bid engine that lower parts of the program read.
//
// The bid engine's scheduler writes them; the page parser reads them for its log line of the
// end-of-auction update, the heartbeat, the commands and the bid set-up dialog read the others.
// Process-wide, UI thread only.
#pragma once

#include <cstdint>
#include <string>

namespace TLMainState {

// The deferred request being run: "DoAddItem", "DoUpdateBid", "DoUpdateItems" or "".
inline std::string PendingRequest;
// The index in Items (from 1) of the item the bid engine is working on.
inline int16_t PendingRequestItem = 0;

// Some armed item is inside its last minute before its bid time: refreshes, adds and alarms wait.
inline int16_t MinuteWarningGiven = 0;
// Queued by the heartbeat and the commands, turned into deferred requests by the scheduler when
// no bid is near: an add of the item in the item-number box, and a refresh of the list.
inline int16_t AddPending = 0;
inline int16_t AutoUpdateDue = 0;
// 1: the end-of-auction update asks the heartbeat to put the PC to sleep when nothing is pending.
inline int32_t SleepRequested = 0;

}  // namespace TLMainState
