// The main window's load: what it sets for the lower parts (date order and format, the site's
// currency and day words, the debug session), the tray icon or the taskbar button, the window
// subclass, and what the unload takes away again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QAction>
#include <QDir>
#include <QImage>
#include <map>

#include "fake_clock.h"
#include "fake_system_notices.h"
#include "fake_tray.h"
#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "foundation/window_subclass.h"
#include "mainwindow/program_icons.h"
#include "mainwindow/tl_main.h"
#include "platform/locale_info.h"
#include "platform/tray.h"
#include "platform/window_routines.h"
#include "service/national_sites.h"
#include "temp_data_folder.h"

using namespace testsupport;
using TLMainLink::MenuItem;

namespace {

class MainWindowLoad : public ::testing::Test {
protected:
    void SetUp() override {
        modAHM::SetProviderAvailableForTests(true);
        reset();
    }
    void TearDown() override {
        TLMain::unloadForTests();
        platform::setUserLocaleForTests("");
        reset();
    }
    void reset() {
        TLMain::unloadForTests();
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        modDebug::ResetForTests();
        modPwrCtrl::ResetForTests();
        modTLMain::ResetLocaleDatesForTests();
        modTLMain::ResetNationalSitesForTests();
        tray.calls.clear();
        modTLMain::DataFolder = data.dataFolder();
    }
    // A fresh main window loaded over the given settings ({section, key, value}).
    struct Setting { const char* section; const char* key; const char* value; };
    TLMain& load(std::initializer_list<Setting> settings = {}) {
        reset();
        for (const Setting& s : settings)
            if (s.value) modTLC::Set_Config_Value(s.section, s.key, s.value);
        TLMain& w = TLMain::instance();
        w.Form_Load();
        return w;
    }

