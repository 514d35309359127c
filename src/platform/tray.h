// tray.h — the program's icon in the desktop's notification area (system tray).
//
// Mouse actions on the icon are reported as the mouse messages the program has always
// handled: 0x202 left button up, 0x205 right button up, anything else (a double or a
// middle click) as a plain mouse event. A double click is its second click's 0x202 followed
// by 0x203, so that every click toggles the window however quickly it follows the last. Where the desktop has no notification area
// (also offscreen) every call does nothing: add() again once one has appeared.
#pragma once

#include <QIcon>
#include <functional>
#include <string>

namespace platform {

inline constexpr int kTrayMouseMove = 0x200;
inline constexpr int kTrayLeftButtonUp = 0x202;
inline constexpr int kTrayLeftDoubleClick = 0x203;
inline constexpr int kTrayRightButtonUp = 0x205;
inline constexpr int kTrayMiddleButtonUp = 0x208;

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Shows the icon with its picture and tip; each mouse action on it goes to onMouse.
    virtual void add(const QIcon& icon, const std::string& tip, std::function<void(int mouseMessage)> onMouse) = 0;
    virtual void remove() = 0;
    virtual void setTip(const std::string& tip) = 0;
    // A balloon message; the low two bits of iconFlags choose its icon:
    // 0 none, 1 information, 2 warning, 3 error.
    virtual void showBalloon(const std::string& title, const std::string& text, int iconFlags) = 0;
    // The desktop has a notification area to show the icon in.
    virtual bool available() const = 0;
    // The icon is in the notification area (added while there was one, not removed since).
    virtual bool isShown() const = 0;
};

TrayIcon& trayIcon();
void setTrayIconForTests(TrayIcon* t);  // nullptr puts the system's back

}  // namespace platform
