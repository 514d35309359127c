// The heartbeat: its counts (the configuration saved five ticks after a change, the checks of the
// 120th tick), the time-zone check, the sleep request, the item alarm, the timed refresh's
// count-down, the time-left column, the clipboard watch, and a tick that never runs inside another.
#include <QFile>

#include "bidding/deferred_requests.h"
#include "fake_item_pages.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/bid_engine_state.h"
#include "mainwindow/tl_main_state.h"
#include "mainwindow/update_server.h"
#include "tl_main_fixture.h"

using namespace testsupport;

namespace {

class Heartbeat : public TLMainTest {
protected:
    // Ticks up to, not including, the 120th.
    void toTick119() { tick(119); }
    // A new start of the program whose update server answers the reply.
    void startAgainWithUpdateServer(FakeService& service, const char* reply) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        service.useForClient();
        service.clearRoutes();
        service.clearRequests();
        service.routePrefix("", "GET", "/tl2update.php", ScriptedResponse::ok(reply));
    }
    std::string cell(int row, int col) { return TLMainItems::ItemGrid().TextMatrix(row, col); }
};

TEST_F(Heartbeat, TheConfigurationIsSavedFiveTicksAfterTheLastChange) {
    load();
    tick(10);
    ASSERT_EQ(modTLC::ConfigDirty, 0);
    const std::string before = data.read("tl2cf.dat");
    modTLC::Set_Config_Value("Options", "Sound", "1");
    tick(2);
    modTLC::Set_Config_Value("Options", "Sound", "0");  // a later change starts the five again
    tick(4);
    EXPECT_EQ(modTLC::ConfigDirty, 1);
    EXPECT_EQ(data.read("tl2cf.dat"), before);
    tick();
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    EXPECT_NE(data.read("tl2cf.dat"), before);
}

// Tick 120: the daily sign-in of the current user; a refused one is told, after the tick: while
// the box waits for the user, the heartbeat goes on.
TEST_F(Heartbeat, TheSignInCheckOfThe120thTickTellsOfARefusalWithoutHoldingTheHeartbeat) {
    FakeService service;
    service.useForClient();
    FakeSignIn::install(service, SignInAnswer::Refused);
    UserState::CurrentUserID = "buyer1";
    load({{"Users", "buyer1", "secret"}, {"Options", "LastUser", "buyer1"}, {"Options", "ChkUpdates", "0"}});
    toTick119();
    EXPECT_TRUE(messages.empty());
    int ticksWhileShown = -1;
    std::string clockWhileShown;
    answers.push_back([&](Messages& m) {
        const int before = TLMainState::HourTickCount;
        const QString clock = TLMain::instance().TimeIs->text();
        tick(3);
        ticksWhileShown = TLMainState::HourTickCount - before;
        clockWhileShown = TLMain::instance().TimeIs->text() == clock ? "stopped" : "going";
        m.clickButton(1);
    });
    tick();
    settleRequests();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(ticksWhileShown, 3);
    EXPECT_EQ(clockWhileShown, "going");
    EXPECT_EQ(messages[0],
              "Warning: Your eBay signin for \"buyer1\" has failed.\r\n"
              "Please verify your user ID and password settings in setup.");
    EXPECT_EQ(titles[0], "Signin Failure");
    EXPECT_FALSE(modTLC::Get_Config_Value("Options", "SigninChkTime").empty());
    tick(200);
    EXPECT_EQ(messages.size(), 1u) << "once a day";
}

TEST_F(Heartbeat, NoSignInCheckWithoutAPasswordOrWithinADay) {
    FakeService service;
    service.useForClient();
    UserState::CurrentUserID = "buyer1";
    load({{"Options", "LastUser", "buyer1"}, {"Options", "ChkUpdates", "0"}});
    tick(120);
    EXPECT_EQ(service.requestCount(), 0u);
}

