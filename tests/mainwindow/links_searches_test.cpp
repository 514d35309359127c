// Links and saved searches: the menus built from [Links] and [Searches], what opening, removing
// and choosing the default do, the AddLink dialog, and the addresses the browser roads receive.
#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "fake_clock.h"
#include "fake_system_notices.h"
#include "fake_tray.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/startup.h"
#include "foundation/window_subclass.h"
#include "mainwindow/add_link.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/links_searches.h"
#include "mainwindow/tl_main.h"
#include "platform/message_box.h"
#include "recording_browser_openers.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "service/national_sites.h"
#include "temp_data_folder.h"

using namespace testsupport;
namespace links = TLMainLinksMenu;
using links::LinksMenus;

namespace {

struct Entry { std::string caption; bool enabled; bool checked; };
bool operator==(const Entry& a, const Entry& b) {
    return a.caption == b.caption && a.enabled == b.enabled && a.checked == b.checked;
}
std::ostream& operator<<(std::ostream& o, const Entry& e) {
    return o << "{" << e.caption << (e.enabled ? "" : " disabled") << (e.checked ? " checked" : "") << "}";
}

std::vector<Entry> entries(const std::vector<QAction*>& list) {
    std::vector<Entry> out;
    for (QAction* a : list) out.push_back({a->text().toStdString(), a->isEnabled(), a->isChecked()});
    return out;
}

class LinksAndSearches : public ::testing::Test {
protected:
    void SetUp() override {
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        TLMainBrowser::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        links::AddLinkMode = "Link";
        menus = new LinksMenus(&window);
    }
    void TearDown() override {
        if (AddLink* d = AddLink::loaded()) d->cmdCancel_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        modTLC::ResetForTests();
    }
    void set(const char* section, const char* key, const char* value) { modTLC::Set_Config_Value(section, key, value); }
    void load() {
        links::Load_Links_Menu();
        links::Load_Search_Menu();
    }
    // Adds through the dialog, as the user would.
    void addThroughDialog(const char* mode, const std::string& url, const std::string& name) {
        if (std::string(mode) == "Link")
            links::MnuSubAddLink_Click();
        else
            links::MnuSubAddSearch_Click();
        AddLink* d = AddLink::loaded();
        ASSERT_NE(d, nullptr);
        d->txtLinkURL->setText(QString::fromStdString(url));
        d->txtLinkName->setText(QString::fromStdString(name));
        d->cmdOK_Click();
    }

    TempDataFolder data;
    RecordingWindow window;
    RecordingStatusLine status;
    RecordingToolbar toolbar;
    RecordingBrowserOpeners browser;
    ScriptedMessageBoxes boxes;
    LinksMenus* menus = nullptr;
};

TEST_F(LinksAndSearches, EmptyListsShowOneDisabledEntryThatDoesNothing) {
    load();
    const std::vector<Entry> noLinks{{links::kNoLinks, false, false}};
    const std::vector<Entry> noSearches{{links::kNoSearches, false, false}};
    EXPECT_EQ(entries(menus->MnuSubLinks), noLinks);
    EXPECT_EQ(entries(menus->MnuSubRemoveLink), noLinks);
    EXPECT_EQ(entries(menus->MnuSubSearches), noSearches);
    EXPECT_EQ(entries(menus->MnuSubRemoveSearch), noSearches);
    EXPECT_EQ(entries(menus->MnuSubDefaultSearch), noSearches);

    links::MnuSubLinks_Click(0);
    links::MnuSubSearches_Click(0);
    links::MnuSubRemoveLink_Click(0);
    links::MnuSubRemoveSearch_Click(0);
    links::MnuSubDefaultSearch_Click(0);
    links::MnuSubLinks_Click(7);  // past the end
    EXPECT_TRUE(browser.navigated.empty());
    EXPECT_TRUE(browser.newWindows.empty());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "DefaultSearch", "(none)"), "(none)");
}

