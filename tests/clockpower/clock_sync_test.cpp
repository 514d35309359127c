// The clock keeper: the daytime reply and the time page read whole, the time servers in turn,
// the PC clock or the program's offset, the status line and the log, and the bound near a bid.

#include <QTimeZone>
#include <algorithm>
#include <memory>

#include "bidding/deferred_requests.h"
#include "clockpower/clock_sync.h"
#include "clockpower_fixture.h"
#include "fake_service.h"
#include "fake_service_time.h"
#include "foundation/locale_dates.h"
#include "service/national_sites.h"
#include "options/new_setup_checks.h"
#include "platform/daytime_socket.h"
#include "platform/timers.h"

using namespace testsupport;

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi, int s) { return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC); }

struct ReplyCase {
    const char* name;
    std::string reply;
    bool reads;
};

TEST(DaytimeReply, IsReadWholeOrNotAtAll) {
    const QDateTime t = utc(2026, 12, 9, 8, 22, 49);
    std::string wrongDay = Daytime_Reply(t);
    wrongDay.replace(1, 5, "12345");
    const ReplyCase cases[] = {
        {"healthy", Daytime_Reply(t), true},
        {"health 1", Daytime_Reply(t, 1), false},
        {"health 2", Daytime_Reply(t, 2), false},
        {"day number disagrees with the date", wrongDay, false},
        {"garbage", "HTTP/1.0 400 Bad Request\r\n", false},
        {"cut short", Daytime_Reply(t).substr(0, 30), false},
        {"empty", "", false},
        {"a dash and nothing else", "-", false},
        {"impossible date", "\n61100 26-02-30 08:22:49 00 0 0 627.6 UTC(NIST) * \n", false},
        {"blanks and line ends around it", "  \r\n" + Daytime_Reply(t) + "\r\n  ", true},
        {"padded advance", "\n61383 26-12-09 08:22:49 00 0 0  50.0 UTC(NIST) * \n", true},
        {"no on-time marker", "\n61383 26-12-09 08:22:49 00 0 0 50.0 UTC(NIST)\n", false},
        {"more after the marker", Daytime_Reply(t) + "x\n", false},
        {"30,000 blanks before it", std::string(30000, ' ') + Daytime_Reply(t), false},
        {"longer than a daytime answer can be", Daytime_Reply(t) + std::string(platform::kDaytimeReplyCap, ' '), false},
    };
    for (const auto& c : cases) {
        const auto r = modClockSync::Parse_Daytime_Reply(c.reply);
        EXPECT_EQ(r.has_value(), c.reads) << c.name;
    }
    const auto r = modClockSync::Parse_Daytime_Reply(Daytime_Reply(t));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->utc, t);
    EXPECT_EQ(r->advanceMs, 627);
}

TEST(TimePage, ReadsPacificTimeAsUtc) {
    const auto pst = modClockSync::Parse_Time_Page("The Official eBay Time\r\nTuesday, December 09, 2026 00:22:49 PST\r\nx");
    ASSERT_TRUE(pst);
    EXPECT_EQ(*pst, utc(2026, 12, 9, 8, 22, 49));
    const auto pdt = modClockSync::Parse_Time_Page("Thursday, July 02, 2026 23:05:00 PDT");
    ASSERT_TRUE(pdt);
    EXPECT_EQ(*pdt, utc(2026, 7, 3, 6, 5, 0)) << "past midnight in UTC";
    for (const char* text : {"Tuesday, December 09, 2026 00:22:49 CET", "PST", "December 09 2026 00:22:49 PST",
                             "Tuesday, Blurb 09, 2026 00:22:49 PST", "Tuesday, December 39, 2026 00:22:49 PST",
                             "Tuesday, December 09, 1e72 00:22:49 PST", "Tuesday, December 9e9, 2026 00:22:49 PST", ""})
        EXPECT_FALSE(modClockSync::Parse_Time_Page(text)) << text;
}

TEST(DifferenceText, SaysAheadBehindOrNone) {
    const std::pair<long, const char*> cases[] = {
        {0, "0 Seconds Difference."}, {1, "0 Seconds Difference."},   {-1, "0 Seconds Difference."},
        {2, "2 Seconds Ahead."},       {-7, "7 Seconds Behind."},       {3600, "3600 Seconds Ahead."},
    };
    for (const auto& [d, text] : cases) EXPECT_EQ(modClockSync::Difference_Text(d), text) << d;
}

