// Refreshing items against the fake service: the whole list (UpdateItems), the end times only
// (UpdateEndingTime) and the selected rows (Update_Selected_Item).
#include <gtest/gtest.h>

#include <algorithm>

#include "item_commands_fixture.h"
#include "items/item_store.h"
#include "items/item_refresh.h"
#include "items/items_guard.h"
#include "items/update_item.h"
#include "items/update_items.h"
#include "platform/clock.h"
#include "platform/timers.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

constexpr const char* kA = "100000000001";
constexpr const char* kB = "100000000002";
constexpr const char* kC = "100000000003";

// The status line with the fake clock's time of each message.
class TimedStatusLine final : public RecordingStatusLine {
public:
    void setStatus(const std::string& text) override {
        RecordingStatusLine::setStatus(text);
        ticks.push_back(platform::clock().tickMs());
    }
    std::vector<qint64> ticks;
};

class UpdateItemsTest : public ItemCommandsTest {
protected:
    // A refreshed page: a new price and one bid more.
    ItemPageContent changed(const std::string& number) {
        ItemPageContent c = page(number);
        c.price = "US $12.00";
        c.bidCount = "4";
        return c;
    }
    bool sawStatus(const std::string& text) const {
        return std::find(status.statuses.begin(), status.statuses.end(), text) != status.statuses.end();
    }
    bool logged(const std::string& text) const { return opLog().find(" - " + text + "\r\n") != std::string::npos; }
    size_t alerts() const {
        const auto names = soundNames();
        return static_cast<size_t>(std::count(names.begin(), names.end(), "Alert"));
    }
};

TEST_F(UpdateItemsTest, ChangesSetAlarmBitsLogTheNewEndAndEndWithASummary) {
    TLMainState::AutoUpdateMinutes = 10;
    const int a = addRunning(kA);
    item(a).AlarmSetting = "1283";  // 5 minutes, bid count and high bid watched
    const int b = addRunning(kB);   // no alarm
    const int c = addRunning(kC);   // ended an hour ago, not refreshed since
    item(c).EndTime = End_Time_Text(now().addSecs(-3600), false);
    const int noEnd = addRunning("100000000004");
    item(noEnd).EndTime = "No End Date";
    const int done = addRunning("100000000005");
    item(done).EndTime = End_Time_Text(now().addSecs(-7200), false);
    item(done).ResultDone = "1";
    showAllRows();
    grid.restore = 2;
    const std::string oldEnd = item(a).EndTime;
    for (const char* n : {kA, kB}) serve(changed(n));
    ItemPageContent ended = changed(kC);
    ended.endDate = "May 31, 2026";
    serve(ended);
    const std::string newEnd = parsedEnd(changed(kA));

    UpdateItems();

    EXPECT_EQ(item(a).AlarmState, "7");
    EXPECT_EQ(item(b).AlarmState, "1");  // a changed end always counts
    for (int i : {a, b}) {
        EXPECT_EQ(item(i).EndTime, newEnd);
        EXPECT_EQ(item(i).BidCount, "4");
        EXPECT_EQ(item(i).CurrentPrice, "US 12.00");
        EXPECT_EQ(item(i).MinBid, "US 1,235.56");
        EXPECT_EQ(item(i).Title, "Item " + item(i).ItemNumber);  // a refresh never changes the title
    }
    EXPECT_EQ(item(c).ResultDone, "1");
    EXPECT_NE(opLog().find(std::string("Item ") + kA + " Ending Date Changed " + oldEnd + " > " + newEnd),
              std::string::npos);
    EXPECT_EQ(alerts(), 5u);  // three for A, one each for B and C
    EXPECT_EQ(pageRequests(kA) + pageRequests(kB) + pageRequests(kC), 3u);
    EXPECT_EQ(pageRequests("100000000004") + pageRequests("100000000005"), 0u);
    EXPECT_TRUE(sawStatus(std::string("Updating Item ") + kB + " in Default"));
    const std::string last = status.statuses.back();
    EXPECT_EQ(last.rfind("Update Completed - 3 Items - ", 0), 0u) << last;
    EXPECT_EQ(last.substr(last.size() - 5), " secs");
    EXPECT_EQ(grid.rowsRefreshed, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(grid.clicks.size(), 4u);  // each refreshed row, then the row clicked before
    EXPECT_EQ(grid.clicks[0].row, 1);
    EXPECT_FALSE(grid.clicks[0].keepStatusLine);
    EXPECT_EQ(grid.clicks[3].row, 2);
    EXPECT_TRUE(grid.clicks[3].keepStatusLine);
    EXPECT_FALSE(TLMainState::UpdateBusy);
    EXPECT_FALSE(TLMainState::DownloadBusy);
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 600);

    Load_Auction_Items();
    EXPECT_EQ(item(1).AlarmState, "7");

    service.clearRequests();
    UpdateItems();  // the ended item was refreshed for the last time
    EXPECT_EQ(pageRequests(kC), 0u);
    EXPECT_EQ(pageRequests(kA), 1u);
}

