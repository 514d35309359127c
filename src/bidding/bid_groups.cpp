#include "bidding/bid_groups.h"

#include <algorithm>

#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/bid_outcome.h"
#include "platform/message_box.h"
#include "service/page_globals.h"

namespace modBidGroups {

using TLMainItems::AuctionItem;

namespace {

constexpr const char* kSection = "BidGroups";
constexpr int kMaxWins = 30;

// Every item of group `g` of user `u` (the same name, the user in any case).
template <class F>
void forGroup(const std::string& g, const std::string& u, F f) {
    for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
        AuctionItem& it = TLMainItems::Items[static_cast<size_t>(k)];
        if (it.BidGroup == g && vb::EqualText(it.UserID, u)) f(it);
    }
}

// The [BidGroups] names that belong to `user`, in stored order.
std::vector<std::string> namesOf(const std::string& user) {
    std::vector<std::string> names;
    for (const std::string& key : modTLC::Get_Section_Keys(kSection))
        if (vb::EqualText(modTLC::Get_Config_Value(kSection, key), user)) names.push_back(key);
    return names;
}

// The stored name that matches `name` without regard to case, and its user.
bool findName(const std::string& name, std::string& stored, std::string& user) {
    for (const std::string& key : modTLC::Get_Section_Keys(kSection)) {
        if (!vb::EqualText(key, name)) continue;
        stored = key;
        user = modTLC::Get_Config_Value(kSection, key);
        return true;
    }
    return false;
}

int indexOf(const std::vector<std::string>& list, const std::string& entry) {
    const auto it = std::find(list.begin(), list.end(), entry);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void addOnce(std::vector<std::string>& list, const std::string& entry) {
    if (indexOf(list, entry) < 0) list.push_back(entry);
}

void refuse(const std::string& text) {
    platform::MsgBox(text, platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
}

// A status on its way to a bid: cancelling the bid empties it.
bool onTheWay(const std::string& status) {
    return status == "BidPending" || status == "Validating Bid" || status == "Bid Validated" || status == "OutBid";
}

}  // namespace

bool Valid_Group_Name(const std::string& name) { return name.find_first_of("=[]\r\n") == std::string::npos; }

void Cancel_Group_Bids() {
    const AuctionItem* p = TLMainItems::Item_At(TLMainState::PendingRequestItem);
    if (!p) return;
    const std::string g = p->BidGroup;
    const std::string u = p->UserID;
    forGroup(g, u, [&](AuctionItem& k) {
        if (k.BidTimeSecs < 1) return;
        k.BidTimeSecs = 0;
        k.BidGroup = kCancelledPrefix + g;
        if (onTheWay(k.BidStatus)) k.BidStatus.clear();
        k.ConfirmRequest.clear();
    });
}

void Check_Group_Win() {
    AuctionItem* p = TLMainItems::Item_At(TLMainState::PendingRequestItem);
    if (!p) return;
    const std::string g = p->BidGroup;
    const std::string u = p->UserID;
    const std::string& winner = modPageParser::PageHighBidder;
    if (winner.empty()) {
        modTLMain::Write_Op_Log("Wintally Failed to Retrieve High Bidder, Cancelling Remaining Wintallys");
        Cancel_Group_Bids();
        return;
    }
    if (!TLMainItems::Bid_Won(*p, winner)) return;  // a loss, or the reserve not met, changes nothing
    forGroup(g, u, [](AuctionItem& k) { ++k.GroupWins; });
    if (p->GroupWins >= p->GroupNeed) {
        for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
            AuctionItem& it = TLMainItems::Items[static_cast<size_t>(k)];
            if (it.ControlGroup == g && vb::EqualText(it.UserID, u)) it.GroupLock = 0;
        }
        modTLMain::Write_Op_Log("Wintally(s) Won - Cancelling Remaining Wintallys For Group - " + g);
        Cancel_Group_Bids();
        return;
    }
    modTLMain::Write_Op_Log("Wintally - Group " + g + " - Group Wins " + std::to_string(p->GroupWins) + " - Need " +
                            std::to_string(p->GroupNeed));
}

BidFormGroups Load_BidForm_Groups(int index) {
    BidFormGroups f;
    const std::string& user = UserState::CurrentUserID;
    f.groups.push_back("");
    f.controlGroups.push_back("");
    for (const std::string& name : namesOf(user)) f.groups.push_back(name);
    for (int n = 1; n <= kMaxWins; ++n) f.requiredWins.push_back(std::to_string(n));
    for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
        const AuctionItem& it = TLMainItems::Items[static_cast<size_t>(k)];
        if (it.BidTimeSecs <= 0 || !vb::EqualText(it.UserID, user) || it.BidGroup.empty()) continue;
        addOnce(f.groups, it.BidGroup);
        addOnce(f.controlGroups, it.BidGroup);
    }
    const AuctionItem* r = TLMainItems::Item_At(index);
    if (!r) return f;
    if (r->BidGroup.empty()) {
        f.groupIndex = 0;
        f.requiredIndex = 0;
    } else {
        f.groupIndex = indexOf(f.groups, r->BidGroup);
        if (f.groupIndex < 0) return f;
        f.requiredIndex = r->GroupNeed >= 1 && r->GroupNeed <= kMaxWins ? r->GroupNeed - 1 : -1;
        f.itemsWon = std::to_string(r->GroupWins);
    }
    f.controlIndex = r->ControlGroup.empty() ? 0 : indexOf(f.controlGroups, r->ControlGroup);
    return f;
}

