// wininet.cpp — modWinInet: requests over libcurl's multi interface, driven on the UI thread.
//
// A session is one curl multi handle (its connection cache keeps connections alive between
// requests) with the user agent it was opened with. Its sockets are watched by QSocketNotifiers
// and its timeouts by a QTimer, so every transfer moves whenever the event loop runs — also in a
// wait nested inside another request's wait. Curl's callbacks only record what came and wake the
// waiting loop; they never run the event loop (curl refuses calls from inside its callbacks).
//
// Redirects are followed here, not by curl, so each hop gets the cookie header of its own host.
#include "service/wininet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/zlib_codec.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/national_sites.h"
#include "service/private_profile.h"


namespace modWinInet {
namespace {

using vb::vbCrLf;

constexpr int kMaxRedirectHops = 10;
constexpr size_t kTextPiece = 2048;
constexpr size_t kBinaryPiece = 8192;

qint64 realMs() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t.elapsed();
}

std::string envText(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

TransportSettings settingsFromEnvironment() {
    TransportSettings s;
    s.connectTo = envText("TOLVANE_CONNECT_TO");
    s.caFile = envText("CURL_CA_BUNDLE");
    if (s.caFile.empty()) s.caFile = envText("SSL_CERT_FILE");
    return s;
}

// ---- One transfer: one easy handle, one response --------------------------------------------

class Session;

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
    std::string body;             // bytes received and not yet read
    size_t bodyTaken = 0;
    bool done = false;
    CURLcode result = CURLE_OK;
    bool timedOut = false;        // ended by our stall bound
    bool abandoned = false;       // ended by us (body not wanted, or cancelled)
    qint64 lastActivity = 0;

    ~Transfer();
    size_t available() const { return body.size() - bodyTaken; }
};

// ---- The session: the multi handle and its event-loop watches -------------------------------

class Session : public std::enable_shared_from_this<Session> {
public:
    explicit Session(std::string userAgent) : m_userAgent(std::move(userAgent)) {}
    ~Session();
    bool open();
    const std::string& userAgent() const { return m_userAgent; }
    long handle = 0;

    void attach(Transfer& t);
    void detach(Transfer& t);

private:
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };
    static int socketCallback(CURL* easy, curl_socket_t s, int what, void* userp, void* socketp);
    static int timerCallback(CURLM* multi, long timeoutMs, void* userp);
    void setWatch(curl_socket_t s, int what);
    void dropWatch(curl_socket_t s);
    void onSocket(curl_socket_t s, int event);
    void onTimeout();
    void collectDone();

    CURLM* m_multi = nullptr;
    std::string m_userAgent;
    QTimer* m_timer = nullptr;
    std::map<curl_socket_t, Watch> m_watches;
    int m_inCurl = 0;
};

Transfer::~Transfer() {
    if (attached && session) session->detach(*this);
    if (easy) curl_easy_cleanup(easy);
    if (headerList) curl_slist_free_all(headerList);
    if (connectToList) curl_slist_free_all(connectToList);
}

Session::~Session() {
    if (m_timer) {
        m_timer->stop();
        delete m_timer;
    }
    for (auto& [s, w] : m_watches) {
        delete w.read;
        delete w.write;
    }
    m_watches.clear();
    if (m_multi) curl_multi_cleanup(m_multi);
}

bool Session::open() {
    static const bool globalInit = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!globalInit) return false;
    m_multi = curl_multi_init();
    if (!m_multi) return false;
    m_timer = new QTimer();
    m_timer->setSingleShot(true);
    QObject::connect(m_timer, &QTimer::timeout, [this] { onTimeout(); });
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &Session::socketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &Session::timerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
    return true;
}

void Session::attach(Transfer& t) {
    ++m_inCurl;
    const CURLMcode rc = curl_multi_add_handle(m_multi, t.easy);
    --m_inCurl;
    if (rc == CURLM_OK) {
        t.attached = true;
    } else {
        t.done = true;
        t.result = CURLE_FAILED_INIT;
    }
}

void Session::detach(Transfer& t) {
    if (!t.attached) return;
    ++m_inCurl;
    curl_multi_remove_handle(m_multi, t.easy);
    --m_inCurl;
    t.attached = false;
}

