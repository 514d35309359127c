#include "items/update_items.h"

#include <string>
#include <vector>

#include "foundation/busy_holds.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/item_refresh.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/page_parser.h"

namespace TLMainItems {
namespace {

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

std::vector<std::string> itemNumbers() {
    std::vector<std::string> numbers;
    for (int i = 1; i <= ItemCount; ++i)
        if (const AuctionItem* item = Item_At(i)) numbers.push_back(item->ItemNumber);
    return numbers;
}

void reloadAutoUpdateCountdown() {
    TLMainState::AutoUpdateCountdown = TLMainState::AutoUpdateMinutes * 60;
}

// Waits, yielding, until the pace allows the next page: one interval after `startedMs`.
void keepPace(qint64 startedMs) {
    const qint64 left = startedMs + kUpdatePageIntervalMs - platform::clock().tickMs();
    if (left > 0) platform::timers().waitMs(left);
}

enum class RunEnd { Complete, Cancelled, Failed };

}  // namespace

void UpdateItems() {
    using namespace TLMainState;
    CancelUpdate = 0;
    reloadAutoUpdateCountdown();
    const int restoreRow = itemGrid().restoreRow();
    BusyHold updating(UpdateBusy);
    const qint64 startMs = platform::clock().tickMs();

    const long autoScope = Config_Number("Options", "AutoUpdateOpt", 0);
    if (ManualUpdateRequest) {
        ManualUpdateRequest = 0;
        status("Updating Auction Items - Manual");
        UpdateScope = static_cast<int16_t>(Config_Number("Options", "ManualOption", 0) == 0 ? 0 : autoScope);
    } else {
        status("Updating Auction Items - Auto");
        UpdateScope = static_cast<int16_t>(autoScope);
    }
    const std::string category = itemGrid().currentCategory();
    const std::string boxNumber = vb::Trim(TLMainLink::itemNumberBox().itemNumberText());

    int count = 0;
    RunEnd end = RunEnd::Complete;
    for (const std::string& number : itemNumbers()) {
        const int i = FindItemIndex(number);
        AuctionItem* item = Item_At(i);
        if (!item) continue;  // deleted meanwhile
        if (UpdateScope == 1 && item->Category != category) continue;
        if (UpdateScope == 2 && item->ItemNumber != boxNumber) continue;
        if (item->EndTime == kNoEndDate) continue;
        Get_Remaining_Secs(i);
        const bool ended = RemainingKnown && RemainingSecs <= 0;
        if (ended && item->ResultDone == "1") continue;  // refreshed once after its end already

        const std::string itemCategory = item->Category;
        if (const int row = Row_Of_Item(i)) itemGrid().clickRow(row, false);  // the details follow
        status("Updating Item " + number + " in " + itemCategory);
        ++count;

        const qint64 started = platform::clock().tickMs();
        const std::string result = Download_Item_Page(number);
        const std::string html = modPageParser::PageHTML;
        keepPace(started);
        if (result != "OK" || (html.empty() && !CancelUpdate)) {
            status(kUpdateFailed);
            end = RunEnd::Failed;
            break;
        }
        if (html.empty()) {
            end = RunEnd::Cancelled;
            break;
        }

        const int now = FindItemIndex(number);
        if (AuctionItem* it = Item_At(now)) {
            const PageValues values = Read_Page_Values(html, it->EndTime);
            if (!values.itemPage) {
                Pass_Over_No_Item_Page(number);
            } else {
                const int alerts = Store_Page_Values(*it, values, TimeZoneShiftActive != 0);
                if (ended) it->ResultDone = "1";
                const int row = Row_Of_Item(now);
                if (row) itemGrid().refreshItemRow(row);
                Update_Bid_Status(now, row, true);
                Play_Alerts(alerts);
            }
        }
        if (CancelUpdate) {
            end = RunEnd::Cancelled;
            break;
        }
    }

    Save_Auction_Items();
    if (end == RunEnd::Cancelled) {
        CancelUpdate = 0;  // the stop is spent on this run
        status(kUpdateCancelled);
    } else if (end == RunEnd::Complete) {
        const double secs = static_cast<double>(platform::clock().tickMs() - startMs) / 1000.0;
        status("Update Completed - " + std::to_string(count) + " Items - " + vb::FormatNumber(secs, "0.00") + " secs");
    }
    reloadAutoUpdateCountdown();
    updating.release();
    itemGrid().setRestoreRow(restoreRow);
    if (end != RunEnd::Failed && restoreRow >= 1) itemGrid().clickRow(restoreRow, true);
}

void UpdateEndingTime() {
    using namespace TLMainState;
    CancelUpdate = 0;
    reloadAutoUpdateCountdown();
    BusyHold updating(UpdateBusy);
    for (const std::string& number : itemNumbers()) {
        const int i = FindItemIndex(number);
        const AuctionItem* item = Item_At(i);
        if (!item || item->EndTime == kNoEndDate) continue;
        Get_Remaining_Secs(i);
        if (RemainingKnown && RemainingSecs < 1) continue;  // ended
        status("Updating Item " + number + " in " + item->Category);
        if (Download_Item_Page(number) != "OK" || modPageParser::PageHTML.empty()) continue;
        modPageParser::Build_Page_Text();
        if (modPageParser::Get_Title_And_End() != "OK" || modPageParser::EndDateDisplay.empty()) continue;
        if (AuctionItem* it = Item_At(FindItemIndex(number))) it->EndTime = modPageParser::EndDateDisplay;
    }
    Save_Auction_Items();
    itemGrid().loadItemGrid();
    if (ManualEndTimeUpdate) {
        status("Ending Time Update Completed....");
    } else {
        status("Time Zone Change Update Completed....");
        modTLMain::Write_Op_Log("Time Zone Change Item Update Completed");
    }
}

}  // namespace TLMainItems
