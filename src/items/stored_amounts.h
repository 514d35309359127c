// stored_amounts.h — reading the amounts kept in item records.
//
// Amounts are stored as the page parser or the bid set-up wrote them: maybe a currency word or
// sign first, then digits with the thousands and decimal marks of the user who stored them
// ("US 1,250.00", "EUR 1.250,00", "1 250,00"). Such a text is read by its own marks, never by
// the locale in force now: the last "." or "," that exactly two digits follow (and nothing
// more of the number) is the decimal mark; every other mark, a blank or an apostrophe
// included, groups thousands and must be followed by three digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace modTLMain {

// The amount in hundredths ("US 1,250.00" gives 125000, "12" gives 1200), read from the first
// digit of the text; nothing when the text holds no amount or more than an amount after it
// (other than trailing blanks).
std::optional<int64_t> Read_Stored_Amount(std::string_view text);

}  // namespace modTLMain
