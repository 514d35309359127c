#include "bidding/mail_transport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMetaObject>
#include <QObject>
#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/vb.h"
#include "platform/clock.h"
#include "platform/timers.h"

namespace modMail {

namespace {

using vb::vbCrLf;

bool holdsLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Lone CRs and LFs become CR LF, as SMTP wants its lines.
std::string crlfLines(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += vbCrLf;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += vbCrLf;
        } else {
            out += c;
        }
    }
    return out;
}

// What a worker thread works from: its own copies, and the one flag the UI thread may set.
struct Job {
    SmtpAccount account;
    MailMessage message;
    MailTransportSettings settings;
    std::atomic<bool> cancelled{false};
};

struct Upload {
    std::string text;
    size_t offset = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* userp) {
    auto* up = static_cast<Upload*>(userp);
    const size_t n = std::min(size * count, up->text.size() - up->offset);
    std::memcpy(buffer, up->text.data() + up->offset, n);
    up->offset += n;
    return n;
}

int progress(void* userp, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Job*>(userp)->cancelled.load() ? 1 : 0;
}

std::string angled(const std::string& address) { return "<" + address + ">"; }

// One SMTP session. `tls`: CURLUSESSL_* for a plain smtp:// start; `withLogin`: send the
// account's name and password (only ever over an encrypted connection, see below).
MailResult transfer(Job& job, bool implicitTls, long tls, bool withLogin) {
    MailResult r;
    CURL* easy = curl_easy_init();
    if (!easy) return {CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT)};

    const std::string url = std::string(implicitTls ? "smtps://" : "smtp://") + job.account.server + ":" +
                            std::to_string(job.account.port);
    char errorBuffer[CURL_ERROR_SIZE] = {0};
    Upload upload{Mail_Text(job.message), 0};
    curl_slist* rcpt = curl_slist_append(nullptr, angled(job.message.to).c_str());
    curl_slist* connectTo = nullptr;
    for (const std::string& entry : vb::Split(job.settings.connectTo, ";"))
        if (!entry.empty()) connectTo = curl_slist_append(connectTo, entry.c_str());

    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, job.settings.timeoutMs);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, job.settings.timeoutMs);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!job.settings.caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, job.settings.caFile.c_str());
    if (connectTo) curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo);
    if (!implicitTls) curl_easy_setopt(easy, CURLOPT_USE_SSL, tls);
    if (withLogin) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, job.account.userName.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, job.account.password.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_MAIL_FROM, angled(job.message.from).c_str());
    curl_easy_setopt(easy, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &readUpload);
    curl_easy_setopt(easy, CURLOPT_READDATA, &upload);
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(upload.text.size()));
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &job);

    const CURLcode code = curl_easy_perform(easy);
    if (code != CURLE_OK) {
        r.number = code;
        r.error = errorBuffer[0] ? std::string(errorBuffer) : std::string(curl_easy_strerror(code));
    }
    curl_slist_free_all(rcpt);
    curl_slist_free_all(connectTo);
    curl_easy_cleanup(easy);
    return r;
}

// The send as the account's switch wants it (see the header).
MailResult sendOnThisThread(Job& job) {
    if (job.account.server.empty() || job.account.port < 1 || job.account.port > 65535)
        return {kBadSetting, "Invalid SMTP Server Or Port"};
    if (job.message.from.empty() || holdsLineBreak(job.message.from))
        return {kBadAddress, "Invalid Sender Address"};
    if (job.message.to.empty() || holdsLineBreak(job.message.to))
        return {kBadAddress, "Invalid Recipient Address"};
    if (job.account.useSsl) {
        if (job.account.port == 465) return transfer(job, true, CURLUSESSL_ALL, true);
        return transfer(job, false, CURLUSESSL_ALL, true);
    }
    // STARTTLS when offered. libcurl's own "try" mode would go on to log in over a plain
    // connection, so the plain send is a second session of its own, without the account; the
    // first one ends before any AUTH or MAIL when the server offers no STARTTLS.
    MailResult r = transfer(job, false, CURLUSESSL_ALL, true);
    if (r.number == CURLE_USE_SSL_FAILED && !job.cancelled.load())
        r = transfer(job, false, CURLUSESSL_NONE, false);
    return r;
}

