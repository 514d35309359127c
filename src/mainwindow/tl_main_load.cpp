// tl_main_load.cpp — the main window's load (Form_Load), its close request (Form_QueryUnload)
// and its unload (Form_Unload).
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <unistd.h>
#include <optional>
#include <cmath>

#include "bidding/bid_email.h"
#include "bidding/bid_form.h"
#include "bidding/deferred_requests.h"
#include "bidding/dial_state.h"
#include "bidding/mail_transport.h"
#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/program_end.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/message_dialog.h"
#include "foundation/options_link.h"
#include "foundation/options_state.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "foundation/window_process.h"
#include "foundation/window_subclass.h"
#include "items/bid_history_view.h"
#include "items/bid_status.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/test_items.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/links_searches.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_links.h"
#include "mainwindow/tl_main_options_view.h"
#include "mainwindow/tl_main_services.h"
#include "options/login_form.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "service/national_sites.h"
#include "service/wininet.h"

using TLMainLink::MenuItem;

namespace {

// A setting read as a Boolean ("True", "False" or a number); anything else is the default.
bool settingTrue(const char* section, const char* key, bool dflt = false) {
    return TLMainItems::Config_True(section, key, dflt);
}

long settingNumber(const char* section, const char* key, const char* dflt) {
    return static_cast<long>(vb::Val(modTLC::Get_Config_Value(section, key, dflt)));
}

// A stored number of the placement, when it is a number from `lo` to `hi`.
std::optional<long> placementNumber(const std::string& saved, double lo, double hi) {
    if (saved.empty() || !vb::IsNumeric(saved)) return std::nullopt;
    const double v = vb::Val(saved);
    if (!std::isfinite(v) || v < lo || v > hi) return std::nullopt;
    return static_cast<long>(v);
}

// A saved position that puts the window off the screen gives way to the centred one.
long onScreen(const std::string& saved, long centred, long screen, long size) {
    const std::optional<long> at = placementNumber(saved, 0, static_cast<double>(screen));
    if (!at || screen - *at < size) return centred;
    return *at;
}

// A saved size the window can be shown at (from a tenth of the default to the screen's), else
// the default: a size of nothing, or of more than any screen, leaves no window to see.
long shownSize(const std::string& saved, long dflt, long screen) {
    const std::optional<long> size = placementNumber(saved, dflt / 10.0, std::max<double>(screen, dflt));
    return size ? *size : dflt;
}

}  // namespace

