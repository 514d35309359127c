// Signing a user in against the fake service's sign-in pages: what the service receives, what the
// user sees in the status line and the operation log, and which cookies the jar keeps.
#include <gtest/gtest.h>

#include <QDir>
#include <memory>

#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "platform/clock.h"
#include "recording_main_window.h"
#include "service/page_globals.h"
#include "service/page_text.h"
#include "service/sign_in.h"
#include "service/wininet.h"
#include "temp_data_folder.h"

using testsupport::FakeClipboard;
using testsupport::FakeService;
using testsupport::FakeSignIn;
using testsupport::SignInAnswer;
using testsupport::TempDataFolder;

namespace {

// The status line, and the debug menu's HTTP switch.
class SignInWindow final : public testsupport::RecordingStatusLine, public testsupport::RecordingMenus {};

constexpr const char* kPassword = "se cret&1";
const std::string kSentForm =
    "&MfcISAPICommand=SignInWelcome&siteid=0&co_partnerId=2&UsingSSL=1&ru=&pp=&pa1=&pa2=&pa3=&i1=-1"
    "&pageType=-1&userid=bob&pass=se+cret%261&keepMeSignInOption=1";

class SignInTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        modTLMain::LastSignInItem.clear();
        modPageParser::PageHTML.clear();
        modPageParser::PageText.clear();
        platform::setClockForTests(&clock);
        modTLC::Set_Config_Value("Users", "bob", kPassword);
    }
    void TearDown() override {
        platform::setClockForTests(nullptr);
        modDebug::DebugOutput = false;
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
        modTLC::ResetForTests();
        modTLMain::ResetStartupForTests();
    }

    std::string opLog() const { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : std::string(); }
    bool logged(const std::string& text) const { return opLog().find(" - " + text + "\r\n") != std::string::npos; }
    // Starts the fake service with the sign-in pages answering the form as given.
    FakeService& serve(SignInAnswer answer) {
        if (!fake) {
            fake = std::make_unique<FakeService>();
            fake->useForClient();
        }
        FakeSignIn::install(*fake, answer);
        return *fake;
    }
    // The user's jar as the next request would send it.
    std::string cookies(const std::string& user = "bob") { return modWinInet::Get_Cookie_Header(user); }

    TempDataFolder data;
    testsupport::FakeClock clock;
    SignInWindow window;
    std::unique_ptr<FakeService> fake;
};

TEST_F(SignInTest, SignsInWhenTheFormIsSentOnToTheMemberPagesOrTheHomeSite) {
    struct Case { SignInAnswer answer; const char* item; const char* logLine; };
    const Case cases[] = {
        {SignInAnswer::MemberPages, "", "eBay Sign In Initiated for bob - Sign In Succeeded"},
        {SignInAnswer::HomeSite, "110012345678", "eBay Sign In Initiated for bob - Item 110012345678 - Sign In Succeeded"},
    };
    for (const Case& c : cases) {
        if (fake) fake->clearRoutes(), fake->clearRequests();
        FakeService& service = serve(c.answer);
        modTLMain::LastSignInItem = c.item;
        modWinInet::Store_Cookies("HTTP/1.1 200 OK\r\nSet-Cookie: stale=1\r\n\r\n", "bob");

        EXPECT_TRUE(modTLMain::Sign_In("bob")) << c.logLine;
        EXPECT_TRUE(logged(c.logLine)) << opLog();
        EXPECT_EQ(modTLMain::LastSignInItem, "");
        EXPECT_EQ(TLMainState::DownloadBusy, 0);

        // The sign-in page, then the form: both over HTTPS; the form only in the body.
        const auto sent = service.requests();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].method, "GET");
        EXPECT_EQ(sent[1].method, "POST");
        for (const auto& r : sent) {
            EXPECT_TRUE(r.https);
            EXPECT_EQ(r.host, FakeSignIn::signInHost());
            EXPECT_EQ(r.target, "/ws/eBayISAPI.dll?SignIn");
        }
        EXPECT_EQ(sent[1].body, kSentForm);
        EXPECT_EQ(sent[1].header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(sent[0].header("Cookie"), "");  // the jar was emptied first
        EXPECT_NE(sent[1].header("Cookie").find(FakeSignIn::kSessionCookie1), std::string::npos);

        // The jar keeps the service's cookies: the persistent one, not the expired "sru".
        const std::string jar = cookies();
        EXPECT_NE(jar.find(FakeSignIn::kPersistentCookie), std::string::npos) << jar;
        EXPECT_NE(jar.find(FakeSignIn::kSessionCookie2), std::string::npos) << jar;
        EXPECT_EQ(jar.find("sru="), std::string::npos) << jar;
        EXPECT_EQ(jar.find("stale=1"), std::string::npos) << jar;
    }
}

