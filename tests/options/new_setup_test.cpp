// The first-run wizard on a fresh data folder: its steps, the user entry, the three checks against
// the fake service and a fake clock keeper, and Done.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <memory>

#include "fake_clock.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/cipher.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "options/new_setup.h"
#include "options/new_setup_checks.h"
#include "platform/message_box.h"
#include "recording_main_window.h"
#include "service/wininet.h"
#include "users_fixture.h"

using optionstest::UsersFixture;
using testsupport::FakeService;
using testsupport::FakeSignIn;
using testsupport::SignInAnswer;

namespace {

// The clock keeper as the wizard reaches it.
class FakeClockCheck final : public SetupChecks::ClockCheck {
public:
    bool Sync_Clock_From_First_Server() override {
        ++syncs;
        if (during) during();
        return succeeds;
    }
    bool succeeds = true;
    int syncs = 0;
    std::function<void()> during;  // what the user does while the clock is set
};

class NewSetupTest : public UsersFixture {
protected:
    void SetUp() override {
        UsersFixture::SetUp();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        modTLMain::FirstRunSetup = 1;
        fake.useForClient();
        SetupChecks::setClockCheck(&clockCheck);
        NewSetup::SetShowMainWindow([this] { ++mainWindowShows; });
        // Start-up loads the wizard hidden; its timer loads the (empty) store.
        NewSetup::instance();
        time.advanceMs(50);
        wizard().show();
    }
    void TearDown() override {
        NewSetup::Unload();
        Messages::UnloadShared();
        QApplication::processEvents();
        NewSetup::SetShowMainWindow({});
        SetupChecks::setClockCheck(nullptr);
        fake.stop();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        UsersFixture::TearDown();
    }
    static NewSetup& wizard() { return NewSetup::instance(); }
    void enter(const char* id, const char* password, const char* confirm) {
        wizard().UsersIDBox->setText(id);
        wizard().UsersPassBox->setText(password);
        wizard().UsersConfirmBox->setText(confirm);
    }
    // From the welcome through the user entry and the introduction to the end of a check run.
    void runChecks(const char* id = "  Newbie ", const char* password = "pw 1") {
        wizard().NextBtn_Click();
        enter(id, password, password);
        wizard().NextBtn_Click();
        ASSERT_EQ(wizard().shownStep(), 2);
        wizard().NextBtn_Click();
        ASSERT_EQ(wizard().shownStep(), 3);
    }
    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : std::string(); }
    bool logged(const std::string& text) const { return opLog().find(" - " + text + "\r\n") != std::string::npos; }
    std::string savedConfig() const {
        return modAHM::Crypt_String(data.read("tl2cf.dat"), modTLC::Config_Phrase(), false);
    }

    testsupport::FakeTime time;
    FakeService fake;
    FakeClockCheck clockCheck;
    testsupport::RecordingStatusLine status;
    int mainWindowShows = 0;
};

