// The main window's start and end: the command line, what the load sets up and in which order
// the heartbeat takes over, the first tick's start-up duties (the update's outcome, start
// minimised), and the close request (tray, busy refusal, the pending-bids question, the unload).
#include <QDir>
#include <QFile>

#include <QScreen>

#include "fake_service.h"
#include "foundation/bid_engine_state.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/update_server.h"
#include "options/login_form.h"
#include "tl_main_fixture.h"

using namespace testsupport;

namespace {

class Lifecycle : public TLMainTest {};

TEST_F(Lifecycle, KeepsTheCommandLineAndAFailedUpdatesSteps) {
    struct C { std::vector<std::string> args; const char* kept; const char* updateError; };
    const C cases[] = {
        {{"-UE-ZD"}, "-UE-ZD", "ZD"},
        {{"-UE-"}, "-UE-", ""},
        {{"/MINIMIZED"}, "/MINIMIZED", nullptr},  // left for the first tick
        {{"/minimized", "-x"}, "/minimized -x", nullptr},
        {{}, "", nullptr},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        arguments = c.args;
        load();
        EXPECT_EQ(TLMainState::CommandLineText, c.kept);
        if (c.updateError)
            EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateError", "(none)"), c.updateError) << c.kept;
        else
            EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateError", "(none)"), "(none)") << c.kept;
    }
}

TEST_F(Lifecycle, TheLoadSetsItsValuesAndEnablesTheHeartbeatLast) {
    TLMain& w = load({{"Options", "Refresh", nullptr},
                      {"Options", "HoverTime", "4"},
                      {"Options", "PhotosOn", "0"},
                      {"Options", "AutoAdd", "True"},
                      {"Options", "AutoAddMin", "14"},
                      {"Options", "AutoAddMax", "9"},
                      {"Options", "AutoRun", "1"},
                      {"Options", "UpdateOnStart", "1"},
                      {"Options", "AutoDialType", "2"},
                      {"Locale", "HomeTitle", "Home of the site"}});
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "Refresh"), "60");
    EXPECT_EQ(TLMainState::HoverDelayTicks, 5);
    EXPECT_EQ(TLMainState::PhotoPopupOn, 0);
    EXPECT_EQ(w.photosCaption(), "Photos On");
    EXPECT_EQ(TLMainState::AutoAddOn, -1);
    EXPECT_EQ(TLMainState::AutoAddMinLength, 9);
    EXPECT_EQ(TLMainState::AutoAddMaxLength, 14);
    EXPECT_FALSE(w.menuAction("MnuAutoRunOpt0")->isChecked());
    EXPECT_TRUE(w.menuAction("MnuAutoRunOpt1")->isChecked());
    EXPECT_EQ(TLMainState::AutoUpdateDue, -1);
    EXPECT_FALSE(w.menuAction("MnuSubConnect")->isEnabled());
    EXPECT_EQ(w.toolbarButtonTip(4), "Update All Auction Items");
    EXPECT_EQ(w.toolbarButtonTip(7), "Home of the site");
    EXPECT_EQ(w.statusText(), "Tolvane Rerode II Version 3.43");
    EXPECT_EQ(TLMainState::FirstTickPending, -1);
    EXPECT_TRUE(w.DisplayTime.enabled());
    EXPECT_EQ(w.DisplayTime.interval(), 1000);
    EXPECT_FALSE(w.ScanItems.enabled()) << "the first tick starts the scheduler";
    EXPECT_TRUE(w.MouseTimer.enabled());
}

// The last user comes back; one behind the login gate types the password before the load goes on.
TEST_F(Lifecycle, TheLastUserAndTheLoginGate) {
    struct C { const char* gate; bool asked; };
    for (const C& c : {C{"1", true}, C{"0", false}}) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        int shown = 0;
        Login::SetShowHookForTests([&shown](Login& dialog) {
            ++shown;
            dialog.chooseUser("buyer2");
            dialog.typePassword("pw2");
            dialog.LoginCmd_Click();
        });
        load({{"Users", "buyer1", "pw1"}, {"Users", "buyer2", "pw2"}, {"LogIn", "buyer1", c.gate},
              {"LogIn", "buyer2", "1"}, {"Options", "LastUser", "buyer1"}});
        Login::SetShowHookForTests({});
        EXPECT_EQ(shown, c.asked ? 1 : 0) << c.gate;
        EXPECT_EQ(UserState::CurrentUserID, c.asked ? "buyer2" : "buyer1") << c.gate;
        EXPECT_TRUE(TLMain::instance().DisplayTime.enabled()) << "the load went on";
    }
}

TEST_F(Lifecycle, ANonEmptyRefreshPresetIsLeftAlone) {
    load({{"Options", "Refresh", "15"}});
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "Refresh"), "15");
}

