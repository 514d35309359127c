// The "My eBay" entries: the account pages in a browser and the import of the account lists
// against the fake service.
#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <memory>
#include <random>
#include <string_view>

#include "account/list_import.h"
#include "foundation/vb.h"
#include "account_fixture.h"
#include "items/auction_item.h"
#include "platform/message_box.h"

using namespace testsupport;
using namespace TLMainAccount;

namespace {

constexpr const char* kWatchPath =
    "/ws/eBayISAPI.dll?MyeBay&LogUID=buyer1&CurrentPage=MyeBayWatching&ssPageName=STRK:ME:LNLK";
constexpr const char* kWonPath = "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayWon&ssPageName=STRK:ME:LNLK";

class ListImportTest : public AccountTest {
protected:
    void serveList(const std::string& target, const std::string& html) {
        service.route(accountHost(), "GET", target, ScriptedResponse::ok(html));
    }
    void serveItems(std::initializer_list<const char*> numbers) {
        for (const char* n : numbers) serve(page(n));
    }
    static ListPageContent listPage(std::vector<std::string> numbers, const std::string& next = "",
                                    const std::string& count = "All (4)") {
        ListPageContent p;
        p.numbers = std::move(numbers);
        p.nextHref = next;
        p.countLabel = count;
        return p;
    }
    std::vector<std::string> itemNumbers() const {
        std::vector<std::string> n;
        for (int i = 1; i <= TLMainItems::ItemCount; ++i) n.push_back(TLMainItems::Items[static_cast<size_t>(i)].ItemNumber);
        std::sort(n.begin(), n.end());
        return n;
    }
};

TEST_F(ListImportTest, TheWatchingListSignsInReadsBothPagesAndAddsTheNewItems) {
    FakeSignIn::install(service, SignInAnswer::MemberPages);
    auto asked = std::make_shared<std::atomic<int>>(0);
    const std::string first = listPageHtml(listPage(
        {"110000000001", "110000000002"}, "/ws/eBayISAPI.dll?MyeBay&amp;CurrentPage=MyeBayWatching&amp;page=2",
        "All (3)"));
    service.handle(accountHost(), "GET", kWatchPath, [asked, first](const RecordedRequest&) {
        if ((*asked)++ == 0)
            return ScriptedResponse::redirect("https://" + FakeSignIn::signInHost() +
                                              "/ws/eBayISAPI.dll?SignIn&ru=http%3A%2F%2Fmy.ebay.com%2F");
        return ScriptedResponse::ok(first);
    });
    serveList("/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayWatching&page=2",
              listPageHtml(listPage({"110000000003"}, "", "All (3)")));
    serveItems({"110000000001", "110000000003"});
    add("110000000002");  // already listed

    MyeBayFunction(2);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Add Items I'm Watching");
    EXPECT_EQ(boxes.shown()[0].text,
              "Items I'm Watching = 3\r\nNew Items = 2\r\nCurrent Category = Default\r\n\r\nAdd New Items?");
    EXPECT_EQ(boxes.shown()[0].style, platform::vbOKCancel | platform::vbQuestion | platform::vbSystemModal);
    EXPECT_EQ(itemNumbers(), (std::vector<std::string>{"110000000001", "110000000002", "110000000003"}));
    EXPECT_EQ(*asked, 2);
    EXPECT_FALSE(targets(FakeSignIn::signInHost()).empty());  // signed in on the way
    EXPECT_EQ(status.statuses.front(), "Checking 'My eBay' for Items I'm Watching...");
    EXPECT_NE(std::find(status.statuses.begin(), status.statuses.end(), "Downloading Group Item 3 of 3"),
              status.statuses.end());
    EXPECT_EQ(status.status, kMyEbayCompleted);
    ASSERT_FALSE(tray.balloons.empty());
    EXPECT_EQ(tray.balloons.back().title, kMyEbayCompleted);
    EXPECT_EQ(tray.balloons.back().text, "2 Items Added");
    EXPECT_EQ(grid.gridLoads, 1);
    EXPECT_EQ(soundNames().back(), "DLComplete");
    EXPECT_FALSE(TLMainState::UpdateBusy);
    EXPECT_EQ(TLMainItems::BulkAddActive, 0);
}

TEST_F(ListImportTest, TheStopButtonDuringTheAddKeepsWhatWasAddedAndCompletes) {
    serveList(kWatchPath, listPageHtml(listPage({"110000000001", "110000000002", "110000000003"})));
    serveItems({"110000000001", "110000000002", "110000000003"});
    status.onStatus = [](const std::string& text) {
        if (text == "Downloading Group Item 2 of 3") TLMainState::CancelUpdate = -1;  // cuts that download
    };
    MyeBayFunction(2);
    EXPECT_EQ(TLMainItems::ItemCount, 1);
    const auto cancelled = std::find(status.statuses.begin(), status.statuses.end(), kMyEbayCancelled);
    ASSERT_NE(cancelled, status.statuses.end());
    EXPECT_EQ(status.status, kMyEbayCompleted);
    EXPECT_EQ(tray.balloons.back().text, "1 Items Added");  // what was really added
    EXPECT_EQ(grid.gridLoads, 1);
    EXPECT_FALSE(TLMainState::CancelUpdate);
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

TEST_F(ListImportTest, EndsBeforeAskingWhenThePageHoldsNoItemOrNoPage) {
    ListPageContent selling = listPage({});
    selling.countLabel = "Selling (0)";
    serveList("/ws/eBayISAPI.dll?MyeBay&LogUID=buyer1&CurrentPage=MyeBaySelling&ssPageName=STRK:ME:LNLK",
              listPageHtml(selling) + "<a href=\"http://cgi.ebay.com/nothing\">x</a> MESELX:IT");
    MyeBayFunction(4);
    EXPECT_EQ(status.status, kNoListItems);

    service.route(accountHost(), "GET", kWatchPath, ScriptedResponse::ok(""));
    MyeBayFunction(2);
    EXPECT_EQ(status.status, "Checking 'My eBay' for Items I'm Watching...");

    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(TLMainItems::ItemCount, 0);
    EXPECT_EQ(grid.gridLoads, 0);
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

TEST_F(ListImportTest, CancelInTheConfirmationAddsNothing) {
    serveList(kWatchPath, listPageHtml(listPage({"110000000001"})));
    boxes.answer(platform::vbCancel);
    MyeBayFunction(2);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(TLMainItems::ItemCount, 0);
    EXPECT_EQ(grid.gridLoads, 0);
    EXPECT_TRUE(tray.balloons.empty());
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

TEST_F(ListImportTest, TheWonListCarriesNoUserAndPagesWithoutACountLabel) {
    ListPageContent p1 = listPage({"120000000001"}, "/ws/eBayISAPI.dll?MyeBay&amp;CurrentPage=MyeBayWon&amp;page=2", "");
    p1.marker = "MEWNX:IT";
    ListPageContent p2 = listPage({"120000000002"}, "", "");
    p2.marker = "MEWNX:IT";
    serveList(kWonPath, listPageHtml(p1));
    serveList("/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayWon&page=2", listPageHtml(p2));
    boxes.answer(platform::vbCancel);
    MyeBayFunction(3);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "Items I've Won = 2\r\nNew Items = 2\r\nCurrent Category = Default\r\n\r\nAdd New Items?");
    EXPECT_EQ(targets(accountHost()).front(), kWonPath);
}

TEST_F(ListImportTest, PagingEndsAtARepeatedAddressAPageWithoutNewNumbersOrFiftyPages) {
    // Page 2 links back to page 1.
    serveList(kWatchPath, listPageHtml(listPage({"110000000001"}, "/p2", "All (9)")));
    serveList("/p2", listPageHtml(listPage({"110000000002"}, kWatchPath, "All (9)")));
    boxes.answer(platform::vbCancel);
    MyeBayFunction(2);
    EXPECT_EQ(targets(accountHost()), (std::vector<std::string>{kWatchPath, "/p2"}));
    EXPECT_EQ(boxes.shown().back().text.substr(0, 24), "Items I'm Watching = 2\r\n");

    // Page 2 repeats page 1's numbers under another address: no third page.
    service.clearRequests();
    serveList("/p2", listPageHtml(listPage({"110000000001"}, "/p3", "All (9)")));
    serveList("/p3", listPageHtml(listPage({"110000000009"}, "", "All (9)")));
    boxes.answer(platform::vbCancel);
    MyeBayFunction(2);
    EXPECT_EQ(targets(accountHost()), (std::vector<std::string>{kWatchPath, "/p2"}));
    EXPECT_EQ(boxes.shown().back().text.substr(0, 24), "Items I'm Watching = 1\r\n");  // the repeat dropped

    // Every page links to a further one with a new number.
    service.clearRequests();
    service.handlePrefix(accountHost(), "GET", "/page/", [](const RecordedRequest& r) {
        const long n = std::stol(r.path.substr(6));
        ListPageContent p;
        p.countLabel = "";
        p.numbers = {std::to_string(140000000000 + n)};
        p.nextHref = "/page/" + std::to_string(n + 1);
        return ScriptedResponse::ok(listPageHtml(p));
    });
    serveList(kWatchPath, listPageHtml(listPage({"140000000000"}, "/page/1", "")));
    boxes.answer(platform::vbCancel);
    MyeBayFunction(2);
    EXPECT_EQ(targets(accountHost()).size(), static_cast<size_t>(kMaxListPages));
    EXPECT_FALSE(TLMainState::UpdateBusy);
}

TEST_F(ListImportTest, TheNewerWatchLayoutDropsEmptyAndRepeatedEntries) {
    serveList(kWatchPath, watchWidgetPageHtml({"130000000001", "", "130000000002", "130000000001"}));
    boxes.answer(platform::vbCancel);
    MyeBayFunction(2);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text.substr(0, 24), "Items I'm Watching = 2\r\n");

    // Neither the marker nor the widget: the box still asks, with nothing to add.
    serveList(kWatchPath, "<html><body><p>Nothing here</p></body></html>");
    MyeBayFunction(2);
    EXPECT_EQ(boxes.shown().back().text,
              "Items I'm Watching = 0\r\nNew Items = 0\r\nCurrent Category = Default\r\n\r\nAdd New Items?");
    EXPECT_EQ(tray.balloons.back().text, "0 Items Added");
}

TEST_F(ListImportTest, RefusesWhileBusyAndSignsInNeverWhileABidNeedsTheSession) {
    TLMainState::DownloadBusy = -1;
    MyeBayFunction(2);
    EXPECT_EQ(status.status, "Busy, Download In Progress...");
    EXPECT_EQ(service.requestCount(), 0u);
    TLMainState::DownloadBusy = 0;

    FakeSignIn::install(service, SignInAnswer::MemberPages);
    service.route(accountHost(), "GET", kWatchPath,
                  ScriptedResponse::redirect("https://" + FakeSignIn::signInHost() + "/ws/eBayISAPI.dll?SignIn"));
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way);
        service.clearRequests();
        status.statuses.clear();
        if (way == 0) TLMainState::MinuteWarningGiven = -1;
        if (way == 1) {
            TLMainState::MinuteWarningGiven = 0;
            item(add("150000000001")).BidStatus = "Bid Validated";
        }
        MyeBayFunction(2);
        EXPECT_EQ(status.status, "Busy, Download In Progress...");
        EXPECT_TRUE(targets(FakeSignIn::signInHost()).empty());
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_FALSE(TLMainState::UpdateBusy);
    }
}

