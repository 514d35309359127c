#include "clockpower/clock_sync.h"

#include <QTimeZone>
#include <algorithm>
#include <string_view>
#include <vector>

#include "bidding/deferred_requests.h"
#include "clockpower/window_parts.h"
#include "foundation/bid_engine_state.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/options_state.h"
#include "foundation/vb.h"
#include "mainwindow/tl_main_state.h"
#include "platform/clock.h"
#include "platform/daytime_socket.h"
#include "platform/timers.h"
#include "service/http_request.h"
#include "service/national_sites.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace modClockSync {
namespace {

constexpr int kDaytimePort = 13;
constexpr long long kMjdOfEpoch = 40587;  // the modified Julian date of 1 January 1970

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }
std::string statusText() { return TLMainLink::statusLine().statusText(); }

// The position (0-based) of the last `c` at or before `at`; npos when none or `at` is before the text.
size_t lastAtOrBefore(const std::string& s, char c, long long at) {
    if (at < 0) return std::string::npos;
    return s.rfind(c, static_cast<size_t>(at));
}

std::string part(const std::string& s, long long from, long long count) {
    if (from < 0 || count <= 0 || static_cast<size_t>(from) >= s.size()) return {};
    return s.substr(static_cast<size_t>(from), static_cast<size_t>(count));
}

}  // namespace

namespace {

// A reader that walks a text once from its start: each step takes what it expects or fails.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at == m_text.size(); }
    void blanks() {
        while (m_at < m_text.size() && isBlank(m_text[m_at])) ++m_at;
    }
    // Exactly n digits (at least `least` and at most `most` with the second form); their value.
    int digits(size_t least, size_t most) {
        int value = 0;
        size_t n = 0;
        while (m_ok && n < most && m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') {
            value = value * 10 + (m_text[m_at++] - '0');
            ++n;
        }
        if (n < least) m_ok = false;
        return value;
    }
    int digits(size_t n) { return digits(n, n); }
    void literal(std::string_view word) {
        if (m_ok && m_text.substr(m_at, word.size()) == word) m_at += word.size();
        else m_ok = false;
    }
    // One blank or more.
    void spaces() {
        literal(" ");
        while (m_ok && m_at < m_text.size() && m_text[m_at] == ' ') ++m_at;
    }

private:
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
    std::string_view m_text;
    size_t m_at = 0;
    bool m_ok = true;
};

}  // namespace

std::optional<DaytimeReading> Parse_Daytime_Reply(const std::string& reply) {
    // "JJJJJ YY-MM-DD HH:MM:SS TT L H msADV UTC(NIST) *", blanks and line ends around it.
    if (reply.size() > platform::kDaytimeReplyCap) return std::nullopt;
    LineReader in(reply);
    in.blanks();
    const int mjd = in.digits(5);
    in.literal(" ");
    const int yy = in.digits(2);
    in.literal("-");
    const int mo = in.digits(2);
    in.literal("-");
    const int dd = in.digits(2);
    in.literal(" ");
    const int hh = in.digits(2);
    in.literal(":");
    const int mi = in.digits(2);
    in.literal(":");
    const int ss = in.digits(2);
    in.literal(" ");
    in.digits(2);  // TT: standard or daylight time in the USA
    in.literal(" ");
    in.digits(1);  // L: a leap second at the month's end
    in.literal(" ");
    const int health = in.digits(1);
    in.spaces();
    const int advance = in.digits(1, 4);
    in.literal(".");
    in.digits(1);
    in.literal(" UTC(NIST) *");
    in.blanks();
    if (!in.ok() || !in.atEnd()) return std::nullopt;
    if (health != 0) return std::nullopt;  // the server's health: 0 = healthy
    const QDate date(2000 + yy, mo, dd);
    const QTime time(hh, mi, ss);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    if (QDate(1970, 1, 1).addDays(mjd - kMjdOfEpoch) != date) return std::nullopt;
    return DaytimeReading{QDateTime(date, time, Qt::UTC), advance};
}

