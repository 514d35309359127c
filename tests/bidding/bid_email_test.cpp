// The result e-mail and the test mail against the SMTP sink on 127.0.0.1: encryption by the
// account's switch and port, refusals, the queue run and its pauses, the message text.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <curl/curl.h>

#include <functional>
#include <string>

#include "bidding/bid_email.h"
#include "bidding/bid_engine_links.h"
#include "bidding/mail_transport.h"
#include "fake_clock.h"
#include "fake_service.h"
#include "fake_smtp.h"
#include "foundation/config_store.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_store.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

namespace {

using testsupport::FakeSmtp;
using testsupport::FakeSmtpOptions;

// Lets real events in (the send's result comes back as a queued call) until `done`, without
// moving the fake clock; false after 10 real seconds.
bool waitReal(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

class BidEmailTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modMail::Mail_Transport_Settings().caFile = testsupport::FakeService::caFile();
    }
    void TearDown() override {
        Messages::SetAnswerHookForTests(nullptr);
        reset();
    }
    static void reset() {
        TLMainBids::ResetBidEmailForTests();
        modMail::Stop_All_Mail_Sends();
        modMail::Mail_Transport_Settings() = {};
        modTLC::ResetForTests();
        TLMainItems::ResetItemStoreForTests();
    }

    // The account: server "localhost" on `port`, which the sink stands in for.
    void account(const FakeSmtp& sink, long port, int authReq) {
        modMail::Mail_Transport_Settings().connectTo =
            "localhost:" + std::to_string(port) + ":127.0.0.1:" + std::to_string(sink.port());
        modTLC::Set_Config_Value("Remote", "ActSMTPServer", "localhost");
        modTLC::Set_Config_Value("Remote", "ActSMTPPort", std::to_string(port));
        modTLC::Set_Config_Value("Remote", "ActName", "bidder@example.com");
        modTLC::Set_Config_Value("Remote", "ActPass", "secret");
        modTLC::Set_Config_Value("Remote", "AuthReq", std::to_string(authReq));
    }
    static void slot(int n, const std::string& address, bool on = true) {
        modTLC::Set_Config_Value("Remote", "Email" + std::to_string(n), address);
        modTLC::Set_Config_Value("Remote", "EmailEn" + std::to_string(n), on ? "1" : "0");
    }
    static int addItem(const std::string& number, const std::string& title, const std::string& highBidder = "me") {
        TLMainItems::AuctionItem item;
        item.ItemNumber = number;
        item.Title = title;
        item.CurrentPrice = "US 25.00";
        item.MaxBid = "30.00";
        item.HighBidder = highBidder;
        item.UserID = "Me";
        item.BidStatus = "Completed";  // a result is mailed once the bid has ended
        EXPECT_TRUE(TLMainItems::Append_Item(item));
        return TLMainItems::ItemCount;
    }
    std::string opLog() const { return data.read("OperationLog.txt"); }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::ScriptedMessageBoxes boxes;
};

// ---- Encryption and the account ------------------------------------------------------------------

struct TransportCase {
    const char* name;
    FakeSmtpOptions sink;
    long port;
    int authReq;
    bool sent;
    bool overTls;
    bool loggedIn;         // the account reached the sink (always over TLS when it did)
    const char* errorHas;  // part of the error text when not sent
};

