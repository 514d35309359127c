// tl_main_state.h — what the main window keeps for its heartbeat, its commands and its hover
// timer: the command line of the start, the heartbeat's counters and count-downs, the shift state
// of the last key, and the hover pop-up's state. Process-wide, UI thread only.
#pragma once

#include <QDateTime>
#include <Qt>
#include <cstdint>
#include <string>

namespace TLMainState {

// The program's version, as the update server and the logs see it.
inline constexpr const char* kProgramVersion = "3.43";

// The arguments of the start joined by blanks (the load keeps it; the first tick reads
// "/MINIMIZED" in it and empties it).
inline std::string CommandLineText;

// --- The heartbeat ---
inline int16_t FirstTickPending = 0;    // set by the load; the first tick runs the start-up duties
inline int32_t StartupTickCount = 0;    // ticks since the first, up to 120
inline int32_t HourTickCount = 0;       // 0 to 3600
inline QDateTime LastTimeCheck;         // local time of the last tick (the clock-jump check)
inline int32_t ClockCheckCount = 0;     // ticks since the program clock was compared (0 to 15)
inline int32_t ClockTickDelta = 0;      // milliseconds from the program clock's tick base to that comparison
inline QDateTime ProgramClockBaseTime;  // the program clock where it may not set the PC clock:
inline qint64 ProgramClockTickBase = 0; // its base time and the tick count taken with it
inline std::string TimeToUpdateText;    // the timed refresh's count-down as TimeToUpdateLab shows it
inline int16_t CountdownColonShown = 0; // the count-down's separator blinks while it shows hours
inline int16_t AlarmFlashing = 0;       // an alarmed item's row flashes (20 ticks)
// The sign-in and version checks are due but wait for a moment when no bid is near.
inline bool SigninCheckDue = false;
inline bool VersionCheckDue = false;

// --- Commands ---
// Shift state of the last key press in the main window (1 Shift, 2 Ctrl, 4 Alt, sums); 0 after
// the key is released. A command started by the mouse reads the keys held at the click.
inline int16_t KeyShiftState = 0;
inline int16_t KeepOnTop = 0;           // the window is held on top of the others
inline int16_t ManualClockSet = 0;      // the clock synchronisation was started by hand
// The dial-up retry settings the load copies from [Options] (RetryDialTime, MaxAttempts).
inline int16_t RetryDialSecs = 30;
inline int16_t MaxDialAttempts = 3;

// --- The hover pop-up ---
inline int32_t HoverMouseRow = 0;       // the grid cell under the mouse at its last move
inline int32_t HoverMouseCol = 0;
inline int32_t HoverRow = 0;            // the cell being timed for a pop-up
inline int32_t HoverCol = 0;
inline int32_t HoverTicks = 0;
inline int32_t HoverSuspended = 0;      // a button is held on a photo: no pop-up is timed
inline int32_t PhotoButton = 0;         // the button of the last press on a photo (1 left, 2 right)
inline int32_t PhotoDragging = 0;
inline long PhotoDragX = 0;             // where the drag started inside the photo (twips)
inline long PhotoDragY = 0;
inline int32_t PinnedPhotoIndex = 0;    // the last pinned photo's index

// Back to the start (tests).
void ResetMainWindowStateForTests();

}  // namespace TLMainState

namespace TLMainKeys {

// The shift state of Qt's modifiers: 1 Shift, 2 Ctrl, 4 Alt, summed.
int16_t Shift_State(Qt::KeyboardModifiers modifiers);
// The key code of a Qt key as the window's key handlers read it: Enter 13, Esc 27, Space 32,
// Delete 46, letters 65 to 90, F1 to F12 112 to 123; 0 for a key without one.
int Key_Code(int qtKey);

}  // namespace TLMainKeys
