// fake_account_pages.h — the account pages of the fake service: the "My eBay" list pages
// (watching, won, selling, sold) in the older layout with a marker beside each item link and in
// the newer watch layout, the account feedback page with the transactions still waiting for
// feedback, and the feedback-as-seller pages of a seller.
//
// The pages are written for the program's page-text rules (service/page_text.h); each kind of
// page is pinned by a golden text in tests/account/golden.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// One list page of the older layout.
struct ListPageContent {
    std::string heading = "Items I'm Watching";
    std::string countLabel = "All (4)";      // "" leaves the counts out
    std::string marker = "MEWAX:IT";
    std::vector<std::string> numbers;        // each item stands with a picture link and a title link
    std::string nextHref;                    // the ">Next<" link's address, "" none (as written, &amp; kept)
};
std::string listPageHtml(const ListPageContent& page);

// A watch list in the newer layout: the list's data in a script ("$rwidgets" ... "entryId").
std::string watchWidgetPageHtml(const std::vector<std::string>& numbers);

// A transaction still waiting for feedback.
struct AwaitingEntry {
    std::string title = "Blue teapot";
    std::string itemNumber = "110000000001";
    std::string user = "buyer99";            // as the page shows it
    std::string userInLink;                  // as the leave link writes it ("" = user)
    std::string score = "12";
    std::string date = "May-20-26";
    std::string status;                      // "Positive Feedback Received", "Feedback Left", ...
    bool withLink = true;                    // the leave-feedback link
};
// The account feedback page; `announced` is the count "Items Awaiting Feedback (n)" (-1 leaves
// the count out).
std::string awaitingFeedbackPageHtml(long announced, const std::vector<AwaitingEntry>& entries);

// Hostile list pages of about `bytes` bytes: markers with no link anywhere before them, markers
// inside one long item link, and one item link followed by markers. The item number of the
// pages' one link is kHostileItem.
enum class HostileListShape { MarkersWithoutLink, MarkersInOneLink, MarkersAfterOneLink };
inline constexpr const char* kHostileItem = "110000000001";
std::string hostileListPageHtml(HostileListShape shape, size_t bytes);

// Hostile feedback pages of about `bytes` bytes with `entries` entries (item numbers
// 110000000001 on, users "buyer" + i, titles "Item " + i): no leave link at all; every entry on
// one line of the page text; every entry for one user "bob" whose leave link for the entry stands
// among many links of his for other items.
enum class HostileFeedbackShape { NoLeaveLinks, EntriesOnOneLine, ManyLinksForOneUser };
std::string hostileFeedbackPageHtml(HostileFeedbackShape shape, size_t bytes, int entries);
std::string hostileItemNumber(int entry);  // entry from 1

// An entry of feedback as seller.
struct SellerFeedbackRow {
    std::string kind = "Pos";                // the icon: "Pos", "Neg", "Neu" (other: "icon" + kind)
    std::string comment = "Great seller, fast shipping";
    std::string buyer = "buyer99";
    std::string score = "123";
    std::string date = "May-20-26";          // "" leaves the date out
    std::string title = "Blue teapot";       // "" writes a private listing
    std::string itemNumber = "110000000001";
    std::string price = "US $12.50";
    bool star = false;                       // a star icon beside the buyer's score
};
// A feedback-as-seller page with the rows.
std::string sellerFeedbackPageHtml(const std::vector<SellerFeedbackRow>& rows);

}  // namespace testsupport
