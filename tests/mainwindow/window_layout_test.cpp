// The window layout: where each control goes for the window's size, the grid's filler rows and
// stretching column, the window state the tray uses, the placement saved two ticks after the
// last resize (WindowState never 1, lengths in twips), and the wheel over the grid.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>
#include <string>
#include <vector>

#include "fake_tray.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "mainwindow/window_layout.h"

using namespace testsupport;
using TLMainLayout::WindowLayout;

namespace {

// A window of 800 × 600 pixels (12000 × 9000 twips) with every control the layout places.
class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        modTLC::ResetForTests();
        TLMainState::ResetForTests();
        TLMainState::PlacementSaveCountdown = 0;
        TLMainItems::ResetItemGridForTests();
        TLMainItems::setItemGridModel(&grid);

        auto make = [](QWidget* parent, int w, int h) {
            auto* c = new QWidget(parent);
            c->resize(w, h);
            return c;
        };
        form.resize(800, 600);
        TLMainLayout::Controls& c = layout.controls();
        c.Form = &form;
        c.Toolbar1 = make(&form, 400, 30);
        c.Phone = make(&form, 20, 20);
        c.ItemNumBox = itemNumBox = new QLineEdit(&form);
        itemNumBox->resize(120, 22);
        c.ItemNumLab = make(&form, 60, 16);
        c.cmdAddItem = make(&form, 80, 22);
        c.labSeller = make(&form, 200, 16);
        c.ItemGrid = gridView = new QLineEdit(&form);  // any widget that takes the focus
        c.OpLog = make(&form, 10, 10);
        c.OpLog->hide();
        c.StatusBar = make(&form, 10, 30);
        c.TimeToUpdateLab = make(c.StatusBar, 50, 20);
        c.TimeIs = make(c.StatusBar, 100, 20);
        c.SoundIcon = make(c.StatusBar, 20, 20);
        c.TimerIcon = make(c.StatusBar, 20, 20);
        c.MsgLab = make(c.StatusBar, 300, 20);
        c.txtComment = make(c.StatusBar, 300, 20);
        c.txtComment->hide();
        grid.setRowHeight(240);
    }
    void TearDown() override {
        TLMainItems::setItemGridModel(nullptr);
        TLMainItems::ResetItemGridForTests();
    }

    void setWidths(const std::vector<long>& widths) {
        for (int col = 0; col < static_cast<int>(widths.size()); ++col) grid.setColWidth(col, widths[col]);
    }

    QWidget form;
    QLineEdit* itemNumBox = nullptr;
    QLineEdit* gridView = nullptr;
    TLMainItems::ItemGridModel grid;
    WindowLayout layout{&form};
    FakeTrayIcon tray;
};

// Every rule in twips, shown in whole pixels: the inner width W = 12000 - 120 = 11880 (792 px);
// the entry row 325 below the toolbar's 450; the grid from 50 below the entry box down to the
// status bar, which sits 40 above the bottom; the status bar's right end laid out right to left.
TEST_F(Layout, PlacesEachControlForTheWindowsSize) {
    struct C { const char* name; QWidget* w; QRect expected; };
    for (bool timerShown : {true, false}) {
        layout.controls().TimerIcon->setVisible(timerShown);
        layout.ResizeWindow();
        const TLMainLayout::Controls& c = layout.controls();
        const C cases[] = {
            {"Toolbar1", c.Toolbar1, {0, 11, 400, 30}},         // top 165
            {"Phone", c.Phone, {407, 11, 20, 20}},              // left 6000 + 100
            {"ItemNumBox", c.ItemNumBox, {0, 52, 120, 22}},     // top 450 + 325
            {"ItemNumLab", c.ItemNumLab, {0, 55, 60, 16}},      // centred on the box
            {"cmdAddItem", c.cmdAddItem, {0, 52, 80, 22}},
            {"labSeller", c.labSeller, {0, 55, 200, 16}},
            {"ItemGrid", c.ItemGrid, {4, 77, 792, 490}},        // left 55, down to the status bar
            {"OpLog", c.OpLog, {4, 77, 792, 490}},              // exactly over the grid
            {"StatusBar", c.StatusBar, {4, 567, 792, 30}},      // 9000 - 450 - 40
            {"TimeToUpdateLab", c.TimeToUpdateLab, {734, 0, 50, 20}},
            {"TimeIs", c.TimeIs, {624, 0, 100, 20}},
            {"SoundIcon", c.SoundIcon, {604, 0, 20, 20}},
            // The message line ends 200 twips left of the wake-up icon, or of the sound icon
            // while no wake-up timer is armed.
            {"MsgLab", c.MsgLab, {0, 0, timerShown ? 564 : 591, 20}},
        };
        for (const C& e : cases) EXPECT_EQ(e.w->geometry(), e.expected) << e.name << (timerShown ? "" : " (no timer)");
        if (timerShown) {
            EXPECT_EQ(c.TimerIcon->x(), 577);
        }
        EXPECT_EQ(TLMainState::PlacementSaveCountdown, 2);
    }
}

