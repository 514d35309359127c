// categories.h — the item categories: the category menus, the current category, adding one,
// deleting one with all its items, and stepping to the next.
//
// [Categories] holds one key per category, the name as typed, "1" for the current category and
// "0" for the others. The three category menus (select, delete, the popup's "Move Item To") list
// the names sorted without regard to case, entry k of each naming the same category; the grid
// shows the items of the current one. A new name that matches an existing category without
// regard to case selects that category; names the store cannot hold as keys ("=", "[", "]",
// line breaks) are refused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace TLMainItems {

inline constexpr const char* kInvalidCategoryName = "Invalid Category Name!";
// The longest category name, in bytes: a name is a menu entry and a caption.
inline constexpr size_t kMaxCategoryName = 64;
inline constexpr const char* kCategoryDeleted = "Category Deleted....";

// The menus' captions, entry 0 first (entry 0 exists before the first build), and the index of
// the current entry.
inline std::vector<std::string> CategoryNames{""};
inline int16_t CurrentCategoryIndex = 0;

// The current category's name ("" when the index names no entry).
std::string Current_Category_Name();
// "Tolvane Rerode II  -  User: <user>  -  Category: <category>".
std::string Main_Caption(const std::string& category);

// The list sorted alphabetically without regard to case (the menus built from settings).
std::vector<std::string> Sort_Menu(std::vector<std::string> list);

// A name [Categories] can keep as a key.
bool Valid_Category_Name(std::string_view name);

// Rebuilds the menus from [Categories] and finds the current category; a section without keys
// changes nothing.
void Load_Categories_Menu();
// Makes entry Index the current category and shows its items.
void MnuSubSelectAucCat_Click(int Index);
// Asks for a new category's name, adds it and makes it current.
void MnuSubAddAucCat_Click();
// Deletes the category of entry Index with all its items, after the user agrees; refused while
// other work runs on the items.
void MnuSubDeleteAucCat_Click(int Index);
// The next category (after the last: the first); the F7 key.
void Change_Category_Click();

void ResetCategoriesForTests();

}  // namespace TLMainItems
