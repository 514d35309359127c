#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>

#include "fake_desktop_files.h"
#include "fake_system_notices.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/startup.h"
#include "foundation/window_subclass.h"
#include "recording_main_window.h"
#include "temp_data_folder.h"

using namespace testsupport;
using TLMainLink::MenuItem;

namespace {

class DebugToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        modDebug::ResetForTests();
        modPwrCtrl::ResetForTests();
        modAHM::SetProviderAvailableForTests(true);
        modTLMain::DataFolder = data.dataFolder();
    }
    void TearDown() override {
        modDebug::ResetForTests();
        modPwrCtrl::ResetForTests();
        modTLC::ResetForTests();
        modTLMain::ResetStartupForTests();
    }
    void makeDebugFolder() { QDir().mkpath(QString::fromStdString(data.path("Debug"))); }
    std::string debugValue(const char* key) { return modTLC::Get_Config_Value("Debug", key, "(none)"); }

    TempDataFolder data;
    FakeDesktopFiles desktop;
    FakeSystemNotices notices;
    RecordingMainWindow window;
};

TEST_F(DebugToolsTest, SaveDebugPageNamesTheDumpFile) {
    std::string lost = "IEText";  // without the Debug folder the dump is simply missing
    modDebug::Save_Debug_Page("text", lost);
    EXPECT_FALSE(data.exists("Debug/IEText.txt"));

    makeDebugFolder();
    struct C { const char* name; bool incremental; const char* box; const char* file; };
    const C cases[] = {
        {"HTMLSignIn", false, "123456789012", "HTMLSignIn.htm"},
        {"IEText", false, "", "IEText.txt"},
        {"htmlFB", false, "", "htmlFB.htm"},
        {"HTMLAddItem", true, "123456789012", "HTMLAddItem789012.htm"},
        {"TextAddItem", true, " 1234567 ", "TextAddItem234567.txt"},
        {"TEXTFB", true, "../../a/b:c*9", "TEXTFBabc9.txt"},  // only letters and digits reach the name
    };
    for (const C& c : cases) {
        window.checked[MenuItem::MnuDBIncrementalFN] = c.incremental;
        window.itemNumber = c.box;
        std::string name = c.name;
        modDebug::Save_Debug_Page(std::string("page of ") + c.name, name);
        EXPECT_EQ(name, c.file);
        EXPECT_EQ(data.read(std::string("Debug/") + c.file), std::string("page of ") + c.name + "\r\n") << c.file;
    }
    EXPECT_EQ(QDir(QString::fromStdString(data.path("Debug"))).entryList(QDir::Files).size(), 6);

    window.checked[MenuItem::MnuDBIncrementalFN] = false;
    std::string again = "IEText";  // a second dump of a name replaces the first
    modDebug::Save_Debug_Page("newer", again);
    EXPECT_EQ(data.read("Debug/IEText.txt"), "newer\r\n");
}

TEST_F(DebugToolsTest, ClearingRemovesTheDumpsAndTheCookieJar) {
    makeDebugFolder();
    data.write("Debug/HttpLog.txt", "x");
    data.write("Debug/HTMLSignIn.htm", "x");
    data.write("tl2upsc.dat", "cookies");
    data.write("OperationLog.txt", "kept");
    int jarCleared = 0;
    modDebug::Debug_Hooks().clearCookieJar = [&] { ++jarCleared; };

    modDebug::DB_Clear_Logs();
    EXPECT_TRUE(QDir(QString::fromStdString(data.path("Debug"))).entryList(QDir::Files).isEmpty());
    modDebug::DB_Clear_Cookies();
    EXPECT_FALSE(data.exists("tl2upsc.dat"));
    EXPECT_EQ(jarCleared, 1);
    EXPECT_TRUE(data.exists("OperationLog.txt"));
    modDebug::DB_Clear_Cookies();  // nothing left to delete
    modDebug::DB_Clear_Logs();
    EXPECT_EQ(jarCleared, 2);
}

TEST_F(DebugToolsTest, EnableReadsTheSwitchesFromDebugSection) {
    modTLC::Set_Config_Value("Debug", "HTTP", "True");
    modTLC::Set_Config_Value("Debug", "IFN", "-1");
    modTLC::Set_Config_Value("Debug", "AddItemPage", "False");
    modTLC::Set_Config_Value("Debug", "NonSession", "True");
    window.checked[MenuItem::MnuDBAddItemPage] = true;
    window.checked[MenuItem::MnuDBValidatePage] = true;

    modDebug::Enable_Debug_Menu();
    EXPECT_TRUE(window.checked[MenuItem::MnuDBHttpEnabled]);
    EXPECT_TRUE(window.checked[MenuItem::MnuDBIncrementalFN]);
    EXPECT_FALSE(window.checked[MenuItem::MnuDBAddItemPage]);
    EXPECT_FALSE(window.checked[MenuItem::MnuDBValidatePage]);  // missing: off
    EXPECT_FALSE(window.checked.count(MenuItem::MnuDBNonSession));  // not read here
    EXPECT_TRUE(window.menuVisible[MenuItem::MnuDB]);
    EXPECT_TRUE(modDebug::DebugOutput);
    EXPECT_TRUE(QDir(QString::fromStdString(data.path("Debug"))).exists());
    EXPECT_TRUE(data.exists("tl2cf.dat"));
}

