// automation_browser.h — the program's browser for service pages, and the automatic sign-in on it.
//
// Service pages open in the program's own browser window (never the desktop's default browser):
// a top-level window with one tab per page. modTLMain::CreateNewBrowser makes a window,
// Position_Browser places it and brings it to the front, Browser_Navigate opens a URL in the open
// window (as a new tab) or in a new window, as the user chose ([Options] NewBroWin).
//
// A local page (a page the program saved) is shown as a document: no scripts, no pictures from the
// network, and no page, file or address outside its own folder, in its tab or in any tab it opens.
//
// IEEvents receives a window's events. When a sign-in page of the service has loaded and automatic
// sign-in is on, it fills in the current user's ID and password and submits the form.
// Everything runs on the user-interface thread; page events arrive through the event loop, also
// while other code waits with events processed.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QSet>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QTabWidget;
class QWebEngineView;

// One browser window: tabs of web pages.
class AutomationBrowser : public QWidget {
    Q_OBJECT
public:
    static constexpr long navOpenInNewTab = 2048;
    static constexpr long READYSTATE_COMPLETE = 4;

    // A new window takes the place First_Geometry gives on the desktop's work area.
    explicit AutomationBrowser(QWidget* parent = nullptr);
    ~AutomationBrowser() override;

    // Opens URL in the current tab; with navOpenInNewTab in a new tab of this window.
    // A window without a page opens its first tab either way.
    void Navigate2(const std::string& url, long flags = 0);
    bool Busy() const;        // a tab is still loading
    long ReadyState() const;  // 4 when no tab is loading, 1 otherwise
    std::string LocationURL() const;  // the current tab's address
    int tabCount() const;
    QWebEngineView* currentView() const;
    QWebEngineView* view(int index) const;
    // The inner text of the current page's document element; "" when it cannot be had in maxMs.
    std::string DocumentText(qint64 maxMs = 10000);
    // Closes the window; OnQuit is signalled first.
    void Quit();

    // A tab that a page opens for itself (a link with a target window).
    QWebEngineView* addTab();

    // The page context menu's hand-over entries: the page's address, title, body HTML and body
    // text go to the extension, which calls `method` ("AddItem", "Feedback" or "AddGRP") and so
    // puts the page on the clipboard for the program. Runs `done` with false when the extension
    // could not be used (the user has been told "An error occured!").
    static void Hand_Page_Over(QWebEngineView* v, const std::string& method, std::function<void(bool)> done = {});
    struct HandOverEntry {
        const char* caption;
        const char* method;
    };
    static const HandOverEntry kHandOverEntries[3];

    // The room a common web page needs without scrolling sideways (device-independent pixels).
    static constexpr QSize kPageSize{1024, 768};
    // A new window's place (inside its frame) on a work area: four fifths of the area, or a page's
    // room where that is more, but never more than the area holds with the frame; centred in it.
    static QRect First_Geometry(const QRect& available, const QMargins& frame = {});

signals:
    // A page finished loading: its view and its address.
    void DocumentComplete(QWebEngineView* pDisp, const QString& URL);
    void OnQuit();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void pageLoaded(QWebEngineView* v, bool ok);
    void showPageMenu(QWebEngineView* v, const QPoint& pos);
    QTabWidget* m_tabs = nullptr;
    QSet<QWebEngineView*> m_loading;
    bool m_quitSent = false;
};

// Receives the events of the browser in MyIESink and signs the current user in on the service's
// sign-in page. One shared instance (modTLMain::BrowserEvents) lives for the life of the process.
class IEEvents : public QObject {
    Q_OBJECT
public:
    IEEvents() = default;

    // The browser whose events this object receives (assigned by the opener); nullptr = none.
    // Each assignment starts a new sign-in attempt.
    void setMyIESink(AutomationBrowser* browser);
    AutomationBrowser* MyIESink() const { return m_sink; }

    // A page has loaded: on an https page of the sign-in host, with automatic sign-in on, fills the
    // form that holds the password field (password, first text field = user ID, first check box)
    // and submits it. Anything else leaves the page as it is. A form is submitted once per attempt:
    // a sign-in page that comes back after it (a wrong password) is left to the user.
    void MyIESink_DocumentComplete(QWebEngineView* pDisp, const QString& URL);
    // The browser is closing: lets go of it and of the kept page.
    void MyIESink_OnQuit();

    std::string GetUserID() const;  // the program user in use
    std::string GetUserPW() const;  // that user's stored password
    long AutoSignin() const;        // modTLMain::AutoSignIn

    // Whether an address is a sign-in page that automatic sign-in may fill.
    static bool Is_Sign_In_Page(const QString& URL);
    // The script that fills and submits the sign-in form of a page.
    static QString Sign_In_Script(const std::string& userID, const std::string& password);

signals:
    // The sign-in script has run on a page; filled = a form with a password field was found.
    void autoSignInRan(bool filled);

private:
    QPointer<AutomationBrowser> m_sink;
    // Where the attempt stands: the script is running on a page, or it has submitted a form.
    enum class Attempt { Open, Running, Submitted };

    QPointer<QWebEngineView> m_document;  // the page of the last completed sign-in load
    QMetaObject::Connection m_complete, m_quit;
    Attempt m_attempt = Attempt::Open;
    quint64 m_attemptNumber = 0;  // counts the attempts, so a late script result finds its own
};

namespace modTLMain {

// The browser in use: nullptr until the first navigation; replaced when a new window is made,
// and gone when its window is closed.
inline QPointer<AutomationBrowser> IEBrowser;
// [Options] MyeBayASI as read by the opener of the page; non-zero = fill in the sign-in form.
inline long AutoSignIn = 0;
// The shared event receiver; nullptr until first used (Browser_Events makes it).
inline IEEvents* BrowserEvents = nullptr;

// A new browser window, not yet visible.
AutomationBrowser* CreateNewBrowser();
// Places IEBrowser ([Options] IEFull = 1: over the desktop's work area), shows it and brings it
// to the front.
void Position_Browser();
// Opens URL in the browser: a new window for every page with [Options] NewBroWin on, otherwise a
// new tab of the open window (a new window when none is open).
void Browser_Navigate(const std::string& URL);

// The shared event receiver, made on first use.
IEEvents& Browser_Events();
// What the openers of service pages with automatic sign-in do: a new window given to
// BrowserEvents, placed, AutoSignIn from [Options] MyeBayASI, and the page opened.
void Open_Browser_Sign_In_Page(const std::string& URL);

// Closes every browser window and forgets the shared state.
void ResetBrowserForTests();

}  // namespace modTLMain
