// delete_items.h — removing items from the list: the selected rows (Delete_Item: the popup's
// and the toolbar's Delete, the Delete key) and every closed item of the category on show
// (MnuSubPopupDeleteClosed_Click).
//
// Both ask first (Yes/No, No the default), then remove each item's saved page, bid result, bid
// history and photo, append a " - Deleted - " line to the item-history log, close the gaps in the
// list (the kept items keep their order), save it and reload the grid. Both refuse with
// "Busy, Download In Progress...." while other work runs on the items (items_guard.h). An item
// whose bid is due within a minute ("BidPending", "Bid Validated") is deleted only after its own
// question, even with Shift+Delete.
#pragma once

#include <string>

namespace TLMainItems {

inline constexpr const char* kItemsDeleted = "Item(s) Deleted....";

// Deletes the items of the selected rows when the current column is the description (2).
// NoConfirm 1 (Shift+Delete) skips the general question.
void Delete_Item(int NoConfirm);

// Deletes the closed items (ended before now) of the category on show, of every user.
void MnuSubPopupDeleteClosed_Click();

// The text of the question for an item whose bid is due within a minute.
std::string Bid_Due_Question(const std::string& itemNumber);

}  // namespace TLMainItems
