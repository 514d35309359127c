#include "platform/daytime_socket.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTcpSocket>

#include "platform/clock.h"
#include "platform/connect_to.h"
#include "platform/timers.h"

#include <algorithm>

namespace platform {

// One read in flight: its socket, its time limit and its continuation. It keeps itself alive
// until it ends.
struct DaytimeRead::State : std::enable_shared_from_this<DaytimeRead::State> {
    QTcpSocket socket;
    Timer limit;
    std::string data;
    std::function<void(DaytimeResult)> done;
    std::shared_ptr<State> self;
    bool ended = false;

    // Takes what arrived, never more than one byte over the cap; true when the cap is passed.
    bool take() {
        const qint64 room = static_cast<qint64>(kDaytimeReplyCap + 1 - std::min(data.size(), kDaytimeReplyCap + 1));
        if (room > 0) data += socket.read(room).toStdString();
        return data.size() > kDaytimeReplyCap;
    }

    void end(bool error, bool timedOut, bool tooLong = false) {
        if (ended) return;
        ended = true;
        const QDateTime arrived = platform::clock().now();
        limit.setEnabled(false);
        QObject::disconnect(&socket, nullptr, nullptr, nullptr);
        socket.abort();
        if (tooLong) data.clear();
        DaytimeResult r{error, timedOut, tooLong, std::move(data), arrived};
        auto keep = std::move(self);
        auto d = std::move(done);
        // The continuation runs from the event loop, never inside the socket's own signal.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [keep, d, r] { if (d) d(r); }, Qt::QueuedConnection);
    }
};

void DaytimeRead::cancel() {
    if (auto s = m_state.lock()) s->end(true, false);
}

DaytimeRead Start_Daytime_Read(const std::string& host, int port, const std::string& connectToMap, qint64 timeoutMs,
                               std::function<void(DaytimeResult)> done) {
    auto s = std::make_shared<DaytimeRead::State>();
    s->self = s;
    s->done = std::move(done);
    DaytimeRead::State* st = s.get();
    // The socket buffers no more than the cap allows.
    st->socket.setReadBufferSize(static_cast<qint64>(kDaytimeReplyCap) + 1);
    QObject::connect(&st->socket, &QTcpSocket::readyRead, &st->socket, [st] {
        if (st->take()) return st->end(false, false, true);
        // A daytime answer is one line; it is whole once a line feed follows some text.
        const size_t lf = st->data.find('\n', st->data.find_first_not_of("\r\n"));
        if (st->data.find_first_not_of("\r\n") != std::string::npos && lf != std::string::npos) st->end(false, false);
    });
    QObject::connect(&st->socket, &QTcpSocket::disconnected, &st->socket, [st] {
        const bool tooLong = st->take();
        st->end(false, false, tooLong);
    });
    QObject::connect(&st->socket, &QTcpSocket::errorOccurred, &st->socket, [st](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError) {
            const bool tooLong = st->take();
            st->end(false, false, tooLong);
        } else {
            st->end(true, false);
        }
    });
    st->limit.setHandler([st] { st->end(false, true); });
    st->limit.setInterval(static_cast<int>(std::max<qint64>(1, timeoutMs)));
    st->limit.setEnabled(true);
    const auto [toHost, toPort] = Connect_To_Target(connectToMap, host, port);
    st->socket.connectToHost(QString::fromStdString(toHost), static_cast<quint16>(toPort));
    return DaytimeRead(s);
}

}  // namespace platform