int Session::socketCallback(CURL*, curl_socket_t s, int what, void* userp, void*) {
    auto* self = static_cast<Session*>(userp);
    if (what == CURL_POLL_REMOVE) self->dropWatch(s);
    else self->setWatch(s, what);
    return 0;
}

int Session::timerCallback(CURLM*, long timeoutMs, void* userp) {
    auto* self = static_cast<Session*>(userp);
    if (timeoutMs < 0) self->m_timer->stop();
    // At least 1 ms: a zero-interval timer puts Qt's glib timer source into its idle mode, in
    // which a wait for more events may sleep past other timers' deadlines.
    else self->m_timer->start(static_cast<int>(std::clamp<long>(timeoutMs, 1, 24L * 3600 * 1000)));
    return 0;
}

void Session::setWatch(curl_socket_t s, int what) {
    Watch& w = m_watches[s];
    const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    if (!w.read) {
        w.read = new QSocketNotifier(static_cast<qintptr>(s), QSocketNotifier::Read);
        QObject::connect(w.read, &QSocketNotifier::activated,
                         [this, s] { onSocket(s, CURL_CSELECT_IN); });
    }
    if (!w.write) {
        w.write = new QSocketNotifier(static_cast<qintptr>(s), QSocketNotifier::Write);
        QObject::connect(w.write, &QSocketNotifier::activated,
                         [this, s] { onSocket(s, CURL_CSELECT_OUT); });
    }
    w.read->setEnabled(wantRead);
    w.write->setEnabled(wantWrite);
}

void Session::dropWatch(curl_socket_t s) {
    auto it = m_watches.find(s);
    if (it == m_watches.end()) return;
    // The notifier may be the one whose signal is being delivered: disable now, delete later.
    for (QSocketNotifier* n : {it->second.read, it->second.write}) {
        if (!n) continue;
        n->setEnabled(false);
        n->deleteLater();
    }
    m_watches.erase(it);
}

void Session::onSocket(curl_socket_t s, int event) {
    if (m_inCurl) return;  // never re-enter curl
    auto keep = shared_from_this();
    int running = 0;
    ++m_inCurl;
    curl_multi_socket_action(m_multi, s, event, &running);
    --m_inCurl;
    collectDone();
}

void Session::onTimeout() {
    if (m_inCurl) {
        m_timer->start(1);
        return;
    }
    auto keep = shared_from_this();
    int running = 0;
    ++m_inCurl;
    curl_multi_socket_action(m_multi, CURL_SOCKET_TIMEOUT, 0, &running);
    --m_inCurl;
    collectDone();
}

void Session::collectDone() {
    int left = 0;
    bool any = false;
    while (CURLMsg* msg = curl_multi_info_read(m_multi, &left)) {
        if (msg->msg != CURLMSG_DONE) continue;
        Transfer* t = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&t));
        const CURLcode result = msg->data.result;
        if (!t) continue;
        detach(*t);
        t->done = true;
        t->result = result;
        any = true;
    }
    if (any) platform::timers().wake();
}

std::shared_ptr<Session> g_session;
long g_nextSessionHandle = 0;
TransportSettings g_settings;
bool g_settingsRead = false;

// The request whose headers and body the header query and the public readers use.
Transfer* g_current = nullptr;

// ---- Curl callbacks: record and wake, nothing else -------------------------------------------

size_t headerCallback(char* data, size_t size, size_t count, void* userp) {
    auto* t = static_cast<Transfer*>(userp);
    const size_t n = size * count;
    std::string line(data, n);
    t->lastActivity = realMs();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.rfind("HTTP/", 0) == 0) {
        // A new response begins (after a 100 Continue, say): its headers replace what came.
        t->headerLines.clear();
        const size_t sp = line.find(' ');
        t->status = sp == std::string::npos ? 0 : std::atol(line.c_str() + sp + 1);
    }
    t->headerLines.push_back(line + vbCrLf);
    if (line.empty() && t->status >= 200) {
        t->headersDone = true;
        platform::timers().wake();
    }
    return n;
}

size_t writeCallback(char* data, size_t size, size_t count, void* userp) {
    auto* t = static_cast<Transfer*>(userp);
    const size_t n = size * count;
    t->lastActivity = realMs();
    if (!t->keepBody) return 0;  // the body is not wanted: end the transfer here
    t->body.append(data, n);
    platform::timers().wake();
    return n;
}

