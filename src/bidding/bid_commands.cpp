// The bid set-up dialog's commands: Set Bid, Cancel Bid, Validate, Bid Now, Refresh Item and
// Clear (group).
#include "bidding/bid_commands.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <vector>

#include "bidding/bid_engine_links.h"
#include "bidding/bid_form.h"
#include "bidding/bid_groups.h"
#include "bidding/bid_validation.h"
#include "foundation/bid_engine_state.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/logs.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/item_grid_link.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "platform/message_box.h"
#include "platform/timers.h"

namespace TLMainBids {

namespace {

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The parts of a text between the marks (the text itself when the mark is empty or absent).
std::vector<std::string> splitAt(const std::string& s, const std::string& mark) {
    if (mark.empty()) return {s};
    return vb::Split(s, mark);
}

// Thousands marks that are blanks of some width all stand for one another.
std::string unifyBlanks(std::string s, const std::string& groupMark) {
    static const char* const blanks[] = {"\xC2\xA0", "\xE2\x80\xAF", " "};
    bool blankMark = false;
    for (const char* b : blanks) blankMark = blankMark || groupMark == b;
    if (!blankMark) return s;
    for (const char* b : blanks) s = vb::Replace(s, b, groupMark);
    return s;
}

std::string groupedThousands(const std::string& digits) {
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

BidAmount Canonical_Bid_Amount(const std::string& typed, bool wholeUnits) {
    std::string s = vb::Trim(typed);
    if (s.empty()) return {AmountCheck::Empty, {}};
    if (s[0] == '$') s = vb::Trim(s.substr(1));
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s = vb::Trim(s.substr(1));
    }
    const std::string decimalMark = modTLMain::Get_Locale_Decimal().empty() ? "." : modTLMain::Get_Locale_Decimal();
    const std::string groupMark = modTLMain::Get_Locale_Thousand();
    s = unifyBlanks(s, groupMark);

    const std::vector<std::string> halves = splitAt(s, decimalMark);
    if (halves.size() > 2) return {AmountCheck::NotANumber, {}};
    const std::string whole = halves[0];
    const std::string fraction = halves.size() == 2 ? halves[1] : "";
    if (!fraction.empty() && !allDigits(fraction)) return {AmountCheck::NotANumber, {}};
    if (whole.empty() && fraction.empty()) return {AmountCheck::NotANumber, {}};

    // Thousands marks only between groups of three digits.
    std::string digits;
    if (!whole.empty()) {
        const std::vector<std::string> groups = groupMark.empty() ? std::vector<std::string>{whole} : splitAt(whole, groupMark);
        for (size_t i = 0; i < groups.size(); ++i) {
            const std::string& g = groups[i];
            if (!allDigits(g)) return {AmountCheck::NotANumber, {}};
            if (groups.size() > 1 && (i == 0 ? g.size() > 3 : g.size() != 3)) return {AmountCheck::NotANumber, {}};
            digits += g;
        }
    }
    if (negative) return {AmountCheck::Improper, {}};
    if (fraction.size() > 2) return {AmountCheck::Improper, {}};
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > 13) return {AmountCheck::Improper, {}};
    const std::string cents = (fraction + "00").substr(0, 2);
    if (digits.empty() && cents == "00") return {AmountCheck::Improper, {}};
    if (wholeUnits && cents != "00") return {AmountCheck::Improper, {}};
    const std::string units = groupedThousands(digits.empty() ? "0" : digits);
    return {AmountCheck::Ok, wholeUnits ? units : units + "." + cents};
}

bool Whole_Units_Price(const std::string& currentPrice) { return currentPrice.find("NT$") != std::string::npos; }

std::optional<int> Bid_Quantity(const std::string& typed) {
    const std::string s = vb::Trim(typed);
    if (!allDigits(s) || s.size() > 4) return std::nullopt;
    const int n = std::stoi(s);
    if (n < 1 || n > 9999) return std::nullopt;
    return n;
}

namespace {

// Bid Now: the bids whose validation runs, each placed (or reported) once its validation ends.
struct ManualBid {
    std::string item;
    QPointer<BidForm> form;
    std::string user;  // the user it was validated for: placed under that user's session only
};

struct ManualBids {
    std::vector<ManualBid> waiting;
    platform::Timer poll;
};

ManualBids& manualBids() {
    static auto* m = new ManualBids();
    return *m;
}

constexpr int kManualBidPollMs = 100;

bool requestUnderWay(const TLMainItems::AuctionItem& item) {
    return Bid_Request_Running(item.ItemNumber) || item.BidStatus == "Validating Bid" ||
           item.BidStatus == "Placing Bid" || Manual_Bid_Waiting(item.ItemNumber);
}

void saveAndRedraw() {
    bidLink<PowerControl>().Set_Next_Bid_Wakeup();
    TLMainItems::Save_Auction_Items();
    TLMainItems::itemGrid().loadItemGrid();
}

// Goes on with a manual bid whose validation has ended: places it when it was validated.
void finishManualBid(const ManualBid& bid) {
    const int index = TLMainItems::FindItemIndex(bid.item);
    TLMainItems::AuctionItem* item = TLMainItems::Item_At(index);
    if (item && item->BidStatus == "Bid Validated" && vb::EqualText(item->UserID, bid.user)) {
        // The confirm request belongs to the session of the user it was validated for, whoever
        // is the program's user by now.
        modTLMain::Write_Op_Log("Placing Manual Bid for Item - " + item->ItemNumber);
        Place_Bid(index);
        TLMainItems::itemGrid().loadItemGrid();
    } else if (item && item->BidStatus == "Bid Validated") {
        // Validated for a user who is no longer the item's bidder: not placed, and not left
        // validated with no bid second to come (nothing would ever place or update it).
        modTLMain::Write_Op_Log("Manual Bid Not Placed - Item " + item->ItemNumber + " - User Changed");
        item->BidTimeSecs = 0;
        item->BidStatus = "Validation Failed";
        TLMainItems::itemGrid().loadItemGrid();
    } else if (item && (item->BidStatus == "Placing Bid" || item->BidStatus == "Bid Placed")) {
        // The scheduler reached the bid second first and placed it: nothing to add.
        TLMainItems::itemGrid().loadItemGrid();
    } else {
        TLMainItems::itemGrid().loadItemGrid();
        platform::MsgBox(kValidationFailed, platform::vbSystemModal, "Bid Failed");
    }
    if (bid.form) bid.form->cmdRefresh_Click();
}

void pollManualBids() {
    ManualBids& m = manualBids();
    std::vector<ManualBid> done;
    for (auto it = m.waiting.begin(); it != m.waiting.end();) {
        if (Bid_Request_Running(it->item)) {
            ++it;
        } else {
            done.push_back(*it);
            it = m.waiting.erase(it);
        }
    }
    if (m.waiting.empty()) m.poll.setEnabled(false);
    for (const ManualBid& bid : done) finishManualBid(bid);
}

}  // namespace

bool Manual_Bid_Waiting(const std::string& itemNumber) {
    const auto& w = manualBids().waiting;
    return std::any_of(w.begin(), w.end(), [&](const ManualBid& b) { return b.item == itemNumber; });
}

void ResetBidCommandsForTests() {
    manualBids().waiting.clear();
    manualBids().poll.setEnabled(false);
}

}  // namespace TLMainBids

