// Validation and placing against the fake service: the requests the service receives, the
// confirm request kept, the bid's second, the answers read, and what a failing or silent service
// leaves behind.
#include "bid_fixture.h"

#include "bidding/bid_validation.h"
#include "foundation/busy_holds.h"
#include "foundation/message_dialog.h"
#include "foundation/small_routines.h"
#include "items/item_grid_link.h"

namespace testsupport {
namespace {

class ValidationTest : public BidTest {
protected:
    // Ticks until item `i` leaves `status` (at most `maxTicks`).
    void tickWhile(int i, const std::string& status, int maxTicks = 400, int settleMs = 3000) {
        for (int k = 0; k < maxTicks && item(i).BidStatus == status; ++k) tick(1, settleMs);
    }
    // Ticks until item `i` has `status` (at most `maxTicks`).
    void tickUntil(int i, const std::string& status, int maxTicks = 400, int settleMs = 3000) {
        for (int k = 0; k < maxTicks && item(i).BidStatus != status; ++k) tick(1, settleMs);
    }
    // Item `i` validated and armed `B` seconds before an end `secondsToEnd` away.
    int validated(const std::string& number, long B, long secondsToEnd) {
        const int i = arm(number, B, secondsToEnd);
        item(i).BidStatus = "Bid Validated";
        item(i).ConfirmRequest = std::string(modTLMain::kBidHost) +
                                 "/ws/eBayISAPI.dll?MfcISAPICommand=AcceptBid&item=" + number + "&maxbid=12%2E50&key=k1";
        return i;
    }
    std::string resultPage(const std::string& number) const { return data.read("Saved Items/" + number + "BR.html"); }
};

TEST_F(ValidationTest, AValidatedBidIsPlacedOnceInItsSecond) {
    serve();
    modTLMain::Make_Folder(data.path("Debug"));
    const std::string number = "110012345678";
    const int i = arm(number, 10, 45, "1,250.00");
    grid.rowItems = {i};
    tickUntil(i, "Bid Validated");

    // The sign-in first (naming the item), then the offer: over HTTPS, the query in the address
    // and, from its "?", in the body.
    EXPECT_TRUE(logged("eBay Sign In Initiated for bob - Item " + number + " - Sign In Succeeded")) << opLog();
    const auto offers = bidPages->makeBidRequests(number);
    ASSERT_EQ(offers.size(), 1u);
    const std::string query = "?MfcISAPICommand=MakeBid&co_partnerid=&item=" + number +
                              "&fb=1&user=bob&offerToken=&maxbid=1,250.00&quant=1";
    EXPECT_TRUE(offers[0].https);
    EXPECT_EQ(offers[0].method, "POST");
    EXPECT_EQ(offers[0].host, modTLMain::kBidHost);
    EXPECT_EQ(offers[0].target, "/ws/eBayISAPI.dll" + query);
    EXPECT_EQ(offers[0].body, query);
    EXPECT_EQ(offers[0].header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_NE(offers[0].header("Cookie").find(FakeSignIn::kPersistentCookie), std::string::npos);

    const std::string confirm = std::string(modTLMain::kBidHost) +
                                "/ws/eBayISAPI.dll?MfcISAPICommand=AcceptBid&item=" + number +
                                "&maxbid=1%2C250%2E00&key=" + BidPages::keySent();
    EXPECT_EQ(item(i).ConfirmRequest, confirm);
    EXPECT_TRUE(logged("Validating Bid for User bob - Item " + number + " - Amt. 1,250.00")) << opLog();
    EXPECT_TRUE(logged("Bid Validated for Item " + number + " - Bid Amount 1,250.00")) << opLog();
    EXPECT_EQ(window.status, "Bid Validated for Item " + number);
    EXPECT_EQ(grid.cell(1, 1), TLMainItems::ColorVal);
    EXPECT_EQ(grid.cell(1, 9), TLMainItems::ColorVal);
    EXPECT_TRUE(data.exists("Debug/LastHTMLValidatePage.htm"));

    long placedAt = 99999;
    for (int k = 0; k < 4 * 40 && placedAt == 99999; ++k) {
        tick();
        if (bidPages->acceptBids(number) > 0) placedAt = remaining(i);
    }
    tick(8);
    EXPECT_EQ(placedAt, 10);
    const auto bids = bidPages->acceptBidRequests(number);
    ASSERT_EQ(bids.size(), 1u);
    EXPECT_TRUE(bids[0].https);
    EXPECT_EQ(bids[0].target, confirm.substr(confirm.find('/')));
    EXPECT_EQ(bids[0].body, confirm);
    EXPECT_EQ(item(i).BidStatus, "Bid Placed");
    EXPECT_EQ(item(i).BidTimeSecs, 0);
    EXPECT_EQ(resultPage(number), BidPages::acceptPage(AcceptBidAnswer::HighBidder, "") + "\r\n");
    EXPECT_TRUE(logged("Placing Bid for User bob - Item " + number)) << opLog();
    EXPECT_TRUE(logged("You are the current high bidder - See Bid Results")) << opLog();
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(byNumber(number).BidStatus, "Bid Placed");
}

// A refusal fails the validation at once; no answer, a server error or a page with neither the form
// nor a refusal gets the second attempt, and the failure's line names the item.
TEST_F(ValidationTest, RefusedOffersFailWithTheirReason) {
    struct Case {
        MakeBidAnswer answer;
        const char* line;
        size_t offers;
        const char* noAnswer;  // what the line after each failed attempt adds
    };
    const Case cases[] = {
        {MakeBidAnswer::MinimumBid, "Bid Validation Failed for Item 110000000001 - Your Bid 12.50 - Minimum Bid 14.00", 1, ""},
        {MakeBidAnswer::Ended, "Auction Already Ended", 1, ""},
        {MakeBidAnswer::NoForm, "Bid Validation Failed for Item 110000000001 - Check Bid Results", 2, ""},
        {MakeBidAnswer::Nothing, "Bid Validation Failed for Item 110000000001 - Check Bid Results", 2, ""},
        {MakeBidAnswer::ServerError, "Bid Validation Failed for Item 110000000001 - Check Bid Results", 2,
         " - Http Status 500"},
    };
    serve();
    bidPages->setMinimumBid("US $14.00");
    modTLC::Set_Config_Value("Options", "Sound", "1");
    modTLC::Set_Config_Value("Options", "ShowBidResults", "1");
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        window.played.clear();
        links.view.shown.clear();
        data.write("OperationLog.txt", "");
        const std::string number = "110000000001";
        bidPages->setMakeBid(number, c.answer);
        const int i = arm(number, 10, 40, "12.50");
        tickWhile(i, "");
        tickWhile(i, "BidPending");
        tickWhile(i, "Validating Bid", 60);
        const std::string what = c.line;
        EXPECT_EQ(item(i).BidStatus, "Validation Failed") << what;
        EXPECT_EQ(item(i).BidTimeSecs, 0) << what;
        EXPECT_EQ(item(i).ConfirmRequest, "") << what;
        EXPECT_TRUE(logged(c.line)) << what << opLog();
        EXPECT_EQ(window.status, "Bid Validation Failed for Item " + number) << what;
        EXPECT_EQ(bidPages->makeBids(number), c.offers) << what;
        EXPECT_EQ(links.view.shown, std::vector<int>({i})) << what;
        size_t alerts = 0;
        for (const auto& p : window.played) alerts += p.name == "Alert";
        EXPECT_EQ(alerts, 1u) << what;
        EXPECT_TRUE(data.exists("Saved Items/" + number + "BR.html")) << what;
        if (c.offers == 2) {
            EXPECT_EQ(loggedCount("Error! No Bid Validation Results Returned! - bob - Item " + number + c.noAnswer), 2u)
                << what << opLog();
            EXPECT_TRUE(logged("Attempting Validation Again For Item " + number)) << opLog();
        }
        if (c.answer == MakeBidAnswer::Nothing) EXPECT_EQ(resultPage(number), "\r\n");
        fake->clearRequests();
        bidPages = std::make_unique<BidPages>(*fake);
        bidPages->setMinimumBid("US $14.00");
    }
}

// A server error at the offer costs no bid: the second attempt validates it and it is placed once.
// Two of them fail the validation, and after its result update the item is no lost bid: its bid
// was never placed.
TEST_F(ValidationTest, AServerErrorAtTheOfferIsAnsweredBySecondAttempt) {
    struct Case {
        int errors;
        size_t accepts;
        const char* line;
        const char* end;
    };
    const Case cases[] = {
        {1, 1, "Bid Validated for Item 110000000001 - Bid Amount 12.50", "Completed"},
        {2, 0, "Bid Validation Failed for Item 110000000001 - Check Bid Results", "Item Closed"},
    };
    serve();
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        data.write("OperationLog.txt", "");
        const std::string number = "110000000001";
        bidPages = std::make_unique<BidPages>(*fake);
        bidPages->setMakeBid(number, MakeBidAnswer::ServerError, c.errors);
        resultPages(number).history->setHistoryPage(bidHistoryHtml({{"carol", "(12)", "US $25.00"}}));
        ItemPageContent page;
        page.itemNumber = number;
        page.priceLabel = "Winning bid:";
        page.price = "US $25.00";
        page.bidCount = "9";
        page.minBid.clear();
        resultPages(number).page->setItemPage(itemPageHtml(page));
        const int i = arm(number, 10, 45, "12.50");
        for (int k = 0; k < 4 * 60 && item(i).BidStatus != c.end; ++k) tick();
        const std::string what = c.end;
        EXPECT_EQ(bidPages->makeBids(number), 2u) << what;
        EXPECT_EQ(bidPages->acceptBids(number), c.accepts) << what;
        EXPECT_TRUE(logged(c.line)) << what << opLog();
        EXPECT_EQ(item(i).BidStatus, c.end) << what;
        EXPECT_EQ(item(i).HighBidder, "carol") << what;
        EXPECT_EQ(item(i).BidCount, "9") << what;
    }
}

TEST_F(ValidationTest, ASilentServiceFailsTheValidationBeforeTheBidSecond) {
    serve();
    ScriptedResponse silent;
    silent.fault = Fault::StallBeforeHeaders;
    fake->route(FakeSignIn::signInHost(), "", "/ws/eBayISAPI.dll?SignIn", silent);
    const std::string number = "110000000001";
    bidPages->setMakeBid(number, MakeBidAnswer::Stall);
    const int i = arm(number, 3, 40);
    tickWhile(i, "");
    tickWhile(i, "BidPending");
    ASSERT_EQ(item(i).BidStatus, "Validating Bid");
    tickWhile(i, "Validating Bid", 200, 20);
    EXPECT_EQ(item(i).BidStatus, "Validation Failed");
    EXPECT_GT(remaining(i), 3);
    // The one attempt had the time up to a second before the bid's second: none was left for another.
    EXPECT_EQ(bidPages->makeBids(number), 1u);
    EXPECT_FALSE(logged("Attempting Validation Again For Item " + number)) << opLog();
    EXPECT_EQ(bidPages->acceptBids(number), 0u);
    fake->release();
}

// A validation that the auction's end cuts off is a missed bid: closed, logged, the user told, and
// nothing more is sent for it (no second attempt after the end, no result update).
TEST_F(ValidationTest, AValidationCutOffByTheEndIsAMissedBid) {
    serve();
    const std::string number = "110000000001";
    bidPages->setMakeBid(number, MakeBidAnswer::Stall);
    const int i = arm(number, 3, 3);
    item(i).BidTimeSecs = 0;  // Validate pressed three seconds before the end
    TLMainBids::Validate_Bid(i);
    tickWhile(i, "Validating Bid", 200, 20);
    EXPECT_EQ(item(i).BidStatus, "Item Closed");
    EXPECT_TRUE(logged("Item Closed - No Bid Placed - " + number + " - Bid Status = Validating Bid")) << opLog();
    EXPECT_EQ(links.messages.missed.size(), 1u);
    tick(40);
    EXPECT_EQ(bidPages->makeBids(number), 1u);
    EXPECT_EQ(item(i).BidStatus, "Item Closed") << "no result update for a bid never placed";
    fake->release();
}

// The placing's answer is read and told; an answer that does not confirm the bid still leaves it
// placed (it may have gone in), and says so.
TEST_F(ValidationTest, PlacingAnswersAreReadAndAMissingAnswerLeavesTheBidPlaced) {
    struct Case {
        AcceptBidAnswer answer;
        const char* message;  // logged and shown
        const char* unconfirmed;  // the last line logged and shown when the bid is not confirmed
    };
    const Case cases[] = {
        {AcceptBidAnswer::Outbid, "You Have Been Outbid - Current bid: US $31.00 - See Bid Results", ""},
        {AcceptBidAnswer::HighBidder, "You are the current high bidder - See Bid Results", ""},
        {AcceptBidAnswer::Ended, "Auction Already Ended - See Bid Results", ""},
        {AcceptBidAnswer::Empty, "Error! No Bid Results Returned! - bob - Item 110000000001",
         "Bid Not Confirmed for Item 110000000001 - Http Status 200"},
        {AcceptBidAnswer::Drop, "Error! No Bid Results Returned! - bob - Item 110000000001",
         "Bid Not Confirmed for Item 110000000001 - No Answer"},
        {AcceptBidAnswer::Unavailable, "Bid Not Confirmed for Item 110000000001 - Http Status 503",
         "Bid Not Confirmed for Item 110000000001 - Http Status 503"},
    };
    serve();
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        bidPages = std::make_unique<BidPages>(*fake);
        data.write("OperationLog.txt", "");
        const std::string number = "110000000001";
        bidPages->setAcceptBid(number, c.answer);
        const int i = validated(number, 5, 8);
        tickUntil(i, "Bid Placed", 40);
        tick(2);
        EXPECT_EQ(item(i).BidStatus, "Bid Placed") << c.message;
        EXPECT_EQ(bidPages->acceptBids(number), 1u) << c.message;  // never sent again
        EXPECT_TRUE(logged(c.message)) << c.message << opLog();
        EXPECT_EQ(window.status, *c.unconfirmed ? c.unconfirmed : c.message);
        EXPECT_TRUE(logged("Bid Placed for Item " + number)) << opLog();
        EXPECT_EQ(opLog().find("Bid Not Confirmed") != std::string::npos, *c.unconfirmed != 0) << c.message << opLog();
    }
}

