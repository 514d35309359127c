#include "fake_signin.h"

#include "foundation/startup.h"
#include "service/national_sites.h"
#include "service/sign_in.h"

namespace testsupport {
namespace {

constexpr const char* kPage = modTLMain::kSignInPath;  // the form posts back to the page's own address

void installSignInPage(FakeService& service) {
    ScriptedResponse page = ScriptedResponse::ok(
        "<html><head><title>Sign in or Register | eBay</title></head><body>"
        "<form method='post' action='/ws/eBayISAPI.dll?SignIn'>"
        "<input type='text' name='userid'><input type='password' name='pass'>"
        "<input type='checkbox' name='keepMeSignInOption'><input type='submit' value='Sign in'>"
        "</form></body></html>");
    page.setCookies = {std::string(FakeSignIn::kSessionCookie1) + "; Domain=.ebay.com; Path=/",
                       std::string(FakeSignIn::kSessionCookie2) + "; Domain=.ebay.com; Path=/"};
    service.route(FakeSignIn::signInHost(), "GET", kPage, page);
}

ScriptedResponse redirect(const std::string& location) {
    ScriptedResponse r = ScriptedResponse::redirect(location);
    r.body = FakeSignIn::redirectNote(location);
    return r;
}

ScriptedResponse signedIn(const std::string& location) {
    ScriptedResponse r = redirect(location);
    r.setCookies = {std::string(FakeSignIn::kPersistentCookie) + "; Domain=.ebay.com; Expires=Wed, 09-Jun-2060 10:18:14 GMT; Path=/",
                    "sru=gone; Domain=.ebay.com; Expires=Thu, 01-Jan-2009 00:00:00 GMT; Path=/"};
    return r;
}

}  // namespace

const char* FakeSignIn::refusedPage() {
    return "<html><head><TITLE>  Sign In - Try Again  </TITLE></head><body>"
           "<div><p>Your user ID or password is incorrect.</p><p>Please try again.</p></div></body></html>";
}

const char* FakeSignIn::securityCheckPage() {
    return "<html><head><title>Security check</title></head><body>Type the characters</body></html>";
}

std::string FakeSignIn::redirectNote(const std::string& location) {
    return "<html><head><title>Object moved</title></head><body><h2>Object moved to <a href=\"" + location +
           "\">here</a>.</h2></body></html>\r\n";
}

std::string FakeSignIn::refusedTarget() {
    return std::string(kPage) + "&errmsg=8&ru=http%3A%2F%2F" + homeHost() + "%2F";
}

std::string FakeSignIn::signInHost() { return modTLMain::Sign_In_Host(modTLMain::CurrentSiteIndex); }
std::string FakeSignIn::memberHost() { return modTLMain::Member_Pages_Host(modTLMain::CurrentSiteIndex); }
std::string FakeSignIn::homeHost() { return modTLMain::Home_Site_Host(modTLMain::CurrentSiteIndex); }

void FakeSignIn::install(FakeService& service, SignInAnswer answer) {
    installSignInPage(service);
    const std::string host = signInHost();
    switch (answer) {
        case SignInAnswer::MemberPages:
            service.route(host, "POST", kPage,
                          signedIn("https://" + memberHost() + "/ws/eBayISAPI.dll?MyeBay&ssPageName=H:H:MYEBAY:US"));
            break;
        case SignInAnswer::HomeSite:
            service.route(host, "POST", kPage, signedIn("http://" + homeHost() + "/"));
            break;
        case SignInAnswer::Refused:
            installRefused(service, refusedPage());
            break;
        case SignInAnswer::NoRedirect:
            service.route(host, "POST", kPage,
                          ScriptedResponse::ok(securityCheckPage()));
            break;
        case SignInAnswer::NoResponse: {
            ScriptedResponse r;
            r.fault = Fault::CloseAtOnce;
            service.route(host, "POST", kPage, r);
            break;
        }
    }
}

void FakeSignIn::installRefused(FakeService& service, const std::string& page) {
    installSignInPage(service);
    const std::string host = signInHost();
    service.route(host, "POST", kPage, redirect("https://" + host + refusedTarget()));
    service.route(host, "GET", refusedTarget(), ScriptedResponse::ok(page));
}

}  // namespace testsupport
