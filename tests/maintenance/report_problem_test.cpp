#include "maintenance/report_problem.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_update_server.h"
#include "foundation/config_store.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "mainwindow/update_server.h"
#include "platform/dialup_network.h"
#include "platform/file_version.h"
#include "temp_data_folder.h"

namespace {

using namespace modReportProblem;

// The system's connection as NetworkManager would report it; nothing dials.
class FakeConnection final : public platform::DialupNetwork {
public:
    bool online = true;
    std::string name = "Wired connection 1";
    void listEntries(std::function<void(int, std::vector<platform::DialEntry>)> done) override { done(0, {}); }
    void dial(const std::string&, const platform::DialAccount&, std::function<void(int, std::string)> done) override {
        done(platform::kDialNoEntry, {});
    }
    void cancelDial() override {}
    void activeDialConnections(std::function<void(std::vector<std::string>)> done) override { done({}); }
    void hangUp(const std::vector<std::string>&, std::function<void()> done) override { done(); }
    void bringUpDefault(int, std::function<void(bool)> done) override { done(online); }
    void connectedState(std::function<void(bool, std::string)> done) override { done(online, online ? name : ""); }
};

class ReportProblemTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::DataFolder = data.dataFolder();
        modTLC::ResetForTests();
        modReportProblem::ResetForTests();
        TLMainItems::ResetCategoriesForTests();
        TLMainItems::Items = std::vector<TLMainItems::AuctionItem>(1);
        TLMainItems::ItemCount = 0;
        platform::setDialupNetworkForTests(&network);
        Messages::SetAnswerHookForTests([this](Messages& m) {
            shown.push_back(m.messageText());
            ASSERT_FALSE(steps.empty()) << m.messageText();
            auto step = steps.front();
            steps.pop_front();
            step(m);
        });
    }
    void TearDown() override {
        platform::setDialupNetworkForTests(nullptr);
        Messages::SetAnswerHookForTests(nullptr);
        TLMainItems::Items = std::vector<TLMainItems::AuctionItem>(1);
        TLMainItems::ItemCount = 0;
    }
    void addItem(const char* number, const char* category, int bidSecs) {
        TLMainItems::AuctionItem it;
        it.ItemNumber = number;
        it.Category = category;
        it.BidTimeSecs = bidSecs;
        TLMainItems::Items.push_back(it);
        ++TLMainItems::ItemCount;
    }
    static std::function<void(Messages&)> click(int n) { return [n](Messages& m) { m.clickButton(n); }; }
    static std::function<void(Messages&)> type(std::string t) {
        return [t](Messages& m) {
            m.typeText(t);
            m.clickButton(1);
        };
    }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::FakeClipboard clipboard;
    FakeConnection network;
    std::deque<std::function<void(Messages&)>> steps;
    std::vector<std::string> shown;
};

