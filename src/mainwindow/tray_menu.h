// tray_menu.h — the tray icon's menu (a right click on the icon): switch to another program
// user, turn the clipboard auto-add on or off, show or hide the main window, end the program.
//
// The menu is built afresh each time it is shown, so it always shows the settings of that
// moment: the users of [Users] with a tick on [Options] LastUser, the tick of [Options] AutoAdd,
// and "Show Window" or "Hide Window" by the window's state.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/options_state.h"  // AutoAddOn

namespace TLMainTray {

// Entry IDs of the menu. The "Users" submenu is entry 0; its users are 1, 2, ... in the order
// of [Users] ("No Users", 1, when there is none: choosing it does nothing).
inline constexpr long kUsersMenu = 0;
inline constexpr long kAutoAdd = 500;
inline constexpr long kShowHideWindow = 501;
inline constexpr long kSeparator = 502;
inline constexpr long kExit = 503;

// Builds the menu, shows it at the mouse and carries out the chosen entry. A chosen user becomes
// current through the gated switch (a gated user's password is asked first). `exitProgram` is
// the main window's exit command, run for "Exit".
void AddLinkMenu(const std::function<void()>& exitProgram);

}  // namespace TLMainTray
