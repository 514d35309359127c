// fake_service_time.h — the time references of the clock synchronisation, faked on 127.0.0.1:
// the service's time page (a route of the fake service) and a daytime server (TCP port 13).
//
// FakeDaytimeServer listens on a random port of 127.0.0.1 and answers each connection with the
// next scripted answer (then the default one): a reply line, silence until the client gives up, or
// a close without a word; a reply may be made as the connection comes, or be followed by silence. useForClient() points port 13 of every host at it (through the HTTP
// client's connect-to map, which the clock keeper follows); a host can be sent to a closed port
// instead, so its connection is refused.
#pragma once

#include <QDateTime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class FakeService;

// A daytime reply line of the published form for that UTC time, with its day number, the health
// figure and the advance ("627.6").
std::string Daytime_Reply(const QDateTime& utc, int health = 0, const std::string& advance = "627.6");

// The time page's HTML showing "Tuesday, December 09, 2026 00:22:49 PST" for that Pacific time.
std::string Time_Page_Html(const QDateTime& pacific, bool daylight);
// Serves that page on the fake at the service's time host.
void Serve_Time_Page(FakeService& service, const std::string& html);

struct DaytimeAnswer {
    enum Kind { Reply, Silent, Close } kind = Reply;
    std::string text;
    // A reply made when the connection comes (on the server's thread), instead of `text`.
    std::function<std::string()> make;
    bool hold = false;
    static DaytimeAnswer reply(std::string t) { return {Reply, std::move(t), {}}; }
    static DaytimeAnswer replyMade(std::function<std::string()> f) { return {Reply, {}, std::move(f)}; }
    // Sends the text and keeps the connection open, saying nothing more.
    static DaytimeAnswer replyAndHold(std::string t) { return {Reply, std::move(t), {}, true}; }
    static DaytimeAnswer silent() { return {Silent, {}, {}}; }
    static DaytimeAnswer close() { return {Close, {}, {}}; }
};

// The reply of a server whose clock reads `serverUtcMs` as the connection comes: the next whole
// second, sent early by the advance that is left until then (at least 50 ms, as the servers send).
std::string Daytime_Reply_At(qint64 serverUtcMs);

class FakeDaytimeServer {
public:
    FakeDaytimeServer();
    ~FakeDaytimeServer();  // stops it and puts the client's connect-to map back
    FakeDaytimeServer(const FakeDaytimeServer&) = delete;
    FakeDaytimeServer& operator=(const FakeDaytimeServer&) = delete;

    int port() const;
    // Answers for the next connections, in order; the default answers the rest.
    void script(std::vector<DaytimeAnswer> answers);
    void setDefault(DaytimeAnswer answer);
    int connections() const;

    // The connect-to entry that sends port 13 of every host here (for a program started apart).
    std::string connectTo() const;
    // Port 13 of every host comes here (added in front of the map in force); `refused` hosts go
    // to a port where nothing listens.
    void useForClient(const std::vector<std::string>& refused = {});

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace testsupport
