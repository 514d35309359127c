// The seller, the shipping cost per national site, the high bidder and the photo address.
#include <gtest/gtest.h>

#include "fake_item_pages.h"
#include "foundation/bid_engine_state.h"
#include "foundation/startup.h"
#include "page_parser_fixture.h"
#include "platform/locale_info.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "temp_data_folder.h"

namespace {

using namespace modPageParser;

class SellerAndShipping : public testsupport::PageFinders {
protected:
    void TearDown() override {
        PageFinders::TearDown();
        TLMainState::PendingRequest.clear();
        TLMainState::PendingRequestItem = 0;
        Set_Item_Number_Lookup(nullptr);
    }
};

TEST_F(SellerAndShipping, ReadsTheSellerWithScoreAndPercentage) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"Seller: bob_smith (152 ) 99.8% Positive feedback", "bob_smith (152) 99.8%"},
        {"Seller information\r\nteapot_seller (152 )\r\n99.8% Positive feedback", "teapot_seller (152) 99.8%"},
        {"Seller : x.y-z*_1 ( 1 234 ) 100% positive", "x.y-z*_1 (1234) 100%"},
        {"Top-rated seller tea.shop (9) 98%", "tea.shop (9) 98%"},
        {"Sold by: tea-shop (77)", "tea-shop (77) "},
        {"Seller: bob_smith (152)" + std::string(60, ' ') + "99.8%", "bob_smith (152) "},  // % too far away
        {"Seller: bob_smith without a score", ""},
        {"No seller here (152) 99%", ""},
    };
    for (const auto& c : cases) {
        PageText = c.text;
        EXPECT_EQ(Get_Seller(), c.expected) << c.text;
    }
}

TEST_F(SellerAndShipping, ReadsTheShippingAsEachSiteShowsIt) {
    struct Case {
        long site;  // -1: no site base at all
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {-1, "Shipping:US $5.00 Standard Shipping", "US 5.00"},
        {0, "Shipping: FREE Standard Shipping", "Free"},
        {0, "Shipping: Calculated at checkout", "See Listing"},
        {0, "Shipping costs: US $3.00", "US 3.00"},
        {0, "No shipping line", "See Listing"},
        {3, "Postage: \xC2\xA3" "2.50 Postage costs: \xC2\xA3" "3.75", "GBP 3.75"},  // the second marker wins
        {3, "Postage: Free Royal Mail", "Free"},
        {3, "Postage: Collection only", "See Listing"},
        {3, "Shipping: US $5.00", ""},
        {1, "Postage: AU $9.95", "AU 9.95"},
        {2, "Shipping: C $12.00 Shipping costs: C $7.00", "C 7.00"},
        {9, "Spedizione: EUR 5,00", "EUR 5.00"},
        {9, "Spedizione: gratis", "See Listing"},
        {8, "Versand: EUR 1.234,90", "EUR 1,234.90"},
        {8, "Kein Versand hier", ""},
        {4, "Versand: EUR 4,90", "EUR 4.90"},
        {12, "Versand: CHF 9,00", "CHF 9.00"},
        {10, "Verzending: EUR 6,95", "EUR 6.95"},
        {6, "Verzending: EUR 6,95", "EUR 6.95"},
        {7, "Frais de livraison : 8,50 EUR", "EUR 8.50"},
        {5, "Frais de livraison : 8,50 EUR", "EUR 8.50"},
        {11, "Env o: 3,00 EUR", "EUR 3.00"},
        {13, "Postage: SGD 15.00", "SGD 15.00"},
    };
    for (const auto& c : cases) {
        ItemSiteBase = c.site < 0 ? "" : modTLMain::Site_Item_Page_Base(c.site);
        PageText = c.text;
        EXPECT_EQ(Get_Shipping(true), c.expected) << "site " << c.site << ": " << c.text;
        EXPECT_EQ(ShippingText, c.text);
    }
}

TEST_F(SellerAndShipping, ReadsTheShippingInTheUsersSeparators) {
    platform::setUserLocaleForTests("de_DE");
    ItemSiteBase = modTLMain::Site_Item_Page_Base(8);
    PageText = "Versand: EUR 1.234,90";
    EXPECT_EQ(Get_Shipping(true), "EUR 1.234,90");
    ItemSiteBase = "";
    PageText = "Shipping: US $1,005.00";
    EXPECT_EQ(Get_Shipping(true), "US 1.005,00");
}

// ---- High bidder --------------------------------------------------------------------------------

