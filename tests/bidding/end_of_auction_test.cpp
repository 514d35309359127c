// The result update after the end, against the fake service's history and item pages: won, lost,
// uncertain, reserve not met, never placed, told alike in the list, the log and the mail; a
// history that redirects, item pages that are no item pages, bids whose placing the service did
// not confirm; the mail queue and sleep; bid groups.
#include "bid_fixture.h"

#include "bidding/bid_email.h"
#include "bidding/bid_validation.h"
#include "bidding/end_of_auction.h"
#include "items/bid_status.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_grid_model.h"

namespace testsupport {
namespace {

class EndOfAuctionTest : public BidTest {
protected:
    // An item whose bid was placed and whose auction ended `ago` seconds ago.
    int placed(const std::string& number, const std::string& maxBid, long ago = 6) {
        const int i = arm(number, 5, -ago, maxBid);
        item(i).BidStatus = "Bid Placed";
        item(i).BidTimeSecs = 0;
        return i;
    }
    // `settleMs`: how long each step waits for the service (a resend's pause holds its request).
    void updateAll(int maxTicks = 40, int settleMs = 3000) {
        for (int k = 0; k < maxTicks; ++k) {
            tick(1, settleMs);
            bool open = !TLMainState::PendingRequest.empty();
            for (int i = 1; i <= TLMainItems::ItemCount; ++i)
                open = open || item(i).BidStatus == "Bid Placed" || item(i).BidStatus == "Validation Failed";
            if (!open) return;
        }
    }
    size_t played(const std::string& name) const {
        size_t n = 0;
        for (const auto& p : window.played) n += p.name == name;
        return n;
    }
};

// Every ended bid is told one way: the list's marker and row colour, the log line, the sound and
// the result e-mail's outcome line all say won, lost, not confirmed or never placed alike.
TEST_F(EndOfAuctionTest, AnEndedBidIsToldOneWayInTheListTheLogTheSoundAndTheMail) {
    using TLMainItems::kPicLost, TLMainItems::kPicNeverPlaced, TLMainItems::kPicUnconfirmed;
    const long hi = TLMainItems::ColorHiBid, out = TLMainItems::ColorOutBid, none = -1;
    const std::string updated = "Bid Updated for Item 110000000001";
    struct Case {
        const char* what;
        // Before the end: the bid's road and what its placing met when the service did not confirm it.
        const char* road;
        const char* unconfirmed;
        // At the end.
        const char* winner;
        const char* price;
        const char* maxBid;
        bool reserveNotMet;
        // What the user is told.
        const char* end;     // the item's status
        const char* line;    // the log line's end ("" none)
        const char* sound;   // "" none
        std::string status;  // the status line
        int marker;          // the description's picture (0 the title alone)
        long colour;         // the row's colour (-1 none painted)
        const char* mail;    // the e-mail's outcome line
    };
    const Case cases[] = {
        {"the user high", "Bid Placed", "", "bob", "US $11.00", "12.50", false, "Completed", "Bid Won", "Win", updated,
         0, hi, "You Won"},
        {"the user high, the ID in another case", "Bid Placed", "", "BOB", "US $11.00", "12.50", false, "Completed",
         "Bid Won", "Win", updated, 0, hi, "You Won"},
        {"the user high, the reserve not met", "Bid Placed", "", "bob", "US $11.00", "12.50", true, "Completed",
         "Bid Lost - Reserve Not Met", "Lose", updated, kPicLost, out, "You Lost"},
        {"another bidder high", "Bid Placed", "", "carol", "US $25.00", "20.00", false, "Completed", "Bid Lost",
         "Lose", updated, kPicLost, out, "You Lost"},
        {"another bidder high above a four-digit maximum", "Bid Placed", "", "carol", "US $1,250.01", "1,250.00", false,
         "Completed", "Bid Lost", "Lose", updated, kPicLost, out, "You Lost"},
        {"another bidder high, the maximum reaching the price", "Bid Placed", "", "carol", "US $25.00", "30.00", false,
         "Completed", "", "", TLMainBids::kWinnerUnknown, kPicLost, none, "You Lost"},
        {"not confirmed, another bidder high", "Bid Placed", "Http Status 503", "carol", "US $25.00", "20.00", false,
         TLMainItems::kBidNotConfirmed, "Bid Not Confirmed - Http Status 503", "Lose", updated, kPicUnconfirmed, out,
         "Bid Not Confirmed"},
        {"validation failed, another bidder high", "Validation Failed", "", "carol", "US $25.00", "20.00", false,
         "Item Closed", "Item Closed - No Bid Placed", "", updated, kPicNeverPlaced, none, "No Bid Placed"},
        {"validation failed, the user high by a bid of the user's own", "Validation Failed", "", "bob", "US $11.00",
         "12.50", false, "Completed", "Bid Won", "Win", updated, 0, hi, "You Won"},
    };
    serve();
    modTLC::Set_Config_Value("Options", "Sound", "1");
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        window.played.clear();
        grid.cells.clear();
        links.mail.queue.clear();
        data.write("OperationLog.txt", "");
        fake->clearRequests();
        const std::string number = "110000000001";
        const int i = placed(number, c.maxBid);
        item(i).BidStatus = c.road;
        item(i).UnconfirmedBid = c.unconfirmed;
        item(i).AfterBidOptions = "1";
        grid.rowItems = {i};
        ended(number, c.winner, c.price, c.reserveNotMet);
        updateAll();
        const std::string what = c.what;
        EXPECT_EQ(item(i).BidStatus, c.end) << what;
        EXPECT_EQ(item(i).ResultDone, "1") << what;
        EXPECT_EQ(item(i).HighBidder, c.winner) << what;
        EXPECT_EQ(item(i).BidCount, "4") << what;
        EXPECT_EQ(item(i).ReserveFlag, c.reserveNotMet ? 1 : 0) << what;
        EXPECT_NE(item(i).CurrentPrice.find(std::string(c.price).substr(4)), std::string::npos) << what << item(i).CurrentPrice;
        EXPECT_TRUE(logged("Returned High Bidder - Item " + number + " - " + c.winner)) << what << opLog();

        // The list.
        TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
        g.setRows(2);
        TLMainItems::Fill_Item_Row(1, i);
        EXPECT_EQ(g.CellPicture(1, TLMainItems::kColDescription), c.marker) << what;
        EXPECT_EQ(g.TextMatrix(1, TLMainItems::kColDescription), (c.marker ? "     " : "") + item(i).Title) << what;
        EXPECT_EQ(grid.cell(1, 1), c.colour) << what;
        EXPECT_EQ(grid.cell(1, 9), c.colour) << what;
        // The log, the sound and the status line.
        if (*c.line) {
            EXPECT_TRUE(logged("End of Auction Update - Item " + number + " - " + c.line)) << what << opLog();
            EXPECT_EQ(loggedCount("End of Auction Update - Item " + number + " - Bid Lost"),
                      std::string(c.line) == "Bid Lost" ? 1u : 0u)
                << what << opLog();
        } else {
            EXPECT_EQ(opLog().find("End of Auction Update"), std::string::npos) << what << opLog();
        }
        EXPECT_EQ(played("Win") + played("Lose") + played("Alert"), *c.sound ? 1u : 0u) << what;
        if (*c.sound) EXPECT_EQ(played(c.sound), 1u) << what;
        EXPECT_EQ(window.status, c.status) << what;
        // The e-mail.
        EXPECT_EQ(links.mail.queue, std::vector<std::string>({number})) << what;
        const std::string body = TLMainBids::Bid_Result_Body(item(i), "me@example.com");
        EXPECT_NE(body.find(std::string("\r\n") + c.mail + "\r\n"), std::string::npos) << what << body;

        // Both pages over HTTPS, from the bid host and the item host.
        const auto history = requestsTo("/ws/eBayISAPI.dll?ViewBids&item=" + number);
        const auto page = requestsTo("/ws/eBayISAPI.dll?ViewItem&item=" + number);
        ASSERT_EQ(history.size(), 1u) << what;
        ASSERT_EQ(page.size(), 1u) << what;
        EXPECT_TRUE(history[0].https && page[0].https) << what;
        EXPECT_EQ(history[0].host, modTLMain::kBidHost);
        EXPECT_EQ(page[0].host, modTLMain::kBidItemHost);
        EXPECT_EQ(TLMainState::DownloadBusy, 0) << what;
        EXPECT_EQ(TLMainState::PendingRequest, "") << what;
    }
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(byNumber("110000000001").ResultDone, "1");
}

TEST_F(EndOfAuctionTest, AHistoryThatRedirectsEndsTheUpdateAsFailedAndCancelsTheGroup) {
    serve();
    const int i = placed("110000000001", "12.50");
    item(i).BidGroup = "Cups";
    item(i).GroupNeed = 2;
    const int rest = arm("110000000002", 10, 3000);
    item(rest).BidGroup = "Cups";
    item(rest).GroupNeed = 2;
    item(rest).BidStatus = "BidPending";  // a validated one would hold the update back
    item(rest).ConfirmRequest = "offer.ebay.com/x";
    ended("110000000001", kUser, "US $11.00");
    resultPages("110000000001").history->redirectHistory("https://signin.ebay.com/ws/eBayISAPI.dll?SignIn");
    links.power.bidsPending = true;
    updateAll();
    EXPECT_EQ(item(i).BidStatus, "Completed");
    EXPECT_EQ(item(i).ResultDone, "");
    EXPECT_EQ(item(i).HighBidder, "");
    EXPECT_TRUE(logged("Bid History Page Error - Redirect to: https://signin.ebay.com/ws/eBayISAPI.dll?SignIn")) << opLog();
    EXPECT_TRUE(logged("Final Bid Results Update Failed for Item 110000000001")) << opLog();
    EXPECT_TRUE(logged("Wintally Option Set - Update Failed, Cancelling Remaining Wintallys")) << opLog();
    EXPECT_EQ(window.status, "Error! Bid Results Update Failed");
    EXPECT_EQ(item(rest).BidGroup, "[Cancelled]-Cups");
    EXPECT_EQ(item(rest).BidTimeSecs, 0);
    EXPECT_EQ(item(rest).BidStatus, "");
    EXPECT_EQ(item(rest).ConfirmRequest, "");
    EXPECT_EQ(links.power.sleeps, std::vector<bool>({false}));
    EXPECT_TRUE(requestsTo("/ws/eBayISAPI.dll?ViewItem").empty());
    EXPECT_TRUE(links.mail.queue.empty());
}

// An item page answered with a server error, or answered 200 with a page that shows none of an
// item page's marks (garbled, empty, the sign-in form), is a page that did not come: asked for
// once more; when that fails too, the update fails and the item keeps the price, bid count and
// high bidder it showed.
TEST_F(EndOfAuctionTest, AnItemPageThatIsNoItemPageIsAskedForAgainAndBlanksNothing) {
    struct Case {
        const char* what;
        int status;
        std::string page;
        int times;  // item-page answers that are this page before the real one comes (-1: all)
    };
    const Case cases[] = {
        {"server error once", 500, serverErrorItemPage(), 1},
        {"server error", 500, serverErrorItemPage(), -1},
        {"garbled once", 200, garbledItemPage(), 1},
        {"garbled", 200, garbledItemPage(), -1},
        {"empty once", 200, "", 1},
        {"empty", 200, "", -1},
        {"sign-in form once", 200, signInItemPage(), 1},
        {"sign-in form", 200, signInItemPage(), -1},
    };
    serve();
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        data.write("OperationLog.txt", "");
        fake->clearRequests();
        const std::string number = "110000000001";
        const int i = placed(number, "12.50");
        item(i).BidCount = "2";
        item(i).HighBidder = "carol";
        ended(number, kUser, "US $20.50");
        resultPages(number).page->failItemPage(c.status, c.times, c.page);
        updateAll(60, 100);
        const std::string what = c.what;
        const bool fails = c.times < 0;
        EXPECT_EQ(item(i).BidStatus, "Completed") << what;
        EXPECT_NE(item(i).CurrentPrice.find(fails ? "US 10.00" : "20.50"), std::string::npos) << what << " "
                                                                                             << item(i).CurrentPrice;
        EXPECT_EQ(item(i).BidCount, fails ? "2" : "4") << what;
        EXPECT_EQ(item(i).HighBidder, fails ? "carol" : kUser) << what;
        EXPECT_EQ(item(i).ResultDone, fails ? "" : "1") << what;
        EXPECT_EQ(logged("Final Bid Results Update Failed for Item " + number), fails) << what << opLog();
        EXPECT_EQ(logged("End of Auction Update - Item " + number + " - Bid Won"), !fails) << what << opLog();
        EXPECT_EQ(requestsTo("/ws/eBayISAPI.dll?ViewItem&item=" + number).size(), 2u) << what;
    }
}

