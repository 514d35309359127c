#include <gtest/gtest.h>

#include "foundation/user_state.h"
#include "items/remaining_time.h"
#include "items/test_items.h"
#include "items_fixture.h"
#include "service/page_parser.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

class RemainingTimeTest : public ItemsTest {};

struct EndCase {
    const char* displayFormat;
    const char* text;
    QDateTime expected;  // invalid: does not read
};

TEST_F(RemainingTimeTest, ReadsTheEndInEachDateOrderWithTwelveOrTwentyFourHours) {
    const QDateTime mar5(QDate(2026, 3, 5), QTime(22, 4, 9));
    const QDateTime noonish(QDate(2026, 3, 5), QTime(12, 0, 1));
    const QDateTime midnight(QDate(2026, 3, 5), QTime(0, 30, 0));
    const EndCase cases[] = {
        {"mmm-dd-yy", "Mar-05-26  22:04:09", mar5},
        {"mmm-dd-yy", "Mar-05-26  10:04:09 pm", mar5},
        {"mmm-dd-yy", "MAR-05-26  10:04:09 PM", mar5},
        {"mmm.dd.yy", "Mar.05.26  22:04:09", mar5},
        {"dd-mmm-yy", "05-Mar-26  22:04:09", mar5},
        {"dd.mmm.yy", "05.Mar.26  10:04:09 pm", mar5},
        {"yy-mmm-dd", "26-Mar-05  22:04:09", mar5},
        {"yy.mmm.dd", "26.Mar.05  10:04:09 pm", mar5},
        {"mmm-dd-yy", "Mar-05-26  12:00:01 pm", noonish},
        {"mmm-dd-yy", "Mar-05-26  12:30:00 am", midnight},
        {"dd-mmm-yy", "Mar-05-26  22:04:09", mar5},   // month first reads whatever the format
        // Not the program's forms.
        {"mmm-dd-yy", "No End Date", {}},
        {"mmm-dd-yy", "", {}},
        {"mmm-dd-yy", "Mar-05-26", {}},
        {"mmm-dd-yy", "Mar-05-2026  22:04:09", {}},
        {"mmm-dd-yy", "Mar 05, 2026 22:04:09", {}},
        {"mmm-dd-yy", "Mär-05-26  22:04:09", {}},
        {"mmm-dd-yy", "Mar-05.26  22:04:09", {}},
        {"mmm-dd-yy", "Feb-30-26  22:04:09", {}},
        {"mmm-dd-yy", "Mar-05-26  24:00:00", {}},
        {"mmm-dd-yy", "Mar-05-26  13:00:00 pm", {}},
        {"mmm-dd-yy", "Mar-05-26  10:04:09 p", {}},
        {"mmm-dd-yy", "Mar-05-26  10:04", {}},
        {"mmm-dd-yy", "05/03/2026 22:04:09", {}},
    };
    for (const auto& c : cases) {
        modTLMain::DisplayDateFormat = c.displayFormat;
        const auto got = Read_End_Time(c.text);
        if (c.expected.isValid()) {
            ASSERT_TRUE(got.has_value()) << c.text;
            EXPECT_EQ(*got, c.expected) << c.text;
        } else {
            EXPECT_FALSE(got.has_value()) << c.text;
        }
    }
}

TEST_F(RemainingTimeTest, ReadsBackWhatThePageParserWrites) {
    platform::setUserLocaleForTests("en_US");
    modPageParser::ResetForTests();
    modPageParser::PageHTML = "<title>Camera | eBay</title>";
    modPageParser::PageText = "Time Left: 2d 3h (Mar 05, 2026 10:04:09 PST) More";
    const QDateTime expected(QDate(2026, 3, 5), QTime(18, 4, 9));  // UTC
    for (long order : {0L, 1L, 2L}) {
        for (int twelve : {0, 1}) {
            modTLMain::LocaleDateOrder = order;
            modTLMain::DisplayDateFormat = modTLMain::Get_Date_Format();
            UserState::TimeFormat12 = twelve;
            ASSERT_EQ(modPageParser::Get_Title_And_End(), "OK");
            const auto got = Read_End_Time(modPageParser::EndDateDisplay);
            ASSERT_TRUE(got.has_value()) << modPageParser::EndDateDisplay;
            EXPECT_EQ(*got, expected) << modPageParser::EndDateDisplay;
        }
    }
    UserState::TimeFormat12 = 0;
    modPageParser::ResetForTests();
    platform::setUserLocaleForTests("");
}

