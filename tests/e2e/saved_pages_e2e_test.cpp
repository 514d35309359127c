// The pages the program saved, as a user opens them: Display Bid Results in the item's menu shows
// the item's saved result page in the program's own browser window, as a document whose scripts
// do not run. The test desktop has no opener for files (no xdg-open), so nothing else could show it.
#include <gtest/gtest.h>

#include <QRect>

#include "e2e_program.h"

using namespace testsupport;

namespace {

// A point of the first item row of the grid, in the main window.
constexpr int kFirstRowX = 270;
constexpr int kFirstRowY = 133;

TEST(SavedPages, DisplayBidResultsInTheItemsMenuOpensTheSavedPageInTheProgramsBrowser) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    e.writeItems({{"120000000001", "Leica M3 body", 3 * 86400}});
    e.writeConfig("Sound=0\r\n");
    e.data.write("Saved Items/120000000001BR.html",
                 "<html><head><title>Bid Results 120000000001</title></head>"
                 "<body><p>You are the current high bidder</p>"
                 "<script>document.title = 'a script ran';</script></body></html>");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();

    // The item's row, by the right button: its menu. The menu's last three entries are Display
    // Bid Results, Display Log Entries and Feedback Analyzer.
    e.input.click(main, kFirstRowX, kFirstRowY, 3);
    e.input.run({"key", "--delay", "100", "Up", "Up", "Up", "Return"});

    // The browser window takes the page's title once the page is loaded, and keeps it.
    const qulonglong page = e.input.waitForWindow("^Bid Results 120000000001$", 60000);
    ASSERT_NE(page, 0u) << e.input.visibleWindows() << program.output();
    EXPECT_TRUE(e.input.waitForNoWindow("a script ran", 2000)) << e.input.visibleWindows();
    EXPECT_EQ(program.process().state(), QProcess::Running);
}

}  // namespace
