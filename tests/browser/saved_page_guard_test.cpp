// A saved page in the program's browser window reaches nothing outside its folder, in any tab it
// opens: the links of a hostile page are clicked with the mouse, through the web engine, and the
// test watches a file beside the folder (never opened), the fake service (never asked) and every
// page's scripts (never run).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QUrl>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <sys/inotify.h>
#include <unistd.h>

#include "browser/automation_browser.h"
#include "browser_fakes.h"
#include "browser_test.h"
#include "foundation/config_store.h"
#include "platform/timers.h"

using testsupport::ScriptedResponse;
using browsertest::kWaitMs;

namespace {

constexpr const char* kMarker = "MARKER-5c1e-the-users-own-file";

// Counts the opens of one file by any process, from the moment it is made.
class OpenWatch {
public:
    explicit OpenWatch(const std::string& path) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (m_fd >= 0) m_ok = inotify_add_watch(m_fd, path.c_str(), IN_OPEN) >= 0;
    }
    ~OpenWatch() {
        if (m_fd >= 0) close(m_fd);
    }
    bool ok() const { return m_ok; }
    int opens() {
        alignas(inotify_event) char buf[4096];
        for (ssize_t n; (n = read(m_fd, buf, sizeof buf)) > 0;)
            for (char* p = buf; p < buf + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
                if (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) ++m_opens;
        return m_opens;
    }

private:
    int m_fd;
    bool m_ok = false;
    int m_opens = 0;
};

class SavedPageGuardTest : public browsertest::BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        modTLC::Set_Config_Value("Options", "NewBroWin", "0");
    }

    std::string fileUrl(const std::string& name) const {
        return QUrl::fromLocalFile(QString::fromStdString(data.path(name))).toString(QUrl::FullyEncoded).toStdString();
    }

    // A script beside the page's own, which are off on a saved page.
    static QString look(QWebEngineView* v, const QString& script) {
        return QString::fromStdString(js(v, script, QWebEngineScript::ApplicationWorld));
    }

    // Where the middle of the element with that id is in the view; false when there is none.
    static bool middleOf(QWebEngineView* v, const QString& id, QPointF& at) {
        const QStringList xy = look(v, "(function (e) { if (!e) return ''; var r = e.getBoundingClientRect();"
                                       " return Math.round(r.left + r.width / 2) + ',' + Math.round(r.top + r.height / 2); })"
                                       "(document.getElementById('" + id + "'))")
                                   .split(',');
        if (xy.size() != 2) return false;
        at = QPointF(xy[0].toInt(), xy[1].toInt());
        return true;
    }

    // A press and release of the left mouse button at a point of the view.
    static void press(QWebEngineView* v, const QPointF& at) {
        QWidget* target = v->focusProxy() ? v->focusProxy() : v;
        const QPointF global = target->mapToGlobal(at);
        QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &down);
        QCoreApplication::sendEvent(target, &up);
    }

    // A left click on the middle of the element with that id. A page takes no input for a moment
    // after it is shown, so the page's radio button "ready" is clicked first until it is checked
    // (a click more does not change it): from then on every click reaches the page.
    static bool click(QWebEngineView* v, const QString& id) {
        QPointF at;
        if (!middleOf(v, QStringLiteral("ready"), at)) return false;
        for (QDeadlineTimer limit(kWaitMs); look(v, "document.getElementById('ready').checked") != QLatin1String("true");) {
            if (limit.hasExpired()) return false;
            press(v, at);
        }
        if (!middleOf(v, id, at)) return false;
        press(v, at);
        return true;
    }

};

