#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QLocalServer>
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
    m_onShow = std::move(onShow);
    m_server = new QLocalServer();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(QString::fromStdString(m_name))) {
        // A name left behind by a process that crashed: nobody answers on it.
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
