#include <gtest/gtest.h>

#include "foundation/locale_dates.h"
#include "platform/locale_ids.h"
#include "platform/locale_info.h"
#include "support/fake_clock.h"

namespace {

using platform::SystemTime;

// A user locale and time zone for one test, and a clock in the given year.
class LocaleDates : public ::testing::Test {
protected:
    void TearDown() override {
        platform::setUserLocaleForTests("");
        platform::setTimeZoneForTests({});
        modTLMain::ResetLocaleDatesForTests();
    }
    void use(const char* locale, const char* zone = "UTC") {
        platform::setUserLocaleForTests(locale);
        platform::setTimeZoneForTests(zone);
    }
    testsupport::FakeTime time;  // 1 June 2026, noon
};

TEST_F(LocaleDates, LocaleNamesMapToTheProgramsLocaleIds) {
    struct C { const char* name; long id; };
    for (auto c : {C{"en_US", 1033}, C{"en_GB.UTF-8", 2057}, C{"de-DE", 1031}, C{"nl_BE@euro", 2067},
                   C{"sv_SE", 1053}, C{"ja_JP", 1041}, C{"C", 0}, C{"POSIX", 0}, C{"xx_YY", 0}}) {
        EXPECT_EQ(platform::localeIdFor(c.name), c.id) << c.name;
    }
    use("en_AU.UTF-8");
    EXPECT_EQ(modTLMain::GetUserDefaultLCID(), 3081);
}

TEST_F(LocaleDates, PacificOffsetIsStandardOffsetFromUtcMinusEight) {
    struct C { const char* zone; long bias; int offset; };
    for (auto c : {C{"Europe/Berlin", -60, 540}, C{"America/Los_Angeles", 480, 0}, C{"UTC", 0, 480},
                   C{"Asia/Tokyo", -540, 1020}, C{"America/New_York", 300, 180}}) {
        use("en_US", c.zone);
        modTLMain::Get_Time_Zone_Info();  // June: daylight time where there is one, yet the standard bias counts
        EXPECT_EQ(modTLMain::TimeZoneInfo.Bias, c.bias) << c.zone;
        EXPECT_EQ(modTLMain::PacificOffsetMinutes, c.offset) << c.zone;
    }
}

TEST_F(LocaleDates, DaylightChangesOfThisYearAtTheLocalTimeBeforeTheChange) {
    struct C { const char* zone; int month; long id; const char* start; const char* end; };
    const C cases[] = {
        {"America/Los_Angeles", 6, 2, "Mar-08-2026 02:00 AM", "Nov-01-2026 02:00 AM"},
        {"America/Los_Angeles", 1, 1, "Mar-08-2026 02:00 AM", "Nov-01-2026 02:00 AM"},
        {"Europe/London", 6, 2, "Mar-29-2026 01:00 AM", "Oct-25-2026 02:00 AM"},
        {"Australia/Sydney", 6, 1, "Oct-04-2026 02:00 AM", "Apr-05-2026 03:00 AM"},
    };
    for (const auto& c : cases) {
        use("en_US", c.zone);
        time.clock.setNow(QDateTime(QDate(2026, c.month, 15), QTime(12, 0)));
        modTLMain::Get_Time_Zone_Info();
        EXPECT_EQ(modTLMain::TimeZoneId, c.id) << c.zone << " " << c.month;
        EXPECT_EQ(modTLMain::DstStartText, c.start) << c.zone;
        EXPECT_EQ(modTLMain::DstEndText, c.end) << c.zone;
        EXPECT_EQ(modTLMain::TimeZoneInfo.DaylightBias, -60) << c.zone;
        EXPECT_EQ(modTLMain::TimeZoneName,
                  c.id == 2 ? modTLMain::TimeZoneInfo.DaylightName : modTLMain::TimeZoneInfo.StandardName);
    }
    use("en_US", "America/Los_Angeles");
    modTLMain::Get_Time_Zone_Info();
    EXPECT_NE(modTLMain::TimeZoneName.find("Pacific"), std::string::npos) << modTLMain::TimeZoneName;
}

TEST_F(LocaleDates, ZoneWithoutDaylightSavingGivesTheZeroDateForBothChanges) {
    use("en_US", "Asia/Tokyo");
    modTLMain::Get_Time_Zone_Info();
    EXPECT_EQ(modTLMain::TimeZoneId, 0);
    EXPECT_EQ(modTLMain::DstStartText, "Dec-30-1899 12:00 AM");
    EXPECT_EQ(modTLMain::DstEndText, "Dec-30-1899 12:00 AM");
    EXPECT_EQ(modTLMain::TimeZoneInfo.DaylightDate, SystemTime{});
    EXPECT_FALSE(modTLMain::TimeZoneName.empty());
    EXPECT_EQ(modTLMain::TimeZoneName, modTLMain::TimeZoneInfo.StandardName);
}

TEST_F(LocaleDates, TransitionDateReadsRulesAndAbsoluteDates) {
    auto rule = [](int16_t month, int16_t dow, int16_t week, int16_t hour) {
        SystemTime t;
        t.wMonth = month, t.wDayOfWeek = dow, t.wDay = week, t.wHour = hour;
        return t;
    };
    SystemTime absolute;
    absolute.wYear = 2025, absolute.wMonth = 7, absolute.wDay = 4, absolute.wHour = 5, absolute.wMinute = 30;
    SystemTime noDayButTime = rule(3, 0, 0, 2);
    struct C { SystemTime t; QDateTime expected; };
    const C cases[] = {
        {rule(3, 0, 2, 2), QDateTime(QDate(2026, 3, 8), QTime(2, 0))},     // second Sunday of March
        {rule(10, 0, 5, 3), QDateTime(QDate(2026, 10, 25), QTime(3, 0))},  // last Sunday of October
        {rule(11, 0, 1, 2), QDateTime(QDate(2026, 11, 1), QTime(2, 0))},   // first Sunday, the 1st itself
        {rule(8, 6, 5, 0), QDateTime(QDate(2026, 8, 29), QTime(0, 0))},    // last Saturday, a four-week month end
        {rule(5, 5, 5, 0), QDateTime(QDate(2026, 5, 29), QTime(0, 0))},    // fifth Friday is the last
        {absolute, QDateTime(QDate(2025, 7, 4), QTime(5, 30))},
        {noDayButTime, QDateTime(QDate(1899, 12, 30), QTime(2, 0))},
        {rule(3, 0, 6, 0), QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {SystemTime{}, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modTLMain::Transition_Date(c.t), c.expected)
            << c.t.wMonth << "/" << c.t.wDayOfWeek << "/" << c.t.wDay;
}

TEST_F(LocaleDates, UserLocaleSettings) {
    struct C { const char* locale; const char* country; const char* order; const char* dec; const char* thou; const char* time; };
    const C cases[] = {
        {"en_US", "United States", "0", ".", ",", "0"},
        {"en_GB", "United Kingdom", "1", ".", ",", "1"},
        {"de_DE", "Germany", "1", ",", ".", "1"},
        {"ja_JP", "Japan", "2", ".", ",", "1"},
        {"C", "United States", "0", ".", ",", "0"},  // no locale: the program's English default
    };
    for (const auto& c : cases) {
        use(c.locale);
        EXPECT_EQ(modTLMain::Get_Locale_Country(), c.country) << c.locale;
        EXPECT_EQ(modTLMain::Get_Locale_Date_Order(), c.order) << c.locale;
        EXPECT_EQ(modTLMain::Get_Locale_Decimal(), c.dec) << c.locale;
        EXPECT_EQ(modTLMain::Get_Locale_Thousand(), c.thou) << c.locale;
        EXPECT_EQ(modTLMain::Get_Locale_Time_Format(), c.time) << c.locale;
    }
    use("en_GB");
    EXPECT_EQ(modTLMain::Get_Locale_Info(1031, modTLMain::LOCALE_SENGCOUNTRY), "Germany");  // another locale by id
    EXPECT_EQ(modTLMain::Get_Locale_Info(4242, modTLMain::LOCALE_SENGCOUNTRY), "");         // unknown id
    EXPECT_EQ(modTLMain::Get_Locale_Info(2057, 0x7777), "");                                 // unknown query
    EXPECT_EQ(modTLMain::Get_Locale_Info(0, modTLMain::LOCALE_ILANGUAGE), "0809");
}

TEST_F(LocaleDates, DisplayDateFormatFollowsSeparatorAndDateOrder) {
    struct C { const char* locale; long order; const char* expected; };
    for (auto c : {C{"en_US", 0, "mmm-dd-yy"}, C{"en_GB", 1, "dd-mmm-yy"}, C{"de_DE", 1, "dd.mmm.yy"},
                   C{"ja_JP", 2, "yy-mmm-dd"}, C{"nl_NL", 1, "dd-mmm-yy"}, C{"de_DE", 7, "mmm.dd.yy"}}) {
        use(c.locale);
        modTLMain::LocaleDateOrder = c.order;
        EXPECT_EQ(modTLMain::Get_Date_Format(), c.expected) << c.locale << " " << c.order;
    }
    use("de_DE");  // as the main window loads it
    modTLMain::LocaleDateOrder = std::stol(modTLMain::Get_Locale_Date_Order());
    EXPECT_EQ(modTLMain::Get_Date_Format(), "dd.mmm.yy");
}

TEST_F(LocaleDates, FormatLocaleDateWritesTheLocalesOwnDate) {
    use("en_GB");
    struct C { long id; long flags; const char* expected; };
    for (auto c : {C{1033, 0, "3/5/2026"}, C{2057, 0, "05/03/2026"}, C{0, 0, "05/03/2026"}, C{1031, 0, "05.03.2026"},
                   C{1033, modTLMain::DATE_LONGDATE, "Thursday, March 5, 2026"}, C{9999, 0, ""}}) {
        EXPECT_EQ(modTLMain::Format_Locale_Date("2026-03-05 10:00:00", c.id, c.flags), c.expected) << c.id;
    }
    EXPECT_EQ(modTLMain::Format_Locale_Date("05/03/2026", 1033, 0), "3/5/2026");  // read in the user's order
    EXPECT_EQ(modTLMain::Format_Locale_Date("not a date", 1033, 0), "");
}

TEST_F(LocaleDates, MonthNumberPrefersFullNamesThenShortOnes) {
    struct C { const char* text; const char* month; };
    for (auto c : {C{"Ends Mar 05, 2026", "3"}, C{"ENDS SEPTEMBER 1", "9"}, C{"Mayo", "5"},
                   C{"dec 24 and June 3", "6"}, C{"no month here", ""}, C{"", ""}}) {
        EXPECT_EQ(modTLMain::Get_Month_Number(c.text), c.month) << c.text;
    }
}

}  // namespace
