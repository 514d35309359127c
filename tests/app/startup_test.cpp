#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include "app/program_start.h"
#include "fake_clock.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "mainwindow/tl_main.h"
#include "options/new_setup.h"
#include "platform/file_version.h"
#include "platform/locale_info.h"
#include "scripted_boxes.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
    }
    void TearDown() override {
        NewSetup::Unload();
        TLMain::unloadForTests();
        platform::setUserLocaleForTests("");
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
    }
    std::string plainConfig(const TempDataFolder& d) {
        return modAHM::Crypt_String(d.read("tl2cf.dat"), modTLC::Config_Phrase(), false);
    }
};

TEST_F(StartupTest, AFreshProfileGetsItsPresetsAndTheWizard) {
    TempDataFolder data;
    QDir(QString::fromStdString(data.dataFolder())).removeRecursively();  // no installer ran
    FakeTime time;
    ScriptedMessageBoxes boxes;
    platform::setUserLocaleForTests("en_GB");

    programstart::Start();
    time.advanceMs(50);  // the splash hands over on its first tick

    EXPECT_EQ(modTLMain::DataFolder, data.dataFolder());
    EXPECT_EQ(QFileInfo(QString::fromStdString(data.dataFolder())).permissions() & 0x0077, 0);
    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"})
        EXPECT_TRUE(QDir(QString::fromStdString(data.path(sub))).exists()) << sub;
    const std::string plain = plainConfig(data);
    EXPECT_EQ(plain.rfind("[Options]\r\nAlarmValues=1284\r\nAutoComment=0\r\n", 0), 0u) << plain;
    EXPECT_NE(plain.find("\r\n\r\n[Categories]\r\nGeneral=1\r\n\r\n[Sounds]\r\nAddItem=AddItem\r\n"), std::string::npos);
    EXPECT_NE(plain.find("[Locale]\r\nSiteIndex=3\r\n"), std::string::npos);
    EXPECT_NE(data.read("OperationLog.txt").find(" - New Install - Setting Presets\r\n"), std::string::npos);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Error! Program Updater File Missing!", "Error! IE DLL File Missing!"}));
    EXPECT_EQ(modTLMain::DefaultUserAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Win32)");
    EXPECT_EQ(modTLMain::FirstRunSetup, 1);
    ASSERT_TRUE(NewSetup::loaded());
    EXPECT_TRUE(NewSetup::instance().isVisible());
    EXPECT_FALSE(modTLMain::NewInstall);
}

TEST_F(StartupTest, LocalesOutsideTheSiteListStartOnTheFirstSite) {
    for (const char* locale : {"ja_JP", "C"}) {
        TempDataFolder data;
        FakeTime time;
        ScriptedMessageBoxes boxes;
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        platform::setUserLocaleForTests(locale);
        programstart::Start();
        time.advanceMs(50);
        EXPECT_EQ(modTLC::Get_Config_Value("Locale", "SiteIndex"), "0") << locale;
        NewSetup::Unload();
    }
}

TEST_F(StartupTest, AnExistingProfileGoesToTheMainWindow) {
    TempDataFolder data;
    data.write("tl2cf.dat", modAHM::Crypt_String("[Options]\r\nSound=1\r\n", modTLC::Config_Phrase(), true));
    FakeTime time;
    ScriptedMessageBoxes boxes;
    programstart::Start();
    time.advanceMs(50);
    EXPECT_FALSE(modTLMain::NewInstall);
    EXPECT_TRUE(data.read("OperationLog.txt").find("New Install") == std::string::npos);
    ASSERT_TRUE(TLMain::loaded());
    EXPECT_TRUE(TLMain::instance().isVisible());
    EXPECT_FALSE(NewSetup::loaded());
    EXPECT_FALSE(modTLC::Get_Config_Value("Options", "WHwnd").empty());

    // The heartbeat writes a change five ticks later.
    const std::string before = data.read("tl2cf.dat");
    modTLC::Set_Config_Value("Options", "Sound", "0");
    time.advanceMs(4000);
    EXPECT_EQ(data.read("tl2cf.dat"), before);
    time.advanceMs(1000);
    EXPECT_NE(data.read("tl2cf.dat"), before);
    EXPECT_EQ(modTLC::ConfigDirty, 0);

    // Closing ends the program: logged, and an unsaved change is written.
    modTLC::Set_Config_Value("Options", "Sound", "1");
    const std::string unsaved = data.read("tl2cf.dat");
    TLMain::instance().close();
    EXPECT_NE(data.read("tl2cf.dat"), unsaved);
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    const std::string log = data.read("OperationLog.txt");
    EXPECT_EQ(log.substr(log.rfind(" - ")), " - Program Ended\r\n");
}

