#include "maintenance/item_list_export.h"

#include <fstream>

#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "items/auction_item.h"
#include "items/categories.h"
#include "items/item_grid.h"
#include "platform/save_dialog.h"

namespace Maintenance {
namespace {

using TLMainItems::AuctionItem;

constexpr const char* kCrLf = "\r\n";

// A field of the tab form: the separators of rows and columns become blanks.
void appendCell(std::string& out, const std::string& field) {
    const size_t from = out.size();
    out += field;
    for (size_t i = from; i < out.size(); ++i)
        if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n') out[i] = ' ';
}

void appendTabRow(std::string& out, const AuctionItem& it) {
    const std::string* cells[] = {&it.ItemNumber, &it.Title,       &it.EndTime, &it.BidCount,
                                  &it.MaxBid,     &it.CurrentPrice, &it.Shipping, &it.CommentText,
                                  &it.Seller,     &it.HighBidder,  &it.Category, &it.UserID};
    bool first = true;
    for (const std::string* cell : cells) {
        if (!first) out += '\t';
        first = false;
        appendCell(out, *cell);
    }
    out += kCrLf;
}

void appendBlock(std::string& out, const AuctionItem& it) {
    const std::pair<const char*, const std::string*> lines[] = {
        {"Item - ", &it.ItemNumber},   {"Title - ", &it.Title},       {"Ends - ", &it.EndTime},
        {"Bids - ", &it.BidCount},     {"User Bid - ", &it.MaxBid},   {"High Bid - ", &it.CurrentPrice},
        {"Shipping - ", &it.Shipping}, {"Comment - ", &it.CommentText}, {"Seller - ", &it.Seller},
        {"High Bidder - ", &it.HighBidder}, {"Category - ", &it.Category}};
    for (const auto& [label, field] : lines) {
        out += label;
        out += *field;
        out += kCrLf;
    }
    out += kCrLf;
}

struct CommandTexts {
    const char* title;
    const char* filter;
    const char* fileName;
    const char* exporting;
    const char* complete;
    const char* failed;
};

constexpr CommandTexts kAllTexts{"Export Auction Item", "Text File (*.txt)|*.txt", "Tolvane Rerode II Item List",
                                 "Exporting Auction Item List ", "List Export Complete....", "List Export Failed...."};
constexpr CommandTexts kCategoryTexts{"Export Auction Category Items", "Text File (*.txt)|*.txt",
                                      "Tolvane Rerode II Category Item List", "Exporting Auction Category Item List ",
                                      "Category List Export Complete....", "Category List Export Failed...."};

}  // namespace

std::string Item_List_Text(bool tabDelimited, bool onlyCategory, const std::string& category) {
    std::string out;
    if (tabDelimited)
        out = "Item #\tItem Name\tAuction Ends\tBids\tUsers Bid\tHigh Bid\tShipping\tComment\tSeller\tHigh Bidder\t"
              "Category\tUser ID\r\n";
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const AuctionItem* it = TLMainItems::Item_At(i);
        if (!it || (onlyCategory && it->Category != category)) continue;
        if (tabDelimited)
            appendTabRow(out, *it);
        else
            appendBlock(out, *it);
    }
    return out;
}

void Export_Item_List(ListExport kind) {
    auto& status = TLMainLink::statusLine();
    if (TLMainState::DownloadBusy || TLMainState::UpdateBusy) {
        status.setStatus(kBusyDownload);
        return;
    }
    if (TLMainItems::ItemCount == 0 || TLMainItems::GridRowCount == 0) return;

    const bool onlyCategory = kind == ListExport::CategoryText || kind == ListExport::CategoryTab;
    const bool tab = kind == ListExport::AllTab || kind == ListExport::CategoryTab;
    CommandTexts texts = onlyCategory ? kCategoryTexts : kAllTexts;
    if (kind == ListExport::AllTab) texts.filter = "Excel File (*.xls)|*.xls";

    status.setStatus(texts.exporting + TLMainLink::itemNumberBox().itemNumberText());
    const platform::SaveAnswer answer = platform::saveDialog().chooseFileToSave(texts.title, texts.filter, texts.fileName);
    if (answer.path.empty()) {
        status.setStatus(texts.failed + (answer.error.empty() ? std::string(platform::kCancelSelected) : answer.error));
        return;
    }
    if (!onlyCategory) modTLMain::Wait_Seconds(1);

    // One pass that does not yield: the list written is the list of one moment.
    const std::string bytes = Item_List_Text(tab, onlyCategory, TLMainItems::Current_Category_Name());
    std::ofstream file(answer.path, std::ios::binary | std::ios::trunc);
    if (file) file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file) file.close();
    if (!file) {
        status.setStatus(std::string(texts.failed) + " Can't write " + answer.path);
        return;
    }
    status.setStatus(texts.complete);
}

}  // namespace Maintenance