// A placing the service did not confirm (a 503, no answer, a page without the bid's outcome, or
// one still out when the program ended) is never sent again. After the result update the item is
// won as any other when its user is the high bidder; otherwise it ends "Bid Not Confirmed", told
// apart from a lost bid in the log and the result e-mail. A placing its page confirms is judged
// as ever.
TEST_F(EndOfAuctionTest, AnUnconfirmedPlacingIsNoOrdinaryLostBid) {
    struct Case {
        const char* what;
        AcceptBidAnswer answer;
        bool restarted;  // the program ended while the placing was out, and started again
        const char* winner;
        const char* met;      // what the placing met, as logged; "" confirmed
        const char* end;      // the item's status after its result update
        const char* line;     // the result update's log line
        const char* outcome;  // the result e-mail's outcome line
    };
    const char* const notConfirmed = TLMainItems::kBidNotConfirmed;
    const Case cases[] = {
        {"503, a rival high", AcceptBidAnswer::Unavailable, false, "carol", "Http Status 503", notConfirmed,
         "Bid Not Confirmed - Http Status 503", "Bid Not Confirmed"},
        {"503, the user high", AcceptBidAnswer::Unavailable, false, kUser, "Http Status 503", "Completed", "Bid Won",
         "You Won"},
        {"no answer, a rival high", AcceptBidAnswer::Drop, false, "carol", "No Answer", notConfirmed,
         "Bid Not Confirmed - No Answer", "Bid Not Confirmed"},
        {"no answer, the user high", AcceptBidAnswer::Drop, false, kUser, "No Answer", "Completed", "Bid Won",
         "You Won"},
        {"no outcome in the page, a rival high", AcceptBidAnswer::NoOutcome, false, "carol", "Http Status 200",
         notConfirmed, "Bid Not Confirmed - Http Status 200", "Bid Not Confirmed"},
        {"no outcome in the page, the user high", AcceptBidAnswer::NoOutcome, false, kUser, "Http Status 200",
         "Completed", "Bid Won", "You Won"},
        {"out at the program's end, a rival high", AcceptBidAnswer::Stall, true, "carol", "No Answer", notConfirmed,
         "Bid Not Confirmed - No Answer", "Bid Not Confirmed"},
        {"confirmed outbid, a rival high", AcceptBidAnswer::Outbid, false, "carol", "", "Completed", "Bid Lost",
         "You Lost"},
        {"confirmed high, the user high", AcceptBidAnswer::HighBidder, false, kUser, "", "Completed", "Bid Won",
         "You Won"},
    };
    serve();
    for (const Case& c : cases) {
        TLMainBids::ResetBidEngineForTests();
        TLMainItems::ResetItemStoreForTests();
        links.mail.queue.clear();
        data.write("OperationLog.txt", "");
        bidPages = std::make_unique<BidPages>(*fake);
        const std::string number = "110000000001", what = c.what;
        bidPages->setAcceptBid(number, c.answer);
        const bool userHigh = std::string(c.winner) == kUser;
        ended(number, c.winner, userHigh ? "US $11.00" : "US $25.00");
        const int i = arm(number, 5, 8, "12.50");
        item(i).AfterBidOptions = "1";
        item(i).BidStatus = "Bid Validated";
        item(i).ConfirmRequest = std::string(modTLMain::kBidHost) +
                                 "/ws/eBayISAPI.dll?MfcISAPICommand=AcceptBid&item=" + number + "&maxbid=12.50&key=k1";
        if (c.restarted) {
            for (int k = 0; k < 4 * 8 && item(i).BidStatus != "Placing Bid"; ++k) tick(1, 20);
            ASSERT_EQ(item(i).BidStatus, "Placing Bid") << what;
            TLMainBids::ResetBidEngineForTests();  // the program ends: its requests go with it
            TLMainItems::Load_Auction_Items();
            TLMainBids::Restore_Bid_Statuses();
            fake->release();
        }
        for (int k = 0; k < 4 * 30 && item(i).BidStatus != c.end; ++k) tick();

        EXPECT_EQ(item(i).BidStatus, c.end) << what;
        EXPECT_EQ(bidPages->acceptBids(number), 1u) << what;  // never sent again
        EXPECT_EQ(item(i).UnconfirmedBid, c.met) << what;
        if (*c.met && !c.restarted)
            EXPECT_TRUE(logged("Bid Not Confirmed for Item " + number + " - " + c.met)) << what << opLog();
        if (!*c.met) EXPECT_EQ(opLog().find("Bid Not Confirmed"), std::string::npos) << what << opLog();
        EXPECT_TRUE(logged("End of Auction Update - Item " + number + " - " + c.line)) << what << opLog();
        const bool lost = std::string(c.line) == "Bid Lost";
        EXPECT_EQ(loggedCount("End of Auction Update - Item " + number + " - Bid Lost"), lost ? 1u : 0u) << what;
        EXPECT_EQ(item(i).HighBidder, c.winner) << what;
        EXPECT_EQ(links.mail.queue, std::vector<std::string>({number})) << what;
        const std::string body = TLMainBids::Bid_Result_Body(item(i), "me@example.com");
        EXPECT_NE(body.find(std::string("\r\n") + c.outcome + "\r\n"), std::string::npos) << what << body;
    }
}