int debugCallback(CURL*, curl_infotype type, char*, size_t, void* userp) {
    auto* t = static_cast<Transfer*>(userp);
    if (type == CURLINFO_HEADER_OUT) t->requestSent = true;
    return 0;
}

// The system error number of a transfer that ended without an answer.
long errorNumber(const Transfer& t) {
    if (t.timedOut) return kErrTimeout;
    switch (t.result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return kErrNameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return kErrCannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return kErrTimeout;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return kErrInvalidCA;
    default:
        return kErrConnectionAborted;
    }
}

void abandon(Transfer& t) {
    if (t.done) return;
    if (t.session) t.session->detach(t);
    t.done = true;
    t.abandoned = true;
}

// Yields until cond() holds or the transfer ends; a transfer without any progress for stallMs
// is ended as timed out.
void waitTransfer(Transfer& t, const std::function<bool()>& cond, long stallMs) {
    auto stalled = [&] { return realMs() - t.lastActivity > stallMs; };
    for (;;) {
        if (cond() || t.done) return;
        if (stalled()) {
            abandon(t);
            t.abandoned = false;
            t.timedOut = true;
            return;
        }
        platform::timers().waitUntil([&] { return cond() || t.done || stalled(); }, 200);
    }
}

// Percent-escapes what may not stand in a request target (blanks, controls, bytes above 126).
std::string escapeTarget(const std::string& object) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : object) {
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' ||
            c == '`' || c == '{' || c == '|' || c == '}') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool validHost(const std::string& host) {
    if (host.empty()) return false;
    for (unsigned char c : host)
        if (!(std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']'))
            return false;
    return true;
}

std::string hostOnly(const std::string& hostPort) {
    if (!hostPort.empty() && hostPort[0] == '[') return hostPort.substr(0, hostPort.find(']') + 1);
    return hostPort.substr(0, hostPort.find(':'));
}

struct Hop {
    bool secure = false;
    std::string hostPort;  // as in the URL
    std::string target;    // "/path?query"
    bool post = false;
};

// Starts one hop's transfer. Returns nullptr only when curl cannot make a handle.
std::unique_ptr<Transfer> startTransfer(const std::shared_ptr<Session>& session, const Hop& hop,
                                        bool exactPost, const std::string& postBody, long flags,
                                        const std::string& cookieUser, bool keepBody) {
    auto t = std::make_unique<Transfer>();
    t->session = session;
    t->easy = curl_easy_init();
    if (!t->easy) return nullptr;
    t->host = vb::LCase(hostOnly(hop.hostPort));
    t->keepBody = keepBody;
    t->lastActivity = realMs();
    CURL* e = t->easy;
    const std::string url = std::string(hop.secure ? "https://" : "http://") + hop.hostPort + escapeTarget(hop.target);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, t.get());
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_USERAGENT, session->userAgent().c_str());
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, Settings().connectTimeoutMs);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!Settings().caFile.empty()) curl_easy_setopt(e, CURLOPT_CAINFO, Settings().caFile.c_str());
    for (const std::string& entry : vb::Split(Settings().connectTo, ";"))
        if (!vb::Trim(entry).empty()) t->connectToList = curl_slist_append(t->connectToList, vb::Trim(entry).c_str());
    if (t->connectToList) curl_easy_setopt(e, CURLOPT_CONNECT_TO, t->connectToList);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &headerCallback);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, t.get());
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &writeCallback);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &debugCallback);
    curl_easy_setopt(e, CURLOPT_DEBUGDATA, t.get());
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);

    // The request headers, in this order.
    std::vector<std::string> lines = {"Accept: */*", "Accept-Language: en-us"};
    if (flags & kFlagAcceptGzip) lines.push_back("Accept-Encoding: gzip, Deflate");
    lines.push_back("Connection: Keep-Alive");
    if (hop.post && exactPost) lines.push_back("Content-Type: application/x-www-form-urlencoded");
    if (!cookieUser.empty() && Cookie_Host_Allowed(t->host)) {
        std::string cookie = Get_Cookie_Header(cookieUser);
        while (!cookie.empty() && (cookie.back() == '\n' || cookie.back() == '\r')) cookie.pop_back();
        if (!cookie.empty()) lines.push_back(cookie);
    }
    // Curl's own form type goes unless the method is exactly "POST"; no "Expect: 100-continue".
    if (hop.post && !exactPost) lines.push_back("Content-Type:");
    lines.push_back("Expect:");
    for (const auto& l : lines) t->headerList = curl_slist_append(t->headerList, l.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headerList);

    if (hop.post) {
        curl_easy_setopt(e, CURLOPT_POST, 1L);
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody.size()));
        curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, postBody.c_str());
    } else {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    }
    for (const auto& unknown : Settings().unknownHosts) {
        if (vb::EqualText(unknown, t->host)) {
            t->done = true;
            t->result = CURLE_COULDNT_RESOLVE_HOST;
            return t;
        }
    }
    session->attach(*t);
    if (!t->done) platform::timers().wake();
    return t;
}