bool Apply_Bid_Group(const std::string& groupText, const std::string& controlText, const std::string& requiredWins,
                     const std::vector<int>& indexes) {
    const std::string& user = UserState::CurrentUserID;
    std::string G = groupText;
    for (const std::string& entry : Load_BidForm_Groups(0).groups)
        if (!entry.empty() && vb::EqualText(entry, G)) G = entry;
    const std::string C = controlText;
    if (!Valid_Group_Name(G) || !Valid_Group_Name(C)) {
        refuse(kInvalidGroupName);
        return false;
    }
    if (!C.empty() && vb::EqualText(C, G)) {
        refuse(kGroupControlsItself);
        return false;
    }
    const int N = static_cast<int>(vb::Val(requiredWins));
    int W = 0;

    forGroup(G, user, [&](AuctionItem& k) { k.ControlGroup = C; });
    for (int k = 1; k <= TLMainItems::ItemCount; ++k) {
        AuctionItem& it = TLMainItems::Items[static_cast<size_t>(k)];
        if (it.BidGroup != G || !vb::EqualText(it.UserID, user)) continue;
        W = it.GroupWins;
        if (N == it.GroupNeed) continue;
        if (N <= W) {
            platform::MsgBox("Error! You can not reset the item win count to a value that is less than or equal to the "
                             "current items already won.",
                             platform::vbOKOnly | platform::vbSystemModal);
            return false;
        }
        const int answer = platform::MsgBox(
            "Warning! The win count for this bid group has been changed! Do you wish to reset the win count to this "
            "new value?",
            platform::vbYesNo | platform::vbDefaultButton2 | platform::vbSystemModal,
            "Bid Group \"" + G + "\" - New Win Count = " + std::to_string(N));
        if (answer != platform::vbYes) return false;
        forGroup(G, user, [&](AuctionItem& g) { g.GroupNeed = N; });
        break;
    }
    for (int index : indexes) {
        AuctionItem* it = TLMainItems::Item_At(index);
        if (!it) continue;
        it->BidGroup = G;
        it->GroupNeed = N;
        it->GroupWins = W;
        it->ControlGroup = C;
    }
    forGroup(G, user, [&](AuctionItem& k) { k.GroupLock = C.empty() ? 0 : 1; });
    return true;
}

bool Add_Bid_Group(const std::string& name, const std::string& user) {
    if (name.empty()) return false;
    if (!Valid_Group_Name(name)) {
        refuse(kInvalidGroupName);
        return false;
    }
    std::string stored, owner;
    if (findName(name, stored, owner) && !vb::EqualText(owner, user)) {
        refuse(kGroupNameTaken);
        return false;
    }
    modTLC::Set_Config_Value(kSection, stored.empty() ? name : stored, user);
    return true;
}

bool Remove_Bid_Group(const std::string& name, const std::string& user) {
    std::string stored, owner;
    if (name.empty() || !findName(name, stored, owner) || !vb::EqualText(owner, user)) return false;
    modTLC::Delete_Config_Key(kSection, stored);
    return true;
}

std::vector<std::string> Load_Setup_Groups(const std::string& user) { return namesOf(user); }

}  // namespace modBidGroups