TEST_F(NewSetupTest, StepsAndUserEntryChecks) {
    EXPECT_EQ(modTLMain::ConfigLoaded, 1);
    EXPECT_EQ(wizard().windowTitle().toStdString(), "Tolvane Rerode II New Installation Setup");
    EXPECT_EQ(wizard().shownStep(), 0);
    EXPECT_FALSE(wizard().BackBtn->isEnabled());
    EXPECT_EQ(wizard().heading(), "");
    wizard().NextBtn_Click();
    EXPECT_EQ(wizard().shownStep(), 1);
    EXPECT_TRUE(wizard().BackBtn->isEnabled());

    for (const auto& c : optionstest::kRefusedEntries) {
        boxes.clear();
        enter(c.id, c.password, c.confirm);
        wizard().NextBtn_Click();
        ASSERT_EQ(boxes.shown().size(), 1u) << c.id << "/" << c.password;
        EXPECT_EQ(boxes.shown()[0].text, c.message) << c.id << "/" << c.password;
        EXPECT_EQ(boxes.shown()[0].style, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
        EXPECT_EQ(boxes.shown()[0].title, "Tolvane Rerode II");
        EXPECT_EQ(wizard().wizardStep(), 1);
        EXPECT_EQ(wizard().shownStep(), 1);
    }
    boxes.clear();
    enter("newbie", "pw", "pw");
    wizard().NextBtn_Click();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(wizard().shownStep(), 2);
    EXPECT_EQ(modTLC::Get_Section_Keys("Users").size(), 0u) << "nothing is stored before the checks";

    wizard().BackBtn_Click();
    wizard().BackBtn_Click();
    EXPECT_EQ(wizard().shownStep(), 0);
    EXPECT_FALSE(wizard().BackBtn->isEnabled());
}

// Enter is Next wherever the focus is, and each step opens with the cursor in its first input
// (Next where the step has none).
TEST_F(NewSetupTest, EnterIsNextAndEachStepHasTheCursorInItsFirstInput) {
    const auto pressEnter = [] {
        QWidget* target = wizard().focusWidget() ? wizard().focusWidget() : &wizard();
        QKeyEvent enterKey(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(target, &enterKey);
    };
    EXPECT_EQ(wizard().focusWidget(), wizard().NextBtn);
    pressEnter();
    ASSERT_EQ(wizard().shownStep(), 1);
    EXPECT_EQ(wizard().focusWidget(), wizard().UsersIDBox);
    enter("newbie", "pw", "pw");
    wizard().UsersConfirmBox->setFocus();
    pressEnter();  // from the last box
    ASSERT_EQ(wizard().shownStep(), 2);
    EXPECT_EQ(wizard().focusWidget(), wizard().NextBtn);
    wizard().BackBtn_Click();
    EXPECT_EQ(wizard().focusWidget(), wizard().UsersIDBox);
}

TEST_F(NewSetupTest, ConfirmationLabelShowsWhetherThePasswordsMatch) {
    wizard().NextBtn_Click();
    struct Step { const char* password; const char* confirm; long colour; };
    const Step steps[] = {{"", "abc", 0}, {"abc", "ab", 255}, {"abc", "abc", 40960}, {"abc", "", 0}, {"abc", "ABC", 255}};
    for (const auto& s : steps) {
        wizard().UsersPassBox->setText(s.password);
        wizard().UsersConfirmBox->setText(s.confirm);
        EXPECT_EQ(wizard().confirmColour(), s.colour) << s.password << "/" << s.confirm;
    }
    wizard().UsersPassBox->setText("x");
    EXPECT_EQ(wizard().confirmColour(), 255) << "the password box does not recolour";
}

// All three checks pass on the fakes; the run's 15 seconds of pauses pass on the fake clock.
TEST_F(NewSetupTest, ChecksOnTheFakesCompleteAndDoneStoresTheUserAndShowsTheMainWindow) {
    FakeSignIn::install(fake, SignInAnswer::MemberPages);
    const qint64 tickBefore = time.clock.tickMs();
    QElapsedTimer real;
    real.start();
    runChecks();
    EXPECT_GE(time.clock.tickMs() - tickBefore, 15000);
    EXPECT_LT(real.elapsed(), 10000) << "the pauses cost no real time";

    EXPECT_EQ(wizard().heading(), "All Checks Completed");
    for (int row = 1; row <= 3; ++row) {
        EXPECT_TRUE(wizard().rowShown(row)) << row;
        EXPECT_EQ(wizard().rowResult(row), 1) << row;
        EXPECT_FALSE(wizard().helpShown(row)) << row;
    }
    EXPECT_FALSE(wizard().rowShown(4));
    EXPECT_TRUE(wizard().BackBtn->isEnabled());
    EXPECT_TRUE(wizard().NextBtn->isEnabled());
    EXPECT_EQ(clockCheck.syncs, 1);
    EXPECT_EQ(UserState::CurrentUserID, "Newbie");
    EXPECT_EQ(value("Users", "Newbie"), "pw 1");
    EXPECT_EQ(value("Options", "LastUser"), "Newbie");
    EXPECT_NE(opLog().find(" - Checking Internet Connection 0."), std::string::npos) << opLog();
    EXPECT_NE(opLog().find(" - Connected\r\n"), std::string::npos) << opLog();

    wizard().NextBtn_Click();
    EXPECT_EQ(wizard().shownStep(), 4);
    EXPECT_EQ(wizard().NextBtn->text().toStdString(), "Done");
    // Back shows the last results; Next goes on without a new run.
    const size_t requests = fake.requestCount();
    wizard().BackBtn_Click();
    EXPECT_EQ(wizard().shownStep(), 3);
    EXPECT_EQ(wizard().NextBtn->text().toStdString(), "Next");
    EXPECT_EQ(wizard().heading(), "All Checks Completed");
    wizard().NextBtn_Click();
    EXPECT_EQ(wizard().shownStep(), 4);
    EXPECT_EQ(fake.requestCount(), requests);

    wizard().NextBtn_Click();  // Done
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(NewSetup::loaded());
    EXPECT_EQ(mainWindowShows, 1);
    EXPECT_EQ(modTLMain::FirstRunSetup, 0);
    const std::string saved = savedConfig();
    EXPECT_NE(saved.find("[Users]\r\nNewbie=pw 1\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("LastUser=Newbie\r\n"), std::string::npos) << saved;
}

TEST_F(NewSetupTest, NoInternetHaltsTheChecksAndKeepsTheUser) {
    modWinInet::Settings().connectTo = ":80:127.0.0.1:" + std::to_string(FakeService::closedPort()) +
                                       ";:443:127.0.0.1:" + std::to_string(FakeService::closedPort());
    modWinInet::Close_Session();
    runChecks();
    EXPECT_EQ(wizard().heading(), "Test Halted! Checks Require Internet.");
    EXPECT_EQ(wizard().rowResult(1), 0);
    EXPECT_TRUE(wizard().helpShown(1));
    EXPECT_FALSE(wizard().rowShown(2));
    EXPECT_FALSE(wizard().rowShown(3));
    EXPECT_EQ(clockCheck.syncs, 0);
    EXPECT_TRUE(wizard().BackBtn->isEnabled());
    EXPECT_TRUE(wizard().NextBtn->isEnabled());
    EXPECT_TRUE(logged("New Install Setup - Internet Connection Test Failed")) << opLog();
    EXPECT_TRUE(logged("Checking Internet Connection - No Internet Connection Detected")) << opLog();
    EXPECT_EQ(value("Users", "Newbie"), "pw 1");
    EXPECT_EQ(value("Options", "LastUser"), "Newbie");

    // Help on the row shows its text and does not wait.
    wizard().cmdHelp_Click(1);
    ASSERT_NE(Messages::Shared(), nullptr);
    EXPECT_EQ(Messages::Shared()->messageText(), NewSetup::HelpText(1));
    EXPECT_EQ(Messages::Shared()->titleText(), "Tolvane Rerode II");
    EXPECT_EQ(Messages::Shared()->buttonCaption(1), "OK");
    EXPECT_EQ(Messages::Shared()->messageFontSize(), 14);
    EXPECT_TRUE(Messages::Shared()->messageBold());
    EXPECT_EQ(NewSetup::HelpText(1).substr(0, 47), "Setup was not able to connect to the Internet\r\n");
    EXPECT_EQ(NewSetup::HelpText(5), "");

    // Back to the introduction and Next runs the checks again, with fresh rows.
    fake.useForClient();
    FakeSignIn::install(fake, SignInAnswer::MemberPages);
    wizard().BackBtn_Click();
    wizard().NextBtn_Click();
    EXPECT_EQ(wizard().heading(), "All Checks Completed");
    EXPECT_FALSE(wizard().helpShown(1));
}

// The typed user is taken back only when the service refused it; the run goes on either way.
TEST_F(NewSetupTest, SignInRefusalRemovesTheUserAndANoAnswerKeepsIt) {
    struct Case { const char* name; SignInAnswer answer; bool kept; };
    const Case cases[] = {
        {"refused", SignInAnswer::Refused, false},
        {"no answer", SignInAnswer::NoResponse, true},
    };
    for (const auto& c : cases) {
        data.write("OperationLog.txt", "");
        FakeSignIn::install(fake, c.answer);
        if (wizard().wizardStep() == 3) wizard().BackBtn_Click();
        else runChecks("Newbie", "pw");
        if (wizard().wizardStep() == 2) wizard().NextBtn_Click();
        EXPECT_EQ(wizard().rowResult(2), 0) << c.name;
        EXPECT_TRUE(wizard().helpShown(2)) << c.name;
        EXPECT_EQ(wizard().rowResult(3), 1) << "the clock check still runs, " << c.name;
        EXPECT_EQ(wizard().heading(), "All Checks Completed") << c.name;
        EXPECT_TRUE(logged("New Install Setup - eBay Sign In Failed")) << c.name;
        EXPECT_EQ(value("Users", "Newbie"), c.kept ? "pw" : "<none>") << c.name;
        EXPECT_EQ(value("Options", "LastUser"), c.kept ? "Newbie" : "<none>") << c.name;
        EXPECT_EQ(UserState::CurrentUserID, "Newbie") << c.name;
    }
}

TEST_F(NewSetupTest, FailedClockSyncShowsItsHelp) {
    FakeSignIn::install(fake, SignInAnswer::MemberPages);
    clockCheck.succeeds = false;
    runChecks();
    EXPECT_EQ(wizard().rowResult(3), 0);
    EXPECT_TRUE(wizard().helpShown(3));
    EXPECT_EQ(wizard().heading(), "All Checks Completed");
    EXPECT_TRUE(logged("New Install Setup - Clock Sync Failed"));
    // The help names where the other time source is chosen.
    const std::string help = NewSetup::HelpText(3);
    EXPECT_NE(help.find("Try switching to eBay \r\ntime sync."), std::string::npos) << help;
    EXPECT_NE(help.find("Setup (Help menu, or \r\nthe toolbar), page \"Time Sync\": choose \"eBay\"."), std::string::npos)
        << help;
}

// The close box is refused while the checks run and is Done otherwise; Done without a stored user
// asks first.
TEST_F(NewSetupTest, CloseIsRefusedDuringTheChecksAndIsDoneAfterThem) {
    FakeSignIn::install(fake, SignInAnswer::Refused);
    bool openDuringRun = false;
    clockCheck.during = [&] {
        wizard().close();
        openDuringRun = NewSetup::loaded() && wizard().isVisible() && wizard().checkRunning();
    };
    runChecks();
    EXPECT_TRUE(openDuringRun);
    EXPECT_EQ(mainWindowShows, 0);
    EXPECT_TRUE(modTLC::Get_Section_Keys("Users").empty()) << "the refused user was taken back";

    boxes.answer(platform::vbNo);
    wizard().close();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "No User Stored! Continue?");
    EXPECT_EQ(boxes.shown()[0].style, platform::vbYesNo | platform::vbQuestion | platform::vbSystemModal);
    EXPECT_TRUE(NewSetup::loaded());
    EXPECT_TRUE(wizard().isVisible());
    EXPECT_EQ(mainWindowShows, 0);

    // The same question from Done on the last step; Yes finishes.
    wizard().NextBtn_Click();
    boxes.answer(platform::vbYes);
    wizard().NextBtn_Click();
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_FALSE(NewSetup::loaded());
    EXPECT_EQ(mainWindowShows, 1);
    EXPECT_EQ(modTLMain::FirstRunSetup, 0);
}

}  // namespace
