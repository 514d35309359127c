#include "dialup/dial_sequence.h"

#include <QWidget>
#include <algorithm>
#include <memory>

#include "dialup/connect_macro.h"
#include "dialup/ras.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "items/auction_item.h"
#include "items/remaining_time.h"
#include "mainwindow/tl_main_state.h"
#include "platform/dialup_network.h"
#include "platform/timers.h"

namespace modRAS {
namespace {

DialWindow* g_window = nullptr;

class NoWindow final : public DialWindow {
public:
    platform::Timer* syncAutoDial() override { return nullptr; }
    platform::Timer* hangupTimer() override { return nullptr; }
    void showPhone(int) override {}
};

// The sequence in progress: an answer that comes for an older one (cancelled) is dropped.
int g_sequence = 0;
// A dial or the hang-up after a failed attempt is under way; the ticks meanwhile only watch Esc.
bool g_busy = false;

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }
void log(const std::string& text) { modTLMain::Write_Op_Log(text); }

void enableSync(bool on) {
    if (platform::Timer* t = dialWindow().syncAutoDial()) t->setEnabled(on);
}
void enableHangup(bool on) {
    if (platform::Timer* t = dialWindow().hangupTimer()) t->setEnabled(on);
}

std::string dialingText() {
    return "Dialing " + modTLC::Get_Config_Value("DUN", "ConName", "") + " - Attempt #" +
           std::to_string(TLMainState::MaxDialAttempts - DialAttemptsLeft + 1);
}

void showDialing() {
    const std::string text = dialingText();
    status(text);
    log(text);
}

// The words for a failed dial; a number outside the table counts as a setup error (623).
std::string failureText(int& code) {
    switch (code) {
        case 621: return "Phone Book Error....";
        case 623: return "Connection Setup Error....";
        case 645: return "User Name/Password Failed Authentication....";
        case 676: return "Line is Busy....";
        case 677: return "Person Answered....";
        case 678: return "No Answer....";
        case 679: return "No Carrier....";
        case 680: return "No Dial Tone....";
        default: {
            const std::string text = "Unknown Error.... - " + std::to_string(code);
            code = 623;
            return text;
        }
    }
}

void attemptEnded(int sequence, int code) {
    if (sequence != g_sequence) return;
    if (code == 0) {
        g_busy = false;
        enableSync(false);
        DialConnected = -1;
        dialWindow().showPhone(kPhoneConnected);
        status("Connection Established....");
        log("Connection Established....");
        DialBusy = 0;
        TLMainItems::Get_Remaining_Secs(DialItem);
        const long count = TLMainItems::RemainingSecs + 60L * HangupTimeMins;
        HangupCountdown = static_cast<int16_t>(std::clamp(count, 0L, 32767L));
        enableHangup(true);
        return;
    }
    const std::string text = failureText(code);
    status("Disconnecting.... " + text);
    dialWindow().showPhone(kPhoneNotConnected);
    log("Disconnecting....  " + text);
    Hang_Up_All(HangUpScope::Own, [sequence, code] {
        if (sequence != g_sequence) return;
        g_busy = false;
        --DialAttemptsLeft;
        if (DialAttemptsLeft <= 0 || code == 623 || code == 645) {
            enableSync(false);
            status("Failed to Connect....  Quiting....");
            log("Failed to Connect....  Quiting....");
            DialBusy = 0;
            return;
        }
        RedialCountdown = TLMainState::RetryDialSecs;
        enableSync(true);
    });
}

void dialAttempt() {
    DialConnected = 0;
    dialWindow().showPhone(kPhoneDialing);
    g_busy = true;
    enableSync(true);  // Esc is watched while the dial runs
    const int sequence = g_sequence;
    RAS_Dial([sequence](int code) {
        if (sequence != g_sequence) return;
        if (code != 668) return attemptEnded(sequence, code);
        // The line dropped at once: one more dial two seconds later, within the same attempt.
        After_Ms(2000, [sequence] {
            if (sequence != g_sequence) return;
            RAS_Dial([sequence](int again) { attemptEnded(sequence, again); });
        });
    });
}

}  // namespace

DialWindow& dialWindow() {
    static NoWindow none;
    return g_window ? *g_window : none;
}

void setDialWindow(DialWindow* window) { g_window = window; }

