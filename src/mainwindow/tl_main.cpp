// tl_main.cpp — the main window's controls, its timers, and the duties it carries out for the
// rest of the program (status line, item-number box, log pane, menus, toolbar tips, tray menu).
#include "mainwindow/tl_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShowEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

#include "bidding/bid_email.h"
#include "bidding/deferred_requests.h"
#include "foundation/debug_tools.h"
#include "foundation/window_subclass.h"
#include "platform/clipboard.h"
#include "foundation/vb.h"
#include "items/grid_clicks.h"
#include "items/add_item.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_photo.h"
#include "mainwindow/bid_history_list.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/links_searches.h"
#include "mainwindow/program_icons.h"
#include "mainwindow/splash.h"
#include "mainwindow/tl_main_links.h"
#include "mainwindow/tl_main_services.h"
#include "mainwindow/tray_menu.h"
#include "foundation/logs.h"

using TLMainLink::MenuItem;

namespace {

TLMain* g_main = nullptr;

int px(long twips) { return vb::TwipsToPixels(static_cast<int>(twips)); }

// The toolbar's buttons in order; "" is a separator. Their positions, counted from 1 with the
// separators, are what the tips are set by. Each picture is the desktop theme's icon for the job,
// else the program's own (":/icons/<fallback>.svg"); a job no theme names has only its own.
struct ButtonDef {
    const char* key;
    const char* tip;
    const char* themeIcon;
    const char* fallback;
};
constexpr ButtonDef kButtons[] = {
    {"BidSetup", "Setup Bid", "", "bid-setup"},
    {"", "", "", ""},
    {"UpdateItem", "Update Selected Auction Item", "", "update-item"},
    {"UpdateAll", "Manual Update", "view-refresh", "update-all"},
    {"ViewItem", "View Item on eBay", "web-browser", "view-item"},
    {"", "", "", ""},
    {"Home", "eBay Home Page", "go-home", "home"},
    {"myebay", "My eBay", "avatar-default", "my-account"},
    {"Search", "eBay Search Page", "edit-find", "search"},
    {"", "", "", ""},
    {"Sort", "Sort Auction Items", "view-sort-ascending", "sort"},
    {"Add", "Add Auction Item", "list-add", "add-item"},
    {"DeleteItem", "Delete Auction Item(s)", "edit-delete", "delete-item"},
    {"SetClock", "Synchronize Clock", "preferences-system-time", "clock"},
    {"Setup", "Setup Tolvane Rerode", "preferences-system", "setup"},
};

constexpr const char* kMyeBayEntries[] = {"View Messages",         "View Seller Account",   "Add Items I'm Watching",
                                          "Add Items I've Won",    "Add Items I'm Selling", "Add Items I've Sold"};
constexpr const char* kSortEntries[] = {"Ending First", "Ending Last", "Seller", "Seller Rating", "High Bid",
                                        "Low Bid",      "Bids",        "Shipping", "Group"};

}  // namespace

// The item duties of the window: the grid view's own, with the popup's entries that the window
// carries out itself.
class TLMain::ItemWindowLink final : public TLMainItems::ItemWindow {
public:
    ItemWindowLink(TLMain& w, TLMainItemsView::ItemWindowDuties& d) : m_w(w), m_d(d) {}
    void setSellerLabel(const std::string& text) override { m_d.setSellerLabel(text); }
    void setAutoDialMarker(bool shown) override { m_d.setAutoDialMarker(shown); }
    void setMainCaption(const std::string& text) override { m_d.setMainCaption(text); }
    void ResizeWindow() override { m_w.ResizeWindow(); }
    void categoriesChanged() override { m_d.categoriesChanged(); }
    void beep() override { m_d.beep(); }
    void MnuSubPopupCopy_Click() override { m_w.MnuSubPopupCopy_Click(); }
    void MnuSubPopupReport_Click() override { m_w.MnuSubPopupReport_Click(); }
    void MnuSubPopupFeedback_Click() override {
        TLMainServices::service<TLMainServices::AccountTools>().Feedback_Analyzer();
    }
    void mnuTogglePhotos_Click() override { m_w.mnuTogglePhotos_Click(); }
    std::string photosCaption() const override { return m_w.photosCaption(); }

private:
    TLMain& m_w;
    TLMainItemsView::ItemWindowDuties& m_d;
};

