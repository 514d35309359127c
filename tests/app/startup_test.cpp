#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTimer>
#include <new>
#include <optional>
#include <stdexcept>

#include "composed_program.h"
#include "app/program_application.h"
#include "app/program_start.h"
#include "fake_clock.h"
#include "installed_program.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "mainwindow/tl_main.h"
#include "options/new_setup.h"
#include "platform/file_version.h"
#include "platform/locale_info.h"
#include "platform/process.h"
#include "platform/single_instance.h"
#include "scripted_boxes.h"
#include "service/cookie_jar.h"
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
        Unload_Composed_Program();
        platform::setUserLocaleForTests("");
    }
    std::string plainConfig(const TempDataFolder& d) {
        return modAHM::Crypt_String(d.read("tl2cf.dat"), modTLC::Config_Phrase(), false);
    }
};

struct ProcessEnded {
    int code;
};

constexpr QFileDevice::Permissions kUserOnlyFolder = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser | QFileDevice::ExeUser;
constexpr QFileDevice::Permissions kUserOnlyFile =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;

QFileDevice::Permissions modeOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).permissions(); }

TEST_F(StartupTest, AFreshProfileGetsItsPresetsAndTheWizard) {
    TempDataFolder data;
    QDir(QString::fromStdString(data.dataFolder())).removeRecursively();  // no installer ran
    FakeTime time;
    ScriptedMessageBoxes boxes;
    platform::setUserLocaleForTests("en_GB");

    programstart::Start();
    time.advanceMs(50);  // the splash hands over on its first tick

    EXPECT_EQ(modTLMain::DataFolder, data.dataFolder());
    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"})
        EXPECT_TRUE(QDir(QString::fromStdString(data.path(sub))).exists()) << sub;
    // The presets in the order the saved file holds them; the site's own [Locale] values follow.
    struct Preset { const char* section; const char* key; const char* value; };
    const Preset presets[] = {
        {"Options", "AlarmValues", "1284"}, {"Options", "AutoComment", "0"},   {"Options", "AutoDialType", "2"},
        {"Options", "AutoUpdateOpt", "1"},  {"Options", "ChkUpdates", "1"},    {"Options", "ClockSet", "1"},
        {"Options", "Columns", "63"},       {"Options", "InstallVersion", "3.43"}, {"Options", "ManualOption", "1"},
        {"Options", "MyeBayASI", "1"},      {"Options", "ShowBidSetup", "0"},  {"Options", "BidsPendWarning", "1"},
        {"Options", "Sound", "1"},          {"Options", "TimeSync", "0"},      {"Options", "AutoAdd", "0"},
        {"Options", "ClosetoTray", "1"},    {"Categories", "General", "1"},    {"Sounds", "AddItem", "AddItem"},
        {"Sounds", "Alert", "Alert"},       {"Sounds", "ClockAlarm", "ClockAlarm"},
        {"Sounds", "DLComplete", "DLComplete"}, {"Sounds", "General", "General"}, {"Sounds", "Lose", "Lose"},
        {"Sounds", "Win", "Win"},           {"Locale", "SiteIndex", "3"},      // en_GB: locale 2057, the fourth site
    };
    std::string expected, section;
    for (const Preset& p : presets) {
        if (p.section != section) {
            expected += (section.empty() ? "" : "\r\n") + std::string("[") + p.section + "]\r\n";
            section = p.section;
        }
        expected += std::string(p.key) + "=" + p.value + "\r\n";
    }
    const std::string plain = plainConfig(data);
    EXPECT_EQ(plain.substr(0, expected.size()), expected);
    EXPECT_NE(plain.find("SiteIndex=3\r\nHomeSite="), std::string::npos) << plain;
    EXPECT_NE(data.read("OperationLog.txt").find(" - New Install - Setting Presets\r\n"), std::string::npos);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Error! Program Updater File Missing!", "Error! IE DLL File Missing!"}));
    EXPECT_EQ(modTLMain::DefaultUserAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Win32)");
    EXPECT_EQ(modTLMain::FirstRunSetup, 1);
    ASSERT_TRUE(NewSetup::loaded());
    EXPECT_TRUE(NewSetup::instance().isVisible());
    EXPECT_FALSE(modTLMain::NewInstall);

    // Only the user reaches the data folder, the settings and the cookie jar.
    modWinInet::Store_Cookies("HTTP/1.1 200 OK\r\nSet-Cookie: nonsession=1; path=/\r\n\r\n", "someone");
    EXPECT_EQ(modeOf(data.dataFolder()), kUserOnlyFolder);
    EXPECT_EQ(modeOf(data.path("tl2cf.dat")), kUserOnlyFile);
    ASSERT_TRUE(data.exists("tl2upsc.dat"));
    EXPECT_EQ(modeOf(data.path("tl2upsc.dat")), kUserOnlyFile);
}

