// The item grid on the window: the view shows the grid model and hands the user's presses,
// clicks and caption clicks to the grid routines; the photo frame, the category and sort menus
// and the main window's item duties.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "fake_clock.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "items/categories.h"
#include "items/comment_window.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_photo.h"
#include "items/item_store.h"
#include "items/test_items.h"
#include "mainwindow/item_grid_view.h"
#include "recording_main_window.h"
#include "scripted_boxes.h"
#include "scripted_popup_menus.h"
#include "temp_data_folder.h"

using namespace testsupport;
using namespace TLMainItems;
using namespace TLMainItemsView;

namespace {

class ItemGridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        modTLMain::DisplayDateFormat = "mmm-dd-yy";
        UserState::CurrentUserID = "buyer1";
        modTLC::Set_Config_Value("Categories", "Cameras", "1");
        modTLC::Set_Config_Value("Categories", "Lenses", "0");
        duties.resizeWindow = [this] {  // the window's layout gives the description its width
            ++resizes;
            model.setColWidth(kColDescription, 3000);
        };
        duties.takeOn();
        window.resize(900, 500);
        view->setGeometry(0, 40, 880, 400);
        window.show();
        duties.Form_Load();
    }
    void TearDown() override {
        duties.giveBack();
        reset();
    }
    static void reset() {
        modTLC::ResetForTests();
        ResetItemStoreForTests();
        ResetItemGridForTests();
        ResetCategoriesForTests();
        ResetItemPhotoForTests();
        TLMainState::ResetForTests();
        UserState::ResetForTests();
    }
    void addAndLoad(std::initializer_list<const char*> numbers) {
        for (const char* n : numbers) {
            AuctionItem a;
            a.ItemNumber = n;
            a.Title = std::string("Item ") + n;
            a.EndTime = End_Time_Text(time.clock.now().addDays(1), false);
            a.CurrentPrice = std::string("US ") + n + ".00";
            a.Category = "Cameras";
            a.UserID = "buyer1";
            Append_Item(a);
        }
        Load_ItemGrid();
        QApplication::processEvents();
    }
    // A column width of the settings (twips of their 8-point font) as the view shows it, in pixels.
    int shown(long twips) const { return static_cast<int>(std::lround(twips * model.WidthScale() / 15)); }
    QPoint cellCentre(int row, int col) const {
        return view->visualRect(view->model()->index(row - 1, col)).center();
    }
    void mouse(QEvent::Type type, Qt::MouseButton button, const QPoint& at, QWidget* target,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, at, target->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, mods);
        QApplication::sendEvent(target, &e);
    }
    void click(Qt::MouseButton button, int row, int col, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPoint at = cellCentre(row, col);
        mouse(QEvent::MouseButtonPress, button, at, view->viewport(), mods);
        mouse(QEvent::MouseButtonRelease, button, at, view->viewport(), mods);
    }
    void captionClick(Qt::MouseButton button, int col) {
        QHeaderView* h = view->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
        mouse(QEvent::MouseButtonPress, button, at, h->viewport());
        mouse(QEvent::MouseButtonRelease, button, at, h->viewport());
    }

    TempDataFolder data;
    FakeTime time;
    ScriptedMessageBoxes boxes;
    ScriptedPopupMenus popups;
    RecordingStatusLine status;
    RecordingItemNumberBox box;
    QWidget window;
    ItemGridModel model;
    ItemGridView* view = new ItemGridView(model, &window);
    ItemPhotoFrame* photo = new ItemPhotoFrame(&window);
    ItemMenus* menus = new ItemMenus(&window);
    QLabel* labSeller = new QLabel(&window);
    QLabel* phone = new QLabel(&window);
    ItemWindowDuties duties{&window, view, photo, menus, labSeller, phone};
    int resizes = 0;
};

TEST_F(ItemGridViewTest, ShowsTheGridModelWithItsColumnWidths) {
    addAndLoad({"11", "12"});
    EXPECT_EQ(view->model()->rowCount(), model.Rows() - 1);
    EXPECT_EQ(view->horizontalHeader()->model()->headerData(1, Qt::Horizontal).toString(), "Item #");
    EXPECT_EQ(view->columnWidth(1), shown(1350));
    EXPECT_EQ(view->columnWidth(3), shown(1170));
    EXPECT_FALSE(view->isColumnHidden(0));
    modTLC::Set_Config_Value("Options", "Columns", "62");  // no alarm column
    Set_Up_Item_Columns();
    EXPECT_TRUE(view->isColumnHidden(0));
    EXPECT_EQ(resizes, 2);  // each load asked the window to lay itself out
    EXPECT_EQ(view->columnWidth(kColDescription), shown(3000));
    EXPECT_EQ(window.windowTitle().toStdString(), "Tolvane Rerode II  -  User: buyer1  -  Category: Cameras");
}