// The photo frames: element 0 is the grid's pop-up, the pinned copies (1 up) are the window's.
class TLMain::PhotoFrames final : public TLMainItems::PhotoFrame {
public:
    explicit PhotoFrames(TLMain& w) : m_w(w) {}
    bool loadPicture(const std::string& path, long& width, long& height) override {
        return m_w.PicHolder->loadPicture(path, width, height);
    }
    void clearPicture() override { m_w.PicHolder->clearPicture(); }
    void placePhoto(int index, const TLMainItems::TwipRect& frame, const TLMainItems::TwipRect& picture, bool noPhoto,
                    bool visible) override {
        if (index == 0) {
            m_w.PicHolder->placePhoto(0, frame, picture, noPhoto, visible);
            return;
        }
        QFrame* f = m_w.pinnedFrame(index);
        if (!f) return;
        f->setGeometry(px(frame.left), px(frame.top), px(frame.width), px(frame.height));
        if (auto* pic = f->findChild<QLabel*>("ItemPic"))
            pic->setGeometry(px(picture.left), px(picture.top), px(picture.width), px(picture.height));
        f->setVisible(visible);
        if (visible) f->raise();
    }

private:
    TLMain& m_w;
};

TLMain::TLMain() {
    setObjectName("TLMain");
    setWindowTitle("Tolvane Rerode II");
    // The program's own picture; the tray icon shows it too.
    setWindowIcon(TLMainIcons::Program_Icon());
    buildControls();
    buildToolbar();
    buildMenus();
    resize(800, 500);

    DisplayTime.setHandler([this] { DisplayTime_Timer(); });
    DisplayTime.setInterval(1000);
    SleepTimer.setInterval(2000);
    SleepTimer.setHandler([this] {
        SleepTimer.setEnabled(false);
        TLMainServices::service<TLMainServices::PowerAndDial>().Enter_Sleep_Mode();
    });
    SyncAutoDial.setInterval(1000);
    SyncAutoDial.setHandler([] { TLMainServices::service<TLMainServices::DialLine>().SyncAutoDial_Timer(); });
    HangupTimer.setInterval(1000);
    HangupTimer.setHandler([] { TLMainServices::service<TLMainServices::DialLine>().HangupTimer_Timer(); });
    MouseTimer.setHandler([this] { MouseTimer_Timer(); });
    MouseTimer.setInterval(100);
    MouseTimer.setEnabled(true);

    // Hot keys reach the window before the focused control, a command started by the mouse reads
    // the keys held at the press, and the window sees the mouse on its grid, labels and photos:
    // one filter on the application sees every event once.
    qApp->installEventFilter(this);
}

TLMain::~TLMain() {
    qApp->removeEventFilter(this);
    // Destroyed without its unload (tests): what others hold of the window is given back.
    if (m_loaded && !m_unloaded) {
        TLMainBids::Detach_Bid_Timers();
        TLMainBids::Install_Bid_Results_Mail(nullptr);
        if (m_clipboardWatch) platform::clipboard().unwatchChanges(m_clipboardWatch);
        modPwrCtrl::UnSubClass_Window(this);
    }
    m_links.reset();
    giveBackItemDuties();
    if (g_main == this) g_main = nullptr;
    TLMainLink::releaseDuties(this);
}

// The grid's duties and the window's own for the grid: the popup's entries, the pinned photos.
void TLMain::takeOnItemDuties() {
    m_itemDuties->takeOn();
    TLMainItems::setItemLink<TLMainItems::ItemWindow>(m_itemWindowLink.get());
    TLMainItems::setItemLink<TLMainItems::PhotoFrame>(m_photoFrames.get());
    TLMainItems::setItemLink<TLMainItems::BidHistoryList>(BidHistory);
}

