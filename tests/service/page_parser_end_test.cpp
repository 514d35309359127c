// The item's title, its end moment in the user's local time, and the listing kind.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_item_pages.h"
#include "foundation/locale_dates.h"
#include "foundation/user_state.h"
#include "platform/locale_info.h"
#include "service/page_parser.h"

namespace {

using namespace modPageParser;

class TitleAndEnd : public ::testing::Test {
protected:
    void SetUp() override {
        modPageParser::ResetForTests();
        modTLMain::LocaleDateOrder = 0;
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        UserState::TimeFormat12 = 0;
        platform::setTimeZoneForTests("America/Los_Angeles");
    }
    void TearDown() override {
        modPageParser::ResetForTests();
        modTLMain::LocaleDateOrder = 0;
        modTLMain::DisplayDateFormat.clear();
        UserState::TimeFormat12 = 0;
        platform::setTimeZoneForTests({});
    }
    // A page with a title element and, in its text, the end line.
    static void page(const std::string& title, const std::string& text) {
        PageHTML = "<html><head><title>" + title + "</title></head><body>...</body></html>";
        PageText = text;
    }
};

TEST_F(TitleAndEnd, TakesTheTitleWithoutTheServiceSuffix) {
    struct Case {
        const char* titleElement;
        const char* expected;
    };
    const Case cases[] = {
        {"Blue teapot | eBay", "Blue teapot"},
        {"\r\n\t  Blue teapot, 6 cups &amp; lid | eBay", "Blue teapot  6 cups & lid"},  // commas blanked
        {"Blue\tteapot - eBay (item 123456789012 end time Mar-05-26)", "Blueteapot"},
        {"eBay Motors: Red Car 1967 (item 123 end time x)", "Red Car 1967"},
        {"It&#039;s a teapot", "It's a teapot"},
    };
    for (const auto& c : cases) {
        page(c.titleElement, "Time Left: 2d (Mar 05, 2026 10:00:00 PST)");
        EXPECT_EQ(Get_Title_And_End(), "OK") << c.titleElement;
        EXPECT_EQ(ItemTitle, c.expected) << c.titleElement;
    }
}

TEST_F(TitleAndEnd, CleansTheServiceSuffixesOffATitle) {
    struct Case {
        const char* title;
        const char* expected;
    };
    const Case cases[] = {
        {"Blue teapot - eBay (item 1 end time x)", "Blue teapot "},
        {"Blue teapot (Item 1)", "Blue teapot "},
        {"Blue teapot | EBAY", "Blue teapot "},
        {"EBAY MOTORS: Red Car (item 1)", " Red Car "},  // untrimmed: the caller trims
        {"eBay Motors: Red Car | eBay", " Red Car "},    // no "(item": the rest, cleaned as any title
        {"Blue teapot", "Blue teapot"},
    };
    for (const auto& c : cases) EXPECT_EQ(Clean_Title(c.title), c.expected) << c.title;
}

TEST_F(TitleAndEnd, UsesTheHandedOverTitleAndFallsBackOnOgTitle) {
    page("Page title", "Time Left: 1h (Mar 05, 2026 10:00:00 PST)");
    HandoverTitle = "Handed over teapot | eBay";
    UseHandoverTitle = 1;
    EXPECT_EQ(Get_Title_And_End(), "OK");
    EXPECT_EQ(ItemTitle, "Handed over teapot ");

    // Without a title element og:title stands in for the title, but the page is an error.
    UseHandoverTitle = 0;
    ItemTitle = "old";
    PageHTML = "<meta property=\"og:title\" content=\"Og &amp; teapot\">";
    EXPECT_EQ(Get_Title_And_End(), kTitleOrEndError);
    EXPECT_EQ(ItemTitle, "Og & teapot");

    PageHTML = "<p>nothing</p>";
    EXPECT_EQ(Get_Title_And_End(), kTitleOrEndError);
    EXPECT_EQ(ItemTitle, "Og & teapot");  // kept
}

struct ZoneCase {
    const char* zone;
    const char* endText;
    const char* display;
};

TEST_F(TitleAndEnd, TurnsThePacificEndIntoTheUsersLocalTime) {
    testsupport::FakeTime time;  // read in winter: the page's zone word decides, not the PC's season now
    time.clock.setNow(QDateTime(QDate(2026, 3, 5), QTime(12, 0)));
    const ZoneCase cases[] = {
        {"America/Los_Angeles", "(Jan 15, 2026 10:00:00 PST)", "Jan-15-26  10:00:00"},
        {"America/Los_Angeles", "(Jul 02, 2026 10:00:00 PDT)", "Jul-02-26  10:00:00"},
        {"America/Los_Angeles", "(Mar 10, 2026 10:00:00 PDT)", "Mar-10-26  10:00:00"},  // PDT end read in winter
        {"Europe/Berlin", "(Jan 15, 2026 10:00:00 PST)", "Jan-15-26  19:00:00"},
        {"Europe/Berlin", "(Jul 02, 2026 10:00:00 PDT)", "Jul-02-26  19:00:00"},
        {"Europe/Berlin", "(Mar 10, 2026 10:00:00 PDT)", "Mar-10-26  18:00:00"},  // Berlin still on winter time
        {"Europe/Berlin", "(Mar 07, 2026 23:30:00 PST)", "Mar-08-26  08:30:00"},
        {"UTC", "(Jan 15, 2026 10:00:00 PST)", "Jan-15-26  18:00:00"},
        {"UTC", "(Jan 15, 2026 10:00:00 pst)", "Jan-15-26  18:00:00"},
        {"UTC", "(Jan 15, 2026 10:00:00 PDT or PST)", "Jan-15-26  18:00:00"},  // PST is tested first
    };
    for (const auto& c : cases) {
        platform::setTimeZoneForTests(c.zone);
        page("Blue teapot | eBay", std::string("Time Left: 2d 03h ") + c.endText + " more");
        EXPECT_EQ(Get_Title_And_End(), "OK") << c.zone << " " << c.endText;
        EXPECT_EQ(EndDateDisplay, c.display) << c.zone << " " << c.endText;
    }
}

TEST_F(TitleAndEnd, KeepsTheEndAsFoundAndWritesItInTheUsersDateOrder) {
    struct Case {
        long dateOrder;
        const char* displayFormat;
        int timeFormat12;
        const char* endDateText;
        const char* display;
    };
    const Case cases[] = {
        {0, "mmm-dd-yy", 0, "Jul 02, 2009", "Jul-02-09  13:04:05"},
        {1, "dd.mmm.yy", 0, "02-7-2009", "02.Jul.09  13:04:05"},
        {2, "yy-mmm-dd", 1, "2009-7-02", "09-Jul-02  01:04:05 pm"},
    };
    platform::setTimeZoneForTests("America/Los_Angeles");
    for (const auto& c : cases) {
        modTLMain::LocaleDateOrder = c.dateOrder;
        modTLMain::DisplayDateFormat = c.displayFormat;
        UserState::TimeFormat12 = c.timeFormat12;
        page("Blue teapot", "Ended: (Jul 02, 2009 13:04:05 PDT)");
        EXPECT_EQ(Get_Title_And_End(), "OK");
        EXPECT_EQ(EndDateText, c.endDateText);
        EXPECT_EQ(EndTimeText, "13:04:05");
        EXPECT_EQ(EndDateDisplay, c.display);
    }
}

TEST_F(TitleAndEnd, FindsTheEndLineByItsMarkers) {
    struct Case {
        const char* text;
        const char* result;
        const char* endTimeText;
    };
    const Case cases[] = {
        {"Ended: (Mar 05, 2026 10:00:00 PST) Time Left: 1d (Mar 06, 2026 11:00:00 PST)", "OK", "11:00:00"},
        {"Ended: Mar 05 (Mar 05, 2026 10:00:00 PST)", "OK", "10:00:00"},
        {"A line of 31 characters or more Mar 05, 2026 12:30:45 PST Enter US $5.00 or more", "OK", "12:30:45"},
        {"A line of 31 characters or more Mar 05, 2026 12:30:45 PST Add to watch list", "OK", "12:30:45"},
        {"A line of 31 characters or more Mar 05, 2026 12:30:45 PST and nothing else", "NoDate", ""},
        {"No end on this page", "NoDate", ""},
    };
    for (const auto& c : cases) {
        page("Blue teapot", c.text);
        EXPECT_EQ(Get_Title_And_End(), c.result) << c.text;
        EXPECT_EQ(EndTimeText, c.endTimeText) << c.text;
    }
}

TEST_F(TitleAndEnd, AnEndThatDoesNotReadIsAnErrorAndLeavesNoOldEnd) {
    const char* texts[] = {
        "Time Left: 2d 03h no brackets",
        "Time Left: 2d (Mar 05, 2026 PST)",                 // no time
        "Time Left: 2d (10:00:00 PST)",                     // no date
        "Time Left: 2d (Xyz 05, 2026 10:00:00 PST)",        // no month
        "Time Left: 2d (Feb 30, 2026 10:00:00 PST)",        // no such day
        "Time Left: 2d (Mar 05, 2026 24:61:00 PST)",        // no such time
        "Time Left: 2d (Mar 05, 2026 10:00:00 CET)",        // no Pacific zone word
    };
    for (const char* text : texts) {
        EndDateText = "Jan 01, 2020";
        EndTimeText = "01:02:03";
        EndDateDisplay = "another item's end";
        page("Blue teapot", text);
        EXPECT_EQ(Get_Title_And_End(), kTitleOrEndError) << text;
        EXPECT_EQ(EndDateText, "") << text;
        EXPECT_EQ(EndTimeText, "") << text;
        EXPECT_EQ(EndDateDisplay, "") << text;
    }
    // "NoDate" clears them too.
    EndDateDisplay = "another item's end";
    page("Blue teapot", "fixed price");
    EXPECT_EQ(Get_Title_And_End(), "NoDate");
    EXPECT_EQ(EndDateDisplay, "");
}

TEST_F(TitleAndEnd, FindsTheTextAroundTheFirstTimeOfDay) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"0123456789012345678901234567890123 10:00:00 PST 3 bids Enter 5.00 or more. Rest",
         "456789012345678901234567890123 10:00:00 PST 3 bids Enter 5.00 or more"},
        {"0123456789012345678901234567890123 10:00:00 PST Add to watch list", "456789012345678901234567890123 10:00:00 PST Add to "},
        {"0123456789012345678901234567890123 10:00:00 Enter no end", ""},
        {"early 10:00:00 Enter 5.00 or more", ""},  // a time within the first 31 characters
        {"no time", ""},
    };
    for (const auto& c : cases) {
        PageText = c.text;
        EXPECT_EQ(Find_End_Time_Text(), c.expected) << c.text;
    }
}

