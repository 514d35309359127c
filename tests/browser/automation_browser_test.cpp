// The program's browser window: tabs or windows per the user's choice, placement, and the
// automatic sign-in on the service's sign-in page. The pages are loaded from text with the
// address they pretend to have, so no network is used. Waits are event waits with generous
// limits: the web engine starts slowly.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QWebEngineScript>
#include <QScreen>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

#include "foundation/config_store.h"
#include "foundation/message_dialog.h"
#include "ieext/hand_over.h"
#include "platform/file_names.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "platform/timers.h"
#include "browser/automation_browser.h"
#include "browser_fakes.h"
#include "browser_test.h"
#include "fake_signin.h"
#include "service/national_sites.h"
#include "service/sign_in.h"
#include "temp_data_folder.h"

using testsupport::FakeService;
using testsupport::FakeSignIn;

namespace {

using browsertest::BrowserTest;
using browsertest::kWaitMs;

// A search form first (never filled), then the sign-in form; the sign-in form records what it
// would send instead of leaving the page.
const QString kSignInPage = QStringLiteral(R"(<html><head><title>Sign In</title></head><body>
<form id="search"><input type="text" name="q"><input type="submit" value="Find"></form>
<form id="signin" onsubmit="window.sent = [this.userid.value, this.pass.value, this.keep.checked].join('|'); return false;">
  <input type="hidden" name="h" value="x">
  <input type="text" name="userid"><input type="text" name="other">
  <input type="password" name="pass">
  <input type="checkbox" name="keep">
  <input type="submit" value="Sign in">
</form></body></html>)");

const QString kFieldsScript = QStringLiteral(
    "[document.forms[0].q.value, document.forms[1].userid.value, document.forms[1].other.value,"
    " document.forms[1].pass.value, document.forms[1].keep.checked, String(window.sent)].join('/')");

TEST_F(BrowserTest, OpensTabsOrWindowsAsChosenAndCoversTheWorkAreaWhenFull) {
    // NewBroWin 0: the first page makes the window, the next one opens as its second tab.
    modTLC::Set_Config_Value("Options", "NewBroWin", "0");
    modTLC::Set_Config_Value("Options", "IEFull", "1");
    modTLMain::Browser_Navigate("about:blank");
    QPointer<AutomationBrowser> first = modTLMain::IEBrowser;
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    ASSERT_TRUE(waitLoaded(first));
    modTLMain::Browser_Navigate("about:blank#second");
    EXPECT_EQ(modTLMain::IEBrowser, first);
    EXPECT_EQ(first->tabCount(), 2);
    ASSERT_TRUE(waitLoaded(first));
    EXPECT_EQ(first->LocationURL(), "about:blank#second");
    // IEFull 1: the window covers the desktop's work area (not the whole screen).
    EXPECT_EQ(first->geometry(), QGuiApplication::primaryScreen()->availableGeometry());

    // NewBroWin 1: every page gets a window of its own; the earlier window stays open.
    modTLC::Set_Config_Value("Options", "NewBroWin", "1");
    modTLC::Set_Config_Value("Options", "IEFull", "0");
    modTLMain::Browser_Navigate("about:blank#third");
    ASSERT_TRUE(modTLMain::IEBrowser);
    EXPECT_NE(modTLMain::IEBrowser, first);
    EXPECT_EQ(modTLMain::IEBrowser->tabCount(), 1);
    EXPECT_TRUE(first);
    ASSERT_TRUE(waitLoaded(modTLMain::IEBrowser));

    // A window the user closed is replaced by a new one.
    modTLC::Set_Config_Value("Options", "NewBroWin", "0");
    modTLMain::IEBrowser->Quit();
    platform::timers().waitUntil([] { return !modTLMain::IEBrowser; }, kWaitMs);
    modTLMain::Browser_Navigate("about:blank#fourth");
    ASSERT_TRUE(modTLMain::IEBrowser);
    EXPECT_EQ(modTLMain::IEBrowser->tabCount(), 1);
    ASSERT_TRUE(waitLoaded(modTLMain::IEBrowser));
}

// A new browser window opens inside the desktop's work area, wherever the work area lies and at any
// scale (a work area of 800 x 500 is what a 1600 x 1000 screen gives at scale 2): four fifths of
// it, or the room of a common page where that is more, but never beyond it.
TEST_F(BrowserTest, ANewWindowOpensWithinTheWorkArea) {
    struct C { QRect available; QMargins frame; QRect first; };
    const QMargins titled(1, 20, 1, 1);  // a frame with a title bar
    const C cases[] = {
        {{0, 0, 1920, 1080}, {}, {192, 108, 1536, 864}},
        {{0, 0, 1280, 1024}, {}, {128, 102, 1024, 819}},
        {{0, 0, 1280, 1024}, titled, {128, 112, 1024, 819}},
        {{0, 0, 800, 500}, {}, {0, 0, 800, 500}},
        {{0, 0, 800, 500}, titled, {1, 20, 798, 479}},
        {{0, 0, 400, 250}, titled, {1, 20, 398, 229}},
        {{1920, 30, 1024, 738}, {}, {1920, 30, 1024, 738}},  // a second screen under a panel
        {{0, 0, 1200, 700}, titled, {88, 20, 1024, 679}},
    };
    for (const C& c : cases) {
        const QRect first = AutomationBrowser::First_Geometry(c.available, c.frame);
        EXPECT_EQ(first, c.first) << c.available.width() << "x" << c.available.height();
        EXPECT_TRUE(c.available.contains(first.marginsAdded(c.frame)));
    }
    modTLMain::Browser_Navigate("about:blank");
    ASSERT_TRUE(modTLMain::IEBrowser);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(modTLMain::IEBrowser->geometry()));
    ASSERT_TRUE(waitLoaded(modTLMain::IEBrowser));
}

