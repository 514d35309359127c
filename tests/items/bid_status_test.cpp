#include <gtest/gtest.h>

#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/test_items.h"
#include "items_fixture.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

constexpr int kRow = 4;

struct Verdict {
    const char* what;
    // The item.
    const char* highBidder;
    const char* price;
    const char* maxBid;
    const char* minBid;
    const char* bidCount;
    const char* status;
    const char* group;
    // What it gets.
    long rowColour;      // columns 1 to 9 except "My Bid"; -1 none painted
    long myBidColour;    // column 4; -1 none painted
    const char* warning; // status line with Notify; "" none
    const char* statusAfter;
};

class BidStatusTest : public ItemsTest {
protected:
    void clearRecords() {
        grid.cells.clear();
        status.statuses.clear();
        sounds.played.clear();
    }
    int itemFor(const Verdict& v) {
        const int i = add("123456789012");
        AuctionItem& a = item(i);
        a.UserID = "buyer1";
        a.HighBidder = v.highBidder;
        a.CurrentPrice = v.price;
        a.MaxBid = v.maxBid;
        a.MinBid = v.minBid;
        a.BidCount = v.bidCount;
        a.BidStatus = v.status;
        a.BidGroup = v.group;
        a.EndTime = End_Time_Text(now().addSecs(3600), false);
        return i;
    }
};

TEST_F(BidStatusTest, PaintsTheVerdictAndWarnsOnlyWhenAsked) {
    const long hi = ColorHiBid, bid = ColorBid, tally = ColorWintally, out = ColorOutBid;
    const Verdict cases[] = {
        {"own user is high bidder, case ignored", "BUYER1", "US 50.00", "40.00", "", "3", "", "", hi, hi, "", ""},
        {"maximum still leads", "other", "US 30.00", "40.00", "US 31.00", "3", "", "", bid, bid, "", ""},
        {"maximum leads in a bid group", "other", "US 30.00", "40.00", "", "3", "", "G1", tally, tally, "", ""},
        {"tie is outbid", "other", "US 40.00", "40.00", "", "3", "", "", out, out,
         "Outbid Warning ! User \"buyer1\" - Item 123456789012", "OutBid"},
        {"outbid", "other", "US 1,250.00", "1,000.00", "", "7", "BidPending", "", out, out,
         "Outbid Warning ! User \"buyer1\" - Item 123456789012", "OutBid"},
        {"amounts read by their own marks", "other", "EUR 1.250,00", "1,000.00", "", "7", "", "", out, out,
         "Outbid Warning ! User \"buyer1\" - Item 123456789012", "OutBid"},
        {"no bids yet is not outbid", "No Bids Yet", "US 45.00", "40.00", "", "0", "", "", bid, bid, "", ""},
        {"no bids but completed is lost, with no warning after the end", "No Bids Yet", "US 45.00", "40.00", "", "0",
         "Completed", "", out, out, "", "Completed"},
        {"maximum below the minimum bid", "other", "US 30.00", "40.00", "US 41.00", "3", "", "", bid, out,
         "Minimum Bid Warning ! User \"buyer1\" - Item 123456789012", "OutBid"},
        {"a placed bid keeps its status", "other", "US 45.00", "40.00", "", "3", "Bid Placed", "", out, out,
         "Outbid Warning ! User \"buyer1\" - Item 123456789012", "Bid Placed"},
        {"a validated bid keeps its status", "other", "US 45.00", "40.00", "", "3", "Bid Validated", "", out, out,
         "Outbid Warning ! User \"buyer1\" - Item 123456789012", "Bid Validated"},
        {"warned once", "other", "US 45.00", "40.00", "", "3", "OutBid", "", out, out, "", "OutBid"},
        {"no maximum bid", "other", "US 45.00", "", "", "3", "", "", -1, -1, "", ""},
        {"no price", "other", "", "40.00", "", "3", "", "", -1, -1, "", ""},
        {"price that does not read", "other", "See Listing", "40.00", "", "3", "", "", -1, -1, "", ""},
        {"minimum bid that does not read", "other", "US 30.00", "40.00", "n/a", "3", "", "", bid, bid, "", ""},
    };
    for (const auto& v : cases) {
        for (bool notify : {false, true}) {
            reset();
            modTLMain::DataFolder = data.dataFolder();
            modTLC::Set_Config_Value("Options", "Sound", "True");
            clearRecords();
            const int i = itemFor(v);
            Update_Bid_Status(i, kRow, notify);
            SCOPED_TRACE(std::string(v.what) + (notify ? " (notify)" : ""));
            EXPECT_EQ(grid.cell(kRow, 1), v.rowColour);
            EXPECT_EQ(grid.cell(kRow, 9), v.rowColour);
            EXPECT_EQ(grid.cell(kRow, kColMyBid), v.myBidColour);
            EXPECT_EQ(grid.cell(kRow, kColAlarm), -1);  // the alarm column keeps its colour
            const bool warns = notify && *v.warning;
            EXPECT_EQ(status.statuses, warns ? std::vector<std::string>{v.warning} : std::vector<std::string>{});
            ASSERT_EQ(sounds.played.size(), warns ? 1u : 0u);
            if (warns) {
                EXPECT_EQ(sounds.played[0].name, "Alert");
            }
            EXPECT_EQ(item(i).BidStatus, notify ? v.statusAfter : v.status);
            if (notify && std::string(v.statusAfter) != v.status) {
                Load_Auction_Items();  // the new status was saved
                EXPECT_EQ(item(i).BidStatus, v.statusAfter);
            }
        }
    }
}

