#include <gtest/gtest.h>

#include "grid_fixture.h"
#include "items/comment_window.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

struct SelectionCase {
    const char* what;
    int row, rowSel, col, colSel;
    int16_t first, last, kind;
    int rowAfter, rowSelAfter;
};

TEST_F(ItemGridTest, ReadsTheSelectionCutToTheItemRows) {
    const SelectionCase cases[] = {
        {"one row", 3, 3, 2, 2, 3, 3, 1, 3, 3},
        {"selected upwards", 5, 2, 2, 2, 2, 5, 2, 5, 2},
        {"reaching below the items: cut", 2, 9, 2, 2, 2, 5, 2, 2, 5},
        {"cut to one row", 5, 9, 2, 2, 5, 5, 1, 5, 5},
        {"starting below the items", 7, 9, 2, 2, 7, 9, 0, 7, 9},
        {"an empty row", 7, 7, 2, 2, 0, 0, 0, 7, 7},
        {"the header", 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"several columns: the current one", 4, 4, 2, 6, 4, 4, 1, 4, 4},
    };
    model.setRows(12);
    GridRowCount = 5;
    for (const auto& c : cases) {
        model.setSelectionFromView(c.row, c.col, c.rowSel, c.colSel);
        Get_GridSelection();
        EXPECT_EQ(SelectionFirstRow, c.first) << c.what;
        EXPECT_EQ(SelectionLastRow, c.last) << c.what;
        EXPECT_EQ(SelectionKind, c.kind) << c.what;
        EXPECT_EQ(model.Row(), c.rowAfter) << c.what;
        EXPECT_EQ(model.RowSel(), c.rowSelAfter) << c.what;
        EXPECT_EQ(model.ColSel(), c.col) << c.what;
    }
}

TEST_F(ItemGridTest, AClickOnTheDescriptionShowsTheItemsDetails) {
    addItem("1");
    AuctionItem& a = item(addItem("2"));
    a.DialBeforeBid = 1;
    a.CommentText = "ask about the lens cap";
    Load_ItemGrid();
    leftClick(2, kColDescription);
    EXPECT_EQ(window.seller, "Seller: seller2 (12) 99.5%");
    EXPECT_EQ(box.itemNumber, "2");
    EXPECT_TRUE(window.phoneShown);
    EXPECT_EQ(status.status, "ask about the lens cap");
    EXPECT_EQ(SelectedRow, 2);
    EXPECT_EQ(GridRestoreRow, 2);
    EXPECT_EQ(GridClickColumn, kColDescription);
    EXPECT_EQ(GridClickSource, 0);

    // after a refresh the click leaves the status line alone, once
    status.setStatus("Update Completed");
    CommentShownFlag = 1;
    leftClick(1, kColDescription);
    EXPECT_EQ(status.status, "Update Completed");
    EXPECT_EQ(CommentShownFlag, 0);
    EXPECT_FALSE(window.phoneShown);
    leftClick(2, kColDescription);
    EXPECT_EQ(status.status, "ask about the lens cap");
}

TEST_F(ItemGridTest, AClickWhileADownloadRunsOnlySaysSo) {
    loadWith({"1", "2"});
    TLMainState::DownloadBusy = -1;
    SelectedRow = 0;
    box.itemNumber.clear();
    leftClick(2, kColDescription);
    EXPECT_EQ(status.status, kBusy);
    EXPECT_EQ(SelectedRow, 0);
    EXPECT_EQ(box.itemNumber, "");
}

struct AlarmCase {
    const char* what;
    const char* setting;       // the item's alarm before
    const char* alarmValues;   // [Options] AlarmValues
    int endsIn;                // seconds from now
    const char* settingAfter;
    const char* stateAfter;
    int picture;
};

