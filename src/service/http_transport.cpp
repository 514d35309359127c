#include "service/http_transport.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "foundation/vb.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/wininet.h"

namespace modWinInet::transport {

using vb::vbCrLf;

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
        if (t->notify) t->notify();
    }
    if (any) platform::timers().wake();
}


namespace {

// ---- Curl callbacks: record and notify, nothing else -------------------------------------------

size_t headerCallback(char* data, size_t size, size_t count, void* userp) {
    auto* t = static_cast<Transfer*>(userp);
    const size_t n = size * count;
    std::string line(data, n);
    t->lastActivity = platform::clock().tickMs();
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
        if (t->notify) t->notify();
    }
    return n;
}

size_t writeCallback(char* data, size_t size, size_t count, void* userp) {
    auto* t = static_cast<Transfer*>(userp);
    const size_t n = size * count;
    t->lastActivity = platform::clock().tickMs();
    if (!t->keepBody) return 0;  // the body is not wanted: end the transfer here
    t->body.append(data, n);
    if (t->notify) t->notify();
    return n;
}

int debugCallback(CURL*, curl_infotype type, char*, size_t, void* userp) {
    auto* t = static_cast<Transfer*>(userp);
    if (type == CURLINFO_HEADER_OUT) t->requestSent = true;
    return 0;
}

}  // namespace

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

// Percent-escapes what may not stand in a request target (blanks, controls, bytes above 126).
static std::string escapeTarget(const std::string& object) {
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


// Starts one hop's transfer. Returns nullptr only when curl cannot make a handle.
std::unique_ptr<Transfer> startTransfer(const std::shared_ptr<Session>& session, const Hop& hop,
                                        bool exactPost, const std::string& postBody, long flags,
                                        const std::string& cookieHeader, bool keepBody) {
    auto t = std::make_unique<Transfer>();
    t->session = session;
    t->easy = curl_easy_init();
    if (!t->easy) return nullptr;
    t->host = vb::LCase(hostOnly(hop.hostPort));
    t->keepBody = keepBody;
    t->lastActivity = platform::clock().tickMs();
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
    {
        std::string cookie = cookieHeader;
        while (!cookie.empty() && (cookie.back() == '\n' || cookie.back() == '\r')) cookie.pop_back();
        if (!cookie.empty()) lines.push_back(cookie);
    }
    // Curl's own form type goes unless the method is exactly "POST"; no "Expect: 100-continue".
    if (hop.post && !exactPost) lines.push_back("Content-Type:");
    lines.push_back("Expect:");
    for (const auto& l : lines) t->headerList = curl_slist_append(t->headerList, l.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headerList);

    if (hop.post) {
        // A POST goes out once. On a kept-alive connection that the server has dropped, curl
        // would send it again on a new one: a POST always takes a connection of its own.
        curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
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

bool bodyBrokeOff(const Transfer& t) { return !t.abandoned && (t.timedOut || t.result != CURLE_OK); }

std::string Transfer::take(size_t n) {
    n = std::min(n, available());
    std::string piece = body.substr(bodyTaken, n);
    bodyTaken += n;
    if (bodyTaken == body.size()) {
        body.clear();
        bodyTaken = 0;
    }
    return piece;
}

std::shared_ptr<Session> openSession(const std::string& userAgent) {
    auto s = std::make_shared<Session>(userAgent);
    if (!s->open()) return nullptr;
    return s;
}

const std::string& sessionUserAgent(const Session& s) { return s.userAgent(); }

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

}  // namespace modWinInet::transport
