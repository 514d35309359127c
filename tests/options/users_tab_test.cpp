// The Users page of the options dialog with its add-user and change-password dialogs: the two
// user lists, choosing, adding, deleting users, changing a password and testing a sign-in.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QFontMetrics>
#include <QFont>
#include <QCheckBox>
#include <QLineEdit>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/main_window_link.h"
#include "options/add_user_form.h"
#include "options/change_password_form.h"
#include "options/users.h"
#include "options/users_tab.h"
#include "platform/message_box.h"
#include "recording_main_window.h"
#include "service/cookie_jar.h"
#include "service/sign_in.h"
#include "service/wininet.h"
#include "users_fixture.h"

using optionstest::UsersFixture;
using testsupport::FakeService;
using testsupport::FakeSignIn;
using testsupport::Fault;
using testsupport::ScriptedResponse;
using testsupport::SignInAnswer;

namespace {

std::vector<std::string> entriesOf(const QComboBox* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->itemText(i).toStdString());
    return out;
}

// The page in a window of its own, with the Bid Groups page's user list beside it.
class UsersTabTest : public UsersFixture {
protected:
    void SetUp() override {
        UsersFixture::SetUp();
        dialog = std::make_unique<QWidget>();
        tab = new UsersTab(dialog.get());
        groupsList = new QComboBox(dialog.get());
        QObject::connect(groupsList, &QComboBox::currentIndexChanged, [this] { groupsShownFor.push_back(groupsList->currentText().toStdString()); });
        tab->setGroupsUserList(groupsList);
        tab->setLoadSetupGroups([this] { ++groupLoads; });
        tab->setLoadEmailSettings([this] { ++emailLoads; });
    }
    void TearDown() override {
        if (AddUser::loaded()) AddUser::loaded()->cmdAddUser_Click(1);
        if (ChgPass::loaded()) ChgPass::loaded()->cmdOK_Click(1);
        QApplication::processEvents();
        dialog.reset();
        UsersFixture::TearDown();
    }
    // The users, the current user, and the page filled as the dialog's load fills it.
    void open(const std::string& current) {
        storeUsers("bob");
        modTLC::Set_Config_Value("Users", "Carol", "c");
        UserState::CurrentUserID = current;
        tab->Load_Users();
        groupsShownFor.clear();
    }

    std::unique_ptr<QWidget> dialog;
    UsersTab* tab = nullptr;
    QComboBox* groupsList = nullptr;
    std::vector<std::string> groupsShownFor;
    int groupLoads = 0;
    int emailLoads = 0;
};

TEST_F(UsersTabTest, LoadFillsBothListsAndSelectsTheCurrentUser) {
    open("bob");
    const std::vector<std::string> sorted{"alice", "bob", "Carol"};
    EXPECT_EQ(tab->entries(), sorted);
    EXPECT_EQ(entriesOf(groupsList), sorted);
    EXPECT_EQ(tab->selectedEntry(), "bob");
    EXPECT_EQ(groupsList->currentIndex(), 1);
    EXPECT_EQ(groupLoads, 1);
    // Selecting the current user changes nothing.
    EXPECT_EQ(grid.gridLoads, 0);
    EXPECT_EQ(emailLoads, 0);
    EXPECT_TRUE(inputs->asked().empty());
    EXPECT_TRUE(tab->cmdChgPass->isEnabled());

    open("");
    EXPECT_EQ(tab->selectedEntry(), "");
    EXPECT_EQ(tab->listText(), "No User Selected");
    EXPECT_EQ(groupsList->currentIndex(), -1);
    EXPECT_FALSE(tab->cmdChgPass->isEnabled()) << "no current user: no password to change";
}

