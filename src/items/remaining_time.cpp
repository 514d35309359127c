#include "items/remaining_time.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include <QTimeZone>

#include "foundation/clock_state.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "platform/clock.h"
#include "platform/locale_info.h"
#include "service/national_sites.h"

namespace TLMainItems {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Two digits at `at`, or -1.
int twoDigits(std::string_view s, size_t at) {
    if (at + 2 > s.size() || !isDigit(s[at]) || !isDigit(s[at + 1])) return -1;
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// 1 to 12 for an English three-letter month (any case), else 0.
int monthOf(std::string_view s) {
    static constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (s.size() != 3) return 0;
    const std::string up = vb::UCase(s);
    for (int m = 0; m < 12; ++m)
        if (up == kMonths[m]) return m + 1;
    return 0;
}

// A date with the month between day and year: day first unless the display format (or, before
// the main window set it, the locale's order) puts the year first.
bool yearFirst() {
    const std::string& f = modTLMain::DisplayDateFormat;
    if (!f.empty()) return vb::Left(vb::LCase(f), 2) == "yy";
    return modTLMain::LocaleDateOrder == 2;
}

// "mmm-dd-yy", "dd-mmm-yy" or "yy-mmm-dd", with "-" or "." between the parts.
QDate readDate(std::string_view d) {
    if (d.size() != 9) return {};
    int month, day, year;
    char sep1, sep2;
    if (isLetter(d[0])) {
        month = monthOf(d.substr(0, 3));
        sep1 = d[3];
        day = twoDigits(d, 4);
        sep2 = d[6];
        year = twoDigits(d, 7);
    } else {
        const int first = twoDigits(d, 0);
        sep1 = d[2];
        month = monthOf(d.substr(3, 3));
        sep2 = d[6];
        const int last = twoDigits(d, 7);
        day = yearFirst() ? last : first;
        year = yearFirst() ? first : last;
    }
    if (month == 0 || day < 0 || year < 0 || sep1 != sep2 || (sep1 != '-' && sep1 != '.')) return {};
    return QDate(2000 + year, month, day);  // two-digit years are this century's
}

// "hh:mm:ss" (24 hours) or "hh:mm:ss am" / "pm" (12 hours, any case).
QTime readTime(std::string_view t) {
    if (t.size() != 8 && t.size() != 11) return {};
    int h = twoDigits(t, 0);
    const int m = twoDigits(t, 3), s = twoDigits(t, 6);
    if (h < 0 || m < 0 || s < 0 || t[2] != ':' || t[5] != ':' || m > 59 || s > 59) return {};
    if (t.size() == 11) {
        const std::string half = vb::UCase(t.substr(9));
        if (t[8] != ' ' || (half != "AM" && half != "PM") || h < 1 || h > 12) return {};
        h = (h % 12) + (half == "PM" ? 12 : 0);
    } else if (h > 23) {
        return {};
    }
    return QTime(h, m, s);
}

// The present moment in milliseconds: read once for a whole pass over the list while a
// Time_Snapshot is open (each reading of the local time costs the C library a look at the zone).
std::optional<qint64> g_snapshotMs;
int g_snapshotDepth = 0;

qint64 nowMs() {
    if (g_snapshotMs) return *g_snapshotMs;
    return platform::clock().now().toMSecsSinceEpoch();
}

// Each end text is turned into its moment once, as long as the zone and the date order stay.
struct EndMoments {
    std::unordered_map<std::string, std::optional<qint64>> moments;
    QByteArray zone;
    std::string dateFormat;
    int dateOrder = -1;
};
EndMoments& endMoments() {
    static auto* e = new EndMoments();
    return *e;
}

std::optional<qint64> endMsOf(std::string_view endTime) {
    EndMoments& e = endMoments();
    const QTimeZone zone = platform::userTimeZone();
    if (zone.id() != e.zone || modTLMain::DisplayDateFormat != e.dateFormat ||
        modTLMain::LocaleDateOrder != e.dateOrder || e.moments.size() > 100000) {
        e.moments.clear();
        e.zone = zone.id();
        e.dateFormat = modTLMain::DisplayDateFormat;
        e.dateOrder = modTLMain::LocaleDateOrder;
    }
    const std::string key(endTime);
    if (auto it = e.moments.find(key); it != e.moments.end()) return it->second;
    const auto end = Read_End_Time(endTime, zone);
    std::optional<qint64> ms;
    if (end) ms = end->toMSecsSinceEpoch();
    e.moments.emplace(key, ms);
    return ms;
}

// The offset counts for the seconds only where the program may not set the PC clock.
bool offsetForSeconds() { return modClock::User_Mode(); }

std::optional<long> secondsTo(std::string_view endTime, bool addOffset) {
    const auto end = endMsOf(endTime);
    if (!end) return std::nullopt;
    const qint64 now = nowMs() + (addOffset ? modClock::ClockOffsetMs : 0);
    const long long s = *end / 1000 - now / 1000;  // whole seconds between, as DateDiff counts them
    return static_cast<long>(std::clamp<long long>(s, INT32_MIN, INT32_MAX));
}

std::string num(long long n) { return " " + std::to_string(n); }

}  // namespace

std::optional<qint64> End_Moment_Ms(std::string_view endTime) { return endMsOf(endTime); }

qint64 Program_Now_Secs() { return (nowMs() + modClock::ClockOffsetMs) / 1000; }

Time_Snapshot::Time_Snapshot() {
    if (g_snapshotDepth++ == 0) g_snapshotMs = platform::clock().now().toMSecsSinceEpoch();
}

Time_Snapshot::~Time_Snapshot() {
    if (--g_snapshotDepth == 0) g_snapshotMs.reset();
}

std::optional<QDateTime> Read_End_Time(std::string_view endTime) {
    return Read_End_Time(endTime, platform::userTimeZone());
}

std::optional<QDateTime> Read_End_Time(std::string_view endTime, const QTimeZone& zone) {
    const size_t blank = endTime.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const QDate date = readDate(endTime.substr(0, blank));
    const QTime time = readTime(vb::Trim(endTime.substr(blank + 1)));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time, zone);
}

