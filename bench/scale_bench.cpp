// The item list at the sizes the store allows: 1,000, 10,000 and 32,000 items, with the time zone
// read from the system as a real user's is (TZ unset). What each costs: the store's load and save,
// a sort, a grid load, a scheduler tick with 1 % armed, the first tick after a long absence (every
// armed bid missed, saved once), deleting the closed items, and deleting a selection of every row.
// Bounds at 32,000 items: the first tick with missed bids under 50 ms, a grid load under 100 ms,
// a sort under 30 ms, deleting the closed items under 100 ms, deleting every row selected within
// three times the store's load.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <cstdlib>
#include <ctime>
#include <random>

#include "bidding/bid_engine_links.h"
#include "bidding/bid_scheduler.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/delete_items.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_grid_model.h"
#include "items/item_sort.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/test_items.h"
#include "platform/clock.h"
#include "support/scripted_boxes.h"

namespace {

using namespace TLMainItems;

struct Folder {
    Folder() {
        ::unsetenv("TZ");  // as for a real user: the C library looks at the system's zone
        ::tzset();
        modTLMain::DataFolder = dir.path().toStdString() + "/";
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
    }
    QTemporaryDir dir;
};

// n items, half ended; 1 % armed, those ending in the coming hours (or, with `missed`, ended
// while the program was away).
std::vector<AuctionItem> list(int n, bool missed) {
    std::mt19937 rng(5);
    const QDateTime now = platform::clock().now();
    std::vector<AuctionItem> items(1);
    items.reserve(static_cast<size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        AuctionItem a;
        a.ItemNumber = std::to_string(110000000000LL + i);
        a.Title = "Vintage camera lens " + std::to_string(i) + " 50mm f/1.8";
        a.UserID = "buyer1";
        a.Quantity = "1";
        a.AfterBidOptions = "0";
        a.CurrentPrice = "US " + std::to_string(1 + rng() % 900) + ".00";
        const bool armed = i % 100 == 0;
        const int secs = armed ? (missed ? -3600 - static_cast<int>(rng() % 80000) : 3600 + static_cast<int>(rng() % 20000))
                               : (i % 2 ? -static_cast<int>(rng() % 900000) : static_cast<int>(rng() % 900000));
        a.EndTime = End_Time_Text(now.addSecs(secs), i % 2);
        if (armed) {
            a.MaxBid = "25.00";
            a.BidTimeSecs = 10;
        }
        items.push_back(std::move(a));
    }
    return items;
}

void use(const std::vector<AuctionItem>& items) {
    Items = items;
    ItemCount = static_cast<int16_t>(items.size() - 1);
}

void BM_StoreSave(benchmark::State& state) {
    Folder f;
    use(list(static_cast<int>(state.range(0)), false));
    for (auto _ : state) Save_Auction_Items();
}
BENCHMARK(BM_StoreSave)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_StoreLoad(benchmark::State& state) {
    Folder f;
    use(list(static_cast<int>(state.range(0)), false));
    Save_Auction_Items();
    for (auto _ : state) Load_Auction_Items();
}
BENCHMARK(BM_StoreLoad)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
    Folder f;
    const auto items = list(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        state.PauseTiming();
        use(items);
        state.ResumeTiming();
        Sort_Auction_Items(0);
    }
}
BENCHMARK(BM_Sort)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_GridLoad(benchmark::State& state) {
    Folder f;
    use(list(static_cast<int>(state.range(0)), false));
    for (auto _ : state) Load_ItemGrid();
}
BENCHMARK(BM_GridLoad)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_SchedulerTick(benchmark::State& state) {
    Folder f;
    use(list(static_cast<int>(state.range(0)), false));
    TLMainBids::ResetBidEngineForTests();
    TLMainBids::ScanItems_Timer();
    for (auto _ : state) TLMainBids::ScanItems_Timer();
    TLMainBids::ResetBidEngineForTests();
}
BENCHMARK(BM_SchedulerTick)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMicrosecond);

// The missed-bid messages are not what is measured here.
class QuietMessages final : public TLMainBids::BidMessages {
public:
    void Show_Missed_Bid(const std::string&) override {}
};

// The first tick after the program was away past every armed bid: each closed, logged, saved once.
void BM_FirstTickWithMissedBids(benchmark::State& state) {
    Folder f;
    QuietMessages quiet;
    TLMainBids::setBidLink<TLMainBids::BidMessages>(&quiet);
    const auto items = list(static_cast<int>(state.range(0)), true);
    for (auto _ : state) {
        state.PauseTiming();
        use(items);
        TLMainBids::ResetBidEngineForTests();
        state.ResumeTiming();
        TLMainBids::ScanItems_Timer();
    }
    TLMainBids::ResetBidEngineForTests();
    TLMainBids::setBidLink<TLMainBids::BidMessages>(nullptr);
}
BENCHMARK(BM_FirstTickWithMissedBids)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_DeleteClosed(benchmark::State& state) {
    Folder f;
    testsupport::ScriptedMessageBoxes boxes;  // every question answered with its first button
    const auto items = list(static_cast<int>(state.range(0)), false);
    // The user deletes from a list on show: its load has read every item's end already.
    for (const AuctionItem& a : items) End_Moment_Ms(a.EndTime);
    for (auto _ : state) {
        state.PauseTiming();
        use(items);
        state.ResumeTiming();
        MnuSubPopupDeleteClosed_Click();
    }
}
BENCHMARK(BM_DeleteClosed)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

// The user selects every row of the grid and deletes them (Shift+Delete: no question).
void BM_DeleteSelected(benchmark::State& state) {
    Folder f;
    registerItemGrid(&ItemGrid());
    const auto items = list(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        state.PauseTiming();
        use(items);
        Load_ItemGrid();
        ItemGrid().setRow(1);
        ItemGrid().setCol(kColDescription);
        ItemGrid().setRowSel(GridRowCount);
        state.ResumeTiming();
        Delete_Item(1);
        if (ItemCount != 0) state.SkipWithError("rows left");
    }
    registerItemGrid(nullptr);
}
BENCHMARK(BM_DeleteSelected)->Arg(1000)->Arg(10000)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_CORE()
