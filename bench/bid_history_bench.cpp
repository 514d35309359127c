// The bid-history list the hover pops up beside a row. Reading a saved text into rows, over 1 MB
// and 50 MB of well-formed bid lines and 1 MB of bid lines without line ends (one pass: time
// grows with the text). And the whole hover in the main window over files of those sizes: the
// file read, its rows put in the list, the list placed and drawn. Bound: a few milliseconds per
// hover whatever the file's size (only the file's start is read).
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "items/bid_history_view.h"
#include "items/item_grid.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/test_items.h"
#include "mainwindow/tl_main.h"

namespace {

using namespace TLMainItems;

// A bid-history text of about `bytes`: the page's header, then bid lines (CR LF after each, or
// none at all).
std::string historyText(size_t bytes, bool lineEnds) {
    std::string t = "Bid History\r\nBidderBid AmountDate of bid\r\n";
    t.reserve(bytes + 100);
    for (int i = 0; t.size() < bytes; ++i) {
        t += "bidder" + std::to_string(i % 977) + " (" + std::to_string(i % 300) + ") US " +
             std::to_string(10 + i % 5000) + ".50 Jun-01-26 10:" + std::to_string(10 + i % 50) + ":00 PST";
        t += lineEnds ? "\r\n" : " ";
    }
    return t;
}

void BM_ReadBidHistory(benchmark::State& state) {
    const std::string text = historyText(static_cast<size_t>(state.range(0)) << 20, state.range(1) != 0);
    size_t rows = 0;
    for (auto _ : state) rows = Read_Bid_History(text).size();
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.SetLabel(state.range(1) ? "text in memory" : "text in memory, no line ends");
}
BENCHMARK(BM_ReadBidHistory)->Args({1, 1})->Args({50, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

// The main window over a one-item list whose item has a saved bid history of the given size.
struct LoadedWindow {
    LoadedWindow(size_t bytes, bool lineEnds) {
        ::unsetenv("TZ");
        ::tzset();
        modTLMain::DataFolder = dir.path().toStdString() + "/";
        modTLC::Set_Config_Value("Categories", "Cameras", "1");
        Items.assign(1, AuctionItem{});
        ItemCount = 0;
        AuctionItem a;
        a.ItemNumber = "120000000001";
        a.Title = "Vintage camera lens 50mm f/1.8";
        a.EndTime = kNoEndDate;
        a.Category = "Cameras";
        Append_Item(a);
        Save_Auction_Items();
        TLMain& w = TLMain::instance();
        w.Form_Load();
        w.DisplayTime.setEnabled(false);
        w.MouseTimer.setEnabled(false);
        w.ScanItems.setEnabled(false);
        w.resize(1200, 800);
        w.show();
        std::ofstream(modTLMain::DataFolder + "Saved Items/" + a.ItemNumber + "BH.txt", std::ios::binary)
            << historyText(bytes, lineEnds);
        QApplication::processEvents();
    }
    ~LoadedWindow() { TLMain::unloadForTests(); }
    QTemporaryDir dir;
};

void BM_BidHistoryHover(benchmark::State& state) {
    LoadedWindow window(static_cast<size_t>(state.range(0)) << 20, state.range(1) != 0);
    if (GridRowCount != 1) state.SkipWithError("row missing");
    for (auto _ : state) {
        Show_Bid_History(1);
        QApplication::processEvents();  // the list is drawn
        Hide_Bid_History();
    }
    state.counters["rows"] = static_cast<double>(BidHistoryRows.size());
    state.SetLabel(state.range(1) ? "file read, list filled and shown" : "no line ends");
}
BENCHMARK(BM_BidHistoryHover)->Args({1, 1})->Args({50, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_WIDGETS()