TEST_F(UsersTabTest, ChoosingAUserMakesItCurrentAfterAGatedUsersPassword) {
    struct Case {
        const char* name;
        const char* choice;
        const char* answer;  // nullptr: no question expected
        bool switched;
    };
    const Case cases[] = {
        {"no gate", "Carol", nullptr, true},
        {"gate, right password", "alice", "Secret1", true},
        {"gate, given up", "alice", "", false},
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        open("bob");
        grid.gridLoads = 0;
        emailLoads = 0;
        window.caption = "before";
        freshInputs();
        testsupport::ScriptedInputBoxes& answers = *inputs;
        if (c.answer) answers.answer(c.answer);
        tab->chooseUser(c.choice);
        EXPECT_EQ(answers.asked().size(), c.answer ? 1u : 0u) << c.name;
        if (c.switched) {
            EXPECT_EQ(UserState::CurrentUserID, c.choice) << c.name;
            EXPECT_EQ(value("Options", "LastUser"), c.choice) << c.name;
            EXPECT_EQ(window.caption, captionFor(c.choice)) << c.name;
            EXPECT_EQ(groupsList->currentText().toStdString(), c.choice) << c.name;
            EXPECT_EQ(groupsShownFor, std::vector<std::string>{c.choice}) << "its groups are shown, " << c.name;
            EXPECT_EQ(grid.gridLoads, 1) << c.name;
            EXPECT_EQ(emailLoads, 1) << c.name;
        } else {
            EXPECT_EQ(UserState::CurrentUserID, "bob") << c.name;
            EXPECT_EQ(value("Options", "LastUser"), "bob") << c.name;
            EXPECT_EQ(window.caption, "before") << c.name;
            EXPECT_EQ(tab->selectedEntry(), "") << "no entry stays selected, " << c.name;
            EXPECT_EQ(grid.gridLoads, 0) << c.name;
        }
    }
    // The entry that is already current: nothing happens, not even for a gated user.
    modTLC::ResetForTests();
    open("alice");
    tab->chooseUser("bob");
    inputs->answer("Secret1");
    tab->chooseUser("alice");
    EXPECT_EQ(UserState::CurrentUserID, "alice");
    const size_t asked = inputs->asked().size();
    tab->UserListbox_Click();
    EXPECT_EQ(inputs->asked().size(), asked);
}

// ---- Add New User --------------------------------------------------------------------------------

TEST_F(UsersTabTest, AddUserRefusesIncompleteOrUnusableEntries) {
    open("bob");
    tab->cmdAddUser_Click();
    ASSERT_NE(AddUser::loaded(), nullptr);
    AddUser& dlg = *AddUser::loaded();
    for (const auto& c : optionstest::kRefusedEntries) {
        boxes.clear();
        dlg.UsersIDBox->setText(c.id);
        dlg.UsersPassBox->setText(c.password);
        dlg.UsersConfirmBox->setText(c.confirm);
        dlg.cmdAddUser_Click(0);
        ASSERT_EQ(boxes.shown().size(), 1u) << c.id;
        EXPECT_EQ(boxes.shown()[0].text, c.message) << c.id;
        EXPECT_EQ(boxes.shown()[0].style, platform::vbOKOnly | platform::vbSystemModal) << c.id;
        EXPECT_EQ(AddUser::loaded(), &dlg) << "the dialog stays open, " << c.id;
    }
    EXPECT_EQ(value("Users", "dave"), "<none>");
    EXPECT_EQ(UserState::CurrentUserID, "bob");
}

