#include "items/item_windows.h"

#include "foundation/duty_links.h"

namespace TLMainItems {
ItemWindows& itemWindows() { return DutyLinks::dutyLink<ItemWindows>(); }
void registerItemWindows(ItemWindows* windows) { DutyLinks::setDutyLink(windows); }

}  // namespace TLMainItems
