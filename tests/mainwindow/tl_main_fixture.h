// tl_main_fixture.h — the main window's tests' ground: a throw-away data folder, the fake clock
// (1 June 2026 12:00), tray, system notices, clipboard, desktop, browser openers and sound player;
// scripted message boxes and message-window answers; recording stand-ins for the duties of the
// later parts (power, account tools, maintenance, screen saver, clock synchronisation); a scripted
// command line and time zone; every shared value back to its start around each test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "bidding/bid_email.h"
#include "bidding/bid_engine_links.h"
#include "bidding/bid_scheduler.h"
#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_desktop_files.h"
#include "fake_system_notices.h"
#include "fake_tray.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/options_state.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/user_state.h"
#include "foundation/window_subclass.h"
#include "items/auction_item.h"
#include "items/bid_history_view.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_photo.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/sort_commands.h"
#include "items/test_items.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_services.h"
#include "platform/locale_info.h"
#include "recording_browser_openers.h"
#include "recording_sound_player.h"
#include "scripted_boxes.h"
#include "service/national_sites.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace testsupport {

// What the later parts were asked to do, in order ("BackupFiles S", "MnuTitleUpdateFile_Click", ...).
struct RecordingLaterParts final : TLMainServices::PowerAndDial,
                                   TLMainServices::AccountTools,
                                   TLMainServices::Maintenance,
                                   TLMainServices::ScreenActivity,
                                   TLMainBids::ClockSync,
                                   TLMainBids::PowerControl {
    RecordingLaterParts() { take(this); }
    ~RecordingLaterParts() override { take(nullptr); }
    static void take(RecordingLaterParts* r) {
        TLMainServices::setService<TLMainServices::PowerAndDial>(r);
        TLMainServices::setService<TLMainServices::AccountTools>(r);
        TLMainServices::setService<TLMainServices::Maintenance>(r);
        TLMainServices::setService<TLMainServices::ScreenActivity>(r);
        TLMainBids::setBidLink<TLMainBids::ClockSync>(r);
        TLMainBids::setBidLink<TLMainBids::PowerControl>(r);
    }
    void Check_Wakeup_Timer() override { calls.push_back("Check_Wakeup_Timer"); }
    void Enter_Sleep_Mode() override { calls.push_back("Enter_Sleep_Mode"); }
    void MnuSubConnect_Click() override { calls.push_back("MnuSubConnect_Click"); }
    void MnuSubHangup_Click() override { calls.push_back("MnuSubHangup_Click"); }
    void Get_Feedback_To_Leave() override { calls.push_back("Get_Feedback_To_Leave"); }
    void MyeBayView() override { calls.push_back("MyeBayView"); }
    void MyeBayFunction(int Kind) override { calls.push_back("MyeBayFunction " + std::to_string(Kind)); }
    bool Analysis_Of_Handed_Over_Item() const override { return handedOverAnalysis; }
    void Show_Item_Feedback() override { calls.push_back("Show_Item_Feedback"); }
    void Feedback_Analyzer() override { calls.push_back("Feedback_Analyzer"); }
    void BackupFiles(const std::string& Mode) override { calls.push_back("BackupFiles " + Mode); }
    void MnuTitleUpdateFile_Click() override { calls.push_back("MnuTitleUpdateFile_Click"); }
    void Report_Problem() override { calls.push_back("Report_Problem"); }
    void Contact_Us() override { calls.push_back("Contact_Us"); }
    void Menu_Command(const std::string& Name) override { calls.push_back(Name); }
    void Simulate_User_Activity() override { calls.push_back("Simulate_User_Activity"); }
    void SetSysClock(std::function<void()> done) override {
        calls.push_back("SetSysClock");
        modClock::ClockOffsetMs = offsetAfterSync * 1000LL;
        if (done) done();
    }
    void Set_Next_Bid_Wakeup() override { calls.push_back("Set_Next_Bid_Wakeup"); }

    int count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
    std::vector<std::string> calls;
    bool handedOverAnalysis = false;
    long offsetAfterSync = 0;
};

class TLMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        TLMainServices::setCommandLineForTests(&arguments);
        TLMainServices::setTimeZoneQueryForTests([this] {
            ++zoneQueries;
            return zoneCode;
        });
        Messages::SetAnswerHookForTests([this](Messages& m) {
            messages.push_back(m.messageText());
            titles.push_back(m.titleText());
            auto answer = answers.empty() ? std::function<void(Messages&)>([](Messages& w) { w.clickButton(1); })
                                          : answers.front();
            if (!answers.empty()) answers.pop_front();
            answer(m);
        });
    }
    void TearDown() override {
        TLMain::unloadForTests();
        Messages::SetAnswerHookForTests({});
        TLMainServices::setCommandLineForTests(nullptr);
        TLMainServices::setTimeZoneQueryForTests({});
        reset();
    }
    static void reset() {
        TLMain::unloadForTests();
        Messages::UnloadShared();
        modTLMain::ResetStartupForTests();
        modTLMain::ResetLocaleDatesForTests();
        modTLMain::ResetNationalSitesForTests();
        modWinInfo::ResetForTests();
        modTLC::ResetForTests();
        modDebug::ResetForTests();
        modPwrCtrl::ResetForTests();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        TLMainState::ResetMainWindowStateForTests();
        TLMainState::ResetOptionsStateForTests();
        TLMainState::PlacementSaveCountdown = 0;
        TLMainBids::ResetBidEngineForTests();
        TLMainBids::ResetBidEmailForTests();
        TLMainItems::ResetItemStoreForTests();
        TLMainItems::ResetItemGridForTests();
        TLMainItems::ResetItemPhotoForTests();
        TLMainItems::ResetCategoriesForTests();
        TLMainItems::ResetBidHistoryForTests();
        TLMainItems::ResetSortCommandsForTests();
        TLMainBrowser::ResetForTests();
        UserState::ResetForTests();
        modClock::ClockOffsetMs = 0;
        modClock::WakeupArmed = 0;
        modTLMain::SiteDayWord = "Day";
        TLMainItems::RemainingSecs = 0;
        TLMainItems::RemainingKnown = false;
    }

    // The settings ({section, key, value}) and the main window loaded over them.
    struct Setting {
        const char* section;
        const char* key;
        const char* value;
    };
    TLMain& load(std::initializer_list<Setting> settings = {}) {
        for (const Setting& s : settings)
            if (s.value) modTLC::Set_Config_Value(s.section, s.key, s.value);
        TLMain& w = TLMain::instance();
        w.Form_Load();
        return w;
    }
    // Loaded and past its first tick, with the scheduler and the hover timer held still so that a
    // test drives the heartbeat tick by tick.
    TLMain& loadQuiet(std::initializer_list<Setting> settings = {}) {
        TLMain& w = load(settings);
        w.DisplayTime.setEnabled(false);
        w.MouseTimer.setEnabled(false);
        w.DisplayTime_Timer();
        w.ScanItems.setEnabled(false);
        return w;
    }
    void tick(int n = 1) { time.advanceMs(1000L * n); }
    // Lets the started requests end and their continuations run (the clock moves meanwhile).
    static void settleRequests() {
        platform::timers().waitUntil([] { return modWinInet::Requests_In_Flight() == 0; }, 10000);
        platform::timers().doEvents();
    }
    // The update server's address the tests give the program (the fake service answers every host;
    // its certificate names *.example.com).
    static constexpr const char* kUpdateServer = "https://update.example.com/tl2update.php";

    QDateTime now() const { return time.clock.now(); }
    // Appends an item of "buyer1" in category "Default" that ends `secs` from now; its index.
    int addItem(const std::string& number, long secs) {
        TLMainItems::AuctionItem item;
        item.ItemNumber = number;
        item.Title = "Item " + number;
        item.EndTime = TLMainItems::End_Time_Text(now().addSecs(secs), false);
        item.CurrentPrice = "US 10.00";
        item.BidCount = "3";
        item.Seller = "seller (12) 99.5%";
        item.Category = "Default";
        item.UserID = "buyer1";
        item.AfterBidOptions = "0";
        EXPECT_TRUE(TLMainItems::Append_Item(item));
        return TLMainItems::ItemCount;
    }
    static TLMainItems::AuctionItem& item(int index) { return TLMainItems::Items.at(static_cast<size_t>(index)); }
    // An item armed to bid `bidSecs` before its end, with the status.
    int addArmedItem(const std::string& number, long secs, long bidSecs, const std::string& status) {
        const int i = addItem(number, secs);
        item(i).MaxBid = "20.00";
        item(i).BidTimeSecs = bidSecs;
        item(i).BidStatus = status;
        return i;
    }
    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : ""; }
    bool logged(const std::string& text) const { return opLog().find(" - " + text + "\r\n") != std::string::npos; }

    TempDataFolder data;
    FakeTime time;
    FakeTrayIcon tray;
    FakeSystemNotices notices;
    FakeClipboard clipboard;
    FakeDesktopFiles desktop;
    RecordingBrowserOpeners openers;
    RecordingSoundPlayer player;
    ScriptedMessageBoxes boxes;
    RecordingLaterParts later;
    std::vector<std::string> arguments;
    long zoneCode = 1;
    int zoneQueries = 0;
    // The program's message window: what each waiting one said, and the answers to give, in order
    // (none left: button 1).
    std::vector<std::string> messages;
    std::vector<std::string> titles;
    std::deque<std::function<void(Messages&)>> answers;
};

}  // namespace testsupport
