#include "fake_service_time.h"

#include <arpa/inet.h>
#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "fake_service.h"
#include "service/national_sites.h"
#include "service/wininet.h"

namespace testsupport {

std::string Daytime_Reply(const QDateTime& utc, int health, const std::string& advance) {
    const QDateTime t = utc.toUTC();
    const qint64 mjd = 40587 + QDate(1970, 1, 1).daysTo(t.date());
    return "\n" + std::to_string(mjd) + " " + t.toString("yy-MM-dd hh:mm:ss").toStdString() + " 00 0 " +
           std::to_string(health) + " " + advance + " UTC(NIST) * \n";
}

std::string Daytime_Reply_At(qint64 serverUtcMs) {
    const qint64 named = (serverUtcMs + 50 + 999) / 1000 * 1000;
    const qint64 advance = named - serverUtcMs;
    const std::string tenths = std::to_string(advance) + ".0";
    return Daytime_Reply(QDateTime::fromMSecsSinceEpoch(named, Qt::UTC), 0, tenths);
}

std::string Time_Page_Html(const QDateTime& pacific, bool daylight) {
    const QLocale c = QLocale::c();
    return "<html><body><h2>The Official eBay Time</h2><p>" +
           c.toString(pacific, "dddd, MMMM dd, yyyy hh:mm:ss").toStdString() + (daylight ? " PDT" : " PST") +
           "</p><p>Times shown are Pacific time.</p></body></html>";
}

void Serve_Time_Page(FakeService& service, const std::string& html) {
    service.route(modTLMain::kTimeHost, "GET", modTLMain::kTimePagePath, ScriptedResponse::ok(html));
}

struct FakeDaytimeServer::Impl {
    int listenFd = -1;
    int port = 0;
    std::thread thread;
    std::atomic<bool> stopping{false};
    mutable std::mutex mutex;
    std::deque<DaytimeAnswer> script;
    DaytimeAnswer fallback = DaytimeAnswer::close();
    int connections = 0;
    std::vector<int> silentFds;  // held open until the client goes or the server stops
    bool pointed = false;
    std::string mapBefore;
    std::string mine;  // the entries this server put in front of the map

    void run() {
        while (!stopping) {
            pollfd p{listenFd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept(listenFd, nullptr, nullptr);
            if (fd < 0) continue;
            DaytimeAnswer a;
            {
                std::lock_guard<std::mutex> lock(mutex);
                ++connections;
                if (!script.empty()) {
                    a = script.front();
                    script.pop_front();
                } else {
                    a = fallback;
                }
            }
            if (a.kind == DaytimeAnswer::Silent) {
                silentFds.push_back(fd);
                continue;
            }
            if (a.kind == DaytimeAnswer::Reply) {
                const std::string text = a.make ? a.make() : a.text;
                (void)!::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
                if (a.hold) {
                    silentFds.push_back(fd);
                    continue;
                }
            }
            ::shutdown(fd, SHUT_RDWR);
            ::close(fd);
        }
        for (int fd : silentFds) ::close(fd);
    }
};

FakeDaytimeServer::FakeDaytimeServer() : d(std::make_unique<Impl>()) {
    d->listenFd = FakeService::listenOnLoopback(d->port, 32);
    if (d->listenFd < 0) throw std::runtime_error("fake daytime server: cannot listen on 127.0.0.1");
    d->thread = std::thread([this] { d->run(); });
}

FakeDaytimeServer::~FakeDaytimeServer() {
    d->stopping = true;
    d->thread.join();
    ::close(d->listenFd);
    if (d->pointed) modWinInet::Settings().connectTo = d->mapBefore;
}

int FakeDaytimeServer::port() const { return d->port; }

void FakeDaytimeServer::script(std::vector<DaytimeAnswer> answers) {
    std::lock_guard<std::mutex> lock(d->mutex);
    d->script.assign(answers.begin(), answers.end());
}

void FakeDaytimeServer::setDefault(DaytimeAnswer answer) {
    std::lock_guard<std::mutex> lock(d->mutex);
    d->fallback = std::move(answer);
}

std::string FakeDaytimeServer::connectTo() const { return ":13:127.0.0.1:" + std::to_string(d->port); }

int FakeDaytimeServer::connections() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->connections;
}

void FakeDaytimeServer::useForClient(const std::vector<std::string>& refused) {
    std::string& map = modWinInet::Settings().connectTo;
    if (!d->pointed) {
        d->mapBefore = map;
        d->pointed = true;
    }
    std::string rest = map;
    if (!d->mine.empty() && rest.rfind(d->mine, 0) == 0) rest = rest.substr(std::min(rest.size(), d->mine.size() + 1));
    std::string mine;
    const std::string closed = std::to_string(FakeService::closedPort());
    for (const auto& host : refused) mine += host + ":13:127.0.0.1:" + closed + ";";
    mine += connectTo();
    d->mine = mine;
    map = rest.empty() ? mine : mine + ";" + rest;
}

}  // namespace testsupport