bool isFollowedRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string headerValue(const std::vector<std::string>& lines, const std::string& name, long index,
                        bool& found) {
    long seen = 0;
    found = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        const size_t colon = l.find(':');
        if (colon == std::string::npos) continue;
        if (!vb::EqualText(vb::Trim(l.substr(0, colon)), name)) continue;
        if (seen++ < index) continue;
        found = true;
        std::string v = l.substr(colon + 1);
        while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.pop_back();
        return vb::Trim(v);
    }
    return {};
}

// The outcome of the send step: the final response's transfer, or an error.
struct SendResult {
    std::unique_ptr<Transfer> transfer;  // set when a response came
    long error = 0;
    bool reachedServer = false;          // the request (or an earlier hop's) left for the server
};

SendResult sendRequest(const std::shared_ptr<Session>& session, Hop hop, bool exactPost,
                       const std::string& postBody, long flags, const std::string& cookieUser) {
    SendResult r;
    const bool follow = (flags & kFlagFollowRedirects) != 0;
    const bool readBody = (flags & kFlagReadBody) != 0;
    for (int hopNo = 0;; ++hopNo) {
        const bool mayFollow = follow && hopNo < kMaxRedirectHops;
        auto t = startTransfer(session, hop, exactPost, postBody, flags, cookieUser, readBody || mayFollow);
        if (!t) {
            r.error = kErrConnectionAborted;
            return r;
        }
        waitTransfer(*t, [&] { return t->headersDone; }, Settings().textStallMs);
        if (!t->headersDone) {
            r.error = errorNumber(*t);
            r.reachedServer = r.reachedServer || t->requestSent;
            return r;
        }
        r.reachedServer = true;
        bool found = false;
        const std::string location = headerValue(t->headerLines, "Location", 0, found);
        if (!(mayFollow && isFollowedRedirect(t->status) && !location.empty())) {
            r.transfer = std::move(t);
            return r;
        }
        // Follow: let the short redirect body drain so the connection stays alive.
        waitTransfer(*t, [&] { return t->done; }, Settings().textStallMs);
        const QString base = QString::fromStdString(std::string(hop.secure ? "https://" : "http://") + hop.hostPort +
                                                    hop.target);
        const QUrl next = QUrl(base).resolved(QUrl(QString::fromStdString(location)));
        if (!next.isValid() || (next.scheme() != "http" && next.scheme() != "https") || next.host().isEmpty()) {
            r.transfer = std::move(t);
            return r;
        }
        Hop n;
        n.secure = next.scheme() == "https";
        n.hostPort = next.host(QUrl::FullyEncoded).toStdString();
        if (next.port() > 0) n.hostPort += ":" + std::to_string(next.port());
        n.target = next.path(QUrl::FullyEncoded).toStdString();
        if (n.target.empty()) n.target = "/";
        if (next.hasQuery()) n.target += "?" + next.query(QUrl::FullyEncoded).toStdString();
        // A 301, 302 or 303 answer to a POST is followed with a GET; 307 and 308 keep the POST.
        n.post = hop.post && (t->status == 307 || t->status == 308);
        hop = n;
    }
}

bool cancelRequested() {
    return TLMainState::CancelUpdate && (TLMainState::UpdateBusy || TLMainState::SelectedUpdateBusy);
}

// ---- The HTTP trace Debug/HttpLog.txt ---------------------------------------------------------

