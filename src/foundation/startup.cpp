#include "foundation/startup.h"

#include <QDir>
#include <limits>
#include <memory>

#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/startup_windows.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "platform/file_names.h"
#include "platform/folders.h"
#include "platform/locale_ids.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/single_instance.h"
#include "platform/timers.h"
#include "foundation/small_routines.h"
#include "foundation/system_info.h"
#include "foundation/locale_dates.h"

namespace modTLMain {
namespace {

StartupWindows g_windows;
std::unique_ptr<platform::SingleInstance> g_instance;

constexpr const char* kSiteLocaleIds = "1033,3081,4105,2057,3079,2060,2067,1036,1031,1040,1043,3082,1053";

// Step 5: a second start hands over to the first and ends without touching any file. When the
// first holds the single-instance lock but never answers, the second ends all the same.
void Check_Single_Instance() {
    g_instance = std::make_unique<platform::SingleInstance>(DataFolder);
    const auto outcome = g_instance->start([] {
        if (g_windows.showMainWindow) g_windows.showMainWindow();
    });
    if (outcome == platform::SingleInstance::Outcome::First) {
        platform::atProcessExit("single instance", End_Single_Instance);
        return;
    }
    g_instance.reset();
    platform::timers().doEvents();
    platform::exitProcess(outcome == platform::SingleInstance::Outcome::HandedOver ? 0 : 1);
}

void Check_Versions() {
    const std::string title = platform::kProgramTitle;
    const std::string mine = Get_File_Version(DataFolder + platform::kProgramFile);
    const std::string updater = Get_File_Version(DataFolder + platform::kUpdaterFile);
    if (updater.empty()) {
        platform::MsgBox("Error! Program Updater File Missing!", platform::vbOKOnly, title);
    } else if (updater != mine) {
        platform::MsgBox(std::string("Error! Wrong version of Program Updater detected.") + "\r\n\r\n" +
                             "You must re-install the program to correct this error." + "\r\n\r\n" +
                             "Make sure program is not running before installing.",
                         platform::vbOKOnly, title);
    }
    const std::string ext = Get_File_Version(DataFolder + platform::kExtensionFile);
    if (ext.empty())
        platform::MsgBox("Error! IE DLL File Missing!", platform::vbOKOnly, title);
    else if (ext != "3.00")
        platform::MsgBox("Error! Wrong version of IE DLL detected!", platform::vbOKOnly, title);
}

}  // namespace

void SetStartupWindows(StartupWindows windows) { g_windows = std::move(windows); }
StartupWindows& Startup_Windows() { return g_windows; }

void GetAppDataPaths() {
    const platform::SystemFolders f = platform::systemFolders();
    if (!f.appData.empty()) {
        AppDataFolder = f.appData;
        DataFolder = AppDataFolder + "/" + platform::kDataFolderName + "/";
    }
    CommonAppDataFolder = f.commonAppData;
    DesktopFolder = f.desktop;
    StartupFolder = f.startup;
    CommonDocumentsFolder = f.commonDocuments;
    // There is no installer: the first start makes the data folder, for this user only.
    if (!DataFolder.empty() && !platform::makePrivateFolder(DataFolder))
        Log_Error(76, "Path not found", "GetAppDataPaths");
}

void GetUserAgent() {
    // The system keeps no browser user agent for us to read.
    DefaultUserAgent = kDefaultUserAgent;
}

void Main() {
    try {
        GetAppDataPaths();
        GetUserAgent();
        if (g_windows.loadNewSetup) g_windows.loadNewSetup();
        platform::timers().waitUntil([] { return ConfigLoaded != 0; }, std::numeric_limits<qint64>::max() / 4);
        Check_Single_Instance();
        modWinInfo::Get_Windows_Version();
        Get_Time_Zone_Info();
        if (modWinInfo::OSMajorVersion >= 6) TokenElevationType = modWinInfo::Get_Elevation_Type();
        const long ctx = modAHM::Get_Crypt_Context();
        if (ctx != 0) {
            modAHM::Release_Crypt_Context(ctx);
        } else {
            platform::MsgBox("Error! Could not initialize Cryptographic Services. This program requires Internet "
                             "Explorer version 5.5 or later with 128 bit cipher strength.",
                             platform::vbCritical, "Cryptographic Services");
        }
        Check_Versions();
        if (NewInstall) {
            Write_Op_Log("New Install - Setting Presets");
            Set_Default_Config();
        }
        if (g_windows.loadSplash) g_windows.loadSplash();
    } catch (const std::exception& e) {
        Log_Exception(e, "Main");
    }
}

void End_Single_Instance() {
    if (g_instance) g_instance->release();
    g_instance.reset();
}

void Set_Default_Config() {
    struct Preset { const char* section; const char* key; const char* value; };
    static const Preset kPresets[] = {
        {"Options", "AlarmValues", "1284"}, {"Options", "AutoComment", "0"},   {"Options", "AutoDialType", "2"},
        {"Options", "AutoUpdateOpt", "1"},  {"Options", "ChkUpdates", "1"},    {"Options", "ClockSet", "1"},
        {"Options", "Columns", "63"},       {"Options", "InstallVersion", "3.43"}, {"Options", "ManualOption", "1"},
        {"Options", "MyeBayASI", "1"},      {"Options", "ShowBidSetup", "0"},  {"Options", "BidsPendWarning", "1"},
        {"Options", "Sound", "1"},          {"Options", "TimeSync", "0"},      {"Options", "AutoAdd", "0"},
        {"Options", "ClosetoTray", "1"},    {"Categories", "General", "1"},    {"Sounds", "AddItem", "AddItem"},
        {"Sounds", "Alert", "Alert"},       {"Sounds", "ClockAlarm", "ClockAlarm"}, {"Sounds", "DLComplete", "DLComplete"},
        {"Sounds", "General", "General"},   {"Sounds", "Lose", "Lose"},        {"Sounds", "Win", "Win"},
    };
    for (const auto& p : kPresets) modTLC::Set_Config_Value(p.section, p.key, p.value);

    const std::string lcid = std::to_string(platform::userLocaleId());
    const auto ids = vb::Split(kSiteLocaleIds, ",");
    for (size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == lcid) {
            CurrentSiteIndex = static_cast<long>(i);
            break;
        }
    }
    modTLC::Set_Config_Value("Locale", "SiteIndex", CurrentSiteIndex);
    FirstRunSetup = 1;
    if (g_windows.setSiteLocale) g_windows.setSiteLocale(CurrentSiteIndex);
    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"}) Make_Folder(DataFolder + sub);
    modTLC::Save_Config_File();
}

void ResetStartupForTests() {
    End_Single_Instance();
    DataFolder.clear();
    AppDataFolder.clear();
    CommonAppDataFolder.clear();
    DesktopFolder.clear();
    StartupFolder.clear();
    CommonDocumentsFolder.clear();
    DefaultUserAgent.clear();
    ConfigLoaded = 0;
    NewInstall = false;
    FirstRunSetup = 0;
    TokenElevationType = 0;
    CurrentSiteIndex = 0;
}

}  // namespace modTLMain
