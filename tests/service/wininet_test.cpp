// The HTTP client against the fake service: flags, headers, retries, cookies, certificates, bodies.
#include <gtest/gtest.h>

#include <QFile>
#include <sys/stat.h>

#include "fake_clock.h"
#include "fake_service.h"
#include "foundation/debug_tools.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "platform/timers.h"
#include "recording_main_window.h"
#include "service/private_profile.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

using namespace testsupport;
namespace wi = modWinInet;

namespace {

const std::string kUA = "Mozilla/4.0 (compatible; MSIE 6.0; Win32)";

class HttpClient : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DefaultUserAgent = kUA;
        modTLMain::FirstRunSetup = 0;
        modDebug::DebugOutput = false;
        TLMainState::ResetForTests();
        wi::ResetForTests();
        fake.useForClient();
    }
    void TearDown() override {
        fake.stop();
        wi::ResetForTests();
        TLMainState::ResetForTests();
    }

    std::string opLog() const { return data.read("OperationLog.txt"); }
    long logCount(const std::string& text) const {
        const std::string log = opLog();
        long n = 0;
        for (size_t p = log.find(text); p != std::string::npos; p = log.find(text, p + 1)) ++n;
        return n;
    }
    bool get(const std::string& url, long flags, const std::string& user = {}) {
        wi::HttpURL = url;
        return wi::Http_Request(wi::HttpURL, "GET", user, flags);
    }

    TempDataFolder data;
    FakeService fake;
};

// ---- Flags ------------------------------------------------------------------------------------

struct FlagCase {
    long flags;
    const char* status;
    const char* redirect;
    const char* page;
    size_t requests;
    bool acceptsGzip;
};

TEST_F(HttpClient, FlagsChooseRedirectsBodyAndGzip) {
    fake.route("cgi.ebay.com", "GET", "/start", [] {
        auto r = ScriptedResponse::redirect("http://cgi.ebay.com/final");
        r.body = "moved";
        return r;
    }());
    fake.handle("cgi.ebay.com", "GET", "/final", [](const RecordedRequest& req) {
        auto r = ScriptedResponse::ok("the final page");
        r.gzip = !req.header("Accept-Encoding").empty();
        return r;
    });
    const FlagCase cases[] = {
        {0, "302", "http://cgi.ebay.com/final", "", 1, false},
        {2, "200", "", "", 2, false},
        {4, "302", "http://cgi.ebay.com/final", "moved", 1, false},
        {6, "200", "", "the final page", 2, false},
        {12, "302", "http://cgi.ebay.com/final", "moved", 1, true},
        {14, "200", "", "the final page", 2, true},
    };
    for (const auto& c : cases) {
        fake.clearRequests();
        EXPECT_TRUE(get("http://cgi.ebay.com/start", c.flags)) << c.flags;
        EXPECT_EQ(wi::HttpStatus, c.status) << c.flags;
        EXPECT_EQ(wi::HttpRedirectURL, c.redirect) << c.flags;
        EXPECT_EQ(wi::PageHTML, c.page) << c.flags;
        EXPECT_EQ(wi::HttpURL, "cgi.ebay.com/start") << "the URL is left without its scheme";
        const auto reqs = fake.requests();
        ASSERT_EQ(reqs.size(), c.requests) << c.flags;
        for (const auto& r : reqs) {
            EXPECT_EQ(r.header("Accept-Encoding"), c.acceptsGzip ? "gzip, Deflate" : "") << c.flags;
            EXPECT_FALSE(r.https) << c.flags;
        }
    }
}

TEST_F(HttpClient, GzipBodyWithoutReadFlagLeavesPageEmpty) {
    auto r = ScriptedResponse::ok("zipped text");
    r.gzip = true;
    fake.route("", "GET", "/z", r);
    EXPECT_TRUE(get("cgi.ebay.com/z", 8));
    EXPECT_EQ(wi::HttpContentEncoding, "gzip");
    EXPECT_EQ(wi::PageHTML, "");
}

