// sys_tray.h — the program's icon in the notification area: shown, its tip and balloon
// messages changed, removed.
//
// The icon belongs to the main window: its picture is the window's icon and its mouse
// actions come to the window as tray messages (see window_subclass.h).
#pragma once

#include <string>

namespace modSysTray {

inline constexpr long kTrayIconID = 999;
inline constexpr long NIF_TIP = 4;
inline constexpr long NIF_INFO = 16;  // a balloon message

// The icon is wanted from Add_Tray_Icon to Delete_Tray_Icon; on a desktop whose notification area
// is not there yet (the program started before the panel) Keep_Tray_Icon adds it once it is.
void Add_Tray_Icon();
void Delete_Tray_Icon();
void Keep_Tray_Icon();
// Flags NIF_INFO shows Text as a balloon titled InfoTitle with the icon of InfoFlags (1 information,
// 2 warning, 3 error); any other Flags with NIF_TIP among them make Text the tip. Texts longer than
// their field are cut: tip 128 characters, balloon text 256, balloon title 64.
void Modify_Tray_Tip(const std::string& Text, const std::string& InfoTitle, long InfoFlags, long Flags);

}  // namespace modSysTray
