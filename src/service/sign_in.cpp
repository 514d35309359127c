#include "service/sign_in.h"

#include <vector>

#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "service/national_sites.h"
#include "service/page_globals.h"
#include "service/page_text.h"
#include "service/cookie_jar.h"
#include "service/wininet.h"

namespace modTLMain {
namespace {

using modPageParser::PageHTML;
using modPageParser::PageText;

constexpr const char* kCrLf = "\r\n";
constexpr long kFlagsSignInPage = modWinInet::kFlagHttps | modWinInet::kFlagFollowRedirects;  // 3
constexpr long kFlagsSignInPost = modWinInet::kFlagHttps;                                     // 1
constexpr long kFlagsErrorPage = modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody;  // 6

std::string Sign_In_Form(const std::string& user, const std::string& password) {
    return std::string("&MfcISAPICommand=SignInWelcome") + "&siteid=0" + "&co_partnerId=2" + "&UsingSSL=1" +
           "&ru=" + "&pp=" + "&pa1=" + "&pa2=" + "&pa3=" + "&i1=-1" + "&pageType=-1" + "&userid=" +
           URL_Encode(user) + "&pass=" + URL_Encode(password) + "&keepMeSignInOption=1";
}

std::string Now_Text() { return vb::GeneralDate(platform::clock().now()); }

// The host part of a redirect target: after the scheme, up to the first "/", "?" or "#".
std::string Target_Host(const std::string& target) {
    std::string rest = target;
    const size_t scheme = rest.find("://");
    if (scheme != std::string::npos) rest = rest.substr(scheme + 3);
    return rest.substr(0, rest.find_first_of("/?#"));
}

// Only the target's host is judged: a sign-in host address whose query names the home site
// (a return address) is still the sign-in host.
bool Contains_Host(const std::string& target, const std::string& host) {
    return !host.empty() && vb::InStr(Target_Host(target), host, vb::Text) > 0;
}

// Ends a sign-in that reached the service: the busy flag goes down with the result.
bool Done(bool result) {
    TLMainState::DownloadBusy = 0;
    return result;
}

// The debug tools' dump "HTMLSignIn" of the sign-in answer.
bool Debug_Http_Dump_On() {
    return modDebug::DebugOutput && TLMainLink::menus().menuChecked(TLMainLink::MenuItem::MnuDBHttpEnabled);
}
void Save_Sign_In_Dump(const std::string& page) {
    std::string name = "HTMLSignIn";
    modDebug::Save_Debug_Page(page, name);
}

}  // namespace

std::string URL_Encode(const std::string& Text) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(Text.size() * 3);
    for (unsigned char c : Text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string Get_Page_Title() {
    const long open = vb::InStr(PageHTML, "<Title>", vb::Text);
    const long close = vb::InStr(PageHTML, "</title>", vb::Text);
    if (open == 0 || close == 0) return {};
    const long start = open + 7;
    if (close < start) return {};
    return vb::Trim(vb::Mid(PageHTML, start, close - start));
}

bool Sign_In(const std::string& UserID) {
    const std::string user = UserID;  // the caller's text may change while requests yield
    if (URL_Encode(user).empty()) {
        TLMainLink::statusLine().setStatus("eBay Sign In Error, No User Selected.");
        Write_Op_Log("eBay Sign In Failed, No User Selected.");
        return false;
    }
    const std::string password = Get_User_Password(user);
    if (URL_Encode(password).empty()) {
        TLMainLink::statusLine().setStatus("eBay Sign In Error, No User Password.");
        Write_Op_Log("eBay Sign In Error, No User Password.");
        return false;
    }

    const bool test = UserState::SignInTest != 0;
    std::string opening;
    std::string transcript;
    if (test) {
        opening = "eBay Sign In Test Initiated for " + user;
        transcript = "eBay Sign In Initiated for " + user + kCrLf;
    } else if (!LastSignInItem.empty()) {
        opening = "eBay Sign In Initiated for " + user + " - Item " + LastSignInItem;
        LastSignInItem.clear();
    } else {
        opening = "eBay Sign In Initiated for " + user;
    }

    TLMainState::DownloadBusy = -1;
    const modWinInet::SavedCookies before = modWinInet::Save_User_Cookies(user);
    modWinInet::Clear_Cookies(user);

    // The sign-in page: its session cookies stay in the jar for the form.
    const std::string signInURL = Sign_In_Host(CurrentSiteIndex) + kSignInPath;
    modWinInet::HttpURL = signInURL;
    modWinInet::Http_Request(modWinInet::HttpURL, "GET", user, kFlagsSignInPage, "");

    // The form goes only in the body, never in the address.
    modWinInet::HttpPostData = Sign_In_Form(user, password);
    modWinInet::HttpURL = signInURL;
    const bool answered = modWinInet::Http_Request(modWinInet::HttpURL, "POST", user, kFlagsSignInPost, "");
    modWinInet::HttpPostData.clear();  // the password does not stay in memory longer than needed

    if (!answered) {
        // No answer: nothing says the user is signed in, and the cookies of before come back.
        Write_Op_Log(opening + " - Sign In Failed");
        modWinInet::Restore_User_Cookies(user, before);
        TLMainLink::statusLine().setStatus("eBay Sign In Failed, Check Operation Log for Details.");
        return Done(false);
    }

    if (Debug_Http_Dump_On()) {
        Save_Sign_In_Dump(PageHTML);
    }

    if (modWinInet::HttpStatus != "302") {
        Write_Op_Log(opening + " - Sign In - No ReDirect");
        return Done(true);
    }
    const std::string target = modWinInet::HttpRedirectURL;
    if (Contains_Host(target, Member_Pages_Host(CurrentSiteIndex)) || Contains_Host(target, Home_Site_Host(CurrentSiteIndex))) {
        Write_Op_Log(opening + " - Sign In Succeeded");
        return Done(true);
    }
    if (!Contains_Host(target, Sign_In_Host(CurrentSiteIndex))) return Done(true);

    // Refused: read the page the service sends back, for the log and the test report.
    Write_Op_Log(opening + " - Sign In Failed");
    const bool secure = vb::Left(target, 8) == "https://";
    modWinInet::HttpURL = modWinInet::Strip_URL_Scheme(target);
    modWinInet::Http_Request(modWinInet::HttpURL, "GET", user,
                             kFlagsErrorPage | (secure ? modWinInet::kFlagHttps : 0), "");
    TLMainState::DownloadBusy = 0;

    const std::string title = PageHTML.empty() ? std::string("NP") : Get_Page_Title();
    Write_Op_Log("eBay Sign In Failed - ReDirect to " + title);
    if (test) transcript += Now_Text() + " - eBay Sign In Failed - ReDirect to " + title + kCrLf;
    TLMainLink::statusLine().setStatus("eBay Sign In Failed, Check Operation Log for Details.");
    if (PageHTML.empty()) return false;

    PageText = modPageParser::Inner_Text(PageHTML);
    if (vb::InStr(PageText, "Your user ID or password is incorrect", vb::Text) > 0) {
        Write_Op_Log("Your sign in information is not valid");
        if (test) transcript += Now_Text() + " - Your user ID or password is incorrect" + kCrLf;
    }
    if (test) {
        platform::clipboard().setText(transcript + kCrLf + kCrLf + kCrLf +
                                      "----------Error Page (Text Only) Follows----------" + kCrLf + kCrLf +
                                      PageText + kCrLf + kCrLf +
                                      "----------End Error Page - End Information----------");
    }
    return false;
}

}  // namespace modTLMain
