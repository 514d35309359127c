#include "bidding/bid_scheduler.h"

#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "bidding/bid_engine_links.h"
#include "bidding/bid_validation.h"
#include "bidding/deferred_requests.h"
#include "bidding/dial_state.h"
#include "bidding/end_of_auction.h"
#include "foundation/bid_engine_state.h"
#include "foundation/clock_state.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/message_dialog.h"
#include "foundation/startup.h"
#include "foundation/system_info.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "platform/clock.h"
#include "platform/timers.h"

namespace TLMainBids {

using TLMainItems::AuctionItem;
using TLMainItems::Item_At;

namespace {

constexpr const char* kItemClosed = "Item Closed";
constexpr int kPhoneNotConnected = 17;
constexpr int kPhoneDialing = 18;
constexpr int kPhoneConnected = 19;
constexpr qint64 kWarningWaitMs = 1000;
constexpr int kWarningPollMs = 50;

// The end of an item, read once per change of its end time (and of the date order it is read in).
struct EndCache {
    std::string endTime;
    std::string dateFormat;
    long dateOrder = -1;
    bool read = false;
    bool known = false;
    qint64 endMs = 0;
};
std::vector<EndCache>& endCache() {
    static auto* cache = new std::vector<EndCache>();
    return *cache;
}

// Whole seconds of a time in milliseconds (rounded down, as the clock's seconds count).
qint64 wholeSeconds(qint64 ms) { return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000); }

std::optional<long> remainingAt(int index, qint64 nowSec) {
    const auto end = Item_End_Ms(index);
    if (!end) return std::nullopt;
    const qint64 secs = wholeSeconds(*end) - nowSec;
    return static_cast<long>(std::clamp<qint64>(secs, INT32_MIN, INT32_MAX));
}

bool configTrue(const char* section, const char* key, bool def) { return TLMainItems::Config_True(section, key, def); }

void playGeneralSound() {
    TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", "General", "General"), 1);
}

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

// ---- The one-minute warning ------------------------------------------------------------------------

// The rest of the warning once the list refresh has stopped, or a second has passed.
void finishMinuteWarning() {
    if (configTrue("Options", "ClockSet", true)) bidLink<ClockSync>().SetSysClock();
    status(kMinuteWarningText);
    if (configTrue("Options", "Sound", false)) playGeneralSound();
}

// Waits (on a timer, holding up nothing) for a running list refresh to stop, at most a second;
// the refresh keeps its own busy flag.
struct WarningWait {
    platform::Timer poll;
    qint64 startTick = 0;
    bool running = false;
};
WarningWait& warningWait() {
    static auto* w = new WarningWait();
    return *w;
}

void pollWarningWait() {
    WarningWait& w = warningWait();
    if (TLMainState::UpdateBusy && platform::clock().tickMs() - w.startTick < kWarningWaitMs) return;
    w.poll.setEnabled(false);
    w.running = false;
    finishMinuteWarning();
}

void giveMinuteWarning() {
    TLMainState::MinuteWarningGiven = -1;
    if (!TLMainState::UpdateBusy) {
        finishMinuteWarning();
        return;
    }
    TLMainState::CancelUpdate = -1;
    modTLMain::Write_Op_Log("Update Cancelled, Bid Pending....");
    WarningWait& w = warningWait();
    if (w.running) return;
    w.running = true;
    w.startTick = platform::clock().tickMs();
    w.poll.setHandler(pollWarningWait);
    w.poll.setInterval(kWarningPollMs);
    w.poll.setEnabled(true);
}

// ---- Missed bids ----------------------------------------------------------------------------------

std::string missedBidText(const std::string& number) {
    return "Warning! A scheduled bid was not placed for item " + number + "\r\n\r\n" +
           "The host computer or program may not have been on at bid time." + "\r\n\r\n" +
           "Check the program log for details. (Ctrl-O)";
}

// What the bid pass changed is saved once after it, however many items it closed: a first tick
// after a long absence may close hundreds.
bool g_saveAfterPass = false;

// An armed item whose end has passed without its bid: closed once, logged; the user is told
// unless its group held it back. A request still running for it finishes its own status.
void closeMissedBid(AuctionItem& item, bool tellUser) {
    if (item.BidStatus == kItemClosed || item.BidStatus == "Validating Bid" || item.BidStatus == "Placing Bid") return;
    modTLMain::Write_Op_Log("Item Closed - No Bid Placed - " + item.ItemNumber + " - Bid Status = " + item.BidStatus);
    item.BidStatus = kItemClosed;
    const std::string number = item.ItemNumber;
    g_saveAfterPass = true;
    if (tellUser) bidLink<BidMessages>().Show_Missed_Bid(missedBidText(number));
}

}  // namespace

