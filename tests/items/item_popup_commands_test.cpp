#include <gtest/gtest.h>

#include "grid_fixture.h"
#include "items/comment_window.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

const std::string CRLF = "\r\n";

struct LogCase {
    const char* what;
    std::vector<std::string> lines;  // the operation log
    std::string box;                 // "" when nothing is found
};

TEST_F(ItemGridTest, TheLogCommandShowsTheItemsLinesAfterTheirProgramStart) {
    const std::string start1 = "01/06/2026 10:00:00 - Program Started - 3.43";
    const std::string added = "01/06/2026 10:01:00 - Auction Item \"123\" Added";
    const std::string other = "01/06/2026 10:02:00 - Auction Item \"999\" Added";
    const std::string start2 = "01/06/2026 11:00:00 - Program Started - 3.43";
    const std::string longer = "01/06/2026 11:01:00 - Item 41235 Updated";
    const LogCase cases[] = {
        {"the start line of the run, then every line in order",
         {start1, added, other, start2, longer},
         "LOG ENTRIES FOR ITEM 123" + CRLF + CRLF + start1 + CRLF + added + CRLF + longer + CRLF},
        {"a start line only after the first item line is not added",
         {added, start1, longer},
         "LOG ENTRIES FOR ITEM 123" + CRLF + CRLF + added + CRLF + longer + CRLF},
        {"no line of the item", {start1, other}, ""},
    };
    loadWith({"123"});
    for (const auto& c : cases) {
        std::string text;
        for (const auto& l : c.lines) text += l + CRLF;
        data.write("OperationLog.txt", text);
        logBox.logBox.clear();
        logBox.logBoxShown = false;
        status.setStatus("");
        MnuSubPopupLog_Click();
        EXPECT_EQ(logBox.logBox, c.box) << c.what;
        EXPECT_EQ(logBox.logBoxShown, !c.box.empty()) << c.what;
        EXPECT_EQ(status.status, c.box.empty() ? "No Log Entries Found For Item 123" : "") << c.what;
    }
    EXPECT_EQ(window.beeps, 1);
}

TEST_F(ItemGridTest, SetupBidOpensTheDialogForTheUsersAuctions) {
    MnuSubPopupSetupBid_Click();  // no rows: nothing
    EXPECT_EQ(status.status, "");
    addItem("1");
    item(addItem("2")).ListingType = "BIN";
    Load_ItemGrid();

    UserState::CurrentUserID.clear();
    MnuSubPopupSetupBid_Click();
    EXPECT_EQ(status.status, "No User! Can't Setup Bid...");

    UserState::CurrentUserID = "buyer1";
    leftClick(2, kColDescription);
    status.setStatus("");
    MnuSubPopupSetupBid_Click();
    EXPECT_EQ(box.itemNumber, "2");
    EXPECT_TRUE(windows.bidForms.empty());  // fixed price: nothing opens, nothing said
    EXPECT_EQ(status.status, "");

    leftClick(1, kColDescription);
    GridRestoreRow = 0;
    MnuSubPopupSetupBid_Click();
    EXPECT_EQ(windows.bidForms.size(), 1u);
    EXPECT_EQ(GridRestoreRow, 1);
}

TEST_F(ItemGridTest, UpdateIsRefusedOnceTheMinuteWarningWasGiven) {
    loadWith({"1"});
    TLMainState::MinuteWarningGiven = 1;
    MnuSubPopupUpdate_Click();
    EXPECT_EQ(status.status, kBidsPending);
}

TEST_F(ItemGridTest, MoveToCategoryMovesEverySelectedItemAndReloads) {
    loadWith({"1", "2", "3", "4"});
    selectRows(3, 1);
    press(kLeftButton, 1, kColDescription);
    ItemGrid_Click();

    TLMainState::DownloadBusy = -1;
    MnuSubPopupCats_Click(1);
    EXPECT_EQ(status.status, kBusy);
    EXPECT_EQ(item(1).Category, "Cameras");
    TLMainState::DownloadBusy = 0;

    MnuSubPopupCats_Click(1);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(item(i).Category, "Lenses") << i;
    EXPECT_EQ(item(4).Category, "Cameras");
    EXPECT_EQ(GridRowCount, 1);  // the moved items left the grid
    Load_Auction_Items();
    EXPECT_EQ(item(2).Category, "Lenses");
}

TEST_F(ItemGridTest, PopupChoicesRunTheirCommands) {
    loadWith({"1", "2"});
    data.write("OperationLog.txt", "01/06/2026 10:01:00 - Auction Item \"2\" Added" + CRLF);
    data.write("Saved Items/2BR.html", "<html/>");
    const long choices[] = {kPopupCopy, kPopupReport, kPopupPhotos, kPopupBidResults, kPopupLog, kPopupFeedback, 0};
    for (long id : choices) {
        popups.answer(id);
        press(kRightButton, 2, kColDescription);
    }
    EXPECT_EQ(window.commands, (std::vector<std::string>{"Copy", "Report", "Photos", "Feedback"}));
    EXPECT_EQ(browser.bidResults, 1);
    EXPECT_TRUE(logBox.logBoxShown);
    EXPECT_EQ(popups.shown().size(), 7u);

    popups.answer(kPopupCategory + 1);
    press(kRightButton, 2, kColDescription);
    EXPECT_EQ(item(2).Category, "Lenses");

    popups.answer(kPopupComment);
    press(kRightButton, 1, kColDescription);
    ASSERT_NE(Comment_Window(), nullptr);
    EXPECT_EQ(CommentItemIndex, 1);
    EXPECT_EQ(Comment_Window()->itemNumber(), "1");
    Comment_Window()->cmd_Click(2);
}

}  // namespace
