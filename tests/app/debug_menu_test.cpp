// The hidden debug menu of the program as main() puts it together: with [Debug] NonSession on,
// its generators of test items and the problem report's decoder do their work, and its HTTP
// switch traces the program's requests and dumps the sign-in's answer.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QApplication>
#include <functional>
#include <string>

#include "app/program_start.h"
#include "composed_program.h"
#include "fake_clipboard.h"
#include "fake_clock.h"
#include "fake_desktop_files.h"
#include "fake_service.h"
#include "fake_signin.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "maintenance/report_problem.h"
#include "mainwindow/tl_main.h"
#include "mainwindow/tl_main_state.h"
#include "service/national_sites.h"
#include "options/new_setup.h"
#include "options/setup_form.h"
#include "options/users_tab.h"
#include "service/sign_in.h"
#include "recording_browser_openers.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

class DebugMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        // A profile of a debug session, with three items in its list.
        data.write("tl2cf.dat", modAHM::Crypt_String("[Options]\r\nSound=0\r\n" + moreOptions +
                                                         "[Categories]\r\nDefault=1\r\n"
                                                         "[Debug]\r\nNonSession=True\r\n" +
                                                         moreSections,
                                                     modTLC::Config_Phrase(), true));
        modTLMain::DataFolder = data.dataFolder();
        for (const char* number : {"100", "200", "300"}) {
            TLMainItems::AuctionItem item;
            item.ItemNumber = number;
            item.Title = std::string("Item ") + number;
            item.EndTime = TLMainItems::End_Time_Text(time.clock.now().addDays(1), false);
            item.CurrentPrice = "US 10.00";
            item.Category = "Default";
            item.UserID = "buyer1";
            ASSERT_TRUE(TLMainItems::Append_Item(item));
        }
        ASSERT_TRUE(TLMainItems::Save_Auction_Items());
        TLMainItems::ResetItemStoreForTests();
        modTLC::ResetForTests();
        modTLMain::DataFolder.clear();

        Messages::SetAnswerHookForTests([this](Messages& m) {
            prompts.push_back(m.messageText());
            m.typeText(typed);
            m.clickButton(1);
        });
        programstart::Start();
        time.advanceMs(50);
    }
    void TearDown() override {
        Messages::SetAnswerHookForTests({});
        reset();
    }
    static void reset() { Unload_Composed_Program(); }
    static TLMainItems::AuctionItem& item(const char* number) {
        return TLMainItems::Items.at(static_cast<size_t>(TLMainItems::FindItemIndex(number)));
    }
    std::string endsIn(long secs) const { return TLMainItems::End_Time_Text(time.clock.now().addSecs(secs), false); }

    std::string moreOptions;   // further [Options] lines of the profile
    std::string moreSections;  // further sections of the profile
    TempDataFolder data;
    FakeTime time;
    ScriptedMessageBoxes boxes;
    FakeClipboard clipboard;
    FakeDesktopFiles desktop;
    RecordingBrowserOpeners browser;
    std::string typed;                 // what the user types into the next question
    std::vector<std::string> prompts;  // the questions asked
};

// A problem report's hex block of `text`, long enough for the decoder to take it.
std::string reportBlock(const std::string& text) {
    std::string filler;
    unsigned seed = 7;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 1103515245u + 12345u;
        filler += static_cast<char>('a' + (seed >> 16) % 26);
    }
    return modReportProblem::Hex_Block(text + "<!-- " + filler + " -->");
}

