#include "account/feedback_to_leave.h"

#include <algorithm>

#include "account/account_pages.h"
#include "account/feedback_grid.h"
#include "foundation/busy_holds.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_grid_model.h"
#include "items/item_window_links.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace modFeedback {
namespace {

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

// Blanks and line breaks off both ends.
std::string trimmed(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(a, b - a + 1));
}

std::string feedbackPageAddress() {
    const modTLMain::NationalSite* site = modTLMain::National_Site(modTLMain::CurrentSiteIndex);
    if (!site) site = modTLMain::National_Site(0);
    return modTLC::Get_Config_Value(
        "Locale", "MyFeedback",
        std::string("http://") + site->memberHost +
            "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayFeedback&ssPageName=STRK:ME:LNLK");
}

long statusColour(const std::string& code) {
    if (code == "POS") return TLMainItems::ColorHiBid;
    if (code == "NEG") return TLMainItems::ColorOutBid;
    if (code == "NEU") return TLMainItems::ColorWintally;
    if (code == "FBLEFT") return TLMainItems::ColorVal;
    return TLMainItems::kNoColour;
}

}  // namespace

long Get_FB_Count(std::string_view text, long& c) {
    c = 0;
    const long a = vb::InStr(text, "Items Awaiting Feedback", vb::Text);
    if (a == 0) return 0;
    const long b = vb::InStr(a + 23, text, "(");
    if (b == 0) return 0;
    const long e = vb::InStr(b + 1, text, ")");
    if (e == 0) return 0;
    // A count beyond the 32-bit range announces nothing.
    long count = 0;
    if (!vb::RoundToInt32(vb::Val(vb::Mid(text, b + 1, e - b - 1)), count)) return 0;
    c = e;
    return count;
}

std::string Get_FB_Item_Number(std::string_view text, long& c) {
    for (;;) {
        const long o = c > 0 ? vb::InStr(c, text, "(") : 0;
        c = o;
        if (o == 0) return {};
        const long e = vb::InStr(o, text, ")");
        c = e;
        if (e == 0) return {};
        const std::string inside = vb::Mid(text, o + 1, e - o - 1);
        if (inside.size() >= 10 && inside.find_first_not_of("0123456789") == std::string::npos) {
            c = o - 1;
            return inside;
        }
    }
}

std::string Get_FB_Item_Title(std::string_view text, long c) {
    if (c < 2) return {};
    // The last line break that starts at or before c - 2 (0-based), no further back than the
    // longest line a title stands on.
    const long last = std::min(c - 2, static_cast<long>(text.size()) - 2);
    const long floor = std::max(0L, c - 2 - kMaxTitleLine);
    long crlf = -1;
    for (long s = last; s >= floor; --s)
        if (text[static_cast<size_t>(s)] == '\r' && text[static_cast<size_t>(s) + 1] == '\n') {
            crlf = s;
            break;
        }
    if (crlf < 0) return {};
    const long from = crlf + 3;  // 1-based, after the line break
    if (from >= c) return {};
    return trimmed(vb::Mid(text, from, c - from));
}

std::string Get_FB_User_ID(std::string_view text, long& c) {
    const long e = c > 0 ? vb::InStr(c, text, ")") : 0;
    const long o = e > 0 ? vb::InStr(e, text, "(") : 0;
    c = o;
    if (o == 0) return {};
    return trimmed(vb::Mid(text, e + 1, o - e - 1));
}

std::string Get_FB_Item_Detail(std::string_view text, long& c) {
    const long e = c > 0 ? vb::InStr(c, text, ")") : 0;
    const long d1 = e > 0 ? vb::InStr(e, text, "-") : 0;
    const long d2 = d1 > 0 ? vb::InStr(d1 + 1, text, "-") : 0;
    if (d2 == 0) {
        c = 0;
        return {};
    }
    c = d2 + 3;
    return trimmed(vb::Mid(text, e + 1, d2 + 2 - e));
}

