// sort_commands.h — the commands that sort the item list: the toolbar's Sort button and its
// drop-down, a left click on a column caption of the grid, and the "Sort Default" menu that
// chooses the key the program sorts by on its own.
//
// A sort moves whole records, so every sort here is followed by a save and a grid load; while
// other work runs on the list ("Busy, Download In Progress....") nothing is sorted.
#pragma once

namespace TLMainItems {

// Sorts by `key` (0 to 8), saves the list and reloads the grid.
void Sort_Items_By(int key);
// The toolbar's Sort button: the default key.
void Sort_Button_Click();
// The button's drop-down entry n (from 1): key n - 1; the default is not changed.
void Sort_Dropdown_Click(int n);
// "Sort Default" entry Index: checks it and stores it as [Options] DefaultSort; sorts nothing.
void MnuSortSub_Click(int Index);

// A left click on the caption of column Col: "High Bid" sorts highest first, then lowest first
// on the next click; "Bids" most first; "Time Remaining" and "Auction Ends" ending first, then
// ending last; "Group" by group; "Shipping" lowest first. Other columns sort nothing.
void ItemGrid_HeaderClick(int Col);
// The key that click sorts by, after a header sort by `lastKey` (-1: none); -1 for no key.
int Header_Sort_Key(int Col, int lastKey);

void ResetSortCommandsForTests();

}  // namespace TLMainItems
