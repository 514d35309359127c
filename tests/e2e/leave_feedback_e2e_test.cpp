// The list of feedback to leave, driven by the mouse as a user drives it: a double click on the
// caption of its user column opens the page of all the feedback to leave, one on a row that
// row's page; its other captions open nothing.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QRect>
#include <string>
#include <vector>

#include "e2e_program.h"
#include "fake_account_pages.h"

using namespace testsupport;

namespace {

constexpr const char* kFeedbackPath = "/ws/eBayISAPI.dll?MyeBay&CurrentPage=MyeBayFeedback&ssPageName=STRK:ME:LNLK";
constexpr const char* kAllFeedbackPage = "/ws/eBayISAPI.dll?LeaveFeedback2";

// The feedback rows coloured for positive feedback received (pure green): `top` the first green
// line, `secondRow` a line through the second row; `columns` the first and last x of each
// column, left to right, along the top line of the last green row (no text there, and no
// selected cell).
struct GreenRows {
    int top = -1;
    int secondRow = -1;
    std::vector<std::pair<int, int>> columns;
};

GreenRows Green_Rows(const QImage& shot) {
    GreenRows found;
    const auto green = [&](int x, int y) {
        const QColor c(shot.pixel(x, y));
        return c.green() > 200 && c.red() < 60 && c.blue() < 60;
    };
    int left = -1;
    for (int y = 0; y < shot.height() && found.top < 0; ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (green(x, y)) {
                found.top = y;
                left = x + 2;
                break;
            }
    if (found.top < 0) return found;
    std::vector<int> rowTops{found.top};
    for (int y = found.top + 1; y < shot.height(); ++y)
        if (green(left, y) && !green(left, y - 1)) rowTops.push_back(y);
    if (rowTops.size() >= 2) found.secondRow = rowTops[1] + (rowTops[1] - rowTops[0]) / 2;
    const int y = rowTops.back() + 1;
    for (int x = 0; x < shot.width(); ++x) {
        if (!green(x, y)) continue;
        int end = x;
        while (end + 1 < shot.width() && green(end + 1, y)) ++end;
        found.columns.push_back({x, end});
        x = end;
    }
    return found;
}

TEST(LeaveFeedback, ADoubleClickOnTheUserCaptionOpensThePageOfAllFeedbackToLeave) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const auto wm = Start_Window_Manager(e.x);
    ASSERT_TRUE(wm->ready()) << wm->error();
    // Each page opens in the alternate browser: a script that writes down the address it is given.
    const std::string opened = e.data.path("opened.txt");
    const std::string browser = e.data.path("browser.sh");
    e.data.write("browser.sh", "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + opened + "'\n");
    QFile::setPermissions(QString::fromStdString(browser), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    std::vector<AwaitingEntry> entries(3);
    for (int i = 0; i < 3; ++i) {
        entries[i].itemNumber = "11000000000" + std::to_string(i + 1);
        entries[i].user = "buyer" + std::to_string(i + 1);
        entries[i].title = "Teapot " + std::to_string(i + 1);
        entries[i].status = "Positive Feedback Received";
    }
    e.fake.route("", "GET", kFeedbackPath, ScriptedResponse::ok(awaitingFeedbackPageHtml(3, entries)));
    e.writeItems({{"160000000061", "Leica IIIf body", 3 * 86400}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\nAltBrowser=1\r\nAltBrowserPath=" + browser + "\r\n");
    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();
    const auto openedPages = [&] { return e.data.exists("opened.txt") ? e.data.read("opened.txt") : std::string(); };
    const auto doubleClick = [&](int x, int y) {
        e.input.run({"mousemove", "--window", QString::number(main), QString::number(x), QString::number(y)});
        e.input.run({"click", "--repeat", "2", "--delay", "80", "1"});
    };

    // Feedback > Leave Feedback, by its keys.
    e.input.key(main, "alt+e");
    e.input.run({"key", "--clearmodifiers", "Return"});
    GreenRows rows;
    ASSERT_TRUE(waitUntil([&] {
        rows = Green_Rows(e.input.grab(main));
        return rows.columns.size() >= 4 && rows.secondRow > 0;
    }, 15000)) << "no list of feedback to leave: " << program.output();
    const int captionY = rows.top - 8;
    const auto middle = [&](size_t col) { return (rows.columns[col].first + rows.columns[col].second) / 2; };

    struct Case {
        const char* what;
        int x, y;
        const char* page;  // what the browser is given, "" nothing
    };
    const Case cases[] = {
        {"the item number's caption", middle(0), captionY, ""},
        {"the user's caption", middle(1), captionY, kAllFeedbackPage},
        {"the second row", middle(3), rows.secondRow, "useridto=buyer2&item=110000000002"},
    };
    size_t seen = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doubleClick(c.x, c.y);
        const bool openedOne = waitUntil([&] { return openedPages().size() > seen; }, 2000);
        const std::string page = openedPages().substr(seen);
        seen = openedPages().size();
        if (!*c.page) {
            EXPECT_FALSE(openedOne) << page;
            continue;
        }
        ASSERT_TRUE(openedOne) << "nothing opened";
        waitUntil([] { return false; }, 500);  // time for a second page, which must not come
        EXPECT_EQ(openedPages().size(), seen) << "two pages";
        EXPECT_NE(page.find(c.page), std::string::npos) << page;
    }
}

}  // namespace
