// tl_main_commands.cpp — what the user starts from the main window: the toolbar and its two
// button menus, the menu entries of the window itself, and the hot keys. Most commands hand the
// work to its owner; here is which runs, with which variant, under which guard, and the texts.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "bidding/bid_engine_links.h"
#include "bidding/dial_state.h"
#include "foundation/bid_engine_state.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/options_link.h"
#include "foundation/options_state.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/add_item.h"
#include "items/bid_status.h"
#include "items/categories.h"
#include "items/delete_items.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_popup_commands.h"
#include "items/item_store.h"
#include "items/item_windows.h"
#include "items/items_guard.h"
#include "items/sort_commands.h"
#include "items/update_item.h"
#include "items/update_items.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/links_searches.h"
#include "mainwindow/sounds.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_services.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/message_box.h"

using namespace TLMainState;

namespace {

// A setting read as a Boolean ("True", "False" or a number); anything else is the default.
bool settingTrue(const char* section, const char* key, bool dflt = false) {
    return TLMainItems::Config_True(section, key, dflt);
}

constexpr int kKeyEnter = 13, kKeyEsc = 27, kKeySpace = 32, kKeyDelete = 46;
constexpr int kKeyC = 67, kKeyH = 72, kKeyO = 79;
constexpr int kKeyF1 = 112, kKeyF6 = 117, kKeyF7 = 118, kKeyF8 = 119, kKeyF9 = 120;
constexpr int kShift = 1, kCtrl = 2;

}  // namespace

// --- The toolbar ---

void TLMain::Toolbar1_ButtonClick(const std::string& key) {
    if (TLMainItems::GridViewMode >= 1) return;  // a feedback list is shown

    if (key == "UpdateAll" || key == "UpdateItem") {
        if (!modDebug::DebugOutput && MinuteWarningGiven) {
            setStatus(TLMainItems::kBidsPending);
            return;
        }
        // The same button stops a refresh or list add that runs.
        if (TLMainItems::BulkAddActive || UpdateBusy || SelectedUpdateBusy) {
            CancelUpdate = -1;
            return;
        }
        if (key == "UpdateItem") {
            TLMainItems::Update_Selected_Item();
        } else if (TLMainItems::ItemCount > 0) {
            if (KeyShiftState == (kShift | kCtrl)) {
                ManualEndTimeUpdate = -1;
                TLMainItems::UpdateEndingTime();
                ManualEndTimeUpdate = 0;
            } else {
                ManualUpdateRequest = -1;
                AutoUpdateDue = -1;  // the refresh starts when the scheduler is next idle
            }
        }
        return;
    }

    if (DownloadBusy || UpdateBusy) {
        setStatus(TLMainItems::kBusyDownload);
        return;
    }
    if (key == "BidSetup") {
        if (TLMainItems::GridRowCount < 1) return;
        if (UserState::CurrentUserID.empty()) {
            setStatus(TLMainItems::kNoUserForBid);
            return;
        }
        // The selected rows, whichever column they were selected in.
        TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
        TLMainItems::Get_GridSelection();
        if (TLMainItems::SelectionKind == 0) return;
        TLMainItems::SelectedRow = TLMainItems::SelectionFirstRow;
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(TLMainItems::Item_Of_Row(g.Row()));
        if (!item || item->ListingType == "BIN") return;
        setItemNumberText(item->ItemNumber);
        TLMainItems::itemWindows().showBidForm();
    } else if (key == "ViewItem") {
        TLMainBrowser::ViewEbayItem();
    } else if (key == "Home") {
        TLMainBrowser::Show_Service_Page(
            modTLC::Get_Config_Value("Locale", "HomeSite", TLMainLinksMenu::kServiceHomePage));
    } else if (key == "Search") {
        TLMainLinksMenu::MnuSubeBaySearch_Click();
    } else if (key == "Add") {
        AddPending = -1;  // added from the item-number box when the scheduler is idle
    } else if (key == "DeleteItem") {
        TLMainItems::Delete_Item(0);  // the button always asks
    } else if (key == "SetClock") {
        ManualClockSet = 1;
        TLMainBids::bidLink<TLMainBids::ClockSync>().SetSysClock();
    } else if (key == "Setup") {
        MnuSetup_Click();
    } else if (key == "Sort") {
        TLMainItems::Sort_Button_Click();
    } else if (key == "myebay") {
        TLMainServices::service<TLMainServices::AccountTools>().MyeBayView();
    }
}

