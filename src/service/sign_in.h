// sign_in.h — signing a service account in with the program's own cookie jar.
//
// Sign_In empties the user's cookies, fetches the sign-in page and posts the sign-in form over
// HTTPS; the cookies that the service then sets are the ones every later request of that user
// sends. Success is told from where the service redirects the form: the member pages or the home
// site mean success, the sign-in host again means the user ID or password was refused. The hosts
// are those of the national site in use (CurrentSiteIndex).
#pragma once

#include <string>

namespace modTLMain {

// The item number for which bid validation asks the sign-in; named in the sign-in's log line and
// cleared by it.
inline std::string LastSignInItem;

// Signs UserID in with the password stored for it ([Users]). True on success, or when no failure
// can be told (the service did not redirect); False when the service refused the sign-in, did not
// answer, or the user or password is missing. Sets TLMainState::DownloadBusy while it runs.
bool Sign_In(const std::string& UserID);

// Form-encodes a text: letters and digits stay, a blank becomes "+", every other byte of the
// UTF-8 text becomes "%" and two upper-case hexadecimal digits.
std::string URL_Encode(const std::string& Text);

// The trimmed text between the first "<title>" and the first "</title>" of the current page
// (modPageParser::PageHTML), both found without regard to case; "" when either is missing.
std::string Get_Page_Title();

// The sign-in page's path and query on the sign-in host.
inline constexpr const char* kSignInPath = "/ws/eBayISAPI.dll?SignIn";

}  // namespace modTLMain
