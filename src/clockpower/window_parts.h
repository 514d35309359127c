// window_parts.h — what the clock keeper and the power control reach of the main window: its
// input (a sync from the time servers holds the user off), its heartbeat (stopped meanwhile),
// the wake-up icon with its tooltip, the sleep timer, and the mouse position.
//
// The main window's own parts serve while it is loaded; nothing is changed and the mouse reads
// (0, 0) while it is not. Tests put a recording stand-in in.
#pragma once

#include <QPoint>
#include <string>

namespace ClockPower {

class WindowParts {
public:
    virtual ~WindowParts() = default;
    virtual bool inputEnabled() const;
    virtual void setInputEnabled(bool on);
    virtual bool heartbeatRunning() const;
    virtual void setHeartbeat(bool on);
    // Shows the wake-up icon with its tooltip, or hides it, and lays the window out again.
    virtual void showWakeupIcon(bool shown, const std::string& tip);
    // Enables the window's one-shot SleepTimer (standby or hibernation 2 seconds later).
    virtual void startSleepTimer();
    // The mouse position on the screen, in pixels.
    virtual QPoint cursorPos() const;
};

WindowParts& windowParts();
void setWindowPartsForTests(WindowParts* parts);  // nullptr: the main window's

}  // namespace ClockPower
