#include "mainwindow/tl_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <unistd.h>

#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/vb.h"
#include "foundation/window_process.h"
#include "foundation/window_subclass.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/links_searches.h"
#include "service/national_sites.h"
#include "service/wininet.h"

using TLMainLink::MenuItem;

namespace {

TLMain* g_main = nullptr;

// A setting read as a Boolean: "True" or "False" (any case) or a number, 0 being false; any other
// text, or none, is false.
bool settingTrue(const char* section, const char* key) {
    const std::string v = vb::Trim(modTLC::Get_Config_Value(section, key, "0"));
    if (vb::EqualText(v, "True")) return true;
    if (vb::IsNumeric(v)) return vb::CDbl(v) != 0;
    return false;
}

}  // namespace

TLMain::TLMain() {
    setWindowTitle("Tolvane Rerode II");
    // The tray icon shows the window's picture; without one of its own it takes a stock picture.
    if (windowIcon().isNull()) setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    OpLog = new QPlainTextEdit(central);
    OpLog->setReadOnly(true);
    OpLog->hide();
    layout->addWidget(OpLog);
    setCentralWidget(central);
    MsgLab = new QLabel(this);
    statusBar()->addWidget(MsgLab, 1);
    SoundIcon = new ::SoundIcon(this);
    statusBar()->addPermanentWidget(SoundIcon);
    LinksMenus = new TLMainLinksMenu::LinksMenus(this);
    menuBar()->addMenu(LinksMenus->Links);
    menuBar()->addMenu(LinksMenus->Searches);
    resize(800, 500);
    DisplayTime.setHandler([this] { DisplayTime_Timer(); });
}

TLMain::~TLMain() {
    if (g_main == this) g_main = nullptr;
    TLMainLink::releaseDuties(this);
}

TLMain& TLMain::instance() {
    if (!g_main) g_main = new TLMain();
    return *g_main;
}

bool TLMain::loaded() { return g_main != nullptr; }

void TLMain::unloadForTests() {
    delete g_main;
    g_main = nullptr;
}

// The load, in its own order: the debug session, the data sub-folders, the locale and site
// values, the tray icon or the taskbar button, the window handle for a second start, the window
// subclass and last the heartbeat.
void TLMain::Form_Load() {
    TLMainLink::registerDuties(this);

    // A debug session goes on from the last run: its switches come back from [Debug].
    if (settingTrue("Debug", "NonSession")) {
        setMenuChecked(MenuItem::MnuDBNonSession, true);
        modDebug::Enable_Debug_Menu();
        TLMainState::BidTestMode = menuChecked(MenuItem::MnuDBBidTestMode) ? -1 : 0;
    }

    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"})
        modTLMain::Make_Folder(modTLMain::DataFolder + sub);

    // End dates are read and shown in the user's date order.
    modTLMain::LocaleDateOrder = static_cast<long>(vb::Val(modTLMain::Get_Locale_Date_Order()));
    modTLMain::DisplayDateFormat = modTLMain::Get_Date_Format();
    TLMainState::SiteCurrency = modTLC::Get_Config_Value("Locale", "Currency", "US");
    modTLMain::SiteDayWord = modTLC::Get_Config_Value("Locale", "Day", "Day");

    // One or the other: a taskbar button when the user asked for one, else the tray icon.
    if (settingTrue("Options", "Taskbar"))
        modTLMain::Set_Taskbar_Button(-1);
    else
        modSysTray::Add_Tray_Icon();

    const qulonglong handle = winId() ? static_cast<qulonglong>(winId()) : static_cast<qulonglong>(::getpid());
    modTLC::Set_Config_Value("Options", "WHwnd", std::to_string(handle));

    // The subclass passes the tray icon's messages and the wheel to the window; a debug session
    // installs it only with its SubClass switch on.
    if (!modDebug::DebugOutput || menuChecked(MenuItem::MnuDBSubClass)) modPwrCtrl::SubClass_Window(this);

    SoundIcon->Show_Sound_State();
    TLMainLinksMenu::Load_Links_Menu();
    TLMainLinksMenu::Load_Search_Menu();
    TLMainBrowser::Take_Bid_Results_View();

    DisplayTime.setInterval(1000);
    DisplayTime.setEnabled(true);
}

void TLMain::DisplayTime_Timer() {
    // The configuration is written five ticks after the last change of a burst.
    if (modTLC::ConfigDirty == 1) {
        --modTLC::ConfigSaveCountdown;
        if (modTLC::ConfigSaveCountdown <= 0) modTLC::Save_Config_File();
    }
}

void TLMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    DisplayTime.setEnabled(false);
    modTLMain::Write_Op_Log("Program Ended");
    modWinInet::Close_Session();
    if (modTLC::ConfigDirty == 1) modTLC::Save_Config_File();
    modSysTray::Delete_Tray_Icon();
    modPwrCtrl::UnSubClass_Window(this);
    TLMainLink::releaseDuties(this);
}

// The window's state as the tray's left click reads it: the present one, and the last one that
// was not minimized.
void TLMain::Form_Resize() {
    const Qt::WindowStates s = windowState();
    TLMainState::MainWindowState = (s & Qt::WindowMinimized) ? 1 : (s & Qt::WindowMaximized) ? 2 : 0;
    if (TLMainState::MainWindowState != 1) TLMainState::LastWindowState = TLMainState::MainWindowState;
}

void TLMain::setWindowState(int state) {
    QMainWindow::setWindowState(state == 1   ? Qt::WindowMinimized
                                : state == 2 ? Qt::WindowMaximized
                                             : Qt::WindowNoState);
}

void TLMain::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange) Form_Resize();
    QMainWindow::changeEvent(e);
}

void TLMain::closeEvent(QCloseEvent* e) {
    Form_Unload();
    e->accept();
    QCoreApplication::quit();
}

void TLMain::keyPressEvent(QKeyEvent* e) {
    TLMainState::SoundPlaying = 0;  // a key press ends a repeating sound
    if (e->key() == Qt::Key_Escape) hideLogBox();
    QMainWindow::keyPressEvent(e);
}

void TLMain::setStatus(const std::string& text) { MsgLab->setText(QString::fromStdString(text)); }
std::string TLMain::statusText() const { return MsgLab->text().toStdString(); }

void TLMain::showLogBox(const std::string& text) {
    OpLog->setPlainText(QString::fromStdString(text));
    OpLog->verticalScrollBar()->setValue(OpLog->verticalScrollBar()->maximum());
    OpLog->show();
    OpLog->raise();
}

void TLMain::hideLogBox() { OpLog->hide(); }

bool TLMain::menuChecked(MenuItem item) const {
    const auto it = m_checked.find(item);
    return it != m_checked.end() && it->second;
}

bool TLMain::menuVisible(MenuItem item) const {
    const auto it = m_menuVisible.find(item);
    return it != m_menuVisible.end() && it->second;
}

void TLMain::showAndRaise() {
    showNormal();
    raise();
    activateWindow();
}