// A saved page (the service's HTML on disk) is shown as a document: its scripts do not run, it
// shows the pictures of its own folder and reaches no other file, nor the network; a service page
// in the same tab runs its scripts again.
TEST_F(BrowserTest, ASavedPageRunsNoScriptsAndReadsOnlyItsOwnFolder) {
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(data.path("Saved Items/100_files"))));
    for (const char* name : {"Saved Items/pic.png", "Saved Items/100_files/pic.png", "outside.png"})
        ASSERT_TRUE(picture.save(QString::fromStdString(data.path(name)))) << name;
    const std::string outside = QUrl::fromLocalFile(QString::fromStdString(data.path("outside.png"))).toString().toStdString();
    data.write("Saved Items/100.html",
               "<html><head><title>saved</title></head><body><p>Teapot</p>"
               "<img src=\"pic.png\"><img src=\"100_files/pic.png\"><img src=\"../outside.png\">"
               "<img src=\"" + outside + "\"><img src=\"100_files/../../outside.png\">"
               "<script>document.title = 'script ran';</script></body></html>");
    modTLC::Set_Config_Value("Options", "NewBroWin", "0");
    modTLMain::Browser_Navigate(QUrl::fromLocalFile(QString::fromStdString(data.path("Saved Items/100.html"))).toString().toStdString());
    QPointer<AutomationBrowser> b = modTLMain::IEBrowser;
    ASSERT_TRUE(b);
    ASSERT_TRUE(waitLoaded(b));
    QWebEngineView* v = b->view(b->tabCount() - 1);
    EXPECT_EQ(v->title().toStdString(), "saved");
    // Read from outside the page (its own scripts are off): the width of each picture, 0 when refused.
    auto widths = std::make_shared<std::pair<bool, QString>>(false, QString());
    v->page()->runJavaScript(QStringLiteral("Array.from(document.images).map(i => i.naturalWidth).join(',')"),
                             QWebEngineScript::ApplicationWorld, [widths](const QVariant& r) {
                                 widths->first = true;
                                 widths->second = r.toString();
                             });
    ASSERT_TRUE(platform::timers().waitUntil([widths] { return widths->first; }, kWaitMs));
    EXPECT_EQ(widths->second.toStdString(), "4,4,0,0,0");
    QWebEngineSettings* s = v->page()->settings();
    EXPECT_FALSE(s->testAttribute(QWebEngineSettings::JavascriptEnabled));
    EXPECT_FALSE(s->testAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls));

    b->Navigate2("about:blank");
    ASSERT_TRUE(waitLoaded(b));
    EXPECT_TRUE(s->testAttribute(QWebEngineSettings::JavascriptEnabled));
}

