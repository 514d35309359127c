// tl_main_hover.cpp — the item grid's hover pop-ups (MouseTimer, 100 ms): an item's photo shows
// beside its description, and its bid history beside its high bid, after the mouse has rested
// there; photos pinned into frames of their own, dragged and closed; and the status line's
// comment box.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "foundation/options_state.h"
#include "foundation/vb.h"
#include "items/bid_history_view.h"
#include "items/grid_clicks.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_photo.h"
#include "items/item_store.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/tl_main.h"

using namespace TLMainState;

namespace {

void hidePopups() {
    if (TLMainItems::Photo_Shown(0)) TLMainItems::Hide_Item_Photo(0);
    if (TLMainItems::BidHistoryShown) TLMainItems::Hide_Bid_History();
}

}  // namespace

// The cell under the pointer (-1, -1: the pointer is off the rows), as the grid reports it.
void TLMain::ItemGrid_MouseMove(int row, int col) {
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    g.MouseRow = row;
    g.MouseCol = col;
    HoverMouseRow = row;
    HoverMouseCol = col;
}

// On the pop-up photo the pointer counts as still on the cell the photo shows for, so that the
// photo stays to be enlarged, dragged or pinned.
void TLMain::PicHolder_MouseEnter() {
    if (TLMainItems::Photo_Shown(0)) ItemGrid_MouseMove(HoverRow, HoverCol);
}

// Off the photo it counts as off the rows until the grid reports a cell again: the photo goes on
// the next tick unless the pointer is back on its cell.
void TLMain::PicHolder_MouseLeave() { ItemGrid_MouseMove(-1, -1); }

void TLMain::ItemGrid_MouseUp(int Button) {
    if (Button != 4) HoverSuspended = 0;
}

// One tick: the cell under the mouse is timed; after 2 × HoverDelayTicks ticks on one cell of the
// description column the item's photo shows, on one of the high-bid column its bid history (with
// the default delay, on the sixth tick). Leaving the cell hides both, also while a feedback list
// shows or a range of rows is selected, when nothing new is timed.
void TLMain::MouseTimer_Timer() {
    if (HoverSuspended == 1 || TLMainItems::HoverOff == 1) return;
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    if (g.MouseRow != HoverMouseRow || g.MouseCol != HoverMouseCol) HoverTicks = 0;
    if (HoverMouseRow != HoverRow) {
        HoverTicks = 0;
        HoverRow = HoverMouseRow;
    }
    if (HoverMouseCol != HoverCol) {
        HoverTicks = 0;
        HoverCol = HoverMouseCol;
    }
    if (HoverTicks == 0) hidePopups();
    if (TLMainItems::GridViewMode >= 1 || g.Row() != g.RowSel()) return;
    ++HoverTicks;
    if (HoverTicks < 2 * HoverDelayTicks) {
        hidePopups();
        return;
    }
    if (HoverCol == TLMainItems::kColHighBid) {
        // The high bid: the item's bids, where its bid-history page is saved.
        if (!TLMainItems::BidHistoryShown && HoverRow >= 1 &&
            TLMainItems::Bid_History_Saved(g.TextMatrix(HoverRow, TLMainItems::kColItemNumber)))
            TLMainItems::Show_Bid_History(HoverRow);
        return;
    }
    if (HoverCol != TLMainItems::kColDescription || PhotoPopupOn != 1 || TLMainItems::Photo_Shown(0)) return;
    if (HoverRow < 1 || g.TextMatrix(HoverRow, TLMainItems::kColItemNumber).empty()) return;
    if (isActiveWindow()) ItemGrid->setFocus();
    // The hovered row becomes the selected item, as a click the program makes.
    g.setRow(HoverRow);
    g.setCol(HoverCol);
    TLMainItems::GridClickSource = 1;
    TLMainItems::ItemGrid_Click();
    TLMainItems::Show_Item_Photo(HoverRow);
}

// Space on the grid pins the pop-up photo.
void TLMain::ItemGrid_KeyDown(int KeyCode) {
    if (KeyCode == 32 && TLMainItems::Photo_Shown(0)) {
        Pin_Photo();
        HoverSuspended = 0;
        PhotoDragging = 0;
    }
}