class ClockSync : public ClockPowerTest {
protected:
    void SetUp() override {
        ClockPowerTest::SetUp();
        time.clock.setNow(QDateTime(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC));
        daytime.useForClient();
    }
    // Runs a sync to its end (the fake clock moves while the servers answer).
    bool sync(bool manual = false) {
        if (manual) TLMainState::ManualClockSet = 1;
        auto ended = std::make_shared<bool>(false);
        TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock([ended] { *ended = true; });
        platform::timers().waitUntil([ended] { return *ended; }, 200000);
        return *ended;
    }
    // The fake clock creeps while the servers answer, so a slow machine adds little travel to an
    // offset measured to the millisecond.
    void creepWhileAnswering() {
        time.timers.setWaitStepMs(2);
        time.timers.setRealSliceMs(1);
    }
    // The reply of a server whose clock is `seconds` ahead of the PC clock now.
    std::string replyAhead(long seconds) { return Daytime_Reply_At(time.clock.now().toMSecsSinceEpoch() + seconds * 1000); }
    std::string lastLog() const {
        const auto lines = logLines();
        return lines.empty() ? std::string() : lines.back();
    }

    FakeDaytimeServer daytime;
};

TEST_F(ClockSync, SetsThePcClockFromTheReplyAndItsAdvance) {
    daytime.script({DaytimeAnswer::reply(Daytime_Reply(utc(2026, 12, 9, 8, 22, 49)))});
    ASSERT_TRUE(sync());
    ASSERT_EQ(time.clock.setTimeCalls().size(), 1u);
    // The reply names the time 627 ms after it came: the clock is set as it came, 627 ms before.
    const qint64 set = time.clock.setTimeCalls()[0].toMSecsSinceEpoch();
    const qint64 named = utc(2026, 12, 9, 8, 22, 49).toMSecsSinceEpoch();
    EXPECT_GE(set, named - 627);
    EXPECT_LE(set, named - 627 + 60);
    EXPECT_EQ(modClock::ClockOffsetMs, 0);
    EXPECT_EQ(modClock::ClockSetFailed, 0);
    EXPECT_TRUE(status.statuses.front() == "Connecting to NIST Server 1");
    EXPECT_EQ(lastLog().rfind("A-NIST Clock Sync - Pre-Sync ", 0), 0u) << lastLog();
    // The window and heartbeat were held for the sync and given back.
    EXPECT_EQ(parts.inputChanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(parts.heartbeatChanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    EXPECT_EQ(TLMainState::ManualClockSet, 0);
}

TEST_F(ClockSync, TellsTheDifferenceInTheStatusLineAndTheLog) {
    const std::pair<long, const char*> cases[] = {
        {-1, "Clock Set, 0 Seconds Difference."},  // the PC one second ahead
        {7, "Clock Set, 7 Seconds Behind."},
        {-12, "Clock Set, 12 Seconds Ahead."},
    };
    for (const auto& [refAhead, text] : cases) {
        daytime.script({DaytimeAnswer::reply(replyAhead(refAhead))});
        ASSERT_TRUE(sync(true));
        EXPECT_EQ(status.status, text);
        const std::string line = lastLog();
        EXPECT_EQ(line.rfind("M-NIST Clock Sync - Pre-Sync ", 0), 0u) << line;
        EXPECT_NE(line.find(std::string(" - ") + (text + 11)), std::string::npos) << line;
    }
}

// Each kind of bad answer moves on to the next server; the one that answered is remembered.
TEST_F(ClockSync, MovesOnFromEveryBadAnswerAndRemembersTheServerThatAnswered) {
    daytime.useForClient({modTLMain::TimeServerList[4]});  // the fifth: refused
    daytime.script({
        DaytimeAnswer::close(),                                          // busy: closes without a word
        DaytimeAnswer::reply("garbage\n"),                               //
        DaytimeAnswer::reply(Daytime_Reply(utc(2026, 6, 1, 12, 0, 0), 1)),  // not healthy
        DaytimeAnswer::silent(),                                         // says nothing for 4 seconds
        DaytimeAnswer::reply(replyAhead(30)),                            // the sixth server
    });
    const qint64 start = time.clock.tickMs();
    ASSERT_TRUE(sync());
    EXPECT_EQ(daytime.connections(), 5) << "the refused server never reached the fake";
    EXPECT_GE(time.clock.tickMs() - start, modClockSync::kServerWaitMs);
    EXPECT_EQ(TLMainState::TimeServerIndex, 5);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "TimeSync"), "5");
    EXPECT_TRUE(logged("No NIST Data"));
    // The reply was made before the silent server's wait, so it is that much less ahead by now.
    const long behind = 30 - static_cast<long>((time.clock.tickMs() - start) / 1000);
    EXPECT_EQ(status.status, "Clock Set, " + std::to_string(behind) + " Seconds Behind.");
    EXPECT_EQ(time.clock.setTimeCalls().size(), 1u);
}

