// Requests a bid can rely on: every request reads its own answer, a POST reaches the service once,
// a started request answers whatever else is waiting, and deadlines, cancels and bad bodies end a
// request with the client's own error lines.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTimer>

#include "fake_clock.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "platform/timers.h"
#include "service/item_page.h"
#include "service/sign_in.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

using namespace testsupport;
namespace wi = modWinInet;

namespace {

class StartedRequests : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        UserState::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        modTLMain::FirstRunSetup = 0;
        TLMainState::ResetForTests();
        wi::ResetForTests();
        fake.useForClient();
    }
    void TearDown() override {
        fake.stop();
        wi::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
        modTLC::ResetForTests();
        modTLMain::ResetStartupForTests();
    }

    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : std::string(); }
    long logCount(const std::string& text) const {
        const std::string log = opLog();
        long n = 0;
        for (size_t p = log.find(text); p != std::string::npos; p = log.find(text, p + 1)) ++n;
        return n;
    }
    static wi::HttpRequestSpec get(const std::string& url, long flags = 6) {
        wi::HttpRequestSpec s;
        s.url = url;
        s.flags = flags;
        return s;
    }
    // Starts a request and yields until its continuation has run; counts the continuation's runs.
    wi::HttpResult run(wi::HttpRequestSpec spec, wi::Deadline deadline = wi::Deadline::none(),
                       const std::function<void(wi::HttpRequest&)>& meanwhile = {}) {
        int calls = 0;
        wi::HttpResult got;
        wi::HttpRequest r = wi::Start_Http_Request(std::move(spec), deadline, [&](wi::HttpResult x) {
            ++calls;
            got = std::move(x);
        });
        EXPECT_EQ(calls, 0) << "never inside the start call";
        if (meanwhile) meanwhile(r);
        platform::timers().waitUntil([&] { return calls > 0; }, 60000);
        platform::timers().doEvents();  // a second call would come now
        EXPECT_EQ(calls, 1);
        return got;
    }

    TempDataFolder data;
    FakeService fake;
};

// ---- Own answers ----------------------------------------------------------------------------------

// A timer's request nested inside another request's wait: each caller reads its own answer on
// every field, and the outer request keeps the binary switch it started with.
struct NestedCase {
    const char* name;
    bool outerBinary;
    bool innerBinary;
};

TEST_F(StartedRequests, ANestedRequestNeverChangesWhatTheOuterCallerReads) {
    auto outer = ScriptedResponse::ok("outer-bytes");
    outer.gzip = true;
    outer.delayMs = 200;
    outer.headers = {{"X-Outer", "1"}};
    fake.route("", "GET", "/outer", outer);
    fake.route("", "GET", "/inner", ScriptedResponse::redirect("http://cgi.ebay.com/elsewhere"));
    const NestedCase cases[] = {{"photo under a page", true, false}, {"page under a photo", false, true}};
    for (const auto& c : cases) {
        std::map<std::string, std::string> inner;
        platform::Timer timer;
        timer.setHandler([&] {
            timer.setEnabled(false);
            wi::HttpBinaryMode = c.innerBinary ? 1 : 0;
            wi::HttpURL = "cgi.ebay.com/inner";
            inner["ok"] = wi::Http_Request(wi::HttpURL, "GET", "", 4) ? "1" : "0";
            inner["status"] = wi::HttpStatus;
            inner["redirect"] = wi::HttpRedirectURL;
            inner["page"] = wi::PageHTML;
        });
        timer.setInterval(30);
        timer.setEnabled(true);
        wi::HttpBinaryMode = c.outerBinary ? 1 : 0;
        wi::HttpURL = "cgi.ebay.com/outer";
        ASSERT_TRUE(wi::Http_Request(wi::HttpURL, "GET", "", 14)) << c.name;
        EXPECT_EQ(wi::HttpBinaryMode, 0) << c.name;
        ASSERT_FALSE(inner.empty()) << "the inner request ran inside the outer wait, " << c.name;
        EXPECT_EQ(inner["ok"], "1") << c.name;
        EXPECT_EQ(inner["status"], "302") << c.name;
        EXPECT_EQ(inner["redirect"], "http://cgi.ebay.com/elsewhere") << c.name;
        // The outer caller's fields are its own answer's, whatever the inner request did.
        EXPECT_EQ(wi::HttpStatus, "200") << c.name;
        EXPECT_EQ(wi::HttpRedirectURL, "") << c.name;
        EXPECT_EQ(wi::HttpLastError, "") << c.name;
        EXPECT_EQ(wi::HttpContentEncoding, "gzip") << c.name;
        EXPECT_NE(wi::HttpContentLength, "") << c.name;
        EXPECT_NE(wi::HttpRawHeaders.find("X-Outer: 1"), std::string::npos) << c.name;
        EXPECT_EQ(wi::HttpRawHeaders.find("Location:"), std::string::npos) << c.name;
        const std::string bytes(wi::HttpBinaryData.begin(), wi::HttpBinaryData.end());
        EXPECT_EQ(c.outerBinary ? bytes : wi::PageHTML, "outer-bytes") << c.name;
        EXPECT_EQ(c.outerBinary ? wi::PageHTML : bytes, "") << c.name;
        EXPECT_EQ(wi::Http_Query_Header(wi::kQueryStatusCode), "200") << c.name;
    }
}