void Close_Cut_Off_Bid(int index) {
    AuctionItem* item = Item_At(index);
    if (!item || item->BidStatus == kItemClosed) return;
    modTLMain::Write_Op_Log("Item Closed - No Bid Placed - " + item->ItemNumber + " - Bid Status = " + item->BidStatus);
    item->BidStatus = kItemClosed;
    const std::string number = item->ItemNumber;
    TLMainItems::Save_Auction_Items();
    bidLink<BidMessages>().Show_Missed_Bid(missedBidText(number));
}

namespace {

// ---- The passes -----------------------------------------------------------------------------------

bool bidPass(qint64 nowSec) {
    bool bidWindowOpen = false;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        try {
            AuctionItem* item = Item_At(i);
            if (!item || item->BidTimeSecs <= 0) continue;
            const auto r = remainingAt(i, nowSec);
            if (!r) continue;
            const long R = *r;
            const long B = item->BidTimeSecs;
            if (item->GroupLock != 0) {
                // Held back by its group: never bid on, but closed like any armed item.
                if (R <= 0) closeMissedBid(*item, false);
                continue;
            }
            if (R <= 0) {
                closeMissedBid(*item, true);
                continue;
            }
            if (item->BidStatus == kItemClosed) {  // the end time moved later
                item->BidStatus.clear();
                g_saveAfterPass = true;
            }
            if (R <= B && item->BidStatus == "Bid Validated") Place_Bid(i);
            item = Item_At(i);
            if (!item) continue;
            if (R <= B + 30 && item->BidStatus == "BidPending") Validate_Bid(i);
            item = Item_At(i);
            if (!item) continue;
            if (R <= B + 60) {
                bidWindowOpen = true;
                if (item->BidStatus.empty() || item->BidStatus == "OutBid") {
                    item->BidStatus = "BidPending";
                    if (!TLMainState::MinuteWarningGiven) giveMinuteWarning();
                }
            }
        } catch (...) {
            // one bad item never stops the tick
        }
    }
    return bidWindowOpen;
}

// How long before a validated bid's second an ended item's result must be due for its update to
// go first: the pass starts five seconds after the end and a result takes about one, so a group's
// win is counted (and its other bids cancelled) before the next bid of the group goes out.
constexpr qint64 kResultBeforeBidMs = 10000;

// An armed bid that waits validated for its second holds back the result update of item `index`
// only when that item ended too close before the bid's second for the update to come first.
bool heldBackByValidatedBid(int index) {
    const auto endedAt = Item_End_Ms(index);
    for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
        const AuctionItem& it = TLMainItems::Items[static_cast<size_t>(k)];
        if (k == index || it.BidTimeSecs <= 0 || it.GroupLock != 0 || it.BidStatus != "Bid Validated") continue;
        const auto end = Item_End_Ms(k);
        if (!endedAt || !end) return true;
        const qint64 bidSecond = *end - static_cast<qint64>(it.BidTimeSecs) * 1000;
        if (bidSecond - *endedAt < kResultBeforeBidMs) return true;
    }
    return false;
}

void resultPass(qint64 nowSec) {
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        try {
            const AuctionItem* item = Item_At(i);
            if (!item || (item->BidStatus != "Bid Placed" && item->BidStatus != "Validation Failed")) continue;
            const auto r = remainingAt(i, nowSec);
            if (!r || *r > -5) continue;
            if (TLMainState::DownloadBusy || TLMainState::UpdateBusy || !Request_Slot_Empty()) continue;
            if (heldBackByValidatedBid(i)) continue;
            File_Update_Bid_Request(i);
        } catch (...) {
        }
    }
}

