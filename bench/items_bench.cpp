// The item store and the item sort on lists of realistic items: saving (the whole safe write, the
// encoding alone, and the disk sync alone), loading, and sorting 10,000 items by each key.
// Bounds: a save of 1,000 items in a few milliseconds; a sort of 10,000 items under 50 ms.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/item_sort.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/test_items.h"

namespace {

using namespace TLMainItems;

// A list of n items with the texts a real list holds: titles, end times over the next weeks and
// the past days, prices, sellers, shipping, some comments and bid groups.
std::vector<AuctionItem> realisticItems(int n) {
    std::mt19937 rng(7);
    const QDateTime base(QDate(2026, 6, 1), QTime(12, 0));
    const char* shipping[] = {"US 9.95", "Free", "See Listing", "US 12.00", "", "GBP 4.50"};
    std::vector<AuctionItem> items(1);
    items.reserve(static_cast<size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        AuctionItem a;
        a.ItemNumber = std::to_string(110000000000LL + rng() % 900000000000LL);
        a.Title = "Vintage camera lens " + std::to_string(i) + " 50mm f/1.8 with caps, tested and working";
        a.EndTime = rng() % 50 == 0 ? std::string(kNoEndDate)
                                    : End_Time_Text(base.addSecs(static_cast<int>(rng() % 3000000) - 500000), i % 2);
        a.CurrentPrice = "US " + std::to_string(1 + rng() % 2000) + "." + std::to_string(10 + rng() % 90);
        a.BidCount = std::to_string(rng() % 40);
        a.MinBid = "US 1.00";
        a.HighBidder = "bidder" + std::to_string(rng() % 500);
        a.Seller = "seller" + std::to_string(rng() % 900) + " (" + std::to_string(rng() % 5000) + ") " +
                   std::to_string(90 + rng() % 10) + "." + std::to_string(rng() % 10) + "%";
        if (i % 10 == 0) a.CommentText = "Check the scratches on the front element before bidding.";
        a.Shipping = shipping[rng() % 6];
        a.Category = i % 3 ? "Cameras" : "Lenses";
        a.UserID = "buyer1";
        a.AlarmState = "0";
        a.Quantity = "1";
        a.AfterBidOptions = "0";
        if (i % 7 == 0) {
            a.MaxBid = "2,500.00";
            a.BidTimeSecs = 8;
            a.BidGroup = "Group " + std::to_string(rng() % 20);
        }
        items.push_back(std::move(a));
    }
    return items;
}

void useList(const std::vector<AuctionItem>& items) {
    Items = items;
    ItemCount = static_cast<int16_t>(items.size() - 1);
}

struct DataFolder {
    DataFolder() { modTLMain::DataFolder = dir.path().toStdString() + "/"; }
    QTemporaryDir dir;
};

void BM_ItemStoreSave(benchmark::State& state) {
    DataFolder folder;
    useList(realisticItems(static_cast<int>(state.range(0))));
    for (auto _ : state)
        if (!Save_Auction_Items()) state.SkipWithError("save failed");
    state.SetLabel("safe write with sync");
}
BENCHMARK(BM_ItemStoreSave)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ItemStoreEncode(benchmark::State& state) {
    useList(realisticItems(static_cast<int>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(Item_Store_Bytes());
}
BENCHMARK(BM_ItemStoreEncode)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The disk sync of a save alone: the file is written first (not timed), then synced.
void BM_ItemStoreSyncOnly(benchmark::State& state) {
    DataFolder folder;
    useList(realisticItems(static_cast<int>(state.range(0))));
    const std::string bytes = Item_Store_Bytes();
    const std::string path = modTLMain::DataFolder + "sync-test.dat";
    for (auto _ : state) {
        state.PauseTiming();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("write failed");
            break;
        }
        state.ResumeTiming();
        ::fsync(fd);
        state.PauseTiming();
        ::close(fd);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ItemStoreSyncOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ItemStoreLoad(benchmark::State& state) {
    DataFolder folder;
    useList(realisticItems(static_cast<int>(state.range(0))));
    Save_Auction_Items();
    for (auto _ : state) {
        Load_Auction_Items();
        if (ItemCount != state.range(0)) state.SkipWithError("load lost items");
    }
}
BENCHMARK(BM_ItemStoreLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SortItems(benchmark::State& state) {
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    const auto list = realisticItems(10000);
    const int key = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        useList(list);
        state.ResumeTiming();
        Sort_Auction_Items(key);
    }
    state.SetLabel(kSortCaptions[key]);
}
BENCHMARK(BM_SortItems)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_CORE()
