#include "fake_smtp.h"

#include "fake_service.h"

#include <QByteArray>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <stdexcept>
#include <thread>

#ifndef TOLVANE_TEST_CERT_DIR
#error "TOLVANE_TEST_CERT_DIR must name the folder of the test certificates"
#endif

namespace testsupport {

namespace {

std::string certFile(const char* name) { return std::string(TOLVANE_TEST_CERT_DIR) + "/" + name; }

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool startsWithCI(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && upper(s.substr(0, prefix.size())) == upper(prefix);
}

// The address between "<" and ">" after a "MAIL FROM:" or "RCPT TO:" verb.
std::string addressOf(const std::string& line) {
    const size_t a = line.find('<');
    const size_t b = line.find('>', a == std::string::npos ? 0 : a);
    if (a == std::string::npos || b == std::string::npos) return {};
    return line.substr(a + 1, b - a - 1);
}

std::string fromBase64(const std::string& s) {
    return QByteArray::fromBase64(QByteArray::fromStdString(s)).toStdString();
}

// One connection, plain or TLS, read line by line.
class Conn {
public:
    Conn(int fd, SSL_CTX* ctx) : m_fd(fd), m_ctx(ctx) {}
    ~Conn() {
        if (m_ssl) {
            SSL_shutdown(m_ssl);
            SSL_free(m_ssl);
        }
    }
    bool startTls() {
        m_ssl = SSL_new(m_ctx);
        SSL_set_fd(m_ssl, m_fd);
        if (SSL_accept(m_ssl) != 1) {
            SSL_free(m_ssl);
            m_ssl = nullptr;
            return false;
        }
        m_buffer.clear();
        return true;
    }
    bool tls() const { return m_ssl != nullptr; }
    bool send(const std::string& text) {
        size_t off = 0;
        while (off < text.size()) {
            const int n = m_ssl ? SSL_write(m_ssl, text.data() + off, static_cast<int>(text.size() - off))
                                : static_cast<int>(::send(m_fd, text.data() + off, text.size() - off, MSG_NOSIGNAL));
            if (n <= 0) return false;
            off += static_cast<size_t>(n);
        }
        return true;
    }
    // A line without its CR LF; false when the connection ended.
    bool readLine(std::string& line) {
        for (;;) {
            const size_t eol = m_buffer.find("\r\n");
            if (eol != std::string::npos) {
                line = m_buffer.substr(0, eol);
                m_buffer.erase(0, eol + 2);
                return true;
            }
            char chunk[4096];
            const int n = m_ssl ? SSL_read(m_ssl, chunk, sizeof chunk)
                                : static_cast<int>(::recv(m_fd, chunk, sizeof chunk, 0));
            if (n <= 0) return false;
            m_buffer.append(chunk, static_cast<size_t>(n));
        }
    }

private:
    int m_fd;
    SSL_CTX* m_ctx;
    SSL* m_ssl = nullptr;
    std::string m_buffer;
};

}  // namespace

struct FakeSmtp::Impl {
    FakeSmtpOptions options;
    int listenFd = -1;
    int port = 0;
    SSL_CTX* ctx = nullptr;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::atomic<int> sessionFd{-1};

    mutable std::mutex mutex;
    std::vector<ReceivedMail> mails;
    std::vector<ReceivedAuth> auths;
    std::vector<std::string> commands;
    int sessions = 0;

