#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/resource.h>

#include "foundation/logs.h"
#include "foundation/program_end.h"
#include "items/item_store.h"
#include "items_fixture.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

std::string le(uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}
std::string text(const std::string& t) { return le(static_cast<uint32_t>(t.size()), 2) + t; }

const std::string kEmptyHeader = std::string("\x01\x00", 2) + "0" + std::string("\x02\x00", 2) + "41" + std::string(86, '\0');

// A record whose every text is its member number ("m0", "m1", ...) and whose numbers differ.
AuctionItem numberedItem() {
    AuctionItem a;
    std::string* texts[] = {&a.ItemNumber, &a.Title, &a.EndTime, &a.CurrentPrice, &a.BidCount, &a.Reserved1,
                            &a.MinBid, &a.HighBidder, &a.Seller, &a.CommentText, &a.Shipping, &a.Category,
                            &a.UserID, &a.AlarmState, &a.MaxBid};
    for (int i = 0; i < 15; ++i) *texts[i] = "m" + std::to_string(i);
    a.BidTimeSecs = 0x01020304;
    a.Quantity = "m16";
    a.DialBeforeBid = -2;
    std::string* more[] = {&a.BidStatus, &a.UnconfirmedBid, &a.Reserved3, &a.AlarmSetting, &a.ResultDone};
    for (int i = 0; i < 5; ++i) *more[i] = "m" + std::to_string(18 + i);
    a.ReserveFlag = 1;
    std::string* rest[] = {&a.ConfirmRequest, &a.AfterBidOptions, &a.ControlGroup, &a.BidGroup};
    for (int i = 0; i < 4; ++i) *rest[i] = "m" + std::to_string(24 + i);
    a.GroupLock = 1;
    a.GroupNeed = -1;
    a.GroupWins = 70000;
    std::string* tail[] = {&a.ListingType, &a.Reserved4, &a.Reserved5, &a.Reserved6, &a.Reserved7, &a.Reserved8,
                           &a.Reserved9, &a.Reserved10, &a.Reserved11, &a.Reserved12};
    for (int i = 0; i < 10; ++i) *tail[i] = "m" + std::to_string(31 + i);
    return a;
}

std::string numberedItemBytes() {
    std::string b;
    for (int i = 0; i <= 14; ++i) b += text("m" + std::to_string(i));
    b += le(0x01020304, 4) + text("m16") + le(0xFFFE, 2);
    for (int i = 18; i <= 22; ++i) b += text("m" + std::to_string(i));
    b += le(1, 2);
    for (int i = 24; i <= 27; ++i) b += text("m" + std::to_string(i));
    b += le(1, 4) + le(0xFFFFFFFF, 4) + le(70000, 4);
    for (int i = 31; i <= 40; ++i) b += text("m" + std::to_string(i));
    return b;
}

// A record of the number and title; a header is the record of the count and the version.
std::string record(const std::string& number, const std::string& title = "") {
    AuctionItem a;
    a.ItemNumber = number;
    a.Title = title;
    std::string b;
    Append_Record_Bytes(a, b);
    return b;
}

class ItemStoreTest : public ItemsTest {};

TEST_F(ItemStoreTest, WritesEachRecordAsItsMembersInOrderWithoutPadding) {
    add("1");
    item(1) = numberedItem();
    ASSERT_TRUE(Save_Auction_Items());
    const std::string expected =
        text("1") + text("41") + std::string(86, '\0') + numberedItemBytes();  // header says one item
    EXPECT_EQ(data.read(kItemStoreFile), expected);

    Load_Auction_Items();
    ASSERT_EQ(ItemCount, 1);
    EXPECT_EQ(Items.size(), 2u);
    EXPECT_EQ(item(1), numberedItem());
}

TEST_F(ItemStoreTest, AnEmptyListIsOneHeaderRecordOf93Bytes) {
    ASSERT_TRUE(Save_Auction_Items());
    EXPECT_EQ(data.read(kItemStoreFile), kEmptyHeader);
    EXPECT_EQ(kEmptyHeader.size(), 93u);
    add("5");
    Load_Auction_Items();
    EXPECT_EQ(ItemCount, 0);
    EXPECT_EQ(Items.size(), 1u);
}

