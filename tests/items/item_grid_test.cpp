#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "grid_fixture.h"
#include "items/bid_status.h"
#include "items/remaining_time.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

using Change = void (*)(AuctionItem&);

struct CellCase {
    const char* what;
    Change change;
    int col;
    const char* text;
    int picture;
};

TEST_F(ItemGridTest, FillsEachCellOfARowByItsRules) {
    const CellCase cases[] = {
        {"item number", [](AuctionItem&) {}, 1, "900001", 0},
        {"title alone", [](AuctionItem&) {}, 2, "Item 900001", 0},
        {"won: title alone", [](AuctionItem& a) { a.BidStatus = "Completed"; a.HighBidder = "buyer1"; }, 2,
         "Item 900001", 0},
        {"lost: marker and five blanks",
         [](AuctionItem& a) { a.BidStatus = "Completed"; a.HighBidder = "other"; }, 2, "     Item 900001", kPicLost},
        {"won, the ID in another case: title alone",
         [](AuctionItem& a) { a.BidStatus = "Completed"; a.HighBidder = "BUYER1"; }, 2, "Item 900001", 0},
        {"the user high with the reserve not met: lost",
         [](AuctionItem& a) { a.BidStatus = "Completed"; a.HighBidder = "buyer1"; a.ReserveFlag = 1; }, 2,
         "     Item 900001", kPicLost},
        {"a bid the service never confirmed: its own marker, no lost-bid marker",
         [](AuctionItem& a) { a.BidStatus = kBidNotConfirmed; a.HighBidder = "other"; a.AfterBidOptions = "1"; }, 2,
         "     Item 900001", kPicUnconfirmed},
        {"a bid never placed: its own marker, no lost-bid marker",
         [](AuctionItem& a) { a.BidStatus = "Item Closed"; a.HighBidder = "other"; a.AfterBidOptions = "1"; }, 2,
         "     Item 900001", kPicNeverPlaced},
        {"e-mail after the bid", [](AuctionItem& a) { a.AfterBidOptions = "1"; }, 2, "   Item 900001", kPicMail},
        {"sleep after the bid", [](AuctionItem& a) { a.AfterBidOptions = "2"; }, 2, "   Item 900001", kPicSleep},
        {"both after the bid", [](AuctionItem& a) { a.AfterBidOptions = "3"; }, 2, "      Item 900001",
         kPicMailSleep},
        {"unknown after-bid options write nothing", [](AuctionItem& a) { a.AfterBidOptions = "7"; }, 2, "", 0},
        {"price", [](AuctionItem&) {}, 3, "US 10.00", 0},
        {"reserve not met: marker, no blanks", [](AuctionItem& a) { a.ReserveFlag = 1; }, 3, "US 10.00", kPicReserve},
        {"maximum bid", [](AuctionItem& a) { a.MaxBid = "40.00"; }, 4, "40.00", 0},
        {"fixed price whatever the maximum", [](AuctionItem& a) { a.ListingType = "BIN"; a.MaxBid = "40.00"; }, 4,
         "BIN", 0},
        {"bids", [](AuctionItem&) {}, 5, "3", 0},
        {"day name before the end", [](AuctionItem&) {}, 7, "Tue, Jun-02-26  12:00:00", 0},
        {"no day name when switched off",
         [](AuctionItem&) { modTLC::Set_Config_Value("Options", "DayofWeek", "0"); }, 7, "Jun-02-26  12:00:00", 0},
        {"no day name without a date", [](AuctionItem& a) { a.EndTime = "No End Date"; }, 7, "No End Date", 0},
        {"group", [](AuctionItem& a) { a.BidGroup = "G1"; }, 8, "G1", 0},
        {"held group: marker and two blanks", [](AuctionItem& a) { a.BidGroup = "G1"; a.GroupLock = 1; }, 8, "  G1",
         kPicHeld},
        {"shipping", [](AuctionItem& a) { a.Shipping = "US 9.95"; }, 9, "US 9.95", 0},
        {"alarm: marker only", [](AuctionItem& a) { a.AlarmSetting = "1284"; }, 0, "", kPicAlarm},
    };
    for (const auto& c : cases) {
        ResetItemStoreForTests();
        modTLC::Delete_Config_Key("Options", "DayofWeek");
        c.change(item(addItem("900001")));
        Load_ItemGrid();
        EXPECT_EQ(model.TextMatrix(1, c.col), c.text) << c.what;
        EXPECT_EQ(model.CellPicture(1, c.col), c.picture) << c.what;
    }
    EXPECT_EQ(model.TextMatrix(1, kColRemaining), Get_Remaining_Time(1));
    for (int col = 0; col < kGridCols; ++col) EXPECT_EQ(model.TextMatrix(0, col), kGridCaptions[col]);
}