TEST_F(ItemGridTest, AClickInColumnASwitchesTheItemsAlarm) {
    const AlarmCase cases[] = {
        {"on while the item runs", "", "1284", 3600, "1284", "7", kPicAlarm},
        {"not once the item ended", "", "1284", -60, "", "7", 0},
        {"not while every alarm switch is off", "", "1280", 3600, "", "7", 0},
        {"off: the end-time bit stays", "1284", "1284", 3600, "", "1", 0},
    };
    for (const auto& c : cases) {
        ResetItemStoreForTests();
        AuctionItem& a = item(addItem("1"));
        a.AlarmSetting = c.setting;
        a.AlarmState = "7";
        a.EndTime = End_Time_Text(now().addSecs(c.endsIn), false);
        modTLC::Set_Config_Value("Options", "AlarmValues", c.alarmValues);
        Load_ItemGrid();
        model.setCellBackColor(1, kColDescription, ColorBid);
        model.setCellBackColor(1, kColMyBid, ColorAlert);
        leftClick(1, kColAlarm);
        EXPECT_EQ(item(1).AlarmSetting, c.settingAfter) << c.what;
        EXPECT_EQ(item(1).AlarmState, c.stateAfter) << c.what;
        EXPECT_EQ(model.CellPicture(1, kColAlarm), c.picture) << c.what;
        Load_Auction_Items();  // saved
        EXPECT_EQ(item(1).AlarmSetting, c.settingAfter) << c.what;
    }
    EXPECT_EQ(model.CellBackColor(1, kColMyBid), ColorBid);  // the alarm colour went with the alarm
    EXPECT_EQ(model.CellBackColor(1, kColRemaining), ColorBid);
}

TEST_F(ItemGridTest, AClickInColumnAOnSeveralRowsSetsTheRunningItemsAlarms) {
    addItem("1");
    item(addItem("2")).AlarmSetting = "1000";
    item(addItem("3")).EndTime = End_Time_Text(now().addSecs(-60), false);
    modTLC::Set_Config_Value("Options", "AlarmValues", "1284");
    Load_ItemGrid();
    selectRows(1, 3, kColAlarm);
    press(kLeftButton, 3, kColAlarm);
    ItemGrid_Click();
    EXPECT_EQ(item(1).AlarmSetting, "1284");
    EXPECT_EQ(item(2).AlarmSetting, "1284");  // set again, not switched off
    EXPECT_EQ(item(3).AlarmSetting, "");
}

TEST_F(ItemGridTest, AClickOnMyBidOpensTheBidSetupForTheUsersRunningBids) {
    addItem("1");
    item(addItem("2")).ListingType = "BIN";
    Load_ItemGrid();

    UserState::CurrentUserID.clear();
    leftClick(1, kColMyBid);
    EXPECT_EQ(status.status, kNoUserForBid);
    EXPECT_TRUE(windows.bidForms.empty());

    UserState::CurrentUserID = "buyer1";
    leftClick(2, kColMyBid);
    EXPECT_EQ(box.itemNumber, "2");
    EXPECT_TRUE(windows.bidForms.empty());  // fixed price: no bid

    leftClick(1, kColMyBid);
    EXPECT_EQ(box.itemNumber, "1");
    EXPECT_EQ(windows.bidForms.size(), 1u);
    EXPECT_EQ(GridRestoreRow, 1);
    EXPECT_EQ(GridClickColumn, kColMyBid);
}

TEST_F(ItemGridTest, TheFirstClickAfterAnAlarmMarkOnlyTakesTheMarkAway) {
    loadWith({"1", "2"});
    model.setCellBackColor(2, 3, ColorAlert);
    AlarmHighlightOn = 1;
    AlarmHighlightRow = 2;
    AlarmHighlightColor = ColorBid;
    box.itemNumber.clear();
    leftClick(1, kColDescription);
    EXPECT_EQ(AlarmHighlightOn, 0);
    for (int c = 1; c <= 8; ++c) EXPECT_EQ(model.CellBackColor(2, c), ColorBid) << c;
    EXPECT_EQ(box.itemNumber, "");
    leftClick(1, kColDescription);
    EXPECT_EQ(box.itemNumber, "1");
}

TEST_F(ItemGridTest, ARightPressOnTheAlarmCaptionTakesEveryAlarmAway) {
    for (const char* n : {"1", "2", "3"}) {
        AuctionItem& a = item(addItem(n));
        a.AlarmSetting = "1284";
        a.AlarmState = "5";
    }
    Load_ItemGrid();
    press(kRightButton, 0, kColHighBid);  // another caption: nothing
    EXPECT_EQ(item(2).AlarmSetting, "1284");
    EXPECT_EQ(GridClickSource, 0);

    press(kRightButton, 0, kColAlarm);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(item(i).AlarmSetting, "") << i;
        EXPECT_EQ(item(i).AlarmState, "1") << i;
        EXPECT_EQ(model.CellPicture(i, kColAlarm), 0) << i;
    }
    EXPECT_EQ(GridClickSource, 0);
    EXPECT_EQ(model.Row(), 1);
    Load_Auction_Items();
    EXPECT_EQ(item(3).AlarmSetting, "");
}