    TempDataFolder data;
    FakeTime time;
    FakeTrayIcon tray;
    FakeSystemNotices notices;
};

TEST_F(MainWindowLoad, TakesTheDateOrderAndFormatFromTheUsersLocale) {
    struct C { const char* locale; long order; const char* format; };
    const C cases[] = {
        {"en_US", 0, "mmm-dd-yy"},
        {"en_GB", 1, "dd-mmm-yy"},  // day first: no more month-first end dates
        {"de_DE", 1, "dd.mmm.yy"},
        {"ja_JP", 2, "yy-mmm-dd"},
    };
    for (const C& c : cases) {
        platform::setUserLocaleForTests(c.locale);
        load();
        EXPECT_EQ(modTLMain::LocaleDateOrder, c.order) << c.locale;
        EXPECT_EQ(modTLMain::DisplayDateFormat, c.format) << c.locale;
    }
}

TEST_F(MainWindowLoad, ReadsTheSitesCurrencyAndDayWords) {
    struct C { const char* currency; const char* day; const char* siteCurrency; const char* dayWord; };
    const C cases[] = {
        {nullptr, nullptr, "US", "Day"},  // the defaults
        {"EUR", "Tage", "EUR", "Tage"},
        {"GBP", "Days", "GBP", "Days"},
    };
    for (const C& c : cases) {
        load({{"Locale", "Currency", c.currency}, {"Locale", "Day", c.day}});
        EXPECT_EQ(TLMainState::SiteCurrency, c.siteCurrency);
        EXPECT_EQ(modTLMain::SiteDayWord, c.dayWord);
    }
}

// A debug session ([Debug] NonSession) brings its menu and switches back; the window subclass is
// installed always, except in a debug session whose SubClass switch is off.
TEST_F(MainWindowLoad, ADebugSessionComesBackWithItsSwitchesAndDecidesTheSubclass) {
    struct C {
        const char* nonSession; const char* http; const char* bidTest; const char* subClass;
        bool debug; bool httpChecked; int bidTestMode; bool subclassed;
    };
    const C cases[] = {
        {nullptr, "True", "True", "False", false, false, 0, true},  // no session: switches stay unread
        {"False", "True", "True", "False", false, false, 0, true},
        {"True", "True", "True", "False", true, true, -1, false},
        {"-1", "False", "0", "True", true, false, 0, true},
        {"1", "1", "False", nullptr, true, true, 0, false},          // SubClass missing: off
    };
    for (const C& c : cases) {
        const std::string label = std::string(c.nonSession ? c.nonSession : "(none)") + "/" +
                                  (c.subClass ? c.subClass : "(none)");
        QDir(QString::fromStdString(data.path("Debug"))).removeRecursively();
        TLMain& w = load({{"Debug", "NonSession", c.nonSession},
                          {"Debug", "HTTP", c.http},
                          {"Debug", "BidTestMode", c.bidTest},
                          {"Debug", "SubClass", c.subClass}});
        EXPECT_EQ(modDebug::DebugOutput, c.debug) << label;
        EXPECT_EQ(w.menuVisible(MenuItem::MnuDB), c.debug) << label;
        EXPECT_EQ(w.menuChecked(MenuItem::MnuDBNonSession), c.debug) << label;
        EXPECT_EQ(w.menuChecked(MenuItem::MnuDBHttpEnabled), c.httpChecked) << label;
        EXPECT_EQ(w.menuChecked(MenuItem::MnuDBBidTestMode), c.bidTestMode == -1) << label;
        EXPECT_EQ(TLMainState::BidTestMode, c.bidTestMode) << label;
        EXPECT_EQ(modPwrCtrl::Window_SubClassed(), c.subclassed) << label;
        EXPECT_EQ(notices.listening(), c.subclassed) << label;
        EXPECT_TRUE(data.exists("Debug")) << label;
    }
}

TEST_F(MainWindowLoad, MakesTheMissingDataSubFolders) {
    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"})
        QDir(QString::fromStdString(data.path(sub))).removeRecursively();
    load();
    for (const char* sub : {"Saved Items", "Backup", "Item Photos", "Debug"}) EXPECT_TRUE(data.exists(sub)) << sub;
}

// One or the other: the tray icon, or with [Options] Taskbar a taskbar button.
TEST_F(MainWindowLoad, AddsTheTrayIconOrATaskbarButton) {
    struct C { const char* taskbar; bool trayIcon; };
    const C cases[] = {{nullptr, true}, {"0", true}, {"False", true}, {"1", false}, {"True", false}};
    for (const C& c : cases) {
        TLMain& w = load({{"Options", "Taskbar", c.taskbar}});
        const char* label = c.taskbar ? c.taskbar : "(none)";
        EXPECT_EQ(tray.calls, c.trayIcon ? std::vector<std::string>{"add"} : std::vector<std::string>{}) << label;
        if (!c.trayIcon) {
            EXPECT_TRUE(platform::hasTaskbarButton(&w)) << label;
        }
    }
}

// The window shows the program's own picture, and each toolbar button a picture of its own.
TEST_F(MainWindowLoad, TheWindowAndEachToolbarButtonHaveAPictureOfTheirOwn) {
    TLMain& w = load();
    const QImage program = TLMainIcons::Program_Icon().pixmap(32, 32).toImage();
    ASSERT_FALSE(program.isNull());
    EXPECT_TRUE(w.windowIcon().pixmap(32, 32).toImage() == program) << "the window shows another picture";
    std::map<std::string, QImage> pictures;
    for (const char* key : {"BidSetup", "UpdateItem", "UpdateAll", "ViewItem", "Home", "myebay", "Search", "Sort", "Add",
                            "DeleteItem", "SetClock", "Setup"}) {
        QAction* button = w.toolbarButton(key);
        ASSERT_NE(button, nullptr) << key;
        const QImage picture = button->icon().pixmap(24, 24).toImage();
        EXPECT_FALSE(picture.isNull()) << key;
        for (const auto& [other, seen] : pictures) EXPECT_TRUE(picture != seen) << key << " looks like " << other;
        pictures[key] = picture;
    }
}

// The tray icon's left click goes through the subclass to the window: it minimizes the window
// into the tray (hidden there, not iconified), and the next click gives back the state it had
// before.
TEST_F(MainWindowLoad, TrayLeftClickMinimizesAndRestoresTheWindow) {
    TLMain& w = load();
    w.show();
    w.setWindowState(2);
    EXPECT_EQ(TLMainState::MainWindowState, 2);

    tray.mouse(platform::kTrayLeftButtonUp);
    QCoreApplication::sendPostedEvents(&w);
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(TLMainState::MainWindowState, 1);
    EXPECT_EQ(TLMainState::LastWindowState, 2);

    tray.mouse(platform::kTrayLeftButtonUp);
    QCoreApplication::sendPostedEvents(&w);
    EXPECT_TRUE(w.isMaximized());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(TLMainState::MainWindowState, 2);
}

TEST_F(MainWindowLoad, UnloadTakesAwayTheTrayIconAndTheSubclass) {
    TLMain& w = load();
    ASSERT_TRUE(modPwrCtrl::Window_SubClassed());
    w.Form_Unload();
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"add", "remove"}));
    EXPECT_FALSE(modPwrCtrl::Window_SubClassed());
    EXPECT_FALSE(notices.listening());
    const std::string log = data.read("OperationLog.txt");
    EXPECT_EQ(log.substr(log.rfind(" - ")), " - Program Ended\r\n");
    EXPECT_EQ(TLMainLink::window().widget(), nullptr) << "the duties are given back";
}

}  // namespace
