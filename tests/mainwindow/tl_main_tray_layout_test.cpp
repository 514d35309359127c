// The main window's own tray menu and layout: a right click on the tray icon shows the menu,
// whose Exit ends the program; resizing the window saves its placement through the heartbeat; the
// item grid keeps the description readable in a narrow window and scrolls sideways, and its
// scroll bar's handle shows where the list stands.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <string>

#include "tl_main_fixture.h"
#include "items/item_grid.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/program_icons.h"
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

// Left clicks on the tray icon hide and show the window, round after round. The window goes to
// the tray withdrawn, never iconified: a window the window manager had iconified can come back
// iconified while the program takes it for shown.
TEST_F(MainWindowTrayMenu, LeftClicksOnTheTrayIconHideAndShowTheWindowEveryTime) {
    ScriptedPopupMenus menus;
    TLMain& w = load();
    w.show();
    const auto click = [&] {
        tray.mouse(platform::kTrayLeftButtonUp);
        QCoreApplication::sendPostedEvents(&w);
    };
    for (int round = 1; round <= 3; ++round) {
        click();
        EXPECT_TRUE(w.isHidden()) << round;
        EXPECT_FALSE(w.isMinimized()) << round;
        EXPECT_EQ(TLMainState::MainWindowState, 1) << round;
        click();
        EXPECT_TRUE(w.isVisible()) << round;
        EXPECT_FALSE(w.isMinimized()) << round;
        EXPECT_EQ(TLMainState::MainWindowState, 0) << round;
    }
    // Minimised with the title bar's button it goes to the tray too, and the icon brings it back;
    // so does the tray menu's "Show Window".
    for (bool byMenu : {false, true}) {
        w.setWindowState(Qt::WindowMinimized);
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(w.isHidden()) << byMenu;
        if (byMenu) {
            menus.answer(TLMainTray::kShowHideWindow);
            tray.mouse(platform::kTrayRightButtonUp);
            QCoreApplication::sendPostedEvents(&w);
            EXPECT_EQ(menus.shown().back().entries[2].text, "Show Window");
        } else {
            click();
        }
        EXPECT_TRUE(w.isVisible()) << byMenu;
        EXPECT_FALSE(w.isMinimized()) << byMenu;
        EXPECT_EQ(TLMainState::MainWindowState, 0) << byMenu;
    }
}

