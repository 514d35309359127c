#include "foundation/system_notices.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QObject>
#include <QSessionManager>

#include "foundation/window_subclass.h"

namespace modPwrCtrl {
namespace {

constexpr const char* kLogin = "org.freedesktop.login1";
constexpr const char* kLoginPath = "/org/freedesktop/login1";
constexpr const char* kLoginManager = "org.freedesktop.login1.Manager";

class LoginManagerNotices final : public QObject, public SystemNotices {
    Q_OBJECT
public:
    void start(Deliver to) override {
        m_deliver = std::move(to);
        if (m_listening) return;
        m_listening = true;
        QDBusConnection bus = QDBusConnection::systemBus();
        if (bus.isConnected()) {
            bus.connect(kLogin, kLoginPath, kLoginManager, "PrepareForSleep", this, SLOT(prepareForSleep(bool)));
            bus.connect(kLogin, kLoginPath, kLoginManager, "PrepareForShutdown", this, SLOT(prepareForShutdown(bool)));
        }
        if (qGuiApp)
            connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
                // The session manager asks before a log-off and before a shut-down alike; the
                // login manager's notice, when it came first, has already told which.
                if (!m_shuttingDown) deliver(WM_ENDSESSION, 1, ENDSESSION_LOGOFF);
            });
    }
    void stop() override {
        m_deliver = {};
        if (!m_listening) return;
        m_listening = false;
        QDBusConnection bus = QDBusConnection::systemBus();
        if (bus.isConnected()) {
            bus.disconnect(kLogin, kLoginPath, kLoginManager, "PrepareForSleep", this, SLOT(prepareForSleep(bool)));
            bus.disconnect(kLogin, kLoginPath, kLoginManager, "PrepareForShutdown", this,
                           SLOT(prepareForShutdown(bool)));
        }
        if (qGuiApp) disconnect(qGuiApp, &QGuiApplication::commitDataRequest, this, nullptr);
    }

private slots:
    void prepareForSleep(bool entering) { deliver(WM_POWERBROADCAST, entering ? PBT_APMSUSPEND : PBT_APMRESUMESUSPEND, 0); }
    void prepareForShutdown(bool starting) {
        if (!starting || m_shuttingDown) return;
        m_shuttingDown = true;
        deliver(WM_ENDSESSION, 1, 0);
    }

private:
    void deliver(long msg, long wParam, long lParam) {
        if (m_deliver) m_deliver(msg, wParam, lParam);
    }
    Deliver m_deliver;
    bool m_listening = false;
    bool m_shuttingDown = false;
};

SystemNotices* g_override = nullptr;

}  // namespace

SystemNotices& systemNotices() {
    static auto* real = new LoginManagerNotices;  // lives to the end of the process, past the application object
    return g_override ? *g_override : *real;
}

void setSystemNoticesForTests(SystemNotices* s) { g_override = s; }

}  // namespace modPwrCtrl

#include "system_notices.moc"
