#include <gtest/gtest.h>

#include "foundation/debug_tools.h"
#include "foundation/message_dialog.h"
#include "items/test_items.h"
#include "items_fixture.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

class TestItemsTest : public ItemsTest {
protected:
    void TearDown() override {
        Messages::SetAnswerHookForTests({});
        modDebug::ResetForTests();
        ItemsTest::TearDown();
    }
    // The next prompt is answered with `text`; the prompt's own text is kept.
    void answer(const std::string& text) {
        Messages::SetAnswerHookForTests([this, text](Messages& m) {
            prompt = m.messageText();
            m.typeText(text);
            m.clickButton(1);
        });
    }
    std::string prompt;
};

TEST_F(TestItemsTest, EndTimesAreWrittenInTheDisplayFormAndReadBack) {
    const int i = add("1");
    Set_Item_End_From_Now(i, 90);
    EXPECT_EQ(item(i).EndTime, "Jun-01-26  12:01:30");
    Get_Remaining_Secs(i);
    EXPECT_EQ(RemainingSecs, 90);
    Set_Item_End_Time(i, QDateTime(QDate(2026, 12, 24), QTime(18, 5, 0)));
    EXPECT_EQ(item(i).EndTime, "Dec-24-26  06:05:00 pm");
    EXPECT_EQ(grid.gridLoads, 2);
}

TEST_F(TestItemsTest, TheMenuToolsAskForTheirValues) {
    modDebug::Debug_Hooks() = {};
    Install_Debug_Item_Tools();
    add("111");
    add("222");
    add("333");
    grid.rowItems = {3, 1, 2};
    grid.selected = 1;

    answer("222, 600");
    modDebug::DB_Set_Item_Remaining_Time();
    EXPECT_EQ(prompt, "Item Number, Remaining Time");
    EXPECT_EQ(item(2).EndTime, End_Time_Text(now().addSecs(600), false));

    answer("120, 111, 333");
    modDebug::DB_Set_Items_Remaining_Time();
    EXPECT_EQ(prompt, "Remaining Time, Item Numbers");
    EXPECT_EQ(item(1).EndTime, End_Time_Text(now().addSecs(120), false));
    EXPECT_EQ(item(3).EndTime, item(1).EndTime);

    answer("2026-07-04 09:15:00");
    modDebug::DB_Set_Item_End_Time();  // the selected row shows item 3
    EXPECT_EQ(prompt, "Date/Time");
    EXPECT_EQ(item(3).EndTime, "Jul-04-26  09:15:00 am");

    modDebug::Set_Item_End_From_Now(2, 5);  // grid row 2 shows item 1
    EXPECT_EQ(item(1).EndTime, End_Time_Text(now().addSecs(5), false));

    answer("not a number, 5");
    const std::string before = item(1).EndTime;
    modDebug::DB_Set_Item_Remaining_Time();
    EXPECT_EQ(item(1).EndTime, before);
}

TEST_F(TestItemsTest, PseudoItemsFillEveryRecord) {
    for (int i = 0; i < 9; ++i) add(std::to_string(i + 1));
    Set_Pseudo_Items();
    const char* prices[] = {"US 28.00", "US 30.00", "US 38.00", "US 35.00", "US 45.00", "US 25.00", "US 27.00",
                            "US 28.00", "US 30.00"};
    for (int i = 1; i <= 9; ++i) {
        const AuctionItem& a = item(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(a.ItemNumber, "12345678901" + std::to_string(i));
        EXPECT_EQ(a.CurrentPrice, prices[i - 1]);
        EXPECT_EQ(a.Shipping, "US 9.95");
        EXPECT_EQ(a.Category, "Cameras");
        EXPECT_EQ(a.Seller, kTestSeller);
        Get_Remaining_Secs(i);
        EXPECT_EQ(RemainingSecs, i % 2 ? 4 * 3600 : -4 * 3600);
        EXPECT_EQ(a.BidStatus, i % 2 ? "" : "Completed");
    }
}

TEST_F(TestItemsTest, TheSpecialToolMakesThreeFinishedItems) {
    for (int i = 0; i < 4; ++i) add(std::to_string(i + 1));
    Special_Items();
    const struct { const char* resultDone; const char* highBidder; const char* status; } expected[] = {
        {"1", kTestBidder, "Completed"}, {"1", "", ""}, {"1", kTestBidder, "Completed"}, {"", "", ""}};
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(item(i).Seller, kTestSeller);
        EXPECT_EQ(item(i).UserID, kTestBidder);
        EXPECT_EQ(item(i).ResultDone, expected[i - 1].resultDone);
        EXPECT_EQ(item(i).HighBidder, expected[i - 1].highBidder);
        EXPECT_EQ(item(i).BidStatus, expected[i - 1].status);
    }
    EXPECT_EQ(Get_Remaining_Time(1), "Final Closing");
    EXPECT_EQ(*Read_End_Time(item(1).EndTime), QDateTime(QDate(2007, 6, 5), QTime(12, 0)));
}

}  // namespace
