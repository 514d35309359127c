#include "browser/automation_browser.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <vector>

#include "browser/browser_route.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "ieext/ie_ext_loader.h"
#include "platform/file_names.h"
#include "platform/timers.h"
#include "service/national_sites.h"
#include "service/wininet.h"

namespace {

constexpr qint64 kPageWaitMs = 60000;  // the debug dump's wait for a page to complete

// Where a page may reach. A saved page (a local file the program opened) reaches its own folder
// and the folders inside it, and nothing else: no other file, no network, no other program. A
// service page reaches anything but the user's files. A window a page opens keeps its reach, so a
// link that opens a new tab gets no further than the page it is on. Every address the page loads
// or goes to is checked, whoever started it.
class PageReach final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    // A page the program opens at this address: a local page is held to its folder.
    void setPage(const QUrl& address) {
        m_local = address.isLocalFile();
        m_folder = m_local ? realPath(QFileInfo(address.toLocalFile()).absolutePath()) : QString();
    }
    void copy(const PageReach& opener) {
        m_local = opener.m_local;
        m_folder = opener.m_folder;
    }
    bool local() const { return m_local; }
    // An address that holds its content in itself (data:, an empty document) reaches nothing.
    bool reaches(const QUrl& url) const {
        const QString scheme = url.scheme().toLower();
        if (scheme == QLatin1String("data")) return true;
        if (scheme == QLatin1String("about"))
            return !m_local || url.path() == QLatin1String("blank") || url.path() == QLatin1String("srcdoc");
        if (scheme != QLatin1String("file")) return !m_local;
        if (!m_local || !url.host().isEmpty()) return false;
        const QString path = realPath(url.toLocalFile());
        const QString within = m_folder.endsWith(QLatin1Char('/')) ? m_folder : m_folder + QLatin1Char('/');
        return path == m_folder || path.startsWith(within);
    }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!reaches(info.requestUrl())) info.block(true);
    }

private:
    // The path with its links followed, so no link in the folder leads out of it.
    static QString realPath(const QString& path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
    }
    bool m_local = false;
    QString m_folder;
};

// A page that opens the windows it asks for as new tabs of its own browser window, trusts what
// the HTTP client trusts, and goes nowhere beyond its reach. A local page is shown as a document
// only: no scripts, its pictures from its own folder.
class BrowserPage : public QWebEnginePage {
public:
    BrowserPage(AutomationBrowser* browser, QObject* parent)
        : QWebEnginePage(parent), m_browser(browser), m_reach(new PageReach(this)) {
        connect(this, &QWebEnginePage::certificateError, this, &BrowserPage::checkCertificate);
        connect(this, &QWebEnginePage::newWindowRequested, this, &BrowserPage::openWindow);
        setUrlRequestInterceptor(m_reach);
        applySettings();
    }
    // The program opens this page at address.
    void openAt(const QUrl& address) {
        m_reach->setPage(address);
        applySettings();
    }
    // A page opened by another keeps the other's reach and settings.
    void openedBy(const BrowserPage& opener) {
        m_reach->copy(*opener.m_reach);
        applySettings();
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override { return m_reach->reaches(url); }

private:
    void applySettings() {
        QWebEngineSettings* s = settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, !m_reach->local());
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, m_reach->local());
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    }
    // A window the page asks for, for an address within its reach, opens as a new tab with the
    // page's own reach and settings; any other is not opened at all.
    void openWindow(QWebEngineNewWindowRequest& request) {
        if (!m_browser || !m_reach->reaches(request.requestedUrl())) return;
        QWebEngineView* v = m_browser->addTab();
        auto* page = static_cast<BrowserPage*>(v->page());
        page->openedBy(*this);
        request.openIn(page);
    }
    // A certificate the engine does not know is taken only when its chain verifies against the
    // client's CA file for the page's host; every other certificate error stops the page.
    static void checkCertificate(const QWebEngineCertificateError& e) {
        QWebEngineCertificateError error = e;
        if (error.type() == QWebEngineCertificateError::CertificateAuthorityInvalid && error.isOverridable() &&
            browserroute::Chain_Trusted(error.certificateChain(), error.url().host(), modWinInet::Settings().caFile))
            error.acceptCertificate();
        else
            error.rejectCertificate();
    }

    QPointer<AutomationBrowser> m_browser;
    PageReach* m_reach;
};

// The debug tools' text dump "IEText" of each page opened.
bool Browser_Text_Dump_On() { return modDebug::DebugOutput && TLMainLink::menus().menuChecked(TLMainLink::MenuItem::MnuDBBrowserText); }
void Save_Browser_Text(const std::string& text) {
    std::string name = "IEText";
    modDebug::Save_Debug_Page(text, name);
}