TEST_F(LinksAndSearches, MenusListTheNamesSortedWithoutRegardToCaseAndTickTheDefault) {
    set("Links", "zebra", "http://z.example/");
    set("Links", "Apple", "http://a.example/");
    set("Links", "mango & more", "http://m.example/");
    set("Searches", "red bikes", "http://search.ebay.com/?q=red");
    set("Searches", "Blue bikes", "http://search.ebay.com/?q=blue");
    set("Options", "DefaultSearch", "red bikes");
    set("Locale", "SearchTitle", "eBay Suchen");
    load();
    const std::vector<Entry> linkEntries{{"Apple", true, false}, {"mango && more", true, false}, {"zebra", true, false}};
    EXPECT_EQ(entries(menus->MnuSubLinks), linkEntries);
    EXPECT_EQ(entries(menus->MnuSubRemoveLink), linkEntries);
    EXPECT_EQ(links::Entry_Name(menus->MnuSubLinks, 1), "mango & more");
    EXPECT_EQ(entries(menus->MnuSubSearches), (std::vector<Entry>{{"Blue bikes", true, false}, {"red bikes", true, false}}));
    EXPECT_EQ(entries(menus->MnuSubDefaultSearch), (std::vector<Entry>{{"Blue bikes", true, false}, {"red bikes", true, true}}));
    EXPECT_EQ(toolbar.tips[modTLMain::kSearchToolbarButton], "eBay Suchen - red bikes");

    // A rebuild replaces the entries rather than adding to them.
    modTLC::Delete_Config_Key("Links", "zebra");
    links::Load_Links_Menu();
    EXPECT_EQ(entries(menus->MnuSubLinks), (std::vector<Entry>{{"Apple", true, false}, {"mango && more", true, false}}));
    EXPECT_EQ(menus->Links->actions().size(), 5) << "two links, a separator, Add Link and Remove Link";
}

// A link opens in the program's browser window, a saved search in a new one; with the alternate
// browser both are its argument.
TEST_F(LinksAndSearches, OpeningAnEntryHandsItsAddressToTheBrowser) {
    set("Links", "News", "http://news.example/?a=b");
    set("Searches", "Lamps", "http://search.ebay.com/sch?_nkw=brass lamp");
    set("Links", "Bad", "javascript:alert(1)");
    load();
    links::MnuSubLinks_Click(1);     // "News" (after "Bad")
    links::MnuSubSearches_Click(0);  // "Lamps"
    EXPECT_EQ(browser.navigated, std::vector<std::string>{"http://news.example/?a=b"});
    EXPECT_EQ(browser.newWindows, std::vector<std::string>{"http://search.ebay.com/sch?_nkw=brass%20lamp"});

    links::MnuSubLinks_Click(0);  // "Bad": no web address, nothing opens
    EXPECT_EQ(status.status, TLMainBrowser::kInvalidAddress);
    EXPECT_EQ(browser.navigated.size(), 1u);

    set("Options", "AltBrowser", "1");
    set("Options", "AltBrowserPath", "/usr/bin/firefox");
    menus->MnuSubSearches[0]->trigger();  // the menu entry itself
    links::MnuSubLinks_Click(1);
    ASSERT_EQ(browser.started.size(), 2u);
    EXPECT_EQ(browser.started[0].arguments, std::vector<std::string>{"http://search.ebay.com/sch?_nkw=brass%20lamp"});
    EXPECT_EQ(browser.started[1].arguments, std::vector<std::string>{"http://news.example/?a=b"});

    browser.startSucceeds = false;
    links::MnuSubLinks_Click(1);
    EXPECT_EQ(status.status, TLMainBrowser::kAltBrowserFailed);
}

TEST_F(LinksAndSearches, RemovingAsksAndOnlyYesDeletes) {
    set("Links", "News", "http://news.example/");
    set("Searches", "Lamps", "http://search.ebay.com/?q=lamp");
    load();
    boxes.answer(platform::vbNo);
    links::MnuSubRemoveLink_Click(0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Delete Link \"News\" ?");
    EXPECT_EQ(boxes.shown()[0].title, "Delete Link");
    EXPECT_EQ(boxes.shown()[0].style, 4356);
    EXPECT_EQ(modTLC::Get_Config_Value("Links", "News"), "http://news.example/");

    boxes.answer(platform::vbYes);
    links::MnuSubRemoveLink_Click(0);
    EXPECT_EQ(modTLC::Get_Config_Value("Links", "News", "(gone)"), "(gone)");
    EXPECT_EQ(entries(menus->MnuSubLinks), (std::vector<Entry>{{links::kNoLinks, false, false}}));

    boxes.answer(platform::vbYes);
    links::MnuSubRemoveSearch_Click(0);
    EXPECT_EQ(boxes.shown().back().text, "Delete Search \"Lamps\" ?");
    EXPECT_EQ(boxes.shown().back().title, "Delete Search Name");
    EXPECT_EQ(modTLC::Get_Config_Value("Searches", "Lamps", "(gone)"), "(gone)");
    EXPECT_EQ(entries(menus->MnuSubDefaultSearch), (std::vector<Entry>{{links::kNoSearches, false, false}}));
}

