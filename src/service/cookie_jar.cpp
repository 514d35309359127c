#include "service/cookie_jar.h"

#include <QDate>
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "foundation/startup.h"
#include "foundation/vb.h"
#include "platform/clock.h"
#include "service/national_sites.h"
#include "service/private_profile.h"
#include "service/wininet.h"

namespace modWinInet {
namespace {

using vb::vbCrLf;

std::string sessionSection(const std::string& user) { return user + " Session"; }
std::string persistentSection(const std::string& user) { return user + " Persistent"; }

// The section's lines read with a growing buffer, NUL after each.
std::string readCookieSection(const std::string& section) {
    long size = 4096;
    std::string text;
    long count = modPrivateProfile::Get_Profile_Section(Cookie_File(), section, text, size);
    while (count == size - 2 && size * 2 < 32768) {
        size *= 2;
        count = modPrivateProfile::Get_Profile_Section(Cookie_File(), section, text, size);
    }
    return text;
}

std::string headerFrom(const std::string& persistentRaw, const std::string& sessionRaw) {
    std::string joined = vb::Replace(persistentRaw + sessionRaw, std::string_view("\0", 1), "; ");
    if (joined.empty()) return {};
    joined = vb::Left(joined, vb::Len(joined) - 2);
    return "Cookie: " + joined + vbCrLf;
}

// The section's cookie lines, all of them.
std::vector<std::string> readLines(const std::string& section) {
    std::vector<std::string> lines;
    for (std::string& line : modPrivateProfile::Get_Profile_Section_Lines(Cookie_File(), section))
        if (line.find('=') != std::string::npos) lines.push_back(std::move(line));
    return lines;
}

}  // namespace

bool Cookie_Host_Allowed(const std::string& host) { return modTLMain::Is_Site_Host(host); }

std::string Cookie_File() { return modTLMain::DataFolder + "tl2upsc.dat"; }

int32_t Cookie_Days_Left(const std::string& CookieText) {
    const long p = vb::InStr(CookieText, "Expires=", vb::Text);
    if (p == 0) return 0;
    const std::string text = vb::Trim(vb::Mid(CookieText, p + 12, 12));
    // "dd-Mmm-yyyy" or "dd Mmm yyyy"
    if (text.size() != 11 || !(text[2] == text[6]) || (text[2] != '-' && text[2] != ' ')) return 0;
    static const char* months[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (vb::EqualText(text.substr(3, 3), months[i])) month = i + 1;
    auto digits = [](const std::string& s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
    };
    if (!month || !digits(text.substr(0, 2)) || !digits(text.substr(7, 4))) return 0;
    const QDate expiry(std::atoi(text.substr(7, 4).c_str()), month, std::atoi(text.substr(0, 2).c_str()));
    if (!expiry.isValid()) return 0;
    return static_cast<int32_t>(platform::clock().now().date().daysTo(expiry));
}

void Store_Cookies(const std::string& RawHeaders, const std::string& CookieUser) {
    if (CookieUser.empty() || RawHeaders.empty()) return;
    const std::string file = Cookie_File();
    long pos = 1;
    for (;;) {
        const long hit = vb::InStr(pos, RawHeaders, "Set-Cookie:", vb::Text);
        if (hit == 0) break;
        const long end = vb::InStr(hit, RawHeaders, vbCrLf);
        if (end == 0) break;
        std::string cookie = vb::LTrim(vb::Mid(RawHeaders, hit + 11, end - hit - 11));
        pos = end;

        std::string section = sessionSection(CookieUser);
        if (vb::InStr(cookie, "Expires=", vb::Text) > 0) {
            section = persistentSection(CookieUser);
            if (Cookie_Days_Left(cookie) < 0) {
                const long eq = vb::InStr(cookie, "=");
                if (eq > 0 && vb::Left(cookie, eq - 1) == "sru") continue;
            }
        }
        const long semi = vb::InStr(cookie, ";");
        if (semi > 0) cookie = vb::Left(cookie, semi - 1);
        const long eq = vb::InStr(cookie, "=");
        if (eq == 0) continue;
        modPrivateProfile::Write_Profile_String(file, section, vb::Left(cookie, eq - 1), vb::Mid(cookie, eq + 1));
    }
}

std::string Get_Cookie_Header(const std::string& CookieUser) {
    if (CookieUser.empty()) return {};
    CookiePersistentRaw = readCookieSection(persistentSection(CookieUser));
    CookieSessionRaw = readCookieSection(sessionSection(CookieUser));
    return headerFrom(CookiePersistentRaw, CookieSessionRaw);
}

std::string Cookie_Header_For(const std::string& CookieUser) {
    if (CookieUser.empty()) return {};
    return headerFrom(readCookieSection(persistentSection(CookieUser)), readCookieSection(sessionSection(CookieUser)));
}

void Clear_Cookies(const std::string& CookieUser) {
    modPrivateProfile::Delete_Profile_Section(Cookie_File(), sessionSection(CookieUser));
    modPrivateProfile::Delete_Profile_Section(Cookie_File(), persistentSection(CookieUser));
}

SavedCookies Save_User_Cookies(const std::string& user) {
    return {readLines(persistentSection(user)), readLines(sessionSection(user))};
}

void Restore_User_Cookies(const std::string& user, const SavedCookies& saved) {
    Clear_Cookies(user);
    const std::string file = Cookie_File();
    const auto put = [&file](const std::string& section, const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            const size_t eq = line.find('=');
            modPrivateProfile::Write_Profile_String(file, section, line.substr(0, eq), line.substr(eq + 1));
        }
    };
    put(persistentSection(user), saved.persistent);
    put(sessionSection(user), saved.session);
}

}  // namespace modWinInet
