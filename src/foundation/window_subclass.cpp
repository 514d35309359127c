#include "foundation/window_subclass.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <memory>

#include "foundation/clock_state.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/program_end.h"
#include "foundation/sys_tray.h"
#include "foundation/system_notices.h"
#include "foundation/vb.h"
#include "platform/clock.h"
#include "platform/tray.h"

namespace modPwrCtrl {
namespace {

class WindowHook final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override { return WindowProc(watched, e); }
};

QPointer<QWidget> g_window;           // the window whose procedure is replaced
std::unique_ptr<WindowHook> g_hook;   // set while the procedure is installed

// Mouse keys as the wheel message carries them.
long mouseKeys(const QWheelEvent& e) {
    long keys = 0;
    if (e.buttons() & Qt::LeftButton) keys |= 0x1;
    if (e.buttons() & Qt::RightButton) keys |= 0x2;
    if (e.modifiers() & Qt::ShiftModifier) keys |= 0x4;
    if (e.modifiers() & Qt::ControlModifier) keys |= 0x8;
    if (e.buttons() & Qt::MiddleButton) keys |= 0x10;
    if (e.buttons() & Qt::BackButton) keys |= 0x20;
    if (e.buttons() & Qt::ForwardButton) keys |= 0x40;
    return keys;
}

// The wheel message packs the keys and the turn (120 per notch, away from the user
// positive) into wParam and the screen position into lParam; the values are unpacked
// from there as they always were.
bool wheel(QWheelEvent& e) {
    const int delta = e.angleDelta().y();
    if (delta == 0) return false;  // a sideways turn is another message
    const long keys = mouseKeys(e);
    const QPoint at = e.globalPosition().toPoint();
    const auto wParam = static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16) |
                                             static_cast<uint32_t>(keys & 0xFFFF));
    const auto lParam = static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(at.y())) << 16) |
                                             static_cast<uint32_t>(at.x() & 0xFFFF));
    const long rotation = vb::CLng(wParam / 65536.0);
    const long x = lParam & 0xFFFF;
    const long y = vb::CLng(lParam / 65536.0);
    TLMainLink::trayAndWheel().MouseWheel(wParam & 0xFFFF, rotation, x, y);
    e.accept();
    return true;
}

void trayMouse(long mouseMessage) {
    switch (mouseMessage) {
        case platform::kTrayLeftButtonUp:
            if (TLMainState::MainWindowState != 1) {
                TLMainLink::window().setWindowState(1);
            } else {
                TLMainLink::window().setWindowState(TLMainState::LastWindowState);
                TLMainLink::window().setVisible(true);
            }
            break;
        case platform::kTrayRightButtonUp:
            TLMainLink::trayAndWheel().AddLinkMenu();
            break;
        default:
            Set_Tray_Tip();
            break;
    }
}

void powerBroadcast(long event) {
    if (event == PBT_APMSUSPEND) {
        modTLMain::Write_Op_Log("Windows Entering Standby/Hibernate Mode");
    } else if (event == PBT_APMRESUMESUSPEND) {
        modTLMain::Write_Op_Log("Windows Resumed From Standby/Hibernate Mode");
        ResumeTime = platform::clock().now();
        CursorPos = QCursor::pos();
        ResumeCursorPos = CursorPos;
    }
}

void endSession(long wParam, long lParam) {
    if (wParam == 0) return;
    modTLMain::Run_Program_End_Saves();
    if (lParam == 0)
        modTLMain::Write_Op_Log("Windows is Shutting Down.....");
    else if (lParam == ENDSESSION_LOGOFF)
        modTLMain::Write_Op_Log("User Logged Off.....");
}

}  // namespace

void Set_Tray_Tip() {
    TrayTip = modClock::WakeupArmed ? "Tolvane Rerode - " + TLMainLink::trayAndWheel().wakeUpTipText() : "  Tolvane Rerode  ";
    modSysTray::Modify_Tray_Tip(TrayTip, "", 0, modSysTray::NIF_TIP);
}

QEvent::Type WindowMessage::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void Post_Message(QWidget* hWnd, long msg, long wParam, long lParam) {
    if (hWnd) QCoreApplication::postEvent(hWnd, new WindowMessage(msg, wParam, lParam));
}

void Send_Message(QWidget* hWnd, long msg, long wParam, long lParam) {
    if (!hWnd) return;
    WindowMessage m(msg, wParam, lParam);
    QCoreApplication::sendEvent(hWnd, &m);
}

void SubClass_Window(QWidget* hWnd) {
    if (!hWnd) return;
    if (g_hook) {
        if (g_window == hWnd) return;  // already in place: a second hook would run every message twice
        UnSubClass_Window(g_window);
    }
    g_hook = std::make_unique<WindowHook>();
    g_window = hWnd;
    hWnd->installEventFilter(g_hook.get());
    systemNotices().start([window = QPointer<QWidget>(hWnd)](long msg, long wParam, long lParam) {
        Send_Message(window, msg, wParam, lParam);
    });
}

void UnSubClass_Window(QWidget*) {
    if (!g_hook) return;
    systemNotices().stop();
    if (g_window) g_window->removeEventFilter(g_hook.get());
    g_hook.reset();
    g_window = nullptr;
}

bool Window_SubClassed() { return g_hook != nullptr; }

bool WindowProc(QObject* hWnd, QEvent* e) {
    if (!g_window || hWnd != g_window) return false;
    if (e->type() == QEvent::Wheel) return wheel(static_cast<QWheelEvent&>(*e));
    if (e->type() != WindowMessage::eventType()) return false;
    const auto& m = static_cast<const WindowMessage&>(*e);
    switch (m.Msg) {
        case WM_TRAYCALLBACK: trayMouse(m.LParam); return true;
        case WM_POWERBROADCAST: powerBroadcast(m.WParam); return true;
        case WM_ENDSESSION: endSession(m.WParam, m.LParam); return false;
        default: return false;
    }
}

void Wheel_Scroll_Grid(WheelGrid& Grid, long MouseKeys, long Rotation, long X, long Y) {
    long row = Grid.TopRow();
    if (Rotation < 1) {
        row += 1;
        if (row > Grid.Rows() - 1) row = Grid.Rows() - 1;
    } else {
        row -= 1;
        if (row < 1) row = 1;
    }
    Grid.setTopRow(row);
}

void ResetForTests() {
    UnSubClass_Window(nullptr);
    TrayTip.clear();
    ResumeTime = QDateTime();
    CursorPos = ResumeCursorPos = QPoint();
}

}  // namespace modPwrCtrl
