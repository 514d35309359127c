// test_items.h — the debug menu's generators of test items: they rewrite records of the item
// list (end times, pseudo values) so the grid, the scheduler and the result update can be tried
// without real auctions. Each redraws the grid; none saves the store.
//
// End times are written in the program's display form: the display date format, two blanks,
// and the time ("hh:mm:ss am/pm" for a typed end, "hh:mm:ss" for one counted from now).
#pragma once

#include <QDateTime>
#include <string>

namespace TLMainItems {

inline constexpr const char* kTestSeller = "TestSeller (150) 99.5%";
inline constexpr const char* kTestBidder = "TestBidder";

// The end-time text of a local moment.
std::string End_Time_Text(const QDateTime& t, bool twelveHour);

// Item `index`'s end = `end`, with an am/pm time.
void Set_Item_End_Time(int index, const QDateTime& end);
// Item `index`'s end = now plus `seconds`.
void Set_Item_End_From_Now(int index, long seconds);
// Every item gets pseudo values: numbers from "123456789012", the test seller and bidder,
// prices 28.00, 30.00, 38.00, 35.00, 45.00, 25.00, 27.00 in turn, shipping 9.95, category
// "Cameras"; odd items end 4 hours from now, even items ended 4 hours ago and are "Completed".
void Set_Pseudo_Items();
// Every item gets the test seller and the test bidder as its user; items 1 to 3 have had
// their result update and ended on 5 June 2007; items 1 and 3 were won ("Completed", the test
// bidder high).
void Special_Items();

// The menu tools: each asks for its values with the program's message window.
void DB_Set_Item_End_Time();        // "Date/Time" for the item of the selected row
void DB_Set_Item_Remaining_Time();  // "Item Number, Remaining Time" (seconds)
void DB_Set_Items_Remaining_Time(); // "Remaining Time, Item Numbers" (two items)

// Registers the tools above with the debug menu (its items do nothing until then).
void Install_Debug_Item_Tools();

}  // namespace TLMainItems
