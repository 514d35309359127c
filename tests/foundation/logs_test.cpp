#include <gtest/gtest.h>

#include <QDir>

#include "fake_clock.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

class RecordingWindow : public MainWindowLink {
public:
    void setStatus(const std::string& t) override { status = t; }
    void showLogBox(const std::string& t) override { logBox = t; }
    std::string status, logBox;
};

class LogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        TLMainState::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        registerMainWindow(&window);
    }
    void TearDown() override {
        registerMainWindow(nullptr);
        modTLMain::ResetStartupForTests();
    }
    TempDataFolder data;
    FakeTime time;
    RecordingWindow window;
};

std::string lines(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i) s += "line " + std::to_string(i) + "\r\n";
    return s;
}

TEST_F(LogsTest, LinesCarryTheGeneralDateAndText) {
    time.clock.setNow(QDateTime(QDate(2026, 3, 4), QTime(15, 6, 7)));
    modTLMain::Write_Op_Log("Program Started");
    modTLMain::Log_Error(53, "File not found", "LDIF");
    EXPECT_EQ(data.read("OperationLog.txt"), "3/4/2026 3:06:07 PM - Program Started\r\n");
    EXPECT_EQ(data.read("ErrorLog.txt"), "3/4/2026 3:06:07 PM - Error 53 (File not found) in procedure LDIF\r\n");
}

TEST_F(LogsTest, PurgesOnlyAboveTheLimitToTheLastWholeLines) {
    // Exactly at the limit the next line is appended.
    std::string full(static_cast<size_t>(modTLMain::kOpLogPurgeAbove - 2), 'x');
    full += "\r\n";
    data.write("OperationLog.txt", full);
    modTLMain::Write_Op_Log("next");
    EXPECT_EQ(data.read("OperationLog.txt").substr(0, full.size()), full);

    // One byte more and the next write purges first.
    std::string body;
    for (int i = 0; body.size() < 250001; ++i) body += "entry " + std::to_string(i) + " ......................\r\n";
    body.resize(250001);
    data.write("OperationLog.txt", body);
    modTLMain::Write_Op_Log("after purge");
    const std::string log = data.read("OperationLog.txt");
    const std::string tail = body.substr(body.size() - 50000);
    const std::string kept = tail.substr(tail.find("\r\n") + 2);
    ASSERT_EQ(log.substr(0, kept.size()), kept);
    const std::string rest = log.substr(kept.size());
    EXPECT_NE(rest.find(" - Operation Log Purged\r\n"), std::string::npos);
    EXPECT_GT(rest.find(" - after purge\r\n"), rest.find("Operation Log Purged"));
}

TEST_F(LogsTest, ViewerShowsWholeLogsAndTheLast500Lines) {
    data.write("OperationLog.txt", lines(1, 500));
    modTLMain::DisplayOpLog();
    EXPECT_EQ(window.logBox, "OPERATION LOG - 500 ENTRIES - Press 'Esc' to close\r\n\r\n" + lines(1, 500));
    EXPECT_EQ(window.status, "Press 'Esc' to close");

    data.write("ItemHistory.txt", lines(1, 501));
    modTLMain::Show_Item_History();
    EXPECT_EQ(window.logBox,
              "ITEM HISTORY LOG - 501 Entries - Displaying Last 500 - Press 'Esc' to close\r\n\r\n" + lines(2, 501));
}

TEST_F(LogsTest, ClearingAsksUnlessQuiet) {
    ScriptedMessageBoxes boxes;
    data.write("OperationLog.txt", lines(1, 3));
    boxes.answer(platform::vbNo);
    modTLMain::Clear_Op_Log();
    EXPECT_EQ(data.read("OperationLog.txt"), lines(1, 3));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Clear Operations Log?");
    EXPECT_EQ(boxes.shown()[0].title, "Clear Log");

    TLMainState::QuietCommand = 1;
    modTLMain::Clear_Op_Log();
    EXPECT_EQ(boxes.shown().size(), 1u);  // the hot key does not ask
    EXPECT_EQ(TLMainState::QuietCommand, 0);
    const std::string log = data.read("OperationLog.txt");
    EXPECT_EQ(log.substr(log.find(" - ")), " - LOG CLEARED....\r\n");

    data.write("ItemHistory.txt", lines(1, 2));
    boxes.answer(platform::vbNo);
    modTLMain::Clear_Item_History();
    EXPECT_TRUE(data.exists("ItemHistory.txt"));
    EXPECT_EQ(boxes.shown().back().style & platform::vbDefaultButton2, platform::vbDefaultButton2);
    boxes.answer(platform::vbYes);
    modTLMain::Clear_Item_History();
    EXPECT_FALSE(data.exists("ItemHistory.txt"));
}

TEST_F(LogsTest, ALogThatCannotBeOpenedIsReportedInTheErrorLog) {
    // A folder where the log should be cannot be opened for appending, even on the second try.
    QDir().mkpath(QString::fromStdString(data.path("OperationLog.txt")));
    modTLMain::Write_Op_Log("still here");
    EXPECT_NE(data.read("ErrorLog.txt").find("in procedure OpenOpLog"), std::string::npos);
}

}  // namespace
