#include "items/item_popup_commands.h"

#include "foundation/c_menu.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "foundation/bid_engine_state.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/comment_window.h"
#include "items/delete_items.h"
#include "items/item_grid.h"
#include "items/item_store.h"
#include "items/item_window_links.h"
#include "items/item_windows.h"
#include "items/update_item.h"

namespace TLMainItems {
namespace {

void setStatus(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

// The line of the text at 1-based position p, with its CR LF: from after the last CR LF before p
// to the first CR LF at or after the line's start (the text's end when none follows).
struct Line {
    long start, end;  // 1-based, inclusive
};
Line lineAt(const std::string& text, long p) {
    const long before = p > 1 ? vb::InStrRev(text, vb::vbCrLf, p - 1) : 0;
    const long start = before ? before + 2 : 1;
    const long crlf = vb::InStr(start, text, vb::vbCrLf);
    return {start, crlf ? crlf + 1 : vb::Len(text)};
}
std::string lineText(const std::string& text, const Line& l) { return vb::Mid(text, l.start, l.end - l.start + 1); }

}  // namespace

void Set_Item_Popup_Captions(bool plural) {
    ItemPopup.plural = plural;
    ItemPopup.commentEnabled = ItemPopup.bidResultsEnabled = ItemPopup.logEnabled = !plural;
}

void Show_Item_Popup() {
    const bool p = ItemPopup.plural;
    cMenu menu;
    menu.AddItem(kPopupComment, "Comment", false, false, !ItemPopup.commentEnabled);
    menu.AddItem(kPopupCopy, "Copy Description");
    menu.AddItem(kPopupReport, "Report a Problem with Item");
    menu.AddItem(kPopupDelete, p ? "Delete Items\tDelete" : "Delete Item\tDelete");  // the key beside it
    menu.AddItem(kPopupDeleteClosed, "Delete Closed Items");
    cMenu moveTo;
    moveTo.setCaption(p ? "Move Items To" : "Move Item To");
    for (size_t k = 0; k < CategoryNames.size(); ++k)
        moveTo.AddItem(kPopupCategory + static_cast<long>(k), CategoryNames[k]);
    menu.AddItem(0, moveTo);
    menu.AddItem(kPopupSetupBid, p ? "Setup Items Bids" : "Setup Item Bid");
    menu.AddItem(kPopupUpdate, p ? "Update Items" : "Update Item");
    menu.AddItem(kPopupPhotos, itemLink<ItemWindow>().photosCaption());
    menu.AddItem(kPopupSeparator, "-");
    menu.AddItem(kPopupBidResults, "Display Bid Results", false, false, !ItemPopup.bidResultsEnabled);
    menu.AddItem(kPopupLog, "Display Log Entries", false, false, !ItemPopup.logEnabled);
    menu.AddItem(kPopupFeedback, "Feedback Analyzer", false, false, !ItemPopup.logEnabled);
    long chosen = 0;
    try {
        chosen = menu.TrackPopup(TLMainLink::window().widget());
    } catch (const vb::RuntimeError&) {
        return;  // no window to show it on
    }
    Item_Popup_Command(chosen);
}

void Item_Popup_Command(long id) {
    if (id >= kPopupCategory) {
        MnuSubPopupCats_Click(static_cast<int>(id - kPopupCategory));
        return;
    }
    switch (id) {
        case kPopupComment: MnuSubPopupComment_Click(); break;
        case kPopupCopy: itemLink<ItemWindow>().MnuSubPopupCopy_Click(); break;
        case kPopupReport: itemLink<ItemWindow>().MnuSubPopupReport_Click(); break;
        case kPopupDelete: MnuSubPopupDelete_Click(); break;
        case kPopupDeleteClosed: MnuSubPopupDeleteClosed_Click(); break;
        case kPopupSetupBid: MnuSubPopupSetupBid_Click(); break;
        case kPopupUpdate: MnuSubPopupUpdate_Click(); break;
        case kPopupPhotos: itemLink<ItemWindow>().mnuTogglePhotos_Click(); break;
        case kPopupBidResults: itemLink<BrowserViews>().MnuSubPopupBidResults_Click(); break;
        case kPopupLog: MnuSubPopupLog_Click(); break;
        case kPopupFeedback: itemLink<ItemWindow>().MnuSubPopupFeedback_Click(); break;
        default: break;
    }
}

void MnuSubPopupDelete_Click() { Delete_Item(0); }

void MnuSubPopupLog_Click() {
    const AuctionItem* item = Item_At(Item_Of_Row(SelectedRow));
    if (!item || item->ItemNumber.empty()) return;
    const std::string& n = item->ItemNumber;
    const std::string text = modTLMain::Read_Whole_File(modTLMain::DataFolder + "OperationLog.txt").value_or("");

    const long first = vb::InStr(text, n);
    if (first == 0) {
        itemLink<ItemWindow>().beep();
        setStatus(kNoLogEntries + n);
        return;
    }
    Line line = lineAt(text, first);
    std::string box = lineText(text, line);
    const long started = vb::InStrRev(text, "Program Started", line.end);
    if (started > 0) box = lineText(text, lineAt(text, started)) + box;
    box = "LOG ENTRIES FOR ITEM " + n + vb::vbCrLf + vb::vbCrLf + box;
    for (long next = vb::InStr(line.end + 1, text, n); next > 0; next = vb::InStr(line.end + 1, text, n)) {
        line = lineAt(text, next);
        box += lineText(text, line);
    }
    TLMainLink::logBox().showLogBox(box);
}

void MnuSubPopupSetupBid_Click() {
    if (GridRowCount == 0) return;
    if (UserState::CurrentUserID.empty()) {
        setStatus("No User! Can't Setup Bid...");
        return;
    }
    Get_GridSelection();  // the rows selected now, whichever column they were selected in
    if (SelectionKind == 0) return;
    SelectedRow = SelectionFirstRow;
    GridRestoreRow = SelectionFirstRow;
    const AuctionItem* item = Item_At(Item_Of_Row(SelectedRow));
    if (!item) return;
    TLMainLink::itemNumberBox().setItemNumberText(item->ItemNumber);
    if (item->ListingType == "BIN") return;
    itemWindows().showBidForm();
}

void MnuSubPopupUpdate_Click() {
    if (TLMainState::MinuteWarningGiven) {
        setStatus(kBidsPending);
        return;
    }
    Update_Selected_Item();
}

void MnuSubPopupCats_Click(int Index) {
    if (TLMainState::DownloadBusy || TLMainState::UpdateBusy) {
        setStatus(kBusy);
        return;
    }
    if (Index < 0 || static_cast<size_t>(Index) >= CategoryNames.size()) return;
    Get_GridSelection();  // the rows selected now, also when no click read them
    if (SelectionKind == 0) return;
    const std::string& category = CategoryNames[static_cast<size_t>(Index)];
    for (int r = SelectionFirstRow; r <= SelectionLastRow; ++r)
        if (AuctionItem* item = Item_At(Item_Of_Row(r))) item->Category = category;
    Save_Auction_Items();
    Load_ItemGrid();
}

void MnuSubPopupComment_Click() {
    CommentItemIndex = FindItemIndex(TLMainLink::itemNumberBox().itemNumberText());
    Open_Comment_Window();
}

}  // namespace TLMainItems
