// Inflating gzip pages and checking a downloaded program file: the two bulk byte jobs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "foundation/ex_events.h"
#include "foundation/zlib_codec.h"

namespace {

std::string pageText(size_t n) {
    std::string s;
    while (s.size() < n) s += "<tr><td class=\"bid\">US $1,234.56</td><td>seller (152) 99.8%</td></tr>\r\n";
    s.resize(n);
    return s;
}

void BM_UncompressGzipPage(benchmark::State& state) {
    ZLIB z;
    std::string body = pageText(static_cast<size_t>(state.range(0)));
    z.CompressString(body, ZLIB::kGzipFormat);
    for (auto _ : state) {
        std::string data = body;
        benchmark::DoNotOptimize(z.UncompressString(data, ZLIB::kGzipFormat));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UncompressGzipPage)->Arg(70'000)->Arg(1'000'000);

void BM_AdlerOfDownloadedFile(benchmark::State& state) {
    ExEvents e;
    const std::vector<unsigned char> file(static_cast<size_t>(state.range(0)), 0xA5);
    long result = 0;
    for (auto _ : state) benchmark::DoNotOptimize(e.ADAL(0, file, static_cast<double>(file.size() - 1), result));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AdlerOfDownloadedFile)->Arg(4'000'000);

}  // namespace

BENCHMARK_MAIN();
