// http_request.cpp — a request as a small state machine on the event loop.
//
// Sending: one hop's transfer is running; its response headers decide what follows (a redirect
// hop, the body, or the answer). Pausing: a failed send waits 2 seconds on a timer before the one
// resend. Reading: the body comes in and is taken as it arrives. Each step runs from a queued call
// that the transfer's notify hook posts, from the watchdog timer (deadline and stall bounds), or
// from cancel(); the continuation is posted to the event loop once the request has ended.
#include "service/http_request.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <set>

#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/zlib_codec.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/cookie_jar.h"
#include "service/http_trace.h"
#include "service/http_transport.h"
#include "service/wininet.h"

namespace modWinInet {

using transport::Hop;
using transport::Transfer;

namespace {

constexpr int kMaxRedirectHops = 10;
constexpr qint64 kResendPauseMs = 2000;
constexpr qint64 kNoDeadline = std::numeric_limits<qint64>::max() / 4;

// The object queued calls are delivered through (lives as long as the process).
QObject* queueContext() {
    static QObject* context = new QObject();
    return context;
}

void postToEventLoop(std::function<void()> f) {
    QMetaObject::invokeMethod(queueContext(), std::move(f), Qt::QueuedConnection);
    platform::timers().wake();
}

bool listRefreshStopped() {
    return TLMainState::CancelUpdate && (TLMainState::UpdateBusy || TLMainState::SelectedUpdateBusy);
}

// The address as the trace names it: with its scheme, the one the flags choose when the caller
// gave none.
std::string Traced_URL(const std::string& url, long flags) {
    if (Strip_URL_Scheme(url) != url) return url;
    return ((flags & kFlagHttps) ? "https://" : "http://") + url;
}

bool gunzip(std::string& data) {
    ZLIB codec;
    return codec.UncompressString(data, ZLIB::kGzipFormat) == 0;
}

}  // namespace

// ---- Deadline -----------------------------------------------------------------------------------

Deadline Deadline::inMs(qint64 ms) { return at(platform::clock().tickMs() + ms); }

qint64 Deadline::remainingMs() const {
    if (!set) return kNoDeadline;
    return std::max<qint64>(0, atTickMs - platform::clock().tickMs());
}

// ---- The call -------------------------------------------------------------------------------------

struct HttpRequest::Call : std::enable_shared_from_this<HttpRequest::Call> {
    enum class Phase { Sending, Draining, Pausing, Reading, Ended };

    HttpRequestSpec spec;
    Deadline deadline;
    HttpDone done;

    std::shared_ptr<transport::Session> session;
    Hop firstHop;
    Hop hop;
    bool exactPost = false;
    int hopNo = 0;
    int failures = 0;
    bool reachedServer = false;
    std::unique_ptr<Transfer> transfer;
    Phase phase = Phase::Sending;
    bool pumpQueued = false;
    platform::Timer watchdog;
    platform::Timer pause;
    HttpTrace trace;
    HttpResult result;
    std::string text;                  // body taken so far
    std::vector<unsigned char> bytes;  // binary body taken so far
    double contentLength = 0;