using namespace TLMainBids;

namespace {

int box(const char* text, int style = platform::vbSystemModal, const char* title = platform::kProgramTitle) {
    return platform::MsgBox(text, style, title);
}

// A validation or placing runs for one of the items: their set-up stays as it is until it ends
// (its answer would otherwise overwrite the new set-up). True when refused, after saying so.
bool refusedWhileRequestRuns(const std::vector<std::string>& numbers) {
    const TLMainItems::ItemsByNumber where;
    for (const std::string& number : numbers) {
        const TLMainItems::AuctionItem* it = TLMainItems::Item_At(where.indexOf(number));
        if (it && requestUnderWay(*it)) {
            box(kRequestInProgress, platform::vbSystemModal + platform::vbExclamation);
            return true;
        }
    }
    return false;
}

// The largest lead time an item record holds (seconds, a 32-bit number).
constexpr double kMaxLeadTime = 2147483647.0;

}  // namespace

void BidForm::OKBid_Click() {
    const int shown = dialogIndex();
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(shown);
    if (!item) {
        box(kItemNotFound);
        return;
    }
    if (refusedWhileRequestRuns(m_items)) return;
    // 1. An amount.
    if (MaxBidAmt->text().isEmpty()) {
        box(kMissingBidAmount);
        return;
    }
    // 2. The auction still runs.
    const std::optional<long> left = TLMainItems::Remaining_Secs_Of(item->EndTime);
    if (!left) {
        box(kItemEndUnknown, platform::vbSystemModal + platform::vbExclamation);
        return;
    }
    if (*left <= 0) {
        box(kItemClosed, platform::vbSystemModal + platform::vbExclamation, "Auction Item Closed");
        return;
    }
    // 3. A proper amount for every item it goes to (an "NT$" item keeps whole units).
    const std::string typed = MaxBidAmt->text().toStdString();
    const TLMainItems::ItemsByNumber where;
    for (const std::string& number : m_items) {
        const TLMainItems::AuctionItem* it = TLMainItems::Item_At(where.indexOf(number));
        if (it && Canonical_Bid_Amount(typed, Whole_Units_Price(it->CurrentPrice)).check != AmountCheck::Ok) {
            box(kImproperBidAmount, platform::vbSystemModal, "Improper Bid Amount");
            return;
        }
    }
    // 4. A quantity.
    const std::optional<int> quantity = Bid_Quantity(ItemQtyBox->text().toStdString());
    if (!quantity) {
        box(kInvalidQuantity);
        return;
    }
    // 5, 6. The lead time: at least 3 seconds.
    if (vb::Trim(txtBidTimeMin->text().toStdString()).empty()) txtBidTimeMin->setText("0");
    const std::string minutes = vb::Trim(txtBidTimeMin->text().toStdString());
    const std::string seconds = vb::Trim(txtBidTimeSec->text().toStdString());
    if (!vb::IsNumeric(minutes) || !vb::IsNumeric(seconds)) {
        box(kBidTimeFormat, platform::vbSystemModal + platform::vbCritical, "Bid Time Error");
        return;
    }
    // A lead time the item's record cannot hold would wrap round to a negative number.
    const double typedLead = vb::CDbl(minutes) * 60 + vb::CDbl(seconds);
    if (!(std::fabs(vb::CDbl(minutes)) <= kMaxLeadTime && std::fabs(vb::CDbl(seconds)) <= kMaxLeadTime &&
          typedLead <= kMaxLeadTime)) {
        box(kBidTimeFormat, platform::vbSystemModal + platform::vbCritical, "Bid Time Error");
        return;
    }
    BidMinutes = vb::CLng(vb::CDbl(minutes));
    BidSeconds = vb::CLng(vb::CDbl(seconds));
    const long leadTime = BidMinutes * 60 + BidSeconds;
    if (BidMinutes + BidSeconds == 0) {
        box(kBidTimeZero, platform::vbSystemModal + platform::vbCritical, "Bid Time Error");
        return;
    }
    if (leadTime < 3) {
        box(kBidTimeLow, platform::vbSystemModal + platform::vbCritical, "Bid Time Low");
        return;
    }
    // A lead time at or beyond the time left bids at once: that is Bid Now, and asked as such.
    if (leadTime >= *left &&
        box(kBidNowWarning, platform::vbSystemModal + platform::vbYesNo + platform::vbDefaultButton2, "PLACE BID NOW") !=
            platform::vbYes)
        return;
    if (refusedWhileRequestRuns(m_items)) return;  // the scheduler may have started one meanwhile
    // The group choice must be one the groups can take before anything is written.
    const std::string group = vb::Trim(WTGroups->currentText().toStdString());
    const std::string control = vb::Trim(WTCtrlGroups->currentText().toStdString());
    if (!group.empty()) {
        if (!modBidGroups::Valid_Group_Name(group) || !modBidGroups::Valid_Group_Name(control)) {
            box(modBidGroups::kInvalidGroupName);
            return;
        }
        if (vb::EqualText(group, control)) {
            box(modBidGroups::kGroupControlsItself);
            return;
        }
    }

    // 7, 8. The lead time and the dial choice are remembered for the next bid.
    modTLC::Set_Config_Value("Options", "LastBidTime", leadTime);
    if (AutoDial->isEnabled() && !AutoDial->isChecked() &&
        box(kAutoDialNotSet, platform::vbSystemModal + platform::vbYesNo + platform::vbQuestion, "Auto Dial Not Set") ==
            platform::vbYes)
        AutoDial->setChecked(true);
    modTLC::Set_Config_Value("Options", "LastAutoDial", AutoDial->isChecked() ? 1 : 0);

    // 9. Every item the dialog was opened for, found again by its number, is armed.
    const std::string options = std::to_string((chkEmailOpt->isChecked() ? 1 : 0) + 2 * (chkShutDnOpt->isChecked() ? 1 : 0));
    std::vector<int> indexes;
    const TLMainItems::ItemsByNumber armed;
    for (const std::string& number : m_items) {
        const int index = armed.indexOf(number);
        TLMainItems::AuctionItem* it = TLMainItems::Item_At(index);
        if (!it) continue;
        indexes.push_back(index);
        if (it->ListingType == "BIN") continue;
        it->MaxBid = Canonical_Bid_Amount(typed, Whole_Units_Price(it->CurrentPrice)).canonical;
        it->ResultDone.clear();
        it->Reserved3.clear();
        it->UserID = UserState::CurrentUserID;
        it->AfterBidOptions = options;
        it->BidStatus.clear();
        it->BidTimeSecs = static_cast<int32_t>(leadTime);
        it->Quantity = std::to_string(*quantity);
        if (AutoDial->isEnabled()) it->DialBeforeBid = AutoDial->isChecked() ? 1 : 0;
    }
    // 10. The group choice.
    if (!group.empty())
        modBidGroups::Apply_Bid_Group(group, control, WTReqWins->currentText().toStdString(), indexes);

    // 11. One log line, from the shown item.
    if (const TLMainItems::AuctionItem* it = TLMainItems::Item_At(dialogIndex())) {
        std::string line = multipleItems() ? "Multiple Bid Setup - Amt " + it->MaxBid
                                           : "Bid Setup - " + UserState::CurrentUserID + " - " + it->ItemNumber + " - " +
                                                 it->EndTime + " - " + it->MaxBid;
        line += " - " + std::to_string(it->BidTimeSecs) + " - " + it->AfterBidOptions + " - " +
                std::to_string(it->DialBeforeBid);
        if (!it->BidGroup.empty())
            line += " - " + it->BidGroup + " - " + it->ControlGroup + " - " + std::to_string(it->GroupNeed);
        modTLMain::Write_Op_Log(line);
    }
    // 12, 13.
    saveAndRedraw();
    close();
}

