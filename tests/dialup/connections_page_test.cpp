// The options dialog's Connections page with the dial-up line behind it: the timing boxes, the
// entry list and choice, the connection test, the buttons and the default dial account.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QApplication>
#include <QKeyEvent>
#include <functional>

#include "../options/setup_fixture.h"
#include "dialup/connection_test.h"
#include "dialup/default_dial.h"
#include "dialup_fixture.h"

namespace dialtest {
namespace {

class Page : public setuptest::SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        DialupFixture_reset();
    }
    void TearDown() override {
        if (DefaultDial* d = DefaultDial::loaded()) d->cmdCancel_Click();
        window.sync.setEnabled(false);
        window.hangup.setEnabled(false);
        DialupFixture_reset();
        SetupFixture::TearDown();
    }
    static void DialupFixture_reset() {
        modRAS::ResetDialStateForTests();
        modRAS::ResetSequenceForTests();
        SysHook::ResetForTests();
        TLMainState::MinuteWarningGiven = 0;
        TLMainState::DownloadBusy = 0;
    }
    // The report without its CR characters.
    static std::string report(::Setup& s) {
        std::string t = s.txtTestResults->toPlainText().toStdString();
        std::erase(t, '\r');
        return t;
    }
    ::Setup& openWithType(int type) {
        ::Setup& s = open();
        s.ADType[static_cast<size_t>(type)]->click();
        return s;
    }
    static void chooseOffice(const std::string& phone = "5551234") {
        set("DUN", "ConName", "Office");
        set("DUN", "Username", "joe");
        set("DUN", "Password", "s3cret");
        set("DUN", "Phone", phone);
    }

    testsupport::RecordingStatusLine status;
    FakeNetwork network;
    FakeJournal journal;
    FakeDialWindow window;
};

TEST_F(Page, TimingBoxesTakeNumbersWithinTheirRangesOnly) {
    ::Setup& s = open();
    QLineEdit* edits[] = {s.ConnectTimeBox, s.HangupTimeBox, s.RetryTimeBox, s.MaxAttemptsBox};
    const char* keys[] = {"ConnectTime", "HangupTime", "RetryDialTime", "MaxAttempts"};
    auto leave = [&s](int i) {
        switch (i) {
            case 0: s.Connecttimebox_LostFocus(); break;
            case 1: s.HangupTimeBox_LostFocus(); break;
            case 2: s.RetryTimeBox_LostFocus(); break;
            default: s.MaxAttemptsBox_LostFocus(); break;
        }
    };
    struct Case {
        int box;
        const char* typed;
        const char* message;  // "" when the entry is taken
    };
    const Case cases[] = {
        {0, "60", ""},
        {0, "5", ""},
        {0, "61", "Error: Auto Dial Time Range is 5-60 Minutes"},
        {0, "4", "Error: Auto Dial Time Range is 5-60 Minutes"},
        {0, "abc", "Not Valid Time Entry"},
        {0, "", "Not Valid Time Entry"},
        {1, "0", "Error: Hangup Time Range is 1-60 Minutes"},
        {2, "100", "Error: Wait Time Range is 1-99 Seconds"},
        {3, "1", ""},
        {3, "99", ""},
        {3, "0", "Error: Re-Dial Attempts Range is 1-99"},
        {3, "100", "Error: Re-Dial Attempts Range is 1-99"},
    };
    for (const Case& c : cases) {
        set("Options", keys[c.box], "7");
        edits[c.box]->setText(c.typed);
        boxes.clear();
        leave(c.box);
        const std::string stored = value("Options", keys[c.box]);
        if (*c.message) {
            ASSERT_EQ(boxes.texts().size(), 1u) << c.typed;
            EXPECT_EQ(boxes.texts()[0], c.message) << c.typed;
            EXPECT_TRUE(edits[c.box]->text().isEmpty()) << c.typed;
            EXPECT_EQ(stored, "7") << c.typed;
        } else {
            EXPECT_TRUE(boxes.texts().empty()) << c.typed;
            EXPECT_EQ(stored, c.typed) << c.typed;
        }
    }
}

TEST_F(Page, AFractionIsStoredAsTypedAndUsedRoundedHalfToEven) {
    ::Setup& s = open();
    const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"2.4", 2}, {"2.6", 3}};
    for (const auto& [typed, used] : cases) {
        s.HangupTimeBox->setText(typed);
        s.HangupTimeBox_LostFocus();
        EXPECT_EQ(value("Options", "HangupTime"), typed);
        EXPECT_EQ(modRAS::HangupTimeMins, used) << typed;
    }
}