TEST_F(RemainingTimeTest, SecondsCountFromTheClockWithTheOffsetOnlyWhereTheClockMayNotBeSet) {
    const int i = add("1");
    item(i).EndTime = End_Time_Text(now().addSecs(100), false);
    modClock::ClockOffsetMs = 10000;
    const struct { long os; long elevation; long expected; } cases[] = {
        {6, 3, 90}, {6, 2, 100}, {5, 3, 100}, {0, 0, 100},
    };
    for (const auto& c : cases) {
        modWinInfo::OSMajorVersion = c.os;
        modTLMain::TokenElevationType = c.elevation;
        Get_Remaining_Secs(i);
        EXPECT_TRUE(RemainingKnown);
        EXPECT_EQ(RemainingSecs, c.expected) << c.os << "/" << c.elevation;
    }
}

TEST_F(RemainingTimeTest, AnUnreadableEndIsUnknownNeverTheLastItemsSeconds) {
    const int dated = add("1");
    const int undated = add("2");
    const int ended = add("3");
    item(dated).EndTime = End_Time_Text(now().addSecs(500), true);
    item(undated).EndTime = kNoEndDate;
    item(ended).EndTime = End_Time_Text(now().addSecs(-60), false);
    Get_Remaining_Secs(dated);
    EXPECT_EQ(RemainingSecs, 500);
    Get_Remaining_Secs(undated);
    EXPECT_FALSE(RemainingKnown);
    EXPECT_EQ(RemainingSecs, 0);
    Get_Remaining_Secs(ended);
    EXPECT_TRUE(RemainingKnown);
    EXPECT_EQ(RemainingSecs, -60);
    Get_Remaining_Secs(99);
    EXPECT_FALSE(RemainingKnown);
}

struct TextCase {
    long long seconds;
    const char* dayWord;
    const char* text;
};

TEST_F(RemainingTimeTest, TheTimeLeftTextShowsSecondsOnlyInTheLastThreeMinutes) {
    const TextCase cases[] = {
        {59, "Day", " 59 Secs"},
        {61, "Day", " 1 Min  1 Secs"},
        {150, "Day", " 2 Mins  30 Secs"},
        {180, "Day", " 3 Mins"},
        {3600, "Day", " 1 Hour"},
        {3660, "Day", " 1 Hour  1 Min"},
        {3690, "Day", " 1 Hour  1 Min"},
        {3600 + 300, "Day", " 1 Hour  5 Mins"},
        {7200, "Day", " 2 Hours"},
        {7200 + 60, "Day", " 2 Hours  1 Min"},
        {7200 + 300, "Day", " 2 Hours  5 Mins"},
        {86400, "Days", " 1 Day "},
        {2 * 86400 + 3 * 3600, "Days", " 2 Days  3 Hours"},
        {2 * 86400 + 3 * 3600, "Tage", " 2 Tage  3 Hours"},
        {25 * 3600, "Days", " 1 Day  1 Hour"},
        {25 * 3600, "Day", " 1 Day  1 Hour"},
        {2 * 86400, "Day", " 2 Day "},
        {0, "Day", "Closed"},
        {-1, "Day", "Closed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Remaining_Time_Text(c.seconds, "Closed", c.dayWord), c.text) << c.seconds << " " << c.dayWord;
}

// The heartbeat rebuilds a row's text only when what the text shows changed: across three days,
// second by second, the shown part changes exactly when the text does.
TEST(RemainingTimeShown, ChangesExactlyWhenTheTextDoes) {
    for (long long t = -3; t < 3 * 86400; ++t) {
        const bool sameText = Remaining_Time_Text(t, "Closed", "Days") == Remaining_Time_Text(t + 1, "Closed", "Days");
        ASSERT_EQ(Remaining_Time_Shown(t) == Remaining_Time_Shown(t + 1), sameText) << t;
    }
}

TEST_F(RemainingTimeTest, TheItemsTextTellsNoEndDateClosedAndFinalClosing) {
    const int i = add("1");
    modTLMain::SiteDayWord = "Days";
    modClock::ClockOffsetMs = 30000;  // always counts for the text
    const struct { const char* end; const char* resultDone; const char* text; } cases[] = {
        {"No End Date", "", "NA"},
        {"No End Date", "1", "NA"},
        {"", "", "Closed"},
        {"garbage here", "1", "Final Closing"},
        {"now", "", "Closed"},
        {"now", "1", "Final Closing"},
        {"+90", "", " 1 Min  30 Secs"},
        {"+1d", "", " 1 Day "},
    };
    for (const auto& c : cases) {
        const std::string end = c.end;
        if (end == "now") item(i).EndTime = End_Time_Text(now().addSecs(30), false);
        else if (end == "+90") item(i).EndTime = End_Time_Text(now().addSecs(120), true);
        else if (end == "+1d") item(i).EndTime = End_Time_Text(now().addSecs(86400 + 30), false);
        else item(i).EndTime = end;
        item(i).ResultDone = c.resultDone;
        EXPECT_EQ(Get_Remaining_Time(i), c.text) << c.end;
    }
}

}  // namespace
