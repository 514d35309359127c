// items_guard.h — the one check of the item commands that change or download items while other
// work runs on the list.
//
// While a page download, a list refresh or import, or the refresh of the selected rows runs, or
// while the bid of some item is being validated or placed, the commands that would refresh the
// selected rows or remove items (delete, delete closed, category delete) refuse: the status line
// reads "Busy, Download In Progress...." and nothing changes.
#pragma once

namespace TLMainItems {

inline constexpr const char* kBusyDownload = "Busy, Download In Progress....";

// True while DownloadBusy, UpdateBusy or SelectedUpdateBusy is set, or an item is
// "Validating Bid" or "Placing Bid".
bool Items_Busy();

// Items_Busy(), telling the user when it is: true when the command must not run.
bool Refuse_When_Items_Busy();

}  // namespace TLMainItems