TEST_F(StartedRequests, AFailedNestedRequestLeavesTheOuterErrorEmpty) {
    auto outer = ScriptedResponse::ok("outer page");
    outer.delayMs = 200;
    fake.route("", "GET", "/outer", outer);
    wi::Settings().unknownHosts = {"nowhere.ebay.com"};
    std::string innerError;
    platform::Timer timer;
    timer.setHandler([&] {
        timer.setEnabled(false);
        EXPECT_FALSE(wi::Http_Request("nowhere.ebay.com/x", "GET", "", 6));
        innerError = wi::HttpLastError;
    });
    timer.setInterval(30);
    timer.setEnabled(true);
    ASSERT_TRUE(wi::Http_Request("cgi.ebay.com/outer", "GET", "", 6));
    EXPECT_EQ(innerError, "12007");
    EXPECT_EQ(wi::HttpLastError, "");
    EXPECT_EQ(wi::PageHTML, "outer page");
}

// ---- A POST goes out once -------------------------------------------------------------------------

TEST_F(StartedRequests, APostDroppedByTheServerArrivesOnceEvenAfterAKeptAliveRequest) {
    fake.route("", "GET", "/warm", ScriptedResponse::ok("kept alive"));
    auto drop = ScriptedResponse::ok("");
    drop.fault = Fault::CloseAtOnce;
    fake.route("", "POST", "/bid", drop);
    ASSERT_TRUE(wi::Http_Request("offer.ebay.com/warm", "GET", "", 6));
    fake.clearRequests();

    auto spec = get("offer.ebay.com/bid");
    spec.method = "POST";
    spec.postData = "&maxbid=5";
    const wi::HttpResult r = run(spec);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.lastError, "12030");
    EXPECT_EQ(fake.requestCount(), 1u) << "a bid is never sent twice";
    EXPECT_EQ(logCount("Http Send Request Failed - 12030"), 1);
}

// ---- Nothing holds a started request ----------------------------------------------------------------

TEST_F(StartedRequests, AStartedRequestAnswersUnderAModalMessageBox) {
    fake.route("", "GET", "/item", ScriptedResponse::ok("page"));
    bool answered = false;
    bool boxOpenWhenAnswered = false;
    QMessageBox box(QMessageBox::Information, "Tolvane Rerode II", "A message the user has not answered");
    wi::Start_Http_Request(get("cgi.ebay.com/item"), wi::Deadline::none(), [&](wi::HttpResult r) {
        answered = r.ok && r.body == "page";
        boxOpenWhenAnswered = box.isVisible();
        box.done(0);
    });
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, &box, [&] { box.done(0); });
    giveUp.start(10000);
    box.exec();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(boxOpenWhenAnswered);
}

