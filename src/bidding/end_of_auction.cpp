#include "bidding/end_of_auction.h"

#include <memory>
#include <set>

#include "bidding/bid_engine_links.h"
#include "bidding/bid_groups.h"
#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/bid_outcome.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/item_store.h"
#include "items/stored_amounts.h"
#include "service/http_request.h"
#include "service/national_sites.h"
#include "service/page_globals.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace TLMainBids {

using TLMainItems::AuctionItem;
using TLMainItems::BidOutcome;
using TLMainItems::Item_At;

namespace {

constexpr long kHistoryFlags = modWinInet::kFlagHttps | modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip;
constexpr long kItemPageFlags =
    modWinInet::kFlagHttps | modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip;

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }
void log(const std::string& text) { modTLMain::Write_Op_Log(text); }
bool configTrue(const char* section, const char* key, bool def) { return TLMainItems::Config_True(section, key, def); }
void play(const char* event) {
    if (configTrue("Options", "Sound", false))
        TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", event, event), 1);
}

bool debugDumps() {
    return modDebug::DebugOutput && TLMainLink::menus().menuChecked(TLMainLink::MenuItem::MnuDBUpdateItemPage);
}
void dump(const std::string& text, const char* name) {
    std::string n = name;
    modDebug::Save_Debug_Page(text, n);
}

bool resultOutstanding() {
    for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
        const std::string& s = TLMainItems::Items[static_cast<size_t>(k)].BidStatus;
        if (s == "Bid Placed" || s == "Validation Failed") return true;
    }
    return false;
}

modWinInet::HttpRequestSpec pageSpec(const char* host, const std::string& path, const std::string& user, long flags) {
    modWinInet::HttpRequestSpec spec;
    spec.url = std::string(host) + path;
    spec.cookieUser = user;
    spec.flags = flags;
    // A refusal or a server error is no result page: the item keeps what it showed, and the page
    // is asked for once more as one that did not come.
    spec.noPageFromStatus = modWinInet::kRefusalsAndServerErrors;
    return spec;
}

// The number of the item at `index`, for the high bidder's log line.
std::string itemNumberAt(int index) {
    const AuctionItem* item = Item_At(index);
    return item ? item->ItemNumber : std::string();
}

struct UpdateRun;
std::set<std::shared_ptr<UpdateRun>>& updates() {
    static auto* u = new std::set<std::shared_ptr<UpdateRun>>();
    return *u;
}

struct UpdateRun : std::enable_shared_from_this<UpdateRun> {
    std::string number;
    std::string user;
    TLMainState::BusyHold hold;
    std::function<void()> done;
    std::string highBidder;
    bool neverPlaced = false;  // the item's validation failed: its bid was never sent
    std::string unconfirmed;   // what the bid's placing met when the service did not confirm it
    bool abandoned = false;
    modWinInet::HttpRequest request;

    // What the item becomes after its result update: "Completed" when the user is the high bidder
    // (the bid counted, whatever its road); else by the road its bid took: closed when it never
    // went out (its validation failed), "Bid Not Confirmed" when the service never confirmed it,
    // else "Completed". What that ends as is the outcome rule's (bid_outcome.h).
    const char* endStatus(bool userHigh) const {
        if (userHigh) return TLMainItems::kCompleted;
        if (neverPlaced) return TLMainItems::kItemClosed;
        if (!unconfirmed.empty()) return TLMainItems::kBidNotConfirmed;
        return TLMainItems::kCompleted;
    }

    void finish() {
        hold.release();
        updates().erase(shared_from_this());
        if (done) done();
    }

    template <class Step>
    void guarded(Step step) {
        if (abandoned) return;
        try {
            step();
        } catch (...) {
            // a failing step is skipped; the update still ends
            finish();
        }
    }

