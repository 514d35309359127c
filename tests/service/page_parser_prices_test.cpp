// Amounts on the item page: current price and currency, minimum bid, bid count, reserve, and the
// amount readers written in the user's separators.
#include <gtest/gtest.h>

#include "page_parser_fixture.h"
#include "platform/locale_info.h"
#include "service/page_parser.h"

namespace {

using namespace modPageParser;

class Prices : public testsupport::PageFinders {};

struct PriceCase {
    const char* locale;
    const char* text;
    const char* expected;
};

TEST_F(Prices, ReadsTheCurrentPriceWithItsCurrencyWord) {
    const std::string far(45, '-');
    const PriceCase cases[] = {
        {"en_US", "Current bid:US $1,234.56[7 bids]", "US 1,234.56"},
        {"de_DE", "Current bid:US $1,234.56[7 bids]", "US 1.234,56"},
        {"en_GB", "Winning bid: GBP 12.00", "GBP 12.00"},
        {"en_US", "Starting bid: AU $5.00", "AU 5.00"},
        {"en_US", "Current bid: EUR 1,000,000.00", "EUR 1,000,000.00"},
        {"en_US", "Price: C $1.00", "C 1.00"},
        {"en_US", "Price:C$1.00", "C 1.00"},
        {"en_US", "Price: Crazy $1.00", " 1.00"},   // a capital C inside a word is no currency
        {"en_US", "Price: USD 1.00", " 1.00"},
        {"en_US", "Price: $1.00 US", " 1.00"},       // a word behind the amount is not its currency
        {"en_US", "Price: 1.00", " 1.00"},
        {"en_US", "Price: no decimals US $5 here", ""},
        {"en_US", "Currently: US $3.10", "US 3.10"},
        {"en_US", "Price Buy It Now for US $9.99", "US 9.99"},
        {"en_US", "Starts at US $0.99", "US 0.99"},
        {"en_US", "Sold for: US $15.00", "US 15.00"},
        {"en_US", "Lowest US $2.49", "US 2.49"},
    };
    for (const auto& c : cases) {
        platform::setUserLocaleForTests(c.locale);
        PageText = c.text;
        EXPECT_EQ(Get_Current_Price(), c.expected) << c.locale << ": " << c.text;
    }
    // A marker without an amount within 40 bytes passes to the next marker.
    PageText = "Winning bid: see below" + far + " Price: EUR 12.50";
    EXPECT_EQ(Get_Current_Price(), "EUR 12.50");
}

TEST_F(Prices, AmountsAreBuiltApartFromThePageText) {
    platform::setUserLocaleForTests("de_DE");
    PageText = "Current bid: US $1,234.56 Shipping: US $1,000.00";
    const std::string before = PageText;
    EXPECT_EQ(Get_Current_Price(), "US 1.234,56");
    EXPECT_EQ(Parse_Price(27, true), "US 1.000,00");
    EXPECT_EQ(PageText, before);
}

TEST_F(Prices, FallsBackOnTheFirstAmountBehindTheItemsCondition) {
    const PriceCase cases[] = {
        {"en_US", "1.50 Item condition: New - see the photos, now US $7.25 only", "US 7.25"},
        {"en_US", "2.50 Quantity: 1 ... GBP 3.99 each", "GBP 3.99"},
        {"en_US", "A teapot for 4.75 dollars", " 4.75"},
        {"en_US", "No amount at all", ""},
    };
    for (const auto& c : cases) {
        PageText = c.text;
        ReserveNotMet = 1;
        EXPECT_EQ(Get_Current_Price(), c.expected) << c.text;
        EXPECT_EQ(ReserveNotMet, 0) << c.text;
    }
}

TEST_F(Prices, ReadsTheReserveWithThePrice) {
    PageText = "Current bid: US $5.00 reserve NOT met";
    EXPECT_EQ(Get_Current_Price(), "US 5.00");
    EXPECT_EQ(ReserveNotMet, 1);
    PageText = "Current bid: US $5.00 Reserve met";
    Get_Current_Price();
    EXPECT_EQ(ReserveNotMet, 0);
    PageText = "Reserve not met";
    Check_Reserve();
    EXPECT_EQ(ReserveNotMet, 1);
}

TEST_F(Prices, ReadsTheMinimumBid) {
    const PriceCase cases[] = {
        {"en_US", "Enter your bid. Enter US $1,235.56 or more", "US 1,235.56"},
        {"de_DE", "Enter US $1,235.56 or more", "US 1.235,56"},
        {"en_US", "enter GBP 2.20 OR MORE", "GBP 2.20"},
        {"en_US", "US $1.00 or more", ""},          // no "Enter" before it
        {"en_US", "Enter US $1.00", ""},            // no "or more"
    };
    for (const auto& c : cases) {
        platform::setUserLocaleForTests(c.locale);
        PageText = c.text;
        EXPECT_EQ(Get_Min_Bid(), c.expected) << c.text;
    }
}

TEST_F(Prices, CountsTheBids) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const std::string far(120, 'x');
    const Case cases[] = {
        {"Current bid:US $1,234.56[7 bids]", "7"},
        {"Winning bid:US $5.00 [ 12 bids]", "12"},
        {"Starting bid:US $5.00[0 bids]", "0"},
        {"Current bid:US $5.00 no bracket. Bid History: 3", ""},
        {"Bid History: 4 bids", "4"},
        {"Quantity: 2 available", "2"},
        {"Bid History:1234567890123456", "123456789012"},  // at most 12 digits
        {"0123456789012345678901234567890123456 10:00:00 PST 13 bids Enter 5.00 or more", "13"},
        {"0123456789012345678901234567890123456 10:00:00 PST 2bids Enter 5.00 or more", "2"},
        {"0123456789012345678901234567890123456 10:00:00 PST no bids Enter 5.00 or more", ""},
        {"nothing", ""},
    };
    for (const auto& c : cases) {
        PageText = c.text;
        EXPECT_EQ(Get_Bid_Count(), c.expected) << c.text;
    }
    PageText = "Quantity:" + far + "5";
    EXPECT_EQ(Get_Bid_Count(), "") << "no digit within 101 characters";
    PageText = "Quantity:" + std::string(101, 'x') + "56";
    EXPECT_EQ(Get_Bid_Count(), "56") << "no digit within 101 characters: the run behind them";
    PageText = "Quantity:" + std::string(100, 'x') + "56";
    EXPECT_EQ(Get_Bid_Count(), "56") << "the 101st character";
}