// An open comment box keeps the message line's width; a closed one is left alone.
TEST_F(Layout, AnOpenCommentBoxFollowsTheMessageLine) {
    QWidget* comment = layout.controls().txtComment;
    layout.ResizeWindow();
    EXPECT_EQ(comment->width(), 300);
    comment->show();
    layout.ResizeWindow();
    EXPECT_EQ(comment->width(), layout.controls().MsgLab->width());
}

// A window without some of the controls lays out the rest as if they were empty.
TEST_F(Layout, LaysOutWhatTheWindowHas) {
    WindowLayout bare(&form);
    bare.controls().Form = &form;
    bare.controls().ItemGrid = gridView;
    bare.ResizeWindow();
    // No toolbar, entry row or status bar: the grid starts 325 + 50 down and ends 40 above the bottom.
    EXPECT_EQ(gridView->geometry(), QRect(4, 25, 792, 572));
    EXPECT_EQ(grid.Area, (TLMainItems::TwipRect{60, 375, 11880, 8580}));
}

// Rows that fit: 7350 / 240 = 30.6, so 31. The list on show gets filler rows when it has fewer;
// its stretching column takes the grid's width less the other columns and 330 for the scroll bar.
TEST_F(Layout, FillsTheGridAndStretchesTheViewsColumn) {
    struct C {
        const char* name;
        int viewMode;
        long listRows;
        int rowsBefore, rowsAfter;
        int stretching;
        long stretched;  // the stretching column's width afterwards
    };
    const C cases[] = {
        {"items, fewer than fit", 0, 3, 7, 31, 2, 11880 - 330 - 300 - 1200 - 7 * 1000},
        {"items, as many as fit", 0, 31, 35, 35, 2, 3050},
        {"items, more than fit", 0, 40, 44, 44, 2, 3050},
        {"feedback to leave", 1, 2, 3, 31, 3, 11880 - 330 - 300 - 1200 - 2000},
        {"feedback to leave, long", 1, 50, 51, 51, 3, 8050},
        {"seller feedback", 2, 5, 6, 31, 1, 11880 - 330 - 300 - 2000 - 1000},
        {"seller feedback, long", 2, 60, 61, 61, 1, 8250},
        {"unknown view", 3, 0, 5, 5, 2, 2000},
    };
    for (const C& c : cases) {
        TLMainItems::ResetItemGridForTests();
        TLMainItems::GridViewMode = c.viewMode;
        if (c.viewMode == 0) TLMainItems::GridRowCount = static_cast<int16_t>(c.listRows);
        if (c.viewMode == 1) TLMainItems::FeedbackLinks.assign(static_cast<size_t>(c.listRows), "link");
        if (c.viewMode == 2) TLMainItems::SellerFeedbackRows = static_cast<int>(c.listRows);
        setWidths({300, 1200, 2000, 1000, 1000, 1000, 1000, 1000, 1000, 1000});
        grid.setRows(c.rowsBefore);

        layout.ResizeWindow();
        EXPECT_EQ(grid.Rows(), c.rowsAfter) << c.name;
        EXPECT_EQ(grid.ColWidth(c.stretching), c.stretched) << c.name;
    }
}

