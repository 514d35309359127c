// page_parser_prices.cpp — amounts on the page: current price, minimum bid, bid count, reserve.
//
// An amount is found by its decimal mark followed by two digits and read backwards over digits
// and thousands marks. It is written into a new text with the user's separators; the page
// texts themselves are never changed.
#include <array>

#include "foundation/locale_dates.h"
#include "foundation/vb.h"
#include "service/page_parser.h"
#include "service/page_parser_internal.h"

namespace modPageParser {

using detail::at;
using detail::isDigit;
using detail::isUpper;

namespace {

constexpr long kReach = 40;  // an amount's decimal mark lies within this many bytes of the start

struct Amount {
    std::string text;   // the amount in the user's separators
    long before = 0;    // position of the character in front of the amount (0: the text's start)
    long decimals = 0;  // position of the first of the two decimals
};

std::string userDecimal() { return modTLMain::Get_Locale_Decimal(); }
std::string userThousand() { return modTLMain::Get_Locale_Thousand(); }

bool isLetter(char c) { return isUpper(c) || (c >= 'a' && c <= 'z'); }

// The amount whose decimal mark is the first one at or after start that two digits follow.
bool scanAmount(std::string_view text, long start, std::string_view decimalMark, std::string_view thousandsMark,
                bool limited, Amount& out) {
    long d = start;
    for (;;) {
        d = detail::Find(d, text, decimalMark);
        if (d == 0) return false;
        d += vb::Len(decimalMark);
        if (limited && d - start > kReach) return false;
        if (isDigit(at(text, d)) && isDigit(at(text, d + 1))) break;
    }
    const long mark = d - vb::Len(decimalMark);
    long first = mark;
    while (first > 1) {
        const char c = at(text, first - 1);
        if (isDigit(c)) --first;
        else if (vb::Len(thousandsMark) == 1 && c == thousandsMark[0]) --first;
        else break;
    }
    const std::string thousand = userThousand();
    out.text.clear();
    for (long i = first; i < mark; ++i) {
        const char c = at(text, i);
        if (isDigit(c)) out.text.push_back(c);
        else out.text += thousand;
    }
    out.text += userDecimal();
    out.text.push_back(at(text, d));
    out.text.push_back(at(text, d + 1));
    out.before = first - 1;
    out.decimals = d;
    return true;
}

// The first currency word found in text[from..to] (order "US", "GBP", "AU", "EUR", "C") that no
// letter touches on either side; "" when none.
std::string currencyWord(std::string_view text, long from, long to) {
    static constexpr std::array<std::string_view, 5> kWords{"US", "GBP", "AU", "EUR", "C"};
    from = std::max(1L, from);
    to = std::min(vb::Len(text), to);
    if (to < from) return {};
    const std::string_view range = text.substr(0, static_cast<size_t>(to));  // a word must end by `to`
    for (const auto w : kWords) {
        const long wl = vb::Len(w);
        for (long p = detail::Find(from, range, w); p > 0; p = detail::Find(p + 1, range, w)) {
            if (!isLetter(at(text, p - 1)) && !isLetter(at(text, p + wl))) return std::string(w);
        }
    }
    return {};
}

bool poundBefore(std::string_view text, long before) {
    return static_cast<unsigned char>(at(text, before)) == 0xA3 && static_cast<unsigned char>(at(text, before - 1)) == 0xC2;
}

// The code in front of an amount: the nearest word before p when it is written in capitals
// ("US", "AU", "EUR"); "" when that word has a small letter, or no word comes before p.
std::string codeBefore(std::string_view text, long p) {
    while (p >= 1 && !isLetter(at(text, p))) --p;
    if (p < 1) return {};
    long s = p;
    while (s > 1 && isLetter(at(text, s - 1))) --s;
    for (long i = s; i <= p; ++i)
        if (!isUpper(at(text, i))) return {};
    return std::string(text.substr(static_cast<size_t>(s - 1), static_cast<size_t>(p - s + 1)));
}

std::string withCode(std::string_view text, const Amount& a) {
    const std::string code = codeBefore(text, a.before);
    return code.empty() ? a.text : code + " " + a.text;
}

}  // namespace

std::string Parse_Price(long Start, bool WithCurrency) {
    const std::string_view text = PageText;
    Amount a;
    if (!scanAmount(text, Start, ".", ",", true, a)) return {};
    if (!WithCurrency) return a.text;
    return currencyWord(text, Start, a.decimals + 1) + " " + a.text;
}

std::string Parse_Price_Symbol(long Start, bool WithCode) {
    const std::string_view text = PageText;
    Amount a;
    if (!scanAmount(text, Start, ".", ",", true, a)) return {};
    if (poundBefore(text, a.before)) return "\xC2\xA3" + a.text;
    if (at(text, a.before) == '$') return "$" + a.text;
    return WithCode ? withCode(text, a) : a.text;
}

std::string Parse_Price_Site(long Start, bool WithCode, std::string_view DecimalMark, std::string_view ThousandsMark) {
    const std::string_view text = ShippingText;
    Amount a;
    if (!scanAmount(text, Start, DecimalMark, ThousandsMark, true, a)) return {};
    if (poundBefore(text, a.before)) return "GBP " + a.text;
    return WithCode ? withCode(text, a) : a.text;
}

void Check_Reserve() { ReserveNotMet = detail::Find(PageText, "Reserve not met", vb::Text) > 0 ? 1 : 0; }

std::string Get_Labelled_Price() {
    static constexpr std::array<detail::Marker, 10> kMarkers{{
        {"Current bid:", 12},
        {"Winning bid:", 12},
        {"Winning bid", 11},
        {"Starting bid:", 13},
        {"Price:", 6},
        {"Currently:", 9},
        {"Price Buy It Now for", 20},
        {"Starts at", 9},
        {"Sold for:", 9},
        {"Lowest", 6},
    }};
    const std::string_view text = PageText;
    for (const auto& m : kMarkers) {
        const long p = detail::Find(text, m.label, vb::Text);
        if (p == 0) continue;
        std::string price = Parse_Price(p + m.offset, true);
        if (!price.empty()) return price;
    }
    return {};
}

std::string Get_Current_Price() {
    if (std::string price = Get_Labelled_Price(); !price.empty()) {
        Check_Reserve();
        return price;
    }

    // No marker with an amount: the first amount behind the item's condition or quantity.
    const std::string_view text = PageText;
    ReserveNotMet = 0;
    long s = detail::Find(text, "Item condition:", vb::Text);
    if (s == 0) s = detail::Find(text, "Quantity:", vb::Text);
    if (s == 0) s = 1;
    Amount a;
    if (!scanAmount(text, s, ".", ",", false, a)) return {};
    return currencyWord(text, a.before - 10, a.before + 1) + " " + a.text;
}

std::string Get_Min_Bid() {
    const std::string_view text = PageText;
    const long o = detail::Find(text, "or more", vb::Text);
    if (o == 0) return {};
    const long e = vb::InStrRev(text, "Enter", o, vb::Text);
    if (e == 0) return {};
    return Parse_Price(e + 5, true);
}

std::string Get_Bid_Count() {
    static constexpr std::array<detail::Marker, 3> kBidMarkers{{
        {"Current bid:", 12},
        {"Winning bid:", 12},
        {"Starting bid:", 13},
    }};
    static constexpr std::array<detail::Marker, 2> kCountMarkers{{
        {"Bid History:", 12},
        {"Quantity:", 9},
    }};
    const std::string_view text = PageText;

    // Beside a bid the count stands in square brackets; else it follows its own label.
    long start = detail::startBehindFirst(text, kBidMarkers);
    if (start > 0) {
        start = detail::Find(start, text, "[");
        if (start == 0) return {};
        ++start;
    } else {
        start = detail::startBehindFirst(text, kCountMarkers);
    }
    if (start > 0) {
        // The first digit among the 101 bytes from the start (or the byte behind them) begins a
        // run of at most 12 digits.
        for (long i = start; i <= start + 101; ++i) {
            if (!isDigit(at(text, i))) continue;
            long e = i;
            while (e < i + 12 && isDigit(at(text, e))) ++e;
            return vb::Mid(text, i, e - i);
        }
        return {};
    }

    // No marker: a number just before "bid" near the end time.
    const std::string t = Find_End_Time_Text();
    const long b = detail::Find(t, "bid", vb::Text);
    if (b == 0) return {};
    for (long k = b; k >= b - 4 && k >= 1; --k) {
        if (!isDigit(at(t, k))) continue;
        long j = k;
        while (j > k - 2 && isDigit(at(t, j - 1))) --j;
        return vb::Mid(t, j, k - j + 1);
    }
    return {};
}

std::string Localize_Amount(const std::string& Amount) {
    const long n = vb::Len(Amount);
    if (n == 0) return {};
    const char third = at(Amount, n - 2);
    if (third != ',' && third != '.') return Amount;
    const std::string thousand = userThousand();
    const std::string decimal = userDecimal();
    // A leading sign that is neither a digit nor a mark is dropped (all bytes of a UTF-8 sign).
    long from = 1;
    const char first = at(Amount, 1);
    if (!isDigit(first) && first != ',' && first != '.' && n - 2 > 1) {
        from = 2;
        while (from < n - 2 && (static_cast<unsigned char>(at(Amount, from)) & 0xC0) == 0x80) ++from;
    }
    std::string out;
    out.reserve(Amount.size() + 4);
    for (long i = from; i <= n; ++i) {
        const char c = at(Amount, i);
        if (i == n - 2) out += decimal;
        else if (c == ',') out += thousand;
        else out.push_back(c);
    }
    return out;
}

}  // namespace modPageParser
