// fake_service.h — a fake auction service on 127.0.0.1 for tests: HTTP and HTTPS, scripted answers.
//
// One FakeService runs an HTTP and an HTTPS server on random ports of 127.0.0.1 and answers
// every host name: requests are dispatched on their Host header (without the port), so one fake
// plays the sign-in host, the item pages, the bid host and so on. useForClient() points the
// program's HTTP client at it (every host, port 80 to the HTTP server and port 443 to the HTTPS
// server; the fake's CA is the client's CA file).
//
// Routes map (host, method, path) to a scripted response or to a handler; the route added last
// that matches wins, so a test may change an answer between requests. Unmatched requests get a
// 404 "no route". Every request is recorded (method, target, headers in the order they came,
// body, arrival time), readable from the test while the servers run.
//
// Threads: the servers answer on their own threads. Handlers run there, so they must not touch
// the program's state; they get a copy of the request. Everything else here is thread-safe.
//
// The certificates are made at build time: a CA, a host certificate for every national site's
// domains (*.ebay.com, *.ebay.co.uk, ... and the bare domains), plus a second, untrusted CA and
// a certificate for the wrong names, for the client's certificate checks.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// One request as the fake received it.
struct RecordedRequest {
    long sequence = 0;            // 1, 2, ... in arrival order
    bool https = false;
    std::string method;           // "GET", "POST"
    std::string target;           // path and query as sent ("/ws/eBayISAPI.dll?SignIn")
    std::string path;             // the target without its query
    std::string host;             // Host header without the port, lower-cased
    std::string rawHead;          // request line and headers exactly as received, CRLFs included
    HeaderList headers;           // in the order they came, names as sent
    std::string body;
    std::chrono::steady_clock::time_point arrival;
    long long arrivalMs = 0;      // real milliseconds since the fake started

    // The first header of that name (case-blind), "" when absent.
    std::string header(const std::string& name) const;
    bool hasHeader(const std::string& name) const;
    // Header names in order ("Host", "User-Agent", "Accept", ...).
    std::vector<std::string> headerNames() const;
};

// What the fake does with the answer.
enum class Fault {
    None,
    CutBody,        // declares a longer Content-Length, sends cutAfter bytes of the body, closes
    StallBeforeHeaders,  // never answers (until release() or the fake stops)
    StallInBody,    // sends the headers and cutAfter bytes of the body, then stalls
    CloseAtOnce,    // closes the connection without answering
    PauseInBody,    // sends the headers and cutAfter bytes of the body, pauses pauseMs, sends the rest
};

struct ScriptedResponse {
    int status = 200;
    std::string contentType = "text/html";  // "" sends none
    HeaderList headers;                      // further headers, in order
    std::vector<std::string> setCookies;     // one Set-Cookie header each ("a=1; path=/")
    std::string body;                        // the exact bytes (before gzip)
    bool gzip = false;      // send the body gzip-compressed with "Content-Encoding: gzip"
    Fault fault = Fault::None;
    size_t cutAfter = 0;    // bytes of the (possibly compressed) body sent before a cut or stall
    int delayMs = 0;        // real delay before the answer
    int pauseMs = 0;        // real pause inside the body (PauseInBody)

    // Helpers for common answers.
    static ScriptedResponse ok(std::string body, std::string contentType = "text/html");
    static ScriptedResponse redirect(std::string location, int status = 302);
    static ScriptedResponse withStatus(int code, std::string body = {});
    static ScriptedResponse binary(std::string bytes);  // application/octet-stream
};

// A handler computes the answer from the request (on a server thread).
using FakeHandler = std::function<ScriptedResponse(const RecordedRequest&)>;

enum class FakeCert {
    Trusted,      // signed by the fake CA, names of every national site
    UntrustedCA,  // same names, signed by a CA the client does not know
    WrongName,    // signed by the fake CA, but only for names no service host has
};

struct FakeServiceOptions {
    FakeCert cert = FakeCert::Trusted;
    bool http = true;
    bool https = true;
};

class FakeService {
public:
    FakeService();
    explicit FakeService(FakeServiceOptions options);
    ~FakeService();  // stops the servers (and ends every stall)
    FakeService(const FakeService&) = delete;
    FakeService& operator=(const FakeService&) = delete;

    int httpPort() const;
    int httpsPort() const;

    // Routes. host "" matches any host; method "" any method. The path is compared with the
    // target (path and query): exact, or as a prefix for the Prefix forms.
    void route(const std::string& host, const std::string& method, const std::string& path,
               ScriptedResponse response);
    void routePrefix(const std::string& host, const std::string& method, const std::string& prefix,
                     ScriptedResponse response);
    void handle(const std::string& host, const std::string& method, const std::string& path,
                FakeHandler handler);
    void handlePrefix(const std::string& host, const std::string& method, const std::string& prefix,
                      FakeHandler handler);
    void clearRoutes();

    // The record.
    std::vector<RecordedRequest> requests() const;
    size_t requestCount() const;
    RecordedRequest lastRequest() const;  // an empty one when none came
    void clearRequests();
    // Blocks (real time, not the event loop) until n requests came or timeoutMs passed.
    bool waitForRequests(size_t n, int timeoutMs = 5000) const;

    // Ends the stalls in progress (stalls also end when the fake stops; a stall before the
    // headers then closes the connection without an answer).
    void release();
    void stop();

    // Where the client must go: ":80:127.0.0.1:<http>;:443:127.0.0.1:<https>".
    std::string connectTo() const;
    // The fake CA's certificate file (PEM) and the untrusted CA's.
    static std::string caFile();
    static std::string untrustedCaFile();
    // A port of 127.0.0.1 where nothing listens (a connect there is refused).
    static int closedPort();
    // A socket listening on a random port of 127.0.0.1 (the port in `port`); -1 when none could be had.
    static int listenOnLoopback(int& port, int backlog);

    // Points modWinInet at this fake (connect-to map and CA file); the client's settings are put
    // back when the fake goes away.
    void useForClient();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// gzip of a text (for tests that check a decoder).
std::string gzipBytes(const std::string& plain);

}  // namespace testsupport
