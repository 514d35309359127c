// The scheduler's timeline against the fake service: when an armed item becomes "BidPending",
// is validated, placed and updated, what the user is told, and what holds the steps back.
#include "bid_fixture.h"

#include "bidding/bid_validation.h"
#include "bidding/dial_state.h"
#include "foundation/busy_holds.h"

using TLMainBids::kMinuteWarningText;

namespace testsupport {
namespace {

class SchedulerTest : public BidTest {};

// What happened to one item, by the seconds left when each step was seen.
struct Timeline {
    long pending = 99999;   // status "BidPending" first seen
    long offer = 99999;     // the MakeBid request arrived
    long accept = 99999;    // the AcceptBid request arrived
    long history = 99999;   // the result update's history request arrived
    size_t accepts = 0;
    std::string finalStatus;
};

TEST_F(SchedulerTest, EachStepComesAtItsSecondWhateverTheBidTimeAndStart) {
    struct Case { long B; long start; };  // start: seconds left at the first tick
    const Case cases[] = {
        {3, 70}, {3, 50}, {3, 20},
        {10, 75}, {10, 35},
        {59, 125}, {59, 80},
        {61, 130}, {61, 61},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string number = "1100000000" + std::to_string(10 + n++);
        align();
        const int i = arm(number, c.B, c.start);
        ended(number, kUser, "US 11.00");
        window.statuses.clear();
        Timeline t;
        for (int k = 0; k < (c.start + 12) * 4 && t.history == 99999; ++k) {
            tick();
            const long R = remaining(i);
            if (t.pending == 99999 && item(i).BidStatus == "BidPending") t.pending = R;
            if (t.offer == 99999 && bidPages->makeBids(number) > 0) t.offer = R;
            if (t.accept == 99999 && bidPages->acceptBids(number) > 0) t.accept = R;
            if (t.history == 99999 && !requestsTo("/ws/eBayISAPI.dll?ViewBids&item=" + number).empty()) t.history = R;
        }
        tick(4);
        const std::string what = "B=" + std::to_string(c.B) + " start=" + std::to_string(c.start);
        EXPECT_EQ(t.pending, std::min(c.start, c.B + 60)) << what;
        if (c.start > c.B + 30) EXPECT_EQ(t.offer, c.B + 30) << what;
        else EXPECT_GE(t.offer, c.start - 1) << what;  // the tick after "BidPending"
        EXPECT_EQ(t.accept, c.B) << what;
        EXPECT_EQ(bidPages->acceptBids(number), 1u) << what;
        EXPECT_EQ(t.history, -5) << what;
        EXPECT_EQ(item(i).BidStatus, "Completed") << what;
        EXPECT_EQ(statusCount(kMinuteWarningText), 1u) << what;
        EXPECT_TRUE(links.messages.missed.empty()) << what;
        item(i).BidTimeSecs = 0;
    }
    EXPECT_EQ(links.clock.syncs, static_cast<int>(std::size(cases)));  // ClockSet is on by default
}

TEST_F(SchedulerTest, OverlappingLastMinutesGiveOneWarningAndALaterOneItsOwn) {
    serve();
    arm("110000000001", 10, 100);
    arm("110000000002", 10, 110);  // inside the first one's minute
    arm("110000000003", 10, 200);  // after the first two are done
    for (const char* number : {"110000000001", "110000000002"}) ended(number, "carol", "US $25.00");
    modTLC::Set_Config_Value("Options", "Sound", "1");
    modTLC::Set_Config_Value("Options", "ClockSet", "0");
    tick(4 * 62);
    EXPECT_EQ(statusCount(kMinuteWarningText), 1u);
    EXPECT_EQ(item(1).BidStatus, "Bid Validated");
    EXPECT_EQ(item(2).BidStatus, "BidPending");
    tick(4 * 100);
    EXPECT_EQ(statusCount(kMinuteWarningText), 2u);
    EXPECT_EQ(links.clock.syncs, 0);
    size_t general = 0;
    for (const auto& p : window.played) general += p.name == "General";
    EXPECT_EQ(general, 2u);
}

TEST_F(SchedulerTest, AMissedBidClosesOnceWithALogLineAndOneMessage) {
    const int late = arm("110000000001", 10, -2);
    item(late).BidStatus = "Bid Validated";
    const int held = arm("110000000002", 10, 1);
    item(held).GroupLock = 1;
    const int moved = arm("110000000003", 10, -1);
    item(moved).BidStatus = "Item Closed";
    item(moved).EndTime = endIn(500);  // a refresh moved the end later
    tick(12);
    EXPECT_EQ(item(late).BidStatus, "Item Closed");
    EXPECT_EQ(loggedCount("Item Closed - No Bid Placed - 110000000001 - Bid Status = Bid Validated"), 1u) << opLog();
    ASSERT_EQ(links.messages.missed.size(), 1u);  // the held item's close shows nothing
    EXPECT_EQ(links.messages.missed[0],
              "Warning! A scheduled bid was not placed for item 110000000001\r\n\r\nThe host computer or program may "
              "not have been on at bid time.\r\n\r\nCheck the program log for details. (Ctrl-O)");
    EXPECT_EQ(item(held).BidStatus, "Item Closed");
    EXPECT_TRUE(logged("Item Closed - No Bid Placed - 110000000002 - Bid Status = ")) << opLog();
    EXPECT_EQ(item(held).BidTimeSecs, 10);
    EXPECT_EQ(item(moved).BidStatus, "");
    TLMainItems::Load_Auction_Items();  // the closes were saved
    EXPECT_EQ(byNumber("110000000001").BidStatus, "Item Closed");
}

// A first tick after a long absence closes every missed bid in one pass and saves the list once.
// The scheduler ticks on a 250 ms grid that starts on the program clock's whole second, however the
// start or the clock falls: the tick that places a bid comes at the start of its second.
TEST_F(SchedulerTest, TicksFallOnTheGridOfTheWholeSecond) {
    struct C { qint64 at; int next; };
    const C cases[] = {{0, 250}, {1, 249}, {137, 113}, {249, 1}, {250, 250}, {999, 1}, {-1, 1}, {-137, 137}};
    for (const C& c : cases) EXPECT_EQ(TLMainBids::Ms_To_Next_Scan(c.at), c.next) << c.at;

    TLMainBids::Detach_Bid_Timers();
    TLMainBids::Attach_Bid_Timers(&scanItems, &requestHandler);
    time.clock.setNow(time.clock.now().addMSecs(137));  // a start at .137
    TLMainBids::Enable_Bid_Scheduler();
    EXPECT_EQ(scanItems.interval(), 113);
    time.advanceMs(113);  // the first tick, on .250
    EXPECT_EQ(scanItems.interval(), 250);
    EXPECT_EQ(TLMainBids::Program_Now_Ms() % 250, 0);

    // The clock is set 400 ms on (a time synchronisation): the grid is put back on the second.
    time.clock.setNow(time.clock.now().addMSecs(400));
    TLMainBids::Realign_Scan_Timer();
    EXPECT_EQ(scanItems.interval(), 100);
    time.advanceMs(100);
    EXPECT_EQ(TLMainBids::Program_Now_Ms() % 250, 0);
    EXPECT_EQ(scanItems.interval(), 250);
}

TEST_F(SchedulerTest, ThePassThatClosesManyMissedBidsSavesOnce) {
    for (int k = 0; k < 20; ++k) arm("1200000000" + std::to_string(10 + k), 10, -100 - k);
    const long before = TLMainItems::Item_Store_Save_Count();
    tick(1);
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) EXPECT_EQ(item(i).BidStatus, "Item Closed") << i;
    EXPECT_EQ(TLMainItems::Item_Store_Save_Count() - before, 1);
    tick(4);
    EXPECT_EQ(TLMainItems::Item_Store_Save_Count() - before, 1) << "nothing changed: nothing saved";
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(byNumber("120000000010").BidStatus, "Item Closed");
}

TEST_F(SchedulerTest, ARequestRunningAtTheEndFinishesItsOwnStatus) {
    serve();
    const int i = arm("110000000001", 3, 40);
    bidPages->setAcceptBid("110000000001", AcceptBidAnswer::Stall);
    while (item(i).BidStatus != "Placing Bid" && remaining(i) > 0) tick();
    ASSERT_EQ(item(i).BidStatus, "Placing Bid");
    tick(4 * 6, 20);  // past the end, the answer still awaited
    EXPECT_EQ(item(i).BidStatus, "Placing Bid");
    tick(4 * 4, 20);  // the placing's time runs out a few seconds after the end
    EXPECT_NE(item(i).BidStatus, "Placing Bid");
    EXPECT_NE(item(i).BidStatus, "Item Closed");
    EXPECT_TRUE(logged("Error! No Bid Results Returned! - bob - Item 110000000001")) << opLog();
    EXPECT_EQ(bidPages->acceptBids("110000000001"), 1u);
    EXPECT_TRUE(links.messages.missed.empty());
    EXPECT_FALSE(logged("Item Closed - No Bid Placed - 110000000001 - Bid Status = Placing Bid")) << opLog();
    fake->release();
}

// A validated bid holds back the result update of an item that ended less than 10 seconds before
// its bid's second (the update could not come first); a held one, or one further off, holds back
// nothing.
TEST_F(SchedulerTest, OnlyAnArmedUnheldValidatedBidCloseAfterTheEndHoldsBackResultUpdates) {
    serve();
    const int done = arm("110000000001", 5, -6);
    item(done).BidStatus = "Bid Placed";
    item(done).BidTimeSecs = 0;
    ended("110000000001", kUser, "US 11.00");
    const int waiting = arm("110000000002", 5, 8);  // its bid second 9 s after the other's end
    item(waiting).BidStatus = "Bid Validated";
    item(waiting).ConfirmRequest = "offer.ebay.com/ws/eBayISAPI.dll?MfcISAPICommand=AcceptBid&item=110000000002";
    tick(8);
    EXPECT_TRUE(requestsTo("/ws/eBayISAPI.dll?ViewBids").empty());
    item(waiting).GroupLock = 1;  // held: it will not be placed, so it blocks nothing
    tick(8);
    EXPECT_EQ(item(done).BidStatus, "Completed");
    EXPECT_EQ(item(waiting).BidStatus, "Bid Validated");
}

// The clock synchronisation started at the one-minute warning runs on its own: one that takes
// seconds to end holds back no tick, and the bid is validated and placed in its seconds meanwhile.
TEST_F(SchedulerTest, ADutyThatTakesSecondsAtTheWarningHoldsBackNoTick) {
    serve();
    modTLC::Set_Config_Value("Options", "ClockSet", "1");
    links.clock.holdEnds = true;
    const std::string number = "110000000001";
    bidPages->setMakeBid(number, MakeBidAnswer::Confirm);
    bidPages->setAcceptBid(number, AcceptBidAnswer::HighBidder);
    align();
    const int i = arm(number, 5, 70);
    long placedAt = 99999;
    for (int k = 0; k < 4 * 70 && placedAt == 99999; ++k) {
        tick(1, 200);
        if (placedAt == 99999 && bidPages->acceptBids(number) > 0) placedAt = remaining(i);
    }
    EXPECT_EQ(links.clock.syncs, 1);
    EXPECT_EQ(links.clock.pending.size(), 1u) << "still synchronising when the bid went out";
    EXPECT_EQ(placedAt, 5);
    EXPECT_EQ(bidPages->makeBids(number), 1u);
    links.clock.finish();
}

// A group that needs one win, its items ending 40 seconds apart: the first item's result is
// fetched and counted before the second one's bid second, so the second bid is cancelled and only
// one offer goes out.
TEST_F(SchedulerTest, AGroupNeverWinsMoreThanItAskedWhenItsItemsEndApart) {
    serve();
    const std::string first = "110000000001", second = "110000000002";
    for (const std::string& n : {first, second}) {
        bidPages->setMakeBid(n, MakeBidAnswer::Confirm);
        bidPages->setAcceptBid(n, AcceptBidAnswer::HighBidder);
    }
    const int a = arm(first, 10, 70);
    const int b = arm(second, 10, 110);
    for (int i : {a, b}) {
        item(i).BidGroup = "Cups";
        item(i).GroupNeed = 1;
    }
    ended(first, kUser, "US 12.00");
    for (int k = 0; k < 4 * 125 && item(b).BidStatus != "Item Closed"; ++k) tick(1, 200);
    EXPECT_EQ(bidPages->acceptBids(first), 1u);
    EXPECT_EQ(bidPages->acceptBids(second), 0u);
    EXPECT_EQ(item(a).BidStatus, "Completed");
    EXPECT_EQ(item(a).GroupWins, 1);
    EXPECT_EQ(item(b).BidGroup, "[Cancelled]-Cups");
    EXPECT_EQ(item(b).BidTimeSecs, 0);
}

TEST_F(SchedulerTest, AResultUpdateIsRequestedOnceWhileItRunsEvenWhenASignInEndsInside) {
    serve();
    const std::string number = "110000000001";
    const int i = arm(number, 5, -6);
    item(i).BidStatus = "Bid Placed";
    item(i).BidTimeSecs = 0;
    item(i).BidGroup = "Cups";
    item(i).GroupNeed = 3;
    ended(number, kUser, "US 11.00");
    ScriptedResponse slow = ScriptedResponse::ok(bidHistoryHtml({{kUser, "(12)", "US 11.00"}}));
    slow.delayMs = 1500;
    fake->route(modTLMain::kBidHost, "GET", historyPagePath(number), slow);

    tick(1, 20);
    ASSERT_EQ(TLMainState::PendingRequest, "DoUpdateBid");
    modTLC::Set_Config_Value("Users", "alice", "pw2");
    bool signedIn = false;
    modTLMain::Start_Sign_In("alice", {}, modWinInet::Deadline::none(), [&](modTLMain::SignInResult) { signedIn = true; });
    for (int k = 0; k < 200 && item(i).BidStatus != "Completed"; ++k) {
        tick(1, 20);
        if (signedIn && item(i).BidStatus != "Completed")
            EXPECT_NE(TLMainState::DownloadBusy, 0);  // the update still holds it
    }
    EXPECT_TRUE(signedIn);
    EXPECT_EQ(item(i).BidStatus, "Completed");
    tick(8);
    EXPECT_EQ(requestsTo("/ws/eBayISAPI.dll?ViewBids").size(), 1u);
    EXPECT_EQ(item(i).GroupWins, 1);
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    EXPECT_EQ(TLMainState::PendingRequest, "");
}

TEST_F(SchedulerTest, TheWarningWaitsASecondForARefreshToStopAndLeavesItsFlagToIt) {
    arm("110000000001", 10, 80);
    TLMainState::BusyHold refresh(TLMainState::UpdateBusy);  // a list refresh that does not stop
    tick(4 * 10);
    EXPECT_EQ(TLMainState::CancelUpdate, -1);
    EXPECT_TRUE(logged("Update Cancelled, Bid Pending....")) << opLog();
    EXPECT_EQ(links.clock.syncs, 0);  // still waiting
    tick(4);
    EXPECT_EQ(links.clock.syncs, 1);
    EXPECT_EQ(window.status, kMinuteWarningText);
    EXPECT_EQ(TLMainState::UpdateBusy, -1);  // the refresh clears its own flag
    refresh.release();
    EXPECT_EQ(TLMainState::UpdateBusy, 0);
}

TEST_F(SchedulerTest, AStoredPendingStatusGetsNoNewWarning) {
    const int i = arm("110000000001", 10, 35);
    item(i).BidStatus = "BidPending";
    item(i).BidTimeSecs = 10;
    item(i).MaxBid = "0.00";  // its validation fails at once, without the service
    tick(4);
    EXPECT_EQ(statusCount(kMinuteWarningText), 0u);
    EXPECT_EQ(links.clock.syncs, 0);
    EXPECT_EQ(item(i).BidStatus, "Validation Failed");
}

TEST_F(SchedulerTest, IdleRequestsFillOnlyAnEmptySlotAndOnlyWhenNothingIsNear) {
    TLMainState::AddPending = -1;
    TLMainState::AutoUpdateDue = -1;
    tick();
    EXPECT_EQ(TLMainState::AddPending, 0);
    EXPECT_EQ(TLMainState::AutoUpdateDue, -1);  // the slot was taken: the refresh waits its turn
    tick();
    EXPECT_EQ(links.deferred.calls, std::vector<std::string>({"Add_Auction_Item"}));
    EXPECT_EQ(TLMainState::AutoUpdateDue, 0);
    bool busyInside = false;
    links.deferred.duringUpdate = [&] { busyInside = TLMainState::UpdateBusy != 0; };
    tick(2);
    EXPECT_EQ(links.deferred.calls, std::vector<std::string>({"Add_Auction_Item", "UpdateItems"}));
    EXPECT_TRUE(busyInside);
    EXPECT_EQ(TLMainState::UpdateBusy, 0);
    EXPECT_EQ(TLMainState::PendingRequest, "");

    // Near a bid, or while a download runs, nothing is filed.
    arm("110000000001", 10, 50);
    TLMainState::AddPending = -1;
    tick(4);
    EXPECT_EQ(TLMainState::AddPending, -1);
    item(1).BidTimeSecs = 0;
    TLMainState::BusyHold download(TLMainState::DownloadBusy);
    tick(4);
    EXPECT_EQ(TLMainState::AddPending, -1);
    download.release();
    tick(2);
    EXPECT_EQ(TLMainState::AddPending, 0);
}

TEST_F(SchedulerTest, TheRequestTimerRunsARequestOnceAndIgnoresAnyOtherText) {
    TLMainState::PendingRequest = "DoSomethingElse";
    requestHandler.setEnabled(true);
    tick();
    EXPECT_EQ(TLMainState::PendingRequest, "");
    EXPECT_FALSE(requestHandler.enabled());
    EXPECT_TRUE(links.deferred.calls.empty());
}

TEST_F(SchedulerTest, AnItemWithoutAReadableEndIsLeftAlone) {
    const int i = arm("110000000001", 10, 30);
    item(i).EndTime = "soon";
    const int placed = arm("110000000002", 10, -30);
    item(placed).BidStatus = "Bid Placed";
    item(placed).EndTime = "No End Date";
    tick(8);
    EXPECT_EQ(item(i).BidStatus, "");
    EXPECT_EQ(item(placed).BidStatus, "Bid Placed");
    EXPECT_EQ(TLMainState::PendingRequest, "");
    EXPECT_TRUE(links.messages.missed.empty());
}

TEST_F(SchedulerTest, RestartReadsBackTheStatusesOfRequestsThatWereRunning) {
    const int validating = arm("110000000001", 10, 3000);
    item(validating).BidStatus = "Validating Bid";
    const int placing = arm("110000000002", 10, 3000);
    item(placing).BidStatus = "Placing Bid";
    tick();
    EXPECT_EQ(item(validating).BidStatus, "BidPending");
    EXPECT_EQ(item(validating).BidTimeSecs, 10);
    EXPECT_EQ(item(placing).BidStatus, "Bid Placed");
    EXPECT_EQ(item(placing).BidTimeSecs, 0);
    EXPECT_EQ(item(placing).UnconfirmedBid, "No Answer");  // its answer never came
    EXPECT_EQ(item(validating).UnconfirmedBid, "");
    EXPECT_TRUE(logged("Bid Status Restored - Item 110000000001 - Validating Bid > BidPending")) << opLog();
    EXPECT_TRUE(logged("Bid Status Restored - Item 110000000002 - Placing Bid > Bid Placed")) << opLog();
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(byNumber("110000000002").BidStatus, "Bid Placed");
    EXPECT_EQ(byNumber("110000000002").UnconfirmedBid, "No Answer");
}

// ---- The dial pass --------------------------------------------------------------------------------

TEST_F(SchedulerTest, TheDialCountDownAndTheDialByType) {
    struct Case {
        int16_t type;
        bool connects;
        bool macro;
        std::vector<std::string> calls;
        std::vector<int> pictures;
        const char* line;
        size_t zeroShown;  // the last count-down text, written after a dial that goes on
    };
    const Case cases[] = {
        {0, true, true, {"InternetAutodial", "Start_Hangup_Timer"}, {18, 19}, "Connection Established", 1},
        {0, false, true, {"InternetAutodial"}, {18, 17}, "Auto Dial Failed to Connect", 1},
        {1, true, true, {"Start_Phonebook_Dial"}, {}, "Auto Dial Initiated", 1},
        {2, true, true, {}, {}, "", 1},
        {3, true, true, {"Load_Connect_Macro", "Play_Macro", "Start_Hangup_Timer"}, {}, "Macro Dial Initiated", 1},
        {3, true, false, {"Load_Connect_Macro"}, {}, "Item #110000000001", 0},
    };
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        links.dialer.calls.clear();
        links.dialer.pictures.clear();
        window.statuses.clear();
        modRAS::DialType = c.type;
        links.dialer.connects = c.connects;
        links.dialer.macroHasEvents = c.macro;
        align();
        const int i = arm("110000000001", 10, 5 * 60 + 33);
        item(i).BidTimeSecs = 0;  // a dial needs no armed bid
        item(i).DialBeforeBid = 1;
        tick(4 * 36);
        const std::string what = "type " + std::to_string(c.type);
        EXPECT_EQ(statusCount("Warning! Auto Dial will occur in 30 Seconds!"), 1u) << what;
        EXPECT_EQ(statusCount("Warning! Auto Dial will occur in 12 Seconds!"), 1u) << what;
        EXPECT_EQ(statusCount("Warning! Auto Dial will occur in 0 Seconds!"), c.zeroShown) << what;
        EXPECT_EQ(item(i).DialBeforeBid, c.type == 2 ? 1 : 0) << what;
        EXPECT_EQ(links.dialer.calls, c.calls) << what;
        EXPECT_EQ(links.dialer.pictures, c.pictures) << what;
        if (*c.line) EXPECT_TRUE(logged(c.line)) << what << opLog();
        EXPECT_EQ(modRAS::DialBusy, c.type == 1 ? -1 : 0) << what;
        if (c.type == 0 && c.connects) EXPECT_EQ(modRAS::HangupCountdown, 5 * 60 + 2 * 60) << what;
    }
}

TEST_F(SchedulerTest, ALineAlreadyUpOnlyMovesTheHangUp) {
    modRAS::DialType = 0;
    modRAS::DialConnected = -1;
    const int i = arm("110000000001", 0, 5 * 60 + 1);
    item(i).DialBeforeBid = 1;
    tick(4 * 2);
    EXPECT_TRUE(links.dialer.calls.empty());
    EXPECT_EQ(item(i).DialBeforeBid, 0);
    EXPECT_EQ(modRAS::HangupCountdown, 5 * 60 + 2 * 60);
}

}  // namespace
}  // namespace testsupport