TEST_F(ListImportTest, TheAccountPagesOpenInABrowserThatSignsIn) {
    modTLC::Set_Config_Value("Locale", "MyeBay", "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay");
    modTLC::Set_Config_Value("Locale", "MyeBayMsg", "http://my.ebay.com/msgs");
    modTLC::Set_Config_Value("Locale", "MyeBayHost", "my.ebay.com");
    MyeBayView();
    MyeBayFunction(0);
    MyeBayFunction(1);
    EXPECT_EQ(browser.accountPages,
              (std::vector<std::string>{
                  "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay", "http://my.ebay.com/msgs",
                  "http://my.ebay.com/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBaySellerAccounts&ssPageName=STRK:ME:LNLK"}));

    modTLC::Set_Config_Value("Options", "AltBrowser", "1");
    modTLC::Set_Config_Value("Options", "AltBrowserPath", "/usr/bin/true");
    MyeBayView();
    ASSERT_EQ(browser.started.size(), 1u);
    EXPECT_EQ(browser.started[0].program, "/usr/bin/true");
    EXPECT_EQ(browser.started[0].arguments, std::vector<std::string>{"http://my.ebay.com/ws/eBayISAPI.dll?MyeBay"});
    browser.startSucceeds = false;
    MyeBayView();
    EXPECT_EQ(status.status, "Error! Can't Run Alternate Browser...");
}