// The entry of a shown popup with the ID.
const ScriptedPopupMenus::Entry* entry(const std::vector<ScriptedPopupMenus::Entry>& entries, long id) {
    for (const auto& e : entries) {
        if (e.id == id && e.submenu.empty()) return &e;
    }
    return nullptr;
}

TEST_F(ItemGridTest, ARightPressOnOneRowSelectsItShowsItAndOpensThePopup) {
    loadWith({"1", "2", "3"});
    data.write("Saved Items/2BR.html", "<html>won</html>");
    for (int row : {2, 3}) {
        press(kRightButton, row, kColDescription);
        EXPECT_EQ(model.Row(), row);
        EXPECT_EQ(box.itemNumber, std::to_string(row));
        ASSERT_EQ(popups.shown().size(), static_cast<size_t>(row - 1));
        const auto& entries = popups.shown().back().entries;
        EXPECT_EQ(entry(entries, kPopupDelete)->text, "Delete Item\tDelete");
        EXPECT_EQ(entry(entries, kPopupSetupBid)->text, "Setup Item Bid");
        EXPECT_EQ(entry(entries, kPopupUpdate)->text, "Update Item");
        EXPECT_TRUE(entry(entries, kPopupComment)->enabled);
        EXPECT_TRUE(entry(entries, kPopupLog)->enabled);
        EXPECT_EQ(entry(entries, kPopupBidResults)->enabled, row == 2) << "only with saved bid results";
        EXPECT_EQ(GridClickSource, 0);
    }
    const auto& moveTo = popups.shown().back().entries[5];
    EXPECT_EQ(moveTo.text, "Move Item To");
    ASSERT_EQ(moveTo.submenu.size(), 2u);
    EXPECT_EQ(moveTo.submenu[1].text, "Lenses");
}

TEST_F(ItemGridTest, ARightPressInsideASelectionOfSeveralRowsOpensThePopupForThemAll) {
    loadWith({"1", "2", "3"});
    selectRows(1, 3);
    box.itemNumber = "kept";
    press(kRightButton, 2, kColDescription);
    ASSERT_EQ(popups.shown().size(), 1u);
    const auto& entries = popups.shown().back().entries;
    EXPECT_EQ(entry(entries, kPopupDelete)->text, "Delete Items\tDelete");
    EXPECT_EQ(entry(entries, kPopupSetupBid)->text, "Setup Items Bids");
    EXPECT_EQ(entry(entries, kPopupUpdate)->text, "Update Items");
    EXPECT_EQ(entries[5].text, "Move Items To");
    for (long id : {kPopupComment, kPopupBidResults, kPopupLog}) EXPECT_FALSE(entry(entries, id)->enabled) << id;
    EXPECT_EQ(box.itemNumber, "kept");  // no details shown
    EXPECT_EQ(model.RowSel(), 3);       // the selection stays
}

TEST_F(ItemGridTest, RightPressesOnOtherColumnsActByColumn) {
    AuctionItem& a = item(addItem("1"));
    a.AlarmState = "7";
    a.Shipping = "US 9.95";
    Load_ItemGrid();
    model.setCellBackColor(1, kColDescription, ColorBid);
    model.setCellBackColor(1, kColEnds, ColorAlert);

    press(kRightButton, 1, kColAlarm);
    EXPECT_EQ(alarm.shown, 1);
    EXPECT_EQ(model.Col(), kColAlarm);
    EXPECT_EQ(item(1).AlarmSetting, "");  // no click follows the dialog

    press(kRightButton, 1, kColEnds);  // without Shift: nothing
    EXPECT_EQ(item(1).AlarmState, "7");
    press(kRightButton, 1, kColEnds, 1);
    EXPECT_EQ(item(1).AlarmState, "6");
    EXPECT_EQ(model.CellBackColor(1, kColEnds), ColorBid);

    inputs.answer("");
    press(kRightButton, 1, kColShipping);
    ASSERT_EQ(inputs.asked().size(), 1u);
    EXPECT_EQ(inputs.asked()[0].prompt, "Edit shipping costs.");
    EXPECT_EQ(inputs.asked()[0].title, "Shipping Costs");
    EXPECT_EQ(inputs.asked()[0].text, "US 9.95");
    EXPECT_EQ(item(1).Shipping, "US 9.95");  // an empty answer changes nothing
    inputs.answer("US 4.50");
    press(kRightButton, 1, kColShipping);
    EXPECT_EQ(item(1).Shipping, "US 4.50");
    EXPECT_EQ(model.TextMatrix(1, kColShipping), "US 4.50");
    Load_Auction_Items();
    EXPECT_EQ(item(1).Shipping, "US 4.50");

    press(kRightButton, 1, kColMyBid);  // as a click there
    EXPECT_EQ(windows.bidForms.size(), 1u);
    EXPECT_TRUE(popups.shown().empty());
}

