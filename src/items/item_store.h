// item_store.h — the item store "Auction Items.dat" in the data folder, and lookups in the list.
//
// The file is the whole list, header record first, records back to back with no separators:
// each record is its 41 members in order; a text is a 2-byte unsigned little-endian byte count
// and that many bytes (no terminator), a Long 4 bytes and an Integer 2 bytes, little-endian.
// The header holds the item count as decimal text in ItemNumber and the format version "41" in
// Title, everything else empty; an empty list is one 93-byte record.
//
// A save writes a new file beside the old one and renames it over, so a failed save keeps the
// old file; the user is told "Error! Auction Items Not Saved". A load reads what the file
// holds and drops cut-off records and records without an item number. A file of another
// version is loaded as it stands and copied aside once, as "Auction Items.dat.v<version>",
// before the first save replaces it.
#pragma once

#include <unordered_map>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "items/auction_item.h"

namespace TLMainItems {

inline constexpr const char* kItemStoreFile = "Auction Items.dat";
inline constexpr const char* kItemStoreVersion = "41";
inline constexpr const char* kItemsNotSaved = "Error! Auction Items Not Saved";
inline constexpr const char* kIncompatibleStore =
    "Your current auction data file is not compatible with this version of Tolvane Rerode II";
// The largest text a record can hold; longer texts are cut at save (whole characters kept).
inline constexpr size_t kMaxStoredText = 65535;

// DataFolder + "Auction Items.dat".
std::string Item_Store_Path();

// Replaces Items and ItemCount with the file's list (an absent or empty file gives an empty list).
void Load_Auction_Items();
// Writes the whole list. False when the file could not be replaced (the old one is kept and
// the user is told); the program's callers go on either way.
bool Save_Auction_Items();
// How many saves were asked for since the start.
long Item_Store_Save_Count();

// The index (1 to ItemCount) of the first item whose number is exactly `itemNumber`, else 0.
int16_t FindItemIndex(const std::string& itemNumber);

// The items of the list as it stands now, found by number through one index rather than a
// search of the list per number: for commands that look up a whole selection. Made again after
// anything that may change the list (a question answered, a wait).
class ItemsByNumber {
public:
    ItemsByNumber();
    // What FindItemIndex gives for the number, as the list stood when this was made.
    int indexOf(const std::string& number) const;

private:
    std::unordered_map<std::string, int> m_where;
};

// True when `count` more items no longer fit the list (its count is a 16-bit number).
bool Item_Store_Full(int count = 1);
// Adds the item at the end of the list; false (nothing added) when the list is full.
bool Append_Item(const AuctionItem& item);
// An item number is 1 to 19 digits.
bool Valid_Item_Number(std::string_view itemNumber);

// The bytes of one record, and the record read from `bytes` at `offset` (moved past it);
// false when the bytes end inside the record.
void Append_Record_Bytes(const AuctionItem& item, std::string& out);
bool Read_Record(std::string_view bytes, size_t& offset, AuctionItem& item);
// The file's bytes for the list as it stands (header first). Texts over the limit are cut in
// the records themselves, each cut written to the operation log.
std::string Item_Store_Bytes();

void ResetItemStoreForTests();

}  // namespace TLMainItems
