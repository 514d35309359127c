#include "clockpower/power_control.h"

#include <cstdlib>
#include <memory>
#include <optional>

#include "bidding/bid_email.h"
#include "bidding/bid_scheduler.h"
#include "clockpower/window_parts.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/vb.h"
#include "foundation/window_subclass.h"
#include "items/auction_item.h"
#include "platform/clock.h"
#include "platform/login_manager.h"
#include "platform/message_box.h"
#include "platform/timers.h"
#include "platform/wake_alarm.h"
#include "service/http_request.h"

namespace modPwrCtrl {
namespace {

// The wake-up alarm was armed at least once (it is then the one to poll and to cancel).
bool g_alarmUsed = false;
// A wake-up was asked for (a pending bid's, or the sleep test's) and is the one the sleep needs.
bool g_wakeWanted = false;
// The user was told in the status line why no wake-up could be set (told again only after one was set).
bool g_toldNoWake = false;
// The options dialog's sleep test is under way (its result is shown), and when it began.
bool g_sleepTest = false;
QDateTime g_sleepTestStart;
// How long the sleep after a bid waits for the result e-mails to go, and how often it looks.
constexpr qint64 kMailWaitMs = 30000;
constexpr int kMailPollMs = 250;
constexpr int kCountDownSecs = 20;

void debugLog(const std::string& text) {
    if (modDebug::DebugOutput) modTLMain::Write_Op_Log(text);
}

// One activity poke: the desktop's idle timers start again, so the display stays on and a PC
// woken for a bid does not go straight back to sleep.
void keepAwake() { TLMainServices::service<TLMainServices::ScreenActivity>().Simulate_User_Activity(); }

// The program's time in milliseconds less the PC clock's: the clock offset where it applies.
qint64 offsetMs() { return modClock::Program_Offset_Ms(); }

std::string whyNoWake() {
    const std::string why = platform::wakeAlarm().whyNotArmed();
    return why.empty() ? "the wake-up alarm could not be set" : why;
}

// Arms the alarm; when it cannot be armed, the status line says why, once.
bool armAt(qint64 pcUtcMs) {
    g_alarmUsed = true;
    g_wakeWanted = true;
    const bool armed = platform::wakeAlarm().arm(pcUtcMs);
    modClock::WakeupArmed = armed ? 1 : 0;
    if (armed) {
        g_toldNoWake = false;
    } else if (!g_toldNoWake) {
        g_toldNoWake = true;
        TLMainLink::statusLine().setStatus("Wake Up Not Set - " + whyNoWake());
    }
    return armed;
}

// The sleep test's result, shown once the current event (a heartbeat tick) is over.
void showSleepTestResult(const std::string& text) {
    g_sleepTest = false;
    Set_Next_Bid_Wakeup();  // the test's alarm gives way to the next bid's wake-up again
    modWinInet::Run_Later([text] { platform::MsgBox(text, platform::vbInformation, "Sleep Test"); });
}

// The wake-up for the pending bid whose moment (its end less its lead) comes first; the lower
// index on a tie. None when no armed bid's auction is still running.
struct NextWake {
    int index = 0;
    qint64 wakeMs = 0;  // the program's time
};
std::optional<NextWake> nextBidWake() {
    std::optional<NextWake> next;
    long long best = 0;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (!item || item->BidTimeSecs < 1) continue;
        const auto remaining = TLMainBids::Item_Remaining_Secs(i);
        const auto end = TLMainBids::Item_End_Ms(i);
        if (!remaining || *remaining <= 0 || !end) continue;
        const long long moment = static_cast<long long>(*remaining) - item->BidTimeSecs;
        if (!next || moment < best) {
            best = moment;
            next = NextWake{i, *end - static_cast<qint64>(item->BidTimeSecs + kWakeLeadSecs) * 1000};
        }
    }
    return next;
}

// An item whose bid is armed and whose auction has not ended.
bool pendingBidExists() { return nextBidWake().has_value(); }

bool mailQueued() {
    return !TLMainBids::BidResultsMailQueue.empty() || TLMainBids::bidLink<TLMainBids::BidResultsMail>().Mail_Queued();
}

// A bid is being validated or placed, or waits for its result.
bool bidUnderWay() {
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (!item) continue;
        const std::string& s = item->BidStatus;
        if (s == "Validating Bid" || s == "Bid Validated" || s == "Placing Bid" || s == "Bid Placed" ||
            s == "Validation Failed")
            return true;
    }
    return false;
}

