// deferred_requests.h — the one-slot deferred request and the main window's RequestHandler timer.
//
// The scheduler does not run long work inside its tick: it writes the request into the slot
// (TLMainState::PendingRequest, with PendingRequestItem for "DoUpdateBid") and enables the
// one-shot RequestHandler timer, which runs it about 100 ms later. The slot names the request
// until its work has ended — for "DoUpdateBid", until the update's last step, however long its
// downloads take — and the scheduler fills only an empty slot, so no request is lost and no
// result update is asked for twice.
//
// Filing a result update takes a hold on DownloadBusy, filing a refresh one on UpdateBusy; the
// work they start gives the hold back once its downloads are over.
#pragma once

#include <QtGlobal>
#include <string>

namespace platform {
class Timer;
}

namespace TLMainBids {

inline constexpr int kRequestHandlerIntervalMs = 100;

// The number of the item a "DoUpdateBid" request is about: the update finds the item by it.
inline std::string PendingRequestItemNumber;

// The main window's timers: ScanItems runs the scheduler, RequestHandler the deferred requests.
// Sets their handlers and intervals; both stay disabled until enabled.
void Attach_Bid_Timers(platform::Timer* scanItems, platform::Timer* requestHandler);
// Enables ScanItems (the heartbeat's first tick, or the main window's load until there is one).
void Enable_Bid_Scheduler();
// ScanItems ticks on a grid of 250 ms that starts on the program clock's whole second, so the tick
// that places a bid comes at the start of its second on every boot. Each tick sets the time to the
// next grid point; a change of the clock or of its offset calls this to put the grid back.
void Realign_Scan_Timer();
// Milliseconds from `nowMs` (program clock) to the next point of that grid.
int Ms_To_Next_Scan(qint64 nowMs);
// Forgets the timers (the main window unloads).
void Detach_Bid_Timers();

bool Request_Slot_Empty();
// Fills the empty slot with "DoAddItem" or "DoUpdateItems" (the latter holding UpdateBusy) and
// enables RequestHandler.
void File_Request(const std::string& name);
// Fills the empty slot with "DoUpdateBid" for item `index`, holding DownloadBusy, and enables
// RequestHandler.
void File_Update_Bid_Request(int index);

// The RequestHandler timer's event: runs the request in the slot once.
void RequestHandler_Timer();

void ResetDeferredRequestsForTests();

}  // namespace TLMainBids
