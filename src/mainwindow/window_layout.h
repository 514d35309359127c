// window_layout.h — where the main window's controls sit, and what the window keeps of its size
// and state.
//
// The window has no layout manager. ResizeWindow places every control from the size of the
// window's client area (the window's outer size less its frame, caption and menu bar): the
// toolbar and the entry row at the top, the grid below them down to the status bar, the clock,
// sound and wake-up icons at the right end of the status bar and the message line left of them.
// It also fills the grid with empty rows down to the status bar and gives the stretching column
// (the description, column 2, in the item view) the width the other columns leave; the
// description never goes below its least width (TLMainItems::Description_Least_Width), and where
// the columns are wider than the grid, the grid scrolls sideways.
//
// Form_Resize keeps the window-state values the tray uses and hides a minimised window that has
// no taskbar button (it lives in the tray then). A window in the tray is withdrawn from the
// screen, never left iconified: To_Tray hides it without asking the window manager to minimise
// it first, because a window restored from an iconified-then-withdrawn state can come back
// iconified while the program takes it for shown. A window hidden in the tray counts as
// minimised. WPS saves the state and the normal placement to
// [Options]; the heartbeat runs it 2 ticks after the last ResizeWindow. MouseWheel scrolls the
// grid one row per wheel message while the grid has the focus.
//
// Lengths are twips, 15 to a pixel, as the settings keep them. A control the window does not have
// (nullptr in Controls) is taken as an empty one at the corner: rules that read it see 0, and what
// it would be given is not applied. A size that cannot be given (below 0, as in a very small
// window) is skipped and the rest of the layout still runs.
#pragma once

#include <cstdint>

class QWidget;

namespace TLMainState {

// Ticks until WPS saves the window placement: set to 2 by every ResizeWindow, counted down by
// the heartbeat (WindowLayout::Placement_Countdown).
inline int32_t PlacementSaveCountdown = 0;

}  // namespace TLMainState

namespace TLMainLayout {

// The controls the layout places. Form is the client area that holds them (the main window's
// central widget); the status-line controls (TimeToUpdateLab to txtComment) are children of
// StatusBar and are placed inside it. The grid's rows and columns are those of the item grid
// (TLMainItems::ItemGrid()); ItemGrid here is the view that shows it.
struct Controls {
    QWidget* Form = nullptr;
    QWidget* Toolbar1 = nullptr;
    QWidget* Phone = nullptr;       // the dial-up state picture beside the toolbar
    QWidget* ItemNumBox = nullptr;  // the item-number entry and its caption
    QWidget* ItemNumLab = nullptr;
    QWidget* cmdAddItem = nullptr;
    QWidget* labSeller = nullptr;
    QWidget* ItemGrid = nullptr;
    QWidget* OpLog = nullptr;       // the log pane, laid over the grid while it is shown
    QWidget* StatusBar = nullptr;
    QWidget* TimeToUpdateLab = nullptr;
    QWidget* TimeIs = nullptr;
    QWidget* SoundIcon = nullptr;
    QWidget* TimerIcon = nullptr;   // shown while a wake-up timer is armed
    QWidget* MsgLab = nullptr;
    QWidget* txtComment = nullptr;  // the in-place comment box over the message line
};

// Twips margins and rules of the layout.
inline constexpr long kInnerWidthMargin = 120;
inline constexpr long kToolbarTop = 165;
inline constexpr long kScrollBarRoom = 330;
inline constexpr long kDefaultWindowWidth = 12000;
inline constexpr long kDefaultDescriptionWidth = 3000;  // the description's room in a new window

class WindowLayout {
public:
    explicit WindowLayout(QWidget* window) : m_window(window) {}

    Controls& controls() { return m_controls; }

    // Places the controls for the client area's size and the grid's view; re-arms the placement
    // save (PlacementSaveCountdown = 2).
    void ResizeWindow();
    // The window's size or state changed: CurrentWindowState (TLMainState::MainWindowState) and
    // RestoreWindowState (TLMainState::LastWindowState), the tray for a minimised window, then
    // ResizeWindow.
    void Form_Resize();
    // Minimised to the tray: the state to restore kept, the window hidden, MainWindowState 1.
    void To_Tray();
    // The window's state as the program counts it: 0 normal, 1 minimised (also hidden in the
    // tray), 2 maximised.
    int16_t State() const;
    // Saves [Options] WindowState (0 or 2, never 1) and, in the normal state, NormalWidth,
    // NormalHeight, NormalTop and NormalLeft (the window's outer size and position, twips).
    void WPS();
    // One wheel message: one row down (Rotation below 1) or up while the grid has the focus.
    void MouseWheel(long Buttons, long Rotation, long X, long Y);
    // The heartbeat's placement step: counts PlacementSaveCountdown down and runs WPS at 0.
    void Placement_Countdown();

private:
    QWidget* m_window;
    Controls m_controls;
    bool m_inTray = false;  // hidden in the tray (counts while the window is hidden)
};

// A minimised main window leaves the taskbar for the tray: [Options] Taskbar is off and the
// desktop has a tray to show the icon in. Without a tray the window stays on the taskbar, as
// with Taskbar on, so that it can always be brought back.
bool Hides_To_Tray();
// The desktop has a notification area (system tray) now.
bool Tray_Present();

// The window's width (twips) without a saved one: every item column at its default width and a
// description column beside them, in the grid's font, within `screenWidth`; never below 12000.
long Default_Window_Width(long screenWidth);

}  // namespace TLMainLayout
