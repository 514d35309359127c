#include <gtest/gtest.h>

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
    EXPECT_DOUBLE_EQ(vb::Val(" 12 34abc"), 1234);
    EXPECT_DOUBLE_EQ(vb::Val("abc"), 0);
    EXPECT_TRUE(vb::IsNumeric("1,234.50"));
    EXPECT_FALSE(vb::IsNumeric("12a"));
    EXPECT_EQ(vb::FormatNumber(1234.5, "#,##0.00"), "1,234.50");
    EXPECT_EQ(vb::FormatNumber(0.125, "0.00"), "0.13");
    EXPECT_EQ(vb::FormatNumber(7, "00"), "07");
}
