#include "platform/locale_info.h"

#include <chrono>
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

QByteArray timeZoneId() {
    if (!g_zone.isEmpty()) return g_zone;
    // Finding the system's zone reads files: it is asked again at most once a second, so a grid
    // of a thousand rows does not ask a thousand times, and a change is still seen by the next tick.
    static QByteArray cachedId;
    static std::chrono::steady_clock::time_point askedAt;
    const auto now = std::chrono::steady_clock::now();
    if (cachedId.isEmpty() || now - askedAt >= std::chrono::seconds(1)) {
        cachedId = QTimeZone::systemTimeZoneId();
        askedAt = now;
    }
    return cachedId;
}
void setTimeZoneForTests(const QByteArray& ianaId) { g_zone = ianaId; }

QTimeZone userTimeZone() {
    // Making a zone reads its rules from disk: the one for the present id is kept, and a change of
    // the user's zone gives a new one at the next call.
    static QByteArray cachedId;
    static QTimeZone cached;
    const QByteArray id = timeZoneId();
    if (id != cachedId || !cached.isValid()) {
        QTimeZone z(id);
        cached = z.isValid() ? z : QTimeZone::utc();
        cachedId = id;
    }
    return cached;
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
