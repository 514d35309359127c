// users_fixture.h — a fresh data folder and store, the user's answers to boxes and questions, and
// the main window's caption and grid as the users' routines reach them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/item_window_links.h"
#include "recording_item_grid.h"
#include "scripted_boxes.h"
#include "scripted_input_boxes.h"
#include "temp_data_folder.h"

namespace optionstest {

// A new user's entries that are refused, with what the user is told (the wizard's user entry and
// the add-user dialog check them alike).
struct EntryCase {
    const char* id;
    const char* password;
    const char* confirm;
    const char* message;
};
inline const EntryCase kRefusedEntries[] = {
    {"", "pw", "pw", "No User ID Entered...."},
    {"   ", "pw", "pw", "No User ID Entered...."},
    {"a=b", "pw", "pw", "Invalid Name!"},
    {"[x]", "pw", "pw", "Invalid Name!"},
    {"two\nlines", "pw", "pw", "Invalid Name!"},
    {"dave", "", "pw", "No User Password Entered...."},
    {"dave", " pw", " pw", "Password Can't Begin or End with a Blank!"},
    {"dave", "pw ", "pw ", "Password Can't Begin or End with a Blank!"},
    {"dave", "   ", "   ", "Password Can't Begin or End with a Blank!"},
    {"dave", "pw", "", "No User Confirmation Password Entered...."},
    {"dave", "Pw", "pw", "Confirmation Password Doesn't Match Users Password"},
};

// The main window as far as its caption goes.
class CaptionWindow final : public TLMainItems::ItemWindow {
public:
    CaptionWindow() { TLMainItems::setItemLink<TLMainItems::ItemWindow>(this); }
    ~CaptionWindow() override { TLMainItems::setItemLink<TLMainItems::ItemWindow>(nullptr); }
    void setMainCaption(const std::string& text) override { caption = text; }
    std::string caption;
};

class UsersFixture : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        UserState::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        TLMainItems::ResetCategoriesForTests();
        TLMainItems::CategoryNames = {"General"};
        TLMainItems::CurrentCategoryIndex = 0;
        TLMainItems::Items.assign(1, {});
        TLMainItems::ItemCount = 0;
    }
    void TearDown() override {
        TLMainItems::Items.assign(1, {});
        TLMainItems::ItemCount = 0;
        TLMainItems::ResetCategoriesForTests();
        UserState::ResetForTests();
        modTLC::ResetForTests();
        modTLMain::ResetStartupForTests();
    }

    // alice (gated) and bob, in that stored order, and the last user.
    void storeUsers(const std::string& lastUser = "alice") {
        modTLC::Set_Config_Value("Users", "bob", "b0b");
        modTLC::Set_Config_Value("Users", "alice", "Secret1");
        modTLC::Set_Config_Value("LogIn", "alice", "1");
        modTLC::Set_Config_Value("LogIn", "bob", "0");
        if (!lastUser.empty()) modTLC::Set_Config_Value("Options", "LastUser", lastUser);
    }
    static std::string value(const char* section, const std::string& key) {
        return modTLC::Get_Config_Value(section, key, "<none>");
    }
    static std::string captionFor(const std::string& user) {
        return "Tolvane Rerode II  -  User: " + user + "  -  Category: General";
    }
    // An item of `user` with a bid armed (or not).
    static void addItem(const std::string& user, int bidTimeSecs, const std::string& status = "") {
        TLMainItems::AuctionItem it;
        it.ItemNumber = std::to_string(100 + TLMainItems::ItemCount);
        it.UserID = user;
        it.BidTimeSecs = bidTimeSecs;
        it.BidStatus = status;
        TLMainItems::Items.push_back(it);
        ++TLMainItems::ItemCount;
    }

    testsupport::TempDataFolder data;
    testsupport::ScriptedMessageBoxes boxes;
    // The answers to input boxes; freshInputs() starts a new script.
    std::unique_ptr<testsupport::ScriptedInputBoxes> inputs = std::make_unique<testsupport::ScriptedInputBoxes>();
    void freshInputs() {
        inputs.reset();
        inputs = std::make_unique<testsupport::ScriptedInputBoxes>();
    }
    CaptionWindow window;
    testsupport::RecordingItemGrid grid;
};

}  // namespace optionstest
