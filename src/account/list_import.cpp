#include "account/list_import.h"

#include <set>

#include "account/account_pages.h"
#include "foundation/busy_holds.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/add_item.h"
#include "items/bid_status.h"
#include "items/categories.h"
#include "items/item_grid_link.h"
#include "items/item_sort.h"
#include "items/item_store.h"
#include "mainwindow/browser_views.h"
#include "platform/message_box.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace TLMainAccount {
namespace {

struct ListKind {
    const char* name;
    const char* marker;
    const char* page;  // CurrentPage
    bool withUser;
};
const ListKind kLists[4] = {
    {"I'm Watching", "MEWAX:IT", "MyeBayWatching", true},
    {"I've Won", "MEWNX:IT", "MyeBayWon", false},
    {"I'm Selling", "MESELX:IT", "MyeBaySelling", true},
    {"I've Sold", "MESOX:IT", "MyeBaySold", true},
};

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

const modTLMain::NationalSite& site() {
    const modTLMain::NationalSite* s = modTLMain::National_Site(modTLMain::CurrentSiteIndex);
    return s ? *s : *modTLMain::National_Site(0);
}

// The number of the first run of digits in `link` after position `k` (1-based); "" when none.
std::string digitsFrom(std::string_view link, long k) {
    size_t i = static_cast<size_t>(k - 1);
    while (i < link.size() && !(link[i] >= '0' && link[i] <= '9')) ++i;
    size_t e = i;
    while (e < link.size() && link[e] >= '0' && link[e] <= '9') ++e;
    return std::string(link.substr(i, e - i));
}

// Asks the user and adds the new numbers; then the completion.
void Confirm_And_Add(const std::string& listName, const std::vector<std::string>& numbers) {
    const long n = static_cast<long>(numbers.size());
    long existing = 0;
    for (const auto& number : numbers)
        if (modTLMain::Item_Exists(number)) ++existing;
    const std::string text = "Items " + listName + " = " + std::to_string(n) + "\r\nNew Items = " +
                             std::to_string(n - existing) + "\r\nCurrent Category = " +
                             TLMainItems::itemGrid().currentCategory() + "\r\n\r\nAdd New Items?";
    const int answer = platform::MsgBox(text, platform::vbOKCancel + platform::vbQuestion + platform::vbSystemModal,
                                        "Add Items " + listName);
    if (answer == platform::vbCancel) {
        TLMainItems::BulkAddActive = 0;
        TLMainState::CancelUpdate = 0;
        return;
    }
    const int before = TLMainItems::ItemCount;
    TLMainItems::Bulk_Add_Items(numbers, kMyEbayCancelled);
    const int added = TLMainItems::ItemCount - before;

    TLMainItems::BulkAddActive = 0;
    TLMainItems::Sort_Auction_Items(TLMainItems::Default_Sort_Key());
    TLMainItems::Save_Auction_Items();
    if (TLMainItems::Config_True("Options", "Sound", false))
        TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", "DLComplete", "DLComplete"), 1);
    TLMainItems::itemGrid().loadItemGrid();
    TLMainState::TrayTipCountdown = 3;
    modSysTray::Modify_Tray_Tip(std::to_string(added) + " Items Added", kMyEbayCompleted, 1,
                                modSysTray::NIF_INFO);
    status(kMyEbayCompleted);
}

// Reads the list's pages on from the first (in PageHTML): the numbers of every page, in order.
// Paging follows ">Next<" while the announced size is not reached and each page brings new
// numbers, never to an address read before, and at most kMaxListPages pages.
std::vector<std::string> Collect_List(const ListKind& list, long expected, std::string address) {
    std::vector<std::string> all;
    std::set<std::string> seen, addresses{address};
    std::string last;
    for (int page = 1;; ++page) {
        const std::vector<std::string> found = Collect_Page_Numbers(modPageParser::PageHTML, list.marker, last);
        bool fresh = false;
        for (const auto& number : found) {
            if (!number.empty() && seen.insert(number).second) fresh = true;
            all.push_back(number);
        }
        if (all.empty()) return all;
        if (expected > 0 && static_cast<long>(all.size()) >= expected) break;
        if (!fresh || page >= kMaxListPages) break;
        const std::string next = Next_Page_Address(modPageParser::PageHTML, address);
        if (next.empty() || !addresses.insert(next).second) break;
        address = next;
        modWinInet::HttpURL = next;
        modWinInet::Http_Request(modWinInet::HttpURL, "GET", UserState::CurrentUserID,
                                 modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody);
        if (TLMainState::CancelUpdate || modPageParser::PageHTML.empty()) break;
    }
    return all;
}

}  // namespace

