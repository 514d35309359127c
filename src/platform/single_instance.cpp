#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLockFile>
#include <QLocalSocket>
#include <unistd.h>

namespace platform {

SingleInstance::SingleInstance(const std::string& dataFolder) {
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(dataFolder), QCryptographicHash::Sha1).toHex().left(16);
    m_name = "TolvaneRerodeII-" + std::to_string(::getuid()) + "-" + hash.toStdString();
}

SingleInstance::~SingleInstance() {
    if (m_server) {
        m_server->close();
        delete m_server;
    }
}

bool SingleInstance::answers() const {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(m_name));
    const bool up = socket.waitForConnected(1000);
    if (up) socket.disconnectFromServer();
    return up;
}

bool SingleInstance::anotherIsRunning() {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(m_name));
    if (!socket.waitForConnected(1000)) return false;
    socket.write("show\n");
    socket.flush();
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(std::function<void()> onShow) {
    // The socket name alone cannot decide between two starts at the same moment: a listen
    // replaces a socket file of the same name. A lock held for the life of the process
    // can (a crashed holder's lock is found stale and taken over).
    m_lock = std::make_unique<QLockFile>(QDir::tempPath() + "/" + QString::fromStdString(m_name) + ".lock");
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    m_onShow = std::move(onShow);
    m_server = new QLocalServer();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(QString::fromStdString(m_name))) {
        // Taken: by a process that started at the same moment (it answers, and keeps the
        // name), or left behind by one that crashed (nobody answers, so it is removed).
        if (answers()) return false;
        QLocalServer::removeServer(QString::fromStdString(m_name));
        if (!m_server->listen(QString::fromStdString(m_name))) return false;
    }
    QObject::connect(m_server, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::readyRead, [this, s] {
                const QByteArray msg = s->readAll();
                if (msg.startsWith("show") && m_onShow) m_onShow();
            });
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace platform
