// The feedback still to leave: the account feedback page of the fake service read into the list
// and shown in the grid's view 1.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "account/feedback_to_leave.h"
#include "account_fixture.h"
#include "items/item_grid_link.h"

using namespace testsupport;
using namespace modFeedback;

namespace {

constexpr const char* kFeedbackPath = "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayFeedback&ssPageName=STRK:ME:LNLK";

class FeedbackToLeaveTest : public AccountTest {
protected:
    void servePage(const std::string& html) {
        service.route(accountHost(), "GET", kFeedbackPath, ScriptedResponse::ok(html));
    }
    static AwaitingEntry entry(const std::string& title, const std::string& number, const std::string& user,
                               const std::string& status) {
        AwaitingEntry e;
        e.title = title;
        e.itemNumber = number;
        e.user = user;
        e.status = status;
        return e;
    }
    std::string leaveLink(const std::string& user, const std::string& number) const {
        return "http://" + accountHost() + "/ws/eBayISAPI.dll?LeaveFeedback2&useridto=" + user + "&item=" + number +
               "&ssPageName=STRK:MEAFB:IT";
    }
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
};

TEST_F(FeedbackToLeaveTest, ListsTheEntriesInViewOneColouredByTheirStatus) {
    AwaitingEntry dollar = entry("Green jug", "110000000002", "a$b", "Feedback Left");
    dollar.userInLink = "a%24b";
    AwaitingEntry unlinked = entry("Red cup", "110000000003", "cup_fan", "");
    unlinked.withLink = false;
    servePage(awaitingFeedbackPageHtml(
        3, {entry("Blue teapot", "110000000001", "buyer99", "Positive Feedback Received"), dollar, unlinked}));

    Get_Feedback_To_Leave();

    ASSERT_EQ(FeedbackList.size(), 4u);
    EXPECT_EQ(FeedbackList[1], (FeedbackEntry{"110000000001", "buyer99", "Blue teapot", "May-20-26",
                                              leaveLink("buyer99", "110000000001"), "POS"}));
    EXPECT_EQ(FeedbackList[2], (FeedbackEntry{"110000000002", "a$b", "Green jug", "May-20-26",
                                              leaveLink("a%24b", "110000000002"), "FBLEFT"}));
    EXPECT_EQ(FeedbackList[3].LeaveLink, "");  // no link: not counted, opens nothing
    EXPECT_EQ(FeedbackList[3].Status, "");
    EXPECT_EQ(status.status, "You have 2 users awaiting feedback from you. Press 'Esc' to exit feedback.");
    EXPECT_EQ(TLMainItems::GridViewMode, 1);
    EXPECT_EQ(TLMainItems::FeedbackLinks,
              (std::vector<std::string>{leaveLink("buyer99", "110000000001"), leaveLink("a%24b", "110000000002"), ""}));
    EXPECT_EQ(g.Rows(), 7);  // header, three entries, three more
    const char* headers[] = {"Item #", "User ID", "Date", "Item Description"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(g.TextMatrix(0, c), headers[c]);
    EXPECT_EQ(g.TextMatrix(2, 0), "110000000002");
    EXPECT_EQ(g.TextMatrix(2, 1), "a$b");
    EXPECT_EQ(g.TextMatrix(2, 2), "May-20-26");
    EXPECT_EQ(g.TextMatrix(2, 3), "Green jug");
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.CellBackColor(1, c), TLMainItems::ColorHiBid);
        EXPECT_EQ(g.CellBackColor(2, c), TLMainItems::ColorVal);
        EXPECT_EQ(g.CellBackColor(3, c), TLMainItems::kNoColour);
    }
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

TEST_F(FeedbackToLeaveTest, FewerEntriesThanAnnouncedLeaveEmptyRows) {
    servePage(awaitingFeedbackPageHtml(3, {entry("Blue teapot", "110000000001", "buyer99", "Neutral Feedback Received"),
                                           entry("Green jug", "110000000002", "jug_fan", "Negative Feedback Received")}));
    Get_Feedback_To_Leave();
    ASSERT_EQ(FeedbackList.size(), 4u);
    EXPECT_EQ(FeedbackList[1].Status, "NEU");
    EXPECT_EQ(FeedbackList[2].Status, "NEG");
    EXPECT_EQ(FeedbackList[3], FeedbackEntry{});
    EXPECT_EQ(g.TextMatrix(3, 0), "");
    EXPECT_EQ(g.CellBackColor(1, 0), TLMainItems::ColorWintally);
    EXPECT_EQ(g.CellBackColor(2, 0), TLMainItems::ColorOutBid);
    EXPECT_EQ(status.status, "You have 2 users awaiting feedback from you. Press 'Esc' to exit feedback.");
}

TEST_F(FeedbackToLeaveTest, NothingToLeaveAnEmptyPageOrABusyProgramLeaveTheItemsOnShow) {
    struct Case { std::string page; const char* status; };
    const Case cases[] = {
        {awaitingFeedbackPageHtml(0, {}), kNoFeedbackToLeave},
        {awaitingFeedbackPageHtml(-1, {entry("Blue teapot", "110000000001", "buyer99", "")}), kNoFeedbackToLeave},
        {"", kFeedbackFailed},
    };
    for (const Case& c : cases) {
        servePage(c.page);
        Get_Feedback_To_Leave();
        EXPECT_EQ(status.status, c.status);
        EXPECT_EQ(TLMainItems::GridViewMode, 0);
        EXPECT_EQ(FeedbackList.size(), 1u);
        EXPECT_FALSE(TLMainState::UpdateBusy);
    }
    TLMainState::UpdateBusy = -1;
    service.clearRequests();
    Get_Feedback_To_Leave();
    EXPECT_EQ(status.status, "Busy, Download In Progress...");
    EXPECT_EQ(service.requestCount(), 0u);
}

TEST_F(FeedbackToLeaveTest, TheAnnouncedCountIsCappedAtAThousand) {
    servePage(awaitingFeedbackPageHtml(5000, {entry("Blue teapot", "110000000001", "buyer99", "")}));
    Get_Feedback_To_Leave();
    EXPECT_EQ(FeedbackList.size(), static_cast<size_t>(kMaxFeedbackEntries) + 1);
    EXPECT_EQ(FeedbackList[1].ItemNumber, "110000000001");
}

TEST(FeedbackCutters, CutTheEntriesOutOfThePageText) {
    const std::string text =
        "Items Awaiting Feedback (2)\r\nScore (57)\r\n(110000000001)\r\nbuyer99 (12)\r\nMay-20-26\r\n"
        "Green jug (110000000002)\r\njug_fan (3)\r\nJun-01-26\r\n";
    long c = 1;
    // A count beyond the 32-bit range announces nothing.
    for (const char* count : {"99999999999999999999", "2147483648", "1e72", "-1e72"}) {
        long at = 1;
        EXPECT_EQ(Get_FB_Count("Items Awaiting Feedback (" + std::string(count) + ")", at), 0) << count;
        EXPECT_EQ(at, 0) << count;
    }
    EXPECT_EQ(Get_FB_Count("Items Awaiting Feedback (2.5)", c), 2);
    c = 1;
    EXPECT_EQ(Get_FB_Count(text, c), 2);
    EXPECT_EQ(Get_FB_Item_Number(text, c), "110000000001");  // "(57)" is passed over
    EXPECT_EQ(Get_FB_Item_Title(text, c), "");                // the number starts its line
    EXPECT_EQ(Get_FB_User_ID(text, c), "buyer99");
    EXPECT_EQ(Get_FB_Item_Detail(text, c), "May-20-26");
    EXPECT_EQ(Get_FB_Item_Number(text, c), "110000000002");
    EXPECT_EQ(Get_FB_Item_Title(text, c), "Green jug");
    EXPECT_EQ(Get_FB_User_ID(text, c), "jug_fan");
    EXPECT_EQ(Get_FB_Item_Detail(text, c), "Jun-01-26");
    EXPECT_EQ(Get_FB_Item_Number(text, c), "");
    EXPECT_EQ(c, 0);

    // A status search that finds nothing keeps the cursor for the next entry.
    const std::string html = "<tr><a href=\"x?ssPageName=STRK:MEAFB:IT\">x</a> Feedback Left</tr><tr>y</tr>";
    long h = 1;
    EXPECT_EQ(Get_FB_Status(html, h), "FBLEFT");
    const long after = h;
    EXPECT_EQ(Get_FB_Status(html, h), "");
    EXPECT_EQ(h, after);

    // Leave links: made absolute, only web addresses.
    EXPECT_EQ(Get_FB_Leave_Link("<a href=\"javascript:x('useridto=bob&item=110000000001')\">", "bob", "110000000001",
                                "http://my.ebay.com/"),
              "");
    EXPECT_EQ(Get_FB_Leave_Link("<a href=\"/lf?useridto=bob&amp;item=9\">a</a><a href=\"/lf?useridto=bob&amp;item=110000000001\">",
                                "bob", "110000000001", "http://my.ebay.com/ws/x"),
              "http://my.ebay.com/lf?useridto=bob&item=110000000001");
}

TEST(FeedbackCutters, LeaveLinksAreTheFirstQuotedTextWithTheUserAndTheNumber) {
    const std::string page = "http://my.ebay.com/";
    struct Case { const char* what; std::string html; const char* user; const char* link; };
    const Case cases[] = {
        {"the later link of the user holds the number",
         "<a href=\"/a?useridto=bob&item=110000000009\">x</a><a href=\"/b?USERIDTO=BOB&item=110000000001\">", "bob",
         "http://my.ebay.com/b?USERIDTO=BOB&item=110000000001"},
        {"a user with $ in the link's form", "<a href=\"/c?useridto=a%24b&item=110000000001\">", "a$b",
         "http://my.ebay.com/c?useridto=a%24b&item=110000000001"},
        {"the user's name begins the link's", "<a href=\"/d?useridto=bobby&item=110000000001\">", "bob",
         "http://my.ebay.com/d?useridto=bobby&item=110000000001"},
        {"another user's link", "<a href=\"/e?useridto=ann&item=110000000001\">", "bob", ""},
        {"the number inside a longer one is another item's",
         "<a href=\"/f?useridto=bob&item=1110000000001\">x</a><a href=\"/g?useridto=bob&item=110000000001\">", "bob",
         "http://my.ebay.com/g?useridto=bob&item=110000000001"},
        {"the user's first link stands before any quote", "useridto=bob <a href=\"/h?useridto=bob&item=110000000001\">",
         "bob", ""},
        {"a link without its closing quote", "<a href=\"/i?useridto=bob&item=110000000001", "bob", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Get_FB_Leave_Link(c.html, c.user, "110000000001", page), c.link) << c.what;

    // Titles stand on lines of at most kMaxTitleLine bytes.
    const std::string longLine = "\r\n" + std::string(kMaxTitleLine, 'x') + " (110000000001)";
    long at = static_cast<long>(longLine.find('(')) + 1;
    EXPECT_EQ(Get_FB_Item_Number(longLine, at), "110000000001");
    EXPECT_EQ(Get_FB_Item_Title(longLine, at), "");
    const std::string shortLine = "\r\n" + std::string(kMaxTitleLine - 30, 'x') + " (110000000001)";
    at = static_cast<long>(shortLine.find('(')) + 1;
    EXPECT_EQ(Get_FB_Item_Number(shortLine, at), "110000000001");
    EXPECT_EQ(Get_FB_Item_Title(shortLine, at), std::string(kMaxTitleLine - 30, 'x'));
}

// Pages shaped to make the reading work hard read their entries.
TEST(FeedbackReading, HostilePagesReadTheirEntries) {
    const std::string page = "http://my.ebay.com/";
    const int entries = 40;
    for (HostileFeedbackShape shape : {HostileFeedbackShape::NoLeaveLinks, HostileFeedbackShape::EntriesOnOneLine,
                                       HostileFeedbackShape::ManyLinksForOneUser}) {
        SCOPED_TRACE(static_cast<int>(shape));
        std::string html = hostileFeedbackPageHtml(shape, 64 * 1024, entries);
        const long awaiting = Read_Feedback_To_Leave(html, page);
        EXPECT_EQ(awaiting, shape == HostileFeedbackShape::NoLeaveLinks ? 0 : entries);
        ASSERT_EQ(FeedbackList.size(), static_cast<size_t>(entries) + 1);
        for (int i = 1; i <= entries; ++i) {
            const FeedbackEntry& e = FeedbackList[static_cast<size_t>(i)];
            const std::string user = shape == HostileFeedbackShape::ManyLinksForOneUser ? "bob" : "buyer" + std::to_string(i);
            EXPECT_EQ(e.ItemNumber, hostileItemNumber(i));
            EXPECT_EQ(e.UserID, user);
            EXPECT_EQ(e.Detail, "May-20-26");
            // On one line only the first entry's title is near the line's start.
            EXPECT_EQ(e.Title, shape == HostileFeedbackShape::EntriesOnOneLine && i > 1 ? "" : "Item " + std::to_string(i));
            EXPECT_EQ(e.LeaveLink, shape == HostileFeedbackShape::NoLeaveLinks
                                       ? ""
                                       : page + "lf?useridto=" + user + "&item=" + hostileItemNumber(i) +
                                             "&ssPageName=STRK:MEAFB:IT");
            EXPECT_EQ(e.Status, "");
        }
    }
    ResetFeedbackToLeaveForTests();
}

}  // namespace

namespace {

TEST_F(FeedbackToLeaveTest, TheServiceMaySendTheUserToSignInFirst) {
    FakeSignIn::install(service, SignInAnswer::MemberPages);
    auto asked = std::make_shared<std::atomic<int>>(0);
    const std::string page = awaitingFeedbackPageHtml(1, {entry("Blue teapot", "110000000001", "buyer99", "")});
    service.handle(accountHost(), "GET", kFeedbackPath, [asked, page](const RecordedRequest&) {
        if ((*asked)++ == 0)
            return ScriptedResponse::redirect("https://" + FakeSignIn::signInHost() + "/ws/eBayISAPI.dll?SignIn");
        return ScriptedResponse::ok(page);
    });
    Get_Feedback_To_Leave();
    EXPECT_EQ(*asked, 2);
    EXPECT_EQ(FeedbackList.size(), 2u);
    EXPECT_EQ(TLMainItems::GridViewMode, 1);

    // Not while a validated bid holds the user's session.
    *asked = 0;
    TLMainItems::GridViewMode = 0;
    service.clearRequests();
    item(add("150000000001")).BidStatus = "Bid Validated";
    Get_Feedback_To_Leave();
    EXPECT_EQ(status.status, "Busy, Download In Progress...");
    EXPECT_TRUE(targets(FakeSignIn::signInHost()).empty());
    EXPECT_EQ(TLMainItems::GridViewMode, 0);
    EXPECT_FALSE(TLMainState::UpdateBusy);

    // A refused sign-in ends the check with the sign-in's own message.
    item(1).BidStatus = "";
    *asked = 0;
    FakeSignIn::install(service, SignInAnswer::Refused);
    Get_Feedback_To_Leave();
    EXPECT_EQ(*asked, 1);
    EXPECT_EQ(TLMainItems::GridViewMode, 0);
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

}  // namespace
