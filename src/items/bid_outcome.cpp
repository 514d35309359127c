#include "items/bid_outcome.h"

#include "foundation/vb.h"
#include "items/auction_item.h"

namespace TLMainItems {

bool User_Is_High_Bidder(const AuctionItem& item, const std::string& highBidder) {
    const std::string user = vb::Trim(item.UserID);
    return !user.empty() && vb::EqualText(vb::Trim(highBidder), user);
}

bool Bid_Won(const AuctionItem& item, const std::string& highBidder) {
    return User_Is_High_Bidder(item, highBidder) && item.ReserveFlag < 1;
}

BidOutcome Bid_Outcome(const AuctionItem& item) {
    const std::string& s = item.BidStatus;
    const bool neverPlaced = s == kItemClosed, notConfirmed = s == kBidNotConfirmed;
    if (!neverPlaced && !notConfirmed && s != kCompleted) return BidOutcome::Open;
    if (User_Is_High_Bidder(item, item.HighBidder))
        return Bid_Won(item, item.HighBidder) ? BidOutcome::Won : BidOutcome::Lost;
    if (neverPlaced) return BidOutcome::NeverPlaced;
    return notConfirmed ? BidOutcome::NotConfirmed : BidOutcome::Lost;
}

}  // namespace TLMainItems