void TLMain::giveBackItemDuties() {
    if (m_itemDuties) m_itemDuties->giveBack();
    if (&TLMainItems::itemLink<TLMainItems::ItemWindow>() == m_itemWindowLink.get())
        TLMainItems::setItemLink<TLMainItems::ItemWindow>(nullptr);
    if (&TLMainItems::itemLink<TLMainItems::PhotoFrame>() == m_photoFrames.get())
        TLMainItems::setItemLink<TLMainItems::PhotoFrame>(nullptr);
    if (&TLMainItems::itemLink<TLMainItems::BidHistoryList>() == BidHistory)
        TLMainItems::setItemLink<TLMainItems::BidHistoryList>(nullptr);
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

// --- Controls ---

void TLMain::buildControls() {
    // The client area has no layout manager: ResizeWindow places its controls.
    Central = new QWidget(this);
    Central->setObjectName("Form");
    setCentralWidget(Central);

    Toolbar1 = new QToolBar(Central);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setMovable(false);
    Toolbar1->move(4, 0);

    Phone = new QLabel(Central);
    Phone->setObjectName("Phone");
    Phone->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(24, 24));
    Phone->setToolTip("Auto Dial");
    Phone->resize(24, 24);
    Phone->hide();

    ItemNumLab = new QLabel("Item #", Central);
    ItemNumLab->setObjectName("ItemNumLab");
    ItemNumLab->setGeometry(8, 0, 48, 20);
    ItemNumBox = new QLineEdit(Central);
    ItemNumBox->setObjectName("ItemNumBox");
    ItemNumBox->setGeometry(60, 0, 160, 24);
    cmdAddItem = new QPushButton("Add", Central);
    cmdAddItem->setObjectName("cmdAddItem");
    cmdAddItem->setGeometry(226, 0, 60, 24);
    connect(cmdAddItem, &QPushButton::clicked, this, [] { TLMainItems::cmdAddItem_Click(); });
    connect(ItemNumBox, &QLineEdit::returnPressed, cmdAddItem, &QPushButton::click);  // Enter adds
    labSeller = new QLabel("Seller:", Central);
    labSeller->setObjectName("labSeller");
    labSeller->setToolTip("Click to view seller's feedback");
    labSeller->setGeometry(300, 0, 400, 20);

    auto* model = new TLMainItems::ItemGridModel(this);
    ItemGrid = new TLMainItemsView::ItemGridView(*model, Central);
    ItemGrid->setMouseTracking(true);
    ItemGrid->viewport()->setMouseTracking(true);
    PicHolder = new TLMainItemsView::ItemPhotoFrame(Central);
    BidHistory = new TLMainItemsView::BidHistoryListView(Central);
    m_itemMenus = new TLMainItemsView::ItemMenus(this);
    m_itemDuties = std::make_unique<TLMainItemsView::ItemWindowDuties>(this, ItemGrid, PicHolder, m_itemMenus,
                                                                       labSeller, Phone);
    m_itemDuties->resizeWindow = [this] { ResizeWindow(); };
    m_itemWindowLink = std::make_unique<ItemWindowLink>(*this, *m_itemDuties);
    m_photoFrames = std::make_unique<PhotoFrames>(*this);

    OpLog = new QPlainTextEdit(Central);
    OpLog->setObjectName("OpLog");
    OpLog->setReadOnly(true);
    OpLog->hide();

    StatusBar = new QFrame(Central);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setFrameShape(QFrame::StyledPanel);
    StatusBar->resize(780, 26);
    MsgLab = new QLabel(StatusBar);
    MsgLab->setObjectName("MsgLab");
    MsgLab->setGeometry(6, 3, 400, 20);
    txtComment = new QLineEdit(StatusBar);
    txtComment->setObjectName("txtComment");
    txtComment->hide();
    TimerIcon = new QLabel(StatusBar);
    TimerIcon->setObjectName("TimerIcon");
    TimerIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16));
    TimerIcon->setGeometry(0, 5, 16, 16);
    TimerIcon->hide();
    SoundIcon = new ::SoundIcon(StatusBar);
    SoundIcon->setObjectName("SoundIcon");
    SoundIcon->setGeometry(0, 3, 20, 20);
    TimeIs = new QLabel(StatusBar);
    TimeIs->setObjectName("TimeIs");
    TimeIs->setAlignment(Qt::AlignCenter);
    TimeIs->setGeometry(0, 3, 90, 20);
    TimeIs->setMouseTracking(true);
    TimeToUpdateLab = new QLabel("00:00", StatusBar);
    TimeToUpdateLab->setObjectName("TimeToUpdateLab");
    TimeToUpdateLab->setAlignment(Qt::AlignCenter);
    TimeToUpdateLab->setToolTip("Click to turn the timed update on or off");
    TimeToUpdateLab->setGeometry(0, 3, 50, 20);

    TLMainLayout::Controls& c = Layout.controls();
    c.Form = Central;
    c.Toolbar1 = Toolbar1;
    c.Phone = Phone;
    c.ItemNumBox = ItemNumBox;
    c.ItemNumLab = ItemNumLab;
    c.cmdAddItem = cmdAddItem;
    c.labSeller = labSeller;
    c.ItemGrid = ItemGrid;
    c.OpLog = OpLog;
    c.StatusBar = StatusBar;
    c.TimeToUpdateLab = TimeToUpdateLab;
    c.TimeIs = TimeIs;
    c.SoundIcon = SoundIcon;
    c.TimerIcon = TimerIcon;
    c.MsgLab = MsgLab;
    c.txtComment = txtComment;
}

