// wininet.cpp — modWinInet: the session, the settings and the waiting form of a request.
//
// The work of a request is done by a started request (http_request.cpp) on the transfer engine
// (http_transport.cpp); Http_Request takes the shared inputs, starts it, yields until its own
// answer has come and copies that answer into the shared fields for its caller.
#include "service/wininet.h"

#include <cstdlib>

#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "platform/timers.h"
#include "service/http_transport.h"

namespace modWinInet {
namespace {

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

std::shared_ptr<transport::Session> g_session;
long g_nextSessionHandle = 0;
TransportSettings g_settings;
bool g_settingsRead = false;

// The headers of the last response Http_Request returned (for Http_Query_Header).
std::vector<std::string> g_lastHeaderLines;

std::vector<std::string> headerLinesOf(const std::string& raw) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < raw.size()) {
        size_t end = raw.find("\r\n", from);
        end = end == std::string::npos ? raw.size() : end + 2;
        lines.push_back(raw.substr(from, end - from));
        from = end;
    }
    return lines;
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
    Cancel_All_Requests();
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
    g_lastHeaderLines.clear();
    Reset_Cookie_Jar_For_Tests();
}

// ---- Session ------------------------------------------------------------------------------------

bool Http_Open_Session() {
    auto s = transport::openSession(HttpUserAgent.empty() ? modTLMain::DefaultUserAgent : HttpUserAgent);
    if (!s) return false;
    g_session = s;
    hInternetSession = ++g_nextSessionHandle;
    return true;
}

std::shared_ptr<transport::Session> Current_Session(const std::string& userAgent) {
    if (hInternetSession == 0 || !g_session) {
        // The session is opened once; a user agent given later is not sent.
        auto s = transport::openSession(userAgent);
        if (!s) return nullptr;
        g_session = s;
        hInternetSession = ++g_nextSessionHandle;
    }
    return g_session;
}

// ---- Small routines -------------------------------------------------------------------------------

std::string Strip_URL_Scheme(const std::string& URL) {
    if (URL.rfind("http://", 0) == 0) return URL.substr(7);
    if (URL.rfind("https://", 0) == 0) return URL.substr(8);
    return URL;
}

// ---- The request, waited for -------------------------------------------------------------------------

void Publish_Result(const HttpResult& r) {
    HttpStatus = r.status;
    HttpRawHeaders = r.rawHeaders;
    HttpContentLength = r.contentLength;
    HttpContentEncoding = r.contentEncoding;
    HttpRedirectURL = r.redirectURL;
    HttpLastError = r.lastError;
    PageHTML = r.body;
    HttpBinaryData = r.bytes;
    g_lastHeaderLines = headerLinesOf(r.rawHeaders);
}

bool Http_Request(std::string&& URL, const std::string& Method, const std::string& CookieUser, long Flags,
                  const std::string& UserAgent) {
    std::string url = std::move(URL);
    return Http_Request(url, Method, CookieUser, Flags, UserAgent, Deadline::none());
}

bool Http_Request(std::string& URL, const std::string& Method, const std::string& CookieUser, long Flags,
                  const std::string& UserAgent) {
    return Http_Request(URL, Method, CookieUser, Flags, UserAgent, Deadline::none());
}

bool Http_Request(std::string& URL, const std::string& Method, const std::string& CookieUser, long Flags,
                  const std::string& UserAgent, Deadline deadline) {
    HttpUserAgent = UserAgent.empty() ? modTLMain::DefaultUserAgent : UserAgent;

    // The shared inputs are taken now; the two switches count for this request only.
    HttpRequestSpec spec;
    spec.url = URL;
    // The caller's URL loses its scheme before the body is taken: URL may be HttpPostData itself
    // (the bid confirm request does so), and then the body goes without the scheme too.
    URL = Strip_URL_Scheme(URL);
    spec.method = Method;
    spec.cookieUser = CookieUser;
    spec.flags = Flags;
    spec.userAgent = HttpUserAgent;
    spec.postData = Method != "GET" ? HttpPostData : std::string();
    spec.binary = HttpBinaryMode == 1;
    if (HttpShowProgress == 1)
        spec.progress = [](long percent) { Messages::SetProgressText(std::to_string(percent) + " %"); };
    spec.stopsWithListRefresh = true;
    HttpBinaryMode = 0;
    HttpShowProgress = 0;

    // Nothing of an earlier response is left to be taken for this one's.
    PageHTML.clear();
    HttpRedirectURL.clear();
    HttpLastError.clear();

    Answer<HttpResult> answer;
    HttpRequest request = Start_Http_Request(std::move(spec), deadline, answer.receiver());
    const auto listStopped = [] {
        return TLMainState::CancelUpdate && (TLMainState::UpdateBusy || TLMainState::SelectedUpdateBusy);
    };
    // The user's stop of a list refresh ends a page read at once (the request is answered, empty).
    platform::timers().waitUntil([&] { return answer.has_value() || (request.reading() && listStopped()); },
                                 24LL * 3600 * 1000);
    if (!answer.has_value()) request.stopReadingAsAnswered();
    const HttpResult r = answer.wait();
    Publish_Result(r);
    return r.ok;
}

// ---- Headers of the last answer -----------------------------------------------------------------------

std::string Http_Query_Header(long InfoLevel) {
    long index = 0;
    return Http_Query_Header(InfoLevel, index);
}

std::string Http_Query_Header(long InfoLevel, long& Index) {
    if (g_lastHeaderLines.empty()) return {};
    bool found = false;
    std::string value;
    switch (InfoLevel) {
    case kQueryStatusCode:
        return HttpStatus;
    case kQueryRawHeadersCrLf: {
        std::string raw;
        for (const auto& l : g_lastHeaderLines) raw += l;
        return raw;
    }
    case kQueryContentLength:
        value = transport::headerValue(g_lastHeaderLines, "Content-Length", Index, found);
        break;
    case kQueryContentEncoding:
        value = transport::headerValue(g_lastHeaderLines, "Content-Encoding", Index, found);
        break;
    case kQueryLocation:
        value = transport::headerValue(g_lastHeaderLines, "Location", Index, found);
        break;
    default:
        return {};
    }
    if (found) ++Index;
    return value;
}

}  // namespace modWinInet