struct Scope {
    const char* what;
    bool manual;
    const char* manualOption;
    const char* autoOption;
    std::vector<const char*> fetched;
};

TEST_F(UpdateItemsTest, TheScopeChoosesTheItems) {
    const Scope cases[] = {
        {"auto, all items", false, "0", "0", {kA, kB, kC}},
        {"auto, the category on show", false, "0", "1", {kA, kC}},
        {"auto, the item in the box", false, "0", "2", {kC}},
        {"manual takes all items by default", true, "0", "1", {kA, kB, kC}},
        {"manual with the automatic choice", true, "1", "1", {kA, kC}},
    };
    addRunning(kA);
    item(addRunning(kB)).Category = "Other";
    addRunning(kC);
    for (const char* n : {kA, kB, kC}) serve(changed(n));
    box.itemNumber = kC;
    for (const auto& s : cases) {
        SCOPED_TRACE(s.what);
        service.clearRequests();
        status.statuses.clear();
        modTLC::Set_Config_Value("Options", "ManualOption", s.manualOption);
        modTLC::Set_Config_Value("Options", "AutoUpdateOpt", s.autoOption);
        TLMainState::ManualUpdateRequest = s.manual ? -1 : 0;
        UpdateItems();
        EXPECT_EQ(TLMainState::ManualUpdateRequest, 0);
        EXPECT_EQ(status.statuses.front(),
                  s.manual ? "Updating Auction Items - Manual" : "Updating Auction Items - Auto");
        for (const char* n : {kA, kB, kC}) {
            const bool expected = std::find(s.fetched.begin(), s.fetched.end(), std::string(n)) != s.fetched.end();
            EXPECT_EQ(pageRequests(n), expected ? 1u : 0u) << n;
        }
    }
}

TEST_F(UpdateItemsTest, FetchesAtMostOnePageASecond) {
    TimedStatusLine timed;
    for (const char* n : {kA, kB, kC}) {
        addRunning(n);
        serve(changed(n));
    }
    UpdateItems();
    std::vector<qint64> starts;
    for (size_t k = 0; k < timed.statuses.size(); ++k)
        if (timed.statuses[k].rfind("Updating Item ", 0) == 0) starts.push_back(timed.ticks[k]);
    ASSERT_EQ(starts.size(), 3u);
    for (size_t k = 1; k < starts.size(); ++k) {
        EXPECT_GE(starts[k] - starts[k - 1], kUpdatePageIntervalMs);
        EXPECT_LT(starts[k] - starts[k - 1], kUpdatePageIntervalMs + 200);  // no more than the pace asks
    }
}

