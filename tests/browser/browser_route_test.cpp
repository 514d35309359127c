// The browser window's road to the service: the client's connect-to map as the web engine's host
// rules, and certificates trusted only through the client's CA file. The window loads pages of
// the fake services on 127.0.0.1 (browser_fakes.h).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPointer>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "browser/automation_browser.h"
#include "browser/browser_route.h"
#include "browser_fakes.h"
#include "platform/timers.h"
#include "service/national_sites.h"

using testsupport::FakeService;
using testsupport::ScriptedResponse;

namespace {

constexpr qint64 kWaitMs = 60000;

TEST(BrowserRoute, ConnectToMapBecomesTheEnginesHostRules) {
    struct Case { const char* connectTo; const char* rules; };
    const Case cases[] = {
        {"", ""},
        {":80:127.0.0.1:8080;:443:127.0.0.1:8443", "MAP *:80 127.0.0.1:8080,MAP *:443 127.0.0.1:8443"},
        {"www.ebay.com:443:127.0.0.1:9443;:443:127.0.0.1:8443",
         "MAP www.ebay.com:443 127.0.0.1:9443,MAP *:443 127.0.0.1:8443"},  // the first that matches wins
        {"www.ebay.com::localhost:", "MAP www.ebay.com localhost"},
        {":443:[::1]:8443", "MAP *:443 [::1]:8443"},
        {"www.ebay.com:443::8443", "MAP www.ebay.com:443 www.ebay.com:8443"},
        {":443::8443", ""},  // another port for every host: the engine has no such rule
        {"no entry;a:b:c;:443:127.0.0.1 x:1", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(browserroute::Host_Resolver_Rules(c.connectTo), c.rules) << c.connectTo;
}

TEST(BrowserRoute, TrustsACertificateOnlyThroughTheCaFile) {
    const std::string ca = FakeService::caFile();
    const QString dir = QFileInfo(QString::fromStdString(ca)).absolutePath() + "/";
    const std::string host = modTLMain::Sign_In_Host(0);
    struct Case { const char* what; const char* cert; std::string host; std::string caFile; bool trusted; };
    const Case cases[] = {
        {"the fake's certificate", "host.pem", host, ca, true},
        {"its address", "host.pem", "127.0.0.1", ca, true},
        {"a host it does not name", "host.pem", "www.example.org", ca, false},
        {"an authority the CA file does not hold", "untrusted-host.pem", host, ca, false},
        {"the CA file's authority, for other names", "wrongname.pem", host, ca, false},
        {"a CA file of that other authority", "untrusted-host.pem", host, FakeService::untrustedCaFile(), true},
        {"no CA file", "host.pem", host, "", false},
        {"a CA file that is not there", "host.pem", host, ca + ".missing", false},
    };
    for (const Case& c : cases) {
        const QList<QSslCertificate> chain = QSslCertificate::fromPath(dir + c.cert);
        ASSERT_EQ(chain.size(), 1) << c.cert;
        EXPECT_EQ(browserroute::Chain_Trusted(chain, QString::fromStdString(c.host), c.caFile), c.trusted) << c.what;
    }
    EXPECT_FALSE(browserroute::Chain_Trusted({}, QString::fromStdString(host), ca)) << "no certificate";
}

// Opens url in a browser window of its own: whether the page loaded.
bool loads(const std::string& url) {
    std::unique_ptr<AutomationBrowser> b(modTLMain::CreateNewBrowser());
    b->Navigate2(url);
    auto result = std::make_shared<std::optional<bool>>();
    QObject::connect(b->currentView(), &QWebEngineView::loadFinished, [result](bool ok) {
        *result = ok;
        platform::timers().wake();
    });
    platform::timers().waitUntil([result] { return result->has_value(); }, kWaitMs);
    return result->value_or(false);
}

TEST(BrowserRoute, TheWindowReachesTheFakeServiceAndTrustsNoOtherCertificate) {
    FakeService& fake = browsertest::trustedFake();
    fake.route("", "GET", "/route-check", ScriptedResponse::ok("<html><body>Reached</body></html>"));
    fake.clearRequests();
    const std::string signIn = modTLMain::Sign_In_Host(0);
    const std::string home = modTLMain::Home_Site_Host(0);

    EXPECT_TRUE(loads("https://" + signIn + "/route-check"));
    EXPECT_TRUE(loads("http://" + home + "/route-check"));
    // The pages' own requests only: the engine may also ask for an icon on its own.
    const auto pageRequests = [&fake] {
        std::vector<testsupport::RecordedRequest> r;
        for (auto& q : fake.requests())
            if (q.path == "/route-check") r.push_back(q);
        return r;
    };
    const auto requests = pageRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].https);
    EXPECT_EQ(requests[0].host, signIn);
    EXPECT_FALSE(requests[1].https);
    EXPECT_EQ(requests[1].host, home);

    // An unknown authority, and the known one for other names: the page never asks for anything.
    EXPECT_FALSE(loads(std::string("https://") + browsertest::kUntrustedHost + "/route-check"));
    EXPECT_FALSE(loads(std::string("https://") + browsertest::kWrongNameHost + "/route-check"));
    EXPECT_EQ(browsertest::untrustedFake().requestCount(), 0u);
    EXPECT_EQ(browsertest::wrongNameFake().requestCount(), 0u);
    EXPECT_EQ(pageRequests().size(), 2u);
}

}  // namespace
