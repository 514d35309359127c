#include "items/item_store.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>

#include "foundation/logs.h"
#include "foundation/program_end.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/bid_status.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/timers.h"

namespace TLMainItems {
namespace {

// The record's members in file order.
struct Member {
    enum Kind { Text, Long, Integer };
    const char* name;
    Kind kind;
    std::string AuctionItem::*text = nullptr;
    int32_t AuctionItem::*lng = nullptr;
    int16_t AuctionItem::*integer = nullptr;
};

constexpr Member T(const char* n, std::string AuctionItem::*m) { return {n, Member::Text, m, nullptr, nullptr}; }
constexpr Member L(const char* n, int32_t AuctionItem::*m) { return {n, Member::Long, nullptr, m, nullptr}; }
constexpr Member I(const char* n, int16_t AuctionItem::*m) { return {n, Member::Integer, nullptr, nullptr, m}; }

using A = AuctionItem;
constexpr Member kMembers[] = {
    T("ItemNumber", &A::ItemNumber),     T("Title", &A::Title),
    T("EndTime", &A::EndTime),           T("CurrentPrice", &A::CurrentPrice),
    T("BidCount", &A::BidCount),         T("Reserved1", &A::Reserved1),
    T("MinBid", &A::MinBid),             T("HighBidder", &A::HighBidder),
    T("Seller", &A::Seller),             T("CommentText", &A::CommentText),
    T("Shipping", &A::Shipping),         T("Category", &A::Category),
    T("UserID", &A::UserID),             T("AlarmState", &A::AlarmState),
    T("MaxBid", &A::MaxBid),             L("BidTimeSecs", &A::BidTimeSecs),
    T("Quantity", &A::Quantity),         I("DialBeforeBid", &A::DialBeforeBid),
    T("BidStatus", &A::BidStatus),       T("UnconfirmedBid", &A::UnconfirmedBid),
    T("Reserved3", &A::Reserved3),       T("AlarmSetting", &A::AlarmSetting),
    T("ResultDone", &A::ResultDone),     I("ReserveFlag", &A::ReserveFlag),
    T("ConfirmRequest", &A::ConfirmRequest), T("AfterBidOptions", &A::AfterBidOptions),
    T("ControlGroup", &A::ControlGroup), T("BidGroup", &A::BidGroup),
    L("GroupLock", &A::GroupLock),       L("GroupNeed", &A::GroupNeed),
    L("GroupWins", &A::GroupWins),       T("ListingType", &A::ListingType),
    T("Reserved4", &A::Reserved4),       T("Reserved5", &A::Reserved5),
    T("Reserved6", &A::Reserved6),       T("Reserved7", &A::Reserved7),
    T("Reserved8", &A::Reserved8),       T("Reserved9", &A::Reserved9),
    T("Reserved10", &A::Reserved10),     T("Reserved11", &A::Reserved11),
    T("Reserved12", &A::Reserved12),
};
static_assert(std::size(kMembers) == 41);

// A file of another version waits to be copied aside before the first save replaces it.
std::string g_foreignVersion;
bool g_foreignCopyDue = false;

// The failure message waits for the program's next turn of the event loop, so the caller of a
// save (a bid on its second, say) goes on at once; one message at a time.
platform::Timer* g_notSavedTimer = nullptr;
bool g_notSavedShowing = false;

void putLe(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t getLe(std::string_view b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

// The longest start of `text` within the limit that does not end inside a UTF-8 character.
size_t cutLength(const std::string& text) {
    size_t n = kMaxStoredText;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return n;
}

void cutLongTexts(AuctionItem& item) {
    for (const Member& m : kMembers) {
        if (m.kind != Member::Text) continue;
        std::string& text = item.*m.text;
        if (text.size() <= kMaxStoredText) continue;
        const size_t was = text.size();
        text.resize(cutLength(text));
        modTLMain::Write_Op_Log("Item " + item.ItemNumber + " " + m.name + " Cut From " + std::to_string(was) +
                                " To " + std::to_string(text.size()) + " Bytes");
    }
}

// A copy of the file as it was, for a file of another version; an earlier copy is kept.
bool copyForeignFileAside() {
    std::string version;
    for (char c : g_foreignVersion)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.') version.push_back(c);
    if (version.empty()) version = "0";
    const QString from = QString::fromStdString(Item_Store_Path());
    const QString to = from + ".v" + QString::fromStdString(version);
    if (!QFile::exists(from) || QFile::exists(to)) return true;
    if (QFile::copy(from, to)) {
        modTLMain::Write_Op_Log("Auction Items File Version " + g_foreignVersion + " Copied To " + to.toStdString());
        return true;
    }
    return false;
}

// A store that did not read whole is kept as it was, beside the list, before anything can replace
// it: "Auction Items.dat.damaged-<date and time>".
std::string g_damagedBytes;   // the file as read, while its copy is still to be made
std::string g_damagedCopy;    // where the copy is

bool copyDamagedFileAside() {
    if (g_damagedBytes.empty()) return true;
    const std::string path = Item_Store_Path() + ".damaged-" +
                             platform::clock().now().toString("yyyyMMdd-HHmmss").toStdString();
    if (!modTLMain::Save_Whole_File(path, g_damagedBytes, true)) return false;
    g_damagedCopy = path;
    g_damagedBytes.clear();
    modTLMain::Write_Op_Log("Auction Items File Damaged - Copied To " + path);
    return true;
}

void showNotSaved() {
    if (g_notSavedShowing) return;
    if (!g_notSavedTimer) {
        g_notSavedTimer = new platform::Timer([] {
            g_notSavedTimer->setEnabled(false);
            g_notSavedShowing = true;
            platform::MsgBox(kItemsNotSaved, platform::vbOKOnly + platform::vbExclamation + platform::vbSystemModal);
            g_notSavedShowing = false;
        });
        g_notSavedTimer->setInterval(1);
    }
    g_notSavedTimer->setEnabled(true);
}

AuctionItem headerRecord(int count) {
    AuctionItem h;
    h.ItemNumber = std::to_string(count);
    h.Title = kItemStoreVersion;
    return h;
}

}  // namespace

std::string Item_Store_Path() { return modTLMain::DataFolder + kItemStoreFile; }

void Append_Record_Bytes(const AuctionItem& item, std::string& out) {
    for (const Member& m : kMembers) {
        switch (m.kind) {
            case Member::Text: {
                const std::string& text = item.*m.text;
                const size_t n = std::min(text.size(), kMaxStoredText);
                putLe(out, static_cast<uint32_t>(n), 2);
                out.append(text, 0, n);
                break;
            }
            case Member::Long: putLe(out, static_cast<uint32_t>(item.*m.lng), 4); break;
            case Member::Integer: putLe(out, static_cast<uint16_t>(item.*m.integer), 2); break;
        }
    }
}

bool Read_Record(std::string_view bytes, size_t& offset, AuctionItem& item) {
    size_t at = offset;
    AuctionItem r;
    for (const Member& m : kMembers) {
        switch (m.kind) {
            case Member::Text: {
                if (bytes.size() - at < 2) return false;
                const size_t n = getLe(bytes, at, 2);
                at += 2;
                if (bytes.size() - at < n) return false;
                (r.*m.text).assign(bytes.data() + at, n);
                at += n;
                break;
            }
            case Member::Long:
                if (bytes.size() - at < 4) return false;
                r.*m.lng = static_cast<int32_t>(getLe(bytes, at, 4));
                at += 4;
                break;
            case Member::Integer:
                if (bytes.size() - at < 2) return false;
                r.*m.integer = static_cast<int16_t>(getLe(bytes, at, 2));
                at += 2;
                break;
        }
    }
    item = std::move(r);
    offset = at;
    return true;
}

std::string Item_Store_Bytes() {
    const int count = std::min<int>(ItemCount, static_cast<int>(Items.size()) - 1);
    Items[0] = headerRecord(std::max(count, 0));
    for (int i = 1; i <= count; ++i) cutLongTexts(Items[static_cast<size_t>(i)]);
    std::string out;
    out.reserve(static_cast<size_t>(count + 1) * 384);
    for (int i = 0; i <= count; ++i) Append_Record_Bytes(Items[static_cast<size_t>(i)], out);
    return out;
}

// A bid whose request is out ("Validating Bid", "Placing Bid") is on disk however the program
// ends, so the next start knows it may have gone out (and fetches its result) rather than bidding
// again.
long g_saveCount = 0;

void Save_Items_At_Program_End() {
    for (int i = 1; i <= ItemCount; ++i) {
        const std::string& status = Items[static_cast<size_t>(i)].BidStatus;
        if (status == "Placing Bid" || status == "Validating Bid") {
            Save_Auction_Items();
            return;
        }
    }
}

void keepDamaged(std::string_view bytes);

void Load_Auction_Items() {
    modTLMain::On_Program_End("items", Save_Items_At_Program_End);
    Items.assign(1, AuctionItem{});
    ItemCount = 0;
    g_foreignCopyDue = false;
    g_damagedBytes.clear();
    g_damagedCopy.clear();
    const auto file = modTLMain::Read_Whole_File(Item_Store_Path());
    if (!file || file->empty()) return;
    const std::string_view bytes = *file;

    size_t offset = 0;
    AuctionItem header;
    if (!Read_Record(bytes, offset, header)) {
        modTLMain::Write_Op_Log("Auction Items File Too Short - " + std::to_string(bytes.size()) + " Bytes");
        keepDamaged(bytes);
        return;
    }
    const double said = std::round(vb::Val(header.ItemNumber));
    const bool countReads = vb::IsNumeric(header.ItemNumber) && said >= 0 && said <= kMaxItems;
    const int count = said < 1 ? 0 : said > kMaxItems ? kMaxItems : static_cast<int>(said);
    if (count > 0 && vb::Val(header.Title) != 41) {
        g_foreignVersion = header.Title;
        g_foreignCopyDue = true;
        platform::MsgBox(std::string(kIncompatibleStore) + "\r\n\r\n", platform::vbOKOnly + platform::vbSystemModal,
                         platform::kProgramTitle);
    }

    Items.reserve(static_cast<size_t>(count) + 1);
    int dropped = 0;
    int read = 0;
    bool garbled = false;
    for (; read < count; ++read) {
        AuctionItem item;
        if (!Read_Record(bytes, offset, item)) break;
        if (item.ItemNumber.empty()) {
            ++dropped;
            continue;
        }
        if (item.ItemNumber.size() > 64 ||
            std::any_of(item.ItemNumber.begin(), item.ItemNumber.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32; })) {
            // The records went out of step at a damaged length: what follows is no item.
            garbled = true;
            break;
        }
        Items.push_back(std::move(item));
    }
    Items[0] = std::move(header);
    ItemCount = static_cast<int16_t>(Items.size() - 1);
    if (read < count || dropped > 0)
        modTLMain::Write_Op_Log("Auction Items File Holds " + std::to_string(ItemCount) + " Of " +
                                std::to_string(count) + " Items");
    if (!countReads || garbled || read < count || offset != bytes.size()) keepDamaged(bytes);
}

void keepDamaged(std::string_view bytes) {
    g_damagedBytes.assign(bytes);
    copyDamagedFileAside();
    std::string where = g_damagedCopy;
    if (where.empty()) where = "(the copy could not be made; the list is not saved until it is)";
    platform::MsgBox("The auction item file is damaged: " + std::to_string(ItemCount) +
                         " items could be read.\r\n\r\nThe damaged file is kept as\r\n" + where,
                     platform::vbOKOnly + platform::vbSystemModal + platform::vbExclamation, platform::kProgramTitle);
}

long Item_Store_Save_Count() { return g_saveCount; }

bool Save_Auction_Items() {
    ++g_saveCount;
    if (!copyDamagedFileAside()) {
        modTLMain::Write_Error_Log("Damaged Auction Items File Could Not Be Copied Aside - Not Saved");
        showNotSaved();
        return false;
    }
    if (g_foreignCopyDue) {
        if (!copyForeignFileAside()) {
            modTLMain::Write_Error_Log("Auction Items File Of Version " + g_foreignVersion +
                                       " Could Not Be Copied Aside - Not Saved");
            showNotSaved();
            return false;
        }
        g_foreignCopyDue = false;
    }
    if (!modTLMain::Save_Whole_File(Item_Store_Path(), Item_Store_Bytes())) {
        modTLMain::Write_Error_Log(std::string(kItemsNotSaved) + " - " + Item_Store_Path());
        showNotSaved();
        return false;
    }
    return true;
}

ItemsByNumber::ItemsByNumber() {
    m_where.reserve(static_cast<size_t>(std::max<int>(ItemCount, 0)));
    for (int k = ItemCount; k >= 1; --k) m_where[Items[static_cast<size_t>(k)].ItemNumber] = k;
}

int ItemsByNumber::indexOf(const std::string& number) const {
    const auto found = m_where.find(number);
    return found == m_where.end() ? 0 : found->second;
}

int16_t FindItemIndex(const std::string& itemNumber) {
    for (int i = 1; i <= ItemCount && static_cast<size_t>(i) < Items.size(); ++i)
        if (Items[static_cast<size_t>(i)].ItemNumber == itemNumber) return static_cast<int16_t>(i);
    return 0;
}

bool Item_Store_Full(int count) { return ItemCount + count > kMaxItems; }

bool Append_Item(const AuctionItem& item) {
    if (Item_Store_Full()) return false;
    Items.resize(static_cast<size_t>(ItemCount) + 1);
    Items.push_back(item);
    ++ItemCount;
    return true;
}

bool Valid_Item_Number(std::string_view itemNumber) {
    if (itemNumber.empty() || itemNumber.size() > 19) return false;
    for (char c : itemNumber)
        if (c < '0' || c > '9') return false;
    return true;
}

void ResetItemStoreForTests() {
    modTLMain::Forget_Program_End("items");
    g_damagedBytes.clear();
    g_damagedCopy.clear();
    Items.assign(1, AuctionItem{});
    ItemCount = 0;
    ResetBidStatusForTests();
    AddedItemNumber.clear();
    g_foreignVersion.clear();
    g_foreignCopyDue = false;
    g_notSavedShowing = false;
    if (g_notSavedTimer) g_notSavedTimer->setEnabled(false);
}

}  // namespace TLMainItems
