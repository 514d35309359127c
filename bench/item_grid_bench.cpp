// The item grid's load of 1,000 items: the rows, cells, pictures and status colours filled from
// the list, alone and with a table view showing the grid (its layout and one paint included).
// Bound: under 50 ms.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QTableView>
#include <random>

#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/test_items.h"
#include "platform/clock.h"

namespace {

using namespace TLMainItems;

// n items of the category on show, with the texts, markers and bids a real list holds.
void fillList(int n) {
    std::mt19937 rng(11);
    const QDateTime now = platform::clock().now();
    Items.assign(1, AuctionItem{});
    for (int i = 1; i <= n; ++i) {
        AuctionItem a;
        a.ItemNumber = std::to_string(110000000000LL + rng() % 900000000000LL);
        a.Title = "Vintage camera lens " + std::to_string(i) + " 50mm f/1.8 with caps, tested and working";
        a.EndTime = i % 50 == 0 ? std::string(kNoEndDate)
                                : End_Time_Text(now.addSecs(static_cast<int>(rng() % 3000000) - 500000), i % 2);
        a.CurrentPrice = "US " + std::to_string(1 + rng() % 2000) + "." + std::to_string(10 + rng() % 90);
        a.BidCount = std::to_string(rng() % 40);
        a.MinBid = "US 1.00";
        a.HighBidder = "bidder" + std::to_string(rng() % 500);
        a.Seller = "seller" + std::to_string(rng() % 900) + " (" + std::to_string(rng() % 5000) + ") 99.5%";
        a.Shipping = i % 4 ? "US 9.95" : "See Listing";
        a.Category = "Cameras";
        a.UserID = "buyer1";
        a.AlarmState = "0";
        a.AfterBidOptions = std::to_string(i % 4);
        a.ReserveFlag = i % 5 == 0;
        if (i % 9 == 0) a.AlarmSetting = "1284";
        if (i % 7 == 0) {
            a.MaxBid = "2,500.00";
            a.BidTimeSecs = 8;
            a.BidGroup = "Group " + std::to_string(rng() % 20);
            a.GroupLock = i % 14 == 0;
        }
        Items.push_back(std::move(a));
    }
    ItemCount = static_cast<int16_t>(n);
    CategoryNames = {"Cameras"};
    CurrentCategoryIndex = 0;
}

// A list of n items and a grid of its own for the routines, for the life of the object.
struct GridOfItems {
    explicit GridOfItems(int n) {
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        fillList(n);
        setItemGridModel(&grid);
        registerItemGrid(&grid);
        Set_Up_Item_Columns();
    }
    ~GridOfItems() {
        registerItemGrid(nullptr);
        setItemGridModel(nullptr);
    }
    ItemGridModel grid;
};

void BM_LoadItemGrid(benchmark::State& state) {
    GridOfItems list(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Load_ItemGrid();
        if (GridRowCount != state.range(0)) state.SkipWithError("rows missing");
    }
    state.SetLabel("model only");
}
BENCHMARK(BM_LoadItemGrid)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_LoadItemGridShown(benchmark::State& state) {
    GridOfItems list(static_cast<int>(state.range(0)));
    QTableView view;
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(16);
    view.setModel(&list.grid);
    view.resize(1000, 600);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        Load_ItemGrid();
        QApplication::processEvents();  // the view lays itself out and paints once
    }
    state.SetLabel("with a table view, painted");
}
BENCHMARK(BM_LoadItemGridShown)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_WIDGETS()