TEST_F(StartedRequests, AStalledWaitingRequestDoesNotHoldAStartedOne) {
    auto stall = ScriptedResponse::ok("late");
    stall.fault = Fault::StallBeforeHeaders;
    fake.route("", "GET", "/stall", stall);
    fake.route("", "GET", "/bid", ScriptedResponse::ok("placed"));
    wi::Settings().textStallMs = 500;
    bool answeredInsideTheStall = false;
    bool stallReturned = false;
    wi::Start_Http_Request(get("offer.ebay.com/bid"), wi::Deadline::none(), [&](wi::HttpResult r) {
        answeredInsideTheStall = r.ok && !stallReturned;
    });
    // A waiting request that stalls, started by the test as a timer would.
    wi::Http_Request("cgi.ebay.com/stall", "GET", "", 4);
    stallReturned = true;
    fake.release();
    EXPECT_TRUE(answeredInsideTheStall);
}

// ---- Deadlines and cancel ----------------------------------------------------------------------------

struct EndCase {
    const char* name;
    Fault fault;
    bool cancel;       // cancel() instead of the deadline
    const char* log;   // the client's line
    const char* error;
};

TEST_F(StartedRequests, DeadlineAndCancelEndARequestWithTheClientsLines) {
    FakeTime time;
    const EndCase cases[] = {
        {"late before the answer", Fault::StallBeforeHeaders, false, "Http Send Request Failed - 12002", "12002"},
        {"late in the body", Fault::StallInBody, false, "Http Read Failed - 12002", "12002"},
        {"cancelled before the answer", Fault::StallBeforeHeaders, true, "Http Send Request Failed - 12017", "12017"},
        {"cancelled in the body", Fault::StallInBody, true, "Http Read Failed - 12017", "12017"},
    };
    for (const auto& c : cases) {
        data.write("OperationLog.txt", "");
        fake.clearRequests();
        auto r = ScriptedResponse::ok(std::string(4000, 'x'));
        r.fault = c.fault;
        r.cutAfter = 1000;
        fake.route("", "GET", "/slow", r);
        const wi::Deadline deadline = c.cancel ? wi::Deadline::none() : wi::Deadline::inMs(1500);
        const qint64 start = time.clock.tickMs();
        const wi::HttpResult got = run(get("cgi.ebay.com/slow"), deadline, [&](wi::HttpRequest& req) {
            if (!c.cancel) return;
            const bool wantBody = c.fault == Fault::StallInBody;
            platform::timers().waitUntil([&] { return wantBody ? req.reading() : fake.requestCount() > 0; }, 5000);
            req.cancel();
        });
        EXPECT_FALSE(got.ok) << c.name;
        EXPECT_EQ(got.lastError, c.error) << c.name;
        EXPECT_EQ(got.body, "") << "nothing of it is kept, " << c.name;
        EXPECT_EQ(logCount(c.log), 1) << c.name;
        EXPECT_EQ(fake.requestCount(), 1u) << "no resend after a deadline or cancel, " << c.name;
        if (!c.cancel) {
            EXPECT_TRUE(got.timedOut) << c.name;
            EXPECT_GE(time.clock.tickMs() - start, 1500) << c.name;
            EXPECT_LT(time.clock.tickMs() - start, 2500) << c.name;
        } else {
            EXPECT_TRUE(got.cancelled) << c.name;
        }
        fake.release();
    }
}

TEST_F(StartedRequests, ClosingTheSessionEndsEveryRequestInFlightOnce) {
    auto stall = ScriptedResponse::ok("late");
    stall.fault = Fault::StallBeforeHeaders;
    fake.route("", "GET", "/stall", stall);
    int calls = 0;
    std::string error;
    wi::Start_Http_Request(get("cgi.ebay.com/stall"), wi::Deadline::none(), [&](wi::HttpResult r) {
        ++calls;
        error = r.lastError;
    });
    ASSERT_TRUE(platform::timers().waitUntil([&] { return fake.requestCount() > 0; }, 5000));
    wi::Close_Session();
    platform::timers().waitUntil([&] { return calls > 0; }, 5000);
    platform::timers().doEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(error, "12017");
    EXPECT_EQ(wi::Requests_In_Flight(), 0u);
    fake.release();
}

