// clock_sync.h — keeps the program's "now" in step with an outside reference: a public time
// server spoken to over the daytime protocol (TCP port 13), or the service's own time page.
//
// SetSysClock is started: it returns at once and runs its continuation when the sync has ended,
// set or not, within 15 seconds in all. A sync from the time servers holds DownloadBusy, keeps the
// user's input off and the heartbeat stopped while it runs, and gives each back as it found it;
// while a bid's one-minute warning stands it leaves the window as it is. Where the program may not
// set the PC clock (modClock::User_Mode, or the system refused the setting) it keeps an offset to
// the millisecond instead. A daytime reply gives the offset from its advance and the moment it
// came; the time page names whole seconds, so the offset kept is the least the page allows (a bid
// is never early by the service's clock), narrowed by a second reading timed from the first.
#pragma once

#include <QDateTime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "bidding/bid_engine_links.h"

namespace modClockSync {

// What a daytime server said, read whole: the time (UTC) and the advance (whole milliseconds) by
// which the server sent it early. Nothing when the reply is not a healthy answer of the published
// form ("JJJJJ YY-MM-DD HH:MM:SS TT L H msADV UTC(NIST) *", blanks and line ends around it) with a
// date that agrees with its day number, or is longer than a daytime answer can be.
struct DaytimeReading {
    QDateTime utc;
    int advanceMs = 0;
};
std::optional<DaytimeReading> Parse_Daytime_Reply(const std::string& reply);

// The time of the service's time page, as UTC, from its plain text ("Tuesday, December 09, 2026
// 00:22:49 PST"); nothing when the page does not tell it.
std::optional<QDateTime> Parse_Time_Page(const std::string& text);

// The difference text of a sync: "0 Seconds Difference.", "7 Seconds Ahead.", "7 Seconds Behind."
// (difference = PC minus reference).
std::string Difference_Text(long difference);

// How long a sync may take in all, and how long one time server has to answer.
inline constexpr qint64 kSyncLimitMs = 15000;
inline constexpr qint64 kServerWaitMs = 4000;

// The clock keeper: the program's ClockSync duty.
class ClockKeeper final : public TLMainBids::ClockSync {
public:
    ClockKeeper();
    ~ClockKeeper() override;
    // [Options] TimeSyncOpt "0": the time servers; "1": the service's time page; else nothing.
    void SetSysClock(std::function<void()> done = {}) override;
    void NISTClock(std::function<void()> done);
    void eBayClock(std::function<void()> done);
    bool running() const;

    struct Run;  // a sync in progress

private:
    std::shared_ptr<Run> m_run;
};

// The program's one clock keeper (it takes on the ClockSync duty when the program registers it).
ClockKeeper& clockKeeper();

}  // namespace modClockSync
