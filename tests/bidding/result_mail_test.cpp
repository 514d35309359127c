// From the end of an auction to the result e-mail in the SMTP sink: the result update queues the
// item, the main window's timer starts the run, the mail says won or lost.
#include "bid_fixture.h"
#include "bidding/bid_email.h"
#include "bidding/mail_transport.h"
#include "fake_smtp.h"

namespace {

class ResultMailTest : public testsupport::BidTest {
protected:
    void SetUp() override {
        BidTest::SetUp();
        TLMainBids::ResetBidEmailForTests();
        TLMainBids::Install_Bid_Results_Mail(&sendBidResultsTimer);
        modMail::Mail_Transport_Settings().caFile = testsupport::FakeService::caFile();
        modMail::Mail_Transport_Settings().connectTo = "localhost:587:127.0.0.1:" + std::to_string(sink.port());
        for (auto [k, v] : {std::pair{"ActSMTPServer", "localhost"}, {"ActSMTPPort", "587"}, {"ActName", "bob@example.com"},
                            {"ActPass", "secret"}, {"AuthReq", "1"}, {"Email1", "me@example.com"}, {"EmailEn1", "1"}})
            modTLC::Set_Config_Value("Remote", k, v);
    }
    void TearDown() override {
        TLMainBids::Install_Bid_Results_Mail(nullptr);
        TLMainBids::ResetBidEmailForTests();
        modMail::Stop_All_Mail_Sends();
        modMail::Mail_Transport_Settings() = {};
        BidTest::TearDown();
    }

    // An item whose bid was placed and whose auction ended 6 seconds ago, e-mail asked for.
    int placed(const std::string& number, const std::string& winner, bool reserveNotMet = false) {
        serve();
        const int i = arm(number, 5, -6, "12.00");
        item(i).BidStatus = "Bid Placed";
        item(i).BidTimeSecs = 0;
        item(i).AfterBidOptions = "1";
        ended(number, winner, "US 11.00", reserveNotMet);
        return i;
    }
    // Ticks until the sink has `n` messages and the run is over.
    bool mailed(size_t n) {
        for (int k = 0; k < 200; ++k) {
            tick(1, 50);
            if (sink.mails().size() >= n && !TLMainBids::Bid_Results_Sending()) return sink.mails().size() == n;
        }
        return false;
    }

    testsupport::FakeSmtp sink{testsupport::FakeSmtpOptions{.user = "bob@example.com"}};
    platform::Timer sendBidResultsTimer;
};

TEST_F(ResultMailTest, AWonAuctionIsMailedOnceAfterItsResultUpdate) {
    const int i = placed("120000000001", kUser);
    ASSERT_TRUE(mailed(1));
    EXPECT_EQ(item(i).BidStatus, "Completed");
    const auto mail = sink.mails()[0];
    EXPECT_EQ(mail.rcptTo, std::vector<std::string>{"me@example.com"});
    EXPECT_TRUE(mail.overTls);
    EXPECT_EQ(testsupport::FakeSmtp::headerOf(mail.data, "Subject"), "Bid Results");
    EXPECT_EQ(testsupport::FakeSmtp::bodyOf(mail.data),
              "\r\n#120000000001\r\nHiBid:US 11.00\r\nUBid:12.00\r\nYou Won\r\nTeapot 120000000001\r\n");
    EXPECT_TRUE(TLMainBids::BidResultsMailQueue.empty());
    EXPECT_FALSE(sendBidResultsTimer.enabled());
}

TEST_F(ResultMailTest, AHighBidUnderTheReserveIsMailedAsLost) {
    placed("120000000002", kUser, true);
    ASSERT_TRUE(mailed(1));
    EXPECT_NE(testsupport::FakeSmtp::bodyOf(sink.mails()[0].data).find("\r\nYou Lost\r\n"), std::string::npos);
}

}  // namespace
