#include "maintenance/item_list_export.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "fake_clock.h"
#include "foundation/main_window_link.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "maintenance/maintenance_duty.h"
#include "recording_main_window.h"
#include "scripted_save_dialog.h"

namespace {

using namespace TLMainItems;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

AuctionItem item(std::string number, std::string title, std::string ends, std::string bids, std::string maxBid,
                 std::string price, std::string shipping, std::string comment, std::string seller,
                 std::string highBidder, std::string category, std::string user) {
    AuctionItem it;
    it.ItemNumber = std::move(number);
    it.Title = std::move(title);
    it.EndTime = std::move(ends);
    it.BidCount = std::move(bids);
    it.MaxBid = std::move(maxBid);
    it.CurrentPrice = std::move(price);
    it.Shipping = std::move(shipping);
    it.CommentText = std::move(comment);
    it.Seller = std::move(seller);
    it.HighBidder = std::move(highBidder);
    it.Category = std::move(category);
    it.UserID = std::move(user);
    return it;
}

class ItemListExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        TLMainState::ResetForTests();
        ResetCategoriesForTests();
        Items = {AuctionItem{},
                 item("110001", "Brass lamp", "06/01/2026 13:00:00", "3", "25.00", "US $20.50", "Free", "for the hall",
                      "lampseller (12) 100%", "b***r", "Home", "alice"),
                 item("110002", "Old map\tfolded", "06/02/2026 09:30:00", "0", "", "US $5.00", "See Listing",
                      "check\r\ncorners", "maps (3) 99.8%", "No Bids Yet", "Books", "alice"),
                 item("110003", "Teapot", "No End Date", "1", "12.00", "GBP 8.00", "2.50", "", "pots (0)", "x***y",
                      "home", "bob")};
        ItemCount = 3;
        GridRowCount = 3;
        CategoryNames = {"Books", "Home", "home"};
        CurrentCategoryIndex = 1;
        box.itemNumber = "110002";
    }
    void TearDown() override {
        Items = std::vector<AuctionItem>(1);
        ItemCount = 0;
        GridRowCount = 0;
        ResetCategoriesForTests();
    }
    std::string out(const std::string& name) const { return (dir.path() + "/" + QString::fromStdString(name)).toStdString(); }

    QTemporaryDir dir;
    testsupport::FakeTime time;
    testsupport::RecordingStatusLine status;
    testsupport::RecordingItemNumberBox box;
    testsupport::ScriptedSaveDialog dialog;
    Maintenance::MaintenanceDuty duty;
};

TEST_F(ItemListExportTest, FilesMatchTheGoldenBytes) {
    struct Case { const char* command; const char* golden; };
    for (const Case c : {Case{"MnuFileListTab", "all_items.xls"}, Case{"MnuFileCategoryText", "category_home.txt"}}) {
        SCOPED_TRACE(c.command);
        dialog.choice = out(c.golden);
        duty.Menu_Command(c.command);
        EXPECT_EQ(readFile(out(c.golden)), readFile(std::string(TOLVANE_MAINTENANCE_GOLDEN) + "/" + c.golden));
    }
}

TEST_F(ItemListExportTest, EachCommandHasItsDialogAndStatusTexts) {
    struct Case { const char* command; const char* title; const char* filter; const char* name; const char* exporting;
                  const char* done; };
    const Case cases[] = {
        {"MnuFileListText", "Export Auction Item", "Text File (*.txt)|*.txt", "Tolvane Rerode II Item List",
         "Exporting Auction Item List 110002", "List Export Complete...."},
        {"MnuFileListTab", "Export Auction Item", "Excel File (*.xls)|*.xls", "Tolvane Rerode II Item List",
         "Exporting Auction Item List 110002", "List Export Complete...."},
        {"MnuFileCategoryText", "Export Auction Category Items", "Text File (*.txt)|*.txt",
         "Tolvane Rerode II Category Item List", "Exporting Auction Category Item List 110002",
         "Category List Export Complete...."},
        {"MnuFileCategoryTab", "Export Auction Category Items", "Text File (*.txt)|*.txt",
         "Tolvane Rerode II Category Item List", "Exporting Auction Category Item List 110002",
         "Category List Export Complete...."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        dialog.asked.clear();
        status.statuses.clear();
        dialog.choice = out(c.command);
        duty.Menu_Command(c.command);
        ASSERT_EQ(dialog.asked.size(), 1u);
        EXPECT_EQ(dialog.asked[0].title, c.title);
        EXPECT_EQ(dialog.asked[0].filter, c.filter);
        EXPECT_EQ(dialog.asked[0].proposedName, c.name);
        EXPECT_EQ(status.statuses, (std::vector<std::string>{c.exporting, c.done}));
    }
}

TEST_F(ItemListExportTest, LabelledAllItemsHaveElevenLinesAndAnEmptyLineEach) {
    const std::string text = Maintenance::Item_List_Text(false, false, "");
    EXPECT_EQ(text.find("User ID"), std::string::npos);
    EXPECT_NE(text.find("Title - Old map\tfolded\r\n"), std::string::npos);  // stored bytes in the labelled form
    EXPECT_NE(text.find("Category - home\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(0, 15), "Item - 110001\r\n");
}

TEST_F(ItemListExportTest, CategoryWithoutItemsGivesTheHeaderOrNothing) {
    const std::string tab = Maintenance::Item_List_Text(true, true, "Garden");
    EXPECT_EQ(tab.rfind("Item #\t", 0), 0u);
    EXPECT_EQ(tab.find("\r\n"), tab.size() - 2);  // the header line alone
    EXPECT_EQ(Maintenance::Item_List_Text(false, true, "Garden"), "");
}

TEST_F(ItemListExportTest, CancelBusyAndEmptyWriteNothing) {
    dialog.choice = "";
    duty.Menu_Command("MnuFileCategoryTab");
    EXPECT_EQ(status.status, "Category List Export Failed....Cancel was selected.");

    dialog.choice = out("busy.txt");
    TLMainState::UpdateBusy = -1;
    duty.Menu_Command("MnuFileListText");
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
    TLMainState::UpdateBusy = 0;

    GridRowCount = 0;
    status.status.clear();
    duty.Menu_Command("MnuFileListText");
    EXPECT_EQ(status.status, "");
    EXPECT_EQ(dialog.asked.size(), 1u);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("busy.txt"))));
}

TEST_F(ItemListExportTest, AFileThatCannotBeWrittenIsAFailure) {
    dialog.choice = out("no-such-folder/list.txt");
    duty.Menu_Command("MnuFileListText");
    EXPECT_EQ(status.status.rfind("List Export Failed....", 0), 0u) << status.status;
}

}  // namespace
