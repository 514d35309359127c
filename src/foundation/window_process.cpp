#include "foundation/window_process.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "platform/process.h"
#include "platform/window_routines.h"

namespace modTLMain {

namespace {
std::function<QLabel*()>& splashProvider() {
    static std::function<QLabel*()> p;
    return p;
}
}  // namespace

int Click_Pixel(long twips) {
    return static_cast<int>(vb::CLng(static_cast<double>(twips) / vb::kTwipsPerPixel + 10));
}

void Click_At(long X, long Y) {
    // The cursor is never moved, so it is where it was afterwards.
    platform::clickAtPixel(QPoint(Click_Pixel(X), Click_Pixel(Y)));
}

void Set_Taskbar_Button(int16_t show, QWidget* mainWindow) {
    platform::setTaskbarButton(mainWindow, show == -1);
}

void Set_Taskbar_Button(int16_t show) {
    Set_Taskbar_Button(show, TLMainLink::window().widget());
}

bool Load_Splash_Picture(QLabel* logo) {
    if (!logo) return false;
    QPixmap picture;
    if (!picture.load(QString::fromStdString(DataFolder + kSplashPictureFile))) return false;
    logo->setPixmap(picture);
    return true;
}

void Load_Splash_Picture() {
    if (splashProvider()) Load_Splash_Picture(splashProvider()());
}

void SetSplashLogoProvider(std::function<QLabel*()> provider) { splashProvider() = std::move(provider); }

void Exit_Program() {
    TLMainState::ForceExit = true;
    Unload_Other_Forms("");
    platform::exitProcess(0);
}

}  // namespace modTLMain
