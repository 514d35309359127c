// mail_transport.h — one e-mail message sent over SMTP with libcurl, without holding up the
// user-interface thread.
//
// Each send runs its libcurl transfer on a worker thread of its own that shares nothing with
// the rest of the program: it gets copies of the server settings and the message, and its
// result comes back to the UI thread as a queued call, where `done` runs. Nothing else of the
// program ever runs on that thread.
//
// Encryption follows the account's "use SSL" switch:
//   - on, port 465: implicit TLS (smtps) from the first byte;
//   - on, any other port: STARTTLS is required; a server that does not offer it is refused;
//   - off: STARTTLS when the server offers it; otherwise the message goes out in plain text
//     without the account's name and password (the account is never sent unencrypted).
// The server's certificate is always checked. The whole send is bounded by a 20-second timeout.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace modMail {

struct SmtpAccount {
    std::string server;    // host name
    long port = 465;
    bool useSsl = true;
    std::string userName;  // also the sender address
    std::string password;
};

struct MailMessage {
    std::string from;
    std::string to;
    std::string subject;
    std::string textBody;
};

struct MailResult {
    long number = 0;    // 0 = sent; otherwise libcurl's error code (or kBadAddress, kBadSetting)
    std::string error;  // what went wrong, in the server's or libcurl's words; "" when sent
    bool sent() const { return number == 0; }
};

// A sender or recipient that cannot go into an SMTP envelope (empty, or with a line break).
inline constexpr long kBadAddress = 1001;
// No server name, or a port that is not one.
inline constexpr long kBadSetting = 1002;

// For tests: the CA file to trust instead of the system's, curl CONNECT_TO entries
// ("host:port:127.0.0.1:port", joined by ";") and the send timeout.
struct MailTransportSettings {
    std::string caFile;
    std::string connectTo;
    long timeoutMs = 20000;
};
MailTransportSettings& Mail_Transport_Settings();

// A send in progress. Dropping the handle does not stop the send; Cancel() does, and `done`
// then never runs.
class MailSend {
public:
    virtual ~MailSend() = default;
    virtual void Cancel() = 0;
    virtual bool Finished() const = 0;
};

// Starts sending `message` through `account`; `done` runs later on the UI thread with the result
// (never inside this call).
std::shared_ptr<MailSend> Start_Mail_Send(const SmtpAccount& account, const MailMessage& message,
                                          std::function<void(const MailResult&)> done);

// The blocking form: waits (yielding to the event loop) for the send's result. Only for what the
// user asked for and waits on (the test mail); the result mails use Start_Mail_Send.
MailResult Send_Mail_Wait(const SmtpAccount& account, const MailMessage& message);

// The whole message as it goes to the server (headers, a blank line, the body; CR LF lines).
std::string Mail_Text(const MailMessage& message);

// Stops every send still running and waits for its thread (program end, tests).
void Stop_All_Mail_Sends();

}  // namespace modMail
