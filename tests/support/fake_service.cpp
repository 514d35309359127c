// fake_service.cpp — the fake auction service: cpp-httplib servers whose connections we serve
// ourselves, so that each request's head is kept exactly as it came (httplib's own header map
// sorts the names).
#include "fake_service.h"

#include <httplib.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "service/wininet.h"

#ifndef TOLVANE_TEST_CERT_DIR
#error "TOLVANE_TEST_CERT_DIR must name the folder of the test certificates"
#endif

namespace testsupport {
namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool equalText(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

std::string certPath(const char* name) { return std::string(TOLVANE_TEST_CERT_DIR) + "/" + name; }

// One connection's byte stream, plain or TLS, keeping every byte read.
class CaptureStream final : public httplib::Stream {
public:
    CaptureStream(int sock, SSL* ssl, const std::atomic<bool>& stopping)
        : m_sock(sock), m_ssl(ssl), m_stopping(stopping) {}

    // Waits up to ms for bytes to read, giving up early when the fake stops.
    bool waitReadable(int ms) const {
        if (m_ssl && SSL_pending(m_ssl) > 0) return true;
        for (int waited = 0; waited < ms && !m_stopping; waited += 50) {
            pollfd p{m_sock, POLLIN, 0};
            const int r = ::poll(&p, 1, std::min(50, ms - waited));
            if (r > 0) return true;
            if (r < 0) return false;
        }
        return false;
    }
    bool is_readable() const override { return waitReadable(5000); }
    bool is_writable() const override {
        pollfd p{m_sock, POLLOUT, 0};
        return !m_stopping && ::poll(&p, 1, 5000) > 0;
    }
    ssize_t read(char* ptr, size_t size) override {
        if (!is_readable()) return -1;
        ssize_t n;
        if (m_ssl) {
            n = SSL_read(m_ssl, ptr, static_cast<int>(std::min<size_t>(size, 1 << 30)));
            if (n <= 0) n = SSL_get_error(m_ssl, static_cast<int>(n)) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
        } else {
            n = ::recv(m_sock, ptr, size, 0);
        }
        if (n > 0) captured.append(ptr, static_cast<size_t>(n));
        return n;
    }
    ssize_t write(const char* ptr, size_t size) override {
        if (m_stopping) return -1;
        if (m_ssl) {
            const int n = SSL_write(m_ssl, ptr, static_cast<int>(std::min<size_t>(size, 1 << 30)));
            return n > 0 ? n : -1;
        }
        return ::send(m_sock, ptr, size, MSG_NOSIGNAL);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override { address(false, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { address(true, ip, port); }
    socket_t socket() const override { return m_sock; }

    // Drops the connection at once (a cut or a close without answer).
    void cut() { ::shutdown(m_sock, SHUT_RDWR); }

    std::string captured;
    size_t requestStart = 0;

private:
    void address(bool local, std::string& ip, int& port) const {
        sockaddr_storage a{};
        socklen_t len = sizeof(a);
        const int r = local ? ::getsockname(m_sock, reinterpret_cast<sockaddr*>(&a), &len)
                            : ::getpeername(m_sock, reinterpret_cast<sockaddr*>(&a), &len);
        ip = "127.0.0.1";
        port = 0;
        if (r == 0 && a.ss_family == AF_INET) port = ntohs(reinterpret_cast<sockaddr_in*>(&a)->sin_port);
    }
    int m_sock;
    SSL* m_ssl;
    const std::atomic<bool>& m_stopping;
};

thread_local CaptureStream* t_stream = nullptr;

struct Route {
    std::string host, method, path;
    bool prefix = false;
    FakeHandler handler;
};

}  // namespace

// ---- RecordedRequest ---------------------------------------------------------------------------

std::string RecordedRequest::header(const std::string& name) const {
    for (const auto& [k, v] : headers)
        if (equalText(k, name)) return v;
    return {};
}

bool RecordedRequest::hasHeader(const std::string& name) const {
    return std::any_of(headers.begin(), headers.end(), [&](const auto& h) { return equalText(h.first, name); });
}

std::vector<std::string> RecordedRequest::headerNames() const {
    std::vector<std::string> names;
    for (const auto& h : headers) names.push_back(h.first);
    return names;
}

// ---- ScriptedResponse helpers --------------------------------------------------------------------

ScriptedResponse ScriptedResponse::ok(std::string body, std::string contentType) {
    ScriptedResponse r;
    r.body = std::move(body);
    r.contentType = std::move(contentType);
    return r;
}

ScriptedResponse ScriptedResponse::redirect(std::string location, int status) {
    ScriptedResponse r;
    r.status = status;
    r.headers.emplace_back("Location", std::move(location));
    return r;
}

ScriptedResponse ScriptedResponse::withStatus(int code, std::string body) {
    ScriptedResponse r;
    r.status = code;
    r.body = std::move(body);
    return r;
}

ScriptedResponse ScriptedResponse::binary(std::string bytes) {
    return ok(std::move(bytes), "application/octet-stream");
}

std::string gzipBytes(const std::string& plain) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(plain.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// ---- The servers ---------------------------------------------------------------------------------

struct FakeService::Impl {
    class Server final : public httplib::Server {
    public:
        Server(Impl& owner, SSL_CTX* ctx) : m_owner(owner), m_ctx(ctx) {
            set_tcp_nodelay(true);
            set_keep_alive_timeout(60);
            set_keep_alive_max_count(1000);
        }

    private:
        // Serves one connection: TLS when the server has a context, requests kept alive.
        bool process_and_close_socket(socket_t sock) override {
            SSL* ssl = nullptr;
            if (m_ctx) {
                timeval tv{5, 0};
                ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
                ssl = SSL_new(m_ctx);
                SSL_set_fd(ssl, sock);
                if (SSL_accept(ssl) != 1) {
                    SSL_free(ssl);
                    ::shutdown(sock, SHUT_RDWR);
                    ::close(sock);
                    return false;
                }
            }
            CaptureStream strm(sock, ssl, m_owner.stopping);
            bool ret = true;
            for (size_t count = keep_alive_max_count_; count > 0; --count) {
                if (!strm.waitReadable(static_cast<int>(keep_alive_timeout_sec_ * 1000))) break;
                if (m_owner.stopping) break;
                bool connectionClosed = false;
                strm.requestStart = strm.captured.size();
                t_stream = &strm;
                ret = process_request(strm, count == 1, connectionClosed, [](httplib::Request&) {});
                t_stream = nullptr;
                if (!ret || connectionClosed) break;
            }
            if (ssl) {
                SSL_shutdown(ssl);
                SSL_free(ssl);
            }
            ::shutdown(sock, SHUT_RDWR);
            ::close(sock);
            return ret;
        }

        Impl& m_owner;
        SSL_CTX* m_ctx;
    };

    FakeServiceOptions options;
    std::atomic<bool> stopping{false};
    long releases = 0;  // each release() ends the stalls that began before it
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<Route> routes;
    std::vector<RecordedRequest> record;
    long sequence = 0;

    SSL_CTX* ctx = nullptr;
    std::unique_ptr<Server> http, https;
    std::thread httpThread, httpsThread;
    std::atomic<bool> httpEnded{false}, httpsEnded{false};  // the server's accept loop has returned
    int httpPort = 0, httpsPort = 0;

    bool clientPointed = false;
    modWinInet::TransportSettings clientBefore;

    void start();
    void stop();
    void serve(Server& server, bool secure, const httplib::Request& req, httplib::Response& res);
    bool waitStall();  // true when released, false when stopping
};

void FakeService::Impl::start() {
    auto wire = [this](Server& s, bool secure) {
        auto h = [this, &s, secure](const httplib::Request& req, httplib::Response& res) { serve(s, secure, req, res); };
        s.Get(".*", h);
        s.Post(".*", h);
        s.Put(".*", h);
        s.Delete(".*", h);
        s.Patch(".*", h);
        s.Options(".*", h);
    };
    if (options.http) {
        http = std::make_unique<Server>(*this, nullptr);
        wire(*http, false);
        httpPort = http->bind_to_any_port("127.0.0.1");
        httpThread = std::thread([this] {
            http->listen_after_bind();
            httpEnded = true;
        });
    }
    if (options.https) {
        const char* cert = "host.pem";
        const char* key = "host.key";
        if (options.cert == FakeCert::UntrustedCA) cert = "untrusted-host.pem", key = "untrusted-host.key";
        if (options.cert == FakeCert::WrongName) cert = "wrongname.pem", key = "wrongname.key";
        ctx = SSL_CTX_new(TLS_server_method());
        SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
        if (SSL_CTX_use_certificate_chain_file(ctx, certPath(cert).c_str()) != 1 ||
            SSL_CTX_use_PrivateKey_file(ctx, certPath(key).c_str(), SSL_FILETYPE_PEM) != 1) {
            SSL_CTX_free(ctx);
            ctx = nullptr;
        } else {
            https = std::make_unique<Server>(*this, ctx);
            wire(*https, true);
            httpsPort = https->bind_to_any_port("127.0.0.1");
            httpsThread = std::thread([this] {
                https->listen_after_bind();
                httpsEnded = true;
            });
        }
    }
    // The ports listen from bind_to_any_port on: a client may connect before the accept loops run.
}

void FakeService::Impl::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopping) return;
        stopping = true;
    }
    changed.notify_all();
    // httplib's stop() does nothing to a server whose accept loop has not started yet, and that loop
    // would then run for ever: wait until it runs (or has already ended) before stopping it.
    const std::pair<Server*, std::atomic<bool>*> servers[] = {{http.get(), &httpEnded}, {https.get(), &httpsEnded}};
    for (const auto& [s, ended] : servers) {
        if (!s) continue;
        while (!s->is_running() && !*ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        s->stop();
    }
    if (httpThread.joinable()) httpThread.join();
    if (httpsThread.joinable()) httpsThread.join();
    if (ctx) SSL_CTX_free(ctx);
    ctx = nullptr;
}

bool FakeService::Impl::waitStall() {
    std::unique_lock<std::mutex> lock(mutex);
    const long seen = releases;
    changed.wait(lock, [this, seen] { return stopping || releases != seen; });
    return !stopping;
}

void FakeService::Impl::serve(Server&, bool secure, const httplib::Request& req, httplib::Response& res) {
    RecordedRequest r;
    r.https = secure;
    r.method = req.method;
    r.body = req.body;
    r.arrival = std::chrono::steady_clock::now();
    r.arrivalMs = std::chrono::duration_cast<std::chrono::milliseconds>(r.arrival - started).count();
    CaptureStream* strm = t_stream;
    if (strm) {
        const size_t end = strm->captured.find("\r\n\r\n", strm->requestStart);
        r.rawHead = strm->captured.substr(strm->requestStart,
                                          end == std::string::npos ? std::string::npos : end + 4 - strm->requestStart);
        size_t pos = r.rawHead.find("\r\n");
        const std::string requestLine = r.rawHead.substr(0, pos);
        const size_t sp1 = requestLine.find(' ');
        const size_t sp2 = requestLine.rfind(' ');
        if (sp1 != std::string::npos && sp2 > sp1) r.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
        while (pos != std::string::npos) {
            const size_t next = r.rawHead.find("\r\n", pos + 2);
            if (next == std::string::npos) break;
            const std::string line = r.rawHead.substr(pos + 2, next - pos - 2);
            pos = next;
            if (line.empty()) break;
            const size_t colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string value = line.substr(colon + 1);
            while (!value.empty() && value.front() == ' ') value.erase(0, 1);
            r.headers.emplace_back(line.substr(0, colon), value);
        }
    }
    if (r.target.empty()) r.target = req.target;
    r.path = r.target.substr(0, r.target.find('?'));
    std::string host = r.header("Host");
    if (!host.empty() && host[0] != '[') host = host.substr(0, host.find(':'));
    r.host = lower(host);

    FakeHandler handler;
    {
        std::lock_guard<std::mutex> lock(mutex);
        r.sequence = ++sequence;
        record.push_back(r);
        for (auto it = routes.rbegin(); it != routes.rend(); ++it) {
            if (!it->host.empty() && lower(it->host) != r.host) continue;
            if (!it->method.empty() && it->method != r.method) continue;
            if (it->prefix ? r.target.rfind(it->path, 0) != 0 : r.target != it->path) continue;
            handler = it->handler;
            break;
        }
    }
    changed.notify_all();

    ScriptedResponse answer = handler ? handler(r) : ScriptedResponse::withStatus(404, "no route");
    if (answer.delayMs > 0) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait_for(lock, std::chrono::milliseconds(answer.delayMs), [this] { return stopping.load(); });
    }
    if (answer.fault == Fault::StallBeforeHeaders) waitStall();
    if (answer.fault == Fault::StallBeforeHeaders || answer.fault == Fault::CloseAtOnce || stopping) {
        if (strm) strm->cut();
        res.status = 500;
        return;
    }

    res.status = answer.status;
    for (const auto& [k, v] : answer.headers) res.set_header(k, v);
    for (const auto& c : answer.setCookies) res.set_header("Set-Cookie", c);
    auto bytes = std::make_shared<std::string>(answer.gzip ? gzipBytes(answer.body) : answer.body);
    if (answer.gzip) res.set_header("Content-Encoding", "gzip");
    const std::string type = answer.contentType.empty() ? "application/octet-stream" : answer.contentType;
    if (bytes->empty() && answer.fault == Fault::None) {
        if (!answer.contentType.empty()) res.set_header("Content-Type", answer.contentType);
        return;  // Content-Length: 0
    }
    // A provider of known length: httplib sends these bytes as they are (it compresses only
    // bodies it holds itself).
    const Fault fault = answer.fault;
    const size_t cutAfter = std::min(answer.cutAfter, bytes->size());
    size_t declared = bytes->size();
    if (fault == Fault::CutBody || fault == Fault::StallInBody) declared = std::max<size_t>(bytes->size() * 2, bytes->size() + 64);
    const int pauseMs = answer.pauseMs;
    res.set_content_provider(declared, type, [this, bytes, fault, cutAfter, pauseMs, strm](size_t offset, size_t length,
                                                                                           httplib::DataSink& sink) {
        if (fault == Fault::PauseInBody && offset == cutAfter) {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait_for(lock, std::chrono::milliseconds(pauseMs), [this] { return stopping.load(); });
            if (stopping) return false;
        }
        size_t limit = fault == Fault::None ? bytes->size() : cutAfter;
        if (fault == Fault::PauseInBody && offset >= cutAfter) limit = bytes->size();
        if (offset < limit) {
            sink.write(bytes->data() + offset, std::min(length, limit - offset));
            return true;
        }
        if (fault == Fault::StallInBody) waitStall();
        if (fault != Fault::None && strm) strm->cut();
        return false;
    });
}

// ---- FakeService ------------------------------------------------------------------------------------

FakeService::FakeService() : FakeService(FakeServiceOptions{}) {}

FakeService::FakeService(FakeServiceOptions options) : d(std::make_unique<Impl>()) {
    d->options = options;
    d->start();
}

FakeService::~FakeService() {
    d->stop();
    if (d->clientPointed) modWinInet::Settings() = d->clientBefore;
}

int FakeService::httpPort() const { return d->httpPort; }
int FakeService::httpsPort() const { return d->httpsPort; }

void FakeService::route(const std::string& host, const std::string& method, const std::string& path,
                        ScriptedResponse response) {
    handle(host, method, path, [response](const RecordedRequest&) { return response; });
}

void FakeService::routePrefix(const std::string& host, const std::string& method, const std::string& prefix,
                              ScriptedResponse response) {
    handlePrefix(host, method, prefix, [response](const RecordedRequest&) { return response; });
}

void FakeService::handle(const std::string& host, const std::string& method, const std::string& path,
                         FakeHandler handler) {
    std::lock_guard<std::mutex> lock(d->mutex);
    d->routes.push_back(Route{host, method, path, false, std::move(handler)});
}

void FakeService::handlePrefix(const std::string& host, const std::string& method, const std::string& prefix,
                               FakeHandler handler) {
    std::lock_guard<std::mutex> lock(d->mutex);
    d->routes.push_back(Route{host, method, prefix, true, std::move(handler)});
}

void FakeService::clearRoutes() {
    std::lock_guard<std::mutex> lock(d->mutex);
    d->routes.clear();
}

std::vector<RecordedRequest> FakeService::requests() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->record;
}

size_t FakeService::requestCount() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->record.size();
}