LeaveLinks::LeaveLinks(std::string_view html) : html_(html), upper_(vb::UCase(html)) {
    const std::string_view kUserTo = "USERIDTO=";
    const std::string_view upper = upper_;
    for (size_t i = html.find('"'); i != std::string_view::npos; i = html.find('"', i + 1)) quotes_.push_back(i);
    size_t lastQuoted = std::string_view::npos;
    const auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
    for (size_t u = upper.find(kUserTo); u != std::string_view::npos; u = upper.find(kUserTo, u + 1)) {
        byName_.emplace_back(upper.substr(u + kUserTo.size(), kKey), u);
        // The digit runs of the quoted text around it (each quoted text once).
        const auto next = std::upper_bound(quotes_.begin(), quotes_.end(), u);
        if (next == quotes_.begin() || next == quotes_.end()) continue;
        const size_t q = static_cast<size_t>(next - quotes_.begin()) - 1;
        if (q == lastQuoted) continue;
        lastQuoted = q;
        const std::string_view quoted = html.substr(quotes_[q] + 1, quotes_[q + 1] - quotes_[q] - 1);
        for (size_t i = 0; i < quoted.size(); ++i) {
            if (!digit(quoted[i])) continue;
            size_t e = i;
            while (e < quoted.size() && digit(quoted[e])) ++e;
            std::vector<size_t>& in = numbers_[quoted.substr(i, e - i)];
            if (in.empty() || in.back() != q) in.push_back(q);
            i = e;
        }
    }
    std::sort(byName_.begin(), byName_.end());
}

void LeaveLinks::addMatches(const std::string& name, std::vector<size_t>& at) const {
    const std::string full = vb::UCase(name);
    const std::string_view key = std::string_view(full).substr(0, kKey);
    for (auto it = std::lower_bound(byName_.begin(), byName_.end(), std::make_pair(key, size_t{0}));
         it != byName_.end() && it->first.substr(0, key.size()) == key; ++it) {
        const size_t from = it->second + 9;  // after "useridto="
        if (full.size() <= kKey || std::string_view(upper_).substr(from, full.size()) == full) at.push_back(it->second);
    }
}

const LeaveLinks::User& LeaveLinks::user(const std::string& userId) const {
    const auto known = users_.find(userId);
    if (known != users_.end()) return known->second;
    std::vector<size_t> at;
    addMatches(userId, at);
    if (userId.find('$') != std::string::npos) addMatches(vb::Replace(userId, "$", "%24"), at);
    User& u = users_[userId];
    if (at.empty()) return u;
    const size_t first = *std::min_element(at.begin(), at.end());
    // The search for the user's links ends at a first one without an opening quote.
    u.blocked = quotes_.empty() || first < quotes_.front();
    if (u.blocked) return u;
    for (size_t a : at) {
        const auto next = std::upper_bound(quotes_.begin(), quotes_.end(), a);
        if (next != quotes_.end()) u.quoted.push_back(static_cast<size_t>(next - quotes_.begin()) - 1);
    }
    std::sort(u.quoted.begin(), u.quoted.end());
    return u;
}

std::string LeaveLinks::find(const std::string& userId, const std::string& itemNumber,
                             const std::string& pageAddress) const {
    if (userId.empty() || itemNumber.empty()) return {};
    const auto texts = numbers_.find(itemNumber);
    if (texts == numbers_.end()) return {};
    const User& u = user(userId);
    if (u.blocked) return {};
    // The first quoted text (in page order) that holds both.
    for (size_t q : texts->second)
        if (std::binary_search(u.quoted.begin(), u.quoted.end(), q)) {
            const std::string_view link = html_.substr(quotes_[q] + 1, quotes_[q + 1] - quotes_[q] - 1);
            return modAccount::Web_Link(vb::Replace(link, "&amp;", "&"), pageAddress);
        }
    return {};
}

std::string Get_FB_Leave_Link(std::string_view html, const std::string& userId, const std::string& itemNumber,
                              const std::string& pageAddress) {
    return LeaveLinks(html).find(userId, itemNumber, pageAddress);
}

std::string Get_FB_Status(std::string_view html, long& h) {
    const long s = vb::InStr(std::max(h, 1L), html, "STRK:MEAFB:IT", vb::Text);
    const long e = s > 0 ? vb::InStr(s, html, "</tr>", vb::Text) : 0;
    if (s == 0 || e == 0) return {};  // the cursor stays for the next entry
    h = e;
    const std::string row = vb::Mid(html, s, e - s);
    if (vb::InStr(row, "Positive Feedback Received", vb::Text)) return "POS";
    if (vb::InStr(row, "Negative Feedback Received", vb::Text)) return "NEG";
    if (vb::InStr(row, "Neutral Feedback Received", vb::Text)) return "NEU";
    if (vb::InStr(row, "Feedback Left", vb::Text)) return "FBLEFT";
    return {};
}

