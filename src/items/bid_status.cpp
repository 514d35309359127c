#include "items/bid_status.h"

#include <map>
#include <utility>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/item_grid_link.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "items/stored_amounts.h"

namespace TLMainItems {
namespace {

void paintRow(int row, long colour) {
    if (row < 1) return;
    for (int col = 1; col <= kLastItemColumn; ++col) itemGrid().setCellBackColour(row, col, colour);
}

void paintCell(int row, int column, long colour) {
    if (row >= 1) itemGrid().setCellBackColour(row, column, colour);
}

void paintLeading(const AuctionItem& item, int row) {
    paintRow(row, item.BidGroup.empty() ? ColorBid : ColorWintally);
}

// Items warned about while their bid keeps its own status ("Bid Placed", "Validation Failed"):
// the item (its number and user) and the status it had then. A new status warns again.
std::map<std::pair<std::string, std::string>, std::string>& warnedUnderOwnStatus() {
    static std::map<std::pair<std::string, std::string>, std::string> warned;
    return warned;
}

// The warning of an outbid or minimum-bid verdict, given once per item until its status changes.
void warn(AuctionItem& item, int index, const std::string& what) {
    Get_Remaining_Secs(index);
    if (!RemainingKnown || RemainingSecs < 1) return;
    if (item.BidStatus == kOutBid) return;
    const bool marksOutBid = item.BidStatus.empty() || item.BidStatus == "BidPending";
    const std::pair<std::string, std::string> key{item.ItemNumber, item.UserID};
    if (!marksOutBid) {
        auto& warned = warnedUnderOwnStatus();
        const auto it = warned.find(key);
        if (it != warned.end() && it->second == item.BidStatus) return;
        warned[key] = item.BidStatus;
    }
    TLMainLink::statusLine().setStatus(what + " ! User \"" + item.UserID + "\" - Item " + item.ItemNumber);
    if (Config_True("Options", "Sound", false))
        TLMainLink::sounds().SoundEffects(modTLC::Get_Config_Value("Sounds", "Alert", "Alert"), 1);
    if (marksOutBid) {
        item.BidStatus = kOutBid;
        Save_Auction_Items();
    }
}

// The cells whose values changed under an alarm.
void paintAlarmCells(const AuctionItem& item, int index, int row) {
    if (row < 1) return;
    Get_Remaining_Secs(index);
    const long bits = static_cast<long>(vb::Val(item.AlarmState));
    if ((bits & 1) && RemainingKnown && RemainingSecs > 0) paintCell(row, kColEnds, ColorAlert);
    if (bits & 2) paintCell(row, kColBids, ColorAlert);
    if (bits & 4) paintCell(row, kColHighBid, ColorAlert);
}

void paintHighBidder(int row) {
    if (row < 1) return;
    paintRow(row, ColorHiBid);
    itemGrid().repaintGrid();
}

void judge(AuctionItem& item, int index, int row, bool notify) {
    if (item.MaxBid.empty()) return;
    switch (Bid_Outcome(item)) {
        case BidOutcome::Won: return paintHighBidder(row);
        case BidOutcome::Lost:
        case BidOutcome::NotConfirmed: return paintRow(row, ColorOutBid);
        case BidOutcome::NeverPlaced: return;  // no bid went out: nothing to judge
        case BidOutcome::Open: break;
    }
    if (User_Is_High_Bidder(item, item.HighBidder)) return paintHighBidder(row);
    if (item.CurrentPrice.empty()) return;
    const auto price = modTLMain::Read_Stored_Amount(item.CurrentPrice);
    const auto max = modTLMain::Read_Stored_Amount(item.MaxBid);
    if (!price || !max) return;

    if (*price < *max) {
        paintLeading(item, row);
        if (item.MinBid.empty()) return;
        const auto min = modTLMain::Read_Stored_Amount(item.MinBid);
        if (!min || *max >= *min) return;
        paintCell(row, kColMyBid, ColorOutBid);
        if (notify) warn(item, index, "Minimum Bid Warning");
        return;
    }
    if (vb::Val(item.BidCount) <= 0) {
        paintLeading(item, row);  // no bid yet: not outbid
        return;
    }
    paintRow(row, ColorOutBid);
    if (notify) warn(item, index, "Outbid Warning");
}

}  // namespace

void Update_Bid_Status(int ItemIndex, int Row, bool Notify) {
    AuctionItem* item = Item_At(ItemIndex);
    if (!item) return;
    // A status other than the one warned under: the next verdict under it warns again.
    auto& warned = warnedUnderOwnStatus();
    if (const auto it = warned.find({item->ItemNumber, item->UserID}); it != warned.end() && it->second != item->BidStatus)
        warned.erase(it);
    judge(*item, ItemIndex, Row, Notify);
    paintAlarmCells(*item, ItemIndex, Row);
}

void Forget_Bid_Warning(const AuctionItem& item) { warnedUnderOwnStatus().erase({item.ItemNumber, item.UserID}); }

void ResetBidStatusForTests() { warnedUnderOwnStatus().clear(); }

bool Config_True(const std::string& section, const std::string& key, bool def) {
    const std::string v = vb::Trim(modTLC::Get_Config_Value(section, key, def ? "True" : "False"));
    if (vb::EqualText(v, "True")) return true;
    if (vb::EqualText(v, "False")) return false;
    return vb::IsNumeric(v) ? vb::CDbl(v) != 0 : def;
}

}  // namespace TLMainItems