TEST_F(ReportProblemTest, OtherProblemGivesTheFramedReportInOrderWithoutSecrets) {
    modTLC::Set_Config_Value("Options", "ClockSet", "1");
    modTLC::Set_Config_Value("Options", "EmailPassword", "hunter2");
    modTLC::Set_Config_Value("Locale", "Currency", "USD");
    modTLC::Set_Config_Value("Users", "alice", "secret-user-line");
    modTLC::Set_Config_Value("Remote", "Key", "remote-line");
    modTLC::Set_Config_Value("Categories", "Home", "1");
    addItem("1001", "Home", 30);
    addItem("1002", "Garden", 0);
    addItem("1003", "Home", 0);
    data.write("OperationLog.txt", "first entry\r\nsecond entry\r\n");

    steps = {[](Messages& m) { m.chooseOption(2); m.clickButton(1); }, type(""), click(1),
             type("The bid went out late"), click(1)};
    Report_Problem();
    ASSERT_TRUE(steps.empty());
    EXPECT_NE(shown[2].find("You must enter a problem description."), std::string::npos);

    const std::string report = clipboard.text();
    EXPECT_EQ(data.read("Report.txt"), report + "\r\n");
    const char* inOrder[] = {"Copy and Email to: Can't Retrieve Contact Email Address!\r\n\r\n",
                             "Created on ",
                             "Auction Item Number(s): \r\n\r\n\r\n---- Description of Problem ----\r\n\r\nThe bid went out late\r\n\r\n",
                             "---- System Information ----\r\n\r\n",
                             "Time Sync On, ",
                             "---- End System Information ----\r\n\r\n",
                             "---- Analysis of Auction Data File ----\r\n\r\nTotal Item Count = 3\r\n",
                             "Restored Missing Category - Garden\r\n",
                             "Home = 2 Items\r\nGarden = 1 Items\r\n1 Bids Pending\r\n",
                             "---- Operation Log Entries ----\r\n\r\nfirst entry\r\nsecond entry\r\n\r\n---- End Operation Log Entries ----",
                             "---- Configuration ----\r\n\r\n",
                             "---- END OF REPORT ----\r\n"};
    size_t at = 0;
    for (const char* part : inOrder) {
        const size_t found = report.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found;
    }
    EXPECT_EQ(report.find("Bid Results"), std::string::npos);
    EXPECT_EQ(report.find("UAC Status"), std::string::npos);

    const size_t block = report.find("---- Configuration ----\r\n\r\n") + 27;
    const auto settings = Decode_Hex_Block(report.substr(block, report.find("\r\n\r\n---- End Configuration") - block));
    ASSERT_TRUE(settings);
    EXPECT_NE(settings->find("[Options]"), std::string::npos);
    EXPECT_NE(settings->find("Currency=USD"), std::string::npos);
    for (const char* secret : {"hunter2", "secret-user-line", "remote-line", "[Users]", "[Remote]"})
        EXPECT_EQ(settings->find(secret), std::string::npos) << secret;
}

// The extension's version is read from its library; the connection line comes from a fresh look
// at the system's primary connection.
TEST_F(ReportProblemTest, SystemInformationNamesTheExtensionAndTheConnection) {
    data.write("libTolvaneRerodeIE.so", "ELF..." + platform::versionMarkerTag() + "3.00" + std::string(1, '\0') + "...");
    const std::string online = Get_Report_SysInfo();
    EXPECT_NE(online.find("IE Menu DLL: 3.00\r\n"), std::string::npos) << online;
    EXPECT_NE(online.find("\r\nConnection Type: Wired connection 1, Status Online\r\n\r\n---- End System Information ----\r\n\r\n"),
              std::string::npos)
        << online;
    network.online = false;
    const std::string offline = Get_Report_SysInfo();
    EXPECT_NE(offline.find("\r\nConnection Type: , Status Offline\r\n\r\n---- End System Information"), std::string::npos)
        << offline;
}

TEST_F(ReportProblemTest, BidProblemAsksForAKnownItemAndCarriesItsResultPage) {
    addItem("1001", "Home", 0);
    data.write("Saved Items/1001BR.html", "<html>won</html>");
    steps = {[](Messages& m) { m.chooseOption(1); m.clickButton(1); }, type("999"), click(1), type("1001"),
             click(1), click(2)};  // the page found and shown; "Cancel" after looking at it ends the report
    Report_Problem();
    EXPECT_NE(shown[2].find("Error! Item number was not found in program listings!"), std::string::npos);
    EXPECT_TRUE(clipboard.text().empty());
    EXPECT_FALSE(data.exists("Report.txt"));
    EXPECT_EQ(ReportItemNumber, "1001");
    const size_t start = ReportBlockBuffer.find("\r\n\r\n") + 4;
    const auto page = Decode_Hex_Block(ReportBlockBuffer.substr(start, ReportBlockBuffer.find("\r\n\r\n---- End") - start));
    ASSERT_TRUE(page);
    EXPECT_EQ(*page, "<html>won</html>");
}