struct FilterCase {
    const char* what;
    const char* userOnly;
    std::vector<long> order;  // ItemOrder from row 1
    int rows;                 // grid rows
};

TEST_F(ItemGridTest, ShowsTheCategoryOnShowAndWithTheSwitchOnlyTheUsersItems) {
    addItem("1");
    addItem("2", "Lenses");
    addItem("3");
    item(addItem("4")).UserID = "someone";
    addItem("5", "cameras");  // another name: the match is exact
    const FilterCase cases[] = {
        {"every user", "0", {0, 1, 3, 4}, 3 + 4},
        {"the user's only; the empty rows still count the others", "1", {0, 1, 3}, 3 + 4},
    };
    for (const auto& c : cases) {
        modTLC::Set_Config_Value("Options", "ShowUserItemsOnly", c.userOnly);
        Load_ItemGrid();
        EXPECT_EQ(ItemOrder, c.order) << c.what;
        EXPECT_EQ(GridRowCount, static_cast<int16_t>(c.order.size() - 1)) << c.what;
        EXPECT_EQ(model.Rows(), c.rows) << c.what;
        EXPECT_EQ(model.rowCount(), c.rows - 1) << c.what;
    }
}

TEST_F(ItemGridTest, AnEmptyCategoryLeavesTheHeaderCurrentAndTheDetailsEmpty) {
    addItem("1", "Lenses");
    box.itemNumber = "1";
    status.setStatus("before");
    Load_ItemGrid();
    EXPECT_EQ(GridRowCount, 0);
    EXPECT_EQ(model.Rows(), 4);
    EXPECT_EQ(model.Row(), 0);
    EXPECT_EQ(model.Col(), 0);
    EXPECT_EQ(box.itemNumber, "");
    EXPECT_EQ(window.seller, "Seller:");
    EXPECT_EQ(status.status, "before");  // no click ran
    EXPECT_EQ(window.resizes, 1);
}

struct RestoreCase {
    int16_t restore;
    int row;              // selected after the load
    const char* details;  // the item number box: "" when no item was clicked
};

TEST_F(ItemGridTest, SelectsTheRestoreRowAndShowsItsDetails) {
    const RestoreCase cases[] = {
        {0, 1, "11"}, {-3, 1, "11"}, {2, 2, "12"}, {3, 3, "13"},
        {4, 4, ""},   // an empty row below the items: nothing clicked
        {40, 6, ""},  // past the grid: its last, empty, row
    };
    for (const char* n : {"11", "12", "13"}) addItem(n);
    for (const auto& c : cases) {
        box.itemNumber.clear();
        GridRestoreRow = c.restore;
        Load_ItemGrid();
        EXPECT_EQ(model.Row(), c.row) << c.restore;
        EXPECT_EQ(model.Col(), kColDescription) << c.restore;
        EXPECT_EQ(box.itemNumber, c.details) << c.restore;
    }
}