RecordedRequest FakeService::lastRequest() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->record.empty() ? RecordedRequest{} : d->record.back();
}

void FakeService::clearRequests() {
    std::lock_guard<std::mutex> lock(d->mutex);
    d->record.clear();
}

bool FakeService::waitForRequests(size_t n, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(d->mutex);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return d->record.size() >= n; });
}

void FakeService::release() {
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        ++d->releases;
    }
    d->changed.notify_all();
}

void FakeService::stop() { d->stop(); }

std::string FakeService::connectTo() const {
    std::string s;
    if (d->httpPort > 0) s += ":80:127.0.0.1:" + std::to_string(d->httpPort);
    if (d->httpsPort > 0) s += std::string(s.empty() ? "" : ";") + ":443:127.0.0.1:" + std::to_string(d->httpsPort);
    return s;
}

std::string FakeService::caFile() { return certPath("ca.pem"); }
std::string FakeService::untrustedCaFile() { return certPath("untrusted-ca.pem"); }

int FakeService::listenOnLoopback(int& port, int backlog) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, backlog) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

int FakeService::closedPort() {
    // Bind a port, then let it go: nothing listens there afterwards.
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0) {
        socklen_t len = sizeof(a);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ::close(s);
    return port;
}

void FakeService::useForClient() {
    if (!d->clientPointed) {
        d->clientBefore = modWinInet::Settings();
        d->clientPointed = true;
    }
    modWinInet::Settings().connectTo = connectTo();
    modWinInet::Settings().caFile = caFile();
    modWinInet::Close_Session();  // no connection to another fake is reused
}

}  // namespace testsupport
