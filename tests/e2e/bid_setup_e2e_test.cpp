// A bid set up as a user sets it up: the bid set-up dialog opened from the toolbar, an amount
// typed, "Set Bid"; the program then places the bid once, at its time, at the fake service.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <algorithm>

#include "e2e_program.h"
#include "fake_bid_pages.h"
#include "fake_item_pages.h"
#include "fake_signin.h"

using namespace testsupport;

namespace {

// The toolbar's first button (Setup Bid) shows an orange gavel: the first orange pixel from the top.
QPoint findBidButton(const QImage& shot) {
    for (int y = 0; y < std::min(shot.height(), 120); ++y)
        for (int x = 0; x < std::min(shot.width(), 120); ++x) {
            const QColor c(shot.pixel(x, y));
            if (c.red() > 200 && c.green() > 120 && c.green() < 200 && c.blue() < 110) return {x + 2, y + 2};
        }
    return {-1, -1};
}

TEST(BidSetup, TheDialogArmsAnItemThatIsPlacedOnce) {
    E2EProgram e;
    ASSERT_TRUE(e.x.running()) << e.x.error();
    const std::string number = "140000000009";
    const long secondsLeft = 95;
    e.writeItems({{"140000000009", "Voigtlander Bessa R", secondsLeft}});
    e.writeConfig("Sound=0\r\nLastUser=buyer1\r\n", "\r\n[Users]\r\nbuyer1=secret\r\n");
    // The item's page names the same end (the dialog refreshes the item when it opens).
    const QDateTime end = QDateTime::currentDateTimeUtc().addSecs(secondsLeft - 8 * 3600);
    ItemPageContent page;
    page.itemNumber = number;
    page.title = "Voigtlander Bessa R";
    page.endDate = end.toString("MMM dd, yyyy").toStdString();
    page.endTime = end.toString("hh:mm:ss").toStdString();
    page.zone = "PST";
    page.timeLeft = "1m";
    e.fake.route("", "GET", itemPagePath(number), ScriptedResponse::ok(itemPageHtml(page)));
    FakeSignIn::install(e.fake, SignInAnswer::MemberPages);
    BidPages bids(e.fake);
    bids.setMakeBid(number, MakeBidAnswer::Confirm);
    bids.setAcceptBid(number, AcceptBidAnswer::HighBidder);

    RunningProgram program = e.start();
    ASSERT_TRUE(program.started());
    const qulonglong main = e.waitForMainWindow();
    ASSERT_NE(main, 0u) << e.input.visibleWindows() << program.output();
    QPoint button{-1, -1};
    waitUntil([&] {
        button = findBidButton(e.input.grab(main));
        return button.x() >= 0;
    }, 10000);
    ASSERT_GE(button.x(), 0);
    e.input.click(main, button.x(), button.y());
    const qulonglong dialog = e.input.waitForWindow("^Bid Setup for eBay Item # " + QString::fromStdString(number), 15000);
    ASSERT_NE(dialog, 0u) << e.input.visibleWindows();
    e.input.type(dialog, "200");  // the maximum bid's box has the focus; the bid time stays 15 s
    // "Set Bid" is the first of the buttons along the dialog's foot.
    const QImage shot = e.input.grab(dialog);
    ASSERT_FALSE(shot.isNull());
    e.input.click(dialog, 40, shot.height() - 23);
    EXPECT_TRUE(e.input.waitForNoWindow("^Bid Setup for eBay Item")) << "Set Bid left the dialog open";

    // The bid goes out at 15 s before the end, once.
    EXPECT_TRUE(waitUntil([&] { return bids.acceptBids(number) >= 1; }, (secondsLeft + 30) * 1000))
        << e.input.visibleWindows() << program.output();
    waitUntil([] { return false; }, 5000);  // time for a second one, which must not come
    EXPECT_EQ(bids.acceptBids(number), 1u);
}

}  // namespace
