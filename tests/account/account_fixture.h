// account_fixture.h — the account tools' tests' ground: the item commands' ground (fake service,
// fake clock, scripted boxes, recording grid, tray and status line, the user "buyer1" with a
// password) plus recording browser roads, a fake clipboard, the feedback lists emptied and the
// grid on the item view, 12,000 twips wide.
#pragma once

#include <string>

#include "account/feedback_to_leave.h"
#include "account/seller_feedback.h"
#include "fake_account_pages.h"
#include "fake_clipboard.h"
#include "fake_signin.h"
#include "foundation/bid_engine_state.h"
#include "foundation/busy_holds.h"
#include "items/item_commands_fixture.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "recording_browser_openers.h"

namespace testsupport {

class AccountTest : public ItemCommandsTest {
protected:
    void SetUp() override {
        ItemCommandsTest::SetUp();
        resetAccount();
        modTLC::Set_Config_Value("Users", "buyer1", "pass1");
        TLMainItems::ItemGrid().Area.width = 12000;
    }
    void TearDown() override {
        resetAccount();
        ItemCommandsTest::TearDown();
    }
    static void resetAccount() {
        modFeedback::ResetFeedbackToLeaveForTests();
        modFeedback::ResetSellerFeedbackForTests();
        TLMainItems::ResetItemGridForTests();
        TLMainState::MinuteWarningGiven = 0;
        TLMainState::ResetBusyHoldsForTests();
    }

    static std::string accountHost() { return modTLMain::National_Site(0)->memberHost; }
    // The requests that reached the host, by target.
    std::vector<std::string> targets(const std::string& host) const {
        std::vector<std::string> t;
        for (const auto& r : service.requests())
            if (r.host == host) t.push_back(r.target);
        return t;
    }

    RecordingBrowserOpeners browser;
    FakeClipboard clipboard;
};

}  // namespace testsupport
