#include "items/sort_commands.h"

#include "foundation/config_store.h"
#include "items/item_grid.h"
#include "items/item_grid_link.h"
#include "items/item_sort.h"
#include "items/item_store.h"
#include "items/items_guard.h"

namespace TLMainItems {
namespace {
int g_lastHeaderKey = -1;
}  // namespace

void Sort_Items_By(int key) {
    if (key < 0 || key >= kSortKeys) return;
    if (Refuse_When_Items_Busy()) return;
    Sort_Auction_Items(key);
    Save_Auction_Items();
    Load_ItemGrid();
}

void Sort_Button_Click() { Sort_Items_By(Default_Sort_Key()); }

void Sort_Dropdown_Click(int n) { Sort_Items_By(n - 1); }

void MnuSortSub_Click(int Index) {
    if (Index < 0 || Index >= kSortKeys) return;
    modTLC::Set_Config_Value("Options", "DefaultSort", Index);
}

int Header_Sort_Key(int Col, int lastKey) {
    switch (Col) {
        case kColHighBid: return lastKey == 4 ? 5 : 4;
        case kColBids: return 6;
        case kColRemaining:
        case kColEnds: return lastKey == 0 ? 1 : 0;
        case kColGroup: return 8;
        case kColShipping: return 7;
        default: return -1;
    }
}

void ItemGrid_HeaderClick(int Col) {
    if (GridViewMode > 0) return;
    const int key = Header_Sort_Key(Col, g_lastHeaderKey);
    if (key < 0) return;
    if (Refuse_When_Items_Busy()) return;
    g_lastHeaderKey = key;
    Sort_Items_By(key);
}

void ResetSortCommandsForTests() { g_lastHeaderKey = -1; }

}  // namespace TLMainItems