void BidForm::CancelBid_Click() {
    if (refusedWhileRequestRuns(m_items)) return;
    const TLMainItems::ItemsByNumber where;
    for (const std::string& number : m_items) {
        TLMainItems::AuctionItem* it = TLMainItems::Item_At(where.indexOf(number));
        if (!it) continue;
        it->MaxBid.clear();
        it->BidGroup.clear();
        it->ControlGroup.clear();
        it->ConfirmRequest.clear();
        it->BidStatus.clear();
        it->ResultDone.clear();
        it->GroupLock = 0;
        it->BidTimeSecs = 0;
        it->DialBeforeBid = 0;
        it->AfterBidOptions = "0";
        it->Quantity = "1";
    }
    modTLMain::Write_Op_Log(multipleItems() ? std::string("Multiple Manual Bid Cancellation")
                                            : "Bid Cancelled - Item " + m_dialogItem);
    saveAndRedraw();
    close();
}

bool BidForm::ValidateBid() {
    const int index = dialogIndex();
    TLMainItems::AuctionItem* item = TLMainItems::Item_At(index);
    if (!item) {
        box(kItemNotFound);
        return false;
    }
    const BidAmount amount = Canonical_Bid_Amount(MaxBidAmt->text().toStdString(), Whole_Units_Price(item->CurrentPrice));
    if (amount.check == AmountCheck::Empty || amount.check == AmountCheck::NotANumber) {
        box(kNoBidEntered);
        return false;
    }
    if (amount.check != AmountCheck::Ok) {
        box(kImproperBidAmount, platform::vbSystemModal, "Improper Bid Amount");
        return false;
    }
    if (MaxBidAmt->text().startsWith('$')) MaxBidAmt->setText(MaxBidAmt->text().mid(1));
    const std::optional<int> quantity = Bid_Quantity(ItemQtyBox->text().toStdString());
    if (!quantity) {
        box(kInvalidQuantity);
        return false;
    }
    if (requestUnderWay(*item)) {
        box(kRequestInProgress, platform::vbSystemModal + platform::vbExclamation);
        return false;
    }
    if (!TLMainItems::Remaining_Secs_Of(item->EndTime)) {
        box(kItemEndUnknown, platform::vbSystemModal + platform::vbExclamation);
        return false;
    }
    item->MaxBid = amount.canonical;
    item->Quantity = std::to_string(*quantity);
    item->UserID = UserState::CurrentUserID;
    Validate_Bid(index);
    return true;
}