TEST_F(EndOfAuctionTest, TheMailAndTheSleepWaitForTheLastOutstandingResult) {
    serve();
    const int a = placed("110000000001", "12.50", 7);
    item(a).AfterBidOptions = "1";
    const int b = placed("110000000002", "12.50", 6);
    item(b).AfterBidOptions = "3";
    ended("110000000001", kUser, "US $11.00");
    ended("110000000002", "carol", "US $30.00");
    links.power.userInput = false;
    tick(3);
    EXPECT_EQ(item(a).BidStatus, "Completed");
    EXPECT_EQ(links.mail.queue, std::vector<std::string>({"110000000001"}));
    EXPECT_EQ(links.mail.sendTimerStarts, 0);  // the other result is still outstanding
    EXPECT_EQ(TLMainState::SleepRequested, 0);
    updateAll();
    EXPECT_EQ(links.mail.queue, std::vector<std::string>({"110000000001", "110000000002"}));
    EXPECT_EQ(links.mail.sendTimerStarts, 1);
    EXPECT_EQ(TLMainState::SleepRequested, 1);  // bit 2 of the last item, and no one at the keyboard
    EXPECT_TRUE(links.power.sleeps.empty());
}

TEST_F(EndOfAuctionTest, AGroupOfThreeNeedingTwoWinsStopsAfterTheSecond) {
    serve();
    modTLC::Set_Config_Value("Users", "alice", "pw2");
    auto member = [&](int index) {
        item(index).BidGroup = "Cups";
        item(index).GroupNeed = 2;
    };
    const int first = placed("110000000001", "12.50", 9);
    const int second = placed("110000000002", "12.50", 6);
    const int third = arm("110000000003", 10, 3000);
    member(first), member(second), member(third);
    item(third).BidStatus = "BidPending";
    const int held = arm("110000000004", 10, 3000);
    item(held).ControlGroup = "Cups";
    item(held).GroupLock = 1;
    const int hers = arm("110000000005", 10, 3000, "12.50", "alice");
    member(hers);
    ended("110000000001", kUser, "US $11.00");
    ended("110000000002", kUser, "US $11.50");

    tick(3);
    ASSERT_EQ(item(first).BidStatus, "Completed");
    EXPECT_EQ(item(third).GroupWins, 1);
    EXPECT_EQ(item(second).GroupWins, 1);
    EXPECT_TRUE(logged("Wintally - Group Cups - Group Wins 1 - Need 2")) << opLog();
    EXPECT_EQ(item(held).GroupLock, 1);

    updateAll();
    EXPECT_EQ(item(second).BidStatus, "Completed");
    EXPECT_EQ(item(first).GroupWins, 2);
    EXPECT_TRUE(logged("Wintally(s) Won - Cancelling Remaining Wintallys For Group - Cups")) << opLog();
    EXPECT_EQ(item(held).GroupLock, 0);
    EXPECT_EQ(item(third).BidGroup, "[Cancelled]-Cups");
    EXPECT_EQ(item(third).BidTimeSecs, 0);
    EXPECT_EQ(item(third).BidStatus, "");
    EXPECT_EQ(item(second).BidGroup, "Cups");  // placed items keep their name
    // Another user's group of the same name is another group.
    EXPECT_EQ(item(hers).BidGroup, "Cups");
    EXPECT_EQ(item(hers).GroupWins, 0);
    EXPECT_EQ(item(hers).BidTimeSecs, 10);
}