TEST_F(SignInTest, RefusedTestSignInReportsTheErrorPageOnTheClipboard) {
    FakeClipboard clipboard;
    FakeService& service = serve(SignInAnswer::Refused);
    UserState::SignInTest = -1;

    EXPECT_FALSE(modTLMain::Sign_In("bob"));
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    EXPECT_EQ(service.requestCount(), 3u);
    // The refusal leads back to the sign-in host; the home site in its return address does not
    // make it a success.
    EXPECT_EQ(service.lastRequest().target, FakeSignIn::refusedTarget());
    EXPECT_TRUE(logged("eBay Sign In Test Initiated for bob - Sign In Failed")) << opLog();
    EXPECT_TRUE(logged("eBay Sign In Failed - ReDirect to Sign In - Try Again")) << opLog();
    EXPECT_TRUE(logged("Your sign in information is not valid")) << opLog();
    EXPECT_EQ(window.status, "eBay Sign In Failed, Check Operation Log for Details.");

    const std::string pageText = modPageParser::Inner_Text(FakeSignIn::refusedPage());
    EXPECT_EQ(modPageParser::PageText, pageText);
    const std::string now = vb::GeneralDate(clock.now());
    EXPECT_EQ(clipboard.text(),
              "eBay Sign In Initiated for bob\r\n" +
                  now + " - eBay Sign In Failed - ReDirect to Sign In - Try Again\r\n" +
                  now + " - Your user ID or password is incorrect\r\n"
                  "\r\n\r\n\r\n"
                  "----------Error Page (Text Only) Follows----------\r\n\r\n" +
                  pageText + "\r\n\r\n"
                  "----------End Error Page - End Information----------");
}

TEST_F(SignInTest, RefusedSignInWithAnEmptyPageNamesNoTitle) {
    FakeClipboard clipboard;
    FakeSignIn::installRefused(serve(SignInAnswer::Refused), "");

    EXPECT_FALSE(modTLMain::Sign_In("bob"));
    EXPECT_TRUE(logged("eBay Sign In Initiated for bob - Sign In Failed")) << opLog();
    EXPECT_TRUE(logged("eBay Sign In Failed - ReDirect to NP")) << opLog();
    EXPECT_FALSE(logged("Your sign in information is not valid"));
    EXPECT_EQ(clipboard.writes(), 0);  // not a test: no report
}

TEST_F(SignInTest, AnswerWithoutRedirectCountsAsSignedIn) {
    serve(SignInAnswer::NoRedirect);
    EXPECT_TRUE(modTLMain::Sign_In("bob"));
    EXPECT_TRUE(logged("eBay Sign In Initiated for bob - Sign In - No ReDirect")) << opLog();
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
}

TEST_F(SignInTest, NoAnswerFailsAndPutsTheEarlierCookiesBack) {
    serve(SignInAnswer::NoResponse);
    modWinInet::Store_Cookies("HTTP/1.1 200 OK\r\n"
                              "Set-Cookie: keep=p1; Expires=Wed, 09-Jun-2060 10:18:14 GMT\r\n"
                              "Set-Cookie: sess=s1; path=/\r\n"
                              "Set-Cookie: keep2=p2; Expires=Wed, 09-Jun-2060 10:18:14 GMT\r\n\r\n",
                              "bob");
    const std::string before = cookies();
    ASSERT_EQ(before, "Cookie: keep=p1; keep2=p2; sess=s1\r\n");

    EXPECT_FALSE(modTLMain::Sign_In("bob"));
    EXPECT_TRUE(logged("eBay Sign In Initiated for bob - Sign In Failed")) << opLog();
    EXPECT_EQ(window.status, "eBay Sign In Failed, Check Operation Log for Details.");
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
    EXPECT_EQ(cookies(), before);
    EXPECT_EQ(modWinInet::CookieSessionRaw.find(FakeSignIn::kSessionCookie1), std::string::npos);
}