void TLMain::buildToolbar() {
    int position = 0;
    for (const ButtonDef& b : kButtons) {
        ++position;
        if (!*b.key) {
            Toolbar1->addSeparator();
            continue;
        }
        const std::string key = b.key;
        QAction* a = Toolbar1->addAction(TLMainIcons::Theme_Icon(b.themeIcon, b.fallback), b.tip);
        a->setObjectName(QString::fromStdString(key));
        a->setToolTip(b.tip);
        connect(a, &QAction::triggered, this, [this, key] {
            TLMainState::KeyShiftState = TLMainKeys::Shift_State(m_clickModifiers);
            Toolbar1_ButtonClick(key);
        });
        m_buttons[key] = a;
        m_buttonAtIndex[position] = key;
        m_toolbarTips[position] = b.tip;
    }
    const auto buttonMenu = [this](const std::string& key, const char* tag, const auto& entries) {
        auto* menu = new QMenu(this);
        int index = 0;
        for (const char* caption : entries) {
            ++index;
            QAction* e = menu->addAction(caption);
            connect(e, &QAction::triggered, this, [this, tag, index] { Toolbar1_ButtonMenuClick(tag, index); });
        }
        m_buttons[key]->setMenu(menu);
        if (auto* tb = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(m_buttons[key])))
            tb->setPopupMode(QToolButton::MenuButtonPopup);
    };
    buttonMenu("myebay", "myebay", kMyeBayEntries);
    buttonMenu("Sort", "sort", kSortEntries);
    Toolbar1->adjustSize();
}

QAction* TLMain::addCommand(QMenu* menu, const char* name, const char* caption, std::function<void()> run) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, run = std::move(run)] {
        TLMainState::KeyShiftState = TLMainKeys::Shift_State(m_clickModifiers);
        run();
    });
    m_actions[name] = a;
    return a;
}

