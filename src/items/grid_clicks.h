// grid_clicks.h — the item grid's mouse: a click shows the item's details beside the grid,
// switches alarms in column "A" and opens the bid set-up from "My Bid"; a right press opens the
// item popup, the alarm settings, a shipping edit or an alarm acknowledgement by column; a
// double click opens the item's page, its saved bid results or a feedback page. SelectItem
// brings an alarmed item into view.
//
// The window's grid raises no click after a right press: a right press on one item row in the
// description column selects the row, shows its details and opens the popup before it returns,
// and a right press on the "A" header removes every alarm at once.
#pragma once

#include <string>

namespace TLMainItems {

inline constexpr const char* kNoUserForBid = "No User! Can't Setup Bid...";
inline constexpr const char* kAltBrowserFailed = "Error! Can't Run Alternate Browser...";

// Mouse buttons as the grid reports them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// The click (also run by the program: the grid load, a redirected press).
void ItemGrid_Click();
// The click the program makes on the current cell to show its item's details (GridClickSource
// 1). A list refresh that runs (UpdateBusy) does not hold it back: the details follow the item
// it selects, and the grid loads that end a refresh or a list add show their item too.
void Program_Click();
// A press of `Button` (Shift 1 with the Shift key) at X, Y (twips) on the cell the grid's
// MouseRow and MouseCol name.
void ItemGrid_MouseDown(int Button, int Shift, long X, long Y);
// A double click on the cell the grid's MouseRow and MouseCol name (row 0: a caption).
void ItemGrid_DblClick();
// The item-number box's double click: empties it.
void ItemNumBox_DblClick();
// Shows item ItemIndex of category Category as the current row (switching to that category),
// marked for the alarm display.
void SelectItem(const std::string& Category, int ItemIndex);

// An address a browser may be handed: http or https.
bool Web_Address(const std::string& address);

}  // namespace TLMainItems