TEST_F(ValidationTest, AnEmptyConfirmRequestIsNeverPosted) {
    serve();
    const int i = validated("110000000001", 5, 8);
    item(i).ConfirmRequest.clear();
    tick(4 * 4);
    EXPECT_EQ(item(i).BidStatus, "Validation Failed");
    EXPECT_EQ(item(i).BidTimeSecs, 0);
    EXPECT_TRUE(logged("Error! Empty Confirm Request - Item 110000000001")) << opLog();
    EXPECT_EQ(fake->requestCount(), 0u);
}

TEST_F(ValidationTest, APlacingInsideAnotherValidationSendsInItsSecondAndEachReadsItsOwnAnswer) {
    serve();
    const std::string slow = "110000000001", quick = "110000000002";
    bidPages->setMakeBid(slow, MakeBidAnswer::Stall);
    bidPages->setAcceptBid(quick, AcceptBidAnswer::Outbid);
    const int s = arm(slow, 10, 41);
    const int q = validated(quick, 5, 10);
    long placedAt = 99999;
    for (int k = 0; k < 4 * 8; ++k) {  // the offer's first attempt waits unanswered meanwhile
        tick(1, 20);
        if (placedAt == 99999 && bidPages->acceptBids(quick) > 0) placedAt = remaining(q);
    }
    EXPECT_EQ(placedAt, 5);
    EXPECT_EQ(item(s).BidStatus, "Validating Bid");  // its offer is still unanswered
    EXPECT_EQ(item(q).BidStatus, "Bid Placed");
    EXPECT_EQ(resultPage(quick), BidPages::acceptPage(AcceptBidAnswer::Outbid, "US $31.00") + "\r\n");
    bidPages->setMakeBid(slow, MakeBidAnswer::Confirm);  // the second attempt is answered
    fake->release();                                       // the first one gets no answer
    tickWhile(s, "Validating Bid", 80, 20);
    EXPECT_EQ(item(s).BidStatus, "Bid Validated");
    EXPECT_NE(item(s).ConfirmRequest.find("item=" + slow), std::string::npos);
    fake->release();
}

