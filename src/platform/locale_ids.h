// locale_ids.h — the numeric locale ids the program keys its national-site choice and locale queries on.
//
// The user's locale is known by its POSIX name ("en_GB"); the program's settings and its
// first-run site choice speak of numeric locale ids (2057 for English, United Kingdom).
// A name without an id here ("C", "POSIX", or a locale the table lacks) has the id 0.
#pragma once

#include <QLocale>
#include <string>

namespace platform {

// The id of a POSIX locale name ("de_DE", "de_DE.UTF-8", "de-DE"); 0 when the table lacks it.
long localeIdFor(const std::string& posixName);
// The POSIX name of an id ("" when unknown).
std::string localeNameFor(long localeId);
// The user's locale id (from userLocaleName(), so tests inject it with setUserLocaleForTests).
long userLocaleId();

// Ids that stand for "the user's own locale" in a locale query.
inline constexpr long kLocaleNeutral = 0;
inline constexpr long kLocaleUserDefault = 0x0400;
inline constexpr long kLocaleSystemDefault = 0x0800;

// The locale a query for `localeId` answers from: the user's locale for the user's own id and
// the three ids above, the table's locale for another known id; false when the id is unknown.
bool localeForId(long localeId, QLocale& out);

}  // namespace platform