// The item description keeps about 20 characters however little the other columns leave (the
// grid then scrolls sideways), or the wider least width a drag of its edge stored; a feedback
// list's column keeps a few characters.
TEST_F(Layout, AStretchingColumnNeverGoesBelowItsLeastWidth) {
    const long leaves100 = 1000 + 11880 - 330 - 300 - 1200 - 7 * 1000 - 100;  // column 9: 100 left over
    struct C {
        const char* name;
        int viewMode;
        const char* stored;  // [Options] ColWidth2
        long column9;
        int stretching;
        long stretched;
    };
    const C cases[] = {
        {"description, 100 left", 0, nullptr, leaves100, 2, TLMainItems::kDescriptionMinimum},
        {"description, less than nothing left", 0, nullptr, leaves100 + 5000, 2, TLMainItems::kDescriptionMinimum},
        {"description, a wider stored width", 0, "2500", leaves100, 2, 2500},
        {"description, a narrower stored width", 0, "600", leaves100, 2, TLMainItems::kDescriptionMinimum},
        {"description, a stored width left over", 0, "2500", 1000, 2, 11880 - 330 - 300 - 1200 - 7 * 1000},
        {"feedback to leave, 100 left", 1, nullptr, 0, 3, TLMainItems::kRestColumnMinimum},
    };
    for (const C& c : cases) {
        modTLC::ResetForTests();
        TLMainItems::ResetItemGridForTests();
        TLMainItems::GridViewMode = c.viewMode;
        if (c.stored) modTLC::Set_Config_Value("Options", "ColWidth2", c.stored);
        if (c.viewMode == 0) {
            setWidths({300, 1200, 2000, 1000, 1000, 1000, 1000, 1000, 1000, c.column9});
        } else {
            setWidths({300, 1200, 11880 - 330 - 300 - 1200 - 100, 2000});
        }
        layout.ResizeWindow();
        EXPECT_EQ(grid.ColWidth(c.stretching), c.stretched) << c.name;
    }
}

// Where the other columns alone are wider than the grid, a feedback list's column keeps its width.
TEST_F(Layout, AStretchingColumnThatWouldBeNegativeKeepsItsWidth) {
    TLMainItems::GridViewMode = 1;
    setWidths({300, 1200, 20000, 2000});
    layout.ResizeWindow();
    EXPECT_EQ(grid.ColWidth(3), 2000);
    EXPECT_EQ(grid.Rows(), 31) << "the rest of the layout still runs";
}

// A minimised window without a taskbar button goes to the tray (it is hidden); with Taskbar on,
// or on a desktop without a tray, it stays on the taskbar.
TEST_F(Layout, AMinimisedWindowGoesToTheTrayOnlyWhenItHasNoTaskbarButtonAndThereIsATray) {
    struct C { const char* taskbar; bool trayAvailable; bool hidden; };
    const C cases[] = {
        {nullptr, true, true},
        {"0", true, true},
        {"False", true, true},
        {"1", true, false},
        {"True", true, false},
        {nullptr, false, false},
        {"0", false, false},
    };
    for (const C& c : cases) {
        const std::string label = std::string(c.taskbar ? c.taskbar : "(none)") + (c.trayAvailable ? "" : ", no tray");
        modTLC::Delete_Config_Key("Options", "Taskbar");
        if (c.taskbar) modTLC::Set_Config_Value("Options", "Taskbar", c.taskbar);
        tray.trayAvailable = c.trayAvailable;
        EXPECT_EQ(TLMainLayout::Hides_To_Tray(), c.hidden) << label;

        form.setWindowState(Qt::WindowNoState);
        form.show();
        form.setWindowState(Qt::WindowMinimized);
        layout.Form_Resize();
        EXPECT_EQ(form.isHidden(), c.hidden) << label;
        EXPECT_EQ(TLMainState::MainWindowState, 1) << label;
    }
}

