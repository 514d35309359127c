// Item pages and bid histories downloaded from the fake service, and everything the finders read
// from a whole item page.
#include <gtest/gtest.h>

#include <QDir>

#include "fake_clock.h"
#include "fake_item_pages.h"
#include "fake_service.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "platform/locale_info.h"
#include "recording_main_window.h"
#include "service/item_page.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace {

using namespace modPageParser;
using testsupport::FakeService;
using testsupport::ItemPages;
using testsupport::ItemPageContent;

std::string itemHost(long site) { return modTLMain::National_Site(site)->itemHost; }

class ItemPageDownload : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        modPageParser::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        modTLMain::LocaleDateOrder = 0;
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        platform::setUserLocaleForTests("en_US");
        platform::setTimeZoneForTests("Europe/London");
        service.useForClient();
    }
    void TearDown() override {
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        modPageParser::ResetForTests();
        modTLMain::DisplayDateFormat.clear();
        platform::setUserLocaleForTests("");
        platform::setTimeZoneForTests({});
        modTLMain::ResetStartupForTests();
    }
    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : std::string(); }

    testsupport::TempDataFolder data;
    FakeService service;
};

TEST_F(ItemPageDownload, DownloadsTheItemPageAsItIsNow) {
    ItemPages pages(service, itemHost(0), "123456789012");
    pages.setItemPage(testsupport::itemPageHtml({}));
    modWinInet::HttpURL = pages.itemUrl();
    EXPECT_EQ(Get_ItemPage(modWinInet::HttpURL, ""), "OK");
    EXPECT_EQ(modWinInet::HttpURL, itemHost(0) + testsupport::itemPagePath("123456789012"));  // without the scheme
    EXPECT_EQ(PageHTML, testsupport::itemPageHtml({}));
    EXPECT_EQ(service.lastRequest().header("Accept-Encoding"), "gzip, Deflate");

    ItemPageContent ended;
    ended.price = "US $99.00";
    pages.setItemPage(testsupport::itemPageHtml(ended));
    std::string url = pages.itemUrl();
    EXPECT_EQ(Get_ItemPage(url, ""), "OK");
    ASSERT_TRUE(Build_Page_Text());
    EXPECT_EQ(Get_Current_Price(), "US 99.00");
}

TEST_F(ItemPageDownload, AFailedDownloadIsNotOk) {
    testsupport::FakeTime time;  // the client's pause after a failed send passes at once
    std::string url = "http://127.0.0.1:" + std::to_string(FakeService::closedPort()) + "/ws/eBayISAPI.dll?ViewItem&item=1";
    EXPECT_EQ(Get_ItemPage(url, ""), "");
}

TEST_F(ItemPageDownload, EveryFinderReadsTheWholeItemPage) {
    ItemPageContent item;
    item.reserveNotMet = true;
    ItemPages pages(service, itemHost(0), item.itemNumber);
    pages.setItemPage(testsupport::itemPageHtml(item));
    std::string url = pages.itemUrl();
    ASSERT_EQ(Get_ItemPage(url, ""), "OK");
    ASSERT_TRUE(Build_Page_Text());

    EXPECT_EQ(PageText.find("A fine teapot"), std::string::npos) << "the description lies below the cut";
    EXPECT_EQ(PageText.find("var price"), std::string::npos) << "scripts give no text";
    EXPECT_EQ(Get_Title_And_End(), "OK");
    EXPECT_EQ(ItemTitle, "Blue teapot");
    EXPECT_EQ(EndDateText, "Mar 05, 2026");
    EXPECT_EQ(EndTimeText, "10:00:00");
    EXPECT_EQ(EndDateDisplay, "Mar-05-26  18:00:00");  // London in winter
    EXPECT_EQ(Is_Fixed_Price(), 0);
    EXPECT_EQ(Get_Current_Price(), "US 1,234.56");
    EXPECT_EQ(ReserveNotMet, 1);
    EXPECT_EQ(Get_Bid_Count(), "7");
    EXPECT_EQ(Get_Min_Bid(), "US 1,235.56");
    EXPECT_EQ(Get_Seller(), "teapot_seller (152) 99.8%");
    EXPECT_EQ(Get_Shipping(true), "US 5.00");
    EXPECT_EQ(Get_Photo_URL(PageHTML, ItemTitle, ".jpg"), item.photoUrl);
    EXPECT_EQ(Get_Meta_Content("og:image"), item.photoUrl);
}

TEST_F(ItemPageDownload, ReadsAFixedPriceListing) {
    ItemPageContent item;
    item.priceLabel = "Price:";
    item.minBid = "";
    item.endDate = "";
    item.shipping = "FREE Economy Shipping";
    ItemPages pages(service, itemHost(0), item.itemNumber);
    pages.setItemPage(testsupport::itemPageHtml(item));
    std::string url = pages.itemUrl();
    ASSERT_EQ(Get_ItemPage(url, ""), "OK");
    Build_Page_Text();
    EXPECT_EQ(Get_Title_And_End(), "NoDate");
    EXPECT_EQ(Is_Fixed_Price(), 1);
    EXPECT_EQ(Get_Current_Price(), "US 1,234.56");
    EXPECT_EQ(Get_Min_Bid(), "");
    EXPECT_EQ(Get_Shipping(true), "Free");
}