// A bid under way keeps its own status, so the status cannot tell that the warning was given:
// every refresh would warn and sound again. It comes once per item until the status changes.
TEST_F(BidStatusTest, AnItemWhoseBidKeepsItsStatusWarnsOnceUntilTheStatusChanges) {
    const std::string warning = "Outbid Warning ! User \"buyer1\" - Item 123456789012";
    for (const char* kept : {"Validation Failed", "Bid Placed"}) {
        SCOPED_TRACE(kept);
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLC::Set_Config_Value("Options", "Sound", "True");
        clearRecords();
        const int i = itemFor({"", "other", "US 45.00", "40.00", "", "3", kept, "", 0, 0, "", ""});
        for (int refresh = 0; refresh < 3; ++refresh) Update_Bid_Status(i, kRow, true);
        EXPECT_EQ(status.statuses, std::vector<std::string>{warning});
        EXPECT_EQ(sounds.played.size(), 1u);
        EXPECT_EQ(item(i).BidStatus, kept);

        // Another item under the same status has its own warning.
        const int other = add("123456789013");
        item(other) = item(i);
        item(other).ItemNumber = "123456789013";
        Update_Bid_Status(other, kRow, true);
        EXPECT_EQ(status.statuses.size(), 2u);

        // A new status warns again, once.
        item(i).BidStatus = std::string(kept) == "Bid Placed" ? "Validation Failed" : "Bid Placed";
        Update_Bid_Status(i, kRow, true);
        Update_Bid_Status(i, kRow, true);
        EXPECT_EQ(status.statuses.size(), 3u);
        EXPECT_EQ(sounds.played.size(), 3u);

        // Back under the first status (warned), then through another where the bid leads and back
        // again: the outbid after that is a new one and is warned about.
        item(i).BidStatus = kept;
        Update_Bid_Status(i, kRow, true);
        EXPECT_EQ(status.statuses.size(), 4u);
        item(i).BidStatus = "Placing Bid";
        item(i).CurrentPrice = "US 35.00";
        Update_Bid_Status(i, kRow, true);
        item(i).BidStatus = kept;
        item(i).CurrentPrice = "US 45.00";
        Update_Bid_Status(i, kRow, true);
        Update_Bid_Status(i, kRow, true);
        EXPECT_EQ(status.statuses.size(), 5u);

        // A bid placed again on the item comes back to its status with no refresh between: its
        // outbid is warned about as a new one.
        Forget_Bid_Warning(item(i));
        Update_Bid_Status(i, kRow, true);
        EXPECT_EQ(status.statuses.size(), 6u);
        EXPECT_EQ(sounds.played.size(), 6u);
    }
}

TEST_F(BidStatusTest, AnEndedItemGetsColoursOnly) {
    const Verdict v{"", "other", "US 45.00", "40.00", "", "3", "", "", 0, 0, "", ""};
    const int i = itemFor(v);
    item(i).EndTime = End_Time_Text(now().addSecs(-1), false);
    Update_Bid_Status(i, kRow, true);
    EXPECT_EQ(grid.cell(kRow, 2), ColorOutBid);
    EXPECT_TRUE(status.statuses.empty());
    EXPECT_EQ(item(i).BidStatus, "");
}

TEST_F(BidStatusTest, WithoutARowTheWarningStillComes) {
    const Verdict v{"", "other", "US 45.00", "40.00", "", "3", "", "", 0, 0, "", ""};
    const int i = itemFor(v);
    modTLC::Set_Config_Value("Options", "Sound", "0");
    Update_Bid_Status(i, 0, true);
    EXPECT_TRUE(grid.cells.empty());
    EXPECT_EQ(status.statuses.size(), 1u);
    EXPECT_TRUE(sounds.played.empty());  // sounds are off
    EXPECT_EQ(item(i).BidStatus, "OutBid");
}

TEST_F(BidStatusTest, AlarmBitsPaintTheirCellsAndTheEndCellOnlyWhileRunning) {
    const struct { const char* bits; long secondsLeft; std::vector<int> columns; } cases[] = {
        {"7", 600, {kColHighBid, kColBids, kColEnds}},
        {"7", -10, {kColHighBid, kColBids}},
        {"1", 600, {kColEnds}},
        {"2", 600, {kColBids}},
        {"4", 600, {kColHighBid}},
        {"0", 600, {}},
    };
    for (const auto& c : cases) {
        reset();
        clearRecords();
        const int i = add("1");
        item(i).AlarmState = c.bits;  // no maximum bid: only the alarm cells
        item(i).EndTime = End_Time_Text(now().addSecs(c.secondsLeft), false);
        Update_Bid_Status(i, kRow, false);
        std::vector<int> painted;
        for (const auto& [cell, colour] : grid.cells) {
            EXPECT_EQ(colour, ColorAlert);
            painted.push_back(cell.second);
        }
        EXPECT_EQ(painted, c.columns) << c.bits << " " << c.secondsLeft;
    }
}

}  // namespace
