#include "fake_update_server.h"

#include <httplib.h>

#include <chrono>
#include <thread>

namespace testsupport {

struct FakeUpdateServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex lock;
    std::map<std::string, std::string> answers;
    std::vector<Asked> asked;
};

FakeUpdateServer::FakeUpdateServer() : d(std::make_unique<Impl>()) {
    d->server.Get("/tl2update", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string query = req.get_param_value("q");
        std::lock_guard<std::mutex> g(d->lock);
        d->asked.push_back({query, req.get_header_value("User-Agent")});
        const std::string* best = nullptr;
        size_t bestLength = 0;
        for (const auto& [prefix, body] : d->answers)
            if (query.rfind(prefix, 0) == 0 && (!best || prefix.size() >= bestLength)) {
                best = &body;
                bestLength = prefix.size();
            }
        if (!best) {
            res.status = 404;
            return;
        }
        res.set_content(*best, "text/plain");
    });
    d->port = d->server.bind_to_any_port("127.0.0.1");
    d->thread = std::thread([this] { d->server.listen_after_bind(); });
    while (!d->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));  // stop() needs a running loop
}

FakeUpdateServer::~FakeUpdateServer() {
    d->server.stop();
    if (d->thread.joinable()) d->thread.join();
}

std::string FakeUpdateServer::address() const { return "http://127.0.0.1:" + std::to_string(d->port) + "/tl2update"; }

void FakeUpdateServer::answer(const std::string& prefix, const std::string& body) {
    std::lock_guard<std::mutex> g(d->lock);
    d->answers[prefix] = body;
}

std::vector<FakeUpdateServer::Asked> FakeUpdateServer::asked() const {
    std::lock_guard<std::mutex> g(d->lock);
    return d->asked;
}

}  // namespace testsupport