void TLMain::Toolbar1_ButtonMenuClick(const std::string& tag, int index) {
    if (tag == "sort")
        TLMainItems::Sort_Dropdown_Click(index);  // the default key is not changed
    else if (tag == "myebay")
        TLMainServices::service<TLMainServices::AccountTools>().MyeBayFunction(index - 1);
}

// --- Hot keys ---

void TLMain::Form_KeyDown(int KeyCode, int Shift) {
    KeyShiftState = static_cast<int16_t>(Shift);
    if (SoundPlaying) SoundPlaying = 0;  // a key press ends a repeating sound

    if (logBoxVisible()) {
        if (KeyCode == kKeyEnter || KeyCode == kKeyEsc || KeyCode == kKeySpace) {
            hideLogBox();
            setStatus("");
            return;
        }
        if (KeyCode == kKeyC && KeyShiftState == kShift) {
            QuietCommand = 1;  // the hot key clears without asking
            modTLMain::Clear_Op_Log();
            return;
        }
    }

    if (KeyCode == kKeyEsc && TLMainItems::GridViewMode > 0) {
        auto& account = TLMainServices::service<TLMainServices::AccountTools>();
        // Leaving a seller analysis brings the analyzer back; for a page the browser handed over
        // it stands alone, as it did before Display.
        if (TLMainItems::GridViewMode == 2) {
            if (account.Analysis_Of_Handed_Over_Item()) hide();
            account.Show_Item_Feedback();
        }
        TLMainItems::GridViewMode = 0;
        account.Load_Feedback_Grid();
        TLMainItems::Load_ItemGrid();
        return;
    }

    switch (KeyCode) {
        case kKeyEsc:
            if (modRAS::DialBusy) modRAS::DialCancel = -1;
            if (HangupTimer.enabled()) {
                HangupTimer.setEnabled(false);
                setStatus("Auto Disconnect Cancelled!");
            }
            break;
        case kKeyDelete:
            // In a text box the key deletes text.
            if (!qobject_cast<QLineEdit*>(QApplication::focusWidget()) &&
                !qobject_cast<QTextEdit*>(QApplication::focusWidget()) &&
                !qobject_cast<QPlainTextEdit*>(QApplication::focusWidget()))
                TLMainItems::Delete_Item(Shift == kShift ? 1 : 0);
            break;
        case kKeyH:
        case kKeyO:
            if (Shift != kCtrl) break;
            if (logBoxVisible()) {
                hideLogBox();
                setStatus("");
            } else if (KeyCode == kKeyH) {
                modTLMain::Show_Item_History();
            } else {
                modTLMain::DisplayOpLog();
            }
            break;
        case kKeyF1: TLMainBrowser::MnuTitleHelp_Click(); break;
        case kKeyF6: MnuSubToggleUpdate_Click(); break;
        case kKeyF7: TLMainItems::Change_Category_Click(); break;
        case kKeyF8: setWindowState(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized) ? 0 : 2); break;
        case kKeyF9: TLMainSounds::Toggle_Sound(); break;
        default: break;
    }
}

void TLMain::Form_KeyUp() {
    KeyShiftState = 0;
    QuietCommand = 0;
}

// --- The timed refresh: on and off, or a custom interval with the shift keys ---

void TLMain::MnuSubToggleUpdate_Click() {
    if (modDebug::DebugOutput && KeyShiftState == 7) {  // the debug mode's test shortcut
        AutoUpdateMinutes = 1;
        AutoUpdateCountdown += 5;
        return;
    }
    if (KeyShiftState == 0) {
        if (AutoUpdateMinutes > 0) {
            AutoUpdateMinutes = 0;
            AutoUpdateCountdown = 0;
            TimeToUpdateLab->setText("00:00");
            setStatus("Auto Update is Off...");
            return;
        }
        AutoUpdateMinutes = vb::CLng(vb::Val(modTLC::Get_Config_Value("Options", "Refresh", "0")));
        if (AutoUpdateMinutes != 0) {
            AutoUpdateCountdown = AutoUpdateMinutes * 60;
            setStatus("Auto Update is On...");
        } else {
            setStatus("Error! Preset Update Time Is Set To Zero!");
            QApplication::beep();
        }
        return;
    }
    setStatus("Custom Auto Update Time....");
    switch (KeyShiftState) {
        case kShift: AutoUpdateMinutes += 1; break;
        case kCtrl: AutoUpdateMinutes += 5; break;
        case kShift | kCtrl: AutoUpdateMinutes += 10; break;
        default: break;
    }
    setStatus(statusText() + std::to_string(AutoUpdateMinutes) + " Minutes");
    if (AutoUpdateMinutes <= 1440)
        AutoUpdateCountdown = AutoUpdateMinutes * 60;
    else
        AutoUpdateMinutes = 1440;
}

