#include "clockpower/clock_sync.h"

#include <QTimeZone>
#include <algorithm>
#include <limits>
#include <regex>
#include <vector>

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

long long wholeSecs(qint64 ms) { return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000); }

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

std::optional<DaytimeReading> Parse_Daytime_Reply(const std::string& reply) {
    static const std::regex form(
        R"(^\s*(\d{5}) (\d{2})-(\d{2})-(\d{2}) (\d{2}):(\d{2}):(\d{2}) (\d{2}) (\d) (\d) +(\d{1,4})\.(\d) UTC\(NIST\) \*\s*$)");
    std::smatch m;
    if (!std::regex_match(reply, m, form)) return std::nullopt;
    auto n = [&](int i) { return std::stoi(m[i].str()); };
    if (n(10) != 0) return std::nullopt;  // the server's health: 0 = healthy
    const QDate date(2000 + n(2), n(3), n(4));
    const QTime time(n(5), n(6), n(7));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    if (QDate(1970, 1, 1).addDays(std::stoll(m[1].str()) - kMjdOfEpoch) != date) return std::nullopt;
    return DaytimeReading{QDateTime(date, time, Qt::UTC), n(11)};
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
    // The bound of a sync during a bid's one-minute warning (tick ms), 0 = none.
    qint64 startTick = 0;
    qint64 deadline = 0;
    platform::DaytimeRead read;
    modWinInet::HttpRequest page;
    platform::Timer advance;
    bool ended = false;
};

