// page_parser_seller.cpp — the seller, the shipping cost per national site, the high bidder of
// the bid history and the address of the item's picture.
#include <algorithm>
#include <array>
#include <vector>

#include "foundation/busy_holds.h"
#include "foundation/bid_engine_state.h"
#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "service/item_page.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/page_parser_internal.h"
#include "service/wininet.h"

namespace modPageParser {

using detail::at;
using detail::isDigit;

namespace {
constexpr long kSellerBlock = 60;
constexpr long kShippingPageBytes = 65000;
constexpr const char* kSeeListing = "See Listing";
}  // namespace

// ---- Seller -------------------------------------------------------------------------------------

std::string Get_Seller() {
    static constexpr std::array<detail::Marker, 5> kMarkers{{
        {"Seller :", 8},
        {"Seller:", 7},
        {"Seller Information", 17},
        {"Top-rated seller", 16},
        {"Sold by", 6},
    }};
    const std::string_view text = PageText;
    const long start = detail::startBehindFirst(text, kMarkers);
    if (start == 0) return {};

    // The block up to the percentage sign (within 60 bytes), else 60 bytes without a percentage.
    std::string_view block;
    std::string percent;
    const long pc = detail::Find(start, text, "%");
    if (pc > 0 && pc - start < kSellerBlock) {
        block = text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(pc - start + 1));
        long k = vb::Len(block) - 1;
        while (k >= 1 && !isDigit(at(block, k))) --k;
        if (k >= 1) {
            long j = k;
            while (j > 1 && (isDigit(at(block, j - 1)) || at(block, j - 1) == '.')) --j;
            percent = std::string(block.substr(static_cast<size_t>(j - 1), static_cast<size_t>(k - j + 1))) + "%";
        }
    } else {
        const size_t from = std::min(text.size(), static_cast<size_t>(start - 1));
        block = text.substr(from, static_cast<size_t>(kSellerBlock));
    }

    // The score: the last bracket of the block; the ID: the run of ID characters before it.
    const long q = vb::InStrRev(block, "(");
    if (q == 0) return {};
    std::string score;
    if (const long r = detail::Find(q, block, ")"); r > 0) {
        score = std::string(block.substr(static_cast<size_t>(q - 1), static_cast<size_t>(r - q + 1)));
        std::erase(score, ' ');
    }
    auto idChar = [](char c) { return detail::isAlnum(c) || c == '.' || c == '*' || c == '-' || c == '_'; };
    long e = q - 1;
    while (e >= 1 && !idChar(at(block, e))) --e;
    long s = e;
    while (s >= 1 && idChar(at(block, s))) --s;
    const std::string id = e >= 1 ? std::string(block.substr(static_cast<size_t>(s), static_cast<size_t>(e - s))) : "";
    return id + " " + score + " " + percent;
}

// ---- Shipping -----------------------------------------------------------------------------------