// The rows can come back in another order (an add sorted in, a sort, a delete): the load selects
// the items that were selected, by number, and shows the details of the one last clicked. Only
// when that item is gone does the row count. A range comes back where its items still stand
// together; an item sorted in between leaves the clicked item alone selected.
TEST_F(ItemGridTest, TheSelectionFollowsItsItemsWhenTheRowsMove) {
    // Moves the last item of the list to index `to` (an add that sorts there).
    const auto sortsIn = [](size_t to) {
        return [to] { std::rotate(Items.begin() + static_cast<long>(to), Items.end() - 1, Items.end()); };
    };
    const struct {
        const char* name;
        int current, end;  // the rows selected before, the clicked one first
        const char* added;  // an item added to the list, or nullptr
        std::function<void()> change;
        int row, rowSel;    // selected after the load
        const char* details;
    } cases[] = {
        {"an add sorted in above", 2, 2, "10", sortsIn(1), 3, 3, "12"},
        {"an add sorted in below", 2, 2, "14", sortsIn(4), 2, 2, "12"},
        {"a sort that turns the list", 1, 1, nullptr, [] { std::reverse(Items.begin() + 1, Items.end()); }, 3, 3, "11"},
        {"the selected item deleted: its row", 2, 2, nullptr,
         [] {
             Items.erase(Items.begin() + 2);
             --ItemCount;
         },
         2, 2, "13"},
        {"a range below an add", 3, 2, "10", sortsIn(1), 4, 3, "13"},
        {"a range clicked at its top", 1, 2, "14", sortsIn(4), 1, 2, "11"},
        {"an add sorted into a range", 1, 2, "14", sortsIn(2), 1, 1, "11"},
    };
    for (const auto& c : cases) {
        ResetItemStoreForTests();
        for (const char* n : {"11", "12", "13"}) addItem(n);
        GridRestoreRow = 0;
        Load_ItemGrid();
        selectRows(c.current, c.end);
        press(kLeftButton, c.current, kColDescription);
        ItemGrid_Click();
        if (c.added) addItem(c.added);
        c.change();
        box.itemNumber.clear();
        Load_ItemGrid();
        EXPECT_EQ(model.Row(), c.row) << c.name;
        EXPECT_EQ(model.RowSel(), c.rowSel) << c.name;
        EXPECT_EQ(model.Col(), kColDescription) << c.name;
        EXPECT_EQ(box.itemNumber, c.details) << c.name;
        EXPECT_EQ(window.seller, std::string("Seller: seller") + c.details + " (12) 99.5%") << c.name;
        EXPECT_EQ(GridRestoreRow, c.row) << c.name;
    }
}

// The load's own click shows its item while a list refresh or a list add runs (they load the grid
// and click their rows themselves), and leaves their flag set; a running download still holds it.
TEST_F(ItemGridTest, TheLoadsClickShowsItsItemWhileAListRefreshRuns) {
    for (const char* n : {"11", "12"}) addItem(n);
    const struct {
        int16_t* flag;
        const char* details;
        const char* status;
    } cases[] = {
        {&TLMainState::UpdateBusy, "11", ""},
        {&TLMainState::DownloadBusy, "", kBusy},
    };
    for (const auto& c : cases) {
        box.itemNumber.clear();
        status.setStatus("");
        *c.flag = -1;
        Load_ItemGrid();
        EXPECT_EQ(*c.flag, -1);
        *c.flag = 0;
        EXPECT_EQ(box.itemNumber, c.details);
        EXPECT_EQ(status.status, c.status);
    }
}

TEST_F(ItemGridTest, DoesNothingWhileAFeedbackListIsShown) {
    addItem("1");
    model.setTextMatrix(1, 1, "feedback row");
    GridViewMode = 1;
    Load_ItemGrid();
    EXPECT_EQ(model.TextMatrix(1, 1), "feedback row");
    EXPECT_EQ(window.resizes, 0);
}

struct ColourCase {
    long windows;
    QColor colour;
};

TEST_F(ItemGridTest, WindowsColoursAreBlueGreenRedFromTheHighByteDown) {
    const ColourCase cases[] = {
        {255, QColor(255, 0, 0)},       {65280, QColor(0, 255, 0)},      {16711680, QColor(0, 0, 255)},
        {33023, QColor(255, 128, 0)},   {65535, QColor(255, 255, 0)},    {16777215, QColor(255, 255, 255)},
        {0x00123456, QColor(0x56, 0x34, 0x12)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Windows_Colour(c.windows), c.colour) << c.windows;
        EXPECT_EQ(Windows_Colour_Value(c.colour), c.windows) << c.windows;
    }
}