// --- Menu commands ---

void TLMain::MnuFileDelAllItems_Click() {
    if (TLMainItems::Refuse_When_Items_Busy()) return;
    if (platform::MsgBox("Warning! You have requested to delete all auction items! Are you sure?", 273,
                         "Delete All Auction Items") == platform::vbCancel)
        return;
    QFile::remove(QString::fromStdString(TLMainItems::Item_Store_Path()));
    TLMainItems::Load_Auction_Items();
    TLMainItems::Load_ItemGrid();
    setStatus("All auction items have been deleted!");
}

void TLMain::MnuSetup_Click() { OptionsLink::setupDialog().Show_Setup(); }

void TLMain::MnuSubPopupCopy_Click() {
    const int index = TLMainItems::FindItemIndex(itemNumberText());
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(index);
    if (!item) return;
    platform::clipboard().clear();
    platform::clipboard().setText(item->Title);
}

// The notes of the last update, in the desktop's viewer. An update that did not take leaves none.
void TLMain::MnuTitleUpdateInfo_Click() {
    const std::string notes = modTLMain::DataFolder + "UpdateInfo.txt";
    if (!QFile::exists(QString::fromStdString(notes))) {
        platform::MsgBox("There is no update information.", platform::vbInformation, "View Last Update Info");
        return;
    }
    modTLMain::Open_On_Desktop(notes);
}

void TLMain::mnuTogglePhotos_Click() {
    const bool on = settingTrue("Options", "PhotosOn", true);
    modTLC::Set_Config_Value("Options", "PhotosOn", on ? "0" : "1");
    PhotoPopupOn = on ? 0 : 1;
}

// The entry names the next action.
std::string TLMain::photosCaption() const { return PhotoPopupOn == 1 ? "Photos Off" : "Photos On"; }

void TLMain::MnuTitleKOT_Click() {
    modTLMain::Set_Window_Topmost(this, KeepOnTop ? 0 : -1);
    KeepOnTop = KeepOnTop ? 0 : -1;
}

// Auto Run: the desktop's autostart entry, normal or minimised; the entry already ticked takes
// it away.
void TLMain::MnuAutoRunOpt_Click(int Index) {
    if (Index < 0 || Index > 1) return;
    QAction* entry[2] = {menuAction("MnuAutoRunOpt0"), menuAction("MnuAutoRunOpt1")};
    const QString folder = QString::fromStdString(TLMainServices::Autostart_Folder());
    const QString target = folder + "/" + TLMainServices::kAutostartEntry;
    if (m_autoRunTicked[Index]) {
        m_autoRunTicked[Index] = false;
        QFile::remove(target);
        modTLC::Set_Config_Value("Options", "AutoRun", "");
    } else {
        const QString source = QString::fromStdString(
            modTLMain::DataFolder + (Index == 1 ? TLMainServices::kStartupMinimized : TLMainServices::kStartupNormal));
        QDir().mkpath(folder);
        QFile::remove(target);
        QFile::copy(source, target);
        m_autoRunTicked[0] = m_autoRunTicked[1] = false;
        m_autoRunTicked[Index] = true;
        modTLC::Set_Config_Value("Options", "AutoRun", std::to_string(Index));
    }
    for (int i = 0; i < 2; ++i) entry[i]->setChecked(m_autoRunTicked[i]);
}

void TLMain::MnuExit_Click() { Exit_Program(); }

void TLMain::MnuSubViewOpLog_Click() { modTLMain::DisplayOpLog(); }

// The clock's tip: the date in the user's long form and the time zone's name.
void TLMain::TimeIs_MouseMove() {
    const QDateTime now = platform::clock().now().addMSecs(modClock::Program_Offset_Ms());
    TimeIs->setToolTip(QLocale().toString(now.date(), QLocale::LongFormat) + "  " +
                       QString::fromStdString(modTLMain::TimeZoneName));
}
