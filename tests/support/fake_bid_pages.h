// fake_bid_pages.h — the bid host of the fake service: the bid offer (MakeBid), the bid itself
// (AcceptBid) and the answers a test chooses for each item.
//
// MakeBid answers with a confirmation form (inputs "MfcISAPICommand" = "AcceptBid", "item",
// "maxbid", "key", then the "confirmbid" button, after a search form that must not be taken for
// it), the minimum-bid page, the "Auction ended" page, a page without a form, or nothing.
// AcceptBid answers outbid, highest bidder or ended, a page that tells none of them, a 503, or
// drops the connection once the request is in. Both are counted per item, with their arrival
// times. The item's bid history is served by ItemPages (fake_item_pages.h).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fake_service.h"

namespace testsupport {

// ServerError: a 500 answer with the server's error page. Unavailable: a 503 answer with its
// error page. NoOutcome: a page that tells nothing of the bid.
enum class MakeBidAnswer { Confirm, MinimumBid, Ended, NoForm, Nothing, Stall, ServerError };
enum class AcceptBidAnswer { HighBidder, Outbid, Ended, Empty, Drop, Stall, Unavailable, NoOutcome };

class BidPages {
public:
    // Serves the bid host `host` (the program's bid host when empty).
    explicit BidPages(FakeService& service, const std::string& host = {});

    // The answer to the item's offers; with `times` the next that many offers get it, the later
    // ones the confirmation form.
    void setMakeBid(const std::string& item, MakeBidAnswer answer, int times = -1);
    void setAcceptBid(const std::string& item, AcceptBidAnswer answer);
    void setMinimumBid(const std::string& amount);      // shown by the minimum-bid page ("US $12.50")
    void setCurrentBid(const std::string& amount);      // shown by the outbid page

    // The confirmation form's "key" as the page writes it (entities and all), and as sent back.
    static const char* keyInPage();
    static const char* keySent();

    static std::string confirmPage(const std::string& item, const std::string& maxBid);
    static std::string minimumBidPage(const std::string& amount);
    static std::string endedPage();
    static std::string serverErrorPage();
    static std::string acceptPage(AcceptBidAnswer answer, const std::string& currentBid);

    // What came, per item.
    size_t makeBids(const std::string& item) const;
    size_t acceptBids(const std::string& item) const;
    std::vector<RecordedRequest> acceptBidRequests(const std::string& item) const;
    std::vector<RecordedRequest> makeBidRequests(const std::string& item) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// The value of `key` in a query or form text ("a=1&item=2"), "" when absent.
std::string queryValue(const std::string& text, const std::string& key);

}  // namespace testsupport
