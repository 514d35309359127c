#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/clock.h"
#include "platform/timers.h"

namespace platform {
namespace {

// A folder of this user's that nobody else can write into (so nobody can put a file of that
// name there first, nor hold the lock).
bool usersOwnFolder(const std::string& dir) {
    struct stat st {};
    if (dir.empty() || dir.front() != '/' || ::stat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & S_IWUSR) &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& dataFolder) {
    // The runtime folder is shared by all of the user's programs: the names there carry the
    // data folder, so each data folder has its own. In the data folder itself plain names do.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(dataFolder), QCryptographicHash::Sha1).toHex().left(16);
    struct Place { std::string folder, base; };
    std::vector<Place> places;  // in the order of preference
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && usersOwnFolder(runtime))
        places.push_back({withSlash(runtime), "TolvaneRerodeII-" + hash.toStdString()});
    places.push_back({withSlash(dataFolder), "TolvaneRerodeII"});
    // The first place whose socket path fits the socket address; when none does, the first
    // place without a socket.
    m_lockPath = places.front().folder + places.front().base + ".lock";
    for (const Place& p : places) {
        const std::string socket = p.folder + p.base + ".sock";
        if (socket.size() > kMaxSocketPath) continue;
        m_lockPath = p.folder + p.base + ".lock";
        m_socketPath = socket;
        break;
    }
}

SingleInstance::~SingleInstance() { release(); }

bool SingleInstance::takeLock() {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(m_lockPath));
    // Never stale by age: a lock is stale only when the process that holds it is gone.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    m_lock = std::move(lock);
    return true;
}

bool SingleInstance::sendShow() const {
    if (m_socketPath.empty()) return false;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(m_socketPath));
    if (!socket.waitForConnected(1000)) return false;
    socket.write("show\n");
    socket.flush();
    const bool sent = socket.waitForBytesWritten(1000) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::listen() {
    if (m_socketPath.empty()) return;
    const QString name = QString::fromStdString(m_socketPath);
    // Holding the lock, a socket file of that name can only be one a crashed run left.
    QLocalServer::removeServer(name);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        m_server.reset();
        return;
    }
    QLocalServer* server = m_server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket* s = server->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::readyRead, s, [this, s] {
                const QByteArray msg = s->readAll();
                if (msg.startsWith("show") && m_onShow) m_onShow();
            });
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

SingleInstance::Outcome SingleInstance::start(std::function<void()> onShow, qint64 handOverMs) {
    const qint64 until = clock().tickMs() + handOverMs;
    for (;;) {
        if (takeLock()) {
            m_onShow = std::move(onShow);
            listen();
            return Outcome::First;
        }
        // The holder may still be starting (not yet listening), or may just be ending.
        if (sendShow()) return Outcome::HandedOver;
        if (clock().tickMs() >= until) return Outcome::Held;
        timers().waitMs(kRetryMs);
    }
}

void SingleInstance::release() {
    if (m_server) {
        m_server->close();  // removes the socket file
        m_server.reset();
    }
    if (m_lock) {
        m_lock->unlock();  // removes the lock file
        m_lock.reset();
    }
    m_onShow = nullptr;
}

}  // namespace platform