// Each link of a hostile saved page, clicked in the tab the program opened or in a copy of the page
// that a link opened in a new tab. After a link that must do nothing, a link to a page of the same
// folder is clicked: once its tab is there, the first click has been dealt with.
TEST_F(SavedPageGuardTest, ASavedPageReachesNothingOutsideItsFolderInAnyTab) {
    testsupport::FakeService& fake = browsertest::trustedFake();
    fake.routePrefix("", "", "/leak", ScriptedResponse::ok("<html><head><title>leaked</title></head><body>leaked</body></html>"));
    fake.clearRequests();
    data.write("marker.txt", kMarker);
    const std::string script = "<script>document.title = 'SCRIPT RAN';</script>";
    data.write("Saved Items/inside.html", "<html><head><title>inside</title></head><body><p>Inside</p>" + script + "</body></html>");
    data.write("Saved Items/refresh.html",
               "<html><head><title>refresh</title><meta http-equiv='refresh' content='0; url=../marker.txt'></head>"
               "<body><p>Refresh</p>" + script + "</body></html>");
    const std::string outside = fileUrl("marker.txt");
    const std::string leak = "http://www.ebay.com/leak";
    data.write("Saved Items/100.html",
               "<html><head><title>saved</title><style>a, button { display: block; height: 24px; }</style></head><body>"
               "<input type='radio' id='ready'>"
               "<a id='blankOutside' target='_blank' href='" + outside + "'>a file outside, new tab</a>"
               "<a id='blankUp' target='_blank' href='../marker.txt'>the folder above, new tab</a>"
               "<a id='blankSelf' target='_blank' href='100.html'>the page itself, new tab</a>"
               "<a id='blankNet' target='_blank' href='" + leak + "?blank'>the network, new tab</a>"
               "<a id='blankRefresh' target='_blank' href='refresh.html'>a page that goes outside, new tab</a>"
               "<form target='_blank' action='" + leak + "'><input type='hidden' name='f' value='1'>"
               "<button id='formNet'>a form to the network, new tab</button></form>"
               "<a id='plainOutside' href='" + outside + "'>a file outside</a>"
               "<a id='plainNet' href='" + leak + "?plain'>the network</a>"
               "<a id='plainInside' href='inside.html'>a page of the folder</a>"
               "<a id='control' target='_blank' href='inside.html'>a page of the folder, new tab</a>"
               "<img src='" + leak + "?picture'><iframe src='../marker.txt'></iframe>" + script + "</body></html>");
    OpenWatch watch(data.path("marker.txt"));
    ASSERT_TRUE(watch.ok());

    // opens: the page the click shows ("" = none), in a new tab or in the same one.
    struct LinkCase { const char* link; bool inCopy; const char* opens; const char* title; bool newTab; };
    const LinkCase cases[] = {
        {"blankRefresh", false, "refresh.html", "refresh", true},
        {"blankOutside", false, "", "", true},
        {"blankUp", false, "", "", true},
        {"blankSelf", false, "100.html", "saved", true},
        {"blankNet", false, "", "", true},
        {"formNet", false, "", "", true},
        {"plainOutside", false, "", "", false},
        {"plainNet", false, "", "", false},
        {"plainInside", false, "inside.html", "inside", false},
        {"blankOutside", true, "", "", true},
        {"blankUp", true, "", "", true},
        {"blankNet", true, "", "", true},
        {"plainOutside", true, "", "", false},
        {"blankSelf", true, "100.html", "saved", true},
        {"plainInside", true, "inside.html", "inside", false},
    };
    const std::string saved = fileUrl("Saved Items/100.html");
    const auto shows = [](QWebEngineView* v, const char* name) {
        return v->url().toString(QUrl::FullyEncoded).endsWith(QLatin1String("/") + QLatin1String(name));
    };
    for (const LinkCase& c : cases) {
        const std::string what = std::string(c.link) + (c.inCopy ? " in a copy the page opened" : "");
        // The page as the program opens it: a new tab of the browser window.
        modTLMain::Browser_Navigate(saved);
        QPointer<AutomationBrowser> b = modTLMain::IEBrowser;
        ASSERT_TRUE(b && waitLoaded(b)) << what;
        QWebEngineView* v = b->currentView();
        ASSERT_EQ(v->title().toStdString(), "saved") << what;
        if (c.inCopy) {
            const int n = b->tabCount();
            ASSERT_TRUE(click(v, "blankSelf")) << what;
            ASSERT_TRUE(platform::timers().waitUntil([&] { return b->tabCount() > n && shows(b->view(n), "100.html"); }, kWaitMs))
                << what;
            v = b->view(n);
            ASSERT_TRUE(waitLoaded(b)) << what;
        }
        const int n = b->tabCount();
        ASSERT_TRUE(click(v, c.link)) << what;
        if (*c.opens) {
            QWebEngineView* shown = nullptr;
            ASSERT_TRUE(platform::timers().waitUntil(
                [&] {
                    shown = c.newTab ? (b->tabCount() > n ? b->view(n) : nullptr) : v;
                    return shown && shows(shown, c.opens) && !b->Busy();
                },
                kWaitMs))
                << what;
            EXPECT_EQ(b->tabCount(), n + (c.newTab ? 1 : 0)) << what;
            EXPECT_EQ(shown->title().toStdString(), c.title) << what << ": its scripts must not run";
            continue;
        }
        // Nothing is to happen: the control link's tab comes, and nothing before it.
        ASSERT_TRUE(click(v, "control")) << what;
        platform::timers().waitUntil(
            [&] {
                return v->url().toString(QUrl::FullyEncoded).toStdString() != saved ||
                       (b->tabCount() > n && shows(b->view(b->tabCount() - 1), "inside.html"));
            },
            kWaitMs);
        ASSERT_TRUE(waitLoaded(b)) << what;
        EXPECT_EQ(v->url().toString(QUrl::FullyEncoded).toStdString(), saved) << what;
        ASSERT_EQ(b->tabCount(), n + 1) << what;
        EXPECT_TRUE(shows(b->view(n), "inside.html")) << what;
        EXPECT_EQ(b->view(n)->title().toStdString(), "inside") << what;
    }

    // Nothing outside the folder was read or shown, nothing went to the network, no script ran.
    QPointer<AutomationBrowser> b = modTLMain::IEBrowser;
    ASSERT_TRUE(b && waitLoaded(b));
    EXPECT_EQ(watch.opens(), 0);
    for (const auto& r : fake.requests()) EXPECT_NE(r.path, "/leak") << r.target;
    for (int i = 0; i < b->tabCount(); ++i) {
        QWebEngineView* v = b->view(i);
        EXPECT_TRUE(v->url().isLocalFile()) << v->url().toString().toStdString();
        EXPECT_NE(v->title().toStdString(), "SCRIPT RAN") << v->url().toString().toStdString();
        EXPECT_FALSE(look(v, "document.documentElement.innerText").contains(kMarker)) << v->url().toString().toStdString();
    }
}

