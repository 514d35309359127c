// Adding an item as a user does: the number typed into the item-number box, then Add. The page
// comes from the fake service and the item reaches the list on disk.
#include <gtest/gtest.h>

#include "e2e_program.h"
#include "fake_item_pages.h"

using namespace testsupport;

namespace {

// The number typed into the box, then Add clicked or Enter pressed in the box: the item reaches
// the list on disk.
void addsTheTypedNumber(bool byEnter) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const std::string number = byEnter ? "130000000008" : "130000000007";
    ItemPageContent page;
    page.itemNumber = number;
    page.title = "Zeiss Ikon Contax II";
    page.endDate = "Mar 05, 2099";
    e.fake.route("", "GET", itemPagePath(number), ScriptedResponse::ok(itemPageHtml(page)));
    e.writeConfig("Sound=0\r\nShowBidSetup=0\r\nLastUser=buyer1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    ASSERT_TRUE(e.addByNumber(main, number, byEnter)) << "no item-number box on the window";

    std::vector<std::string> stored;
    EXPECT_TRUE(waitUntil([&] {
        stored = e.storedItemNumbers();
        return !stored.empty();
    }, 20000)) << program.output();
    EXPECT_EQ(stored, std::vector<std::string>{number});
    size_t pageRequests = 0;
    for (const RecordedRequest& r : e.fake.requests())
        if (r.target == itemPagePath(number)) ++pageRequests;
    EXPECT_GE(pageRequests, 1u);
}

TEST(AddItem, TheNumberTypedAndAddPutTheItemInTheList) { addsTheTypedNumber(false); }

TEST(AddItem, EnterInTheItemNumberBoxAddsAsAddDoes) { addsTheTypedNumber(true); }

}  // namespace
