// The program as a user starts it with an item list of their own: the main window comes up from
// the start-up chain, its grid shows each item's time left and the times run on with the clock;
// a picture of the window is left in the build folder (main_window_acceptance.png). And the
// installed program, started as ./run.sh starts it, runs its heartbeat.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "app/program_start.h"
#include "composed_program.h"
#include "fake_clock.h"
#include "fake_tray.h"
#include "installed_program.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "mainwindow/tl_main.h"
#include "options/new_setup.h"
#include "platform/file_version.h"
#include "platform/locale_info.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

const char* const kConfig =
    "[Options]\r\nSound=0\r\nClosetoTray=0\r\nChkUpdates=0\r\nBkupChkTime=" "2099-01-01 00:00:00\r\n\r\n"
    "[Categories]\r\nCameras=1\r\n";

// The user's list: items ending in a minute and a half, in 50 minutes, in 5 hours and in 3 days,
// and one that has ended.
void writeItemList(const TempDataFolder& data, const QDateTime& now) {
    modTLMain::DataFolder = data.dataFolder();
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    TLMainItems::ResetItemStoreForTests();
    const struct { const char* number; const char* title; long secs; } items[] = {
        {"110000000001", "Leica Summicron 50mm f/2 lens", 90},
        {"110000000002", "Nikon F3 body, serviced", 50 * 60},
        {"110000000003", "Rolleiflex 2.8F twin-lens reflex", 5 * 3600},
        {"110000000004", "Hasselblad 500C/M with A12 back", 3 * 86400},
        {"110000000005", "Canon AE-1 program", -600},
    };
    for (const auto& i : items) {
        TLMainItems::AuctionItem a;
        a.ItemNumber = i.number;
        a.Title = i.title;
        a.EndTime = TLMainItems::End_Time_Text(now.addSecs(i.secs), false);
        a.CurrentPrice = "US 125.00";
        a.BidCount = "7";
        a.Seller = "camerashop (2210) 99.8%";
        a.Category = "Cameras";
        a.UserID = "buyer1";
        a.AfterBidOptions = "0";
        TLMainItems::Append_Item(a);
    }
    ASSERT_TRUE(TLMainItems::Save_Auction_Items());
    TLMainItems::ResetItemStoreForTests();
    data.write("tl2cf.dat", modAHM::Crypt_String(kConfig, modTLC::Config_Phrase(), true));
}

class MainWindowAcceptance : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        platform::setUserLocaleForTests("en_US");
    }
    void TearDown() override {
        Unload_Composed_Program();
        platform::setUserLocaleForTests("");
    }
};

TEST_F(MainWindowAcceptance, TheGridShowsLiveRemainingTimes) {
    TempDataFolder data;
    FakeTime time;
    FakeTrayIcon tray;
    ScriptedMessageBoxes boxes;
    writeItemList(data, time.clock.now());
    programstart::Start();
    time.advanceMs(50);
    ASSERT_TRUE(TLMain::loaded());
    TLMain& w = TLMain::instance();
    ASSERT_TRUE(w.isVisible());
    w.resize(1100, 420);

    const auto column = [] {
        std::vector<std::string> texts;
        for (int r = 1; r <= TLMainItems::GridRowCount; ++r)
            texts.push_back(TLMainItems::ItemGrid().TextMatrix(r, TLMainItems::kColRemaining));
        return texts;
    };
    time.advanceMs(1000);
    ASSERT_EQ(TLMainItems::GridRowCount, 5);
    EXPECT_EQ(column(), (std::vector<std::string>{" 1 Min  29 Secs", " 49 Mins", " 4 Hours  59 Mins",
                                                  " 2 Days  23 Hours", "Closed"}));
    time.advanceMs(30000);
    EXPECT_EQ(column(), (std::vector<std::string>{" 59 Secs", " 49 Mins", " 4 Hours  59 Mins",
                                                  " 2 Days  23 Hours", "Closed"}));
    time.advanceMs(60000);
    EXPECT_EQ(column()[0], "Closed");
    EXPECT_EQ(column()[1], " 48 Mins");

    QApplication::processEvents();
    const QPixmap shot = w.grab();
    ASSERT_FALSE(shot.isNull());
    const QString file = QCoreApplication::applicationDirPath() + "/../main_window_acceptance.png";
    QFile::remove(file);
    EXPECT_TRUE(shot.save(file));
    EXPECT_TRUE(QFileInfo::exists(file));
    w.MnuExit_Click();
}

// The installed program, started as ./run.sh starts it (offscreen here), shows the list and runs
// its heartbeat: its first tick is logged. A stop asked by the system (SIGTERM, as at log-out)
// ends it normally, taking its lock and socket away.
TEST(InstalledProgram, StartsOnAPreparedDataFolderAndRunsItsHeartbeat) {
    TempDataFolder data;
    writeItemList(data, QDateTime::currentDateTime());
    modTLMain::DataFolder.clear();
    InstalledProgram installed = Install_Program(data);
    ASSERT_TRUE(installed.installed);
    QProcessEnvironment& env = installed.env;
    env.insert("LANG", "en_US.UTF-8");
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess running;
    running.setProcessEnvironment(env);
    running.start(installed.program, {});
    ASSERT_TRUE(running.waitForStarted(30000));
    QElapsedTimer waited;
    waited.start();
    const auto log = [&] { return data.exists("OperationLog.txt") ? data.read("OperationLog.txt") : std::string(); };
    while (log().find(" - Program Started - 3.43 - ") == std::string::npos && waited.elapsed() < 60000 &&
           running.state() == QProcess::Running)
        running.waitForFinished(100);
    EXPECT_NE(log().find(" - Program Started - 3.43 - "), std::string::npos) << running.readAllStandardError().toStdString();
    EXPECT_EQ(running.state(), QProcess::Running);
    EXPECT_FALSE(QDir(runtime.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).isEmpty())
        << "the running program holds its lock and socket";
    running.terminate();
    EXPECT_TRUE(running.waitForFinished(20000));
    EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(QDir(runtime.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).isEmpty())
        << "a stop asked by the system leaves nothing behind";
    if (running.state() != QProcess::NotRunning) {
        running.kill();
        running.waitForFinished(10000);
    }
}

}  // namespace