void TLMain::buildMenus() {
    using TLMainServices::Maintenance;
    using TLMainServices::service;
    const auto maintenance = [](const char* name) {
        return [name] { service<Maintenance>().Menu_Command(name); };
    };
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu("&File");
    QMenu* print = file->addMenu("Print");
    addCommand(print, "MnuFilePrintAll", "All Items", maintenance("MnuFilePrintAll"));
    addCommand(print, "MnuFilePrintCategory", "Category Items", maintenance("MnuFilePrintCategory"));
    addCommand(print, "MnuFilePrintSelected", "Selected Item", maintenance("MnuFilePrintSelected"));
    QMenu* exportItem = file->addMenu("Export Item as");
    addCommand(exportItem, "MnuFileExportText", "Web Page Text Only", maintenance("MnuFileExportText"));
    addCommand(exportItem, "MnuFileExportImages", "Web Page Text and Images", maintenance("MnuFileExportImages"));
    QMenu* exportList = file->addMenu("Export Item List as");
    addCommand(exportList, "MnuFileListText", "Text File", maintenance("MnuFileListText"));
    addCommand(exportList, "MnuFileListTab", "Tab Delimited File (Excel)", maintenance("MnuFileListTab"));
    QMenu* exportCategory = file->addMenu("Export Category List");
    addCommand(exportCategory, "MnuFileCategoryText", "Text File", maintenance("MnuFileCategoryText"));
    addCommand(exportCategory, "MnuFileCategoryTab", "Tab Delimited File (Excel)", maintenance("MnuFileCategoryTab"));
    QMenu* autoRun = file->addMenu("Auto Run");
    for (int i = 0; i < 2; ++i) {
        const std::string name = "MnuAutoRunOpt" + std::to_string(i);
        addCommand(autoRun, name.c_str(), i == 0 ? "Normal" : "Minimized", [this, i] { MnuAutoRunOpt_Click(i); })
            ->setCheckable(true);
    }
    addCommand(file, "MnuTitleKOT", "Keep On Top", [this] { MnuTitleKOT_Click(); });
    addCommand(file, "MnuSubConnect", "Connect",
               [] { service<TLMainServices::PowerAndDial>().MnuSubConnect_Click(); });
    addCommand(file, "MnuSubHangup", "Hangup", [] { service<TLMainServices::PowerAndDial>().MnuSubHangup_Click(); });
    QMenu* backup = file->addMenu("Backup User Files");
    addCommand(backup, "MnuFileBackup", "Backup", maintenance("MnuFileBackup"));
    addCommand(backup, "MnuFileRestore", "Restore", maintenance("MnuFileRestore"));
    addCommand(file, "MnuFileDelAllItems", "Delete All Auction Items", [this] { MnuFileDelAllItems_Click(); });
    addCommand(file, "MnuFileExportItems", "Export Auction Items", maintenance("MnuFileExportItems"));
    addCommand(file, "MnuFileImportItems", "Import Auction Items", maintenance("MnuFileImportItems"));
    file->addSeparator();
    addCommand(file, "MnuExit", "Exit", [this] { MnuExit_Click(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* view = bar->addMenu("&View");
    addCommand(view, "MnuTitleShowItem", "View Item Page Offline", [] { TLMainBrowser::MnuTitleShowItem_Click(); });
    addCommand(view, "MnuTitleShowArchived", "View Saved Item Pages",
               [] { TLMainBrowser::MnuTitleShowArchived_Click(); });
    addCommand(view, "MnuTitleUpdateInfo", "View Last Update Info", [this] { MnuTitleUpdateInfo_Click(); });
    view->addMenu(m_itemMenus->sortDefault());
    addCommand(view, "MnuSubViewOpLog", "Operations Log\tCtrl+O", [this] { MnuSubViewOpLog_Click(); });
    addCommand(view, "MnuSubViewHistory", "Item History Log\tCtrl+H", [] { modTLMain::Show_Item_History(); });
    QMenu* clearLog = view->addMenu("Clear Log");
    addCommand(clearLog, "MnuSubClearOpLog", "Operations", [] { modTLMain::Clear_Op_Log(); });
    addCommand(clearLog, "MnuSubClearHistory", "Item History", [] { modTLMain::Clear_Item_History(); });

    LinksMenus = new TLMainLinksMenu::LinksMenus(this);
    // The menu bar's titles get their Alt letters here; the menus keep their names elsewhere.
    bar->addMenu(LinksMenus->Links)->setText("&Links");
    bar->addMenu(LinksMenus->Searches)->setText("&Searches");
    bar->addMenu(m_itemMenus->categories())->setText("&Categories");

    QMenu* feedback = bar->addMenu("F&eedback");
    addCommand(feedback, "MnuTitleGetTransactions", "Leave Feedback",
               [] { service<TLMainServices::AccountTools>().Get_Feedback_To_Leave(); });
    addCommand(feedback, "MnuTitleMyFeedback", "My Feedback", [] { TLMainBrowser::MnuTitleMyFeedback_Click(); });
    const auto selectedItem = [] {
        return TLMainItems::Item_At(TLMainItems::Item_Of_Row(TLMainItems::SelectedRow));
    };
    addCommand(feedback, "MnuTitleSellersFB", "Sellers Feedback",
               [selectedItem] { TLMainBrowser::View_Sellers_Feedback(selectedItem()); });
    addCommand(feedback, "MnuTitleHiBiddersFB", "High Bidders Feedback",
               [selectedItem] { TLMainBrowser::View_High_Bidders_Feedback(selectedItem()); });
    addCommand(feedback, "MnuTitleFeedbackAnalyzer", "Feedback Analyzer",
               [] { service<TLMainServices::AccountTools>().Feedback_Analyzer(); });

    QMenu* help = bar->addMenu("&Help");
    addCommand(help, "MnuTitleHelp", "Help Manual", [] { TLMainBrowser::MnuTitleHelp_Click(); });
    addCommand(help, "MnuSetup", "Setup", [this] { MnuSetup_Click(); });
    addCommand(help, "MnuTitleReportProblem", "Report a Problem", [] { service<Maintenance>().Report_Problem(); });
    addCommand(help, "MnuTitleContactUs", "Contact Us", [] { service<Maintenance>().Contact_Us(); });
    addCommand(help, "MnuTitleUpdateFile", "Check for Updates",
               [] { service<Maintenance>().MnuTitleUpdateFile_Click(); });
    QMenu* hotKeys = help->addMenu("Display Hot Keys");
    for (const char* k : {"F6 - Auto Update On/Off", "F7 - Change Categories", "F8 - Full Screen",
                          "F9 - Sound On/Off", "Ctrl-H - History Log Show/Hide", "Ctrl-O - Operation Log Show/Hide"})
        hotKeys->addAction(k);
    addCommand(help, "MnuSubAbout", "About Tolvane Rerode II",
               [] { TLMainAbout::MnuSubAbout_Click(TLMainState::KeyShiftState); });

    buildDebugMenu();
}

// The hidden debug menu: its entries and switches (the debug tools carry them out).
void TLMain::buildDebugMenu() {
    MnuDB = menuBar()->addMenu("&Debug");
    MnuDB->setObjectName("MnuDB");
    for (const modDebug::DebugMenuItem& item : modDebug::Debug_Menu_Items()) {
        if (!item.click) {
            MnuDB->addSeparator();
            continue;
        }
        const std::string caption = std::string(item.name).substr(5);  // "MnuDB" off
        QAction* a = MnuDB->addAction(QString::fromStdString(caption));
        a->setObjectName(item.name);
        a->setCheckable(item.checkable);
        // The switch's handler turns the check over itself.
        if (item.checkable) connect(a, &QAction::triggered, this, [a](bool on) { a->setChecked(!on); });
        auto click = item.click;
        connect(a, &QAction::triggered, this, [click] { click(); });
        m_actions[item.name] = a;
    }
    MnuDB->menuAction()->setVisible(false);
}

QAction* TLMain::menuAction(const std::string& name) const {
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* TLMain::toolbarButton(const std::string& key) const {
    const auto it = m_buttons.find(key);
    return it == m_buttons.end() ? nullptr : it->second;
}

void TLMain::clickMenu(const std::string& name) {
    if (QAction* a = menuAction(name)) a->trigger();
}

// --- Events ---

void TLMain::Form_Resize() { Layout.Form_Resize(); }

void TLMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

// Shown again (from the tray, or by a second start): the state values follow.
void TLMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!e->spontaneous()) Form_Resize();
}

void TLMain::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange) Form_Resize();
    QMainWindow::changeEvent(e);
}

