// update_items.h — refreshing the whole list (UpdateItems) and re-reading only the end times
// (UpdateEndingTime).
//
// UpdateItems runs as the deferred request "DoUpdateItems" (the toolbar's update-all button and
// the timed refresh). It fetches the pages of the items in its scope one after another, at most
// one page a second, and brings their end time, bid count, price, minimum bid and reserve flag up
// to date; changes the user watches set the item's alarm bits (1 end changed, 2 bid count changed
// under a bid-count alarm, 4 price changed under a high-bid alarm) and sound the alert. An ended
// item is fetched once more and then no longer. The stop button (CancelUpdate) ends the run after
// the item in hand with "Update Cancelled....."; the first failed download ends it with
// "Error! Item Update Failed!"; a page that came but is no item page (a removed item's) leaves its
// item as it was and the run goes on (item_refresh.h); a whole run ends with
// "Update Completed - <n> Items - <s> secs".
//
// UpdateEndingTime re-reads only the end times of the running items (after a change of the time
// zone or daylight saving, or from the toolbar).
//
// Both hold UpdateBusy while they run and DownloadBusy around each download; the items they
// fetch are found again by number after every wait, so a sort or a delete meanwhile does no harm.
#pragma once

#include <cstdint>

namespace TLMainItems {

// Which items the last UpdateItems refreshed: 0 all, 1 the category on show, 2 the item whose
// number stands in the item-number box.
inline int16_t UpdateScope = 0;

inline constexpr const char* kUpdateFailed = "Error! Item Update Failed!";
inline constexpr const char* kUpdateCancelled = "Update Cancelled.....";

void UpdateItems();
void UpdateEndingTime();

// The refreshes' pace: a page download starts at most this often.
inline constexpr int kUpdatePageIntervalMs = 1000;

}  // namespace TLMainItems
