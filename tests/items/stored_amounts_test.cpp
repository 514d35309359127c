#include <gtest/gtest.h>

#include <optional>

#include "items/stored_amounts.h"

namespace {

struct AmountCase {
    const char* text;
    std::optional<int64_t> cents;
};

TEST(StoredAmounts, TheLastMarkBeforeExactlyTwoDigitsIsTheDecimalMark) {
    const AmountCase cases[] = {
        {"US 1,250.00", 125000},
        {"EUR 1.250,00", 125000},
        {"1 250,00", 125000},
        {"1\xC2\xA0" "250,50", 125050},          // no-break space grouping
        {"CHF 1'250.05", 125005},
        {"GBP 12.50", 1250},
        {"12,50", 1250},
        {"0.99", 99},
        {"1,234,567.89", 123456789},
        {"1.234.567,89", 123456789},
        {"12", 1200},
        {"1,250", 125000},                        // three digits after the mark: grouping
        {"C $7.05 ", 705},                        // trailing blanks are fine
        {"\xC2\xA3" "3.10", 310},                 // a sign before the amount
    };
    for (const auto& c : cases) EXPECT_EQ(modTLMain::Read_Stored_Amount(c.text), c.cents) << c.text;
}

TEST(StoredAmounts, TextsThatHoldNoSingleAmountDoNotRead) {
    const char* cases[] = {"", "Free", "See Listing", "US", "12.5", "1,25,00", "12.50 approx", "1.2345", "12..50"};
    for (const char* c : cases) EXPECT_EQ(modTLMain::Read_Stored_Amount(c), std::nullopt) << c;
}

}  // namespace
