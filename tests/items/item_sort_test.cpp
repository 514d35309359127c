#include <gtest/gtest.h>

#include "items/item_sort.h"
#include "items/test_items.h"
#include "items_fixture.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

// One item per entry: its number is its label; `field` goes into the member the key reads.
struct SortCase {
    const char* what;
    int key;
    std::vector<std::pair<std::string, std::string>> items;  // label, field
    std::vector<std::string> expected;                        // labels in sorted order
};

class ItemSortTest : public ItemsTest {
protected:
    void fill(int key, const std::vector<std::pair<std::string, std::string>>& items) {
        reset();
        modTLMain::DisplayDateFormat = "dd.mmm.yy";
        for (const auto& [label, field] : items) {
            const int i = add(label);
            AuctionItem& a = item(i);
            switch (key) {
                case 0:
                case 1: a.EndTime = endText(field); break;
                case 2:
                case 3: a.Seller = field; break;
                case 4:
                case 5: a.CurrentPrice = field; break;
                case 6: a.BidCount = field; break;
                case 7: a.Shipping = field; break;
                case 8: a.BidGroup = field; break;
            }
        }
    }
    // "+3600" / "-60": that many seconds from now; anything else as it stands.
    std::string endText(const std::string& field) const {
        if (!field.empty() && (field[0] == '+' || field[0] == '-'))
            return End_Time_Text(now().addSecs(std::stol(field)), true);
        return field;
    }
    static std::vector<std::string> labels() {
        std::vector<std::string> out;
        for (int i = 1; i <= ItemCount; ++i) out.push_back(Items[static_cast<size_t>(i)].ItemNumber);
        return out;
    }
};

TEST_F(ItemSortTest, EachKeyGivesItsOrderAndKeepsTheOrderOfEqualItems) {
    const SortCase cases[] = {
        {"ending first", 0,
         {{"1h", "+3600"}, {"ended", "-3600"}, {"none", "No End Date"}, {"1m", "+60"}, {"bad", "soon"}},
         {"ended", "1m", "1h", "none", "bad"}},
        {"ending last", 1,
         {{"1h", "+3600"}, {"ended", "-3600"}, {"none", "No End Date"}, {"1m", "+60"}},
         {"1h", "1m", "ended", "none"}},
        {"undated items keep their order", 0,
         {{"n1", "No End Date"}, {"a", "+10"}, {"n2", "No End Date"}}, {"a", "n1", "n2"}},
        {"seller, case ignored", 2,
         {{"B", "Bcd (12) 99.0%"}, {"a", "abc (7) 100%"}, {"none", "zed"}, {"a2", "ABC (1) 90.0%"}},
         {"a", "a2", "B", "none"}},
        {"seller without a bracket sorts by its whole text", 2,
         {{"x", "mmm"}, {"y", "(5) 99%"}, {"z", "aaa (1) 1%"}}, {"y", "z", "x"}},
        {"seller rating", 3,
         {{"998", "s (1) 99.8%"}, {"none", "s (1)"}, {"100", "s (5) 100%"}, {"bad", "s (1) %"}, {"50", "s 50%"}},
         {"100", "998", "50", "none", "bad"}},
        {"high bid", 4,
         {{"99", "US 99.00"}, {"1250", "US 1,250.00"}, {"eur", "EUR 1.300,00"}, {"free", "Free"},
          {"empty", ""}, {"see", "See Listing"}},
         {"eur", "1250", "99", "free", "empty", "see"}},
        {"low bid", 5,
         {{"99", "US 99.00"}, {"empty", ""}, {"1250", "US 1,250.00"}, {"free", "Free"}},
         {"free", "99", "1250", "empty"}},
        {"bids", 6, {{"2", "2"}, {"none", ""}, {"10", "10"}, {"2b", "2"}}, {"10", "2", "2b", "none"}},
        {"shipping", 7,
         {{"see", "See Listing"}, {"12", "US 12.00"}, {"empty", ""}, {"free", "Free"}, {"9", "US 9.95"},
          {"big", "US 150,000.00"}},
         {"free", "9", "12", "big", "see", "empty"}},
        {"group", 8,
         {{"A1", "A"}, {"n1", ""}, {"B1", "B"}, {"A2", "A"}, {"n2", ""}}, {"A1", "A2", "B1", "n1", "n2"}},
    };
    for (const auto& c : cases) {
        fill(c.key, c.items);
        Sort_Auction_Items(c.key);
        EXPECT_EQ(labels(), c.expected) << c.what;
        EXPECT_EQ(Items[0].ItemNumber, "") << c.what;  // the header stays where it is
    }
}

TEST_F(ItemSortTest, ShortListsAndUnknownKeysStayAsTheyAre) {
    for (int key = -1; key <= 9; ++key) {
        fill(2, {});
        Sort_Auction_Items(key);
        EXPECT_EQ(ItemCount, 0);
        fill(2, {{"only", "x (1) 1%"}});
        Sort_Auction_Items(key);
        EXPECT_EQ(labels(), std::vector<std::string>{"only"});
    }
    for (int key : {-1, 9}) {
        fill(2, {{"b", "b (1)"}, {"a", "a (1)"}});
        Sort_Auction_Items(key);
        EXPECT_EQ(labels(), (std::vector<std::string>{"b", "a"})) << key;
    }
}

TEST_F(ItemSortTest, WholeRecordsMove) {
    fill(6, {{"few", "1"}, {"many", "9"}});
    item(1).CommentText = "first";
    item(1).BidTimeSecs = 30;
    Sort_Auction_Items(6);
    EXPECT_EQ(item(2).ItemNumber, "few");
    EXPECT_EQ(item(2).CommentText, "first");
    EXPECT_EQ(item(2).BidTimeSecs, 30);
}

TEST_F(ItemSortTest, TheDefaultKeyComesFromTheOptions) {
    EXPECT_EQ(Default_Sort_Key(), 0);
    modTLC::Set_Config_Value("Options", "DefaultSort", "7");
    EXPECT_EQ(Default_Sort_Key(), 7);
    modTLC::Set_Config_Value("Options", "DefaultSort", "x");
    EXPECT_EQ(Default_Sort_Key(), 0);
}

}  // namespace