TEST_F(HttpClient, OnlyBitOneChoosesHttpsWhateverTheScheme) {
    fake.route("", "GET", "/p", ScriptedResponse::ok("x"));
    struct { const char* url; long flags; bool https; } cases[] = {
        {"https://cgi.ebay.com/p", 4, false},
        {"http://cgi.ebay.com/p", 5, true},
        {"cgi.ebay.co.uk/p", 5, true},
    };
    for (const auto& c : cases) {
        fake.clearRequests();
        ASSERT_TRUE(get(c.url, c.flags)) << c.url;
        ASSERT_EQ(fake.requestCount(), 1u);
        EXPECT_EQ(fake.lastRequest().https, c.https) << c.url;
        EXPECT_EQ(wi::PageHTML, "x");
    }
}

TEST_F(HttpClient, BadUrlsFailBeforeAnyRequest) {
    struct { const char* url; const char* log; } cases[] = {
        {"http://cgi.ebay.com", "Bad Host Name in URL."},
        {"/ws/eBayISAPI.dll", "Bad Host Name in URL."},
        {"", "Bad Host Name in URL."},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(get(c.url, 6)) << c.url;
        EXPECT_NE(opLog().find(c.log), std::string::npos) << c.url;
    }
    EXPECT_EQ(fake.requestCount(), 0u);
}

TEST_F(HttpClient, StripUrlScheme) {
    struct { const char* in; const char* out; } cases[] = {
        {"http://a/b", "a/b"}, {"https://a/b", "a/b"}, {"HTTP://a/b", "HTTP://a/b"}, {"a/b", "a/b"}, {"ftp://a", "ftp://a"},
    };
    for (const auto& c : cases) EXPECT_EQ(wi::Strip_URL_Scheme(c.in), c.out) << c.in;
}

// ---- Request headers ----------------------------------------------------------------------------

TEST_F(HttpClient, SendsHeadersInOrderAndTheFormBody) {
    fake.routePrefix("", "", "/", ScriptedResponse::ok("ok"));
    wi::Store_Cookies("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\n\r\n", "alice");

    struct Case {
        const char* method;
        long flags;
        std::vector<std::string> names;
        const char* verb;
    } cases[] = {
        {"GET", 4, {"Host", "User-Agent", "Accept", "Accept-Language", "Connection", "Cookie"}, "GET"},
        {"GET", 12, {"Host", "User-Agent", "Accept", "Accept-Language", "Accept-Encoding", "Connection", "Cookie"}, "GET"},
        {"POST", 4,
         {"Host", "User-Agent", "Accept", "Accept-Language", "Connection", "Content-Type", "Cookie", "Content-Length"},
         "POST"},
        {"Post", 4, {"Host", "User-Agent", "Accept", "Accept-Language", "Connection", "Cookie", "Content-Length"}, "POST"},
    };
    for (const auto& c : cases) {
        fake.clearRequests();
        wi::HttpPostData = "&item=1&maxbid=12.50";
        wi::HttpURL = "http://offer.ebay.com/ws/eBayISAPI.dll?MakeBid";
        ASSERT_TRUE(wi::Http_Request(wi::HttpURL, c.method, "alice", c.flags)) << c.method;
        const RecordedRequest r = fake.lastRequest();
        EXPECT_EQ(r.method, c.verb);
        EXPECT_EQ(r.target, "/ws/eBayISAPI.dll?MakeBid");
        EXPECT_EQ(r.headerNames(), c.names) << c.method << " " << c.flags << "\n" << r.rawHead;
        EXPECT_EQ(r.header("Accept"), "*/*");
        EXPECT_EQ(r.header("Accept-Language"), "en-us");
        EXPECT_EQ(r.header("Connection"), "Keep-Alive");
        EXPECT_EQ(r.header("User-Agent"), kUA);
        EXPECT_EQ(r.header("Cookie"), "a=1");
        if (std::string(c.verb) == "POST") {
            EXPECT_EQ(r.body, "&item=1&maxbid=12.50");
            if (std::string(c.method) == "POST") {
                EXPECT_EQ(r.header("Content-Type"), "application/x-www-form-urlencoded");
            }
        } else {
            EXPECT_EQ(r.body, "");
        }
    }
}

