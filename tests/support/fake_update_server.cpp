#include "fake_update_server.h"

#include "fake_local_http.h"

namespace testsupport {

struct FakeUpdateServer::Impl {
    mutable std::mutex lock;
    std::map<std::string, std::string> answers;
    std::vector<Asked> asked;
    LocalHttpServer http;  // last: stopped before the tables go
};

FakeUpdateServer::FakeUpdateServer() : d(std::make_unique<Impl>()) {
    d->http.server.Get("/tl2update", [this](const httplib::Request& req, httplib::Response& res) {
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
    d->http.start();
}

FakeUpdateServer::~FakeUpdateServer() = default;

std::string FakeUpdateServer::address() const { return d->http.base() + "/tl2update"; }

void FakeUpdateServer::answer(const std::string& prefix, const std::string& body) {
    std::lock_guard<std::mutex> g(d->lock);
    d->answers[prefix] = body;
}

std::vector<FakeUpdateServer::Asked> FakeUpdateServer::asked() const {
    std::lock_guard<std::mutex> g(d->lock);
    return d->asked;
}

}  // namespace testsupport
