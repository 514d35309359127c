#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "fake_clock.h"
#include "foundation/logs.h"
#include "foundation/startup.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

// The status line and the log box that the log viewers fill.
class RecordingWindow : public RecordingStatusLine, public RecordingLogBox {};

class LogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        TLMainState::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
    }
    void TearDown() override {
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

// A viewer with nothing it can show: a missing operation log is an error, a cleared item
// history shows no entries, and a log too large to hold is not read.
TEST_F(LogsTest, ViewersOfMissingAndOversizeLogs) {
    enum State { Missing, Oversize };
    struct Case {
        bool history;
        State state;
        const char* logBox;
        const char* status;
        const char* errorLine;
    };
    const Case cases[] = {
        {false, Missing, "", "", " - Error 53 (File not found) in procedure DisplayOpLog\r\n"},
        {true, Missing, "ITEM HISTORY LOG - 0 ENTRIES - Press 'Esc' to close\r\n\r\n", "Press 'Esc' to close", ""},
        {false, Oversize, "", "", " - Error 7 (Out of memory) in procedure DisplayOpLog\r\n"},
        {true, Oversize, "", "Log Size Too Large - Please Clear", ""},
    };
    for (const Case& c : cases) {
        TempDataFolder local;
        modTLMain::DataFolder = local.dataFolder();
        window.logBox.clear();
        window.status.clear();
        if (c.state == Oversize) {
            // A sparse file: its size counts, it takes no room.
            QFile f(QString::fromStdString(local.path(c.history ? "ItemHistory.txt" : "OperationLog.txt")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_TRUE(f.resize(modTLMain::kLogViewMaxBytes + 1));
        }
        if (c.history) modTLMain::Show_Item_History();
        else modTLMain::DisplayOpLog();
        const std::string label = std::string(c.history ? "history" : "op log") + (c.state == Missing ? " missing" : " oversize");
        EXPECT_EQ(window.logBox, c.logBox) << label;
        EXPECT_EQ(window.status, c.status) << label;
        const std::string errors = local.read("ErrorLog.txt");
        if (*c.errorLine) EXPECT_NE(errors.find(c.errorLine), std::string::npos) << label << ": " << errors;
        else EXPECT_EQ(errors, "") << label;
    }
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

TEST_F(LogsTest, ADamagedLogIsReplacedAndTheLineBeingWrittenIsKept) {
    time.clock.setNow(QDateTime(QDate(2026, 3, 4), QTime(15, 6, 7)));
    // A log that cannot be opened but can be deleted: a link into a folder that is gone.
    ASSERT_TRUE(QFile::link(QString::fromStdString(data.path("gone/OperationLog.txt")),
                            QString::fromStdString(data.path("OperationLog.txt"))));
    modTLMain::Write_Op_Log("Item Added");
    EXPECT_EQ(data.read("OperationLog.txt"),
              "3/4/2026 3:06:07 PM - Log Damaged, New Log Created...\r\n3/4/2026 3:06:07 PM - Item Added\r\n");
    EXPECT_FALSE(QFileInfo(QString::fromStdString(data.path("OperationLog.txt"))).isSymLink());
    EXPECT_NE(data.read("ErrorLog.txt").find(") in procedure OpenOpLog\r\n"), std::string::npos);
}

}  // namespace