void TLMain::closeEvent(QCloseEvent* e) {
    const int mode = m_unloadMode;
    m_unloadMode = 0;
    if (m_loaded && !m_unloaded && Form_QueryUnload(mode)) {
        e->ignore();
        return;
    }
    Form_Unload();
    e->accept();
    QCoreApplication::quit();
}

// The window system can hand a new key event at the address of the one before: only the same
// event, of the same moment and key, on its way from the control it reached up to that control's
// parents, is one the window has seen.
bool TLMain::Key_Passed_On(const QKeyEvent* k, const QWidget* w) const {
    return k == m_lastKey.event && k->timestamp() == m_lastKey.stamp && k->key() == m_lastKey.code &&
           static_cast<int>(k->type()) == m_lastKey.type && m_lastKey.widget && w != m_lastKey.widget &&
           w->isAncestorOf(m_lastKey.widget);
}

bool TLMain::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_clickModifiers = static_cast<QMouseEvent*>(e)->modifiers();
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // The window sees each key once, before the control that has the focus.
            auto* w = qobject_cast<QWidget*>(watched);
            auto* k = static_cast<QKeyEvent*>(e);
            if (!w || w->window() != this || Key_Passed_On(k, w)) break;
            const SeenKey seen{e, w, k->timestamp(), k->key(), static_cast<int>(e->type())};
            m_lastKey = seen;
            if (e->type() == QEvent::KeyPress) m_clickModifiers = k->modifiers();  // a menu entry chosen by key
            if (e->type() == QEvent::KeyPress)
                Form_KeyDown(TLMainKeys::Key_Code(k->key()), TLMainKeys::Shift_State(k->modifiers()));
            else if (!k->isAutoRepeat())
                Form_KeyUp();
            if (e->type() == QEvent::KeyPress && watched == ItemGrid) ItemGrid_KeyDown(TLMainKeys::Key_Code(k->key()));
            if (e->type() == QEvent::KeyPress && watched == txtComment) txtComment_KeyDown(TLMainKeys::Key_Code(k->key()));
            // A command can yield (a sound plays) and see the keys that came meanwhile, such as this
            // key's release; this key is still on its way up through the control's parents.
            m_lastKey = seen;
            break;
        }
        default: break;
    }
    if (watched == ItemGrid->viewport()) {
        if (e->type() == QEvent::MouseMove) {
            int row = 0, col = 0;
            ItemGrid->cellAt(static_cast<QMouseEvent*>(e)->position().toPoint(), row, col);
            ItemGrid_MouseMove(row, col);
        } else if (e->type() == QEvent::Leave) {
            // Off the rows; onto the pop-up photo, its Enter, which follows at once, tells so.
            ItemGrid_MouseMove(-1, -1);
        } else if (e->type() == QEvent::MouseButtonRelease) {
            const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
            ItemGrid_MouseUp(b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : 4);
        }
    } else if (watched == ItemNumBox && e->type() == QEvent::MouseButtonDblClick) {
        TLMainItems::ItemNumBox_DblClick();
        return true;
    } else if (watched == ItemNumBox && e->type() == QEvent::MouseButtonRelease) {
        // A click selects the number, so that typing replaces it; a drag keeps what it selected.
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && !ItemNumBox->hasSelectedText())
            ItemNumBox->selectAll();
    } else if (watched == MsgLab && e->type() == QEvent::MouseButtonDblClick) {
        MsgLab_DblClick();
    } else if (watched == TimeIs && e->type() == QEvent::MouseMove) {
        TimeIs_MouseMove();
    } else if (watched == TimeIs && e->type() == QEvent::Enter) {
        TimeIs_MouseMove();
    } else if (watched == TimeToUpdateLab && e->type() == QEvent::MouseButtonRelease) {
        TLMainState::KeyShiftState = TLMainKeys::Shift_State(m_clickModifiers);
        TimeToUpdateLab_Click();
    } else if (watched == labSeller && e->type() == QEvent::MouseButtonRelease) {
        TLMainBrowser::View_Sellers_Feedback(TLMainItems::Item_At(TLMainItems::Item_Of_Row(TLMainItems::SelectedRow)));
    } else if (watched == PicHolder && e->type() == QEvent::Enter) {
        PicHolder_MouseEnter();
    } else if (watched == PicHolder && e->type() == QEvent::Leave) {
        PicHolder_MouseLeave();
    } else if (isPhotoWidget(watched) &&
               (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove ||
                e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::MouseButtonDblClick)) {
        // The photos: the pop-up (index 0) and the pinned frames (1 up), each with its picture.
        auto* w = static_cast<QWidget*>(watched);
        QWidget* frame = (w == PicHolder || w->objectName() == "PinnedPhoto") ? w : w->parentWidget();
        int index = 0;
        for (size_t i = 0; i < m_pinned.size(); ++i)
            if (m_pinned[i] == frame) index = static_cast<int>(i) + 1;
        auto* m = static_cast<QMouseEvent*>(e);
        const int button = m->button() == Qt::LeftButton ? 1 : m->button() == Qt::RightButton ? 2 : 4;
        const QPoint at = m->position().toPoint();
        const long x = vb::PixelsToTwips(at.x()), y = vb::PixelsToTwips(at.y());
        switch (e->type()) {
            case QEvent::MouseButtonPress: ItemPic_MouseDown(index, button, x, y); break;
            case QEvent::MouseMove: ItemPic_MouseMove(index, x, y); break;
            case QEvent::MouseButtonRelease: ItemPic_MouseUp(index, button); break;
            default: ItemPic_DblClick(index); break;
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

// --- Duties ---

void TLMain::setStatus(const std::string& text) { MsgLab->setText(QString::fromStdString(text)); }
std::string TLMain::statusText() const { return MsgLab->text().toStdString(); }

std::string TLMain::itemNumberText() const { return ItemNumBox->text().toStdString(); }
void TLMain::setItemNumberText(const std::string& text) { ItemNumBox->setText(QString::fromStdString(text)); }

void TLMain::showLogBox(const std::string& text) {
    OpLog->setPlainText(QString::fromStdString(text));
    OpLog->verticalScrollBar()->setValue(OpLog->verticalScrollBar()->maximum());
    OpLog->show();
    OpLog->raise();
    ResizeWindow();
}

void TLMain::hideLogBox() { OpLog->hide(); }
bool TLMain::logBoxVisible() const { return OpLog->isVisibleTo(Central); }
std::string TLMain::logBoxSelectedText() const {
    return OpLog->textCursor().selectedText().replace(QChar::ParagraphSeparator, "\r\n").toStdString();
}

bool TLMain::menuChecked(MenuItem item) const {
    const QAction* a = menuAction(std::string(TLMainLink::menuItemName(item)));
    return a && a->isChecked();
}

void TLMain::setMenuChecked(MenuItem item, bool on) {
    if (QAction* a = menuAction(std::string(TLMainLink::menuItemName(item)))) a->setChecked(on);
}

void TLMain::setMenuVisible(MenuItem item, bool on) {
    if (item == MenuItem::MnuDB) {
        MnuDB->menuAction()->setVisible(on);
        return;
    }
    if (QAction* a = menuAction(std::string(TLMainLink::menuItemName(item)))) a->setVisible(on);
}

bool TLMain::menuVisible(MenuItem item) const {
    if (item == MenuItem::MnuDB) return MnuDB->menuAction()->isVisible();
    const QAction* a = menuAction(std::string(TLMainLink::menuItemName(item)));
    return a && a->isVisible();
}

// Minimised without a taskbar button means into the tray: the window is hidden there directly.
void TLMain::setWindowState(int state) {
    if (state == 1 && TLMainLayout::Hides_To_Tray()) {
        Layout.To_Tray();
        return;
    }
    QMainWindow::setWindowState(state == 1   ? Qt::WindowMinimized
                                : state == 2 ? Qt::WindowMaximized
                                             : Qt::WindowNoState);
}

void TLMain::setToolbarButtonTip(int button, const std::string& text) {
    m_toolbarTips[button] = text;
    const auto it = m_buttonAtIndex.find(button);
    if (it != m_buttonAtIndex.end()) m_buttons[it->second]->setToolTip(QString::fromStdString(text));
}

std::string TLMain::toolbarButtonTip(int button) const {
    const auto it = m_toolbarTips.find(button);
    return it == m_toolbarTips.end() ? std::string() : it->second;
}

// The tray icon's menu; its Exit ends the program as the Exit command does.
void TLMain::AddLinkMenu() {
    TLMainTray::AddLinkMenu([this] { MnuExit_Click(); });
}

std::string TLMain::wakeUpTipText() const {
    return TimerIcon->isVisibleTo(StatusBar) ? TimerIcon->toolTip().toStdString() : std::string();
}

void TLMain::showAndRaise() {
    showNormal();
    raise();
    activateWindow();
}

bool TLMain::pinnedPhotoShown(int index) const {
    const QFrame* f = pinnedFrame(index);
    return f && f->isVisibleTo(Central);
}

QRect TLMain::pinnedPhotoGeometry(int index) const {
    const QFrame* f = pinnedFrame(index);
    return f ? f->geometry() : QRect();
}

bool TLMain::isPhotoWidget(const QObject* o) const {
    if (!o || !PicHolder) return false;
    if (o == PicHolder || o == PicHolder->ItemPic) return true;
    if (o->objectName() == "PinnedPhoto") return true;
    return o->parent() && o->parent()->objectName() == "PinnedPhoto";
}

QFrame* TLMain::pinnedFrame(int index) const {
    if (index < 1 || static_cast<size_t>(index) > m_pinned.size()) return nullptr;
    return m_pinned[static_cast<size_t>(index) - 1];
}
