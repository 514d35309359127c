// bid_engine_links.h — what the bid engine reaches of the program's other duties: the clock
// synchronisation, power control and wake-up, the automatic dial before a bid, the bid-result
// view, the bid-result e-mail, the item adds and list refreshes it defers, and the missed-bid
// message.
//
// Each duty is a small interface whose owner registers itself (setBidLink); until then, and in
// tests that install no stand-in, a duty does nothing and reads false — except the missed-bid
// message, which the program's own message window shows, modeless. No call here waits for the
// user: the scheduler and the bid routines never stop for an answer.
#pragma once

#include "foundation/duty_links.h"

#include <functional>
#include <string>

namespace TLMainBids {

// Clock synchronisation: synchronises the PC clock, or the program's clock offset. A duty the
// scheduler starts: it returns at once and runs `done` when the synchronisation has ended (set or
// not); no tick and no bid waits for it.
class ClockSync {
public:
    virtual ~ClockSync() = default;
    virtual void SetSysClock(std::function<void()> done = {}) {
        if (done) done();
    }
};

// Power control and wake-up before the next bid.
class PowerControl {
public:
    virtual ~PowerControl() = default;
    // Arms the wake-up timer for the next armed bid (the bid set-up and its commands call it).
    virtual void Set_Next_Bid_Wakeup() {}
    // Some armed bid is still to come.
    virtual bool Bids_Pending() { return false; }
    // Sleeps until the next bid; `sleepAfterBid` is the item's after-bid sleep choice.
    virtual void Sleep_Until_Next_Bid(bool sleepAfterBid) {}
    // The user has used the keyboard or mouse lately (nobody to ask: yes, so the PC stays up).
    virtual bool Have_User_Input() { return true; }
};

// The automatic dial before a bid (dial types 0, 1 and 3; type 2 dials nothing).
class AutoDialer {
public:
    virtual ~AutoDialer() = default;
    // Type 0: starts bringing up the system's default connection, unattended, and returns at once;
    // `done` gets whether it is connected once that is known.
    virtual void InternetAutodial(std::function<void(bool connected)> done) { done(false); }
    // Type 1: starts the phone-book dial sequence (SyncAutoDial) for DialItem from DialStep 1.
    virtual void Start_Phonebook_Dial() {}
    // Type 3: loads the connect macro from Connect.mac; false when it records no events.
    virtual bool Load_Connect_Macro() { return false; }
    // Starts replaying the loaded macro and returns at once; `done` runs when the replay has ended.
    virtual void Play_Macro(std::function<void()> done) { done(); }
    // The phone indicator: 17 not connected, 18 dialing, 19 connected.
    virtual void Show_Phone_Picture(int picture) {}
    // Starts the hang-up count-down timer (HangupTimer).
    virtual void Start_Hangup_Timer() {}
};

// The bid-result view: shows the item's saved result page (Saved Items/<n>BR.html).
class BidResultsView {
public:
    virtual ~BidResultsView() = default;
    virtual void DisplayBidResults(int itemIndex) {}
};

// The bid-result e-mail: a queue of item numbers whose results are to be sent.
class BidResultsMail {
public:
    virtual ~BidResultsMail() = default;
    // Appends the item to the queue (BidResultsMailQueue).
    virtual void Queue_Bid_Result(const std::string& itemNumber) {}
    // The queue is not empty.
    virtual bool Mail_Queued() const { return false; }
    // Enables SendBidResultsTimer, which sends the queue.
    virtual void Start_Send_Timer() {}
};

// The long work the scheduler defers to the request timer: adding the item whose number stands
// in the item-number box, and refreshing the list. Each returns when its work is done; the
// refresh clears its UpdateBusy hold itself.
class DeferredOperations {
public:
    virtual ~DeferredOperations() = default;
    virtual void Add_Auction_Item() {}
    virtual void UpdateItems() {}
};

// Messages of the scheduler that the user reads without answering.
class BidMessages {
public:
    virtual ~BidMessages() = default;
    // The missed-bid warning, in the program's message window, modeless.
    virtual void Show_Missed_Bid(const std::string& text);
};

// The duty as its owner carries it out; the default stand-in when nobody registered.
template <class Link>
Link& bidLink() {
    return DutyLinks::dutyLink<Link>();
}
// `link` takes on the duty (nullptr: nobody).
template <class Link>
void setBidLink(Link* link) {
    DutyLinks::setDutyLink<Link>(link);
}

}  // namespace TLMainBids