TEST_F(DebugToolsTest, TogglesWriteTheirSwitchAndSaveAtOnce) {
    struct C { void (*toggle)(); MenuItem menu; const char* key; };
    const C cases[] = {
        {modDebug::DB_Toggle_HTTP, MenuItem::MnuDBHttpEnabled, "HTTP"},
        {modDebug::DB_Toggle_ValidateItemPage, MenuItem::MnuDBValidatePage, "ValidateItemPage"},
        {modDebug::DB_Toggle_AddItemPage, MenuItem::MnuDBAddItemPage, "AddItemPage"},
        {modDebug::DB_Toggle_UpdateItemPage, MenuItem::MnuDBUpdateItemPage, "UpdateItemPage"},
        {modDebug::DB_Toggle_BrowserText, MenuItem::MnuDBBrowserText, "BrowserText"},
        {modDebug::DB_Toggle_IFN, MenuItem::MnuDBIncrementalFN, "IFN"},
        {modDebug::DB_Toggle_BidTestMode, MenuItem::MnuDBBidTestMode, "BidTestMode"},
        {modDebug::DB_Toggle_SubClass, MenuItem::MnuDBSubClass, "SubClass"},
        {modDebug::DB_Toggle_NonSession, MenuItem::MnuDBNonSession, "NonSession"},
    };
    for (const C& c : cases) {
        c.toggle();
        EXPECT_TRUE(window.checked[c.menu]) << c.key;
        EXPECT_EQ(debugValue(c.key), "True");
        EXPECT_EQ(modTLC::ConfigDirty, 0) << c.key << " saved at once";
        c.toggle();
        EXPECT_FALSE(window.checked[c.menu]) << c.key;
        EXPECT_EQ(debugValue(c.key), "False");
    }
}

TEST_F(DebugToolsTest, BidTestModeAndSubClassSwitchesActAsTheyToggle) {
    modDebug::DB_Toggle_BidTestMode();
    EXPECT_EQ(TLMainState::BidTestMode, -1);
    modDebug::DB_Toggle_BidTestMode();
    EXPECT_EQ(TLMainState::BidTestMode, 0);

    modDebug::DB_Toggle_SubClass();
    EXPECT_TRUE(modPwrCtrl::Window_SubClassed());
    modDebug::DB_Toggle_SubClass();
    EXPECT_FALSE(modPwrCtrl::Window_SubClassed());

    modPwrCtrl::SubClass_Window(&window);
    modDebug::Enable_Debug_Menu();  // SubClass unchecked: the window procedure is taken away
    EXPECT_FALSE(modPwrCtrl::Window_SubClassed());
}

TEST_F(DebugToolsTest, SuspendAndExitTurnOutputOff) {
    modDebug::Enable_Debug_Menu();
    modDebug::DB_Toggle_HTTP();
    modDebug::DB_Toggle_Suspend();
    EXPECT_FALSE(modDebug::DebugOutput);
    EXPECT_TRUE(window.checked[MenuItem::MnuDBHttpEnabled]);
    EXPECT_EQ(debugValue("Suspend"), "(none)");
    modDebug::DB_Toggle_Suspend();
    EXPECT_TRUE(modDebug::DebugOutput);

    modTLC::Set_Config_Value("Debug", "NonSession", true);
    modDebug::DB_Exit();
    EXPECT_FALSE(modDebug::DebugOutput);
    EXPECT_FALSE(window.menuVisible[MenuItem::MnuDB]);
    EXPECT_EQ(debugValue("NonSession"), "False");
    EXPECT_EQ(debugValue("HTTP"), "True");
}

TEST_F(DebugToolsTest, ViewersOpenTheFilesAndTheConfiguration) {
    modDebug::DB_View_Cookies();
    EXPECT_EQ(desktop.opened, std::vector<std::string>{data.path("tl2upsc.dat")});

    modDebug::DB_View_Logs();  // cancelled
    ASSERT_EQ(desktop.asked.size(), 1u);
    EXPECT_EQ(desktop.asked[0].folder, data.path("Debug/"));
    EXPECT_EQ(desktop.asked[0].filter, "All Files (*.*)|*.*");
    EXPECT_EQ(desktop.opened.size(), 1u);
    desktop.choice = data.path("Debug/HttpLog.txt");
    modDebug::DB_View_Logs();
    EXPECT_EQ(desktop.opened.back(), data.path("Debug/HttpLog.txt"));

    modTLC::Set_Config_Value("Debug", "HTTP", "True");
    modDebug::DB_View_Config();
    QPlainTextEdit* view = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "DebugConfigView") view = qobject_cast<QPlainTextEdit*>(w);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_TRUE(view->toPlainText().contains("[Debug]\nHTTP=True"));
}

TEST_F(DebugToolsTest, OverrideVersionAndHooksOfOtherTools) {
    modDebug::DB_Override_Version();
    EXPECT_EQ(TLMainState::VersionOverride, 1);
    EXPECT_EQ(TLMainState::UpdateVersionReply, "3.44");

    std::vector<int> modes;
    for (const auto& item : modDebug::Debug_Menu_Items())  // unregistered tools do nothing
        if (std::string_view(item.name).starts_with("MnuDBDecode") || std::string_view(item.name) == "MnuDBSpecial")
            item.click();
    modDebug::Debug_Hooks().decodeReportBlock = [&](int mode) { modes.push_back(mode); };
    for (const auto& item : modDebug::Debug_Menu_Items())
        if (std::string_view(item.name).starts_with("MnuDBDecode")) item.click();
    EXPECT_EQ(modes, (std::vector<int>{1, 2}));
}

}  // namespace