TEST_F(StartedRequests, ABadAddressAnswersFromTheEventLoopToo) {
    const wi::HttpResult r = run(get("no-slash-here"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(logCount("Bad Host Name in URL."), 1);
}

// ---- Bodies -----------------------------------------------------------------------------------------

TEST_F(StartedRequests, ABodyThatIsNoGzipOrTooLargeFailsTheRequest) {
    auto fakeGzip = ScriptedResponse::ok("this is not gzip at all");
    fakeGzip.headers = {{"Content-Encoding", "gzip"}};
    fake.route("", "GET", "/damaged", fakeGzip);
    fake.route("", "GET", "/huge", ScriptedResponse::ok(std::string(wi::kMaxTextBody + 1, 'a')));
    fake.route("", "GET", "/photo", ScriptedResponse::binary(std::string(wi::kMaxTextBody + 1, 'b')));
    struct BodyCase {
        const char* path;
        bool binary;
        bool ok;
        const char* log;
    } cases[] = {
        {"/damaged", false, false, "Http Read Failed - 12004"},
        {"/damaged", true, false, "Http Read Failed - 12004"},
        {"/huge", false, false, "Http Read Failed - 8"},
        {"/photo", true, true, nullptr},  // binary bodies may be larger
    };
    for (const auto& c : cases) {
        data.write("OperationLog.txt", "");
        wi::HttpBinaryMode = c.binary ? 1 : 0;
        EXPECT_EQ(wi::Http_Request(std::string("cgi.ebay.com") + c.path, "GET", "", 14), c.ok) << c.path;
        if (c.log) {
            EXPECT_EQ(logCount(c.log), 1) << c.path;
            EXPECT_EQ(wi::PageHTML, "") << c.path;
            EXPECT_TRUE(wi::HttpBinaryData.empty()) << c.path;
        } else {
            EXPECT_EQ(wi::HttpBinaryData.size(), wi::kMaxTextBody + 1);
        }
    }
}

// ---- Started sign-in and pages ----------------------------------------------------------------------

TEST_F(StartedRequests, OneSignInPerUserAndItsResultSaysWhatHappened) {
    modTLC::Set_Config_Value("Users", "bob", "secret");
    struct SignInCase {
        SignInAnswer answer;
        bool ok, refused, noAnswer;
    } cases[] = {
        {SignInAnswer::MemberPages, true, false, false},
        {SignInAnswer::Refused, false, true, false},
        {SignInAnswer::NoResponse, false, false, true},
    };
    for (const auto& c : cases) {
        fake.clearRoutes();
        fake.clearRequests();
        FakeSignIn::install(fake, c.answer);
        std::vector<modTLMain::SignInResult> results;
        for (int i = 0; i < 2; ++i)
            modTLMain::Start_Sign_In("bob", {}, wi::Deadline::none(),
                                     [&](modTLMain::SignInResult r) { results.push_back(std::move(r)); });
        EXPECT_NE(TLMainState::DownloadBusy, 0);
        platform::timers().waitUntil([&] { return results.size() == 2; }, 30000);
        ASSERT_EQ(results.size(), 2u);
        for (const auto& r : results) {
            EXPECT_EQ(r.ok, c.ok);
            EXPECT_EQ(r.refused, c.refused);
            EXPECT_EQ(r.noAnswer, c.noAnswer);
        }
        // One sign-in went to the service: the page and the form (and a refusal's page).
        EXPECT_EQ(fake.requestCount(), c.refused ? 3u : 2u);
        EXPECT_EQ(TLMainState::DownloadBusy, 0);
    }
}

TEST_F(StartedRequests, StartedHistoryPageGivesItsTextWithoutTouchingTheSharedPage) {
    fake.route("", "GET", "/hist", ScriptedResponse::ok("<html><body><p>bidder1 US $5.00</p></body></html>"));
    modPageParser::PageHTML = "the caller's page";
    modPageParser::BidHistoryText = "earlier";
    bool done = false;
    HistoryPageResult got;
    Start_Get_HistoryPage("cgi.ebay.com/hist", "", wi::Deadline::none(), [&](HistoryPageResult h) {
        got = std::move(h);
        done = true;
    });
    platform::timers().waitUntil([&] { return done; }, 10000);
    EXPECT_TRUE(got.ok);
    EXPECT_NE(got.historyText.find("bidder1"), std::string::npos);
    EXPECT_EQ(modPageParser::PageHTML, "the caller's page");
    EXPECT_EQ(modPageParser::BidHistoryText, "earlier");
}

}  // namespace