// The dialog's item when it can take a bid request now, else 0 after saying why.
const TLMainItems::AuctionItem* BidForm::itemFreeForRequest() {
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(dialogIndex());
    if (!item) {
        box(kItemNotFound);
        return nullptr;
    }
    if (requestUnderWay(*item)) {
        box(kRequestInProgress, platform::vbSystemModal + platform::vbExclamation);
        return nullptr;
    }
    return item;
}

void BidForm::ManBid_Click() {
    const TLMainItems::AuctionItem* item = itemFreeForRequest();
    if (!item) return;
    const int yesNoNo = platform::vbSystemModal + platform::vbYesNo + platform::vbDefaultButton2;  // 4356
    const bool askedAgain = item->BidStatus == "Bid Placed";
    if (askedAgain && box(kPlaceAgain, yesNoNo) != platform::vbYes) return;
    if (box(kBidNowWarning, yesNoNo, "PLACE BID NOW") != platform::vbYes) return;
    // The scheduler may have placed the bid while the question was up: a second offer goes out
    // only when the user says so for the bid as it now stands.
    item = itemFreeForRequest();
    if (!item) return;
    if (!askedAgain && item->BidStatus == "Bid Placed" && box(kPlaceAgain, yesNoNo) != platform::vbYes) return;
    if (!ValidateBid()) return;

    // The bid is placed once its validation has ended (the validation runs on its own; this
    // dialog and everything else go on meanwhile).
    ManualBids& m = manualBids();
    const TLMainItems::AuctionItem* validating = TLMainItems::Item_At(dialogIndex());
    m.waiting.push_back({m_dialogItem, QPointer<BidForm>(this), validating ? validating->UserID : UserState::CurrentUserID});
    m.poll.setHandler(pollManualBids);
    m.poll.setInterval(kManualBidPollMs);
    m.poll.setEnabled(true);
}

void BidForm::cmdRefresh_Click() {
    if (TLMainState::MinuteWarningGiven) return;
    Clear_Item_Facts();
    bidLink<ItemRefresh>().Update_Selected_Item(m_items);
    if (!multipleItems()) Show_Item_Facts();
}

void BidForm::cmdClrGrp_Click() {
    if (refusedWhileRequestRuns(m_items)) return;
    if (TLMainItems::AuctionItem* it = TLMainItems::Item_At(dialogIndex())) {
        it->BidGroup.clear();
        it->ControlGroup.clear();
        it->GroupLock = 0;
        it->GroupNeed = 0;
        it->GroupWins = 0;
    }
    WTGroups->setCurrentIndex(WTGroups->count() > 0 ? 0 : -1);
    WTCtrlGroups->setCurrentIndex(WTCtrlGroups->count() > 0 ? 0 : -1);
    const int one = WTReqWins->findText("1");
    WTReqWins->setCurrentIndex(one);
    txtItemsWon->setText("0");
    TLMainItems::Save_Auction_Items();
    TLMainItems::itemGrid().loadItemGrid();
}
