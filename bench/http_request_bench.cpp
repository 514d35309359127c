// Requests against the local fake service: what a started request costs beside a waiting one,
// and what a POST's connection of its own costs at the bid second (a TCP and TLS handshake)
// beside a GET on a kept-alive connection.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QCoreApplication>

#include "fake_service.h"
#include "foundation/startup.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

namespace {

namespace wi = modWinInet;

struct Fixture {
    testsupport::TempDataFolder data;
    testsupport::FakeService fake;
    Fixture() {
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        wi::ResetForTests();
        fake.useForClient();
        fake.route("", "GET", "/page", testsupport::ScriptedResponse::ok(std::string(20000, 'p')));
        fake.route("", "POST", "/bid", testsupport::ScriptedResponse::ok("placed"));
    }
};

Fixture& fixture() {
    static Fixture* f = new Fixture();
    return *f;
}

void BM_WaitingGet(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        const bool ok = wi::Http_Request("cgi.ebay.com/page", "GET", "", 4);
        if (!ok) state.SkipWithError("request failed");
    }
}
BENCHMARK(BM_WaitingGet)->Unit(benchmark::kMicrosecond);

void BM_StartedGet(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        wi::HttpRequestSpec spec;
        spec.url = "cgi.ebay.com/page";
        spec.flags = 4;
        wi::Answer<wi::HttpResult> answer;
        wi::Start_Http_Request(spec, wi::Deadline::inMs(10000), answer.receiver());
        if (!answer.wait().ok) state.SkipWithError("request failed");
    }
}
BENCHMARK(BM_StartedGet)->Unit(benchmark::kMicrosecond);

// flags 1 = HTTPS: a GET reuses the kept-alive TLS connection, a POST opens its own.
void BM_HttpsGetKeptAlive(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        if (!wi::Http_Request("offer.ebay.com/page", "GET", "", 5)) state.SkipWithError("request failed");
    }
}
BENCHMARK(BM_HttpsGetKeptAlive)->Unit(benchmark::kMicrosecond);

void BM_HttpsPostOwnConnection(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        wi::HttpPostData = "&maxbid=5.00&quant=1";
        if (!wi::Http_Request("offer.ebay.com/bid", "POST", "", 5)) state.SkipWithError("request failed");
    }
}
BENCHMARK(BM_HttpsPostOwnConnection)->Unit(benchmark::kMicrosecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_CORE()
