// item_grid_link.h — what the item routines reach of the item grid on the main window: cell
// colours, a redraw, a full reload, the grid's row table and its current row.
//
// The main window takes on this duty when it loads (registerItemGrid); until then, and in tests
// that install no stand-in, every call does nothing and reads 0. The status line and the sounds
// are the main window's duties of main_window_link.h. Colours are Windows RGB values (red in the
// low byte), as the configuration keeps them; the grid converts them.
#pragma once

#include <string>

namespace TLMainItems {

// The grid's selection as Get_GridSelection reads it: kind 0 none, 1 one row, 2 several rows.
struct GridSelection {
    int first = 0;
    int last = 0;
    int kind = 0;
};

class ItemGridLink {
public:
    virtual ~ItemGridLink() = default;

    // The back colour of one cell (row from 1, column 0 to 9).
    virtual void setCellBackColour(int row, int column, long colour) {}
    // Redraws the grid now (after a row changed colour).
    virtual void repaintGrid() {}
    // Refills the grid from Items (the grid load).
    virtual void loadItemGrid() {}
    // The item index that grid row `row` shows (the grid's row table); 0 when none.
    virtual int itemIndexOfRow(int row) const { return 0; }
    // The grid row of the current item; 0 when none.
    virtual int selectedRow() const { return 0; }

    // What the refreshes and the delete commands use.
    // GridRowCount: the number of item rows of the last load.
    virtual int gridRowCount() const { return 0; }
    // Get_GridSelection: the selected rows, the last cut at the last item row.
    virtual GridSelection gridSelection() { return {}; }
    // The grid's current column.
    virtual int currentColumn() const { return 0; }
    // GridRestoreRow: the row the next load selects (the click stores its row there).
    virtual int restoreRow() const { return 0; }
    virtual void setRestoreRow(int row) {}
    // SelectedRow: the row the item commands act on.
    virtual void setSelectedRow(int row) {}
    // Shows row `row` as the one being refreshed: current row, columns 1 to 8 selected; no click.
    virtual void showRowSelected(int row) {}
    // A click made by the program on row `row`, column 2 (GridClickSource 1): the labels and photo
    // follow the item; the busy flags do not hold it back (the refreshes click while they run).
    // With keepStatusLine (CommentShownFlag) the click leaves the status line alone.
    virtual void clickRow(int row, bool keepStatusLine) {}
    // Rewrites row `row`'s cells in place from its item as the grid load fills them.
    virtual void refreshItemRow(int row) {}
    // The name of the category on show (the caption of the current category menu entry).
    virtual std::string currentCategory() const { return {}; }
};

ItemGridLink& itemGrid();
void registerItemGrid(ItemGridLink* grid);  // nullptr: none

// Grid columns.
inline constexpr int kColAlarm = 0;
inline constexpr int kColDescription = 2;
inline constexpr int kColHighBid = 3;
inline constexpr int kColMyBid = 4;
inline constexpr int kColBids = 5;
inline constexpr int kColEnds = 7;
inline constexpr int kLastItemColumn = 9;

// The grid colours, read from [Options] when the main window loads (and by the options dialog).
inline long ColorBid = 65535;
inline long ColorWintally = 16776960;
inline long ColorVal = 33023;
inline long ColorHiBid = 65280;
inline long ColorOutBid = 255;
inline long ColorGrid = 16777215;
inline long ColorAlert = 33023;
// Reads the seven colours from [Options] (their defaults when a key is missing or not a number).
void Read_Grid_Colours();
// The back colour of the grid and the item-number box: ColorGrid when the user chose one (the
// key is stored), else kDesktopColour: both follow the desktop's colours.
inline constexpr long kDesktopColour = -1;
long Grid_Back_Colour();

}  // namespace TLMainItems