TEST_F(Lifecycle, TheTimedRefreshStartsWithTheLoadWhenAsked) {
    struct C { const char* start; const char* refresh; long minutes; long countdown; };
    const C cases[] = {{"1", "30", 30, 1800}, {"0", "30", 0, 0}, {"1", "0", 0, 0}};
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        load({{"Options", "AutoUpdateStart", c.start}, {"Options", "Refresh", c.refresh}});
        EXPECT_EQ(TLMainState::AutoUpdateMinutes, c.minutes) << c.start << "/" << c.refresh;
        EXPECT_EQ(TLMainState::AutoUpdateCountdown, c.countdown) << c.start << "/" << c.refresh;
    }
}

TEST_F(Lifecycle, ASavedPlaceOffTheScreenGivesWayToTheCentredOne) {
    TLMain& w = load({{"Options", "NormalWidth", "6000"},
                      {"Options", "NormalHeight", "4500"},
                      {"Options", "NormalTop", "-300"},
                      {"Options", "NormalLeft", "999999"}});
    EXPECT_EQ(w.width(), 400);
    EXPECT_EQ(w.height(), 300);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w.pos(), QPoint((screen.width() * 15 / 2 - 3000) / 15, (screen.height() * 15 / 2 - 2250) / 15));
}

// Stored placement values that cannot place a window give way to the default placement, and the
// window comes up where the user sees it.
TEST_F(Lifecycle, APlacementThatCannotBeShownGivesWayToTheDefault) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const char* bad : {"0", "1e308", "", "abc", "-1e308", "1"}) {
        SCOPED_TRACE(bad);
        reset();
        modTLMain::DataFolder = data.dataFolder();
        TLMain& w = load({{"Options", "NormalWidth", bad},
                          {"Options", "NormalHeight", bad},
                          {"Options", "NormalTop", bad},
                          {"Options", "NormalLeft", bad},
                          {"Options", "WindowState", bad}});
        w.show();
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(w.width(), 800);
        EXPECT_EQ(w.height(), 466);
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());
        EXPECT_TRUE(screen.contains(w.frameGeometry().topLeft()));
    }
}

// Without a saved size the window is as wide as every default item column beside a description
// column needs in the grid's font, as far as the screen has room.
TEST_F(Lifecycle, TheDefaultWidthShowsEveryDefaultColumn) {
    TLMain& w = load();
    w.show();
    const long wide = TLMainLayout::Default_Window_Width(1600 * 15);
    w.resize(static_cast<int>(wide / 15), 466);
    QCoreApplication::sendPostedEvents();
    w.ResizeWindow();
    int columns = 0;
    for (int c = 0; c < 10; ++c) {
        EXPECT_FALSE(w.ItemGrid->isColumnHidden(c)) << c;
        columns += w.ItemGrid->columnWidth(c);
    }
    EXPECT_LE(columns, w.ItemGrid->viewport()->width());
    EXPECT_GE(w.ItemGrid->columnWidth(2), w.ItemGrid->columnWidth(1)) << "the description has room";
    EXPECT_EQ(TLMainLayout::Default_Window_Width(10000), 12000) << "never narrower than before";
    EXPECT_EQ(TLMainLayout::Default_Window_Width(wide + 3000), wide) << "no wider than the columns need";
}

// The size saved is the one the load gives back: a window keeps its size from start to start.
TEST_F(Lifecycle, TheSavedSizeComesBackAsItWas) {
    TLMain& w = load({{"Options", "NormalWidth", "6000"}, {"Options", "NormalHeight", "4500"}});
    w.show();
    w.WPS();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalWidth"), "6000");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalHeight"), "4500");
}

TEST_F(Lifecycle, TheFirstTickStartsTheSchedulerAndLogsTheStart) {
    modWinInfo::WindowsVersionText = "Debian GNU/Linux 12 (bookworm)";
    modTLMain::TimeZoneName = "Coordinated Universal Time";
    TLMain& w = load();
    tick();
    EXPECT_TRUE(w.ScanItems.enabled());
    EXPECT_EQ(TLMainState::FirstTickPending, 0);
    EXPECT_TRUE(logged("Program Started - 3.43 - Debian GNU/Linux 12 (bookworm) - Coordinated Universal Time"));
    EXPECT_EQ(later.count("Set_Next_Bid_Wakeup"), 1);
    EXPECT_EQ(later.count("BackupFiles S"), 1) << "no backup yet: the daily backup runs";
    EXPECT_FALSE(modTLC::Get_Config_Value("Options", "BkupChkTime").empty());
    tick(3);
    EXPECT_EQ(later.count("BackupFiles S"), 1);
    EXPECT_EQ(later.count("Set_Next_Bid_Wakeup"), 1);
}

