// bid_commands.h — what the bid set-up dialog's commands check before they write a bid: the
// typed amount, brought to the form the item records keep, and the quantity.
//
// An amount is read by the user's decimal mark and thousands mark: digits, at most one decimal
// mark with at most two decimals, thousands marks only between groups of three digits, a "$" in
// front allowed. It is kept as "#,##0.00" with "," grouping and "." decimals whatever the user's
// marks (a German 1.234,5 is kept as 1,234.50); an item priced in "NT$" keeps whole units,
// "#,##0". Zero, a negative amount, more than two decimals and decimals on a whole-unit item are
// improper.
#pragma once

#include <optional>
#include <string>

namespace TLMainBids {

enum class AmountCheck {
    Ok,
    Empty,       // nothing typed
    NotANumber,  // not an amount at all
    Improper,    // an amount, but not one to bid (zero, negative, too many decimals, ...)
};

struct BidAmount {
    AmountCheck check = AmountCheck::Empty;
    std::string canonical;  // when Ok
};

BidAmount Canonical_Bid_Amount(const std::string& typed, bool wholeUnits);
// An item's price in whole units ("NT$" in its current price).
bool Whole_Units_Price(const std::string& currentPrice);

// A quantity is a whole number from 1 to 9999; nothing otherwise.
std::optional<int> Bid_Quantity(const std::string& typed);

// The manual bids waiting for their validation before they are placed (Bid Now).
bool Manual_Bid_Waiting(const std::string& itemNumber);
void ResetBidCommandsForTests();

// The texts of the commands' checks.
inline constexpr const char* kMissingBidAmount = "Error! Missing Bid Amount!";
inline constexpr const char* kItemClosed = "Error! This Item Has Closed";
inline constexpr const char* kItemEndUnknown = "Error! Item End Time Unknown";
inline constexpr const char* kImproperBidAmount = "Error! Improper Bid Amount.";
inline constexpr const char* kInvalidQuantity = "Invalid Item Quantity";
inline constexpr const char* kBidTimeFormat = "Error! Bid Time Format Error";
inline constexpr const char* kBidTimeZero = "Error! Bid Time is Set to Zero";
inline constexpr const char* kBidTimeLow = "Warning! Bid Time Set Too Low for Reliable Bids";
inline constexpr const char* kAutoDialNotSet = "Auto Dial Is Not Set! Do You Wish It Set?";
inline constexpr const char* kNoBidEntered = "Error! No Bid or Invalid Bid Entered.";
inline constexpr const char* kRequestInProgress = "Error! Bid Request In Progress For This Item.";
inline constexpr const char* kBidNowWarning =
    "WARNING! You are about to place an immediate bid. Do you wish to proceed?";
inline constexpr const char* kPlaceAgain = "This bid has already been placed. Place it again?";
inline constexpr const char* kValidationFailed = "Error! Bid Validation Failed!";
inline constexpr const char* kItemNotFound = "Item Not Found In List";

}  // namespace TLMainBids