// The sibling files' versions: the updater must match the program, the extension must be 3.00.
TEST_F(StartupTest, SiblingVersionsAreCheckedAgainstTheProgram) {
    struct Case {
        const char* updater;    // nullptr: file missing
        const char* extension;  // nullptr: file missing
        std::vector<std::string> boxes;
    };
    const std::string wrongUpdater =
        "Error! Wrong version of Program Updater detected.\r\n\r\nYou must re-install the program to correct this "
        "error.\r\n\r\nMake sure program is not running before installing.";
    const Case cases[] = {
        {"3.43", "3.00", {}},
        {"3.42", "3.00", {wrongUpdater}},
        {"3.43 ", "3.00", {wrongUpdater}},
        {nullptr, "3.00", {"Error! Program Updater File Missing!"}},
        {"3.43", "3.0", {"Error! Wrong version of IE DLL detected!"}},
        {"3.43", "3.00.1", {"Error! Wrong version of IE DLL detected!"}},
        {"3.43", nullptr, {"Error! IE DLL File Missing!"}},
    };
    auto marked = [](const char* version) {
        return "ELF..." + platform::versionMarkerTag() + version + std::string(1, '\0') + "...";
    };
    for (const Case& c : cases) {
        TempDataFolder data;
        data.write("tl2cf.dat", modAHM::Crypt_String("[Options]\r\nSound=1\r\n", modTLC::Config_Phrase(), true));
        data.write("TolvaneRerodeII", marked("3.43"));
        if (c.updater) data.write("Renewlet", marked(c.updater));
        if (c.extension) data.write("libTolvaneRerodeIE.so", marked(c.extension));
        FakeTime time;
        ScriptedMessageBoxes boxes;
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        programstart::Start();
        time.advanceMs(50);
        EXPECT_EQ(boxes.texts(), c.boxes) << (c.updater ? c.updater : "-") << " / " << (c.extension ? c.extension : "-");
        for (const auto& shown : boxes.shown()) {
            EXPECT_EQ(shown.style, 0) << shown.text;
            EXPECT_EQ(shown.title, "Tolvane Rerode II") << shown.text;
        }
        TLMain::unloadForTests();
    }
}

// The installed program, run for real: a second start hands over and ends without writing.
TEST(ProgramSmoke, RunsOnAnEmptyHomeAndASecondStartHandsOver) {
    TempDataFolder data;
    // Installed as an installer would: the updater beside the program, and the extension.
    const QString program = QString::fromStdString(data.path("TolvaneRerodeII"));
    ASSERT_TRUE(QFile::copy(TOLVANE_PROGRAM_BINARY, program));
    QFile::copy(TOLVANE_PROGRAM_BINARY, QString::fromStdString(data.path("Renewlet")));
    data.write("libTolvaneRerodeIE.so", "ELF..." + platform::versionMarkerTag() + "3.00" + std::string(1, '\0'));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString(data.home()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(30000));
    const QString config = QString::fromStdString(data.path("tl2cf.dat"));
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(config).size() <= 0 && waited.elapsed() < 60000) first.waitForFinished(100);
    ASSERT_GT(QFileInfo(config).size(), 0) << first.readAllStandardError().toStdString();
    first.waitForFinished(500);  // let the first settle on its socket
    ASSERT_EQ(first.state(), QProcess::Running);
    const QDateTime stamp = QFileInfo(config).lastModified();
    const std::string opLog = data.read("OperationLog.txt");

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(QFileInfo(config).lastModified(), stamp);
    EXPECT_EQ(data.read("OperationLog.txt"), opLog);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();  // ended by its process id, as a user's kill would
    first.waitForFinished(10000);
}

}  // namespace