TEST_F(ClockSync, TheFirstServerAnsweringWritesNothingAndTheTurnWrapsAround) {
    daytime.script({DaytimeAnswer::reply(replyAhead(0))});
    ASSERT_TRUE(sync());
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "TimeSync", "none"), "none");

    TLMainState::TimeServerIndex = 22;
    daytime.script({DaytimeAnswer::close(), DaytimeAnswer::close(), DaytimeAnswer::reply(replyAhead(0))});
    ASSERT_TRUE(sync());
    std::vector<std::string> tried;
    for (const auto& s : status.statuses)
        if (s.rfind("Connecting to NIST Server ", 0) == 0) tried.push_back(s.substr(26));
    EXPECT_EQ(std::vector<std::string>(tried.end() - 3, tried.end()), (std::vector<std::string>{"23", "24", "1"}));
    EXPECT_EQ(TLMainState::TimeServerIndex, 0);
}

TEST_F(ClockSync, AsksEachOfTheTwentyFourServersOnceThenFails) {
    daytime.setDefault(DaytimeAnswer::close());
    ASSERT_TRUE(sync());
    EXPECT_EQ(daytime.connections(), 24);
    EXPECT_EQ(modClock::ClockSetFailed, 1);
    EXPECT_EQ(status.status, "Clock Set Failed......");
    EXPECT_EQ(lastLog(), "Clock Set Failed");
    EXPECT_TRUE(time.clock.setTimeCalls().empty());
    EXPECT_TRUE(parts.input);
    EXPECT_TRUE(parts.heartbeat);
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
}

TEST_F(ClockSync, UserModeKeepsAnOffsetInsteadOfSettingTheClock) {
    userMode();
    creepWhileAnswering();
    daytime.script({DaytimeAnswer::reply(replyAhead(-3))});
    ASSERT_TRUE(sync());
    EXPECT_EQ(status.status, "User Mode - Clock Set, 3 Seconds Ahead.");
    EXPECT_NEAR(modClock::ClockOffsetMs, -3000, 60) << "less the time the reply took";
    EXPECT_TRUE(time.clock.setTimeCalls().empty());
    EXPECT_EQ(TLMainState::ProgramClockTickBase, time.clock.tickMs());
}

TEST_F(ClockSync, ASetTheSystemRefusesTurnsToUserMode) {
    creepWhileAnswering();
    time.clock.allowSetTime(false);
    daytime.script({DaytimeAnswer::reply(replyAhead(20))});
    ASSERT_TRUE(sync());
    EXPECT_EQ(time.clock.setTimeCalls().size(), 1u);
    EXPECT_TRUE(modClock::User_Mode());
    EXPECT_NEAR(modClock::ClockOffsetMs, 20000, 60);
    EXPECT_EQ(status.status, "User Mode - Clock Set, 20 Seconds Behind.");
}

TEST_F(ClockSync, RefusesWhileADownloadRuns) {
    TLMainState::DownloadBusy = 1;
    TLMainState::ManualClockSet = 1;
    ASSERT_TRUE(sync());
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
    EXPECT_EQ(daytime.connections(), 0);
    EXPECT_EQ(TLMainState::ManualClockSet, 0);
    EXPECT_EQ(TLMainState::DownloadBusy, 1);
}