// A password never reaches the trace: the value after each "pass=" is blanked out.
std::string Mask_Password(std::string text) {
    size_t from = 0;
    for (;;) {
        const long at = vb::InStr(static_cast<long>(from) + 1, text, "pass=", vb::Text);
        if (at == 0) return text;
        const size_t start = static_cast<size_t>(at) - 1 + 5;
        size_t end = text.find_first_of("&\r\n ", start);
        if (end == std::string::npos) end = text.size();
        text.replace(start, end - start, "********");
        from = start + 8;
    }
}

class Trace {
public:
    void open() {
        if (modTLMain::FirstRunSetup != 0 || !modDebug::DebugOutput || !mainWindow().menuChecked("MnuDBHttpEnabled")) return;
        m_file.setFileName(QString::fromStdString(modTLMain::DataFolder + "Debug/HttpLog.txt"));
        if (!m_file.open(QIODevice::Append | QIODevice::WriteOnly)) return;
    }
    bool isOpen() const { return m_file.isOpen(); }
    void line(const std::string& raw) {
        if (!m_file.isOpen()) return;
        const std::string text = Mask_Password(raw);
        m_file.write(text.data(), static_cast<qint64>(text.size()));
        m_file.write("\r\n", 2);
    }
    void close() { m_file.close(); }

private:
    QFile m_file;
};

// Restores the request that was current before a (possibly nested) request.
struct CurrentRequest {
    Transfer* saved;
    explicit CurrentRequest(Transfer* t) : saved(g_current) { g_current = t; }
    ~CurrentRequest() { g_current = saved; }
    void set(Transfer* t) { g_current = t; }
};

bool gunzip(std::string& data) {
    static ZLIB* codec = nullptr;  // made on the first gzip response and kept
    if (!codec) codec = new ZLIB();
    return codec->UncompressString(data, ZLIB::kGzipFormat) == 0;
}

bool bodyBrokeOff(const Transfer& t) { return !t.abandoned && (t.timedOut || t.result != CURLE_OK); }

// How a body read ended: 0 when whole (or cancelled), else the error number.
long readEnd(Transfer& t) {
    t.body.clear();
    t.bodyTaken = 0;
    return bodyBrokeOff(t) ? errorNumber(t) : 0;
}

// Reads the transfer's body as text in 2048-byte pieces, running the event loop before each.
// A cancel of a running list refresh ends it at once with "".
std::string readText(Transfer& t, long& error) {
    error = 0;
    std::string text;
    for (;;) {
        platform::timers().doEvents();
        if (cancelRequested()) {
            abandon(t);
            return {};
        }
        if (t.available() > 0) {
            const size_t n = std::min(kTextPiece, t.available());
            text.append(t.body, t.bodyTaken, n);
            t.bodyTaken += n;
            continue;
        }
        if (t.done) break;
        waitTransfer(t, [&] { return t.available() > 0 || cancelRequested(); }, Settings().textStallMs);
    }
    error = readEnd(t);
    return text;
}

// Reads the transfer's body into HttpBinaryData in 8192-byte pieces, running the event loop before
// each and showing the percentage when asked; then puts HttpBinaryMode and HttpShowProgress back.
// The bytes gather apart and go to HttpBinaryData at the end, so a request run meanwhile by a timer
// (which clears the shared fields) takes nothing of them.
void readBinary(Transfer& t, long& error) {
    std::vector<unsigned char> data;
    bool found = false;
    const double length = vb::Val(headerValue(t.headerLines, "Content-Length", 0, found));
    for (;;) {
        platform::timers().doEvents();
        if (t.available() > 0) {
            const size_t n = std::min(kBinaryPiece, t.available());
            data.insert(data.end(), t.body.begin() + static_cast<long>(t.bodyTaken),
                        t.body.begin() + static_cast<long>(t.bodyTaken + n));
            t.bodyTaken += n;
            if (HttpShowProgress == 1 && length > 0) {
                const long percent = vb::CLng(static_cast<double>(data.size()) / length * 100.0);
                Messages::SetProgressText(std::to_string(percent) + " %");
            }
            continue;
        }
        if (t.done) break;
        waitTransfer(t, [&] { return t.available() > 0; }, Settings().binaryStallMs);
    }
    HttpBinaryData = std::move(data);
    error = readEnd(t);
    HttpBinaryMode = 0;
    HttpShowProgress = 0;
}

}  // namespace

// ---- Settings -----------------------------------------------------------------------------------