// Tick 120: the version check, started and answered later; a newer version (a plain number above
// this one's, at most 4 characters) is offered through the update command. The query is the user
// agent of its own request; the program's next request has its usual one.
TEST_F(Heartbeat, TheVersionCheckOffersOnlyANewerVersion) {
    FakeService service;
    struct C { const char* reply; bool offered; bool stamped; };
    const C cases[] = {
        {"3.44", true, true},
        {"3.5", true, true},
        {"3.43", false, true},
        {"3.4", false, true},
        {"9xyz", false, true},   // no number
        {"12345", false, true},  // longer than a version
        {"3.431", false, true},
        {"", false, false},      // asked again at the next start
    };
    for (const C& c : cases) {
        startAgainWithUpdateServer(service, c.reply);
        later.calls.clear();
        QFile::remove(QString::fromStdString(data.path("OperationLog.txt")));
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        load({{"Options", UpdateServer::kServerKey, kUpdateServer}});
        tick(120);
        settleRequests();
        ASSERT_EQ(service.requestCount(), 1u) << c.reply;
        EXPECT_EQ(service.lastRequest().target.rfind("/tl2update.php?q=A-3.43-", 0), 0u);
        EXPECT_EQ(service.lastRequest().header("User-Agent").rfind("A-3.43-", 0), 0u);
        EXPECT_EQ(later.count("MnuTitleUpdateFile_Click"), c.offered ? 1 : 0) << c.reply;
        EXPECT_EQ(TLMainState::VersionOverride, c.offered ? 1 : 0) << c.reply;
        EXPECT_EQ(TLMainState::UpdateVersionReply, c.reply);
        EXPECT_EQ(!modTLC::Get_Config_Value("Options", "VerChkTime").empty(), c.stamped) << c.reply;
        EXPECT_EQ(logged("Version Check"), c.stamped) << c.reply;
        modWinInet::Http_Request("http://update.tolvanererode.net/tl2update.php?q=next", "GET", "",
                                 modWinInet::kFlagReadBody);
        EXPECT_EQ(service.lastRequest().header("User-Agent"), modTLMain::kDefaultUserAgent) << c.reply;
    }
}

// Without an update server nothing is sent and the check is made again at the next start.
TEST_F(Heartbeat, NoUpdateServerNoVersionCheck) {
    FakeService service;
    service.useForClient();
    service.routePrefix("", "GET", "/tl2update.php", ScriptedResponse::ok("3.44"));
    load();
    tick(120);
    settleRequests();
    EXPECT_EQ(service.requestCount(), 0u);
    EXPECT_EQ(later.count("MnuTitleUpdateFile_Click"), 0);
    EXPECT_TRUE(modTLC::Get_Config_Value("Options", "VerChkTime").empty());
}

// An https server is asked over TLS, and only a certificate for its name counts; a plain http
// server is never asked.
TEST_F(Heartbeat, AnHttpsUpdateServerIsAskedOverCheckedTls) {
    FakeService service;
    struct C { const char* address; bool answered; };
    const C cases[] = {
        {"https://update.example.com/tl2update.php", true},
        {"https://update.tolvanererode.net/tl2update.php", false},  // not a name of the certificate
        {"http://update.example.com/tl2update.php", false},
    };
    for (const C& c : cases) {
        startAgainWithUpdateServer(service, "3.43");
        load({{"Options", UpdateServer::kServerKey, c.address}});
        tick(120);
        settleRequests();
        EXPECT_EQ(service.requestCount(), c.answered ? 1u : 0u) << c.address;
        if (c.answered) EXPECT_TRUE(service.lastRequest().https);
        EXPECT_EQ(!modTLC::Get_Config_Value("Options", "VerChkTime").empty(), c.answered) << c.address;
    }
}

