// page_parser.cpp — the page text step and the small text routines the finders share.
#include "service/page_parser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "foundation/vb.h"
#include "service/page_parser_internal.h"
#include "service/page_text.h"

namespace modPageParser {

using detail::at;
using detail::isDigit;

namespace {
constexpr long kMaxPageTextBytes = 65000;

ItemNumberLookup g_itemNumberLookup = nullptr;
}  // namespace

void Set_Item_Number_Lookup(ItemNumberLookup lookup) { g_itemNumberLookup = lookup; }

namespace detail {
std::string itemNumberOf(int index) { return g_itemNumberLookup ? g_itemNumberLookup(index) : std::string(); }
}  // namespace detail

void ResetForTests() {
    PageHTML.clear();
    PageText.clear();
    BidHistoryText.clear();
    ShippingText.clear();
    ItemSiteBase.clear();
    ItemTitle.clear();
    EndDateText.clear();
    EndTimeText.clear();
    EndDateDisplay.clear();
    ReserveNotMet = 0;
    HandoverTitle.clear();
    UseHandoverTitle = 0;
}

// ---- Page text ----------------------------------------------------------------------------------

long Page_Cut_Point(std::string_view html) {
    struct CutMarker {
        std::string_view marker;
        bool anyPlace;
        long offset;
    };
    static constexpr std::array<CutMarker, 5> kMarkers{{
        {"Item number:", false, 30},
        {"Description", false, 0},
        {"Description ", false, 0},
        {"Ships to:", true, 0},
        {"Item location:", true, 0},
    }};
    const long len = vb::Len(html);
    for (const auto& m : kMarkers) {
        const long p = Find_Text_Outside_Tags(1, html, m.marker, m.anyPlace, true);
        if (p > 0) return std::min(len, p + m.offset);
    }
    return len > kMaxPageTextBytes ? kMaxPageTextBytes : len;
}

void Blank_Two_Byte_Letters(std::string& html, bool keepPound) {
    const size_t n = html.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(html[i]);
        if (c != 194 && c != 195) {
            ++i;
            continue;
        }
        const bool hasNext = i + 1 < n;
        const unsigned char next = hasNext ? static_cast<unsigned char>(html[i + 1]) : 0;
        if (keepPound && c == 194 && next == 163) {
            i += 2;
            continue;
        }
        html[i] = ' ';
        if (hasNext && next >= 128) {
            html[i + 1] = ' ';
            i += 2;
        } else {
            ++i;
        }
    }
}

namespace {
// Every UTF-8 no-break space (194 160) becomes one blank; the text gets shorter.
void blankNoBreakSpaces(std::string& html) {
    size_t w = 0;
    const size_t n = html.size();
    for (size_t r = 0; r < n; ++r) {
        if (static_cast<unsigned char>(html[r]) == 194 && r + 1 < n && static_cast<unsigned char>(html[r + 1]) == 160) {
            html[w++] = ' ';
            ++r;
        } else {
            html[w++] = html[r];
        }
    }
    html.resize(w);
}

// The first `cut` bytes of s, moved back so that no UTF-8 sequence is split.
std::string_view headOf(const std::string& s, long cut) {
    size_t n = std::min(s.size(), static_cast<size_t>(std::max(0L, cut)));
    while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return std::string_view(s).substr(0, n);
}
}  // namespace

bool Build_Page_Text() {
    const long cut = Page_Cut_Point(PageHTML);
    blankNoBreakSpaces(PageHTML);
    Blank_Two_Byte_Letters(PageHTML);
    PageText = Inner_Text(headOf(PageHTML, cut));
    return true;
}

