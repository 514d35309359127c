#include "fake_picture_server.h"

#include "fake_local_http.h"

namespace testsupport {

struct FakePictureServer::Impl {
    mutable std::mutex lock;
    std::map<std::string, std::string> files;
    std::map<std::string, int> counts;
    LocalHttpServer http;  // last: stopped before the tables go
};

FakePictureServer::FakePictureServer() : d(std::make_unique<Impl>()) {
    d->http.server.Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> g(d->lock);
        ++d->counts[req.path];
        const auto it = d->files.find(req.path);
        if (it == d->files.end()) {
            res.status = 404;
            return;
        }
        res.set_content(it->second, "image/jpeg");
    });
    d->http.start();
}

FakePictureServer::~FakePictureServer() = default;

std::string FakePictureServer::base() const { return d->http.base(); }

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