TEST_F(BidEmailTest, EncryptionFollowsTheSwitchAndThePortAndTheAccountNeverGoesInPlainText) {
    FakeSmtpOptions plain;
    plain.offerStartTls = false;
    FakeSmtpOptions startTls;
    FakeSmtpOptions implicit;
    implicit.implicitTls = true;
    FakeSmtpOptions plainNeedsLogin = plain;
    plainNeedsLogin.requireAuth = true;
    FakeSmtpOptions wrongPassword = startTls;
    wrongPassword.password = "other";
    FakeSmtpOptions refusing = startTls;
    refusing.refuseRecipients = {"me@example.com"};

    const TransportCase cases[] = {
        {"SSL on, port 465: implicit TLS", implicit, 465, 1, true, true, true, ""},
        {"SSL on, port 587: STARTTLS", startTls, 587, 1, true, true, true, ""},
        {"SSL on, no STARTTLS offered: refused", plain, 587, 1, false, false, false, "STARTTLS"},
        {"SSL off, STARTTLS offered: used", startTls, 25, 0, true, true, true, ""},
        {"SSL off, no STARTTLS: plain, without the account", plain, 25, 0, true, false, false, ""},
        {"SSL off, plain server wants a login: not given", plainNeedsLogin, 25, 0, false, false, false, "530"},
        {"wrong password", wrongPassword, 587, 1, false, false, false, "Login denied"},
        {"recipient refused", refusing, 587, 1, false, false, true, "550"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSmtp sink(c.sink);
        account(sink, c.port, c.authReq);
        const modMail::MailResult r = modTLMain::Send_Email("me@example.com", "Bid Results", "\r\n#1\r\nYou Won");
        EXPECT_EQ(r.sent(), c.sent) << r.error;
        if (!c.sent) {
            EXPECT_NE(r.error.find(c.errorHas), std::string::npos) << r.error;
        }
        ASSERT_EQ(sink.mails().size(), c.sent ? 1u : 0u);
        if (c.sent) {
            EXPECT_EQ(sink.mails()[0].overTls, c.overTls);
            EXPECT_EQ(sink.mails()[0].rcptTo, std::vector<std::string>{"me@example.com"});
        }
        bool loggedIn = false;
        for (const auto& a : sink.auths()) {
            EXPECT_TRUE(a.overTls) << "the account went over a plain connection";
            loggedIn = loggedIn || (a.accepted && a.user == "bidder@example.com");
        }
        EXPECT_EQ(loggedIn, c.loggedIn);
    }
}

TEST_F(BidEmailTest, TheMessageCarriesSenderRecipientSubjectAndBody) {
    FakeSmtp sink;
    account(sink, 587, 1);
    ASSERT_TRUE(modTLMain::Send_Email("me@example.com", "Bid Results", "\r\n#5\r\nHiBid:US 25.00\r\n.dot line").sent());
    ASSERT_EQ(sink.mails().size(), 1u);
    const std::string& data = sink.mails()[0].data;
    EXPECT_EQ(sink.mails()[0].mailFrom, "bidder@example.com");
    EXPECT_EQ(FakeSmtp::headerOf(data, "From"), "bidder@example.com");
    EXPECT_EQ(FakeSmtp::headerOf(data, "To"), "me@example.com");
    EXPECT_EQ(FakeSmtp::headerOf(data, "Subject"), "Bid Results");
    EXPECT_EQ(FakeSmtp::bodyOf(data), "\r\n#5\r\nHiBid:US 25.00\r\n.dot line\r\n");
}

TEST_F(BidEmailTest, ASilentServerEndsTheSendAtTheTimeout) {
    FakeSmtpOptions silent;
    silent.neverGreet = true;
    FakeSmtp sink(silent);
    account(sink, 587, 1);
    modMail::Mail_Transport_Settings().timeoutMs = 300;
    const modMail::MailResult r = modTLMain::Send_Email("me@example.com", "Bid Results", "x");
    EXPECT_EQ(r.number, CURLE_OPERATION_TIMEDOUT) << r.error;
}

TEST_F(BidEmailTest, AddressesThatCannotTakeMailAreRefusedBeforeAnyConnection) {
    FakeSmtp sink;
    account(sink, 587, 1);
    for (const char* to : {"", "me@example.com\r\nRCPT TO:<x@example.com>"}) {
        const modMail::MailResult r = modTLMain::Send_Email(to, "Bid Results", "x");
        EXPECT_EQ(r.number, modMail::kBadAddress);
    }
    const modMail::MailMessage forged{"bidder@example.com\nBcc: x@example.com", "me@example.com", "Bid Results", "x"};
    EXPECT_EQ(modMail::Send_Mail_Wait(modTLMain::Email_Account(), forged).number, modMail::kBadAddress);
    for (const char* port : {"0", "70000", "smtp"}) {
        modTLC::Set_Config_Value("Remote", "ActSMTPPort", port);
        EXPECT_EQ(modTLMain::Send_Email("me@example.com", "Bid Results", "x").number, modMail::kBadSetting) << port;
    }
    EXPECT_EQ(sink.sessions(), 0);

    const struct {
        const char* address;
        bool usable;
    } rule[] = {{"me@example.com", true}, {"", false}, {"   ", false}, {"me.example.com", false},
                {"me@example.com\r\n", false}, {"me@exa\nmple.com", false}};
    for (const auto& c : rule) EXPECT_EQ(modTLMain::Usable_Email_Address(c.address), c.usable) << c.address;
}

// ---- Settings check ------------------------------------------------------------------------------

TEST_F(BidEmailTest, SettingsAreCompleteWithAnEnabledUsableSlotAndTheWholeAccount) {
    struct Case {
        const char* name;
        std::function<void()> change;
        bool ok;
    } cases[] = {
        {"complete", [] {}, true},
        {"slot off", [] { slot(1, "me@example.com", false); }, false},
        {"slot without address", [] { slot(1, ""); }, false},
        {"address without @", [] { slot(1, "me.example.com"); }, false},
        {"no server", [] { modTLC::Set_Config_Value("Remote", "ActSMTPServer", ""); }, false},
        {"no account name", [] { modTLC::Set_Config_Value("Remote", "ActName", ""); }, false},
        {"no password", [] { modTLC::Set_Config_Value("Remote", "ActPass", ""); }, false},
        {"port stored empty", [] { modTLC::Set_Config_Value("Remote", "ActSMTPPort", ""); }, false},
        {"port never stored", [] { modTLC::Delete_Config_Key("Remote", "ActSMTPPort"); }, true},
    };
    for (const auto& c : cases) {
        modTLC::ResetForTests();
        modTLC::Set_Config_Value("Remote", "ActSMTPServer", "smtp.example.com");
        modTLC::Set_Config_Value("Remote", "ActSMTPPort", "587");
        modTLC::Set_Config_Value("Remote", "ActName", "bidder@example.com");
        modTLC::Set_Config_Value("Remote", "ActPass", "secret");
        slot(1, "me@example.com");
        c.change();
        EXPECT_EQ(modTLMain::Email_Settings_OK(), c.ok) << c.name;
    }
}

// ---- The result message --------------------------------------------------------------------------

TEST_F(BidEmailTest, ResultBodySaysWonOrLostAndIsCutToTheLimit) {
    TLMainItems::AuctionItem item;
    item.ItemNumber = "123";
    item.Title = "Camera";
    item.CurrentPrice = "US 25.00";
    item.MaxBid = "30.00";
    item.UserID = "Bidder";

    struct Case {
        const char* highBidder;
        int16_t reserveNotMet;
        const char* verdict;
        const char* status = "Completed";
    } cases[] = {{"Bidder", 0, "You Won"}, {"bidder", 0, "You Won"}, {"other", 0, "You Lost"},
                 {"Bidder", 1, "You Lost"}, {"", 0, "You Lost"},
                 // a bid the service never confirmed may not have counted: it is not told as lost
                 {"other", 0, "Bid Not Confirmed", TLMainItems::kBidNotConfirmed},
                 // nor is one that never went out, unless the user won all the same
                 {"other", 0, "No Bid Placed", "Item Closed"},
                 {"BIDDER", 0, "You Won", "Item Closed"}};
    for (const auto& c : cases) {
        item.HighBidder = c.highBidder;
        item.ReserveFlag = c.reserveNotMet;
        item.BidStatus = c.status;
        EXPECT_EQ(TLMainBids::Bid_Result_Body(item, "me@example.com"),
                  std::string("\r\n#123\r\nHiBid:US 25.00\r\nUBid:30.00\r\n") + c.verdict + "\r\nCamera")
            << c.highBidder << " " << c.reserveNotMet;
    }

    item.HighBidder = "Bidder";
    item.ReserveFlag = 0;
    item.Title = "Vintage camera with three lenses, a leather case, the original box and papers, "
                 "lightly used, ships worldwide";
    const std::string address = "me@example.com";
    const std::string body = TLMainBids::Bid_Result_Body(item, address);
    EXPECT_EQ(body.size() + address.size() + std::string("Bid Results").size(), 120u);
    EXPECT_EQ(item.Title.rfind(body.substr(body.rfind("\r\n") + 2), 0), 0u) << "the title is cut at its end";

    // Characters, not bytes: a title of accented letters is cut between letters.
    item.Title = std::string(60, 'x') + "ééééééééééééééééééééééééééééééééé";
    const std::string cut = TLMainBids::Bid_Result_Body(item, address);
    EXPECT_EQ(QString::fromStdString(cut).size() + 14 + 11, 120);
    EXPECT_TRUE(QString::fromStdString(cut).toStdString() == cut);
}

// ---- The queue run -------------------------------------------------------------------------------

TEST_F(BidEmailTest, TheQueueGoesItemBySlotThreeSecondsApartAndIsEmptiedAfterwards) {
    FakeSmtp sink;
    account(sink, 587, 1);
    slot(0, "first@example.com");
    slot(1, "middle@example.com", false);
    slot(2, "third@example.com");
    addItem("5", "Five");
    addItem("7", "Seven", "someone");
    TLMainBids::Queue_Bid_Result_Email("5");
    TLMainBids::Queue_Bid_Result_Email("7");

    TLMainBids::Start_Bid_Results_Timer();
    time.advanceMs(999);
    EXPECT_FALSE(TLMainBids::Bid_Results_Sending());
    time.advanceMs(1);
    EXPECT_TRUE(TLMainBids::Bid_Results_Sending());

    // After each message the run pauses three seconds (its pause timer is then the one timer on).
    const auto pausing = [&] { return time.timers.enabledTimerCount() == 1; };
    for (size_t n = 1; n <= 4; ++n) {
        ASSERT_TRUE(waitReal([&] { return sink.mails().size() == n && pausing(); })) << "message " << n;
        time.advanceMs(2990);
        waitReal([] { return false; }, 30);
        EXPECT_EQ(sink.sessions(), static_cast<int>(n)) << "the next message went before three seconds";
        time.advanceMs(10);
    }
    EXPECT_FALSE(TLMainBids::Bid_Results_Sending());

    const auto mails = sink.mails();
    const std::pair<const char*, const char*> expected[] = {
        {"first@example.com", "#5"}, {"third@example.com", "#5"}, {"first@example.com", "#7"}, {"third@example.com", "#7"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(mails[i].rcptTo[0], expected[i].first) << i;
        EXPECT_NE(FakeSmtp::bodyOf(mails[i].data).find(std::string("\r\n") + expected[i].second + "\r\n"),
                  std::string::npos)
            << i;
    }
    EXPECT_NE(FakeSmtp::bodyOf(mails[0].data).find("You Won"), std::string::npos);
    EXPECT_NE(FakeSmtp::bodyOf(mails[2].data).find("You Lost"), std::string::npos);
    EXPECT_TRUE(TLMainBids::BidResultsMailQueue.empty());
}

TEST_F(BidEmailTest, FailuresAreLoggedPerItemAndNeverRetried) {
    FakeSmtpOptions refusing;
    refusing.refuseRecipients = {"refused@example.com"};
    FakeSmtp sink(refusing);
    account(sink, 587, 1);
    slot(0, "refused@example.com");
    slot(1, "no-at-sign.example.com");
    slot(2, "ok@example.com");
    addItem("5", "Five");
    TLMainBids::Queue_Bid_Result_Email("5");
    TLMainBids::Queue_Bid_Result_Email("99");  // deleted before its mail went

    TLMainBids::SendBidResults();
    for (int i = 0; i < 40 && TLMainBids::Bid_Results_Sending(); ++i) {
        waitReal([] { return false; }, 50);
        time.advanceMs(1000);
    }
    ASSERT_FALSE(TLMainBids::Bid_Results_Sending());

    ASSERT_EQ(sink.mails().size(), 1u);
    EXPECT_EQ(sink.mails()[0].rcptTo[0], "ok@example.com");
    const std::string log = opLog();
    EXPECT_NE(log.find("Bid Results Email Failed - Item 5 - "), std::string::npos) << log;
    EXPECT_NE(log.find("550"), std::string::npos) << log;
    EXPECT_NE(log.find("Bid Results Email Failed - Item 5 - Invalid Email Address In Slot 2"), std::string::npos);
    EXPECT_NE(log.find("Bid Results Email Failed - Item 99 - Item Not Found"), std::string::npos);
    EXPECT_TRUE(TLMainBids::BidResultsMailQueue.empty());
    EXPECT_EQ(sink.sessions(), 2) << "one try per message, no retry";
}

TEST_F(BidEmailTest, AnItemQueuedWhileARunWaitsIsSentByThatRun) {
    FakeSmtp sink;
    account(sink, 587, 1);
    slot(0, "me@example.com");
    addItem("5", "Five");
    addItem("7", "Seven");
    TLMainBids::Queue_Bid_Result_Email("5");
    TLMainBids::SendBidResults();
    ASSERT_TRUE(waitReal([&] { return sink.mails().size() == 1; }));
    TLMainBids::Queue_Bid_Result_Email("7");
    TLMainBids::SendBidResults();  // a run is going: nothing more starts
    for (int i = 0; i < 20 && TLMainBids::Bid_Results_Sending(); ++i) {
        waitReal([] { return false; }, 50);
        time.advanceMs(1000);
    }
    ASSERT_EQ(sink.mails().size(), 2u);
    EXPECT_NE(FakeSmtp::bodyOf(sink.mails()[1].data).find("#7"), std::string::npos);
    EXPECT_TRUE(TLMainBids::BidResultsMailQueue.empty());
}

TEST_F(BidEmailTest, TheBidEngineQueuesAndStartsThroughTheMainWindowsTimer) {
    FakeSmtp sink;
    account(sink, 587, 1);
    slot(0, "me@example.com");
    addItem("5", "Five");
    platform::Timer windowTimer;
    TLMainBids::Install_Bid_Results_Mail(&windowTimer);

    auto& mail = TLMainBids::bidLink<TLMainBids::BidResultsMail>();
    mail.Queue_Bid_Result("5");
    EXPECT_TRUE(mail.Mail_Queued());
    mail.Start_Send_Timer();
    EXPECT_TRUE(windowTimer.enabled());
    EXPECT_EQ(windowTimer.interval(), 1000);
    time.advanceMs(1000);
    EXPECT_FALSE(windowTimer.enabled()) << "the timer fires once";
    ASSERT_TRUE(waitReal([&] { return sink.mails().size() == 1; }));
    for (int i = 0; i < 20 && TLMainBids::Bid_Results_Sending(); ++i) {
        waitReal([] { return false; }, 30);
        time.advanceMs(1000);
    }
    EXPECT_FALSE(mail.Mail_Queued());

    TLMainBids::Install_Bid_Results_Mail(nullptr);
    TLMainBids::bidLink<TLMainBids::BidResultsMail>().Queue_Bid_Result("5");
    EXPECT_TRUE(TLMainBids::BidResultsMailQueue.empty()) << "given back: the stand-in does nothing";
}

// ---- The test mail -------------------------------------------------------------------------------

TEST_F(BidEmailTest, TestMailAsksSendsTheSampleAndReportsTheOutcome) {
    FakeSmtpOptions refusing;
    refusing.refuseRecipients = {"refused@example.com"};
    FakeSmtp sink(refusing);
    std::string answer;
    Messages::SetAnswerHookForTests([&](Messages& m) {
        EXPECT_EQ(m.titleText(), "Test eMail");
        m.clickButton(answer == "OK" ? 1 : 2);
    });

    // No account name: told, nothing asked or sent.
    modTLMain::Test_Email();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"No User Email Account Name Found!"});

    account(sink, 587, 1);
    slot(0, "me@example.com");
    slot(2, "you@example.com");

    boxes.clear();
    answer = "Cancel";
    modTLMain::Test_Email();
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(sink.sessions(), 0);

    answer = "OK";
    modTLMain::Test_Email();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Test Email Sent...."});
    ASSERT_EQ(sink.mails().size(), 2u);
    EXPECT_EQ(FakeSmtp::bodyOf(sink.mails()[0].data),
              "\r\n#123456789012\r\nHiBid:US 123.45\r\nUBid:127.00\r\nYou Won\r\neBay Auction Title Displayed Here\r\n");
    EXPECT_EQ(sink.mails()[1].rcptTo[0], "you@example.com");

    boxes.clear();
    slot(2, "refused@example.com");
    modTLMain::Test_Email();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0].rfind("Test Email Failed - ", 0), 0u) << boxes.texts()[0];
    EXPECT_NE(boxes.texts()[0].find("550"), std::string::npos) << boxes.texts()[0];
}

}  // namespace