    void begin();
    void sendHop();
    void schedulePump();
    void pump();
    void onHeaders();
    void nextHop();
    void onSendFailed(long error);
    bool mayResend() const;
    void resendAfterPause();
    void onNoPage();
    void onResponse();
    void readMore();
    void endReading();
    void onWatchdog();
    void armWatchdog();
    void fail(long error, const std::string& logLine);
    void finish();
    void cancel(long error);
    bool reading() const { return phase == Phase::Reading; }
};

namespace {
// Every request in flight, kept alive until its continuation has run.
std::set<std::shared_ptr<HttpRequest::Call>>& inFlight() {
    static auto* calls = new std::set<std::shared_ptr<HttpRequest::Call>>();
    return *calls;
}
}  // namespace

void HttpRequest::Call::begin() {
    watchdog.setHandler([w = weak_from_this()] {
        if (auto c = w.lock()) c->onWatchdog();
    });
    pause.setHandler([w = weak_from_this()] {
        if (auto c = w.lock()) {
            c->pause.setEnabled(false);
            if (c->phase != Phase::Pausing) return;
            c->hop = c->firstHop;
            c->hopNo = 0;
            c->sendHop();
        }
    });

    trace.open();
    trace.line("");
    trace.line("Http Begin - " + Traced_URL(spec.url, spec.flags) + " - " + spec.method + " - " + spec.cookieUser);
    trace.line("");

    const std::string agent = spec.userAgent.empty() ? modTLMain::DefaultUserAgent : spec.userAgent;
    session = spec.ownSession ? transport::openSession(agent) : Current_Session(agent);
    if (!session) {
        modTLMain::Write_Op_Log("Can't Open Internet Session.");
        finish();
        return;
    }
    const std::string url = Strip_URL_Scheme(spec.url);
    result.url = url;
    const long slash = vb::InStr(url, "/");
    if (slash <= 1) {
        modTLMain::Write_Op_Log("Bad Host Name in URL.");
        finish();
        return;
    }
    firstHop.secure = (spec.flags & kFlagHttps) != 0;
    firstHop.hostPort = vb::Left(url, slash - 1);
    firstHop.target = vb::Mid(url, slash);
    if (firstHop.target.empty()) {
        modTLMain::Write_Op_Log("Bad Host Object in URL.");
        finish();
        return;
    }
    if (!transport::validHost(firstHop.hostPort)) {
        modTLMain::Write_Op_Log("Can't Connect to URL - 12005");
        finish();
        return;
    }
    firstHop.post = spec.method != "GET";
    exactPost = spec.method == "POST";
    if (!firstHop.post) spec.postData.clear();
    hop = firstHop;
    sendHop();
}

void HttpRequest::Call::sendHop() {
    phase = Phase::Sending;
    const bool follow = (spec.flags & kFlagFollowRedirects) != 0;
    const bool mayFollow = follow && hopNo < kMaxRedirectHops;
    const bool readBody = (spec.flags & kFlagReadBody) != 0;
    const std::string host = vb::LCase(transport::hostOnly(hop.hostPort));
    const std::string cookie =
        !spec.cookieUser.empty() && Cookie_Host_Allowed(host) ? Cookie_Header_For(spec.cookieUser) : std::string();
    transfer = transport::startTransfer(session, hop, exactPost, spec.postData, spec.flags, cookie, readBody || mayFollow);
    if (!transfer) {
        fail(kErrConnectionAborted, "Http Send Request Failed - " + std::to_string(kErrConnectionAborted));
        return;
    }
    transfer->notify = [w = weak_from_this()] {
        if (auto c = w.lock()) c->schedulePump();
    };
    if (transfer->done) schedulePump();
    armWatchdog();
}

void HttpRequest::Call::schedulePump() {
    if (pumpQueued || phase == Phase::Ended) return;
    pumpQueued = true;
    postToEventLoop([w = weak_from_this()] {
        if (auto c = w.lock()) c->pump();
    });
}

void HttpRequest::Call::pump() {
    pumpQueued = false;
    switch (phase) {
    case Phase::Sending:
        if (transfer->headersDone) onHeaders();
        else if (transfer->done) onSendFailed(transport::errorNumber(*transfer));
        break;
    case Phase::Draining:
        if (transfer->done) nextHop();
        else transfer->take(transfer->available());
        break;
    case Phase::Reading:
        readMore();
        break;
    case Phase::Pausing:
    case Phase::Ended:
        break;
    }
    if (phase != Phase::Ended) armWatchdog();
}

void HttpRequest::Call::onHeaders() {
    reachedServer = true;
    const bool mayFollow = (spec.flags & kFlagFollowRedirects) != 0 && hopNo < kMaxRedirectHops;
    bool found = false;
    const std::string location = transport::headerValue(transfer->headerLines, "Location", 0, found);
    if (mayFollow && transport::isFollowedRedirect(transfer->status) && !location.empty()) {
        // Let the short redirect body drain so the connection stays alive.
        phase = Phase::Draining;
        if (transfer->done) nextHop();
        return;
    }
    onResponse();
}

void HttpRequest::Call::nextHop() {
    bool found = false;
    const std::string location = transport::headerValue(transfer->headerLines, "Location", 0, found);
    const QString base = QString::fromStdString(std::string(hop.secure ? "https://" : "http://") + hop.hostPort + hop.target);
    const QUrl next = QUrl(base).resolved(QUrl(QString::fromStdString(location)));
    if (!next.isValid() || (next.scheme() != "http" && next.scheme() != "https") || next.host().isEmpty()) {
        onResponse();
        return;
    }
    Hop n;
    n.secure = next.scheme() == "https";
    n.hostPort = next.host(QUrl::FullyEncoded).toStdString();
    if (next.port() > 0) n.hostPort += ":" + std::to_string(next.port());
    n.target = next.path(QUrl::FullyEncoded).toStdString();
    if (n.target.empty()) n.target = "/";
    if (next.hasQuery()) n.target += "?" + next.query(QUrl::FullyEncoded).toStdString();
    // A 301, 302 or 303 answer to a POST is followed with a GET; 307 and 308 keep the POST.
    n.post = hop.post && (transfer->status == 307 || transfer->status == 308);
    hop = n;
    ++hopNo;
    sendHop();
}

void HttpRequest::Call::onSendFailed(long error) {
    reachedServer = reachedServer || transfer->requestSent;
    transfer.reset();
    result.lastError = std::to_string(error);
    if (error == kErrInvalidCA) {
        // A certificate that does not check out is never accepted.
        fail(error, "Http Send Request Failed - " + result.lastError);
        return;
    }
    ++failures;
    if (error == kErrNameNotResolved) {
        fail(error, "Http Send Request Failed - No Internet Connection");
        return;
    }
    if (error == kErrCancelled || !mayResend()) {
        fail(error, "Http Send Request Failed - " + result.lastError);
        return;
    }
    resendAfterPause();
}

// A POST that may have reached the server is never sent again (a bid goes once); nor is a request
// whose caller's time has run out, nor one sent twice already.
bool HttpRequest::Call::mayResend() const {
    return failures < 2 && !(firstHop.post && reachedServer) &&
           !(deadline.set && deadline.remainingMs() <= kResendPauseMs);
}

void HttpRequest::Call::resendAfterPause() {
    phase = Phase::Pausing;
    pause.setInterval(static_cast<int>(kResendPauseMs));
    pause.setEnabled(true);
}

// An answer that is no page (a server error where the caller wants a page, or a page that is not
// the one asked for) counts as a send that got no answer; nothing of its body is kept.
void HttpRequest::Call::onNoPage() {
    transport::abandon(*transfer);
    transfer.reset();
    ++failures;
    if (mayResend()) {
        resendAfterPause();
        return;
    }
    result.ok = false;
    text.clear();
    bytes.clear();
    finish();
}

void HttpRequest::Call::onResponse() {
    Transfer& t = *transfer;
    result.host = t.host;
    result.status = t.status ? std::to_string(t.status) : std::string();
    for (const auto& l : t.headerLines) result.rawHeaders += l;
    bool found = false;
    result.contentLength = transport::headerValue(t.headerLines, "Content-Length", 0, found);
    result.contentEncoding = transport::headerValue(t.headerLines, "Content-Encoding", 0, found);
    result.lastError.clear();
    if (t.status == 401) modTLMain::Write_Op_Log("User Authentication Required.");
    if (t.status == 407) modTLMain::Write_Op_Log("Proxy Authorization Required.");

    if (Cookie_Host_Allowed(t.host)) Store_Cookies(result.rawHeaders, spec.cookieUser);
    if (result.status == "302" || result.status == "301")
        result.redirectURL = transport::headerValue(t.headerLines, "Location", 0, found);

    if (trace.isOpen()) {
        trace.line("");
        trace.line("Status Code = " + result.status);
        trace.line("ReDirect URL = " + result.redirectURL);
        trace.line("Content Encoding = " + result.contentEncoding);
        trace.line(result.rawHeaders);
        trace.line(Cookie_Header_For(spec.cookieUser));
        trace.line("");
        trace.line("Http End - " + spec.cookieUser);
        trace.line("");
        trace.close();
    }

    if (!Is_Page_Status(result.status, spec.noPageFromStatus)) {
        onNoPage();
        return;
    }
    if (!(spec.flags & kFlagReadBody)) {
        transport::abandon(t);
        result.ok = true;
        finish();
        return;
    }
    contentLength = vb::Val(result.contentLength);
    phase = Phase::Reading;
    readMore();
}

void HttpRequest::Call::readMore() {
    Transfer& t = *transfer;
    if (spec.stopsWithListRefresh && !spec.binary && listRefreshStopped()) {
        // The user stopped the list refresh: the request counts as answered, with no page.
        transport::abandon(t);
        text.clear();
        result.ok = true;
        finish();
        return;
    }
    const size_t cap = spec.binary ? kMaxBinaryBody : kMaxTextBody;
    const size_t have = spec.binary ? bytes.size() : text.size();
    if (have + t.available() > cap) {
        transport::abandon(t);
        fail(kErrBodyTooLarge, "Http Read Failed - " + std::to_string(kErrBodyTooLarge));
        return;
    }
    if (t.available() > 0) {
        const std::string piece = t.take(t.available());
        if (spec.binary) {
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            if (spec.progress && contentLength > 0)
                spec.progress(vb::CLng(static_cast<double>(bytes.size()) / contentLength * 100.0));
        } else {
            text += piece;
        }
    }
    if (phase != Phase::Reading) return;  // the progress hook cancelled the request
    if (t.done) endReading();
}

void HttpRequest::Call::endReading() {
    Transfer& t = *transfer;
    if (transport::bodyBrokeOff(t)) {
        // A body broken off is no page: nothing of it is kept.
        fail(transport::errorNumber(t), "Http Read Failed - " + std::to_string(transport::errorNumber(t)));
        return;
    }
    if (vb::UCase(result.contentEncoding) == "GZIP") {
        std::string data = spec.binary ? std::string(bytes.begin(), bytes.end()) : std::move(text);
        if (!gunzip(data)) {
            fail(kErrBadContent, "Http Read Failed - " + std::to_string(kErrBadContent));
            return;
        }
        if (spec.binary) bytes.assign(data.begin(), data.end());
        else text = std::move(data);
    }
    if (!spec.binary && spec.isPage && !spec.isPage(text)) {
        text.clear();
        onNoPage();
        return;
    }
    result.ok = true;
    finish();
}

void HttpRequest::Call::armWatchdog() {
    if (phase == Phase::Ended) {
        watchdog.setEnabled(false);
        return;
    }
    const qint64 now = platform::clock().tickMs();
    qint64 next = deadline.set ? deadline.atTickMs : kNoDeadline;
    if (transfer && phase != Phase::Pausing) {
        const long stall = phase == Phase::Reading && spec.binary ? Settings().binaryStallMs : Settings().textStallMs;
        next = std::min(next, transfer->lastActivity + stall + 1);
    }
    if (next >= kNoDeadline) {
        watchdog.setEnabled(false);
        return;
    }
    const qint64 in = std::clamp<qint64>(next - now, 1, 24LL * 3600 * 1000);
    if (watchdog.enabled() && watchdog.interval() == static_cast<int>(in)) return;
    watchdog.setInterval(static_cast<int>(in));
    watchdog.setEnabled(true);
}

void HttpRequest::Call::onWatchdog() {
    watchdog.setEnabled(false);
    if (phase == Phase::Ended) return;
    const qint64 now = platform::clock().tickMs();
    const bool late = deadline.set && now >= deadline.atTickMs;
    bool stalled = false;
    if (transfer && phase != Phase::Pausing && !transfer->done) {
        const long stall = phase == Phase::Reading && spec.binary ? Settings().binaryStallMs : Settings().textStallMs;
        stalled = now - transfer->lastActivity > stall;
    }
    if (late) {
        if (transfer) {
            transport::abandon(*transfer);
            transfer->abandoned = false;
            transfer->timedOut = true;
        }
        result.timedOut = true;
        result.lastError = std::to_string(kErrTimeout);
        fail(kErrTimeout, (phase == Phase::Reading ? "Http Read Failed - " : "Http Send Request Failed - ") +
                              std::to_string(kErrTimeout));
        return;
    }
    if (stalled) {
        transport::abandon(*transfer);
        transfer->abandoned = false;
        transfer->timedOut = true;
        if (phase == Phase::Reading) {
            result.timedOut = true;
            fail(kErrTimeout, "Http Read Failed - " + std::to_string(kErrTimeout));
        } else if (phase == Phase::Draining) {
            nextHop();
        } else {
            onSendFailed(kErrTimeout);
        }
        if (phase != Phase::Ended) armWatchdog();
        return;
    }
    armWatchdog();
}

void HttpRequest::Call::fail(long error, const std::string& logLine) {
    if (phase == Phase::Ended) return;
    if (transfer) transport::abandon(*transfer);
    if (!logLine.empty()) modTLMain::Write_Op_Log(logLine);
    result.ok = false;
    result.lastError = std::to_string(error);
    result.timedOut = result.timedOut || error == kErrTimeout;
    result.cancelled = error == kErrCancelled;
    text.clear();
    bytes.clear();
    finish();
}

void HttpRequest::Call::cancel(long error) {
    if (phase == Phase::Ended) return;
    const bool wasReading = phase == Phase::Reading;
    if (transfer) transport::abandon(*transfer);
    fail(error, (wasReading ? "Http Read Failed - " : "Http Send Request Failed - ") + std::to_string(error));
}

void HttpRequest::Call::finish() {
    if (phase == Phase::Ended) return;
    phase = Phase::Ended;
    watchdog.setEnabled(false);
    pause.setEnabled(false);
    trace.close();
    if (result.ok) {
        if (spec.binary) result.bytes = std::move(bytes);
        else result.body = std::move(text);
    }
    // The transfer goes later, from the event loop: this may run inside a pump of its own.
    postToEventLoop([self = shared_from_this()] {
        self->transfer.reset();
        HttpDone cont = std::move(self->done);
        HttpResult r = std::move(self->result);
        inFlight().erase(self);
        if (cont) cont(std::move(r));
    });
}

// ---- Handle -----------------------------------------------------------------------------------------

void HttpRequest::cancel() {
    if (auto c = m_call.lock()) c->cancel(kErrCancelled);
}

bool HttpRequest::running() const {
    auto c = m_call.lock();
    return c && c->phase != Call::Phase::Ended;
}

bool HttpRequest::reading() const {
    auto c = m_call.lock();
    return c && c->reading();
}

void HttpRequest::stopReadingAsAnswered() {
    auto c = m_call.lock();
    if (!c || !c->reading()) return;
    transport::abandon(*c->transfer);
    c->text.clear();
    c->bytes.clear();
    c->result.ok = true;
    c->finish();
}

HttpRequest Start_Http_Request(HttpRequestSpec spec, Deadline deadline, HttpDone done) {
    auto call = std::make_shared<HttpRequest::Call>();
    call->spec = std::move(spec);
    call->deadline = deadline;
    call->done = std::move(done);
    inFlight().insert(call);
    call->begin();
    return HttpRequest(call);
}

bool Is_Page_Status(const std::string& status, int noPageFromStatus) {
    if (noPageFromStatus <= 0) return true;
    return static_cast<long>(vb::Val(status)) < noPageFromStatus;
}

void Run_Later(std::function<void()> f) { postToEventLoop(std::move(f)); }

size_t Requests_In_Flight() { return inFlight().size(); }

void Cancel_All_Requests() {
    const auto calls = inFlight();
    for (const auto& c : calls) c->cancel(kErrCancelled);
}

}  // namespace modWinInet
