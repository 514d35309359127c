// system_notices.h — what the system tells the main window: standby, resume and the end of
// the desktop session.
//
// Standby and resume come from the login manager's PrepareForSleep signal (on the system
// bus, where there is one), the end of the session from the session manager's request to
// save (a log-off) and the login manager's PrepareForShutdown (a shut-down). Each notice is
// reported as the window message the main window handles (see window_subclass.h).
#pragma once

#include <functional>

namespace modPwrCtrl {

class SystemNotices {
public:
    using Deliver = std::function<void(long msg, long wParam, long lParam)>;
    virtual ~SystemNotices() = default;
    // From now on each notice goes to `deliver`.
    virtual void start(Deliver deliver) = 0;
    virtual void stop() = 0;
};

SystemNotices& systemNotices();
void setSystemNoticesForTests(SystemNotices* s);  // nullptr puts the system's back

}  // namespace modPwrCtrl
