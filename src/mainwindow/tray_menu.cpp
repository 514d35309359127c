#include "mainwindow/tray_menu.h"

#include <string>
#include <vector>

#include "foundation/c_menu.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "items/bid_status.h"
#include "options/users.h"
#include "platform/clipboard.h"

namespace TLMainTray {
namespace {

constexpr int kMinimized = 1;

// Auto-add on is switched off; off is switched on, and what the clipboard holds now goes, so
// that it is not taken for an item number the user just copied.
void toggleAutoAdd() {
    const bool on = TLMainItems::Config_True("Options", "AutoAdd", false);
    if (!on) platform::clipboard().clear();
    TLMainState::AutoAddOn = on ? 0 : -1;
    modTLC::Set_Config_Value("Options", "AutoAdd", !on);
}

// A minimised window (in the tray or on the taskbar) comes back in the state it had before;
// any other is minimised, and the resize handling hides it when it has no taskbar button.
void showOrHideWindow() {
    if (TLMainState::MainWindowState == kMinimized) {
        TLMainLink::window().setWindowState(TLMainState::LastWindowState);
        TLMainLink::window().setVisible(true);
    } else {
        TLMainLink::window().setWindowState(kMinimized);
    }
}

}  // namespace

void AddLinkMenu(const std::function<void()>& exitProgram) {
    const std::vector<std::string> users = modUsers::User_List();
    const std::string lastUser = modTLC::Get_Config_Value("Options", "LastUser", "");

    cMenu usersMenu;
    usersMenu.setCaption("Users");
    if (users.empty()) usersMenu.AddItem(1, "No Users");
    for (size_t i = 0; i < users.size(); ++i)
        usersMenu.AddItem(static_cast<long>(i) + 1, users[i], false, users[i] == lastUser);

    cMenu menu;
    menu.AddItem(kUsersMenu, usersMenu);
    menu.AddItem(kAutoAdd, "Enable Auto Add", false, TLMainItems::Config_True("Options", "AutoAdd", false));
    menu.AddItem(kShowHideWindow, TLMainState::MainWindowState == kMinimized ? "Show Window" : "Hide Window");
    menu.AddItem(kSeparator, "-");
    menu.AddItem(kExit, "Exit");

    long chosen = 0;
    try {
        chosen = menu.TrackPopup(TLMainLink::window().widget(), -1, -1);
    } catch (const vb::RuntimeError&) {
        return;  // no window to show the menu for
    }

    switch (chosen) {
        case kAutoAdd: toggleAutoAdd(); break;
        case kShowHideWindow: showOrHideWindow(); break;
        case kExit:
            if (exitProgram) exitProgram();
            break;
        default:
            if (chosen >= 1 && chosen <= static_cast<long>(users.size()))
                modUsers::Switch_User_Gated(users[static_cast<size_t>(chosen) - 1]);
            break;
    }
}

}  // namespace TLMainTray