TEST_F(ValidationTest, APlacingUnderAStalledRefreshOrAnOpenWindowStillGoesInItsSecond) {
    serve();
    time.timers.setWaitStepMs(50);
    const std::string number = "110000000001";
    const int i = arm(number, 4, 75);
    long placedAt = 99999;
    auto watch = [&] {
        if (placedAt == 99999 && bidPages->acceptBids(number) > 0) placedAt = remaining(i);
        return placedAt != 99999 && remaining(i) < 0;
    };
    // A list refresh that does not stop when asked: the whole bid runs inside its wait.
    TLMainState::AutoUpdateDue = -1;
    links.deferred.duringUpdate = [&] { platform::timers().waitUntil(watch, 100000); };
    tick(2);
    EXPECT_EQ(placedAt, 4);
    EXPECT_EQ(item(i).BidStatus, "Bid Placed");
    EXPECT_EQ(bidPages->acceptBids(number), 1u);

    // A window the user opened, left open past the bid second.
    const std::string other = "110000000002";
    const int j = arm(other, 4, 50);
    placedAt = 99999;
    platform::Timer watcher([&] {
        if (placedAt == 99999 && bidPages->acceptBids(other) > 0) placedAt = remaining(j);
    });
    watcher.setInterval(50);
    watcher.setEnabled(true);
    Messages* open = nullptr;
    Messages::SetAnswerHookForTests([&](Messages& m) { open = &m; });
    platform::Timer closer([&] {
        if (open && remaining(j) < -2) open->clickButton(1);
    });
    closer.setInterval(250);
    closer.setEnabled(true);
    const std::string answer = Messages::DisplayMsg("Delete the selected items?", 8, false, 0, "Yes", "No", "", false,
                                                    false, "", "", "", 0, "", "", "");
    Messages::SetAnswerHookForTests(nullptr);
    EXPECT_EQ(answer, "MsgBtn1");
    EXPECT_EQ(placedAt, 4);
    EXPECT_EQ(item(j).BidStatus == "Bid Placed" || item(j).BidStatus == "Completed", true);
}

