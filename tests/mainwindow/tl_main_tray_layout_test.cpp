// The main window's own tray menu and layout: a right click on the tray icon shows the menu,
// whose Exit ends the program; resizing the window saves its placement through the heartbeat.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>

#include "tl_main_fixture.h"
#include "mainwindow/tray_menu.h"
#include "platform/tray.h"
#include "scripted_popup_menus.h"

using namespace testsupport;

namespace {

// The main window answers a right click on its tray icon with this menu; its Exit closes the
// window as the Exit command does.
class MainWindowTrayMenu : public TLMainTest {};

TEST_F(MainWindowTrayMenu, ARightClickOnTheTrayIconShowsTheMenuAndExitEndsTheProgram) {
    ScriptedPopupMenus menus;
    TLMain& w = load();
    menus.answer(0);
    tray.mouse(platform::kTrayRightButtonUp);
    QCoreApplication::sendPostedEvents(&w);
    ASSERT_EQ(menus.shown().size(), 1u);
    EXPECT_EQ(menus.shown()[0].entries.back().text, "Exit");

    menus.answer(TLMainTray::kExit);
    tray.mouse(platform::kTrayRightButtonUp);
    QCoreApplication::sendPostedEvents(&w);
    ASSERT_EQ(menus.shown().size(), 2u);
    const std::string log = data.read("OperationLog.txt");
    EXPECT_EQ(log.substr(log.rfind(" - ")), " - Program Ended\r\n");
    EXPECT_FALSE(tray.shown);
}

// The main window itself: its resizes save the placement through the heartbeat, and minimising
// it never stores WindowState 1.
class MainWindowLayout : public TLMainTest {};

TEST_F(MainWindowLayout, ResizingTheWindowSavesItsPlacementTwoTicksLater) {
    TLMain& w = load();
    w.show();
    w.setGeometry(30, 40, 700, 500);
    QCoreApplication::sendPostedEvents();
    tick();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalWidth"), "");
    tick();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "WindowState"), "0");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalLeft"), std::to_string(w.frameGeometry().x() * 15));
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalWidth"), std::to_string(w.geometry().width() * 15))
        << "the inside's size, as the load gives it back";

    // Maximised, then minimised to the tray: the state is saved as 2 and never as 1; the normal
    // placement stays the one from before.
    const std::string normalWidth = modTLC::Get_Config_Value("Options", "NormalWidth");
    w.setWindowState(2);
    QCoreApplication::sendPostedEvents();
    tick(2);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "WindowState"), "2");
    w.setWindowState(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(w.isHidden()) << "no taskbar button: the window lives in the tray";
    tick(3);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "WindowState"), "2");
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalWidth"), normalWidth);
    EXPECT_EQ(TLMainState::LastWindowState, 2);
}

}  // namespace