TransportSettings& Settings() {
    if (!g_settingsRead) {
        g_settings = settingsFromEnvironment();
        g_settingsRead = true;
    }
    return g_settings;
}

void Close_Session() {
    g_session.reset();
    hInternetSession = 0;
}

void ResetForTests() {
    Close_Session();
    g_settings = settingsFromEnvironment();
    g_settingsRead = true;
    HttpURL.clear();
    HttpPostData.clear();
    HttpBinaryMode = 0;
    HttpShowProgress = 0;
    HttpStatus.clear();
    HttpRawHeaders.clear();
    HttpContentLength.clear();
    HttpContentEncoding.clear();
    HttpRedirectURL.clear();
    HttpLastError.clear();
    HttpBinaryData.clear();
    PageHTML.clear();
    CookiePersistentRaw.clear();
    CookieSessionRaw.clear();
    HttpUserAgent.clear();
}

// ---- Session ------------------------------------------------------------------------------------

bool Http_Open_Session() {
    auto s = std::make_shared<Session>(HttpUserAgent);
    if (!s->open()) return false;
    s->handle = ++g_nextSessionHandle;
    g_session = s;
    hInternetSession = s->handle;
    return true;
}

// ---- Small routines -------------------------------------------------------------------------------

std::string Strip_URL_Scheme(const std::string& URL) {
    if (URL.rfind("http://", 0) == 0) return URL.substr(7);
    if (URL.rfind("https://", 0) == 0) return URL.substr(8);
    return URL;
}

bool Cookie_Host_Allowed(const std::string& host) { return modTLMain::Is_Site_Host(host); }

std::string Cookie_File() { return modTLMain::DataFolder + "tl2upsc.dat"; }

// ---- The request -----------------------------------------------------------------------------------

bool Http_Request(std::string&& URL, const std::string& Method, const std::string& CookieUser, long Flags,
                  const std::string& UserAgent) {
    std::string url = std::move(URL);
    return Http_Request(url, Method, CookieUser, Flags, UserAgent);
}

