// cookie_jar.h — the HTTP client's own cookie jar, tl2upsc.dat in the data folder.
//
// Each program user with cookies has two sections: "<user> Session" (cookies that came without an
// expiry date) and "<user> Persistent" (those that came with one), each line name=value. Only the
// service's hosts send and receive a user's cookies (Cookie_Host_Allowed).
//
// The jar is held in memory and every routine here works on that copy. The file is read at the
// first use, again when the data folder changes and when the file changed on disk (another size,
// modification time or file; a deleted file is an empty jar), and written whole, user-only, once
// for each call that changed the jar, never when nothing changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/private_profile.h"

namespace modWinInet {

// Stores the Set-Cookie headers of a response under the user ("" stores nothing); the file is
// written once when any cookie changed.
void Store_Cookies(const std::string& RawHeaders, const std::string& CookieUser);
// Store_Cookies' work on a jar in memory, without the file: true when the jar changed.
bool Take_Set_Cookies(modPrivateProfile::Profile& jar, const std::string& RawHeaders, const std::string& CookieUser);
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

// How many times the jar file has been written since the last reset.
long Cookie_Jar_Writes();
// Forgets the jar held in memory (the next use reads the file) and sets the write count to 0.
void Reset_Cookie_Jar_For_Tests();

}  // namespace modWinInet