TEST_F(Page, EntriesWithoutADialableAccountAreMarkedAndChoosingOneStoresItsAccount) {
    network.entries = {{"Office", "gsm", "joe", "pw", "*99#"},
                       {"Home DSL", "pppoe", "me", "pw2", ""},
                       {"Spare", "cdma", "", "", "#777"}};
    set("DUN", "Conidx", "1");
    ::Setup& s = open();
    modRAS::Load_DUN_Entries(*s.DUNConn);
    ASSERT_EQ(s.DUNConn->count(), 3);
    EXPECT_EQ(s.DUNConn->itemText(0), "Office");
    EXPECT_EQ(s.DUNConn->itemText(1), "Home DSL");
    EXPECT_EQ(s.DUNConn->itemText(2), "?? - Spare");
    EXPECT_EQ(s.DUNConn->currentIndex(), 1);

    modRAS::Choose_DUN_Entry("?? - Spare", 2);
    EXPECT_EQ(value("DUN", "ConName"), "Spare");
    EXPECT_EQ(value("DUN", "Conidx"), "2");
    EXPECT_EQ(value("DUN", "Username"), "");
    EXPECT_EQ(value("DUN", "Phone"), "#777");
    modRAS::Choose_DUN_Entry("Office", 0);
    EXPECT_EQ(value("DUN", "Username"), "joe");
    EXPECT_EQ(value("DUN", "Password"), "pw");
    EXPECT_EQ(value("DUN", "Phone"), "*99#");
}

TEST_F(Page, NoConnectionManagerListsNoConnectionsAvailableWhichIsNoChoice) {
    network.listCode = platform::kDialNoService;
    ::Setup& s = open();
    modRAS::Load_DUN_Entries(*s.DUNConn);
    ASSERT_EQ(s.DUNConn->count(), 1);
    EXPECT_EQ(s.DUNConn->itemText(0), "No Connections Available");
    set("DUN", "ConName", "Office");
    modRAS::Choose_DUN_Entry("No Connections Available", 0);
    EXPECT_EQ(value("DUN", "ConName"), "Office") << "the placeholder is no connection to dial";
}

TEST_F(Page, PhoneBookTestWithoutAnEntryReportsItAndDialsNothing) {
    ::Setup& s = openWithType(1);
    ConnectionTest::Play_Click();
    EXPECT_EQ(report(s), "Error! No Dialup Connection Found!\n");
    EXPECT_TRUE(network.dials.empty());
    EXPECT_FALSE(s.DialTestRunning);
    EXPECT_FALSE(s.TestFrame->isHidden());
}

TEST_F(Page, PhoneBookTestDialsAnEntryWithItsOwnAccountAndHangsUp) {
    chooseOffice();
    ::Setup& s = openWithType(1);
    ConnectionTest::Play_Click();
    EXPECT_EQ(report(s), "Testing Connection: Office\n\nUsername: joe\nPassword: OK\nPhone: 5551234\n\n"
                         "Dialing: Office\nPlease wait............\n\nConnection Established!\n\n"
                         "Disconnecting in 10 Seconds!\n\nEnd Test.........\n");
    EXPECT_EQ(network.dials.size(), 1u);
    EXPECT_EQ(network.hungUp, std::vector<std::string>{"Office"});
    EXPECT_EQ(report(s).find("s3cret"), std::string::npos);
}

TEST_F(Page, PhoneBookTestFallsBackToTheDefaultsOrEndsWithoutThem) {
    chooseOffice("");
    set("DUN", "DefaultUser", "dflt");
    set("DUN", "DefaultPassword", "dpw");
    set("DUN", "DefaultPhone", "5550000");
    set("DUN", "DefaultStatus", "1");
    ::Setup& s = openWithType(1);
    ConnectionTest::Play_Click();
    std::string r = report(s);
    EXPECT_NE(r.find("Phone: Missing\n\nMissing Dialing Information for this \nConnection or Defaults are Enabled! \n"
                     "Will Try Defaults............\n\nDefault Username: dflt\nDefault Password: OK\n"
                     "Default Phone: 5550000\n\nDialing: Office"),
              std::string::npos)
        << r;
    EXPECT_EQ(network.dials.size(), 1u);

    set("DUN", "DefaultStatus", "0");
    network.dials.clear();
    ConnectionTest::Play_Click();
    r = report(s);
    EXPECT_NE(r.find("Defaults Not Setup and/or Enabled!\n\nPlease exit test mode and setup defaults for this \n"
                     "connnection. Repeat test.\n\nEnd Test....."),
              std::string::npos)
        << r;
    EXPECT_EQ(r.substr(r.size() - 13), "End Test.....");
    EXPECT_TRUE(network.dials.empty());
}

TEST_F(Page, PhoneBookTestReportsDialFailuresInWords) {
    chooseOffice();
    ::Setup& s = openWithType(1);
    const std::pair<int, const char*> cases[] = {{676, "Disconnecting - Line is Busy!"},
                                                 {691, "Disconnecting - Unknown Error! - 691"},
                                                 {621, "Disconnecting - Phone Book Error!"}};
    for (const auto& [code, text] : cases) {
        network.codes = {code};
        ConnectionTest::Play_Click();
        const std::string r = report(s);
        EXPECT_NE(r.find(std::string(text) + "\nEnd Test.........\n"), std::string::npos) << r;
    }
}

