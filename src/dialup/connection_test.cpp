#include "dialup/connection_test.h"

#include <QDateTime>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <memory>

#include "dialup/connect_macro.h"
#include "dialup/default_dial.h"
#include "dialup/dial_sequence.h"
#include "dialup/ras.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "options/setup_form.h"
#include "platform/clock.h"
#include "platform/dialup_network.h"
#include "platform/input_journal.h"
#include "platform/message_box.h"
#include "platform/timers.h"

namespace ConnectionTest {
namespace {

constexpr const char* kBr = "\r\n";

// The test panel of the loaded dialog; every step first asks whether the dialog is still there.
class Report {
public:
    explicit Report(Setup& s) : m_setup(&s) {}
    bool alive() const { return !m_setup.isNull(); }
    Setup* setup() const { return m_setup.data(); }
    void replace(const std::string& text) {
        if (alive()) m_setup->txtTestResults->setPlainText(QString::fromStdString(text));
    }
    void append(const std::string& text) {
        if (!alive()) return;
        m_setup->txtTestResults->setPlainText(m_setup->txtTestResults->toPlainText() + QString::fromStdString(text));
    }
    void caretToEnd() {
        if (!alive()) return;
        m_setup->txtTestResults->moveCursor(QTextCursor::End);
        m_setup->txtTestResults->ensureCursorVisible();
    }
    // A pause that keeps the window working; false when the dialog went meanwhile.
    bool pause(float seconds) {
        modTLMain::Wait_Seconds(seconds);
        return alive();
    }
    // The phone-book test goes on: the dialog is there and the test was not ended.
    bool running() const { return alive() && m_setup->DialTestRunning; }
    void stopRunning() {
        if (alive()) m_setup->DialTestRunning = 0;
    }

private:
    QPointer<Setup> m_setup;
};

void showTestPanel(Setup& s) {
    s.TabFrame2->hide();
    s.TestFrame->show();
    s.TestFrame->raise();
}

// Dials the chosen connection and waits (yielding) for the answer.
int dialAndWait() {
    auto code = std::make_shared<int>(-1);
    modRAS::RAS_Dial([code](int r) { *code = r; });
    if (!platform::timers().waitUntil([code] { return *code >= 0; }, 120000)) {
        platform::dialupNetwork().cancelDial();
        return platform::kDialNoAnswer;
    }
    return *code;
}

void hangUpAndWait() {
    auto done = std::make_shared<bool>(false);
    modRAS::Hang_Up_All(modRAS::HangUpScope::AllDial, [done] { *done = true; });
    platform::timers().waitUntil([done] { return *done; }, 600000);
}

std::string dialFailureText(int code) {
    switch (code) {
        case 621:
        case 622:
        case 623: return "Phone Book Error!";
        case 668: return "Connection Dropped";
        case 676: return "Line is Busy!";
        case 678: return "No Answer!";
        case 679: return "No Carrier!";
        case 680: return "No Dial Tone!";
        default: return "Unknown Error! - " + std::to_string(code);
    }
}

long secondsOfDay() {
    const QTime t = platform::clock().now().time();
    return (t.msecsSinceStartOfDay() + 500) / 1000;
}

void defaultConnectionTest(Setup& s) {
    Report r(s);
    showTestPanel(s);
    r.replace(std::string("Testing Default Internet Explorer Connection.... ") + kBr);
    r.append(std::string("Dialing Connection.... ") + kBr);
    const long before = secondsOfDay();
    platform::timers().doEvents();
    auto answer = std::make_shared<int>(-1);
    modRAS::Internet_Autodial([answer](bool connected) { *answer = connected ? 1 : 0; });
    platform::timers().waitUntil([answer] { return *answer >= 0; }, (modRAS::kAutodialTimeoutSecs + 10) * 1000L);
    const long after = secondsOfDay();
    if (*answer != 1) return r.append(std::string("Failed to Connect, End Test") + kBr);
    r.append(std::string("Connection Established....") + kBr);
    // An answer within the same second: the line was up already, and it stays up.
    if (before == after) return;
    if (!r.pause(3)) return;
    r.append(std::string("Test Completed! Disconnecting in 10 Seconds!") + kBr);
    if (!r.pause(10)) return;
    hangUpAndWait();
}

void phoneBookTest(Setup& s) {
    Report r(s);
    showTestPanel(s);
    s.DialTestRunning = -1;
    auto dun = [](const char* key) { return modTLC::Get_Config_Value("DUN", key, ""); };
    const std::string entry = dun("ConName");
    if (entry.empty()) {
        r.replace(std::string("Error! No Dialup Connection Found!") + kBr);
        r.stopRunning();
        return;
    }
    r.replace("Testing Connection: " + entry + kBr + kBr);
    if (!r.pause(2)) return;
    std::string user = dun("Username"), password = dun("Password"), phone = dun("Phone");
    r.append("Username: " + (user.empty() ? std::string("Missing") : user) + kBr);
    if (!r.pause(2) || !r.running()) return;
    r.append(std::string(password.empty() ? "Password: Missing" : "Password: OK") + kBr);
    if (!r.pause(2) || !r.running()) return;
    r.append(phone.empty() ? std::string("Phone: Missing") + kBr : "Phone: " + phone + kBr + kBr);
    if (!r.pause(2) || !r.running()) return;
    const std::string status = dun("DefaultStatus");
    const auto statusOn = [](const std::string& v) { return vb::IsNumeric(v) && vb::Val(v) != 0; };
    if (user.empty() || password.empty() || phone.empty() || (vb::IsNumeric(status) && vb::Val(status) == 1)) {
        r.append(std::string(kBr) + "Missing Dialing Information for this " + kBr + "Connection or Defaults are Enabled! " +
                 kBr + "Will Try Defaults............" + kBr + kBr);
        if (!r.pause(6) || !r.running()) return;
        user = dun("DefaultUser");
        password = dun("DefaultPassword");
        phone = dun("DefaultPhone");
        if (user.empty() || password.empty() || phone.empty() || !statusOn(dun("DefaultStatus"))) {
            r.append(std::string("Defaults Not Setup and/or Enabled!") + kBr + kBr);
            if (!r.pause(2) || !r.running()) return;
            r.append(std::string("Please exit test mode and ") + "setup defaults for this " + kBr +
                     "connnection. Repeat test." + kBr + kBr);
            r.append("End Test.....");
            r.stopRunning();
            return;
        }
        r.append("Default Username: " + user + kBr);
        if (!r.pause(2) || !r.running()) return;
        r.append(std::string("Default Password: OK") + kBr);
        if (!r.pause(2) || !r.running()) return;
        r.append("Default Phone: " + phone + kBr + kBr);
        if (!r.pause(2) || !r.running()) return;
    }
    r.append("Dialing: " + entry + kBr + "Please wait............" + kBr + kBr);
    if (!r.pause(1)) return;
    int code = dialAndWait();
    if (code == 668) {
        hangUpAndWait();
        code = dialAndWait();
    }
    if (!r.alive()) return;
    if (code > 0) {
        r.append("Disconnecting - " + dialFailureText(code) + kBr);
        hangUpAndWait();
        r.append(std::string("End Test.........") + kBr);
        r.stopRunning();
        r.caretToEnd();
        return;
    }
    r.append(std::string("Connection Established!") + kBr + kBr);
    r.caretToEnd();
    if (!r.pause(5)) return;
    r.append(std::string("Disconnecting in 10 Seconds!") + kBr + kBr);
    r.stopRunning();
    if (!r.pause(10)) return;
    hangUpAndWait();
    r.append(std::string("End Test.........") + kBr);
    r.caretToEnd();
}

void setWindowsVisible(bool on) {
    if (on) {
        TLMainLink::window().setVisible(true);
        if (Setup* s = Setup::Loaded()) s->show();
    } else {
        if (Setup* s = Setup::Loaded()) s->hide();
        TLMainLink::window().setVisible(false);
    }
}

void macroReplay() {
    if (!SysHook::Load_Connect_Macro()) return;
    setWindowsVisible(false);
    SysHook::Play_Macro([] { setWindowsVisible(true); });
}

}  // namespace

void Play_Click() {
    // One test at a time: a press while one runs (its pauses let the window work) does nothing.
    static bool testing = false;
    if (testing) return;
    testing = true;
    Setup& s = Setup::instance();
    if (s.ADType[0]->isChecked()) defaultConnectionTest(s);
    else if (s.ADType[1]->isChecked()) phoneBookTest(s);
    else if (s.ADType[3]->isChecked()) macroReplay();
    testing = false;
}

void RecordCmd_Click() {
    Setup& s = Setup::instance();
    if (s.RecordCmd->text() == "Record") {
        if (!platform::inputJournal().available()) {
            platform::MsgBox(kRecordUnavailable, platform::vbOKOnly | platform::vbInformation | platform::vbSystemModal);
            return;
        }
        setWindowsVisible(false);
        SysHook::Start_Macro_Recording([] { setWindowsVisible(true); });
        return;
    }
    s.hide();
    DefaultDial::Show_DefaultDial();
}

}  // namespace ConnectionTest
