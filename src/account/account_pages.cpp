#include "account/account_pages.h"

#include <QUrl>

#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/sign_in.h"
#include "service/wininet.h"

namespace modAccount {

bool Refused_As_Busy() {
    if (!TLMainState::DownloadBusy && !TLMainState::UpdateBusy) return false;
    TLMainLink::statusLine().setStatus(kAccountBusy);
    return true;
}

bool Bid_Session_In_Use() {
    if (TLMainState::MinuteWarningGiven) return true;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i)
        if (TLMainItems::Items[static_cast<size_t>(i)].BidStatus == "Bid Validated") return true;
    return false;
}

AccountPage Get_Account_Page(const std::string& url, long repeatFlags) {
    const std::string& user = UserState::CurrentUserID;
    modWinInet::HttpURL = url;
    modWinInet::Http_Request(modWinInet::HttpURL, "GET", user, modWinInet::kFlagReadBody);
    if (modWinInet::HttpStatus != "302") return AccountPage::Fetched;

    const std::string signInHost = modTLMain::Sign_In_Host(modTLMain::CurrentSiteIndex);
    std::string next = modWinInet::HttpRedirectURL;
    if (!signInHost.empty() && vb::InStr(next, signInHost, vb::Text) > 0) {
        if (Bid_Session_In_Use()) {
            TLMainLink::statusLine().setStatus(kAccountBusy);
            return AccountPage::BidSessionBusy;
        }
        if (!modTLMain::Sign_In(user)) return AccountPage::SignInFailed;
        next = url;
    }
    modWinInet::HttpURL = next;
    modWinInet::Http_Request(modWinInet::HttpURL, "GET", user, repeatFlags);
    return AccountPage::Fetched;
}

std::string Account_Host() {
    const modTLMain::NationalSite* site = modTLMain::National_Site(modTLMain::CurrentSiteIndex);
    if (!site) site = modTLMain::National_Site(0);
    return modTLC::Get_Config_Value("Locale", "MyeBayHost", site->memberHost);
}

void Clean_Page_Bytes(std::string& html) {
    html = vb::Replace(html, "\xC2\xA0", " ");
    modPageParser::Blank_Two_Byte_Letters(html);
}

std::string Web_Link(const std::string& link, const std::string& pageAddress) {
    QString base = QString::fromStdString(pageAddress);
    if (!base.contains("://")) base = "http://" + base;
    const QUrl url = QUrl(base).resolved(QUrl(QString::fromStdString(link)));
    const QString scheme = url.scheme().toLower();
    if ((scheme != "http" && scheme != "https") || url.host().isEmpty()) return {};
    return url.toString(QUrl::FullyEncoded).toStdString();
}

void Debug_Dump(const std::string& text, const std::string& name) {
    if (!modDebug::DebugOutput) return;
    std::string n = name;
    modDebug::Save_Debug_Page(text, n);
}

}  // namespace modAccount