    void start() {
        const int i = TLMainItems::FindItemIndex(number);
        const AuctionItem* item = Item_At(i);
        if (!item) return finish();
        user = item->UserID;
        neverPlaced = item->BidStatus == "Validation Failed";
        unconfirmed = item->BidStatus == "Bid Placed" ? item->UnconfirmedBid : std::string();
        status("Updating Final Bid Results for Item " + number);
        if (!hold.held()) hold = TLMainState::BusyHold(TLMainState::DownloadBusy);
        request = modWinInet::Start_Http_Request(
            pageSpec(modTLMain::kBidHost, "/ws/eBayISAPI.dll?ViewBids&item=" + number, user, kHistoryFlags),
            modWinInet::Deadline::inMs(kResultPageBoundMs), [self = shared_from_this()](modWinInet::HttpResult r) {
                self->guarded([&] { self->afterHistory(r); });
            });
    }

    void afterHistory(modWinInet::HttpResult& r) {
        std::string historyText;
        if (r.ok && r.status == "302") {
            log("Bid History Page Error - Redirect to: " + r.redirectURL);
        } else if (r.ok) {
            modPageParser::Blank_Two_Byte_Letters(r.body);
            historyText = modPageParser::Answer_Page_Text(r.body);
        }
        if (historyText.empty()) return failed();
        const int i = TLMainItems::FindItemIndex(number);
        if (!i) return finish();
        if (debugDumps()) dump(historyText, "TEXTBidUpdateHistory");
        modPageParser::BidHistoryText = historyText;
        TLMainState::PendingRequestItem = static_cast<int16_t>(i);  // named in the high bidder's log line
        modPageParser::Set_Item_Number_Lookup(itemNumberAt);
        highBidder = modPageParser::Get_High_Bidder();
        modPageParser::PageHighBidder = highBidder;
        modWinInet::HttpRequestSpec spec =
            pageSpec(modTLMain::kBidItemHost, "/ws/eBayISAPI.dll?ViewItem&item=" + number, user, kItemPageFlags);
        // An answer that is no item page (an error or sign-in page served as one) is no page either.
        spec.isPage = modPageParser::Is_Item_Page;
        request = modWinInet::Start_Http_Request(std::move(spec), modWinInet::Deadline::inMs(kResultPageBoundMs),
                                                 [self = shared_from_this()](modWinInet::HttpResult r) {
                                                     self->guarded([&] { self->afterItemPage(r); });
                                                 });
    }

