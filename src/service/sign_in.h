// sign_in.h — signing a service account in with the program's own cookie jar.
//
// Sign_In empties the user's cookies, fetches the sign-in page and posts the sign-in form over
// HTTPS; the cookies that the service then sets are the ones every later request of that user
// sends. Success is told from where the service redirects the form: the member pages or the home
// site mean success, the sign-in host again means the user ID or password was refused. The hosts
// are those of the national site in use (CurrentSiteIndex).
#pragma once

#include <functional>
#include <string>

#include "service/http_request.h"

namespace modTLMain {

// The item number for which bid validation asks the sign-in; named in the sign-in's log line and
// cleared by it.
inline std::string LastSignInItem;

// Signs UserID in with the password stored for it ([Users]), waiting for Start_Sign_In. True on
// success, or when no failure can be told (the service did not redirect); False when the service
// refused the sign-in, did not answer, answered with a server error, or the user or password is
// missing. Takes SignInTest and
// LastSignInItem (clearing the latter). Sets TLMainState::DownloadBusy while it runs.
bool Sign_In(const std::string& UserID);

// What a started sign-in gives its continuation.
struct SignInResult {
    bool ok = false;          // signed in, or no failure can be told (the service did not redirect)
    bool refused = false;     // the service sent the sign-in page back (user ID or password refused)
    bool noAnswer = false;    // the service never answered the form (or the caller's time ran out)
    bool timedOut = false;    // ... because the deadline passed
    bool serverError = false; // the service answered the form with a server error (5xx)
    bool noUser = false;      // no user ID given
    bool noPassword = false;  // no password stored for the user
    std::string page;         // a refusal's page, as it came
    std::string pageText;     // its text
    modWinInet::HttpResult last;  // the answer of the sign-in's last request
};
struct SignInOptions {
    bool test = false;   // the options dialog's sign-in test: its wording and the clipboard report
    std::string item;    // the item a bid validation signs in for, named in the log line
};
using SignInDone = std::function<void(SignInResult)>;

// Starts signing UserID in; `done` runs once, from the event loop, with the result. Writes none of
// the client's shared fields (the log, the status line, the busy flag and a test's clipboard report
// are its own duties). One sign-in per user runs at a time: a second start for the same user gets
// the running one's result (or, when its own deadline comes first, a timed-out result).
void Start_Sign_In(const std::string& UserID, const SignInOptions& options, modWinInet::Deadline deadline,
                   SignInDone done);

// The trimmed title of a page ("" without one).
std::string Page_Title_Of(const std::string& html);

// Form-encodes a text: letters and digits stay, a blank becomes "+", every other byte of the
// UTF-8 text becomes "%" and two upper-case hexadecimal digits.
std::string URL_Encode(const std::string& Text);

// The trimmed text between the first "<title>" and the first "</title>" of the current page
// (modPageParser::PageHTML), both found without regard to case; "" when either is missing.
std::string Get_Page_Title();

// The sign-in page's path and query on the sign-in host.
inline constexpr const char* kSignInPath = "/ws/eBayISAPI.dll?SignIn";

}  // namespace modTLMain
