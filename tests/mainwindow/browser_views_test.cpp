// Browser views: which road each page takes (the program's browser window or the alternate
// browser with an argument list), the addresses handed over, and the guards of the
// saved-page views.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "fake_clock.h"
#include "fake_desktop_files.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "items/test_items.h"
#include "mainwindow/browser_views.h"
#include "recording_browser_openers.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;
namespace views = TLMainBrowser;

namespace {

class BrowserViews : public ::testing::Test {
protected:
    void SetUp() override {
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
        views::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
    }
    void TearDown() override {
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
    }
    void altBrowser(const char* on, const char* path = "/usr/bin/true") {
        modTLC::Set_Config_Value("Options", "AltBrowser", on);
        modTLC::Set_Config_Value("Options", "AltBrowserPath", path);
    }
    std::string fileUrl(const std::string& name) const { return views::Local_Page_Address(data.path(name)); }

    TempDataFolder data;
    RecordingBrowserOpeners browser;
    FakeDesktopFiles desktop;
    RecordingStatusLine status;
    RecordingItemNumberBox itemBox;
};

TEST_F(BrowserViews, OnlyWebAndFileAddressesReachABrowserFullyEncoded) {
    struct C { const char* given; const char* handed; };
    const C cases[] = {
        {"http://cgi.ebay.com/ws/eBayISAPI.dll?ViewItem&item=1", "http://cgi.ebay.com/ws/eBayISAPI.dll?ViewItem&item=1"},
        {"HTTPS://www.ebay.co.uk/sch/i.html?_nkw=red bike", "https://www.ebay.co.uk/sch/i.html?_nkw=red%20bike"},
        {"  http://x.example/a b  ", "http://x.example/a%20b"},
        {"file:///home/me/My Items/1.html", "file:///home/me/My%20Items/1.html"},
        {"javascript:alert(1)", ""},
        {"ftp://files.example/x", ""},
        {"--incognito", ""},
        {"www.ebay.com", ""},   // no scheme: not an address a browser is given
        {"http:///path", ""},   // no host
        {"", ""},
    };
    for (const C& c : cases) EXPECT_EQ(views::Browser_Address(c.given), c.handed) << c.given;
}

TEST_F(BrowserViews, LocalPagesAreFileUrlsOfTheirFullPath) {
    EXPECT_EQ(views::Local_Page_Address("/home/a user/Saved Items/12 BR.html"),
              "file:///home/a%20user/Saved%20Items/12%20BR.html");
    EXPECT_EQ(views::Local_Page_Address("/data/50%.html"), "file:///data/50%25.html");
}

// AltBrowser is read as a number: exactly 1 selects the alternate browser.
TEST_F(BrowserViews, TheAlternateBrowserIsChosenByTheNumberOne) {
    struct C { const char* value; bool alt; };
    const C cases[] = {{nullptr, false}, {"0", false}, {"1", true}, {"1.0", true}, {" 1", true}, {"2", false}, {"True", false}};
    for (const C& c : cases) {
        modTLC::Delete_Config_Key("Options", "AltBrowser");
        if (c.value) modTLC::Set_Config_Value("Options", "AltBrowser", c.value);
        EXPECT_EQ(views::Alt_Browser_On(), c.alt) << (c.value ? c.value : "(none)");
    }
}

// The alternate browser is started with an argument list: the page's address is one argument,
// whatever it holds, and the browser's own path may hold blanks.
TEST_F(BrowserViews, TheAlternateBrowserGetsTheAddressAsOneArgumentNeverAShell) {
    const std::string browserWithBlank = data.path("My Browser");
    data.write("My Browser", "#!/bin/sh\n");
    struct C { std::string path; std::string program; std::vector<std::string> leading; };
    const C cases[] = {
        {"/usr/bin/firefox", "/usr/bin/firefox", {}},
        {browserWithBlank, browserWithBlank, {}},                    // an existing file: its whole name
        {"\"" + browserWithBlank + "\"", browserWithBlank, {}},     // quoted
        {"firefox --private-window", "firefox", {"--private-window"}},  // a command with its own option
    };
    for (const C& c : cases) {
        browser.started.clear();
        altBrowser("1", c.path.c_str());
        itemBox.itemNumber = "123; rm -rf ~";
        views::ViewEbayItem();
        ASSERT_EQ(browser.started.size(), 1u) << c.path;
        EXPECT_EQ(browser.started[0].program, c.program) << c.path;
        std::vector<std::string> args = c.leading;
        args.push_back("http://cgi.ebay.com/ws/eBayISAPI.dll?ViewItem&item=123%3B%20rm%20-rf%20~");
        EXPECT_EQ(browser.started[0].arguments, args) << c.path;
        EXPECT_TRUE(browser.navigated.empty());
    }
}

TEST_F(BrowserViews, AnAlternateBrowserThatDoesNotStartIsReported) {
    struct C { const char* path; bool starts; };
    const C cases[] = {{"/usr/bin/firefox", false}, {"", true}, {"   ", true}};
    for (const C& c : cases) {
        status.status.clear();
        browser.startSucceeds = c.starts;
        altBrowser("1", c.path);
        views::MnuTitleMyFeedback_Click();
        EXPECT_EQ(status.status, views::kAltBrowserFailed) << "[" << c.path << "]";
    }
}

// The service pages: the item page of the site's item host, the feedback pages of one feedback
// host for every site; the values put into a query are percent-encoded.
TEST_F(BrowserViews, ServicePagesOpenInTheProgramsBrowserWindow) {
    modTLC::Set_Config_Value("Locale", "CGI", "http://cgi.ebay.de/");
    UserState::CurrentUserID = "me&you";
    TLMainItems::AuctionItem item;
    item.Seller = "best seller (1234) 99.8%";
    item.HighBidder = "bidder#1";
    itemBox.itemNumber = " 110012345678 ";

    views::ViewEbayItem();
    views::View_Sellers_Feedback(&item);
    views::View_High_Bidders_Feedback(&item);
    views::MnuTitleMyFeedback_Click();
    EXPECT_EQ(browser.navigated, (std::vector<std::string>{
                                     "http://cgi.ebay.de/ws/eBayISAPI.dll?ViewItem&item=110012345678",
                                     "http://feedback.ebay.com/ws1/eBayISAPI.dll?ViewFeedback&userid=best%20seller",
                                     "http://feedback.ebay.com/ws/eBayISAPI.dll?ViewFeedback&userid=bidder%231",
                                     "http://feedback.ebay.com/ws/eBayISAPI.dll?ViewFeedback&userid=me%26you",
                                 }));
    EXPECT_TRUE(browser.started.empty());
    EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(BrowserViews, FeedbackViewsOfTheSelectedItem) {
    struct C { const char* seller; const char* bidder; const char* alt; std::vector<std::string> pages; };
    const C cases[] = {
        // a seller text without "(" gives an empty ID
        {"nobracket", "No Bids Yet", "0", {"http://feedback.ebay.com/ws1/eBayISAPI.dll?ViewFeedback&userid="}},
        {"s1 (5) 100%", "Buy It Now Auction", "0", {"http://feedback.ebay.com/ws1/eBayISAPI.dll?ViewFeedback&userid=s1"}},
        {"s1 (5) 100%", "Dutch Auction", "1", {"http://feedback.ebay.com/ws/eBayISAPI.dll?ViewFeedback&userid=s1"}},
        {"s1 (5) 100%", "hb", "1", {"http://feedback.ebay.com/ws/eBayISAPI.dll?ViewFeedback&userid=s1",
                                    "http://feedback.ebay.com/ws/eBayISAPI.dll?ViewFeedback&userid=hb"}},
    };
    for (const C& c : cases) {
        browser.navigated.clear();
        browser.started.clear();
        altBrowser(c.alt);
        TLMainItems::AuctionItem item;
        item.Seller = c.seller;
        item.HighBidder = c.bidder;
        views::View_Sellers_Feedback(&item);
        views::View_High_Bidders_Feedback(&item);
        views::View_Sellers_Feedback(nullptr);  // no selected item: nothing
        std::vector<std::string> pages = browser.navigated;
        for (const auto& s : browser.started) pages.push_back(s.arguments.back());
        EXPECT_EQ(pages, c.pages) << c.seller << " / " << c.bidder;
    }
}

TEST_F(BrowserViews, ASiteBaseThatIsNoWebAddressOpensNothing) {
    modTLC::Set_Config_Value("Locale", "CGI", "javascript:alert(1)//");
    itemBox.itemNumber = "1";
    views::ViewEbayItem();
    EXPECT_TRUE(browser.navigated.empty());
    EXPECT_EQ(status.status, views::kInvalidAddress);
}

// Local pages open in the program's browser window, or in the alternate browser, as file URLs
// (never through the desktop's opener); a data folder with blanks gives "%20" in the address.
TEST_F(BrowserViews, LocalPagesOpenInTheProgramsBrowserOrTheAlternateBrowser) {
    modTLMain::DataFolder = data.home() + "/Tolvane Data/";
    const std::string folderUrl = "file://" + data.home() + "/Tolvane%20Data/";
    views::DisplayBidResults("777");  // no saved result page: the browser is still started
    EXPECT_EQ(browser.navigated, (std::vector<std::string>{folderUrl + "Saved%20Items/777BR.html"}));
    EXPECT_TRUE(desktop.opened.empty());

    altBrowser("1");
    views::DisplayBidResults("777");
    views::DisplayBidResults("../777");  // never a file elsewhere
    ASSERT_EQ(browser.started.size(), 1u);
    EXPECT_EQ(browser.navigated.size(), 1u);
    EXPECT_EQ(browser.started[0].arguments, std::vector<std::string>{folderUrl + "Saved%20Items/777BR.html"});
}

// The help page opens in the program's browser window (the alternate browser when it is chosen),
// at a named section when one is asked for; a missing page says where it should be and opens
// nothing.
TEST_F(BrowserViews, TheHelpPageOpensInTheProgramsBrowserOrSaysWhereItIsMissing) {
    ScriptedMessageBoxes boxes;
    const std::string help = data.path("Help/TLIIHelp.Htm");
    views::MnuTitleHelp_Click();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find(help), std::string::npos) << boxes.texts()[0];
    EXPECT_EQ(boxes.texts()[0], views::Help_Missing_Text(help));
    EXPECT_TRUE(browser.navigated.empty());
    EXPECT_TRUE(desktop.opened.empty());

    data.write("Help/TLIIHelp.Htm", "<html></html>");
    const std::string helpUrl = views::Local_Page_Address(help);
    views::MnuTitleHelp_Click();
    views::Show_Help(views::kHelpOptions);
    EXPECT_EQ(browser.navigated, (std::vector<std::string>{helpUrl, helpUrl + "#Options"}));
    altBrowser("1");
    views::Show_Help(views::kHelpPower);
    ASSERT_EQ(browser.started.size(), 1u);
    EXPECT_EQ(browser.started[0].arguments, std::vector<std::string>{helpUrl + "#Power"});
    EXPECT_EQ(boxes.texts().size(), 1u);
    EXPECT_TRUE(desktop.opened.empty());
}

// The bid engine shows an item's result page by its index in the list, after its own step, and
// never while another armed bid is about to be placed: the browser window's engine can hold the
// program for a moment as it starts.
TEST_F(BrowserViews, TheBidEngineReachesTheResultPageByTheItemsIndexOutsideABidsMoment) {
    FakeTime time;
    TLMainItems::Items.assign(4, {});
    TLMainItems::ItemCount = 3;
    TLMainItems::Items[2].ItemNumber = "220011";
    TLMainItems::Items[3].ItemNumber = "220012";
    TLMainItems::Items[3].EndTime = TLMainItems::End_Time_Text(time.clock.now().addSecs(12), false);
    views::Take_Bid_Results_View();
    auto& view = TLMainBids::bidLink<TLMainBids::BidResultsView>();

    view.DisplayBidResults(2);
    view.DisplayBidResults(4);  // no such item: nothing
    EXPECT_TRUE(browser.navigated.empty()) << "opened inside the bid engine's step";
    time.advanceMs(5);
    EXPECT_EQ(browser.navigated, std::vector<std::string>{fileUrl("Saved Items/220011BR.html")});

    // Item 220012's bid goes 5 seconds before its end, 7 seconds from now.
    browser.navigated.clear();
    TLMainItems::Items[3].BidTimeSecs = 5;
    view.DisplayBidResults(2);
    time.advanceMs(6000);
    EXPECT_TRUE(browser.navigated.empty()) << "opened just before a bid";
    time.advanceMs(3000);
    EXPECT_EQ(browser.navigated, std::vector<std::string>{fileUrl("Saved Items/220011BR.html")});

    TLMainBids::setBidLink<TLMainBids::BidResultsView>(nullptr);
    TLMainItems::Items.assign(1, {});
    TLMainItems::ItemCount = 0;
}

TEST_F(BrowserViews, SavedPageViewsRefuseWhileBusyAndNeedTheFile) {
    data.write("Saved Items/42.html", "<html></html>");
    data.write("Saved Items/42BR.html", "<html></html>");
    struct C {
        const char* number; int16_t download, update; bool bidResults;
        const char* message; const char* opened;
    };
    const C cases[] = {
        {"42", 0, 0, false, "", "Saved Items/42.html"},
        {"42", 0, 0, true, "", "Saved Items/42BR.html"},
        {"42", -1, 0, false, views::kBusy, nullptr},
        {"42", 0, -1, true, views::kBusy, nullptr},
        {"", 0, 0, false, "", nullptr},              // no item number: nothing
        {"43", 0, 0, false, views::kNoItemFound, nullptr},
        {"43", 0, 0, true, views::kNoBidResultsFound, nullptr},
        {"../Saved Items/42", 0, 0, false, views::kNoItemFound, nullptr},  // never a file elsewhere
    };
    for (const C& c : cases) {
        browser.navigated.clear();
        status.status.clear();
        TLMainState::DownloadBusy = c.download;
        TLMainState::UpdateBusy = c.update;
        itemBox.itemNumber = c.number;
        if (c.bidResults)
            views::MnuSubPopupBidResults_Click();
        else
            views::MnuTitleShowItem_Click();
        EXPECT_EQ(status.status, c.message) << c.number;
        EXPECT_EQ(browser.navigated, c.opened ? std::vector<std::string>{fileUrl(c.opened)} : std::vector<std::string>{})
            << c.number;
        EXPECT_TRUE(desktop.opened.empty());
    }
}

// The feedback and item views do not look at the busy flags.
TEST_F(BrowserViews, ServiceViewsDoNotWaitForADownload) {
    TLMainState::DownloadBusy = -1;
    itemBox.itemNumber = "5";
    views::ViewEbayItem();
    views::MnuTitleMyFeedback_Click();
    EXPECT_EQ(browser.navigated.size(), 2u);
}

TEST_F(BrowserViews, ASavedPageChosenInTheDialogOpensInTheProgramsBrowser) {
    desktop.choice = data.path("Saved Items/9 9.html");
    views::MnuTitleShowArchived_Click();
    ASSERT_EQ(desktop.asked.size(), 1u);
    EXPECT_EQ(desktop.asked[0].folder, data.path("Saved Items/"));
    EXPECT_EQ(desktop.asked[0].filter, "Web Page (*.html)|*.html|All Files (*.*)|*.*");
    EXPECT_EQ(browser.navigated, std::vector<std::string>{fileUrl("Saved Items/9 9.html")});

    browser.navigated.clear();
    desktop.choice.clear();  // Cancel
    views::MnuTitleShowArchived_Click();
    TLMainState::UpdateBusy = -1;
    desktop.choice = data.path("x.html");
    views::MnuTitleShowArchived_Click();
    EXPECT_EQ(status.status, views::kBusy);
    EXPECT_EQ(desktop.asked.size(), 2u);
    EXPECT_TRUE(browser.navigated.empty());
}

}  // namespace
