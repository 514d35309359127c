#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <algorithm>
#include <QWheelEvent>

#include "fake_clock.h"
#include "fake_system_notices.h"
#include "fake_tray.h"
#include "foundation/clock_state.h"
#include "foundation/startup.h"
#include "foundation/sys_tray.h"
#include "foundation/window_subclass.h"
#include "recording_main_window.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

class WindowSubclassTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        TLMainState::ResetForTests();
        modPwrCtrl::ResetForTests();
        modClock::WakeupArmed = 0;
        modTLMain::DataFolder = data.dataFolder();
    }
    void TearDown() override {
        modPwrCtrl::ResetForTests();
        modClock::WakeupArmed = 0;
        modTLMain::ResetStartupForTests();
    }
    // Lets the queued tray messages reach the window.
    void deliver() { QCoreApplication::sendPostedEvents(&window); }
    void turnWheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent e(QPointF(5, 5), QPointF(300, 200), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&window, &e);
    }
    std::string opLog() { return data.read("OperationLog.txt"); }

    TempDataFolder data;
    FakeTime time;
    FakeTrayIcon tray;
    FakeSystemNotices notices;
    RecordingMainWindow window;
};

TEST_F(WindowSubclassTest, TrayIconIsAddedTippedAndRemoved) {
    modSysTray::Add_Tray_Icon();
    EXPECT_TRUE(tray.shown);
    EXPECT_EQ(tray.tip, "Tolvane Rerode");

    modSysTray::Modify_Tray_Tip("Item added", "", 0, 4);
    EXPECT_EQ(tray.tip, "Item added");
    modSysTray::Modify_Tray_Tip("Please check for valid item number!", "Item Page Error", 3, 16);
    ASSERT_EQ(tray.balloons.size(), 1u);
    EXPECT_EQ(tray.balloons[0].title, "Item Page Error");
    EXPECT_EQ(tray.balloons[0].text, "Please check for valid item number!");
    EXPECT_EQ(tray.balloons[0].iconFlags, 3);
    EXPECT_EQ(tray.tip, "Item added");  // a balloon leaves the tip

    // Texts longer than their fields are cut to the field's width.
    modSysTray::Modify_Tray_Tip(std::string(200, 't'), "", 0, 4);
    EXPECT_EQ(tray.tip, std::string(128, 't'));
    modSysTray::Modify_Tray_Tip(std::string(300, 'b'), std::string(100, 'h'), 1, 16);
    EXPECT_EQ(tray.balloons[1].text, std::string(256, 'b'));
    EXPECT_EQ(tray.balloons[1].title, std::string(64, 'h'));

    modSysTray::Delete_Tray_Icon();
    EXPECT_FALSE(tray.shown);
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"add", "tip", "balloon", "tip", "balloon", "remove"}));
}

TEST_F(WindowSubclassTest, TrayRightClickOpensTheLinkMenuOnlyWhileSubclassed) {
    modSysTray::Add_Tray_Icon();
    tray.mouse(platform::kTrayRightButtonUp);
    deliver();
    EXPECT_EQ(window.linkMenus, 0);

    modPwrCtrl::SubClass_Window(&window);
    tray.mouse(platform::kTrayRightButtonUp);
    deliver();
    EXPECT_EQ(window.linkMenus, 1);

    modPwrCtrl::UnSubClass_Window(&window);
    modPwrCtrl::UnSubClass_Window(&window);  // a second removal does nothing
    tray.mouse(platform::kTrayRightButtonUp);
    deliver();
    EXPECT_EQ(window.linkMenus, 1);
}

TEST_F(WindowSubclassTest, TrayLeftClickMinimizesThenRestoresTheRememberedState) {
    modSysTray::Add_Tray_Icon();
    modPwrCtrl::SubClass_Window(&window);
    TLMainState::MainWindowState = 2;
    TLMainState::LastWindowState = 2;
    tray.mouse(platform::kTrayLeftButtonUp);
    deliver();
    EXPECT_EQ(window.windowStates, std::vector<int>{1});
    EXPECT_TRUE(window.shows.empty());

    TLMainState::MainWindowState = 1;
    tray.mouse(platform::kTrayLeftButtonUp);
    deliver();
    EXPECT_EQ(window.windowStates, (std::vector<int>{1, 2}));
    EXPECT_EQ(window.shows, std::vector<bool>{true});
}

