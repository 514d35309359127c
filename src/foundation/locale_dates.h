// locale_dates.h — the user's locale settings, the display date format, the time-zone figures
// and the month finder.
//
// The auction service states end times in Pacific time with English month names; these
// routines give the rest of the program what it needs to turn them into the user's local
// time and date format. Locale queries answer for the user's locale (platform/locale_info.h)
// unless another locale id is named; the time zone is platform::userTimeZone().
#pragma once

#include <QDateTime>
#include <cstdint>
#include <string>

#include "platform/locale_ids.h"
#include "platform/time_zone_info.h"

namespace modTLMain {

// Filled by Get_Time_Zone_Info.
inline platform::TimeZoneInformation TimeZoneInfo;
inline long TimeZoneId = 0;              // 0 no daylight saving, 1 standard time, 2 daylight time now
inline std::string TimeZoneName;         // the name of the time now in force
inline int16_t PacificOffsetMinutes = 0; // minutes to add to a UTC−8 time to get local (standard) time
inline std::string DstStartText;         // "mmm-dd-yyyy hh:mm AM/PM"
inline std::string DstEndText;

// Filled by the main window's load from Get_Locale_Date_Order and Get_Date_Format.
inline long LocaleDateOrder = 0;         // 0 month-day-year, 1 day-month-year, 2 year-month-day
inline std::string DisplayDateFormat;

// Locale query kinds.
inline constexpr long LOCALE_ILANGUAGE = 0x01;
inline constexpr long LOCALE_SLANGUAGE = 0x02;
inline constexpr long LOCALE_SCOUNTRY = 0x06;
inline constexpr long LOCALE_SDECIMAL = 0x0E;
inline constexpr long LOCALE_STHOUSAND = 0x0F;
inline constexpr long LOCALE_SCURRENCY = 0x14;
inline constexpr long LOCALE_SSHORTDATE = 0x1F;
inline constexpr long LOCALE_SLONGDATE = 0x20;
inline constexpr long LOCALE_IDATE = 0x21;
inline constexpr long LOCALE_ITIME = 0x23;
inline constexpr long LOCALE_SISO639LANGNAME = 0x59;
inline constexpr long LOCALE_SISO3166CTRYNAME = 0x5A;
inline constexpr long LOCALE_SENGLANGUAGE = 0x1001;
inline constexpr long LOCALE_SENGCOUNTRY = 0x1002;
inline constexpr long LOCALE_STIMEFORMAT = 0x1003;
inline constexpr long LOCALE_NOUSEROVERRIDE = static_cast<long>(0x80000000UL);

// Date-format flags of Format_Locale_Date.
inline constexpr long DATE_SHORTDATE = 0x01;
inline constexpr long DATE_LONGDATE = 0x02;
inline constexpr long DATE_YEARMONTH = 0x08;

// The user's locale id (0 when the user's locale has none).
inline long GetUserDefaultLCID() { return platform::userLocaleId(); }

void Get_Time_Zone_Info();
// The moment of a daylight-saving change record: an absolute date (year 1 or more) or the
// n-th (5 = last) weekday of the month in the current year (year 0); the zero date
// 30 Dec 1899 when the record names no day. Its time of day is added.
QDateTime Transition_Date(const platform::SystemTime& t);
inline QDateTime ZeroDate() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

std::string Get_Locale_Info(long localeId, long lcType);  // "" when none
std::string Get_Locale_Country();      // English country name
std::string Get_Locale_Date_Order();   // "0", "1" or "2"
std::string Get_Locale_Decimal();
std::string Get_Locale_Thousand();
std::string Get_Locale_Time_Format();  // "0" 12-hour, "1" 24-hour
// The display date format from the short-date separator and LocaleDateOrder,
// e.g. "mmm-dd-yy", "dd.mmm.yy", "yy-mmm-dd".
std::string Get_Date_Format();
// The date of `dateText` written in the locale's own short (or long, or year-month) form.
std::string Format_Locale_Date(const std::string& dateText, long localeId, long flags);
// "1" to "12" for the first English month name found (full names first, then the
// three-letter ones), "" when none.
std::string Get_Month_Number(const std::string& text);

void ResetLocaleDatesForTests();

}  // namespace modTLMain
