#include "foundation/vb.h"

#include <charconv>

#include <QLocale>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/locale_info.h"

namespace vb {
namespace {

inline char up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool eqAt(std::string_view hay, size_t pos, std::string_view needle, Compare cmp) {
    if (pos + needle.size() > hay.size()) return false;
    if (cmp == Binary) return hay.compare(pos, needle.size(), needle) == 0;
    for (size_t i = 0; i < needle.size(); ++i)
        if (up(hay[pos + i]) != up(needle[i])) return false;
    return true;
}

}  // namespace

long InStr(long start, std::string_view hay, std::string_view needle, Compare cmp) {
    if (start < 1) start = 1;
    if (static_cast<size_t>(start) > hay.size() + 1) return 0;
    if (needle.empty()) return start;
    for (size_t p = static_cast<size_t>(start - 1); p + needle.size() <= hay.size(); ++p)
        if (eqAt(hay, p, needle, cmp)) return static_cast<long>(p + 1);
    return 0;
}

long InStrRev(std::string_view hay, std::string_view needle, long start, Compare cmp) {
    if (start == -1) start = static_cast<long>(hay.size());
    if (start < 1 || static_cast<size_t>(start) > hay.size()) return 0;
    if (needle.empty()) return start;
    if (needle.size() > static_cast<size_t>(start)) return 0;
    for (long p = start - static_cast<long>(needle.size()); p >= 0; --p)
        if (eqAt(hay, static_cast<size_t>(p), needle, cmp)) return p + 1;
    return 0;
}

std::string Mid(std::string_view s, long start, long length) {
    if (start < 1) start = 1;
    if (static_cast<size_t>(start) > s.size()) return {};
    auto rest = s.substr(static_cast<size_t>(start - 1));
    if (length < 0 || static_cast<size_t>(length) >= rest.size()) return std::string(rest);
    return std::string(rest.substr(0, static_cast<size_t>(length)));
}

std::string Left(std::string_view s, long n) {
    if (n <= 0) return {};
    return std::string(s.substr(0, std::min<size_t>(s.size(), static_cast<size_t>(n))));
}

std::string Right(std::string_view s, long n) {
    if (n <= 0) return {};
    if (static_cast<size_t>(n) >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - static_cast<size_t>(n)));
}

std::string UCase(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = up(c);
    return r;
}

std::string LCase(std::string_view s) {
    std::string r(s);
    for (auto& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}

std::string LTrim(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) {
    size_t first = 0, end = s.size();
    while (first < end && s[first] == ' ') ++first;
    while (end > first && s[end - 1] == ' ') --end;
    return std::string(s.substr(first, end - first));
}

std::string Replace(std::string_view s, std::string_view find, std::string_view with, Compare cmp) {
    if (find.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (eqAt(s, i, find, cmp)) {
            out.append(with);
            i += find.size();
        } else {
            out.push_back(s[i++]);
        }
    }
    return out;
}

std::vector<std::string> Split(std::string_view s, std::string_view delimiter) {
    std::vector<std::string> parts;
    if (s.empty()) return parts;
    if (delimiter.empty()) return {std::string(s)};
    size_t start = 0;
    for (;;) {
        const size_t p = s.find(delimiter, start);
        if (p == std::string_view::npos) {
            parts.emplace_back(s.substr(start));
            break;
        }
        parts.emplace_back(s.substr(start, p - start));
        start = p + delimiter.size();
    }
    return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view delimiter) {
    std::string r;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) r.append(delimiter);
        r.append(parts[i]);
    }
    return r;
}

std::string Space(long n) { return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string(); }
std::string String(long n, char c) { return n > 0 ? std::string(static_cast<size_t>(n), c) : std::string(); }

