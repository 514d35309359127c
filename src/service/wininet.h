// wininet.h — modWinInet: the program's one HTTP client, with its own cookie jar (tl2upsc.dat).
//
// Http_Request performs one request and leaves the response in the shared fields below; the
// caller reads them straight after the call. While it waits it yields to the event loop
// (platform::timers().waitUntil), so timer handlers may run — and may start another request.
// Every request has its own result: Http_Request takes HttpPostData, HttpBinaryMode and
// HttpShowProgress when it starts and copies its own answer into the shared fields when it returns
// to its caller, so a request nested inside its wait cannot change what its caller reads.
// Work that nothing may hold up starts its requests with Start_Http_Request (http_request.h).
// Everything runs on the UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/cookie_jar.h"
#include "service/http_request.h"
#include "service/page_globals.h"

namespace modWinInet {

namespace transport {
class Session;
}

// ---- Flag bits of Http_Request ----------------------------------------------------------------
inline constexpr long kFlagHttps = 1;            // port 443 and TLS; without it port 80, plain HTTP
inline constexpr long kFlagFollowRedirects = 2;  // without it a 301/302 comes back with HttpRedirectURL
inline constexpr long kFlagReadBody = 4;         // read the body into PageHTML (or HttpBinaryData)
inline constexpr long kFlagAcceptGzip = 8;       // send "Accept-Encoding: gzip, Deflate"

// ---- Shared request fields (the caller writes them before a call) -----------------------------
inline std::string HttpURL;          // the URL most callers pass; after the call without its scheme
inline std::string HttpPostData;     // form body, sent when the method is not "GET"
inline int32_t HttpBinaryMode = 0;   // 1 = body into HttpBinaryData; taken and set back to 0 by the next request
inline int32_t HttpShowProgress = 0; // 1 = percentage on the message dialog; taken and set back to 0 likewise

// ---- Shared response fields (Http_Request writes them) ----------------------------------------
inline std::string HttpStatus;           // "200", "302"; "" until a response came
inline std::string HttpRawHeaders;       // status line first, CRLF-separated, blank line last
inline std::string HttpContentLength;    // Content-Length of the last response ("" when absent)
inline std::string HttpContentEncoding;  // Content-Encoding of the last response
inline std::string HttpRedirectURL;      // Location of a 301/302 response, else ""
inline std::string HttpLastError;        // last error number after the last send ("12007"), else ""
inline std::vector<unsigned char> HttpBinaryData;  // body of the last binary response
using modPageParser::PageHTML;           // body of the last text response (a page global)

inline std::string CookiePersistentRaw;  // raw section texts last read from the jar
inline std::string CookieSessionRaw;
inline std::string HttpUserAgent;        // user agent of the open session

// The session: 0 when none. Set it to 0 to have the next request open a fresh session
// (new user agent, new connections). The main window's unload closes it (Close_Session).
inline long hInternetSession = 0;
inline long hInternetConnect = 0;  // non-zero only while a request is in progress
inline long hHttpRequest = 0;

// ---- Requests ---------------------------------------------------------------------------------
// One request, waited for. URL may begin with "http://" or "https://" and is rewritten without it.
// Method "GET" sends a GET; any other text a POST of HttpPostData. CookieUser "" sends and stores
// no cookies. UserAgent "" means modTLMain::DefaultUserAgent. True when a response was received,
// whatever its status. URL may be HttpPostData itself (the bid confirm request does so).
bool Http_Request(std::string& URL, const std::string& Method, const std::string& CookieUser,
                  long Flags, const std::string& UserAgent = {});
// The same for a URL the caller does not keep.
bool Http_Request(std::string&& URL, const std::string& Method, const std::string& CookieUser,
                  long Flags, const std::string& UserAgent = {});
// The same with the caller's deadline: a request still running then fails with 12002.
bool Http_Request(std::string& URL, const std::string& Method, const std::string& CookieUser, long Flags,
                  const std::string& UserAgent, Deadline deadline);
// Copies a request's own result into the shared response fields (what Http_Request does when it
// returns).
void Publish_Result(const HttpResult& r);

// Opens the session with HttpUserAgent; true when it could be opened.
bool Http_Open_Session();
// Closes the session (the main window's unload): every request still in flight ends as
// cancelled; the next request opens a new session.
void Close_Session();
// The session's transfer engine (opened when there is none); nullptr when it cannot be opened.
std::shared_ptr<transport::Session> Current_Session(const std::string& userAgent);

// The header query of the last response that Http_Request returned.
// Info levels: 19 status code, 22 raw headers, 5 Content-Length, 29 Content-Encoding, 33 Location.
inline constexpr long kQueryStatusCode = 19;
inline constexpr long kQueryRawHeadersCrLf = 22;
inline constexpr long kQueryContentLength = 5;
inline constexpr long kQueryContentEncoding = 29;
inline constexpr long kQueryLocation = 33;
std::string Http_Query_Header(long InfoLevel, long& Index);
std::string Http_Query_Header(long InfoLevel);

// Removes a leading "http://" or else "https://" (case-sensitive); other URLs unchanged.
std::string Strip_URL_Scheme(const std::string& URL);

// ---- System error numbers the client reports in HttpLastError ---------------------------------
inline constexpr long kErrTimeout = 12002;
inline constexpr long kErrNameNotResolved = 12007;
inline constexpr long kErrCannotConnect = 12029;
inline constexpr long kErrConnectionAborted = 12030;
inline constexpr long kErrInvalidCA = 12045;
inline constexpr long kErrCancelled = 12017;        // cancelled, or the session closed
inline constexpr long kErrBadContent = 12004;       // a gzip body that does not decode
inline constexpr long kErrBodyTooLarge = 8;         // a body beyond the client's cap

// ---- Settings for tests -------------------------------------------------------------------
struct TransportSettings {
    long connectTimeoutMs = 20000;   // connect
    long textStallMs = 60000;        // a text transfer with no progress for this long fails (12002)
    long binaryStallMs = 30000;      // a binary transfer without data for this long fails (12002)
    std::string connectTo;           // curl CONNECT_TO entries joined by ";" (env TOLVANE_CONNECT_TO)
    std::string caFile;              // CA bundle (env CURL_CA_BUNDLE / SSL_CERT_FILE), "" = system
    std::vector<std::string> unknownHosts;  // tests: host names taken as not found (no lookup made)
};
// The settings in force (read from the environment on first use).
TransportSettings& Settings();
// Puts the settings back to the environment's and drops the session and its connections.
void ResetForTests();

}  // namespace modWinInet
