// account_pages.h — what the account tools share: the busy refusal, the request of an account
// page that signs the user in when the service asks for it, and the clean-up of a page's bytes
// before its text is read.
//
// Everything runs on the UI thread; the requests yield to the event loop while they wait.
#pragma once

#include <string>

namespace modAccount {

// The busy text of the account tools (the list import, the feedback check and the analyzer).
inline constexpr const char* kAccountBusy = "Busy, Download In Progress...";

// True, with the busy text in the status line, when a download or a list run is busy.
bool Refused_As_Busy();

// A bid is about to go out or has been validated: a sign-in now would replace the session the
// bid relies on.
bool Bid_Session_In_Use();

// How an account page request ended.
enum class AccountPage {
    Fetched,        // PageHTML holds the answer (maybe empty)
    SignInFailed,   // the service asked for a sign-in and it failed
    BidSessionBusy, // the service asked for a sign-in while a bid needs the session
};
// GETs `url` with the current user's cookies. When the service redirects to its sign-in host
// the user is signed in and `url` asked again; another redirect is followed. The repeat uses
// `repeatFlags`. A sign-in that a bid's session forbids ends with the busy text.
AccountPage Get_Account_Page(const std::string& url, long repeatFlags);

// The account host of the site in use ([Locale] MyeBayHost, a bare host name).
std::string Account_Host();

// The clean-up of a list or feedback page, in place: every no-break space (194 160) becomes one
// blank, then every two-byte letter of lead byte 194 or 195 becomes blanks.
void Clean_Page_Bytes(std::string& html);

// A link of a page made absolute against the page's address; "" unless it is an http(s)
// address with a host (scripts, files and the like are never followed).
std::string Web_Link(const std::string& link, const std::string& pageAddress);

// Writes a debug dump of the page while debug output is on.
void Debug_Dump(const std::string& text, const std::string& name);

}  // namespace modAccount
