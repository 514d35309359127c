#include "bidding/deferred_requests.h"

#include "bidding/bid_engine_links.h"
#include "bidding/bid_scheduler.h"
#include "bidding/end_of_auction.h"
#include "foundation/bid_engine_state.h"
#include "foundation/busy_holds.h"
#include "foundation/main_window_link.h"
#include "items/auction_item.h"
#include "platform/timers.h"

namespace TLMainBids {
namespace {

struct Slot {
    platform::Timer* scanItems = nullptr;
    platform::Timer* requestHandler = nullptr;
    TLMainState::BusyHold hold;  // taken when the request was filed, handed to its work
};
Slot& slot() {
    static auto* s = new Slot();
    return *s;
}

void enableRequestHandler() {
    if (platform::Timer* t = slot().requestHandler) {
        t->setInterval(kRequestHandlerIntervalMs);
        t->setEnabled(true);
    }
}

void emptySlot(const char* name) {
    if (TLMainState::PendingRequest == name) TLMainState::PendingRequest.clear();
}

}  // namespace

void Attach_Bid_Timers(platform::Timer* scanItems, platform::Timer* requestHandler) {
    Slot& s = slot();
    s.scanItems = scanItems;
    s.requestHandler = requestHandler;
    if (scanItems) {
        scanItems->setHandler([] {
            ScanItems_Timer();
            Realign_Scan_Timer();
        });
        scanItems->setPrecise(true);
        scanItems->setInterval(kScanItemsIntervalMs);
    }
    if (requestHandler) {
        requestHandler->setHandler(RequestHandler_Timer);
        requestHandler->setInterval(kRequestHandlerIntervalMs);
    }
}

void Enable_Bid_Scheduler() {
    if (platform::Timer* t = slot().scanItems) {
        t->setInterval(Ms_To_Next_Scan(Program_Now_Ms()));
        t->setEnabled(true);
    }
}

int Ms_To_Next_Scan(qint64 nowMs) {
    const qint64 into = ((nowMs % kScanItemsIntervalMs) + kScanItemsIntervalMs) % kScanItemsIntervalMs;
    return static_cast<int>(kScanItemsIntervalMs - into);
}

void Realign_Scan_Timer() {
    platform::Timer* t = slot().scanItems;
    if (!t || !t->enabled()) return;
    t->setInterval(Ms_To_Next_Scan(Program_Now_Ms()));
}

void Detach_Bid_Timers() {
    Slot& s = slot();
    if (s.scanItems) s.scanItems->setEnabled(false);
    if (s.requestHandler) s.requestHandler->setEnabled(false);
    s.scanItems = nullptr;
    s.requestHandler = nullptr;
}

bool Request_Slot_Empty() { return TLMainState::PendingRequest.empty(); }

void File_Request(const std::string& name) {
    if (!Request_Slot_Empty()) return;
    if (name == "DoUpdateItems") slot().hold = TLMainState::BusyHold(TLMainState::UpdateBusy);
    TLMainState::PendingRequest = name;
    enableRequestHandler();
}

void File_Update_Bid_Request(int index) {
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(index);
    if (!item || !Request_Slot_Empty()) return;
    slot().hold = TLMainState::BusyHold(TLMainState::DownloadBusy);
    TLMainState::PendingRequest = "DoUpdateBid";
    TLMainState::PendingRequestItem = static_cast<int16_t>(index);
    PendingRequestItemNumber = item->ItemNumber;
    enableRequestHandler();
}

void RequestHandler_Timer() {
    if (platform::Timer* t = slot().requestHandler) t->setEnabled(false);  // one run per request
    const std::string request = TLMainState::PendingRequest;
    TLMainState::BusyHold hold = std::move(slot().hold);
    if (request == "DoAddItem") {
        bidLink<DeferredOperations>().Add_Auction_Item();
        emptySlot("DoAddItem");
    } else if (request == "DoUpdateBid") {
        // The update runs on its own requests; the slot keeps its name until the last step.
        UpdateBid(PendingRequestItemNumber, std::move(hold), [] { emptySlot("DoUpdateBid"); });
    } else if (request == "DoUpdateItems") {
        bidLink<DeferredOperations>().UpdateItems();
        hold.release();
        emptySlot("DoUpdateItems");
    } else {
        TLMainState::PendingRequest.clear();
    }
}

void ResetDeferredRequestsForTests() {
    slot().hold = TLMainState::BusyHold();
    TLMainState::PendingRequest.clear();
    TLMainState::PendingRequestItem = 0;
    PendingRequestItemNumber.clear();
}

}  // namespace TLMainBids
