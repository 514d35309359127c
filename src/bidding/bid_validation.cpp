#include "bidding/bid_validation.h"

#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <optional>

#include "bidding/bid_engine_links.h"
#include "bidding/confirm_form.h"
#include "bidding/bid_scheduler.h"
#include "foundation/config_store.h"
#include "foundation/debug_tools.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/item_store.h"
#include "items/stored_amounts.h"
#include "platform/timers.h"
#include "service/http_request.h"
#include "service/national_sites.h"
#include "service/page_globals.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/sign_in.h"
#include "service/wininet.h"

namespace TLMainBids {

using TLMainItems::AuctionItem;
using TLMainItems::Item_At;

namespace {

constexpr long kBidFlags = modWinInet::kFlagHttps | modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody;
constexpr const char* kCrLf = "\r\n";

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }
void log(const std::string& text) { modTLMain::Write_Op_Log(text); }
bool configTrue(const char* section, const char* key, bool def) { return TLMainItems::Config_True(section, key, def); }

// The deadline of a request made for item `index`'s bid: `boundMs` from now, and never past the
// auction's end plus `pastEndMs`.
modWinInet::Deadline bidDeadline(int index, qint64 boundMs, qint64 pastEndMs, bool atLeastBound) {
    qint64 ms = boundMs;
    if (const auto end = Item_End_Ms(index)) {
        const qint64 toEnd = *end + pastEndMs - Program_Now_Ms();
        ms = atLeastBound ? std::max(ms, toEnd) : std::min(ms, toEnd);
    }
    return modWinInet::Deadline::inMs(std::max<qint64>(ms, 0));
}

// How long before a timed bid's second its validation must have ended: the confirmation is then
// ready when the second comes.
constexpr qint64 kBidSecondMarginMs = 1000;
// The scheduler validates 30 seconds before the bid's second.
constexpr qint64 kValidationWindowMs = 35000;
// A second validation attempt is made only when it has at least this long.
constexpr qint64 kLeastAttemptMs = 3000;

// Milliseconds from now to the start of item `index`'s bid second (its end less its lead time);
// nothing for an item with no timed bid or no readable end.
std::optional<qint64> msToBidSecond(int index) {
    const AuctionItem* item = Item_At(index);
    const auto end = Item_End_Ms(index);
    if (!item || item->BidTimeSecs <= 0 || !end) return std::nullopt;
    return *end - static_cast<qint64>(item->BidTimeSecs) * 1000 - Program_Now_Ms();
}

// The deadline of a validation attempt: the usual bound, or, on a slow service, the time left
// before the bid's second less the margin; never past the auction's end.
modWinInet::Deadline attemptDeadline(int index) {
    // Only inside the scheduler's validation window (its 30 seconds and a little): a bid validated
    // long before its second keeps the usual bound.
    qint64 bound = kBidRequestBoundMs;
    if (const auto toBid = msToBidSecond(index); toBid && *toBid <= kValidationWindowMs)
        bound = std::max(bound, *toBid - kBidSecondMarginMs);
    return bidDeadline(index, bound, 0, false);
}

// The auction's end has come (a validation still under way there was cut off by it).
bool endReached(int index) {
    const auto r = Item_Remaining_Secs(index);
    return r && *r <= 0;
}

void writeResultPage(const std::string& number, const std::string& page) {
    modTLMain::Make_Folder(modTLMain::DataFolder + "Saved Items");
    modTLMain::Save_Whole_File(Bid_Result_Page_Path(number), page + kCrLf);
}

// Paints the grid rows that show item `index` in the validated-bid colour.
void paintValidatedRow(int index) {
    TLMainItems::ItemGridLink& grid = TLMainItems::itemGrid();
    for (int row = 1; row <= TLMainItems::ItemCount; ++row) {
        if (grid.itemIndexOfRow(row) != index) continue;
        for (int col = 1; col <= TLMainItems::kLastItemColumn; ++col) grid.setCellBackColour(row, col, TLMainItems::ColorVal);
    }
    grid.repaintGrid();
}

// A quantity is a whole number from 1 to 9999.
bool quantityValid(const std::string& quantity) {
    const std::string q = vb::Trim(quantity);
    if (q.empty() || q.size() > 4 || !std::all_of(q.begin(), q.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int n = std::stoi(q);
    return n >= 1 && n <= 9999;
}

bool amountProper(const std::string& maxBid) {
    const auto cents = modTLMain::Read_Stored_Amount(maxBid);
    return cents && *cents > 0;
}

// ---- Runs ----------------------------------------------------------------------------------------

struct BidRun;
std::map<std::string, std::shared_ptr<BidRun>>& runs() {
    static auto* r = new std::map<std::string, std::shared_ptr<BidRun>>();
    return *r;
}

// One validation or placing in flight, keyed by its item number.
struct BidRun : std::enable_shared_from_this<BidRun> {
    std::string number;
    std::string user;
    std::string maxBid;
    std::string quantity;
    bool armedAtStart = false;  // a timed bid; a Validate or Bid Now of the user's may be unarmed
    int attempt = 0;
    bool abandoned = false;  // the program let go of it (tests): its answer changes nothing
    platform::Timer pause;
    modWinInet::HttpRequest request;

    void end() {
        pause.setEnabled(false);
        auto it = runs().find(number);
        if (it != runs().end() && it->second.get() == this) runs().erase(it);
    }

    // ---- Validation ----

    // The item, found again after a wait, when it still waits for this validation; else 0.
    int validatingItem() const {
        const int i = TLMainItems::FindItemIndex(number);
        const AuctionItem* item = Item_At(i);
        // A timed bid that the user disarmed meanwhile is dropped; a bid validated at once (not
        // armed when it started) needs no arming.
        if (!item || (armedAtStart && item->BidTimeSecs <= 0) || item->BidStatus != "Validating Bid" ||
            item->MaxBid != maxBid ||
            item->Quantity != quantity || !vb::EqualText(item->UserID, user))
            return 0;
        return i;
    }

    void discard() {
        log("Validation Result Discarded - Item " + number);
        if (AuctionItem* item = Item_At(TLMainItems::FindItemIndex(number)); item && item->BidStatus == "Validating Bid")
            item->BidStatus = item->BidTimeSecs > 0 ? "BidPending" : "";
        end();
    }

    void guarded(void (BidRun::*step)()) {
        if (abandoned) return;
        try {
            (this->*step)();
        } catch (const std::exception& e) {
            log(std::string("Error 5 (") + e.what() + ") in Validate Bid Procedure.");
            // Never left "Validating Bid": the bid is not placed.
            if (AuctionItem* item = Item_At(TLMainItems::FindItemIndex(number)); item && item->BidStatus == "Validating Bid") {
                item->BidTimeSecs = 0;
                item->BidStatus = "Validation Failed";
                status("Bid Validation Failed for Item " + number);
            }
            end();
        }
    }

    // The end came first: the bid was never placed, and nothing more goes out for it.
    void cutOff(int i) {
        end();
        Close_Cut_Off_Bid(i);
    }

    void afterSignIn() {
        const int i = validatingItem();
        if (!i) return discard();
        if (endReached(i)) return cutOff(i);
        status("Validating Bid for User " + user + " - Item " + number);
        log("Validating Bid for User " + user + " - Item " + number + " - Amt. " + maxBid);
        attempt = 1;
        sendOffer(i);
    }

    void sendOffer(int i) {
        const std::string offer = "?MfcISAPICommand=MakeBid&co_partnerid=&item=" + number + "&fb=1&user=" + user +
                                  "&offerToken=&maxbid=" + maxBid + "&quant=" + quantity;
        modWinInet::HttpRequestSpec spec;
        spec.url = std::string(modTLMain::kBidHost) + "/ws/eBayISAPI.dll" + offer;
        spec.method = "POST";
        spec.cookieUser = user;
        spec.flags = kBidFlags;
        spec.postData = offer;
        request = modWinInet::Start_Http_Request(std::move(spec), attemptDeadline(i),
                                                 [self = shared_from_this()](modWinInet::HttpResult r) {
                                                     self->answer = r.ok ? std::move(r.body) : std::string();
                                                     self->answerStatus = r.ok ? r.status : std::string();
                                                     self->guarded(&BidRun::afterOffer);
                                                 });
    }

    std::string answer;
    std::string answerStatus;

    // The offer's answer is one to judge: a page that is no server error and holds the
    // confirmation form or the service's refusal. Anything else is taken as no answer.
    bool answerIn() const {
        if (answer.empty() || !modWinInet::Is_Page_Status(answerStatus, modWinInet::kServerErrors)) return false;
        const ConfirmForm form = Read_Confirm_Form(answer);
        return (form.found && !form.maxBid.empty()) || !refusalOf(answer).empty();
    }

    void afterOffer() {
        const int i = validatingItem();
        if (!i) return discard();
        if (answerIn()) return judge(i);
        std::string noAnswer = "Error! No Bid Validation Results Returned! - " + user + " - Item " + number;
        if (!answer.empty() && !answerStatus.empty() && answerStatus[0] != '2') noAnswer += " - Http Status " + answerStatus;
        log(noAnswer);
        if (endReached(i)) return cutOff(i);
        // A second attempt only when there is time for it before the bid's second.
        const auto toBid = msToBidSecond(i);
        if (attempt >= 2 || (toBid && *toBid - kBidSecondMarginMs - kValidationPauseMs < kLeastAttemptMs)) return judge(i);
        attempt = 2;
        pause.setHandler([w = weak_from_this()] {
            if (auto self = w.lock()) {
                self->pause.setEnabled(false);
                self->guarded(&BidRun::afterPause);
            }
        });
        pause.setInterval(static_cast<int>(kValidationPauseMs));
        pause.setEnabled(true);
    }

    void afterPause() {
        const int i = validatingItem();
        if (!i) return discard();
        if (endReached(i)) return cutOff(i);
        log("Attempting Validation Again For Item " + number);
        sendOffer(i);
    }

    void judge(int i) {
        std::string dumpName = modDebug::DebugOutput && TLMainLink::menus().menuChecked(TLMainLink::MenuItem::MnuDBValidatePage)
                                   ? "HTMLValidatePage"
                                   : "LastHTMLValidatePage";
        modDebug::Save_Debug_Page(answer, dumpName);
        const ConfirmForm form = Read_Confirm_Form(answer);
        if (form.found && !form.maxBid.empty()) {
            if (!form.request.empty()) return validated(i, form.request);
            log("Error! Empty Confirm Request - Item " + number);
        }
        failed(i);
    }

    void validated(int i, const std::string& confirm) {
        AuctionItem& item = *Item_At(i);
        item.ConfirmRequest = confirm;
        item.BidStatus = "Bid Validated";
        status("Bid Validated for Item " + number);
        log("Bid Validated for Item " + number + " - Bid Amount " + maxBid);
        paintValidatedRow(i);
        end();
    }

    // The service's refusal in an offer's answer, as the log tells it; "" when it holds none.
    std::string refusalOf(const std::string& page) const {
        std::string minBid = GetValMinBid(page);  // also the page's text, for the ended test
        if (!minBid.empty()) minBid = modPageParser::Localize_Amount(minBid);
        if (!minBid.empty())
            return "Bid Validation Failed for Item " + number + " - Your Bid " + maxBid + " - Minimum Bid " + minBid;
        if (vb::InStr(modPageParser::PageText, "Auction ended", vb::Text) > 0) return "Auction Already Ended";
        return {};
    }

    void failed(int i) {
        writeResultPage(number, answer);
        status("Bid Validation Failed for Item " + number);
        const std::string refusal = refusalOf(answer);
        log(refusal.empty() ? "Bid Validation Failed for Item " + number + " - Check Bid Results" : refusal);
        if (configTrue("Options", "ShowBidResults", false)) bidLink<BidResultsView>().DisplayBidResults(i);
        if (AuctionItem* item = Item_At(TLMainItems::FindItemIndex(number))) {
            item->BidTimeSecs = 0;
            item->BidStatus = "Validation Failed";
        }
        if (configTrue("Options", "Sound", false))
            TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", "Alert", "Alert"), 1);
        end();
    }

    // ---- Placing ----

    // What the placing's answer page says of the bid, as the log and the status line tell it;
    // "" when it says none of it.
    static std::string placingMessage(const std::string& page) {
        const std::string text = modPageParser::Answer_Page_Text(page);
        if (const long out = vb::InStr(text, "You've just been outbid", vb::Text); out > 0) {
            const long cur = vb::InStr(out, text, "Current bid:", vb::Text);
            if (cur <= 0) return "You Have Been Outbid - See Bid Results";
            const long eol = vb::InStr(cur, text, kCrLf);
            const std::string bid = eol > 0 ? vb::Mid(text, cur, eol - cur) : vb::Mid(text, cur);
            return "You Have Been Outbid - " + vb::Trim(bid) + " - See Bid Results";
        }
        if (vb::InStr(text, "You're currently the highest bidder") > 0)
            return "You are the current high bidder - See Bid Results";
        if (vb::InStr(text, "Bidding has ended for this item", vb::Text) > 0)
            return "Auction Already Ended - See Bid Results";
        return {};
    }

    void afterPlacing(const modWinInet::HttpResult& r) {
        const std::string page = r.ok ? r.body : std::string();
        const std::string noAnswer = "Error! No Bid Results Returned! - " + user + " - Item " + number;
        if (page.empty()) log(noAnswer);
        try {
            writeResultPage(number, page);
        } catch (...) {
        }
        const std::string message = placingMessage(page);
        // Only a page of a 2xx answer that tells the bid's outcome confirms it. Otherwise (no
        // answer, a server error, a page without the outcome) whether the bid went in is unknown:
        // it is never sent again, and the result update tells the user it may not have counted.
        std::string unconfirmed;
        if (!r.ok || r.status.empty()) unconfirmed = "No Answer";
        else if (r.status[0] != '2' || message.empty()) unconfirmed = "Http Status " + r.status;
        int i = TLMainItems::FindItemIndex(number);
        if (AuctionItem* item = Item_At(i)) {
            item->BidTimeSecs = 0;
            item->BidStatus = "Bid Placed";
            item->UnconfirmedBid = unconfirmed;
        }
        status("Bid Placed for Item " + number);
        log("Bid Placed for Item " + number);
        TLMainItems::Save_Auction_Items();
        if (page.empty()) status(noAnswer);
        if (!message.empty()) {
            log(message);
            status(message);
        }
        if (!unconfirmed.empty()) {
            const std::string line = "Bid Not Confirmed for Item " + number + " - " + unconfirmed;
            log(line);
            status(line);
        }
        i = TLMainItems::FindItemIndex(number);
        if (i && configTrue("Options", "ShowBidResults", false)) bidLink<BidResultsView>().DisplayBidResults(i);
        end();
    }
};

std::shared_ptr<BidRun> newRun(const AuctionItem& item) {
    auto run = std::make_shared<BidRun>();
    run->number = item.ItemNumber;
    run->user = item.UserID;
    run->maxBid = item.MaxBid;
    run->quantity = item.Quantity;
    run->armedAtStart = item.BidTimeSecs > 0;
    runs()[item.ItemNumber] = run;
    return run;
}

// Another armed bid of the same user already waits validated: that user is signed in.
bool userHasValidatedBid(int index, const std::string& user) {
    for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
        const AuctionItem& it = TLMainItems::Items[static_cast<size_t>(k)];
        if (k != index && it.BidTimeSecs > 0 && it.BidStatus == "Bid Validated" && vb::EqualText(it.UserID, user))
            return true;
    }
    return false;
}

}  // namespace

std::string Bid_Result_Page_Path(const std::string& itemNumber) {
    return modTLMain::DataFolder + "Saved Items/" + itemNumber + "BR.html";
}

bool Bid_Request_Running(const std::string& itemNumber) { return runs().count(itemNumber) > 0; }

void Validate_Bid(int index) {
    AuctionItem* item = Item_At(index);
    if (!item || Bid_Request_Running(item->ItemNumber)) return;
    const std::string number = item->ItemNumber;

    // An amount or quantity that no offer can carry fails at once; nothing is sent.
    const bool amountOk = amountProper(item->MaxBid);
    if (!amountOk || !quantityValid(item->Quantity)) {
        const std::string error = amountOk ? "Invalid Item Quantity" : "Error! Improper Bid Amount.";
        status(error);
        log(error + " - Item " + number);
        item->BidTimeSecs = 0;
        item->BidStatus = "Validation Failed";
        return;
    }

    // The status is set before anything waits, so no tick starts a second validation.
    item->BidStatus = "Validating Bid";
    auto run = newRun(*item);
    if (userHasValidatedBid(index, item->UserID)) {
        run->guarded(&BidRun::afterSignIn);
        return;
    }
    modTLMain::SignInOptions options;
    options.item = number;
    modTLMain::Start_Sign_In(item->UserID, options, bidDeadline(index, kBidRequestBoundMs, 0, false),
                             [run](modTLMain::SignInResult) { run->guarded(&BidRun::afterSignIn); });
}

void Place_Bid(int index) {
    AuctionItem* item = Item_At(index);
    if (!item || Bid_Request_Running(item->ItemNumber)) return;
    const std::string number = item->ItemNumber;
    const std::string user = item->UserID;
    status("Placing Bid for User " + user + " - Item " + number);
    log("Placing Bid for User " + user + " - Item " + number);
    const std::string confirm = item->ConfirmRequest;
    item->BidStatus = "Placing Bid";
    item->UnconfirmedBid.clear();
    TLMainItems::Forget_Bid_Warning(*item);
    if (confirm.empty()) {
        // Nothing to post: the bid cannot be placed.
        const std::string error = "Error! Empty Confirm Request - Item " + number;
        log(error);
        status(error);
        item->BidTimeSecs = 0;
        item->BidStatus = "Validation Failed";
        TLMainItems::Save_Auction_Items();
        return;
    }
    // On disk before the offer leaves: however the program ends now, its next start knows the bid
    // may have gone out, and fetches the result instead of bidding again.
    TLMainItems::Save_Auction_Items();
    item = Item_At(index);
    if (!item) return;
    auto run = newRun(*item);
    modWinInet::HttpRequestSpec spec;
    spec.url = confirm;
    spec.method = "POST";
    spec.cookieUser = user;
    spec.flags = kBidFlags;
    spec.postData = confirm;
    run->request = modWinInet::Start_Http_Request(
        std::move(spec), bidDeadline(index, kBidRequestBoundMs, kPlacingGraceMs, true),
        [run](modWinInet::HttpResult r) {
            if (run->abandoned) return;
            try {
                run->afterPlacing(r);
            } catch (...) {
                run->end();
            }
        });
}

void Restore_Bid_Statuses() {
    bool changed = false;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        AuctionItem& item = TLMainItems::Items[static_cast<size_t>(i)];
        if (Bid_Request_Running(item.ItemNumber)) continue;
        std::string now;
        if (item.BidStatus == "Validating Bid") {
            now = "BidPending";
        } else if (item.BidStatus == "Placing Bid") {
            // The program ended before the placing's answer came: the service never confirmed it.
            now = "Bid Placed";
            item.BidTimeSecs = 0;
            item.UnconfirmedBid = "No Answer";
        } else {
            continue;
        }
        log("Bid Status Restored - Item " + item.ItemNumber + " - " + item.BidStatus + " > " + now);
        item.BidStatus = now;
        changed = true;
    }
    if (changed) TLMainItems::Save_Auction_Items();
}

void ResetBidRequestsForTests() {
    for (auto& [number, run] : runs()) {
        run->abandoned = true;
        run->pause.setEnabled(false);
        run->request.cancel();
    }
    runs().clear();
}

}  // namespace TLMainBids