TEST_F(EndOfAuctionTest, AGoneItemEndsTheUpdateQuietlyAndFreesTheSlot) {
    serve();
    const int i = placed("110000000001", "12.50");
    ended("110000000001", kUser, "US $11.00");
    ScriptedResponse slow = ScriptedResponse::ok(bidHistoryHtml({{kUser, "(12)", "US $11.00"}}));
    slow.delayMs = 300;
    fake->route(modTLMain::kBidHost, "GET", historyPagePath("110000000001"), slow);
    tick(2, 20);
    ASSERT_EQ(TLMainState::PendingRequest, "DoUpdateBid");
    item(i).ItemNumber = "999";  // deleted, and another item in its place
    item(i).BidStatus.clear();
    tick(8);
    EXPECT_EQ(TLMainState::PendingRequest, "");
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    EXPECT_EQ(item(i).BidStatus, "");
    EXPECT_TRUE(requestsTo("/ws/eBayISAPI.dll?ViewItem").empty());
}

TEST_F(EndOfAuctionTest, SleepAfterTheBid) {
    struct Case { const char* options; const char* autoSleep; bool sleep; };
    const Case cases[] = {{"0", "0", false}, {"1", "0", false}, {"2", "0", true}, {"3", "0", true}, {"0", "1", true}, {"", "", false}};
    for (const Case& c : cases) {
        TLMainItems::ResetItemStoreForTests();
        const int i = arm("110000000001", 0, 100);
        item(i).AfterBidOptions = c.options;
        modTLC::Set_Config_Value("Options", "AutoSleep", c.autoSleep);
        EXPECT_EQ(TLMainBids::Get_AfterBidSleepStatus(i), c.sleep) << c.options << "/" << c.autoSleep;
    }
}

}  // namespace
}  // namespace testsupport
