#include "options/new_setup_checks.h"

#include <cstdio>
#include <memory>
#include <string>

#include "bidding/bid_engine_links.h"
#include "foundation/clock_state.h"
#include "foundation/logs.h"
#include "foundation/options_state.h"
#include "foundation/startup.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/http_request.h"
#include "service/national_sites.h"

namespace SetupChecks {
namespace {

// A request to the home site's web server on port 80: any answer means the server was reached.
class HttpConnectionCheck final : public ConnectionCheck {
public:
    long GetConStatusAlt() override {
        const qint64 start = platform::clock().tickMs();
        modWinInet::HttpRequestSpec spec;
        spec.url = "http://" + modTLMain::Home_Site_Host(modTLMain::CurrentSiteIndex) + "/";
        modWinInet::Answer<modWinInet::HttpResult> answer;
        modWinInet::Start_Http_Request(spec, modWinInet::Deadline::inMs(kConnectionCheckMs), answer.receiver());
        const modWinInet::HttpResult r = answer.wait();
        if (!r.ok) {
            modTLMain::Write_Op_Log("Checking Internet Connection - No Internet Connection Detected");
            return 0;
        }
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(platform::clock().tickMs() - start) / 1000.0);
        modTLMain::Write_Op_Log(std::string("Checking Internet Connection ") + seconds + " - Connected");
        return 1;
    }
};

// The program's clock keeper, from the first time server: set when the sync ended without
// ClockSetFailed. Without a clock keeper nothing is synchronised.
class KeeperClockCheck final : public ClockCheck {
public:
    bool Sync_Clock_From_First_Server() override {
        if (!DutyLinks::detail::held<TLMainBids::ClockSync>()) return false;
        TLMainState::TimeServerIndex = 0;
        auto ended = std::make_shared<bool>(false);
        TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock([ended] { *ended = true; });
        platform::timers().waitUntil([ended] { return *ended; }, 24LL * 3600 * 1000);
        return *ended && modClock::ClockSetFailed == 0;
    }
};

ConnectionCheck* g_connection = nullptr;
ClockCheck* g_clock = nullptr;

}  // namespace

ConnectionCheck& connection() {
    static HttpConnectionCheck viaHttp;
    return g_connection ? *g_connection : viaHttp;
}

ClockCheck& clock() {
    static KeeperClockCheck keeper;
    return g_clock ? *g_clock : keeper;
}

void setConnectionCheck(ConnectionCheck* check) { g_connection = check; }
void setClockCheck(ClockCheck* check) { g_clock = check; }

}  // namespace SetupChecks