// On a desktop without a tray the close box ends the program as with Close to Tray off, and
// Minimise leaves the window on the taskbar; a tray that comes up later gets the icon.
TEST_F(MainWindowTrayMenu, WithoutATrayTheCloseBoxEndsAndALaterTrayGetsTheIcon) {
    tray.trayAvailable = false;
    TLMain& w = loadQuiet({{"Options", "ClosetoTray", "1"}, {"Options", "Taskbar", "0"}});
    w.show();
    EXPECT_FALSE(tray.shown);
    w.setWindowState(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(w.isMinimized());
    EXPECT_FALSE(w.isHidden()) << "on the taskbar";
    w.setWindowState(0);
    QCoreApplication::sendPostedEvents();

    tray.trayAvailable = true;  // the panel came up
    w.DisplayTime_Timer();
    EXPECT_TRUE(tray.shown);

    tray.trayAvailable = false;
    w.close();
    const std::string log = data.read("OperationLog.txt");
    EXPECT_EQ(log.substr(log.rfind(" - ")), " - Program Ended\r\n");
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

// In a window narrower than the item columns the description keeps about 20 characters and the
// grid, which opens on its first columns, scrolls sideways to "Shipping"; in a wide window the description takes the room left and
// nothing scrolls.
TEST_F(MainWindowLayout, ANarrowWindowKeepsTheDescriptionReadableAndScrollsSideways) {
    addItem("100", 3600);
    TLMain& w = load();
    w.show();
    TLMainItemsView::ItemGridView* grid = w.ItemGrid;
    const auto settle = [] { QCoreApplication::sendPostedEvents(); };

    w.resize(480, 400);
    settle();
    const int readable = 18 * grid->fontMetrics().averageCharWidth();
    EXPECT_GE(grid->columnWidth(TLMainItems::kColDescription), readable);
    QScrollBar* sideways = grid->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    EXPECT_EQ(sideways->value(), 0) << "the grid shows its first columns";
    sideways->setValue(sideways->maximum());
    settle();
    const int shipping = TLMainItems::kColShipping;
    EXPECT_LE(grid->columnViewportPosition(shipping) + grid->columnWidth(shipping), grid->viewport()->width())
        << "the whole of Shipping comes into view";

    w.resize(1500, 600);
    settle();
    EXPECT_GT(grid->columnWidth(TLMainItems::kColDescription), readable);
    EXPECT_EQ(sideways->maximum(), 0);
}

// A list longer than the grid: while its first row shows, the scroll bar's handle is at the top of
// its track, at the end at the bottom, and it is the handle that stands out from the track (3:1),
// not the rest of the track: in a window of a 1366x768 screen, and of the same screen at 2x, on
// the desktop's light palette and on a dark one.
TEST_F(MainWindowLayout, TheScrollBarsHandleStandsOutWhereTheListStands) {
    for (int i = 0; i < 40; ++i) addItem(std::to_string(100 + i), 3600 + 60L * i);
    TLMain& w = load();
    w.show();
    QPalette dark = w.palette();
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    const QPalette light = w.palette();
    QScrollBar* bar = w.ItemGrid->verticalScrollBar();
    const auto handleAndTrack = [bar] {
        QStyleOptionSlider o;
        o.initFrom(bar);
        o.subControls = QStyle::SC_All;
        o.orientation = bar->orientation();
        o.minimum = bar->minimum();
        o.maximum = bar->maximum();
        o.sliderPosition = o.sliderValue = bar->value();
        o.singleStep = bar->singleStep();
        o.pageStep = bar->pageStep();
        QStyle* s = bar->style();
        return std::pair(s->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, bar),
                         s->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarGroove, bar));
    };
    struct Case {
        const char* what;
        QSize window;
        const QPalette* palette;
    };
    const Case cases[] = {
        {"1366x768, light", {1366, 700}, &light},
        {"1366x768 at 2x (683x384 to lay out), light", {683, 350}, &light},
        {"1366x768, dark", {1366, 700}, &dark},
        {"1366x768 at 2x (683x384 to lay out), dark", {683, 350}, &dark},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.setPalette(*c.palette);
        w.resize(c.window);
        QCoreApplication::sendPostedEvents();
        ASSERT_GT(bar->maximum(), 0) << "the list is longer than the grid";
        for (const bool atEnd : {false, true}) {
            bar->setValue(atEnd ? bar->maximum() : 0);
            QCoreApplication::sendPostedEvents();
            if (atEnd)
                EXPECT_EQ(w.ItemGrid->rowAt(w.ItemGrid->viewport()->height() - 1), w.ItemGrid->model()->rowCount() - 1);
            else
                EXPECT_EQ(w.ItemGrid->rowAt(0), 0);
            const auto [handle, track] = handleAndTrack();
            if (atEnd)
                EXPECT_EQ(handle.bottom(), track.bottom()) << "the handle is at the bottom at the end";
            else
                EXPECT_EQ(handle.top(), track.top()) << "the handle is at the top while the first row shows";
            const QImage shot = bar->grab().toImage();
            const QPoint trackOnly(track.center().x(), atEnd ? track.top() + 3 : track.bottom() - 3);
            const QColor trackColour = shot.pixelColor(trackOnly * shot.devicePixelRatio());
            const QRect handleShown(handle.topLeft() * shot.devicePixelRatio(), handle.size() * shot.devicePixelRatio());
            EXPECT_TRUE(TLMainIcons::Clearly_Visible(shot.copy(handleShown), trackColour))
                << "the handle does not stand out from its track (" << trackColour.name().toStdString() << ")";
        }
    }
}

}  // namespace
