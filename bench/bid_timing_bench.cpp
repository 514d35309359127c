// Bids against the local fake service on the real clock and the real timers: several items with
// staggered ends and bid times, validated and placed by the scheduler in one run of about two
// minutes. For each item the AcceptBid's arrival is measured against the start of its bid second
// (the second in which the seconds left first equal its bid time).
// Goal: every arrival inside its second (0 <= offset < 1000 ms); reported: best, median, mean and
// worst offset.
//
// The second run does the same where the program may not set the PC clock and the fake service's
// clock runs 7.4 s ahead of the PC's: the program takes its offset from a fake time server
// (road 0) or from the fake service's time page (road 1) at each bid's one-minute warning, and
// each arrival is measured against the bid second by the service's clock.
// Goal: inside the second on both roads, within 100 ms of its start from the time server.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

#include "bidding/bid_engine_links.h"
#include "bidding/bid_scheduler.h"
#include "bidding/deferred_requests.h"
#include "clockpower/clock_sync.h"
#include "fake_bid_pages.h"
#include "fake_service.h"
#include "fake_service_time.h"
#include "foundation/clock_state.h"
#include "foundation/system_info.h"
#include "service/national_sites.h"
#include "fake_signin.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace {

using Steady = std::chrono::steady_clock;

// Nobody reads a missed-bid message here.
class QuietMessages final : public TLMainBids::BidMessages {
public:
    void Show_Missed_Bid(const std::string&) override {}
};