void MyeBayView() {
    TLMainBrowser::Show_Account_Page(
        modTLC::Get_Config_Value("Locale", "MyeBay", std::string("http://") + site().memberHost + site().myEbayPath));
}

void MyeBayMessages() {
    TLMainBrowser::Show_Account_Page(modTLC::Get_Config_Value(
        "Locale", "MyeBayMsg",
        std::string("http://") + site().memberHost +
            "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayMyMessages&ssPageName=STRK:ME:LNLK"));
}

void MyeBayAccount() {
    TLMainBrowser::Show_Account_Page("Http://" + modAccount::Account_Host() +
                                     "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBaySellerAccounts&ssPageName=STRK:ME:LNLK");
}

std::string List_Address(int Kind) {
    if (Kind < 2 || Kind > 5) return {};
    const ListKind& list = kLists[Kind - 2];
    std::string address = "http://" + modAccount::Account_Host() + "/ws/eBayISAPI.dll?MyeBay";
    if (list.withUser) address += "&LogUID=" + TLMainBrowser::Query_Value(UserState::CurrentUserID);
    return address + "&CurrentPage=" + list.page + "&ssPageName=STRK:ME:LNLK";
}

long GetItemCnt(int Kind, std::string_view pageText) {
    const auto after = [&](std::string_view label) -> long {
        const long p = vb::InStr(pageText, label, vb::Text);
        return p > 0 ? p + static_cast<long>(label.size()) : 0;
    };
    long start = 0;
    switch (Kind) {
        case 2: start = after("All ("); if (!start) start = after("Watch ("); break;
        case 3: start = after("Won ("); break;
        case 4: start = after("Selling ("); if (!start) start = after("Active ("); break;
        case 5: start = after("Sold ("); break;
        default: return 0;
    }
    if (!start) return 0;
    const long close = vb::InStr(start, pageText, ")");
    if (!close) return 0;
    const std::string count = vb::Trim(vb::Mid(pageText, start, close - start));
    // A label followed by anything but a whole number announces nothing.
    if (count.empty() || count.find_first_not_of("0123456789,") != std::string::npos) return 0;
    // A size beyond the 32-bit range is no size either.
    long size = 0;
    return vb::RoundToInt32(vb::Val(vb::Replace(count, ",", "")), size) ? size : 0;
}

std::vector<std::string> Collect_Page_Numbers(std::string_view html, std::string_view marker,
                                              std::string& lastNumber) {
    // One pass: the markers are found in page order, and the "href=" before each, the quotes after
    // it and the number of the link between them only move forward, so each is sought once (a
    // link that serves many markers is read once).
    std::vector<std::string> numbers;
    if (marker.empty()) return numbers;
    constexpr size_t npos = std::string_view::npos;
    const std::string_view kHref = "href=";
    size_t href = npos;                                  // the last "href=" so far
    long nextHref = vb::InStr(html, kHref, vb::Text);    // the one after it (1-based)
    size_t quotesFrom = npos;                        // the "href=" the quotes were sought from
    size_t open = npos, close = npos;                // the quotes of its link
    std::string linkNumber;                          // the number in that link ("" none)
    long p = 1;
    for (;;) {
        const long m = vb::InStr(p, html, marker, vb::Text);
        if (m == 0) break;
        p = m + static_cast<long>(marker.size());
        // The last "href=" that ends at or before the marker's first character.
        while (nextHref > 0 && nextHref + static_cast<long>(kHref.size()) <= m + 1) {
            href = static_cast<size_t>(nextHref - 1);
            nextHref = vb::InStr(nextHref + 1, html, kHref, vb::Text);
        }
        if (href == npos) continue;
        if (href != quotesFrom) {
            // The first quote at or after the "href=": the one found before while the new
            // "href=" lies before it, none while none was found from an earlier one.
            const bool same = quotesFrom != npos && (open == npos || open >= href);
            quotesFrom = href;
            if (!same) {
                const size_t q1 = html.find('"', href);
                open = q1;
                close = q1 == npos ? npos : html.find('"', q1 + 1);
                linkNumber.clear();
                if (close != npos) {
                    const std::string_view link = html.substr(open + 1, close - open - 1);
                    long k = vb::InStr(link, "itm/", vb::Text);
                    if (k == 0) k = vb::InStr(link, "item=", vb::Text);
                    if (k > 0) linkNumber = digitsFrom(link, k);
                }
            }
        }
        if (open == npos || close == npos || linkNumber.empty()) continue;
        if (linkNumber == lastNumber) continue;
        numbers.push_back(linkNumber);
        lastNumber = linkNumber;
    }
    return numbers;
}