TEST_F(TitleAndEnd, TellsAFixedPriceListingFromAnAuction) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"Price: US $5.00 Buy It Now", 1},
        {"price: US $5.00", 1},
        {"Price: US $5.00 ... Starting bid: US $1.00", 0},
        {"Current bid: US $5.00 Price: x", 0},
        {"Buy It Now US $5.00", 0},
    };
    for (const auto& c : cases) {
        PageText = c.text;
        EXPECT_EQ(Is_Fixed_Price(), c.expected) << c.text;
    }
}

// An item page shows its title and end, or a price beside its label; a page answered in its place
// shows neither, whatever stray amount or time of day stands in it. The question leaves the page
// values and the finders' results as they were.
TEST_F(TitleAndEnd, TellsAnItemPageFromAPageAnsweredInItsPlace) {
    testsupport::ItemPageContent running;
    testsupport::ItemPageContent ended;  // no end line, the price beside its label
    ended.endDate.clear();
    ended.priceLabel = "Winning bid:";
    testsupport::ItemPageContent noPrice;  // title and end, no price
    noPrice.priceLabel.clear();
    noPrice.minBid.clear();
    struct Case {
        const char* what;
        std::string html;
        bool itemPage;
    };
    const Case cases[] = {
        {"a running item", testsupport::itemPageHtml(running), true},
        {"an ended item", testsupport::itemPageHtml(ended), true},
        {"title and end only", testsupport::itemPageHtml(noPrice), true},
        {"garbled", testsupport::garbledItemPage(), false},
        {"empty", "", false},
        {"the sign-in form", testsupport::signInItemPage(), false},
        {"a server error's page", testsupport::serverErrorItemPage(), false},
    };
    for (const Case& c : cases) {
        PageHTML = "kept page";
        PageText = "kept text";
        ItemTitle = "kept title";
        EndDateDisplay = "kept end";
        UseHandoverTitle = 1;
        HandoverTitle = "A handed-over title";
        EXPECT_EQ(Is_Item_Page(c.html), c.itemPage) << c.what;
        EXPECT_EQ(PageHTML, "kept page") << c.what;
        EXPECT_EQ(PageText, "kept text") << c.what;
        EXPECT_EQ(ItemTitle, "kept title") << c.what;
        EXPECT_EQ(EndDateDisplay, "kept end") << c.what;
        EXPECT_EQ(UseHandoverTitle, 1) << c.what;
    }
}

}  // namespace
