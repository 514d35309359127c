// composed_program.h — puts away what programstart::Start() put together (the windows it loaded
// and the state they and the program's modules keep), so that the next test starts clean.
#pragma once

#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "items/item_grid.h"
#include "items/item_store.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_state.h"
#include "options/new_setup.h"
#include "options/setup_form.h"
#include "service/national_sites.h"

namespace testsupport {

inline void Unload_Composed_Program() {
    NewSetup::Unload();
    Setup::Unload();  // the options dialog the window's load made, hidden
    TLMain::unloadForTests();
    Messages::UnloadShared();
    modDebug::ResetForTests();
    TLMainItems::ResetItemStoreForTests();
    TLMainItems::ResetItemGridForTests();
    TLMainState::ResetForTests();
    TLMainState::ResetMainWindowStateForTests();
    modTLMain::ResetLocaleDatesForTests();
    modTLMain::ResetNationalSitesForTests();
    modTLMain::ResetStartupForTests();
    modTLC::ResetForTests();
}

}  // namespace testsupport
