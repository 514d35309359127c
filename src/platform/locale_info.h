// locale_info.h — the user's locale and time zone, as the program asks for them.
//
// Both can be injected (tests, and the TOLVANE_LOCALE / TZ environment at start).
#pragma once

#include <QLocale>
#include <QTimeZone>
#include <string>

namespace platform {

// POSIX locale name of the user, e.g. "en_GB" (from LC_ALL, LC_TIME, LANG; "C" when none).
std::string userLocaleName();
void setUserLocaleForTests(const std::string& name);  // "" puts the real one back

QLocale userLocale();

// The time-zone id in use, e.g. "Europe/London".
QByteArray timeZoneId();
void setTimeZoneForTests(const QByteArray& ianaId);  // empty puts the real one back
QTimeZone userTimeZone();

// Date and time patterns of the user's locale, in Qt's pattern letters.
QString shortDatePattern();   // e.g. "dd/MM/yyyy"
QString longTimePattern();    // "h:mm:ss AP" or "HH:mm:ss" (no zone)

}  // namespace platform
