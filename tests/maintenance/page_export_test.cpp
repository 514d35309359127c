#include "maintenance/page_export.h"

#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_picture_server.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "items/item_grid.h"
#include "maintenance/maintenance_duty.h"
#include "recording_main_window.h"
#include "scripted_save_dialog.h"
#include "temp_data_folder.h"

namespace {

class PageExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::DataFolder = data.dataFolder();
        TLMainState::ResetForTests();
        TLMainItems::GridRowCount = 1;
        box.itemNumber = "5005";
    }
    void TearDown() override { TLMainItems::GridRowCount = 0; }

    testsupport::TempDataFolder data;
    testsupport::FakeTime time;
    testsupport::RecordingStatusLine status;
    testsupport::RecordingItemNumberBox box;
    testsupport::ScriptedSaveDialog dialog;
    testsupport::FakePictureServer pictures;
    Maintenance::MaintenanceDuty duty;
};

TEST_F(PageExportTest, PicturesAreFetchedOnceEachAndReferredToByName) {
    const std::string b = pictures.base();
    pictures.serve("/a/lamp.JPG", "lamp-a");
    pictures.serve("/b/lamp.JPG", "lamp-b");
    pictures.serve("/c/logo.gif", "logo");
    const std::string page = "<img SRC=\"" + b + "/a/lamp.JPG\"><img src='" + b + "/b/lamp.JPG'>" +
                             "<img src=" + b + "/c/logo.gif  ><img src=\"" + b + "/a/lamp.JPG\">" +
                             "<img src=\"" + b + "/missing.jpeg\"><img src=\"/local/x.gif\"><img src=\"HTTP://h/y.gif\">";
    data.write("Saved Items/5005.html", page);
    dialog.choice = data.home() + "/export/5005";
    duty.Menu_Command("MnuFileExportImages");

    EXPECT_EQ(status.status, "Item Export Complete...., 1 images failed");
    EXPECT_EQ(data.read("../export/5005/lamp.JPG"), "lamp-a");
    EXPECT_EQ(data.read("../export/5005/lamp-2.JPG"), "lamp-b");
    EXPECT_EQ(data.read("../export/5005/logo.gif"), "logo");
    EXPECT_EQ(pictures.requests("/a/lamp.JPG"), 1);
    EXPECT_EQ(data.read("../export/5005/5005.html"),
              "<img SRC=\"lamp.JPG\"><img src='lamp-2.JPG'><img src=logo.gif  ><img src=\"lamp.JPG\"><img src=\"" + b +
                  "/missing.jpeg\"><img src=\"/local/x.gif\"><img src=\"HTTP://h/y.gif\">\r\n");
    EXPECT_EQ(TLMainState::DownloadBusy, 0);
}

TEST_F(PageExportTest, TextOnlyCancelAndAMissingPage) {
    data.write("Saved Items/5005.html", "<p>no pictures</p>");
    dialog.choice = data.home() + "/export/5005";
    duty.Menu_Command("MnuFileExportText");
    EXPECT_EQ(data.read("../export/5005/5005.html"), "<p>no pictures</p>");
    EXPECT_EQ(status.status, "Item Export Complete....");
    EXPECT_EQ(dialog.asked[0].proposedName, "5005");

    dialog.choice.clear();
    duty.Menu_Command("MnuFileExportText");
    EXPECT_EQ(status.status, "Export Failed....Cancel was selected.");

    box.itemNumber = "6006";
    dialog.choice = data.home() + "/export/6006";
    duty.Menu_Command("MnuFileExportImages");
    EXPECT_EQ(status.status.rfind("Export Failed....", 0), 0u);
    EXPECT_FALSE(data.exists("../export/6006"));
}

TEST_F(PageExportTest, TheScanEndsOnAnOpenQuoteOrAMissingBracket) {
    for (const char* page : {"<img src=\"http://127.0.0.1:9/x.gif", "<img src=http://127.0.0.1:9/x.gif"}) {
        const auto scan = Maintenance::Save_WebPage_Images(page, data.home());
        EXPECT_EQ(scan.html, page);
        EXPECT_EQ(scan.fetched + scan.failed, 0);
    }
}

}  // namespace
