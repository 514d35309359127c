#include "account/feedback_grid.h"

#include <algorithm>
#include <initializer_list>

#include "account/feedback_to_leave.h"
#include "account/seller_feedback.h"
#include "foundation/config_store.h"
#include "foundation/vb.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_window_links.h"

namespace TLMainAccount {
namespace {

// Room the grid keeps beside its columns (the scroll bar), twips.
constexpr long kGridMargin = 330;
// A feedback view's rows: the header, the entries and three more.
constexpr int kExtraRows = 3;

struct Column {
    const char* header;
    long width;  // -1: the rest
    int headerAlign;
    int cellAlign;
};

void layOut(TLMainItems::ItemGridModel& g, std::initializer_list<Column> columns) {
    int c = 0, rest = -1;
    long fixed = 0;
    for (const Column& col : columns) {
        g.setTextMatrix(0, c, col.header);
        if (col.width < 0) {
            rest = c;
        } else {
            g.setColWidth(c, col.width);
            fixed += col.width;
        }
        g.setHeaderAlignment(c, col.headerAlign);
        g.setColAlignment(c, col.cellAlign);
        ++c;
    }
    for (; c < TLMainItems::kGridCols; ++c) g.setColWidth(c, 0);
    if (rest >= 0)
        g.setColWidth(rest, std::max(g.ColumnTwips(g.Area.width - kGridMargin) - fixed, TLMainItems::kRestColumnMinimum));
}

}  // namespace

void Load_Feedback_Grid() {
    using namespace TLMainItems;
    ItemGridModel& g = ItemGrid();
    g.Clear();
    switch (GridViewMode) {
        case 0: {
            itemLink<ItemWindow>().setSellerLabel("Seller:");
            Set_Up_Item_Columns();
            long others = 0;
            for (int c = 0; c < kGridCols; ++c)
                if (c != kColDescription) others += g.ColWidth(c);
            g.setColWidth(kColDescription, std::max(g.ColumnTwips(g.Area.width - kGridMargin) - others, kRestColumnMinimum));
            break;
        }
        case 1:
            itemLink<ItemWindow>().setSellerLabel("");
            g.setRows(static_cast<int>(modFeedback::FeedbackList.size()) + kExtraRows);
            g.setRowHeight(kGridRowHeight);
            g.setHeaderBold(false);
            layOut(g, {{"Item #", 1350, 3, 3}, {"User ID", 1350, 3, 3}, {"Date", 1000, 3, 3},
                       {"Item Description", -1, 3, 0}});
            break;
        case 2:
            itemLink<ItemWindow>().setSellerLabel("");
            g.setRows(static_cast<int>(modFeedback::SellerFeedbackList.size()) + kExtraRows);
            g.setRowHeight(650);
            g.setHeaderBold(true);
            layOut(g, {{"\r\n\r\nF", 250, ItemGridModel::kNoAlignment, ItemGridModel::kNoAlignment},
                       {"Seller Item Feedback Analyzer\r\n\r\nComment/Title", -1, 3, 0},
                       {"\r\n\r\nUser/Price", 2200, 3, 3},
                       {"\r\n\r\nDate", 1500, 3, 3}});
            break;
        default: break;
    }
}

}  // namespace TLMainAccount
