// Cutting a page hand-over apart: a 5 MB page, plain and one whose HTML is full of the
// hand-over's own tags (the reader stays linear either way).
#include <benchmark/benchmark.h>

#include "ieext/hand_over.h"

namespace {

std::string bigHandOver(const std::string& unit) {
    std::string html = "<body>";
    while (html.size() < 5u << 20) html += unit;
    html += "</body>";
    return ieext::Build_Page_Hand_Over({"TLAUCDOC", "-N", "https://www.ebay.com/itm/123456789012", "Blue teapot", html,
                                        "Blue teapot\nItem number: 123456789012"});
}

void BM_ParsePlainPage(benchmark::State& state) {
    const std::string text = bigHandOver("<div class=\"x\">Teapot with a lid, blue &amp; white</div>\n");
    for (auto _ : state) benchmark::DoNotOptimize(ieext::Parse_Page_Hand_Over(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParsePlainPage)->Unit(benchmark::kMillisecond);

void BM_ParsePageFullOfTags(benchmark::State& state) {
    const std::string text = bigHandOver("</IEURL></IETitle><IEHTML></IEHTML><IEText></IE");
    for (auto _ : state) benchmark::DoNotOptimize(ieext::Parse_Page_Hand_Over(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParsePageFullOfTags)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
