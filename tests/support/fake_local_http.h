// fake_local_http.h — an httplib server on 127.0.0.1 (HTTP, or HTTPS with a certificate) that
// runs on its own thread from start() until the object goes (the test servers' common part).
#pragma once

#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace testsupport {

class LocalHttpServer {
public:
    // Plain HTTP.
    LocalHttpServer() : m_server(std::make_unique<httplib::Server>()), server(*m_server) {}
    // HTTPS with this certificate chain and key (PEM files).
    LocalHttpServer(const std::string& certFile, const std::string& keyFile)
        : m_server(std::make_unique<httplib::SSLServer>(certFile.c_str(), keyFile.c_str())),
          server(*m_server),
          m_scheme("https") {}
    ~LocalHttpServer() {
        server.stop();
        if (m_thread.joinable()) m_thread.join();
    }
    // Listens on a free port; returns once the loop runs (stop() needs a running loop).
    void start() {
        m_port = server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::string base() const { return m_scheme + "://127.0.0.1:" + std::to_string(m_port); }

private:
    std::unique_ptr<httplib::Server> m_server;

public:
    httplib::Server& server;

private:
    std::string m_scheme = "http";
    std::thread m_thread;
    int m_port = 0;
};

}  // namespace testsupport
