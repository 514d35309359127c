// item_grid.h — the item grid's load and the values every grid command shares: which list the
// grid shows, the table from grid row to item, the selection as the commands read it, and the
// state the clicks leave for each other.
//
// The grid shows the items of the current category (and, with [Options] ShowUserItemsOnly = 1,
// only the current user's), one row per item in the order of Items, with a header row 0 and
// three empty rows at the end. Every change that adds, removes, reorders or moves items is
// followed by a full load; other changes write single cells through ItemOrder. UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "items/bid_outcome.h"
#include "items/item_grid_link.h"

namespace TLMainItems {

// What the grid shows: 0 the items, 1 the feedback still to leave, 2 the seller feedback
// analysis. The item load and the item commands act only at 0.
inline int32_t GridViewMode = 0;
// Item rows of the last load (rows 1 to GridRowCount); ItemOrder[r] is the index in Items of
// the item on row r (element 0 holds no row).
inline int16_t GridRowCount = 0;
inline std::vector<long> ItemOrder{0};
// What each row's time left counts down to, read from its item's end when the row was filled (as
// the "Ends" column shows it), so the heartbeat runs the column on without reading the items' end
// texts every second. Rows as ItemOrder; `shown` is the heartbeat's own record of the part of the
// time left the row's cell shows, started anew by each fill.
struct RowEnd {
    enum class Kind : uint8_t { NoRow, NoEndDate, Unreadable, Known };
    Kind kind = Kind::NoRow;
    int64_t endMs = 0;
    int64_t shown = INT64_MIN;
    bool shownFinal = false;
};
inline std::vector<RowEnd> RowEnds{RowEnd{}};
// A row's seconds left at the program's second `nowSecs` (-1 once ended), or kNoEndLeft without
// an end date, kUnknownLeft for an end that does not read (remaining_time.h; its text is
// Time_Left_Text's).
int64_t Row_Seconds_Left(const RowEnd& end, int64_t nowSecs);

// The selection as Get_GridSelection reads it: first and last row, and 0 none, 1 one row,
// 2 several rows. SelectedRow is the row of the item that single-item commands act on.
inline int16_t SelectionFirstRow = 0;
inline int16_t SelectionLastRow = 0;
inline int16_t SelectionKind = 0;
inline int16_t SelectedRow = 0;
// The row whose item the next load selects again, found by its number wherever the rows moved;
// the row itself only when that item is gone (0 or less: row 1).
inline int16_t GridRestoreRow = 0;
// The button behind the coming click: 1 left (or a click the program makes), 2 right; 0 once a
// click has used it. The Shift state of that mouse-down beside it.
inline int16_t GridClickSource = 0;
inline int16_t GridClickShift = 0;
// The column of the last handled click.
inline int16_t GridClickColumn = 0;
// The alarm mark the heartbeat puts on a row: the row, its colour before, and whether it shows.
inline int16_t AlarmHighlightRow = 0;
inline long AlarmHighlightColor = 0;
inline int16_t AlarmHighlightOn = 0;
// The heartbeat's two counters of the alarm display; SelectItem starts them again.
inline int32_t AlarmDisplayTicks = 0;
inline int32_t AlarmDisplayCount = 0;
// Set by the item refreshes: the next details click leaves the status line alone once.
inline int16_t CommentShownFlag = 0;
// The last mouse-down on the grid (twips) and that one happened.
inline long MouseDownX = 0;
inline long MouseDownY = 0;
inline long GridMouseDown = 0;
// Flipped by a left press on "High Bid" while the bid-history list shows: the hover keeps what
// it shows.
inline int32_t HoverOff = 0;

// The feedback lists' rows as the grid shows them in views 1 and 2: the leave-feedback link of
// each row of the feedback still to leave (row r at r - 1), and the last row of the seller
// feedback analysis.
inline std::vector<std::string> FeedbackLinks;
inline int SellerFeedbackRows = 0;
// The item number of each row of the seller feedback analysis (row r at r - 1).
inline std::vector<std::string> SellerFeedbackItems;

// Columns.
inline constexpr int kColItemNumber = 1;
inline constexpr int kColRemaining = 6;
inline constexpr int kColGroup = 8;
inline constexpr int kFirstAdjustableCol = 3;
inline constexpr int kColShipping = 9;
inline constexpr const char* kGridCaptions[] = {"A",    "Item #",         "Item Description", "High Bid", "My Bid",
                                                "Bids", "Time Remaining", "Auction Ends",     "Group",    "Shipping"};

// Pictures of the image list that the grid puts in cells.
inline constexpr int kPicAlarm = 11;      // column 0: the item has an alarm
inline constexpr int kPicReserve = 22;    // column 3: reserve not met
inline constexpr int kPicSleep = 23;      // column 2: sleep or shut down after the bid
inline constexpr int kPicMail = 24;       // column 2: e-mail the result
inline constexpr int kPicMailSleep = 25;  // column 2: both
inline constexpr int kPicHeld = 27;       // column 8: held by a control group
// The ended bid's marker in column 2, by its outcome (bid_outcome.h); a won bid has none.
inline constexpr int kPicLost = 29;         // lost
inline constexpr int kPicUnconfirmed = 30;  // not confirmed by the service
inline constexpr int kPicNeverPlaced = 31;  // never placed
// Pictures of the seller feedback analysis's "F" column.
inline constexpr int kPicNegative = 13;  // not the alarm's picture
inline constexpr int kPicPositive = 12;
inline constexpr int kPicNeutral = 14;

inline constexpr const char* kBusy = "Busy, Download In Progress....";

// The item view's optional columns ([Options] Columns, a bit mask): 1 "A", 2 "Item #",
// 4 "Auction Ends", 8 "Time Remaining", 16 "Group", 32 "Shipping"; all shown by default.
inline constexpr long kDefaultColumns = 63;
inline constexpr const char* kDefaultColumnsText = "63";
// The width of each item column when shown (twips); columns 3 to 9 are [Options] ColWidth3 to
// ColWidth9 with these defaults, column 2 takes what the others leave.
inline constexpr long kItemColumnWidths[10] = {250, 1350, 0, 1170, 750, 450, 1600, 2200, 900, 900};
// What the column of the rest never goes below (twips), however narrow the grid.
inline constexpr long kRestColumnMinimum = 300;
// The item description's least width: about 20 average characters of the settings' 8-point font
// (6 pixels each). Below it a title reads as "…" alone.
inline constexpr long kDescriptionMinimum = 1800;

// The item view's columns: ten columns, five rows, the widths from [Options] Columns and
// ColWidth3 to ColWidth9, the header and cell alignments, the normal header font and row height;
// column 2 takes what the window leaves.
void Set_Up_Item_Columns();

// The item columns whose width the user sets (3 to 9, each kept under [Options] ColWidth3 to
// ColWidth9): while the items are shown, dragging such a column's edge in the caption row gives
// it the width (twips of the settings' scale), stores it under its key as the options slider
// does, and lets the window lay itself out again. The description's edge is dragged the same
// way: what it stores under ColWidth2 is the least width the description keeps, never below
// kDescriptionMinimum; the description still takes whatever more the window leaves.
bool Column_Adjustable(int col);
void Column_Dragged(int col, long twips);
// The width the description never goes below: [Options] ColWidth2, else (and never less than)
// kDescriptionMinimum. Where the grid is narrower than its columns it scrolls sideways.
long Description_Least_Width();

// Fills the grid from Items: rows, ItemOrder, cells and status colours; selects the item of
// GridRestoreRow again (with the range it headed or ended, where those items still stand
// together), else that row (or row 1), and shows its details, then lets the window lay itself
// out. Does nothing while a feedback list is shown.
void Load_ItemGrid();

// Reads the grid's selection into SelectionFirstRow, SelectionLastRow and SelectionKind; a
// range reaching past the item rows is cut to them.
void Get_GridSelection();

// The item index of grid row `row`, 0 when the row holds no item.
int Item_Of_Row(int row);

// Writes row `row`'s cells from item `index` as the load fills them (texts and pictures; the
// colours are the bid status's).
void Fill_Item_Row(int row, int index);

// What a picture of the item grid means, shown when the mouse rests on it; "" for none.
std::string Grid_Picture_Tip(int picture);
// The tips of kPicUnconfirmed and kPicNeverPlaced.
inline constexpr const char* kUnconfirmedTip = "Bid Not Confirmed by eBay - It May Not Have Counted";
inline constexpr const char* kNeverPlacedTip = kItemClosedNoBid;

void ResetItemGridForTests();

}  // namespace TLMainItems
