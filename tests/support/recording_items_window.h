// recording_items_window.h — stands in for the main window's item duties: records the grid cell
// colours, grid loads, status texts and sounds that the item routines ask for, and answers the
// grid's row table from a plain list; registered for the life of the object.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "items/items_window_link.h"

namespace testsupport {

class RecordingItemsWindow final : public TLMainItems::ItemsWindowLink {
public:
    struct Sound { std::string name; int count; };

    RecordingItemsWindow() { TLMainItems::registerItemsWindow(this); }
    ~RecordingItemsWindow() override { TLMainItems::registerItemsWindow(nullptr); }

    void setCellBackColour(int row, int column, long colour) override { cells[{row, column}] = colour; }
    void repaintGrid() override { ++repaints; }
    void loadItemGrid() override { ++gridLoads; }
    int itemIndexOfRow(int row) const override {
        return row >= 1 && static_cast<size_t>(row) <= rowItems.size() ? rowItems[static_cast<size_t>(row) - 1] : 0;
    }
    int selectedRow() const override { return selected; }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void soundEffects(const std::string& name, int count) override { sounds.push_back({name, count}); }

    // The colour painted into a cell, or -1 when none was.
    long cell(int row, int column) const {
        const auto it = cells.find({row, column});
        return it == cells.end() ? -1 : it->second;
    }
    void clear() {
        cells.clear();
        statuses.clear();
        sounds.clear();
        repaints = gridLoads = 0;
    }

    std::map<std::pair<int, int>, long> cells;
    std::vector<std::string> statuses;
    std::vector<Sound> sounds;
    std::vector<int> rowItems;  // item index of grid row 1, 2, ...
    int selected = 0;
    int repaints = 0;
    int gridLoads = 0;
};

}  // namespace testsupport
