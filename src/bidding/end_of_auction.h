// end_of_auction.h — the result update after an auction with a bid has ended.
//
// UpdateBid fetches the item's bid history and item page (over HTTPS, each a started request),
// records the final price, bid count and high bidder, decides won or lost for the bidding user,
// counts a win in the item's bid group, queues the result for e-mail and, when no other result is
// outstanding, starts the e-mail and lets the PC sleep. The deferred request "DoUpdateBid" runs
// it; the request slot keeps that name until the update's last step. The update finds its item
// by number after each download, and writes the shared page values (BidHistoryText, PageHTML,
// PageHighBidder, ...) just before the reader that needs them. A page answered with a refusal or a
// server error, or an item page that shows none of an item page's marks (an error or sign-in page
// answered 200), is one that did not come (asked for once more, then the update fails and the
// item keeps what it showed). Unless its user is the high bidder ("Completed", won or lost by the
// reserve), an item whose validation failed ends "Item Closed" (its bid never went out, logged
// "End of Auction Update - Item <n> - Item Closed - No Bid Placed" with no sound), one whose
// placing the service did not confirm ends "Bid Not Confirmed" (logged "... - Bid Not Confirmed -
// <what the placing met>" where a lost bid logs "Bid Lost"), any other "Completed". The outcome is
// the rule of bid_outcome.h, which the grid and the result e-mail read too.
#pragma once

#include <QtGlobal>
#include <functional>
#include <string>

#include "foundation/busy_holds.h"

namespace TLMainBids {

// Starts the result update of the item with this number. `downloadHold` is the DownloadBusy
// hold the request was filed with (one is taken when it holds none); it is given back once the
// item page is in. `done` runs after the last step, or at once when the item is gone.
void UpdateBid(const std::string& itemNumber, TLMainState::BusyHold downloadHold, std::function<void()> done);

// The PC is to sleep after item `index`'s bid: [Options] AutoSleep is 1, or bit 2 of the item's
// AfterBidOptions is set.
bool Get_AfterBidSleepStatus(int index);

// The words of the update's outcome in the status line.
// Each result page (bid history, item page) has this long to arrive; the update holds the request
// slot and the download guard meanwhile, so it never waits on a silent service.
inline constexpr qint64 kResultPageBoundMs = 20000;
inline constexpr const char* kWinnerUnknown = "Winning Bidder ID Not Available! Check Listing for Winner.";

void ResetEndOfAuctionForTests();

}  // namespace TLMainBids