std::optional<QDateTime> Parse_Time_Page(const std::string& text) {
    bool daylight = true;
    size_t z = text.find("PDT");
    if (z == std::string::npos) {
        daylight = false;
        z = text.find("PST");
    }
    if (z == std::string::npos) return std::nullopt;
    // The page reads: weekday, comma, month name, day, comma, four-digit year, time, zone.
    const size_t c1 = lastAtOrBefore(text, ':', static_cast<long long>(z));
    if (c1 == std::string::npos) return std::nullopt;
    const size_t c2 = lastAtOrBefore(text, ':', static_cast<long long>(c1) - 1);
    if (c2 == std::string::npos) return std::nullopt;
    const std::string clock = vb::Trim(part(text, static_cast<long long>(c2) - 2, 8));
    const size_t k1 = lastAtOrBefore(text, ',', static_cast<long long>(c2) - 2);
    if (k1 == std::string::npos) return std::nullopt;
    const std::string year = vb::Trim(part(text, static_cast<long long>(k1) + 2, 4));
    const std::string day = vb::Trim(part(text, static_cast<long long>(k1) - 2, 2));
    const size_t k2 = lastAtOrBefore(text, ',', static_cast<long long>(k1) - 1);
    if (k2 == std::string::npos) return std::nullopt;
    const std::string month = modTLMain::Get_Month_Number(
        vb::Trim(part(text, static_cast<long long>(k2) + 1, static_cast<long long>(c2) - 2 - static_cast<long long>(k2) - 1)));
    if (month.empty() || !vb::IsNumeric(year) || !vb::IsNumeric(day)) return std::nullopt;
    // A number no calendar has ("1e72") is no reading.
    const double y = vb::CDbl(year), dd = vb::CDbl(day);
    if (!(y >= 1 && y <= 9999) || !(dd >= 1 && dd <= 31)) return std::nullopt;
    const QTime t = QTime::fromString(QString::fromStdString(clock), "hh:mm:ss");
    const QDate d(vb::CLng(year), vb::CLng(month), vb::CLng(day));
    if (!t.isValid() || !d.isValid()) return std::nullopt;
    return QDateTime(d, t, Qt::UTC).addSecs(daylight ? 7 * 3600 : 8 * 3600);
}

std::string Difference_Text(long difference) {
    if (difference >= -1 && difference <= 1) return "0 Seconds Difference.";
    return std::to_string(std::labs(difference)) + (difference > 0 ? " Seconds Ahead." : " Seconds Behind.");
}

// ---- A sync in progress ------------------------------------------------------------------------

namespace {

// What a reading tells of the clock offset (reference minus PC clock, in ms): it lies in
// [low, high). The program keeps the low end, so a bid is never early by the reference's clock.
struct OffsetBounds {
    qint64 low = 0;
    qint64 high = 0;
};

// A reading of the time page: the bounds it gives, how long the request took, and the time it
// named as the status line shows it.
struct TimePageReading {
    OffsetBounds bounds;
    qint64 travelMs = 0;
    std::string raw;
};

qint64 pcMs() { return platform::clock().now().toMSecsSinceEpoch(); }

}  // namespace

struct ClockKeeper::Run {
    bool daytime = true;
    std::vector<std::function<void()>> done;
    // What the sync found and gives back as it found it.
    bool inputWas = false;
    bool heartbeatWas = false;
    int16_t downloadBusyWas = 0;
    bool holdsWindow = false;
    // The time servers.
    int index = 0;
    int tried = 0;
    bool moved = false;
    // The tick (ms) by which the sync has ended, set or not.
    qint64 deadline = 0;
    platform::DaytimeRead read;
    modWinInet::HttpRequest page;
    platform::Timer wait;  // until the time page's second reading
    bool ended = false;
};

namespace {

qint64 remainingMs(const ClockKeeper::Run& r) { return r.deadline - platform::clock().tickMs(); }

}  // namespace

ClockKeeper::ClockKeeper() = default;
ClockKeeper::~ClockKeeper() {
    if (m_run) {
        m_run->ended = true;
        m_run->read.cancel();
        m_run->page.cancel();
    }
}

bool ClockKeeper::running() const { return m_run != nullptr; }

void ClockKeeper::SetSysClock(std::function<void()> done) {
    const std::string option = modTLC::Get_Config_Value("Options", "TimeSyncOpt", "0");
    if (option == "0") return NISTClock(std::move(done));
    if (option == "1") return eBayClock(std::move(done));
    if (done) done();
}

