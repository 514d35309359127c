// Power control: the wake-up for the earliest bid moment, the sleep after a bid with its
// count-down, what keeps the machine awake when the sleep timer fires, the wake-up poll and the
// user-input rule.

#include <functional>

#include "clockpower_fixture.h"
#include "foundation/vb.h"
#include "options/setup_links.h"
#include "scripted_boxes.h"

using namespace testsupport;

namespace {

class Power : public ClockPowerTest {
protected:
    void SetUp() override {
        ClockPowerTest::SetUp();
        time.clock.setNow(start());
        Messages::SetAnswerHookForTests([this](Messages& m) {
            dialogs.push_back(m.messageText());
            countDowns.push_back(m.secondsLeft());
            if (cancelDialog) m.clickButton(2);
        });
    }
    static QDateTime start() { return QDateTime(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC); }

    // An item armed to bid B seconds before its end, `secondsToEnd` from now.
    int arm(long B, long secondsToEnd, const std::string& status = "BidPending") {
        TLMainItems::AuctionItem item;
        item.ItemNumber = std::to_string(100 + TLMainItems::ItemCount);
        item.Title = "Teapot";
        item.MaxBid = "12.50";
        item.BidTimeSecs = B;
        item.BidStatus = status;
        item.EndTime = TLMainItems::End_Time_Text(time.clock.now().addSecs(secondsToEnd), false);
        EXPECT_TRUE(TLMainItems::Append_Item(item));
        return TLMainItems::ItemCount;
    }
    // The sleep after a bid, run until its dialog (if any) is answered.
    void sleepAfterBid(bool sleep) {
        modPwrCtrl::Sleep_Until_Next_Bid(sleep);
        time.timers.waitUntil([] { return false; }, 100);
    }

