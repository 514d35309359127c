#include "fake_update_server.h"

#include <zlib.h>

#include <cstdio>

#include "fake_local_http.h"
#include "fake_service.h"
#include "foundation/cipher.h"
#include "service/wininet.h"

namespace testsupport {

struct FakeUpdateServer::Impl {
    mutable std::mutex lock;
    std::map<std::string, std::string> answers;
    std::vector<Asked> asked;
    std::string clientCaBefore = modWinInet::Settings().caFile;
    // HTTPS with the fake service's host certificate (it names 127.0.0.1); last: stopped before
    // the tables go.
    LocalHttpServer http{std::string(TOLVANE_TEST_CERT_DIR) + "/host.pem", std::string(TOLVANE_TEST_CERT_DIR) + "/host.key"};
    ~Impl() { modWinInet::Settings().caFile = clientCaBefore; }
};

FakeUpdateServer::FakeUpdateServer() : d(std::make_unique<Impl>()) {
    modWinInet::Settings().caFile = FakeService::caFile();  // the client trusts the fake CA
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

std::vector<std::string> FakeUpdateServer::queries() const {
    std::vector<std::string> out;
    for (const Asked& a : asked()) out.push_back(a.query);
    return out;
}

std::string FakeUpdateServer::packageOf(const std::vector<UpdateFile>& files) {
    std::string package;
    for (const UpdateFile& f : files) package += f.bytes;
    return package;
}

std::string FakeUpdateServer::updateInfo(const std::vector<UpdateFile>& files) {
    const std::string package = packageOf(files);
    const uLong sum = adler32(0L, reinterpret_cast<const Bytef*>(package.data()), static_cast<uInt>(package.size()));
    char checksum[9];
    std::snprintf(checksum, sizeof checksum, "%08lX", sum & 0xFFFFFFFFUL);
    std::string info = std::string(checksum) + "\r\n" + std::to_string(package.size()) + "\r\n" +
                       std::to_string(files.size()) + "\r\n";
    for (const UpdateFile& f : files) info += std::to_string(f.bytes.size()) + "\r\n" + f.name + "\r\n";
    return info;
}

void FakeUpdateServer::publishUpdate(const std::string& version, const std::string& info, const std::string& package,
                                     const std::string& phrase) {
    answer("UI-" + version, modAHM::Crypt_String(info, phrase, true));
    answer("UG-" + version, gzipBytes(package));
    answer("UU-" + version, package);
}

}  // namespace testsupport