int StrComp(std::string_view a, std::string_view b, Compare cmp) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(cmp == Text ? up(a[i]) : a[i]);
        unsigned char y = static_cast<unsigned char>(cmp == Text ? up(b[i]) : b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualText(std::string_view a, std::string_view b) { return StrComp(a, b, Text) == 0; }

namespace {
bool likeAt(std::string_view s, size_t si, std::string_view p, size_t pi) {
    while (pi < p.size()) {
        const char c = p[pi];
        if (c == '*') {
            for (size_t k = si; k <= s.size(); ++k)
                if (likeAt(s, k, p, pi + 1)) return true;
            return false;
        }
        if (si >= s.size()) return false;
        if (c == '?') {
            ++si, ++pi;
        } else if (c == '#') {
            if (!std::isdigit(static_cast<unsigned char>(s[si]))) return false;
            ++si, ++pi;
        } else if (c == '[') {
            const size_t close = p.find(']', pi + 1);
            if (close == std::string_view::npos) return false;
            std::string_view set = p.substr(pi + 1, close - pi - 1);
            bool negate = !set.empty() && set[0] == '!';
            if (negate) set.remove_prefix(1);
            bool in = false;
            for (size_t k = 0; k < set.size(); ++k) {
                if (k + 2 < set.size() && set[k + 1] == '-') {
                    if (s[si] >= set[k] && s[si] <= set[k + 2]) in = true;
                    k += 2;
                } else if (s[si] == set[k]) {
                    in = true;
                }
            }
            if (in == negate) return false;
            ++si;
            pi = close + 1;
        } else {
            if (s[si] != c) return false;
            ++si, ++pi;
        }
    }
    return si == s.size();
}
}  // namespace

bool Like(std::string_view s, std::string_view pattern) { return likeAt(s, 0, pattern, 0); }

namespace {
// Reads a number with optional sign, "," grouping and "." decimals; returns chars used (0 = none).
size_t readNumber(std::string_view s, double& out, bool allowGrouping) {
    size_t i = 0;
    std::string digits;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits.push_back(s[i++]);
    bool any = false, dot = false;
    while (i < s.size()) {
        const char c = s[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits.push_back(c);
            any = true;
        } else if (c == '.' && !dot) {
            digits.push_back(c);
            dot = true;
        } else if (c == ',' && allowGrouping && !dot) {
            // grouping mark: skipped
        } else {
            break;
        }
        ++i;
    }
    if (!any) return 0;
    // exponent
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
        size_t k = j;
        while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) exp.push_back(s[k++]);
        if (k > j) {
            digits += exp;
            i = k;
        }
    }
    // Read with "." whatever the process's C locale says (Qt sets it from the user's environment).
    std::from_chars(digits.data(), digits.data() + digits.size(), out);
    return i;
}
}  // namespace

bool IsNumeric(std::string_view s) {
    const std::string t = Trim(s);
    if (t.empty()) return false;
    double v = 0;
    const size_t used = readNumber(t, v, true);
    return used == t.size();
}

double Val(std::string_view s) {
    std::string compact;
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') compact.push_back(c);
    double v = 0;
    if (readNumber(compact, v, false) == 0) return 0;
    return v;
}

double CDbl(std::string_view s) {
    const std::string t = Trim(s);
    double v = 0;
    if (t.empty() || readNumber(t, v, true) != t.size()) return 0;
    return v;
}

long long RoundHalfEven(double v) {
    // Out of range saturates (not a number reads as 0): a conversion never leaves the range.
    if (std::isnan(v)) return 0;
    constexpr double kTwo63 = 9223372036854775808.0;
    if (v >= kTwo63) return std::numeric_limits<long long>::max();
    if (v < -kTwo63) return std::numeric_limits<long long>::min();
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff > 0.5) return static_cast<long long>(f) + 1;
    if (diff < 0.5) return static_cast<long long>(f);
    const long long fi = static_cast<long long>(f);
    return (fi % 2 == 0) ? fi : fi + 1;
}

long CLng(double v) { return static_cast<long>(RoundHalfEven(v)); }

bool RoundToInt32(double v, long& out) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
    const long long r = RoundHalfEven(v);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) return false;
    out = static_cast<long>(r);
    return true;
}
long CLng(std::string_view s) { return CLng(CDbl(s)); }
int CInt(double v) { return static_cast<int>(RoundHalfEven(v)); }

std::string Str(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string FormatNumber(double v, std::string_view pattern) {
    const size_t dot = pattern.find('.');
    const int decimals = dot == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
    const std::string_view intPart = pattern.substr(0, dot == std::string_view::npos ? pattern.size() : dot);
    const bool grouping = intPart.find(',') != std::string_view::npos;
    const int minInt = static_cast<int>(std::count(intPart.begin(), intPart.end(), '0'));
    // Round half away from zero on the decimal value, as Format does.
    const double scale = std::pow(10.0, decimals);
    double r = std::round(std::fabs(v) * scale + 1e-9) / scale;
    const bool neg = v < 0 && r != 0;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r);
    std::string s(buf);
    std::string ip = s.substr(0, s.find('.'));
    std::string fp = decimals ? s.substr(s.find('.')) : std::string();
    if (ip == "0" && minInt == 0) ip.clear();
    while (static_cast<int>(ip.size()) < minInt) ip.insert(ip.begin(), '0');
    if (grouping) {
        std::string g;
        int n = 0;
        for (auto it = ip.rbegin(); it != ip.rend(); ++it) {
            if (n && n % 3 == 0) g.insert(g.begin(), ',');
            g.insert(g.begin(), *it);
            ++n;
        }
        ip = g;
    }
    return (neg ? "-" : "") + ip + fp;
}

