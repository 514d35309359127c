// auction_item.h — the item record and the process-wide item list.
//
// Items[0] is never an item: it is the header of the store file (item count and format
// version), rewritten at each save. Items occupy Items[1] to Items[ItemCount] and every loop
// over the list runs in that order; the grid shows them in that order too. Everything runs on
// the UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TLMainItems {

// One auction item. The members are kept in the order of the store file (item_store.h); texts
// are the program's UTF-8 bytes.
struct AuctionItem {
    std::string ItemNumber;      // 0  the service's item number (digits); header: the item count
    std::string Title;           // 1  header: the store's format version "41"
    std::string EndTime;         // 2  local end "date time" as the page parser writes it, or "No End Date"
    std::string CurrentPrice;    // 3  currency word, a blank and the amount
    std::string BidCount;        // 4
    std::string Reserved1;       // 5
    std::string MinBid;          // 6
    std::string HighBidder;      // 7  the high bidder's ID or a marker such as "No Bids Yet"
    std::string Seller;          // 8  "ID (score) 99.8%"
    std::string CommentText;     // 9  the user's comment (also called Comment)
    std::string Shipping;        // 10 shipping cost, "Free" or "See Listing"
    std::string Category;        // 11
    std::string UserID;          // 12 the auction-service user whose item and bid this is
    std::string AlarmState;      // 13 change bits as decimal text: 1 end, 2 bid count, 4 price
    std::string MaxBid;          // 14 the user's maximum bid, "#,##0.00"; "" = none
    int32_t BidTimeSecs = 0;     // 15 seconds before the end to bid; 0 = no bid armed
    std::string Quantity;        // 16
    int16_t DialBeforeBid = 0;   // 17 1 = dial up before this bid (the set-up dialog's AutoDial box)
    std::string BidStatus;       // 18 "", "BidPending", "Validating Bid", ... "OutBid", "Completed", "Item Closed",
                                 //    "Bid Not Confirmed"
    std::string UnconfirmedBid;  // 19 what the bid's placing met when the service did not confirm it
                                 //    ("Http Status 503", "No Answer"); "" = confirmed, or none placed
    std::string Reserved3;       // 20 emptied by the bid set-up dialog; nothing reads it
    std::string AlarmSetting;    // 21 the alarm values as decimal text; "" = alarm off
    std::string ResultDone;      // 22 "1" once the end-of-auction result update has run
    int16_t ReserveFlag = 0;     // 23 1 = reserve not met (the page parser's ReserveNotMet)
    std::string ConfirmRequest;  // 24 the confirm-bid request kept from validation
    std::string AfterBidOptions; // 25 bits: 1 e-mail the result, 2 sleep after the bid
    std::string ControlGroup;    // 26 the bid group whose completion releases this held item
    std::string BidGroup;        // 27 the item's bid group; "" = none
    int32_t GroupLock = 0;       // 28 1 = held: the scheduler skips the item
    int32_t GroupNeed = 0;       // 29 wanted wins in the bid group
    int32_t GroupWins = 0;       // 30 wins counted so far
    std::string ListingType;     // 31 "BIN" for a fixed-price item
    std::string Reserved4;       // 32
    std::string Reserved5;       // 33
    std::string Reserved6;       // 34
    std::string Reserved7;       // 35
    std::string Reserved8;       // 36
    std::string Reserved9;       // 37
    std::string Reserved10;      // 38
    std::string Reserved11;      // 39
    std::string Reserved12;      // 40

    bool operator==(const AuctionItem&) const = default;
};

// The list: element 0 is the header, items from 1. Its size is ItemCount + 1 after every load
// and every add.
inline std::vector<AuctionItem> Items(1);
inline int16_t ItemCount = 0;

// At most this many items fit the 16-bit count.
inline constexpr int kMaxItems = 32767;

// The number of the item being added (the bid set-up dialog takes its item from it; also called
// NewItemNumber).
inline std::string AddedItemNumber;

// The item at index i (1 to ItemCount), or nullptr.
inline AuctionItem* Item_At(int i) {
    return i >= 1 && i <= ItemCount && static_cast<size_t>(i) < Items.size() ? &Items[static_cast<size_t>(i)] : nullptr;
}

}  // namespace TLMainItems
