// The options dialog's changes reach the loaded main window: the grid colour paints the grid and
// the item-number box, a column width (twips) becomes the grid column's pixel width and the
// description column takes what the others leave, the sound switch changes the sound icon; after
// the unload the changes reach nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <cmath>
#include <QLineEdit>

#include "tl_main_fixture.h"
#include "mainwindow/item_grid_view.h"
#include "foundation/vb.h"
#include "options/setup_links.h"
#include "items/item_grid_link.h"
#include "foundation/config_store.h"

using namespace testsupport;

namespace {

SetupLinks::MainWindowView& view() { return SetupLinks::setupLink<SetupLinks::MainWindowView>(); }

class MainWindowOptionsView : public TLMainTest {};

TEST_F(MainWindowOptionsView, TheGridColourPaintsTheGridAndTheItemNumberBox) {
    TLMain& w = load({{"Options", "ColorGrid", "16777215"}});
    EXPECT_EQ(w.ItemGrid->palette().color(QPalette::Base), QColor(255, 255, 255));
    struct Case {
        long colour;  // 0x00BBGGRR
        QColor shown;
    };
    const Case cases[] = {
        {0x0000FF, QColor(255, 0, 0)},
        {0xFF0000, QColor(0, 0, 255)},
        {0x336699, QColor(0x99, 0x66, 0x33)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        view().setGridBackColour(c.colour);
        EXPECT_EQ(w.ItemGrid->palette().color(QPalette::Base), c.shown);
        EXPECT_EQ(w.ItemNumBox->palette().color(QPalette::Base), c.shown);
    }
}

// Without a grid colour chosen, the grid and the item-number box take the desktop's colours (a
// dark theme's light text on its dark base); a chosen colour is kept, with text that reads on it,
// and so are the status colours of single cells.
TEST_F(MainWindowOptionsView, ColoursNotChosenFollowTheDesktop) {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    struct Restore {
        QPalette p;
        ~Restore() { QApplication::setPalette(p); }
    } restore{before};

    TLMain& w = load();
    QWidget* const both[] = {w.ItemGrid, w.ItemNumBox};
    for (QWidget* box : both) {
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(30, 30, 30)) << box->objectName().toStdString();
        EXPECT_EQ(box->palette().color(QPalette::Text), QColor(230, 230, 230)) << box->objectName().toStdString();
    }

    modTLC::Set_Config_Value("Options", "ColorGrid", "16777215");  // the user chose white
    view().setGridBackColour(TLMainItems::Grid_Back_Colour());
    for (QWidget* box : both) {
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 255, 255)) << box->objectName().toStdString();
        EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 0, 0)) << box->objectName().toStdString();
    }

    TLMainItems::ItemGridModel& grid = w.ItemGrid->gridModel();
    grid.setRows(3);
    grid.setCellBackColor(1, 3, 65535);  // yellow: dark text
    grid.setCellBackColor(2, 3, 0x800000);  // dark blue: light text
    EXPECT_EQ(grid.data(grid.index(0, 3), Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    EXPECT_EQ(grid.data(grid.index(1, 3), Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_FALSE(grid.data(grid.index(0, 4), Qt::ForegroundRole).isValid()) << "a cell of no colour: the desktop's";
}

TEST_F(MainWindowOptionsView, AColumnWidthInTwipsBecomesTheColumnsPixelWidth) {
    TLMain& w = load();
    w.show();
    w.setGeometry(30, 40, 1500, 500);  // room for every column beside the description
    QCoreApplication::sendPostedEvents();
    struct Case {
        int column;
        long twips;  // 0 hides the column
    };
    const Case cases[] = {{3, 1500}, {9, 1350}, {7, 0}, {7, 2200}};
    // 15 twips to the pixel, in the settings' 8-point font; the grid's own font writes
    // WidthScale() times as wide, and the columns are shown that much wider (to the nearest pixel).
    const double scale = w.ItemGrid->gridModel().WidthScale();
    const auto shown = [scale](long twips) { return static_cast<int>(std::lround(twips / 15.0 * scale)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        view().ResizeWindow();
        const TLMainItems::ItemGridModel& grid = w.ItemGrid->gridModel();
        const long description = grid.ColWidth(2);
        const long before = grid.ColWidth(c.column);
        view().setColumnWidth(c.column, c.twips);
        view().ResizeWindow();
        EXPECT_EQ(view().columnWidth(c.column), c.twips);
        EXPECT_EQ(w.ItemGrid->isColumnHidden(c.column), c.twips == 0);
        if (c.twips) EXPECT_EQ(w.ItemGrid->columnWidth(c.column), shown(c.twips));
        // The description column gives up what the changed column took, or takes what it gave.
        EXPECT_EQ(grid.ColWidth(2), description - (c.twips - before));
        EXPECT_EQ(w.ItemGrid->columnWidth(2), shown(grid.ColWidth(2)));
    }
}

TEST_F(MainWindowOptionsView, TheSoundSwitchChangesTheSoundIcon) {
    TLMain& w = load({{"Options", "Sound", "0"}});
    ASSERT_FALSE(w.SoundIcon->soundOn());
    for (const bool on : {true, false, true}) {
        view().showSoundIcon(on);
        EXPECT_EQ(w.SoundIcon->soundOn(), on);
    }
}

TEST_F(MainWindowOptionsView, AfterTheUnloadTheChangesReachNothing) {
    TLMain& w = load({{"Options", "ColorGrid", "16777215"}});
    view().setColumnWidth(3, 1500);
    w.Form_Unload();
    view().setGridBackColour(0x0000FF);
    view().setColumnWidth(3, 3000);
    view().showSoundIcon(true);
    EXPECT_EQ(w.ItemGrid->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(w.ItemGrid->gridModel().ColWidth(3), 1500);
    EXPECT_EQ(view().columnWidth(3), 0);
    EXPECT_FALSE(w.SoundIcon->soundOn());
}

TEST_F(MainWindowOptionsView, AWindowGoneWithoutItsUnloadLeavesNoDutyBehind) {
    load();
    TLMain::unloadForTests();
    view().setGridBackColour(0x0000FF);  // the stand-in: nothing to reach, no crash
    view().showSoundIcon(true);
    EXPECT_EQ(view().columnWidth(3), 0);
}

}  // namespace