std::string ShortDate(const QDate& d) { return d.toString(platform::shortDatePattern()).toStdString(); }

std::string LongTime(const QTime& t) {
    return platform::userLocale().toString(t, platform::longTimePattern()).toStdString();
}

std::string GeneralDate(const QDateTime& t) { return ShortDate(t.date()) + " " + LongTime(t.time()); }

std::string FormatDate(const QDateTime& t, std::string_view pattern) {
    static const char* kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                    "August", "September", "October", "November", "December"};
    static const char* kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    const QDate d = t.date();
    const QTime tm = t.time();
    const std::string lower = LCase(pattern);
    const bool ampm = lower.find("am/pm") != std::string::npos || lower.find("ampm") != std::string::npos;
    std::string out;
    size_t i = 0;
    bool lastWasHour = false;
    auto two = [](int v) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d", v);
        return std::string(b);
    };
    while (i < pattern.size()) {
        auto run = [&](char c) {
            size_t n = 0;
            while (i + n < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + n])) == c) ++n;
            return n;
        };
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        if (lower.compare(i, 5, "am/pm") == 0) {
            const bool upper = pattern[i] == 'A';
            std::string s = tm.hour() < 12 ? "am" : "pm";
            out += upper ? UCase(s) : s;
            i += 5;
            continue;
        }
        if (lower.compare(i, 4, "ampm") == 0) {
            out += tm.hour() < 12 ? "AM" : "PM";
            i += 4;
            continue;
        }
        if (c == 'y') {
            const size_t n = run('y');
            out += n >= 4 ? std::to_string(d.year()) : two(d.year() % 100);
            i += n;
            lastWasHour = false;
        } else if (c == 'd') {
            const size_t n = run('d');
            if (n == 1) out += std::to_string(d.day());
            else if (n == 2) out += two(d.day());
            else if (n == 3) out += std::string(kDays[d.dayOfWeek() - 1]).substr(0, 3);
            else out += kDays[d.dayOfWeek() - 1];
            i += n;
            lastWasHour = false;
        } else if (c == 'm') {
            const size_t n = run('m');
            if (lastWasHour && n <= 2) {  // minutes after an hour
                out += n == 1 ? std::to_string(tm.minute()) : two(tm.minute());
            } else if (n == 1) out += std::to_string(d.month());
            else if (n == 2) out += two(d.month());
            else if (n == 3) out += std::string(kMonths[d.month() - 1]).substr(0, 3);
            else out += kMonths[d.month() - 1];
            i += n;
        } else if (c == 'h') {
            const size_t n = run('h');
            int h = tm.hour();
            if (ampm) {
                h %= 12;
                if (h == 0) h = 12;
            }
            out += n == 1 ? std::to_string(h) : two(h);
            i += n;
            lastWasHour = true;
        } else if (c == 'n') {
            const size_t n = run('n');
            out += n == 1 ? std::to_string(tm.minute()) : two(tm.minute());
            i += n;
        } else if (c == 's') {
            const size_t n = run('s');
            out += n == 1 ? std::to_string(tm.second()) : two(tm.second());
            i += n;
            lastWasHour = false;
        } else {
            out.push_back(pattern[i++]);
        }
    }
    return out;
}

QDateTime CDate(std::string_view s) {
    const QString text = QString::fromStdString(Trim(s));
    if (text.isEmpty()) return {};
    const QString date = platform::shortDatePattern();
    const QStringList patterns = {
        date + " " + platform::longTimePattern(), date + " HH:mm:ss", date + " h:mm:ss AP", date + " h:mm:ss ap",
        "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd", date,
    };
    const QLocale loc = platform::userLocale();
    for (const auto& p : patterns) {
        QDateTime t = loc.toDateTime(text, p);
        if (!t.isValid()) t = QDateTime::fromString(text, p);
        if (t.isValid()) return t;
    }
    return {};
}

bool IsDate(std::string_view s) { return CDate(s).isValid(); }

long long DateDiffSeconds(const QDateTime& a, const QDateTime& b) {
    return (b.toMSecsSinceEpoch() / 1000) - (a.toMSecsSinceEpoch() / 1000);
}

}  // namespace vb