std::string Options_Value(const char* key) { return modTLC::Get_Config_Value("Options", key, "0"); }

}  // namespace

// ---- AutomationBrowser ----------------------------------------------------------------------

AutomationBrowser::AutomationBrowser(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tolvane Rerode II - Browser"));
    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        QWidget* w = m_tabs->widget(index);
        m_tabs->removeTab(index);
        m_loading.remove(static_cast<QWebEngineView*>(w));
        if (w) w->deleteLater();
        if (m_tabs->count() == 0) close();
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) setWindowTitle(m_tabs->tabText(index));
    });
    // The keys of a browser: Ctrl+W and Esc close the window, Alt+Left and Alt+Right go back and forward.
    for (const QKeySequence& k : {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(k, this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this), &QShortcut::activated, this, [this] {
        if (QWebEngineView* v = currentView()) v->back();
    });
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this), &QShortcut::activated, this, [this] {
        if (QWebEngineView* v = currentView()) v->forward();
    });
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        // The window manager's frame is not known before the window is shown: the main window's
        // stands for it.
        QMargins frame;
        if (QWidget* main = TLMainLink::window().widget(); main && main->isVisible()) {
            const QRect outer = main->frameGeometry(), inner = main->geometry();
            frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        }
        setGeometry(First_Geometry(s->availableGeometry(), frame));
    }
}

QRect AutomationBrowser::First_Geometry(const QRect& available, const QMargins& frame) {
    const QSize room = available.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    const QSize most(available.width() * 4 / 5, available.height() * 4 / 5);
    QRect outer(QPoint(0, 0), most.expandedTo(kPageSize).boundedTo(room).grownBy(frame));
    outer.moveCenter(available.center());
    return outer.marginsRemoved(frame);
}

AutomationBrowser::~AutomationBrowser() {
    if (!m_quitSent) {
        m_quitSent = true;
        emit OnQuit();
    }
}

QWebEngineView* AutomationBrowser::addTab() {
    browserroute::Prepare_Web_Engine();  // the engine starts with the first view
    auto* v = new QWebEngineView(m_tabs);
    v->setPage(new BrowserPage(this, v));
    const int index = m_tabs->addTab(v, QStringLiteral("..."));
    m_tabs->setCurrentIndex(index);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWebEngineView::customContextMenuRequested, this, [this, v](const QPoint& pos) { showPageMenu(v, pos); });
    connect(v, &QWebEngineView::loadStarted, this, [this, v] { m_loading.insert(v); });
    connect(v, &QWebEngineView::loadFinished, this, [this, v](bool ok) { pageLoaded(v, ok); });
    connect(v, &QWebEngineView::titleChanged, this, [this, v](const QString& title) {
        const int i = m_tabs->indexOf(v);
        if (i < 0) return;
        m_tabs->setTabText(i, title.isEmpty() ? v->url().toString() : title);
        if (i == m_tabs->currentIndex()) setWindowTitle(title);
    });
    return v;
}

const AutomationBrowser::HandOverEntry AutomationBrowser::kHandOverEntries[3] = {
    {"Add Item to Tolvane Rerode II", "AddItem"},
    {"Tolvane Rerode II Seller Feedback", "Feedback"},
    {"Add Item to a Tolvane Rerode II Bid Group", "AddGRP"},
};

// The engine's own menu, and below it the three hand-over entries.
void AutomationBrowser::showPageMenu(QWebEngineView* v, const QPoint& pos) {
    QMenu* menu = v->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    for (const HandOverEntry& e : kHandOverEntries) {
        const std::string method = e.method;
        menu->addAction(QString::fromLatin1(e.caption), v, [v, method] { Hand_Page_Over(v, method); });
    }
    menu->popup(v->mapToGlobal(pos));
}

void AutomationBrowser::Hand_Page_Over(QWebEngineView* v, const std::string& method, std::function<void(bool)> done) {
    // The four values are read in one script, in the isolated world, so saved pages without
    // scripts of their own give them too.
    static const QString script = QStringLiteral(
        "[String(document.URL), String(document.title),"
        " document.body ? document.body.outerHTML : '', document.body ? document.body.innerText : '']");
    QPointer<QWebEngineView> view(v);
    v->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [view, method, done](const QVariant& r) {
        const QStringList parts = r.toStringList();
        bool ok = false;
        if (view && parts.size() == 4) {
            ieext::PageForHandOver page{parts[0].toStdString(), parts[1].toStdString(), parts[2].toStdString(),
                                        parts[3].toStdString()};
            ok = ieext::Hand_Over_Through_Library(modTLMain::DataFolder + platform::kExtensionFile, method, page);
        }
        if (!ok) {
            Messages::Args a;
            a.Text = ieext::kCreateError;
            a.Btn1Caption = "OK";
            a.Modeless = true;
            Messages::DisplayMsg(a);
        }
        if (done) done(ok);
    });
}