namespace {

struct ShippingRule {
    std::vector<detail::Marker> markers;  // in order
    bool allMarkers;           // every marker is tried and a later one found replaces the result
    bool pageText;             // the home site: Parse_Price over PageText
    std::string_view decimalMark, thousandsMark;
    bool withCode;
    std::string_view prefix;   // put in front of an amount read without its code
    bool freeTest;             // no amount: "Free" or "See Listing"; else "See Listing"
};

// The rule of a national site (index as in the site list); nullptr for an unknown site.
const ShippingRule* shippingRule(long site) {
    static const ShippingRule kUS{{{"Shipping:", 9}, {"Shipping costs:", 13}}, false, true, ".", ",", true, "", true};
    static const ShippingRule kUKAU{{{"Postage:", 8}, {"Postage costs:", 14}}, true, false, ".", ",", true, "", true};
    static const ShippingRule kCA{{{"Shipping:", 9}, {"Shipping costs:", 15}}, true, false, ".", ",", true, "", true};
    static const ShippingRule kIT{{{"Spedizione:", 11}}, false, false, ",", ".", true, "", false};
    static const ShippingRule kDE{{{"Versand:", 8}}, false, false, ",", ".", true, "", false};
    static const ShippingRule kNL{{{"Verzending:", 11}}, false, false, ",", ".", true, "", false};
    static const ShippingRule kFR{{{"livraison :", 10}}, false, false, ",", ".", false, "EUR ", false};
    static const ShippingRule kES{{{"Env o:", 6}}, false, false, ",", ".", false, "EUR ", false};
    static const ShippingRule kSG{{{"Postage:", 14}}, false, false, ".", ",", false, "SGD ", false};
    switch (site) {
    case 0: return &kUS;
    case 1: case 3: return &kUKAU;
    case 2: return &kCA;
    case 9: return &kIT;
    case 4: case 8: case 12: return &kDE;
    case 6: case 10: return &kNL;
    case 5: case 7: return &kFR;
    case 11: return &kES;
    case 13: return &kSG;
    default: return nullptr;
    }
}

std::string shippingAt(const ShippingRule& rule, long start) {
    std::string amount = rule.pageText ? Parse_Price(start, true)
                                       : Parse_Price_Site(start, rule.withCode, rule.decimalMark, rule.thousandsMark);
    if (!amount.empty()) return std::string(rule.prefix) + amount;
    if (!rule.freeTest) return kSeeListing;
    const std::string_view text = rule.pageText ? std::string_view(PageText) : std::string_view(ShippingText);
    return detail::Find(vb::Mid(text, start, 6), "free", vb::Text) > 0 ? "Free" : kSeeListing;
}

}  // namespace

std::string Get_Shipping(bool KeepPage) {
    ShippingText = PageText;
    const long site = modTLMain::Site_Index_Of_Item_Base(ItemSiteBase);

    // An item of another site: its own site's page shows the shipping to the user's country.
    if (!KeepPage && site != 0) {
        TLMainState::BusyHold busy(TLMainState::DownloadBusy);
        modWinInet::HttpURL =
            ItemSiteBase + std::string(kViewItemPath) + vb::Trim(TLMainLink::itemNumberBox().itemNumberText());
        const std::string result = Get_ItemPage(modWinInet::HttpURL, "");
        busy.release();
        if (result != "OK" || PageHTML.empty()) return kSeeListing;
        Blank_Two_Byte_Letters(PageHTML, true);
        ShippingText = detail::textOfPageHead(PageHTML, kShippingPageBytes);
        if (modDebug::DebugOutput) {
            std::string name = "NonUSShipText";
            modDebug::Save_Debug_Page(ShippingText, name);
        }
    }

    const ShippingRule* rule = shippingRule(site);
    if (!rule) return {};
    const std::string_view text = rule->pageText ? std::string_view(PageText) : std::string_view(ShippingText);
    std::string result;
    bool found = false;
    for (const auto& m : rule->markers) {
        const long p = detail::Find(text, m.label, vb::Text);
        if (p == 0) continue;
        result = shippingAt(*rule, p + m.offset);
        found = true;
        if (!rule->allMarkers) break;
    }
    if (!found) return site == 0 ? kSeeListing : "";
    return result;
}

// ---- High bidder --------------------------------------------------------------------------------