TEST_F(WindowSubclassTest, OtherTrayMouseActionsRefreshTheTip) {
    modSysTray::Add_Tray_Icon();
    modPwrCtrl::SubClass_Window(&window);
    tray.mouse(platform::kTrayMouseMove);
    deliver();
    EXPECT_EQ(tray.tip, "  Tolvane Rerode  ");

    modClock::WakeupArmed = 1;
    window.wakeUpTip = "Wake up at 03:00";
    tray.mouse(platform::kTrayLeftDoubleClick);
    deliver();
    EXPECT_EQ(tray.tip, "Tolvane Rerode - Wake up at 03:00");
    EXPECT_EQ(modPwrCtrl::TrayTip, tray.tip);
}

TEST_F(WindowSubclassTest, WheelTurnsGoToTheWindowsMouseWheel) {
    modPwrCtrl::SubClass_Window(&window);
    turnWheel(-120, Qt::ControlModifier);
    turnWheel(120);
    ASSERT_EQ(window.wheels.size(), 2u);
    EXPECT_EQ(window.wheels[0].rotation, -120);
    EXPECT_EQ(window.wheels[0].keys, 8);  // the control key
    EXPECT_EQ(window.wheels[0].x, 300);
    EXPECT_EQ(window.wheels[0].y, 200);
    EXPECT_EQ(window.wheels[1].rotation, 120);

    modPwrCtrl::UnSubClass_Window(&window);
    turnWheel(-120);
    EXPECT_EQ(window.wheels.size(), 2u);
}

TEST_F(WindowSubclassTest, StandbyResumeAndSessionEndAreLogged) {
    modPwrCtrl::SubClass_Window(&window);
    EXPECT_TRUE(notices.listening());
    time.clock.setNow(QDateTime(QDate(2026, 6, 2), QTime(7, 30)));

    QCursor::setPos(123, 45);

    notices.standby();
    notices.resume();
    EXPECT_EQ(modPwrCtrl::ResumeTime, QDateTime(QDate(2026, 6, 2), QTime(7, 30)));
    EXPECT_EQ(modPwrCtrl::CursorPos, QPoint(123, 45));
    EXPECT_EQ(modPwrCtrl::ResumeCursorPos, QPoint(123, 45));
    notices.send(modPwrCtrl::WM_ENDSESSION, 1, 0x80000001L);  // a log-off with extra flags
    notices.send(modPwrCtrl::WM_ENDSESSION, 0, 0);            // the session goes on
    notices.logOff();
    notices.shutDown();

    const std::string log = opLog();
    const char* expected[] = {"Windows Entering Standby/Hibernate Mode", "Windows Resumed From Standby/Hibernate Mode",
                              "User Logged Off.....", "Windows is Shutting Down....."};
    size_t at = 0;
    for (const char* line : expected) {
        const size_t found = log.find(std::string(" - ") + line + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << line << " in\n" << log;
        at = found + 1;
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4);

    modPwrCtrl::UnSubClass_Window(&window);
    EXPECT_FALSE(notices.listening());
}

class Grid final : public modPwrCtrl::WheelGrid {
public:
    Grid(long top, long rows) : top(top), rows(rows) {}
    long TopRow() const override { return top; }
    void setTopRow(long row) override { top = row; }
    long Rows() const override { return rows; }
    long top, rows;
};

TEST(WheelScrollGrid, MovesOneRowWithinTheGrid) {
    struct C { long top, rows, rotation, expected; };
    for (const C c : {C{5, 10, -120, 6}, C{9, 10, -120, 9}, C{5, 10, 120, 4}, C{1, 10, 120, 1}, C{5, 10, 0, 6}}) {
        Grid g(c.top, c.rows);
        modPwrCtrl::Wheel_Scroll_Grid(g, 0, c.rotation, 0, 0);
        EXPECT_EQ(g.top, c.expected) << c.top << " " << c.rotation;
    }
}

}  // namespace
