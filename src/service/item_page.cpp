#include "service/item_page.h"

#include "foundation/logs.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace {

constexpr long kItemPageFlags = modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip;
constexpr long kHistoryPageFlags = modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip;

modWinInet::HttpRequestSpec pageSpec(const std::string& url, const std::string& user, long flags) {
    modWinInet::HttpRequestSpec spec;
    spec.url = url;
    spec.cookieUser = user;
    spec.flags = flags;
    return spec;
}

}  // namespace

modWinInet::HttpRequest Start_Get_ItemPage(const std::string& URL, const std::string& CookieUser,
                                           modWinInet::Deadline deadline, modWinInet::HttpDone done) {
    return modWinInet::Start_Http_Request(pageSpec(URL, CookieUser, kItemPageFlags), deadline, std::move(done));
}

std::string Get_ItemPage(std::string& URL, const std::string& CookieUser) {
    // The waiting form keeps the blocking client's rules (the user's stop of a list refresh). A
    // server error's page is no item page: read as one, it would blank the item's values.
    const bool answered = modWinInet::Http_Request(URL, "GET", CookieUser, kItemPageFlags, "");
    return answered && modWinInet::Is_Page_Status(modWinInet::HttpStatus, modWinInet::kServerErrors) ? "OK" : "";
}

modWinInet::HttpRequest Start_Get_HistoryPage(const std::string& URL, const std::string& CookieUser,
                                              modWinInet::Deadline deadline, HistoryPageDone done) {
    return modWinInet::Start_Http_Request(
        pageSpec(URL, CookieUser, kHistoryPageFlags), deadline, [done = std::move(done)](modWinInet::HttpResult r) {
            HistoryPageResult h;
            // A failed request leaves no status: only a response can be a redirect.
            if (r.ok && r.status == "302") {
                modTLMain::Write_Op_Log("Bid History Page Error - Redirect to: " + r.redirectURL);
            } else if (r.ok) {
                modPageParser::Blank_Two_Byte_Letters(r.body);
                h.historyText = modPageParser::Answer_Page_Text(r.body);
                h.ok = !h.historyText.empty();
            }
            h.http = std::move(r);
            if (done) done(std::move(h));
        });
}

std::string Get_HistoryPage(const std::string& URL, const std::string& CookieUser) {
    modWinInet::Answer<HistoryPageResult> answer;
    Start_Get_HistoryPage(URL, CookieUser, modWinInet::Deadline::none(), answer.receiver());
    const HistoryPageResult h = answer.wait();
    modWinInet::Publish_Result(h.http);
    if (h.http.ok && h.http.status != "302") modPageParser::BidHistoryText = h.historyText;
    return h.ok ? "OK" : "";
}