std::optional<long> Remaining_Secs_Of(std::string_view endTime) { return secondsTo(endTime, offsetForSeconds()); }

void Get_Remaining_Secs(int index) {
    const AuctionItem* item = Item_At(index);
    const auto secs = item ? Remaining_Secs_Of(item->EndTime) : std::nullopt;
    RemainingKnown = secs.has_value();
    RemainingSecs = secs.value_or(0);
}

std::string Get_Remaining_Time(int index) {
    const AuctionItem* item = Item_At(index);
    if (!item) return {};
    int64_t left = kNoEndLeft;
    if (item->EndTime != kNoEndDate) {
        const auto secs = secondsTo(item->EndTime, true);
        left = secs ? *secs : kUnknownLeft;
    }
    return Time_Left_Text(left, item->ResultDone == "1");
}

std::string Time_Left_Text(int64_t left, bool finalClosing) {
    const char* closed = finalClosing ? "Final Closing" : "Closed";
    if (left == kNoEndLeft) return "NA";
    if (left == kUnknownLeft) return closed;
    return Remaining_Time_Text(left, closed, modTLMain::SiteDayWord);
}

long long Remaining_Time_Shown(long long t) {
    constexpr long long kHourSteps = 1LL << 40, kMinuteSteps = 1LL << 41;
    if (t <= 0) return -1;
    if (t >= 86400) return kHourSteps + t / 3600;
    if (t >= 180) return kMinuteSteps + t / 60;
    return t;
}

std::string Remaining_Time_Text(long long t, const std::string& closedText, const std::string& dayWord) {
    if (t < 0) return closedText;
    const long long days = t / 86400;
    const long long hours = t / 3600 - days * 24;
    const long long mins = t / 60 - days * 1440 - hours * 60;
    const long long secs = t - (days * 86400 + hours * 3600 + mins * 60);
    if (t == 0) return closedText;
    if (days > 0) {
        std::string dayPart = num(days) + " ";
        if (dayWord == "Days") dayPart += days > 1 ? "Days " : "Day ";
        else dayPart += dayWord + " ";
        if (hours == 0) return dayPart;
        return dayPart + num(hours) + (hours == 1 ? " Hour" : " Hours");
    }
    if (hours > 0) {
        const std::string h = num(hours) + (hours == 1 ? " Hour" : " Hours");
        if (mins == 0) return h;
        return h + " " + num(mins) + (mins == 1 ? " Min" : " Mins");
    }
    if (mins >= 3) return num(mins) + " Mins";
    if (mins == 2) return num(mins) + " Mins " + num(secs) + " Secs";
    if (mins == 1) return num(mins) + " Min " + num(secs) + " Secs";
    return num(secs) + " Secs";
}

}  // namespace TLMainItems
