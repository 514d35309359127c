// window_subclass.h — the main window's own message handling (its window procedure): the
// mouse wheel, the tray icon's mouse actions, standby and resume, and the end of the session.
//
// SubClass_Window puts WindowProc in front of the window's events; until UnSubClass_Window
// takes it away again the window answers the tray icon, turns the wheel into grid scrolling
// and logs the power and session notices. Wheel turns reach it when no child widget of the
// window has taken them, as on a form.
#pragma once

#include <QDateTime>
#include <QEvent>
#include <QPoint>
#include <string>

class QObject;
class QWidget;

namespace modPwrCtrl {

// The messages the window procedure handles beside the wheel.
inline constexpr long WM_ENDSESSION = 0x16;
inline constexpr long WM_POWERBROADCAST = 0x218;
inline constexpr long WM_TRAYCALLBACK = 1024;  // the tray icon's callback; lParam holds the mouse message
inline constexpr long PBT_APMSUSPEND = 4;
inline constexpr long PBT_APMRESUMESUSPEND = 7;
inline constexpr long ENDSESSION_LOGOFF = 0x80000000L;

// A message for the main window, carried as an event.
class WindowMessage final : public QEvent {
public:
    WindowMessage(long msg, long wParam, long lParam) : QEvent(eventType()), Msg(msg), WParam(wParam), LParam(lParam) {}
    static QEvent::Type eventType();
    long Msg, WParam, LParam;
};
// Queues the message for the window (as the tray icon does); nothing when there is no window.
void Post_Message(QWidget* hWnd, long msg, long wParam, long lParam);
// Hands the message to the window at once.
void Send_Message(QWidget* hWnd, long msg, long wParam, long lParam);

inline std::string TrayTip;         // the tip text last put on the tray icon
inline QDateTime ResumeTime;        // the last resume from standby or hibernation
inline QPoint CursorPos;            // the cursor position read last (at resume and by the user-input check)
inline QPoint ResumeCursorPos;      // the cursor position the user-input check compares against

// The tray icon's tip: with a wake-up armed "Tolvane Rerode - " and the wake-up icon's tip, else
// "  Tolvane Rerode  ". A tray icon reports no hover, so the tip is set whenever the wake-up is
// armed, changed or cleared (and on any other mouse action over the icon).
void Set_Tray_Tip();

void SubClass_Window(QWidget* hWnd);
// Takes the window procedure away again; nothing when it is not installed.
void UnSubClass_Window(QWidget* hWnd);
bool Window_SubClassed();

// The window procedure: true when the event was taken (it goes no further).
bool WindowProc(QObject* hWnd, QEvent* e);

// What the wheel needs of a grid: the first visible row below the fixed heading row, and
// the number of rows.
class WheelGrid {
public:
    virtual ~WheelGrid() = default;
    virtual long TopRow() const = 0;
    virtual void setTopRow(long row) = 0;
    virtual long Rows() const = 0;
};
// One row per wheel message: toward the user (Rotation below 1) down, else up.
void Wheel_Scroll_Grid(WheelGrid& Grid, long MouseKeys, long Rotation, long X, long Y);

void ResetForTests();

}  // namespace modPwrCtrl