TEST_F(ValidationTest, OneRequestPerItemAndDiscardedResultsOfAChangedItem) {
    serve();
    const std::string number = "110000000001";
    bidPages->setMakeBid(number, MakeBidAnswer::Stall);
    const int i = arm(number, 10, 3000);
    TLMainBids::Validate_Bid(i);
    EXPECT_EQ(item(i).BidStatus, "Validating Bid");  // before anything waits
    EXPECT_TRUE(TLMainBids::Bid_Request_Running(number));
    TLMainBids::Validate_Bid(i);
    TLMainBids::Place_Bid(i);
    tick(4, 50);
    EXPECT_EQ(item(i).BidStatus, "Validating Bid");
    EXPECT_EQ(bidPages->makeBids(number), 1u);
    EXPECT_EQ(fake->requests().size(), 3u);  // one sign-in, one offer

    // The user changes the amount while the offer waits: its answer is not kept.
    item(i).MaxBid = "15.00";
    bidPages->setMakeBid(number, MakeBidAnswer::Confirm);
    tick(4 * 12, 50);
    EXPECT_TRUE(logged("Validation Result Discarded - Item " + number)) << opLog();
    EXPECT_EQ(item(i).ConfirmRequest, "");
    EXPECT_EQ(item(i).BidStatus, "BidPending");  // validated again in time
    EXPECT_FALSE(TLMainBids::Bid_Request_Running(number));
    fake->release();
}