// The widths were measured for an 8-point font; the grid shows them as wide as its own font
// writes, so that the default widths hold a 12-digit item number, a price with its reserve mark, a
// remaining time and a whole end time.
TEST_F(ItemGridViewTest, TheDefaultColumnsHoldTheirTextInTheGridsFont) {
    EXPECT_DOUBLE_EQ(model.WidthScale(), Font_Width_Scale(view->font()));
    EXPECT_GT(model.WidthScale(), 0.5);
    addAndLoad({"110000000001"});
    Items[1].ReserveFlag = 1;
    Items[1].CurrentPrice = "US $999.99";
    Items[1].EndTime = End_Time_Text(time.clock.now().addDays(2), true);
    Load_ItemGrid();
    const QFontMetrics fm(view->font());
    constexpr int kCellRoom = 8;      // the cell's margins
    constexpr int kPictureRoom = 20;  // the reserve mark and the gap after it
    struct Case {
        int col;
        std::string text;
        int picture;
    };
    const Case cases[] = {
        {kColItemNumber, "110000000001", 0},
        {kColHighBid, Items[1].CurrentPrice, kPictureRoom},
        {kColRemaining, "23 Hours 59 Mins", 0},
        {kColEnds, model.TextMatrix(1, kColEnds), 0},
    };
    for (const Case& c : cases)
        EXPECT_GE(view->columnWidth(c.col), fm.horizontalAdvance(QString::fromStdString(c.text)) + kCellRoom + c.picture)
            << c.text;
    EXPECT_EQ(model.ColWidth(kColItemNumber), 1350) << "the settings keep their own twips";
}

// Dragging the edge of an adjustable column resizes it and stores its width under the key the
// options slider writes; the item-number column keeps its width; the description's is stored too.
TEST_F(ItemGridViewTest, DraggingAColumnEdgeStoresItsWidth) {
    addAndLoad({"11"});
    QHeaderView* h = view->horizontalHeader();
    const auto drag = [&](int col, int by) {
        const int edge = h->sectionViewportPosition(col) + h->sectionSize(col) - 1;
        const int y = h->height() / 2;
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(edge, y), h->viewport());
        QMouseEvent move(QEvent::MouseMove, QPointF(edge + by, y), h->viewport()->mapToGlobal(QPointF(edge + by, y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h->viewport(), &move);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(edge + by, y), h->viewport());
    };
    const int before = view->columnWidth(kColHighBid);
    drag(kColHighBid, 30);
    EXPECT_EQ(view->columnWidth(kColHighBid), before + 30);
    const long stored = model.ColumnTwips((before + 30) * 15);
    EXPECT_EQ(model.ColWidth(kColHighBid), stored);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "ColWidth3"), std::to_string(stored));
    EXPECT_GE(resizes, 2) << "the window lays itself out again";

    const int number = view->columnWidth(kColItemNumber);
    drag(kColItemNumber, 30);
    EXPECT_EQ(view->columnWidth(kColItemNumber), number);
    EXPECT_EQ(model.ColWidth(kColItemNumber), 1350);

    // The description's edge as well: what it stores is the least width the description keeps,
    // never below about 20 characters.
    const int description = view->columnWidth(kColDescription);
    drag(kColDescription, 40);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "ColWidth2"),
              std::to_string(model.ColumnTwips((description + 40) * 15)));
    drag(kColDescription, 10 - view->columnWidth(kColDescription));
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "ColWidth2"), std::to_string(kDescriptionMinimum));
}

// A grid narrower than its columns scrolls sideways; the rows the program selects come into view
// without moving it sideways, so a grid loaded while its view was still small opens on its first
// columns.
TEST_F(ItemGridViewTest, TheProgramsSelectionLeavesTheGridWhereItWasSideways) {
    view->setGeometry(0, 40, 150, 120);
    addAndLoad({"11", "12", "13", "14", "15", "16", "17", "18", "19", "20"});
    view->setGeometry(0, 40, 500, 120);
    QApplication::processEvents();
    QScrollBar* sideways = view->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0) << "the columns are wider than the view";
    EXPECT_EQ(sideways->value(), 0);

    model.setRow(10);
    model.setCol(kColDescription);
    QApplication::processEvents();
    EXPECT_GT(view->verticalScrollBar()->value(), 0) << "the last row comes into view";
    EXPECT_EQ(sideways->value(), 0);
}

// The seller feedback analysis marks negative, positive and neutral entries in its "F" column;
// an ended bid is marked lost, not confirmed or never placed: each a picture of its own, none of
// them the alarm's of the item list.
TEST_F(ItemGridViewTest, EachFeedbackKindAndEachEndedBidHasItsPicture) {
    const int kinds[] = {kPicNegative, kPicPositive, kPicNeutral, kPicAlarm, kPicLost, kPicUnconfirmed, kPicNeverPlaced};
    constexpr int n = static_cast<int>(std::size(kinds));
    model.setRows(n + 1);
    QImage shown[n];
    for (int r = 1; r <= n; ++r) model.setCellPicture(r, 0, kinds[r - 1]);
    for (int r = 1; r <= n; ++r) {
        const QVariant picture = view->model()->data(view->model()->index(r - 1, 0), Qt::DecorationRole);
        ASSERT_TRUE(picture.canConvert<QIcon>()) << kinds[r - 1];
        ASSERT_FALSE(picture.value<QIcon>().isNull()) << kinds[r - 1];
        shown[r - 1] = picture.value<QIcon>().pixmap(16, 16).toImage();
    }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) EXPECT_NE(shown[a], shown[b]) << kinds[a] << " and " << kinds[b] << " look alike";
}

