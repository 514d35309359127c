#include "platform/wake_alarm.h"

#include <QDateTime>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {
namespace {

// A timerfd: armed with an absolute time; expired once a read finds its count.
class TimerfdWakeAlarm final : public WakeAlarm {
public:
    explicit TimerfdWakeAlarm(clockid_t clock) : m_fd(::timerfd_create(clock, TFD_NONBLOCK | TFD_CLOEXEC)) {}
    ~TimerfdWakeAlarm() override {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool usable() const { return m_fd >= 0; }
    bool arm(qint64 utcMs) override {
        if (m_fd < 0 || utcMs <= 0) return false;
        itimerspec when{};
        when.it_value.tv_sec = static_cast<time_t>(utcMs / 1000);
        when.it_value.tv_nsec = static_cast<long>(utcMs % 1000) * 1000000L;
        m_expired = false;
        if (::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &when, nullptr) == 0) return true;
        m_why = std::string("the wake-up alarm could not be set (") + std::strerror(errno) + ")";
        return false;
    }
    std::string whyNotArmed() const override { return m_why; }
    void cancel() override {
        if (m_fd < 0) return;
        itimerspec none{};
        ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &none, nullptr);
        m_expired = false;
    }
    bool expired() override {
        if (m_fd < 0) return false;
        std::uint64_t count = 0;
        if (::read(m_fd, &count, sizeof count) == static_cast<ssize_t>(sizeof count) && count > 0) m_expired = true;
        return m_expired;
    }

private:
    int m_fd = -1;
    bool m_expired = false;
    std::string m_why;
};

// The real-time clock's alarm file: a time in seconds since the epoch is written to it ("0"
// first, as the clock takes no new alarm over a pending one); it reads empty once the alarm went off.
class RtcWakeAlarm final : public WakeAlarm {
public:
    explicit RtcWakeAlarm(std::string file) : m_file(std::move(file)) {}
    bool arm(qint64 utcMs) override {
        if (utcMs <= 0) return false;
        if (!write("0") || !write(std::to_string((utcMs + 999) / 1000))) {
            m_why = m_file + " could not be written";
            return false;
        }
        m_armedMs = utcMs;
        return true;
    }
    std::string whyNotArmed() const override { return m_why; }
    void cancel() override {
        write("0");
        m_armedMs = 0;
    }
    bool expired() override {
        if (m_armedMs == 0) return false;
        std::ifstream in(m_file);
        std::string text;
        std::getline(in, text);
        return text.empty() || QDateTime::currentMSecsSinceEpoch() >= m_armedMs;
    }

private:
    bool write(const std::string& text) {
        std::ofstream out(m_file);
        if (!out) return false;
        out << text << "\n";
        out.flush();
        return static_cast<bool>(out);
    }
    std::string m_file;
    qint64 m_armedMs = 0;
    std::string m_why;
};

// Nothing can be armed here, for the reason given.
class NoWakeAlarm final : public WakeAlarm {
public:
    explicit NoWakeAlarm(std::string why) : m_why(std::move(why)) {}
    bool arm(qint64) override { return false; }
    void cancel() override {}
    bool expired() override { return false; }
    std::string whyNotArmed() const override { return m_why; }

private:
    std::string m_why;
};

bool fileExists(const char* path) { return ::access(path, F_OK) == 0; }

std::unique_ptr<WakeAlarm> systemAlarm() {
    if (!fileExists(kRtcWakeAlarmFile))
        return std::make_unique<NoWakeAlarm>("this computer has no real-time clock alarm");
    auto fd = std::make_unique<TimerfdWakeAlarm>(CLOCK_REALTIME_ALARM);
    if (fd->usable()) return fd;
    if (::access(kRtcWakeAlarmFile, W_OK) == 0) return Make_Rtc_Wake_Alarm(kRtcWakeAlarmFile);
    return std::make_unique<NoWakeAlarm>(std::string("the program may not set the wake-up alarm (it needs CAP_WAKE_ALARM or "
                                                     "write access to ") +
                                         kRtcWakeAlarmFile + ")");
}

WakeAlarm* g_override = nullptr;

}  // namespace

std::unique_ptr<WakeAlarm> Make_Timerfd_Wake_Alarm(clockid_t clock) { return std::make_unique<TimerfdWakeAlarm>(clock); }
std::unique_ptr<WakeAlarm> Make_Rtc_Wake_Alarm(const std::string& wakealarmFile) {
    return std::make_unique<RtcWakeAlarm>(wakealarmFile);
}

WakeAlarm& wakeAlarm() {
    if (g_override) return *g_override;
    static const std::unique_ptr<WakeAlarm> real = systemAlarm();
    return *real;
}

void setWakeAlarmForTests(WakeAlarm* a) { g_override = a; }

}  // namespace platform
