// Adding items: by number against the fake service, the refusals, the hand-over from the browser
// extension, and the re-add of history lines.
#include <gtest/gtest.h>

#include "item_commands_fixture.h"
#include "ieext/hand_over.h"
#include "items/add_item.h"
#include "items/item_store.h"
#include "platform/timers.h"
#include "service/page_text.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

constexpr const char* kNumber = "123456789012";
constexpr const char* kPhotoBytes = "\xFF\xD8\xFF\xE0 photo bytes";

class AddItemTest : public ItemCommandsTest {
protected:
    void servePhoto(const ItemPageContent& c) {
        const std::string path = c.photoUrl.substr(c.photoUrl.find('/', 7));
        service.route("i.ebayimg.com", "GET", path, ScriptedResponse::binary(kPhotoBytes));
    }
    bool addByNumber(const std::string& number) {
        box.itemNumber = number;
        return Add_Auction_Item();
    }
    std::vector<std::string> balloonTitles() const {
        std::vector<std::string> t;
        for (const auto& b : tray.balloons) t.push_back(b.title);
        return t;
    }
    // A hand-over of the page as the browser extension writes it.
    static std::string handover(const std::string& url, const std::string& html, const std::string& title,
                                const std::string& text, bool withHtml = true) {
        return ieext::Build_Page_Hand_Over({"TLAUCDOC", "-N", url, title, withHtml ? html : "", text});
    }
    // The page's whole text as the browser shows it.
    static std::string pageText(const ItemPageContent& c) { return modPageParser::Inner_Text(itemPageHtml(c)); }
};

TEST_F(AddItemTest, AddsAnItemByNumberFromTheHomeSitesItemHost) {
    ItemPageContent c = page(kNumber);
    c.title = "Grandma's blue teapot";
    c.reserveNotMet = true;
    serve(c);
    servePhoto(c);
    const std::string end = parsedEnd(c);
    modPageParser::ResetForTests();
    ASSERT_FALSE(end.empty());

    ASSERT_TRUE(addByNumber(kNumber));

    ASSERT_EQ(ItemCount, 1);
    const AuctionItem& a = item(1);
    EXPECT_EQ(a.ItemNumber, kNumber);
    EXPECT_EQ(a.Title, "Grandmas blue teapot");  // apostrophes go
    EXPECT_EQ(a.EndTime, end);
    EXPECT_EQ(a.CurrentPrice, "US 1,234.56");
    EXPECT_EQ(a.ReserveFlag, 1);
    EXPECT_EQ(a.BidCount, "7");
    EXPECT_EQ(a.MinBid, "US 1,235.56");
    EXPECT_EQ(a.Seller, "teapot_seller (152) 99.8%");
    EXPECT_EQ(a.Shipping, "US 5.00");
    EXPECT_EQ(a.Category, "Default");
    EXPECT_EQ(a.UserID, "buyer1");
    EXPECT_EQ(a.AlarmState, "0");
    EXPECT_EQ(a.Quantity, "1");
    EXPECT_EQ(a.AfterBidOptions, "0");
    EXPECT_EQ(a.ListingType, "");
    EXPECT_EQ(a.BidStatus, "");
    EXPECT_EQ(a.MaxBid, "");

    EXPECT_EQ(pageRequests(kNumber), 1u);
    EXPECT_EQ(service.requests().front().target, itemPagePath(kNumber));
    EXPECT_EQ(data.read(std::string("Saved Items/") + kNumber + ".html"), itemPageHtml(c) + "\r\n");
    EXPECT_EQ(data.read(std::string("Item Photos/") + kNumber + ".jpg"), kPhotoBytes);
    EXPECT_NE(history().find(std::string(" - Added - ") + kNumber + " - Grandmas blue teapot\r\n"), std::string::npos);

    const std::string added = std::string("Auction Item \"") + kNumber + "\" Added";
    EXPECT_EQ(status.statuses, (std::vector<std::string>{std::string("Downloading Item ") + kNumber, added}));
    ASSERT_EQ(tray.balloons.size(), 2u);
    EXPECT_EQ(tray.balloons[1].text, added);
    EXPECT_EQ(tray.balloons[1].iconFlags, 1);
    EXPECT_EQ(soundNames(), std::vector<std::string>{"DLComplete"});
    EXPECT_EQ(grid.gridLoads, 1);
    EXPECT_EQ(TLMainState::TrayTipCountdown, 3);
    EXPECT_EQ(windows.bidForms, std::vector<std::string>{kNumber});  // the set-up takes the new item
    EXPECT_FALSE(TLMainState::DownloadBusy);

    Load_Auction_Items();  // it was saved
    ASSERT_EQ(ItemCount, 1);
    EXPECT_EQ(item(1).Title, "Grandmas blue teapot");
}

