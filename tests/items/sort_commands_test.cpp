#include <gtest/gtest.h>

#include "grid_fixture.h"
#include "items/item_sort.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

class SortCommandsTest : public ItemGridTest {
protected:
    void SetUp() override {
        ItemGridTest::SetUp();
        const char* prices[] = {"US 20.00", "US 5.00", "US 1,250.00"};
        const char* bids[] = {"4", "9", "1"};
        const char* shipping[] = {"US 9.95", "Free", "See Listing"};
        const int ends[] = {7200, 600, 3600};
        const char* groups[] = {"", "B", "A"};
        for (int i = 0; i < 3; ++i) {
            AuctionItem& a = item(addItem(std::to_string(i + 1)));
            a.CurrentPrice = prices[i];
            a.BidCount = bids[i];
            a.Shipping = shipping[i];
            a.EndTime = End_Time_Text(now().addSecs(ends[i]), false);
            a.BidGroup = groups[i];
        }
        Load_ItemGrid();
    }
    // The item numbers down the grid.
    std::string shown() const {
        std::string s;
        for (int r = 1; r <= GridRowCount; ++r) s += model.TextMatrix(r, kColItemNumber);
        return s;
    }
};

struct HeaderCase {
    int col;
    const char* order;  // after this click, following the ones before
};

TEST_F(SortCommandsTest, AClickOnAColumnCaptionSortsByThatColumn) {
    const HeaderCase clicks[] = {
        {kColHighBid, "312"},    // highest first
        {kColHighBid, "213"},    // then lowest first
        {kColBids, "213"},       // most bids first
        {kColRemaining, "231"},  // ending first
        {kColEnds, "132"},       // then ending last
        {kColShipping, "213"},   // free first, "See Listing" last
        {kColGroup, "231"},      // groups by first appearance, none last
        {kColDescription, "231"},
        {kColItemNumber, "231"},
    };
    for (const auto& c : clicks) {
        ItemGrid_HeaderClick(c.col);
        EXPECT_EQ(shown(), c.order) << "column " << c.col;
    }
    Load_Auction_Items();  // each sort was saved
    EXPECT_EQ(item(1).ItemNumber, "2");
}

TEST_F(SortCommandsTest, NothingIsSortedWhileOtherWorkRunsOnTheItems) {
    TLMainState::SelectedUpdateBusy = -1;
    ItemGrid_HeaderClick(kColHighBid);
    Sort_Button_Click();
    EXPECT_EQ(status.status, kBusy);
    EXPECT_EQ(shown(), "123");
    GridViewMode = 1;
    TLMainState::SelectedUpdateBusy = 0;
    ItemGrid_HeaderClick(kColHighBid);  // a feedback list: no sort
    EXPECT_EQ(item(1).ItemNumber, "1");
}

TEST_F(SortCommandsTest, TheDefaultMenuChoosesTheKeyTheButtonSortsBy) {
    MnuSortSub_Click(4);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "DefaultSort"), "4");
    EXPECT_EQ(Default_Sort_Key(), 4);
    EXPECT_EQ(shown(), "123");  // choosing sorts nothing
    MnuSortSub_Click(9);        // no such entry
    EXPECT_EQ(Default_Sort_Key(), 4);

    Sort_Button_Click();
    EXPECT_EQ(shown(), "312");
    Sort_Dropdown_Click(6);  // entry 6: key 5, low bid
    EXPECT_EQ(shown(), "213");
    EXPECT_EQ(Default_Sort_Key(), 4);
}

}  // namespace
