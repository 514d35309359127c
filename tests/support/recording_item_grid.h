// recording_item_grid.h — stands in for the item grid: records the cell colours and the redraws
// and reloads the item routines ask for, and answers the row table from a plain list; takes on
// the grid duty for the life of the object.
#pragma once

#include <map>
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

    // The colour painted into a cell, or -1 when none was.
    long cell(int row, int column) const {
        const auto it = cells.find({row, column});
        return it == cells.end() ? -1 : it->second;
    }

    std::map<std::pair<int, int>, long> cells;  // (row, column) -> colour
    std::vector<int> rowItems;                  // item index of grid row 1, 2, ...
    int selected = 0;
    int repaints = 0;
    int gridLoads = 0;
};

}  // namespace testsupport
