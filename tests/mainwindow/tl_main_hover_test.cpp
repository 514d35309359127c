// The grid's hover pop-ups: an item's photo after the mouse has rested on its description (the
// sixth tick of the 100 ms timer by default), its bid history after it has rested on its high bid,
// never elsewhere; pinning, dragging and closing photos; and the status line's comment box.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <cmath>

#include "mainwindow/bid_history_list.h"
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

// The high bid's pop-up: the item's bids from its saved bid-history page, after the same rest as
// the photo's, until the mouse leaves the cell.
TEST_F(Hover, TheBidHistoryShowsOnTheHighBidWhereItsPageIsSaved) {
    data.write("Saved Items/200BH.txt",
               "Bid History\r\nBidderBid AmountDate of bid\r\n"
               "alice (12) US 12.50 Jun-01-26 10:00:00 PDT\r\nbob (3) US 11.00 Jun-01-26 09:00:00 PDT\r\n");
    TLMain& w = loadWithItems();
    QTreeWidget* list = w.BidHistory;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->columnCount(), 3);
    EXPECT_EQ(list->headerItem()->text(0), "User ID");
    EXPECT_EQ(list->headerItem()->text(1), "Bid Amount");
    EXPECT_EQ(list->headerItem()->text(2), "Bid Date/Time");

    mouseOn(w, 2, 3);
    timerTicks(5);
    EXPECT_TRUE(list->isHidden());
    timerTicks(1);
    ASSERT_FALSE(list->isHidden());
    EXPECT_FALSE(photoShown());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem* first = list->topLevelItem(0);
    EXPECT_EQ(first->text(0), "alice (12)");
    EXPECT_EQ(first->text(1), "US 12.50");
    EXPECT_EQ(first->text(2), "Jun-01-26 10:00:00 PDT");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "bob (3)");

    // 4600 by 2200 twips, as much larger as the grid shows its columns wider; the columns take a
    // quarter, a quarter and a half of it.
    const double scale = TLMainItems::ItemGrid().WidthScale();
    const TLMainItems::TwipRect area = TLMainItems::BidHistoryArea;
    EXPECT_EQ(area.width, std::lround(4600 * scale));
    EXPECT_EQ(area.height, std::lround(2200 * scale));
    EXPECT_EQ(list->geometry(), QRect(area.left / 15, area.top / 15, area.width / 15, area.height / 15));
    const int inside = list->width() - 2 * list->frameWidth();
    EXPECT_NEAR(list->columnWidth(0), inside / 4.0, 1);
    EXPECT_NEAR(list->columnWidth(1), inside / 4.0, 1);
    EXPECT_NEAR(list->columnWidth(2), inside / 2.0, 1);
    timerTicks(20);
    EXPECT_FALSE(list->isHidden()) << "it stays while the mouse does";

    // Another cell of the row hides it; back on the high bid it shows again; off the grid it goes.
    mouseOn(w, 2, 4);
    timerTicks(1);
    EXPECT_TRUE(list->isHidden());
    mouseOn(w, 2, 3);
    timerTicks(6);
    EXPECT_FALSE(list->isHidden());
    mouseOn(w, -1, -1);
    timerTicks(1);
    EXPECT_TRUE(list->isHidden());
}

// Without the item's saved bid-history page there is nothing to show; nor on other columns.
TEST_F(Hover, NoBidHistoryWhereNoneIsSaved) {
    struct C { const char* what; int row; int col; };
    const C cases[] = {
        {"an item without a saved page", 1, 3},
        {"a filler row", 5, 3},
        {"the description of an item with a saved page", 2, 2},
    };
    for (const C& c : cases) {
        reset();
        modTLMain::DataFolder = data.dataFolder();
        data.write("Saved Items/200BH.txt",
                   "BidderBid Amount\r\nalice (12) US 12.50 Jun-01-26 10:00:00 PDT\r\n");
        TLMain& w = loadWithItems();
        mouseOn(w, c.row, c.col);
        timerTicks(30);
        EXPECT_TRUE(w.BidHistory->isHidden()) << c.what;
        EXPECT_FALSE(TLMainItems::BidHistoryShown) << c.what;
    }
}

}  // namespace