    std::vector<std::string> dialogs;
    std::vector<long> countDowns;
    bool cancelDialog = false;
};

struct WakeCase {
    const char* name;
    std::vector<std::pair<long, long>> items;  // B, seconds to the end
    long wakeInSecs;                           // -1: no wake-up
};

TEST_F(Power, TheWakeUpIsForTheEarliestBidMoment) {
    const WakeCase cases[] = {
        {"one bid", {{15, 3600}}, 3600 - 15 - 360},
        {"the later end bids first", {{5, 3600}, {60, 3610}}, 3610 - 60 - 360},
        {"ended and unarmed items do not count", {{5, -10}, {0, 600}, {10, 7200}}, 7200 - 10 - 360},
        {"no bid pending", {{0, 600}, {5, -1}}, -1},
    };
    for (const auto& c : cases) {
        TLMainItems::ResetItemStoreForTests();
        for (const auto& [B, end] : c.items) arm(B, end);
        modPwrCtrl::Set_Next_Bid_Wakeup();
        if (c.wakeInSecs < 0) {
            EXPECT_FALSE(parts.iconShown) << c.name;
            EXPECT_EQ(modClock::WakeupArmed, 0) << c.name;
            EXPECT_FALSE(alarm.armed) << c.name << ": the old wake-up can no longer wake the PC";
            continue;
        }
        const QDateTime wake = start().addSecs(c.wakeInSecs);
        EXPECT_EQ(modPwrCtrl::WakeupTime, wake) << c.name;
        EXPECT_EQ(alarm.armedAt.back(), wake.toMSecsSinceEpoch()) << c.name;
        EXPECT_EQ(modClock::WakeupArmed, 1) << c.name;
        EXPECT_TRUE(parts.iconShown) << c.name;
        EXPECT_EQ(parts.iconTip, "Wakeup Set for " + vb::GeneralDate(wake)) << c.name;
    }
}

TEST_F(Power, AnItemEndingAtTenPmWithFifteenSecondsWakesAtTwentyOneFiftyThreeFortyFive) {
    TLMainItems::AuctionItem item;
    item.ItemNumber = "1";
    item.BidTimeSecs = 15;
    item.EndTime = TLMainItems::End_Time_Text(QDateTime(QDate(2026, 6, 1), QTime(22, 0), Qt::UTC), false);
    ASSERT_TRUE(TLMainItems::Append_Item(item));
    modPwrCtrl::Set_Next_Bid_Wakeup();
    EXPECT_EQ(modPwrCtrl::WakeupTime.time(), QTime(21, 53, 45));
}

// A wake-up that cannot be armed is not shown as set: no icon with its tip, no count-down before
// a sleep, no sleep; the status line says why, once.
TEST_F(Power, AWakeUpThatCannotBeArmedIsNotShownNorCountedDownAndTheStatusLineSaysWhyOnce) {
    alarm.works = false;
    arm(10, 3 * 3600);
    modPwrCtrl::Set_Next_Bid_Wakeup();
    EXPECT_EQ(modClock::WakeupArmed, 0);
    EXPECT_FALSE(parts.iconShown);
    EXPECT_EQ(status.statuses, std::vector<std::string>{"Wake Up Not Set - this computer has no real-time clock alarm"});

    sleepAfterBid(true);
    EXPECT_TRUE(dialogs.empty()) << dialogs.front();
    EXPECT_EQ(parts.sleepTimers, 0);
    EXPECT_EQ(status.statuses.size(), 1u) << "told once";

    alarm.works = true;
    modPwrCtrl::Set_Next_Bid_Wakeup();
    EXPECT_TRUE(parts.iconShown);
    EXPECT_EQ(parts.iconTip, "Wakeup Set for " + vb::GeneralDate(modPwrCtrl::WakeupTime));
}

// The wake-up and its icon go when no bid is pending any more, and once the wake-up has come.
TEST_F(Power, TheWakeUpIconGoesWithTheLastPendingBidAndWhenTheWakeUpCame) {
    auto& poll = TLMainServices::service<TLMainServices::PowerAndDial>();
    const int i = arm(10, 3600);
    modPwrCtrl::Set_Next_Bid_Wakeup();
    ASSERT_TRUE(parts.iconShown);
    poll.Check_Wakeup_Timer();
    EXPECT_TRUE(parts.iconShown);
    TLMainItems::Items[static_cast<size_t>(i)].BidTimeSecs = 0;  // the bid taken off
    poll.Check_Wakeup_Timer();
    EXPECT_FALSE(parts.iconShown);
    EXPECT_EQ(modClock::WakeupArmed, 0);
    EXPECT_FALSE(alarm.armed);

    TLMainItems::Items[static_cast<size_t>(i)].BidTimeSecs = 10;
    modPwrCtrl::Set_Next_Bid_Wakeup();
    ASSERT_TRUE(parts.iconShown);
    alarm.gone = true;
    poll.Check_Wakeup_Timer();
    EXPECT_FALSE(parts.iconShown);
}

// The bid a wake-up was set for goes while a later one stays: the wake-up moves to the later bid.
TEST_F(Power, TheWakeUpFollowsTheNextBidWhenItsOwnBidGoes) {
    auto& poll = TLMainServices::service<TLMainServices::PowerAndDial>();
    const int first = arm(10, 3600);
    arm(10, 7200);
    modPwrCtrl::Set_Next_Bid_Wakeup();
    ASSERT_EQ(modPwrCtrl::WakeupTime, start().addSecs(3600 - 10 - 360));
    TLMainItems::Items[static_cast<size_t>(first)].BidTimeSecs = 0;  // the first bid taken off
    poll.Check_Wakeup_Timer();
    const QDateTime later = start().addSecs(7200 - 10 - 360);
    EXPECT_EQ(modPwrCtrl::WakeupTime, later);
    EXPECT_EQ(alarm.armedAt.back(), later.toMSecsSinceEpoch());
    EXPECT_TRUE(parts.iconShown);
}

// The sleep test's alarm takes the place of a pending bid's wake-up only while the test runs.
TEST_F(Power, AfterTheSleepTestThePendingBidsWakeUpIsSetAgain) {
    ScriptedMessageBoxes boxes;
    auto& power = SetupLinks::setupLink<SetupLinks::Power>();
    auto& window = TLMainServices::service<TLMainServices::PowerAndDial>();
    arm(10, 3 * 3600);
    modPwrCtrl::Set_Next_Bid_Wakeup();
    const QDateTime bidWake = modPwrCtrl::WakeupTime;
    power.Start_Sleep_Timer();
    power.Set_Wakeup_Timer(time.clock.now().addSecs(120));
    ASSERT_EQ(alarm.armedAt.back(), time.clock.now().addSecs(120).toMSecsSinceEpoch());
    time.advanceMs(120000);
    alarm.gone = true;
    window.Check_Wakeup_Timer();
    time.timers.waitUntil([] { return false; }, 50);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(alarm.armedAt.back(), bidWake.toMSecsSinceEpoch());
    EXPECT_EQ(modClock::WakeupArmed, 1);
    EXPECT_TRUE(parts.iconShown);
}

TEST_F(Power, InUserModeTheAlarmIsOnThePcClock) {
    userMode();
    modClock::ClockOffsetMs = 30000;  // the program's time runs 30 seconds ahead of the PC's
    arm(10, 3600);
    modPwrCtrl::Set_Next_Bid_Wakeup();
    EXPECT_EQ(alarm.armedAt.back(), modPwrCtrl::WakeupTime.toMSecsSinceEpoch() - 30000);
}

// The sleep after a bid: within 15 minutes of the next wake-up only the activity poke; beyond
// them the count-down, then the sleep timer unless Cancel was pressed.
TEST_F(Power, SleepsAfterABidOnlyWhenTheNextWakeUpIsFifteenMinutesAway) {
    const long B = 10;
    arm(B, 14 * 60 + 360 + B);
    sleepAfterBid(true);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(activity.pokes, 1);
    EXPECT_EQ(parts.sleepTimers, 0);

    TLMainItems::ResetItemStoreForTests();
    arm(B, 16 * 60 + 360 + B);
    sleepAfterBid(true);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "Sleep Mode Reset For " + vb::GeneralDate(modPwrCtrl::WakeupTime));
    EXPECT_EQ(countDowns[0], 20);
    EXPECT_EQ(parts.sleepTimers, 1) << "the count-down pressed OK";
    EXPECT_TRUE(logged("Program Sleep Mode Activated - Scheduled Wake Up " + vb::GeneralDate(modPwrCtrl::WakeupTime)));

