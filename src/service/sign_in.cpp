#include "service/sign_in.h"

#include <map>
#include <optional>
#include <vector>

#include "foundation/busy_holds.h"
#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/timers.h"
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

// The debug tools' dump "HTMLSignIn": the page the service answered the form with.
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

std::string Page_Title_Of(const std::string& html) {
    const long open = vb::InStr(html, "<Title>", vb::Text);
    const long close = vb::InStr(html, "</title>", vb::Text);
    if (open == 0 || close == 0) return {};
    const long start = open + 7;
    if (close < start) return {};
    return vb::Trim(vb::Mid(html, start, close - start));
}

std::string Get_Page_Title() { return Page_Title_Of(PageHTML); }

namespace {

// One sign-in in flight: its steps run as the answers of its requests come.
struct SignInRun : std::enable_shared_from_this<SignInRun> {
    std::string user;
    std::string password;
    bool test = false;
    std::string opening;
    std::string transcript;
    modWinInet::Deadline deadline;
    modWinInet::SavedCookies before;
    std::string signInURL;
    modWinInet::HttpResult last;  // the answer of the last request
    struct Waiter {
        SignInDone done;
        std::shared_ptr<platform::Timer> late;  // the waiter's own deadline
    };
    std::vector<Waiter> waiters;
    bool ended = false;
    TLMainState::BusyHold busy;  // DownloadBusy while the sign-in runs

    void start();
    void afterPage(modWinInet::HttpResult r);
    void afterForm(modWinInet::HttpResult r);
    void afterErrorPage(modWinInet::HttpResult r);
    void end(SignInResult result);
    void request(const std::string& url, const std::string& method, long flags, const std::string& body,
                 void (SignInRun::*next)(modWinInet::HttpResult));
};

// The sign-ins in flight, by user ID (case-blind): one per user at a time.
std::map<std::string, std::shared_ptr<SignInRun>>& running() {
    static auto* runs = new std::map<std::string, std::shared_ptr<SignInRun>>();
    return *runs;
}

void deliverLater(SignInDone done, SignInResult result) {
    modWinInet::Run_Later([done = std::move(done), result = std::move(result)] {
        if (done) done(result);
    });
}

void addWaiter(const std::shared_ptr<SignInRun>& run, SignInDone done, modWinInet::Deadline deadline) {
    SignInRun::Waiter w;
    w.done = std::move(done);
    if (deadline.set && (!run->deadline.set || deadline.atTickMs < run->deadline.atTickMs)) {
        // This waiter's time ends before the running sign-in's: it gives up alone.
        auto late = std::make_shared<platform::Timer>();
        std::weak_ptr<SignInRun> weak = run;
        platform::Timer* raw = late.get();
        const size_t index = run->waiters.size();
        late->setHandler([weak, raw, index] {
            raw->setEnabled(false);
            auto r = weak.lock();
            if (!r || r->ended || index >= r->waiters.size() || !r->waiters[index].done) return;
            SignInDone d = std::move(r->waiters[index].done);
            r->waiters[index].done = nullptr;
            SignInResult timedOut;
            timedOut.noAnswer = true;
            timedOut.timedOut = true;
            deliverLater(std::move(d), timedOut);
        });
        late->setInterval(static_cast<int>(std::max<qint64>(1, deadline.remainingMs())));
        late->setEnabled(true);
        w.late = late;
    }
    run->waiters.push_back(std::move(w));
}

void SignInRun::request(const std::string& url, const std::string& method, long flags, const std::string& body,
                        void (SignInRun::*next)(modWinInet::HttpResult)) {
    modWinInet::HttpRequestSpec spec;
    spec.url = url;
    spec.method = method;
    spec.cookieUser = user;
    spec.flags = flags;
    spec.postData = body;
    modWinInet::Start_Http_Request(std::move(spec), deadline, [self = shared_from_this(), next](modWinInet::HttpResult r) {
        self->last = r;
        ((*self).*next)(std::move(r));
    });
}

void SignInRun::start() {
    busy = TLMainState::BusyHold(TLMainState::DownloadBusy);
    before = modWinInet::Save_User_Cookies(user);
    modWinInet::Clear_Cookies(user);
    // The sign-in page: its session cookies stay in the jar for the form.
    signInURL = Sign_In_Host(CurrentSiteIndex) + kSignInPath;
    request(signInURL, "GET", kFlagsSignInPage, {}, &SignInRun::afterPage);
}

void SignInRun::afterPage(modWinInet::HttpResult) {
    // The form goes only in the body, never in the address. Its answer's page is read only for
    // the debug dump.
    const long flags = kFlagsSignInPost | (Debug_Http_Dump_On() ? modWinInet::kFlagReadBody : 0);
    request(signInURL, "POST", flags, Sign_In_Form(user, password), &SignInRun::afterForm);
    password.assign(password.size(), '\0');  // not kept longer than needed
}

void SignInRun::afterForm(modWinInet::HttpResult r) {
    SignInResult result;
    if (!r.ok) {
        // No answer: nothing says the user is signed in, and the cookies of before come back.
        Write_Op_Log(opening + " - Sign In Failed");
        modWinInet::Restore_User_Cookies(user, before);
        TLMainLink::statusLine().setStatus("eBay Sign In Failed, Check Operation Log for Details.");
        result.noAnswer = true;
        result.timedOut = r.timedOut;
        end(result);
        return;
    }
    if (Debug_Http_Dump_On()) Save_Sign_In_Dump(r.body);

    // A server error is no sign-in: nothing says the user is signed in.
    if (vb::Val(r.status) >= 500) {
        Write_Op_Log(opening + " - Sign In Failed");
        modWinInet::Restore_User_Cookies(user, before);
        TLMainLink::statusLine().setStatus("eBay Sign In Failed, Check Operation Log for Details.");
        result.serverError = true;
        end(result);
        return;
    }
    if (r.status != "302") {
        Write_Op_Log(opening + " - Sign In - No ReDirect");
        result.ok = true;
        end(result);
        return;
    }
    const std::string target = r.redirectURL;
    if (Contains_Host(target, Member_Pages_Host(CurrentSiteIndex)) || Contains_Host(target, Home_Site_Host(CurrentSiteIndex))) {
        Write_Op_Log(opening + " - Sign In Succeeded");
        result.ok = true;
        end(result);
        return;
    }
    if (!Contains_Host(target, Sign_In_Host(CurrentSiteIndex))) {
        result.ok = true;
        end(result);
        return;
    }
    // Refused: read the page the service sends back, for the log and the test report.
    Write_Op_Log(opening + " - Sign In Failed");
    const bool secure = vb::Left(target, 8) == "https://";
    request(modWinInet::Strip_URL_Scheme(target), "GET", kFlagsErrorPage | (secure ? modWinInet::kFlagHttps : 0), {},
            &SignInRun::afterErrorPage);
}

void SignInRun::afterErrorPage(modWinInet::HttpResult r) {
    SignInResult result;
    result.refused = true;
    result.page = r.body;
    const std::string title = r.body.empty() ? std::string("NP") : Page_Title_Of(r.body);
    Write_Op_Log("eBay Sign In Failed - ReDirect to " + title);
    if (test) transcript += Now_Text() + " - eBay Sign In Failed - ReDirect to " + title + kCrLf;
    TLMainLink::statusLine().setStatus("eBay Sign In Failed, Check Operation Log for Details.");
    if (!r.body.empty()) {
        result.pageText = modPageParser::Answer_Page_Text(r.body);
        if (vb::InStr(result.pageText, "Your user ID or password is incorrect", vb::Text) > 0) {
            Write_Op_Log("Your sign in information is not valid");
            if (test) transcript += Now_Text() + " - Your user ID or password is incorrect" + kCrLf;
        }
        if (test) {
            platform::clipboard().setText(transcript + kCrLf + kCrLf + kCrLf +
                                          "----------Error Page (Text Only) Follows----------" + kCrLf + kCrLf +
                                          result.pageText + kCrLf + kCrLf +
                                          "----------End Error Page - End Information----------");
        }
    }
    end(result);
}

void SignInRun::end(SignInResult result) {
    if (ended) return;
    ended = true;
    busy.release();
    result.last = last;
    auto it = running().find(vb::LCase(user));
    if (it != running().end() && it->second.get() == this) running().erase(it);
    for (auto& w : waiters) {
        if (w.late) w.late->setEnabled(false);
        if (w.done) w.done(result);
    }
    waiters.clear();
}

}  // namespace

