// item_page.h — downloads of an item's page and of its bid-history page.
//
// Each is written once as a started request (Start_...), whose continuation gets the page with
// the request's own result; the waiting forms leave the page in modPageParser::PageHTML (and the
// history's text in BidHistoryText) for the callers that read the shared fields.
#pragma once

#include <functional>
#include <string>

#include "service/http_request.h"

// Starts an item page download (redirects followed, gzip accepted, default user agent).
modWinInet::HttpRequest Start_Get_ItemPage(const std::string& URL, const std::string& CookieUser,
                                           modWinInet::Deadline deadline, modWinInet::HttpDone done);

// Downloads an item page, waiting. URL is left as the client rewrites it (without its scheme);
// callers pass modWinInet::HttpURL. "OK" when a response came that is no server error, else "".
std::string Get_ItemPage(std::string& URL, const std::string& CookieUser);

// What a bid-history download gives its continuation.
struct HistoryPageResult {
    bool ok = false;          // a page came and its text is not empty
    std::string historyText;  // the page's text
    modWinInet::HttpResult http;
};
using HistoryPageDone = std::function<void(HistoryPageResult)>;

// Starts an item's bid-history download, redirects not followed. A redirect (302) is logged
// ("Bid History Page Error - Redirect to: " and the target) and gives no text.
modWinInet::HttpRequest Start_Get_HistoryPage(const std::string& URL, const std::string& CookieUser,
                                              modWinInet::Deadline deadline, HistoryPageDone done);

// The same, waiting: sets BidHistoryText to the page's text (a redirect leaves it as it was).
// "OK" when the text is not empty, else "".
std::string Get_HistoryPage(const std::string& URL, const std::string& CookieUser);
