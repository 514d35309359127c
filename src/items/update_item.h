// update_item.h — refreshing the items of the selected grid rows (the popup's and the toolbar's
// Update command, and the bid set-up dialog when it opens and from its refresh button).
//
// For each selected row, top to bottom, the item's page is fetched and its end time, bid count,
// price, minimum bid and reserve flag brought up to date, with the same alarm bits and alert
// sounds as the list refresh; the row is rewritten in place and recoloured without warnings. A
// page that did not come ends the refresh there; a page that came but is no item page (a removed
// item's) leaves its item as it was and the refresh goes on. The list is saved once at the end
// and the row clicked before is selected again. The refresh refuses with "Busy, Download In
// Progress...." while other work runs on the items (items_guard.h).
#pragma once

#include <string>
#include <vector>

namespace TLMainItems {

inline constexpr const char* kSelectedUpdateCancelled = "Update Cancelled...";

void Update_Selected_Item();

// The same refresh for the items of these numbers, in this order (the bid set-up dialog holds
// its items by number). Numbers no longer in the list are passed over.
void Update_Items_By_Number(const std::vector<std::string>& itemNumbers);

}  // namespace TLMainItems