// However the program ends (its window, a stop asked by the system, the session's end), a bid whose
// offer may be out reaches the disk; a list with none is left as it is.
TEST_F(ItemStoreTest, TheProgramsEndSavesABidWhoseRequestIsOut) {
    add("111");
    ASSERT_TRUE(Save_Auction_Items());
    Load_Auction_Items();
    const std::string before = data.read(kItemStoreFile);
    item(1).CommentText = "unsaved";
    modTLMain::Run_Program_End_Saves();
    EXPECT_EQ(data.read(kItemStoreFile), before) << "nothing in flight: nothing written";

    item(1).BidStatus = "Placing Bid";
    modTLMain::Run_Program_End_Saves();
    Load_Auction_Items();
    EXPECT_EQ(item(1).BidStatus, "Placing Bid");
}

TEST_F(ItemStoreTest, NonAsciiTextsRoundTripAndTheirLengthsCountBytes) {
    const std::string title = "Caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC \xE2\x80\x93 \xF0\x9F\x93\xB7";  // Café 東京 – 📷
    add("111");
    item(1).Title = title;
    item(1).CommentText = "\xC3\xBC";
    ASSERT_TRUE(Save_Auction_Items());
    const std::string bytes = data.read(kItemStoreFile);
    const size_t titleAt = 93 + text("111").size();  // the header, then the item number
    EXPECT_EQ(bytes.substr(titleAt, 2), le(static_cast<uint32_t>(title.size()), 2));
    Load_Auction_Items();
    ASSERT_EQ(ItemCount, 1);
    EXPECT_EQ(item(1).Title, title);
    EXPECT_EQ(item(1).CommentText, "\xC3\xBC");
}

TEST_F(ItemStoreTest, AFileOfAnotherVersionIsReadAsItStandsAndCopiedAsideOnceBeforeTheFirstSave) {
    const std::string old = record("3", "40") + record("11") + record("22") + record("33");
    data.write(kItemStoreFile, old);
    Load_Auction_Items();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, std::string(kIncompatibleStore) + "\r\n\r\n");
    EXPECT_EQ(boxes.shown()[0].style, platform::vbOKOnly + platform::vbSystemModal);
    EXPECT_EQ(boxes.shown()[0].title, "Tolvane Rerode II");
    ASSERT_EQ(ItemCount, 3);
    EXPECT_EQ(item(3).ItemNumber, "33");
    EXPECT_FALSE(data.exists("Auction Items.dat.v40"));  // loading alone changes nothing

    ASSERT_TRUE(Save_Auction_Items());
    EXPECT_EQ(data.read("Auction Items.dat.v40"), old);
    Load_Auction_Items();
    EXPECT_EQ(boxes.shown().size(), 1u);  // now of this version
    EXPECT_EQ(Items[0].Title, "41");

    // A later file of that version does not replace the first copy.
    data.write(kItemStoreFile, record("1", "40") + record("99"));
    Load_Auction_Items();
    ASSERT_TRUE(Save_Auction_Items());
    EXPECT_EQ(data.read("Auction Items.dat.v40"), old);
}

TEST_F(ItemStoreTest, AnEmptyListOfAnotherVersionIsNotChecked) {
    data.write(kItemStoreFile, record("0", "40"));
    Load_Auction_Items();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_TRUE(Save_Auction_Items());
    EXPECT_FALSE(data.exists("Auction Items.dat.v40"));
}

struct ShortFileCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> numbers;
    bool damaged;
};

TEST_F(ItemStoreTest, ReadingStopsAtTheEndOfTheFileAndDropsWhatIsNotAWholeItem) {
    const std::string three = record("3", "41") + record("11") + record("22") + record("33");
    const ShortFileCase cases[] = {
        {"missing file", "", {}, false},
        {"cut inside the header", kEmptyHeader.substr(0, 50), {}, true},
        {"header says more than the file holds", record("5", "41") + record("11") + record("22"), {"11", "22"}, true},
        {"last record cut short", three.substr(0, three.size() - 3), {"11", "22"}, true},
        {"records without a number", record("3", "41") + record("11") + record("") + record("33"), {"11", "33"}, false},
        {"header says fewer", record("1", "41") + record("11") + record("22"), {"11"}, true},
        {"count that is not a number", record("x", "41") + record("11"), {}, true},
        {"a damaged length puts the records out of step",
         record("3", "41") + record("11") + std::string("\x05\x00\x01\x02", 4) + record("22") + record("33"), {"11"}, true},
    };
    int copies = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(QString::fromStdString(Item_Store_Path()));
        if (!c.bytes.empty()) data.write(kItemStoreFile, c.bytes);
        boxes.clear();
        Load_Auction_Items();
        std::vector<std::string> got;
        for (int i = 1; i <= ItemCount; ++i) got.push_back(item(i).ItemNumber);
        EXPECT_EQ(got, c.numbers);
        EXPECT_EQ(Items.size(), static_cast<size_t>(ItemCount) + 1);
        // A store that did not read whole is kept as it was before anything replaces it, and the
        // user is told how much was read and where the copy is.
        const QStringList kept = QDir(QString::fromStdString(data.dataFolder()))
                                     .entryList({"Auction Items.dat.damaged-*"}, QDir::Files);
        if (c.damaged) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_NE(boxes.shown()[0].text.find(std::to_string(ItemCount) + " items could be read"), std::string::npos);
            ASSERT_EQ(kept.size(), 1);
            EXPECT_NE(boxes.shown()[0].text.find(kept[0].toStdString()), std::string::npos);
            EXPECT_EQ(data.read(kept[0].toStdString()), c.bytes);
            QFile::remove(QString::fromStdString(data.path(kept[0].toStdString())));
            ++copies;
        } else {
            EXPECT_TRUE(boxes.shown().empty());
            EXPECT_TRUE(kept.isEmpty());
        }
    }
    EXPECT_EQ(copies, 6);
    QFile::remove(QString::fromStdString(Item_Store_Path()));
    Load_Auction_Items();
    EXPECT_FALSE(data.exists(kItemStoreFile));  // reading a missing file does not make one
}