// Validate or Bid Now on an item with no timed bid validates it; a timed bid the user disarms
// while its offer waits is dropped.
TEST_F(ValidationTest, AnUnarmedItemIsValidatedAndADisarmedOneIsDropped) {
    serve();
    struct Case { const char* name; bool armed; bool disarmMeanwhile; const char* status; bool discarded; };
    const Case cases[] = {
        {"validated at once, never armed", false, false, "Bid Validated", false},
        {"a timed bid disarmed while it waits", true, true, "", true},
    };
    for (const Case& c : cases) {
        TLMainItems::ResetItemStoreForTests();
        data.write("OperationLog.txt", "");
        const std::string number = "110000000001";
        bidPages->setMakeBid(number, MakeBidAnswer::Stall);
        const int i = arm(number, 10, 3000);
        if (!c.armed) item(i).BidTimeSecs = 0;
        TLMainBids::Validate_Bid(i);
        tick(4, 50);
        if (c.disarmMeanwhile) {
            item(i).BidTimeSecs = 0;
            item(i).BidStatus = "Validating Bid";
        }
        bidPages->setMakeBid(number, MakeBidAnswer::Confirm);
        fake->release();
        tick(4 * 12, 50);
        EXPECT_EQ(item(i).BidStatus, c.status) << c.name;
        EXPECT_EQ(logged("Validation Result Discarded - Item " + number), c.discarded) << c.name << opLog();
        EXPECT_FALSE(TLMainBids::Bid_Request_Running(number)) << c.name;
    }
}

