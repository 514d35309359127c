// tl_main.h — the main window (TLMain): the toolbar, the menus, the item-number row, the item
// grid, the log pane and the status bar; its timers; its load, close request and unload; the
// one-second heartbeat; the commands and hot keys; and the grid's hover pop-up.
//
// The code lives in files by topic: tl_main.cpp (the controls and the duties the window carries
// out for the rest of the program), tl_main_load.cpp (load, close request, unload),
// tl_main_heartbeat.cpp (DisplayTime and Check_TZI), tl_main_commands.cpp (toolbar, menus, hot
// keys) and tl_main_hover.cpp (the hover timer, pinned photos, the status-line comment box).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/main_window_link.h"
#include "mainwindow/sounds.h"
#include "mainwindow/tl_main_state.h"
#include "mainwindow/window_layout.h"
#include "platform/timers.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;
namespace TLMainLinksMenu {
class LinksMenus;
}
namespace TLMainWindowLinks {
class Links;
}
namespace TLMainItemsView {
class BidHistoryListView;
class ItemGridView;
class ItemPhotoFrame;
class ItemMenus;
class ItemWindowDuties;
}  // namespace TLMainItemsView

class TLMain final : public QMainWindow,
                     public TLMainLink::StatusLine,
                     public TLMainLink::ItemNumberBox,
                     public TLMainLink::LogBox,
                     public TLMainLink::Menus,
                     public TLMainLink::Window,
                     public TLMainLink::Toolbar,
                     public TLMainLink::TrayAndWheel,
                     public TLMainLink::Sounds {
    Q_OBJECT
public:
    TLMain();
    ~TLMain() override;

    // The one main window of the process (created on first use).
    static TLMain& instance();
    static bool loaded();
    static void unloadForTests();

    // A bid is near: its one-minute warning is given, some item is being validated or placed or is
    // validated, or an armed item is at most three minutes (plus its dial-up time) from its bid.
    // Work that would hold the program up (the daily checks, an update's restart) waits meanwhile.
    static bool Bid_Near();

    // --- Lifecycle (tl_main_load.cpp) ---
    void Form_Load();
    // The close request: true refuses the close. UnloadMode 0: the user closed the window from
    // its title bar; 1: the program closes it (the exit commands).
    bool Form_QueryUnload(int UnloadMode);
    void Form_Unload();
    void Form_MouseMove() {}
    void DOSPEC() {}
    // The exit commands: the close request (not from the title bar), then the unload.
    void Exit_Program();
    void showAndRaise();  // a second start brings this window to the front

    // --- Heartbeat (tl_main_heartbeat.cpp) ---
    void DisplayTime_Timer();
    void Check_TZI();
    bool tickRunning() const { return m_inTick; }
    // Runs `f` (a step that shows a box and waits for the user) from the event loop once no tick
    // of the heartbeat runs: the box never holds the heartbeat up.
    void After_Tick(std::function<void()> f);

    // --- Commands and hot keys (tl_main_commands.cpp) ---
    void Toolbar1_ButtonClick(const std::string& key);
    void Toolbar1_ButtonMenuClick(const std::string& tag, int index);  // index from 1
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_KeyUp();
    void MnuSubToggleUpdate_Click();
    void MnuFileDelAllItems_Click();
    void MnuSetup_Click();
    void MnuSubPopupCopy_Click();
    void MnuSubPopupReport_Click() {}
    void MnuTitleUpdateInfo_Click();
    void mnuTogglePhotos_Click();
    std::string photosCaption() const;
    void MnuTitleKOT_Click();
    void MnuAutoRunOpt_Click(int Index);
    void MnuExit_Click();
    void MnuSubViewOpLog_Click();
    void TimeIs_MouseMove();
    void TimeToUpdateLab_Click() { MnuSubToggleUpdate_Click(); }
    void MsgLab_Click() {}
    void OpLog_DblClick() {}
    // Runs the menu entry or toolbar button of that name as a click would (tests, the tray).
    void clickMenu(const std::string& name);
    QAction* menuAction(const std::string& name) const;
    QAction* toolbarButton(const std::string& key) const;

    // --- The grid's hover pop-up and the comment box (tl_main_hover.cpp) ---
    void MouseTimer_Timer();
    void ItemGrid_MouseMove(int row, int col);
    // The pointer onto and off the pop-up photo (index 0).
    void PicHolder_MouseEnter();
    void PicHolder_MouseLeave();
    void ItemGrid_MouseUp(int Button);
    void ItemGrid_KeyDown(int KeyCode);
    void ItemPic_MouseDown(int Index, int Button, long X, long Y);
    void ItemPic_MouseMove(int Index, long X, long Y);
    void ItemPic_MouseUp(int Index, int Button);
    void ItemPic_DblClick(int Index);
    void MsgLab_DblClick();
    void txtComment_KeyDown(int KeyCode);
    // Pinned photo windows (index 1 up) and whether each shows.
    int pinnedPhotoCount() const { return static_cast<int>(m_pinned.size()); }
    bool pinnedPhotoShown(int index) const;
    QRect pinnedPhotoGeometry(int index) const;
    bool commentBoxShown() const;
    std::string commentBoxText() const;
    void setCommentBoxText(const std::string& text);

    // --- Duties for the rest of the program ---
    // StatusLine
    void setStatus(const std::string& text) override;
    std::string statusText() const override;
    // ItemNumberBox
    std::string itemNumberText() const override;
    void setItemNumberText(const std::string& text) override;
    // LogBox
    void showLogBox(const std::string& text) override;
    void hideLogBox() override;
    bool logBoxVisible() const override;
    std::string logBoxSelectedText() const override;
    // Menus
    bool menuChecked(TLMainLink::MenuItem item) const override;
    void setMenuChecked(TLMainLink::MenuItem item, bool on) override;
    void setMenuVisible(TLMainLink::MenuItem item, bool on) override;
    bool menuVisible(TLMainLink::MenuItem item) const;
    // Window
    QWidget* widget() override { return this; }
    void setWindowState(int state) override;
    // Shown: also raised and given the keyboard (the tray and a second start show it so).
    void setVisible(bool on) override {
        QMainWindow::setVisible(on);
        if (on) {
            raise();
            activateWindow();
        }
    }
    // Toolbar: button 1 up, counting the separators (4 the refresh, 7 home, 9 search).
    void setToolbarButtonTip(int button, const std::string& text) override;
    std::string toolbarButtonTip(int button) const;
    // TrayAndWheel: the tray icon's menu, and the wheel that scrolls the grid.
    void AddLinkMenu() override;
    void MouseWheel(long Buttons, long Rotation, long X, long Y) override { Layout.MouseWheel(Buttons, Rotation, X, Y); }
    std::string wakeUpTipText() const override;
    // Sounds: the wave files of the Sounds folder.
    void SoundEffects(const std::string& name, int repeat) override { TLMainSounds::SoundEffects(name, repeat); }

    // The layout: places the controls (after the window's size or the grid's content changed)
    // and saves the window's placement (the heartbeat, 2 ticks after the last resize).
    void ResizeWindow() { Layout.ResizeWindow(); }
    void WPS() { Layout.WPS(); }

    // The timers of the window. All but MouseTimer start disabled; their owners set them up.
    platform::Timer DisplayTime;         // the heartbeat, 1000 ms
    platform::Timer ScanItems;           // the bid scheduler, 250 ms
    platform::Timer RequestHandler;      // the deferred requests, 100 ms one shot
    platform::Timer SendBidResultsTimer; // the result e-mail, 1000 ms one shot
    platform::Timer SyncAutoDial;        // the dial sequence, 1000 ms
    platform::Timer HangupTimer;         // the hang-up count-down, 1000 ms
    platform::Timer SleepTimer;          // standby or hibernation, 2000 ms one shot
    platform::Timer MouseTimer;          // the hover pop-up, 100 ms

    // Controls.
    QWidget* Central = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QLabel* Phone = nullptr;
    QLabel* ItemNumLab = nullptr;
    QLineEdit* ItemNumBox = nullptr;
    QPushButton* cmdAddItem = nullptr;
    QLabel* labSeller = nullptr;
    TLMainItemsView::ItemGridView* ItemGrid = nullptr;
    TLMainItemsView::ItemPhotoFrame* PicHolder = nullptr;
    TLMainItemsView::BidHistoryListView* BidHistory = nullptr;
    QPlainTextEdit* OpLog = nullptr;
    QFrame* StatusBar = nullptr;
    QLabel* TimeToUpdateLab = nullptr;
    QLabel* TimeIs = nullptr;
    ::SoundIcon* SoundIcon = nullptr;
    QLabel* TimerIcon = nullptr;
    QLabel* MsgLab = nullptr;
    QLineEdit* txtComment = nullptr;
    QMenu* MnuDB = nullptr;

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    class ItemWindowLink;
    class PhotoFrames;

    void buildControls();
    void buildToolbar();
    void buildMenus();
    void buildDebugMenu();
    void takeOnItemDuties();
    void giveBackItemDuties();
    QAction* addCommand(QMenu* menu, const char* name, const char* caption, std::function<void()> run);
    void Form_Resize();

    // The heartbeat's steps.
    void First_Tick();
    void Update_Outcome();
    void Backup_Check();
    void Signin_Check();
    void Clock_Check();
    void Version_Check();
    void Sleep_Request();
    void Run_After_Tick();
    void Remaining_Time_Column();
    void Clock_Display();
    void Refresh_Countdown();
    void Clipboard_Watch();
    void Item_Alarms();
    void Alarm_Flash();
    void Bring_To_Front();

    // Pinning and the comment box.
    void Pin_Photo();
    QFrame* pinnedFrame(int index) const;
    bool isPhotoWidget(const QObject* o) const;

    std::map<std::string, QAction*> m_actions;
    std::map<std::string, QAction*> m_buttons;
    std::map<int, std::string> m_buttonAtIndex;  // toolbar position (from 1) -> key
    std::map<int, std::string> m_toolbarTips;
    TLMainLinksMenu::LinksMenus* LinksMenus = nullptr;
    TLMainItemsView::ItemMenus* m_itemMenus = nullptr;
    std::unique_ptr<TLMainItemsView::ItemWindowDuties> m_itemDuties;
    std::unique_ptr<ItemWindowLink> m_itemWindowLink;
    std::unique_ptr<PhotoFrames> m_photoFrames;
    std::unique_ptr<TLMainWindowLinks::Links> m_links;
    std::vector<QPointer<QFrame>> m_pinned;  // element i - 1 is pinned photo i

    bool m_autoRunTicked[2] = {false, false};  // the Auto Run entries' ticks
    std::string m_commentItemNumber;            // the item the comment box writes to
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_inTick = false;
    // The steps waiting for the end of the tick (After_Tick), and their timer.
    std::deque<std::function<void()>> m_afterTickWork;
    platform::Timer m_afterTickTimer;
    bool m_afterTickRunning = false;
    int m_unloadMode = 0;
    bool m_clipboardChanged = true;  // the clipboard is read again only after a change
    int m_clipboardWatch = 0;
    Qt::KeyboardModifiers m_clickModifiers = Qt::NoModifier;  // held at the last press of a button or key
    // The key event the window saw last: a key that the focused control passes on to its parents
    // reaches the application's filter again at each of them, and is the window's only once.
    struct SeenKey {
        const QEvent* event = nullptr;
        QPointer<QWidget> widget;  // the control it reached first
        quint64 stamp = 0;
        int code = 0;
        int type = 0;
    };
    SeenKey m_lastKey;
    bool Key_Passed_On(const QKeyEvent* k, const QWidget* w) const;
    TLMainLayout::WindowLayout Layout{this};
};