// The sign-in and the version check are not made while a bid is near; they run at the first tick
// after.
TEST_F(Heartbeat, TheChecksWaitWhileABidIsNear) {
    FakeService service;
    service.useForClient();
    FakeSignIn::install(service, SignInAnswer::Refused);
    service.routePrefix("", "GET", "/tl2update.php", ScriptedResponse::ok("3.43"));
    UserState::CurrentUserID = "buyer1";
    struct C { const char* what; std::function<void()> near; std::function<void()> over; };
    const C cases[] = {
        {"one-minute warning", [] { TLMainState::MinuteWarningGiven = -1; }, [] { TLMainState::MinuteWarningGiven = 0; }},
        {"validating", [this] { item(1).BidStatus = "Validating Bid"; }, [this] { item(1).BidStatus = ""; }},
        {"armed, 3 minutes to its bid", [this] { item(1).BidTimeSecs = 10; }, [this] { item(1).BidTimeSecs = 0; }},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        service.useForClient();
        service.clearRequests();
        messages.clear();
        UserState::CurrentUserID = "buyer1";
        TLMain& w = load({{"Users", "buyer1", "secret"}, {"Options", "LastUser", "buyer1"},
                          {"Options", UpdateServer::kServerKey, kUpdateServer}});
        tick();
        w.ScanItems.setEnabled(false);  // the scheduler stays out of it
        addArmedItem("100", 10 + 170 + 200, 0, "");
        c.near();
        item(1).EndTime = TLMainItems::End_Time_Text(now().addSecs(10 + 170 + 119), false);
        tick(119);
        EXPECT_EQ(service.requestCount(), 0u) << c.what;
        tick(3);
        EXPECT_EQ(service.requestCount(), 0u) << c.what;
        c.over();
        tick();
        settleRequests();
        EXPECT_GE(service.requestCount(), 2u) << c.what;
        EXPECT_EQ(messages.size(), 1u) << c.what;
    }
}

TEST_F(Heartbeat, TheClockIsSetAtTheTwoMinuteTickAndTheUserModeOffsetIsTold) {
    struct C { const char* clockSet; long major; long elevation; long offset; int syncs; bool warned; };
    const C cases[] = {
        {"1", 0, 0, 0, 1, false},
        {"0", 0, 0, 0, 0, false},
        {"0", 6, 3, 61, 1, true},
        {"0", 6, 3, 60, 1, false},
        {"0", 6, 3, -300, 1, false},  // a PC clock ahead is not told
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        messages.clear();
        later.calls.clear();
        later.offsetAfterSync = c.offset;
        load({{"Options", "ClockSet", c.clockSet}, {"Options", "ChkUpdates", "0"}});
        modWinInfo::OSMajorVersion = c.major;
        modTLMain::TokenElevationType = c.elevation;
        tick(119);
        const int before = later.count("SetSysClock");
        tick();
        time.advanceMs(1);  // the warning comes after the tick
        EXPECT_EQ(later.count("SetSysClock") - before, c.syncs) << c.clockSet << " " << c.offset;
        EXPECT_EQ(messages.size(), c.warned ? 1u : 0u) << c.offset;
        if (c.warned) EXPECT_EQ(titles[0], "Vista/Windows 7 System Clock Setting");
    }
}

TEST_F(Heartbeat, TheTimeZoneCheck) {
    struct C { const char* last; long code; const char* stored; bool told; const char* firstLine; };
    const C cases[] = {
        {"", 1, "1", false, ""},  // the first look only stores the code
        {"1", 1, "1", false, ""},
        {"1", 2, "2", true, "Warning! A time zone change from Standard to \r\nDaylight Saving time has occurred."},
        {"2", 1, "1", true, "Warning! A time zone change from Daylight Saving to \r\nStandard time has occurred."},
        {"0", -1, "-1", true, "Warning! A time zone change from Standard to \r\nDaylight Saving time has occurred."},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        TLMain& w = load({{"Locale", "LastTZI", c.last}});
        w.DisplayTime.setEnabled(false);
        zoneCode = c.code;
        zoneQueries = 0;
        const qint64 start = time.clock.tickMs();
        w.Check_TZI();
        EXPECT_EQ(modTLC::Get_Config_Value("Locale", "LastTZI"), c.stored) << c.last << "->" << c.code;
        EXPECT_EQ(logged("Time Zone Change Detected - Updating All Items."), c.told) << c.last << "->" << c.code;
        EXPECT_EQ(logged("Time Zone Change Item Update Completed"), c.told) << "every item is read again";
        if (c.told) {
            EXPECT_EQ(zoneQueries, 2) << "the zone is read again before it is stored";
            EXPECT_GE(time.clock.tickMs() - start, 5000) << "the warning stays five seconds";
            EXPECT_EQ(Messages::Shared(), nullptr) << "and goes";
            EXPECT_EQ(TLMainState::TimeZoneShiftActive, 0);
        } else {
            EXPECT_EQ(time.clock.tickMs(), start);
        }
    }
}

