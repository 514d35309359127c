// cookie_jar.h — the HTTP client's own cookie jar, tl2upsc.dat in the data folder.
//
// Each program user with cookies has two sections: "<user> Session" (cookies that came without an
// expiry date) and "<user> Persistent" (those that came with one), each line name=value. Only the
// service's hosts send and receive a user's cookies (Cookie_Host_Allowed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace modWinInet {

// Stores the Set-Cookie headers of a response under the user ("" stores nothing).
void Store_Cookies(const std::string& RawHeaders, const std::string& CookieUser);
// "Cookie: a=1; b=2\r\n" (persistent first), or "" when the user has none or CookieUser is "".
// Also leaves the two sections' raw texts in CookiePersistentRaw and CookieSessionRaw.
std::string Get_Cookie_Header(const std::string& CookieUser);
// The same header without touching the shared raw texts (for requests in flight).
std::string Cookie_Header_For(const std::string& CookieUser);
// Removes the user's two sections.
void Clear_Cookies(const std::string& CookieUser);
// Whole days from today to the cookie's Expires date; negative when expired; 0 when unreadable.
int32_t Cookie_Days_Left(const std::string& CookieText);
// The jar's file name: modTLMain::DataFolder + "tl2upsc.dat".
std::string Cookie_File();

// Whether the user's cookies may go to and come from this host: it lies in one of the national
// sites' domains (modTLMain::Is_Site_Host). Cookies of other hosts are neither sent nor stored.
bool Cookie_Host_Allowed(const std::string& host);

// A user's two sections as they were at one moment (the sign-in keeps them to put them back when
// the service never answered).
struct SavedCookies {
    std::vector<std::string> persistent;  // "name=value" lines in jar order
    std::vector<std::string> session;
};
SavedCookies Save_User_Cookies(const std::string& CookieUser);
void Restore_User_Cookies(const std::string& CookieUser, const SavedCookies& saved);

}  // namespace modWinInet