// Near a bid the sync is over within 15 seconds, and the user keeps the window.
TEST_F(ClockSync, NearABidGivesUpAfterFifteenSecondsWithTheWindowLeftAlone) {
    TLMainState::MinuteWarningGiven = 1;
    daytime.setDefault(DaytimeAnswer::silent());
    const qint64 start = time.clock.tickMs();
    ASSERT_TRUE(sync());
    EXPECT_LE(time.clock.tickMs() - start, modClockSync::kSyncLimitMs + 100);
    EXPECT_EQ(daytime.connections(), 4) << "three whole waits and a part of one";
    EXPECT_EQ(modClock::ClockSetFailed, 1);
    EXPECT_TRUE(parts.inputChanges.empty());
    EXPECT_TRUE(parts.heartbeatChanges.empty());
}

TEST_F(ClockSync, AWarningDuringASyncBoundsItFromItsStartAndGivesTheWindowBack) {
    daytime.setDefault(DaytimeAnswer::silent());
    auto ended = std::make_shared<bool>(false);
    const qint64 start = time.clock.tickMs();
    TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock([ended] { *ended = true; });
    platform::timers().waitUntil([] { return false; }, 6000);
    EXPECT_FALSE(parts.input);
    TLMainState::MinuteWarningGiven = 1;
    platform::timers().waitUntil([] { return false; }, 2100);  // the second server's wait ends
    EXPECT_TRUE(parts.input) << "the window is the user's again";
    EXPECT_TRUE(parts.heartbeat);
    platform::timers().waitUntil([ended] { return *ended; }, 60000);
    ASSERT_TRUE(*ended);
    EXPECT_LE(time.clock.tickMs() - start, modClockSync::kSyncLimitMs + 100);
    EXPECT_EQ(status.status, "Clock Set Failed......");
}