// Choosing a search makes it the default; choosing the default again leaves none. The search
// command opens the default, or the site's search page without one.
TEST_F(LinksAndSearches, TheDefaultSearchAndTheSearchCommand) {
    set("Searches", "Lamps", "http://search.ebay.com/?q=lamp");
    set("Searches", "Bikes", "http://search.ebay.com/?q=bike");
    set("Locale", "SearchURL", "http://search.ebay.com/adv");
    load();

    links::MnuSubDefaultSearch_Click(1);  // "Lamps"
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "DefaultSearch"), "Lamps");
    EXPECT_EQ(entries(menus->MnuSubDefaultSearch), (std::vector<Entry>{{"Bikes", true, false}, {"Lamps", true, true}}));
    EXPECT_EQ(toolbar.tips[modTLMain::kSearchToolbarButton], "eBay Search - Lamps");
    links::MnuSubeBaySearch_Click();

    links::MnuSubDefaultSearch_Click(1);  // "Lamps" again: no default
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "DefaultSearch"), "");
    EXPECT_EQ(entries(menus->MnuSubDefaultSearch), (std::vector<Entry>{{"Bikes", true, false}, {"Lamps", true, false}}));
    EXPECT_EQ(toolbar.tips[modTLMain::kSearchToolbarButton], "eBay Search");
    links::MnuSubeBaySearch_Click();

    // Removing the default search clears the default; the command then opens the search page.
    links::MnuSubDefaultSearch_Click(0);  // "Bikes"
    boxes.answer(platform::vbYes);
    links::MnuSubRemoveSearch_Click(0);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "DefaultSearch"), "");
    menus->MnuSubeBaySearch->trigger();
    EXPECT_EQ(browser.newWindows, (std::vector<std::string>{"http://search.ebay.com/?q=lamp", "http://search.ebay.com/adv",
                                                            "http://search.ebay.com/adv"}));

    // The alternate browser always gets the site's search page; without one, the service's home page.
    set("Options", "DefaultSearch", "Lamps");
    set("Options", "AltBrowser", "1");
    set("Options", "AltBrowserPath", "/usr/bin/firefox");
    links::MnuSubeBaySearch_Click();
    modTLC::Delete_Config_Key("Locale", "SearchURL");
    links::MnuSubeBaySearch_Click();
    ASSERT_EQ(browser.started.size(), 2u);
    EXPECT_EQ(browser.started[0].arguments, std::vector<std::string>{"http://search.ebay.com/adv"});
    EXPECT_EQ(browser.started[1].arguments, std::vector<std::string>{links::kServiceHomePage});
}