void Start_Sign_In(const std::string& UserID, const SignInOptions& options, modWinInet::Deadline deadline,
                   SignInDone done) {
    const std::string user = UserID;
    // One sign-in per user at a time: a second caller gets the running one's result.
    if (auto it = running().find(vb::LCase(user)); it != running().end()) {
        addWaiter(it->second, std::move(done), deadline);
        return;
    }
    SignInResult refused;
    if (URL_Encode(user).empty()) {
        TLMainLink::statusLine().setStatus("eBay Sign In Error, No User Selected.");
        Write_Op_Log("eBay Sign In Failed, No User Selected.");
        refused.noUser = true;
        deliverLater(std::move(done), refused);
        return;
    }
    const std::string password = Get_User_Password(user);
    if (URL_Encode(password).empty()) {
        TLMainLink::statusLine().setStatus("eBay Sign In Error, No User Password.");
        Write_Op_Log("eBay Sign In Error, No User Password.");
        refused.noPassword = true;
        deliverLater(std::move(done), refused);
        return;
    }
    auto run = std::make_shared<SignInRun>();
    run->user = user;
    run->password = password;
    run->test = options.test;
    run->deadline = deadline;
    if (options.test) {
        run->opening = "eBay Sign In Test Initiated for " + user;
        run->transcript = "eBay Sign In Initiated for " + user + kCrLf;
    } else if (!options.item.empty()) {
        run->opening = "eBay Sign In Initiated for " + user + " - Item " + options.item;
    } else {
        run->opening = "eBay Sign In Initiated for " + user;
    }
    running()[vb::LCase(user)] = run;
    addWaiter(run, std::move(done), deadline);
    run->start();
}

bool Sign_In(const std::string& UserID) {
    SignInOptions options;
    options.test = UserState::SignInTest != 0;
    if (!options.test && !LastSignInItem.empty()) {
        options.item = LastSignInItem;
        LastSignInItem.clear();
    }
    modWinInet::Answer<SignInResult> answer;
    Start_Sign_In(UserID, options, modWinInet::Deadline::none(), answer.receiver());
    const SignInResult r = answer.wait();
    if (!r.last.url.empty()) modWinInet::Publish_Result(r.last);
    if (r.refused) {
        PageHTML = r.page;
        if (!r.page.empty()) PageText = r.pageText;
    }
    return r.ok;
}

}  // namespace modTLMain