// A manual sync (or the heartbeat's) against servers that take the connection and never answer is
// over within the same 15 seconds, and the window is the user's again.
TEST_F(ClockSync, SilentServersHoldTheWindowFifteenSecondsAtMost) {
    daytime.setDefault(DaytimeAnswer::silent());
    const qint64 start = time.clock.tickMs();
    ASSERT_TRUE(sync(true));
    EXPECT_LE(time.clock.tickMs() - start, modClockSync::kSyncLimitMs + 100);
    EXPECT_EQ(daytime.connections(), 4);
    EXPECT_EQ(status.status, "Clock Set Failed......");
    EXPECT_EQ(parts.inputChanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(parts.heartbeatChanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
}

// What a server sends is read only up to a daytime answer's size: more is no reading, and the
// next server is asked.
TEST_F(ClockSync, AnOverlongReplyIsNoReadingAndTheNextServerIsAsked) {
    const std::string blanksFirst = std::string(30000, ' ') + Daytime_Reply(utc(2026, 6, 1, 12, 0, 0));
    const std::string endless(2000, '7');  // no line end, and the connection stays open
    for (const auto& first : {DaytimeAnswer::reply(blanksFirst), DaytimeAnswer::replyAndHold(endless)}) {
        TLMainState::TimeServerIndex = 0;
        const int before = daytime.connections();
        daytime.script({first, DaytimeAnswer::reply(replyAhead(0))});
        const qint64 start = time.clock.tickMs();
        ASSERT_TRUE(sync());
        EXPECT_EQ(daytime.connections() - before, 2);
        EXPECT_LT(time.clock.tickMs() - start, modClockSync::kServerWaitMs) << "cut off, not waited out";
        EXPECT_EQ(TLMainState::TimeServerIndex, 1);
        EXPECT_EQ(status.status, "Clock Set, 0 Seconds Difference.");
    }
}

TEST_F(ClockSync, ShiftAndCtrlShowTheRawReplyFirst) {
    TLMainState::KeyShiftState = 3;
    const std::string reply = replyAhead(0);
    daytime.script({DaytimeAnswer::reply(reply)});
    ASSERT_TRUE(sync());
    std::string raw = reply;
    raw.erase(std::remove(raw.begin(), raw.end(), '\n'), raw.end());
    EXPECT_EQ(status.status, raw + " - Clock Set, 0 Seconds Difference.");
}

TEST_F(ClockSync, AnotherSourceSettingDoesNothing) {
    modTLC::Set_Config_Value("Options", "TimeSyncOpt", "2");
    ASSERT_TRUE(sync());
    EXPECT_TRUE(status.statuses.empty());
    EXPECT_EQ(daytime.connections(), 0);
}

TEST_F(ClockSync, TheWizardsCheckStartsFromTheFirstServer) {
    TLMainState::TimeServerIndex = 9;
    daytime.script({DaytimeAnswer::reply(replyAhead(0))});
    EXPECT_TRUE(SetupChecks::clock().Sync_Clock_From_First_Server());
    EXPECT_EQ(status.statuses.front(), "Connecting to NIST Server 1");

    daytime.setDefault(DaytimeAnswer::close());
    EXPECT_FALSE(SetupChecks::clock().Sync_Clock_From_First_Server());

    ClockPower::Release_Clock_And_Power();
    EXPECT_FALSE(SetupChecks::clock().Sync_Clock_From_First_Server()) << "no clock keeper: nothing was set";
}

class TimePageSync : public ClockSync {
protected:
    void SetUp() override {
        ClockSync::SetUp();
        service.useForClient();
        daytime.useForClient();
        modTLC::Set_Config_Value("Options", "TimeSyncOpt", "1");
    }
    FakeService service;
};

TEST_F(TimePageSync, SetsTheClockFromPstAndPdtPages) {
    // The page stands still here: the clock is set to its second as it first came, never earlier.
    auto setLate = [&](const QDateTime& named) {
        return time.clock.setTimeCalls().back().toMSecsSinceEpoch() - named.toMSecsSinceEpoch();
    };
    const QDateTime pacific(QDate(2026, 12, 9), QTime(0, 22, 49), Qt::UTC);
    Serve_Time_Page(service, Time_Page_Html(pacific, false));
    ASSERT_TRUE(sync());
    ASSERT_EQ(time.clock.setTimeCalls().size(), 1u);
    EXPECT_GE(setLate(utc(2026, 12, 9, 8, 22, 49)), 0);
    EXPECT_LT(setLate(utc(2026, 12, 9, 8, 22, 49)), 1100);
    EXPECT_EQ(service.lastRequest().target, "/ws/eBayISAPI.dll?EbayTime");
    EXPECT_EQ(status.statuses.front(), "Retrieving eBay Time Information......");
    EXPECT_EQ(lastLog().rfind("A- eBay Clock Sync - Pre-Sync ", 0), 0u) << lastLog();

    Serve_Time_Page(service, Time_Page_Html(QDateTime(QDate(2026, 7, 2), QTime(23, 5, 0), Qt::UTC), true));
    ASSERT_TRUE(sync());
    EXPECT_GE(setLate(utc(2026, 7, 3, 6, 5, 0)), 0);
    EXPECT_LT(setLate(utc(2026, 7, 3, 6, 5, 0)), 1100);
    EXPECT_TRUE(parts.inputChanges.empty()) << "the time page leaves the window as it is";
}

TEST_F(TimePageSync, UserModeOffsetWithoutTheUserModeWords) {
    userMode();
    creepWhileAnswering();
    const QDateTime pcPacific = time.clock.now().toUTC().addSecs(-8 * 3600).addSecs(3);
    Serve_Time_Page(service, Time_Page_Html(QDateTime(pcPacific.date(), pcPacific.time(), Qt::UTC), false));
    ASSERT_TRUE(sync());
    EXPECT_NEAR(modClock::ClockOffsetMs, 3000, 60);
    EXPECT_EQ(status.status, "Clock Set, 3 Seconds Behind.");
}

TEST_F(TimePageSync, APageWithoutATimeFailsAndTheBusyFlagIsAsBefore) {
    for (int16_t busyBefore : {int16_t(0), int16_t(1)}) {
        TLMainState::DownloadBusy = busyBefore;
        Serve_Time_Page(service, "<html><body>Tuesday, December 09, 2026 00:22:49 CET</body></html>");
        ASSERT_TRUE(sync());
        EXPECT_EQ(status.status, "Clock Set Failed......");
        EXPECT_EQ(modClock::ClockSetFailed, 1) << "the wizard's check sees the failure";
        EXPECT_EQ(TLMainState::DownloadBusy, busyBefore);
        EXPECT_TRUE(time.clock.setTimeCalls().empty());
    }
    service.route(modTLMain::kTimeHost, "GET", modTLMain::kTimePagePath, ScriptedResponse::withStatus(500));
    ASSERT_TRUE(sync());
    EXPECT_EQ(lastLog(), "Clock Set Failed");
}

// Where the program may not set the PC clock, the reference runs a fraction of a second off the
// PC's whole seconds. The scheduler's grid then places the bid at the start of its second by the
// program's clock; how far that moment is into the bid second by the reference's clock:
// the time servers put it within 100 ms of the start, the time page never before it.
class BidSecond : public TimePageSync {
protected:
    void SetUp() override {
        TimePageSync::SetUp();
        creepWhileAnswering();
    }
    // The fake service's clock runs `aheadMs` ahead of the PC clock.
    void serviceAhead(qint64 aheadMs) {
        const FakeClock* pc = &time.clock;
        daytime.setDefault(DaytimeAnswer::replyMade(
            [pc, aheadMs] { return Daytime_Reply_At(pc->now().toMSecsSinceEpoch() + aheadMs); }));
        service.handle(modTLMain::kTimeHost, "GET", modTLMain::kTimePagePath, [pc, aheadMs](const RecordedRequest&) {
            const QDateTime pacific = QDateTime::fromMSecsSinceEpoch(pc->now().toMSecsSinceEpoch() + aheadMs, Qt::UTC)
                                          .addSecs(-8 * 3600);
            return ScriptedResponse::ok(Time_Page_Html(QDateTime(pacific.date(), pacific.time(), Qt::UTC), false));
        });
    }
    // Milliseconds into its bid second, by the service's clock, at which the scheduler's tick
    // places a bid: an item ending a minute from now by the service's clock, bid 5 s before.
    qint64 bidLandsMs(qint64 aheadMs) {
        constexpr long kBidSecs = 5;
        const qint64 serviceNow = time.clock.now().toMSecsSinceEpoch() + aheadMs;
        const qint64 endMs = serviceNow / 1000 * 1000 + 60000;
        TLMainItems::AuctionItem a;
        a.ItemNumber = "110000000001";
        a.BidTimeSecs = kBidSecs;
        a.EndTime = TLMainItems::End_Time_Text(QDateTime::fromMSecsSinceEpoch(endMs), false);
        TLMainItems::ResetItemStoreForTests();
        TLMainItems::Append_Item(a);
        TLMainBids::ResetSchedulerForTests();
        for (int ticks = 0; ticks < 1000; ++ticks) {
            time.advanceMs(TLMainBids::Ms_To_Next_Scan(TLMainBids::Program_Now_Ms()));
            const auto left = TLMainBids::Item_Remaining_Secs(1);
            if (left && *left <= kBidSecs) break;
        }
        return time.clock.now().toMSecsSinceEpoch() + aheadMs - (endMs - kBidSecs * 1000);
    }
};

TEST_F(BidSecond, IsKeptOnBothRoadsWithTheReferenceAFractionOffTheSecond) {
    userMode();
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    for (const char* road : {"0", "1"}) {
        modTLC::Set_Config_Value("Options", "TimeSyncOpt", road);
        for (const qint64 ahead : {7400LL, 7999LL, 150LL, -2600LL, -430LL}) {
            serviceAhead(ahead);
            ASSERT_TRUE(sync());
            ASSERT_EQ(modClock::ClockSetFailed, 0);
            const qint64 lands = bidLandsMs(ahead);
            EXPECT_GE(lands, 0) << "road " << road << ", ahead " << ahead;
            if (std::string(road) == "0") EXPECT_LT(lands, 100) << "ahead " << ahead;
            else EXPECT_LT(lands, 700) << "ahead " << ahead << ": the second reading halves the second";
            RecordProperty(std::string("road") + road + "_ahead" + std::to_string(ahead) + "_lands_ms", std::to_string(lands));
        }
    }
}

// The scheduler's ticks move with the program's new time as soon as the sync has set it.
TEST_F(BidSecond, TheSchedulersTicksFollowTheNewOffset) {
    userMode();
    modTLC::Set_Config_Value("Options", "TimeSyncOpt", "0");
    platform::Timer scanItems, requestHandler;
    TLMainBids::Attach_Bid_Timers(&scanItems, &requestHandler);
    TLMainBids::Enable_Bid_Scheduler();
    serviceAhead(7400);
    ASSERT_TRUE(sync());
    EXPECT_EQ(scanItems.interval(), TLMainBids::Ms_To_Next_Scan(TLMainBids::Program_Now_Ms()));
    TLMainBids::Detach_Bid_Timers();
}

}  // namespace