TEST_F(HttpClient, ConfirmRequestIsBothUrlAndBody) {
    fake.routePrefix("", "POST", "/ws/", ScriptedResponse::ok("placed"));
    wi::HttpPostData = "http://offer.ebay.com/ws/eBayISAPI.dll?MfcISAPICommand=MakeBid&maxbid=5";
    ASSERT_TRUE(wi::Http_Request(wi::HttpPostData, "POST", "", 6));
    EXPECT_EQ(wi::HttpPostData, "offer.ebay.com/ws/eBayISAPI.dll?MfcISAPICommand=MakeBid&maxbid=5");
    const RecordedRequest r = fake.lastRequest();
    EXPECT_EQ(r.target, "/ws/eBayISAPI.dll?MfcISAPICommand=MakeBid&maxbid=5");
    EXPECT_EQ(r.body, wi::HttpPostData);
    EXPECT_EQ(wi::PageHTML, "placed");
}

TEST_F(HttpClient, UserAgentIsTheSessionsUntilANewSession) {
    fake.route("", "GET", "/ua", ScriptedResponse::ok("x"));
    wi::HttpURL = "cgi.ebay.com/ua";
    ASSERT_TRUE(wi::Http_Request(wi::HttpURL, "GET", "", 4, "First/1.0"));
    wi::HttpURL = "cgi.ebay.com/ua";
    ASSERT_TRUE(wi::Http_Request(wi::HttpURL, "GET", "", 4, "Second/2.0"));
    EXPECT_EQ(wi::HttpUserAgent, "Second/2.0");
    wi::hInternetSession = 0;  // a fresh session takes the agent of its first request
    wi::HttpURL = "cgi.ebay.com/ua";
    ASSERT_TRUE(wi::Http_Request(wi::HttpURL, "GET", "", 4, "Third/3.0"));
    const auto reqs = fake.requests();
    ASSERT_EQ(reqs.size(), 3u);
    EXPECT_EQ(reqs[0].header("User-Agent"), "First/1.0");
    EXPECT_EQ(reqs[1].header("User-Agent"), "First/1.0");
    EXPECT_EQ(reqs[2].header("User-Agent"), "Third/3.0");
}

// ---- Sends that fail ----------------------------------------------------------------------------

TEST_F(HttpClient, RefusedConnectionIsSentTwiceAfterOneTwoSecondWait) {
    FakeTime time;
    const int closed = FakeService::closedPort();
    wi::Settings().connectTo = ":80:127.0.0.1:" + std::to_string(closed);
    for (const char* method : {"GET", "POST"}) {
        data.write("OperationLog.txt", "");
        const qint64 before = time.clock.tickMs();
        wi::HttpPostData = "&a=1";
        wi::HttpURL = "cgi.ebay.com/x";
        EXPECT_FALSE(wi::Http_Request(wi::HttpURL, method, "", 6)) << method;
        const qint64 waited = time.clock.tickMs() - before;
        EXPECT_GE(waited, 2000) << method;
        EXPECT_LT(waited, 3500) << "one wait only, " << method;
        EXPECT_EQ(wi::HttpLastError, "12029");
        EXPECT_EQ(logCount("Http Send Request Failed - 12029"), 1) << method;
    }
}

TEST_F(HttpClient, UnknownHostFailsAtOnce) {
    FakeTime time;
    wi::Settings().unknownHosts = {"cgi.ebay.com"};
    const qint64 before = time.clock.tickMs();
    EXPECT_FALSE(get("cgi.ebay.com/x", 6));
    EXPECT_LT(time.clock.tickMs() - before, 1000);
    EXPECT_EQ(wi::HttpLastError, "12007");
    EXPECT_EQ(logCount("Http Send Request Failed - No Internet Connection"), 1);
    EXPECT_EQ(logCount("Http Send Request Failed - 12007"), 0);
}

