// Deleting items (the selected rows, the closed items of the category on show) and the items
// guard that keeps the refresh and the deletes out while other work runs on the items.
#include <gtest/gtest.h>

#include <functional>

#include "item_commands_fixture.h"
#include "items/delete_items.h"
#include "items/item_grid.h"
#include "items/item_store.h"
#include "items/items_guard.h"
#include "items/update_item.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

constexpr int kStyle4404 = 4404;

class DeleteItemsTest : public ItemCommandsTest {
protected:
    // Items 1 to n, numbered 11, 12, ... and shown in rows 1 to n.
    void listOf(int n) {
        for (int k = 1; k <= n; ++k) addRunning(std::to_string(10 + k));
        showAllRows();
    }
    void select(int first, int last) { grid.selection = {first, last, first == last ? 1 : 2}; }
    void writeItemFiles(const std::string& n) {
        for (const std::string& f : {"Saved Items/" + n + ".html", "Saved Items/" + n + "BR.html",
                                     "Saved Items/" + n + "BH.txt", "Item Photos/" + n + ".jpg"})
            data.write(f, "x");
    }
    bool anyItemFile(const std::string& n) const {
        for (const std::string& f : {"Saved Items/" + n + ".html", "Saved Items/" + n + "BR.html",
                                     "Saved Items/" + n + "BH.txt", "Item Photos/" + n + ".jpg"})
            if (data.exists(f)) return true;
        return false;
    }
    std::vector<std::string> numbers() const {
        std::vector<std::string> n;
        for (int i = 1; i <= ItemCount; ++i) n.push_back(Items[static_cast<size_t>(i)].ItemNumber);
        return n;
    }
};

TEST_F(DeleteItemsTest, DeletesTheSelectedItemWithItsFilesAndKeepsTheOrder) {
    listOf(5);
    item(3).Title = "Blue Lamp";
    writeItemFiles("13");
    writeItemFiles("1345");  // another item's files stay
    select(3, 3);
    boxes.answer(platform::vbYes);

    Delete_Item(0);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Delete Auction Item - 13\r\n\r\n\"Blue Lamp\" ?");
    EXPECT_EQ(boxes.shown()[0].style, kStyle4404);
    EXPECT_EQ(boxes.shown()[0].title, "Delete Auction Item(s)");
    EXPECT_EQ(numbers(), (std::vector<std::string>{"11", "12", "14", "15"}));
    EXPECT_FALSE(anyItemFile("13"));
    EXPECT_TRUE(data.exists("Saved Items/1345.html"));
    EXPECT_TRUE(data.exists("Item Photos/1345.jpg"));
    const std::string h = history();
    EXPECT_NE(h.find(" - Deleted - 13 - Blue Lamp\r\n"), std::string::npos);
    EXPECT_EQ(h.find("Deleted - 11"), std::string::npos);
    EXPECT_EQ(status.statuses.back(), kItemsDeleted);
    EXPECT_EQ(grid.gridLoads, 1);
    EXPECT_EQ(grid.selected, 1);
    Load_Auction_Items();
    EXPECT_EQ(numbers(), (std::vector<std::string>{"11", "12", "14", "15"}));
}

TEST_F(DeleteItemsTest, SeveralRowsAskOnceAndShiftDeleteAsksNothing) {
    listOf(4);
    select(2, 3);
    boxes.answer(platform::vbYes);
    Delete_Item(0);
    ASSERT_EQ(boxes.texts(), std::vector<std::string>{"Delete Multiple Selected Auction Items?"});
    EXPECT_EQ(numbers(), (std::vector<std::string>{"11", "14"}));

    showAllRows();
    select(1, 2);
    boxes.clear();
    Delete_Item(1);  // Shift+Delete
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(ItemCount, 0);
    EXPECT_EQ(box.itemNumber, "");
}

TEST_F(DeleteItemsTest, DoesNothingWithoutYesOrASelection) {
    listOf(2);
    select(1, 1);
    boxes.answer(platform::vbNo);
    Delete_Item(0);
    EXPECT_EQ(ItemCount, 2);

    boxes.clear();
    grid.selection = {};  // no usable selection
    Delete_Item(1);
    EXPECT_EQ(ItemCount, 2);
    EXPECT_FALSE(data.exists("ItemHistory.txt"));
    EXPECT_TRUE(status.statuses.empty());
}