// Sets the hang-up count-down from item i's end (when it reads).
void setHangupCountdown(int i, qint64 nowSec) {
    const auto r = remainingAt(i, nowSec);
    if (r) modRAS::HangupCountdown = static_cast<int16_t>(*r + modRAS::HangupTimeMins * 60);
}

// The dial window of item i: brings the connection up. False when the tick ends here.
bool dialForItem(int i, long R) {
    AuctionItem* item = Item_At(i);
    AutoDialer& dialer = bidLink<AutoDialer>();
    if (modRAS::HangingUp) return false;
    if (modRAS::DialConnected) {
        item->DialBeforeBid = 0;
        TLMainItems::Save_Auction_Items();
        modRAS::HangupCountdown = static_cast<int16_t>(R + modRAS::HangupTimeMins * 60);
        return false;
    }
    switch (modRAS::DialType) {
    case 0: {
        modRAS::DialBusy = -1;
        item->DialBeforeBid = 0;
        const std::string number = item->ItemNumber;
        TLMainItems::Save_Auction_Items();
        modTLMain::Write_Op_Log("Auto Dial Initiated");
        dialer.Show_Phone_Picture(kPhoneDialing);
        // The dial runs on its own; the ticks and the bids go on meanwhile.
        dialer.InternetAutodial([number](bool connected) {
            AutoDialer& d = bidLink<AutoDialer>();
            if (!connected) {
                status("Auto Dial Failed to Connect....");
                modRAS::DialConnected = 0;
                modTLMain::Write_Op_Log("Auto Dial Failed to Connect");
                d.Show_Phone_Picture(kPhoneNotConnected);
            } else {
                status("Connection Established....");
                modRAS::DialConnected = -1;
                if (const int k = TLMainItems::FindItemIndex(number)) setHangupCountdown(k, wholeSeconds(Program_Now_Ms()));
                d.Start_Hangup_Timer();
                modTLMain::Write_Op_Log("Connection Established");
                d.Show_Phone_Picture(kPhoneConnected);
            }
            modRAS::DialBusy = 0;
        });
        return true;  // the dial goes on by itself; the count-down shows its last second
    }
    case 1:
        modRAS::DialBusy = -1;
        item->DialBeforeBid = 0;
        TLMainItems::Save_Auction_Items();
        modRAS::DialItem = static_cast<int16_t>(i);
        modRAS::DialStep = 1;
        modRAS::DialCancel = 0;
        modTLMain::Write_Op_Log("Auto Dial Initiated");
        dialer.Start_Phonebook_Dial();
        break;
    case 3: {
        modRAS::DialBusy = -1;
        item->DialBeforeBid = 0;
        const std::string user = item->UserID;
        const std::string number = item->ItemNumber;
        TLMainItems::Save_Auction_Items();
        modTLMain::Write_Op_Log("Macro Dial Initiated");
        modTLMain::Write_Op_Log("User " + user);
        modTLMain::Write_Op_Log("Item #" + number);
        if (!dialer.Load_Connect_Macro()) {
            modRAS::DialBusy = 0;
            return false;
        }
        QWidget* w = TLMainLink::window().widget();
        const bool shown = w && w->isVisible();
        if (shown) TLMainLink::window().setVisible(false);
        // The replay runs on its own timers; the ticks and the bids go on meanwhile.
        dialer.Play_Macro([shown, number] {
            if (shown) TLMainLink::window().setVisible(true);
            if (const int k = TLMainItems::FindItemIndex(number)) setHangupCountdown(k, wholeSeconds(Program_Now_Ms()));
            bidLink<AutoDialer>().Start_Hangup_Timer();
            modRAS::DialBusy = 0;
        });
        return true;
    }
    default:
        break;
    }
    return true;
}