long Read_Feedback_To_Leave(std::string& html, const std::string& pageAddress) {
    modAccount::Clean_Page_Bytes(html);
    std::string& text = modPageParser::PageText;
    text = modPageParser::Inner_Text(html);
    modAccount::Debug_Dump(html, "HTMLFB");
    modAccount::Debug_Dump(text, "TEXTFB");
    return Read_Feedback_Entries(html, text, pageAddress);
}

long Read_Feedback_Entries(std::string_view html, std::string_view text, const std::string& pageAddress) {
    long c = 1;
    const long n = std::min(Get_FB_Count(text, c), kMaxFeedbackEntries);
    if (n <= 0) return -1;
    FeedbackList.assign(static_cast<size_t>(n) + 1, FeedbackEntry{});
    // Both cursors only move on. The links are read from the page once, and a status search that
    // found nothing finds nothing for the later entries either (its cursor stays).
    long h = 1;
    bool statusRows = true;
    const LeaveLinks links(html);
    long awaiting = 0;
    for (long i = 1; i <= n; ++i) {
        FeedbackEntry& entry = FeedbackList[static_cast<size_t>(i)];
        const std::string number = Get_FB_Item_Number(text, c);
        if (number.empty()) break;  // no further entry: the rest stay empty
        entry.ItemNumber = number;
        entry.Title = Get_FB_Item_Title(text, c);
        entry.UserID = Get_FB_User_ID(text, c);
        if (c == 0) break;
        entry.Detail = Get_FB_Item_Detail(text, c);
        entry.LeaveLink = links.find(entry.UserID, entry.ItemNumber, pageAddress);
        if (!entry.LeaveLink.empty()) ++awaiting;
        if (statusRows) {
            const long before = h;
            entry.Status = Get_FB_Status(html, h);
            statusRows = h != before;
        }
        if (c == 0) break;
    }
    return awaiting;
}

void Get_Feedback_To_Leave() {
    if (modAccount::Refused_As_Busy()) return;
    TLMainState::BusyHold updating(TLMainState::UpdateBusy);
    status(kCheckingFeedback);
    const std::string address = feedbackPageAddress();
    if (modAccount::Get_Account_Page(address, modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody) !=
        modAccount::AccountPage::Fetched)
        return;
    std::string& html = modPageParser::PageHTML;
    if (html.empty()) {
        status(kFeedbackFailed);
        return;
    }
    const long awaiting = Read_Feedback_To_Leave(html, address);
    if (awaiting < 0) {
        status(kNoFeedbackToLeave);
        return;
    }
    status("You have " + std::to_string(awaiting) +
           " users awaiting feedback from you. Press 'Esc' to exit feedback.");
    Show_Feedback_To_Leave();
}

void Show_Feedback_To_Leave() {
    TLMainItems::GridViewMode = 1;
    TLMainItems::FeedbackLinks.clear();
    for (size_t i = 1; i < FeedbackList.size(); ++i) TLMainItems::FeedbackLinks.push_back(FeedbackList[i].LeaveLink);
    TLMainAccount::Load_Feedback_Grid();
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    for (size_t i = 1; i < FeedbackList.size(); ++i) {
        const FeedbackEntry& e = FeedbackList[i];
        const int r = static_cast<int>(i);
        g.setTextMatrix(r, 0, e.ItemNumber);
        g.setTextMatrix(r, 1, e.UserID);
        g.setTextMatrix(r, 2, e.Detail);
        g.setTextMatrix(r, 3, e.Title);
        const long colour = statusColour(e.Status);
        if (colour != TLMainItems::kNoColour)
            for (int col = 0; col < 4; ++col) g.setCellBackColor(r, col, colour);
    }
    g.setVisible(true);
    TLMainItems::itemLink<TLMainItems::ItemWindow>().ResizeWindow();
}

void ResetFeedbackToLeaveForTests() { FeedbackList.assign(1, FeedbackEntry{}); }

}  // namespace modFeedback