TEST_F(Lifecycle, StartedMinimisedTheWindowGoesToTheTray) {
    struct C { std::vector<std::string> args; bool trayAvailable; bool minimised; bool hidden; };
    const C cases[] = {
        {{"/MINIMIZED"}, true, true, true},
        {{"/minimized"}, true, true, true},
        {{"/MINIMIZED"}, false, true, false},  // without a tray the window stays reachable
        {{}, true, false, false},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        arguments = c.args;
        tray.trayAvailable = c.trayAvailable;
        TLMain& w = load();
        w.show();
        tick();
        const std::string label = (c.args.empty() ? "(none)" : c.args[0]) + (c.trayAvailable ? " tray" : " no tray");
        EXPECT_EQ(TLMainState::MainWindowState == 1, c.minimised) << label;
        EXPECT_EQ(w.isMinimized(), c.minimised && !c.hidden) << "in the tray the window is withdrawn, not iconified";
        EXPECT_EQ(!w.isVisible(), c.hidden) << label;
        EXPECT_EQ(TLMainState::CommandLineText, "") << label;
    }
}

// The update handed to the updater at the last run: the report to the update server, the log
// line and the box.
TEST_F(Lifecycle, TheUpdatesOutcomeIsReportedLoggedAndTold) {
    FakeService service;
    service.useForClient();
    service.routePrefix("", "GET", "/tl2update.php", ScriptedResponse::ok(""));
    struct C {
        const char* version; const char* error;
        const char* report; const char* logLine; const char* title; int style; int answer; bool opened;
    };
    const C cases[] = {
        {"3.43", "", "UO-NE-3.43-", "Update Completed! Current version is 3.43", "Update Completed", 4164,
         platform::vbYes, true},
        {"3.43", "ZD", "UO-ZD-3.43-", "Update Completed! Current version is 3.43", "Update Completed", 4164,
         platform::vbNo, false},
        {"3.44", "ZD", "UF-ZD-3.43-", "Update Failed! Current version is 3.43, expected version 3.44",
         "Update Failed", 4160, platform::vbOK, false},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        service.useForClient();
        service.clearRequests();
        boxes.clear();
        desktop.opened.clear();
        data.write(TLMainServices::kDownloadedUpdateFile, "new program");
        boxes.answer(c.answer);
        load({{"Options", "UpdateStatus", "1"}, {"Options", "UpdateVersion", c.version},
              {"Options", "UpdateError", c.error}, {"Options", UpdateServer::kServerKey, kUpdateServer}});
        tick();
        settleRequests();
        time.advanceMs(1);  // the box comes after the tick
        ASSERT_EQ(service.requestCount(), 1u) << c.report;
        EXPECT_EQ(service.lastRequest().header("User-Agent").rfind(c.report, 0), 0u)
            << "the report is its request's user agent";
        EXPECT_EQ(service.lastRequest().target.rfind(std::string("/tl2update.php?q=") + c.report, 0), 0u)
            << service.lastRequest().target;
        EXPECT_TRUE(opLog().find(std::string(" - ") + c.logLine + "\r\n") != std::string::npos) << c.report;
        ASSERT_EQ(boxes.shown().size(), 1u) << c.report;
        EXPECT_EQ(boxes.shown()[0].title, c.title);
        EXPECT_EQ(boxes.shown()[0].style, c.style);
        EXPECT_EQ(boxes.shown()[0].text.rfind(std::string(c.logLine) + "\r\n", 0), 0u);
        EXPECT_EQ(desktop.opened, c.opened ? std::vector<std::string>{data.path("UpdateInfo.txt")}
                                           : std::vector<std::string>{});
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "UpdateStatus"), "0");
        EXPECT_FALSE(data.exists(TLMainServices::kDownloadedUpdateFile));
    }
}

TEST_F(Lifecycle, NoUpdateHandedOverMeansNoReport) {
    FakeService service;
    service.useForClient();
    load();
    tick(2);
    EXPECT_EQ(service.requestCount(), 0u);
    EXPECT_TRUE(boxes.shown().empty());
}

// --- The close request ---

TEST_F(Lifecycle, TheTitleBarsCloseGoesToTheTrayWithoutAQuestion) {
    TLMain& w = load({{"Options", "BidsPendWarning", "1"}});
    addArmedItem("100", 3600, 10, "");
    w.show();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isHidden()) << "in the tray";
    EXPECT_EQ(TLMainState::MainWindowState, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(logged("Program Ended"));
}