// A service page keeps its scripts and its new tabs, and reaches no file of the user's either.
TEST_F(SavedPageGuardTest, AServicePageOpensNewTabsWithItsScriptsButNoFile) {
    testsupport::FakeService& fake = browsertest::trustedFake();
    data.write("marker.txt", kMarker);
    const std::string outside = fileUrl("marker.txt");
    fake.route("", "GET", "/svc", ScriptedResponse::ok(
        "<html><head><title>service</title><style>a { display: block; height: 24px; }</style></head><body>"
        "<input type='radio' id='ready'>"
        "<a id='blankOutside' target='_blank' href='" + outside + "'>a file, new tab</a>"
        "<a id='plainOutside' href='" + outside + "'>a file</a>"
        "<a id='blankService' target='_blank' href='/svc2'>another page, new tab</a></body></html>"));
    fake.route("", "GET", "/svc2", ScriptedResponse::ok(
        "<html><head><title>other</title></head><body><script>document.title = 'other, scripted';</script></body></html>"));
    OpenWatch watch(data.path("marker.txt"));
    ASSERT_TRUE(watch.ok());

    modTLMain::Browser_Navigate("http://www.ebay.com/svc");
    QPointer<AutomationBrowser> b = modTLMain::IEBrowser;
    ASSERT_TRUE(b && waitLoaded(b));
    QWebEngineView* v = b->currentView();
    ASSERT_EQ(v->title().toStdString(), "service");
    const int n = b->tabCount();
    ASSERT_TRUE(click(v, "blankOutside"));
    ASSERT_TRUE(click(v, "plainOutside"));
    ASSERT_TRUE(click(v, "blankService"));
    ASSERT_TRUE(platform::timers().waitUntil(
        [&] { return b->tabCount() > n && b->view(b->tabCount() - 1)->title() == QLatin1String("other, scripted"); },
        kWaitMs));
    ASSERT_TRUE(waitLoaded(b));
    EXPECT_EQ(b->tabCount(), n + 1);
    EXPECT_EQ(v->url().toString().toStdString(), "http://www.ebay.com/svc");
    EXPECT_EQ(watch.opens(), 0);
}

}  // namespace