void AutomationBrowser::pageLoaded(QWebEngineView* v, bool ok) {
    m_loading.remove(v);
    emit DocumentComplete(v, v->url().toString());
    platform::timers().wake();
}

void AutomationBrowser::Navigate2(const std::string& url, long flags) {
    QWebEngineView* v = currentView();
    if (!v || (flags & navOpenInNewTab)) v = addTab();
    m_loading.insert(v);  // busy from now, not only from the page's first event
    const QUrl address = QUrl::fromUserInput(QString::fromStdString(url));
    static_cast<BrowserPage*>(v->page())->openAt(address);
    v->load(address);
}

bool AutomationBrowser::Busy() const { return !m_loading.isEmpty(); }

long AutomationBrowser::ReadyState() const { return Busy() ? 1 : READYSTATE_COMPLETE; }

std::string AutomationBrowser::LocationURL() const {
    QWebEngineView* v = currentView();
    return v ? v->url().toString().toStdString() : std::string();
}

int AutomationBrowser::tabCount() const { return m_tabs->count(); }

QWebEngineView* AutomationBrowser::currentView() const {
    return static_cast<QWebEngineView*>(m_tabs->currentWidget());
}

QWebEngineView* AutomationBrowser::view(int index) const {
    return static_cast<QWebEngineView*>(m_tabs->widget(index));
}

std::string AutomationBrowser::DocumentText(qint64 maxMs) {
    QPointer<QWebEngineView> v = currentView();
    if (!v) return {};
    auto state = std::make_shared<std::pair<bool, std::string>>(false, std::string());
    v->page()->runJavaScript(QStringLiteral("document.documentElement ? document.documentElement.innerText : ''"),
                             [state](const QVariant& r) {
                                 state->first = true;
                                 state->second = r.toString().toStdString();
                                 platform::timers().wake();
                             });
    platform::timers().waitUntil([state, v] { return state->first || !v; }, maxMs);
    return state->second;
}

void AutomationBrowser::Quit() { close(); }

void AutomationBrowser::closeEvent(QCloseEvent* e) {
    if (!m_quitSent) {
        m_quitSent = true;
        emit OnQuit();
    }
    QWidget::closeEvent(e);
}

// ---- IEEvents -------------------------------------------------------------------------------

void IEEvents::setMyIESink(AutomationBrowser* browser) {
    disconnect(m_complete);
    disconnect(m_quit);
    m_sink = browser;
    m_document = nullptr;
    m_attempt = Attempt::Open;
    ++m_attemptNumber;
    if (!browser) return;
    m_complete = connect(browser, &AutomationBrowser::DocumentComplete, this, &IEEvents::MyIESink_DocumentComplete);
    m_quit = connect(browser, &AutomationBrowser::OnQuit, this, &IEEvents::MyIESink_OnQuit);
}

