// The bid scheduler's dial pass with the dial-up line behind it: the count-down to the dial, the
// dial a set number of minutes before the end, and the hang-up a set number after it.
#include "bidding/bid_engine_links.h"
#include "bidding/bid_scheduler.h"
#include "dialup_fixture.h"

namespace dialtest {
namespace {

class SchedulerDial : public DialupFixture {
protected:
    void SetUp() override {
        DialupFixture::SetUp();
        TLMainBids::ResetBidEngineForTests();
        TLMainBids::setBidLink<TLMainBids::AutoDialer>(&dialer);
    }
    void TearDown() override {
        TLMainBids::setBidLink<TLMainBids::AutoDialer>(nullptr);
        TLMainBids::ResetBidEngineForTests();
        DialupFixture::TearDown();
    }
    // Runs the scheduler's ticks (four a second) and every timer for `ms`.
    void tick(qint64 ms) {
        for (qint64 t = 0; t < ms; t += 250) {
            TLMainBids::ScanItems_Timer();
            time.advanceMs(250);
        }
    }
};

TEST_F(SchedulerDial, DialsFiveMinutesBeforeTheEndAndHangsUpAMinuteAfterIt) {
    chooseOffice();
    modRAS::DialType = 1;
    modRAS::ConnectTimeMins = 5;
    modRAS::HangupTimeMins = 1;
    const int i = itemEndingIn(340);
    TLMainItems::Items[static_cast<size_t>(i)].DialBeforeBid = 1;

    tick(20000);  // about 320 s to the end: the count-down runs
    EXPECT_EQ(status.status.rfind("Warning! Auto Dial will occur in ", 0), 0u) << status.status;
    EXPECT_TRUE(network.dials.empty());
    tick(23000);  // the dial at 300 s, its first attempt a tick of SyncAutoDial later
    ASSERT_EQ(network.dials.size(), 1u);
    EXPECT_TRUE(modRAS::DialConnected);
    EXPECT_EQ(TLMainItems::Items[static_cast<size_t>(i)].DialBeforeBid, 0);
    EXPECT_NE(std::find(status.statuses.begin(), status.statuses.end(), "Dialing Office - Attempt #1"),
              status.statuses.end());
    EXPECT_EQ(status.status, "Connection Established....");

    tick(350000);  // to 53 s after the end
    EXPECT_TRUE(network.hungUp.empty());
    EXPECT_EQ(status.status.rfind("Warning! Auto Disconnect in ", 0), 0u) << status.status;
    tick(15000);  // the hang-up at 60 s after the end, then its 4-second wait
    EXPECT_EQ(network.hungUp, std::vector<std::string>{"Office"});
    EXPECT_FALSE(modRAS::DialConnected);
    EXPECT_NE(opLog().find("Auto Disconnected"), std::string::npos);
}

}  // namespace
}  // namespace dialtest
