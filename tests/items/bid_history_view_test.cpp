#include <gtest/gtest.h>

#include "grid_fixture.h"
#include "service/page_globals.h"

using namespace testsupport;
using namespace TLMainItems;

namespace TLMainItems {
void PrintTo(const BidHistoryRow& r, std::ostream* os) {
    *os << '{' << r.key << " | " << r.bidder << " | " << r.amount << " | " << r.when << '}';
}
}  // namespace TLMainItems

namespace {

const std::string CRLF = "\r\n";
const std::string kHeader = "Bid History" + CRLF + "BidderBid AmountDate of bid" + CRLF;

std::string lines(std::initializer_list<const char*> ls) {
    std::string t = kHeader;
    for (const char* l : ls) t += std::string(l) + CRLF;
    return t;
}

struct HistoryCase {
    const char* what;
    std::string text;
    std::vector<BidHistoryRow> rows;
};

TEST(BidHistory, ReadsARowPerBidLine) {
    const HistoryCase cases[] = {
        {"lines ending in PST",
         lines({"alice (12) US 12.50 Jun-01-26 10:00:00 PST", "bob (3) US 11.00 Jun-01-26 09:00:00 PST"}),
         {{"Key1", "alice (12)", "US 12.50", "Jun-01-26 10:00:00 PST"},
          {"Key2", "bob (3)", "US 11.00", "Jun-01-26 09:00:00 PST"}}},
        {"the nearer of PDT and PST ends each line",
         lines({"alice (12) US 12.50 Jun-01-26 10:00:00 PST", "bob (3) US 11.00 Jun-01-26 09:00:00 PDT"}),
         {{"Key1", "alice (12)", "US 12.50", "Jun-01-26 10:00:00 PST"},
          {"Key2", "bob (3)", "US 11.00", "Jun-01-26 09:00:00 PDT"}}},
        {"starting price and private bidders",
         lines({"PRIVATE user US 12.50 Jun-01-26 10:00:00 pdt", "Starting price US 1.00 May-30-26 08:00:00 PDT"}),
         {{"Key1", "Private", "US 12.50", "Jun-01-26 10:00:00 pdt"},
          {"Key2", "Starting Price", "US 1.00", "May-30-26 08:00:00 PDT"}}},
        {"another currency", lines({"carol (7) GBP 12.50 01-Jun-26 10:00:00 PST"}),
         {{"Key1", "carol (7)", "GBP 12.50", "01-Jun-26 10:00:00 PST"}}},
        {"a line without a currency word ends the list",
         lines({"alice (12) US 12.50 Jun-01-26 10:00:00 PST", "bob (3) 11.00 Jun-01-26 09:00:00 PST",
                "dan (1) US 10.00 Jun-01-26 08:00:00 PST"}),
         {{"Key1", "alice (12)", "US 12.50", "Jun-01-26 10:00:00 PST"}}},
        {"an amount without decimals ends the list",
         lines({"alice (12) EUR 12 Jun-01-26 10:00:00 PST", "bob (3) US 11.00 Jun-01-26 09:00:00 PST"}),
         {}},
        {"no header: no rows", "alice (12) US 12.50 Jun-01-26 10:00:00 PST" + CRLF, {}},
        {"no zone in the text: no rows", lines({"alice (12) US 12.50 Jun-01-26 10:00:00", "bob (3) US 11.00"}), {}},
        {"bids without line ends: each begins where the one before ended",
         kHeader + "alice (12) US 12.50 Jun-01-26 10:00:00 PST bob (3) US 11.00 Jun-01-26 09:00:00 PDT" +
             "carol (7) GBP 10.00 01-Jun-26 08:00:00 PST",
         {{"Key1", "alice (12)", "US 12.50", "Jun-01-26 10:00:00 PST"},
          {"Key2", "bob (3)", "US 11.00", "Jun-01-26 09:00:00 PDT"},
          {"Key3", "carol (7)", "GBP 10.00", "01-Jun-26 08:00:00 PST"}}},
        {"lines ended by LF alone",
         "Bid History\nBidderBid AmountDate of bid\nalice (12) US 12.50 Jun-01-26 10:00:00 PST\n"
         "bob (3) US 11.00 Jun-01-26 09:00:00 PST\n",
         {{"Key1", "alice (12)", "US 12.50", "Jun-01-26 10:00:00 PST"},
          {"Key2", "bob (3)", "US 11.00", "Jun-01-26 09:00:00 PST"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Read_Bid_History(c.text), c.rows) << c.what;
}

TEST_F(ItemGridTest, TheBidHistoryListShowsTheSavedFileBesideTheRow) {
    for (const char* n : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}) addItem(n);
    Load_ItemGrid();
    model.Area = {0, 1000, 9000, 6000};
    data.write("Saved Items/10BH.txt", lines({"alice (12) US 12.50 Jun-01-26 10:00:00 PST"}));
    modPageParser::BidHistoryText = "the last bid-history page";

    Init_Bid_History_Grid();
    EXPECT_EQ(history.captions, (std::vector<std::string>{"User ID", "Bid Amount", "Bid Date/Time"}));
    EXPECT_EQ(history.widths, (std::vector<long>{1150, 1150, 2300}));

    Show_Bid_History(10);
    ASSERT_EQ(history.rows.size(), 1u);
    EXPECT_EQ(history.rows[0].bidder, "alice (12)");
    EXPECT_TRUE(history.visible);
    EXPECT_EQ(history.area, (TwipRect{1650, 3400 - 2200 + 20, 4600, 2200}));
    EXPECT_EQ(modPageParser::BidHistoryText, "the last bid-history page");  // a variable of its own
    EXPECT_NE(BidHistoryFileText.find("alice"), std::string::npos);

    Show_Bid_History(2);  // no file: an empty list, below the row near the top
    EXPECT_TRUE(history.rows.empty());
    EXPECT_EQ(history.area, (TwipRect{1650, 1480 + 240 + 30, 4600, 2200}));
    Hide_Bid_History();
    EXPECT_FALSE(history.visible);
    EXPECT_FALSE(BidHistoryShown);
    modPageParser::BidHistoryText.clear();
}

// The list grows with the grid's columns when the font writes wider than the widths were set for;
// it still stands 50 twips right of the item-number column, and below the row when its new
// height no longer fits above it.
// A file larger than what is read lists the bids that lie wholly within the part read.
TEST_F(ItemGridTest, OfAHugeBidHistoryOnlyTheStartIsRead) {
    std::string text = kHeader;
    size_t withinCap = 0;
    for (int i = 0; text.size() < static_cast<size_t>(kBidHistoryReadCap) + 65536; ++i) {
        text += "bidder" + std::to_string(i) + " (3) US 11.00 Jun-01-26 09:00:00 PST";
        if (text.size() <= static_cast<size_t>(kBidHistoryReadCap)) withinCap = static_cast<size_t>(i) + 1;
        text += CRLF;
    }
    data.write("Saved Items/10BH.txt", text);
    Load_Bid_History_File("10");
    ASSERT_EQ(history.rows.size(), withinCap);
    EXPECT_EQ(history.rows.back().bidder, "bidder" + std::to_string(withinCap - 1) + " (3)");
    EXPECT_EQ(BidHistoryFileText.size(), static_cast<size_t>(kBidHistoryReadCap));
}

TEST_F(ItemGridTest, TheBidHistoryListGrowsAsTheGridsColumnsDo) {
    for (const char* n : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}) addItem(n);
    Load_ItemGrid();
    model.Area = {0, 1000, 9000, 6000};
    model.setWidthScale(1.5);
    Show_Bid_History(10);
    const long left = model.ScreenColWidth(0) + model.ScreenColWidth(1) + 50;
    EXPECT_EQ(history.area, (TwipRect{left, 3400 + 240 + 30, 6900, 3300}));
}

TEST_F(ItemGridTest, TheSavedBidHistoryPageIsTheListsSwitch) {
    data.write("Saved Items/10BH.txt", lines({"alice (12) US 12.50 Jun-01-26 10:00:00 PST"}));
    EXPECT_TRUE(Bid_History_Saved("10"));
    EXPECT_FALSE(Bid_History_Saved("2"));
    EXPECT_FALSE(Bid_History_Saved("")) << "a row without an item";
}

TEST_F(ItemGridTest, ALeftPressOnHighBidWhileTheHistoryShowsHoldsTheHover) {
    loadWith({"1"});
    press(kLeftButton, 1, kColHighBid);
    EXPECT_EQ(HoverOff, 0);
    BidHistoryShown = true;
    press(kLeftButton, 1, kColHighBid);
    EXPECT_EQ(HoverOff, 1);
    press(kLeftButton, 1, kColHighBid);
    EXPECT_EQ(HoverOff, 0);
}

}  // namespace