namespace {

// The window and the heartbeat as the sync found them.
void giveWindowBack(ClockKeeper::Run& run) {
    if (!run.holdsWindow) return;
    run.holdsWindow = false;
    ClockPower::windowParts().setInputEnabled(run.inputWas);
    ClockPower::windowParts().setHeartbeat(run.heartbeatWas);
}

// The end of a sync, whichever way: the window, the heartbeat and the busy flag as they were,
// ManualClockSet cleared, every waiting continuation run.
void endRun(std::shared_ptr<ClockKeeper::Run>& slot, const std::shared_ptr<ClockKeeper::Run>& run) {
    if (run->ended) return;
    run->ended = true;
    run->wait.setEnabled(false);
    giveWindowBack(*run);
    TLMainState::ManualClockSet = 0;
    TLMainState::DownloadBusy = run->downloadBusyWas;
    if (slot == run) slot.reset();
    for (auto& d : run->done)
        if (d) d();
}

void failRun(std::shared_ptr<ClockKeeper::Run>& slot, const std::shared_ptr<ClockKeeper::Run>& run) {
    modClock::ClockSetFailed = 1;
    status("Clock Set Failed......");
    modTLMain::Write_Op_Log("Clock Set Failed");
    endRun(slot, run);
}

// Milliseconds as whole seconds, to the nearest (half a second away from zero).
long nearestSecs(qint64 ms) { return static_cast<long>(ms >= 0 ? (ms + 500) / 1000 : -((-ms + 500) / 1000)); }

// Sets the PC clock, or the program's offset, from the reference: `offsetMs` is the reference's
// time less the PC clock's. `raw` is what the status line shows first while Shift and Ctrl are held.
void applyReference(std::shared_ptr<ClockKeeper::Run>& slot, const std::shared_ptr<ClockKeeper::Run>& run,
                    qint64 offsetMs, const std::string& raw) {
    platform::Clock& pc = platform::clock();
    const QDateTime pcNow = pc.now();
    modClock::ClockDifference = nearestSecs(-offsetMs);
    const std::string preSync = vb::LongTime(pcNow.time());
    bool userMode = modClock::User_Mode();
    if (!userMode && !pc.setSystemTime(pcNow.addMSecs(offsetMs))) {
        // Refused (no right to set the clock, or a time service keeps it): the offset carries it.
        modClock::ClockSetRefused = true;
        userMode = true;
    }
    status("");
    if (TLMainState::KeyShiftState == 3) status(raw + " - ");
    if (userMode) {
        modClock::ClockOffsetMs = offsetMs;
        TLMainState::ProgramClockBaseTime = pc.now();
        TLMainState::ProgramClockTickBase = pc.tickMs();
        TLMainState::ClockCheckCount = 0;
        if (run->daytime) status(statusText() + "User Mode - ");
    }
    // The scheduler's ticks fall on the program clock's quarter seconds: they follow the new time.
    TLMainBids::Realign_Scan_Timer();
    const std::string difference = Difference_Text(modClock::ClockDifference);
    status(statusText() + "Clock Set, " + difference);
    const bool manual = TLMainState::ManualClockSet != 0;
    const std::string source = run->daytime ? "NIST Clock Sync" : " eBay Clock Sync";
    modTLMain::Write_Op_Log(std::string(manual ? "M-" : "A-") + source + " - Pre-Sync " + preSync + " - " + difference);
    endRun(slot, run);
}

// Fetches the time page once. The page names whole seconds: when it names N, the service's clock
// read N or later when the page came, and less than N + 1 s when the request left.
void readTimePage(const std::shared_ptr<ClockKeeper::Run>& run,
                  std::function<void(std::optional<TimePageReading>)> then) {
    modWinInet::HttpRequestSpec spec;
    spec.url = std::string("http://") + modTLMain::kTimeHost + modTLMain::kTimePagePath;
    spec.flags = modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody;
    const qint64 sent = pcMs();
    run->page = modWinInet::Start_Http_Request(
        spec, modWinInet::Deadline::at(run->deadline), [run, sent, then = std::move(then)](modWinInet::HttpResult r) {
            if (run->ended) return;
            const qint64 arrived = pcMs();
            if (r.body.empty()) return then(std::nullopt);
            std::string text = modPageParser::Inner_Text(r.body);
            if (modDebug::DebugOutput) {
                std::string name = "PlaineBayTime";
                modDebug::Save_Debug_Page(text, name);
            }
            const auto named = Parse_Time_Page(text);
            if (!named) return then(std::nullopt);
            const qint64 n = named->toMSecsSinceEpoch();
            then(TimePageReading{{n - arrived, n + 1000 - sent}, arrived - sent, vb::GeneralDate(named->toLocalTime())});
        });
}

// Milliseconds from now until a request should leave so that, by the middle of the first
// reading's bounds, the service's second turns half-way through its travel: whichever second the
// page then names, the bounds are halved.
qint64 msToSecondReading(const TimePageReading& first) {
    const qint64 middle = (first.bounds.low + first.bounds.high) / 2;
    const qint64 at = pcMs() + first.travelMs / 2 + middle;
    return ((-at % 1000) + 1000) % 1000;
}

// The bounds both readings allow; when they disagree (the PC clock was changed between them) the
// later reading holds.
OffsetBounds narrowed(const OffsetBounds& first, const OffsetBounds& second) {
    const OffsetBounds both{std::max(first.low, second.low), std::min(first.high, second.high)};
    return both.low < both.high ? both : second;
}

}  // namespace

