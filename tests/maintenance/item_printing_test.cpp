#include "maintenance/item_printing.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "foundation/main_window_link.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "maintenance/maintenance_duty.h"
#include "recording_main_window.h"
#include "recording_print_device.h"
#include "scripted_boxes.h"

namespace {

using namespace TLMainItems;
using testsupport::RecordingPrintDevice;

class ItemPrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        TLMainState::ResetForTests();
        ResetCategoriesForTests();
        Items = std::vector<AuctionItem>(1);
        ItemCount = 0;
        for (int i = 1; i <= 3; ++i) {
            AuctionItem it;
            it.ItemNumber = "10" + std::to_string(i);
            it.Title = i == 2 ? std::string(300, 'W') : "Item " + std::to_string(i);
            it.EndTime = "06/0" + std::to_string(i) + "/2026 13:00:00";
            it.BidCount = std::to_string(i);
            it.Category = i == 3 ? "Books" : "Home";
            Items.push_back(it);
            ++ItemCount;
        }
        GridRowCount = 2;
        ItemOrder = {0, 1, 2};
        SelectedRow = 2;
        CategoryNames = {"Books", "Home"};
        CurrentCategoryIndex = 1;
    }
    void TearDown() override {
        Items = std::vector<AuctionItem>(1);
        ItemCount = 0;
        GridRowCount = 0;
        ItemOrder = {0};
        SelectedRow = 0;
        ResetCategoriesForTests();
    }
    testsupport::RecordingStatusLine status;
    testsupport::ScriptedMessageBoxes boxes;
};

TEST_F(ItemPrintingTest, BlocksSitAtTheirColumnsAndRowsWithTheRuleBelow) {
    RecordingPrintDevice device;
    ASSERT_EQ(Maintenance::Print_To(device, Maintenance::PrintChoice::All), Maintenance::PrintOutcome::Printed);
    EXPECT_EQ(device.pointSize, 12);
    ASSERT_EQ(device.texts.size(), 27u);
    const long r = device.row;
    struct Expect { size_t at; long x, y; const char* text; long maxWidth; };
    const Expect cases[] = {
        {0, 0, r, "101", 2000},
        {1, 2000, r, "Item 1", 6300},
        {2, 8300, r, "06/01/2026 13:00:00", 11520 - 8300},
        {3, 0, 2 * r, "Bids = 1", 2000},
        {5, 8300, 2 * r, "Current Bid = ", 11520 - 8300},
        {6, 0, 3 * r, "User = ", 3500},
        {7, 3500, 3 * r, "Category = Home", 4800},
        {9, 0, 4 * r + 200, "102", 2000},  // the next block starts 200 twips below the first
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.text);
        const auto& t = device.texts[e.at];
        EXPECT_EQ(t.x, e.x);
        EXPECT_EQ(t.y, e.y);
        EXPECT_EQ(t.text, e.text);
        EXPECT_EQ(t.maxWidth, e.maxWidth);
    }
    EXPECT_EQ(device.texts[10].maxWidth, 6300);  // the long title is cut at the end-time column
    ASSERT_EQ(device.lines.size(), 3u);
    EXPECT_EQ(device.lines[0].y1, 4 * r + 100);
    EXPECT_EQ(device.lines[0].x2 - device.lines[0].x1, 11520 - 720);
    EXPECT_TRUE(device.ended);
}

TEST_F(ItemPrintingTest, ARowThatWouldPassTheBottomStartsANewPage) {
    for (int i = 0; i < 40; ++i) Items.push_back(Items[1]);
    ItemCount = static_cast<int16_t>(Items.size() - 1);
    RecordingPrintDevice device;
    Maintenance::Print_To(device, Maintenance::PrintChoice::All);
    EXPECT_GT(device.page, 1);
    for (const auto& t : device.texts) EXPECT_LE(t.y + device.row, device.height) << t.text;
    for (const auto& l : device.lines) EXPECT_LE(l.y1, device.height);
    // The first row of a later page starts at its top.
    bool sawTopOfPage = false;
    for (const auto& t : device.texts) sawTopOfPage |= t.page == 2 && t.y == 0;
    EXPECT_TRUE(sawTopOfPage);
}

TEST_F(ItemPrintingTest, CategoryAndSelectedItemPrintTheirItemsOnly) {
    RecordingPrintDevice device;
    CurrentCategoryIndex = 0;  // "Books"
    Maintenance::Print_To(device, Maintenance::PrintChoice::Category);
    ASSERT_EQ(device.texts.size(), 9u);
    EXPECT_EQ(device.texts[0].text, "103");

    RecordingPrintDevice selected;
    Maintenance::Print_To(selected, Maintenance::PrintChoice::Selected);
    ASSERT_EQ(selected.texts.size(), 9u);
    EXPECT_EQ(selected.texts[0].text, "102");
}

TEST_F(ItemPrintingTest, ThePromptNoPrinterAndAFailedJobAreTold) {
    static RecordingPrintDevice script;
    platform::setPrintDeviceFactoryForTests([]() -> std::unique_ptr<platform::PrintDevice> {
        return std::make_unique<RecordingPrintDevice>(script);
    });
    Maintenance::MaintenanceDuty duty;

    boxes.answer(platform::vbCancel);
    duty.Menu_Command("MnuFilePrintAll");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Print All Items");
    EXPECT_EQ(boxes.shown()[0].text, "Ready Printer, Press OK when ready");
    EXPECT_EQ(status.status, "");

    script.available = false;
    boxes.answer(platform::vbOK);
    duty.Menu_Command("MnuFilePrintCategory");
    EXPECT_EQ(status.status, Maintenance::kNoPrinter);

    script.available = true;
    script.endSucceeds = false;
    boxes.answer(platform::vbOK);
    duty.Menu_Command("MnuFilePrintSelected");
    EXPECT_EQ(status.status, Maintenance::kPrintFailed);

    SelectedRow = 7;  // no such row: nothing asked
    duty.Menu_Command("MnuFilePrintSelected");
    EXPECT_EQ(boxes.shown().size(), 3u);
    platform::setPrintDeviceFactoryForTests(nullptr);
}

TEST_F(ItemPrintingTest, APdfPrintReadsBackAsTheItems) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    const std::string pdf = (dir.path() + "/items.pdf").toStdString();
    {
        const auto device = platform::openPrintDevice(pdf);
        ASSERT_EQ(Maintenance::Print_To(*device, Maintenance::PrintChoice::Category),
                  Maintenance::PrintOutcome::Printed);
    }
    QProcess p;
    p.start(pdftotext, {"-layout", QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const std::string text = p.readAllStandardOutput().toStdString();
    for (const char* expected : {"101", "Item 1", "Bids = 1", "Category = Home", "102", "06/02/2026 13:00:00"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("103"), std::string::npos);
}

}  // namespace