// The sends still running, so the program's end (or a test) can stop them and wait for their
// threads. UI thread only.
class Send;
std::vector<std::shared_ptr<Send>>& running() {
    static auto* list = new std::vector<std::shared_ptr<Send>>();
    return *list;
}

// The object in the UI thread that queued results are delivered to.
QObject& receiver() {
    static auto* r = new QObject();
    return *r;
}

class Send final : public MailSend, public std::enable_shared_from_this<Send> {
public:
    explicit Send(std::function<void(const MailResult&)> done) : m_done(std::move(done)) {}
    ~Send() override { join(); }

    void start(std::shared_ptr<Job> job) {
        m_job = job;
        std::weak_ptr<Send> self = weak_from_this();
        QObject* target = &receiver();  // made here, so it lives in the UI thread
        m_thread = std::thread([job, self, target] {
            const MailResult result = sendOnThisThread(*job);
            // Back to the UI thread (the posted call wakes its event loop); `self` is only looked
            // at there.
            QMetaObject::invokeMethod(
                target, [self, result] {
                    if (auto s = self.lock()) s->finish(result);
                },
                Qt::QueuedConnection);
        });
    }

    void Cancel() override {
        if (m_finished) return;
        m_finished = true;
        m_done = nullptr;
        if (m_job) m_job->cancelled = true;
        join();
        forget();
    }
    bool Finished() const override { return m_finished; }

private:
    void finish(const MailResult& result) {
        if (m_finished) return;
        m_finished = true;
        join();
        auto done = std::move(m_done);
        auto keep = shared_from_this();
        forget();
        if (done) done(result);
    }
    void join() {
        if (m_thread.joinable()) m_thread.join();
    }
    void forget() {
        auto& list = running();
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->get() == this) {
                list.erase(it);
                break;
            }
    }

    std::function<void(const MailResult&)> m_done;
    std::shared_ptr<Job> m_job;
    std::thread m_thread;
    bool m_finished = false;
};

}  // namespace

MailTransportSettings& Mail_Transport_Settings() {
    static MailTransportSettings settings;
    return settings;
}

std::string Mail_Text(const MailMessage& m) {
    const QDateTime now = platform::clock().now();
    std::string text;
    text += "Date: " + now.toString(Qt::RFC2822Date).toStdString() + vbCrLf;
    text += "From: " + m.from + vbCrLf;
    text += "To: " + m.to + vbCrLf;
    text += "Subject: " + m.subject.substr(0, m.subject.find_first_of("\r\n")) + vbCrLf;
    text += std::string("MIME-Version: 1.0") + vbCrLf;
    text += std::string("Content-Type: text/plain; charset=utf-8") + vbCrLf;
    text += std::string("Content-Transfer-Encoding: 8bit") + vbCrLf;
    text += vbCrLf;
    text += crlfLines(m.textBody);
    text += vbCrLf;
    return text;
}

std::shared_ptr<MailSend> Start_Mail_Send(const SmtpAccount& account, const MailMessage& message,
                                          std::function<void(const MailResult&)> done) {
    static const bool curlReady = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)curlReady;
    auto job = std::make_shared<Job>();
    job->account = account;
    job->message = message;
    job->settings = Mail_Transport_Settings();
    auto send = std::make_shared<Send>(std::move(done));
    running().push_back(send);
    send->start(job);
    return send;
}

MailResult Send_Mail_Wait(const SmtpAccount& account, const MailMessage& message) {
    auto result = std::make_shared<MailResult>();
    auto got = std::make_shared<bool>(false);
    auto send = Start_Mail_Send(account, message, [result, got](const MailResult& r) {
        *result = r;
        *got = true;
    });
    // The transfer bounds itself in real time; this is only a guard against a thread that
    // never reports.
    const auto giveUp = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(Mail_Transport_Settings().timeoutMs * 2 + 10000);
    while (!*got) {
        platform::timers().waitUntil([got] { return *got; }, 1000);
        if (!*got && std::chrono::steady_clock::now() > giveUp) {
            send->Cancel();
            return {CURLE_OPERATION_TIMEDOUT, curl_easy_strerror(CURLE_OPERATION_TIMEDOUT)};
        }
    }
    return *result;
}

void Stop_All_Mail_Sends() {
    auto list = running();
    for (auto& s : list) s->Cancel();
    running().clear();
}

}  // namespace modMail