TEST_F(AddItemTest, AFixedPricePageWithoutEndIsStoredAsBuyItNowWithoutBidSetUp) {
    ItemPageContent c = page(kNumber);
    c.priceLabel = "Price:";
    c.minBid = "";
    c.endDate = "";
    serve(c);
    ASSERT_TRUE(addByNumber(kNumber));
    EXPECT_EQ(item(1).ListingType, "BIN");
    EXPECT_EQ(item(1).EndTime, "No End Date");
    EXPECT_TRUE(windows.bidForms.empty());
    EXPECT_EQ(AddedItemNumber, "");
}

// The comment window opens first and the bid set-up only after it closes; the add itself ends at
// once, so no request (a bid's result update among them) waits on the user's typing.
TEST_F(AddItemTest, TheCommentWindowComesBeforeTheBidSetUpWithoutHoldingTheAdd) {
    modTLC::Set_Config_Value("Options", "AutoComment", "1");
    for (const char* bidSetup : {"0", "1"}) {
        SCOPED_TRACE(bidSetup);
        ResetItemStoreForTests();
        windows.bidForms.clear();
        windows.commentWindows.clear();
        modTLC::Set_Config_Value("Options", "ShowBidSetup", bidSetup);
        windows.commentOpenChecks = 3;
        serve(page(kNumber));
        ASSERT_TRUE(addByNumber(kNumber));
        EXPECT_EQ(windows.commentWindows, std::vector<int>{1});
        EXPECT_GT(windows.commentOpenChecksLeft(), 0) << "the add did not wait for the window";
        EXPECT_TRUE(windows.bidForms.empty());
        time.advanceMs(1000);  // the user closes the comment window
        if (std::string(bidSetup) == "1") EXPECT_EQ(windows.bidForms, std::vector<std::string>{kNumber});
        else EXPECT_TRUE(windows.bidForms.empty());
    }
}

struct Refusal {
    const char* what;
    const char* user;
    const char* number;
    const char* status;
    const char* balloonTitle;
    bool alert;
};