// Writes beyond `bytes` fail for the life of the object, as on a full disk (root too).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = m_old;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(ItemStoreTest, AFailedSaveKeepsTheOldFileAndSaysSo) {
    add("11");
    ASSERT_TRUE(Save_Auction_Items());
    const std::string before = data.read(kItemStoreFile);
    item(1).Title = std::string(5000, 't');
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(Save_Auction_Items());
        EXPECT_FALSE(Save_Auction_Items());  // one message at a time
    }
    EXPECT_EQ(data.read(kItemStoreFile), before);
    EXPECT_TRUE(boxes.shown().empty());  // the caller of the save is not held up
    time.advanceMs(10);
    ASSERT_EQ(boxes.texts(), std::vector<std::string>{kItemsNotSaved});
    EXPECT_EQ(boxes.shown()[0].style, platform::vbExclamation + platform::vbSystemModal);
    EXPECT_NE(data.read("ErrorLog.txt").find(kItemsNotSaved), std::string::npos);

    ASSERT_TRUE(Save_Auction_Items());
    Load_Auction_Items();
    EXPECT_EQ(item(1).Title.size(), 5000u);
}

TEST_F(ItemStoreTest, TextsLongerThanARecordHoldsAreCutAtWholeCharactersWithALogLine) {
    add("11");
    item(1).CommentText = std::string(40000 * 2, 'x');
    for (size_t i = 0; i < item(1).CommentText.size(); i += 2) item(1).CommentText.replace(i, 2, "\xC3\xA9");
    ASSERT_TRUE(Save_Auction_Items());
    Load_Auction_Items();
    EXPECT_EQ(item(1).CommentText.size(), 65534u);  // 65,535 would split an "é"
    EXPECT_EQ(item(1).CommentText.substr(65532), "\xC3\xA9");
    EXPECT_NE(data.read("OperationLog.txt").find("Item 11 CommentText Cut From 80000 To 65534 Bytes"),
              std::string::npos);
}

TEST_F(ItemStoreTest, FindItemIndexMatchesTheWholeNumberExactlyAndTheFirstWins) {
    add("123");
    add("1234");
    add("123");
    EXPECT_EQ(FindItemIndex("123"), 1);
    EXPECT_EQ(FindItemIndex("1234"), 2);
    EXPECT_EQ(FindItemIndex("12"), 0);
    EXPECT_EQ(FindItemIndex(""), 0);
}

TEST_F(ItemStoreTest, TheListTakesAtMost32767Items) {
    ItemCount = kMaxItems - 1;
    EXPECT_FALSE(Item_Store_Full());
    EXPECT_TRUE(Item_Store_Full(2));
    ItemCount = kMaxItems;
    EXPECT_TRUE(Item_Store_Full());
    AuctionItem a;
    a.ItemNumber = "1";
    EXPECT_FALSE(Append_Item(a));
    EXPECT_EQ(ItemCount, kMaxItems);
    EXPECT_EQ(Items.size(), 1u);
}

TEST_F(ItemStoreTest, ItemNumbersAreOneToNineteenDigits) {
    const struct { const char* number; bool valid; } cases[] = {
        {"1", true}, {"123456789012", true}, {"1234567890123456789", true}, {"12345678901234567890", false},
        {"", false}, {"12a", false}, {" 12", false}, {"-12", false}, {"1.5", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Valid_Item_Number(c.number), c.valid) << c.number;
}

}  // namespace