TEST_F(LinksAndSearches, TheAddDialogStoresATrimmedNameAndBringsTheMainWindowBack) {
    load();
    links::MnuSubAddSearch_Click();
    AddLink* d = AddLink::loaded();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Add New Search");
    EXPECT_EQ(d->UrlLab->text(), "Search URL:");
    EXPECT_EQ(d->NameLab->text(), "Search Name:");
    EXPECT_EQ(window.shows, std::vector<bool>{false}) << "the main window hides while the dialog is open";
    d->txtLinkURL->setText("http://search.ebay.com/?q=lamp");
    d->txtLinkName->setText("  Lamps  ");
    d->cmdOK_Click();
    EXPECT_EQ(AddLink::loaded(), nullptr);
    EXPECT_EQ(window.shows, (std::vector<bool>{false, true}));
    EXPECT_EQ(modTLC::Get_Config_Value("Searches", "Lamps"), "http://search.ebay.com/?q=lamp");
    EXPECT_EQ(entries(menus->MnuSubSearches), (std::vector<Entry>{{"Lamps", true, false}}));

    // The same name again replaces its address: still one entry.
    addThroughDialog("Search", "http://search.ebay.com/?q=brass", "Lamps");
    EXPECT_EQ(modTLC::Get_Config_Value("Searches", "Lamps"), "http://search.ebay.com/?q=brass");
    EXPECT_EQ(entries(menus->MnuSubSearches), (std::vector<Entry>{{"Lamps", true, false}}));

    links::MnuSubAddLink_Click();
    d = AddLink::loaded();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Add New Link");
    EXPECT_EQ(d->UrlLab->text(), "Link URL:");
    EXPECT_EQ(d->NameLab->text(), "Link Name:");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(LinksAndSearches, TheAddDialogRefusesWhatCannotBeKeptOrOpened) {
    struct C { const char* url; const char* name; const char* message; };
    const C cases[] = {
        {"", "News", "Missing URL or Name!"},
        {"http://news.example/", "", "Missing URL or Name!"},
        {"http://news.example/", "   ", "Missing URL or Name!"},
        {"http://news.example/", "a=b", "Invalid Name!"},
        {"http://news.example/", "[Options]", "Invalid Name!"},
        {"http://news.example/", "news]", "Invalid Name!"},
        {"http://news.example/", "two\nlines", "Invalid Name!"},
        {"http://news.example/", "two\rlines", "Invalid Name!"},
        {"javascript:alert(1)", "News", "Invalid URL!"},
        {"news.example", "News", "Invalid URL!"},
    };
    for (const C& c : cases) {
        boxes.clear();
        links::MnuSubAddLink_Click();
        AddLink* d = AddLink::loaded();
        ASSERT_NE(d, nullptr);
        d->txtLinkURL->setText(c.url);
        d->txtLinkName->setText(c.name);
        d->cmdOK_Click();
        ASSERT_EQ(boxes.shown().size(), 1u) << c.name;
        EXPECT_EQ(boxes.shown()[0].text, c.message) << c.name;
        EXPECT_EQ(boxes.shown()[0].style, platform::vbOKOnly + platform::vbSystemModal) << c.name;
        EXPECT_EQ(AddLink::loaded(), d) << "the dialog stays open: " << c.name;
        d->cmdCancel_Click();
    }
    EXPECT_TRUE(modTLC::Get_Section_Keys("Links").empty());
    EXPECT_TRUE(modTLC::Get_Section_Keys("Options").empty());
}

// Cancel, or closing the dialog from its title bar, saves nothing and brings the main window back.
TEST_F(LinksAndSearches, TheAddDialogClosedWithoutOKSavesNothing) {
    for (int how = 0; how < 2; ++how) {
        window.shows.clear();
        links::MnuSubAddLink_Click();
        AddLink* d = AddLink::loaded();
        ASSERT_NE(d, nullptr);
        d->txtLinkURL->setText("http://news.example/");
        d->txtLinkName->setText("News");
        if (how == 0)
            d->cmdCancel_Click();
        else
            d->close();
        EXPECT_EQ(AddLink::loaded(), nullptr) << how;
        EXPECT_EQ(window.shows, (std::vector<bool>{false, true})) << how;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(modTLC::Get_Section_Keys("Links").empty());
}

TEST_F(LinksAndSearches, TextDroppedOnTheAddressBoxBecomesItsText) {
    links::MnuSubAddLink_Click();
    AddLink* d = AddLink::loaded();
    ASSERT_NE(d, nullptr);
    d->txtLinkURL->setText("old");
    EXPECT_FALSE(d->txtLinkURL_OLEDragDrop(nullptr));
    EXPECT_EQ(d->txtLinkURL->text(), "old");
    const QString dropped = "http://dropped.example/";
    EXPECT_TRUE(d->txtLinkURL_OLEDragDrop(&dropped));
    EXPECT_EQ(d->txtLinkURL->text(), dropped);
}

// The main window carries the two menus in its menu bar and fills them at its load.
TEST_F(LinksAndSearches, TheMainWindowShowsTheMenusFilledAtItsLoad) {
    modAHM::SetProviderAvailableForTests(true);
    FakeTime time;
    FakeTrayIcon tray;
    FakeSystemNotices notices;
    modDebug::ResetForTests();
    modPwrCtrl::ResetForTests();
    set("Links", "News", "http://news.example/");
    TLMain& w = TLMain::instance();
    w.Form_Load();
    QStringList titles;
    for (QAction* a : w.menuBar()->actions()) titles << a->text().remove('&');  // without the Alt letters
    EXPECT_TRUE(titles.contains("Links"));
    EXPECT_TRUE(titles.contains("Searches"));
    ASSERT_NE(LinksMenus::current(), nullptr);
    EXPECT_EQ(entries(LinksMenus::current()->MnuSubLinks), (std::vector<Entry>{{"News", true, false}}));
    EXPECT_EQ(entries(LinksMenus::current()->MnuSubSearches), (std::vector<Entry>{{links::kNoSearches, false, false}}));
    TLMain::unloadForTests();
    modPwrCtrl::ResetForTests();
}

}  // namespace