TEST_F(AddItemTest, RefusesWithoutDownloading) {
    const Refusal cases[] = {
        {"no user", "", kNumber, "No User is Selected! Can not Add Item!", "Tolvane Rerode II", false},
        {"a letter in the number", "buyer1", "12a45", "Invalid Auction Item Number!", "Tolvane Rerode II", true},
        {"an empty number", "buyer1", "  ", "Invalid Auction Item Number!", "Tolvane Rerode II", true},
        {"20 digits", "buyer1", "12345678901234567890", "Invalid Auction Item Number!", "Tolvane Rerode II", true},
        {"a decimal point", "buyer1", "1234.5", "Invalid Auction Item Number!", "Tolvane Rerode II", true},
        {"already in the list", "buyer1", "555", "This item has already been added!", "Duplicate Item - 555", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetItemStoreForTests();
        add("555");
        status.statuses.clear();
        tray.balloons.clear();
        sounds.played.clear();
        UserState::CurrentUserID = c.user;
        EXPECT_FALSE(addByNumber(c.number));
        EXPECT_EQ(status.statuses, std::vector<std::string>{c.status});
        ASSERT_EQ(tray.balloons.size(), 1u);
        EXPECT_EQ(tray.balloons[0].title, c.balloonTitle);
        EXPECT_EQ(tray.balloons[0].iconFlags, 3);
        EXPECT_EQ(soundNames(), c.alert ? std::vector<std::string>{"Alert"} : std::vector<std::string>{});
        EXPECT_EQ(ItemCount, 1);
        EXPECT_EQ(AddedItemNumber, "");
    }
    EXPECT_EQ(service.requestCount(), 0u);
}

TEST_F(AddItemTest, AFullListTakesNoMoreItems) {
    ItemCount = kMaxItems;  // the count alone says the list is full
    EXPECT_FALSE(addByNumber(kNumber));
    ItemCount = 0;
    EXPECT_EQ(status.statuses, std::vector<std::string>{kItemListFull});
    EXPECT_EQ(service.requestCount(), 0u);
}

struct Failure {
    const char* what;
    ScriptedResponse answer;
    bool cancel;
    const char* status;
    const char* logLine;
    const char* errorBalloon;  // the title of the error balloon shown, "" none
};

TEST_F(AddItemTest, AFailedOrCancelledDownloadAddsNothing) {
    ScriptedResponse cut = ScriptedResponse::ok("");
    cut.fault = Fault::CloseAtOnce;
    const std::string page = itemPageHtml(this->page(kNumber));
    const Failure cases[] = {
        {"no answer", cut, false, kAddNoData, "Error! Add Item Failed - No Data Returned - 123456789012", ""},
        {"an empty page", ScriptedResponse::ok(""), false, kAddNoData,
         "Error! Add Item Failed - No Data Returned - 123456789012", ""},
        {"an empty page after the stop button", ScriptedResponse::ok(""), true, kAddCancelled,
         "Add Item Cancelled.... - 123456789012", ""},
        {"a page without a title", ScriptedResponse::ok("<html><body>Nothing here</body></html>"), false,
         "Error! Failed To Retrieve Ending Date or Title",
         "123456789012 - Error! Failed To Retrieve Ending Date or Title", "Invalid Item - 123456789012"},
        // Pages with a title of their own but none of an item's end or price.
        {"the service's page for a removed item", ScriptedResponse::ok(removedItemPage(kNumber)), false,
         "Error! Failed To Retrieve Ending Date or Title",
         "123456789012 - Error! Failed To Retrieve Ending Date or Title", "Invalid Item - 123456789012"},
        {"the sign-in form", ScriptedResponse::ok(signInItemPage()), false,
         "Error! Failed To Retrieve Ending Date or Title",
         "123456789012 - Error! Failed To Retrieve Ending Date or Title", "Invalid Item - 123456789012"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        service.route(itemHost(), "GET", itemPagePath(kNumber), c.answer);
        status.statuses.clear();
        sounds.played.clear();
        tray.balloons.clear();
        TLMainState::CancelUpdate = c.cancel ? -1 : 0;
        EXPECT_FALSE(addByNumber(kNumber));
        EXPECT_EQ(status.statuses.back(), c.status);
        EXPECT_NE(opLog().find(c.logLine), std::string::npos);
        ASSERT_FALSE(tray.balloons.empty());
        if (*c.errorBalloon) {
            EXPECT_EQ(tray.balloons.back().title, c.errorBalloon);
            EXPECT_EQ(tray.balloons.back().text, c.status);
            EXPECT_EQ(tray.balloons.back().iconFlags, 3);
        } else {
            EXPECT_EQ(tray.balloons.back().iconFlags, 1) << "only the download's own balloon";
        }
        EXPECT_EQ(soundNames(), std::vector<std::string>{"Alert"});
        EXPECT_EQ(ItemCount, 0);
        EXPECT_FALSE(data.exists(std::string("Saved Items/") + kNumber + ".html"));
        EXPECT_FALSE(TLMainState::DownloadBusy);
        EXPECT_EQ(grid.gridLoads, 0);
    }
    EXPECT_FALSE(data.exists("Auction Items.dat"));
}

// ---- The hand-over ----------------------------------------------------------------------------

struct Handover {
    const char* what;
    const char* url;
    bool withHtml;
    bool numberInText;
    const char* number;    // added, or "" when refused
    bool downloads;
};

TEST_F(AddItemTest, TheHandOverFindsTheNumberInTheTextOrTheAddress) {
    const ItemPageContent c = page(kNumber);
    const Handover cases[] = {
        {"number in the page text", "http://www.ebay.com/itm/x", true, true, kNumber, false},
        {"number in the address", "http://www.ebay.com/itm/Blue-teapot/123456789012?hash=item1c2d", true, false,
         kNumber, false},
        {"no HTML: downloaded by the address's number", "http://www.ebay.com/itm/Blue-teapot/123456789012", false, false,
         kNumber, true},
        {"a 9-digit number", "http://www.ebay.com/itm/Blue-teapot/123456789", true, false, "", false},
        {"a 20-digit number", "http://www.ebay.com/itm/12345678901234567890", true, false, "", false},
        {"no number at all", "http://www.ebay.com/", true, false, "", false},
        {"an address of another host", "http://www.ebay.com.example.net/itm/123456789012", false, false, "", false},
        {"a file address", "file:///www.ebay.com/123456789012", false, false, "", false},
        {"an address without scheme", "www.ebay.com/itm/123456789012", false, false, "", false},
    };
    for (const auto& h : cases) {
        SCOPED_TRACE(h.what);
        ResetItemStoreForTests();
        modPageParser::ResetForTests();
        service.clearRequests();
        status.statuses.clear();
        serve(c);
        std::string text = pageText(c);
        if (!h.numberInText) text = text.substr(0, text.find("Item number:"));
        Add_Auction_Item_Direct(handover(h.url, itemPageHtml(c), "Blue teapot", text, h.withHtml));
        if (*h.number) {
            ASSERT_EQ(ItemCount, 1);
            EXPECT_EQ(item(1).ItemNumber, h.number);
            EXPECT_EQ(item(1).Title, "Blue teapot");
            EXPECT_EQ(item(1).CurrentPrice, "US 1,234.56");
            EXPECT_EQ(item(1).Shipping, "US 5.00");
            EXPECT_EQ(box.itemNumber, h.number);
            EXPECT_EQ(pageRequests(kNumber), h.downloads ? 1u : 0u);
        } else {
            EXPECT_EQ(ItemCount, 0);
            EXPECT_EQ(status.statuses, std::vector<std::string>{kNotValidItemPage});
            EXPECT_NE(opLog().find(kNotValidItemPage), std::string::npos);
            EXPECT_EQ(pageRequests(kNumber), 0u);
        }
        EXPECT_EQ(modPageParser::UseHandoverTitle, 0);
    }
}

TEST_F(AddItemTest, AHandOverFromAnotherSiteIsDownloadedWithItsShippingKept) {
    modTLC::Set_Config_Value("Locale", "CGI", modTLMain::Site_Item_Page_Base(3));  // the UK site
    ItemPageContent shown = page(kNumber);
    shown.shippingLabel = "Postage:";
    shown.shipping = "GBP 3.50 Royal Mail";
    serve(page(kNumber));
    Add_Auction_Item_Direct(handover("http://www.ebay.co.uk/itm/1", itemPageHtml(shown), "Blue teapot", pageText(shown)));
    ASSERT_EQ(ItemCount, 1) << status.status;
    EXPECT_EQ(pageRequests(kNumber), 1u);     // the page is fetched from the home site's item host
    EXPECT_EQ(item(1).Shipping, "GBP 3.50");  // the shipping read from the page handed over
    EXPECT_EQ(ShippingPrefetch, "");
}

TEST_F(AddItemTest, AHandOverThatDoesNotCutApartIsRefused) {
    const ItemPageContent c = page(kNumber);
    const std::string whole = handover("http://www.ebay.com/itm/123456789012", itemPageHtml(c), "t", pageText(c));
    const std::string cases[] = {
        whole.substr(0, whole.size() - 3),                   // cut short
        "TLAUCDOC-N<IEURL>http://www.ebay.com/itm/123456789012</IEURL>",  // no more than the address
        "TLFEEDBACK" + whole.substr(8),                     // another command's hand-over
    };
    for (const std::string& h : cases) {
        SCOPED_TRACE(h.substr(0, 40));
        status.statuses.clear();
        Add_Auction_Item_Direct(h);
        EXPECT_EQ(ItemCount, 0);
        EXPECT_EQ(status.statuses, std::vector<std::string>{kNotValidItemPage});
        EXPECT_EQ(service.requestCount(), 0u);
    }
}

TEST_F(AddItemTest, TheHandOverRefusesWithoutUserAndForItemsAlreadyListed) {
    const ItemPageContent c = page(kNumber);
    UserState::CurrentUserID.clear();
    Add_Auction_Item_Direct(handover("http://www.ebay.com/itm/123456789012", itemPageHtml(c), "t", pageText(c)));
    EXPECT_EQ(status.statuses, std::vector<std::string>{kNoUserAdd});
    EXPECT_TRUE(sounds.played.empty());

    UserState::CurrentUserID = "buyer1";
    add(kNumber);
    status.statuses.clear();
    Add_Auction_Item_Direct(handover("http://www.ebay.com/itm/123456789012", itemPageHtml(c), "t", pageText(c)));
    EXPECT_EQ(status.statuses, std::vector<std::string>{kDuplicateItem});
    EXPECT_EQ(tray.balloons.back().title, std::string("Duplicate Item - ") + kNumber);
    EXPECT_EQ(soundNames(), std::vector<std::string>{"Alert"});
    EXPECT_EQ(ItemCount, 1);
    EXPECT_EQ(service.requestCount(), 0u);
}

// ---- History lines ----------------------------------------------------------------------------

TEST(ExtractItemNums, TakesDeletedLinesFirstThenAddedLines) {
    struct Case { const char* text; std::vector<std::string> numbers; };
    const Case cases[] = {
        {"6/1/2026 9:14:03 PM - Added - 111 - Blue teapot\r\n6/1/2026 9:15:00 PM - Deleted - 222 - Red cup\r\n",
         {"222", "111"}},
        {"x - Added - 1 - a\r\ny - Added - 2 - b\r\nz - Deleted - 3 - c\r\nw - Added - 1 - a\r\n", {"3", "1", "2", "1"}},
        {"x - Added - 1", {}},  // no " - " after the number
        {"nothing to see", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractItemNums(c.text), c.numbers) << c.text;
}

TEST_F(AddItemTest, TheAddButtonQueuesTheBoxNumberWhileTheLogIsHidden) {
    cmdAddItem_Click();
    EXPECT_NE(TLMainState::AddPending, 0);
    EXPECT_EQ(service.requestCount(), 0u);
}

TEST_F(AddItemTest, TheAddButtonReAddsTheSelectedHistoryLinesOnce) {
    serve(page("111111111111"));
    serve(page("222222222222"));
    logBox.logBoxShown = true;
    logBox.logBoxSelection = "x - Added - 111111111111 - A\r\ny - Deleted - 222222222222 - B\r\n";
    cmdAddItem_Click();
    ASSERT_EQ(ItemCount, 2);
    std::vector<RecordedRequest> requests;
    for (const auto& r : service.requests())
        if (r.host == itemHost()) requests.push_back(r);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, itemPagePath("222222222222"));  // the deleted line's first
    EXPECT_EQ(requests[1].target, itemPagePath("111111111111"));
    EXPECT_NE(std::find(status.statuses.begin(), status.statuses.end(), "Downloading Group Item 2 of 2"),
              status.statuses.end());
    for (const auto& b : tray.balloons) EXPECT_EQ(b.text.find("Downloading"), std::string::npos);
    EXPECT_EQ(grid.gridLoads, 1);  // once at the end
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(BulkAddActive, 0);
    EXPECT_FALSE(TLMainState::UpdateBusy);
    Load_Auction_Items();
    EXPECT_EQ(ItemCount, 2);
}

TEST_F(AddItemTest, TheStopButtonEndsTheReAddAfterTheItemInHand) {
    ScriptedResponse stalled = ScriptedResponse::ok(itemPageHtml(page("111111111111")));
    stalled.fault = Fault::StallInBody;
    stalled.cutAfter = 100;
    service.route(itemHost(), "GET", itemPagePath("111111111111"), stalled);
    serve(page("222222222222"));
    platform::Timer stop([] { TLMainState::CancelUpdate = -1; });
    stop.setInterval(500);
    stop.setEnabled(true);
    logBox.logBoxShown = true;
    logBox.logBoxSelection = "x - Added - 111111111111 - A\r\ny - Added - 222222222222 - B\r\n";
    cmdAddItem_Click();
    stop.setEnabled(false);
    service.release();
    EXPECT_EQ(ItemCount, 0);
    EXPECT_EQ(pageRequests("222222222222"), 0u);
    ASSERT_GE(status.statuses.size(), 2u);
    EXPECT_EQ(status.statuses[status.statuses.size() - 2], kAddCancelled);
    EXPECT_EQ(status.statuses.back(), kAddHistoryCancelled);
    EXPECT_EQ(TLMainState::CancelUpdate, 0);
    EXPECT_FALSE(TLMainState::UpdateBusy);
    EXPECT_EQ(BulkAddActive, 0);
}

}  // namespace
