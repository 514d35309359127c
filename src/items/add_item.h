// add_item.h — adding items to the list by their item numbers.
//
// Four doors lead here: the item-number box with its button (and the deferred "DoAddItem"
// request, the drop icon, the account-list imports, which put the number into the box first),
// the page the browser extension hands over through the clipboard ("TLAUCDOC…"), and the re-add
// of numbers picked from the item-history log. An add downloads the item's page from the home
// site's item host (a handed-over page of the home site is parsed as it came), reads the item's
// values from it, saves the page and its photo, writes the history line, sorts and saves the list
// and reloads the grid. Every refusal and failure is shown in the status line (most also in a
// tray balloon) and leaves the list, the file and the grid as they were.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TLMainItems {

// A bulk add from the history log is running: adding then counts "Downloading Group Item k of n",
// shows no download balloon and stops right after saving the list.
inline int16_t BulkAddActive = 0;
inline int32_t BulkAddTotal = 0;
inline int32_t BulkAddPosition = 0;
// Shipping read from a handed-over page before the add; used (and emptied) instead of the
// shipping finder.
inline std::string ShippingPrefetch;

// Texts.
inline constexpr const char* kNoUserAdd = "No User is Selected! Can not Add Item!";
inline constexpr const char* kInvalidItemNumber = "Invalid Auction Item Number!";
inline constexpr const char* kDuplicateItem = "This item has already been added!";
inline constexpr const char* kAddNoData = "Error! Add Item Failed - No Data - Check Security Software";
inline constexpr const char* kAddCancelled = "Add Item Cancelled....";
inline constexpr const char* kItemListFull = "Error! Item List Full - Can not Add Item!";
inline constexpr const char* kNotValidItemPage = "Not Valid Item Page, Can't Add Item";
inline constexpr const char* kAddHistoryCancelled = "Add History Items Cancelled....";

// Adds the item whose number stands in the item-number box (with UseHandoverTitle set: the
// handed-over page now in PageHTML and PageText). True when the item was added.
bool Add_Auction_Item();

// The browser extension's hand-over (the whole clipboard text, "TLAUCDOC" and a two-character
// tag first): finds the item number in the page text or its address and adds the item.
void Add_Auction_Item_Direct(const std::string& handover);

// Adds, one after another, the numbers that the list does not hold yet, each as if typed into
// the item-number box (BulkAddActive set, BulkAddTotal the list's length, BulkAddPosition the
// entry's place). The stop button ends it after the entry being added, with `cancelText` in the
// status line: false then, true when every entry was gone through. Sorts, saves and redraws
// nothing beyond what each add does.
bool Bulk_Add_Items(const std::vector<std::string>& numbers, const std::string& cancelText);

// The add button: with the log box hidden it queues an add of the item-number box's number for
// the bid scheduler (AddPending); with the item-history log shown it adds the items of the lines
// selected in it, one after another, then sorts, saves and reloads once.
void cmdAddItem_Click();

// The item numbers of the history lines in `text`: those of " - Deleted - " lines first, then
// those of " - Added - " lines, in text order, duplicates kept.
std::vector<std::string> ExtractItemNums(const std::string& text);

}  // namespace TLMainItems

namespace modTLMain {

// True when an item of the list has exactly this number.
bool Item_Exists(const std::string& itemNumber);

}  // namespace modTLMain
