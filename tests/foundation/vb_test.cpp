#include <gtest/gtest.h>

#include <limits>

#include "foundation/vb.h"

TEST(VbText, SearchesAndCutsByBytePosition) {
    EXPECT_EQ(vb::InStr("abcabc", "c"), 3);
    EXPECT_EQ(vb::InStr(4, "abcabc", "c"), 6);
    EXPECT_EQ(vb::InStr("ABC", "b", vb::Text), 2);
    EXPECT_EQ(vb::InStr("ABC", "b"), 0);
    EXPECT_EQ(vb::InStrRev("a=b=c", "="), 4);
    EXPECT_EQ(vb::Mid("Options", 2, 3), "pti");
    EXPECT_EQ(vb::Mid("abc", 5), "");
    EXPECT_EQ(vb::Right("abc", 5), "abc");
    EXPECT_EQ(vb::Trim("  a b  "), "a b");
}

TEST(VbNumbers, RoundHalfToEvenAndReadLeadingNumbers) {
    struct C { double v; long r; };
    for (auto c : {C{0.5, 0}, C{1.5, 2}, C{2.5, 2}, C{-1.5, -2}, C{2.4, 2}, C{2.6, 3}})
        EXPECT_EQ(vb::CLng(c.v), c.r) << c.v;
    // Beyond the 64-bit range the rounding saturates; not a number gives 0.
    constexpr long long kMax = std::numeric_limits<long long>::max(), kMin = std::numeric_limits<long long>::min();
    struct R { double v; long long r; };
    for (auto c : {R{1e20, kMax}, R{9223372036854775808.0, kMax}, R{std::numeric_limits<double>::infinity(), kMax},
                   R{-1e72, kMin}, R{-std::numeric_limits<double>::infinity(), kMin},
                   R{std::numeric_limits<double>::quiet_NaN(), 0}, R{-9223372036854775808.0, kMin},
                   R{9007199254740993.0, 9007199254740992LL}})
        EXPECT_EQ(vb::RoundHalfEven(c.v), c.r) << c.v;
    EXPECT_DOUBLE_EQ(vb::Val(" 12 34abc"), 1234);
    EXPECT_DOUBLE_EQ(vb::Val("abc"), 0);
    EXPECT_TRUE(vb::IsNumeric("1,234.50"));
    EXPECT_FALSE(vb::IsNumeric("12a"));
    EXPECT_EQ(vb::FormatNumber(1234.5, "#,##0.00"), "1,234.50");
    EXPECT_EQ(vb::FormatNumber(0.125, "0.00"), "0.13");
    EXPECT_EQ(vb::FormatNumber(7, "00"), "07");
}

#include "platform/locale_info.h"

TEST(VbDates, FormatsThePatternsTheProgramUses) {
    const QDateTime t(QDate(2026, 3, 4), QTime(15, 6, 7));
    struct C { const char* pattern; const char* expected; };
    const C cases[] = {
        {"mm/dd/yyyy", "03/04/2026"},
        {"dd-mmm-yyyy", "04-Mar-2026"},
        {"mmmm d, yyyy", "March 4, 2026"},
        {"ddd hh:mm:ss", "Wed 15:06:07"},
        {"hh:mm:ss am/pm", "03:06:07 pm"},
        {"h:nn AMPM", "3:06 PM"},
        {"yymmdd", "260304"},
    };
    for (const auto& c : cases) EXPECT_EQ(vb::FormatDate(t, c.pattern), c.expected) << c.pattern;
}

TEST(VbDates, GeneralDateFollowsTheUserLocaleAndReadsBack) {
    const QDateTime t(QDate(2026, 3, 4), QTime(15, 6, 7));
    struct C { const char* locale; const char* expected; };
    for (const C c : {C{"en_US", "3/4/2026 3:06:07 PM"}, C{"en_GB", "04/03/2026 15:06:07"}, C{"C", "3/4/2026 3:06:07 PM"}}) {
        platform::setUserLocaleForTests(c.locale);
        EXPECT_EQ(vb::GeneralDate(t), c.expected) << c.locale;
        EXPECT_EQ(vb::CDate(c.expected), t) << c.locale;
    }
    platform::setUserLocaleForTests("");
    EXPECT_FALSE(vb::IsDate("not a date"));
}

TEST(VbText, SplitsJoinsAndMatchesPatterns) {
    EXPECT_EQ(vb::Split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(vb::Split("", ",").empty());
    EXPECT_EQ(vb::Join({"a", "b"}, "; "), "a; b");
    EXPECT_EQ(vb::Replace("aXbxc", "x", "-", vb::Text), "a-b-c");
    struct C { const char* s; const char* pattern; bool match; };
    for (const C c : {C{"12345", "#####", true}, C{"1234a", "#####", false}, C{"abc.jpg", "*.jpg", true},
                      C{"b", "[a-c]", true}, C{"d", "[!a-c]", true}, C{"ab", "a?", true}, C{"a", "a?", false}})
        EXPECT_EQ(vb::Like(c.s, c.pattern), c.match) << c.s << " " << c.pattern;
}