// Until the wizard has pages of its own, its close box is its Finish: the presets are saved and
// the main window shows, so the program never runs on without a window.
TEST_F(StartupTest, TheWizardsCloseBoxLeavesNoWindowlessProcess) {
    TempDataFolder data;
    FakeTime time;
    ScriptedMessageBoxes boxes;
    programstart::Start();
    time.advanceMs(50);
    ASSERT_TRUE(NewSetup::loaded());
    ASSERT_TRUE(NewSetup::instance().isVisible());
    modTLC::Set_Config_Value("Options", "Sound", "0");  // a change made in the wizard
    NewSetup::instance().close();
    QApplication::processEvents();
    EXPECT_FALSE(NewSetup::loaded());
    ASSERT_TRUE(TLMain::loaded());
    EXPECT_TRUE(TLMain::instance().isVisible());
    EXPECT_EQ(modTLMain::FirstRunSetup, 0);
    EXPECT_NE(plainConfig(data).find("Sound=0\r\n"), std::string::npos);
}

// The lock is held but nobody answers: this start gives up after its tries and touches nothing.
TEST_F(StartupTest, AHeldLockWithoutAnAnswerEndsTheSecondStart) {
    TempDataFolder data;
    data.write("tl2cf.dat", modAHM::Crypt_String("[Options]\r\nSound=1\r\n", modTLC::Config_Phrase(), true));
    const std::string before = data.read("tl2cf.dat");
    QLockFile holder(QString::fromStdString(platform::SingleInstance(data.dataFolder()).lockPath()));
    ASSERT_TRUE(holder.tryLock(0));
    FakeTime time;
    ScriptedMessageBoxes boxes;
    platform::setExitHookForTests([](int code) { throw ProcessEnded{code}; });
    const qint64 started = time.clock.tickMs();
    std::optional<int> ended;
    try {
        programstart::Start();
    } catch (const ProcessEnded& e) {
        ended = e.code;
    }
    platform::setExitHookForTests({});
    ASSERT_TRUE(ended.has_value()) << "the second start ran on";
    EXPECT_NE(*ended, 0);
    EXPECT_GE(time.clock.tickMs() - started, platform::SingleInstance::kHandOverMs);
    EXPECT_FALSE(TLMain::loaded());
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(data.read("tl2cf.dat"), before);
    EXPECT_FALSE(data.exists("OperationLog.txt"));
}

// What start-up makes for itself (the single-instance lock and socket) goes at the program's end.
TEST_F(StartupTest, TheProgramsEndRemovesItsLockAndSocket) {
    TempDataFolder data;
    data.write("tl2cf.dat", modAHM::Crypt_String("[Options]\r\nSound=1\r\n", modTLC::Config_Phrase(), true));
    const platform::SingleInstance names(data.dataFolder());
    FakeTime time;
    ScriptedMessageBoxes boxes;
    programstart::Start();
    time.advanceMs(50);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(names.lockPath())));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(names.socketPath())));
    programstart::Finish();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(names.lockPath())));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(names.socketPath())));
}

