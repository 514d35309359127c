// http_transport.h — transfers over libcurl's multi interface, driven on the UI thread.
//
// A session is one curl multi handle (its connection cache keeps connections alive between
// requests) with the user agent it was opened with. Its sockets are watched by QSocketNotifiers
// and its timeouts by a QTimer, so every transfer moves whenever the event loop runs — also in a
// wait nested inside another routine's wait. Curl's callbacks only record what came and call the
// transfer's notify hook, which must not do more than schedule work for later: curl refuses calls
// from inside its callbacks.
//
// Internal to the HTTP client (modWinInet); nothing else includes it.
#pragma once

#include <QtGlobal>
#include <curl/curl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace modWinInet::transport {

class Session;

// One hop of a request: where it goes and whether it posts.
struct Hop {
    bool secure = false;
    std::string hostPort;  // as in the URL
    std::string target;    // "/path?query"
    bool post = false;
};

// One transfer: one easy handle, one response.
struct Transfer {
    CURL* easy = nullptr;
    std::shared_ptr<Session> session;
    bool attached = false;        // in the session's multi handle
    curl_slist* headerList = nullptr;
    curl_slist* connectToList = nullptr;

    std::string host;             // the host this hop went to
    bool keepBody = true;         // false: the body is refused at its first byte
    std::vector<std::string> headerLines;  // of the current (last) response, each ending in CRLF
    long status = 0;
    bool headersDone = false;
    bool requestSent = false;     // the request left for the server
    std::string body;             // bytes received and not yet taken
    size_t bodyTaken = 0;
    bool done = false;
    CURLcode result = CURLE_OK;
    bool timedOut = false;        // ended by a stall bound or deadline
    bool abandoned = false;       // ended by us (body not wanted, or cancelled)
    qint64 lastActivity = 0;      // platform::clock().tickMs() of the last sign of life
    std::function<void()> notify; // called (from curl's callbacks) when something came

    ~Transfer();
    size_t available() const { return body.size() - bodyTaken; }
    // Takes up to n bytes of what came and is not yet taken.
    std::string take(size_t n);
};

// Opens a session with the user agent; nullptr when curl cannot make one.
std::shared_ptr<Session> openSession(const std::string& userAgent);
const std::string& sessionUserAgent(const Session& s);

// Starts one hop's transfer. cookieHeader is the whole "Cookie: ..." line or "". Returns nullptr
// only when curl cannot make a handle; a transfer that fails at once comes back done.
std::unique_ptr<Transfer> startTransfer(const std::shared_ptr<Session>& session, const Hop& hop, bool exactPost,
                                        const std::string& postBody, long flags, const std::string& cookieHeader,
                                        bool keepBody);
// Ends a transfer that is still running (its body is not wanted, or it was cancelled).
void abandon(Transfer& t);

// The system error number of a transfer that ended without an answer.
long errorNumber(const Transfer& t);
// Whether a body read ended early (not whole and not ended by us).
bool bodyBrokeOff(const Transfer& t);

bool validHost(const std::string& host);
std::string hostOnly(const std::string& hostPort);
bool isFollowedRedirect(long status);
// The value of the index-th header of that name (case-blind) among the response's lines.
std::string headerValue(const std::vector<std::string>& lines, const std::string& name, long index, bool& found);

}  // namespace modWinInet::transport
