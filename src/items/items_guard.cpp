#include "items/items_guard.h"

#include "foundation/main_window_link.h"
#include "items/auction_item.h"

namespace TLMainItems {

bool Items_Busy() {
    using namespace TLMainState;
    if (DownloadBusy || UpdateBusy || SelectedUpdateBusy) return true;
    for (int i = 1; i <= ItemCount; ++i) {
        const AuctionItem* item = Item_At(i);
        if (item && (item->BidStatus == "Validating Bid" || item->BidStatus == "Placing Bid")) return true;
    }
    return false;
}

bool Refuse_When_Items_Busy() {
    if (!Items_Busy()) return false;
    TLMainLink::statusLine().setStatus(kBusyDownload);
    return true;
}

}  // namespace TLMainItems