TEST_F(ItemGridTest, TheBidStatusPaintsTheLoadedRowsInTheirColours) {
    addItem("1");
    AuctionItem& leading = item(addItem("2"));
    leading.MaxBid = "40.00";
    AuctionItem& outbid = item(addItem("3"));
    outbid.MaxBid = "5.00";
    Load_ItemGrid();
    EXPECT_EQ(model.CellBackColor(1, 2), kNoColour);
    EXPECT_EQ(model.CellBackColor(2, 2), ColorBid);
    EXPECT_EQ(model.CellBackColor(3, 9), ColorOutBid);
    const QModelIndex cell = model.index(2 - 1, 2);  // model rows start below the header
    EXPECT_EQ(model.data(cell, Qt::BackgroundRole).value<QColor>(), Windows_Colour(ColorBid));
    EXPECT_FALSE(model.data(model.index(0, 2), Qt::BackgroundRole).isValid());
    // the next load starts from clean cells
    item(2).MaxBid.clear();
    Load_ItemGrid();
    EXPECT_EQ(model.CellBackColor(2, 2), kNoColour);
}

TEST_F(ItemGridTest, TheModelShowsTextsPicturesAndCaptions) {
    item(addItem("1")).ReserveFlag = 1;
    model.setPictureProvider([](int picture) { return QVariant(QString("picture %1").arg(picture)); });
    Load_ItemGrid();
    const QModelIndex price = model.index(0, kColHighBid);
    EXPECT_EQ(model.data(price, Qt::DisplayRole).toString(), "US 10.00");
    EXPECT_EQ(model.data(price, ItemGridModel::PictureRole).toInt(), kPicReserve);
    EXPECT_EQ(model.data(price, Qt::DecorationRole).toString(), "picture 22");
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
    EXPECT_FALSE(model.data(price, Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Item #");

    // The markers of a bid the service never confirmed and of one never placed say what they mean.
    item(addItem("2")).BidStatus = kBidNotConfirmed;
    item(addItem("3")).BidStatus = "Item Closed";
    Load_ItemGrid();
    EXPECT_EQ(model.data(model.index(1, kColDescription), Qt::ToolTipRole).toString(),
              "Bid Not Confirmed by eBay - It May Not Have Counted");
    EXPECT_EQ(model.data(model.index(2, kColDescription), Qt::ToolTipRole).toString(), "Item Closed - No Bid Placed");
}

struct ColumnsCase {
    const char* mask;
    std::vector<long> widths;  // columns 0 to 9; column 2 is the window's
};

TEST_F(ItemGridTest, ItemColumnsTakeTheirWidthsFromTheColumnSwitches) {
    const ColumnsCase cases[] = {
        {"63", {250, 1350, 0, 1170, 750, 450, 1600, 2200, 900, 900}},
        {"0", {0, 0, 0, 1170, 750, 450, 0, 0, 0, 0}},
        {"6", {0, 1350, 0, 1170, 750, 450, 0, 2200, 0, 0}},
        {"41", {250, 0, 0, 1170, 750, 450, 1600, 0, 0, 900}},
    };
    for (const auto& c : cases) {
        modTLC::Set_Config_Value("Options", "Columns", c.mask);
        Set_Up_Item_Columns();
        for (int col = 0; col < kGridCols; ++col)
            EXPECT_EQ(model.ColWidth(col), c.widths[static_cast<size_t>(col)]) << c.mask << " column " << col;
        EXPECT_EQ(model.Rows(), 5);
    }
    modTLC::Set_Config_Value("Options", "ColWidth3", "2000");
    modTLC::Set_Config_Value("Options", "ColWidth9", "wide");
    modTLC::Set_Config_Value("Options", "Columns", "63");
    Set_Up_Item_Columns();
    EXPECT_EQ(model.ColWidth(3), 2000);
    EXPECT_EQ(model.ColWidth(9), 900);
}

TEST_F(ItemGridTest, ARowRewrittenInPlaceLosesWhatItShowedBefore) {
    AuctionItem& a = item(addItem("1"));
    a.ReserveFlag = 1;
    a.AlarmSetting = "1284";
    Load_ItemGrid();
    a.ReserveFlag = 0;
    a.AlarmSetting.clear();
    a.CurrentPrice = "US 12.00";
    model.refreshItemRow(1);
    EXPECT_EQ(model.TextMatrix(1, kColHighBid), "US 12.00");
    EXPECT_EQ(model.CellPicture(1, kColHighBid), 0);
    EXPECT_EQ(model.CellPicture(1, kColAlarm), 0);
    EXPECT_EQ(model.TextMatrix(1, kColItemNumber), "1");
}

}  // namespace