TEST_F(UsersTabTest, AddUserStoresTheTrimmedLowerCaseIdAndMakesItCurrent) {
    for (bool gate : {false, true}) {
        modTLC::ResetForTests();
        open("bob");
        tab->cmdAddUser_Click();
        AddUser& dlg = *AddUser::loaded();
        dlg.UsersIDBox->setText("  Dave ");
        dlg.UsersPassBox->setText("pa ss");
        dlg.UsersConfirmBox->setText("pa ss");
        if (gate) dlg.ReqPassword->setChecked(true);
        dlg.cmdAddUser_Click(0);
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ(AddUser::loaded(), nullptr) << "closed";
        EXPECT_EQ(value("Users", "dave"), "pa ss");
        EXPECT_EQ(modTLC::Get_Section_Keys("Users").back(), "dave");
        EXPECT_EQ(value("LogIn", "dave"), gate ? "1" : "0");
        EXPECT_EQ(value("Options", "LastUser"), "dave");
        EXPECT_EQ(value("Categories", "General"), "1");
        EXPECT_EQ(UserState::CurrentUserID, "dave");
        EXPECT_EQ(window.caption, captionFor("dave"));
        const std::vector<std::string> sorted{"alice", "bob", "Carol", "dave"};
        EXPECT_EQ(tab->entries(), sorted);
        EXPECT_EQ(entriesOf(groupsList), sorted);
        EXPECT_EQ(tab->selectedEntry(), "dave");
        EXPECT_EQ(groupsList->currentText().toStdString(), "dave");
        EXPECT_EQ(grid.gridLoads, 0) << "the grid is not reloaded";
    }
}

// An ID that names a stored user in any letter case replaces it only when the user agrees, under
// the name it is stored as.
TEST_F(UsersTabTest, AddUserAsksBeforeReplacingAUser) {
    for (int answer : {platform::vbNo, platform::vbYes}) {
        modTLC::ResetForTests();
        open("bob");
        tab->cmdAddUser_Click();
        AddUser& dlg = *AddUser::loaded();
        dlg.UsersIDBox->setText("CAROL");
        dlg.UsersPassBox->setText("new");
        dlg.UsersConfirmBox->setText("new");
        boxes.clear();
        boxes.answer(answer);
        dlg.cmdAddUser_Click(0);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "User Carol Already Exists! Replace User?");
        EXPECT_EQ(boxes.shown()[0].style, platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2 |
                                              platform::vbSystemModal);
        if (answer == platform::vbNo) {
            EXPECT_EQ(value("Users", "Carol"), "c");
            EXPECT_EQ(UserState::CurrentUserID, "bob");
            EXPECT_EQ(AddUser::loaded(), &dlg) << "the dialog stays open";
            dlg.cmdAddUser_Click(1);
        } else {
            EXPECT_EQ(value("Users", "Carol"), "new");
            EXPECT_EQ(modTLC::Get_Section_Keys("Users"), (std::vector<std::string>{"bob", "alice", "Carol"}));
            EXPECT_EQ(value("LogIn", "Carol"), "0");
            EXPECT_EQ(UserState::CurrentUserID, "Carol");
            EXPECT_EQ(AddUser::loaded(), nullptr);
        }
    }
}

TEST_F(UsersTabTest, ConfirmationLabelColourAndGateBoxFollowTheConfirmation) {
    open("bob");
    tab->cmdAddUser_Click();
    AddUser& dlg = *AddUser::loaded();
    dlg.UsersConfirmBox->setText("x");  // typed before the password: nothing changes
    EXPECT_EQ(dlg.confirmColour(), 0);
    EXPECT_FALSE(dlg.ReqPassword->isEnabled());
    dlg.UsersPassBox->setText("pass");
    struct Step { const char* confirm; long colour; bool gateBox; };
    const Step steps[] = {{"pas", 255, false}, {"pass", 40960, true}, {"", 0, false}, {"PASS", 255, false},
                          {"pass", 40960, true}};
    for (const auto& s : steps) {
        dlg.UsersConfirmBox->setText(s.confirm);
        EXPECT_EQ(dlg.confirmColour(), s.colour) << s.confirm;
        EXPECT_EQ(dlg.ReqPassword->isEnabled(), s.gateBox) << s.confirm;
        EXPECT_EQ(dlg.LabConfirmPass->palette().color(QPalette::WindowText),
                  QColor(s.colour & 0xFF, (s.colour >> 8) & 0xFF, 0))
            << s.confirm;
    }
    dlg.UsersPassBox->setText("other");  // the password box does not recolour
    EXPECT_EQ(dlg.confirmColour(), 40960);
}