TEST_F(Prices, ReadsAmountsWithTheirSign) {
    struct Case {
        const char* text;
        bool withCode;
        const char* expected;
    };
    const Case cases[] = {
        {"Postage: \xC2\xA3" "3.50", true, "\xC2\xA3" "3.50"},
        {"Postage: $3.50", true, "$3.50"},
        {"Postage: AU 3.50", true, "AU 3.50"},
        {"Postage: AU 3.50", false, "3.50"},
        {"Postage: 3.50", true, "3.50"},          // the word before it is no code
        {"POSTAGE: 3.50", true, "POSTAGE 3.50"},
    };
    for (const auto& c : cases) {
        PageText = c.text;
        EXPECT_EQ(Parse_Price_Symbol(9, c.withCode), c.expected) << c.text;
    }
}

TEST_F(Prices, ReadsAmountsWithANationalSitesMarks) {
    struct Case {
        const char* locale;
        const char* text;
        const char* decimalMark;
        const char* thousandsMark;
        bool withCode;
        const char* expected;
    };
    const Case cases[] = {
        {"en_US", "Versand: EUR 1.234,90", ",", ".", true, "EUR 1,234.90"},
        {"de_DE", "Versand: EUR 1.234,90", ",", ".", true, "EUR 1.234,90"},
        {"de_DE", "Versand: 4,90 EUR", ",", ".", false, "4,90"},
        {"de_DE", "Versand: 4,90 EUR", ",", ".", true, "4,90"},  // "Versand" is no code
        {"en_GB", "Postage: \xC2\xA3" "2.50", ".", ",", false, "GBP 2.50"},
        {"en_US", "Postage: C $12.00", ".", ",", true, "C 12.00"},
    };
    for (const auto& c : cases) {
        platform::setUserLocaleForTests(c.locale);
        ShippingText = c.text;
        const std::string before = ShippingText;
        EXPECT_EQ(Parse_Price_Site(9, c.withCode, c.decimalMark, c.thousandsMark), c.expected) << c.text;
        EXPECT_EQ(ShippingText, before);
    }
}

TEST_F(Prices, LocalizesACanonicalAmount) {
    const PriceCase cases[] = {
        {"en_US", "1,234.56", "1,234.56"},
        {"de_DE", "1,234.56", "1.234,56"},
        {"de_DE", "$1,234.56", "1.234,56"},
        {"de_DE", "\xC2\xA3" "12.00", "12,00"},
        {"de_DE", "1234", "1234"},
        {"de_DE", "", ""},
    };
    for (const auto& c : cases) {
        platform::setUserLocaleForTests(c.locale);
        EXPECT_EQ(Localize_Amount(c.text), c.expected) << c.locale << ": " << c.text;
    }
}

}  // namespace