TEST_F(DebugMenuTest, TheGeneratorsAndTheDecoderWork) {
    ASSERT_TRUE(TLMain::loaded());
    TLMain& w = TLMain::instance();
    ASSERT_TRUE(w.menuChecked(TLMainLink::MenuItem::MnuDBNonSession)) << "the debug session goes on";
    TLMainItems::ItemGrid().setRow(1);
    const int selectedIndex = TLMainItems::itemGrid().itemIndexOfRow(1);
    ASSERT_GT(selectedIndex, 0);

    struct C {
        const char* entry;
        std::string typed;      // the answer to the entry's question, if it asks one
        std::string clipboard;  // the clipboard's text when the entry runs
        const char* asked;      // the question asked ("" none)
        std::function<void()> check;
    };
    const std::string page = "<html>won</html>";
    const std::string config = "[Options]\r\nSound=1\r\n";
    const C cases[] = {
        {"MnuDBSetItemRemainingTime", "200, 600", "", "Item Number, Remaining Time",
         [&] { EXPECT_EQ(item("200").EndTime, endsIn(600)); }},
        {"MnuDBSetItemsRemainingTime", "120, 100, 300", "", "Remaining Time, Item Numbers",
         [&] {
             EXPECT_EQ(item("100").EndTime, endsIn(120));
             EXPECT_EQ(item("300").EndTime, endsIn(120));
         }},
        {"MnuDBSetItemsEndingDateTime", "2026-07-04 09:15:00", "", "Date/Time",
         [&] {
             EXPECT_EQ(TLMainItems::Items.at(static_cast<size_t>(selectedIndex)).EndTime,
                       TLMainItems::End_Time_Text(QDateTime(QDate(2026, 7, 4), QTime(9, 15)), true));
         }},
        {"MnuDBSetPseudoItems", "", "", "",
         [&] {
             for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
                 EXPECT_EQ(TLMainItems::Items.at(static_cast<size_t>(i)).Seller, TLMainItems::kTestSeller) << i;
                 EXPECT_EQ(TLMainItems::Items.at(static_cast<size_t>(i)).Category, "Cameras") << i;
             }
         }},
        {"MnuDBSpecial", "", "", "",
         [&] {
             for (int i = 1; i <= TLMainItems::ItemCount; ++i)
                 EXPECT_EQ(TLMainItems::Items.at(static_cast<size_t>(i)).UserID, TLMainItems::kTestBidder) << i;
         }},
        {"MnuDBDecodeRpt", "", reportBlock(page), "",
         [&] {
             const std::string saved = data.read("Saved Items/1234567890BR.html");
             EXPECT_EQ(saved.rfind(page, 0), 0u) << saved;
             ASSERT_FALSE(browser.navigated.empty()) << "the page is shown in the program's browser";
             EXPECT_EQ(browser.navigated.back(),
                       TLMainBrowser::Local_Page_Address(data.path("Saved Items/1234567890BR.html")));
         }},
        {"MnuDBDecodeCF", "", reportBlock(config), "",
         [&] {
             EXPECT_EQ(data.read("Debug/ReportCF.txt").rfind(config, 0), 0u);
             ASSERT_FALSE(desktop.opened.empty());
             EXPECT_EQ(desktop.opened.back(), data.path("Debug/ReportCF.txt"));
         }},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.entry);
        QAction* entry = w.menuAction(c.entry);
        ASSERT_NE(entry, nullptr);
        typed = c.typed;
        prompts.clear();
        clipboard.setText(c.clipboard);
        entry->trigger();
        QApplication::processEvents();
        EXPECT_EQ(prompts, std::string(c.asked).empty() ? std::vector<std::string>{}
                                                        : std::vector<std::string>{c.asked});
        c.check();
    }
}

// The profile's user, with a password, signs in against the fake service.
class DebugMenuSignInTest : public DebugMenuTest {
protected:
    void SetUp() override {
        moreOptions = "LastUser=buyer1\r\nChkUpdates=0\r\n";
        moreSections = "[Users]\r\nbuyer1=pa55word\r\n";
        DebugMenuTest::SetUp();
        service.useForClient();
        FakeSignIn::install(service, SignInAnswer::MemberPages);
    }
    FakeService service;
};

// The HTTP switch ticked in the debug menu: the user's Check User ID (Setup, Users) leaves the
// trace of its requests, each address with its scheme, and the dump "HTMLSignIn" holds the page
// the service answered the sign-in form with.
TEST_F(DebugMenuSignInTest, TheHttpSwitchTracesTheSignInAndDumpsItsAnswer) {
    ASSERT_TRUE(TLMain::loaded());
    TLMain& w = TLMain::instance();
    ASSERT_FALSE(w.menuChecked(TLMainLink::MenuItem::MnuDBHttpEnabled));
    w.menuAction("MnuDBHttpEnabled")->trigger();
    ASSERT_TRUE(w.menuChecked(TLMainLink::MenuItem::MnuDBHttpEnabled));

    w.menuAction("MnuSetup")->trigger();
    ::Setup* setup = ::Setup::Loaded();
    ASSERT_NE(setup, nullptr);
    ASSERT_TRUE(setup->isVisible());
    setup->usersTab->TestUserID->click();
    EXPECT_EQ(setup->usersTab->labTestID->text().toStdString(), "User ID/Password is OK!");

    const std::string member =
        "https://" + FakeSignIn::memberHost() + "/ws/eBayISAPI.dll?MyeBay&ssPageName=H:H:MYEBAY:US";
    EXPECT_EQ(data.read("Debug/HTMLSignIn.htm"), FakeSignIn::redirectNote(member) + "\r\n");
    const std::string trace = data.read("Debug/HttpLog.txt");
    const std::string signIn = "https://" + FakeSignIn::signInHost() + modTLMain::kSignInPath;
    EXPECT_NE(trace.find("\r\nHttp Begin - " + signIn + " - GET - buyer1\r\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\r\nHttp Begin - " + signIn + " - POST - buyer1\r\n"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("pa55word"), std::string::npos) << trace;
    setup->close();
}

}  // namespace
