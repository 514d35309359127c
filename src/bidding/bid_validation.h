// bid_validation.h — the two requests that make a bid: validation about 30 seconds before the bid
// second, and placing at the bid second.
//
// Validate_Bid signs the bidding user in (unless another armed bid of that user already waits
// validated), posts the bid offer to the bid host and keeps the confirmation form of the answer
// as the item's confirm request; Place_Bid posts that confirm request at the bid second and reads
// the answer. Both only start their work: every request is a started request whose answer comes
// back from the event loop with that request's own result, so no other routine's wait, message
// or open window can hold a bid back, and nothing here waits for the user. The pause between the
// two validation attempts is a timer. A second attempt follows an offer that got no answer, a
// server error, or a page with neither the confirmation form nor the service's refusal; a confirm
// request is never sent twice.
//
// A bid's requests are bounded by the auction's end: the sign-in and each validation attempt get
// at most 6 seconds and never run past the end, so a silent service fails the validation before
// the bid second; placing may run until a few seconds after the end. Over HTTPS throughout.
//
// The routines keep the item's number, user, amount and quantity and find the item again after
// each wait: a validation whose item has meanwhile been disarmed, re-armed or changed is
// discarded ("Validation Result Discarded - Item <n>"). One request per item runs at a time.
#pragma once

#include <QtGlobal>
#include <string>

namespace TLMainBids {

inline constexpr qint64 kBidRequestBoundMs = 6000;   // the sign-in and each validation attempt
inline constexpr qint64 kValidationPauseMs = 2000;   // between the two validation attempts
inline constexpr qint64 kPlacingGraceMs = 5000;      // a placing may run this long past the end

// Starts validating the bid of item `index`: the item becomes "Validating Bid" at once, then
// "Bid Validated" (with its confirm request) or "Validation Failed" (BidTimeSecs 0) when the
// answer is in. Does nothing while a request of the item runs.
void Validate_Bid(int index);

// Starts placing the bid of item `index`: "Placing Bid" at once, "Bid Placed" (BidTimeSecs 0,
// the item store saved) when the answer is in or none came. One request, never resent once it
// may have reached the service. Does nothing while a request of the item runs.
// The service confirms the bid only with a 2xx page that tells its outcome (outbid, the highest
// bidder, or ended). Anything else (no answer, a server error, a page without the outcome)
// leaves the bid unconfirmed: the item's UnconfirmedBid says what the placing met ("No Answer",
// "Http Status 503"), "Bid Not Confirmed for Item <n> - <that>" is logged and shown, and the
// result update tells the item from an ordinary lost bid.
void Place_Bid(int index);

// A validation or placing of the item with this number is running.
bool Bid_Request_Running(const std::string& itemNumber);

// After a start: an item left "Validating Bid" is read back as "BidPending", one left "Placing
// Bid" as "Bid Placed" with BidTimeSecs 0 (its bid may have gone out, unconfirmed: "No
// Answer"); each change is logged
// "Bid Status Restored - Item <n> - <old> > <new>".
void Restore_Bid_Statuses();

// DataFolder + "Saved Items/" + number + "BR.html": the answer of the item's last bid request.
std::string Bid_Result_Page_Path(const std::string& itemNumber);

void ResetBidRequestsForTests();

}  // namespace TLMainBids