// The page context menu's entries hand the page under the mouse to the extension in the data
// folder, which puts it on the clipboard for the program's heartbeat; without the extension the
// user is told. (No program lies beside the copy, so none is started: the tag is "-N".)
TEST_F(BrowserTest, APageHandedOverFromTheMenuReachesTheClipboardWhole) {
    modTLC::Set_Config_Value("Options", "NewBroWin", "0");
    modTLMain::Browser_Navigate("about:blank");
    QPointer<AutomationBrowser> b = modTLMain::IEBrowser;
    ASSERT_TRUE(b && waitLoaded(b));
    QWebEngineView* v = b->currentView();
    ASSERT_TRUE(load(b, v, QStringLiteral("<html><head><title>Blue teapot</title></head><body><h1>Blue teapot</h1>"
                                          "<p>Item number: 123456789012</p></body></html>"),
                     QStringLiteral("http://www.ebay.com/itm/123456789012")));

    const auto handOver = [&](const std::string& method) {
        auto result = std::make_shared<std::optional<bool>>();
        AutomationBrowser::Hand_Page_Over(v, method, [result](bool ok) { *result = ok; });
        platform::timers().waitUntil([result] { return result->has_value(); }, kWaitMs);
        return result->value_or(false);
    };
    QGuiApplication::clipboard()->setText("before");
    EXPECT_FALSE(handOver("AddItem"));  // no extension yet
    ASSERT_TRUE(Messages::Shared());
    Messages::UnloadShared();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "before");

    ASSERT_TRUE(QFile::copy(TOLVANE_EXTENSION_LIBRARY, QString::fromStdString(data.dataFolder() + platform::kExtensionFile)));
    ASSERT_TRUE(handOver("AddItem"));
    const auto page = ieext::Parse_Page_Hand_Over(QGuiApplication::clipboard()->text().toStdString());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->prefix, "TLAUCDOC");
    EXPECT_EQ(page->tag, "-N");
    EXPECT_EQ(page->url, "http://www.ebay.com/itm/123456789012");
    EXPECT_EQ(page->title, "Blue teapot");
    EXPECT_EQ(page->html.rfind("<body>", 0), 0u) << page->html;
    EXPECT_NE(page->text.find("Item number: 123456789012"), std::string::npos) << page->text;

    ASSERT_TRUE(handOver("Feedback"));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString().substr(0, 12), "TLFEEDBACK-N");
}

