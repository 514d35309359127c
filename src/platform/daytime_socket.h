// daytime_socket.h — a plain TCP read of the kind a daytime server answers: connect, take the
// line the server sends, close.
//
// Start_Daytime_Read connects to host:port (after the connect-to map, see connect_to.h) and returns
// at once. The continuation runs once, from the event loop, when a whole line came, the server
// closed the connection, the connection failed, the time ran out (on the program's timers, so a
// fake clock drives it) or the read was cancelled. The socket is closed before the continuation runs.
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>

namespace platform {

struct DaytimeResult {
    bool error = false;      // refused, unreachable, unknown host, reset
    bool timedOut = false;   // nothing whole within the time
    std::string data;        // what the server sent
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