TEST_F(Heartbeat, TheFirstTickAndEveryHourLookAtTheTimeZone) {
    load({{"Locale", "LastTZI", "1"}});
    zoneCode = 1;
    tick();
    EXPECT_EQ(zoneQueries, 1);
    tick(3598);
    EXPECT_EQ(zoneQueries, 1);
    tick();
    EXPECT_EQ(zoneQueries, 2);
}

TEST_F(Heartbeat, TheSleepRequestWaitsForResultsAndAsksAfterTheTick) {
    TLMain& w = loadQuiet();
    const int i = addItem("100", -60);
    item(i).BidStatus = "Bid Placed";  // its result is still to come
    TLMainState::SleepRequested = 1;
    w.DisplayTime_Timer();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(TLMainState::SleepRequested, 1);

    item(i).BidStatus = "Completed";
    TLMainBids::BidResultsMailQueue.push_back("100");
    w.DisplayTime_Timer();
    EXPECT_TRUE(messages.empty());
    TLMainBids::BidResultsMailQueue.clear();

    answers.push_back([](Messages& m) { m.clickButton(2); });
    const int ticks = TLMainState::StartupTickCount;
    w.DisplayTime_Timer();
    EXPECT_TRUE(messages.empty()) << "not inside the tick";
    EXPECT_EQ(TLMainState::StartupTickCount, ticks + 1) << "the tick goes on";
    time.advanceMs(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "No Pending Bids, Entering Standby/Hibernate Mode");
    EXPECT_EQ(TLMainState::SleepRequested, 0) << "the question takes the request";
    EXPECT_FALSE(w.SleepTimer.enabled()) << "Cancel";

    TLMainState::SleepRequested = 1;
    w.DisplayTime_Timer();  // OK
    time.advanceMs(1);
    EXPECT_TRUE(logged("Program Sleep Mode Activated - No Bids Pending"));
    EXPECT_TRUE(w.SleepTimer.enabled());
    time.advanceMs(2000);
    EXPECT_EQ(later.count("Enter_Sleep_Mode"), 1);
    EXPECT_FALSE(w.SleepTimer.enabled());
}

// An alarm of 5 minutes fires at the first tick with 299 seconds or fewer left, once.
TEST_F(Heartbeat, AnAlarmFiresOnceWithinItsMinutes) {
    modTLC::Set_Config_Value("Categories", "Default", "1");
    TLMain& w = loadQuiet({{"Options", "Sound", "1"}});
    const int i = addItem("100", 301);
    item(i).AlarmSetting = std::to_string(5 * 256 + 4);
    TLMainItems::Load_ItemGrid();
    w.hide();
    time.advanceMs(1000);
    w.DisplayTime_Timer();  // 300 s left
    EXPECT_EQ(item(i).AlarmSetting, "1284");
    EXPECT_EQ(TLMainState::AlarmFlashing, 0);
    time.advanceMs(1000);
    w.DisplayTime_Timer();  // 299 s left
    EXPECT_EQ(item(i).AlarmSetting, "1280");
    EXPECT_NE(TLMainState::AlarmFlashing, 0);
    EXPECT_TRUE(w.isVisible()) << "the window comes forward";
    EXPECT_EQ(later.count("Simulate_User_Activity"), 1);
    EXPECT_EQ(TLMainItems::SelectedRow, 1);
    // The row flashes ten times, with the alarm sound at each flash, then stays as it was.
    const long own = TLMainItems::AlarmHighlightColor;
    EXPECT_EQ(TLMainItems::ItemGrid().CellBackColor(1, 2), TLMainItems::ColorOutBid);
    int flashes = 0;
    for (int t = 0; t < 25; ++t) {
        player.played.clear();
        w.DisplayTime_Timer();
        flashes += static_cast<int>(player.played.size());
    }
    EXPECT_EQ(flashes, 9);
    EXPECT_EQ(TLMainState::AlarmFlashing, 0);
    EXPECT_EQ(TLMainItems::ItemGrid().CellBackColor(1, 2), own);
    EXPECT_EQ(later.count("Simulate_User_Activity"), 1) << "once";
}

