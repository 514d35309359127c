// The whole road of one bid through the main window's own timers on the fake clock: the stored
// item is armed, the scheduler validates it, places it in its second against the fake service and
// records the result after the end.
#include "bid_fixture.h"

#include "bidding/bid_email.h"
#include "mainwindow/tl_main.h"

namespace testsupport {
namespace {

class EndToEndTest : public BidTest {
protected:
    void SetUp() override {
        BidTest::SetUp();
        // The main window's timers take over from the fixture's.
        scanItems.setEnabled(false);
        TLMain::unloadForTests();
    }
    void TearDown() override {
        TLMain::unloadForTests();
        TLMainBids::ResetBidEmailForTests();
        BidTest::TearDown();
    }
};

TEST_F(EndToEndTest, ABidIsPlacedInItsSecondAndItsResultRecorded) {
    serve();
    modTLC::Set_Config_Value("Options", "ClockSet", "0");
    const std::string number = "110012345678";
    const int armed = arm(number, 5, 90, "25.00");
    item(armed).AfterBidOptions = "1";
    ended(number, kUser, "US $21.00");
    ASSERT_TRUE(TLMainItems::Save_Auction_Items());
    TLMainItems::ResetItemStoreForTests();

    TLMain& w = TLMain::instance();
    w.Form_Load();
    TLMainItems::Load_Auction_Items();
    const int i = TLMainItems::FindItemIndex(number);
    ASSERT_GT(i, 0);

    long placedAt = 99999;
    for (int k = 0; k < 4 * 110 && item(i).BidStatus != "Completed"; ++k) {
        time.advanceMs(250);
        settle();
        if (placedAt == 99999 && bidPages->acceptBids(number) > 0) placedAt = remaining(i);
    }
    EXPECT_EQ(placedAt, 5);
    EXPECT_EQ(bidPages->makeBids(number), 1u);
    EXPECT_EQ(bidPages->acceptBids(number), 1u);
    EXPECT_EQ(item(i).BidStatus, "Completed");
    EXPECT_EQ(item(i).ResultDone, "1");
    EXPECT_EQ(item(i).HighBidder, kUser);
    EXPECT_EQ(w.statusText(), "Bid Updated for Item " + number);
    EXPECT_TRUE(logged("Bid Placed for Item " + number)) << opLog();
    EXPECT_TRUE(logged("End of Auction Update - Item " + number + " - Bid Won")) << opLog();
    // The window's own result mail has it queued, to send a second later.
    EXPECT_EQ(TLMainBids::BidResultsMailQueue, std::deque<std::string>({number}));
    EXPECT_EQ(data.read("Saved Items/" + number + "BR.html"),
              BidPages::acceptPage(AcceptBidAnswer::HighBidder, "") + "\r\n");
    TLMainItems::ResetItemStoreForTests();
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(byNumber(number).BidStatus, "Completed");
}

}  // namespace
}  // namespace testsupport
