// bid_outcome.h — what an item's bid came to once its auction is over.
//
// One rule, read by everything that tells the user about a finished bid: the grid (the
// description's marker and the row's colour), the result update (its log line and sound), the
// result e-mail's outcome line and the bid group's win count.
//
// An ended bid is kept under one of three status words, by the road it took: "Item Closed" (it
// never went out: its validation failed, or the program missed its second), "Bid Not Confirmed"
// (the service never confirmed its placing) or "Completed". When the user's own ID (in any case)
// is the high bidder, the user's bid counted, whatever the road: it is won when the reserve was
// met, else lost. Otherwise the road tells: never placed, not confirmed, or lost. Any other status
// is no ended bid.
#pragma once

#include <string>

namespace TLMainItems {

struct AuctionItem;

inline constexpr const char* kCompleted = "Completed";
inline constexpr const char* kItemClosed = "Item Closed";
// The end of an item whose bid the service never confirmed (its placing met a server error, no
// answer, or a page without the bid's outcome) and whose user is not the winner: the bid may not
// have counted, so the item is no ordinary lost bid.
inline constexpr const char* kBidNotConfirmed = "Bid Not Confirmed";
// What a bid that never went out is told as: the grid marker's tip and the result update's log
// line say the first, the result e-mail's outcome line the second.
inline constexpr const char* kItemClosedNoBid = "Item Closed - No Bid Placed";
inline constexpr const char* kNoBidPlaced = "No Bid Placed";

enum class BidOutcome {
    Open,          // no ended bid: to come, under way, waiting for its result, or none set
    Won,           // the user is the high bidder and the reserve was met
    Lost,          // the user is the high bidder with the reserve not met, or "Completed" otherwise
    NotConfirmed,  // "Bid Not Confirmed", another bidder high
    NeverPlaced,   // "Item Closed", another bidder high (or none)
};

BidOutcome Bid_Outcome(const AuctionItem& item);

// The rule's parts, for a high bidder just read: `highBidder` is the item's user (any case,
// blanks around either aside); and that with the item's reserve met.
bool User_Is_High_Bidder(const AuctionItem& item, const std::string& highBidder);
bool Bid_Won(const AuctionItem& item, const std::string& highBidder);

}  // namespace TLMainItems