bool IEEvents::Is_Sign_In_Page(const QString& URL) {
    const QUrl u(URL);
    if (!u.isValid() || u.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0) return false;
    // The sign-in host of any national site: the user may open pages of another site than his own.
    for (long site = 0; site < modTLMain::kNationalSiteCount; ++site) {
        const std::string host = modTLMain::Sign_In_Host(site);
        if (!host.empty() && u.host().compare(QString::fromStdString(host), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

QString IEEvents::Sign_In_Script(const std::string& userID, const std::string& password) {
    // The values travel as a JSON array, so no quote or backslash in them can change the script.
    const QByteArray values = QJsonDocument(QJsonArray{QString::fromStdString(userID), QString::fromStdString(password)})
                                  .toJson(QJsonDocument::Compact);
    return QStringLiteral(R"JS((function (v) {
  function put(el, text) {
    el.value = text;
    el.dispatchEvent(new Event('input', {bubbles: true}));
    el.dispatchEvent(new Event('change', {bubbles: true}));
  }
  var forms = document.forms;
  for (var i = 0; i < forms.length; i++) {
    var f = forms[i], pw = null, tx = null, cb = null, sb = null;
    for (var j = 0; j < f.elements.length; j++) {
      var e = f.elements[j], t = String(e.type || '').toUpperCase();
      if (t === 'PASSWORD' && !pw) pw = e;
      else if (t === 'TEXT' && !tx) tx = e;
      else if (t === 'CHECKBOX' && !cb) cb = e;
      else if (t === 'SUBMIT' && !sb) sb = e;
    }
    if (!pw) continue;
    put(pw, v[1]);
    if (tx) put(tx, v[0]);
    if (cb) cb.checked = true;
    if (sb) sb.click();
    return true;
  }
  return false;
})()JS") + QString::fromUtf8(values) + QStringLiteral(")");
}

void IEEvents::MyIESink_DocumentComplete(QWebEngineView* pDisp, const QString& URL) {
    if (AutoSignin() == 0) return;
    if (!pDisp || !Is_Sign_In_Page(URL)) return;
    if (m_attempt != Attempt::Open) return;  // this attempt has its form on the way or sent
    m_document = pDisp;
    m_attempt = Attempt::Running;
    QPointer<IEEvents> self(this);
    const quint64 attempt = m_attemptNumber;
    pDisp->page()->runJavaScript(Sign_In_Script(GetUserID(), GetUserPW()), [self, attempt](const QVariant& r) {
        const bool filled = r.toBool();
        // A page without the form leaves the attempt open for the next sign-in page.
        if (self && self->m_attemptNumber == attempt && self->m_attempt == Attempt::Running)
            self->m_attempt = filled ? Attempt::Submitted : Attempt::Open;
        if (self) emit self->autoSignInRan(filled);
        platform::timers().wake();
    });
}

void IEEvents::MyIESink_OnQuit() {
    disconnect(m_complete);
    disconnect(m_quit);
    m_sink = nullptr;
    m_document = nullptr;
}

std::string IEEvents::GetUserID() const { return UserState::CurrentUserID; }

std::string IEEvents::GetUserPW() const { return modTLMain::Get_User_Password(UserState::CurrentUserID); }

long IEEvents::AutoSignin() const { return modTLMain::AutoSignIn; }

// ---- modTLMain ------------------------------------------------------------------------------

namespace modTLMain {

AutomationBrowser* CreateNewBrowser() {
    auto* b = new AutomationBrowser();
    return b;
}

void Position_Browser() {
    AutomationBrowser* b = IEBrowser;
    if (!b) return;
    if (vb::Val(Options_Value("IEFull")) == 1) {
        QScreen* s = b->screen() ? b->screen() : QGuiApplication::primaryScreen();
        if (s) b->setGeometry(s->availableGeometry());
    }
    b->setVisible(true);
    // To the front, without staying above the other windows (the top of the normal windows).
    if (b->isMinimized()) b->setWindowState(b->windowState() & ~Qt::WindowMinimized);
    Set_Window_Topmost(b, 1);
    b->activateWindow();
}

void Browser_Navigate(const std::string& URL) {
    const bool newWindows = vb::Val(Options_Value("NewBroWin")) != 0;
    bool newTab = false;
    if (newWindows || !IEBrowser) {
        IEBrowser = CreateNewBrowser();
    } else {
        newTab = true;
    }
    Position_Browser();
    IEBrowser->Navigate2(URL, newTab ? AutomationBrowser::navOpenInNewTab : 0);

    if (Browser_Text_Dump_On()) {
        QPointer<AutomationBrowser> b = IEBrowser;
        platform::timers().waitUntil([b] { return !b || (!b->Busy() && b->ReadyState() == AutomationBrowser::READYSTATE_COMPLETE); },
                                     kPageWaitMs);
        if (newTab) platform::timers().waitMs(1000);
        if (b) Save_Browser_Text(b->DocumentText());
    }
}

IEEvents& Browser_Events() {
    if (!BrowserEvents) BrowserEvents = new IEEvents();  // lives for the life of the process
    return *BrowserEvents;
}

void Open_Browser_Sign_In_Page(const std::string& URL) {
    IEBrowser = CreateNewBrowser();
    Browser_Events().setMyIESink(IEBrowser);
    Position_Browser();
    AutoSignIn = static_cast<long>(vb::Val(modTLC::Get_Config_Value("Options", "MyeBayASI", "0")));
    IEBrowser->Navigate2(URL);
}

void ResetBrowserForTests() {
    // A browser takes its own dialogs (top-level windows too) with it.
    std::vector<QPointer<AutomationBrowser>> browsers;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<AutomationBrowser*>(w)) browsers.emplace_back(b);
    for (const QPointer<AutomationBrowser>& b : browsers) delete b.data();
    IEBrowser = nullptr;
    AutoSignIn = 0;
    if (BrowserEvents) BrowserEvents->setMyIESink(nullptr);
}

}  // namespace modTLMain
