#include "service/cookie_jar.h"

#include <sys/stat.h>

#include <QDate>
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "platform/clock.h"
#include "service/national_sites.h"
#include "service/wininet.h"

namespace modWinInet {
namespace {

using modPrivateProfile::Profile;
using vb::vbCrLf;

std::string sessionSection(const std::string& user) { return user + " Session"; }
std::string persistentSection(const std::string& user) { return user + " Persistent"; }

// Where `word` starts in `text` at or after `from`, compared without regard to case (ASCII).
size_t findText(std::string_view text, std::string_view word, size_t from) {
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    const auto it = std::search(text.begin() + static_cast<long>(std::min(from, text.size())), text.end(), word.begin(),
                                word.end(), [&upper](char a, char b) { return upper(a) == upper(b); });
    return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

// What tells us that the file changed on disk since we last read or wrote it.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    FileStamp s;
    if (::stat(path.c_str(), &st) != 0) return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = st.st_mtim;
    s.changed = st.st_ctim;
    return s;
}

struct Jar {
    std::string path;     // the file the memory copy belongs to
    bool loaded = false;  // false: read the file at the next use
    FileStamp stamp;      // the file as we last read or wrote it
    Profile profile;
    long writes = 0;
};

Jar& jar() {
    static Jar j;
    return j;
}

// The jar as the file holds it: read at the first use, for another data folder, and when the file
// changed on disk since we last read or wrote it (a deleted file gives an empty jar).
Profile& current() {
    Jar& j = jar();
    std::string path = Cookie_File();
    const FileStamp now = stampOf(path);
    if (!j.loaded || j.path != path || !(now == j.stamp)) {
        const auto bytes = now.exists ? modTLMain::Read_Whole_File(path) : std::nullopt;
        j.profile = bytes ? Profile::Parse(*bytes) : Profile();
        j.path = std::move(path);
        j.stamp = now;
        j.loaded = true;
    }
    return j.profile;
}

// Writes the jar whole. When that fails, what could not be written is missing: the next use reads
// the file as it is.
void save() {
    Jar& j = jar();
    ++j.writes;
    if (modTLMain::Save_Whole_File(j.path, j.profile.Bytes(), true))
        j.stamp = stampOf(j.path);
    else
        j.loaded = false;
}

// The section's lines as the system's section read gives them: a buffer of 4096 characters,
// doubled while the read fills it and the size stays below 32768. Lines that do not fit the
// largest buffer (16384) are left out.
std::string sectionRaw(const Profile& p, const std::string& section) {
    long size = 4096;
    std::string text;
    long count = p.Section_Text(section, text, size);
    while (count == size - 2 && size * 2 < 32768) {
        size *= 2;
        count = p.Section_Text(section, text, size);
    }
    return text;
}

// "Cookie: " and the lines with each NUL turned into "; ", the last one cut off, and CR LF.
std::string headerFrom(const std::string& persistentRaw, const std::string& sessionRaw) {
    if (persistentRaw.empty() && sessionRaw.empty()) return {};
    std::string header = "Cookie: ";
    header.reserve(header.size() + 2 * (persistentRaw.size() + sessionRaw.size()));
    for (const std::string* raw : {&persistentRaw, &sessionRaw})
        for (const char c : *raw) {
            if (c == '\0')
                header += "; ";
            else
                header += c;
        }
    header.resize(header.size() - 2);
    return header + vbCrLf;
}

// The section's cookie lines, all of them.
std::vector<std::string> cookieLines(const Profile& p, const std::string& section) {
    std::vector<std::string> lines;
    for (std::string& line : p.Section_Lines(section))
        if (line.find('=') != std::string::npos) lines.push_back(std::move(line));
    return lines;
}

bool deleteUser(Profile& p, const std::string& user) {
    const bool session = p.Delete_Section(sessionSection(user));
    const bool persistent = p.Delete_Section(persistentSection(user));
    return session || persistent;
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

bool Take_Set_Cookies(Profile& jar, const std::string& RawHeaders, const std::string& CookieUser) {
    if (CookieUser.empty() || RawHeaders.empty()) return false;
    const std::string_view headers(RawHeaders);
    const std::string session = sessionSection(CookieUser);
    const std::string persistent = persistentSection(CookieUser);
    bool changed = false;
    size_t pos = 0;
    for (;;) {
        const size_t hit = findText(headers, "Set-Cookie:", pos);
        if (hit == std::string_view::npos) break;
        const size_t end = headers.find(vbCrLf, hit);
        if (end == std::string_view::npos) break;
        std::string_view cookie = headers.substr(hit + 11, end - hit - 11);
        cookie.remove_prefix(std::min(cookie.find_first_not_of(' '), cookie.size()));
        pos = end;

        const std::string* section = &session;
        if (findText(cookie, "Expires=", 0) != std::string_view::npos) {
            section = &persistent;
            // An expired "sru" is not kept; any other expired cookie is, like a live one.
            const size_t eq = cookie.find('=');
            if (eq != std::string_view::npos && cookie.substr(0, eq) == "sru" &&
                Cookie_Days_Left(std::string(cookie)) < 0)
                continue;
        }
        cookie = cookie.substr(0, cookie.find(';'));  // the attributes are not kept
        const size_t eq = cookie.find('=');
        if (eq == std::string_view::npos) continue;
        if (jar.Write_String(*section, cookie.substr(0, eq), cookie.substr(eq + 1)) == Profile::Write::Changed)
            changed = true;
    }
    return changed;
}

void Store_Cookies(const std::string& RawHeaders, const std::string& CookieUser) {
    if (CookieUser.empty() || RawHeaders.empty()) return;
    if (Take_Set_Cookies(current(), RawHeaders, CookieUser)) save();
}

std::string Get_Cookie_Header(const std::string& CookieUser) {
    if (CookieUser.empty()) return {};
    const Profile& p = current();
    CookiePersistentRaw = sectionRaw(p, persistentSection(CookieUser));
    CookieSessionRaw = sectionRaw(p, sessionSection(CookieUser));
    return headerFrom(CookiePersistentRaw, CookieSessionRaw);
}

std::string Cookie_Header_For(const std::string& CookieUser) {
    if (CookieUser.empty()) return {};
    const Profile& p = current();
    return headerFrom(sectionRaw(p, persistentSection(CookieUser)), sectionRaw(p, sessionSection(CookieUser)));
}

void Clear_Cookies(const std::string& CookieUser) {
    if (deleteUser(current(), CookieUser)) save();
}

SavedCookies Save_User_Cookies(const std::string& user) {
    const Profile& p = current();
    return {cookieLines(p, persistentSection(user)), cookieLines(p, sessionSection(user))};
}

void Restore_User_Cookies(const std::string& user, const SavedCookies& saved) {
    Profile& p = current();
    bool changed = deleteUser(p, user);
    const auto put = [&p, &changed](const std::string& section, const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string_view text(line);
            if (p.Write_String(section, text.substr(0, eq), text.substr(eq + 1)) == Profile::Write::Changed)
                changed = true;
        }
    };
    put(persistentSection(user), saved.persistent);
    put(sessionSection(user), saved.session);
    if (changed) save();
}

long Cookie_Jar_Writes() { return jar().writes; }

void Reset_Cookie_Jar_For_Tests() { jar() = Jar(); }

}  // namespace modWinInet