    cancelDialog = true;
    sleepAfterBid(true);
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(parts.sleepTimers, 1);
}

TEST_F(Power, NoSleepWithoutTheChoiceOrWithTheUserAtTheMouse) {
    arm(10, 3 * 3600);
    sleepAfterBid(false);
    parts.cursor = QPoint(40, 0);
    sleepAfterBid(true);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(parts.sleepTimers, 0);
    EXPECT_EQ(modClock::WakeupArmed, 1) << "the wake-up is set all the same";
}

TEST_F(Power, TheSleepWaitsForTheResultEmailsAtMostThirtySeconds) {
    arm(10, 3 * 3600);
    TLMainBids::BidResultsMailQueue.push_back("100");
    modPwrCtrl::Sleep_Until_Next_Bid(true);
    time.advanceMs(10000);
    EXPECT_TRUE(dialogs.empty());
    TLMainBids::BidResultsMailQueue.clear();
    time.advanceMs(500);
    EXPECT_EQ(dialogs.size(), 1u);

    TLMainBids::BidResultsMailQueue.push_back("101");
    modPwrCtrl::Sleep_Until_Next_Bid(true);
    time.advanceMs(29000);
    EXPECT_EQ(dialogs.size(), 1u);
    time.advanceMs(1500);
    EXPECT_EQ(dialogs.size(), 2u);
}

struct SleepCase {
    const char* name;
    std::function<void()> setUp;
    const char* stayAwakeReason;  // nullptr: sleeps
};

TEST_F(Power, TheSleepTimerSleepsOnlyWhenNothingStandsAgainstIt) {
    const SleepCase cases[] = {
        {"nothing pending", [] {}, nullptr},
        {"next bid's wake-up 20 minutes away", [this] { arm(10, 20 * 60 + 370); }, nullptr},
        {"a bid came meanwhile, 10 minutes away", [this] { arm(10, 10 * 60 + 370); },
         "Next Bid Within 15 Minutes"},
        {"its wake-up could not be armed", [this] { alarm.works = false; arm(10, 3600); },
         "Wake Up Timer Not Set"},
        {"a bid waits for its result", [this] { arm(10, -5, "Bid Placed"); }, "Bid In Progress"},
        {"a bid is being validated", [this] { arm(10, 40, "Validating Bid"); }, "Bid In Progress"},
        {"a download runs", [] { TLMainState::DownloadBusy = 1; }, "Request In Progress"},
        {"a result e-mail is queued", [] { TLMainBids::BidResultsMailQueue.push_back("7"); },
         "Bid Results E-Mail Queued"},
        {"the sleep test's wake-up could not be armed",
         [this] {
             alarm.works = false;
             modPwrCtrl::Set_Wakeup_Timer(time.clock.now().addSecs(120));
         },
         "Wake Up Timer Not Set"},
    };
    for (const auto& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        alarm.works = true;
        logind.requests.clear();
        c.setUp();
        TLMainServices::service<TLMainServices::PowerAndDial>().Enter_Sleep_Mode();
        if (!c.stayAwakeReason) {
            EXPECT_EQ(logind.requests.size(), 1u) << c.name;
        } else {
            EXPECT_TRUE(logind.requests.empty()) << c.name;
            EXPECT_TRUE(logged(std::string("Sleep Mode Cancelled - ") + c.stayAwakeReason)) << c.name;
        }
    }
}

TEST_F(Power, TheSleepModeSettingChoosesStandbyOrHibernation) {
    const std::pair<const char*, bool> cases[] = {{"1", true}, {"0", false}, {nullptr, false}};
    for (const auto& [mode, standby] : cases) {
        modTLC::ResetForTests();
        if (mode) modTLC::Set_Config_Value("Options", "PwrSleepMode", mode);
        logind.requests.clear();
        modPwrCtrl::SleepTimer_Timer();
        ASSERT_EQ(logind.requests.size(), 1u);
        EXPECT_EQ(logind.requests[0], standby) << (mode ? mode : "missing");
    }
}