// Why the machine may not sleep now; "" when it may.
std::string reasonToStayAwake() {
    if (modWinInet::Requests_In_Flight() > 0 || TLMainState::DownloadBusy || TLMainState::UpdateBusy)
        return "Request In Progress";
    if (bidUnderWay()) return "Bid In Progress";
    if (mailQueued()) return "Bid Results E-Mail Queued";
    if (Bids_Pending()) {
        // A bid may have come since the sleep was asked for: its wake-up is armed afresh.
        Set_Next_Bid_Wakeup();
        if (!modClock::WakeupArmed) return "Wake Up Timer Not Set";
        const qint64 nowMs = platform::clock().now().toMSecsSinceEpoch() + offsetMs();
        if (WakeupTime.toMSecsSinceEpoch() - nowMs < kMinSleepSecs * 1000) return "Next Bid Within 15 Minutes";
    } else if (g_wakeWanted && !modClock::WakeupArmed) {
        return "Wake Up Timer Not Set";
    }
    return {};
}

// The rest of the sleep after a bid, once the result e-mails went (or the wait ended).
void sleepAfterMail(bool sleep) {
    if (!sleep || Have_User_Input()) return;
    // The next bid's wake-up could not be set: no count-down and no sleep (the status line said why).
    if (g_wakeWanted && !modClock::WakeupArmed) {
        modTLMain::Write_Op_Log("Sleep Mode Cancelled - Wake Up Timer Not Set");
        return;
    }
    const qint64 nowMs = platform::clock().now().toMSecsSinceEpoch() + offsetMs();
    if (std::llabs(WakeupTime.toMSecsSinceEpoch() - nowMs) < kMinSleepSecs * 1000) {
        keepAwake();
        return;
    }
    const std::string when = vb::GeneralDate(WakeupTime);
    Messages::MsgReply = Messages::DisplayMsg("Sleep Mode Reset For " + when, 8, true, kCountDownSecs, "OK", "Cancel", "",
                                              false, false, "", "", "", 0, "", "", "");
    if (Messages::MsgReply == "MsgBtn2") return;
    modTLMain::Write_Op_Log("Program Sleep Mode Activated - Scheduled Wake Up " + when);
    ClockPower::windowParts().startSleepTimer();
}

// The wait for the result e-mails: a timer that looks every quarter second, for 30 seconds at most.
struct MailWait {
    platform::Timer poll;
    qint64 until = 0;
    bool sleep = false;
};
MailWait& mailWait() {
    static auto* w = new MailWait();
    return *w;
}

}  // namespace

void Set_Wakeup_Timer(const QDateTime& when) {
    const QDateTime whole(when.date(), QTime(when.time().hour(), when.time().minute(), when.time().second()));
    armAt(whole.toMSecsSinceEpoch());
    modPwrCtrl::Set_Tray_Tip();
}

void Set_Next_Bid_Wakeup() {
    const std::optional<NextWake> next = nextBidWake();
    if (!next) {
        ClockPower::windowParts().showWakeupIcon(false, {});
        g_wakeWanted = false;
        Cancel_Wakeup_Timer();
        modPwrCtrl::Set_Tray_Tip();
        return;
    }
    WakeupTime = QDateTime::fromMSecsSinceEpoch(next->wakeMs);
    g_sleepTest = false;  // the sleep test's alarm is replaced
    // The icon and its tip tell of a wake-up only when one was set.
    if (armAt(next->wakeMs - offsetMs()))
        ClockPower::windowParts().showWakeupIcon(true, "Wakeup Set for " + vb::GeneralDate(WakeupTime));
    else
        ClockPower::windowParts().showWakeupIcon(false, {});
    modPwrCtrl::Set_Tray_Tip();
}

void Cancel_Wakeup_Timer() {
    if (!g_alarmUsed) return;
    modClock::WakeupArmed = 0;
    platform::wakeAlarm().cancel();
    modPwrCtrl::Set_Tray_Tip();
}

bool Bids_Pending() {
    const bool pending = pendingBidExists();
    debugLog(pending ? "Bids Pending" : "No Bids Pending");
    return pending;
}

