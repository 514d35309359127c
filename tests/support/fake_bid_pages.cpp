#include "fake_bid_pages.h"

#include <mutex>

#include "service/national_sites.h"

namespace testsupport {

struct BidPages::State {
    mutable std::mutex lock;
    std::map<std::string, MakeBidAnswer> makeBid;
    std::map<std::string, int> makeBidTimes;  // offers left that get makeBid (-1: all)
    std::map<std::string, AcceptBidAnswer> acceptBid;
    std::map<std::string, std::vector<RecordedRequest>> makeBids;
    std::map<std::string, std::vector<RecordedRequest>> acceptBids;
    std::string minimumBid = "US $12.50";
    std::string currentBid = "US $31.00";
};

std::string queryValue(const std::string& text, const std::string& key) {
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(key + "=", from);
        if (at == std::string::npos) return {};
        if (at == 0 || text[at - 1] == '&' || text[at - 1] == '?') {
            const size_t start = at + key.size() + 1;
            const size_t end = text.find('&', start);
            return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        }
        from = at + 1;
    }
}

const char* BidPages::keyInPage() { return "k9&amp;x+y/z= 1"; }
const char* BidPages::keySent() { return "k9%26x%2By%2Fz%3D+1"; }

std::string BidPages::confirmPage(const std::string& item, const std::string& maxBid) {
    return "<html><head><title>Review and Confirm Bid</title></head><body>\n"
           "<form action=\"/sch/i.html\" method=\"get\"><input type=\"text\" name=\"maxbidder\" value=\"tea\">\n"
           "<input type=\"submit\" value=\"Search\"></form>\n"
           "<h1>Review and confirm your bid</h1>\n"
           "<FORM method=\"post\" action=\"https://offer.ebay.com/ws/eBayISAPI.dll\">\n"
           "<input type=\"hidden\" name=\"MfcISAPICommand\" value=\"AcceptBid\">\n"
           "<input type=\"hidden\" name=\"item\" value=\"" + item + "\">\n"
           "<input type=\"hidden\"\r\n name = \"maxbid\" value=\"" + maxBid + "\">\n"
           "<input type=hidden name='key' value=\"" + keyInPage() + "\">\n"
           "<input type=\"submit\" name=\"confirmbid\" value=\"Confirm Bid\">\n"
           "<input type=\"hidden\" name=\"after\" value=\"never sent\">\n"
           "</FORM>\n</body></html>\n";
}

std::string BidPages::minimumBidPage(const std::string& amount) {
    return "<html><body><h1>Place a bid</h1>\n<div class=\"err\">"
           "<p>The following must be corrected before continuing:</p>\n"
           "<p>Your bid must be at least the minimum bid. Enter " + amount + " or more.</p></div>\n"
           "<form method=\"post\"><input type=\"text\" name=\"maxbid\" value=\"\">"
           "<input type=\"submit\" name=\"confirmbid\" value=\"Bid\"></form>\n</body></html>\n";
}

std::string BidPages::endedPage() {
    return "<html><body><h1>Bidding</h1><p>Auction ended. You can no longer bid on this item.</p></body></html>\n";
}

std::string BidPages::serverErrorPage() {
    return "<html><head><title>500 Internal Server Error</title></head><body><h1>Internal Server Error</h1>"
           "<p>The server encountered an internal error and was unable to complete your request.</p></body></html>\n";
}

std::string BidPages::acceptPage(AcceptBidAnswer answer, const std::string& currentBid) {
    switch (answer) {
    case AcceptBidAnswer::Outbid:
        return "<html><body><h1>Bid confirmation</h1><div><p>You've just been outbid.</p>"
               "<p>Current bid: " + currentBid + "</p><p>Another bidder set a higher maximum.</p></div></body></html>\n";
    case AcceptBidAnswer::HighBidder:
        return "<html><body><h1>Bid confirmation</h1><p>You're currently the highest bidder on this item.</p>"
               "</body></html>\n";
    case AcceptBidAnswer::Ended:
        return "<html><body><p>Bidding has ended for this item.</p></body></html>\n";
    case AcceptBidAnswer::Unavailable:
        return "<html><head><title>503 Service Unavailable</title></head><body><h1>Service Unavailable</h1>"
               "<p>The server is temporarily unable to service your request.</p></body></html>\n";
    case AcceptBidAnswer::NoOutcome:
        return "<html><body><h1>Bid confirmation</h1><p>We're having trouble showing this page.</p>"
               "<p>Current bid: " + currentBid + "</p></body></html>\n";
    default:
        return {};
    }
}

