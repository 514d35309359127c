// The maintenance commands over a large list: the item-list export, the print layout and the
// problem report's analysis and hex block of 10,000 items.
#include <benchmark/benchmark.h>

#include "items/auction_item.h"
#include "maintenance/item_list_export.h"
#include "maintenance/item_printing.h"
#include "maintenance/program_update.h"
#include "maintenance/report_problem.h"
#include "platform/file_names.h"
#include "support/recording_print_device.h"

namespace {

void fillItems(int count) {
    TLMainItems::Items.assign(1, TLMainItems::AuctionItem{});
    for (int i = 1; i <= count; ++i) {
        TLMainItems::AuctionItem it;
        it.ItemNumber = std::to_string(100000000 + i);
        it.Title = "A fairly long item title number " + std::to_string(i) + " with a few words";
        it.EndTime = "06/01/2026 13:00:00";
        it.CurrentPrice = "US $12.50";
        it.BidCount = "3";
        it.HighBidder = "b***r";
        it.Seller = "seller (120) 99.5%";
        it.Category = "Category " + std::to_string(i % 12);
        it.UserID = "alice";
        it.BidTimeSecs = i % 3 == 0 ? 8 : 0;
        TLMainItems::Items.push_back(it);
    }
    TLMainItems::ItemCount = static_cast<int16_t>(count);
}

void BM_ExportTabList(benchmark::State& state) {
    fillItems(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(Maintenance::Item_List_Text(true, false, ""));
}
BENCHMARK(BM_ExportTabList)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PrintLayout(benchmark::State& state) {
    fillItems(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        testsupport::RecordingPrintDevice device;
        Maintenance::Print_To(device, Maintenance::PrintChoice::All);
        benchmark::DoNotOptimize(device.texts.size());
    }
}
BENCHMARK(BM_PrintLayout)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReportAnalysisAndHexBlock(benchmark::State& state) {
    fillItems(static_cast<int>(state.range(0)));
    const std::string list = Maintenance::Item_List_Text(false, false, "");
    for (auto _ : state) {
        benchmark::DoNotOptimize(modReportProblem::Get_Report_DataAnalysis());
        benchmark::DoNotOptimize(modReportProblem::Hex_Block(list));
    }
}
BENCHMARK(BM_ReportAnalysisAndHexBlock)->Arg(10000)->Unit(benchmark::kMillisecond);

// The update information's reader on 1 MB shapes: line breaks only, a whole information followed
// by line breaks, and one long line after the checksum.
void BM_ReadUpdateInfo(benchmark::State& state) {
    std::string crlf;
    for (size_t i = 0; i < (1u << 19); ++i) crlf += "\r\n";
    const std::string whole = std::string("0A1B2C3D\r\n10\r\n1\r\n10\r\n") + platform::kDownloadedProgramFile + "\r\n";
    const char* labels[] = {"line breaks", "information then line breaks", "one long line"};
    const std::string texts[] = {crlf, whole + crlf, "0A1B2C3D\r\n" + std::string(1 << 20, '7')};
    const std::string& text = texts[state.range(0)];
    state.SetLabel(labels[state.range(0)]);
    Maintenance::UpdateInfo info;
    for (auto _ : state) benchmark::DoNotOptimize(Maintenance::Read_Update_Info(text, info));
}
BENCHMARK(BM_ReadUpdateInfo)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