// The load, in its order; the heartbeat is enabled last.
void TLMain::Form_Load() {
    if (m_loaded) return;
    m_loaded = true;
    m_unloaded = false;
    // The duties the window carries out for the rest of the program.
    TLMainLink::registerDuties(this);
    takeOnItemDuties();
    TLMainItems::Install_Debug_Item_Tools();  // the debug menu's generators of test items
    m_itemDuties->bidForm = [] {
        BidForm::Show_Bid_Form(TLMainItems::SelectionFirstRow, TLMainItems::SelectionLastRow, TLMainItems::SelectedRow);
    };
    m_links = TLMainWindowLinks::Take_On_Links(this);
    TLMainBids::Attach_Bid_Timers(&ScanItems, &RequestHandler);
    TLMainBids::Install_Bid_Results_Mail(&SendBidResultsTimer);
    TLMainBrowser::Take_Bid_Results_View();  // a placed bid's result page opens in the browser views
    TLMainOptionsView::Take_On_Options_View(*this);  // the options dialog's colours, widths and sound switch
    m_clipboardChanged = true;
    m_clipboardWatch = platform::clipboard().watchChanges([this] { m_clipboardChanged = true; });

    // 1. The command line; an updater that failed names its steps after "-UE-".
    TLMainState::CommandLineText = vb::Join(TLMainServices::Command_Line_Arguments(), " ");
    if (vb::Left(TLMainState::CommandLineText, 4) == "-UE-")
        modTLC::Set_Config_Value("Options", "UpdateError", vb::Mid(TLMainState::CommandLineText, 5));

    // 3. The last user; a user with the login gate types the password first.
    UserState::CurrentUserID = modTLC::Get_Config_Value("Options", "LastUser", "");
    if (!UserState::CurrentUserID.empty() && modTLC::Get_Config_Value("LogIn", UserState::CurrentUserID, "0") == "1")
        Login::Show_Login();

    // 4. The time server to try first.
    TLMainState::TimeServerIndex = static_cast<int32_t>(settingNumber("Options", "TimeSync", "0"));

    // 5. A debug session goes on from the last run: its switches come back from [Debug].
    if (settingTrue("Debug", "NonSession")) {
        modDebug::Enable_Debug_Menu();
        setMenuChecked(MenuItem::MnuDBNonSession, true);
        TLMainState::BidTestMode = menuChecked(MenuItem::MnuDBBidTestMode) ? -1 : 0;
    }

    // 6. The window's size and place (twips), centred when the saved place is off the screen.
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        const long screenWidth = vb::PixelsToTwips(s.width()), screenHeight = vb::PixelsToTwips(s.height());
        const long width = shownSize(modTLC::Get_Config_Value("Options", "NormalWidth", ""),
                                     TLMainLayout::Default_Window_Width(screenWidth), screenWidth);
        const long height = shownSize(modTLC::Get_Config_Value("Options", "NormalHeight", ""), 7000, screenHeight);
        const long top = onScreen(modTLC::Get_Config_Value("Options", "NormalTop", ""),
                                  vb::CLng(screenHeight / 2.0 - height / 2.0), screenHeight, height);
        const long left = onScreen(modTLC::Get_Config_Value("Options", "NormalLeft", ""),
                                   vb::CLng(screenWidth / 2.0 - width / 2.0), screenWidth, width);
        resize(vb::TwipsToPixels(static_cast<int>(width)), vb::TwipsToPixels(static_cast<int>(height)));
        move(vb::TwipsToPixels(static_cast<int>(left)), vb::TwipsToPixels(static_cast<int>(top)));
    }

    // 7. The Auto Run entry in use.
    const std::string autoRun = modTLC::Get_Config_Value("Options", "AutoRun", "");
    m_autoRunTicked[0] = autoRun == "0";
    m_autoRunTicked[1] = autoRun == "1";
    menuAction("MnuAutoRunOpt0")->setChecked(m_autoRunTicked[0]);
    menuAction("MnuAutoRunOpt1")->setChecked(m_autoRunTicked[1]);

    // 9. The grids' columns.
    TLMainServices::service<TLMainServices::AccountTools>().Load_Feedback_Grid();
    TLMainItems::Init_Bid_History_Grid();

    // 10. The timed refresh's preset.
    if (modTLC::Get_Config_Value("Options", "Refresh", "").empty()) modTLC::Set_Config_Value("Options", "Refresh", "60");

    // 11. Dial-up: an always-on line has nothing to connect or hang up.
    modRAS::DialType = static_cast<int16_t>(settingNumber("Options", "AutoDialType", "2"));
    menuAction("MnuSubConnect")->setEnabled(modRAS::DialType != 2);
    menuAction("MnuSubHangup")->setEnabled(modRAS::DialType != 2);
    modRAS::ConnectTimeMins = static_cast<int16_t>(settingNumber("Options", "ConnectTime", "5"));
    modRAS::HangupTimeMins = static_cast<int16_t>(settingNumber("Options", "HangupTime", "2"));
    TLMainState::RetryDialSecs = static_cast<int16_t>(settingNumber("Options", "RetryDialTime", "30"));
    TLMainState::MaxDialAttempts = static_cast<int16_t>(settingNumber("Options", "MaxAttempts", "3"));

    // 12. The sound icon.
    SoundIcon->Show_Sound_State();

    // 13. The grid colours; the grid and the item-number box take the grid's background.
    TLMainItems::Read_Grid_Colours();
    TLMainOptionsView::Take_On_Options_View(*this).setGridBackColour(TLMainItems::Grid_Back_Colour());

    // 14. The clipboard's automatic add.
    TLMainState::AutoAddOn = settingTrue("Options", "AutoAdd") ? -1 : 0;

    // 15. The refresh button's tip names what it refreshes.
    {
        std::string tip = "Update All Auction Items";
        if (settingNumber("Options", "ManualOption", "0") != 0) {
            const std::string opt = modTLC::Get_Config_Value("Options", "AutoUpdateOpt", "0");
            if (opt == "1") tip = "Update All Current Category Items";
            else if (opt == "2") tip = "Update Selected Auction Item";
        }
        setToolbarButtonTip(4, tip);
    }

    // 16. The data sub-folders.
    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"})
        modTLMain::Make_Folder(modTLMain::DataFolder + sub);

    // 17. End dates are read and shown in the user's date order; the site's currency and day word.
    modTLMain::LocaleDateOrder = static_cast<long>(vb::Val(modTLMain::Get_Locale_Date_Order()));
    modTLMain::DisplayDateFormat = modTLMain::Get_Date_Format();
    TLMainState::SiteCurrency = modTLC::Get_Config_Value("Locale", "Currency", "US");
    modTLMain::SiteDayWord = modTLC::Get_Config_Value("Locale", "Day", "Day");

    // 18. The home and search buttons' tips.
    setToolbarButtonTip(7, modTLC::Get_Config_Value("Locale", "HomeTitle", "eBay Home"));
    setToolbarButtonTip(9, modTLC::Get_Config_Value("Locale", "SearchTitle", "eBay Search"));

    // 19. The clock's pattern comes from the options dialog's time-format handler, which loads the
    // dialog hidden.
    OptionsLink::setupDialog().optTimeFormat_Click(static_cast<int>(settingNumber("Locale", "TimeFormat", "0")));

    // 20. The menus, the item list and the grid.
    TLMainItems::Load_Categories_Menu();
    TLMainItems::Load_Auction_Items();
    TLMainItems::Load_ItemGrid();
    TLMainLinksMenu::Load_Links_Menu();
    TLMainLinksMenu::Load_Search_Menu();

    // 21. The timed refresh starts switched on when the user wants it so.
    TLMainState::AutoUpdateCountdown = 0;
    if (settingTrue("Options", "AutoUpdateStart")) {
        TLMainState::KeyShiftState = 0;
        MnuSubToggleUpdate_Click();
    } else {
        TLMainState::AutoUpdateMinutes = 0;
    }

    // 22.
    setStatus(std::string("Tolvane Rerode II Version ") + TLMainState::kProgramVersion);

    // 23. One or the other: a taskbar button when the user asked for one, else the tray icon.
    if (settingTrue("Options", "Taskbar"))
        modTLMain::Set_Taskbar_Button(-1);
    else
        modSysTray::Add_Tray_Icon();

    // 24. The window state of the last run (never minimised: that is not saved).
    // Only normal (0) and maximised (2) are ever saved; anything else shows the window normal.
    setWindowState(placementNumber(modTLC::Get_Config_Value("Options", "WindowState", "0"), 0, 2).value_or(0) == 2 ? 2 : 0);

    // 25. A second start brings this window forward by it.
    const qulonglong handle = winId() ? static_cast<qulonglong>(winId()) : static_cast<qulonglong>(::getpid());
    modTLC::Set_Config_Value("Options", "WHwnd", std::to_string(handle));

    // 26. The clock.
    TimeIs->setText(QString::fromStdString(vb::FormatDate(platform::clock().now(), TLMainState::TimeDisplayFormat)));

    // 27.
    ResizeWindow();
    ItemGrid->setFocus();  // the grid has the keyboard when the window comes up

    // 28. The hover pop-up's delay.
    TLMainState::HoverDelayTicks = static_cast<int32_t>(settingNumber("Options", "HoverTime", "2")) + 1;

    // 29. Photo pop-ups.
    TLMainState::PhotoPopupOn = settingTrue("Options", "PhotosOn", true) ? 1 : 0;

    // 30. The automatic add's limits, the smaller taken as the minimum.
    {
        const long a = settingNumber("Options", "AutoAddMin", "10");
        const long b = settingNumber("Options", "AutoAddMax", "12");
        TLMainState::AutoAddNoAlpha = static_cast<int32_t>(settingNumber("Options", "AutoAddNoChar", "1"));
        TLMainState::AutoAddMinLength = static_cast<int32_t>(std::min(a, b));
        TLMainState::AutoAddMaxLength = static_cast<int32_t>(std::max(a, b));
    }

    // 32. A refresh of every item as soon as the scheduler is idle.
    if (settingTrue("Options", "UpdateOnStart")) TLMainState::AutoUpdateDue = -1;

    // 33. The subclass passes the tray icon's messages and the wheel to the window; a debug
    // session installs it only with its SubClass switch on.
    if (!modDebug::DebugOutput || menuChecked(MenuItem::MnuDBSubClass)) modPwrCtrl::SubClass_Window(this);

    // 34. The heartbeat; its first tick starts the bid scheduler.
    TLMainState::FirstTickPending = -1;
    DisplayTime.setInterval(1000);
    DisplayTime.setEnabled(true);
}

