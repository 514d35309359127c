// item_sort.h — reordering the item list by one of nine keys.
//
// The grid shows Items in array order, so sorting moves whole records inside Items (record 0,
// the header, stays). The sort is stable (equal keys keep their order), always finishes and
// never yields. Any item index held across a sort is stale afterwards: callers save the store
// and reload the grid.
//
// Keys: 0 ending first, 1 ending last (items without a readable end, "No End Date" included,
// last in both); 2 seller ID (case ignored; a seller text without "(" counts whole); 3 seller
// rating, highest first (no "%": 0.0); 4 high bid, highest first; 5 low bid; 6 bids, most
// first; 7 shipping, lowest first; 8 bid group, groups in order of first appearance, items
// without a group last. For the amounts of keys 4, 5 and 7, "Free" is 0.00 and "See Listing",
// an empty text or an amount that does not read come last, in either direction.
#pragma once

#include <cstdint>

namespace TLMainItems {

inline constexpr int kSortKeys = 9;
inline constexpr const char* kSortCaptions[kSortKeys] = {"Ending First", "Ending Last", "Seller",
                                                         "Seller Rating", "High Bid", "Low Bid",
                                                         "Bids", "Shipping", "Group"};

// Sorts Items[1..ItemCount] by `key` (0 to 8; any other key does nothing). Saves and redraws
// nothing.
void Sort_Auction_Items(int key);

// The key the program sorts by on its own: [Options] DefaultSort (default 0).
int Default_Sort_Key();

}  // namespace TLMainItems
