#include "items/bid_history_view.h"

#include <algorithm>
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

// The nearer of the next "PDT" and "PST" at or after `from` (case ignored); 0 when neither.
long nextLineEnd(std::string_view text, long from) {
    const long pdt = vb::InStr(from, text, "PDT", vb::Text);
    const long pst = vb::InStr(from, text, "PST", vb::Text);
    if (pdt == 0) return pst;
    if (pst == 0) return pdt;
    return std::min(pdt, pst);
}

}  // namespace

std::vector<BidHistoryRow> Read_Bid_History(std::string_view text) {
    std::vector<BidHistoryRow> rows;
    long p = vb::InStr(1, text, "BidderBid Amount", vb::Text);
    if (p == 0) return rows;
    for (;;) {
        const long e = nextLineEnd(text, p);
        if (e == 0) break;
        const long crlf = vb::InStrRev(text, vb::vbCrLf, e);
        const long start = crlf ? crlf + 2 : 1;
        const std::string line = vb::Mid(text, start, e + 2 - start + 1);
        p = e + 3;

        long c = 0;
        for (const char* word : {"US ", "GBP ", "EUR ", "AU ", "C "})
            if ((c = vb::InStr(line, word)) != 0) break;
        if (c == 0) break;  // later lines are not read

        std::string bidder = vb::Trim(vb::Left(line, c - 1));
        if (vb::InStr(1, bidder, "starting", vb::Text))
            bidder = "Starting Price";
        else if (vb::InStr(1, bidder, "private", vb::Text))
            bidder = "Private";
        const long d = vb::InStr(c, line, ".");
        if (d == 0) break;  // an amount without its decimals ends the list
        BidHistoryRow row;
        row.key = "Key" + std::to_string(rows.size() + 1);
        row.bidder = bidder;
        row.amount = vb::Trim(vb::Mid(line, c, d + 2 - c + 1));
        row.when = vb::Trim(vb::Mid(line, d + 3));
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
    const auto text = modTLMain::Read_Whole_File(bidHistoryFile(ItemNum));
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
