#include "items/categories.h"

#include <algorithm>
#include <exception>

#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_store.h"
#include "items/item_window_links.h"
#include "items/items_guard.h"
#include "platform/input_box.h"
#include "platform/message_box.h"

namespace TLMainItems {
namespace {

constexpr const char* kSection = "Categories";

bool downloadOrUpdateBusy() {
    if (!TLMainState::DownloadBusy && !TLMainState::UpdateBusy) return false;
    TLMainLink::statusLine().setStatus(kBusy);
    return true;
}

void setCaption(const std::string& category) { itemLink<ItemWindow>().setMainCaption(Main_Caption(category)); }

bool validIndex(int index) { return index >= 0 && static_cast<size_t>(index) < CategoryNames.size(); }

}  // namespace

std::string Current_Category_Name() {
    return validIndex(CurrentCategoryIndex) ? CategoryNames[static_cast<size_t>(CurrentCategoryIndex)] : std::string();
}

std::string Main_Caption(const std::string& category) {
    return "Tolvane Rerode II  -  User: " + UserState::CurrentUserID + "  -  Category: " + category;
}

std::vector<std::string> Sort_Menu(std::vector<std::string> list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return vb::StrComp(a, b, vb::Text) < 0; });
    return list;
}

bool Valid_Category_Name(std::string_view name) {
    return !name.empty() && name.size() <= kMaxCategoryName && name.find_first_of("=[]\r\n") == std::string_view::npos;
}

void Load_Categories_Menu() {
    std::vector<std::string> names = modTLC::Get_Section_Keys(kSection);
    if (names.empty()) return;
    CategoryNames = Sort_Menu(std::move(names));
    CurrentCategoryIndex = -1;
    for (size_t k = 0; k < CategoryNames.size(); ++k)
        if (modTLC::Get_Config_Value(kSection, CategoryNames[k], "") == "1") CurrentCategoryIndex = static_cast<int16_t>(k);
    if (CurrentCategoryIndex == -1) CurrentCategoryIndex = 0;
    setCaption(Current_Category_Name());
    itemLink<ItemWindow>().categoriesChanged();
}

void MnuSubSelectAucCat_Click(int Index) {
    if (downloadOrUpdateBusy()) return;
    if (!validIndex(Index)) return;
    ItemGridModel& grid = ItemGrid();
    if (AlarmHighlightOn) {
        AlarmHighlightOn = 0;
        for (int c = 1; c <= 8; ++c) grid.setCellBackColor(AlarmHighlightRow, c, AlarmHighlightColor);
        grid.setCol(kColDescription);
        grid.repaintGrid();
    }
    setCaption(CategoryNames[static_cast<size_t>(Index)]);
    for (const std::string& name : CategoryNames) modTLC::Set_Config_Value(kSection, name, "0");
    modTLC::Set_Config_Value(kSection, CategoryNames[static_cast<size_t>(Index)], "1");
    CurrentCategoryIndex = static_cast<int16_t>(Index);
    itemLink<ItemWindow>().categoriesChanged();
    GridRestoreRow = 0;
    Load_ItemGrid();
}

void MnuSubAddAucCat_Click() {
    try {
        if (downloadOrUpdateBusy()) return;
        modTLMain::Set_Window_Topmost(TLMainLink::window().widget(), 0);
        const std::string name = vb::Trim(platform::InputBox("Enter New Category Name.", "Add Category"));
        if (name.empty()) return;
        if (!Valid_Category_Name(name)) {
            TLMainLink::statusLine().setStatus(kInvalidCategoryName);
            return;
        }
        // The store matches keys without regard to case: such a name is the existing category.
        for (size_t k = 0; k < CategoryNames.size(); ++k) {
            if (!CategoryNames[k].empty() && vb::EqualText(CategoryNames[k], name)) {
                MnuSubSelectAucCat_Click(static_cast<int>(k));
                return;
            }
        }
        modTLC::Set_Config_Value(kSection, name, "0");
        Load_Categories_Menu();
        for (size_t k = 0; k < CategoryNames.size(); ++k) {
            if (CategoryNames[k] == name) {
                MnuSubSelectAucCat_Click(static_cast<int>(k));
                return;
            }
        }
    } catch (const std::exception& e) {
        modTLMain::Log_Exception(e, "MnuSubAddAucCat_Click");
    }
}

void MnuSubDeleteAucCat_Click(int Index) {
    if (Refuse_When_Items_Busy()) return;
    if (CategoryNames.size() == 1 || !validIndex(Index)) return;
    const std::string name = CategoryNames[static_cast<size_t>(Index)];
    const int answer = platform::MsgBox(
        std::string("WARNING! ALL AUCTION ITEMS IN THIS CATEGORY WILL BE DELETED. ") + vb::vbCrLf + vb::vbCrLf +
            "DELETE CATEGORY \"" + name + "\"",
        platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2 + platform::vbSystemModal,
        "Delete Category");
    if (answer != platform::vbYes) return;
    if (Refuse_When_Items_Busy()) return;  // work started while the question waited

    // The category's items go; the others keep their order.
    std::vector<AuctionItem> kept;
    kept.reserve(Items.size());
    kept.push_back(Items[0]);
    for (int i = 1; i <= ItemCount; ++i)
        if (Items[static_cast<size_t>(i)].Category != name) kept.push_back(std::move(Items[static_cast<size_t>(i)]));
    Items = std::move(kept);
    ItemCount = static_cast<int16_t>(Items.size() - 1);
    Save_Auction_Items();
    Load_ItemGrid();

    modTLC::Delete_Config_Key(kSection, name);
    const bool wasCurrent = Index == CurrentCategoryIndex;
    Load_Categories_Menu();
    if (wasCurrent) MnuSubSelectAucCat_Click(0);
    TLMainLink::statusLine().setStatus(kCategoryDeleted);
}

void Change_Category_Click() {
    if (downloadOrUpdateBusy()) return;
    if (CurrentCategoryIndex == static_cast<int>(CategoryNames.size()) - 1)
        MnuSubSelectAucCat_Click(0);
    else
        MnuSubSelectAucCat_Click(CurrentCategoryIndex + 1);
}

void ResetCategoriesForTests() {
    CategoryNames.assign(1, "");
    CurrentCategoryIndex = 0;
}

}  // namespace TLMainItems
