// Bid groups: counting a win, the set-up dialog's group lists and choice, and the options
// dialog's list of group names per user.
#include "bid_fixture.h"

#include "bidding/bid_groups.h"

namespace testsupport {
namespace {

class BidGroupsTest : public BidTest {
protected:
    void SetUp() override {
        BidTest::SetUp();
        UserState::CurrentUserID = kUser;
    }
    int member(const std::string& number, const std::string& group, int need, int wins, const std::string& user = kUser) {
        const int i = arm(number, 10, 3000, "12.50", user);
        item(i).BidGroup = group;
        item(i).GroupNeed = need;
        item(i).GroupWins = wins;
        return i;
    }
};

TEST_F(BidGroupsTest, AWinCountsOnlyForTheUserAndNeverWithTheReserveNotMet) {
    struct Case { const char* winner; int16_t reserve; int wins; bool cancelled; const char* line; };
    const Case cases[] = {
        {"BOB", 0, 1, false, "Wintally - Group Cups - Group Wins 1 - Need 3"},
        {"bob", 1, 0, false, ""},
        {"carol", 0, 0, false, ""},
        {"", 0, 0, true, "Wintally Failed to Retrieve High Bidder, Cancelling Remaining Wintallys"},
    };
    for (const Case& c : cases) {
        TLMainItems::ResetItemStoreForTests();
        data.write("OperationLog.txt", "");
        const int p = member("110000000001", "Cups", 3, 0);
        item(p).BidTimeSecs = 0;
        item(p).ReserveFlag = c.reserve;
        const int other = member("110000000002", "Cups", 3, 0);
        TLMainState::PendingRequestItem = static_cast<int16_t>(p);
        modPageParser::PageHighBidder = c.winner;
        modBidGroups::Check_Group_Win();
        EXPECT_EQ(item(p).GroupWins, c.wins) << c.winner;
        EXPECT_EQ(item(other).GroupWins, c.wins) << c.winner;
        EXPECT_EQ(item(other).BidGroup, c.cancelled ? "[Cancelled]-Cups" : "Cups") << c.winner;
        EXPECT_EQ(item(p).BidGroup, "Cups") << c.winner;
        if (*c.line) EXPECT_TRUE(logged(c.line)) << opLog();
        else EXPECT_EQ(opLog(), "") << c.winner;
    }
}

TEST_F(BidGroupsTest, TheDialogListsTheUsersGroupsAndTheItemsChoice) {
    modTLC::Set_Config_Value("BidGroups", "Cups", "BOB");
    modTLC::Set_Config_Value("BidGroups", "Lamps", "alice");
    member("110000000001", "Saucers", 2, 1);
    member("110000000002", "Vases", 2, 0, "alice");
    const int i = member("110000000003", "Saucers", 2, 1);
    item(i).ControlGroup = "Saucers";
    const modBidGroups::BidFormGroups f = modBidGroups::Load_BidForm_Groups(i);
    EXPECT_EQ(f.groups, std::vector<std::string>({"", "Cups", "Saucers"}));
    EXPECT_EQ(f.controlGroups, std::vector<std::string>({"", "Saucers"}));
    ASSERT_EQ(f.requiredWins.size(), 30u);
    EXPECT_EQ(f.requiredWins.front(), "1");
    EXPECT_EQ(f.groupIndex, 2);
    EXPECT_EQ(f.requiredIndex, 1);
    EXPECT_EQ(f.controlIndex, 1);
    EXPECT_EQ(f.itemsWon, "1");
    const modBidGroups::BidFormGroups none = modBidGroups::Load_BidForm_Groups(arm("110000000004", 10, 3000));
    EXPECT_EQ(none.groupIndex, 0);
    EXPECT_EQ(none.requiredIndex, 0);
    EXPECT_EQ(none.controlIndex, 0);
}

TEST_F(BidGroupsTest, ApplyingAGroupChoice) {
    const int a = member("110000000001", "Cups", 2, 1);
    const int b = arm("110000000002", 10, 3000);
    const int hers = member("110000000003", "Cups", 2, 0, "alice");

    // Refused before anything changes.
    const struct { const char* group; const char* control; const char* wins; const char* box; } refusals[] = {
        {"cups", "CUPS", "2", modBidGroups::kGroupControlsItself},
        {"Cu=ps", "", "2", modBidGroups::kInvalidGroupName},
        {"Cups", "Lamps]", "2", modBidGroups::kInvalidGroupName},
        {"Cups", "", "1", "Error! You can not reset the item win count to a value that is less than or equal to the current items already won."},
    };
    for (const auto& r : refusals) {
        boxes.clear();
        EXPECT_FALSE(modBidGroups::Apply_Bid_Group(r.group, r.control, r.wins, {b})) << r.box;
        ASSERT_EQ(boxes.texts(), std::vector<std::string>({r.box}));
        EXPECT_EQ(item(b).BidGroup, "");
    }

    // A new wanted count is asked for; No keeps it but the controlling group is applied.
    boxes.clear();
    boxes.answer(platform::vbNo);
    EXPECT_FALSE(modBidGroups::Apply_Bid_Group("cups", "Lamps", "3", {b}));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].style, 4356);
    EXPECT_EQ(boxes.shown()[0].title, "Bid Group \"Cups\" - New Win Count = 3");
    EXPECT_EQ(item(a).GroupNeed, 2);
    EXPECT_EQ(item(a).ControlGroup, "Lamps");
    EXPECT_EQ(item(b).BidGroup, "");

