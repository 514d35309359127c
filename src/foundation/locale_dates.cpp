#include "foundation/locale_dates.h"

#include <QLocale>
#include <cstdio>

#include "foundation/vb.h"
#include "platform/clock.h"

namespace modTLMain {
namespace {

constexpr const char* kTransitionFormat = "mmm-dd-yyyy hh:mm AM/PM";

// The short-date pattern of a locale, four-digit years as the program shows them (the same
// rule as platform::shortDatePattern() for the user's locale).
QString shortDatePatternOf(const QLocale& loc) {
    QString p = loc.dateFormat(QLocale::ShortFormat);
    if (!p.contains("yyyy")) p.replace("yy", "yyyy");
    return p;
}

// The locale's time pattern as the program writes times: "h:mm:ss AP" or "HH:mm:ss" (the same
// rule as platform::longTimePattern() for the user's locale).
QString timePatternOf(const QLocale& loc) {
    return loc.timeFormat(QLocale::LongFormat).contains('a', Qt::CaseInsensitive) ? QStringLiteral("h:mm:ss AP")
                                                                                  : QStringLiteral("HH:mm:ss");
}

// "0" month first, "1" day first, "2" year first.
std::string dateOrderOf(const QString& pattern) {
    const qsizetype y = pattern.indexOf('y'), m = pattern.indexOf('M'), d = pattern.indexOf('d');
    if (y >= 0 && (m < 0 || y < m) && (d < 0 || y < d)) return "2";
    if (d >= 0 && m >= 0 && d < m) return "1";
    return "0";
}

std::string hex4(long v) {
    char b[8];
    std::snprintf(b, sizeof b, "%04lx", v & 0xFFFF);
    return b;
}

}  // namespace

void Get_Time_Zone_Info() {
    platform::TimeZoneInformation info;
    TimeZoneId = platform::getTimeZoneInformation(info);
    TimeZoneInfo = info;
    PacificOffsetMinutes = static_cast<int16_t>(480 - TimeZoneInfo.Bias);
    if (TimeZoneId == platform::kTimeZoneIdUnknown || TimeZoneId == platform::kTimeZoneIdStandard)
        TimeZoneName = TimeZoneInfo.StandardName;
    else if (TimeZoneId == platform::kTimeZoneIdDaylight)
        TimeZoneName = TimeZoneInfo.DaylightName;
    DstStartText = vb::FormatDate(Transition_Date(TimeZoneInfo.DaylightDate), kTransitionFormat);
    DstEndText = vb::FormatDate(Transition_Date(TimeZoneInfo.StandardDate), kTransitionFormat);
    const auto nul = TimeZoneName.find('\0');
    if (nul != std::string::npos) TimeZoneName.erase(nul);
}

QDateTime Transition_Date(const platform::SystemTime& t) {
    QDate day;
    if (t.wYear == 0) {
        const int week = t.wDay;
        const QDate first(platform::clock().now().date().year(), t.wMonth, 1);
        if (week >= 1 && week <= 5 && first.isValid()) {
            const int firstDow = first.dayOfWeek() % 7;  // 0 = Sunday
            QDate d = first.addDays((t.wDayOfWeek - firstDow + 7) % 7);
            if (week <= 4) {
                d = d.addDays(static_cast<qint64>(week - 1) * 7);
            } else {
                while (d.addDays(7).month() == first.month()) d = d.addDays(7);
            }
            day = d;
        }
    } else {
        day = QDate(t.wYear, t.wMonth, t.wDay);
    }
    QDateTime r = day.isValid() ? QDateTime(day, QTime(0, 0)) : ZeroDate();
    return r.addSecs(static_cast<qint64>(t.wHour) * 3600 + static_cast<qint64>(t.wMinute) * 60 + t.wSecond);
}

std::string Get_Locale_Info(long localeId, long lcType) {
    QLocale loc;
    if (!platform::localeForId(localeId, loc)) return {};
    switch (lcType & ~LOCALE_NOUSEROVERRIDE) {
        case LOCALE_ILANGUAGE: {
            const bool own = localeId == platform::kLocaleNeutral || localeId == platform::kLocaleUserDefault ||
                             localeId == platform::kLocaleSystemDefault;
            const long id = own ? platform::userLocaleId() : localeId;
            return id ? hex4(id) : std::string();
        }
        case LOCALE_SLANGUAGE: return loc.nativeLanguageName().toStdString();
        case LOCALE_SCOUNTRY: return loc.nativeTerritoryName().toStdString();
        case LOCALE_SDECIMAL: return loc.decimalPoint().toStdString();
        case LOCALE_STHOUSAND: return loc.groupSeparator().toStdString();
        case LOCALE_SCURRENCY: return loc.currencySymbol().toStdString();
        case LOCALE_SSHORTDATE: return shortDatePatternOf(loc).toStdString();
        case LOCALE_SLONGDATE: return loc.dateFormat(QLocale::LongFormat).toStdString();
        case LOCALE_IDATE: return dateOrderOf(shortDatePatternOf(loc));
        case LOCALE_ITIME: return timePatternOf(loc).contains("AP") ? "0" : "1";
        case LOCALE_STIMEFORMAT: {
            QString p = timePatternOf(loc);
            p.replace("AP", "tt");
            return p.toStdString();
        }
        case LOCALE_SISO639LANGNAME: return QLocale::languageToCode(loc.language()).toStdString();
        case LOCALE_SISO3166CTRYNAME: return QLocale::territoryToCode(loc.territory()).toStdString();
        case LOCALE_SENGLANGUAGE: return QLocale::languageToString(loc.language()).toStdString();
        case LOCALE_SENGCOUNTRY: return QLocale::territoryToString(loc.territory()).toStdString();
        default: return {};
    }
}

std::string Get_Locale_Country() { return Get_Locale_Info(GetUserDefaultLCID(), LOCALE_SENGCOUNTRY); }
std::string Get_Locale_Date_Order() { return Get_Locale_Info(GetUserDefaultLCID(), LOCALE_IDATE); }
std::string Get_Locale_Decimal() { return Get_Locale_Info(GetUserDefaultLCID(), LOCALE_SDECIMAL); }
std::string Get_Locale_Thousand() { return Get_Locale_Info(GetUserDefaultLCID(), LOCALE_STHOUSAND); }
std::string Get_Locale_Time_Format() { return Get_Locale_Info(GetUserDefaultLCID(), LOCALE_ITIME); }

std::string Get_Date_Format() {
    const std::string pattern = Get_Locale_Info(GetUserDefaultLCID(), LOCALE_SSHORTDATE);
    std::string sep = "-";
    if (pattern.find('-') == std::string::npos && pattern.find('.') != std::string::npos) sep = ".";
    switch (LocaleDateOrder) {
        case 1: return "dd" + sep + "mmm" + sep + "yy";
        case 2: return "yy" + sep + "mmm" + sep + "dd";
        default: return "mmm" + sep + "dd" + sep + "yy";
    }
}

std::string Format_Locale_Date(const std::string& dateText, long localeId, long flags) {
    const QDateTime t = vb::CDate(dateText);
    if (!t.isValid()) return {};
    QLocale loc;
    if (!platform::localeForId(localeId, loc)) return {};
    QString pattern;
    if (flags & DATE_LONGDATE)
        pattern = loc.dateFormat(QLocale::LongFormat);
    else if (flags & DATE_YEARMONTH)
        pattern = QStringLiteral("MMMM yyyy");
    else
        pattern = shortDatePatternOf(loc);
    return loc.toString(t.date(), pattern).toStdString();
}

std::string Get_Month_Number(const std::string& text) {
    static const char* kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                    "August", "September", "October", "November", "December"};
    for (int i = 0; i < 12; ++i)
        if (vb::InStr(text, kMonths[i], vb::Text) > 0) return std::to_string(i + 1);
    for (int i = 0; i < 12; ++i)
        if (vb::InStr(text, std::string(kMonths[i], 3), vb::Text) > 0) return std::to_string(i + 1);
    return {};
}

void ResetLocaleDatesForTests() {
    TimeZoneInfo = {};
    TimeZoneId = 0;
    TimeZoneName.clear();
    PacificOffsetMinutes = 0;
    DstStartText.clear();
    DstEndText.clear();
    LocaleDateOrder = 0;
    DisplayDateFormat.clear();
}

}  // namespace modTLMain
