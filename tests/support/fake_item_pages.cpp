#include "fake_item_pages.h"

#include <mutex>

namespace testsupport {

namespace {

std::string row(const std::string& label, const std::string& value) {
    return "<tr>\n  <td class=\"lbl\">" + label + "</td>\n  <td class=\"val\">" + value + "</td>\n</tr>\n";
}

std::string description(size_t bytes) {
    static const std::string kLine =
        "<p>A fine teapot in blue glaze, made by hand. Holds six cups &amp; keeps tea warm.</p>\n";
    std::string out;
    out.reserve(bytes + kLine.size());
    while (out.size() < bytes) out += kLine;
    return out;
}

}  // namespace

std::string itemPageHtml(const ItemPageContent& s) {
    std::string h;
    h += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n";
    h += "<title>\n\t" + s.title + s.titleSuffix + "</title>\n";
    h += "<meta property=\"og:title\" content=\"" + s.title + "\" />\n";
    h += "<meta property=\"og:image\" content=\"" + s.photoUrl + "\" />\n";
    h += "<script type=\"text/javascript\">var price = \"Current bid: 9.99\"; if (a < b) {}</script>\n";
    h += "<style>.lbl { color: #333 } td > span { font-weight: bold }</style>\n";
    h += "</head>\n<body>\n<div id=\"gh\"><a href=\"/\">Home</a> | <a href=\"/sch\">Search</a></div>\n";
    h += "<h1 class=\"it-ttl\">" + s.title + "</h1>\n";
    h += "<table class=\"details\">\n";
    h += row("Item condition:", "Used");
    if (!s.endDate.empty())
        h += row("Time Left:", s.timeLeft + " <span class=\"vi-tm-left\">(" + s.endDate + "&nbsp;" + s.endTime + " " +
                                   s.zone + ")</span>");
    if (!s.priceLabel.empty())
        h += "<tr>\n  <td class=\"lbl\">" + s.priceLabel + "</td>\n  <td class=\"val\"><span>" + s.price +
             "</span></td>\n  <td>[<a href=\"#bids\">" + s.bidCount + " bids</a>]</td>\n</tr>\n";
    if (s.reserveNotMet) h += row("", "Reserve not met");
    if (!s.minBid.empty())
        h += row("Your max bid:", "<input type=\"text\" size=\"8\"> Enter " + s.minBid + " or more");
    if (!s.shippingLabel.empty()) h += row(s.shippingLabel, s.shipping);
    h += "</table>\n";
    h += "<div class=\"si\">\n<h2>Seller information</h2>\n<div><a href=\"/usr/" + s.seller + "\">" + s.seller +
         "</a> (<a href=\"/fb\">" + s.score + "</a> )</div>\n<div>" + s.positive +
         "% Positive feedback</div>\n</div>\n";
    h += "<div class=\"pic\"><img src=\"http://pics.example/spacer.gif\"><img id=\"icImg\" src=\"" + s.photoUrl +
         "\" alt=\"" + s.title + "\"></div>\n";
    h += "<table><tr><td>Item number:</td><td>" + s.itemNumber + "</td></tr></table>\n";
    h += "<div id=\"desc\"><h2>Description</h2>\n" + description(s.descriptionBytes) + "</div>\n";
    h += "</body>\n</html>\n";
    return h;
}

std::string bidHistoryHtml(const std::vector<BidRow>& rows) {
    std::string h = "<html><head><title>Bid History</title></head><body>\n<h1>Bid History</h1>\n";
    h += "<p>Bidders: " + std::to_string(rows.size()) + " Bids: " + std::to_string(rows.size()) + "</p>\n";
    if (rows.empty()) return h + "<p>No bids have been placed.</p></body></html>\n";
    h += "<table>\n<tr><th>Bidder</th>\n<th>Bid Amount</th>\n<th>Date of Bid</th></tr>\n";
    for (const auto& r : rows) {
        h += "<tr><td>" + r.bidder;
        if (!r.score.empty()) h += " " + r.score;
        h += "</td>\n<td>" + r.amount + "</td>\n<td>" + r.date + "</td></tr>\n";
    }
    return h + "</table>\n</body></html>\n";
}

std::string garbledItemPage() {
    return "<html><body><div class=\"g\"><p>\x01#&amp;%@ 0x3f qq 3.50 zz<<</p><td>~~ 12:00:01 ~~</td>"
           "<script>var a = 1;</script><p>Loading...</div></body>";
}

std::string signInItemPage() {
    return "<html><head><title>Sign in or Register | eBay</title></head><body><h1>Sign in</h1>"
           "<form method=\"post\" action=\"/ws/eBayISAPI.dll?SignIn\"><p>Email or username</p>"
           "<input type=\"text\" name=\"userid\"><p>Password</p><input type=\"password\" name=\"pass\">"
           "<input type=\"submit\" value=\"Sign in\"></form></body></html>\n";
}

std::string removedItemPage(const std::string& itemNumber) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>eBay - Invalid Item</title>\n</head>\n<body>\n"
           "<div id=\"gh\"><a href=\"/\">Home</a> | <a href=\"/sch\">Search</a></div>\n"
           "<h1>Invalid Item</h1>\n<p>This listing (" + itemNumber + ") has been removed, or this item is not "
           "available.</p>\n<p>Please check that you've entered the correct item number.</p>\n</body>\n</html>\n";
}

std::string serverErrorItemPage() { return "<html><body><h1>Internal Server Error</h1></body></html>"; }

std::string itemPagePath(const std::string& itemNumber) { return "/ws/eBayISAPI.dll?ViewItem&item=" + itemNumber; }
std::string historyPagePath(const std::string& itemNumber) { return "/ws/eBayISAPI.dll?ViewBids&item=" + itemNumber; }

struct ItemPages::State {
    std::mutex lock;
    std::string item;
    std::string history;
    std::string redirect;
    int failStatus = 0;
    int failTimes = 0;  // -1: every request
    std::string failPage;
};

ItemPages::ItemPages(FakeService& service, const std::string& host, const std::string& itemNumber)
    : m_state(std::make_shared<State>()), m_host(host), m_number(itemNumber) {
    auto state = m_state;
    service.handle(host, "GET", itemPagePath(itemNumber), [state](const RecordedRequest&) {
        std::lock_guard<std::mutex> g(state->lock);
        if (state->failTimes != 0) {
            if (state->failTimes > 0) --state->failTimes;
            return ScriptedResponse::withStatus(state->failStatus, state->failPage);
        }
        return ScriptedResponse::ok(state->item);
    });
    service.handle(host, "GET", historyPagePath(itemNumber), [state](const RecordedRequest&) {
        std::lock_guard<std::mutex> g(state->lock);
        if (!state->redirect.empty()) return ScriptedResponse::redirect(state->redirect);
        return ScriptedResponse::ok(state->history);
    });
}

void ItemPages::setItemPage(const std::string& html) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->item = html;
}

void ItemPages::setHistoryPage(const std::string& html) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->history = html;
}

void ItemPages::redirectHistory(const std::string& location) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->redirect = location;
}

void ItemPages::failItemPage(int status, int times, const std::string& page) {
    std::lock_guard<std::mutex> g(m_state->lock);
    m_state->failStatus = status;
    m_state->failTimes = times;
    m_state->failPage = page;
}

std::string ItemPages::itemUrl() const { return "http://" + m_host + itemPagePath(m_number); }
std::string ItemPages::historyUrl() const { return "http://" + m_host + historyPagePath(m_number); }

}  // namespace testsupport
