// remaining_time.h — the time left to an item's end, in seconds and as the grid's text.
//
// An item's EndTime is the local end as the page parser writes it for display: the date in the
// display date format (three-letter English month, two-digit day and year, "-" or "." between
// them, in month-day-year, day-month-year or year-month-day order), two blanks, and the time
// "hh:mm:ss" or "hh:mm:ss am" / "pm"; or "No End Date". The reader takes exactly those forms,
// whatever the user's locale; any other text has no end moment ("unknown").
//
// Time is measured from the program's current time: the PC clock, plus ClockOffsetMs where the
// program may not set the clock.
#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace TLMainItems {

inline constexpr const char* kNoEndDate = "No End Date";

// The seconds left by the last Get_Remaining_Secs (0 or less: ended). RemainingKnown is false
// when that item's end time could not be read; RemainingSecs is then 0.
inline long RemainingSecs = 0;
inline bool RemainingKnown = false;

// The end moment of an EndTime text (the user's time zone, or `zone`), or nothing when it does
// not read.
std::optional<QDateTime> Read_End_Time(std::string_view endTime);

// The moment an end text names in the user's zone (milliseconds since the epoch), each text read
// once while the zone and the date order stay.
std::optional<qint64> End_Moment_Ms(std::string_view endTime);

// While one is open, the remaining-time routines read the present moment once (when the first
// opens), so a pass over the whole list costs one reading of the clock; the moment of each end
// text is kept as long as the user's zone and date order stay.
class Time_Snapshot {
public:
    Time_Snapshot();
    ~Time_Snapshot();
    Time_Snapshot(const Time_Snapshot&) = delete;
    Time_Snapshot& operator=(const Time_Snapshot&) = delete;
};
std::optional<QDateTime> Read_End_Time(std::string_view endTime, const QTimeZone& zone);
// The program's current time in whole seconds (read once for a pass while a Time_Snapshot is open).
qint64 Program_Now_Secs();

// Sets RemainingSecs and RemainingKnown for item `index` (1 to ItemCount).
void Get_Remaining_Secs(int index);
// The seconds from the program's current time to the end of `endTime`; nothing when unreadable.
std::optional<long> Remaining_Secs_Of(std::string_view endTime);

// The grid's time-left text of item `index`: "NA" for "No End Date", "Closed" (or "Final
// Closing" after the result update) once ended or when the end does not read, else e.g.
// " 2 Days  3 Hours", " 1 Hour  5 Mins", " 2 Mins  30 Secs".
std::string Get_Remaining_Time(int index);
// Seconds left as the time-left text takes them: kNoEndLeft for "No End Date", kUnknownLeft for
// an end that does not read.
inline constexpr int64_t kNoEndLeft = INT64_MIN + 1, kUnknownLeft = INT64_MIN + 2;
// The time-left text of `left` seconds left (as above): "NA", the closed word ("Final Closing"
// once the item's result update has run, else "Closed") or the time left.
std::string Time_Left_Text(int64_t left, bool finalClosing);
// The text for an end time that is `seconds` away (the day word is the site's).
// What of `t` seconds left the time-left text shows: two values give the same text exactly when
// this gives the same number (the hour past a day, the minute past 3 minutes, else the second).
long long Remaining_Time_Shown(long long t);
std::string Remaining_Time_Text(long long seconds, const std::string& closedText, const std::string& dayWord);

}  // namespace TLMainItems