    // Yes: the group takes the new count, the selected item joins with the wins so far.
    boxes.answer(platform::vbYes);
    EXPECT_TRUE(modBidGroups::Apply_Bid_Group("cups", "Lamps", "3", {b}));
    EXPECT_EQ(item(b).BidGroup, "Cups");
    EXPECT_EQ(item(b).GroupNeed, 3);
    EXPECT_EQ(item(b).GroupWins, 1);
    EXPECT_EQ(item(a).GroupNeed, 3);
    EXPECT_EQ(item(a).GroupLock, 1);
    EXPECT_EQ(item(b).GroupLock, 1);
    EXPECT_EQ(item(hers).GroupNeed, 2);  // another user's group of that name
    EXPECT_EQ(item(hers).GroupLock, 0);

    // A new group starts with no wins.
    EXPECT_TRUE(modBidGroups::Apply_Bid_Group("Plates", "", "2", {b}));
    EXPECT_EQ(item(b).BidGroup, "Plates");
    EXPECT_EQ(item(b).GroupWins, 0);
    EXPECT_EQ(item(b).GroupLock, 0);
}

TEST_F(BidGroupsTest, TheOptionsListKeepsEachUsersNames) {
    EXPECT_TRUE(modBidGroups::Add_Bid_Group("Cups", "bob"));
    EXPECT_TRUE(modBidGroups::Add_Bid_Group("Lamps", "alice"));
    EXPECT_TRUE(modBidGroups::Add_Bid_Group("cups", "BOB"));  // the same group again
    EXPECT_FALSE(modBidGroups::Add_Bid_Group("CUPS", "alice"));
    EXPECT_FALSE(modBidGroups::Add_Bid_Group("A[1]", "alice"));
    EXPECT_FALSE(modBidGroups::Add_Bid_Group("", "alice"));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>({modBidGroups::kGroupNameTaken, modBidGroups::kInvalidGroupName}));
    EXPECT_EQ(modBidGroups::Load_Setup_Groups("bob"), std::vector<std::string>({"Cups"}));
    EXPECT_EQ(modBidGroups::Load_Setup_Groups("alice"), std::vector<std::string>({"Lamps"}));
    EXPECT_FALSE(modBidGroups::Remove_Bid_Group("Cups", "alice"));  // not hers
    EXPECT_EQ(modBidGroups::Load_Setup_Groups("bob"), std::vector<std::string>({"Cups"}));
    EXPECT_TRUE(modBidGroups::Remove_Bid_Group("cups", "bob"));
    EXPECT_TRUE(modBidGroups::Load_Setup_Groups("bob").empty());
}

}  // namespace
}  // namespace testsupport
