// The grid's hover pop-up: an item's photo after the mouse has rested on its description (the
// sixth tick of the 100 ms timer by default), never elsewhere; pinning, dragging and closing
// photos; and the status line's comment box.
#include <QKeyEvent>
#include <QLineEdit>

#include "mainwindow/item_grid_view.h"
#include "tl_main_fixture.h"

using namespace testsupport;

namespace {

class Hover : public TLMainTest {
protected:
    TLMain& loadWithItems(std::initializer_list<Setting> settings = {}) {
        modTLC::Set_Config_Value("Categories", "Default", "1");
        addItem("100", 3600);
        addItem("200", 7200);
        item(1).CommentText = "Check the lens";
        TLMainItems::Save_Auction_Items();
        TLMain& w = loadQuiet(settings);
        w.MouseTimer.setEnabled(true);
        return w;
    }
    // The mouse rests on the cell.
    void mouseOn(TLMain& w, int row, int col) {
        TLMainItems::ItemGrid().MouseRow = row;
        TLMainItems::ItemGrid().MouseCol = col;
        w.ItemGrid_MouseMove(row, col);
    }
    void timerTicks(int n) { time.advanceMs(100L * n); }
    bool photoShown() { return TLMainItems::Photo_Shown(0); }
};

TEST_F(Hover, ThePhotoShowsOnTheSixthTickOnTheDescription) {
    TLMain& w = loadWithItems();
    mouseOn(w, 2, 2);
    timerTicks(5);
    EXPECT_FALSE(photoShown());
    timerTicks(1);
    EXPECT_TRUE(photoShown());
    EXPECT_EQ(TLMainItems::SelectedRow, 2) << "the hovered row becomes the selected item";
    EXPECT_EQ(w.itemNumberText(), "200");
    timerTicks(20);
    EXPECT_TRUE(photoShown()) << "it stays while the mouse does";

    // Another cell starts the count again and hides the photo.
    mouseOn(w, 1, 2);
    timerTicks(1);
    EXPECT_FALSE(photoShown());
    timerTicks(5);
    EXPECT_TRUE(photoShown());
}

TEST_F(Hover, TheDelayFollowsTheHoverTimeSetting) {
    TLMain& w = loadWithItems({{"Options", "HoverTime", "0"}});
    mouseOn(w, 1, 2);
    timerTicks(1);
    EXPECT_FALSE(photoShown());
    timerTicks(1);
    EXPECT_TRUE(photoShown());
}

TEST_F(Hover, NoPhotoWhereNoneIsAsked) {
    struct C { const char* what; int row; int col; std::function<void()> setUp; };
    const C cases[] = {
        {"a filler row", 5, 2, [] {}},
        {"the high bid column", 1, 3, [] {}},
        {"the item-number column", 1, 1, [] {}},
        {"photos off", 1, 2, [] { TLMainState::PhotoPopupOn = 0; }},
        {"several rows selected", 1, 2, [] { TLMainItems::ItemGrid().setRowSel(2); }},
        {"a feedback list shown", 1, 2, [] { TLMainItems::GridViewMode = 1; }},
        {"a button held on a photo", 1, 2, [] { TLMainState::HoverSuspended = 1; }},
        {"the bid history kept", 1, 2, [] { TLMainItems::HoverOff = 1; }},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        TLMain& w = loadWithItems();
        ASSERT_GE(TLMainItems::ItemGrid().Rows(), 6) << "filler rows below the items";
        TLMainItems::ItemGrid().setRow(1);
        c.setUp();
        mouseOn(w, c.row, c.col);
        timerTicks(30);
        EXPECT_FALSE(photoShown()) << c.what;
    }
}

TEST_F(Hover, SpaceOrAReleaseOnThePopUpPinsThePhoto) {
    TLMain& w = loadWithItems();
    w.ItemGrid_KeyDown(32);  // nothing shown: nothing pinned
    EXPECT_EQ(w.pinnedPhotoCount(), 0);

    mouseOn(w, 1, 2);
    timerTicks(6);
    ASSERT_TRUE(photoShown());
    const TLMainItems::TwipRect popup = TLMainItems::Photo_Elements()[0].frame;
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(w.ItemGrid, &space);
    ASSERT_EQ(w.pinnedPhotoCount(), 1);
    EXPECT_TRUE(w.pinnedPhotoShown(1));
    EXPECT_FALSE(photoShown());
    EXPECT_EQ(w.pinnedPhotoGeometry(1), QRect(popup.left / 15, popup.top / 15, popup.width / 15, popup.height / 15));

    // The mouse moves on: a new pop-up for the other row, released on with the left button.
    mouseOn(w, 2, 2);
    timerTicks(6);
    ASSERT_TRUE(photoShown());
    w.ItemPic_MouseDown(0, 1, 30, 30);
    EXPECT_EQ(TLMainState::HoverSuspended, 1);
    w.ItemPic_MouseUp(0, 1);
    EXPECT_EQ(w.pinnedPhotoCount(), 2);
    EXPECT_EQ(TLMainState::HoverSuspended, 0);
    EXPECT_EQ(TLMainState::PinnedPhotoIndex, 2);
}

TEST_F(Hover, APinnedPhotoIsDraggedAndClosedWithADoubleClick) {
    TLMain& w = loadWithItems();
    mouseOn(w, 1, 2);
    timerTicks(6);
    w.ItemGrid_KeyDown(32);
    ASSERT_EQ(w.pinnedPhotoCount(), 1);
    const QRect before = w.pinnedPhotoGeometry(1);
    w.ItemPic_MouseDown(1, 1, 150, 150);
    w.ItemPic_MouseMove(1, 450, 300);  // 300 and 150 twips: 20 and 10 pixels
    w.ItemPic_MouseUp(1, 1);
    EXPECT_EQ(w.pinnedPhotoGeometry(1), before.translated(20, 10));
    w.ItemPic_MouseMove(1, 900, 900);  // no drag after the release
    EXPECT_EQ(w.pinnedPhotoGeometry(1), before.translated(20, 10));

    w.ItemPic_MouseDown(1, 1, 10, 10);
    w.ItemPic_MouseUp(1, 1);
    w.ItemPic_DblClick(1);
    EXPECT_FALSE(w.pinnedPhotoShown(1));
    EXPECT_EQ(w.pinnedPhotoCount(), 1) << "hidden, its index not used again";
}

TEST_F(Hover, TheCommentBoxOpensOnTheSelectedItemAndWritesByNumber) {
    TLMain& w = loadWithItems();
    TLMainItems::SelectedRow = 5;  // a filler row: no item
    w.MsgLab_DblClick();
    EXPECT_FALSE(w.commentBoxShown());

    TLMainItems::SelectedRow = 1;
    w.MsgLab_DblClick();
    ASSERT_TRUE(w.commentBoxShown());
    EXPECT_EQ(w.commentBoxText(), "Check the lens");
    w.setCommentBoxText("Ask about the caps");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w.txtComment, &enter);
    EXPECT_FALSE(w.commentBoxShown());
    EXPECT_EQ(item(1).CommentText, "Ask about the caps");
    EXPECT_EQ(w.statusText(), "Ask about the caps");
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(item(1).CommentText, "Ask about the caps") << "saved";

    // An empty text clears the comment and is saved too.
    w.MsgLab_DblClick();
    w.setCommentBoxText("");
    w.txtComment_KeyDown(13);
    TLMainItems::Load_Auction_Items();
    EXPECT_EQ(item(1).CommentText, "");

    // The item went while the box was open: nothing is written to another item.
    w.MsgLab_DblClick();
    w.setCommentBoxText("Lost words");
    std::swap(TLMainItems::Items[1], TLMainItems::Items[2]);
    TLMainItems::Items.pop_back();
    TLMainItems::ItemCount = 1;
    w.txtComment_KeyDown(13);
    EXPECT_EQ(w.statusText(), "No Item Found....");
    EXPECT_EQ(item(1).CommentText, "");
}

}  // namespace