TEST_F(ItemPageDownload, ReadsTheBidHistoryAndItsHighBidder) {
    ItemPages pages(service, itemHost(0), "123456789012");
    pages.setHistoryPage(testsupport::bidHistoryHtml({{"tea_lover", "(12)", "US $1,234.56"}, {"bob", "(3)", "US $1.00"}}));
    EXPECT_EQ(Get_HistoryPage(pages.historyUrl(), "bob"), "OK");
    EXPECT_NE(BidHistoryText.find("BidderBid Amount"), std::string::npos);
    EXPECT_EQ(Get_High_Bidder(), "tea_lover");

    // The seller's page lists no bids: still a text, so "OK", and no bidder.
    pages.setHistoryPage(testsupport::bidHistoryHtml({}));
    EXPECT_EQ(Get_HistoryPage(pages.historyUrl(), "bob"), "OK");
    EXPECT_EQ(Get_High_Bidder(), "");

    pages.setHistoryPage("");
    EXPECT_EQ(Get_HistoryPage(pages.historyUrl(), "bob"), "");
}

TEST_F(ItemPageDownload, ARedirectedBidHistoryIsLoggedAndKeepsTheOldText) {
    ItemPages pages(service, itemHost(0), "123456789012");
    pages.redirectHistory("http://signin.ebay.com/ws/eBayISAPI.dll?SignIn");
    BidHistoryText = "old history";
    service.clearRequests();
    EXPECT_EQ(Get_HistoryPage(pages.historyUrl(), "bob"), "");
    EXPECT_EQ(BidHistoryText, "old history");
    EXPECT_EQ(service.requestCount(), 1u) << "the redirect is not followed";
    EXPECT_NE(opLog().find(" - Bid History Page Error - Redirect to: http://signin.ebay.com/ws/eBayISAPI.dll?SignIn\r\n"),
              std::string::npos);

    // A failed request after it is no redirect, whatever status the client still holds.
    testsupport::FakeTime time;
    std::string url = "http://127.0.0.1:" + std::to_string(FakeService::closedPort()) + "/x";
    EXPECT_EQ(Get_HistoryPage(url, "bob"), "");
    const std::string log = opLog();
    EXPECT_EQ(log.find("Redirect to:"), log.rfind("Redirect to:")) << log;
}

TEST_F(ItemPageDownload, FetchesTheShippingFromTheItemsOwnSite) {
    testsupport::RecordingMainWindow window;
    window.itemNumber = " 123456789012 ";
    ItemPages de(service, itemHost(8), "123456789012");
    de.setItemPage("<table><tr><td>Versand:</td><td>EUR 4,90 Standardversand</td></tr></table>");
    ItemSiteBase = modTLMain::Site_Item_Page_Base(8);
    PageText = "the user's page: Shipping: US $9.99";

    modDebug::DebugOutput = true;
    QDir().mkpath(QString::fromStdString(data.path("Debug")));
    EXPECT_EQ(Get_Shipping(false), "EUR 4.90");
    modDebug::DebugOutput = false;
    EXPECT_EQ(ShippingText, "Versand:EUR 4,90 Standardversand");
    EXPECT_EQ(data.read("Debug/NonUSShipText.txt"), "Versand:EUR 4,90 Standardversand\r\n");
    EXPECT_EQ(service.lastRequest().host, itemHost(8));
    EXPECT_EQ(service.lastRequest().target, testsupport::itemPagePath("123456789012"));
    EXPECT_EQ(service.lastRequest().header("Cookie"), "");
    EXPECT_EQ(TLMainState::DownloadBusy, 0);

    // The UK page keeps its pound signs.
    ItemPages uk(service, itemHost(3), "123456789012");
    uk.setItemPage("<div>Postage: \xC2\xA3" "2.50 Royal Mail</div><p>Caf\xC3\xA9</p>");
    ItemSiteBase = modTLMain::Site_Item_Page_Base(3);
    EXPECT_EQ(Get_Shipping(false), "GBP 2.50");

    // An empty page, and a download that fails.
    ItemPages empty(service, itemHost(9), "123456789012");
    ItemSiteBase = modTLMain::Site_Item_Page_Base(9);
    EXPECT_EQ(Get_Shipping(false), "See Listing");
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    {
        testsupport::FakeTime time;  // the client's pause after a failed send passes at once
        ItemSiteBase = "http://127.0.0.1:" + std::to_string(FakeService::closedPort()) + "/";
        EXPECT_EQ(Get_Shipping(false), "See Listing");
        EXPECT_EQ(TLMainState::DownloadBusy, 0);
    }

    // The US site uses the page at hand.
    ItemSiteBase = modTLMain::Site_Item_Page_Base(0);
    PageText = "Shipping: US $9.99";
    const size_t before = service.requestCount();
    EXPECT_EQ(Get_Shipping(false), "US 9.99");
    EXPECT_EQ(service.requestCount(), before);
}

}  // namespace