TEST_F(ItemGridViewTest, AClickShowsTheItemAndTheSelectionsFollowEachOther) {
    addAndLoad({"11", "12", "13"});
    click(Qt::LeftButton, 2, kColDescription);
    EXPECT_EQ(model.Row(), 2);
    EXPECT_EQ(box.itemNumber, "12");
    EXPECT_EQ(labSeller->text().toStdString(), "Seller: ");
    EXPECT_TRUE(phone->isHidden());

    click(Qt::LeftButton, 3, kColDescription, Qt::ShiftModifier);  // the selection reaches row 3
    EXPECT_EQ(std::min(model.Row(), model.RowSel()), 2);
    EXPECT_EQ(std::max(model.Row(), model.RowSel()), 3);

    model.setRow(1);  // the program moves the current cell: the view follows
    model.setCol(kColDescription);
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(view->selectionModel()->selectedIndexes().size(), 1);
}

TEST_F(ItemGridViewTest, ARightPressOnARowOpensThePopupAtOnce) {
    addAndLoad({"11", "12"});
    click(Qt::RightButton, 2, kColDescription);
    ASSERT_EQ(popups.shown().size(), 1u);
    EXPECT_EQ(view->currentIndex().row(), 1);
    EXPECT_EQ(box.itemNumber, "12");
}

TEST_F(ItemGridViewTest, CaptionClicksSortAndTheAlarmCaptionsRightPressClearsAlarms) {
    addAndLoad({"5", "20", "9"});
    captionClick(Qt::LeftButton, kColHighBid);
    EXPECT_EQ(model.TextMatrix(1, kColItemNumber), "20");
    EXPECT_EQ(model.TextMatrix(3, kColItemNumber), "5");
    EXPECT_TRUE(view->selectionModel()->selectedColumns().isEmpty());

    Items[1].AlarmSetting = "1284";
    Load_ItemGrid();
    captionClick(Qt::RightButton, kColAlarm);
    EXPECT_EQ(Items[1].AlarmSetting, "");
}

TEST_F(ItemGridViewTest, ThePhotoFrameTakesItsPlaceInPixels) {
    photo->placePhoto(0, {1500, 3000, 2540, 1915}, {20, 20, 2500, 1875}, false, true);
    EXPECT_EQ(photo->geometry(), QRect(100, 200, 169, 127));
    EXPECT_EQ(photo->ItemPic->geometry(), QRect(1, 1, 166, 125));
    EXPECT_TRUE(photo->isVisible());
    EXPECT_TRUE(photo->labNoPhoto->isHidden());
    photo->placePhoto(0, {1500, 3000, 1500, 1000}, {}, true, true);
    EXPECT_FALSE(photo->labNoPhoto->isHidden());
    photo->placePhoto(0, {}, {}, false, false);
    EXPECT_FALSE(photo->isVisible());
}

TEST_F(ItemGridViewTest, TheCategoryMenuListsTheCategoriesAndSwitchesBetweenThem) {
    addAndLoad({"1"});
    QStringList names;
    QAction* lenses = nullptr;
    bool afterSeparator = false;
    for (QAction* a : menus->categories()->actions()) {
        if (afterSeparator) {
            names << a->text();
            if (a->text() == "Lenses") lenses = a;
            if (a->text() == "Cameras") EXPECT_TRUE(a->isChecked());
        }
        if (a->isSeparator()) afterSeparator = true;
    }
    EXPECT_EQ(names, (QStringList{"Cameras", "Lenses"}));
    ASSERT_NE(lenses, nullptr);
    lenses->trigger();
    EXPECT_EQ(Current_Category_Name(), "Lenses");
    EXPECT_EQ(GridRowCount, 0);

    QMenu* sort = menus->sortDefault();
    sort->actions()[4]->trigger();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "DefaultSort"), "4");
    emit sort->aboutToShow();
    EXPECT_TRUE(sort->actions()[4]->isChecked());
    EXPECT_FALSE(sort->actions()[0]->isChecked());
}

TEST_F(ItemGridViewTest, TheWindowOpensTheCommentWindowForTheAdder) {
    addAndLoad({"1"});
    duties.showCommentWindow(1);
    ASSERT_NE(Comment_Window(), nullptr);
    EXPECT_TRUE(duties.commentWindowOpen());
    Comment_Window()->close();
    EXPECT_FALSE(duties.commentWindowOpen());
}

}  // namespace