TEST_F(Power, ARefusedSleepGoesToTheErrorLog) {
    logind.code = platform::kSleepNotAllowed;
    logind.description = "CanSuspend: no";
    modPwrCtrl::Suspend(true);
    EXPECT_TRUE(logged("Error 5 (CanSuspend: no) in procedure Suspend", "ErrorLog.txt"));
}

// The options dialog's sleep test shows what came of it on screen, after the timer's event.
TEST_F(Power, TheSleepTestShowsItsResult) {
    ScriptedMessageBoxes boxes;
    auto& power = SetupLinks::setupLink<SetupLinks::Power>();
    auto& window = TLMainServices::service<TLMainServices::PowerAndDial>();
    struct Case {
        const char* name;
        std::function<void()> setUp;
        const char* shown;
    };
    const Case cases[] = {
        {"no wake-up", [this] { alarm.works = false; },
         "Sleep Mode Cancelled - Wake Up Timer Not Set\r\n\r\nthis computer has no real-time clock alarm."},
        {"sleep refused",
         [this] {
             logind.code = platform::kSleepNotAllowed;
             logind.description = "CanSuspend: no";
         },
         "The computer was not put to sleep.\r\n\r\nError 5 (CanSuspend: no) in procedure Suspend"},
        {"slept and woke", [] {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        modTLMain::DataFolder = data.dataFolder();
        alarm.works = true;
        alarm.gone = false;
        logind.code = 0;
        boxes.clear();
        c.setUp();
        power.Start_Sleep_Timer();
        power.Set_Wakeup_Timer(time.clock.now().addSecs(120));
        window.Enter_Sleep_Mode();
        EXPECT_TRUE(boxes.shown().empty()) << "not inside the timer's event";
        time.timers.waitUntil([] { return false; }, 50);
        if (c.shown) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, c.shown);
            EXPECT_EQ(boxes.shown()[0].title, "Sleep Test");
            continue;
        }
        EXPECT_TRUE(boxes.shown().empty());
        time.advanceMs(120000);
        modPwrCtrl::ResumeTime = time.clock.now();
        alarm.gone = true;
        window.Check_Wakeup_Timer();
        time.timers.waitUntil([] { return false; }, 50);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "The wake-up time came at " + vb::GeneralDate(time.clock.now()) +
                                             ".\r\nThe computer resumed from standby/hibernation at " +
                                             vb::GeneralDate(time.clock.now()) + ".");
    }
}

TEST_F(Power, TheOptionsSleepTestArmsTheWakeUpAndStartsTheSleepTimer) {
    auto& power = SetupLinks::setupLink<SetupLinks::Power>();
    const QDateTime when = time.clock.now().addSecs(120);
    power.Set_Wakeup_Timer(when);
    power.Start_Sleep_Timer();
    EXPECT_EQ(alarm.armedAt.back(), when.toMSecsSinceEpoch());
    EXPECT_EQ(modClock::WakeupArmed, 1);
    EXPECT_EQ(parts.sleepTimers, 1);
}

TEST_F(Power, TheWakeUpPollSeesTheAlarmGoOff) {
    modDebug::DebugOutput = true;
    arm(10, 3600);
    modPwrCtrl::Set_Next_Bid_Wakeup();
    auto& poll = TLMainServices::service<TLMainServices::PowerAndDial>();
    poll.Check_Wakeup_Timer();
    EXPECT_EQ(modClock::WakeupArmed, 1);
    EXPECT_EQ(activity.pokes, 0);
    alarm.gone = true;
    poll.Check_Wakeup_Timer();
    EXPECT_EQ(modClock::WakeupArmed, 0);
    EXPECT_EQ(activity.pokes, 1);
    EXPECT_TRUE(logged("Timer Signaled"));
}

TEST_F(Power, UserInputIsAMoveOfElevenPixels) {
    struct Move {
        QPoint to;
        bool input;
        QPoint remembered;
    };
    const Move moves[] = {
        {{10, 10}, false, {0, 0}},
        {{11, 10}, true, {11, 0}},   // only x is remembered
        {{11, 10}, false, {11, 0}},
        {{11, 11}, true, {11, 11}},
        {{0, 30}, true, {0, 11}},    // across first
    };
    for (const auto& m : moves) {
        parts.cursor = m.to;
        EXPECT_EQ(modPwrCtrl::Have_User_Input(), m.input) << m.to.x() << "," << m.to.y();
        EXPECT_EQ(modPwrCtrl::ResumeCursorPos, m.remembered) << m.to.x() << "," << m.to.y();
    }
}

}  // namespace