TEST_F(BrowserTest, SignsInOnlyOnTheHttpsPageOfTheSignInHost) {
    UserState::CurrentUserID = "bob smith";
    modTLC::Set_Config_Value("Users", "bob smith", R"(pa"ss\wo'rd)");
    modTLC::Set_Config_Value("Options", "MyeBayASI", "1");

    // The opener's steps: a new window given to the shared receiver, AutoSignIn from the options.
    modTLMain::Open_Browser_Sign_In_Page("about:blank");
    AutomationBrowser* b = modTLMain::IEBrowser;
    ASSERT_TRUE(b);
    ASSERT_EQ(modTLMain::Browser_Events().MyIESink(), b);
    EXPECT_EQ(modTLMain::AutoSignIn, 1);
    ASSERT_TRUE(waitLoaded(b));
    QWebEngineView* v = b->currentView();

    int ran = 0;
    bool filled = false;
    QObject::connect(&modTLMain::Browser_Events(), &IEEvents::autoSignInRan, b, [&](bool f) {
        ++ran;
        filled = f;
    });
    const QString host = QString::fromStdString(modTLMain::Sign_In_Host(0));
    const QString path = QString::fromLatin1(modTLMain::kSignInPath);

    struct Case { const char* what; QString url; long autoSignIn; };
    const Case untouched[] = {
        {"plain http", "http://" + host + path, 1},
        {"another host that starts alike", "https://" + host + ".example.net" + path, 1},
        {"another host with the sign-in host in its path", "https://example.net/" + host + path, 1},
        {"automatic sign-in off", "https://" + host + path, 0},
    };
    for (const Case& c : untouched) {
        modTLMain::AutoSignIn = c.autoSignIn;
        ASSERT_TRUE(load(b, v, kSignInPage, c.url)) << c.what;
        EXPECT_EQ(js(v, kFieldsScript), "////false/undefined") << c.what;
    }
    EXPECT_EQ(ran, 0);

    // A sign-in page without a password field is left as it is.
    modTLMain::AutoSignIn = 1;
    ASSERT_TRUE(load(b, v, "<html><body><form><input type='text' name='q'></form></body></html>", "https://" + host + path));
    ASSERT_TRUE(platform::timers().waitUntil([&] { return ran > 0; }, kWaitMs));
    EXPECT_FALSE(filled);
    EXPECT_EQ(js(v, "document.forms[0].q.value"), "");

    // The https page of the sign-in host: the form with the password field is filled and sent;
    // the search form before it stays empty.
    ran = 0;
    ASSERT_TRUE(load(b, v, kSignInPage, "https://" + host.toUpper() + path));
    ASSERT_TRUE(platform::timers().waitUntil([&] { return ran > 0; }, kWaitMs));
    EXPECT_TRUE(filled);
    EXPECT_EQ(js(v, kFieldsScript), R"(/bob smith//pa"ss\wo'rd/true/bob smith|pa"ss\wo'rd|true)");

    // The form has gone once in this attempt: the sign-in page again is the user's.
    ASSERT_TRUE(load(b, v, kSignInPage, "https://" + host + path));
    EXPECT_EQ(js(v, kFieldsScript), "////false/undefined");
    EXPECT_EQ(ran, 1);

    // Once the window quits, the receiver lets go of it.
    b->Quit();
    platform::timers().waitUntil([] { return !modTLMain::IEBrowser; }, kWaitMs);
    EXPECT_EQ(modTLMain::Browser_Events().MyIESink(), nullptr);
}

// Against the fake service: a wrong password brings the sign-in form back, as the service does.
TEST_F(BrowserTest, AutomaticSignInSubmitsOncePerAttempt) {
    UserState::CurrentUserID = "bob";
    modTLC::Set_Config_Value("Users", "bob", "wrong");
    modTLC::Set_Config_Value("Options", "MyeBayASI", "1");
    FakeService& fake = browsertest::trustedFake();
    FakeSignIn::installRefused(fake, "<html><head><title>Sign In - Try Again</title></head><body>"
                                     "<p>Your user ID or password is incorrect.</p>"
                                     "<form method='post' action='/ws/eBayISAPI.dll?SignIn' onsubmit='window.submitted = 1'>"
                                     "<input type='text' name='userid'><input type='password' name='pass'>"
                                     "<input type='submit' value='Sign in'></form></body></html>");
    fake.clearRequests();
    const std::string url = "https://" + FakeSignIn::signInHost() + modTLMain::kSignInPath;
    auto posts = [&fake] {
        std::vector<std::string> bodies;
        for (const auto& r : fake.requests())
            if (r.method == "POST") bodies.push_back(r.body);
        return bodies;
    };

    for (int attempt = 1; attempt <= 2; ++attempt) {
        // The opener starts an attempt; the form is filled and sent, the service refuses it.
        modTLMain::Open_Browser_Sign_In_Page(url);
        AutomationBrowser* b = modTLMain::IEBrowser;
        ASSERT_TRUE(b);
        auto refused = std::make_shared<bool>(false);
        QObject::connect(b, &AutomationBrowser::DocumentComplete, [refused](QWebEngineView*, const QString& u) {
            if (u.contains("errmsg=8")) *refused = true;
        });
        ASSERT_TRUE(platform::timers().waitUntil([refused] { return *refused; }, kWaitMs)) << attempt;
        // Any sign-in script on the refused page would have run before this one.
        EXPECT_EQ(js(b->currentView(), "String(window.submitted)"), "undefined") << attempt;
        const auto bodies = posts();
        ASSERT_EQ(bodies.size(), static_cast<size_t>(attempt));
        EXPECT_NE(bodies.back().find("userid=bob"), std::string::npos) << bodies.back();
        EXPECT_NE(bodies.back().find("pass=wrong"), std::string::npos) << bodies.back();
    }
}

}  // namespace