// Bids over a span of the real clock: `items` items with ends spread from 40 seconds on, bid times
// from 3 to 10 seconds, ends and bid seconds by a service clock `aheadMs` ahead of the PC clock.
// The counters tell how far into its bid second each AcceptBid arrived.
void runBidSeconds(benchmark::State& state, int items, int spanSecs, qint64 aheadMs,
                   const std::function<void(testsupport::FakeService&)>& reference = {}) {
    testsupport::TempDataFolder data;
    testsupport::FakeService fake;
    modTLMain::DataFolder = data.dataFolder();
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
    modWinInet::ResetForTests();
    fake.useForClient();
    testsupport::FakeSignIn::install(fake, testsupport::SignInAnswer::MemberPages);
    testsupport::BidPages pages(fake);
    modTLC::Set_Config_Value("Users", "bob", "pw");
    modTLC::Set_Config_Value("Options", "ClockSet", reference ? "1" : "0");
    if (reference) reference(fake);
    QuietMessages quiet;
    TLMainBids::setBidLink<TLMainBids::BidMessages>(&quiet);
    TLMainBids::ResetBidEngineForTests();
    TLMainItems::ResetItemStoreForTests();

    const qint64 serviceNow = platform::clock().now().toMSecsSinceEpoch() + aheadMs;
    const Steady::time_point steadyNow = Steady::now();
    std::vector<Steady::time_point> targets;
    for (int k = 0; k < items; ++k) {
        TLMainItems::AuctionItem a;
        a.ItemNumber = std::to_string(110000000001LL + k);
        a.UserID = "bob";
        a.MaxBid = "12.50";
        a.Quantity = "1";
        a.BidTimeSecs = 3 + k % 8;
        const qint64 endMs = (serviceNow / 1000 + 40 + (spanSecs - 50) * k / std::max(1, items - 1)) * 1000;
        a.EndTime = TLMainItems::End_Time_Text(QDateTime::fromMSecsSinceEpoch(endMs), false);
        TLMainItems::Append_Item(a);
        const qint64 bidSecondMs = endMs - static_cast<qint64>(a.BidTimeSecs) * 1000;
        targets.push_back(steadyNow + std::chrono::milliseconds(bidSecondMs - serviceNow));
    }

    platform::Timer scanItems, requestHandler;
    TLMainBids::Attach_Bid_Timers(&scanItems, &requestHandler);
    TLMainBids::Enable_Bid_Scheduler();
    QElapsedTimer run;
    run.start();
    while (run.elapsed() < static_cast<qint64>(spanSecs) * 1000) {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    TLMainBids::Detach_Bid_Timers();

    int inside = 0, sent = 0;
    double worst = 0, sum = 0;
    std::vector<double> offsets;
    for (int k = 0; k < items; ++k) {
        const auto bids = pages.acceptBidRequests(std::to_string(110000000001LL + k));
        if (bids.empty()) continue;
        ++sent;
        const double offset = std::chrono::duration<double, std::milli>(bids.front().arrival - targets[static_cast<size_t>(k)]).count();
        inside += offset >= 0 && offset < 1000;
        worst = std::max(worst, std::abs(offset));
        sum += offset;
        offsets.push_back(offset);
    }
    std::sort(offsets.begin(), offsets.end());
    state.counters["items"] = items;
    state.counters["sent"] = sent;
    state.counters["inside_second"] = inside;
    state.counters["worst_offset_ms"] = worst;
    state.counters["mean_offset_ms"] = sent ? sum / sent : 0;
    state.counters["median_offset_ms"] = offsets.empty() ? 0 : offsets[offsets.size() / 2];
    state.counters["best_offset_ms"] = offsets.empty() ? 0 : offsets.front();
    TLMainBids::setBidLink<TLMainBids::BidMessages>(nullptr);
    TLMainBids::ResetBidEngineForTests();
    TLMainItems::ResetItemStoreForTests();
}

void BM_BidSecondOnTheRealClock(benchmark::State& state) {
    for (auto _ : state) runBidSeconds(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0);
}
BENCHMARK(BM_BidSecondOnTheRealClock)->Args({8, 120})->Iterations(1)->Unit(benchmark::kSecond);


// The service's clock 7.4 s ahead and no right to set the PC clock: the offset comes from the
// reference of road state.range(2) (0: a time server, 1: the time page) at each one-minute warning.
void BM_BidSecondWithTheServiceClockAhead(benchmark::State& state) {
    constexpr qint64 kAheadMs = 7400;
    const bool timePage = state.range(2) == 1;
    for (auto _ : state) {
        const long majorWas = modWinInfo::OSMajorVersion;
        const long elevationWas = modTLMain::TokenElevationType;
        modWinInfo::OSMajorVersion = 6;  // the program may not set the PC clock
        modTLMain::TokenElevationType = 3;
        modClock::ClockOffsetMs = 0;
        testsupport::FakeDaytimeServer daytime;
        daytime.setDefault(testsupport::DaytimeAnswer::replyMade(
            [] { return testsupport::Daytime_Reply_At(QDateTime::currentMSecsSinceEpoch() + kAheadMs); }));
        TLMainBids::setBidLink<TLMainBids::ClockSync>(&modClockSync::clockKeeper());
        runBidSeconds(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), kAheadMs,
                      [&](testsupport::FakeService& fake) {
                          modTLC::Set_Config_Value("Options", "TimeSyncOpt", timePage ? "1" : "0");
                          daytime.useForClient();
                          fake.handle(modTLMain::kTimeHost, "GET", modTLMain::kTimePagePath, [](const testsupport::RecordedRequest&) {
                              const QDateTime pacific = QDateTime::fromMSecsSinceEpoch(
                                  QDateTime::currentMSecsSinceEpoch() + kAheadMs, Qt::UTC).addSecs(-8 * 3600);
                              return testsupport::ScriptedResponse::ok(testsupport::Time_Page_Html(
                                  QDateTime(pacific.date(), pacific.time(), Qt::UTC), false));
                          });
                      });
        state.counters["clock_offset_ms"] = static_cast<double>(modClock::ClockOffsetMs);
        TLMainBids::setBidLink<TLMainBids::ClockSync>(nullptr);
        modClock::ClockOffsetMs = 0;
        modWinInfo::OSMajorVersion = majorWas;
        modTLMain::TokenElevationType = elevationWas;
    }
}
BENCHMARK(BM_BidSecondWithTheServiceClockAhead)->Args({6, 90, 0})->Args({6, 90, 1})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_CORE()
