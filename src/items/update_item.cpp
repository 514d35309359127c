#include "items/update_item.h"

#include <string>
#include <vector>

#include "foundation/busy_holds.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/item_refresh.h"
#include "items/item_store.h"
#include "items/items_guard.h"
#include "items/remaining_time.h"
#include "items/update_items.h"
#include "platform/clock.h"
#include "service/page_parser.h"

namespace TLMainItems {
namespace {

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

// The numbers of the items in the selected rows, top to bottom.
std::vector<std::string> selectedNumbers(const GridSelection& selection) {
    std::vector<std::string> numbers;
    if (selection.kind == 0) return numbers;
    for (int r = selection.first; r <= selection.last; ++r)
        if (const AuctionItem* item = Item_At(itemGrid().itemIndexOfRow(r))) numbers.push_back(item->ItemNumber);
    return numbers;
}

// Refreshes the selected items; the failure text when a page could not be had, else "".
std::string refreshRows(const std::vector<std::string>& numbers) {
    for (const std::string& number : numbers) {
        const int i = FindItemIndex(number);
        const AuctionItem* item = Item_At(i);
        if (!item) continue;  // deleted meanwhile
        const int row = Row_Of_Item(i);
        itemGrid().setSelectedRow(row);
        itemGrid().showRowSelected(row);
        status("Updating Item " + number + " in " + item->Category);

        if (Download_Item_Page(number) != "OK") return kUpdateFailed;
        const std::string html = modPageParser::PageHTML;
        if (html.empty()) return TLMainState::CancelUpdate ? kSelectedUpdateCancelled : kUpdateFailed;

        const int now = FindItemIndex(number);
        AuctionItem* it = Item_At(now);
        if (!it) continue;
        const PageValues values = Read_Page_Values(html, it->EndTime);
        if (!values.itemPage) {
            Pass_Over_No_Item_Page(number);
            continue;
        }
        const int alerts = Store_Page_Values(*it, values, false);
        const int shown = Row_Of_Item(now);
        if (shown) itemGrid().refreshItemRow(shown);
        Update_Bid_Status(now, shown, false);
        Get_Remaining_Secs(now);
        if (RemainingKnown && RemainingSecs < 1) it->ResultDone = "1";
        Play_Alerts(alerts);
    }
    return {};
}

}  // namespace

namespace {

void refreshItems(const std::vector<std::string>& numbers) {
    const int restoreRow = itemGrid().restoreRow();
    TLMainState::BusyHold selected(TLMainState::SelectedUpdateBusy);
    const qint64 startMs = platform::clock().tickMs();
    try {
        const std::string failure = refreshRows(numbers);
        if (failure.empty()) {
            const double secs = static_cast<double>(platform::clock().tickMs() - startMs) / 1000.0;
            status("Update Completed - " + vb::FormatNumber(secs, "0.00") + " secs");
        } else {
            status(failure);
        }
    } catch (const std::exception& e) {
        status(e.what());
        Save_Auction_Items();
        selected.release();
        TLMainState::CancelUpdate = 0;
        return;
    }
    itemGrid().repaintGrid();
    Save_Auction_Items();
    selected.release();
    TLMainState::CancelUpdate = 0;
    itemGrid().setRestoreRow(restoreRow);
    if (restoreRow > 0) itemGrid().clickRow(restoreRow, true);
}

}  // namespace

void Update_Selected_Item() {
    if (Refuse_When_Items_Busy()) return;
    if (itemGrid().gridRowCount() == 0) return;
    const GridSelection selection = itemGrid().gridSelection();
    if (selection.kind == 0) return;
    refreshItems(selectedNumbers(selection));
}

void Update_Items_By_Number(const std::vector<std::string>& itemNumbers) {
    if (Refuse_When_Items_Busy()) return;
    refreshItems(itemNumbers);
}

}  // namespace TLMainItems