bool Http_Request(std::string& URL, const std::string& Method, const std::string& CookieUser, long Flags,
                  const std::string& UserAgent) {
    HttpUserAgent = UserAgent.empty() ? modTLMain::DefaultUserAgent : UserAgent;

    Trace trace;
    trace.open();
    trace.line("");
    trace.line("Http Begin - " + URL + " - " + Method + " - " + CookieUser);
    trace.line("");

    // Nothing of an earlier response is left to be taken for this one's.
    PageHTML.clear();
    HttpRedirectURL.clear();
    HttpLastError.clear();
    HttpStatus.clear();
    HttpRawHeaders.clear();
    HttpContentLength.clear();
    HttpContentEncoding.clear();
    HttpBinaryData.clear();

    if (hInternetSession == 0 || !g_session || g_session->handle != hInternetSession) {
        if (!Http_Open_Session()) {
            modTLMain::Write_Op_Log("Can't Open Internet Session.");
            return false;
        }
    }
    const std::shared_ptr<Session> session = g_session;
    const bool secure = (Flags & kFlagHttps) != 0;

    URL = Strip_URL_Scheme(URL);
    const long slash = vb::InStr(URL, "/");
    if (slash <= 1) {
        modTLMain::Write_Op_Log("Bad Host Name in URL.");
        return false;
    }
    Hop hop;
    hop.secure = secure;
    hop.hostPort = vb::Left(URL, slash - 1);
    hop.target = vb::Mid(URL, slash);
    if (hop.target.empty()) {
        modTLMain::Write_Op_Log("Bad Host Object in URL.");
        return false;
    }
    if (!validHost(hop.hostPort)) {
        modTLMain::Write_Op_Log("Can't Connect to URL - 12005");
        return false;
    }
    hop.post = Method != "GET";
    const bool exactPost = Method == "POST";
    // The body is taken now: URL may be HttpPostData itself, already without its scheme.
    const std::string postBody = hop.post ? HttpPostData : std::string();

    CurrentRequest current(nullptr);
    hInternetConnect = session->handle;
    hHttpRequest = session->handle;
    struct CloseHandles {
        ~CloseHandles() {
            hInternetConnect = 0;
            hHttpRequest = 0;
        }
    } closeHandles;

    // Send, and send once more after a first failure that allows it.
    SendResult sent;
    int failures = 0;
    for (;;) {
        sent = sendRequest(session, hop, exactPost, postBody, Flags, CookieUser);
        HttpLastError = sent.transfer ? std::string() : std::to_string(sent.error);
        if (!sent.transfer && sent.error == kErrInvalidCA) {
            // A certificate that does not check out is never accepted.
            modTLMain::Write_Op_Log("Http Send Request Failed - " + HttpLastError);
            return false;
        }
        const long status = sent.transfer ? sent.transfer->status : 0;
        if (status == 401) modTLMain::Write_Op_Log("User Authentication Required.");
        if (status == 407) modTLMain::Write_Op_Log("Proxy Authorization Required.");
        if (sent.transfer) break;
        ++failures;
        if (sent.error == kErrNameNotResolved) {
            modTLMain::Write_Op_Log("Http Send Request Failed - No Internet Connection");
            return false;
        }
        // A POST that may have reached the server is never sent again (a bid goes once).
        if (failures >= 2 || (hop.post && sent.reachedServer)) {
            modTLMain::Write_Op_Log("Http Send Request Failed - " + HttpLastError);
            return false;
        }
        modTLMain::Wait_Seconds(2);
    }

    Transfer& t = *sent.transfer;
    current.set(&t);
    HttpStatus = Http_Query_Header(kQueryStatusCode);
    HttpRawHeaders = Http_Query_Header(kQueryRawHeadersCrLf);
    HttpContentLength = Http_Query_Header(kQueryContentLength);
    HttpContentEncoding = Http_Query_Header(kQueryContentEncoding);

    if (Cookie_Host_Allowed(t.host)) Store_Cookies(HttpRawHeaders, CookieUser);

    if (HttpStatus == "302" || HttpStatus == "301") HttpRedirectURL = Http_Query_Header(kQueryLocation);

    if (trace.isOpen()) {
        trace.line("");
        trace.line("Status Code = " + HttpStatus);
        trace.line("ReDirect URL = " + HttpRedirectURL);
        trace.line("Content Encoding = " + HttpContentEncoding);
        trace.line(HttpRawHeaders);
        trace.line(Get_Cookie_Header(CookieUser));
        trace.line("");
        trace.line("Http End - " + CookieUser);
        trace.line("");
        trace.close();
    }

    if (!(Flags & kFlagReadBody)) {
        abandon(t);
        return true;
    }
    long readError = 0;
    if (vb::UCase(HttpContentEncoding) == "GZIP") {
        if (HttpBinaryMode == 1) {
            readBinary(t, readError);
            std::string bytes(HttpBinaryData.begin(), HttpBinaryData.end());
            HttpBinaryData = !readError && gunzip(bytes) ? std::vector<unsigned char>(bytes.begin(), bytes.end())
                                                         : std::vector<unsigned char>();
        } else {
            PageHTML = readText(t, readError);
            // A body that does not inflate is no page.
            if (!readError && !gunzip(PageHTML)) PageHTML.clear();
        }
    } else if (HttpBinaryMode == 1) {
        readBinary(t, readError);
    } else {
        PageHTML = readText(t, readError);
    }
    if (readError) {
        // A body broken off is no page: nothing of it is kept.
        PageHTML.clear();
        HttpBinaryData.clear();
        modTLMain::Write_Op_Log("Http Read Failed - " + std::to_string(readError));
        return false;
    }
    return true;
}

// ---- Reading the body ---------------------------------------------------------------------------------

std::string Http_Read_Text() {
    long error = 0;
    return g_current ? readText(*g_current, error) : std::string();
}

void Http_Read_Binary() {
    long error = 0;
    if (g_current) {
        readBinary(*g_current, error);
    } else {
        HttpBinaryMode = 0;
        HttpShowProgress = 0;
    }
}

// ---- Headers ---------------------------------------------------------------------------------------------

std::string Http_Query_Header(long InfoLevel) {
    long index = 0;
    return Http_Query_Header(InfoLevel, index);
}

