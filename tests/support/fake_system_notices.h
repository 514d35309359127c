// fake_system_notices.h — standby, resume and session-end notices that a test gives by hand;
// installed for the life of the object.
#pragma once

#include "foundation/system_notices.h"
#include "foundation/window_subclass.h"

namespace testsupport {

class FakeSystemNotices final : public modPwrCtrl::SystemNotices {
public:
    FakeSystemNotices() { modPwrCtrl::setSystemNoticesForTests(this); }
    ~FakeSystemNotices() override { modPwrCtrl::setSystemNoticesForTests(nullptr); }

    void start(Deliver deliver) override { m_deliver = std::move(deliver); }
    void stop() override { m_deliver = {}; }
    bool listening() const { return static_cast<bool>(m_deliver); }

    void standby() { send(modPwrCtrl::WM_POWERBROADCAST, modPwrCtrl::PBT_APMSUSPEND, 0); }
    void resume() { send(modPwrCtrl::WM_POWERBROADCAST, modPwrCtrl::PBT_APMRESUMESUSPEND, 0); }
    void shutDown() { send(modPwrCtrl::WM_ENDSESSION, 1, 0); }
    void logOff() { send(modPwrCtrl::WM_ENDSESSION, 1, modPwrCtrl::ENDSESSION_LOGOFF); }
    void send(long msg, long wParam, long lParam) {
        if (m_deliver) m_deliver(msg, wParam, lParam);
    }

private:
    Deliver m_deliver;
};

}  // namespace testsupport
