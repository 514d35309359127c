// The program's users: the gated switch that the tray menu and the options dialog share, the names
// and passwords the store can keep, and the login dialog at a gated last user's start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <functional>
#include <optional>

#include "options/login_form.h"
#include "options/users.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "users_fixture.h"

using optionstest::UsersFixture;

namespace {

// ---- The gated switch ----------------------------------------------------------------------------

struct SwitchCase {
    const char* name;
    const char* user;
    std::vector<std::string> answers;  // typed into the password question, in order
    bool switched;
    int questions;
    int wrongPasswordBoxes;
};

class GatedSwitchTest : public UsersFixture {};

TEST_F(GatedSwitchTest, AsksAGatedUsersPasswordUntilItIsRightOrGivenUp) {
    const SwitchCase cases[] = {
        {"no gate: no question", "bob", {}, true, 0, 0},
        {"right password", "alice", {"Secret1"}, true, 1, 0},
        {"wrong, then right", "alice", {"secret1", "Secret1"}, true, 2, 1},
        {"wrong, then given up", "alice", {"Secret", ""}, false, 2, 1},
        {"given up at once", "alice", {""}, false, 1, 0},
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        storeUsers("zed");
        UserState::CurrentUserID = "zed";
        window.caption = "before";
        boxes.clear();
        freshInputs();
        testsupport::ScriptedInputBoxes& answers = *inputs;
        for (const auto& a : c.answers) answers.answer(a);

        EXPECT_EQ(modUsers::Switch_User_Gated(c.user), c.switched) << c.name;

        ASSERT_EQ(answers.asked().size(), static_cast<size_t>(c.questions)) << c.name;
        for (const auto& q : answers.asked()) {
            EXPECT_EQ(q.prompt, "User Password Required...") << c.name;
            EXPECT_EQ(q.title, "Password Required") << c.name;
            EXPECT_TRUE(q.hidden) << "the typed password is not shown, " << c.name;
        }
        ASSERT_EQ(boxes.shown().size(), static_cast<size_t>(c.wrongPasswordBoxes)) << c.name;
        for (const auto& b : boxes.shown()) {
            EXPECT_EQ(b.text, "Invalid Password....") << c.name;
            EXPECT_EQ(b.style, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal) << c.name;
            EXPECT_EQ(b.title, "Tolvane Rerode II") << c.name;
        }
        if (c.switched) {
            EXPECT_EQ(UserState::CurrentUserID, c.user) << c.name;
            EXPECT_EQ(value("Options", "LastUser"), c.user) << c.name;
            EXPECT_EQ(window.caption, captionFor(c.user)) << c.name;
        } else {
            EXPECT_EQ(UserState::CurrentUserID, "zed") << c.name;
            EXPECT_EQ(value("Options", "LastUser"), "zed") << c.name;
            EXPECT_EQ(window.caption, "before") << c.name;
        }
    }
}

// ---- Names and passwords the store can keep ------------------------------------------------------

TEST(UserNames, AreTrimmedAndRefusedWithTheStoresOwnMarks) {
    struct Case { const char* typed; const char* cleaned; bool valid; };
    const Case cases[] = {
        {"  bob  ", "bob", true},      {"Mary Ann", "Mary Ann", true}, {"   ", "", false},
        {"a=b", "a=b", false},         {"[Options]", "[Options]", false}, {"x]", "x]", false},
        {"two\r\nlines", "two\r\nlines", false}, {"line\nbreak", "line\nbreak", false},
    };
    for (const auto& c : cases) {
        const std::string cleaned = modUsers::Clean_User_Name(c.typed);
        EXPECT_EQ(cleaned, c.cleaned) << c.typed;
        EXPECT_EQ(modUsers::Valid_User_Name(cleaned), c.valid) << c.typed;
    }
    for (const char* pw : {" lead", "trail ", " ", "  both  "}) EXPECT_TRUE(modUsers::Password_Has_Outer_Blank(pw)) << pw;
    for (const char* pw : {"", "in side", "x"}) EXPECT_FALSE(modUsers::Password_Has_Outer_Blank(pw)) << pw;
}

// ---- The login dialog ----------------------------------------------------------------------------

struct ProcessEnded {
    int code;
};

class LoginTest : public UsersFixture {
protected:
    void TearDown() override {
        Login::SetShowHookForTests({});
        platform::setExitHookForTests({});
        UsersFixture::TearDown();
    }
    // Starts as the main window's load does, the test playing the user in the dialog.
    void start(std::function<void(Login&)> play) {
        shown = false;
        Login::SetShowHookForTests([this, play](Login& dlg) {
            shown = true;
            entries = dlg.entries();
            selected = dlg.selectedEntry();
            play(dlg);
        });
        modUsers::Login_At_Start();
    }
    bool shown = false;
    std::vector<std::string> entries;
    std::string selected;
};

TEST_F(LoginTest, GatedLastUserLogsInWithTheExactPasswordOnly) {
    storeUsers("alice");
    modTLC::Set_Config_Value("Users", "zed", "z");
    start([this](Login& dlg) {
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Tolvane Rerode II Login");
        dlg.typePassword("secret1");  // another letter case
        dlg.LoginCmd_Click();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "Invalid Password!");
        EXPECT_EQ(boxes.shown()[0].title, "Invalid Password");
        EXPECT_EQ(boxes.shown()[0].style, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
        EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
        EXPECT_EQ(dlg.UsersPassBox->text().toStdString(), "secret1") << "with the typed text";
        dlg.typePassword("Secret1");
        dlg.LoginCmd_Click();
    });
    EXPECT_TRUE(shown);
    // The users and GUEST, alphabetical without regard to case; the last user chosen.
    EXPECT_EQ(entries, (std::vector<std::string>{"alice", "bob", "GUEST", "zed"}));
    EXPECT_EQ(selected, "alice");
    EXPECT_EQ(UserState::CurrentUserID, "alice");
    EXPECT_EQ(window.caption, captionFor("alice"));
    EXPECT_EQ(value("Options", "LastUser"), "alice");
}

// The store finds Alice as alice: so does the dialog, and the current user is spelled as stored.
TEST_F(LoginTest, LastUserInAnotherCaseFindsTheStoredUser) {
    storeUsers("Alice");
    start([](Login& dlg) {
        dlg.typePassword("Secret1");
        dlg.LoginCmd_Click();
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(selected, "alice");
    EXPECT_EQ(UserState::CurrentUserID, "alice");
}

TEST_F(LoginTest, AnUngatedEntryOrGuestIsTheLastUserAtOnceAndNeedsNoPassword) {
    for (const char* choice : {"bob", "GUEST"}) {
        modTLC::ResetForTests();
        storeUsers("alice");
        start([choice](Login& dlg) {
            dlg.chooseUser(choice);
            EXPECT_EQ(UserState::CurrentUserID, choice);
            EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastUser"), choice) << "at the choice";
            dlg.typePassword("anything");
            dlg.LoginCmd_Click();
        });
        EXPECT_EQ(UserState::CurrentUserID, choice);
        EXPECT_TRUE(boxes.shown().empty()) << choice;
    }
}

// A gated entry becomes current only with its password: choosing it changes nothing by itself.
TEST_F(LoginTest, ChoosingAGatedEntryDoesNotMakeItCurrent) {
    storeUsers("alice");
    modTLC::Set_Config_Value("Users", "carol", "c");
    modTLC::Set_Config_Value("LogIn", "carol", "1");
    start([this](Login& dlg) {
        dlg.chooseUser("bob");
        dlg.chooseUser("carol");
        EXPECT_EQ(UserState::CurrentUserID, "bob");
        EXPECT_EQ(value("Options", "LastUser"), "bob");
        dlg.typePassword("Secret1");  // alice's password is not carol's
        dlg.LoginCmd_Click();
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Invalid Password!"});
        EXPECT_EQ(UserState::CurrentUserID, "bob");
        dlg.typePassword("c");
        dlg.LoginCmd_Click();
    });
    EXPECT_EQ(UserState::CurrentUserID, "carol");
    EXPECT_EQ(value("Options", "LastUser"), "bob") << "a gated user is never written as the last user here";
}

TEST_F(LoginTest, AGatedUserWithAnEmptyStoredPasswordLogsInWithAnEmptyBox) {
    storeUsers("alice");
    modTLC::Set_Config_Value("Users", "alice", "");
    start([](Login& dlg) { dlg.LoginCmd_Click(); });
    EXPECT_EQ(UserState::CurrentUserID, "alice");
}

TEST_F(LoginTest, NoDialogForALastUserWithoutAGate) {
    storeUsers("bob");
    start([](Login&) { ADD_FAILURE() << "no dialog"; });
    EXPECT_FALSE(shown);
    EXPECT_EQ(UserState::CurrentUserID, "bob");
}

// Exit, and the window system's close, end the program there and then: nothing is saved, and the
// choice made in the dialog is lost with the rest.
TEST_F(LoginTest, ExitOrCloseEndsTheProgramWritingNothing) {
    for (bool byClose : {false, true}) {
        modTLC::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        storeUsers("alice");
        modTLC::Save_Config_File();
        const std::string saved = data.read("tl2cf.dat");
        platform::setExitHookForTests([](int code) { throw ProcessEnded{code}; });
        std::optional<int> ended;
        try {
            start([byClose](Login& dlg) {
                dlg.chooseUser("bob");  // the last user, in memory only
                if (byClose)
                    dlg.close();
                else
                    dlg.ExitCmd_Click();
            });
        } catch (const ProcessEnded& e) {
            ended = e.code;
        }
        ASSERT_TRUE(ended.has_value()) << "by close: " << byClose;
        EXPECT_EQ(*ended, 0);
        EXPECT_EQ(data.read("tl2cf.dat"), saved) << "by close: " << byClose;
        EXPECT_TRUE(window.caption.empty()) << "no main window caption was written";
        QApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->objectName() == "Login" && w->isVisible()) << "by close: " << byClose;
    }
}

}  // namespace