TEST_F(ReportProblemTest, HexBlocksHave32BytesALineAndRoundTrip) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 7919) % 251);
    const std::string hex = Hex_Block(bytes);
    EXPECT_EQ(hex.find("\r\n"), 64u);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF\r\n"), std::string::npos);
    EXPECT_EQ(Decode_Hex_Block(hex), bytes);
    EXPECT_FALSE(Decode_Hex_Block("ZZ" + hex));
    EXPECT_FALSE(Decode_Hex_Block(hex.substr(0, hex.size() / 2)));

    clipboard.setText(hex.substr(0, 199));
    Decode_Report_Block(2);
    EXPECT_FALSE(data.exists("Debug/ReportCF.txt"));
}

TEST_F(ReportProblemTest, OperationLogBlockKeepsTheLast500Lines) {
    std::string log;
    for (int i = 1; i <= 1000; ++i) log += "line " + std::to_string(i) + "\r\n";
    const std::string block = OpLog_Block(log);
    EXPECT_EQ(block.find("line 500\r\n"), std::string::npos);
    EXPECT_NE(block.find("\r\n\r\nline 501\r\n"), std::string::npos);
    EXPECT_NE(block.find("line 1000\r\n\r\n---- End Operation Log Entries ----\r\n\r\n"), std::string::npos);
}

// Only an address goes on the clipboard: a failure is told and leaves the user's clipboard as it was.
TEST_F(ReportProblemTest, ContactAddressIsTakenOnlyWhenItIsOneAddress) {
    testsupport::FakeUpdateServer server;
    modTLC::Set_Config_Value("Options", UpdateServer::kServerKey, server.address());
    struct Case { const char* body; const char* expected; };
    const Case cases[] = {{"help@tolvane.example\r\n", "help@tolvane.example"},
                          {"help@tolvane.example\r\nsecond line", kNoContactAddress},
                          {"<html>down</html>", kNoContactAddress},
                          {"", kNoContactAddress}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        ContactAddress.clear();
        clipboard.setText("the user's own text");
        server.answer("C-", c.body);
        steps = {click(1)};
        Contact_Us();
        const bool found = std::string(c.expected) != kNoContactAddress;
        EXPECT_EQ(clipboard.text(), found ? c.expected : "the user's own text");
        if (found)
            EXPECT_NE(shown.back().find(std::string("copied to your clipboard.\r\n\r\n") + c.expected), std::string::npos);
        else
            EXPECT_EQ(shown.back().find("clipboard"), std::string::npos) << shown.back();
        EXPECT_NE(shown.back().find(c.expected), std::string::npos);
    }
    const size_t asked = server.asked().size();
    steps = {click(1)};
    Contact_Us();  // fetched once per run
    EXPECT_EQ(server.asked().size(), asked);
}

// Without an https update server Contact Us asks nothing, says where the server is set, and leaves
// the clipboard alone.
TEST_F(ReportProblemTest, ContactUsWithoutAnHttpsServerSaysSo) {
    testsupport::FakeUpdateServer server;
    server.answer("C-", "help@tolvane.example\r\n");
    struct Case { std::string address; const char* told; };
    const Case cases[] = {{"", UpdateServer::kNoServerText},
                          {"http" + server.address().substr(5), UpdateServer::kNotHttpsText}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        modTLC::Set_Config_Value("Options", UpdateServer::kServerKey, c.address);
        ContactAddress.clear();
        clipboard.setText("the user's own text");
        steps = {click(1)};
        Contact_Us();
        ASSERT_TRUE(steps.empty());
        EXPECT_EQ(clipboard.text(), "the user's own text");
        EXPECT_NE(shown.back().find(c.told), std::string::npos) << shown.back();
        EXPECT_NE(shown.back().find("Help > Setup, on the Options page"), std::string::npos) << "where it is set";
        EXPECT_EQ(Contact_Address(), kNoContactAddress);  // the report's first line
    }
    EXPECT_TRUE(server.asked().empty());
}

}  // namespace
