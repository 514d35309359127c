// The options dialog's eMail page (its keys and the test mail to the SMTP sink on 127.0.0.1) and
// its Bid Groups page (each user's groups through the bid engine's group procedures).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "bidding/bid_email.h"
#include "bidding/bid_groups.h"
#include "bidding/mail_transport.h"
#include "fake_service.h"
#include "fake_smtp.h"
#include "setup_fixture.h"

using setuptest::SetupFixture;
using testsupport::FakeSmtp;

namespace {

std::vector<std::string> listed(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

class SetupEmailTest : public SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        modMail::Mail_Transport_Settings().caFile = testsupport::FakeService::caFile();
    }
    void TearDown() override {
        modMail::Stop_All_Mail_Sends();
        modMail::Mail_Transport_Settings() = {};
        SetupFixture::TearDown();
    }
};

TEST_F(SetupEmailTest, EachBoxWritesItsKeyAndTheTabShowsTheStoredSettings) {
    set("Remote", "Email2", "cell@example.com");
    set("Remote", "EmailEn2", "1");
    set("Remote", "EmailEn0", "x");  // not a number: the box stays as it was
    set("Remote", "AuthReq", "1");
    ::Setup& s = open();
    EXPECT_EQ(s.Email[2]->text().toStdString(), "cell@example.com");
    EXPECT_TRUE(s.chkEMEnabled[2]->isChecked());
    EXPECT_FALSE(s.chkEMEnabled[0]->isChecked());
    EXPECT_TRUE(s.chkAuthReq->isChecked());
    EXPECT_EQ(s.ActPass->echoMode(), QLineEdit::Password);

    s.Email[1]->setText("home@example.com");
    s.chkEMEnabled[1]->setChecked(true);
    s.ActSMTPPort->setText("smtp");  // stored as typed
    s.ActPass->setText("pw");
    s.chkAuthReq->setChecked(false);
    EXPECT_EQ(value("Remote", "Email1"), "home@example.com");
    EXPECT_EQ(value("Remote", "EmailEn1"), "1");
    EXPECT_EQ(value("Remote", "ActSMTPPort"), "smtp");
    EXPECT_EQ(value("Remote", "ActPass"), "pw");
    EXPECT_EQ(value("Remote", "AuthReq"), "0");
    s.Email[1]->setText("");
    EXPECT_EQ(value("Remote", "Email1"), "");
}

TEST_F(SetupEmailTest, TheTestSendsOneBidResultsMailPerEnabledAddress) {
    FakeSmtp sink;
    modMail::Mail_Transport_Settings().connectTo = "localhost:587:127.0.0.1:" + std::to_string(sink.port());
    Messages::SetAnswerHookForTests([](Messages& m) {
        if (m.titleText() == "Test eMail") m.clickButton(1);
    });
    ::Setup& s = open();

    s.cmdTestEmail->click();  // no account name yet
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"No User Email Account Name Found!"});
    EXPECT_EQ(sink.sessions(), 0);

    // What the user types is what the test uses.
    s.ActSMTPServer->setText("localhost");
    s.ActSMTPPort->setText("587");
    s.ActName->setText("bidder@example.com");
    s.ActPass->setText("secret");
    s.chkAuthReq->setChecked(true);
    s.Email[0]->setText("work@example.com");
    s.chkEMEnabled[0]->setChecked(true);
    s.Email[1]->setText("home@example.com");  // not enabled
    s.Email[2]->setText("cell@example.com");
    s.chkEMEnabled[2]->setChecked(true);
    boxes.clear();
    s.cmdTestEmail->click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Test Email Sent...."});
    ASSERT_EQ(sink.mails().size(), 2u);
    EXPECT_EQ(sink.mails()[0].rcptTo, std::vector<std::string>{"work@example.com"});
    EXPECT_EQ(sink.mails()[1].rcptTo, std::vector<std::string>{"cell@example.com"});
    for (const auto& mail : sink.mails()) EXPECT_EQ(FakeSmtp::headerOf(mail.data, "Subject"), "Bid Results");
}

class SetupBidGroupsTest : public SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        set("Users", "alice", "a");
        set("Users", "bob", "b");
        UserState::CurrentUserID = "alice";
        s = &open();
    }
    void choose(const std::string& user) { s->UserListboxGrps->setCurrentIndex(s->UserListboxGrps->findText(user.c_str())); }
    void add(const std::string& name) {
        s->txtBidGrp->setText(QString::fromStdString(name));
        s->cmdAddBidGrp->click();
    }
    void remove(const std::string& name) {
        s->txtBidGrp->setText(QString::fromStdString(name));
        s->cmdRemBidGrp->click();
    }
    ::Setup* s = nullptr;
};

TEST_F(SetupBidGroupsTest, EachUserHasTheirOwnGroups) {
    EXPECT_EQ(s->UserListboxGrps->currentText().toStdString(), "alice");
    add("Cameras");
    add("  Lenses  ");
    EXPECT_EQ(listed(s->lstBidGrps), (std::vector<std::string>{"Cameras", "Lenses"}));
    EXPECT_EQ(s->txtBidGrp->text().toStdString(), "");
    EXPECT_EQ(value("BidGroups", "Lenses"), "alice");

    choose("bob");
    EXPECT_TRUE(listed(s->lstBidGrps).empty());
    add("cameras");  // alice's group: not taken over
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{modBidGroups::kGroupNameTaken});
    EXPECT_EQ(value("BidGroups", "Cameras"), "alice");
    add("Tripods");
    remove("Lenses");  // alice's group stays
    EXPECT_EQ(value("BidGroups", "Lenses"), "alice");
    EXPECT_EQ(listed(s->lstBidGrps), std::vector<std::string>{"Tripods"});

    choose("alice");
    EXPECT_EQ(listed(s->lstBidGrps), (std::vector<std::string>{"Cameras", "Lenses"}));
    s->lstBidGrps->setCurrentRow(1);
    EXPECT_EQ(s->txtBidGrp->text().toStdString(), "Lenses");
    s->cmdRemBidGrp->click();
    EXPECT_EQ(listed(s->lstBidGrps), std::vector<std::string>{"Cameras"});
    EXPECT_EQ(value("BidGroups", "Lenses"), "<none>");
}

TEST_F(SetupBidGroupsTest, NamesThatCannotBeKeysAndAddsWithoutAUserAreRefused) {
    for (const char* name : {"a=b", "[x", "y]", "two\nlines"}) {
        SCOPED_TRACE(name);
        boxes.clear();
        add(name);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Invalid Name!"});
    }
    EXPECT_TRUE(modTLC::Get_Section_Keys("BidGroups").empty());

    boxes.clear();
    add("   ");  // nothing but blanks: nothing happens
    s->UserListboxGrps->setCurrentIndex(-1);
    EXPECT_FALSE(s->cmdAddBidGrp->isEnabled());
    add("Cameras");
    EXPECT_TRUE(modTLC::Get_Section_Keys("BidGroups").empty());
    EXPECT_TRUE(boxes.texts().empty());
}

}  // namespace
