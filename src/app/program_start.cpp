#include "app/program_start.h"

#include "account/account_duty.h"
#include "clockpower/clock_power_duties.h"
#include "dialup/dialup_duty.h"
#include "foundation/config_store.h"
#include "foundation/program_end.h"
#include "foundation/startup.h"
#include "foundation/startup_windows.h"
#include "maintenance/maintenance_duty.h"
#include "mainwindow/splash.h"
#include "mainwindow/tl_main.h"
#include "options/new_setup.h"
#include "options/setup_form.h"
#include "service/national_sites.h"

namespace programstart {
namespace {

void showMainWindow() {
    TLMain& w = TLMain::instance();
    if (!w.isVisible()) {
        w.Form_Load();
        w.show();
    }
}

}  // namespace

void Start() {
    NewSetup::SetShowMainWindow(showMainWindow);
    Setup::Register_Options_Link();
    Maintenance::Register_Maintenance();
    TLMainAccount::Register_Account_Tools();
    ClockPower::Register_Clock_And_Power();
    Dialup::Register_Dialup();
    modTLMain::StartupWindows windows;
    windows.loadNewSetup = [] { NewSetup::instance(); };
    windows.loadSplash = [] {
        auto* splash = new Splash(Splash::Next{
            [] { NewSetup::instance().show(); },
            [] { NewSetup::Unload(); },
            showMainWindow,
        });
        splash->Form_Load();
    };
    windows.setSiteLocale = [](long index) { modTLMain::Set_Site_Locale(index); };
    windows.showMainWindow = [] {
        if (TLMain::loaded()) TLMain::instance().showAndRaise();
    };
    modTLMain::SetStartupWindows(windows);
    modTLMain::Main();
}

void Finish() {
    // However the event loop ended (Exit, the session manager's quit, a stop signal), the window
    // unloads as at Exit: the settings, the list and the "Program Ended" line. An unload that
    // already ran does nothing. Without the window (still starting), the saves run alone.
    if (TLMain::loaded()) {
        TLMain::instance().Form_Unload();
    } else {
        if (modTLC::ConfigDirty) modTLC::Save_Config_File();
        modTLMain::Run_Program_End_Saves();
    }
    modTLMain::End_Single_Instance();
}

}  // namespace programstart