// ---- Change Password ----------------------------------------------------------------------------

TEST_F(UsersTabTest, ChangePasswordReplacesTheCurrentUsersPassword) {
    open("bob");
    tab->cmdChgPass_Click();
    ASSERT_NE(ChgPass::loaded(), nullptr);
    ChgPass& dlg = *ChgPass::loaded();
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Change bob Password");
    struct Case { const char* password; const char* confirm; const char* message; };
    const Case refused[] = {
        {"", "", "No User Password Entered...."},
        {" new", " new", "Password Can't Begin or End with a Blank!"},
        {"new", "New", "Error! Invalid Confirmation Password."},
    };
    for (const auto& c : refused) {
        boxes.clear();
        dlg.Text1[1]->setText(c.password);
        dlg.Text1[2]->setText(c.confirm);
        dlg.cmdOK_Click(0);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.message}) << c.password;
        EXPECT_EQ(ChgPass::loaded(), &dlg) << c.password;
        EXPECT_EQ(value("Users", "bob"), "b0b") << c.password;
    }
    boxes.clear();
    dlg.Text1[1]->setText("n3w");
    dlg.Text1[2]->setText("n3w");
    dlg.cmdOK_Click(0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Your Password has been Changed"});
    EXPECT_EQ(value("Users", "bob"), "n3w");
    EXPECT_EQ(value("LogIn", "bob"), "0") << "the gate is not touched";
    EXPECT_EQ(ChgPass::loaded(), nullptr);

    // Without a current user there is nothing to change: the button is off and opens nothing.
    open("");
    tab->cmdChgPass_Click();
    EXPECT_EQ(ChgPass::loaded(), nullptr);
}

// A key pressed in the dialog, where the user's keyboard sends it: to the box or button with the
// focus, and from there to the window.
void press(QWidget& dlg, int key) {
    QWidget* target = dlg.focusWidget() ? dlg.focusWidget() : &dlg;
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}

// The new password, Tab, the confirmation, then Enter (Change, the button drawn as the default)
// or a click on Change.
void typeAndChange(ChgPass& dlg, const QString& password, bool byEnter = true) {
    dlg.Text1[1]->setFocus();
    dlg.Text1[1]->setText(password);
    press(dlg, Qt::Key_Tab);
    EXPECT_EQ(dlg.focusWidget(), dlg.Text1[2]);
    dlg.Text1[2]->setText(password);
    if (byEnter)
        press(dlg, Qt::Key_Return);
    else
        dlg.cmdOK[0]->click();
}