TEST_F(ItemGridTest, APressWhileThePhotoShowsHidesItExceptTheMiddleButton) {
    loadWith({"1"});
    Photo_Elements()[0].visible = true;
    press(kMiddleButton, 1, kColDescription);
    EXPECT_TRUE(Photo_Shown(0));
    EXPECT_EQ(GridMouseDown, 1);
    press(kLeftButton, 1, kColDescription);
    EXPECT_FALSE(Photo_Shown(0));
    EXPECT_FALSE(photo.placed[0].visible);
    EXPECT_EQ(GridClickSource, kLeftButton);
}

TEST_F(ItemGridTest, ADoubleClickOnTheDescriptionOpensTheItemsPage) {
    addItem("1");
    AuctionItem& done = item(addItem("2"));
    done.BidStatus = "Completed";
    done.CommentText = "won it";
    Load_ItemGrid();
    const long marker = model.ColWidth(0) + model.ColWidth(1) + 100;

    model.setRow(2);
    model.setCol(kColDescription);
    press(kLeftButton, 2, kColDescription, 0, marker);
    ItemGrid_DblClick();
    EXPECT_EQ(browser.bidResults, 1);  // the marker of a completed item
    EXPECT_EQ(browser.itemViews, 0);

    press(kLeftButton, 2, kColDescription, 0, marker + 200);
    ItemGrid_DblClick();
    EXPECT_EQ(browser.itemViews, 1);
    EXPECT_EQ(box.itemNumber, "2");
    EXPECT_EQ(status.status, "won it");
    EXPECT_EQ(SelectedRow, 2);

    model.MouseRow = 0;  // a caption, the item's description still current
    ItemGrid_DblClick();
    EXPECT_EQ(browser.itemViews, 1);
    model.MouseRow = 2;
    model.setCol(kColHighBid);
    ItemGrid_DblClick();
    model.setRow(3);  // an empty row
    model.setCol(kColDescription);
    ItemGrid_DblClick();
    EXPECT_EQ(browser.itemViews, 1);
}

struct FeedbackCase {
    const char* what;
    const char* altBrowser;
    int row;
    std::vector<std::string> pages;   // opened in the program's browser
    std::vector<std::string> started; // the alternate browser's argument lists (one address each)
    const char* status;
};