TEST_F(SellerAndShipping, ReadsTheHighBidderOfTheBidHistory) {
    using testsupport::BidRow;
    struct Case {
        const char* what;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"bid list page",
         Inner_Text(testsupport::bidHistoryHtml({{"tea_lover", "(12)", "US $1,234.56"}, {"bob", "(3)", "US $1.00"}})),
         "tea_lover"},
        {"no score", Inner_Text(testsupport::bidHistoryHtml({{"tea_lover", "", "GBP 3.00"}})), "tea_lover"},
        {"private bidder", Inner_Text(testsupport::bidHistoryHtml({{"pRIVATE listing", "", "US $3.00"}})),
         "Private Listing"},
        {"member id label", "(show email addresses)\r\nMember Id: tea_lover (12) EUR 5,00", "tea_lover"},
        {"empty lines skipped", "BidderBid Amount\r\n\r\n\r\nbob (1)AU $1.00", "bob"},
        {"no currency word", "BidderBid Amount\r\nbob (1) 1.00", ""},
        {"no bids", Inner_Text(testsupport::bidHistoryHtml({})), ""},
        {"buy it now", "Buyers History\r\nbob (1)", "(Buy It Now Auction)"},
        {"buy it now by user id", "User ID Price\r\nbob", "(Buy It Now Auction)"},
    };
    for (const auto& c : cases) {
        BidHistoryText = c.text;
        EXPECT_EQ(Get_High_Bidder(), c.expected) << c.what << ": " << c.text;
    }
}

TEST_F(SellerAndShipping, LogsTheHighBidderOfTheEndOfAuctionUpdate) {
    testsupport::TempDataFolder data;
    modTLMain::DataFolder = data.dataFolder();
    Set_Item_Number_Lookup([](int index) { return index == 2 ? std::string("123456789012") : std::string("?"); });
    BidHistoryText = "BidderBid Amount\r\ntea_lover (12)US $5.00";

    TLMainState::PendingRequest = "DoUpdateItems";
    EXPECT_EQ(Get_High_Bidder(), "tea_lover");
    EXPECT_FALSE(data.exists("OperationLog.txt"));

    TLMainState::PendingRequest = "DoUpdateBid";
    TLMainState::PendingRequestItem = 2;
    EXPECT_EQ(Get_High_Bidder(), "tea_lover");
    EXPECT_NE(data.read("OperationLog.txt").find(" - Returned High Bidder - Item 123456789012 - tea_lover\r\n"),
              std::string::npos);
    modTLMain::DataFolder.clear();
}

// ---- Photo address ------------------------------------------------------------------------------

TEST_F(SellerAndShipping, FindsThePhotoAddress) {
    struct Case {
        const char* what;
        const char* html;
        const char* title;
        const char* expected;
    };
    const Case cases[] = {
        {"the picture host's address that holds the safe title",
         "<img src=\"http://pics.example/Blue-teapot.jpg\"><img src=\"http://i.ebayimg.com/a/logo.gif\">"
         "<img src=\"http://i.ebayimg.com/a/Blue-teapot-6-cups.jpg\">",
         "Blue teapot, 6 cups", "http://i.ebayimg.com/a/Blue-teapot-6-cups.jpg"},
        {"the first third of the safe title is enough", "<img SRC=\"HTTPS://I.EBAYIMG.COM/a/Grandmas-bl_x.jpg\">",
         "Grandma's blue teapot 6 cups", "HTTPS://I.EBAYIMG.COM/a/Grandmas-bl_x.jpg"},
        {"else the first src address with the marker",
         "<a href=\"http://x/a.jpg\">a</a><img data-src=\"http://pics.example/b.jpg\">", "Blue teapot",
         "http://pics.example/b.jpg"},
        {"an address without a quote ends the search", "<img src=x.jpg>", "Blue teapot", ""},
        {"no address", "<p>no pictures</p>", "Blue teapot", ""},
        {"many addresses in one quoted run, none after src", "<p>\"x.jpgx.jpgx.jpgx.jpg\"</p>", "Blue teapot", ""},
        {"quotes found once serve every marker",
         "\"x.jpg\" \"y.jpg\" <img src=\"http://pics.example/z.jpg\"> \"w.jpg\"", "Blue teapot",
         "http://pics.example/z.jpg"},
    };
    for (const auto& c : cases) {
        std::string title = c.title;
        EXPECT_EQ(Get_Photo_URL(c.html, title, ".jpg"), c.expected) << c.what;
        EXPECT_EQ(title.find('\''), std::string::npos) << "the caller's title loses its apostrophes, " << c.what;
    }
}

}  // namespace
