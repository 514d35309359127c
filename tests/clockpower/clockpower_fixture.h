// clockpower_fixture.h — the ground of the clock and power tests: a throw-away data folder, the
// fake clock (1 June 2026 12:00, UTC), the status line, the main window's parts, the wake-up
// alarm, the login manager and the screen's activity poke as recording stand-ins; the clock keeper
// and the power control take on their duties.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bidding/bid_email.h"
#include "bidding/bid_scheduler.h"
#include "clockpower/clock_power_duties.h"
#include "clockpower/power_control.h"
#include "clockpower/window_parts.h"
#include "fake_clock.h"
#include "foundation/bid_engine_state.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/options_state.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/window_subclass.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "mainwindow/tl_main_services.h"
#include "mainwindow/tl_main_state.h"
#include "platform/login_manager.h"
#include "platform/wake_alarm.h"
#include "recording_main_window.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace testsupport {

class RecordingWindowParts final : public ClockPower::WindowParts {
public:
    RecordingWindowParts() { ClockPower::setWindowPartsForTests(this); }
    ~RecordingWindowParts() override { ClockPower::setWindowPartsForTests(nullptr); }
    bool inputEnabled() const override { return input; }
    void setInputEnabled(bool on) override {
        input = on;
        inputChanges.push_back(on);
    }
    bool heartbeatRunning() const override { return heartbeat; }
    void setHeartbeat(bool on) override {
        heartbeat = on;
        heartbeatChanges.push_back(on);
    }
    void showWakeupIcon(bool shown, const std::string& tip) override {
        iconShown = shown;
        iconTip = tip;
        ++layouts;
    }
    void startSleepTimer() override { ++sleepTimers; }
    QPoint cursorPos() const override { return cursor; }

    bool input = true;
    bool heartbeat = true;
    std::vector<bool> inputChanges, heartbeatChanges;
    bool iconShown = false;
    std::string iconTip;
    int layouts = 0;
    int sleepTimers = 0;
    QPoint cursor;
};

// The wake-up alarm as a test sets it: it records each arming and can refuse.
class FakeWakeAlarm final : public platform::WakeAlarm {
public:
    FakeWakeAlarm() { platform::setWakeAlarmForTests(this); }
    ~FakeWakeAlarm() override { platform::setWakeAlarmForTests(nullptr); }
    bool arm(qint64 utcMs) override {
        armedAt.push_back(utcMs);
        if (!works) return false;
        armed = true;
        return true;
    }
    void cancel() override {
        armed = false;
        ++cancels;
    }
    bool expired() override { return armed && gone; }
    std::string whyNotArmed() const override { return works ? std::string() : why; }
    bool works = true;
    std::string why = "this computer has no real-time clock alarm";
    bool armed = false;
    bool gone = false;
    int cancels = 0;
    std::vector<qint64> armedAt;
};

// The login manager: records each request, answers as the test set it.
class ScriptedLoginManager final : public platform::LoginManager {
public:
    ScriptedLoginManager() { platform::setLoginManagerForTests(this); }
    ~ScriptedLoginManager() override { platform::setLoginManagerForTests(nullptr); }
    void sleep(bool standby, Done done) override {
        requests.push_back(standby);
        done(code, description);
    }
    std::vector<bool> requests;  // true standby, false hibernation
    long code = 0;
    std::string description;
};

class RecordingActivity final : public TLMainServices::ScreenActivity {
public:
    RecordingActivity() { TLMainServices::setService<TLMainServices::ScreenActivity>(this); }
    ~RecordingActivity() override { TLMainServices::setService<TLMainServices::ScreenActivity>(nullptr); }
    void Simulate_User_Activity() override { ++pokes; }
    int pokes = 0;
};

class ClockPowerTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        ClockPower::Register_Clock_And_Power();
    }
    void TearDown() override {
        ClockPower::Release_Clock_And_Power();
        Messages::SetAnswerHookForTests(nullptr);
        reset();
    }
    static void reset() {
        modTLMain::ResetStartupForTests();
        modWinInfo::ResetForTests();
        modTLC::ResetForTests();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        TLMainState::ResetMainWindowStateForTests();
        TLMainItems::ResetItemStoreForTests();
        TLMainBids::ResetBidEngineForTests();
        TLMainBids::BidResultsMailQueue.clear();
        modPwrCtrl::ResetPowerForTests();
        modClock::ClockOffsetMs = 0;
        modClock::ClockDifference = 0;
        modClock::ClockSetFailed = 0;
        modClock::ClockSetRefused = false;
        modPwrCtrl::CursorPos = modPwrCtrl::ResumeCursorPos = QPoint();
        modDebug::DebugOutput = false;
    }

    // The operation log's lines without their time stamps.
    std::vector<std::string> logLines(const char* file = "OperationLog.txt") const {
        std::vector<std::string> lines;
        if (!data.exists(file)) return lines;
        const std::string text = data.read(file);
        size_t from = 0;
        while (from < text.size()) {
            size_t end = text.find("\r\n", from);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(from, end - from);
            const size_t dash = line.find(" - ");
            lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
            from = end + 2;
        }
        return lines;
    }
    bool logged(const std::string& text, const char* file = "OperationLog.txt") const {
        for (const auto& l : logLines(file))
            if (l == text) return true;
        return false;
    }

    // Puts the program in the mode where it may not set the PC clock.
    static void userMode() {
        modWinInfo::OSMajorVersion = 6;
        modTLMain::TokenElevationType = 3;
    }

    TempDataFolder data;
    FakeTime time;
    RecordingStatusLine status;
    RecordingWindowParts parts;
    FakeWakeAlarm alarm;
    ScriptedLoginManager logind;
    RecordingActivity activity;
};

}  // namespace testsupport