// The dialog writes the password of the user it was opened for, whom its caption names, also when
// another user became current meanwhile by the user list; opened again, it is for the user current
// then, with empty boxes. A user deleted meanwhile gets no line again: Change says so.
TEST_F(UsersTabTest, ChangePasswordWritesTheUserItWasOpenedFor) {
    open("bob");
    dialog->show();
    tab->cmdChgPass->click();
    ChgPass* dlg = ChgPass::loaded();
    ASSERT_NE(dlg, nullptr);
    QApplication::setActiveWindow(dlg);
    EXPECT_TRUE(dlg->cmdOK[0]->isDefault()) << "Change is drawn as what Enter does";
    tab->chooseUser("Carol");
    ASSERT_EQ(UserState::CurrentUserID, "Carol");
    EXPECT_EQ(dlg->windowTitle().toStdString(), "Change bob Password");
    boxes.clear();
    typeAndChange(*dlg, "n3w", false);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Your Password has been Changed"});
    EXPECT_EQ(value("Users", "bob"), "n3w");
    EXPECT_EQ(value("Users", "Carol"), "c") << "never the user who became current";
    EXPECT_EQ(ChgPass::loaded(), nullptr);
    QApplication::processEvents();

    // Open for Carol with something typed; bob current again and Change Password once more.
    tab->cmdChgPass->click();
    dlg = ChgPass::loaded();
    ASSERT_NE(dlg, nullptr);
    dlg->Text1[1]->setText("half");
    tab->chooseUser("bob");
    tab->cmdChgPass->click();
    ASSERT_EQ(ChgPass::loaded(), dlg);
    EXPECT_EQ(dlg->windowTitle().toStdString(), "Change bob Password");
    EXPECT_TRUE(dlg->Text1[1]->text().isEmpty());
    QApplication::setActiveWindow(dlg);
    typeAndChange(*dlg, "again");
    EXPECT_EQ(value("Users", "bob"), "again");
    EXPECT_EQ(value("Users", "Carol"), "c");
    QApplication::processEvents();

    // Open for bob, bob deleted from the list meanwhile: refused, no line for bob again.
    tab->cmdChgPass->click();
    dlg = ChgPass::loaded();
    ASSERT_NE(dlg, nullptr);
    tab->DeleteUser->click();  // bob is selected; the question is answered Yes
    ASSERT_EQ(value("Users", "bob"), "<none>");
    boxes.clear();
    QApplication::setActiveWindow(dlg);
    typeAndChange(*dlg, "late");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"User bob No Longer Exists!"});
    EXPECT_EQ(value("Users", "bob"), "<none>");
    EXPECT_EQ(ChgPass::loaded(), dlg) << "the dialog stays for Cancel";
    press(*dlg, Qt::Key_Escape);
    EXPECT_EQ(ChgPass::loaded(), nullptr) << "Esc is Cancel";
}

// The title names the user the dialog writes: the window is wide enough for a title bar to show
// it whole, however long the name.
TEST_F(UsersTabTest, ChangePasswordIsWideEnoughForItsWholeTitle) {
    const std::string longName = "a_seller_with_a_rather_long_user_id_2026";
    storeUsers("bob");
    modTLC::Set_Config_Value("Users", longName, "x");
    for (const std::string& user : {std::string("bob"), longName}) {
        UserState::CurrentUserID = user;
        tab->Load_Users();
        tab->cmdChgPass->click();
        ChgPass* dlg = ChgPass::loaded();
        ASSERT_NE(dlg, nullptr);
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GT(dlg->width(), QFontMetrics(bold).horizontalAdvance(dlg->windowTitle())) << user;
        dlg->cmdOK_Click(1);
        QApplication::processEvents();
    }
}

// Enter in the add-user dialog's boxes is Add User, the button drawn as the default; Esc is Cancel
// and stores nothing.
TEST_F(UsersTabTest, AddUserTakesEnterAndEsc) {
    open("bob");
    dialog->show();
    tab->cmdAddUser->click();
    AddUser* dlg = AddUser::loaded();
    ASSERT_NE(dlg, nullptr);
    QApplication::setActiveWindow(dlg);
    dlg->UsersConfirmBox->setFocus();
    EXPECT_TRUE(dlg->cmdAddUser[0]->isDefault()) << "Add User is drawn as what Enter does";
    dlg->UsersIDBox->setText("dave");
    dlg->UsersPassBox->setText("pw");
    dlg->UsersConfirmBox->setText("pw");
    press(*dlg, Qt::Key_Return);
    EXPECT_EQ(AddUser::loaded(), nullptr) << "Enter added the user";
    EXPECT_EQ(value("Users", "dave"), "pw");
    QApplication::processEvents();

    tab->cmdAddUser->click();
    dlg = AddUser::loaded();
    ASSERT_NE(dlg, nullptr);
    QApplication::setActiveWindow(dlg);
    dlg->UsersIDBox->setFocus();
    dlg->UsersIDBox->setText("erin");
    press(*dlg, Qt::Key_Escape);
    EXPECT_EQ(AddUser::loaded(), nullptr) << "Esc is Cancel";
    EXPECT_EQ(value("Users", "erin"), "<none>");
    QApplication::processEvents();
}

