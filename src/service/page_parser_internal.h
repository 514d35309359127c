// page_parser_internal.h — small helpers the item-page finders share (not for other modules).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "foundation/vb.h"

namespace modPageParser::detail {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool isAlnum(char c) { return isDigit(c) || isUpper(c) || (c >= 'a' && c <= 'z'); }
// The byte at 1-based position p of s, or '\0' outside it.
inline char at(std::string_view s, long p) {
    return (p >= 1 && static_cast<size_t>(p) <= s.size()) ? s[static_cast<size_t>(p - 1)] : '\0';
}

// vb::InStr for the large page texts: the same answers, found with memchr/memcmp.
long Find(long start, std::string_view hay, std::string_view needle, vb::Compare cmp = vb::Binary);
inline long Find(std::string_view hay, std::string_view needle, vb::Compare cmp = vb::Binary) {
    return Find(1, hay, needle, cmp);
}

// A label of the page text and where its value starts: this many bytes behind the label's start.
struct Marker {
    std::string_view label;
    long offset;
};
// Where the value of the first of `markers` (tried in their order) found case-blind in text
// starts; 0 when none is found.
long startBehindFirst(std::string_view text, std::span<const Marker> markers);

// The inner text of the first maxBytes bytes of html (never splitting a UTF-8 sequence).
std::string textOfPageHead(const std::string& html, long maxBytes);

// The number of the item at index in the item store ("" when no store answers).
std::string itemNumberOf(int index);

}  // namespace modPageParser::detail
