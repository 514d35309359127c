// The system's own backends, once each: the timerfd alarm and the real-time clock's alarm file,
// the login manager through a mock on a private bus, and the connect-to map the time servers'
// sockets follow. Nothing here sets the clock or suspends the machine.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "platform/connect_to.h"
#include "platform/login_manager.h"
#include "platform/timers.h"
#include "platform/wake_alarm.h"

namespace {

TEST(WakeAlarmBackends, TheTimerfdExpiresOnlyOnceItsTimeHasCome) {
    // The program's clock is CLOCK_REALTIME_ALARM; the same timer on CLOCK_REALTIME needs no privilege.
    auto pastDue = platform::Make_Timerfd_Wake_Alarm(CLOCK_REALTIME);
    ASSERT_TRUE(pastDue->arm(QDateTime::currentMSecsSinceEpoch() - 1000));
    EXPECT_TRUE(pastDue->expired());
    EXPECT_TRUE(pastDue->expired()) << "it stays expired once seen";

    auto farAhead = platform::Make_Timerfd_Wake_Alarm(CLOCK_REALTIME);
    ASSERT_TRUE(farAhead->arm(QDateTime::currentMSecsSinceEpoch() + 3600 * 1000));
    EXPECT_FALSE(farAhead->expired());
    farAhead->cancel();
    EXPECT_FALSE(farAhead->expired());
    ASSERT_TRUE(farAhead->arm(QDateTime::currentMSecsSinceEpoch() - 1));
    EXPECT_TRUE(farAhead->expired()) << "arming again replaces the time";
}

TEST(WakeAlarmBackends, TheClockAlarmFileGetsSecondsSinceTheEpoch) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("wakealarm").toStdString();
    auto alarm = platform::Make_Rtc_Wake_Alarm(file);
    const qint64 when = QDateTime::currentMSecsSinceEpoch() + 3600 * 1000;
    ASSERT_TRUE(alarm->arm(when));
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().trimmed().toLongLong(), (when + 999) / 1000);
    EXPECT_FALSE(alarm->expired());
    alarm->cancel();
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().trimmed(), "0");

    EXPECT_FALSE(platform::Make_Rtc_Wake_Alarm(dir.filePath("no/such/wakealarm").toStdString())->arm(when));
}

// A private message bus with a mock login manager on it; ended with the test.
class MockLogind {
public:
    explicit MockLogind(const QString& parameters = "{}") {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!m_bus.waitForStarted(5000) || !m_bus.waitForReadyRead(5000)) return;
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_address);
        m_mock.setProcessEnvironment(env);
        m_mock.start("/usr/bin/python3", {"-m", "dbusmock", "--template", "logind", "-l", m_log.filePath("calls"),
                                          "-p", parameters});
        if (!m_mock.waitForStarted(5000)) return;
        // The mock is ready once it has claimed its name.
        for (int i = 0; i < 400 && !ready(); ++i) QThread::msleep(50);
    }
    ~MockLogind() {
        for (QProcess* p : {&m_mock, &m_bus}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(3000)) p->kill();
            p->waitForFinished(3000);
        }
    }
    bool ready() const {
        if (m_address.isEmpty()) return false;
        QProcess ping;
        ping.setStandardOutputFile(QProcess::nullDevice());
        ping.setStandardErrorFile(QProcess::nullDevice());
        ping.start("dbus-send", {"--bus=" + m_address, "--print-reply", "--dest=org.freedesktop.login1",
                                 "/org/freedesktop/login1", "org.freedesktop.DBus.Peer.Ping"});
        return ping.waitForFinished(5000) && ping.exitStatus() == QProcess::NormalExit && ping.exitCode() == 0;
    }
    QString address() const { return m_address; }
    QString calls() const {
        QFile f(m_log.filePath("calls"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    QTemporaryDir m_log;
    QProcess m_bus;
    QProcess m_mock;
    QString m_address;
};

bool mockAvailable() {
    return !QStandardPaths::findExecutable("dbus-daemon").isEmpty() && !QStandardPaths::findExecutable("dbus-send").isEmpty() &&
           QProcess::execute("/usr/bin/python3", {"-c", "import dbusmock"}) == 0;
}

struct Outcome {
    bool ended = false;
    long code = -1;
    std::string description;
};

Outcome sleepThrough(platform::LoginManager& m, bool standby) {
    auto out = std::make_shared<Outcome>();
    m.sleep(standby, [out](long code, const std::string& d) {
        out->ended = true;
        out->code = code;
        out->description = d;
    });
    platform::timers().waitUntil([out] { return out->ended; }, 10000);
    return *out;
}

TEST(LoginManagerBackend, AsksWhetherItMayAndThenSleeps) {
    if (!mockAvailable()) GTEST_SKIP() << "needs dbus-daemon and python3-dbusmock";
    MockLogind logind(R"({"CanHibernate": "no"})");
    ASSERT_TRUE(logind.ready());
    auto manager = platform::Make_Login_Manager(logind.address());

    const Outcome suspend = sleepThrough(*manager, true);
    ASSERT_TRUE(suspend.ended);
    EXPECT_EQ(suspend.code, 0) << suspend.description;
    EXPECT_TRUE(logind.calls().contains("Suspend False")) << logind.calls().toStdString();

    const Outcome hibernate = sleepThrough(*manager, false);
    ASSERT_TRUE(hibernate.ended);
    EXPECT_EQ(hibernate.code, platform::kSleepNotAllowed);
    EXPECT_EQ(hibernate.description, "CanHibernate: no");
    EXPECT_FALSE(logind.calls().contains("Hibernate False"));
}

TEST(LoginManagerBackend, NoLoginManagerOnTheBusIsAnError) {
    if (!mockAvailable()) GTEST_SKIP() << "needs dbus-daemon and python3-dbusmock";
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(bus.waitForStarted(5000) && bus.waitForReadyRead(5000));
    auto manager = platform::Make_Login_Manager(QString::fromUtf8(bus.readLine()).trimmed());
    const Outcome o = sleepThrough(*manager, true);
    EXPECT_TRUE(o.ended);
    EXPECT_EQ(o.code, platform::kNoLoginManager);
    bus.terminate();
    bus.waitForFinished(3000);
}

TEST(ConnectToMap, SendsAHostAndPortWhereTheFirstMatchingEntrySays) {
    const std::string map = "time.nist.gov:13:127.0.0.1:5013;:13:127.0.0.1:6013;:80:127.0.0.1:8080;[::1]:13::7013";
    struct Case {
        const char* host;
        int port;
        const char* toHost;
        int toPort;
    };
    const Case cases[] = {
        {"time.nist.gov", 13, "127.0.0.1", 5013},
        {"TIME.NIST.GOV", 13, "127.0.0.1", 5013},
        {"utcnist.colorado.edu", 13, "127.0.0.1", 6013},
        {"cgi3.ebay.com", 80, "127.0.0.1", 8080},
        {"cgi3.ebay.com", 443, "cgi3.ebay.com", 443},
    };
    for (const auto& c : cases) {
        const auto [h, p] = platform::Connect_To_Target(map, c.host, c.port);
        EXPECT_EQ(h, c.toHost) << c.host << ":" << c.port;
        EXPECT_EQ(p, c.toPort) << c.host << ":" << c.port;
    }
    EXPECT_EQ(platform::Connect_To_Target("", "a", 13), (std::pair<std::string, int>{"a", 13}));
    EXPECT_EQ(platform::Connect_To_Fields("[::1]:13::7013"), (std::vector<std::string>{"[::1]", "13", "", "7013"}));
}

}  // namespace
