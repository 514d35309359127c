// item_page.h — downloads of an item's page and of its bid-history page.
//
// Both go through modWinInet::Http_Request and leave the page in modPageParser::PageHTML; the
// history download also turns it into modPageParser::BidHistoryText. Callers run them on the UI
// thread while the "download in progress" flag keeps a second download from starting.
#pragma once

#include <string>

// Downloads an item page (redirects followed, gzip accepted, default user agent). URL is left as
// the client rewrites it (without its scheme); callers pass modWinInet::HttpURL. "OK" when a
// response came, else "".
std::string Get_ItemPage(std::string& URL, const std::string& CookieUser);

// Downloads an item's bid-history page without following redirects and sets BidHistoryText to its
// text. A redirect (302) is logged ("Bid History Page Error - Redirect to: " and the target) and
// leaves BidHistoryText as it was. "OK" when the text is not empty, else "".
std::string Get_HistoryPage(const std::string& URL, const std::string& CookieUser);
