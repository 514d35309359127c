// Nothing lost by a reflex or an add: Enter on the pending-bids question keeps the program, and
// after an add that sorts above the selected item Delete takes the selected item, not the one that
// moved onto its row.
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include "e2e_program.h"
#include "fake_item_pages.h"

using namespace testsupport;

namespace {

const QString kQuestion = "^Tolvane Rerode II$";

// Ctrl+Q with a bid still to come asks; Enter (No has the focus) keeps the program and its window.
// Asked again, Yes (one Shift+Tab away) ends it.
TEST(Selection, EnterOnThePendingBidsQuestionKeepsTheProgram) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"160000000021", "Mamiya RB67 body", 3 * 3600, 10}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\nBidsPendWarning=1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    e.input.key(main, "ctrl+q");
    qulonglong ask = e.input.waitForWindow(kQuestion, 10000);
    ASSERT_NE(ask, 0u) << "Ctrl+Q asked nothing: " << e.input.visibleWindows();
    e.input.key(ask, "Return");
    ASSERT_TRUE(e.input.waitForNoWindow(kQuestion)) << "Enter left the question up";
    EXPECT_FALSE(program.process().waitForFinished(1500)) << "Enter ended the program";
    EXPECT_TRUE(e.input.viewable(main)) << "the window left the screen";
    EXPECT_EQ(e.storedItemNumbers(), std::vector<std::string>{"160000000021"});

    e.input.key(main, "ctrl+q");
    ask = e.input.waitForWindow(kQuestion, 10000);
    ASSERT_NE(ask, 0u) << "Ctrl+Q asked nothing the second time: " << e.input.visibleWindows();
    e.input.key(ask, "shift+Tab");
    e.input.key(ask, "Return");
    EXPECT_TRUE(program.process().waitForFinished(15000)) << "Yes did not end the program";
}

// The list's only item is selected when the program starts. An item that ends sooner is added: it
// sorts in above, onto the selected item's row. Delete, answered Yes, deletes the selected item.
TEST(Selection, AfterAnAddSortedInAboveDeleteTakesTheSelectedItem) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const std::string selected = "160000000032", added = "160000000031";
    ItemPageContent page;
    page.itemNumber = added;
    page.title = "Zeiss Ikon Contax II";
    page.endDate = QLocale::c().toString(QDate::currentDate().addDays(1), "MMM dd, yyyy").toStdString();
    e.fake.route("", "GET", itemPagePath(added), ScriptedResponse::ok(itemPageHtml(page)));
    e.writeItems({{selected.c_str(), "Voigtlander Bessa R", 4 * 86400}});
    e.writeConfig("Sound=0\r\nShowBidSetup=0\r\nLastUser=buyer1\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    ASSERT_TRUE(e.addByNumber(main, added)) << "no item-number box on the window";
    std::vector<std::string> stored;
    ASSERT_TRUE(waitUntil([&] {
        stored = e.storedItemNumbers();
        return stored.size() == 2;
    }, 20000)) << program.output();
    ASSERT_EQ(stored, (std::vector<std::string>{added, selected})) << "the added item sorts first";

    e.input.key(main, "Delete");
    const qulonglong ask = e.input.waitForWindow("^Delete Auction Item\\(s\\)$", 10000);
    ASSERT_NE(ask, 0u) << "Delete asked nothing: " << e.input.visibleWindows();
    e.input.key(ask, "y");  // Yes
    ASSERT_TRUE(e.input.waitForNoWindow("^Delete Auction Item\\(s\\)$"));
    EXPECT_TRUE(waitUntil([&] {
        stored = e.storedItemNumbers();
        return stored.size() == 1;
    }, 10000));
    EXPECT_EQ(stored, std::vector<std::string>{added});
}

}  // namespace
