// list_import.h — the "My eBay" toolbar button and its six entries: the account pages in a
// browser, and the import of the user's four account lists (watching, won, selling, sold) as
// items.
//
// An import downloads the list (signing the user in when the service asks), collects the item
// numbers of its pages, asks the user in a system-modal box, adds every number the list does not
// hold yet through the ordinary add, then sorts, saves and redraws once and tells the user in the
// status line and a tray balloon. UpdateBusy is held for the whole import; the stop button ends
// it before the adding (nothing added) or during it (what was added stays). UI thread only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace TLMainAccount {

inline constexpr const char* kCheckingMyEbay = "Checking 'My eBay' for Items ";
inline constexpr const char* kMyEbayCancelled = "Add My eBay Items Cancelled....";
inline constexpr const char* kNoListItems = "Error! Parsing - No Items";
inline constexpr const char* kMyEbayCompleted = "My eBay Download Completed";
// Pages of one list read at most, however the pages link on.
inline constexpr int kMaxListPages = 50;

// The account summary, the messages page and the seller account page, in the alternate browser
// or a window of the program's browser.
void MyeBayView();
void MyeBayMessages();
void MyeBayAccount();
// The toolbar menu's entry `Kind` (0 messages, 1 seller account, 2 to 5 the imports of the
// watching, won, selling and sold lists).
void MyeBayFunction(int Kind);

// The address of list `Kind` (2 to 5) for the current user; "" for another kind.
std::string List_Address(int Kind);

// The list size the page text announces for list `Kind` ("All (12)", "Won (3)" ...); 0 when it
// announces none.
long GetItemCnt(int Kind, std::string_view pageText);

// The item numbers of one list page in page order: the digits after "itm/" or "item=" in the
// link that stands before each marker. A number equal to `lastNumber` (the one found just before
// it, also on an earlier page) is taken once; `lastNumber` follows along.
std::vector<std::string> Collect_Page_Numbers(std::string_view html, std::string_view marker,
                                              std::string& lastNumber);

// The item numbers of a watch list in the newer layout (the "entryid" after "$rwidgets" or
// "watchlistwidget"); empty entries included.
std::vector<std::string> Watch_Widget_Numbers(std::string_view html);

// The address of the page's ">Next<" link, made absolute against `pageAddress`; "" when none.
std::string Next_Page_Address(std::string_view html, const std::string& pageAddress);

// The numbers in order, each once, without empty ones.
std::vector<std::string> Distinct_Numbers(const std::vector<std::string>& numbers);

}  // namespace TLMainAccount
