#include "service/item_page.h"

#include <exception>

#include "foundation/logs.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace {
constexpr long kItemPageFlags = modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip;
constexpr long kHistoryPageFlags = modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip;
}  // namespace

std::string Get_ItemPage(std::string& URL, const std::string& CookieUser) {
    try {
        return modWinInet::Http_Request(URL, "GET", CookieUser, kItemPageFlags, "") ? "OK" : "";
    } catch (const std::exception& e) {
        modTLMain::Log_Error(5, e.what(), "Get_ItemPage");
        return {};
    }
}

std::string Get_HistoryPage(const std::string& URL, const std::string& CookieUser) {
    using namespace modPageParser;
    try {
        std::string url = URL;
        // A failed request leaves the status of an earlier one: only a response can be a redirect.
        if (!modWinInet::Http_Request(url, "GET", CookieUser, kHistoryPageFlags, "")) return {};
        if (modWinInet::HttpStatus == "302") {
            modTLMain::Write_Op_Log("Bid History Page Error - Redirect to: " + modWinInet::HttpRedirectURL);
            return {};
        }
        Blank_Two_Byte_Letters(PageHTML);
        BidHistoryText = Inner_Text(PageHTML);
        return BidHistoryText.empty() ? "" : "OK";
    } catch (const std::exception& e) {
        modTLMain::Log_Error(5, e.what(), "Get_HistoryPage");
        return {};
    }
}
