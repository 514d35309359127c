#include "maintenance/user_files.h"

#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_desktop_files.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/program_end.h"
#include "foundation/startup.h"
#include "foundation/whole_file.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/item_store.h"
#include "maintenance/maintenance_duty.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "scripted_save_dialog.h"
#include "temp_data_folder.h"

namespace {

using namespace TLMainItems;

class UserFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::CommonDocumentsFolder = data.home() + "/Documents";  // as the system names it
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        ResetCategoriesForTests();
        ResetItemStoreForTests();
        Maintenance::setRestoreExitForTests([this] {
            ++exits;
            return true;
        });
    }
    void TearDown() override {
        Maintenance::setRestoreExitForTests(nullptr);
        Items = std::vector<AuctionItem>(1);
        ItemCount = 0;
        ResetCategoriesForTests();
    }
    static void storeItems(std::initializer_list<std::pair<const char*, const char*>> numberAndCategory) {
        Items = std::vector<AuctionItem>(1);
        ItemCount = 0;
        for (const auto& [number, category] : numberAndCategory) {
            AuctionItem it;
            it.ItemNumber = number;
            it.Category = category;
            Append_Item(it);
        }
        Save_Auction_Items();
    }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::RecordingStatusLine status;
    testsupport::ScriptedMessageBoxes boxes;
    testsupport::ScriptedSaveDialog saveDialog;
    testsupport::FakeDesktopFiles desktop;
    Maintenance::MaintenanceDuty duty;
    int exits = 0;
};

TEST_F(UserFilesTest, BackupChangeRestoreBringsTheFilesBackAndKeepsTheCurrentOnes) {
    data.write("tl2cf.dat", "config one");
    data.write("ItemHistory.txt", "history one");
    storeItems({{"1001", "Home"}});
    const std::string storeOne = data.read(kItemStoreFile);

    duty.BackupFiles("S");
    EXPECT_EQ(status.status, "Backup Completed....");
    EXPECT_EQ(data.read("Backup/tl2cf.dat"), "config one");
    EXPECT_EQ(data.read("Backup/" + std::string(kItemStoreFile)), storeOne);
    EXPECT_NE(data.read("OperationLog.txt").find("File Backup"), std::string::npos);

    data.write("tl2cf.dat", "config two");
    storeItems({{"1001", "Home"}, {"1002", "Books"}});
    const std::string storeTwo = data.read(kItemStoreFile);
    duty.Menu_Command("MnuFileBackup");  // a second generation: the first is kept
    EXPECT_EQ(data.read("Backup/previous/tl2cf.dat"), "config one");
    EXPECT_EQ(data.read("Backup/tl2cf.dat"), "config two");

    data.write("tl2cf.dat", "config three");
    Load_Auction_Items();  // the list in memory, saved at the program's end
    Items[1].Title = "changed after the backup";
    modTLC::ConfigDirty = 1;
    boxes.answer(platform::vbCancel);
    duty.Menu_Command("MnuFileRestore");
    EXPECT_EQ(data.read("tl2cf.dat"), "config three");
    EXPECT_EQ(exits, 0);

    boxes.answer(platform::vbOK);
    boxes.answer(platform::vbOK);
    duty.Menu_Command("MnuFileRestore");
    EXPECT_EQ(data.read("tl2cf.dat"), "config two");
    EXPECT_EQ(data.read("Backup/before-restore/tl2cf.dat"), "config three");
    EXPECT_EQ(data.read("ItemHistory.txt"), "history one");
    EXPECT_EQ(exits, 1);
    modTLMain::Run_Program_End_Saves();  // the way out saves neither the list nor the settings
    EXPECT_EQ(data.read(kItemStoreFile), storeTwo);
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[1].title, "Restore");
    EXPECT_EQ(boxes.shown()[2].text, "Your user files have been restored. Restart program after exit.");
    EXPECT_NE(data.read("OperationLog.txt").find("Backup Files Restored"), std::string::npos);
}

TEST_F(UserFilesTest, OtherModesEndWithFileBackupCompletedAndBusyCopiesNothing) {
    data.write("tl2cf.dat", "config");
    duty.BackupFiles("m");
    EXPECT_EQ(status.statuses, (std::vector<std::string>{"Backup Completed....", "File Backup Completed"}));

    data.write("tl2cf.dat", "changed");
    TLMainState::DownloadBusy = -1;
    duty.Menu_Command("MnuFileBackup");
    TLMainState::DownloadBusy = 0;
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
    EXPECT_EQ(data.read("Backup/tl2cf.dat"), "config");
}

TEST_F(UserFilesTest, ExportProposesTheDatedNameAndCopiesTheStore) {
    storeItems({{"1001", "Home"}});
    saveDialog.choice = data.home() + "/out.dat";
    duty.Menu_Command("MnuFileExportItems");
    ASSERT_EQ(saveDialog.asked.size(), 1u);
    EXPECT_EQ(saveDialog.asked[0].proposedName, data.home() + "/Documents/Auction Items 06-01-26.dat");
    EXPECT_EQ(saveDialog.asked[0].filter, "Data File (*.dat)|*.dat");
    EXPECT_EQ(status.status, "Auction Items Exported....");
    EXPECT_EQ(*modTLMain::Read_Whole_File(saveDialog.choice), data.read(kItemStoreFile));

    saveDialog.choice.clear();
    duty.Menu_Command("MnuFileExportItems");
    EXPECT_EQ(status.status, "Cancel was selected.");
}

TEST_F(UserFilesTest, ImportReplacesTheListAndAddsItsNewCategoriesOnce) {
    modTLC::Set_Config_Value("Categories", "Home", "1");
    storeItems({{"2001", "Home"}, {"2002", "Garden"}, {"2003", "Garden"}, {"2004", ""}});
    const std::string imported = data.read(kItemStoreFile);
    data.write("import.dat", imported);
    storeItems({{"1001", "Home"}});
    const std::string current = data.read(kItemStoreFile);

    desktop.choice = data.path("import.dat");
    duty.Menu_Command("MnuFileImportItems");
    EXPECT_EQ(ItemCount, 4);
    EXPECT_EQ(data.read(kItemStoreFile), imported);
    EXPECT_EQ(data.read("Backup/before-import.dat"), current);
    EXPECT_EQ(modTLC::Get_Config_Value("Categories", "Garden"), "0");
    EXPECT_EQ(status.status, "Auction Items Imported....");
    EXPECT_EQ(boxes.texts().back(), "4 Items Imported...\r\n1 New Categories Added..");
    EXPECT_EQ(desktop.asked.back().folder, data.dataFolder() + "Backup/");
    EXPECT_EQ(desktop.asked.back().title, "Import Auction Items");
}

TEST_F(UserFilesTest, ImportRefusesAFileThatIsNotAnItemStore) {
    storeItems({{"1001", "Home"}});
    const std::string current = data.read(kItemStoreFile);
    data.write("notes.dat", "just some notes, not items");
    desktop.choice = data.path("notes.dat");
    duty.Menu_Command("MnuFileImportItems");
    EXPECT_EQ(status.status, "Auction Items Import Failed.... The file is not an auction item file.");
    EXPECT_EQ(data.read(kItemStoreFile), current);
    EXPECT_EQ(ItemCount, 1);

    Items[1].BidStatus = "Placing Bid";  // refused like a delete while a bid goes out
    desktop.choice = data.path(kItemStoreFile);
    duty.Menu_Command("MnuFileImportItems");
    EXPECT_EQ(status.status, "Busy, Download In Progress....");
}

}  // namespace
