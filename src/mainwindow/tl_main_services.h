// tl_main_services.h — what the main window reaches of the program's other duties that are not
// its own: power control and the dial-up line, the account and feedback tools, the maintenance
// commands (backup, update, problem report), the screen saver, and the facts of the start (the
// command line, the time zone, the update server, the autostart folder).
//
// Each duty is a small interface whose owner takes it on (setService); until then, and in tests
// that install no stand-in, the duty does nothing and reads empty. The clock synchronisation and
// the wake-up before the next bid are the bid engine's links (bidding/bid_engine_links.h), which
// the main window calls as the scheduler does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "foundation/duty_links.h"
#include "platform/file_names.h"

namespace TLMainServices {

// The dial-up line of the main window: the dial sequence and hang-up count-down timers' ticks and
// the File menu's "Connect" and "Hangup".
class DialLine {
public:
    virtual ~DialLine() = default;
    virtual void SyncAutoDial_Timer() {}
    virtual void HangupTimer_Timer() {}
    virtual void MnuSubConnect_Click() {}
    virtual void MnuSubHangup_Click() {}
};

// Power control and the dial-up line beyond what the bid scheduler asks for.
class PowerAndDial {
public:
    virtual ~PowerAndDial() = default;
    // While a wake-up timer is armed: looks whether it has fired (the heartbeat, every tick).
    virtual void Check_Wakeup_Timer() {}
    // SleepTimer fired: standby or hibernation as [Options] PwrSleepMode says.
    virtual void Enter_Sleep_Mode() {}
    // The File menu's "Connect" and "Hangup": the dial-up line's (DialLine).
    virtual void MnuSubConnect_Click();
    virtual void MnuSubHangup_Click();
};

// The account pages, the list imports and the feedback views.
class AccountTools {
public:
    virtual ~AccountTools() = default;
    // Sets the grid's columns up for the view on show (GridViewMode); the item view has none of
    // this duty's own: the item grid's columns are set.
    virtual void Load_Feedback_Grid();
    virtual void Get_Feedback_To_Leave() {}
    // The account summary page.
    virtual void MyeBayView() {}
    // 0 messages, 1 seller account, 2 to 5 the watching, won, selling and sold imports.
    virtual void MyeBayFunction(int Kind) {}
    // The seller analysis on show is of an item the browser handed over (not one of the list).
    virtual bool Analysis_Of_Handed_Over_Item() const { return false; }
    // Esc in the seller analysis of a handed-over item: its window comes back.
    virtual void Show_Item_Feedback() {}
    // "Feedback Analyzer" (Feedback menu and item popup): the analyzer for a page the browser
    // handed over, else for the selected item.
    virtual void Feedback_Analyzer() {}
};

// Backup, the update check and download, the problem report, printing, export and import.
class Maintenance {
public:
    virtual ~Maintenance() = default;
    // "S": the heartbeat's daily backup, which ends with "File Backup Completed".
    virtual void BackupFiles(const std::string& Mode) {}
    // The update check (VersionOverride set: the version is UpdateVersionReply).
    virtual void MnuTitleUpdateFile_Click() {}
    virtual void Report_Problem() {}
    virtual void Contact_Us() {}
    // The menu entries of this duty by their names: "MnuFilePrintAll", "MnuFilePrintCategory",
    // "MnuFilePrintSelected", "MnuFileExportText", "MnuFileExportImages", "MnuFileListText",
    // "MnuFileListTab", "MnuFileCategoryText", "MnuFileCategoryTab", "MnuFileBackup",
    // "MnuFileRestore", "MnuFileExportItems", "MnuFileImportItems".
    virtual void Menu_Command(const std::string& Name) {}
};

// Keeps the display awake: what a user's mouse move would tell the desktop (the screen saver
// ends, the display wakes).
class ScreenActivity {
public:
    virtual ~ScreenActivity() = default;
    virtual void Simulate_User_Activity();
};

// The duty as its owner carries it out; the stand-in when nobody took it on.
template <class S>
S& service() {
    return DutyLinks::dutyLink<S>();
}
// `s` takes on the duty (nullptr: nobody).
template <class S>
void setService(S* s) {
    DutyLinks::setDutyLink<S>(s);
}

// --- Facts of the start and of the desktop ---

// The arguments the program was started with (without the program itself).
std::vector<std::string> Command_Line_Arguments();
void setCommandLineForTests(const std::vector<std::string>* arguments);  // nullptr: the real one

// The time-zone query as the time-zone check reads it: 0 a zone without daylight saving, 1
// standard time, 2 daylight saving time, -1 the query failed. It fills modTLMain::TimeZoneInfo.
long Query_Time_Zone();
void setTimeZoneQueryForTests(std::function<long()> query);  // empty: the real one

// The downloaded program file of an update, in the data folder; the first tick after the update
// deletes it. (The update server is mainwindow/update_server.h.)
inline constexpr const char* kDownloadedUpdateFile = platform::kDownloadedProgramFile;
// The page the "Update Failed" message sends the user to.
inline constexpr const char* kDownloadPage = "http://www.tolvanererode.net/download.html";

// Where the desktop starts programs at log-in: $XDG_CONFIG_HOME/autostart (default
// ~/.config/autostart), without a trailing "/".
std::string Autostart_Folder();
// The Auto Run entry there, and the two templates run.sh installs in DataFolder/Startup/.
inline constexpr const char* kAutostartEntry = "Tolvane Rerode II.desktop";
inline constexpr const char* kStartupNormal = "Startup/TL2StartupNorm.desktop";
inline constexpr const char* kStartupMinimized = "Startup/TL2StartupMin.desktop";

}  // namespace TLMainServices