namespace detail {

long Find(long start, std::string_view hay, std::string_view needle, vb::Compare cmp) {
    if (start < 1) start = 1;
    if (static_cast<size_t>(start) > hay.size() + 1) return 0;
    if (needle.empty()) return start;
    const size_t from = static_cast<size_t>(start - 1);
    if (cmp == vb::Binary) {
        const size_t p = hay.find(needle, from);
        return p == std::string_view::npos ? 0 : static_cast<long>(p + 1);
    }
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (needle.size() > hay.size() - from) return 0;
    const char* end = hay.data() + (hay.size() - needle.size() + 1);
    auto matchesAt = [&](const char* c) {
        for (size_t i = 0; i < needle.size(); ++i)
            if (fold(c[i]) != fold(needle[i])) return false;
        return true;
    };
    // A byte of the needle that has no case (a mark, a digit) is looked for with memchr; a needle of
    // letters only by a walk over the bytes that can start it in either case. Either way a search
    // costs the distance to its match, whatever letters the page lacks.
    size_t anchor = 0;  // not a blank either: blanks are everywhere in a page
    while (anchor < needle.size() &&
           (std::isalpha(static_cast<unsigned char>(needle[anchor])) || needle[anchor] == ' '))
        ++anchor;
    if (anchor < needle.size()) {
        const char mark = needle[anchor];
        for (const char* c = hay.data() + from; c < end;) {
            const void* m = std::memchr(c + anchor, mark, static_cast<size_t>(end - c));
            if (!m) return 0;
            c = static_cast<const char*>(m) - anchor;
            if (matchesAt(c)) return static_cast<long>(c - hay.data() + 1);
            ++c;
        }
        return 0;
    }
    // Letters only: both cases looked for with memchr in windows that double as they come up
    // empty, so a letter that the page lacks is never sought to its end.
    const char upper = fold(needle[0]);
    const char lower = static_cast<char>(upper + 32);
    size_t window = 64;
    for (const char* c = hay.data() + from; c < end;) {
        const char* stop = c + std::min(window, static_cast<size_t>(end - c));
        const auto* u = static_cast<const char*>(std::memchr(c, upper, static_cast<size_t>(stop - c)));
        const auto* l = static_cast<const char*>(std::memchr(c, lower, static_cast<size_t>((u ? u : stop) - c)));
        const char* candidate = l ? l : u;
        if (!candidate) {
            c = stop;
            window *= 2;
            continue;
        }
        if (matchesAt(candidate)) return static_cast<long>(candidate - hay.data() + 1);
        c = candidate + 1;
    }
    return 0;
}

long startBehindFirst(std::string_view text, std::span<const Marker> markers) {
    for (const auto& m : markers)
        if (const long p = Find(text, m.label, vb::Text); p > 0) return p + m.offset;
    return 0;
}

std::string textOfPageHead(const std::string& html, long maxBytes) { return Inner_Text(headOf(html, maxBytes)); }
}  // namespace detail

// ---- Shared text routines -----------------------------------------------------------------------

long Find_Text_Outside_Tags(long Start, std::string_view Text, std::string_view Marker, bool AnyPlace,
                            bool CaseSensitive) {
    const auto cmp = CaseSensitive ? vb::Binary : vb::Text;
    const long n = vb::Len(Text);
    long p = detail::Find(Start, Text, Marker, cmp);
    while (p > 0) {
        if (AnyPlace) return p;
        long b = p - 1;
        while (b >= 1 && static_cast<unsigned char>(at(Text, b)) < 32) --b;
        long a = p + vb::Len(Marker);
        while (a <= n && static_cast<unsigned char>(at(Text, a)) < 32) ++a;
        if (at(Text, b) == '>' && at(Text, a) == '<') return p;
        p = detail::Find(p + 1, Text, Marker, cmp);
    }
    return 0;
}

namespace {
bool endsWithNoCase(const std::string& s, std::string_view tail) {
    if (s.size() < tail.size()) return false;
    for (size_t k = 0; k < tail.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + k])) != tail[k]) return false;
    return true;
}