TEST_F(Page, ExitTestModeDuringAPauseEndsTheTestBeforeItsNextLine) {
    chooseOffice();
    ::Setup& s = openWithType(1);
    platform::Timer exit([&s] { s.cmdExitTest->click(); });
    exit.setInterval(3000);  // during the pause after the user-name line
    exit.setEnabled(true);
    ConnectionTest::Play_Click();
    exit.setEnabled(false);
    const std::string r = report(s);
    EXPECT_NE(r.find("Username: joe"), std::string::npos);
    EXPECT_EQ(r.find("Password"), std::string::npos);
    EXPECT_TRUE(network.dials.empty());
    EXPECT_TRUE(s.TestFrame->isHidden());
}

TEST_F(Page, DefaultConnectionTestReportsAnExistingConnectionAndHangsUpNothing) {
    network.up = {"Office"};
    ::Setup& s = openWithType(0);
    network.defaultMs = 1;  // the line was up already: the answer comes within the second
    ConnectionTest::Play_Click();
    EXPECT_EQ(report(s), "Testing Default Internet Explorer Connection.... \nDialing Connection.... \n"
                         "Connection Established....\n");
    EXPECT_TRUE(network.hungUp.empty());

    network.defaultMs = 3000;
    ConnectionTest::Play_Click();
    EXPECT_NE(report(s).find("Test Completed! Disconnecting in 10 Seconds!"), std::string::npos);
    EXPECT_EQ(network.hungUp, std::vector<std::string>{"Office"});

    network.defaultConnects = false;
    ConnectionTest::Play_Click();
    EXPECT_NE(report(s).find("Failed to Connect, End Test"), std::string::npos);
}

TEST_F(Page, PlaybackWithoutAMacroDoesNothingAndRecordSaysWhenItIsUnavailable) {
    ::Setup& s = openWithType(3);
    EXPECT_EQ(s.Play->text(), "Playback");
    ConnectionTest::Play_Click();
    EXPECT_FALSE(s.isHidden());
    EXPECT_FALSE(data.exists(SysHook::kMacroFile));

    journal.isAvailable = false;
    ASSERT_EQ(s.RecordCmd->text(), "Record");
    ConnectionTest::RecordCmd_Click();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], ConnectionTest::kRecordUnavailable);
    EXPECT_FALSE(s.isHidden());
}

TEST_F(Page, DefaultDialAccountIsSavedOnlyWhenCompleteAndNeverShowsThePassword) {
    ::Setup& s = openWithType(1);
    ASSERT_EQ(s.RecordCmd->text(), "Default");
    ConnectionTest::RecordCmd_Click();
    DefaultDial* d = DefaultDial::loaded();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(s.isHidden());
    EXPECT_EQ(d->txtPassword->echoMode(), QLineEdit::Password);

    d->txtUsername->setText("dflt");
    d->txtPhone->setText("5550000");
    d->cmdOK_Click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Missing Password...."});
    EXPECT_EQ(value("DUN", "DefaultUser"), "<none>");

    d->txtPassword->setText("dpw");
    d->cmdOK_Click();
    EXPECT_EQ(value("DUN", "DefaultUser"), "dflt");
    EXPECT_EQ(value("DUN", "DefaultPassword"), "dpw");
    EXPECT_EQ(value("DUN", "DefaultStatus"), "0");
    EXPECT_FALSE(s.isHidden());
    EXPECT_EQ(DefaultDial::loaded(), nullptr);

    ConnectionTest::RecordCmd_Click();
    d = DefaultDial::loaded();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->txtUsername->text(), "dflt");
    d->txtUsername->setText("someone else");
    d->cmdCancel_Click();
    EXPECT_EQ(value("DUN", "DefaultUser"), "dflt");
}

// Every way out of the default dial account dialog shows the options dialog again: its close box
// and Esc as Cancel (nothing saved), Enter in a box as OK.
TEST_F(Page, DefaultDialClosedAnyWayShowsTheOptionsDialogAgain) {
    ::Setup& s = openWithType(1);
    const auto key = [](QWidget* w, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    };
    const struct {
        const char* what;
        std::function<void(DefaultDial&)> leave;
        const char* savedUser;
    } cases[] = {
        {"the close box", [](DefaultDial& d) { d.close(); }, "<none>"},
        {"Esc", [key](DefaultDial& d) { key(d.txtUsername, Qt::Key_Escape); }, "<none>"},
        {"Enter in a box", [key](DefaultDial& d) { key(d.txtPhone, Qt::Key_Return); }, "dflt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ConnectionTest::RecordCmd_Click();
        DefaultDial* d = DefaultDial::loaded();
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(s.isHidden());
        d->txtUsername->setText("dflt");
        d->txtPassword->setText("dpw");
        d->txtPhone->setText("5550000");
        c.leave(*d);
        EXPECT_FALSE(s.isHidden());
        EXPECT_EQ(DefaultDial::loaded(), nullptr);
        EXPECT_EQ(value("DUN", "DefaultUser"), c.savedUser);
    }
}

}  // namespace
}  // namespace dialtest
