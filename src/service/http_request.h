// http_request.h — requests that start now and answer later.
//
// Start_Http_Request sends one request on the client's transfer engine and returns at once. When
// the request ends — answered, failed, late, cancelled, or its session closed — its continuation
// runs exactly once, from the event loop (never inside the start call or a transfer callback),
// with the request's own result. A started request takes everything it needs as arguments and
// writes none of the client's shared fields, so nothing another routine does meanwhile (another
// request, a message box, a dialog the user opened) can change or hold up its answer. Its pauses
// (the 2-second wait before a resend) are timers.
//
// The blocking modWinInet::Http_Request is a thin wrapper that waits for a started request.
#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/timers.h"

namespace modWinInet {

// A point in time on platform::clock().tickMs(); none = no deadline of the caller's (the
// client's own bounds still apply).
struct Deadline {
    qint64 atTickMs = 0;
    bool set = false;
    static Deadline none() { return {}; }
    static Deadline at(qint64 tickMs) { return {tickMs, true}; }
    static Deadline inMs(qint64 ms);  // from now
    qint64 remainingMs() const;       // a large figure when none is set
};

// What a request sends.
struct HttpRequestSpec {
    std::string url;          // may begin with "http://" or "https://"; only flag bit 1 chooses HTTPS
    std::string method = "GET";  // "GET", or anything else for a POST of postData
    std::string cookieUser;   // "" sends and stores no cookies
    long flags = 0;           // kFlagHttps | kFlagFollowRedirects | kFlagReadBody | kFlagAcceptGzip
    std::string userAgent;    // "" = modTLMain::DefaultUserAgent (used when the session opens)
    // A session of the request's own, opened with userAgent and gone when the request ends; the
    // program's session (and the user agent its later requests carry) is neither used nor changed.
    bool ownSession = false;
    std::string postData;     // form body of a POST
    bool binary = false;      // the body is bytes (HttpResult::bytes), not text
    // Binary reads: called with the percentage read so far when the length is known.
    std::function<void(long percent)> progress;
    // The user's stop of a running list refresh (CancelUpdate while UpdateBusy or
    // SelectedUpdateBusy) ends the text read at once as an answer with an empty page.
    bool stopsWithListRefresh = false;
    // An answer with this status or above is no page (0: every answer is one). It ends like a
    // send that got no answer: a GET is sent once more after the pause when its deadline leaves
    // room for it, a POST never; the continuation then gets ok false with the answer's status.
    int noPageFromStatus = 0;
    // A text answer read whole that this finds is not the page asked for (an error or sign-in
    // page served as a page) is no page either, and ends as above. None: every answer is one.
    std::function<bool(const std::string& body)> isPage;
};

// Statuses from which an answer is no page: a server error, or any refusal (4xx as well).
inline constexpr int kServerErrors = 500;
inline constexpr int kRefusalsAndServerErrors = 400;
// Whether an answer of `status` ("200", "500"; "" when none came) is a page under that rule.
bool Is_Page_Status(const std::string& status, int noPageFromStatus);

// What came back.
struct HttpResult {
    bool ok = false;              // a response came (and its body, when asked, whole)
    std::string url;              // the request URL without its scheme
    std::string status;           // "200", "302"; "" when no response came
    std::string rawHeaders;       // status line first, CRLF-separated, blank line last
    std::string contentLength;
    std::string contentEncoding;
    std::string redirectURL;      // Location of a 301/302 answer, else ""
    std::string lastError;        // the error number after the last send ("12029"), else ""
    std::string body;             // text body
    std::vector<unsigned char> bytes;  // binary body
    std::string host;             // the host that gave the final answer
    bool timedOut = false;        // ended by the deadline or a stall bound (12002)
    bool cancelled = false;       // ended by cancel() or the session's close (12017)
};

using HttpDone = std::function<void(HttpResult)>;

// A request in flight. Copies refer to the same request; a default one refers to none.
class HttpRequest {
public:
    HttpRequest() = default;
    // Ends the request now if it is still running: it fails with 12017 and its continuation runs
    // (from the event loop) with nothing of its answer kept.
    void cancel();
    bool running() const;
    // Whether the answer's body is being read (the request is past its response headers).
    bool reading() const;
    // The blocking form's stop of a list refresh while the body is read: answered, empty page.
    void stopReadingAsAnswered();

    struct Call;
    explicit HttpRequest(std::weak_ptr<Call> c) : m_call(std::move(c)) {}

private:
    std::weak_ptr<Call> m_call;
};

// Starts a request; `done` runs once with its result.
HttpRequest Start_Http_Request(HttpRequestSpec spec, Deadline deadline, HttpDone done);

// Body caps: a text page beyond kMaxTextBody bytes or a binary body beyond kMaxBinaryBody bytes
// fails the read ("Http Read Failed - 8").
inline constexpr size_t kMaxTextBody = 8u << 20;     // 8 MiB
inline constexpr size_t kMaxBinaryBody = 32u << 20;  // 32 MiB

// The waiting form of a started routine: a slot for its continuation's result, and the wait
// (yielding to the event loop) until the result is there. Every started routine ends, so the wait
// does too.
template <class Result>
struct Answer {
    std::shared_ptr<std::optional<Result>> slot = std::make_shared<std::optional<Result>>();
    std::function<void(Result)> receiver() const {
        return [s = slot](Result r) { *s = std::move(r); };
    }
    bool has_value() const { return slot->has_value(); }
    Result wait() const {
        const auto s = slot;
        platform::timers().waitUntil([s] { return s->has_value(); }, 24LL * 3600 * 1000);
        return std::move(**s);
    }
};

// Runs f from the event loop, after the present call has returned (a continuation's turn).
void Run_Later(std::function<void()> f);

// How many started requests are in flight (for tests).
size_t Requests_In_Flight();
// Ends every request in flight as cancelled (the session closes).
void Cancel_All_Requests();

}  // namespace modWinInet
