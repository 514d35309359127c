#include "items/item_grid.h"

#include <QDateTime>
#include <algorithm>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/bid_outcome.h"
#include "items/bid_status.h"
#include "items/categories.h"
#include "items/grid_clicks.h"
#include "items/item_grid_model.h"
#include "items/item_window_links.h"
#include "items/remaining_time.h"
#include "platform/locale_info.h"
#include "service/page_parser.h"

namespace TLMainItems {
namespace {

// The grid is hidden while it is filled and shown once at the end, whatever happens between.
class HiddenWhileFilled {
public:
    explicit HiddenWhileFilled(ItemGridModel& g) : m_grid(g) { m_grid.setVisible(false); }
    ~HiddenWhileFilled() { show(); }
    void show() {
        if (m_hidden) m_grid.setVisible(true);
        m_hidden = false;
    }

private:
    ItemGridModel& m_grid;
    bool m_hidden = true;
};

std::string descriptionOf(const AuctionItem& item, int& picture) {
    picture = 0;
    switch (Bid_Outcome(item)) {
        case BidOutcome::Won: return item.Title;
        case BidOutcome::Lost: picture = kPicLost; return vb::Space(5) + item.Title;
        case BidOutcome::NotConfirmed: picture = kPicUnconfirmed; return vb::Space(5) + item.Title;
        case BidOutcome::NeverPlaced: picture = kPicNeverPlaced; return vb::Space(5) + item.Title;
        case BidOutcome::Open: break;
    }
    if (item.AfterBidOptions == "0") return item.Title;
    if (item.AfterBidOptions == "1") {
        picture = kPicMail;
        return vb::Space(3) + item.Title;
    }
    if (item.AfterBidOptions == "2") {
        picture = kPicSleep;
        return vb::Space(3) + item.Title;
    }
    if (item.AfterBidOptions == "3") {
        picture = kPicMailSleep;
        return vb::Space(6) + item.Title;
    }
    return {};
}

std::string endsText(const AuctionItem& item, bool dayName) {
    if (!dayName) return item.EndTime;
    static const QTimeZone anyZone = QTimeZone::utc();  // the day of the date as written
    const auto end = Read_End_Time(item.EndTime, anyZone);
    if (!end) return item.EndTime;  // no date, no day name
    const QString day = platform::userLocale().dayName(end->date().dayOfWeek(), QLocale::ShortFormat);
    return day.toStdString() + ", " + item.EndTime;
}

RowEnd rowEndOf(const AuctionItem& item) {
    RowEnd e;
    if (item.EndTime == kNoEndDate) {
        e.kind = RowEnd::Kind::NoEndDate;
    } else if (const auto end = End_Moment_Ms(item.EndTime)) {
        e.kind = RowEnd::Kind::Known;
        e.endMs = *end;
    } else {
        e.kind = RowEnd::Kind::Unreadable;
    }
    return e;
}

void fillRow(ItemGridModel& g, int r, int i, bool dayName) {
    const AuctionItem& item = Items[static_cast<size_t>(i)];
    if (RowEnds.size() <= static_cast<size_t>(r)) RowEnds.resize(static_cast<size_t>(r) + 1);
    const RowEnd& end = RowEnds[static_cast<size_t>(r)] = rowEndOf(item);
    if (!item.AlarmSetting.empty()) g.setCellPicture(r, kColAlarm, kPicAlarm);
    g.setTextMatrix(r, kColItemNumber, item.ItemNumber);
    int picture = 0;
    const std::string description = descriptionOf(item, picture);
    if (!description.empty() || picture) g.setTextMatrix(r, kColDescription, description);
    if (picture) g.setCellPicture(r, kColDescription, picture);
    g.setTextMatrix(r, kColHighBid, item.CurrentPrice);
    if (item.ReserveFlag >= 1) g.setCellPicture(r, kColHighBid, kPicReserve);
    g.setTextMatrix(r, kColMyBid, item.ListingType == "BIN" ? "BIN" : modPageParser::Localize_Amount(item.MaxBid));
    g.setTextMatrix(r, kColBids, item.BidCount);
    g.setTextMatrix(r, kColRemaining, Time_Left_Text(Row_Seconds_Left(end, Program_Now_Secs()), item.ResultDone == "1"));
    g.setTextMatrix(r, kColEnds, endsText(item, dayName));
    if (item.GroupLock == 1) {
        g.setCellPicture(r, kColGroup, kPicHeld);
        g.setTextMatrix(r, kColGroup, vb::Space(2) + item.BidGroup);
    } else {
        g.setTextMatrix(r, kColGroup, item.BidGroup);
    }
    g.setTextMatrix(r, kColShipping, item.Shipping);
}

// The items the grid had selected before a load, by number (the grid's own "Item #" cells): the
// item of GridRestoreRow and, when the selection ran over several rows from that row, each
// item of the range, top to bottom.
struct SelectedItems {
    std::string restore;
    std::vector<std::string> range;  // empty for one row
    bool restoreAtTop = true;        // the restore row was the range's first, not its last
};

SelectedItems selectedItems(const ItemGridModel& g) {
    SelectedItems s;
    if (GridRestoreRow < 1 || GridRestoreRow > GridRowCount) return s;
    s.restore = g.TextMatrix(GridRestoreRow, kColItemNumber);
    if (g.Row() != GridRestoreRow || g.RowSel() == g.Row()) return s;
    const int first = std::min(g.Row(), g.RowSel());
    const int last = std::min<int>(std::max(g.Row(), g.RowSel()), GridRowCount);
    for (int r = first; r <= last; ++r) s.range.push_back(g.TextMatrix(r, kColItemNumber));
    s.restoreAtTop = g.Row() == first;
    return s;
}

const std::string& numberOfRow(int row) {
    static const std::string none;
    const AuctionItem* item = Item_At(Item_Of_Row(row));
    return item ? item->ItemNumber : none;
}

// The row that now shows the item of this number; 0 when it is not on show.
int rowOfNumber(const std::string& number) {
    if (number.empty()) return 0;
    for (int r = 1; r <= GridRowCount; ++r)
        if (numberOfRow(r) == number) return r;
    return 0;
}

// Selects the same items again after the rows moved. A range comes back only where its items
// still stand together in the same order with nothing between them; otherwise the restore item
// alone. False when that item is gone.
bool reselect(ItemGridModel& g, const SelectedItems& s) {
    const int row = rowOfNumber(s.restore);
    if (row == 0) return false;
    g.setRow(row);
    g.setCol(kColDescription);
    if (s.range.size() < 2) return true;
    const int top = s.restoreAtTop ? row : row - static_cast<int>(s.range.size()) + 1;
    for (size_t k = 0; k < s.range.size(); ++k)
        if (numberOfRow(top + static_cast<int>(k)) != s.range[k]) return true;
    g.setRowSel(s.restoreAtTop ? top + static_cast<int>(s.range.size()) - 1 : top);
    return true;
}

}  // namespace

void Set_Up_Item_Columns() {
    ItemGridModel& g = ItemGrid();
    g.Clear();
    g.setRows(5);
    g.setRowHeight(kGridRowHeight);
    g.setHeaderBold(false);
    const long mask =
        vb::CLng(vb::Val(modTLC::Get_Config_Value("Options", "Columns", kDefaultColumnsText))) & 0xFFFF;
    const auto width = [](int col) {
        const std::string def = std::to_string(kItemColumnWidths[col]);
        const std::string v = modTLC::Get_Config_Value("Options", "ColWidth" + std::to_string(col), def);
        return vb::IsNumeric(v) ? vb::CLng(v) : kItemColumnWidths[col];
    };
    g.setColWidth(0, (mask & 1) ? kItemColumnWidths[0] : 0);
    g.setColWidth(1, (mask & 2) ? kItemColumnWidths[1] : 0);
    g.setColWidth(3, width(3));
    g.setColWidth(4, width(4));
    g.setColWidth(5, width(5));
    g.setColWidth(7, (mask & 4) ? width(7) : 0);
    g.setColWidth(6, (mask & 8) ? width(6) : 0);
    g.setColWidth(8, (mask & 16) ? width(8) : 0);
    g.setColWidth(9, (mask & 32) ? width(9) : 0);
    for (int c = 0; c < kGridCols; ++c) {
        g.setHeaderAlignment(c, 3);
        g.setColAlignment(c, c == kColDescription || c == kColGroup ? 0 : 3);
    }
}

bool Column_Adjustable(int col) {
    return GridViewMode == 0 && (col == kColDescription || (col >= kFirstAdjustableCol && col < kGridCols));
}

long Description_Least_Width() {
    const std::string v = modTLC::Get_Config_Value("Options", "ColWidth2", std::to_string(kDescriptionMinimum));
    return std::max(vb::IsNumeric(v) ? vb::CLng(v) : kDescriptionMinimum, kDescriptionMinimum);
}

void Column_Dragged(int col, long twips) {
    if (!Column_Adjustable(col) || twips <= 0) return;
    if (col == kColDescription) twips = std::max(twips, kDescriptionMinimum);
    ItemGrid().setColWidth(col, twips);
    modTLC::Set_Config_Value("Options", "ColWidth" + std::to_string(col), std::to_string(twips));
    itemLink<ItemWindow>().ResizeWindow();
}

void Load_ItemGrid() {
    if (GridViewMode > 0) return;
    const Time_Snapshot now;  // the clock read once for every row
    ItemGridModel& g = ItemGrid();
    // The rows may come back in another order: the selection follows its items, not their rows.
    const SelectedItems selected = selectedItems(g);

    g.Clear();
    GridRowCount = 0;
    ItemOrder.assign(1, 0);
    RowEnds.assign(1, RowEnd{});
    for (int c = 0; c < kGridCols; ++c) g.setTextMatrix(0, c, kGridCaptions[c]);

    const std::string category = Current_Category_Name();
    int inCategory = 0;
    for (int i = 1; i <= ItemCount; ++i)
        if (Items[static_cast<size_t>(i)].Category == category) ++inCategory;
    g.setRows(inCategory + 4);

    const bool userOnly = vb::Val(modTLC::Get_Config_Value("Options", "ShowUserItemsOnly", "0")) == 1;
    const bool dayName = Config_True("Options", "DayofWeek", true);
    {
        HiddenWhileFilled hidden(g);
        for (int i = 1; i <= ItemCount; ++i) {
            const AuctionItem& item = Items[static_cast<size_t>(i)];
            if (item.Category != category) continue;
            if (userOnly && item.UserID != UserState::CurrentUserID) continue;
            const int r = ++GridRowCount;
            ItemOrder.push_back(i);
            fillRow(g, r, i, dayName);
            Update_Bid_Status(i, r, false);
        }
        hidden.show();
    }
    g.setTopRow(1);

    if (GridRowCount < 1) {
        g.setRow(0);
        g.setCol(0);
        TLMainLink::itemNumberBox().setItemNumberText("");
        itemLink<ItemWindow>().setSellerLabel("Seller:");
    } else {
        // Only when the selected item is gone does the row count: the item now on it, or for a
        // restore row past the grid's end its last (empty) row, where no item is clicked.
        if (!reselect(g, selected)) {
            if (!g.setRow(GridRestoreRow >= 1 ? GridRestoreRow : 1)) g.setRow(g.Rows() - 1);
            g.setCol(kColDescription);
        }
        Program_Click();
    }
    itemLink<ItemWindow>().ResizeWindow();
}

int64_t Row_Seconds_Left(const RowEnd& end, int64_t nowSecs) {
    switch (end.kind) {
        case RowEnd::Kind::Known: return std::max<int64_t>(end.endMs / 1000 - nowSecs, -1);
        case RowEnd::Kind::NoEndDate: return kNoEndLeft;
        default: return kUnknownLeft;
    }
}

void Fill_Item_Row(int row, int index) {
    ItemGridModel& g = ItemGrid();
    if (!Item_At(index) || row < 1 || row >= g.Rows()) return;
    for (int c = 0; c < kGridCols; ++c) {  // what the row showed before goes
        g.setTextMatrix(row, c, "");
        g.setCellPicture(row, c, 0);
    }
    fillRow(g, row, index, Config_True("Options", "DayofWeek", true));
}

std::string Grid_Picture_Tip(int picture) {
    if (picture == kPicUnconfirmed) return kUnconfirmedTip;
    if (picture == kPicNeverPlaced) return kNeverPlacedTip;
    return {};
}

int Item_Of_Row(int row) {
    return row >= 1 && row <= GridRowCount && static_cast<size_t>(row) < ItemOrder.size()
               ? static_cast<int>(ItemOrder[static_cast<size_t>(row)])
               : 0;
}

void ResetItemGridForTests() {
    GridViewMode = 0;
    GridRowCount = 0;
    ItemOrder.assign(1, 0);
    RowEnds.assign(1, RowEnd{});
    SelectionFirstRow = SelectionLastRow = SelectionKind = SelectedRow = 0;
    GridRestoreRow = GridClickSource = GridClickShift = GridClickColumn = 0;
    AlarmHighlightRow = 0;
    AlarmHighlightColor = 0;
    AlarmHighlightOn = 0;
    AlarmDisplayTicks = AlarmDisplayCount = 0;
    CommentShownFlag = 0;
    MouseDownX = MouseDownY = GridMouseDown = 0;
    HoverOff = 0;
    FeedbackLinks.clear();
    SellerFeedbackRows = 0;
    SellerFeedbackItems.clear();
}

}  // namespace TLMainItems