std::string Get_High_Bidder() {
    const std::string_view text = BidHistoryText;
    long h = detail::Find(text, "(show email addresses)", vb::Text);
    if (h == 0) h = detail::Find(text, "BidderBid Amount", vb::Text);
    if (h == 0) {
        const bool buyItNow = detail::Find(text, "Buyers History", vb::Text) > 0 || detail::Find(text, "User ID", vb::Text) > 0;
        return buyItNow ? "(Buy It Now Auction)" : "";
    }

    // The first bid line: behind the line break after the header, empty lines skipped.
    const long br = detail::Find(h, text, "\r\n");
    if (br == 0) return {};
    long s = br + 2;
    while (at(text, s) == '\r') s += 2;
    const long e = detail::Find(s, text, "\r\n");
    const std::string line = e > 0 ? vb::Mid(text, s, e - s) : vb::Mid(text, s);

    long c = 0;
    for (const std::string_view word : {"US ", "GBP ", "EUR ", "AU ", "C "}) {
        c = detail::Find(line, word);
        if (c > 0) break;
    }
    if (c == 0) return {};
    const long open = detail::Find(line, "(");
    std::string bidder = open > 0 ? vb::Left(line, open - 1) : vb::Trim(vb::Left(line, c - 1));
    bidder = vb::Trim(vb::Replace(bidder, "Member Id:", "", vb::Text));

    if (TLMainState::PendingRequest == "DoUpdateBid")
        modTLMain::Write_Op_Log("Returned High Bidder - Item " + detail::itemNumberOf(TLMainState::PendingRequestItem) +
                                " - " + bidder);
    return detail::Find(bidder, "private", vb::Text) > 0 ? "Private Listing" : bidder;
}

// ---- Photo address ------------------------------------------------------------------------------

namespace {
// The double quotes of a page, found once: the quoted text around a place is then two look-ups,
// not a scan of the page each time (a page of many addresses and no quotes would cost the square
// of its length).
class QuotedTexts {
public:
    explicit QuotedTexts(std::string_view text) : m_text(text) {
        for (size_t k = 0; k < text.size(); ++k)
            if (text[k] == '"') m_quotes.push_back(static_cast<long>(k) + 1);
    }
    // As Get_Quoted_Text: the text between the first quote at or after `pos` and the quote before
    // it (a view into the page); `pos` becomes the opening quote's place.
    std::string_view around(long& pos) const {
        const auto q2 = std::lower_bound(m_quotes.begin(), m_quotes.end(), pos);
        if (q2 == m_quotes.end() || q2 == m_quotes.begin()) return {};
        const long q1 = *(q2 - 1);
        pos = q1;
        return m_text.substr(static_cast<size_t>(q1), static_cast<size_t>(*q2 - q1 - 1));
    }

private:
    std::string_view m_text;
    std::vector<long> m_quotes;
};
}  // namespace

std::string Get_Photo_URL(std::string_view Html, std::string& Title, std::string_view Marker) {
    const std::string safe = Safe_Id(Title);  // drops the apostrophes of the caller's title too
    const std::string third = vb::Left(safe, vb::CLng(static_cast<double>(safe.size()) / 3.0));
    const QuotedTexts quoted(Html);

    // A picture-host address that holds the title's safe id, or its first third.
    for (long pos = 1;;) {
        const long m = detail::Find(pos, Html, "src=\"http", vb::Text);
        if (m == 0) break;
        pos = m + 1;
        const bool plain = vb::StrComp(vb::Mid(Html, m + 9, 3), "://", vb::Text) == 0;
        const bool secure = vb::StrComp(vb::Mid(Html, m + 9, 4), "s://", vb::Text) == 0;
        if (!plain && !secure) continue;
        long q = m + 9;
        const std::string_view address = quoted.around(q);
        if (detail::Find(address, modTLMain::kPictureHostWord, vb::Text) == 0) continue;
        if (detail::Find(address, safe, vb::Text) > 0 || detail::Find(address, third, vb::Text) > 0)
            return std::string(address);
    }

    // Else the first quoted src address that holds the marker.
    if (Marker.empty()) return {};
    for (long pos = 1;;) {
        const long m = detail::Find(pos, Html, Marker, vb::Text);
        if (m == 0) return {};
        long q = m;
        const std::string_view address = quoted.around(q);
        if (address.empty()) return {};
        const long from = std::max(1L, q - 6);
        if (detail::Find(vb::Mid(Html, from, q - from), "src=", vb::Text) > 0) return std::string(address);
        pos = m + 4;
    }
}

}  // namespace modPageParser
