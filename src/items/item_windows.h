// item_windows.h — the windows that adding an item opens: the bid set-up dialog and the comment
// window.
//
// The main window takes on this duty when it loads (registerItemWindows); until then, and in tests
// that install no stand-in, nothing opens.
#pragma once

namespace TLMainItems {

class ItemWindows {
public:
    virtual ~ItemWindows() = default;

    // The bid set-up dialog (BidForm), created when absent and shown without waiting; right after
    // an add it takes its item from AddedItemNumber.
    virtual void showBidForm() {}
    // The comment window on item `itemIndex`, shown without waiting.
    virtual void showCommentWindow(int itemIndex) {}
    // Whether the comment window is open.
    virtual bool commentWindowOpen() const { return false; }
};

ItemWindows& itemWindows();
void registerItemWindows(ItemWindows* windows);  // nullptr: none

}  // namespace TLMainItems