void ClockKeeper::NISTClock(std::function<void()> done) {
    // One sync at a time: a request during a time-page sync ends with it; during a time-server
    // sync DownloadBusy is held and the request is refused as busy.
    if (m_run && !m_run->daytime) return m_run->done.push_back(std::move(done));
    if (TLMainState::DownloadBusy) {
        status("Busy, Download In Progress....");
        TLMainState::ManualClockSet = 0;
        if (done) done();
        return;
    }
    auto run = std::make_shared<Run>();
    m_run = run;
    run->daytime = true;
    run->done.push_back(std::move(done));
    run->downloadBusyWas = TLMainState::DownloadBusy;
    TLMainState::DownloadBusy = 1;
    run->deadline = platform::clock().tickMs() + kSyncLimitMs;
    if (!TLMainState::MinuteWarningGiven) {
        // No bid is near: the window waits for the sync (a bid's warning leaves it to the user).
        run->holdsWindow = true;
        run->inputWas = ClockPower::windowParts().inputEnabled();
        run->heartbeatWas = ClockPower::windowParts().heartbeatRunning();
        ClockPower::windowParts().setInputEnabled(false);
        ClockPower::windowParts().setHeartbeat(false);
    }
    run->index = std::clamp<int>(TLMainState::TimeServerIndex, 0, modTLMain::kTimeServerCount - 1);
    modClock::ClockSetFailed = 0;

    // Each server is asked once at most, in turn from the first to try. The step holds itself
    // only through the read in flight.
    auto tryServer = std::make_shared<std::function<void()>>();
    *tryServer = [this, run, weakStep = std::weak_ptr<std::function<void()>>(tryServer)] {
        if (run->ended) return;
        // A bid's warning came while the sync ran: the user gets the window back at once.
        if (TLMainState::MinuteWarningGiven) giveWindowBack(*run);
        const qint64 left = remainingMs(*run);
        if (run->tried >= modTLMain::kTimeServerCount || left <= 0) return failRun(m_run, run);
        auto tryServer = weakStep.lock();
        status("Connecting to NIST Server " + std::to_string(run->index + 1));
        const std::string host = modTLMain::TimeServerList[run->index];
        run->read = platform::Start_Daytime_Read(
            host, kDaytimePort, modWinInet::Settings().connectTo, std::min(kServerWaitMs, left),
            [this, run, tryServer](platform::DaytimeResult r) {
                if (run->ended) return;
                const bool answered = !r.error && !r.timedOut && !r.tooLong;
                const auto reading = answered ? Parse_Daytime_Reply(r.data) : std::nullopt;
                if (!reading) {
                    if (answered && r.data.empty()) modTLMain::Write_Op_Log("No NIST Data");
                    run->moved = true;
                    ++run->tried;
                    run->index = (run->index + 1) % modTLMain::kTimeServerCount;
                    return (*tryServer)();
                }
                if (run->moved) {
                    modTLC::Set_Config_Value("Options", "TimeSync", static_cast<long>(run->index));
                    TLMainState::TimeServerIndex = run->index;
                }
                // The server sent its time early by its advance: the time it names is the
                // reference's time that long after the reply came.
                const qint64 referenceMs = reading->utc.toMSecsSinceEpoch();
                const qint64 pcThenMs = r.arrived.toMSecsSinceEpoch() + reading->advanceMs;
                applyReference(m_run, run, referenceMs - pcThenMs, vb::Replace(r.data, "\n", ""));
            });
    };
    (*tryServer)();
}

void ClockKeeper::eBayClock(std::function<void()> done) {
    if (m_run) return m_run->done.push_back(std::move(done));
    auto run = std::make_shared<Run>();
    m_run = run;
    run->daytime = false;
    run->done.push_back(std::move(done));
    run->downloadBusyWas = TLMainState::DownloadBusy;
    run->deadline = platform::clock().tickMs() + kSyncLimitMs;
    modClock::ClockSetFailed = 0;
    status("Retrieving eBay Time Information......");
    readTimePage(run, [this, run](std::optional<TimePageReading> first) {
        if (!first) return failRun(m_run, run);
        // One reading leaves the offset within a second and its travel; a second one, timed
        // from the first, halves that.
        const qint64 delay = msToSecondReading(*first);
        if (delay + first->travelMs >= remainingMs(*run)) return applyReference(m_run, run, first->bounds.low, first->raw);
        run->wait.setInterval(static_cast<int>(std::max<qint64>(1, delay)));
        run->wait.setHandler([this, weak = std::weak_ptr<Run>(run), one = *first] {
            const auto held = weak.lock();
            if (!held || held->ended) return;
            held->wait.setEnabled(false);
            readTimePage(held, [this, held, one](std::optional<TimePageReading> two) {
                const OffsetBounds bounds = two ? narrowed(one.bounds, two->bounds) : one.bounds;
                applyReference(m_run, held, bounds.low, one.raw);
            });
        });
        run->wait.setEnabled(true);
    });
}

ClockKeeper& clockKeeper() {
    static auto* keeper = new ClockKeeper();
    return *keeper;
}

}  // namespace modClockSync
