#include "platform/locale_info.h"

#include <cstdlib>

namespace platform {
namespace {
std::string g_locale;
QByteArray g_zone;

std::string envLocale() {
    for (const char* n : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* v = std::getenv(n);
        if (v && *v) {
            std::string s(v);
            const auto dot = s.find_first_of(".@");
            if (dot != std::string::npos) s = s.substr(0, dot);
            return s.empty() ? "C" : s;
        }
    }
    return "C";
}
}  // namespace

std::string userLocaleName() { return g_locale.empty() ? envLocale() : g_locale; }
void setUserLocaleForTests(const std::string& name) { g_locale = name; }

QLocale userLocale() {
    const std::string n = userLocaleName();
    if (n == "C" || n == "POSIX") return QLocale(QLocale::English, QLocale::UnitedStates);
    return QLocale(QString::fromStdString(n));
}

QByteArray timeZoneId() { return g_zone.isEmpty() ? QTimeZone::systemTimeZoneId() : g_zone; }
void setTimeZoneForTests(const QByteArray& ianaId) { g_zone = ianaId; }

QTimeZone userTimeZone() {
    QTimeZone z(timeZoneId());
    return z.isValid() ? z : QTimeZone::utc();
}

QString shortDatePattern() {
    QString p = userLocale().dateFormat(QLocale::ShortFormat);
    // The short form of some locales writes two-digit years; the program shows four.
    if (!p.contains("yyyy")) p.replace("yy", "yyyy");
    return p;
}

QString longTimePattern() {
    const QString p = userLocale().timeFormat(QLocale::LongFormat);
    const bool twelve = p.contains('a', Qt::CaseInsensitive);
    return twelve ? QStringLiteral("h:mm:ss AP") : QStringLiteral("HH:mm:ss");
}

}  // namespace platform
