// bid_fixture.h — the bid engine tests' ground: a throw-away data folder, the fake clock (1 June
// 2026 12:00, UTC) with the scheduler's two timers, recording stand-ins for the main window, the
// grid and the bid engine's other duties, and, on demand, the fake service with its sign-in, bid
// and item pages. Time moves in the scheduler's steps of 250 ms; after each step the answers of
// the fake service are let in before the clock moves on.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <map>
#include <memory>
#include <string>

#include "bidding/bid_scheduler.h"
#include "bidding/deferred_requests.h"
#include "fake_bid_pages.h"
#include "fake_clock.h"
#include "fake_item_pages.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/bid_engine_state.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/user_state.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "platform/timers.h"
#include "recording_bid_links.h"
#include "recording_item_grid.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "service/http_request.h"
#include "service/national_sites.h"
#include "service/page_globals.h"
#include "service/page_parser.h"
#include "service/sign_in.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace testsupport {

// The main window's duties the bid engine uses.
class BidWindow final : public RecordingStatusLine, public RecordingSounds, public RecordingMenus {};

class BidTest : public ::testing::Test {
protected:
    static constexpr const char* kUser = "bob";

    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        modTLC::Set_Config_Value("Users", kUser, "pw");
        TLMainBids::Attach_Bid_Timers(&scanItems, &requestHandler);
        TLMainBids::Enable_Bid_Scheduler();
    }
    void TearDown() override {
        TLMainBids::Detach_Bid_Timers();
        reset();
        settle(50);
    }

    static void reset() {
        TLMainBids::ResetBidEngineForTests();
        modTLMain::ResetStartupForTests();
        modTLMain::ResetLocaleDatesForTests();
        modWinInfo::ResetForTests();
        modTLC::ResetForTests();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
        TLMainItems::ResetItemStoreForTests();
        modPageParser::ResetForTests();
        modPageParser::PageHighBidder.clear();
        modPageParser::PageBidCount.clear();
        modPageParser::PagePrice.clear();
        modClock::ClockOffsetMs = 0;
        modDebug::DebugOutput = false;
    }

    // ---- Items --------------------------------------------------------------------------------

    // Appends an item armed to bid `maxBid` B seconds before an end `secondsToEnd` from now.
    int arm(const std::string& number, long B, long secondsToEnd, const std::string& maxBid = "12.50",
            const std::string& user = kUser) {
        TLMainItems::AuctionItem item;
        item.ItemNumber = number;
        item.Title = "Teapot " + number;
        item.UserID = user;
        item.MaxBid = maxBid;
        item.Quantity = "1";
        item.BidTimeSecs = B;
        item.AfterBidOptions = "0";
        item.CurrentPrice = "US 10.00";
        item.EndTime = endIn(secondsToEnd);
        EXPECT_TRUE(TLMainItems::Append_Item(item));
        return TLMainItems::ItemCount;
    }
    // The end-time text of a moment `seconds` from now (whole seconds of the fake clock).
    std::string endIn(long seconds) const { return TLMainItems::End_Time_Text(time.clock.now().addSecs(seconds), false); }

    static TLMainItems::AuctionItem& item(int index) { return TLMainItems::Items.at(static_cast<size_t>(index)); }
    static TLMainItems::AuctionItem& byNumber(const std::string& number) {
        return item(TLMainItems::FindItemIndex(number));
    }

    // ---- The fake service ---------------------------------------------------------------------

    FakeService& serve() {
        if (!fake) {
            fake = std::make_unique<FakeService>();
            fake->useForClient();
            FakeSignIn::install(*fake, SignInAnswer::MemberPages);
            bidPages = std::make_unique<BidPages>(*fake);
        }
        return *fake;
    }
    // The bid history and item page of an item, on the hosts the result update reads.
    struct ResultPages {
        std::unique_ptr<ItemPages> history;
        std::unique_ptr<ItemPages> page;
    };
    ResultPages& resultPages(const std::string& number) {
        serve();
        ResultPages& p = result[number];
        if (!p.history) {
            p.history = std::make_unique<ItemPages>(*fake, modTLMain::kBidHost, number);
            p.page = std::make_unique<ItemPages>(*fake, modTLMain::kBidItemHost, number);
        }
        return p;
    }
    // The item has ended: `winner` bid `price` last; the page says so (and the reserve).
    void ended(const std::string& number, const std::string& winner, const std::string& price, bool reserveNotMet = false) {
        ResultPages& p = resultPages(number);
        p.history->setHistoryPage(winner.empty() ? bidHistoryHtml({}) : bidHistoryHtml({{winner, "(12)", price}}));
        ItemPageContent c;
        c.itemNumber = number;
        c.priceLabel = "Winning bid:";
        c.price = price;
        c.bidCount = "4";
        c.minBid.clear();
        c.reserveNotMet = reserveNotMet;
        p.page->setItemPage(itemPageHtml(c));
    }
    std::vector<RecordedRequest> requestsTo(const std::string& pathPrefix) const {
        std::vector<RecordedRequest> out;
        if (!fake) return out;
        for (const auto& r : fake->requests())
            if (r.target.rfind(pathPrefix, 0) == 0) out.push_back(r);
        return out;
    }

    // ---- Time ---------------------------------------------------------------------------------

    // Lets the fake service's answers in until no request is in flight (at most `maxRealMs`).
    static void settle(int maxRealMs = 3000) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            QEventLoop loop;
            QTimer::singleShot(1, &loop, &QEventLoop::quit);
            loop.exec();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (modWinInet::Requests_In_Flight() == 0) {
                QCoreApplication::processEvents(QEventLoop::AllEvents);
                if (modWinInet::Requests_In_Flight() == 0) return;
            }
            if (t.elapsed() > maxRealMs) return;
        }
    }
    // `n` steps of 250 ms, each followed by the service's answers.
    void tick(int n = 1, int settleMs = 3000) {
        for (int k = 0; k < n; ++k) {
            time.advanceMs(TLMainBids::kScanItemsIntervalMs);
            settle(settleMs);
        }
    }
    // Moves the clock to a whole second, so that the next tick comes 250 ms into a second.
    void align() {
        while (time.clock.now().time().msec() != 0) tick();
    }
    // Seconds from the program's time to item `index`'s end.
    static long remaining(int index) { return TLMainBids::Item_Remaining_Secs(index).value_or(-99999); }

    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : std::string(); }
    bool logged(const std::string& text) const { return opLog().find(" - " + text + "\r\n") != std::string::npos; }
    size_t loggedCount(const std::string& text) const {
        const std::string log = opLog(), line = " - " + text + "\r\n";
        size_t n = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
        return n;
    }
    size_t statusCount(const std::string& text) const {
        size_t n = 0;
        for (const auto& s : window.statuses) n += s == text;
        return n;
    }

    TempDataFolder data;
    FakeTime time;
    platform::Timer scanItems;
    platform::Timer requestHandler;
    ScriptedMessageBoxes boxes;
    BidWindow window;
    RecordingItemGrid grid;
    RecordingBidLinks links;
    std::unique_ptr<FakeService> fake;
    std::unique_ptr<BidPages> bidPages;
    std::map<std::string, ResultPages> result;
};

}  // namespace testsupport
