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