namespace {

qint64 remainingMs(const ClockKeeper::Run& r) {
    return r.deadline ? r.deadline - platform::clock().tickMs() : std::numeric_limits<qint64>::max();
}

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

// The end of a sync, whichever way: the window, the heartbeat and the busy flag as they were,
// ManualClockSet cleared, every waiting continuation run.
void endRun(std::shared_ptr<ClockKeeper::Run>& slot, const std::shared_ptr<ClockKeeper::Run>& run) {
    if (run->ended) return;
    run->ended = true;
    run->advance.setEnabled(false);
    if (run->holdsWindow) {
        ClockPower::windowParts().setInputEnabled(run->inputWas);
        ClockPower::windowParts().setHeartbeat(run->heartbeatWas);
    }
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

// Sets the PC clock, or the program's offset, from the reference (UTC); `raw` is what the status
// line shows first while Shift and Ctrl are held.
void applyReference(std::shared_ptr<ClockKeeper::Run>& slot, const std::shared_ptr<ClockKeeper::Run>& run,
                    const QDateTime& reference, const std::string& raw) {
    platform::Clock& pc = platform::clock();
    const QDateTime pcNow = pc.now();
    const long long pcSecs = wholeSecs(pcNow.toMSecsSinceEpoch());
    const long long refSecs = wholeSecs(reference.toMSecsSinceEpoch());
    modClock::ClockDifference = static_cast<long>(pcSecs - refSecs);
    const std::string preSync = vb::LongTime(pcNow.time());
    bool userMode = modClock::User_Mode();
    if (!userMode && !pc.setSystemTime(reference.toLocalTime())) {
        // Refused (no right to set the clock, or a time service keeps it): the offset carries it.
        modClock::ClockSetRefused = true;
        userMode = true;
    }
    status("");
    if (TLMainState::KeyShiftState == 3) status(raw + " - ");
    if (userMode) {
        // A difference within a second either way is the reading's own error: no offset for it.
        modClock::ClockOffset = std::labs(modClock::ClockDifference) <= 1 ? 0 : -modClock::ClockDifference;
        TLMainState::ProgramClockBaseTime = pc.now();
        TLMainState::ProgramClockTickBase = pc.tickMs();
        TLMainState::ClockCheckCount = 0;
        if (run->daytime) status(statusText() + "User Mode - ");
    }
    const std::string difference = Difference_Text(modClock::ClockDifference);
    status(statusText() + "Clock Set, " + difference);
    const bool manual = TLMainState::ManualClockSet != 0;
    const std::string source = run->daytime ? "NIST Clock Sync" : " eBay Clock Sync";
    modTLMain::Write_Op_Log(std::string(manual ? "M-" : "A-") + source + " - Pre-Sync " + preSync + " - " + difference);
    endRun(slot, run);
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
    run->startTick = platform::clock().tickMs();
    if (TLMainState::MinuteWarningGiven) {
        // A bid is near: the sync must be over in time for its validation, and the user keeps the window.
        run->deadline = run->startTick + kWarningSyncMs;
    } else {
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
        if (TLMainState::MinuteWarningGiven && !run->deadline) {
            // A bid's warning came while the sync ran: it is bounded from its start, and the user
            // gets the window back at once.
            run->deadline = run->startTick + kWarningSyncMs;
            if (run->holdsWindow) {
                run->holdsWindow = false;
                ClockPower::windowParts().setInputEnabled(run->inputWas);
                ClockPower::windowParts().setHeartbeat(run->heartbeatWas);
            }
        }
        const qint64 left = remainingMs(*run);
        if (run->tried >= modTLMain::kTimeServerCount || left <= 0) return failRun(m_run, run);
        auto tryServer = weakStep.lock();
        status("Connecting to NIST Server " + std::to_string(run->index + 1));
        const std::string host = modTLMain::TimeServerList[run->index];
        run->read = platform::Start_Daytime_Read(
            host, kDaytimePort, modWinInet::Settings().connectTo, std::min(kServerWaitMs, left),
            [this, run, tryServer](platform::DaytimeResult r) {
                if (run->ended) return;
                const auto reading = (r.error || r.timedOut) ? std::nullopt : Parse_Daytime_Reply(r.data);
                if (!reading) {
                    if (!r.error && !r.timedOut && r.data.empty()) modTLMain::Write_Op_Log("No NIST Data");
                    run->moved = true;
                    ++run->tried;
                    run->index = (run->index + 1) % modTLMain::kTimeServerCount;
                    return (*tryServer)();
                }
                if (run->moved) {
                    modTLC::Set_Config_Value("Options", "TimeSync", static_cast<long>(run->index));
                    TLMainState::TimeServerIndex = run->index;
                }
                std::string raw = vb::Replace(r.data, "\n", "");
                const QDateTime reference = reading->utc;
                if (reading->advanceMs <= 0) return applyReference(m_run, run, reference, raw);
                // The server sent its time early by its advance: wait that long before it is right.
                // The sync holds itself meanwhile (m_run); the timer only looks it up.
                run->advance.setInterval(reading->advanceMs);
                run->advance.setHandler([this, weak = std::weak_ptr<Run>(run), reference, raw] {
                    const auto held = weak.lock();
                    if (!held || held->ended) return;
                    held->advance.setEnabled(false);
                    applyReference(m_run, held, reference, raw);
                });
                run->advance.setEnabled(true);
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
    if (TLMainState::MinuteWarningGiven) run->deadline = platform::clock().tickMs() + kWarningSyncMs;
    modClock::ClockSetFailed = 0;
    status("Retrieving eBay Time Information......");
    modWinInet::HttpRequestSpec spec;
    spec.url = std::string("http://") + modTLMain::kTimeHost + modTLMain::kTimePagePath;
    spec.flags = modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody;
    const auto deadline = run->deadline ? modWinInet::Deadline::at(run->deadline) : modWinInet::Deadline::none();
    run->page = modWinInet::Start_Http_Request(spec, deadline, [this, run](modWinInet::HttpResult r) {
        if (run->ended) return;
        if (r.body.empty()) return failRun(m_run, run);
        std::string text = modPageParser::Inner_Text(r.body);
        if (modDebug::DebugOutput) {
            std::string name = "PlaineBayTime";
            modDebug::Save_Debug_Page(text, name);
        }
        const auto reference = Parse_Time_Page(text);
        if (!reference) return failRun(m_run, run);
        applyReference(m_run, run, *reference, vb::GeneralDate(reference->toLocalTime()));
    });
}

ClockKeeper& clockKeeper() {
    static auto* keeper = new ClockKeeper();
    return *keeper;
}

}  // namespace modClockSync