void dialPass(qint64 nowSec) {
    if (modRAS::DialBusy) return;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        try {
            const AuctionItem* item = Item_At(i);
            if (!item || item->DialBeforeBid != 1) continue;
            auto r = remainingAt(i, nowSec);
            if (!r) continue;
            const long window = static_cast<long>(modRAS::ConnectTimeMins) * 60;
            if (*r > 0 && *r <= window) {
                if (!dialForItem(i, *r)) return;
                r = remainingAt(i, wholeSeconds(Program_Now_Ms()));  // a dial takes its time
                if (!r) continue;
            }
            // The count-down to the dial, once a second from 30 to 0.
            if (*r > 0 && *r <= window + 30) {
                modRAS::DialCancel = 0;
                modRAS::DialItem = static_cast<int16_t>(i);
                const long d = *r - window;
                if (d != modRAS::DialWarnSecs) {
                    modRAS::DialWarnSecs = static_cast<int16_t>(d);
                    if (d >= 0) {
                        if (!modRAS::DialWarnSounded) {
                            if (configTrue("Options", "Sound", false)) playGeneralSound();
                            modRAS::DialWarnSounded = -1;
                        }
                        status("Warning! Auto Dial will occur in " + std::to_string(d) + " Seconds!");
                    }
                }
            }
        } catch (...) {
        }
    }
}

void idleRequests() {
    if (TLMainState::MinuteWarningGiven || TLMainState::DownloadBusy || TLMainState::UpdateBusy) return;
    // Only an empty slot is filled: a request that finds it taken stays queued for a later tick.
    if (TLMainState::AddPending && Request_Slot_Empty()) {
        TLMainState::AddPending = 0;
        File_Request("DoAddItem");
    }
    if (TLMainState::AutoUpdateDue && Request_Slot_Empty()) {
        TLMainState::AutoUpdateDue = 0;
        File_Request("DoUpdateItems");
    }
}

bool g_restored = false;

}  // namespace

qint64 Program_Now_Ms() {
    return platform::clock().now().toMSecsSinceEpoch() + modClock::Program_Offset_Ms();
}

std::optional<qint64> Item_End_Ms(int index) {
    const AuctionItem* item = Item_At(index);
    if (!item) return std::nullopt;
    std::vector<EndCache>& cache = endCache();
    if (cache.size() <= static_cast<size_t>(index)) cache.resize(static_cast<size_t>(TLMainItems::ItemCount) + 1);
    EndCache& c = cache[static_cast<size_t>(index)];
    if (!c.read || c.endTime != item->EndTime || c.dateFormat != modTLMain::DisplayDateFormat ||
        c.dateOrder != modTLMain::LocaleDateOrder) {
        c.endTime = item->EndTime;
        c.dateFormat = modTLMain::DisplayDateFormat;
        c.dateOrder = modTLMain::LocaleDateOrder;
        c.read = true;
        const auto end = TLMainItems::Read_End_Time(item->EndTime);
        c.known = end.has_value();
        c.endMs = end ? end->toMSecsSinceEpoch() : 0;
    }
    if (!c.known) return std::nullopt;
    return c.endMs;
}

std::optional<long> Item_Remaining_Secs(int index) { return remainingAt(index, wholeSeconds(Program_Now_Ms())); }

void ScanItems_Timer() {
    if (!g_restored) {
        // The first tick after the start: bids that were under way when the program ended.
        g_restored = true;
        Restore_Bid_Statuses();
    }
    const qint64 nowSec = wholeSeconds(Program_Now_Ms());
    const bool bidWindowOpen = bidPass(nowSec);
    if (g_saveAfterPass) {
        g_saveAfterPass = false;
        TLMainItems::Save_Auction_Items();
    }
    TLMainState::MinuteWarningGiven = bidWindowOpen ? -1 : 0;
    resultPass(nowSec);
    dialPass(nowSec);
    idleRequests();
}

void BidMessages::Show_Missed_Bid(const std::string& text) {
    Messages::Args a;
    a.Text = text;
    a.FontSize = 12;
    a.Bold = true;
    a.Btn1Caption = "OK";
    a.Modeless = true;
    Messages::DisplayMsg(a);
}

void ResetSchedulerForTests() {
    endCache().clear();
    WarningWait& w = warningWait();
    w.poll.setEnabled(false);
    w.running = false;
    g_restored = false;
    g_saveAfterPass = false;
}

void ResetBidEngineForTests() {
    ResetSchedulerForTests();
    ResetBidRequestsForTests();
    ResetEndOfAuctionForTests();
    ResetDeferredRequestsForTests();
    TLMainState::MinuteWarningGiven = 0;
    TLMainState::AddPending = 0;
    TLMainState::AutoUpdateDue = 0;
    TLMainState::SleepRequested = 0;
    modRAS::ResetDialStateForTests();
}

}  // namespace TLMainBids