// ---- Delete User --------------------------------------------------------------------------------

// The selected entry is deleted; the tray menu may have made another user current meanwhile.
TEST_F(UsersTabTest, DeleteUserRemovesTheUsersKeysAndCookies) {
    struct Case {
        const char* name;
        const char* current;   // when Delete is pressed
        const char* lastUser;
        bool lastUserGoes;
    };
    const Case cases[] = {
        {"another current and last user", "Carol", "Carol", false},
        {"the last user in another case", "Carol", "BOB", true},
        {"the current user", "bob", "bob", true},
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        open("bob");
        UserState::CurrentUserID = c.current;
        modTLC::Set_Config_Value("Options", "LastUser", c.lastUser);
        modWinInet::Store_Cookies("HTTP/1.1 200 OK\r\nSet-Cookie: s=1; path=/\r\n\r\n", "bob");
        modWinInet::Store_Cookies("HTTP/1.1 200 OK\r\nSet-Cookie: t=2; path=/\r\n\r\n", "Carol");
        window.caption = "before";
        boxes.clear();
        tab->DeleteUser_Click();
        ASSERT_EQ(boxes.shown().size(), 1u) << c.name;
        EXPECT_EQ(boxes.shown()[0].text, "Delete User - bob?") << c.name;
        EXPECT_EQ(boxes.shown()[0].title, "Delete User") << c.name;
        EXPECT_EQ(boxes.shown()[0].style, platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2 |
                                              platform::vbSystemModal)
            << c.name;
        EXPECT_EQ(value("Users", "bob"), "<none>") << c.name;
        EXPECT_EQ(value("LogIn", "bob"), "<none>") << c.name;
        EXPECT_EQ(value("Options", "LastUser"), c.lastUserGoes ? "<none>" : c.lastUser) << c.name;
        EXPECT_EQ(modWinInet::Get_Cookie_Header("bob"), "") << c.name;
        EXPECT_EQ(modWinInet::Get_Cookie_Header("Carol"), "Cookie: t=2\r\n") << "other users keep theirs, " << c.name;
        EXPECT_EQ(tab->entries(), (std::vector<std::string>{"alice", "Carol"})) << c.name;
        EXPECT_EQ(entriesOf(groupsList), (std::vector<std::string>{"alice", "Carol"})) << c.name;
        EXPECT_EQ(tab->selectedEntry(), "") << c.name;
        if (std::string(c.current) == "bob") {
            EXPECT_EQ(UserState::CurrentUserID, "") << c.name;
            EXPECT_EQ(window.caption, "Tolvane Rerode II  -  User:   -  Category:") << c.name;
            EXPECT_FALSE(tab->cmdChgPass->isEnabled()) << c.name;
        } else {
            EXPECT_EQ(UserState::CurrentUserID, c.current) << c.name;
            EXPECT_EQ(window.caption, "before") << c.name;
        }
    }
}

TEST_F(UsersTabTest, DeleteUserSaysWhenTheUserHasArmedBidsAndNoKeepsTheUser) {
    open("alice");
    addItem("alice", 10);
    addItem("alice", 5, "BidPending");
    addItem("alice", 0);               // no bid
    addItem("alice", 8, "Completed");  // done
    addItem("bob", 10);                // another user's
    boxes.answer(platform::vbNo);
    tab->DeleteUser_Click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "Delete User - alice?\r\n\r\nThis user has 2 armed bid(s), which can no longer be placed once the user "
              "is deleted.");
    EXPECT_EQ(value("Users", "alice"), "Secret1");
    EXPECT_EQ(tab->entries().size(), 3u);
}

// ---- Check User ID ------------------------------------------------------------------------------

