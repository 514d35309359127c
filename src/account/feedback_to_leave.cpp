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
    c = e;
    return static_cast<long>(vb::RoundHalfEven(vb::Val(vb::Mid(text, b + 1, e - b - 1))));
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
    const size_t cr = text.rfind("\r\n", static_cast<size_t>(c - 2));
    if (cr == std::string_view::npos) return {};
    const long from = static_cast<long>(cr) + 3;  // 1-based, after the line break
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

std::string Get_FB_Leave_Link(std::string_view html, const std::string& userId, const std::string& itemNumber,
                              const std::string& pageAddress) {
    if (userId.empty() || itemNumber.empty()) return {};
    const std::string plain = "useridto=" + userId;
    const std::string encoded = "useridto=" + vb::Replace(userId, "$", "%24");
    const bool dollar = userId.find('$') != std::string::npos;
    long from = 1;
    for (;;) {
        long u = vb::InStr(from, html, plain, vb::Text);
        if (dollar) {
            const long v = vb::InStr(from, html, encoded, vb::Text);
            if (v > 0 && (u == 0 || v < u)) u = v;
        }
        if (u == 0) return {};
        const long open = vb::InStrRev(html, "\"", u);
        const long close = open > 0 ? vb::InStr(open + 1, html, "\"") : 0;
        if (open == 0 || close == 0) return {};
        const std::string link = vb::Mid(html, open + 1, close - open - 1);
        if (link.find(itemNumber) != std::string::npos)
            return modAccount::Web_Link(vb::Replace(link, "&amp;", "&"), pageAddress);
        from = close + 1;
    }
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
    modAccount::Clean_Page_Bytes(html);
    std::string& text = modPageParser::PageText;
    text = modPageParser::Inner_Text(html);
    modAccount::Debug_Dump(html, "HTMLFB");
    modAccount::Debug_Dump(text, "TEXTFB");

    long c = 1;
    const long n = std::min(Get_FB_Count(text, c), kMaxFeedbackEntries);
    if (n <= 0) {
        status(kNoFeedbackToLeave);
        return;
    }
    FeedbackList.assign(static_cast<size_t>(n) + 1, FeedbackEntry{});
    long h = 1;
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
        entry.LeaveLink = Get_FB_Leave_Link(html, entry.UserID, entry.ItemNumber, address);
        if (!entry.LeaveLink.empty()) ++awaiting;
        entry.Status = Get_FB_Status(html, h);
        if (c == 0) break;
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
