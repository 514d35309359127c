// recording_item_grid.h — stands in for the item grid: records the cell colours, redraws,
// reloads, row rewrites and program-made clicks the item routines ask for, and answers the row
// table, selection, current column and category from plain values; takes on the grid duty for the
// life of the object.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "items/item_grid_link.h"

namespace testsupport {

class RecordingItemGrid final : public TLMainItems::ItemGridLink {
public:
    RecordingItemGrid() { TLMainItems::registerItemGrid(this); }
    ~RecordingItemGrid() override { TLMainItems::registerItemGrid(nullptr); }

    void setCellBackColour(int row, int column, long colour) override { cells[{row, column}] = colour; }
    void repaintGrid() override { ++repaints; }
    void loadItemGrid() override { ++gridLoads; }
    int itemIndexOfRow(int row) const override {
        return row >= 1 && static_cast<size_t>(row) <= rowItems.size() ? rowItems[static_cast<size_t>(row) - 1] : 0;
    }
    int selectedRow() const override { return selected; }
    int gridRowCount() const override { return static_cast<int>(rowItems.size()); }
    TLMainItems::GridSelection gridSelection() override { return selection; }
    int currentColumn() const override { return column; }
    int restoreRow() const override { return restore; }
    void setRestoreRow(int row) override { restore = row; }
    void setSelectedRow(int row) override { selected = row; }
    void showRowSelected(int row) override { rowsShown.push_back(row); }
    void clickRow(int row, bool keepStatusLine) override {
        clicks.push_back({row, keepStatusLine});
        restore = row;
    }
    void refreshItemRow(int row) override { rowsRefreshed.push_back(row); }
    std::string currentCategory() const override { return category; }

    // The colour painted into a cell, or -1 when none was.
    long cell(int row, int column) const {
        const auto it = cells.find({row, column});
        return it == cells.end() ? -1 : it->second;
    }

    std::map<std::pair<int, int>, long> cells;  // (row, column) -> colour
    std::vector<int> rowItems;                  // item index of grid row 1, 2, ...
    int selected = 0;
    TLMainItems::GridSelection selection;       // what Get_GridSelection reads
    int column = 2;                             // the current column
    int restore = 0;                            // GridRestoreRow
    std::string category;                       // the category on show
    struct Click { int row; bool keepStatusLine; };
    std::vector<Click> clicks;                  // program-made clicks, in order
    std::vector<int> rowsShown;                 // rows shown as being refreshed
    std::vector<int> rowsRefreshed;             // rows whose cells were rewritten
    int repaints = 0;
    int gridLoads = 0;
};

}  // namespace testsupport
