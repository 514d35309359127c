#include "platform/time_zone_info.h"

#include <QLocale>
#include <QTimeZone>

#include "platform/clock.h"
#include "platform/locale_info.h"

namespace platform {
namespace {

SystemTime toSystemTime(const QDateTime& local) {
    SystemTime s;
    const QDate d = local.date();
    const QTime t = local.time();
    s.wYear = static_cast<int16_t>(d.year());
    s.wMonth = static_cast<int16_t>(d.month());
    s.wDayOfWeek = static_cast<int16_t>(d.dayOfWeek() % 7);
    s.wDay = static_cast<int16_t>(d.day());
    s.wHour = static_cast<int16_t>(t.hour());
    s.wMinute = static_cast<int16_t>(t.minute());
    s.wSecond = static_cast<int16_t>(t.second());
    return s;
}

std::string zoneName(const QTimeZone& z, QTimeZone::TimeType type) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString n = z.displayName(type, QTimeZone::LongName, english);
    if (n.isEmpty()) n = z.displayName(type, QTimeZone::ShortName, english);
    if (n.isEmpty()) n = QString::fromUtf8(z.id());
    return n.toStdString();
}

}  // namespace

long getTimeZoneInformation(TimeZoneInformation& info) {
    info = TimeZoneInformation{};
    const QTimeZone zone = userTimeZone();
    const QDateTime now = clock().now();
    const QDateTime nowUtc = now.toUTC();
    info.Bias = -zone.standardTimeOffset(nowUtc) / 60;
    info.StandardName = zoneName(zone, QTimeZone::StandardTime);

    // This year's changes, each at the local time that the clock shows just before it.
    const int year = now.date().year();
    const QDateTime from(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime to(QDate(year + 1, 1, 1), QTime(0, 0), Qt::UTC);
    bool haveStart = false, haveEnd = false;
    long saving = 0;
    if (zone.hasTransitions()) {
        for (const auto& tr : zone.transitions(from.addSecs(-14 * 3600), to.addSecs(14 * 3600))) {
            const int before = zone.offsetFromUtc(tr.atUtc.addSecs(-1));
            const QDateTime localBefore = tr.atUtc.addSecs(before).toUTC();
            const QDateTime wall(localBefore.date(), localBefore.time());
            if (wall.date().year() != year) continue;
            if (tr.daylightTimeOffset > 0 && !haveStart) {
                info.DaylightDate = toSystemTime(wall);
                saving = tr.daylightTimeOffset;
                haveStart = true;
            } else if (tr.daylightTimeOffset == 0 && before != tr.offsetFromUtc && !haveEnd) {
                info.StandardDate = toSystemTime(wall);
                haveEnd = true;
            }
        }
    }
    if (!haveStart || !haveEnd) {
        info.StandardDate = SystemTime{};
        info.DaylightDate = SystemTime{};
        info.DaylightName = info.StandardName;
        return kTimeZoneIdUnknown;
    }
    info.DaylightName = zoneName(zone, QTimeZone::DaylightTime);
    info.DaylightBias = -saving / 60;
    return zone.isDaylightTime(nowUtc) ? kTimeZoneIdDaylight : kTimeZoneIdStandard;
}

}  // namespace platform
