// Adding an item as a user does: the number typed into the item-number box, then Add. The page
// comes from the fake service and the item reaches the list on disk.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <algorithm>

#include "e2e_program.h"
#include "fake_item_pages.h"

using namespace testsupport;

namespace {

// Where the item-number box and the Add button beside it are on the window's picture: the box is
// the first white entry field from the top (the grid below it is wider), the button the next
// thing right of it. Points inside each; {-1,-1} when the picture shows no such field.
struct EntryRow {
    QPoint box{-1, -1};
    QPoint button{-1, -1};
};

EntryRow findEntryRow(const QImage& shot) {
    EntryRow found;
    if (shot.isNull()) return found;
    const auto white = [&](int x, int y) { return (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF; };
    for (int y = 0; y < shot.height(); ++y) {
        int x = 0;
        while (x < shot.width() / 2 && !white(x, y)) ++x;
        int end = x;
        while (end < shot.width() && white(end, y)) ++end;
        if (x >= shot.width() / 2 || end - x < 100 || end - x > 300) continue;
        const QRgb background = shot.pixel(std::min(end + 4, shot.width() - 1), y);
        int button = end + 4;
        while (button < shot.width() && shot.pixel(button, y) == background) ++button;
        if (button >= shot.width()) continue;
        found.box = {x + (end - x) / 2, y};
        found.button = {button + 20, y};
        return found;
    }
    return found;
}

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

    EntryRow row;
    waitUntil([&] {
        row = findEntryRow(e.input.grab(main));
        return row.box.x() >= 0;
    }, 10000);
    ASSERT_GE(row.box.x(), 0) << "no item-number box on the window";
    e.input.click(main, row.box.x(), row.box.y());
    e.input.type(main, QString::fromStdString(number));
    if (byEnter)
        e.input.key(main, "Return");
    else
        e.input.click(main, row.button.x(), row.button.y());

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