void SyncAutoDial_Timer() {
    if (DialCancel) {
        enableSync(false);
        if (g_busy) platform::dialupNetwork().cancelDial();
        ++g_sequence;
        g_busy = false;
        log("Auto Dial Cancelled By User !");
        status("Auto Dial Cancelled !");
        dialWindow().showPhone(kPhoneNotConnected);
        Hang_Up_All(HangUpScope::Own);
        DialConnected = 0;
        DialBusy = 0;
        DialCancel = 0;
        return;
    }
    if (g_busy) return;
    enableSync(false);
    switch (DialStep) {
        case 1:
            ++g_sequence;
            RedialCountdown = 0;
            DialAttemptsLeft = TLMainState::MaxDialAttempts;
            DialStep = 0;
            showDialing();
            if (DialItem >= 1 && static_cast<size_t>(DialItem) < TLMainItems::Items.size()) {
                log("User " + TLMainItems::Items[static_cast<size_t>(DialItem)].UserID);
                log("Item #" + TLMainItems::Items[static_cast<size_t>(DialItem)].ItemNumber);
            }
            DialWarnSounded = 0;
            break;
        case 2:
            RedialCountdown = 0;
            DialStep = 0;
            break;
        default:
            if (RedialCountdown != 0) {
                --RedialCountdown;
                status("Redialing in " + std::to_string(RedialCountdown) + " seconds....");
            }
            if (RedialCountdown <= 0) {
                showDialing();
                DialStep = 2;
            }
            enableSync(true);
            return;
    }
    dialAttempt();
}

void HangupTimer_Timer() {
    dialWindow().showPhone(0);
    --HangupCountdown;
    if (HangupCountdown <= 30) status("Warning! Auto Disconnect in " + std::to_string(HangupCountdown) + " Seconds!");
    if (HangupCountdown > 0) return;
    HangingUp = -1;
    enableHangup(false);
    status("Disconnecting!");
    log("Auto Disconnected");
    Hang_Up_All(HangUpScope::Own, [] {
        HangingUp = 0;
        DialConnected = 0;
        dialWindow().showPhone(kPhoneNotConnected);
    });
}

void Internet_Autodial(std::function<void(bool)> done) {
    platform::dialupNetwork().bringUpDefault(kAutodialTimeoutSecs, std::move(done));
}

void MnuSubConnect_Click(std::function<void()> done) {
    log("Manual Dial Initiated");
    status("Attempting to Connect....");
    After_Ms(1000, [done] {
        auto result = [done](bool connected) {
            if (connected) {
                status("Connection Established....");
                log("Connection Established");
            } else {
                status("Manual Dial Failed to Connect....");
                log("Manual Dial Failed to Connect");
            }
            if (done) done();
        };
        switch (DialType) {
            case 0: Internet_Autodial(result); return;
            case 1: RAS_Dial([result](int code) { result(code == 0); }); return;
            case 3: {
                if (!SysHook::Load_Connect_Macro()) break;
                QWidget* w = TLMainLink::window().widget();
                const bool shown = w && w->isVisible();
                if (shown) TLMainLink::window().setVisible(false);
                SysHook::Play_Macro([shown, done] {
                    if (shown) TLMainLink::window().setVisible(true);
                    if (done) done();
                });
                return;
            }
            default: break;
        }
        if (done) done();
    });
}

void MnuSubHangup_Click(std::function<void()> done) {
    status("Hanging up....");
    After_Ms(1000, [done] { Hang_Up_All(HangUpScope::AllDial, done); });
}

void AutoDialer::InternetAutodial(std::function<void(bool)> done) {
    // Esc cancels the wait: the answer that comes later is dropped. An Esc of before does not.
    DialCancel = 0;
    auto answered = std::make_shared<bool>(false);
    auto watch = std::make_shared<std::function<void()>>();
    *watch = [answered, done, watch] {
        if (*answered) return;
        if (DialCancel) {
            *answered = true;
            DialCancel = 0;
            log("Auto Dial Cancelled By User !");
            done(false);
            status("Auto Dial Cancelled !");
            *watch = nullptr;
            return;
        }
        After_Ms(1000, *watch);
    };
    Internet_Autodial([answered, done](bool connected) {
        if (*answered) return;
        *answered = true;
        done(connected);
    });
    if (!*answered) (*watch)();
}

void AutoDialer::Start_Phonebook_Dial() { enableSync(true); }

bool AutoDialer::Load_Connect_Macro() { return SysHook::Load_Connect_Macro(); }

void AutoDialer::Play_Macro(std::function<void()> done) {
    // A dialling connection that comes up during the replay is the program's own.
    platform::dialupNetwork().activeDialConnections([done](std::vector<std::string> before) {
        SysHook::Play_Macro([before, done] {
            DialCancel = 0;  // Esc stopped the replay itself
            platform::dialupNetwork().activeDialConnections([before, done](std::vector<std::string> after) {
                for (const std::string& name : after) {
                    if (std::find(before.begin(), before.end(), name) != before.end()) continue;
                    OwnConnection = name;
                    DialConnected = -1;
                }
                done();
            });
        });
    });
}

void AutoDialer::Show_Phone_Picture(int picture) { dialWindow().showPhone(picture); }

void AutoDialer::Start_Hangup_Timer() { enableHangup(true); }

void ResetSequenceForTests() {
    Drop_Pending_Timers();
    ++g_sequence;
    g_busy = false;
}

}  // namespace modRAS