    void afterItemPage(modWinInet::HttpResult& r) {
        hold.release();
        if (!r.ok) return failed();
        modPageParser::PageHTML = std::move(r.body);
        if (debugDumps()) dump(modPageParser::PageHTML, "HTMLBidUpdate");
        if (!modPageParser::Build_Page_Text() || modPageParser::PageText.empty()) return failed();
        if (debugDumps()) dump(modPageParser::PageText, "TEXTBidUpdate");
        const std::string bidCount = modPageParser::Get_Bid_Count();
        const std::string price = modPageParser::Get_Current_Price();
        const int16_t reserveNotMet = modPageParser::ReserveNotMet;
        modPageParser::PageBidCount = bidCount;
        modPageParser::PagePrice = price;

        const int i = TLMainItems::FindItemIndex(number);
        AuctionItem* item = Item_At(i);
        if (!item) return finish();
        item->CurrentPrice = price;
        item->ReserveFlag = reserveNotMet;
        item->BidCount = bidCount;
        item->HighBidder = highBidder;
        const bool userHigh = TLMainItems::User_Is_High_Bidder(*item, highBidder);
        item->BidStatus = endStatus(userHigh);
        const BidOutcome outcome = TLMainItems::Bid_Outcome(*item);

        if (!item->BidGroup.empty()) {
            TLMainState::PendingRequestItem = static_cast<int16_t>(i);
            modPageParser::PageHighBidder = highBidder;
            modBidGroups::Check_Group_Win();
            item = Item_At(i);
        }

        // The log line and the sound tell the outcome. A bid that never went out is told as
        // such, with no sound of a result. Another bidder's win over a bid that went out is
        // certain only when the final price is above the user's maximum.
        const std::string told = "End of Auction Update - Item " + number + " - ";
        bool uncertain = false;
        if (outcome == BidOutcome::Won) {
            log(told + "Bid Won");
            play("Win");
        } else if (userHigh) {  // the reserve not met
            log(told + "Bid Lost - Reserve Not Met");
            play("Lose");
        } else if (outcome == BidOutcome::NeverPlaced) {
            log(told + TLMainItems::kItemClosedNoBid);
        } else {
            const auto finalPrice = modTLMain::Read_Stored_Amount(item->CurrentPrice);
            const auto mine = modTLMain::Read_Stored_Amount(item->MaxBid);
            if (!finalPrice || !mine || *mine >= *finalPrice) {
                uncertain = true;
                status(kWinnerUnknown);
            } else {
                log(told + (outcome == BidOutcome::NotConfirmed ? "Bid Not Confirmed - " + unconfirmed : "Bid Lost"));
                play("Lose");
            }
        }

        if (!uncertain) {
            for (int row = 1; row <= TLMainItems::ItemCount; ++row)
                if (TLMainItems::itemGrid().itemIndexOfRow(row) == i) TLMainItems::Update_Bid_Status(i, row, false);
        }

        item = Item_At(i);
        item->ResultDone = "1";
        const bool mail = (static_cast<int>(vb::Val(item->AfterBidOptions)) & 1) != 0;
        TLMainItems::Save_Auction_Items();
        TLMainItems::itemGrid().loadItemGrid();
        if (mail) bidLink<BidResultsMail>().Queue_Bid_Result(number);
        if (!resultOutstanding()) {
            if (bidLink<BidResultsMail>().Mail_Queued()) bidLink<BidResultsMail>().Start_Send_Timer();
            const bool sleep = Get_AfterBidSleepStatus(i);
            PowerControl& power = bidLink<PowerControl>();
            if (power.Bids_Pending())
                power.Sleep_Until_Next_Bid(sleep);
            else if (!power.Have_User_Input() && sleep)
                TLMainState::SleepRequested = 1;
        }
        // An outcome that cannot be told stays in the status line for the user to see.
        if (!uncertain) status("Bid Updated for Item " + number);
        finish();
    }

    void failed() {
        hold.release();
        const int i = TLMainItems::FindItemIndex(number);
        AuctionItem* item = Item_At(i);
        if (!item) return finish();
        item->BidStatus = endStatus(false);
        log("Final Bid Results Update Failed for Item " + number);
        status("Error! Bid Results Update Failed");
        if (!item->BidGroup.empty()) {
            log("Wintally Option Set - Update Failed, Cancelling Remaining Wintallys");
            TLMainState::PendingRequestItem = static_cast<int16_t>(i);
            modBidGroups::Cancel_Group_Bids();
        }
        TLMainItems::Save_Auction_Items();
        TLMainItems::itemGrid().loadItemGrid();
        const bool sleep = Get_AfterBidSleepStatus(i);
        PowerControl& power = bidLink<PowerControl>();
        if (power.Bids_Pending())
            power.Sleep_Until_Next_Bid(sleep);
        else if (sleep)
            TLMainState::SleepRequested = 1;
        finish();
    }
};

}  // namespace

void UpdateBid(const std::string& itemNumber, TLMainState::BusyHold downloadHold, std::function<void()> done) {
    auto run = std::make_shared<UpdateRun>();
    run->number = itemNumber;
    run->hold = std::move(downloadHold);
    run->done = std::move(done);
    updates().insert(run);
    run->guarded([&] { run->start(); });
}

bool Get_AfterBidSleepStatus(int index) {
    if (vb::Val(modTLC::Get_Config_Value("Options", "AutoSleep", "0")) == 1) return true;
    const AuctionItem* item = Item_At(index);
    return item && (static_cast<int>(vb::Val(item->AfterBidOptions)) & 2) != 0;
}

void ResetEndOfAuctionForTests() {
    for (const auto& run : updates()) {
        run->abandoned = true;
        run->request.cancel();
        run->hold = TLMainState::BusyHold();
    }
    updates().clear();
}

}  // namespace TLMainBids