// With the debug tools' HTTP switch on, the trace names the sign-in's requests and "HTMLSignIn"
// holds the page the service answered the form with; neither holds the password.
TEST_F(SignInTest, TheDebugDumpHoldsTheFormsAnswerAndNeverThePassword) {
    struct Case {
        SignInAnswer answer;
        const char* what;
        std::string page;
    };
    const std::string member =
        "https://" + FakeSignIn::memberHost() + "/ws/eBayISAPI.dll?MyeBay&ssPageName=H:H:MYEBAY:US";
    const Case cases[] = {
        {SignInAnswer::MemberPages, "signed in", FakeSignIn::redirectNote(member)},
        {SignInAnswer::NoRedirect, "no redirect", FakeSignIn::securityCheckPage()},
        {SignInAnswer::Refused, "refused",
         FakeSignIn::redirectNote("https://" + FakeSignIn::signInHost() + FakeSignIn::refusedTarget())},
    };
    window.checked[TLMainLink::MenuItem::MnuDBHttpEnabled] = true;
    QDir().mkpath(QString::fromStdString(data.path("Debug")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (fake) fake->clearRoutes();
        serve(c.answer);
        data.write("Debug/HttpLog.txt", "");
        modDebug::DebugOutput = true;
        modTLMain::Sign_In("bob");
        modDebug::DebugOutput = false;
        const std::string trace = data.read("Debug/HttpLog.txt");
        EXPECT_NE(trace.find("Http Begin - https://" + FakeSignIn::signInHost() + "/ws/eBayISAPI.dll?SignIn - POST - bob"),
                  std::string::npos)
            << trace;
        EXPECT_EQ(trace.find("pass="), std::string::npos) << trace;
        EXPECT_EQ(trace.find("se+cret"), std::string::npos) << trace;
        EXPECT_EQ(data.read("Debug/HTMLSignIn.htm"), c.page + "\r\n");
    }

    // With the switch off the form's answer is not read, and nothing is dumped.
    data.write("Debug/HTMLSignIn.htm", "");
    serve(SignInAnswer::NoRedirect);
    window.checked[TLMainLink::MenuItem::MnuDBHttpEnabled] = false;
    modDebug::DebugOutput = true;
    EXPECT_TRUE(modTLMain::Sign_In("bob"));
    modDebug::DebugOutput = false;
    EXPECT_EQ(data.read("Debug/HTMLSignIn.htm"), "");
    EXPECT_EQ(modPageParser::PageHTML, "");
}

TEST_F(SignInTest, MissingUserOrPasswordStopsBeforeAnyRequest) {
    TLMainState::DownloadBusy = 0;
    EXPECT_FALSE(modTLMain::Sign_In(""));
    EXPECT_EQ(window.status, "eBay Sign In Error, No User Selected.");
    EXPECT_TRUE(logged("eBay Sign In Failed, No User Selected."));

    EXPECT_FALSE(modTLMain::Sign_In("nopassword"));
    EXPECT_EQ(window.status, "eBay Sign In Error, No User Password.");
    EXPECT_TRUE(logged("eBay Sign In Error, No User Password."));

    EXPECT_EQ(modWinInet::HttpURL, "");  // no request was made
    EXPECT_EQ(modWinInet::HttpStatus, "");
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
}

TEST(UrlEncode, KeepsLettersAndDigitsAndEncodesEveryOtherByte) {
    struct Case { const char* text; const char* encoded; };
    const Case cases[] = {
        {"", ""},
        {"abcXYZ0189", "abcXYZ0189"},
        {"a b&c", "a+b%26c"},
        {"x=y/z?", "x%3Dy%2Fz%3F"},
        {"-_.~*'", "%2D%5F%2E%7E%2A%27"},
        {"%+", "%25%2B"},
        {"\xC3\xA9t\xC3\xA9", "%C3%A9t%C3%A9"},   // é, two UTF-8 bytes each
        {"\xE2\x82\xAC" "5", "%E2%82%AC5"},       // €
        {"\t\n", "%09%0A"},
    };
    for (const auto& c : cases) EXPECT_EQ(modTLMain::URL_Encode(c.text), c.encoded) << c.text;
}

TEST(PageTitle, IsTheTrimmedTextBetweenTheFirstTitleTags) {
    struct Case { const char* html; const char* title; };
    const Case cases[] = {
        {"<html><head><TITLE>  My eBay  </Title></head>", "My eBay"},
        {"<title>One</title><title>Two</title>", "One"},
        {"<title>No end", ""},
        {"No start</title>", ""},
        {"</title> before <title>", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        modPageParser::PageHTML = c.html;
        EXPECT_EQ(modTLMain::Get_Page_Title(), c.title) << c.html;
    }
    modPageParser::PageHTML.clear();
}

}  // namespace
