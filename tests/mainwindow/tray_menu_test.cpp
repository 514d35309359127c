// The tray icon's menu: built afresh from the settings at each show, the clipboard auto-add
// switch, showing and hiding the window, Exit, and the switch to another user with its
// password gate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_clipboard.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/user_state.h"
#include "items/categories.h"
#include "items/item_window_links.h"
#include "mainwindow/tray_menu.h"
#include "platform/message_box.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "scripted_input_boxes.h"
#include "scripted_popup_menus.h"

using namespace testsupport;
using Entry = ScriptedPopupMenus::Entry;

namespace {

class CaptionWindow final : public TLMainItems::ItemWindow {
public:
    void setMainCaption(const std::string& text) override { caption = text; }
    std::string caption;
};

class TrayMenu : public ::testing::Test {
protected:
    void SetUp() override {
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
        TLMainState::AutoAddOn = 0;
        TLMainItems::ResetCategoriesForTests();
        TLMainItems::CategoryNames = {"Default"};
        TLMainItems::CurrentCategoryIndex = 0;
        TLMainItems::setItemLink<TLMainItems::ItemWindow>(&captions);
    }
    void TearDown() override {
        TLMainItems::setItemLink<TLMainItems::ItemWindow>(nullptr);
        TLMainItems::ResetCategoriesForTests();
    }

    // Users alice (gated, password "Secret") and bob (no gate); bob is the last user.
    void twoUsers() {
        modTLC::Set_Config_Value("Users", "alice", "Secret");
        modTLC::Set_Config_Value("Users", "bob", "pw");
        modTLC::Set_Config_Value("LogIn", "alice", "1");
        modTLC::Set_Config_Value("LogIn", "bob", "0");
        modTLC::Set_Config_Value("Options", "LastUser", "bob");
        UserState::CurrentUserID = "bob";
    }

    // Shows the menu, chooses `id` (0: dismissed) and gives back the menu as it was shown.
    std::vector<Entry> choose(long id) {
        menus.answer(id);
        TLMainTray::AddLinkMenu([this] { ++exits; });
        EXPECT_FALSE(menus.shown().empty());
        return menus.shown().empty() ? std::vector<Entry>{} : menus.shown().back().entries;
    }