    void run() {
        while (!stopping) {
            pollfd p{listenFd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int fd = ::accept(listenFd, nullptr, nullptr);
            if (fd < 0) continue;
            {
                std::lock_guard<std::mutex> lock(mutex);
                ++sessions;
            }
            sessionFd = fd;
            session(fd);
            sessionFd = -1;
            ::close(fd);
        }
    }

    void record(const std::string& command) {
        std::lock_guard<std::mutex> lock(mutex);
        commands.push_back(command);
    }

    bool checkLogin(Conn& c, const std::string& user, const std::string& password, std::string& authedUser) {
        const bool ok = user == options.user && password == options.password;
        {
            std::lock_guard<std::mutex> lock(mutex);
            auths.push_back({user, password, c.tls(), ok});
        }
        if (ok) authedUser = user;
        return c.send(ok ? "235 2.7.0 Authentication successful\r\n" : "535 5.7.8 Authentication failed\r\n");
    }

    void session(int fd) {
        Conn c(fd, ctx);
        if (options.neverGreet) {
            std::string ignored;
            while (!stopping && c.readLine(ignored)) {
            }
            return;
        }
        if (options.implicitTls && !c.startTls()) return;
        if (!c.send("220 localhost ESMTP fake sink\r\n")) return;
        std::string authedUser;
        ReceivedMail mail;
        bool inMail = false;
        std::string line;
        while (!stopping && c.readLine(line)) {
            record(startsWithCI(line, "AUTH") ? line.substr(0, std::min<size_t>(line.size(), 10)) : line);
            const std::string verb = upper(line.substr(0, line.find(' ')));
            if (verb == "EHLO" || verb == "HELO") {
                std::string reply = "250-localhost\r\n";
                if (!c.tls() && options.offerStartTls && !options.implicitTls) reply += "250-STARTTLS\r\n";
                reply += "250-AUTH PLAIN LOGIN\r\n250 8BITMIME\r\n";
                if (!c.send(verb == "HELO" ? std::string("250 localhost\r\n") : reply)) return;
            } else if (verb == "STARTTLS") {
                if (c.tls() || !options.offerStartTls) {
                    if (!c.send("454 4.7.0 TLS not available\r\n")) return;
                    continue;
                }
                if (!c.send("220 2.0.0 Ready to start TLS\r\n") || !c.startTls()) return;
                authedUser.clear();
                inMail = false;
            } else if (verb == "AUTH") {
                const std::vector<std::string> parts = [&] {
                    std::vector<std::string> p;
                    size_t i = 0;
                    while (i < line.size()) {
                        const size_t j = line.find(' ', i);
                        p.push_back(line.substr(i, j == std::string::npos ? std::string::npos : j - i));
                        if (j == std::string::npos) break;
                        i = j + 1;
                    }
                    return p;
                }();
                const std::string mech = parts.size() > 1 ? upper(parts[1]) : "";
                if (mech == "PLAIN") {
                    std::string initial = parts.size() > 2 ? parts[2] : "";
                    if (initial.empty()) {
                        if (!c.send("334 \r\n") || !c.readLine(initial)) return;
                    }
                    const std::string plain = fromBase64(initial);
                    const size_t a = plain.find('\0');
                    const size_t b = a == std::string::npos ? std::string::npos : plain.find('\0', a + 1);
                    const std::string user = b == std::string::npos ? "" : plain.substr(a + 1, b - a - 1);
                    const std::string pass = b == std::string::npos ? "" : plain.substr(b + 1);
                    if (!checkLogin(c, user, pass, authedUser)) return;
                } else if (mech == "LOGIN") {
                    std::string user64 = parts.size() > 2 ? parts[2] : "";
                    if (user64.empty()) {
                        if (!c.send("334 VXNlcm5hbWU6\r\n") || !c.readLine(user64)) return;
                    }
                    std::string pass64;
                    if (!c.send("334 UGFzc3dvcmQ6\r\n") || !c.readLine(pass64)) return;
                    if (!checkLogin(c, fromBase64(user64), fromBase64(pass64), authedUser)) return;
                } else if (!c.send("504 5.5.4 Unrecognized authentication type\r\n")) {
                    return;
                }
            } else if (startsWithCI(line, "MAIL FROM:")) {
                if (options.requireAuth && authedUser.empty()) {
                    if (!c.send("530 5.7.0 Authentication required\r\n")) return;
                    continue;
                }
                mail = ReceivedMail{};
                mail.mailFrom = addressOf(line);
                inMail = true;
                if (!c.send("250 2.1.0 Ok\r\n")) return;
            } else if (startsWithCI(line, "RCPT TO:")) {
                const std::string to = addressOf(line);
                const auto& refused = options.refuseRecipients;
                if (!inMail) {
                    if (!c.send("503 5.5.1 Need MAIL first\r\n")) return;
                } else if (std::find(refused.begin(), refused.end(), to) != refused.end()) {
                    if (!c.send("550 5.1.1 User unknown\r\n")) return;
                } else {
                    mail.rcptTo.push_back(to);
                    if (!c.send("250 2.1.5 Ok\r\n")) return;
                }
            } else if (verb == "DATA") {
                if (!inMail || mail.rcptTo.empty()) {
                    if (!c.send("554 5.5.1 No valid recipients\r\n")) return;
                    continue;
                }
                if (!c.send("354 End data with <CR><LF>.<CR><LF>\r\n")) return;
                std::string data, l;
                for (;;) {
                    if (!c.readLine(l)) return;
                    if (l == ".") break;
                    if (!l.empty() && l[0] == '.') l.erase(0, 1);
                    data += l + "\r\n";
                }
                mail.data = data;
                mail.overTls = c.tls();
                mail.authUser = authedUser;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    mails.push_back(mail);
                }
                inMail = false;
                if (!c.send("250 2.0.0 Ok: queued\r\n")) return;
            } else if (verb == "RSET") {
                inMail = false;
                if (!c.send("250 2.0.0 Ok\r\n")) return;
            } else if (verb == "NOOP") {
                if (!c.send("250 2.0.0 Ok\r\n")) return;
            } else if (verb == "QUIT") {
                c.send("221 2.0.0 Bye\r\n");
                return;
            } else if (!c.send("502 5.5.2 Command not recognized\r\n")) {
                return;
            }
        }
    }
};

FakeSmtp::FakeSmtp(FakeSmtpOptions options) : d(std::make_unique<Impl>()) {
    d->options = std::move(options);
    d->ctx = SSL_CTX_new(TLS_server_method());
    if (!d->ctx || SSL_CTX_use_certificate_chain_file(d->ctx, certFile("host.pem").c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(d->ctx, certFile("host.key").c_str(), SSL_FILETYPE_PEM) != 1)
        throw std::runtime_error("fake SMTP: the test certificates do not load");

    d->listenFd = FakeService::listenOnLoopback(d->port, 8);
    if (d->listenFd < 0) throw std::runtime_error("fake SMTP: cannot listen on 127.0.0.1");
    d->thread = std::thread([this] { d->run(); });
}

FakeSmtp::~FakeSmtp() {
    stop();
    if (d->ctx) SSL_CTX_free(d->ctx);
}

void FakeSmtp::stop() {
    if (!d->thread.joinable()) return;
    d->stopping = true;
    const int fd = d->sessionFd.load();
    if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
    d->thread.join();
    ::close(d->listenFd);
    d->listenFd = -1;
}

int FakeSmtp::port() const { return d->port; }

std::vector<ReceivedMail> FakeSmtp::mails() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->mails;
}

std::vector<ReceivedAuth> FakeSmtp::auths() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->auths;
}

std::vector<std::string> FakeSmtp::commands() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->commands;
}

int FakeSmtp::sessions() const {
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->sessions;
}

std::string FakeSmtp::bodyOf(const std::string& data) {
    const size_t p = data.find("\r\n\r\n");
    return p == std::string::npos ? std::string() : data.substr(p + 4);
}

std::string FakeSmtp::headerOf(const std::string& data, const std::string& name) {
    size_t start = 0;
    while (start < data.size()) {
        const size_t eol = data.find("\r\n", start);
        const std::string line = data.substr(start, eol == std::string::npos ? std::string::npos : eol - start);
        if (line.empty()) break;
        if (startsWithCI(line, name + ":")) {
            std::string v = line.substr(name.size() + 1);
            while (!v.empty() && v[0] == ' ') v.erase(0, 1);
            return v;
        }
        if (eol == std::string::npos) break;
        start = eol + 2;
    }
    return {};
}

}  // namespace testsupport
