// recording_bid_links.h — stand-ins for the duties the bid engine reaches (clock sync, power
// control, the automatic dial, the result view, the result e-mail, deferred adds and refreshes,
// the missed-bid message): each records what it was asked and answers as the test set it, and
// takes on its duty for the life of the object.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bidding/bid_engine_links.h"

namespace testsupport {

template <class Link>
class HoldsBidLink : public Link {
protected:
    HoldsBidLink() { TLMainBids::setBidLink<Link>(this); }
    ~HoldsBidLink() override { TLMainBids::setBidLink<Link>(nullptr); }
};

class RecordingClockSync final : public HoldsBidLink<TLMainBids::ClockSync> {
public:
    // With `holdEnds` set, a synchronisation ends only when the test calls finish().
    void SetSysClock(std::function<void()> done) override {
        ++syncs;
        if (holdEnds) pending.push_back(std::move(done));
        else if (done) done();
    }
    void finish() {
        auto ends = std::move(pending);
        pending.clear();
        for (auto& d : ends)
            if (d) d();
    }
    int syncs = 0;
    bool holdEnds = false;
    std::vector<std::function<void()>> pending;
};

class RecordingPowerControl final : public HoldsBidLink<TLMainBids::PowerControl> {
public:
    void Set_Next_Bid_Wakeup() override { ++wakeups; }
    bool Bids_Pending() override { return bidsPending; }
    void Sleep_Until_Next_Bid(bool sleepAfterBid) override { sleeps.push_back(sleepAfterBid); }
    bool Have_User_Input() override { return userInput; }
    bool bidsPending = false;
    bool userInput = true;
    int wakeups = 0;
    std::vector<bool> sleeps;  // the argument of each Sleep_Until_Next_Bid
};

class RecordingAutoDialer final : public HoldsBidLink<TLMainBids::AutoDialer> {
public:
    void InternetAutodial(std::function<void(bool)> done) override {
        calls.push_back("InternetAutodial");
        done(connects);
    }
    void Start_Phonebook_Dial() override { calls.push_back("Start_Phonebook_Dial"); }
    bool Load_Connect_Macro() override {
        calls.push_back("Load_Connect_Macro");
        return macroHasEvents;
    }
    void Play_Macro(std::function<void()> done) override {
        calls.push_back("Play_Macro");
        done();
    }
    void Show_Phone_Picture(int picture) override { pictures.push_back(picture); }
    void Start_Hangup_Timer() override { calls.push_back("Start_Hangup_Timer"); }
    bool connects = true;
    bool macroHasEvents = true;
    std::vector<std::string> calls;
    std::vector<int> pictures;
};

class RecordingBidResultsView final : public HoldsBidLink<TLMainBids::BidResultsView> {
public:
    void DisplayBidResults(int itemIndex) override { shown.push_back(itemIndex); }
    std::vector<int> shown;
};

class RecordingBidResultsMail final : public HoldsBidLink<TLMainBids::BidResultsMail> {
public:
    void Queue_Bid_Result(const std::string& itemNumber) override { queue.push_back(itemNumber); }
    bool Mail_Queued() const override { return !queue.empty(); }
    void Start_Send_Timer() override { ++sendTimerStarts; }
    std::vector<std::string> queue;
    int sendTimerStarts = 0;
};

class RecordingDeferredOperations final : public HoldsBidLink<TLMainBids::DeferredOperations> {
public:
    void Add_Auction_Item() override { calls.push_back("Add_Auction_Item"); }
    void UpdateItems() override {
        calls.push_back("UpdateItems");
        if (duringUpdate) duringUpdate();
    }
    std::vector<std::string> calls;
    std::function<void()> duringUpdate;
};

class RecordingBidMessages final : public HoldsBidLink<TLMainBids::BidMessages> {
public:
    void Show_Missed_Bid(const std::string& text) override { missed.push_back(text); }
    std::vector<std::string> missed;
};

// Every duty at once.
struct RecordingBidLinks {
    RecordingClockSync clock;
    RecordingPowerControl power;
    RecordingAutoDialer dialer;
    RecordingBidResultsView view;
    RecordingBidResultsMail mail;
    RecordingDeferredOperations deferred;
    RecordingBidMessages messages;
};

}  // namespace testsupport
