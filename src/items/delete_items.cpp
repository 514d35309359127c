#include "items/delete_items.h"

#include <QDir>
#include <unordered_map>
#include <unordered_set>

#include <QFile>
#include <string>
#include <vector>

#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_grid_link.h"
#include "items/item_refresh.h"
#include "items/item_store.h"
#include "items/items_guard.h"
#include "items/remaining_time.h"
#include "platform/message_box.h"

namespace TLMainItems {
namespace {

constexpr int kConfirmStyle =
    platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2 + platform::vbSystemModal;  // 4404

bool confirmed(const std::string& text, const std::string& caption) {
    return platform::MsgBox(text, kConfirmStyle, caption) == platform::vbYes;
}

void removeFile(const std::string& path) { QFile::remove(QString::fromStdString(path)); }

// The item's saved page, bid result, bid history and photo.
// The files kept for items: the saved pages and the photos, listed once for a whole delete (a
// look for four files of each of thousands of items would cost a look at the disk each).
struct ItemFiles {
    ItemFiles() {
        for (const char* folder : {"Saved Items/", "Item Photos/"}) {
            const QDir dir(QString::fromStdString(modTLMain::DataFolder + folder));
            for (const QString& name : dir.entryList(QDir::Files)) present.insert(folder + name.toStdString());
        }
    }
    void remove(const std::string& relative) {
        if (present.count(relative)) removeFile(modTLMain::DataFolder + relative);
    }
    std::unordered_set<std::string> present;
};

void removeItemFiles(ItemFiles& files, const std::string& number) {
    files.remove("Saved Items/" + number + ".html");
    files.remove("Saved Items/" + number + "BR.html");
    files.remove("Saved Items/" + number + "BH.txt");
    files.remove("Item Photos/" + number + ".jpg");
}

// Deletes the items of these numbers (those still in the list): their files and history lines,
// then the list without them, saved, and the grid reloaded. Nothing here waits.
void deleteItems(const std::vector<std::string>& numbers) {
    std::vector<bool> drop(static_cast<size_t>(ItemCount) + 1, false);
    std::string lines;
    const ItemsByNumber where;
    ItemFiles files;
    const std::string stamp = History_Stamp();
    for (const std::string& number : numbers) {
        const int i = where.indexOf(number);
        const AuctionItem* item = Item_At(i);
        if (!item || drop[static_cast<size_t>(i)]) continue;
        removeItemFiles(files, number);
        lines += Item_History_Line_At(stamp, "Deleted", number, item->Title);
        drop[static_cast<size_t>(i)] = true;
    }
    Append_Item_History(lines);

    // The list closes up in place (a new copy of a long list costs fresh memory).
    size_t to = 1;
    for (size_t k = 1; k <= static_cast<size_t>(ItemCount); ++k) {
        if (drop[k]) continue;
        if (to != k) Items[to] = std::move(Items[k]);
        ++to;
    }
    Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(to), Items.end());
    ItemCount = static_cast<int16_t>(Items.size() - 1);

    Save_Auction_Items();
    itemGrid().loadItemGrid();
    if (ItemCount == 0 || itemGrid().gridRowCount() == 0) TLMainLink::itemNumberBox().setItemNumberText("");
    itemGrid().setSelectedRow(1);
    TLMainLink::statusLine().setStatus(kItemsDeleted);
}

std::vector<std::string> closedItemsOnShow() {
    const Time_Snapshot now;
    const std::string category = itemGrid().currentCategory();
    std::vector<std::string> numbers;
    for (int i = 1; i <= ItemCount; ++i) {
        const AuctionItem* item = Item_At(i);
        if (!item || item->Category != category) continue;
        Get_Remaining_Secs(i);
        if (RemainingKnown && RemainingSecs < 0) numbers.push_back(item->ItemNumber);
    }
    return numbers;
}

}  // namespace

std::string Bid_Due_Question(const std::string& itemNumber) {
    return "Item " + itemNumber + " has a bid due within a minute. Delete it anyway?";
}

void Delete_Item(int NoConfirm) {
    if (Refuse_When_Items_Busy()) return;
    ItemGridLink& grid = itemGrid();
    const GridSelection selection = grid.gridSelection();
    if (selection.kind <= 0) return;
    std::vector<std::string> numbers;
    for (int r = selection.first; r <= selection.last; ++r)
        if (const AuctionItem* item = Item_At(grid.itemIndexOfRow(r))) numbers.push_back(item->ItemNumber);
    if (numbers.empty()) return;

    const std::string caption = "Delete Auction Item(s)";
    if (NoConfirm != 1) {
        std::string question = "Delete Multiple Selected Auction Items?";
        if (selection.first == selection.last) {
            const AuctionItem& item = Items[static_cast<size_t>(FindItemIndex(numbers.front()))];
            question = "Delete Auction Item - " + item.ItemNumber + "\r\n\r\n\"" + item.Title + "\" ?";
        }
        if (!confirmed(question, caption)) return;
    }
    // A bid due within a minute is deleted only when the user says so for that item. The list may
    // change while a question waits: it is indexed again after each.
    ItemsByNumber where;
    for (const std::string& number : numbers) {
        const AuctionItem* item = Item_At(where.indexOf(number));
        if (!item || (item->BidStatus != "BidPending" && item->BidStatus != "Bid Validated")) continue;
        if (!confirmed(Bid_Due_Question(number), caption)) return;
        where = ItemsByNumber();
    }
    if (Refuse_When_Items_Busy()) return;  // work started while the questions waited
    deleteItems(numbers);
}

void MnuSubPopupDeleteClosed_Click() {
    if (Refuse_When_Items_Busy()) return;
    const std::vector<std::string> closed = closedItemsOnShow();
    if (closed.empty()) return;
    if (!confirmed("Delete " + std::to_string(closed.size()) + " Closed Auction Items", "Delete Closed Auction Items"))
        return;
    if (Refuse_When_Items_Busy()) return;
    deleteItems(closedItemsOnShow());  // closed as of now
}

}  // namespace TLMainItems
