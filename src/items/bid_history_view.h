// bid_history_view.h — the bid-history list beside a grid row: who bid, how much and when, read
// from a saved text of the item's bid-history page ("Saved Items/" + the item number + "BH.txt").
//
// The text holds a header line with "BidderBid Amount", then a line per bid: the bidder, a
// currency word ("US", "GBP", "EUR", "AU", "C") with the amount, and the date and time ending
// in "PDT" or "PST"; the nearer of the two ends each line. Lines end in CR LF (or LF alone);
// where bids follow one another with no line end, each begins where the one before ended. The
// file's text (its first kBidHistoryReadCap bytes) is kept in a variable of its own (the
// bid-history page's BidHistoryText is left to the high-bidder reader). A missing file empties
// the list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "items/item_window_links.h"

namespace TLMainItems {

inline constexpr long kBidHistoryWidth = 4600;   // twips
inline constexpr long kBidHistoryHeight = 2200;
// What is read of a saved bid history: a page of a few thousand bids fits whole; of a larger
// file only the bids within this start are listed (the list is filled while the window waits).
inline constexpr long long kBidHistoryReadCap = 256LL << 10;

// The list's rows and the text of the last file read.
inline std::vector<BidHistoryRow> BidHistoryRows;
inline std::string BidHistoryFileText;
// Where the list is and whether it shows.
inline TwipRect BidHistoryArea;
inline bool BidHistoryShown = false;

// Sets the list up: its size and three columns ("User ID", "Bid Amount", "Bid Date/Time").
void Init_Bid_History_Grid();
// Whether the item's bid-history page is saved: the hover shows the list only then.
bool Bid_History_Saved(const std::string& ItemNum);
// Fills the list for the item on grid row `Row` and shows it next to that row, as much larger
// than its set-up size as the grid shows its columns wider.
void Show_Bid_History(long Row);
// Reads the item's saved bid history into the list.
void Load_Bid_History_File(const std::string& ItemNum);
void Hide_Bid_History();

// The rows of a bid-history text.
std::vector<BidHistoryRow> Read_Bid_History(std::string_view text);

void ResetBidHistoryForTests();

}  // namespace TLMainItems