TEST_F(Lifecycle, ACloseWhileADownloadRunsIsRefusedSilently) {
    TLMain& w = load({{"Options", "ClosetoTray", "0"}});
    w.show();
    TLMainState::DownloadBusy = -1;
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(logged("Program Ended"));
    TLMainState::DownloadBusy = 0;
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(logged("Program Ended"));
}

// Every armed bid not yet sent is asked about, whatever stage it reached; one whose placing is out
// has gone, and is not.
TEST_F(Lifecycle, ThePendingBidsQuestionCountsEveryArmedBidNotYetSent) {
    struct C { const char* status; long secs; long bidSecs; bool asked; };
    const C cases[] = {
        {"", 3600, 10, true},
        {"OutBid", 3600, 10, true},
        {"BidPending", 50, 10, true},
        {"Validating Bid", 30, 10, true},
        {"Bid Validated", 20, 10, true},
        {"Placing Bid", 9, 10, false},
        {"Bid Placed", 5, 10, false},
        {"Completed", -60, 10, false},
        {"", -60, 10, false},   // ended unbid
        {"", 3600, 0, false},   // not armed
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        messages.clear();
        TLMain& w = load({{"Options", "ClosetoTray", "0"}, {"Options", "BidsPendWarning", "1"}});
        addArmedItem("100", c.secs, c.bidSecs, c.status);
        answers.push_back([](Messages& m) { m.clickButton(2); });
        EXPECT_EQ(w.Form_QueryUnload(0), c.asked) << c.status << " " << c.secs;
        EXPECT_EQ(messages.size(), c.asked ? 1u : 0u) << c.status << " " << c.secs;
        answers.clear();
    }
}

TEST_F(Lifecycle, TheQuestionsAnswersAndItsCheckBox) {
    struct C { int button; bool check; bool cancelled; const char* warning; };
    const C cases[] = {
        {2, true, true, "0"},   // No with "Turn This Warning Off": the warning goes, the close is cancelled
        {2, false, true, "1"},
        {1, true, false, "0"},
        {1, false, false, "1"},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        messages.clear();
        TLMain& w = load({{"Options", "ClosetoTray", "0"}, {"Options", "BidsPendWarning", "1"}});
        addArmedItem("100", 3600, 10, "BidPending");
        answers.push_back([c](Messages& m) {
            if (c.check) m.clickCheck();
            m.clickButton(c.button);
        });
        EXPECT_EQ(w.Form_QueryUnload(0), c.cancelled);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0],
                  "You have pending bid(s), if you exit the program now\r\nthese bids will not be placed. Do you "
                  "still wish to exit?");
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "BidsPendWarning"), c.warning);
    }
}

TEST_F(Lifecycle, NoQuestionWithoutTheWarningOrOnAForcedExit) {
    struct C { const char* warning; bool forced; };
    for (const C& c : {C{"0", false}, C{"1", true}}) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        messages.clear();
        TLMain& w = load({{"Options", "ClosetoTray", "0"}, {"Options", "BidsPendWarning", c.warning}});
        addArmedItem("100", 3600, 10, "");
        TLMainState::ForceExit = c.forced;
        EXPECT_FALSE(w.Form_QueryUnload(0));
        EXPECT_TRUE(messages.empty());
    }
}

// The Exit command is no title-bar close: the tray is not offered, the question is asked.
TEST_F(Lifecycle, TheExitCommandAsksAndEndsTheProgram) {
    TLMain& w = load({{"Options", "BidsPendWarning", "1"}});
    addArmedItem("100", 3600, 10, "");
    w.show();
    answers.push_back([](Messages& m) { m.clickButton(2); });
    w.clickMenu("MnuExit");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(logged("Program Ended"));
    answers.push_back([](Messages& m) { m.clickButton(1); });
    w.clickMenu("MnuExit");
    EXPECT_TRUE(logged("Program Ended"));
}

TEST_F(Lifecycle, TheUnloadSavesTheConfigurationAndGivesEverythingBack) {
    TLMain& w = load();
    tick();
    ASSERT_TRUE(w.ScanItems.enabled());
    modTLC::Set_Config_Value("Options", "Sound", "1");
    ASSERT_EQ(modTLC::ConfigDirty, 1);
    w.Form_Unload();
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    EXPECT_FALSE(w.DisplayTime.enabled());
    EXPECT_FALSE(w.ScanItems.enabled());
    EXPECT_EQ(tray.calls.back(), "remove");
    EXPECT_FALSE(modPwrCtrl::Window_SubClassed());
    const std::string log = opLog();
    EXPECT_EQ(log.substr(log.rfind(" - ")), " - Program Ended\r\n");
    EXPECT_EQ(TLMainLink::window().widget(), nullptr);
    tick(3);  // nothing runs any more
    EXPECT_EQ(opLog(), log);
}

}  // namespace