class CheckUserIdTest : public UsersTabTest {
protected:
    void SetUp() override {
        UsersTabTest::SetUp();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        fake.useForClient();
    }
    void TearDown() override {
        fake.stop();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        UsersTabTest::TearDown();
    }
    testsupport::FakeTime time;
    FakeService fake;
    testsupport::FakeClipboard clipboard;
    testsupport::RecordingStatusLine status;
};

TEST_F(CheckUserIdTest, NeedsACurrentUserWithAPassword) {
    open("");
    tab->TestUserID_Click();
    open("bob");
    modTLC::Set_Config_Value("Users", "bob", "");
    tab->TestUserID_Click();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "        No User Selected!        ");
    EXPECT_EQ(boxes.shown()[0].style, platform::vbOKOnly | platform::vbSystemModal);
    EXPECT_EQ(boxes.shown()[1].text, "No User Password Found");
    EXPECT_EQ(boxes.shown()[1].style, platform::vbOKOnly);
    EXPECT_EQ(fake.requestCount(), 0u);
    EXPECT_TRUE(tab->labTestID->isHidden());
}

TEST_F(CheckUserIdTest, ReportsTheSignInsOutcome) {
    struct Case {
        const char* name;
        SignInAnswer answer;
        const char* label;
        const char* message;
        std::function<void()> arrange = {};  // after the answer is installed
    };
    const auto formAnswer = [this](ScriptedResponse r) {
        fake.route(FakeSignIn::signInHost(), "POST", modTLMain::kSignInPath, std::move(r));
    };
    ScriptedResponse serverError = ScriptedResponse::ok("<html><body>Internal Server Error</body></html>");
    serverError.status = 500;
    ScriptedResponse stall;
    stall.fault = Fault::StallBeforeHeaders;
    const Case cases[] = {
        {"signed in", SignInAnswer::MemberPages, "User ID/Password is OK!", nullptr},
        {"refused", SignInAnswer::Refused, "Checking User ID and Password",
         "User ID/Password Failed!\r\n\r\n"
         "Detailed information has been copied to your clipboard for review.\r\n"
         "To view this information, paste the information into any \r\n"
         "text program such as Notepad.\r\n"},
        // "No Internet Connection" only when there is none; any other failure says what failed.
        {"no connection", SignInAnswer::MemberPages, "Checking User ID and Password",
         "User ID/Password Failed!\r\n\r\nNo Internet Connection",
         [] { modWinInet::Settings().unknownHosts = {FakeSignIn::signInHost()}; }},
        {"connection dropped", SignInAnswer::NoResponse, "Checking User ID and Password",
         "User ID/Password Failed!\r\n\r\nConnection to eBay Failed - Error 12030"},
        {"server error", SignInAnswer::MemberPages, "Checking User ID and Password",
         "User ID/Password Failed!\r\n\r\neBay Server Error 500", [&] { formAnswer(serverError); }},
        {"no answer in time", SignInAnswer::MemberPages, "Checking User ID and Password",
         "User ID/Password Failed!\r\n\r\nNo Answer From eBay In Time",
         [&] {
             modWinInet::Settings().textStallMs = 300;
             formAnswer(stall);
         }},
    };
    for (const auto& c : cases) {
        open("bob");
        boxes.clear();
        clipboard.setText("");
        modWinInet::Settings().unknownHosts.clear();
        FakeSignIn::install(fake, c.answer);
        if (c.arrange) c.arrange();
        tab->TestUserID_Click();
        EXPECT_EQ(tab->labTestID->text().toStdString(), c.label) << c.name;
        EXPECT_FALSE(tab->labTestID->isHidden()) << c.name;
        EXPECT_EQ(boxes.texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.name;
        if (c.answer == SignInAnswer::Refused) {
            EXPECT_NE(clipboard.text().find("Error Page (Text Only) Follows"), std::string::npos) << c.name;
        }
        EXPECT_EQ(UserState::SignInTest, 0) << c.name;
        EXPECT_EQ(TLMainState::DownloadBusy, 0) << c.name;
    }
}

}  // namespace