TEST_F(ValidationTest, TheSignInIsSkippedOnlyForAUserWithAValidatedBid) {
    serve();
    modTLC::Set_Config_Value("Users", "alice", "pw2");
    const int waiting = validated("110000000001", 5, 3000);
    const int mine = arm("110000000002", 10, 3000);
    const int hers = arm("110000000003", 10, 3000, "12.50", "alice");
    TLMainBids::Validate_Bid(mine);
    TLMainBids::Validate_Bid(hers);
    settle();
    settle();
    EXPECT_EQ(item(mine).BidStatus, "Bid Validated");
    EXPECT_EQ(item(hers).BidStatus, "Bid Validated");
    EXPECT_FALSE(logged("eBay Sign In Initiated for bob - Item 110000000002 - Sign In Succeeded")) << opLog();
    EXPECT_TRUE(logged("eBay Sign In Initiated for alice - Item 110000000003 - Sign In Succeeded")) << opLog();
    (void)waiting;
}

TEST_F(ValidationTest, AnAmountOrQuantityNoOfferCanCarryFailsWithoutARequest) {
    struct Case { const char* maxBid; const char* quantity; const char* error; };
    const Case cases[] = {
        {"0.00", "1", "Error! Improper Bid Amount."},
        {"", "1", "Error! Improper Bid Amount."},
        {"12.50", "0", "Invalid Item Quantity"},
        {"12.50", "10000", "Invalid Item Quantity"},
        {"12.50", "2.5", "Invalid Item Quantity"},
    };
    serve();
    for (const Case& c : cases) {
        TLMainItems::ResetItemStoreForTests();
        const int i = arm("110000000001", 10, 3000, c.maxBid);
        item(i).Quantity = c.quantity;
        TLMainBids::Validate_Bid(i);
        EXPECT_EQ(item(i).BidStatus, "Validation Failed") << c.maxBid << " " << c.quantity;
        EXPECT_EQ(item(i).BidTimeSecs, 0);
        EXPECT_EQ(window.status, c.error);
        EXPECT_TRUE(logged(std::string(c.error) + " - Item 110000000001")) << opLog();
    }
    settle();
    EXPECT_EQ(fake->requestCount(), 0u);
}

}  // namespace
}  // namespace testsupport
