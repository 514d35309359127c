#include "clockpower/window_parts.h"

#include <QCursor>
#include <QLabel>

#include "mainwindow/tl_main.h"

namespace ClockPower {
namespace {

WindowParts* g_override = nullptr;

TLMain* mainWindow() { return TLMain::loaded() ? &TLMain::instance() : nullptr; }

}  // namespace

bool WindowParts::inputEnabled() const {
    TLMain* w = mainWindow();
    return w && w->isEnabled();
}

void WindowParts::setInputEnabled(bool on) {
    if (TLMain* w = mainWindow()) w->setEnabled(on);
}

bool WindowParts::heartbeatRunning() const {
    TLMain* w = mainWindow();
    return w && w->DisplayTime.enabled();
}

void WindowParts::setHeartbeat(bool on) {
    if (TLMain* w = mainWindow()) w->DisplayTime.setEnabled(on);
}

void WindowParts::showWakeupIcon(bool shown, const std::string& tip) {
    TLMain* w = mainWindow();
    if (!w || !w->TimerIcon) return;
    w->TimerIcon->setToolTip(QString::fromStdString(tip));
    w->TimerIcon->setVisible(shown);
    w->ResizeWindow();
}

void WindowParts::startSleepTimer() {
    if (TLMain* w = mainWindow()) w->SleepTimer.setEnabled(true);
}

QPoint WindowParts::cursorPos() const { return mainWindow() ? QCursor::pos() : QPoint(); }

WindowParts& windowParts() {
    static WindowParts real;
    return g_override ? *g_override : real;
}

void setWindowPartsForTests(WindowParts* parts) { g_override = parts; }

}  // namespace ClockPower