void Sleep_Until_Next_Bid(bool sleep) {
    Set_Next_Bid_Wakeup();
    MailWait& w = mailWait();
    w.sleep = sleep;
    w.until = platform::clock().tickMs() + kMailWaitMs;
    w.poll.setInterval(kMailPollMs);
    w.poll.setHandler([] {
        MailWait& m = mailWait();
        if (mailQueued() && platform::clock().tickMs() < m.until) return;
        m.poll.setEnabled(false);
        sleepAfterMail(m.sleep);
    });
    if (!mailQueued()) {
        // Nothing to wait for: the rest runs from the event loop, after the caller has returned.
        w.poll.setEnabled(false);
        modWinInet::Run_Later([sleep] { sleepAfterMail(sleep); });
        return;
    }
    w.poll.setEnabled(true);
}

void Check_Wakeup_Timer() {
    if (!g_alarmUsed) return;
    // The bid it was set for is gone (deleted, unarmed, ended) or its end moved: the wake-up
    // follows the next bid, and goes with its icon when none is left.
    if (!g_sleepTest) {
        const std::optional<NextWake> next = nextBidWake();
        if (!next || next->wakeMs != WakeupTime.toMSecsSinceEpoch()) return Set_Next_Bid_Wakeup();
    }
    if (!platform::wakeAlarm().expired()) return;
    modClock::WakeupArmed = 0;
    ClockPower::windowParts().showWakeupIcon(false, {});  // no wake-up is set any more
    modPwrCtrl::Set_Tray_Tip();
    keepAwake();
    debugLog("Timer Signaled");
    if (g_sleepTest) {
        const QDateTime resumed = modPwrCtrl::ResumeTime;
        std::string text = "The wake-up time came at " + vb::GeneralDate(platform::clock().now()) + ".";
        if (resumed.isValid() && resumed >= g_sleepTestStart)
            text += "\r\nThe computer resumed from standby/hibernation at " + vb::GeneralDate(resumed) + ".";
        showSleepTestResult(text);
    }
}

bool Have_User_Input() {
    const QPoint now = ClockPower::windowParts().cursorPos();
    modPwrCtrl::CursorPos = now;
    QPoint& last = modPwrCtrl::ResumeCursorPos;
    bool input = false;
    if (std::abs(now.x() - last.x()) >= 11) {
        last.setX(now.x());
        input = true;
    } else if (std::abs(now.y() - last.y()) >= 11) {
        last.setY(now.y());
        input = true;
    }
    debugLog(input ? "Have User Input" : "No User Input");
    return input;
}

void SleepTimer_Timer() {
    const bool test = g_sleepTest;
    const std::string reason = reasonToStayAwake();
    if (!reason.empty()) {
        modTLMain::Write_Op_Log("Sleep Mode Cancelled - " + reason);
        keepAwake();
        if (test) {
            std::string text = "Sleep Mode Cancelled - " + reason;
            if (!modClock::WakeupArmed && reason == "Wake Up Timer Not Set") text += "\r\n\r\n" + whyNoWake() + ".";
            showSleepTestResult(text);
        }
        return;
    }
    Suspend(vb::Val(modTLC::Get_Config_Value("Options", "PwrSleepMode", "0")) != 0);
}

void Suspend(bool standby) {
    platform::loginManager().sleep(standby, [](long code, const std::string& description) {
        if (code == 0) return;
        const std::string error = "Error " + std::to_string(code) + " (" + description + ") in procedure Suspend";
        modTLMain::Write_Error_Log(error);
        if (g_sleepTest) showSleepTestResult("The computer was not put to sleep.\r\n\r\n" + error);
    });
}

void Start_Sleep_Test(const QDateTime& wakeAt) {
    g_sleepTestStart = platform::clock().now();
    Set_Wakeup_Timer(wakeAt);
    g_sleepTest = true;
}

void ResetPowerForTests() {
    g_alarmUsed = false;
    g_wakeWanted = false;
    g_toldNoWake = false;
    g_sleepTest = false;
    WakeupTime = QDateTime();
    modClock::WakeupArmed = 0;
    mailWait().poll.setEnabled(false);
}

void PowerKeeper::Start_Sleep_Timer() { ClockPower::windowParts().startSleepTimer(); }

PowerKeeper& powerKeeper() {
    static auto* keeper = new PowerKeeper();
    return *keeper;
}

}  // namespace modPwrCtrl