// The selected rows go whichever column's cell is current (the Item # cell after a click on it).
TEST_F(DeleteItemsTest, ActsOnTheSelectedRowsWhateverTheCurrentColumn) {
    for (int column : {kColAlarm, kColItemNumber, kColRemaining, kColShipping}) {
        SCOPED_TRACE(column);
        ResetItemStoreForTests();
        listOf(2);
        grid.column = column;
        select(2, 2);
        boxes.clear();
        boxes.answer(platform::vbYes);
        Delete_Item(0);
        EXPECT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(numbers(), std::vector<std::string>{"11"});
    }
}

TEST_F(DeleteItemsTest, ABidDueWithinAMinuteIsDeletedOnlyWhenTheUserSaysSo) {
    for (const char* bidStatus : {"BidPending", "Bid Validated"}) {
        SCOPED_TRACE(bidStatus);
        ResetItemStoreForTests();
        listOf(2);
        item(2).BidStatus = bidStatus;
        select(1, 2);
        boxes.clear();
        boxes.answer(platform::vbNo);
        Delete_Item(1);  // even Shift+Delete asks about the bid
        ASSERT_EQ(boxes.texts(), std::vector<std::string>{"Item 12 has a bid due within a minute. Delete it anyway?"});
        EXPECT_EQ(boxes.shown()[0].style, kStyle4404);
        EXPECT_EQ(ItemCount, 2);

        boxes.answer(platform::vbYes);
        Delete_Item(1);
        EXPECT_EQ(ItemCount, 0);
    }
}

TEST_F(DeleteItemsTest, DeleteClosedTakesTheClosedItemsOfTheCategoryOnShow) {
    listOf(4);
    item(1).EndTime = End_Time_Text(now().addSecs(-60), false);  // closed
    item(2).EndTime = End_Time_Text(now().addSecs(-60), false);
    item(2).Category = "Other";                                  // closed, another category
    item(3).EndTime = End_Time_Text(now().addSecs(-3600), false);
    item(3).UserID = "someone_else";                              // closed, another user's
    item(4).EndTime = "No End Date";
    boxes.answer(platform::vbYes);

    MnuSubPopupDeleteClosed_Click();

    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Delete 2 Closed Auction Items"});
    EXPECT_EQ(boxes.shown()[0].title, "Delete Closed Auction Items");
    EXPECT_EQ(boxes.shown()[0].style, kStyle4404);
    EXPECT_EQ(numbers(), (std::vector<std::string>{"12", "14"}));
    EXPECT_EQ(status.statuses.back(), kItemsDeleted);

    boxes.clear();
    MnuSubPopupDeleteClosed_Click();  // nothing closed on show: no question
    EXPECT_TRUE(boxes.shown().empty());
}

// ---- The items guard ----------------------------------------------------------------------

struct BusyCase {
    const char* what;
    std::function<void()> make;
};

TEST_F(DeleteItemsTest, TheRefreshAndTheDeletesRefuseWhileOtherWorkRunsOnTheItems) {
    const BusyCase busy[] = {
        {"a download", [] { TLMainState::DownloadBusy = -1; }},
        {"a list refresh", [] { TLMainState::UpdateBusy = -1; }},
        {"a refresh of the selected rows", [] { TLMainState::SelectedUpdateBusy = -1; }},
        {"a bid being validated", [] { item(2).BidStatus = "Validating Bid"; }},
        {"a bid being placed", [] { item(2).BidStatus = "Placing Bid"; }},
    };
    const BusyCase commands[] = {
        {"refresh", [] { Update_Selected_Item(); }},
        {"delete", [] { Delete_Item(1); }},
        {"delete closed", [] { MnuSubPopupDeleteClosed_Click(); }},
    };
    for (const auto& b : busy) {
        for (const auto& c : commands) {
            SCOPED_TRACE(std::string(b.what) + " / " + c.what);
            ResetItemStoreForTests();
            TLMainState::DownloadBusy = TLMainState::UpdateBusy = TLMainState::SelectedUpdateBusy = 0;
            listOf(2);
            item(1).EndTime = End_Time_Text(now().addSecs(-60), false);
            select(1, 2);
            status.statuses.clear();
            b.make();
            EXPECT_TRUE(Items_Busy());
            c.make();
            EXPECT_EQ(status.statuses, std::vector<std::string>{kBusyDownload});
            EXPECT_EQ(ItemCount, 2);
        }
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(service.requestCount(), 0u);

    TLMainState::DownloadBusy = TLMainState::UpdateBusy = TLMainState::SelectedUpdateBusy = 0;
    item(2).BidStatus = "Bid Placed";
    EXPECT_FALSE(Items_Busy());
}

}  // namespace
