#include "items/grid_clicks.h"

#include <algorithm>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/auction_item.h"
#include "items/bid_history_view.h"
#include "items/bid_outcome.h"
#include "items/bid_status.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_photo.h"
#include "items/item_popup_commands.h"
#include "items/item_store.h"
#include "items/item_window_links.h"
#include "items/item_windows.h"
#include "items/remaining_time.h"
#include "platform/input_box.h"
#include "service/national_sites.h"

namespace TLMainItems {
namespace {

void setStatus(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

AuctionItem* itemOfRow(int row) { return Item_At(Item_Of_Row(row)); }

// The item on `row` loses its alarm: the setting, every change bit but the end-time one, the
// alarm colours of "My Bid" and "Time Remaining", and the picture.
void alarmOff(int row) {
    AuctionItem* item = itemOfRow(row);
    if (!item) return;
    ItemGridModel& g = ItemGrid();
    item->AlarmSetting.clear();
    item->AlarmState = std::to_string(static_cast<long>(vb::Val(item->AlarmState)) & 1);
    const long colour = g.CellBackColor(row, kColDescription);
    g.setCellBackColor(row, kColMyBid, colour);
    g.setCellBackColor(row, kColRemaining, colour);
    g.setCellPicture(row, kColAlarm, 0);
}

// The item on `row` gets the default alarm, while it runs and the alarm options are on.
void alarmOn(int row) {
    const int index = Item_Of_Row(row);
    AuctionItem* item = Item_At(index);
    if (!item) return;
    Get_Remaining_Secs(index);
    if (!RemainingKnown || RemainingSecs <= 0) return;
    const std::string values = modTLC::Get_Config_Value("Options", "AlarmValues", "0");
    if (!modTLMain::Decode_Alarm_Values(values)) return;
    item->AlarmSetting = values;
    ItemGrid().setCellPicture(row, kColAlarm, kPicAlarm);
}

void showDetails(int row) {
    ItemGridModel& g = ItemGrid();
    GridClickSource = 0;
    if (const AuctionItem* item = itemOfRow(row)) {
        itemLink<ItemWindow>().setSellerLabel("Seller: " + item->Seller);
        TLMainLink::itemNumberBox().setItemNumberText(item->ItemNumber);
        itemLink<ItemWindow>().setAutoDialMarker(item->DialBeforeBid != 0);
        if (CommentShownFlag)
            CommentShownFlag = 0;
        else
            setStatus(item->CommentText);
    }
    GridRestoreRow = static_cast<int16_t>(g.Row());
    GridClickColumn = static_cast<int16_t>(g.Col());
}

bool savedBidResultsReadable(const std::string& itemNumber) {
    if (itemNumber.empty()) return false;
    return modTLMain::Read_Whole_File(modTLMain::DataFolder + "Saved Items/" + itemNumber + "BR.html").has_value();
}

void openPopupAfterRightClick() {
    GridClickSource = 0;
    if (!savedBidResultsReadable(TLMainLink::itemNumberBox().itemNumberText())) ItemPopup.bidResultsEnabled = false;
    Show_Item_Popup();
}

// The address a feedback double click opens: the alternate browser with an argument list (web
// addresses only), else the program's browser window.
void openFeedbackPage(const std::string& address) {
    if (address.empty()) return;
    if (vb::Val(modTLC::Get_Config_Value("Options", "AltBrowser", "0")) == 1) {
        if (!Web_Address(address)) return;
        const std::string program = modTLC::Get_Config_Value("Options", "AltBrowserPath", "");
        if (program.empty() || !itemLink<BrowserViews>().startProgram(program, {address})) setStatus(kAltBrowserFailed);
        return;
    }
    itemLink<BrowserViews>().openServicePage(address);
}

std::string allFeedbackAddress() {
    const modTLMain::NationalSite* site = modTLMain::National_Site(modTLMain::CurrentSiteIndex);
    if (!site) site = modTLMain::National_Site(0);
    return modTLC::Get_Config_Value("Locale", "AllFeedback",
                                    std::string("http://") + site->feedbackHost + "/ws/eBayISAPI.dll?LeaveFeedback2");
}

// The selection covers several rows and the press at `row` falls inside it, in column 2.
bool pressInsideMultiRowSelection(const ItemGridModel& g, int row) {
    if (g.Row() == g.RowSel()) return false;
    const int first = std::min(g.Row(), g.RowSel());
    const int last = std::min<int>(std::max(g.Row(), g.RowSel()), GridRowCount);
    return row >= first && row <= last && g.Col() == kColDescription && g.ColSel() == kColDescription;
}

}  // namespace

bool Web_Address(const std::string& address) {
    const std::string a = vb::LCase(vb::Left(address, 8));
    return vb::Left(a, 7) == "http://" || a == "https://";
}

void Get_GridSelection() {
    ItemGridModel& g = ItemGrid();
    SelectionFirstRow = SelectionLastRow = SelectionKind = 0;
    if (g.Col() != g.ColSel()) g.setColSel(g.Col());
    if (g.Row() != g.RowSel()) {
        SelectionFirstRow = static_cast<int16_t>(std::min(g.Row(), g.RowSel()));
        SelectionLastRow = static_cast<int16_t>(std::max(g.Row(), g.RowSel()));
        if (SelectionFirstRow > GridRowCount || SelectionFirstRow < 1) return;
        if (SelectionLastRow > GridRowCount) {
            SelectionLastRow = GridRowCount;
            g.setRow(SelectionFirstRow);
            g.setRowSel(SelectionLastRow);
            SelectionKind = SelectionFirstRow == SelectionLastRow ? 1 : 2;
        } else {
            SelectionKind = 2;
        }
        return;
    }
    if (g.Row() < 1 || g.Row() > GridRowCount) return;  // the header or an empty row
    SelectionFirstRow = SelectionLastRow = static_cast<int16_t>(g.Row());
    SelectionKind = 1;
}

void ItemGrid_Click() {
    ItemGridModel& g = ItemGrid();
    if (GridViewMode == 2) {
        if (g.Col() == kColItemNumber && g.Row() >= 1 && static_cast<size_t>(g.Row()) <= SellerFeedbackItems.size())
            TLMainLink::itemNumberBox().setItemNumberText(SellerFeedbackItems[static_cast<size_t>(g.Row()) - 1]);
        return;
    }
    if (GridViewMode == 1) return;

    if (GridClickSource == 2 && g.MouseRow == 0) {
        if (g.MouseCol == kColAlarm) {
            for (int r = 1; r <= GridRowCount; ++r) alarmOff(r);
            Save_Auction_Items();
            GridClickSource = 0;
            g.setRow(1);
            g.repaintGrid();
        } else {
            GridClickSource = 0;
        }
        return;
    }
    if (AlarmHighlightOn) {
        AlarmHighlightOn = 0;
        for (int c = 1; c <= 8; ++c) g.setCellBackColor(AlarmHighlightRow, c, AlarmHighlightColor);
        g.setCol(kColItemNumber);
        g.repaintGrid();
        return;
    }
    if (TLMainState::SoundPlaying == -1) TLMainState::SoundPlaying = 0;
    if (TLMainState::DownloadBusy || TLMainState::UpdateBusy) {
        setStatus(kBusy);
        return;
    }
    Get_GridSelection();
    if (SelectionKind == 0) return;
    SelectedRow = SelectionFirstRow;

    switch (g.Col()) {
        case kColAlarm:
            if (SelectionKind == 1) {
                const AuctionItem* item = itemOfRow(SelectedRow);
                if (item && !item->AlarmSetting.empty())
                    alarmOff(SelectedRow);
                else
                    alarmOn(SelectedRow);
            } else {
                for (int r = SelectionFirstRow; r <= SelectionLastRow; ++r) alarmOn(r);
            }
            Save_Auction_Items();
            break;
        case kColMyBid:
            if (UserState::CurrentUserID.empty()) {
                setStatus(kNoUserForBid);
                break;
            }
            GridRestoreRow = SelectionFirstRow;
            GridClickColumn = static_cast<int16_t>(g.Col());
            if (const AuctionItem* item = itemOfRow(SelectedRow)) {
                TLMainLink::itemNumberBox().setItemNumberText(item->ItemNumber);
                if (item->ListingType != "BIN") itemWindows().showBidForm();
            }
            break;
        case kColDescription:
            if (GridClickSource == 1)
                showDetails(g.Row());
            else if (GridClickSource == 2 && g.MouseCol == kColDescription)
                openPopupAfterRightClick();
            break;
        default:
            break;
    }
}

void Program_Click() {
    // The refresh's flag is set again however the click ends.
    struct Paused {
        int16_t was = TLMainState::UpdateBusy;
        Paused() { TLMainState::UpdateBusy = 0; }
        ~Paused() { TLMainState::UpdateBusy = was; }
    } paused;
    GridClickSource = 1;
    ItemGrid_Click();
}

void ItemGrid_MouseDown(int Button, int Shift, long X, long Y) {
    if (GridViewMode > 0) return;
    ItemGridModel& g = ItemGrid();
    MouseDownX = X;
    MouseDownY = Y;
    GridMouseDown = 1;
    if (Photo_Shown(0)) {
        if (Button == kMiddleButton) return;
        Hide_Item_Photo(0);
    }
    const int row = g.MouseRow, col = g.MouseCol;

    if (Button == kRightButton && row == 0) {
        GridClickSource = 2;
        ItemGrid_Click();  // the header's right click acts at once
        return;
    }
    bool clickFollows = false;
    if (Button == kRightButton && (row < 0 || col < 0)) return;  // no cell under the mouse
    if (Button == kRightButton) {
        switch (col) {
            case kColDescription:
                Set_Item_Popup_Captions(false);
                if (pressInsideMultiRowSelection(g, row)) {
                    GridClickSource = 0;
                    Set_Item_Popup_Captions(true);
                    Show_Item_Popup();
                    return;
                }
                g.setCol(kColDescription);
                g.setRow(row);
                GridClickSource = 1;
                ItemGrid_Click();
                clickFollows = true;
                break;
            case kColAlarm:
                g.setCol(kColAlarm);
                g.setRow(row);
                itemLink<AlarmDialog>().showAlarmDialog();
                break;
            case kColEnds:
                if (!Shift) break;
                g.setCol(kColEnds);
                g.setRow(row);
                if (AuctionItem* item = itemOfRow(row)) {
                    item->AlarmState = std::to_string(static_cast<long>(vb::Val(item->AlarmState)) & 14);
                    g.setCellBackColor(row, kColEnds, g.CellBackColor(row, kColDescription));
                    Save_Auction_Items();
                }
                return;
            case kColShipping: {
                g.setRow(row);
                AuctionItem* item = itemOfRow(row);
                if (!item) return;
                const std::string shipping = platform::InputBox("Edit shipping costs.", "Shipping Costs", item->Shipping);
                if (!shipping.empty()) {
                    item->Shipping = shipping;
                    g.setTextMatrix(row, kColShipping, shipping);
                    Save_Auction_Items();
                }
                return;
            }
            case kColItemNumber:
            case kColMyBid:
            case kColBids:
            case kColRemaining:
                g.setRow(row);
                g.setCol(col);
                GridClickSource = 1;
                ItemGrid_Click();
                return;
            default:
                break;
        }
    }
    if (Button == kLeftButton && col == kColHighBid && BidHistoryShown) HoverOff = HoverOff ? 0 : 1;
    GridClickSource = static_cast<int16_t>(Button);
    GridClickShift = static_cast<int16_t>(Shift);
    if (clickFollows) ItemGrid_Click();  // the popup of a right press on one row
}

void ItemGrid_DblClick() {
    ItemGridModel& g = ItemGrid();
    if (GridViewMode == 1) {
        // A row opens its leave page from any of its columns; the caption of column 1 opens the
        // page of every feedback still to leave.
        const int row = g.MouseRow;
        if (row == 0) {
            if (g.MouseCol == kColItemNumber) openFeedbackPage(allFeedbackAddress());
        } else if (row >= 1 && static_cast<size_t>(row) <= FeedbackLinks.size())
            openFeedbackPage(FeedbackLinks[static_cast<size_t>(row) - 1]);
        return;
    }
    if (g.MouseRow == 0) return;  // a caption: only the feedback list's opens anything
    if (GridViewMode == 2) {
        if (g.Col() == kColItemNumber && g.Row() >= 1 && static_cast<size_t>(g.Row()) <= SellerFeedbackItems.size()) {
            TLMainLink::itemNumberBox().setItemNumberText(SellerFeedbackItems[static_cast<size_t>(g.Row()) - 1]);
            itemLink<BrowserViews>().ViewEbayItem();
        }
        return;
    }
    if (g.Col() != kColDescription || g.Row() < 1 || g.Row() > GridRowCount) return;
    const AuctionItem* item = itemOfRow(g.Row());
    if (!item) return;
    // An ended item's result: a click near the start of its description shows the bid's answer page.
    const bool ended = Bid_Outcome(*item) != BidOutcome::Open;
    if (ended && MouseDownX < g.ScreenColWidth(0) + g.ScreenColWidth(1) + 195) {
        itemLink<BrowserViews>().MnuSubPopupBidResults_Click();
        return;
    }
    SelectedRow = static_cast<int16_t>(g.Row());
    TLMainLink::itemNumberBox().setItemNumberText(item->ItemNumber);
    setStatus(item->CommentText);
    itemLink<BrowserViews>().ViewEbayItem();
}

void ItemNumBox_DblClick() { TLMainLink::itemNumberBox().setItemNumberText(""); }

void SelectItem(const std::string& Category, int ItemIndex) {
    if (TLMainState::DownloadBusy || TLMainState::UpdateBusy) {
        setStatus(kBusy);
        return;
    }
    const auto it = std::find(CategoryNames.begin(), CategoryNames.end(), Category);
    if (it == CategoryNames.end()) return;  // no such category: nothing changes
    MnuSubSelectAucCat_Click(static_cast<int>(it - CategoryNames.begin()));
    ItemGridModel& g = ItemGrid();
    for (size_t r = 1; r < ItemOrder.size(); ++r) {
        if (ItemOrder[r] != ItemIndex) continue;
        SelectedRow = static_cast<int16_t>(r);
        if (const AuctionItem* item = Item_At(ItemIndex)) TLMainLink::itemNumberBox().setItemNumberText(item->ItemNumber);
        g.setRow(static_cast<int>(r));
        g.setCol(kColDescription);
        AlarmHighlightRow = static_cast<int16_t>(r);
        AlarmDisplayTicks = 0;
        AlarmDisplayCount = 0;
        AlarmHighlightColor = g.CellBackColor(static_cast<int>(r), kColDescription);
        return;
    }
}

}  // namespace TLMainItems