namespace {

// The question before an exit that would leave armed bids unplaced. "No" has the focus, so Enter
// pressed by reflex keeps the program, as Esc does.
Messages::Args Pending_Bids_Question() {
    Messages::Args a;
    a.Text = "You have pending bid(s), if you exit the program now\r\nthese bids will not be placed. Do you still "
             "wish to exit?";
    a.FontSize = 10;
    a.Bold = true;
    a.Btn1Caption = "Yes";
    a.Btn2Caption = "No";
    a.ShowCheck = true;
    a.CheckCaption = "Turn This Warning Off";
    a.DefaultButton = 2;
    return a;
}

}  // namespace

// The close request: true keeps the window.
bool TLMain::Form_QueryUnload(int UnloadMode) {
    // The title bar's close puts the window in the tray when the user wants it so and the desktop
    // has a tray; without one the close ends the program, as with Close to Tray off.
    if (UnloadMode == 0 && settingTrue("Options", "ClosetoTray", true) && TLMainLayout::Tray_Present()) {
        setWindowState(1);
        return true;
    }
    // Not while a download runs (no message: the user closes again once it has ended).
    if (TLMainState::DownloadBusy) return true;
    if (settingNumber("Options", "BidsPendWarning", "0") != 1 || TLMainState::ForceExit) return false;

    // Every armed bid not yet sent counts, whatever stage it has reached. One whose placing is out
    // ("Placing Bid") has gone: the service may already hold it, and the program ends with it on
    // disk as "Placing Bid", fetching its result after the next start.
    static const char* const kPendingStates[] = {"", "OutBid", "BidPending", "Validating Bid", "Bid Validated"};
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (!item || item->BidTimeSecs <= 0) continue;
        if (std::find(std::begin(kPendingStates), std::end(kPendingStates), item->BidStatus) == std::end(kPendingStates))
            continue;
        TLMainItems::Get_Remaining_Secs(i);
        if (!TLMainItems::RemainingKnown || TLMainItems::RemainingSecs <= 0) continue;
        Messages::MsgReply = Messages::DisplayMsg(Pending_Bids_Question());
        if (Messages::MsgReply == "MsgBtn1" || Messages::MsgReply == "MsgBtn2") {
            if (Messages::MsgCheckValue) modTLC::Set_Config_Value("Options", "BidsPendWarning", "0");
            return Messages::MsgReply == "MsgBtn2";
        }
    }
    return false;
}