TEST_F(HttpClient, PostThatReachedTheServerIsNeverSentAgain) {
    wi::Settings().textStallMs = 300;
    auto stall = ScriptedResponse::ok("late");
    stall.fault = Fault::StallBeforeHeaders;
    fake.route("", "POST", "/bid", stall);
    wi::HttpPostData = "&maxbid=5";
    wi::HttpURL = "offer.ebay.com/bid";
    EXPECT_FALSE(wi::Http_Request(wi::HttpURL, "POST", "", 6));
    EXPECT_EQ(fake.requestCount(), 1u);
    EXPECT_EQ(wi::HttpLastError, "12002");
    EXPECT_EQ(logCount("Http Send Request Failed - 12002"), 1);

    // The same for a connection dropped before any answer.
    auto drop = ScriptedResponse::ok("");
    drop.fault = Fault::CloseAtOnce;
    fake.route("", "POST", "/bid2", drop);
    fake.clearRequests();
    wi::HttpURL = "offer.ebay.com/bid2";
    EXPECT_FALSE(wi::Http_Request(wi::HttpURL, "POST", "", 6));
    EXPECT_EQ(fake.requestCount(), 1u);
    EXPECT_EQ(logCount("Http Send Request Failed - 12030"), 1);
}

TEST_F(HttpClient, GetIsSentAgainAfterATimeout) {
    wi::Settings().textStallMs = 300;
    std::atomic<int> calls{0};
    fake.handle("", "GET", "/slow", [&calls](const RecordedRequest&) {
        auto r = ScriptedResponse::ok("second time");
        if (++calls == 1) r.fault = Fault::StallBeforeHeaders;
        return r;
    });
    EXPECT_TRUE(get("cgi.ebay.com/slow", 6));
    EXPECT_EQ(wi::PageHTML, "second time");
    EXPECT_EQ(calls.load(), 2);
    EXPECT_EQ(logCount("Http Send Request Failed"), 0);
    fake.release();
}

TEST_F(HttpClient, AuthenticationAnswersAreLoggedAndReturned) {
    fake.route("", "GET", "/401", ScriptedResponse::withStatus(401, "who?"));
    fake.route("", "GET", "/407", ScriptedResponse::withStatus(407, "proxy?"));
    fake.route("", "GET", "/500", ScriptedResponse::withStatus(500, "oops"));
    EXPECT_TRUE(get("cgi.ebay.com/401", 6));
    EXPECT_EQ(wi::HttpStatus, "401");
    EXPECT_EQ(wi::PageHTML, "who?");
    EXPECT_TRUE(get("cgi.ebay.com/407", 6));
    EXPECT_TRUE(get("cgi.ebay.com/500", 6));
    EXPECT_EQ(wi::HttpStatus, "500");
    EXPECT_EQ(logCount("User Authentication Required."), 1);
    EXPECT_EQ(logCount("Proxy Authorization Required."), 1);
}

TEST_F(HttpClient, ResponseFieldsAreClearedAtEachStart) {
    wi::HttpStatus = "999";
    wi::HttpRawHeaders = "old";
    wi::HttpContentLength = "5";
    wi::HttpContentEncoding = "gzip";
    wi::HttpRedirectURL = "old";
    wi::HttpLastError = "1";
    wi::PageHTML = "old page";
    wi::HttpBinaryData = {1, 2, 3};
    wi::Settings().connectTo = ":80:127.0.0.1:" + std::to_string(FakeService::closedPort());
    {
        FakeTime time;
        EXPECT_FALSE(get("cgi.ebay.com/x", 6));
    }
    EXPECT_EQ(wi::HttpStatus, "");
    EXPECT_EQ(wi::HttpRawHeaders, "");
    EXPECT_EQ(wi::HttpContentLength, "");
    EXPECT_EQ(wi::HttpContentEncoding, "");
    EXPECT_EQ(wi::HttpRedirectURL, "");
    EXPECT_EQ(wi::PageHTML, "");
    EXPECT_TRUE(wi::HttpBinaryData.empty());
}