TEST_F(Heartbeat, AlarmsWaitWhileABidIsAMinuteAwayOrADownloadRuns) {
    modTLC::Set_Config_Value("Categories", "Default", "1");
    TLMain& w = loadQuiet();
    const int i = addItem("100", 60);
    item(i).AlarmSetting = std::to_string(5 * 256 + 4);
    TLMainItems::Load_ItemGrid();
    TLMainState::DownloadBusy = -1;
    w.DisplayTime_Timer();
    TLMainState::DownloadBusy = 0;
    TLMainState::MinuteWarningGiven = -1;
    w.DisplayTime_Timer();
    EXPECT_EQ(item(i).AlarmSetting, "1284");
    TLMainState::MinuteWarningGiven = 0;
    w.DisplayTime_Timer();
    EXPECT_EQ(item(i).AlarmSetting, "1280");
}

TEST_F(Heartbeat, TheTimedRefreshCountsDownAndQueuesTheRefresh) {
    TLMain& w = loadQuiet();
    struct C { long countdown; const char* shown; };
    TLMainState::AutoUpdateMinutes = 90;
    const C cases[] = {{606, "10:05"}, {61, "01:00"}, {3661, "01:01"}, {3661, "01 01"}};  // the separator blinks
    for (const C& c : cases) {
        TLMainState::AutoUpdateCountdown = c.countdown;
        w.DisplayTime_Timer();
        EXPECT_EQ(w.TimeToUpdateLab->text().toStdString(), c.shown) << c.countdown;
    }
    TLMainState::AutoUpdateCountdown = 1;
    w.DisplayTime_Timer();
    EXPECT_EQ(TLMainState::AutoUpdateDue, 0);
    w.DisplayTime_Timer();
    EXPECT_EQ(TLMainState::AutoUpdateDue, -1);
    // Held while a bid is a minute away.
    TLMainState::AutoUpdateDue = 0;
    TLMainState::AutoUpdateCountdown = 100;
    TLMainState::MinuteWarningGiven = -1;
    w.DisplayTime_Timer();
    EXPECT_EQ(TLMainState::AutoUpdateCountdown, 100);
}

