// Reading the service's bid pages: which form is the confirmation, the confirm request built from
// it, and the minimum bid of a refused offer.
#include <gtest/gtest.h>

#include "bidding/confirm_form.h"
#include "fake_bid_pages.h"
#include "service/page_globals.h"

using TLMainBids::Read_Confirm_Form;

namespace {

const std::string kHostPath = "offer.ebay.com/ws/eBayISAPI.dll?";

TEST(ConfirmForm, TheConfirmRequestComesFromTheFormWithMaxbidAndConfirmbid) {
    struct Case {
        const char* what;
        std::string page;
        bool found;
        const char* maxBid;
        std::string request;
    };
    const Case cases[] = {
        {"the service's page: the search form before it is passed over; values encoded after decoding",
         testsupport::BidPages::confirmPage("110012345678", "1,250.00"), true, "1,250.00",
         kHostPath + "MfcISAPICommand=AcceptBid&item=110012345678&maxbid=1%2C250%2E00&key=" +
             testsupport::BidPages::keySent()},
        {"the command need not come first: one \"?\", \"&\" between pairs",
         "<form><input name=\"item\" value=\"9\"><input name=\"MfcISAPICommand\" value=\"AcceptBid\">"
         "<input name=\"maxbid\" value=\"5.00\"><input type=submit name=confirmbid value=Go></form>",
         true, "5.00", kHostPath + "item=9&MfcISAPICommand=AcceptBid&maxbid=5%2E00"},
        {"blanks around \"=\", single quotes, unquoted values, a nameless input skipped",
         "<form><input type=hidden name = 'MfcISAPICommand' value = AcceptBid><input type=\"image\" src=\"x.gif\">"
         "<INPUT NAME=maxbid VALUE=\"7.25\"><input name=\"x\"><input name=\"confirmbid\" type=\"submit\"></form>",
         true, "7.25", kHostPath + "MfcISAPICommand=AcceptBid&maxbid=7%2E25&x="},
        {"only \"maxbid\" exactly is the amount", 
         "<form><input name=\"maxbidder\" value=\"1\"><input name=\"confirmbid\" value=\"x\"></form>", false, "", ""},
        {"a form without a confirm control is no confirmation",
         "<form><input name=\"maxbid\" value=\"5.00\"><input type=submit value=Bid></form>", false, "", ""},
        {"an empty amount is found but does not validate",
         "<form><input name=\"maxbid\" value=\"\"><input name=\"confirmbid\" value=\"Bid\"></form>", true, "",
         kHostPath + "maxbid="},
        {"the confirm control first leaves nothing to post",
         "<form><input name=\"confirmbid\" value=\"Bid\"><input name=\"maxbid\" value=\"5.00\"></form>", true, "5.00", ""},
        {"no form at all", "<p>Please sign in</p><input name=\"maxbid\" value=\"5.00\">", false, "", ""},
    };
    for (const Case& c : cases) {
        const TLMainBids::ConfirmForm f = Read_Confirm_Form(c.page);
        EXPECT_EQ(f.found, c.found) << c.what;
        EXPECT_EQ(f.maxBid, c.maxBid) << c.what;
        EXPECT_EQ(f.request, c.request) << c.what;
        EXPECT_EQ(TLMainBids::ExtractValidateFormPostStr(c.page), c.request) << c.what;
    }
}

TEST(ConfirmForm, InputValuesAndEntities) {
    const std::string page = "<input name=\"a\" value=\"x &amp; y &lt;&#65;&#x42;&gt; &quot;q&quot;\">"
                             "<input\r\nname=\"b\"\r\nvalue=\"line\r\nwrapped\"><input name=b value=second>";
    EXPECT_EQ(TLMainBids::GetInputValue(page, "a"), "x & y <AB> \"q\"");
    EXPECT_EQ(TLMainBids::GetInputValue(page, "b"), "linewrapped");  // the first of that name
    EXPECT_EQ(TLMainBids::GetInputValue(page, "c"), "");
    EXPECT_EQ(TLMainBids::Decode_Html_Entities("a &unknown; & b &#0; &amp;amp;"), "a &unknown; & b &#0; &amp;");
}

TEST(ConfirmForm, MinimumBidOfARefusedOffer) {
    EXPECT_EQ(TLMainBids::GetValMinBid(testsupport::BidPages::minimumBidPage("US $12.50")), "$12.50");
    EXPECT_NE(modPageParser::PageText.find("The following must be corrected"), std::string::npos);
    EXPECT_EQ(TLMainBids::GetValMinBid(testsupport::BidPages::endedPage()), "");
    EXPECT_NE(modPageParser::PageText.find("Auction ended"), std::string::npos);
}

}  // namespace
