#include "fake_picture_server.h"

#include <httplib.h>

#include <chrono>
#include <thread>

namespace testsupport {

struct FakePictureServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex lock;
    std::map<std::string, std::string> files;
    std::map<std::string, int> counts;
};

FakePictureServer::FakePictureServer() : d(std::make_unique<Impl>()) {
    d->server.Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> g(d->lock);
        ++d->counts[req.path];
        const auto it = d->files.find(req.path);
        if (it == d->files.end()) {
            res.status = 404;
            return;
        }
        res.set_content(it->second, "image/jpeg");
    });
    d->port = d->server.bind_to_any_port("127.0.0.1");
    d->thread = std::thread([this] { d->server.listen_after_bind(); });
    while (!d->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));  // stop() needs a running loop
}

FakePictureServer::~FakePictureServer() {
    d->server.stop();
    if (d->thread.joinable()) d->thread.join();
}

std::string FakePictureServer::base() const { return "http://127.0.0.1:" + std::to_string(d->port); }

void FakePictureServer::serve(const std::string& path, const std::string& bytes) {
    std::lock_guard<std::mutex> g(d->lock);
    d->files[path] = bytes;
}

int FakePictureServer::requests(const std::string& path) const {
    std::lock_guard<std::mutex> g(d->lock);
    const auto it = d->counts.find(path);
    return it == d->counts.end() ? 0 : it->second;
}

}  // namespace testsupport
