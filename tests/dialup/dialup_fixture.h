// dialup_fixture.h — the dial-up line against scripted fakes: a connection manager whose dials
// answer on the fake clock, a desktop input journal, the main window's dial timers and phone
// indicator, the status line and a fresh data folder.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <deque>
#include <string>
#include <vector>

#include "bidding/dial_state.h"
#include "dialup/connect_macro.h"
#include "dialup/dial_sequence.h"
#include "dialup/ras.h"
#include "fake_clock.h"
#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "mainwindow/tl_main_state.h"
#include "platform/dialup_network.h"
#include "platform/input_journal.h"
#include "platform/timers.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

namespace dialtest {

// Dials answer `dialMs` later from the script of codes (0 when it runs out).
class FakeNetwork final : public platform::DialupNetwork {
public:
    FakeNetwork() { platform::setDialupNetworkForTests(this); }
    ~FakeNetwork() override { platform::setDialupNetworkForTests(nullptr); }

    void listEntries(std::function<void(int, std::vector<platform::DialEntry>)> done) override {
        done(listCode, entries);
    }
    void dial(const std::string& entry, const platform::DialAccount& account,
              std::function<void(int, std::string)> done) override {
        dials.push_back({entry, account});
        int code = 0;
        if (!codes.empty()) {
            code = codes.front();
            codes.pop_front();
        }
        modRAS::After_Ms(dialMs, [this, entry, code, done] {
            if (code == 0) up.push_back(entry);
            done(code, entry);
        });
    }
    void cancelDial() override { ++cancels; }
    void activeDialConnections(std::function<void(std::vector<std::string>)> done) override { done(up); }
    void hangUp(const std::vector<std::string>& names, std::function<void()> done) override {
        for (const std::string& n : names) {
            hungUp.push_back(n);
            std::erase(up, n);
        }
        done();
    }
    void bringUpDefault(int, std::function<void(bool)> done) override {
        ++defaultDials;
        modRAS::After_Ms(defaultMs, [this, done] { done(defaultConnects); });
    }
    void connectedState(std::function<void(bool, std::string)> done) override { done(!up.empty(), up.empty() ? "" : up[0]); }

    struct Dial {
        std::string entry;
        platform::DialAccount account;
    };
    int listCode = 0;
    std::vector<platform::DialEntry> entries;
    std::deque<int> codes;
    int dialMs = 100;
    std::vector<Dial> dials;
    int cancels = 0;
    std::vector<std::string> up;      // dialling connections that are up
    std::vector<std::string> hungUp;  // in order
    int defaultDials = 0;
    int defaultMs = 1500;
    bool defaultConnects = true;
};

// The desktop's input: what was injected, as text lines; events to record are fed by the test.
class FakeJournal final : public platform::InputJournal {
public:
    FakeJournal() { platform::setInputJournalForTests(this); }
    ~FakeJournal() override { platform::setInputJournalForTests(nullptr); }
    bool available() override { return isAvailable; }
    bool startRecording(std::function<void(const platform::JournalEvent&)> onEvent) override {
        recorder = std::move(onEvent);
        return true;
    }
    void stopRecording() override { recorder = nullptr; }
    int screenWidth() override { return width; }
    int screenHeight() override { return height; }
    void key(int vk, bool down) override { injected.push_back((down ? "key down " : "key up ") + std::to_string(vk)); }
    void moveAbsolute(int x, int y) override {
        injected.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void button(int which, bool down) override {
        injected.push_back((down ? "button down " : "button up ") + std::to_string(which));
    }
    bool escapeDown() override { return escape; }
    void feed(int message, int paramL, int paramH, int time) {
        if (recorder) recorder({message, paramL, paramH, time, 0});
    }

    bool isAvailable = true;
    int width = 1024, height = 768;
    bool escape = false;
    std::vector<std::string> injected;
    std::function<void(const platform::JournalEvent&)> recorder;
};

// The main window's two dial timers and its phone indicator.
class FakeDialWindow final : public modRAS::DialWindow {
public:
    FakeDialWindow() {
        sync.setInterval(1000);
        sync.setHandler([] { modRAS::SyncAutoDial_Timer(); });
        hangup.setInterval(1000);
        hangup.setHandler([] { modRAS::HangupTimer_Timer(); });
        modRAS::setDialWindow(this);
    }
    ~FakeDialWindow() override { modRAS::setDialWindow(nullptr); }
    platform::Timer* syncAutoDial() override { return &sync; }
    platform::Timer* hangupTimer() override { return &hangup; }
    void showPhone(int picture) override {
        if (picture) pictures.push_back(picture);
    }
    platform::Timer sync;
    platform::Timer hangup;
    std::vector<int> pictures;
};

class DialupFixture : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
    }
    void TearDown() override {
        window.sync.setEnabled(false);
        window.hangup.setEnabled(false);
        reset();
    }
    static void reset() {
        modRAS::ResetDialStateForTests();
        modRAS::ResetSequenceForTests();
        SysHook::ResetForTests();
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        TLMainItems::ResetItemStoreForTests();
        TLMainState::MinuteWarningGiven = 0;
        TLMainState::DownloadBusy = 0;
        TLMainState::PendingRequest.clear();
        TLMainState::RetryDialSecs = 30;
        TLMainState::MaxDialAttempts = 3;
    }

    static void set(const char* section, const std::string& key, const std::string& value) {
        modTLC::Set_Config_Value(section, key, value);
    }
    // An entry "Office" with its own complete account.
    static void chooseOffice() {
        set("DUN", "ConName", "Office");
        set("DUN", "Username", "joe");
        set("DUN", "Password", "s3cret");
        set("DUN", "Phone", "5551234");
    }
    // An item ending `seconds` from now; its index.
    int itemEndingIn(long seconds) {
        TLMainItems::AuctionItem item;
        item.ItemNumber = "1001";
        item.UserID = "buyer1";
        item.EndTime = TLMainItems::End_Time_Text(time.clock.now().addSecs(seconds), false);
        EXPECT_TRUE(TLMainItems::Append_Item(item));
        return TLMainItems::ItemCount;
    }
    // The scheduler's start of a phone-book dial for item i.
    void startPhoneBookDial(int i) {
        modRAS::DialType = 1;
        modRAS::DialBusy = -1;
        modRAS::DialItem = static_cast<int16_t>(i);
        modRAS::DialStep = 1;
        modRAS::DialCancel = 0;
        dialer.Start_Phonebook_Dial();
    }
    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : ""; }
    // Advances the fake clock in steps of `stepMs` until `done` or `maxMs`.
    bool runUntil(const std::function<bool()>& done, qint64 maxMs, qint64 stepMs = 100) {
        for (qint64 t = 0; t < maxMs && !done(); t += stepMs) time.advanceMs(stepMs);
        return done();
    }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::RecordingStatusLine status;
    FakeNetwork network;
    FakeJournal journal;
    FakeDialWindow window;
    modRAS::AutoDialer dialer;
};

}  // namespace dialtest
