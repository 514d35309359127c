#include "items/stored_amounts.h"

#include <string>
#include <vector>

namespace modTLMain {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A grouping mark of some locale: ",", ".", a blank, an apostrophe, or the UTF-8 no-break
// spaces (C2 A0, E2 80 AF). Returns its byte length at `at`, 0 when there is none.
size_t markLength(std::string_view s, size_t at) {
    const char c = s[at];
    if (c == ',' || c == '.' || c == ' ' || c == '\'') return 1;
    if (s.compare(at, 2, "\xC2\xA0") == 0) return 2;
    if (s.compare(at, 3, "\xE2\x80\xAF") == 0) return 3;
    return 0;
}

}  // namespace

std::optional<int64_t> Read_Stored_Amount(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && !isDigit(text[i])) ++i;
    if (i == text.size()) return std::nullopt;

    // Digit groups and the marks between them.
    std::vector<std::string> groups(1);
    std::vector<char> marks;  // the first byte of each mark
    while (i < text.size()) {
        if (isDigit(text[i])) {
            groups.back().push_back(text[i++]);
            continue;
        }
        const size_t m = markLength(text, i);
        if (m == 0 || i + m >= text.size() || !isDigit(text[i + m])) break;  // the number ends here
        marks.push_back(text[i]);
        groups.emplace_back();
        i += m;
    }
    for (; i < text.size(); ++i)
        if (text[i] != ' ') return std::nullopt;

    size_t whole = groups.size();
    std::string cents = "00";
    if (!marks.empty() && (marks.back() == '.' || marks.back() == ',') && groups.back().size() == 2) {
        cents = groups.back();
        whole = groups.size() - 1;
    }
    std::string digits = groups[0];
    for (size_t g = 1; g < whole; ++g) {
        if (groups[g].size() != 3) return std::nullopt;
        digits += groups[g];
    }
    size_t lead = 0;
    while (lead + 1 < digits.size() && digits[lead] == '0') ++lead;
    digits.erase(0, lead);
    if (digits.size() > 15) return std::nullopt;  // no real price is that large
    return std::stoll(digits) * 100 + std::stoll(cents);
}

}  // namespace modTLMain