TEST_F(ListImportTest, ListAddressesEncodeTheUser) {
    UserState::CurrentUserID = "a b&c$";
    EXPECT_EQ(List_Address(2), "http://" + accountHost() +
                                   "/ws/eBayISAPI.dll?MyeBay&LogUID=a%20b%26c%24&CurrentPage=MyeBayWatching&ssPageName=STRK:ME:LNLK");
    EXPECT_EQ(List_Address(3), "http://" + accountHost() + kWonPath);
    EXPECT_NE(List_Address(5).find("LogUID=a%20b%26c%24&CurrentPage=MyeBaySold"), std::string::npos);
    EXPECT_EQ(List_Address(6), "");
}

TEST(ListReading, TheAnnouncedSizeAndTheNumbersOfAPage) {
    struct Case { int kind; const char* text; long count; };
    const Case cases[] = {
        {2, "x All (12) Watch (3)", 12}, {2, "Watch ( 7 )", 7},   {3, "Won (1,204)", 1204},
        {4, "Active (5)", 5},            {4, "Selling (9)", 9},  {5, "Sold (2)", 2},
        {5, "Sold (many)", 0},           {5, "Sold (4", 0},      {2, "no label", 0},
        // A size beyond the 32-bit range is no size.
        {5, "Sold (99999999999999999999)", 0}, {2, "All (2147483648)", 0}, {2, "All (2,147,483,647)", 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(GetItemCnt(c.kind, c.text), c.count) << c.text;

    std::string last;
    ListPageContent p;
    p.numbers = {"110000000001", "110000000002"};
    EXPECT_EQ(Collect_Page_Numbers(listPageHtml(p), "mewax:it", last),
              (std::vector<std::string>{"110000000001", "110000000002"}));
    EXPECT_EQ(last, "110000000002");
    p.numbers = {"110000000002", "110000000003"};  // the last number again at the top of the next page
    EXPECT_EQ(Collect_Page_Numbers(listPageHtml(p), "MEWAX:IT", last), std::vector<std::string>{"110000000003"});

    EXPECT_EQ(Next_Page_Address("<a href=\"/list?a=1&amp;page=2\">Next</a>", "http://my.ebay.com/ws/x?y"),
              "http://my.ebay.com/list?a=1&page=2");
    EXPECT_EQ(Next_Page_Address("<a href=\"javascript:go()\">Next</a>", "http://my.ebay.com/"), "");
    EXPECT_EQ(Next_Page_Address("<a href=\"file:///etc/passwd\">Next</a>", "http://my.ebay.com/"), "");
    EXPECT_EQ(Next_Page_Address("<p>No more</p>", "http://my.ebay.com/"), "");
}

// The numbers as the list reader took them before it read in one pass: each marker looks back for
// its "href=" and reads that link again.
std::vector<std::string> numbersLookingBack(std::string_view html, std::string_view marker, std::string& last) {
    std::vector<std::string> numbers;
    for (long p = 1;;) {
        const long m = vb::InStr(p, html, marker, vb::Text);
        if (m == 0) break;
        p = m + static_cast<long>(marker.size());
        const long h = vb::InStrRev(html, "href=", m, vb::Text);
        const long q1 = h ? vb::InStr(h, html, "\"") : 0;
        const long q2 = q1 ? vb::InStr(q1 + 1, html, "\"") : 0;
        if (q2 == 0) continue;
        const std::string link = vb::Mid(html, q1 + 1, q2 - q1 - 1);
        long k = vb::InStr(link, "itm/", vb::Text);
        if (k == 0) k = vb::InStr(link, "item=", vb::Text);
        if (k == 0) continue;
        const size_t d = link.find_first_of("0123456789", static_cast<size_t>(k - 1));
        if (d == std::string::npos) continue;
        const std::string number = link.substr(d, link.find_first_not_of("0123456789", d) - d);
        if (number == last) continue;
        numbers.push_back(number);
        last = number;
    }
    return numbers;
}

TEST(ListReading, OnePassReadsWhatLookingBackRead) {
    // Pages made of the pieces the reader looks for, in every order.
    const char* pieces[] = {"href=", "HREF=", "\"", "MEWAX:IT", "mewax:it", "itm/", "Item=", "1100", "7", "x", " ", "&"};
    std::mt19937 random(24);
    for (int page = 0; page < 3000; ++page) {
        std::string html;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) html += pieces[random() % std::size(pieces)];
        std::string lastBefore = page % 3 == 0 ? "1100" : "";
        std::string lastNow = lastBefore;
        const auto before = numbersLookingBack(html, "MEWAX:IT", lastBefore);
        EXPECT_EQ(Collect_Page_Numbers(html, "MEWAX:IT", lastNow), before) << html;
        EXPECT_EQ(lastNow, lastBefore) << html;
    }
    // The fake service's pages.
    ListPageContent p;
    p.numbers = {"110000000001", "110000000002", "110000000002", "110000000003"};
    std::string a, b;
    EXPECT_EQ(Collect_Page_Numbers(listPageHtml(p), "MEWAX:IT", a), numbersLookingBack(listPageHtml(p), "MEWAX:IT", b));
}

TEST(ListReading, HostilePagesGiveTheirOneNumberOrNone) {
    struct Case { HostileListShape shape; std::vector<std::string> numbers; };
    const Case cases[] = {{HostileListShape::MarkersWithoutLink, {}},
                          {HostileListShape::MarkersInOneLink, {kHostileItem}},
                          {HostileListShape::MarkersAfterOneLink, {kHostileItem}}};
    for (const Case& c : cases) {
        std::string last;
        EXPECT_EQ(Collect_Page_Numbers(hostileListPageHtml(c.shape, 64 * 1024), "MEWAX:IT", last), c.numbers)
            << static_cast<int>(c.shape);
    }
}

}  // namespace
