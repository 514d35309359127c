#include "items/item_sort.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/config_store.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/remaining_time.h"
#include "items/stored_amounts.h"
#include "platform/locale_info.h"

namespace TLMainItems {
namespace {

// One item's sort value, worked out once before the sort. Items of group 1 (no value) come after
// every item of group 0, whatever the direction, in their order before the sort.
struct Key {
    int group = 0;
    long long number = 0;  // end second, amount in hundredths, rating in thousandths, bids, group rank
    std::string text;      // seller ID in capitals
};

Key none() { return {1, 0, {}}; }

Key endKey(const AuctionItem& item) {
    const auto end = End_Moment_Ms(item.EndTime);
    return end ? Key{0, *end / 1000, {}} : none();
}

// The seller ID: the text before the first "(", without the blank before it.
Key sellerKey(const AuctionItem& item) {
    const long p = vb::InStr(item.Seller, "(");
    return {0, 0, vb::UCase(vb::Trim(p > 0 ? vb::Left(item.Seller, p - 1) : item.Seller))};
}

// The positive-feedback percentage before the last "%" ("99.8%"), in thousandths; 0.0 without "%".
Key ratingKey(const AuctionItem& item) {
    const std::string& s = item.Seller;
    const size_t pct = s.rfind('%');
    if (pct == std::string::npos) return {0, 0, {}};
    size_t from = pct;
    while (from > 0 && ((s[from - 1] >= '0' && s[from - 1] <= '9') || s[from - 1] == '.')) --from;
    const std::string number = s.substr(from, pct - from);
    const size_t dot = number.find('.');
    const std::string whole = number.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : number.substr(dot + 1);
    if (whole.empty() || whole.size() > 6 || frac.find('.') != std::string::npos) return none();
    frac = (frac + "000").substr(0, 3);
    for (char c : frac)
        if (c < '0' || c > '9') return none();
    return {0, std::stoll(whole) * 1000 + std::stoll(frac), {}};
}

// An amount of a price or shipping text; "Free" is nothing to pay.
Key amountKey(const std::string& text) {
    if (vb::EqualText(vb::Trim(text), "Free")) return {0, 0, {}};
    const auto cents = modTLMain::Read_Stored_Amount(text);
    return cents ? Key{0, *cents, {}} : none();
}

Key bidsKey(const AuctionItem& item) { return {0, static_cast<long long>(vb::Val(item.BidCount)), {}}; }

std::vector<Key> keysOf(int key, int count) {
    std::vector<Key> keys(static_cast<size_t>(count));
    std::unordered_map<std::string, long long> groupRank;
    for (int i = 0; i < count; ++i) {
        const AuctionItem& item = Items[static_cast<size_t>(i) + 1];
        Key& k = keys[static_cast<size_t>(i)];
        switch (key) {
            case 0:
            case 1: k = endKey(item); break;
            case 2: k = sellerKey(item); break;
            case 3: k = ratingKey(item); break;
            case 4:
            case 5: k = amountKey(item.CurrentPrice); break;
            case 6: k = bidsKey(item); break;
            case 7: k = amountKey(item.Shipping); break;
            case 8:
                if (item.BidGroup.empty()) k = none();
                else k = {0, groupRank.try_emplace(item.BidGroup, static_cast<long long>(groupRank.size())).first->second, {}};
                break;
        }
    }
    return keys;
}

// True when a sorts before b; items without a value after all others.
bool before(int key, const Key& a, const Key& b) {
    if (a.group != b.group) return a.group < b.group;
    if (a.group == 1) return false;
    switch (key) {
        case 2: return a.text < b.text;
        case 1:
        case 3:
        case 4:
        case 6: return a.number > b.number;  // highest first
        default: return a.number < b.number;
    }
}

}  // namespace

void Sort_Auction_Items(int key) {
    const int count = std::min<int>(ItemCount, static_cast<int>(Items.size()) - 1);
    if (count < 2 || key < 0 || key >= kSortKeys) return;
    const std::vector<Key> keys = keysOf(key, count);
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return before(key, keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
    });
    // The items move into their places in the list itself, cycle by cycle (place k takes the item
    // that stood at order[k]): no second list of every item is made.
    std::vector<char> placed(static_cast<size_t>(count), 0);
    for (int start = 0; start < count; ++start) {
        if (placed[static_cast<size_t>(start)]) continue;
        placed[static_cast<size_t>(start)] = 1;
        if (order[static_cast<size_t>(start)] == start) continue;
        AuctionItem held = std::move(Items[static_cast<size_t>(start) + 1]);
        int k = start;
        for (;;) {
            const int from = order[static_cast<size_t>(k)];
            placed[static_cast<size_t>(k)] = 1;
            if (from == start) {
                Items[static_cast<size_t>(k) + 1] = std::move(held);
                break;
            }
            Items[static_cast<size_t>(k) + 1] = std::move(Items[static_cast<size_t>(from) + 1]);
            k = from;
        }
    }
}

int Default_Sort_Key() {
    const std::string v = modTLC::Get_Config_Value("Options", "DefaultSort", "0");
    return vb::IsNumeric(v) ? vb::CInt(vb::CDbl(v)) : 0;
}

}  // namespace TLMainItems
