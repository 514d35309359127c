#include "items/bid_history_view.h"

#include <cmath>

#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_photo.h"

namespace TLMainItems {
namespace {

std::string bidHistoryFile(const std::string& itemNum) { return modTLMain::DataFolder + "Saved Items/" + itemNum + "BH.txt"; }

void showList() { itemLink<BidHistoryList>().setRows(BidHistoryRows); }

// A letter in upper case (other bytes as they are).
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Where the next "PDT" or "PST" (case ignored) starts at or after `from`; npos when neither does.
size_t nextZone(std::string_view text, size_t from) {
    for (size_t i = from; i + 3 <= text.size(); ++i) {
        if (upper(text[i]) != 'P' || upper(text[i + 2]) != 'T') continue;
        const char middle = upper(text[i + 1]);
        if (middle == 'D' || middle == 'S') return i;
    }
    return std::string_view::npos;
}

}  // namespace

// One pass: each bid line is looked at once. A line runs from the last line end before its zone
// (or, where bids follow one another with no line end, from the end of the bid before) to the
// zone's last letter.
std::vector<BidHistoryRow> Read_Bid_History(std::string_view text) {
    std::vector<BidHistoryRow> rows;
    const long header = vb::InStr(1, text, "BidderBid Amount", vb::Text);
    if (header == 0) return rows;
    size_t p = static_cast<size_t>(header - 1);
    size_t lastEnd = 0;  // where the bid before ended
    for (;;) {
        const size_t e = nextZone(text, p);
        if (e == std::string_view::npos) break;
        const size_t lineBreak = text.substr(lastEnd, e - lastEnd).rfind('\n');
        const size_t start = lineBreak == std::string_view::npos ? lastEnd : lastEnd + lineBreak + 1;
        const std::string_view line = text.substr(start, e + 3 - start);
        p = lastEnd = e + 3;

        size_t c = std::string_view::npos;
        for (const char* word : {"US ", "GBP ", "EUR ", "AU ", "C "})
            if ((c = line.find(word)) != std::string_view::npos) break;
        if (c == std::string_view::npos) break;  // later lines are not read

        std::string bidder = vb::Trim(line.substr(0, c));
        if (vb::InStr(1, bidder, "starting", vb::Text))
            bidder = "Starting Price";
        else if (vb::InStr(1, bidder, "private", vb::Text))
            bidder = "Private";
        const size_t d = line.find('.', c);
        if (d == std::string_view::npos) break;  // an amount without its decimals ends the list
        BidHistoryRow row;
        row.key = "Key" + std::to_string(rows.size() + 1);
        row.bidder = std::move(bidder);
        row.amount = vb::Trim(line.substr(c, d + 3 - c));
        row.when = d + 3 < line.size() ? vb::Trim(line.substr(d + 3)) : std::string();
        rows.push_back(std::move(row));
    }
    return rows;
}

void Init_Bid_History_Grid() {
    BidHistoryArea.width = kBidHistoryWidth;
    BidHistoryArea.height = kBidHistoryHeight;
    itemLink<BidHistoryList>().setColumns({"User ID", "Bid Amount", "Bid Date/Time"},
                                          {kBidHistoryWidth / 4, kBidHistoryWidth / 4, kBidHistoryWidth / 2});
}

void Load_Bid_History_File(const std::string& ItemNum) {
    const auto text = modTLMain::Read_File_Start(bidHistoryFile(ItemNum), kBidHistoryReadCap);
    BidHistoryFileText = text.value_or("");
    BidHistoryRows = ItemNum.empty() || !text ? std::vector<BidHistoryRow>{} : Read_Bid_History(*text);
    showList();
}

bool Bid_History_Saved(const std::string& ItemNum) {
    return !ItemNum.empty() && modTLMain::File_Exists(bidHistoryFile(ItemNum));
}

void Show_Bid_History(long Row) {
    const ItemGridModel& g = ItemGrid();
    Load_Bid_History_File(g.TextMatrix(static_cast<int>(Row), kColItemNumber));
    // The list is as much larger than set up as the grid's columns are shown wider.
    const auto scaled = [&](long twips) { return std::lround(static_cast<double>(twips) * g.WidthScale()); };
    BidHistoryArea = Popup_Area(Row, g.RowHeight(3), scaled(kBidHistoryWidth), scaled(kBidHistoryHeight));
    BidHistoryShown = true;
    itemLink<BidHistoryList>().placeList(BidHistoryArea, true);
}

void Hide_Bid_History() {
    BidHistoryShown = false;
    itemLink<BidHistoryList>().placeList(BidHistoryArea, false);
}

void ResetBidHistoryForTests() {
    BidHistoryRows.clear();
    BidHistoryFileText.clear();
    BidHistoryArea = {};
    BidHistoryShown = false;
}

}  // namespace TLMainItems
