// fake_item_pages.h — item pages and bid-history pages of the fake service.
//
// itemPageHtml() writes an item page the way the service lays it out (title element, og meta
// tags, a script and a style, the item's details in table rows, the seller box, the picture, the
// "Item number:" cell and a long description). bidHistoryHtml() writes the bid list of an item.
// ItemPages serves both on a FakeService; a test may change a page between requests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fake_service.h"

namespace testsupport {

struct ItemPageContent {
    std::string itemNumber = "123456789012";
    std::string title = "Blue teapot";
    std::string titleSuffix = " | eBay";        // what the title element adds to the title
    std::string timeLeft = "2d 03h";
    std::string endDate = "Mar 05, 2026";       // "" leaves out the "Time Left:" row
    std::string endTime = "10:00:00";
    std::string zone = "PST";
    std::string priceLabel = "Current bid:";
    std::string price = "US $1,234.56";
    std::string bidCount = "7";                 // shown as "[7 bids]" beside the price
    std::string minBid = "US $1,235.56";        // "Enter ... or more"; "" leaves it out
    bool reserveNotMet = false;
    std::string shippingLabel = "Shipping:";
    std::string shipping = "US $5.00 Standard Shipping";
    std::string seller = "teapot_seller";
    std::string score = "152";
    std::string positive = "99.8";
    std::string photoUrl = "http://i.ebayimg.com/00/s/MTYwMA/Blue-teapot-1.jpg";
    size_t descriptionBytes = 4000;             // length of the description below the cut
};

std::string itemPageHtml(const ItemPageContent& item);

struct BidRow {
    std::string bidder;   // "tea_lover"
    std::string score;    // "(12)"; "" leaves it out
    std::string amount;   // "US $1,234.56"
    std::string date = "Mar-05-26 09:59:58 PST";
};
// The bid list; an empty list is a page without bids.
std::string bidHistoryHtml(const std::vector<BidRow>& rows);

// Pages a service may answer 200 with in place of an item page. Neither shows an item's title
// and end, or a price beside a price label.
std::string garbledItemPage();  // broken markup and stray text, with an amount and a time of day in it
std::string signInItemPage();   // the sign-in form, under its own title
std::string serverErrorItemPage();
// What the service answers, with a 200, for an item it removed or never had: its "Invalid Item"
// page, under a title of its own, naming the number.
std::string removedItemPage(const std::string& itemNumber);

// The addresses of the pages on a site's item host.
std::string itemPagePath(const std::string& itemNumber);     // "/ws/eBayISAPI.dll?ViewItem&item=..."
std::string historyPagePath(const std::string& itemNumber);  // "/ws/eBayISAPI.dll?ViewBids&item=..."

// Serves an item's page and its bid history on the fake; the pages can change while it runs.
class ItemPages {
public:
    ItemPages(FakeService& service, const std::string& host, const std::string& itemNumber);
    void setItemPage(const std::string& html);
    void setHistoryPage(const std::string& html);
    // The history address answers with a redirect (302) to `location` ("" serves the page again).
    void redirectHistory(const std::string& location);
    // The next `times` item-page requests (-1: all) answer `status` with `page`.
    void failItemPage(int status, int times, const std::string& page = serverErrorItemPage());
    std::string itemUrl() const;     // "http://<host>/ws/eBayISAPI.dll?ViewItem&item=..."
    std::string historyUrl() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
    std::string m_host;
    std::string m_number;
};

}  // namespace testsupport
