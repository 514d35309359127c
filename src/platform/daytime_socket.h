// daytime_socket.h — a plain TCP read of the kind a daytime server answers: connect, take the
// line the server sends, close.
//
// Start_Daytime_Read connects to host:port (after the connect-to map, see connect_to.h) and returns
// at once. The continuation runs once, from the event loop, when a whole line came, the server
// closed the connection, the connection failed, the time ran out (on the program's timers, so a
// fake clock drives it) or the read was cancelled. The socket is closed before the continuation runs.
// A daytime line is under 60 bytes: a server that sends more than kDaytimeReplyCap bytes is cut off
// there, and what it sent is no answer.
#pragma once

#include <QDateTime>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>

namespace platform {

inline constexpr size_t kDaytimeReplyCap = 256;

struct DaytimeResult {
    bool error = false;      // refused, unreachable, unknown host, reset
    bool timedOut = false;   // nothing whole within the time
    bool tooLong = false;    // more than kDaytimeReplyCap bytes came (data is then empty)
    std::string data;        // what the server sent
    QDateTime arrived;       // the PC clock when the answer was whole (platform::clock())
};

class DaytimeRead {
public:
    DaytimeRead() = default;
    // Ends the read now if it still runs; its continuation then runs with error set.
    void cancel();
    struct State;
    explicit DaytimeRead(std::weak_ptr<State> s) : m_state(std::move(s)) {}

private:
    std::weak_ptr<State> m_state;
};

DaytimeRead Start_Daytime_Read(const std::string& host, int port, const std::string& connectToMap, qint64 timeoutMs,
                               std::function<void(DaytimeResult)> done);

}  // namespace platform