TEST_F(HttpClient, RawHeadersHoldTheLastResponseOnly) {
    auto first = ScriptedResponse::redirect("/second");
    first.headers.emplace_back("X-First", "1");
    fake.route("", "GET", "/first", first);
    auto second = ScriptedResponse::ok("two");
    second.headers.emplace_back("X-Second", "2");
    fake.route("", "GET", "/second", second);
    EXPECT_TRUE(get("cgi.ebay.com/first", 6));
    EXPECT_EQ(wi::HttpRawHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << wi::HttpRawHeaders;
    EXPECT_NE(wi::HttpRawHeaders.find("X-Second: 2\r\n"), std::string::npos);
    EXPECT_EQ(wi::HttpRawHeaders.find("X-First"), std::string::npos);
    EXPECT_EQ(wi::HttpRawHeaders.substr(wi::HttpRawHeaders.size() - 4), "\r\n\r\n");
    EXPECT_EQ(wi::HttpContentLength, "3");
}

TEST(FakeServiceLifetime, StopsAtOnceEvenBeforeItsServersRun) {
    for (int i = 0; i < 20; ++i) {
        FakeService fake;
        fake.stop();
    }
    FakeService later;  // and stopping by going away
}

// ---- Certificates -------------------------------------------------------------------------------

TEST(HttpClientCertificates, OnlyTheTrustedCertificateForTheHostIsAccepted) {
    TempDataFolder data;
    modTLMain::DataFolder = data.dataFolder();
    modTLMain::DefaultUserAgent = kUA;
    struct { FakeCert cert; bool ok; } cases[] = {
        {FakeCert::Trusted, true},
        {FakeCert::UntrustedCA, false},
        {FakeCert::WrongName, false},
    };
    for (const auto& c : cases) {
        wi::ResetForTests();
        data.write("OperationLog.txt", "");
        FakeService fake({c.cert, false, true});
        fake.useForClient();
        fake.route("", "GET", "/secure", ScriptedResponse::ok("secret"));
        wi::HttpURL = "https://signin.ebay.com/secure";
        EXPECT_EQ(wi::Http_Request(wi::HttpURL, "GET", "", 5), c.ok) << static_cast<int>(c.cert);
        const std::string log = data.read("OperationLog.txt");
        if (c.ok) {
            EXPECT_EQ(wi::PageHTML, "secret");
            EXPECT_EQ(fake.requestCount(), 1u);
        } else {
            EXPECT_EQ(wi::HttpLastError, "12045");
            EXPECT_EQ(wi::PageHTML, "");
            EXPECT_EQ(fake.requestCount(), 0u);
            EXPECT_NE(log.find("Http Send Request Failed - 12045"), std::string::npos);
            EXPECT_EQ(log.find("Ignoring"), std::string::npos);
            EXPECT_EQ(log.find("Http Send Request Failed - 12045", log.find("12045") + 5), std::string::npos)
                << "logged once, no resend";
        }
    }
    wi::ResetForTests();
}

// ---- Bodies -------------------------------------------------------------------------------------

TEST_F(HttpClient, BodyBrokenOffFailsTheRequest) {
    wi::Settings().textStallMs = 300;
    wi::Settings().binaryStallMs = 300;
    auto cut = ScriptedResponse::ok(std::string(5000, 'a'));
    cut.fault = Fault::CutBody;
    cut.cutAfter = 3000;
    fake.route("", "GET", "/cut", cut);
    auto stall = cut;
    stall.fault = Fault::StallInBody;
    fake.route("", "GET", "/stall", stall);
    struct { const char* path; int binary; const char* log; } cases[] = {
        {"/cut", 0, "Http Read Failed - 12030"},
        {"/cut", 1, "Http Read Failed - 12030"},
        {"/stall", 0, "Http Read Failed - 12002"},
    };
    for (const auto& c : cases) {
        data.write("OperationLog.txt", "");
        wi::HttpBinaryMode = c.binary;
        EXPECT_FALSE(get(std::string("cgi.ebay.com") + c.path, 6)) << c.path;
        EXPECT_EQ(wi::HttpStatus, "200");
        EXPECT_EQ(wi::PageHTML, "") << "never a truncated page";
        EXPECT_TRUE(wi::HttpBinaryData.empty());
        EXPECT_EQ(logCount(c.log), 1) << c.path << " " << c.binary;
    }
    fake.release();
}

TEST_F(HttpClient, GzipBodiesAreDecodedForTextAndBinary) {
    std::string bytes;
    for (int i = 0; i < 30000; ++i) bytes += static_cast<char>(i * 7 % 256);
    auto text = ScriptedResponse::ok("<html>" + std::string(10000, 'x') + "</html>");
    text.gzip = true;
    fake.route("", "GET", "/text", text);
    auto bin = ScriptedResponse::binary(bytes);
    bin.gzip = true;
    fake.route("", "GET", "/bin", bin);

    EXPECT_TRUE(get("cgi.ebay.com/text", 14));
    EXPECT_EQ(wi::PageHTML, text.body);

    wi::HttpBinaryMode = 1;
    EXPECT_TRUE(get("cgi.ebay.com/bin", 12));
    EXPECT_EQ(std::string(wi::HttpBinaryData.begin(), wi::HttpBinaryData.end()), bytes);
    EXPECT_EQ(wi::PageHTML, "");
    EXPECT_EQ(wi::HttpBinaryMode, 0);
}

TEST_F(HttpClient, BinaryReadShowsProgressAndResetsItsSwitches) {
    std::string bytes(50000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
    fake.route("", "GET", "/file.exe", ScriptedResponse::binary(bytes));
    Messages::Args args;
    args.Text = "Downloading";
    args.Modeless = true;
    Messages::DisplayMsg(args);
    wi::HttpBinaryMode = 1;
    wi::HttpShowProgress = 1;
    EXPECT_TRUE(get("cgi.ebay.com/file.exe", 4));
    EXPECT_EQ(std::string(wi::HttpBinaryData.begin(), wi::HttpBinaryData.end()), bytes);
    EXPECT_EQ(wi::HttpBinaryMode, 0);
    EXPECT_EQ(wi::HttpShowProgress, 0);
    EXPECT_EQ(wi::PageHTML, "");
    EXPECT_EQ(Messages::ProgressText(), "100 %");
    Messages::UnloadShared();
}

TEST_F(HttpClient, EmptyBodies) {
    fake.route("", "GET", "/empty", ScriptedResponse::ok(""));
    wi::HttpBinaryMode = 1;
    EXPECT_TRUE(get("cgi.ebay.com/empty", 6));
    EXPECT_TRUE(wi::HttpBinaryData.empty());
    EXPECT_EQ(wi::HttpBinaryMode, 0);
    EXPECT_TRUE(get("cgi.ebay.com/empty", 6));
    EXPECT_EQ(wi::HttpStatus, "200");
    EXPECT_EQ(wi::PageHTML, "");
}

TEST_F(HttpClient, CancelDuringAListRefreshAnswersWithAnEmptyPage) {
    fake.route("", "GET", "/item", ScriptedResponse::ok("item page"));
    TLMainState::UpdateBusy = 1;
    TLMainState::CancelUpdate = 1;
    EXPECT_TRUE(get("cgi.ebay.com/item", 6));
    EXPECT_EQ(wi::PageHTML, "");
    TLMainState::UpdateBusy = 0;  // a cancel without a refresh running reads as usual
    EXPECT_TRUE(get("cgi.ebay.com/item", 6));
    EXPECT_EQ(wi::PageHTML, "item page");
}

TEST_F(HttpClient, ANestedRequestMovesWhileTheOuterWaits) {
    FakeTime time;
    auto slow = ScriptedResponse::ok("outer page");
    slow.delayMs = 300;
    fake.route("", "GET", "/outer", slow);
    fake.route("", "GET", "/inner", ScriptedResponse::ok("inner page"));
    bool innerOk = false;
    std::string innerPage;
    platform::Timer timer;
    timer.setHandler([&] {
        timer.setEnabled(false);
        std::string url = "cgi.ebay.com/inner";
        innerOk = wi::Http_Request(url, "GET", "", 6);
        innerPage = wi::PageHTML;
    });
    timer.setInterval(50);
    timer.setEnabled(true);
    EXPECT_TRUE(get("cgi.ebay.com/outer", 6));
    EXPECT_TRUE(innerOk);
    EXPECT_EQ(innerPage, "inner page");
    EXPECT_EQ(wi::PageHTML, "outer page");
}

TEST_F(HttpClient, ANestedFailureDoesNotFailTheOuterBody) {
    // The outer body pauses half-way; a timer handler's request during the outer read breaks off.
    FakeTime time;
    const std::string outerBody = std::string(3000, 'o') + std::string(3000, 'p');
    auto paused = ScriptedResponse::ok(outerBody);
    paused.fault = Fault::PauseInBody;
    paused.cutAfter = 3000;
    paused.pauseMs = 300;
    fake.route("", "GET", "/outer", paused);
    auto cut = ScriptedResponse::ok(std::string(5000, 'c'));
    cut.fault = Fault::CutBody;
    cut.cutAfter = 1000;
    fake.route("", "GET", "/cut", cut);
    for (int binary : {0, 1}) {
        data.write("OperationLog.txt", "");
        fake.clearRequests();
        bool innerOk = true;
        bool innerRan = false;
        platform::Timer timer;
        timer.setHandler([&] {
            if (fake.requestCount() < 1) return;  // the outer request has not arrived yet
            timer.setEnabled(false);
            innerRan = true;
            innerOk = wi::Http_Request("cgi.ebay.com/cut", "GET", "", 6);
        });
        timer.setInterval(50);
        timer.setEnabled(true);
        wi::HttpBinaryMode = binary;
        EXPECT_TRUE(get("cgi.ebay.com/outer", 6)) << binary;
        EXPECT_TRUE(innerRan) << binary;
        EXPECT_FALSE(innerOk) << binary;
        EXPECT_EQ(logCount("Http Read Failed - 12030"), 1) << "the inner request's only, " << binary;
        const std::string got = binary ? std::string(wi::HttpBinaryData.begin(), wi::HttpBinaryData.end()) : wi::PageHTML;
        EXPECT_EQ(got, outerBody) << binary;
    }
}

// ---- Cookies over the wire ---------------------------------------------------------------------

TEST_F(HttpClient, CookiesGoOnlyToSiteHostsAndComeOnlyFromThem) {
    auto setA = ScriptedResponse::ok("a");
    setA.setCookies = {"a=1; Expires=Wed, 09-Jun-2027 10:18:14 GMT; path=/", "b=2; path=/"};
    fake.route("signin.ebay.com", "GET", "/set", setA);
    auto foreign = ScriptedResponse::ok("f");
    foreign.setCookies = {"evil=1; path=/"};
    fake.route("www.example.com", "GET", "/set", foreign);
    fake.routePrefix("", "GET", "/show", ScriptedResponse::ok("s"));

    ASSERT_TRUE(get("signin.ebay.com/set", 6, "alice"));
    ASSERT_TRUE(get("www.example.com/set", 6, "alice"));
    EXPECT_EQ(wi::Get_Cookie_Header("alice"), "Cookie: a=1; b=2\r\n");

    ASSERT_TRUE(get("cgi.ebay.com/show", 6, "alice"));
    EXPECT_EQ(fake.lastRequest().header("Cookie"), "a=1; b=2");
    ASSERT_TRUE(get("www.example.com/show", 6, "alice"));
    EXPECT_FALSE(fake.lastRequest().hasHeader("Cookie"));
    ASSERT_TRUE(get("cgi.ebay.com/show", 6, ""));
    EXPECT_FALSE(fake.lastRequest().hasHeader("Cookie")) << "no cookie user, no cookies";
}

TEST_F(HttpClient, ARedirectHopGetsTheCookiesOfItsOwnHost) {
    wi::Store_Cookies("HTTP/1.1 200 OK\r\nSet-Cookie: s=9\r\n\r\n", "alice");
    fake.route("cgi.ebay.com", "GET", "/a", ScriptedResponse::redirect("http://www.example.com/b"));
    fake.route("www.example.com", "GET", "/b", ScriptedResponse::redirect("http://my.ebay.com/c"));
    fake.route("my.ebay.com", "GET", "/c", ScriptedResponse::ok("home"));
    ASSERT_TRUE(get("cgi.ebay.com/a", 6, "alice"));
    EXPECT_EQ(wi::PageHTML, "home");
    const auto reqs = fake.requests();
    ASSERT_EQ(reqs.size(), 3u);
    EXPECT_EQ(reqs[0].header("Cookie"), "s=9");
    EXPECT_FALSE(reqs[1].hasHeader("Cookie"));
    EXPECT_EQ(reqs[2].header("Cookie"), "s=9");
}

TEST_F(HttpClient, PostAnsweredWithA302IsFollowedWithAGet) {
    fake.route("", "POST", "/form", ScriptedResponse::redirect("/done"));
    fake.route("", "GET", "/done", ScriptedResponse::ok("done"));
    wi::HttpPostData = "&x=1";
    wi::HttpURL = "signin.ebay.com/form";
    ASSERT_TRUE(wi::Http_Request(wi::HttpURL, "POST", "", 6));
    EXPECT_EQ(wi::PageHTML, "done");
    const auto reqs = fake.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[1].method, "GET");
    EXPECT_EQ(reqs[1].body, "");
}

// ---- Trace --------------------------------------------------------------------------------------

TEST_F(HttpClient, TraceIsWrittenWhenTheHttpSwitchIsOn) {
    RecordingMainWindow window;
    window.checked[TLMainLink::MenuItem::MnuDBHttpEnabled] = true;
    data.write("Debug/keep", "");
    auto r = ScriptedResponse::ok("p");
    r.setCookies = {"k=v"};
    fake.route("", "GET", "/t", r);

    modDebug::DebugOutput = true;
    modTLMain::FirstRunSetup = 1;
    ASSERT_TRUE(get("http://cgi.ebay.com/t", 6, "bob"));
    EXPECT_FALSE(data.exists("Debug/HttpLog.txt")) << "no trace during the first-run set-up";

    modTLMain::FirstRunSetup = 0;
    ASSERT_TRUE(get("http://cgi.ebay.com/t", 6, "bob"));
    const std::string log = data.read("Debug/HttpLog.txt");
    EXPECT_EQ(log.rfind("\r\nHttp Begin - http://cgi.ebay.com/t - GET - bob\r\n\r\n\r\nStatus Code = 200\r\n"
                        "ReDirect URL = \r\nContent Encoding = \r\nHTTP/1.1 200 OK\r\n",
                        0),
              0u)
        << log;
    EXPECT_NE(log.find("\r\n\r\n\r\nCookie: k=********\r\n\r\n\r\nHttp End - bob\r\n\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("k=v"), std::string::npos) << "cookie values are masked: " << log;

    // A password in an address is masked in the trace.
    fake.route("", "GET", "/s", ScriptedResponse::ok("p"));
    ASSERT_TRUE(get("http://cgi.ebay.com/s?user=bob&PASS=secret&x=1", 6, "bob"));
    const std::string masked = data.read("Debug/HttpLog.txt");
    EXPECT_EQ(masked.find("secret"), std::string::npos);
    EXPECT_NE(masked.find("/s?user=bob&PASS=********&x=1"), std::string::npos);

    modDebug::DebugOutput = false;
    data.write("Debug/HttpLog.txt", "");
    ASSERT_TRUE(get("http://cgi.ebay.com/t", 6, "bob"));
    EXPECT_EQ(data.read("Debug/HttpLog.txt"), "");
}

// The trace's "Http Begin" line names the address with its scheme: as the caller wrote it, or,
// for an address given without one (as the program's requests give theirs), the scheme the
// request goes out with.
TEST_F(HttpClient, TheTraceNamesEachAddressWithItsScheme) {
    RecordingMainWindow window;
    window.checked[TLMainLink::MenuItem::MnuDBHttpEnabled] = true;
    data.write("Debug/keep", "");
    fake.route("", "GET", "/t", ScriptedResponse::ok("p"));
    modDebug::DebugOutput = true;
    struct Case {
        const char* url;
        long flags;
        const char* traced;
    };
    const Case cases[] = {
        {"cgi.ebay.com/t", 6, "http://cgi.ebay.com/t"},
        {"cgi.ebay.com/t", 7, "https://cgi.ebay.com/t"},
        {"http://cgi.ebay.com/t", 6, "http://cgi.ebay.com/t"},
        {"https://cgi.ebay.com/t", 7, "https://cgi.ebay.com/t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url + std::string(" ") + std::to_string(c.flags));
        data.write("Debug/HttpLog.txt", "");
        ASSERT_TRUE(get(c.url, c.flags, "bob"));
        const std::string log = data.read("Debug/HttpLog.txt");
        EXPECT_EQ(log.rfind("\r\nHttp Begin - " + std::string(c.traced) + " - GET - bob\r\n", 0), 0u) << log;
    }
    modDebug::DebugOutput = false;
}

}  // namespace