void TLMain::Form_Unload() {
    if (m_unloaded || !m_loaded) return;
    m_unloaded = true;
    DisplayTime.setEnabled(false);
    MouseTimer.setEnabled(false);
    SleepTimer.setEnabled(false);
    TLMainBids::Detach_Bid_Timers();
    TLMainBids::Install_Bid_Results_Mail(nullptr);
    modMail::Stop_All_Mail_Sends();
    if (m_clipboardWatch) platform::clipboard().unwatchChanges(m_clipboardWatch);
    m_clipboardWatch = 0;

    if (modTLC::ConfigDirty == 1) modTLC::Save_Config_File();
    modTLMain::Run_Program_End_Saves();
    modPwrCtrl::UnSubClass_Window(this);
    modSysTray::Delete_Tray_Icon();
    modWinInet::Close_Session();
    modTLMain::Write_Op_Log("Program Ended");
    modTLMain::Unload_Other_Forms(objectName().toStdString());

    m_links.reset();
    TLMainOptionsView::Give_Back_Options_View(*this);
    giveBackItemDuties();
    TLMainLink::releaseDuties(this);
}

// The exit commands close through the same request as the title bar, but as the program's own
// close: the tray is not offered, the pending bids are asked about.
void TLMain::Exit_Program() {
    if (!m_loaded || m_unloaded) return;
    if (Form_QueryUnload(1)) return;
    Form_Unload();
    hide();
    QCoreApplication::quit();
}

namespace TLMainState {

void ResetMainWindowStateForTests() {
    CommandLineText.clear();
    FirstTickPending = 0;
    StartupTickCount = HourTickCount = 0;
    LastTimeCheck = QDateTime();
    ClockCheckCount = ClockTickDelta = 0;
    ProgramClockBaseTime = QDateTime();
    ProgramClockTickBase = 0;
    TimeToUpdateText.clear();
    CountdownColonShown = AlarmFlashing = 0;
    SigninCheckDue = VersionCheckDue = false;
    KeyShiftState = KeepOnTop = ManualClockSet = 0;
    RetryDialSecs = 30;
    MaxDialAttempts = 3;
    HoverMouseRow = HoverMouseCol = HoverRow = HoverCol = HoverTicks = 0;
    HoverSuspended = PhotoButton = PhotoDragging = 0;
    PhotoDragX = PhotoDragY = 0;
    PinnedPhotoIndex = 0;
    AutoUpdateMinutes = AutoUpdateCountdown = 0;
}

}  // namespace TLMainState

namespace TLMainKeys {

int16_t Shift_State(Qt::KeyboardModifiers modifiers) {
    int16_t s = 0;
    if (modifiers & Qt::ShiftModifier) s |= 1;
    if (modifiers & Qt::ControlModifier) s |= 2;
    if (modifiers & Qt::AltModifier) s |= 4;
    return s;
}

int Key_Code(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        default: return 0;
    }
}

}  // namespace TLMainKeys