std::string Http_Query_Header(long InfoLevel, long& Index) {
    const Transfer* t = g_current;
    if (!t || !t->headersDone) return {};
    bool found = false;
    std::string value;
    switch (InfoLevel) {
    case kQueryStatusCode:
        return t->status ? std::to_string(t->status) : std::string();
    case kQueryRawHeadersCrLf: {
        std::string raw;
        for (const auto& l : t->headerLines) raw += l;
        return raw;
    }
    case kQueryContentLength:
        value = headerValue(t->headerLines, "Content-Length", Index, found);
        break;
    case kQueryContentEncoding:
        value = headerValue(t->headerLines, "Content-Encoding", Index, found);
        break;
    case kQueryLocation:
        value = headerValue(t->headerLines, "Location", Index, found);
        break;
    default:
        return {};
    }
    if (found) ++Index;
    return value;
}

// ---- Cookie jar ------------------------------------------------------------------------------------------

int32_t Cookie_Days_Left(const std::string& CookieText) {
    const long p = vb::InStr(CookieText, "Expires=", vb::Text);
    if (p == 0) return 0;
    const std::string text = vb::Trim(vb::Mid(CookieText, p + 12, 12));
    // "dd-Mmm-yyyy" or "dd Mmm yyyy"
    if (text.size() != 11 || !(text[2] == text[6]) || (text[2] != '-' && text[2] != ' ')) return 0;
    static const char* months[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (vb::EqualText(text.substr(3, 3), months[i])) month = i + 1;
    auto digits = [](const std::string& s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
    };
    if (!month || !digits(text.substr(0, 2)) || !digits(text.substr(7, 4))) return 0;
    const QDate expiry(std::atoi(text.substr(7, 4).c_str()), month, std::atoi(text.substr(0, 2).c_str()));
    if (!expiry.isValid()) return 0;
    return static_cast<int32_t>(platform::clock().now().date().daysTo(expiry));
}

void Store_Cookies(const std::string& RawHeaders, const std::string& CookieUser) {
    if (CookieUser.empty() || RawHeaders.empty()) return;
    const std::string file = Cookie_File();
    long pos = 1;
    for (;;) {
        const long hit = vb::InStr(pos, RawHeaders, "Set-Cookie:", vb::Text);
        if (hit == 0) break;
        const long end = vb::InStr(hit, RawHeaders, vbCrLf);
        if (end == 0) break;
        std::string cookie = vb::LTrim(vb::Mid(RawHeaders, hit + 11, end - hit - 11));
        pos = end;

        std::string section = CookieUser + " Session";
        if (vb::InStr(cookie, "Expires=", vb::Text) > 0) {
            section = CookieUser + " Persistent";
            if (Cookie_Days_Left(cookie) < 0) {
                const long eq = vb::InStr(cookie, "=");
                if (eq > 0 && vb::Left(cookie, eq - 1) == "sru") continue;
            }
        }
        const long semi = vb::InStr(cookie, ";");
        if (semi > 0) cookie = vb::Left(cookie, semi - 1);
        const long eq = vb::InStr(cookie, "=");
        if (eq == 0) continue;
        modPrivateProfile::Write_Profile_String(file, section, vb::Left(cookie, eq - 1), vb::Mid(cookie, eq + 1));
    }
}

namespace {
// The section's lines read with a growing buffer, NUL after each.
std::string readCookieSection(const std::string& section) {
    long size = 4096;
    std::string text;
    long count = modPrivateProfile::Get_Profile_Section(Cookie_File(), section, text, size);
    while (count == size - 2 && size * 2 < 32768) {
        size *= 2;
        count = modPrivateProfile::Get_Profile_Section(Cookie_File(), section, text, size);
    }
    return text;
}
}  // namespace

std::string Get_Cookie_Header(const std::string& CookieUser) {
    if (CookieUser.empty()) return {};
    CookiePersistentRaw = readCookieSection(CookieUser + " Persistent");
    CookieSessionRaw = readCookieSection(CookieUser + " Session");
    std::string joined = vb::Replace(CookiePersistentRaw + CookieSessionRaw, std::string_view("\0", 1), "; ");
    if (joined.empty()) return {};
    joined = vb::Left(joined, vb::Len(joined) - 2);
    return "Cookie: " + joined + vbCrLf;
}

void Clear_Cookies(const std::string& CookieUser) {
    modPrivateProfile::Delete_Profile_Section(Cookie_File(), CookieUser + " Session");
    modPrivateProfile::Delete_Profile_Section(Cookie_File(), CookieUser + " Persistent");
}

}  // namespace modWinInet
