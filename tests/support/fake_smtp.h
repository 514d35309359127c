// fake_smtp.h — an SMTP sink on 127.0.0.1 for tests of the result e-mail.
//
// One FakeSmtp listens on a random port of 127.0.0.1 and takes one session at a time on a
// thread of its own. It speaks enough SMTP for a mail client: EHLO/HELO, STARTTLS, AUTH PLAIN
// and LOGIN, MAIL, RCPT, DATA, RSET, NOOP, QUIT. TLS uses the fake service's host certificate
// (trusted by FakeService::caFile(), names "localhost" and 127.0.0.1 among them); in implicit
// mode the session is TLS from its first byte. Everything the sink saw is recorded and can be
// read from the test while it runs.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

struct FakeSmtpOptions {
    bool implicitTls = false;      // TLS from the first byte (as on port 465)
    bool offerStartTls = true;     // EHLO lists STARTTLS (ignored in implicit mode)
    bool requireAuth = false;      // MAIL before a successful AUTH gets 530
    std::string user = "bidder@example.com";
    std::string password = "secret";
    std::vector<std::string> refuseRecipients;  // RCPT to these gets 550
    bool neverGreet = false;       // accepts the connection and says nothing
};

// One message that reached the end of DATA.
struct ReceivedMail {
    std::string mailFrom;               // as in MAIL FROM:<...>, without the brackets
    std::vector<std::string> rcptTo;    // without the brackets
    std::string data;                   // the message text, CR LF lines, without the final "."
    bool overTls = false;
    std::string authUser;               // "" when the session did not log in
};

// One AUTH the sink was sent (also refused ones).
struct ReceivedAuth {
    std::string user;
    std::string password;
    bool overTls = false;
    bool accepted = false;
};

class FakeSmtp {
public:
    explicit FakeSmtp(FakeSmtpOptions options = {});
    ~FakeSmtp();  // stops the sink
    FakeSmtp(const FakeSmtp&) = delete;
    FakeSmtp& operator=(const FakeSmtp&) = delete;

    int port() const;
    std::vector<ReceivedMail> mails() const;
    std::vector<ReceivedAuth> auths() const;
    std::vector<std::string> commands() const;  // every command line, in order (AUTH data masked)
    int sessions() const;                       // connections accepted
    void stop();

    // The body of a received message: its text after the blank line that ends the headers.
    static std::string bodyOf(const std::string& data);
    // The first header of that name in a received message, "" when none.
    static std::string headerOf(const std::string& data, const std::string& name);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace testsupport