// Appends `c`; when it completes an entity at the end of `out`, the entity becomes its character,
// which is appended the same way (a decoded "&" or ";" may complete another entity).
void pushDecoded(std::string& out, char c) {
    for (;;) {
        out.push_back(c);
        if (c != ';') return;
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"&amp;", '&'}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}};
        bool named = false;
        for (const auto& [entity, ch] : kNamed) {
            if (endsWithNoCase(out, entity)) {
                out.resize(out.size() - entity.size());
                c = ch;
                named = true;
                break;
            }
        }
        if (named) continue;
        const size_t n = out.size();
        if (n >= 6 && out.compare(n - 6, 3, "&#0") == 0 && isDigit(out[n - 3]) && isDigit(out[n - 2])) {
            const int code = (out[n - 3] - '0') * 10 + (out[n - 2] - '0');
            out.resize(n - 6);
            if (code == 0) return;
            c = static_cast<char>(code);
            continue;
        }
        return;
    }
}
}  // namespace

// "&amp;", "&quot;", "&lt;", "&gt;" (any case) and "&#0nn;" are decoded until none is left, a
// decoded character taking part in what follows ("&amp;lt;" is "<"); commas become blanks first.
// One pass: every character is appended once and each entity taken off once.
std::string Decode_Entities(std::string& Text) {
    std::string out;
    out.reserve(Text.size());
    for (const char c : Text) pushDecoded(out, c == ',' ? ' ' : c);
    Text = std::move(out);
    return Text;
}

std::string Get_Meta_Content(std::string_view Property) {
    const std::string_view html = PageHTML;
    long pos = 1;
    for (;;) {
        const long m = detail::Find(pos, html, "<meta", vb::Text);
        if (m == 0) return {};
        const long e = detail::Find(m, html, ">");
        if (e == 0) return {};
        const std::string_view tag = html.substr(static_cast<size_t>(m - 1), static_cast<size_t>(e - m));
        const long pp = detail::Find(tag, "property=\"", vb::Text);
        if (pp > 0) {
            const long q = detail::Find(pp + 10, tag, "\"");
            if (q > 0 && tag.substr(static_cast<size_t>(pp + 9), static_cast<size_t>(q - pp - 10)) == Property) {
                const long c = detail::Find(tag, "content=\"", vb::Text);
                if (c > 0) {
                    const long cq = detail::Find(c + 9, tag, "\"");
                    if (cq > 0) return vb::Mid(tag, c + 9, cq - c - 9);
                }
            }
        }
        pos = e;
    }
}

std::string Get_Quoted_Text(std::string_view Text, long& Pos) {
    const long q2 = detail::Find(Pos, Text, "\"");
    if (q2 == 0) return {};
    const long q1 = q2 > 1 ? vb::InStrRev(Text, "\"", q2 - 1) : 0;
    if (q1 == 0) return {};
    Pos = q1;
    return vb::Mid(Text, q1 + 1, q2 - q1 - 1);
}

std::string Safe_Id(std::string& Text) {
    std::erase(Text, '\'');
    std::string out;
    out.reserve(Text.size());
    bool inRun = false;
    for (const char c : Text) {
        if (detail::isAlnum(c)) {
            out.push_back(c);
            inRun = false;
        } else if (!inRun) {
            out.push_back('-');
            inRun = true;
        }
    }
    if (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

}  // namespace modPageParser

namespace modTLMain {

std::string Get_Watch_Number(std::string_view Text, long& Start, long MaxScan) {
    using modPageParser::detail::at;
    using modPageParser::detail::isDigit;
    const long n = vb::Len(Text);
    long p = std::max(1L, Start);
    long count = 0;
    while (p <= n && !isDigit(at(Text, p))) {
        ++p;
        if (++count >= MaxScan) return {};
    }
    if (p > n) return {};
    const long first = p++;
    while (p <= n && isDigit(at(Text, p))) {
        ++p;
        if (++count >= MaxScan) return {};
    }
    Start = p;
    return std::string(Text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(p - first)));
}

}  // namespace modTLMain
