// page_globals.h — the shared page values of the item-page parser (the current page and its text).
//
// Process-wide, owned by the service subsystem. The HTTP client (modWinInet) writes PageHTML;
// the page parser rewrites it in place and fills the texts. Everything runs on the UI thread.
#pragma once

#include <string>

namespace modPageParser {

inline std::string PageHTML;        // HTML of the current page (body of the last text response)
inline std::string PageText;        // plain text of the current page
inline std::string BidHistoryText;  // plain text of the bid-history page
inline std::string ShippingText;    // text used by the shipping finder
inline std::string ItemSiteBase;    // item-page base address of the item's national site

// Values parsed from the last pages, written by item adding, refreshing and the end-of-auction
// update just before their readers run.
inline std::string PageHighBidder;  // the high bidder read from the bid history
inline std::string PageBidCount;    // the number of bids
inline std::string PagePrice;       // the current price: currency word, a blank and the amount

}  // namespace modPageParser
