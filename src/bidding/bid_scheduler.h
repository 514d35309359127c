// bid_scheduler.h — the bid scheduler: the main window's ScanItems timer, four ticks a second.
//
// Each tick carries every armed item through its bid states at fixed distances from its end
// (R = seconds to the end, B = the item's BidTimeSecs):
//   0 < R <= B + 60   an empty or "OutBid" status becomes "BidPending"; the one-minute warning
//   0 < R <= B + 30   a "BidPending" item is validated
//   0 < R <= B        a "Bid Validated" item is placed
//   R <= 0            an armed item not yet closed becomes "Item Closed" (a missed bid)
//   R <= -5           a "Bid Placed" or "Validation Failed" item gets its result update
// then brings a connection up before the bid of items marked for automatic dialing, and, when
// no bid is near and nothing downloads, turns a queued item add or list refresh into a deferred
// request. Validation and placing only start here: their answers come later and nothing the
// tick does waits for them. An item whose end time does not read is left alone.
//
// End times are read once per change of an item's EndTime; a tick over the list costs a string
// comparison per armed item.
#pragma once

#include <QtGlobal>
#include <optional>

namespace TLMainBids {

inline constexpr int kScanItemsIntervalMs = 250;

inline constexpr const char* kMinuteWarningText = "WARNING! A BID WILL BE PLACED IN 1 MINUTE!";

// One tick of the scheduler (the ScanItems timer's event).
void ScanItems_Timer();

// A bid whose validation the auction's end cut off: closed as a missed bid ("Item Closed", its
// log line, the missed-bid message), saved; nothing more is sent for it.
void Close_Cut_Off_Bid(int index);

// The program's current time in milliseconds since the epoch: the PC clock, plus the clock
// offset where the program may not set the clock.
qint64 Program_Now_Ms();
// Item `index`'s end in milliseconds since the epoch; nothing when its end time does not read.
std::optional<qint64> Item_End_Ms(int index);
// Whole seconds from the program's time to item `index`'s end (0 or less: ended); nothing when
// its end time does not read.
std::optional<long> Item_Remaining_Secs(int index);

void ResetSchedulerForTests();
// Every part of the bid engine back to its start: the scheduler, the request slot, the bid and
// result requests in flight (let go), and the engine's shared flags and dial state.
void ResetBidEngineForTests();

}  // namespace TLMainBids