TEST_F(ItemGridTest, ADoubleClickInTheFeedbackListOpensTheFeedbackPage) {
    const std::string all = "http://feedback.example/ws/eBayISAPI.dll?LeaveFeedback2";
    modTLC::Set_Config_Value("Locale", "AllFeedback", all);
    modTLC::Set_Config_Value("Options", "AltBrowserPath", "/usr/bin/otherbrowser");
    FeedbackLinks = {"https://feedback.example/leave?item=1&user=a b", "javascript:alert(1)", ""};
    const FeedbackCase cases[] = {
        {"the caption: every feedback", "0", 0, {all}, {}, ""},
        {"a row: its link", "0", 1, {FeedbackLinks[0]}, {}, ""},
        {"the alternate browser gets the address as one argument", "1", 1, {}, {FeedbackLinks[0]}, ""},
        {"only web addresses go to a browser", "1", 2, {}, {}, ""},
        {"an empty link opens nothing", "0", 3, {}, {}, ""},
    };
    GridViewMode = 1;
    model.setRows(6);
    for (const auto& c : cases) {
        browser.servicePages.clear();
        browser.started.clear();
        modTLC::Set_Config_Value("Options", "AltBrowser", c.altBrowser);
        model.MouseRow = c.row;
        model.MouseCol = kColItemNumber;
        ItemGrid_DblClick();
        EXPECT_EQ(browser.servicePages, c.pages) << c.what;
        ASSERT_EQ(browser.started.size(), c.started.size()) << c.what;
        for (size_t i = 0; i < c.started.size(); ++i) {
            EXPECT_EQ(browser.started[i].program, "/usr/bin/otherbrowser") << c.what;
            EXPECT_EQ(browser.started[i].arguments, std::vector<std::string>{c.started[i]}) << c.what;
        }
    }
    browser.startSucceeds = false;
    modTLC::Set_Config_Value("Options", "AltBrowser", "1");
    model.MouseRow = 1;
    ItemGrid_DblClick();
    EXPECT_EQ(status.status, kAltBrowserFailed);
    // Any column of a row opens its link; only column 1's caption opens every feedback.
    browser.startSucceeds = true;
    modTLC::Set_Config_Value("Options", "AltBrowser", "0");
    for (int col = 0; col < 4; ++col) {
        browser.servicePages.clear();
        model.MouseRow = 1;
        model.MouseCol = col;
        ItemGrid_DblClick();
        EXPECT_EQ(browser.servicePages, std::vector<std::string>{FeedbackLinks[0]}) << "column " << col;
        browser.servicePages.clear();
        model.MouseRow = 0;
        ItemGrid_DblClick();
        EXPECT_EQ(browser.servicePages.size(), col == kColItemNumber ? 1u : 0u) << "caption of column " << col;
    }
}

TEST_F(ItemGridTest, TheSellerAnalysisPutsTheRowsItemNumberInTheBox) {
    GridViewMode = 2;
    SellerFeedbackRows = 2;
    SellerFeedbackItems = {"666", "777"};
    model.setRows(5);
    // The row shows the comment and title; the number comes from the analysis's list.
    model.setTextMatrix(2, kColItemNumber, "Fast delivery\r\n\r\nBlue teapot");
    model.setTextMatrix(3, kColItemNumber, "888");
    model.setRow(3);
    model.setCol(kColItemNumber);
    model.MouseRow = 3;
    ItemGrid_Click();
    ItemGrid_DblClick();
    EXPECT_EQ(box.itemNumber, "");  // past the list
    model.setRow(2);
    model.MouseRow = 2;
    ItemGrid_Click();
    EXPECT_EQ(box.itemNumber, "777");
    box.itemNumber.clear();
    ItemGrid_DblClick();
    EXPECT_EQ(box.itemNumber, "777");
    EXPECT_EQ(browser.itemViews, 1);
}

TEST_F(ItemGridTest, SelectItemShowsTheAlarmedItemInItsCategory) {
    addItem("1");
    addItem("2", "Lenses");
    const int lens = addItem("3", "Lenses");
    Load_ItemGrid();

    TLMainState::UpdateBusy = -1;
    SelectItem("Lenses", lens);
    EXPECT_EQ(status.status, kBusy);
    EXPECT_EQ(CurrentCategoryIndex, 0);
    TLMainState::UpdateBusy = 0;

    AlarmDisplayTicks = AlarmDisplayCount = 9;
    SelectItem("Lenses", lens);
    EXPECT_EQ(CurrentCategoryIndex, 1);
    EXPECT_EQ(SelectedRow, 2);
    EXPECT_EQ(model.Row(), 2);
    EXPECT_EQ(box.itemNumber, "3");
    EXPECT_EQ(AlarmHighlightRow, 2);
    EXPECT_EQ(AlarmHighlightColor, model.CellBackColor(2, kColDescription));
    EXPECT_EQ(AlarmDisplayTicks, 0);
    EXPECT_EQ(AlarmDisplayCount, 0);

    SelectItem("Tripods", 1);  // no such category: nothing changes
    EXPECT_EQ(CurrentCategoryIndex, 1);
    SelectItem("Cameras", lens);  // not on show there: the category changes, no row is chosen
    EXPECT_EQ(CurrentCategoryIndex, 0);
    EXPECT_EQ(AlarmHighlightRow, 2);
    EXPECT_EQ(box.itemNumber, "1");  // the load's first row

    box.itemNumber = "123";
    ItemNumBox_DblClick();
    EXPECT_EQ(box.itemNumber, "");
}

}  // namespace
