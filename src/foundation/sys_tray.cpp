#include "foundation/sys_tray.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include "foundation/clock_state.h"
#include "foundation/main_window_link.h"
#include "foundation/window_subclass.h"
#include "platform/tray.h"

namespace modSysTray {
namespace {

constexpr int kTipField = 128;
constexpr int kInfoField = 256;
constexpr int kInfoTitleField = 64;

// The text as the icon's fixed-width field holds it: up to its first NUL, at most the field's width.
std::string field(const std::string& text, int width) {
    QString t = QString::fromStdString(text.substr(0, text.find('\0')));
    return t.left(width).toStdString();
}

bool g_wanted = false;

}  // namespace

void Add_Tray_Icon() {
    g_wanted = true;
    QWidget* window = TLMainLink::window().widget();
    platform::trayIcon().add(window ? window->windowIcon() : QIcon(), "Tolvane Rerode",
                             [hWnd = QPointer<QWidget>(window)](int mouseMessage) {
                                 modPwrCtrl::Post_Message(hWnd, modPwrCtrl::WM_TRAYCALLBACK, kTrayIconID, mouseMessage);
                             });
    // An icon added while a wake-up is armed tells its time from the start.
    if (modClock::WakeupArmed) modPwrCtrl::Set_Tray_Tip();
}

void Delete_Tray_Icon() {
    g_wanted = false;
    platform::trayIcon().remove();
}

void Keep_Tray_Icon() {
    if (g_wanted && !platform::trayIcon().isShown() && platform::trayIcon().available()) Add_Tray_Icon();
}

void Modify_Tray_Tip(const std::string& Text, const std::string& InfoTitle, long InfoFlags, long Flags) {
    if (Flags == NIF_INFO)
        platform::trayIcon().showBalloon(field(InfoTitle, kInfoTitleField), field(Text, kInfoField),
                                         static_cast<int>(InfoFlags));
    else if (Flags & NIF_TIP)
        platform::trayIcon().setTip(field(Text, kTipField));
}

}  // namespace modSysTray
