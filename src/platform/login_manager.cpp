#include "platform/login_manager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QCoreApplication>
#include <atomic>

namespace platform {
namespace {

constexpr const char* kLogin = "org.freedesktop.login1";
constexpr const char* kLoginPath = "/org/freedesktop/login1";
constexpr const char* kLoginManager = "org.freedesktop.login1.Manager";

// Runs `done` from the event loop.
void later(LoginManager::Done done, long code, std::string description) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [done = std::move(done), code, description] { if (done) done(code, description); },
        Qt::QueuedConnection);
}

// `then` with the reply of an asynchronous call, when it comes.
void whenAnswered(const QDBusPendingCall& call, std::function<void(const QDBusMessage&)> then) {
    auto* watcher = new QDBusPendingCallWatcher(call);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [then = std::move(then)](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        then(w->reply());
    });
}

std::string errorText(const QDBusMessage& m) { return (m.errorName() + ": " + m.errorMessage()).toStdString(); }

class Logind final : public LoginManager {
public:
    explicit Logind(QString address) : m_address(std::move(address)) {}

    void sleep(bool standby, Done done) override {
        QDBusConnection bus = connection();
        if (!bus.isConnected()) return later(std::move(done), kNoLoginManager, "No system bus");
        const QString can = standby ? "CanSuspend" : "CanHibernate";
        const QString act = standby ? "Suspend" : "Hibernate";
        whenAnswered(bus.asyncCall(QDBusMessage::createMethodCall(kLogin, kLoginPath, kLoginManager, can)),
                     [bus, can, act, done = std::move(done)](const QDBusMessage& reply) mutable {
                         if (reply.type() == QDBusMessage::ErrorMessage)
                             return done(kNoLoginManager, errorText(reply));
                         const QString answer = reply.arguments().value(0).toString();
                         if (answer != "yes")
                             return done(kSleepNotAllowed, (can + ": " + answer).toStdString());
                         QDBusMessage call = QDBusMessage::createMethodCall(kLogin, kLoginPath, kLoginManager, act);
                         call << false;  // not interactive
                         whenAnswered(bus.asyncCall(call), [done = std::move(done)](const QDBusMessage& r) {
                             if (r.type() == QDBusMessage::ErrorMessage) done(kSleepCallFailed, errorText(r));
                             else done(0, {});
                         });
                     });
    }

private:
    QDBusConnection connection() {
        if (m_address.isEmpty()) return QDBusConnection::systemBus();
        static std::atomic<int> serial{0};
        if (m_name.isEmpty()) m_name = QString("tolvane-logind-%1").arg(++serial);
        return QDBusConnection::connectToBus(m_address, m_name);
    }
    QString m_address;
    QString m_name;
};

LoginManager* g_override = nullptr;

}  // namespace

std::unique_ptr<LoginManager> Make_Login_Manager(const QString& busAddress) { return std::make_unique<Logind>(busAddress); }

LoginManager& loginManager() {
    if (g_override) return *g_override;
    static const std::unique_ptr<LoginManager> real = Make_Login_Manager({});
    return *real;
}

void setLoginManagerForTests(LoginManager* m) { g_override = m; }

}  // namespace platform