// A damaged store must not stop the program from starting.
TEST_F(StartupTest, DamagedStoresStillStart) {
    std::string longOptions = "[Options]\r\n";
    for (int i = 1; i <= 40000; ++i) longOptions += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    struct Case {
        const char* name;
        std::string store;   // enciphered into tl2cf.dat; "" leaves garbage there
        bool emptyBackup;
        bool wizard;         // a new install: presets and the wizard, else the main window
        const char* errorLine;
    };
    const Case cases[] = {
        {"a 40,000-line section", longOptions, false, false, " - Error 6 (Overflow) in procedure LDIF\r\n"},
        {"an empty backup", "", true, true, " - Error 62 (Input past end of file) in procedure LDIF\r\n"},
    };
    for (const Case& c : cases) {
        TempDataFolder data;
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        if (c.store.empty()) data.write("tl2cf.dat", "not a store");
        else data.write("tl2cf.dat", modAHM::Crypt_String(c.store, modTLC::Config_Phrase(), true));
        if (c.emptyBackup) data.write("Backup/tl2cf.dat", "");
        FakeTime time;
        ScriptedMessageBoxes boxes;
        programstart::Start();
        time.advanceMs(50);
        EXPECT_NE(data.read("ErrorLog.txt").find(c.errorLine), std::string::npos) << c.name;
        if (c.wizard) {
            ASSERT_TRUE(NewSetup::loaded()) << c.name;
            EXPECT_TRUE(NewSetup::instance().isVisible()) << c.name;
            EXPECT_EQ(plainConfig(data).rfind("[Options]\r\nAlarmValues=1284\r\n", 0), 0u) << c.name;
            EXPECT_EQ(QDir(QString::fromStdString(data.dataFolder())).entryList({"tl2cf.dat.unreadable-*"}).size(), 1)
                << c.name;
        } else {
            ASSERT_TRUE(TLMain::loaded()) << c.name;
            EXPECT_TRUE(TLMain::instance().isVisible()) << c.name;
        }
        NewSetup::Unload();
        TLMain::unloadForTests();
    }
}

// An error thrown in an event handler is written to the error log and the program goes on.
TEST_F(StartupTest, NoErrorEscapesAnEventHandler) {
    TempDataFolder data;
    modTLMain::DataFolder = data.dataFolder();
    QTimer receiver;
    QEvent event(QEvent::User);
    struct Case {
        std::function<bool()> handler;
        bool result;
        const char* errorLine;
    };
    const Case cases[] = {
        {[] { return true; }, true, nullptr},
        {[]() -> bool { throw std::runtime_error("handler failed"); }, false,
         " - Error 5 (handler failed) in procedure QTimer (event 1000)\r\n"},
        {[]() -> bool { throw std::bad_alloc(); }, false, " - Error 7 (Out of memory) in procedure QTimer (event 1000)\r\n"},
        {[]() -> bool { throw 42; }, false, " - Error 5 (Unknown error) in procedure QTimer (event 1000)\r\n"},
    };
    for (const Case& c : cases) {
        data.write("ErrorLog.txt", "");
        EXPECT_EQ(programstart::Deliver_Guarded(&receiver, &event, c.handler), c.result);
        const std::string errors = data.read("ErrorLog.txt");
        if (c.errorLine) EXPECT_NE(errors.find(c.errorLine), std::string::npos) << errors;
        else EXPECT_EQ(errors, "");
    }
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

    // The heartbeat writes a change five ticks later (once the window's placement, saved two ticks
    // after it was shown, has been written).
    time.advanceMs(7000);
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
    TLMain::instance().MnuExit_Click();  // the title bar's close would put it in the tray
    EXPECT_NE(data.read("tl2cf.dat"), unsaved);
    EXPECT_EQ(modTLC::ConfigDirty, 0);
    const std::string log = data.read("OperationLog.txt");
    EXPECT_EQ(log.substr(log.rfind(" - ")), " - Program Ended\r\n");
}

// Each of the three time formats that the options store starts without an error line.
TEST_F(StartupTest, EveryStoredTimeFormatStartsWithoutAnError) {
    for (const char* format : {"0", "1", "2"}) {
        TempDataFolder data;
        data.write("tl2cf.dat", modAHM::Crypt_String(std::string("[Options]\r\nSound=1\r\n[Locale]\r\nTimeFormat=") +
                                                         format + "\r\n",
                                                     modTLC::Config_Phrase(), true));
        FakeTime time;
        ScriptedMessageBoxes boxes;
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        programstart::Start();
        time.advanceMs(3000);
        ASSERT_TRUE(TLMain::loaded()) << format;
        EXPECT_EQ(data.read("ErrorLog.txt").find("Setup Form_Load"), std::string::npos) << format << data.read("ErrorLog.txt");
        TLMain::instance().MnuExit_Click();
    }
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
    const InstalledProgram installed = Install_Program(data);
    ASSERT_TRUE(installed.installed);
    const QString& program = installed.program;
    const QProcessEnvironment& env = installed.env;
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
