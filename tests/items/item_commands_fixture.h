// item_commands_fixture.h — the ground of the tests of adding, refreshing and deleting items: the
// items tests' ground plus the fake service (item pages of the home site's item host), a tray,
// the item-number box, log box, menus and item windows, the user "buyer1", sounds on, the en_US
// locale and the category "Default" on show.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fake_item_pages.h"
#include "fake_service.h"
#include "fake_tray.h"
#include "foundation/bid_engine_state.h"
#include "foundation/main_window_link.h"
#include "foundation/user_state.h"
#include "items/add_item.h"
#include "items/test_items.h"
#include "items_fixture.h"
#include "platform/locale_info.h"
#include "recording_item_windows.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/wininet.h"

namespace testsupport {

class ItemCommandsTest : public ItemsTest {
protected:
    void SetUp() override {
        ItemsTest::SetUp();
        resetCommands();
        platform::setUserLocaleForTests("en_US");
        modTLMain::DefaultUserAgent = modTLMain::kDefaultUserAgent;
        UserState::CurrentUserID = "buyer1";
        modTLC::Set_Config_Value("Options", "Sound", "True");
        grid.category = "Default";
        service.useForClient();
    }
    void TearDown() override {
        resetCommands();
        platform::setUserLocaleForTests("");
        ItemsTest::TearDown();
    }
    static void resetCommands() {
        modWinInet::ResetForTests();
        TLMainState::ResetForTests();
        TLMainState::AddPending = 0;
        TLMainState::AutoUpdateMinutes = TLMainState::AutoUpdateCountdown = 0;
        modPageParser::ResetForTests();
        UserState::ResetForTests();
        TLMainItems::BulkAddActive = 0;
        TLMainItems::BulkAddTotal = TLMainItems::BulkAddPosition = 0;
        TLMainItems::ShippingPrefetch.clear();
    }

    static std::string itemHost() { return modTLMain::National_Site(0)->itemHost; }

    // Serves the item's page (content.itemNumber) on the home site's item host.
    ItemPages& serve(const ItemPageContent& content) {
        for (auto& p : m_pages)
            if (p.first == content.itemNumber) {
                p.second->setItemPage(itemPageHtml(content));
                return *p.second;
            }
        m_pages.emplace_back(content.itemNumber, std::make_unique<ItemPages>(service, itemHost(), content.itemNumber));
        m_pages.back().second->setItemPage(itemPageHtml(content));
        return *m_pages.back().second;
    }
    static ItemPageContent page(const std::string& number) {
        ItemPageContent c;
        c.itemNumber = number;
        c.endDate = "Jun 05, 2026";
        c.zone = "PDT";
        return c;
    }

    // The end time the parser reads from the page (the form the program stores).
    static std::string parsedEnd(const ItemPageContent& content) {
        modPageParser::PageHTML = itemPageHtml(content);
        modPageParser::Build_Page_Text();
        modPageParser::Get_Title_And_End();
        return modPageParser::EndDateDisplay;
    }

    // How many times the item's page was asked for.
    size_t pageRequests(const std::string& number) const {
        size_t n = 0;
        for (const auto& r : service.requests())
            if (r.host == itemHost() && r.target == itemPagePath(number)) ++n;
        return n;
    }

    // An item in the list, running for a day, in the category on show.
    int addRunning(const std::string& number) { return addRunningItem(number, "Default"); }
    // The grid shows items 1 to ItemCount in rows 1 to ItemCount.
    void showAllRows() {
        grid.rowItems.clear();
        for (int i = 1; i <= TLMainItems::ItemCount; ++i) grid.rowItems.push_back(i);
    }

    std::string readOr(const std::string& name) const { return data.exists(name) ? data.read(name) : std::string(); }
    std::string opLog() const { return readOr("OperationLog.txt"); }
    std::string history() const { return readOr("ItemHistory.txt"); }
    std::vector<std::string> soundNames() const {
        std::vector<std::string> names;
        for (const auto& p : sounds.played) names.push_back(p.name);
        return names;
    }

    FakeService service;
    FakeTrayIcon tray;
    RecordingItemNumberBox box;
    RecordingLogBox logBox;
    RecordingMenus menus;
    RecordingItemWindows windows;

private:
    std::vector<std::pair<std::string, std::unique_ptr<ItemPages>>> m_pages;
};

}  // namespace testsupport
