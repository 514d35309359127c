// The cookie jar before a bid's sign-in: storing a response's 50 cookies (in memory, and with the
// one file write that follows), and the Cookie header of a user with 50 cookies.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "foundation/startup.h"
#include "service/cookie_jar.h"
#include "service/private_profile.h"

namespace {

// A sign-in answer with 50 cookies (10 of them with an expiry date); `round` changes every value.
std::string responseWith50(int round) {
    std::string h = "HTTP/1.1 302 Found\r\nDate: Mon, 01 Jun 2026 12:00:00 GMT\r\nLocation: http://my.ebay.com/\r\n";
    for (int i = 0; i < 50; ++i) {
        h += "Set-Cookie: cookie" + std::to_string(i) + "=" + std::to_string(round) + std::string(40, 'v');
        if (i % 5 == 0) h += "; Expires=Wed, 09-Jun-2027 10:18:14 GMT";
        h += "; domain=.ebay.com; path=/\r\n";
    }
    return h + "Content-Length: 0\r\n\r\n";
}

// A jar in a throw-away data folder that already holds two other users' cookies.
struct JarFolder {
    QTemporaryDir dir;
    JarFolder() {
        modTLMain::DataFolder = dir.path().toStdString() + "/";
        modWinInet::Reset_Cookie_Jar_For_Tests();
        modWinInet::Store_Cookies(responseWith50(7), "bob");
        modWinInet::Store_Cookies(responseWith50(8), "carol");
    }
};

void BM_StoreCookiesInMemory(benchmark::State& state) {
    const std::string answers[2] = {responseWith50(1), responseWith50(2)};
    modPrivateProfile::Profile jar;
    modWinInet::Take_Set_Cookies(jar, responseWith50(7), "bob");
    modWinInet::Take_Set_Cookies(jar, answers[1], "alice");
    int round = 0;
    for (auto _ : state) benchmark::DoNotOptimize(modWinInet::Take_Set_Cookies(jar, answers[round++ & 1], "alice"));
}
BENCHMARK(BM_StoreCookiesInMemory)->Unit(benchmark::kMicrosecond);

void BM_StoreCookiesNewUserInMemory(benchmark::State& state) {
    const std::string answer = responseWith50(1);
    modPrivateProfile::Profile others;
    modWinInet::Take_Set_Cookies(others, responseWith50(7), "bob");
    for (auto _ : state) {
        state.PauseTiming();
        modPrivateProfile::Profile jar = others;
        state.ResumeTiming();
        benchmark::DoNotOptimize(modWinInet::Take_Set_Cookies(jar, answer, "alice"));
    }
}
BENCHMARK(BM_StoreCookiesNewUserInMemory)->Unit(benchmark::kMicrosecond);

void BM_StoreCookiesUnchanged(benchmark::State& state) {
    JarFolder folder;
    const std::string answer = responseWith50(1);
    modWinInet::Store_Cookies(answer, "alice");
    const long writes = modWinInet::Cookie_Jar_Writes();
    for (auto _ : state) modWinInet::Store_Cookies(answer, "alice");
    if (modWinInet::Cookie_Jar_Writes() != writes) state.SkipWithError("an unchanged jar was written");
}
BENCHMARK(BM_StoreCookiesUnchanged)->Unit(benchmark::kMicrosecond);

void BM_StoreCookiesWithTheFileWrite(benchmark::State& state) {
    JarFolder folder;
    const std::string answers[2] = {responseWith50(1), responseWith50(2)};
    int round = 0;
    const long writes = modWinInet::Cookie_Jar_Writes();
    for (auto _ : state) modWinInet::Store_Cookies(answers[round++ & 1], "alice");
    state.counters["writes_per_store"] =
        static_cast<double>(modWinInet::Cookie_Jar_Writes() - writes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StoreCookiesWithTheFileWrite)->Unit(benchmark::kMicrosecond);

void BM_CookieHeaderFor50Cookies(benchmark::State& state) {
    JarFolder folder;
    modWinInet::Store_Cookies(responseWith50(1), "alice");
    for (auto _ : state) benchmark::DoNotOptimize(modWinInet::Cookie_Header_For("alice"));
}
BENCHMARK(BM_CookieHeaderFor50Cookies)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