    RecordingWindow window;
    ScriptedPopupMenus menus;
    ScriptedInputBoxes inputs;
    ScriptedMessageBoxes boxes;
    FakeClipboard clipboard;
    CaptionWindow captions;
    int exits = 0;
};

TEST_F(TrayMenu, ShowsTheUsersTheAutoAddSwitchAndTheWindowEntry) {
    struct C {
        const char* autoAdd; int16_t windowState;
        bool autoAddTicked; const char* windowEntry;
    };
    const C cases[] = {
        {nullptr, 0, false, "Hide Window"},  // AutoAdd defaults to off
        {"True", 0, true, "Hide Window"},
        {"False", 2, false, "Hide Window"},
        {"1", 1, true, "Show Window"},        // minimised (maybe in the tray)
        {"0", 1, false, "Show Window"},
    };
    twoUsers();
    for (const C& c : cases) {
        const std::string label = std::string(c.autoAdd ? c.autoAdd : "(none)") + "/" + std::to_string(c.windowState);
        modTLC::Delete_Config_Key("Options", "AutoAdd");
        if (c.autoAdd) modTLC::Set_Config_Value("Options", "AutoAdd", c.autoAdd);
        TLMainState::MainWindowState = c.windowState;

        const std::vector<Entry> shown = choose(0);
        ASSERT_EQ(shown.size(), 5u) << label;
        EXPECT_EQ(shown[0].text, "Users") << label;
        ASSERT_EQ(shown[0].submenu.size(), 2u) << label;
        EXPECT_EQ(shown[0].submenu[0].id, 1) << label;
        EXPECT_EQ(shown[0].submenu[0].text, "alice") << label;
        EXPECT_FALSE(shown[0].submenu[0].checked) << label;
        EXPECT_EQ(shown[0].submenu[1].id, 2) << label;
        EXPECT_EQ(shown[0].submenu[1].text, "bob") << label;
        EXPECT_TRUE(shown[0].submenu[1].checked) << label << ": the last user carries the tick";
        EXPECT_EQ(shown[1].id, TLMainTray::kAutoAdd) << label;
        EXPECT_EQ(shown[1].text, "Enable Auto Add") << label;
        EXPECT_EQ(shown[1].checked, c.autoAddTicked) << label;
        EXPECT_EQ(shown[2].id, TLMainTray::kShowHideWindow) << label;
        EXPECT_EQ(shown[2].text, c.windowEntry) << label;
        EXPECT_TRUE(shown[3].separator) << label;
        EXPECT_EQ(shown[4].id, TLMainTray::kExit) << label;
        EXPECT_EQ(shown[4].text, "Exit") << label;
    }
    EXPECT_EQ(exits, 0) << "dismissing the menu does nothing";
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastUser"), "bob");
}

// The menu is built anew each time: a user added since the last show is in it, and the tick
// follows LastUser. GUEST, which only the login offers, is never listed.
TEST_F(TrayMenu, IsBuiltFromTheSettingsOfTheMoment) {
    twoUsers();
    choose(0);
    modTLC::Set_Config_Value("Users", "carol", "c");
    modTLC::Set_Config_Value("Options", "LastUser", "GUEST");
    const std::vector<Entry> shown = choose(0);
    ASSERT_EQ(shown[0].submenu.size(), 3u);
    for (const Entry& e : shown[0].submenu) {
        EXPECT_NE(e.text, "GUEST");
        EXPECT_FALSE(e.checked) << e.text;
    }
    EXPECT_EQ(shown[0].submenu[2].text, "carol");
    EXPECT_EQ(shown[0].submenu[2].id, 3);
}

TEST_F(TrayMenu, WithoutUsersOffersNoUsersAndChoosingItDoesNothing) {
    modTLC::Set_Config_Value("Options", "LastUser", "bob");
    const std::vector<Entry> shown = choose(1);
    ASSERT_EQ(shown[0].submenu.size(), 1u);
    EXPECT_EQ(shown[0].submenu[0].text, "No Users");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastUser"), "bob");
    EXPECT_EQ(UserState::CurrentUserID, "");
    EXPECT_TRUE(inputs.asked().empty());
    EXPECT_EQ(captions.caption, "");
}

// Turning auto-add on clears the clipboard, so that what is on it is not taken for an item
// number; turning it off leaves the clipboard alone.
TEST_F(TrayMenu, AutoAddEntrySwitchesTheSettingAndClearsTheClipboardOnlyWhenTurnedOn) {
    struct C { const char* before; const char* after; int16_t autoAddOn; const char* clipboardAfter; };
    const C cases[] = {
        {nullptr, "True", -1, ""},
        {"False", "True", -1, ""},
        {"0", "True", -1, ""},
        {"True", "False", 0, "123456789012"},
        {"-1", "False", 0, "123456789012"},
    };
    for (const C& c : cases) {
        const std::string label = c.before ? c.before : "(none)";
        modTLC::Delete_Config_Key("Options", "AutoAdd");
        if (c.before) modTLC::Set_Config_Value("Options", "AutoAdd", c.before);
        clipboard.userCopies("123456789012");
        TLMainState::AutoAddOn = c.autoAddOn ? 0 : -1;
        choose(TLMainTray::kAutoAdd);
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoAdd"), c.after) << label;
        EXPECT_EQ(TLMainState::AutoAddOn, c.autoAddOn) << label;
        EXPECT_EQ(clipboard.text(), c.clipboardAfter) << label;
    }
}

// "Show Window" gives a minimised window back its last other state (a maximised one comes back
// maximised); "Hide Window" minimises it.
TEST_F(TrayMenu, ShowWindowRestoresTheLastStateAndHideWindowMinimises) {
    struct C { int16_t state, restoreState; std::vector<int> windowStates; std::vector<bool> shows; };
    const C cases[] = {
        {1, 2, {2}, {true}},
        {1, 0, {0}, {true}},
        {0, 0, {1}, {}},
        {2, 2, {1}, {}},
    };
    for (const C& c : cases) {
        window.windowStates.clear();
        window.shows.clear();
        TLMainState::MainWindowState = c.state;
        TLMainState::LastWindowState = c.restoreState;
        choose(TLMainTray::kShowHideWindow);
        EXPECT_EQ(window.windowStates, c.windowStates) << c.state << "/" << c.restoreState;
        EXPECT_EQ(window.shows, c.shows) << c.state << "/" << c.restoreState;
    }
}

TEST_F(TrayMenu, ExitRunsTheExitCommand) {
    choose(TLMainTray::kExit);
    EXPECT_EQ(exits, 1);
}

// The switch to a chosen user: a gated user's password is asked (what is typed is not shown)
// until it is right or the question is given up; a wrong one says "Invalid Password....".
TEST_F(TrayMenu, SwitchesToTheChosenUserThroughThePasswordGate) {
    struct C {
        const char* name;
        long id;
        std::vector<std::string> answers;
        size_t questions;
        size_t wrongPasswordBoxes;
        const char* currentUser;  // afterwards; LastUser the same
    };
    const C cases[] = {
        {"ungated user, no question", 2, {}, 0, 0, "bob"},
        {"gated user, right password", 1, {"Secret"}, 1, 0, "alice"},
        {"gated user, wrong then right", 1, {"secret", "Secret ", "Secret"}, 3, 2, "alice"},
        {"gated user, given up", 1, {"nope", ""}, 2, 1, "carol"},
        {"gated user, cancelled at once", 1, {}, 1, 0, "carol"},
    };
    for (const C& c : cases) {
        twoUsers();
        modTLC::Set_Config_Value("Options", "LastUser", "carol");
        UserState::CurrentUserID = "carol";
        captions.caption.clear();
        boxes.clear();
        ScriptedInputBoxes asked;
        for (const std::string& a : c.answers) asked.answer(a);

        choose(c.id);

        ASSERT_EQ(asked.asked().size(), c.questions) << c.name;
        for (const auto& q : asked.asked()) {
            EXPECT_EQ(q.prompt, "User Password Required...") << c.name;
            EXPECT_EQ(q.title, "Password Required") << c.name;
            EXPECT_EQ(q.text, "") << c.name;
            EXPECT_TRUE(q.hidden) << c.name << ": the password is not echoed";
        }
        ASSERT_EQ(boxes.shown().size(), c.wrongPasswordBoxes) << c.name;
        for (const auto& b : boxes.shown()) {
            EXPECT_EQ(b.text, "Invalid Password....") << c.name;
            EXPECT_EQ(b.style, 4144) << c.name;
            EXPECT_EQ(b.title, platform::kProgramTitle) << c.name;
        }
        EXPECT_EQ(UserState::CurrentUserID, c.currentUser) << c.name;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastUser"), c.currentUser) << c.name;
        const bool switched = std::string(c.currentUser) != "carol";
        EXPECT_EQ(captions.caption,
                  switched ? "Tolvane Rerode II  -  User: " + std::string(c.currentUser) + "  -  Category: Default" : "")
            << c.name;
    }
}

// The gate is asked even for the user already in use; giving up leaves everything as it was.
TEST_F(TrayMenu, ChoosingTheCurrentGatedUserStillAsksThePassword) {
    twoUsers();
    modTLC::Set_Config_Value("Options", "LastUser", "alice");
    UserState::CurrentUserID = "alice";
    const std::vector<Entry> shown = choose(1);
    EXPECT_TRUE(shown[0].submenu[0].checked);
    ASSERT_EQ(inputs.asked().size(), 1u);
    EXPECT_EQ(UserState::CurrentUserID, "alice");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "LastUser"), "alice");
    EXPECT_EQ(captions.caption, "");
}

}  // namespace