// CurrentWindowState follows every resize; RestoreWindowState keeps the last state that was
// not minimised, which the tray gives back.
TEST_F(Layout, KeepsTheWindowStateAndTheStateToRestore) {
    struct Step { Qt::WindowStates state; int16_t current, restore; };
    const Step steps[] = {
        {Qt::WindowNoState, 0, 0},
        {Qt::WindowMaximized, 2, 2},
        {Qt::WindowMinimized, 1, 2},
        {Qt::WindowMinimized | Qt::WindowMaximized, 1, 2},
        {Qt::WindowNoState, 0, 0},
        {Qt::WindowMinimized, 1, 0},
    };
    modTLC::Set_Config_Value("Options", "Taskbar", "1");
    for (const Step& s : steps) {
        form.setWindowState(s.state);
        layout.Form_Resize();
        EXPECT_EQ(TLMainState::MainWindowState, s.current) << int(s.state);
        EXPECT_EQ(TLMainState::LastWindowState, s.restore) << int(s.state);
        EXPECT_EQ(TLMainState::PlacementSaveCountdown, 2) << "the layout ran";
    }
}

// WPS writes the state (0 or 2, never 1) and, in the normal state only, the outer size and
// position in twips; a maximised or minimised window keeps the normal placement saved before.
TEST_F(Layout, SavesTheStateAndTheNormalPlacementInTwips) {
    struct C {
        Qt::WindowStates state;
        const char* windowState;
        const char* width; const char* height; const char* top; const char* left;
    };
    const C cases[] = {
        {Qt::WindowNoState, "0", "12000", "9000", "750", "1500"},
        {Qt::WindowMaximized, "2", "old", "old", "old", "old"},
        {Qt::WindowMinimized, "old", "old", "old", "old", "old"},
        {Qt::WindowMinimized | Qt::WindowMaximized, "old", "old", "old", "old", "old"},
    };
    for (const C& c : cases) {
        for (const char* key : {"WindowState", "NormalWidth", "NormalHeight", "NormalTop", "NormalLeft"})
            modTLC::Set_Config_Value("Options", key, "old");
        form.setWindowState(Qt::WindowNoState);
        form.setGeometry(100, 50, 800, 600);
        form.setWindowState(c.state);
        layout.WPS();
        const int state = int(c.state);
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "WindowState"), c.windowState) << state;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalWidth"), c.width) << state;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalHeight"), c.height) << state;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalTop"), c.top) << state;
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalLeft"), c.left) << state;
    }
}

// The heartbeat saves the placement on the second tick after the last resize; resizes that keep
// coming put the save off.
TEST_F(Layout, SavesThePlacementTwoTicksAfterTheLastResize) {
    form.setGeometry(100, 50, 800, 600);
    struct Step { bool resize; bool saved; };
    const Step steps[] = {
        {true, false},                  // the first tick after a resize
        {false, true},                  // the second
        {true, false}, {true, false},   // resizes that keep coming re-arm it
        {false, true},
        {false, false}, {false, false}, // nothing more until the next resize
    };
    int n = 0;
    for (const Step& s : steps) {
        ++n;
        modTLC::Delete_Config_Key("Options", "NormalWidth");
        if (s.resize) layout.ResizeWindow();
        layout.Placement_Countdown();
        EXPECT_EQ(modTLC::Get_Config_Value("Options", "NormalWidth") == "12000", s.saved) << "step " << n;
    }
}

// One row per wheel message while the grid has the focus, never above row 1 or past the last row.
TEST_F(Layout, TheWheelScrollsTheGridOneRowWhileItHasTheFocus) {
    struct C { QWidget* focus; int topBefore; long rotation; int topAfter; };
    grid.setRows(10);
    const C cases[] = {
        {gridView, 1, -120, 2},
        {gridView, 4, -360, 5},   // one row, however far the wheel turned
        {gridView, 4, 120, 3},
        {gridView, 1, 120, 1},    // not above row 1
        {gridView, 9, -120, 9},   // not past the last row
        {itemNumBox, 4, -120, 4}, // the item-number box has the focus: nothing
        {itemNumBox, 4, 120, 4},
    };
    form.show();
    for (const C& c : cases) {
        c.focus->setFocus();
        grid.setTopRow(c.topBefore);
        layout.MouseWheel(0, c.rotation, 10, 10);
        EXPECT_EQ(grid.TopRow(), c.topAfter) << c.topBefore << "/" << c.rotation;
    }
}

}  // namespace
