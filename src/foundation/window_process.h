// window_process.h — acting on windows and on the process: a left click at a window
// position, the main window's taskbar button, the splash picture, and ending the program.
#pragma once

#include <cstdint>
#include <functional>

class QLabel;
class QWidget;

namespace modTLMain {

// Clicks the left mouse button 10 pixels right of and below the screen position (twips).
// The click goes to the program's own widget there; the cursor does not move.
void Click_At(long X, long Y);
// The pixel that Click_At clicks for a position in twips.
int Click_Pixel(long twips);

// Gives the main window a taskbar button (-1) or takes it away (any other value). The main
// window is the registered main-window link when that is a widget, else the given one.
void Set_Taskbar_Button(int16_t show);
void Set_Taskbar_Button(int16_t show, QWidget* mainWindow);

// Loads DataFolder + "Help/tl2splash.gif" into the splash window's logo (TLIILogo). A missing
// or unreadable file leaves the logo as it was. The no-argument form asks the splash window,
// which registers how to reach (and, when needed, create) its logo.
void Load_Splash_Picture();
bool Load_Splash_Picture(QLabel* logo);
void SetSplashLogoProvider(std::function<QLabel*()> provider);
// The splash picture's file.
inline constexpr const char* kSplashPictureFile = "Help/tl2splash.gif";

// Sets ForceExit, unloads every window and ends the process at once (no further code of
// the caller runs).
[[noreturn]] void Exit_Program();

}  // namespace modTLMain