// The time-left column shows the running time; only cells whose text changes are written.
TEST_F(Heartbeat, TheTimeLeftColumnFollowsTheClock) {
    addItem("100", 2 * 86400 + 3 * 3600 + 30);
    addItem("200", 65 * 60 + 30);
    addItem("300", 150);
    TLMainItems::Save_Auction_Items();
    load({{"Categories", "Default", "1"}});
    tick();
    EXPECT_EQ(cell(1, 6), TLMainItems::Get_Remaining_Time(1));
    EXPECT_EQ(cell(2, 6), " 1 Hour  5 Mins");
    EXPECT_EQ(cell(3, 6), " 2 Mins  29 Secs");
    int changes = 0;
    QObject::connect(&TLMainItems::ItemGrid(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
    tick();
    EXPECT_EQ(cell(3, 6), " 2 Mins  28 Secs");
    EXPECT_EQ(changes, 1) << "only the seconds of the last item changed";
    tick(150);
    EXPECT_EQ(cell(3, 6), "Closed");
}

// The time left counts to the end the last refresh brought; a row whose time is up says "Final
// Closing" once its item's result mark is set, also where the refresh of the selected item sets
// the mark after it has filled the row.
TEST_F(Heartbeat, TheTimeLeftColumnFollowsWhatTheRefreshesBring) {
    FakeService service;
    service.useForClient();
    addItem("300", 150);
    addItem("400", 20);
    TLMainItems::Save_Auction_Items();
    TLMain& w = load({{"Categories", "Default", "1"}});
    const std::string host = modTLMain::National_Site(0)->itemHost;
    ItemPages later(service, host, "300"), ended(service, host, "400");
    ItemPageContent page;
    page.itemNumber = "300";
    page.endDate = "Jun 03, 2026";
    later.setItemPage(itemPageHtml(page));
    page.itemNumber = "400";
    page.endDate = "May 31, 2026";
    ended.setItemPage(itemPageHtml(page));
    tick(30);
    EXPECT_EQ(cell(1, 6), " 2 Mins  0 Secs");
    EXPECT_EQ(cell(2, 6), "Closed");

    TLMainItems::ItemGrid().setRow(2);
    w.Toolbar1_ButtonClick("UpdateItem");
    ASSERT_EQ(item(2).ResultDone, "1");
    tick();
    EXPECT_EQ(cell(2, 6), "Final Closing");

    TLMainState::ManualUpdateRequest = -1;
    TLMainBids::File_Request("DoUpdateItems");
    TLMainBids::RequestHandler_Timer();
    tick();
    ASSERT_EQ(TLMainItems::Read_End_Time(item(1).EndTime)->date(), QDate(2026, 6, 3));
    EXPECT_EQ(cell(1, 6), TLMainItems::Get_Remaining_Time(1));
    EXPECT_NE(cell(1, 6).find("Day"), std::string::npos) << cell(1, 6);
}

TEST_F(Heartbeat, ATickDueInsideALongStepIsDropped) {
    TLMain& w = loadQuiet({{"Locale", "LastTZI", "1"}});
    TLMainState::HourTickCount = 3599;  // this tick looks at the time zone
    zoneCode = 2;                        // which has changed: every item's end is read again
    int nestedTicks = -1;
    TLMainServices::setTimeZoneQueryForTests([&] {
        if (++zoneQueries == 2) {
            const int before = TLMainState::StartupTickCount;
            w.DisplayTime_Timer();  // the next tick falls due while the change is dealt with
            nestedTicks = TLMainState::StartupTickCount - before;
        }
        return zoneCode;
    });
    const int before = TLMainState::StartupTickCount;
    w.DisplayTime_Timer();
    EXPECT_EQ(nestedTicks, 0);
    EXPECT_EQ(TLMainState::StartupTickCount, before + 1);
    EXPECT_FALSE(w.tickRunning());
}

// --- The clipboard watch ---

TEST_F(Heartbeat, TheBrowsersHandOverIsTakenAndMayMinimiseTheWindow) {
    struct C { const char* text; bool minimised; };
    for (const C& c : {C{"TLAUCDOC-M<html>page</html>", true}, C{"TLAUCDOC-N<html>page</html>", false}}) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        TLMain& w = loadQuiet();
        w.show();
        clipboard.userCopies(c.text);
        w.DisplayTime_Timer();
        EXPECT_EQ(clipboard.text(), "") << c.text;
        EXPECT_EQ(TLMainState::MainWindowState == 1, c.minimised) << c.text;
        EXPECT_EQ(w.isHidden(), c.minimised) << c.text << ": minimised to the tray";
    }
}

TEST_F(Heartbeat, AHandOverWaitsWhileADownloadOrABidRequestRuns) {
    TLMain& w = loadQuiet();
    const std::string text = "TLAUCDOC-N<html>page</html>";
    struct C { const char* what; std::function<void()> busy; std::function<void()> over; };
    const C cases[] = {
        {"download", [] { TLMainState::DownloadBusy = -1; }, [] { TLMainState::DownloadBusy = 0; }},
        {"refresh", [] { TLMainState::UpdateBusy = -1; }, [] { TLMainState::UpdateBusy = 0; }},
        {"placing", [this] { addItem("100", 5); item(TLMainItems::ItemCount).BidStatus = "Placing Bid"; },
         [this] { item(TLMainItems::ItemCount).BidStatus = "Bid Placed"; }},
    };
    for (const C& c : cases) {
        clipboard.userCopies(text);
        c.busy();
        w.DisplayTime_Timer();
        w.DisplayTime_Timer();
        EXPECT_EQ(clipboard.text(), text) << c.what << ": it waits on the clipboard";
        c.over();
        w.DisplayTime_Timer();
        EXPECT_EQ(clipboard.text(), "") << c.what;
    }
}

TEST_F(Heartbeat, AnOversizeHandOverIsClearedAndLogged) {
    TLMain& w = loadQuiet();
    clipboard.userCopies("TLAUCDOC-N" + std::string((16u << 20) + 1, 'x'));
    w.DisplayTime_Timer();
    EXPECT_EQ(clipboard.text(), "");
    EXPECT_NE(opLog().find("Item Hand-Over Cleared - Over 16 MB"), std::string::npos);
}

TEST_F(Heartbeat, AGroupHandOverIsOnlyCleared) {
    TLMain& w = loadQuiet({{"Options", "AutoAdd", "1"}});
    clipboard.userCopies("TLADDGRP123456789012");
    w.DisplayTime_Timer();
    EXPECT_EQ(clipboard.text(), "");
    EXPECT_EQ(w.itemNumberText(), "");
    EXPECT_EQ(TLMainState::AddPending, 0);
}

TEST_F(Heartbeat, CopiedItemNumbersAreAddedByTheAutomaticAddsRule) {
    struct C { const char* noChar; const char* text; const char* taken; };
    const C cases[] = {
        {"0", "Look at item 123456789012 today", "123456789012"},
        {"0", "12345", nullptr},  // shorter than the minimum: tested whole, fails the length
        {"0", "item 12345678901 and 222222222222", "12345678901"},  // the first run only
        {"0", "item 1234567890123 here", nullptr},  // the run is too long
        {"1", "123456789012", "123456789012"},
        {"1", "  123456789012  ", "123456789012"},
        {"1", "12345678901A", nullptr},
        {"1", "FEEDBACK 123456789012", nullptr},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        TLMain& w = loadQuiet({{"Options", "AutoAdd", "1"}, {"Options", "AutoAddNoChar", c.noChar}});
        clipboard.userCopies(c.text);
        w.DisplayTime_Timer();
        if (c.taken) {
            EXPECT_EQ(w.itemNumberText(), c.taken) << c.text;
            EXPECT_EQ(clipboard.text(), "") << c.text;
            EXPECT_EQ(TLMainState::AddPending, -1) << c.text;
        } else {
            EXPECT_EQ(w.itemNumberText(), "") << c.text;
            EXPECT_EQ(clipboard.text(), c.text) << c.text << ": left on the clipboard";
            EXPECT_EQ(TLMainState::AddPending, 0) << c.text;
        }
    }
}

TEST_F(Heartbeat, ACopiedNumberIsNotAddedWhileABidIsAMinuteAway) {
    TLMain& w = loadQuiet({{"Options", "AutoAdd", "1"}, {"Options", "Sound", "1"}});
    TLMainState::MinuteWarningGiven = -1;
    clipboard.userCopies("123456789012");
    w.DisplayTime_Timer();
    EXPECT_EQ(w.itemNumberText(), "123456789012");
    EXPECT_EQ(clipboard.text(), "");
    EXPECT_EQ(TLMainState::AddPending, 0);
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_NE(player.played[0].find("AddItem.wav"), std::string::npos);
    EXPECT_NE(player.played[1].find("Alert.wav"), std::string::npos);
}

TEST_F(Heartbeat, TheAutomaticAddWaitsForADownloadAndIsOffByDefault) {
    TLMain& w = loadQuiet();
    clipboard.userCopies("123456789012");
    w.DisplayTime_Timer();
    EXPECT_EQ(clipboard.text(), "123456789012") << "auto add is off";
    TLMainState::AutoAddOn = -1;
    clipboard.userCopies("123456789013");
    TLMainState::DownloadBusy = -1;
    w.DisplayTime_Timer();
    EXPECT_EQ(clipboard.text(), "123456789013");
    TLMainState::DownloadBusy = 0;
    w.DisplayTime_Timer();
    EXPECT_EQ(w.itemNumberText(), "123456789013");
}

}  // namespace