// A frame of its own for the pop-up's photo, where the pop-up was, with a red border; the
// pop-up goes.
void TLMain::Pin_Photo() {
    auto& elements = TLMainItems::Photo_Elements();
    TLMainItems::PhotoElement copy = elements[0];
    copy.visible = true;

    auto* frame = new QFrame(Central);
    frame->setObjectName("PinnedPhoto");
    frame->setFrameShape(QFrame::Box);
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, TLMainItems::Windows_Colour(255));
    frame->setPalette(p);
    auto* picture = new QLabel(frame);
    picture->setObjectName("ItemPic");
    picture->setScaledContents(true);
    if (copy.noPhoto) {
        picture->setText(PicHolder->labNoPhoto->text());
        picture->setAlignment(Qt::AlignCenter);
    } else {
        picture->setPixmap(PicHolder->ItemPic->pixmap());
    }

    m_pinned.push_back(frame);
    PinnedPhotoIndex = static_cast<int32_t>(m_pinned.size());
    if (elements.size() <= static_cast<size_t>(PinnedPhotoIndex)) elements.resize(PinnedPhotoIndex + 1);
    elements[static_cast<size_t>(PinnedPhotoIndex)] = copy;
    if (copy.noPhoto) copy.picture = {0, 0, copy.frame.width, copy.frame.height};
    TLMainItems::itemLink<TLMainItems::PhotoFrame>().placePhoto(PinnedPhotoIndex, copy.frame, copy.picture, copy.noPhoto, true);
    frame->raise();
    TLMainItems::Hide_Item_Photo(0);
}

void TLMain::ItemPic_MouseDown(int Index, int Button, long X, long Y) {
    PhotoButton = Button;
    if (Button == 1) {
        HoverSuspended = 1;
        PhotoDragX = X;
        PhotoDragY = Y;
        PhotoDragging = 1;
    } else if (Button == 2) {
        if (Index > 0) HoverSuspended = 1;
        TLMainItems::Scale_Item_Photo(Index);
    }
}

// A drag moves the photo's frame with the mouse; it is not kept inside the window.
void TLMain::ItemPic_MouseMove(int Index, long X, long Y) {
    if (!PhotoDragging) return;
    auto& elements = TLMainItems::Photo_Elements();
    if (Index < 0 || static_cast<size_t>(Index) >= elements.size()) return;
    if (X == PhotoDragX && Y == PhotoDragY) return;
    TLMainItems::PhotoElement& e = elements[static_cast<size_t>(Index)];
    e.frame.left += X - PhotoDragX;
    e.frame.top += Y - PhotoDragY;
    TLMainItems::itemLink<TLMainItems::PhotoFrame>().placePhoto(Index, e.frame, e.picture, e.noPhoto, e.visible);
}

void TLMain::ItemPic_MouseUp(int Index, int Button) {
    if (Index == 0 && Button == 1 && TLMainItems::Photo_Shown(0)) {
        Pin_Photo();
        PicHolder_MouseLeave();  // the pointer is on the pinned photo now, off the rows
    }
    HoverSuspended = 0;
    PhotoDragging = 0;
}

// A double click closes a photo (a pinned one is hidden; its index is not used again).
void TLMain::ItemPic_DblClick(int Index) {
    if (PhotoButton != 1) return;
    TLMainItems::Hide_Item_Photo(Index);
    HoverSuspended = 0;
}

// The comment box over the message line: the selected item's comment, written back with Enter.
void TLMain::MsgLab_DblClick() {
    if (txtComment->isVisibleTo(StatusBar)) return;
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(TLMainItems::Item_Of_Row(TLMainItems::SelectedRow));
    if (!item) return;  // no item is selected
    m_commentItemNumber = item->ItemNumber;
    txtComment->setGeometry(0, 0, MsgLab->width(), StatusBar->height());
    txtComment->setText(QString::fromStdString(item->CommentText));
    txtComment->show();
    txtComment->raise();
    txtComment->setFocus();
}

void TLMain::txtComment_KeyDown(int KeyCode) {
    if (KeyCode != 13 || !txtComment->isVisibleTo(StatusBar)) return;
    txtComment->hide();
    // The item is found again by its number: the list may have changed while the box was open.
    TLMainItems::AuctionItem* item = TLMainItems::Item_At(TLMainItems::FindItemIndex(m_commentItemNumber));
    if (!item) {
        setStatus("No Item Found....");
        return;
    }
    item->CommentText = txtComment->text().toStdString();
    setStatus(item->CommentText);
    TLMainItems::Save_Auction_Items();
}

bool TLMain::commentBoxShown() const { return txtComment->isVisibleTo(StatusBar); }
std::string TLMain::commentBoxText() const { return txtComment->text().toStdString(); }
void TLMain::setCommentBoxText(const std::string& text) { txtComment->setText(QString::fromStdString(text)); }