TEST_F(UpdateItemsTest, TheFirstFailedDownloadEndsTheRunAndKeepsWhatCameBefore) {
    for (const char* n : {kA, kB, kC}) addRunning(n);
    showAllRows();
    grid.restore = 1;
    serve(changed(kA));
    ScriptedResponse refused = ScriptedResponse::ok("");
    refused.fault = Fault::CloseAtOnce;
    service.route(itemHost(), "GET", itemPagePath(kB), refused);
    serve(changed(kC));

    UpdateItems();

    EXPECT_EQ(status.statuses.back(), kUpdateFailed);
    for (const auto& s : status.statuses) EXPECT_EQ(s.find("Update Completed"), std::string::npos);
    EXPECT_EQ(pageRequests(kC), 0u);
    for (const auto& click : grid.clicks) EXPECT_FALSE(click.keepStatusLine);  // no closing click
    EXPECT_EQ(grid.restore, 1);
    Load_Auction_Items();
    EXPECT_EQ(item(1).CurrentPrice, "US 12.00");
    EXPECT_EQ(item(2).CurrentPrice, "US 10.00");
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

TEST_F(UpdateItemsTest, TheStopButtonEndsTheRunAfterTheItemInHand) {
    for (const char* n : {kA, kB, kC}) {
        addRunning(n);
        serve(changed(n));
    }
    grid.restore = 3;
    showAllRows();
    platform::Timer stop([] { TLMainState::CancelUpdate = -1; });
    stop.setInterval(1500);  // while the second item waits for its turn to end
    stop.setEnabled(true);
    UpdateItems();
    stop.setEnabled(false);

    EXPECT_EQ(status.statuses.back(), kUpdateCancelled);
    EXPECT_EQ(pageRequests(kA) + pageRequests(kB), 2u);
    EXPECT_EQ(pageRequests(kC), 0u);
    EXPECT_EQ(item(2).CurrentPrice, "US 12.00");
    EXPECT_EQ(item(3).CurrentPrice, "US 10.00");
    EXPECT_EQ(TLMainState::CancelUpdate, 0);
    ASSERT_FALSE(grid.clicks.empty());
    EXPECT_EQ(grid.clicks.back().row, 3);
    EXPECT_TRUE(grid.clicks.back().keepStatusLine);
}

TEST_F(UpdateItemsTest, KeepsItsOwnValuesWhileOthersUseThePageValuesDuringItsWait) {
    addRunning(kA);
    serve(changed(kA));
    // Another routine fetches a page of its own while the refresh waits for its turn to end.
    platform::Timer other([] {
        modPageParser::PageHTML = "<html><title>Other</title><body>Current bid: US $99.00</body></html>";
        modPageParser::PagePrice = "US 99.00";
        modPageParser::PageBidCount = "99";
    });
    other.setInterval(500);
    other.setEnabled(true);
    UpdateItems();
    other.setEnabled(false);
    EXPECT_EQ(item(1).CurrentPrice, "US 12.00");
    EXPECT_EQ(item(1).BidCount, "4");
    EXPECT_EQ(modPageParser::PagePrice, "US 12.00");  // written for its readers
    EXPECT_EQ(modPageParser::PageBidCount, "4");
}

TEST_F(UpdateItemsTest, AnItemDeletedDuringTheRunIsLeftAlone) {
    addRunning(kA);
    addRunning(kB);
    serve(changed(kA));
    serve(changed(kB));
    bool removed = false;
    platform::Timer remove([&removed] {
        if (removed) return;
        removed = true;
        Items.erase(Items.begin() + 1);  // kA goes while its page is fetched
        --ItemCount;
    });
    remove.setInterval(10);
    remove.setEnabled(true);
    UpdateItems();
    remove.setEnabled(false);
    ASSERT_EQ(ItemCount, 1);
    EXPECT_EQ(item(1).ItemNumber, kB);
    EXPECT_EQ(item(1).CurrentPrice, "US 12.00");
}

TEST_F(UpdateItemsTest, TheEndTimeUpdateRereadsOnlyTheEndsOfRunningItems) {
    const int a = addRunning(kA);
    item(addRunning(kB)).EndTime = End_Time_Text(now().addSecs(-60), false);
    item(addRunning(kC)).EndTime = "No End Date";
    for (const char* n : {kA, kB, kC}) serve(changed(n));
    const std::string newEnd = parsedEnd(changed(kA));

    UpdateEndingTime();
    EXPECT_EQ(item(a).EndTime, newEnd);
    EXPECT_EQ(item(a).CurrentPrice, "US 10.00");
    EXPECT_EQ(item(a).AlarmState, "0");
    EXPECT_EQ(pageRequests(kA), 1u);
    EXPECT_EQ(pageRequests(kB) + pageRequests(kC), 0u);
    EXPECT_EQ(grid.gridLoads, 1);
    EXPECT_EQ(status.statuses.back(), "Time Zone Change Update Completed....");
    EXPECT_NE(opLog().find("Time Zone Change Item Update Completed"), std::string::npos);
    EXPECT_FALSE(TLMainState::UpdateBusy);

    TLMainState::ManualEndTimeUpdate = -1;
    UpdateEndingTime();
    EXPECT_EQ(status.statuses.back(), "Ending Time Update Completed....");
    Load_Auction_Items();
    EXPECT_EQ(item(1).EndTime, newEnd);
}

// ---- The selected rows --------------------------------------------------------------------

class UpdateSelectedTest : public UpdateItemsTest {
protected:
    void SetUp() override {
        UpdateItemsTest::SetUp();
        for (const char* n : {kA, kB, kC}) addRunning(n);
        showAllRows();
        grid.selection = {1, 3, 2};
        grid.restore = 2;
    }
    std::vector<std::string> requestedNumbers() const {
        std::vector<std::string> n;
        for (const auto& r : service.requests())
            if (r.host == itemHost()) n.push_back(r.target.substr(r.target.rfind('=') + 1));
        return n;
    }
};

TEST_F(UpdateSelectedTest, RefreshesTheSelectedRowsTopToBottom) {
    item(2).EndTime = End_Time_Text(now().addSecs(-60), false);  // ended
    for (const char* n : {kA, kB, kC}) serve(changed(n));
    Update_Selected_Item();

    EXPECT_EQ(requestedNumbers(), (std::vector<std::string>{kA, kB, kC}));
    EXPECT_EQ(grid.rowsShown, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(grid.rowsRefreshed, (std::vector<int>{1, 2, 3}));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(item(i).CurrentPrice, "US 12.00");
        EXPECT_EQ(item(i).BidCount, "4");
        EXPECT_EQ(item(i).AlarmState, "1");  // the end changed; no alarm watches the rest
    }
    EXPECT_EQ(item(1).ResultDone, "");
    EXPECT_EQ(item(2).ResultDone, "");  // its page gives a later end: it runs again
    const std::string last = status.statuses.back();
    EXPECT_EQ(last.rfind("Update Completed - ", 0), 0u) << last;
    EXPECT_EQ(last.find("Items"), std::string::npos);
    EXPECT_EQ(grid.repaints, 1);
    ASSERT_EQ(grid.clicks.size(), 1u);
    EXPECT_EQ(grid.clicks[0].row, 2);
    EXPECT_TRUE(grid.clicks[0].keepStatusLine);
    EXPECT_FALSE(TLMainState::SelectedUpdateBusy);
    Load_Auction_Items();
    EXPECT_EQ(item(3).CurrentPrice, "US 12.00");
}

TEST_F(UpdateSelectedTest, AnItemThatEndedGetsItsResultMark) {
    ItemPageContent ended = changed(kA);
    ended.endDate = "May 31, 2026";
    serve(ended);
    grid.selection = {1, 1, 1};
    Update_Selected_Item();
    EXPECT_EQ(item(1).ResultDone, "1");
}

TEST_F(UpdateSelectedTest, AFailureStopsAtItsRowAndKeepsTheRowsBefore) {
    serve(changed(kA));
    ScriptedResponse refused = ScriptedResponse::ok("");
    refused.fault = Fault::CloseAtOnce;
    service.route(itemHost(), "GET", itemPagePath(kB), refused);
    serve(changed(kC));
    Update_Selected_Item();
    EXPECT_EQ(status.statuses.back(), kUpdateFailed);
    EXPECT_EQ(pageRequests(kC), 0u);
    Load_Auction_Items();
    EXPECT_EQ(item(1).CurrentPrice, "US 12.00");
    EXPECT_EQ(item(3).CurrentPrice, "US 10.00");
}

// A page that did not come (no answer, a server error, an empty page) ends the run there,
// whichever refresh it is. A page answered 200 that shows none of an item page's marks (the
// service's page for a removed item, a garbled page, the sign-in form) changes nothing in its
// item, is logged with the item's number, and the run goes on to the next item.
TEST_F(UpdateSelectedTest, APageThatIsNoItemPageIsPassedOverAndAPageThatDidNotComeEndsTheRun) {
    struct Case {
        const char* what;
        int status;
        std::string page;
        bool endsRun;
    };
    const Case cases[] = {
        {"server error", 503, "<html><body><h1>Service Unavailable</h1></body></html>", true},
        {"empty", 200, "", true},
        {"removed item", 200, removedItemPage(kB), false},
        {"garbled", 200, garbledItemPage(), false},
        {"sign-in form", 200, signInItemPage(), false},
    };
    struct Run {
        const char* name;
        void (*run)();
    };
    const Run runs[] = {{"selected rows", [] { Update_Selected_Item(); }}, {"whole list", [] { UpdateItems(); }}};
    const std::string passedOver = std::string("Error! Item Update Failed - Not an Item Page - ") + kB;
    for (const Run& r : runs) {
        for (const Case& c : cases) {
            const std::string what = std::string(r.name) + ", " + c.what;
            serve(changed(kA));
            serve(changed(kB)).failItemPage(c.status, -1, c.page);
            serve(changed(kC));
            item(1).CurrentPrice = item(3).CurrentPrice = "US 10.00";
            item(2).ReserveFlag = 1;
            item(2).MinBid = "US 11.00";
            const AuctionItem before = item(2);
            service.clearRequests();
            status.statuses.clear();
            data.write("OperationLog.txt", "");
            r.run();
            EXPECT_EQ(item(1).CurrentPrice, "US 12.00") << what;
            EXPECT_EQ(item(2).CurrentPrice, before.CurrentPrice) << what;
            EXPECT_EQ(item(2).BidCount, before.BidCount) << what;
            EXPECT_EQ(item(2).EndTime, before.EndTime) << what;
            EXPECT_EQ(item(2).MinBid, before.MinBid) << what;
            EXPECT_EQ(item(2).ReserveFlag, 1) << what;
            EXPECT_EQ(item(2).AlarmState, before.AlarmState) << what;
            EXPECT_EQ(item(2).ResultDone, before.ResultDone) << what;
            if (c.endsRun) {
                EXPECT_EQ(status.statuses.back(), kUpdateFailed) << what;
                EXPECT_EQ(pageRequests(kC), 0u) << what;
                EXPECT_EQ(item(3).CurrentPrice, "US 10.00") << what;
                EXPECT_EQ(opLog().find(passedOver), std::string::npos) << what;
            } else {
                EXPECT_EQ(status.statuses.back().rfind("Update Completed - ", 0), 0u) << what;
                EXPECT_TRUE(sawStatus(passedOver)) << what;
                EXPECT_TRUE(logged(passedOver)) << what << "\n" << opLog();
                EXPECT_EQ(pageRequests(kC), 1u) << what;
                EXPECT_EQ(item(3).CurrentPrice, "US 12.00") << what;
            }
            Load_Auction_Items();
            EXPECT_EQ(item(1).CurrentPrice, "US 12.00") << what << ": saved";
            EXPECT_EQ(item(2).CurrentPrice, before.CurrentPrice) << what << ": saved";
        }
    }
}

TEST_F(UpdateSelectedTest, TheStopButtonCutsThePageAndEndsTheRun) {
    serve(changed(kA));
    TLMainState::CancelUpdate = -1;
    Update_Selected_Item();
    EXPECT_EQ(status.statuses.back(), kSelectedUpdateCancelled);
    EXPECT_EQ(item(1).CurrentPrice, "US 10.00");
    EXPECT_EQ(TLMainState::CancelUpdate, 0);
    EXPECT_EQ(requestedNumbers(), std::vector<std::string>{kA});
}

TEST_F(UpdateSelectedTest, TheBidSetUpRefreshesItsItemsByNumber) {
    for (const char* n : {kA, kB, kC}) serve(changed(n));
    Update_Items_By_Number({kC, "999999999999", kA});
    EXPECT_EQ(requestedNumbers(), (std::vector<std::string>{kC, kA}));
    EXPECT_EQ(item(1).CurrentPrice, "US 12.00");
    EXPECT_EQ(item(2).CurrentPrice, "US 10.00");
    EXPECT_EQ(status.statuses.back().rfind("Update Completed - ", 0), 0u);

    TLMainState::DownloadBusy = -1;
    service.clearRequests();
    Update_Items_By_Number({kB});
    EXPECT_EQ(status.statuses.back(), kBusyDownload);
    EXPECT_TRUE(requestedNumbers().empty());
}

// The same end written for the other clock format (after the user switched between 12 and 24
// hours) is no change of the end: no alert, no log line; the text takes the new form.
TEST_F(UpdateItemsTest, AnEndInTheOtherClockFormatIsNoChange) {
    const int a = addRunning(kA);
    const QDateTime end = now().addSecs(3600);
    item(a).EndTime = End_Time_Text(end, true);
    TLMainItems::PageValues values;
    values.endTime = End_Time_Text(end, false);
    ASSERT_NE(values.endTime, item(a).EndTime);
    EXPECT_EQ(TLMainItems::Store_Page_Values(item(a), values, false), 0);
    EXPECT_EQ(opLog().find("Ending Date Changed"), std::string::npos);
    EXPECT_EQ(item(a).EndTime, values.endTime);

    values.endTime = End_Time_Text(end.addSecs(60), false);  // a real change still counts
    EXPECT_EQ(TLMainItems::Store_Page_Values(item(a), values, false), 1);
    EXPECT_NE(opLog().find("Ending Date Changed"), std::string::npos);
}

}  // namespace
