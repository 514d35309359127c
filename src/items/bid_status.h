// bid_status.h — the verdict on an item with a maximum bid after its page values changed.
//
// The item's grid row is painted for one of four verdicts: the user is the high bidder
// (ColorHiBid); the maximum bid still leads the price (ColorBid, or ColorWintally in a bid
// group); outbid (ColorOutBid, a tie included once the item has bids); the maximum is below the
// minimum bid (the "My Bid" cell in ColorOutBid). An ended bid is painted by its outcome
// (bid_outcome.h): won ColorHiBid, lost or not confirmed ColorOutBid, never placed not at all.
// Cells whose values changed under an alarm are painted ColorAlert. Only with Notify does an
// outbid or minimum-bid verdict warn in the status line, sound the alert and mark the item
// "OutBid" (only over "" or "BidPending": a bid under way keeps its status so its result is still
// fetched). An item warns once until its status changes, also one whose status stays its bid's
// own.
//
// Amounts are read by their own marks (stored_amounts.h); an item whose price, maximum or
// minimum bid does not read gets no verdict on it.
#pragma once

#include <cstdint>
#include <string>

#include "items/bid_outcome.h"

namespace TLMainItems {

struct AuctionItem;

inline constexpr const char* kOutBid = "OutBid";

// Judges item `ItemIndex` shown on grid row `Row` (0: not shown, nothing painted).
void Update_Bid_Status(int ItemIndex, int Row, bool Notify);

// A new bid on the item is being placed: an outbid after it is warned about again, even when the
// item comes back to the status it was warned under.
void Forget_Bid_Warning(const AuctionItem& item);

// Forgets which items were warned about under their bid's own status.
void ResetBidStatusForTests();

// A [section] key read as a Boolean: "True"/"False" (any case) or a number, 0 being false.
bool Config_True(const std::string& section, const std::string& key, bool def);

}  // namespace TLMainItems