std::vector<std::string> Watch_Widget_Numbers(std::string_view html) {
    std::vector<std::string> numbers;
    long s = vb::InStr(html, "$rwidgets", vb::Text);
    if (s == 0) s = vb::InStr(html, "watchlistwidget", vb::Text);
    if (s == 0) return numbers;
    for (;;) {
        const long e = vb::InStr(s, html, "entryid", vb::Text);
        if (e == 0) break;
        s = e + 6;
        numbers.push_back(modTLMain::Get_Watch_Number(html, s, 50));
    }
    return numbers;
}

std::string Next_Page_Address(std::string_view html, const std::string& pageAddress) {
    const long n = vb::InStr(html, ">Next<", vb::Text);
    if (n == 0) return {};
    // The link of the anchor whose text is "Next"; a page that writes the link after the text
    // is read forward.
    long h = vb::InStrRev(html, "href=", n, vb::Text);
    if (h > 0 && vb::InStr(h, html, "</a", vb::Text) < n && vb::InStr(h, html, "</a", vb::Text) > 0) h = 0;
    if (h == 0) h = vb::InStr(n, html, "href=", vb::Text);
    if (h == 0) return {};
    const long q1 = vb::InStr(h, html, "\"");
    if (q1 == 0) return {};
    const long q2 = vb::InStr(q1 + 1, html, "\"");
    if (q2 == 0) return {};
    return modAccount::Web_Link(vb::Replace(vb::Mid(html, q1 + 1, q2 - q1 - 1), "&amp;", "&"), pageAddress);
}

std::vector<std::string> Distinct_Numbers(const std::vector<std::string>& numbers) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (const auto& n : numbers) {
        const std::string t = vb::Trim(n);
        if (!t.empty() && seen.insert(t).second) out.push_back(t);
    }
    return out;
}

void MyeBayFunction(int Kind) {
    if (Kind == 0) return MyeBayMessages();
    if (Kind == 1) return MyeBayAccount();
    if (Kind < 2 || Kind > 5) return;
    if (modAccount::Refused_As_Busy()) return;

    TLMainState::BusyHold updating(TLMainState::UpdateBusy);
    const ListKind& list = kLists[Kind - 2];
    status(std::string(kCheckingMyEbay) + list.name + "...");
    const std::string address = List_Address(Kind);
    if (modAccount::Get_Account_Page(address, modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody |
                                                  modWinInet::kFlagAcceptGzip) != modAccount::AccountPage::Fetched)
        return;
    if (TLMainState::CancelUpdate) {
        TLMainState::CancelUpdate = 0;
        status(kMyEbayCancelled);
        return;
    }
    std::string& html = modPageParser::PageHTML;
    if (html.empty()) {
        TLMainItems::BulkAddActive = 0;
        TLMainState::CancelUpdate = 0;
        return;
    }
    modAccount::Clean_Page_Bytes(html);
    modPageParser::PageText = modPageParser::Inner_Text(html);
    modAccount::Debug_Dump(html, "HTMLMyeBay");
    modAccount::Debug_Dump(modPageParser::PageText, "PlainMyeBay");

    std::vector<std::string> numbers;
    if (Kind == 2 && vb::InStr(html, list.marker, vb::Text) == 0) {
        numbers = Watch_Widget_Numbers(html);
    } else {
        const long expected = GetItemCnt(Kind, modPageParser::PageText);
        numbers = Collect_List(list, expected, address);
        if (TLMainState::CancelUpdate) {  // stopped while the further pages came
            TLMainState::CancelUpdate = 0;
            status(kMyEbayCancelled);
            return;
        }
        if (numbers.empty()) {
            status(kNoListItems);
            TLMainItems::BulkAddActive = 0;
            TLMainState::CancelUpdate = 0;
            return;
        }
    }
    Confirm_And_Add(list.name, Distinct_Numbers(numbers));
}

}  // namespace TLMainAccount
