// One tick of the main window's heartbeat with 1,000 and 32,000 items in the grid: the time-left
// column (a cell written only when its seconds change), the clock, the count-downs and the
// clipboard watch. Bounds: under 1 ms a tick at 32,000 items (model only), well under 10 ms with
// the window painting what changed. Also the main window's load over an empty list and over the
// same lists (the start-up the user waits for: within 0.2 s of the empty list's at 32,000), with
// the time zone read from the system as a real user's is (TZ unset).
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <cstdlib>
#include <ctime>
#include <random>

#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/item_grid.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "mainwindow/tl_main.h"
#include "platform/clock.h"

namespace {

using namespace TLMainItems;

// A clock the benchmark moves one second a tick.
class SteppedClock final : public platform::Clock {
public:
    QDateTime now() const override { return m_now.addMSecs(m_tick); }
    qint64 tickMs() const override { return m_tick; }
    bool setSystemTime(const QDateTime&) override { return false; }
    void step() { m_tick += 1000; }

private:
    QDateTime m_now = QDateTime(QDate(2026, 6, 1), QTime(12, 0));
    qint64 m_tick = 0;
};

// n items of one category, ending over the next three weeks, a few within the hour (their
// seconds change every tick) and some already ended.
void fillList(int n, const QDateTime& base) {
    std::mt19937 rng(11);
    Items.assign(1, AuctionItem{});
    ItemCount = 0;
    for (int i = 1; i <= n; ++i) {
        AuctionItem a;
        a.ItemNumber = std::to_string(120000000000LL + i);
        a.Title = "Vintage camera lens " + std::to_string(i) + " 50mm f/1.8 with caps";
        const int secs = i % 20 == 0 ? static_cast<int>(rng() % 3600) : static_cast<int>(rng() % 1800000) - 60000;
        a.EndTime = End_Time_Text(base.addSecs(secs), i % 2);
        a.CurrentPrice = "US 12.50";
        a.BidCount = "4";
        a.Seller = "seller (120) 99.1%";
        a.Category = "Cameras";
        a.UserID = "buyer1";
        a.AfterBidOptions = "0";
        Append_Item(a);
    }
}

void useSystemZone() {
    ::unsetenv("TZ");
    ::tzset();
}

struct LoadedWindow {
    explicit LoadedWindow(int n, bool shown) {
        useSystemZone();
        platform::setClockForTests(&clock);
        modTLMain::DataFolder = dir.path().toStdString() + "/";
        modTLC::Set_Config_Value("Categories", "Cameras", "1");
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        fillList(n, clock.now());
        Save_Auction_Items();
        TLMain& w = TLMain::instance();
        w.Form_Load();
        w.DisplayTime.setEnabled(false);
        w.MouseTimer.setEnabled(false);
        if (shown) {
            w.resize(1200, 800);
            w.show();
        }
        w.DisplayTime_Timer();  // the first tick's start-up duties
        w.ScanItems.setEnabled(false);
        QApplication::processEvents();
    }
    ~LoadedWindow() {
        TLMain::unloadForTests();
        platform::setClockForTests(nullptr);
    }
    QTemporaryDir dir;
    SteppedClock clock;
};

void BM_HeartbeatTick(benchmark::State& state) {
    LoadedWindow window(static_cast<int>(state.range(0)), false);
    TLMain& w = TLMain::instance();
    if (GridRowCount != state.range(0)) state.SkipWithError("rows missing");
    for (auto _ : state) {
        window.clock.step();
        w.DisplayTime_Timer();
    }
    state.SetLabel("model only");
}
BENCHMARK(BM_HeartbeatTick)->Arg(1000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_HeartbeatTickShown(benchmark::State& state) {
    LoadedWindow window(static_cast<int>(state.range(0)), true);
    TLMain& w = TLMain::instance();
    for (auto _ : state) {
        window.clock.step();
        w.DisplayTime_Timer();
        QApplication::processEvents();  // the window paints the cells that changed
    }
    state.SetLabel("window shown, painted");
}
BENCHMARK(BM_HeartbeatTickShown)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MainWindowLoad(benchmark::State& state) {
    useSystemZone();
    QTemporaryDir dir;
    SteppedClock clock;
    platform::setClockForTests(&clock);
    modTLMain::DataFolder = dir.path().toStdString() + "/";
    modTLC::Set_Config_Value("Categories", "Cameras", "1");
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    fillList(static_cast<int>(state.range(0)), clock.now());
    Save_Auction_Items();
    for (auto _ : state) {
        TLMain::instance().Form_Load();
        state.PauseTiming();
        if (GridRowCount != state.range(0)) state.SkipWithError("rows missing");
        TLMain::unloadForTests();
        state.ResumeTiming();
    }
    platform::setClockForTests(nullptr);
    state.SetLabel("items read, grid filled");
}
BENCHMARK(BM_MainWindowLoad)->Arg(0)->Arg(1000)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_WIDGETS()
