// window_routines.h — what the program does to its own windows through the window system:
// keeping a window on top, its taskbar button, a synthetic click, closing windows.
//
// Everything stays inside the program: the click goes to the program's own widget under
// the point (never into the system's input queue) and the system cursor is not moved.
#pragma once

#include <QPoint>
#include <QSize>
#include <string>

class QScrollArea;
class QWidget;

namespace platform {

// Placement in the stacking order, as the program's flag gives it:
// -1 always above the other windows, 0 no longer always on top, any other value:
// to the top of the windows that are not "always on top". The window is shown.
void setWindowTopmost(QWidget* window, int flag);

// Centres the top-level `window` over `owner` when the owner is shown, else over the primary
// screen, and keeps it with its frame inside the free area of that screen (a window larger than
// the area is made smaller to fit, as fitInside does). Before the window manager has framed
// the window, its frame is taken to be the owner's.
void placeOver(QWidget* window, const QWidget* owner);

// Makes the top-level `window` no larger than `room` (its size inside the window manager's
// frame). A laid-out window whose content cannot be made that small gets its whole content put
// into a scroll area first, once: the controls stay the same objects and the window scrolls where
// it must. A window that fits is left as it is, and so is one of a fixed size whose controls are
// placed by hand (the message window sizes itself to its text).
void fitInside(QWidget* window, const QSize& room);

// Widens the top-level `window` (never beyond its screen's work area) so that the window
// manager's title bar has room for the whole of its title beside the frame's buttons.
void widenForTitle(QWidget* window);

// The size `window` asks for when `scroll`, one of its scroll areas, shows the whole of its
// content without scrolling (a window that keeps some of its controls out of the scroll area,
// such as its buttons, opens at this size where the screen has room).
QSize unscrolledSize(const QWidget* window, const QScrollArea* scroll);

// A taskbar button for the window (true) or none (false); the window is hidden while
// the change is made and shown afterwards.
void setTaskbarButton(QWidget* window, bool show);
bool hasTaskbarButton(const QWidget* window);

// Left press and release at the global pixel position, posted to the program's widget
// under it. False when no widget of the program is there.
bool clickAtPixel(QPoint global);

// The window a question or note of the program belongs to: the open modal window, else the
// active window, else the program's visible main window; nullptr when there is none.
QWidget* dialogOwner();

// Closes (with each window's own close handling) every top-level window whose object
// name differs from `keep`; an empty `keep` closes them all. Menus and tooltips are left.
void closeOtherWindows(const std::string& keep);

}  // namespace platform
