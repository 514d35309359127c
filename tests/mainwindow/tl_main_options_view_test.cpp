// The options dialog's changes reach the loaded main window: the grid colour paints the grid and
// the item-number box, a column width (twips) becomes the grid column's pixel width and the
// description column takes what the others leave, the sound switch changes the sound icon; after
// the unload the changes reach nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>

#include "tl_main_fixture.h"
#include "mainwindow/item_grid_view.h"
#include "foundation/vb.h"
#include "options/setup_links.h"

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

TEST_F(MainWindowOptionsView, AColumnWidthInTwipsBecomesTheColumnsPixelWidth) {
    TLMain& w = load();
    w.show();
    w.setGeometry(30, 40, 900, 500);
    QCoreApplication::sendPostedEvents();
    struct Case {
        int column;
        long twips;
        int pixels;  // 0: hidden
    };
    const Case cases[] = {
        {3, 1500, 100},  // 15 twips to the pixel
        {9, 1350, 90},
        {7, 0, 0},       // 0 hides the column
        {7, 2200, 146},  // and a width shows it again (whole pixels)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        view().ResizeWindow();
        const TLMainItems::ItemGridModel& grid = w.ItemGrid->gridModel();
        const long description = grid.ColWidth(2);
        const long before = grid.ColWidth(c.column);
        view().setColumnWidth(c.column, c.twips);
        view().ResizeWindow();
        EXPECT_EQ(view().columnWidth(c.column), c.twips);
        EXPECT_EQ(w.ItemGrid->isColumnHidden(c.column), c.pixels == 0);
        if (c.pixels) EXPECT_EQ(w.ItemGrid->columnWidth(c.column), c.pixels);
        // The description column gives up what the changed column took, or takes what it gave.
        EXPECT_EQ(grid.ColWidth(2), description - (c.twips - before));
        EXPECT_EQ(w.ItemGrid->columnWidth(2), vb::TwipsToPixels(static_cast<int>(grid.ColWidth(2))));
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