BidPages::BidPages(FakeService& service, const std::string& host) : m_state(std::make_shared<State>()) {
    const std::string h = host.empty() ? std::string(modTLMain::kBidHost) : host;
    auto state = m_state;
    service.handlePrefix(h, "POST", "/ws/eBayISAPI.dll?MfcISAPICommand=MakeBid", [state](const RecordedRequest& r) {
        const std::string item = queryValue(r.target, "item");
        MakeBidAnswer answer = MakeBidAnswer::Confirm;
        {
            std::lock_guard<std::mutex> g(state->lock);
            state->makeBids[item].push_back(r);
            if (auto it = state->makeBid.find(item); it != state->makeBid.end()) {
                int& left = state->makeBidTimes[item];
                if (left != 0) answer = it->second;
                if (left > 0) --left;
            }
        }
        ScriptedResponse s;
        switch (answer) {
        case MakeBidAnswer::Confirm: return ScriptedResponse::ok(confirmPage(item, queryValue(r.target, "maxbid")));
        case MakeBidAnswer::MinimumBid: {
            std::lock_guard<std::mutex> g(state->lock);
            return ScriptedResponse::ok(minimumBidPage(state->minimumBid));
        }
        case MakeBidAnswer::Ended: return ScriptedResponse::ok(endedPage());
        case MakeBidAnswer::NoForm: return ScriptedResponse::ok("<html><body><p>Please sign in.</p></body></html>");
        case MakeBidAnswer::Nothing: s.fault = Fault::CloseAtOnce; return s;
        case MakeBidAnswer::Stall: s.fault = Fault::StallBeforeHeaders; return s;
        case MakeBidAnswer::ServerError: return ScriptedResponse::withStatus(500, serverErrorPage());
        }
        return s;
    });
    service.handlePrefix(h, "POST", "/ws/eBayISAPI.dll?MfcISAPICommand=AcceptBid", [state](const RecordedRequest& r) {
        const std::string item = queryValue(r.target, "item");
        AcceptBidAnswer answer = AcceptBidAnswer::HighBidder;
        std::string current;
        {
            std::lock_guard<std::mutex> g(state->lock);
            state->acceptBids[item].push_back(r);
            if (auto it = state->acceptBid.find(item); it != state->acceptBid.end()) answer = it->second;
            current = state->currentBid;
        }
        ScriptedResponse s;
        if (answer == AcceptBidAnswer::Drop) {
            s.fault = Fault::CloseAtOnce;
            return s;
        }
        if (answer == AcceptBidAnswer::Stall) {
            s.fault = Fault::StallBeforeHeaders;
            return s;
        }
        if (answer == AcceptBidAnswer::Unavailable)
            return ScriptedResponse::withStatus(503, acceptPage(answer, current));
        return ScriptedResponse::ok(acceptPage(answer, current));
    });
}

void BidPages::setMakeBid(const std::string& item, MakeBidAnswer answer, int times) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->makeBid[item] = answer;
    m_state->makeBidTimes[item] = times;
}

void BidPages::setAcceptBid(const std::string& item, AcceptBidAnswer answer) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->acceptBid[item] = answer;
}

void BidPages::setMinimumBid(const std::string& amount) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->minimumBid = amount;
}

void BidPages::setCurrentBid(const std::string& amount) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->currentBid = amount;
}

size_t BidPages::makeBids(const std::string& item) const { return makeBidRequests(item).size(); }
size_t BidPages::acceptBids(const std::string& item) const { return acceptBidRequests(item).size(); }

std::vector<RecordedRequest> BidPages::acceptBidRequests(const std::string& item) const {
    std::lock_guard<std::mutex> g(m_state->lock);
    const auto it = m_state->acceptBids.find(item);
    return it == m_state->acceptBids.end() ? std::vector<RecordedRequest>{} : it->second;
}

std::vector<RecordedRequest> BidPages::makeBidRequests(const std::string& item) const {
    std::lock_guard<std::mutex> g(m_state->lock);
    const auto it = m_state->makeBids.find(item);
    return it == m_state->makeBids.end() ? std::vector<RecordedRequest>{} : it->second;
}

}  // namespace testsupport
