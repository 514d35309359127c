// grid_fixture.h — the ground of the grid tests: the items tests' ground with a real grid model
// in place of the recording grid (the bid status paints into it), the categories "Cameras" and
// "Lenses" with "Cameras" on show, the user "buyer1", and stand-ins for the item-number box, the
// log box, the main window's item duties, the bid set-up and comment windows, popup menus and
// input boxes.
#pragma once

#include <string>

#include "foundation/bid_engine_state.h"
#include "foundation/main_window_link.h"
#include "foundation/user_state.h"
#include "items/bid_history_view.h"
#include "items/categories.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_photo.h"
#include "items/item_popup_commands.h"
#include "items/sort_commands.h"
#include "items/test_items.h"
#include "items_fixture.h"
#include "recording_grid_window.h"
#include "recording_item_windows.h"
#include "scripted_input_boxes.h"
#include "scripted_popup_menus.h"

namespace testsupport {

class ItemGridTest : public ItemsTest {
protected:
    void SetUp() override {
        ItemsTest::SetUp();
        resetGrid();
        TLMainItems::registerItemGrid(&model);
        TLMainItems::setItemGridModel(&model);
        TLMainItems::Set_Up_Item_Columns();
        modTLC::Set_Config_Value("Categories", "Cameras", "1");
        modTLC::Set_Config_Value("Categories", "Lenses", "0");
        TLMainItems::CategoryNames = {"Cameras", "Lenses"};
        TLMainItems::CurrentCategoryIndex = 0;
        UserState::CurrentUserID = "buyer1";
    }
    void TearDown() override {
        TLMainItems::setItemGridModel(nullptr);
        TLMainItems::registerItemGrid(nullptr);
        resetGrid();
        ItemsTest::TearDown();
    }
    static void resetGrid() {
        TLMainItems::ResetItemGridForTests();
        TLMainItems::ResetCategoriesForTests();
        TLMainItems::ResetItemPhotoForTests();
        TLMainItems::ResetBidHistoryForTests();
        TLMainItems::ResetSortCommandsForTests();
        TLMainItems::ItemPopup = {};
        TLMainState::ResetForTests();
        TLMainState::MinuteWarningGiven = 0;
        UserState::ResetForTests();
    }

    int addItem(const std::string& number, const std::string& category = "Cameras") {
        return addRunningItem(number, category);
    }
    // Items of the numbers, all shown, and the grid loaded.
    void loadWith(std::initializer_list<const char*> numbers) {
        for (const char* n : numbers) addItem(n);
        TLMainItems::Load_ItemGrid();
    }

    // The user presses a button on a cell (row 0 is the header).
    void press(int button, int row, int col, int shift = 0, long x = 2000, long y = 500) {
        model.MouseRow = row;
        model.MouseCol = col;
        TLMainItems::ItemGrid_MouseDown(button, shift, x, y);
    }
    // A left click on a cell: the press moves the current cell, the click follows.
    void leftClick(int row, int col) {
        model.setRow(row);
        model.setCol(col);
        press(TLMainItems::kLeftButton, row, col);
        TLMainItems::ItemGrid_Click();
    }
    // Rows first to last of column `col` selected, the current cell at `current`.
    void selectRows(int current, int end, int col = TLMainItems::kColDescription) {
        model.setSelectionFromView(current, col, end, col);
    }

    TLMainItems::ItemGridModel model;
    RecordingItemNumberBox box;
    RecordingLogBox logBox;
    RecordingWindow mainWindow;
    RecordingItemWindow window;
    RecordingAlarmDialog alarm;
    RecordingBrowserViews browser;
    RecordingPhotoFrame photo;
    RecordingBidHistoryList history;
    RecordingItemWindows windows;
    ScriptedPopupMenus popups;
    ScriptedInputBoxes inputs;
};

}  // namespace testsupport
