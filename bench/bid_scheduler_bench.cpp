// One tick of the bid scheduler over a large list: 10,000 items of which 100 are armed, none
// near its bid, with the end times already read (they are read again only when they change).
// Bound: well under 1 ms a tick (it runs four times a second).
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <random>

#include "bidding/bid_scheduler.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "platform/clock.h"

namespace {

using namespace TLMainItems;

void fillList(int count, int armed) {
    ResetItemStoreForTests();
    std::mt19937 rng(11);
    const QDateTime now = platform::clock().now();
    const char* finished[] = {"", "", "", "Completed", "Item Closed", "OutBid"};
    for (int i = 1; i <= count; ++i) {
        AuctionItem a;
        a.ItemNumber = std::to_string(110000000000LL + i);
        a.Title = "Vintage camera lens " + std::to_string(i);
        a.UserID = "buyer1";
        a.Quantity = "1";
        a.AfterBidOptions = "0";
        a.EndTime = End_Time_Text(now.addSecs(3600 + static_cast<int>(rng() % 600000)), i % 2);
        a.BidStatus = finished[rng() % 6];
        if (i % (count / armed) == 0) {
            a.MaxBid = "25.00";
            a.BidTimeSecs = 10;
            a.BidStatus.clear();
        }
        Append_Item(a);
    }
}

void BM_SchedulerTick(benchmark::State& state) {
    QTemporaryDir dir;
    modTLMain::DataFolder = dir.path().toStdString() + "/";
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    fillList(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TLMainBids::ResetBidEngineForTests();
    TLMainBids::ScanItems_Timer();  // the first tick reads every end time once
    for (auto _ : state) TLMainBids::ScanItems_Timer();
    state.counters["items"] = static_cast<double>(ItemCount);
    TLMainBids::ResetBidEngineForTests();
    ResetItemStoreForTests();
}
BENCHMARK(BM_SchedulerTick)->Args({10000, 100})->Args({1000, 10})->Unit(benchmark::kMicrosecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_CORE()
