// item_popup_commands.h — the item popup menu (MnuTitleItemPopup) that a right press in the
// grid's description column opens, and the commands of its entries that act on the grid's items:
// delete, show the item's log lines, set up a bid, update, move to a category and comment.
//
// Delete, update and move work on the selected rows; the others on the item of SelectedRow (the
// comment on the number in the item-number box).
#pragma once

#include <string>

namespace TLMainItems {

inline constexpr const char* kBidsPending = "Bids Pending! Manual Item Updates are Disabled.";
inline constexpr const char* kNoLogEntries = "No Log Entries Found For Item ";

// The popup's entries, by the ID the menu gives back; a category entry k of "Move Item To" is
// kPopupCategory + k.
enum ItemPopupEntry : long {
    kPopupComment = 1,
    kPopupCopy,
    kPopupReport,
    kPopupDelete,
    kPopupDeleteClosed,
    kPopupSetupBid,
    kPopupUpdate,
    kPopupPhotos,
    kPopupSeparator,
    kPopupBidResults,
    kPopupLog,
    kPopupFeedback,
    kPopupCategory = 1000,
};

// What the next showing of the popup says: singular or plural captions, and which of the
// one-item entries are available.
struct ItemPopupState {
    bool plural = false;
    bool commentEnabled = true;
    bool bidResultsEnabled = true;
    bool logEnabled = true;
};
inline ItemPopupState ItemPopup;

// Singular captions with every entry available, or the plural ones without the one-item entries.
void Set_Item_Popup_Captions(bool plural);
// Shows the popup at the mouse and runs the chosen entry.
void Show_Item_Popup();
// Runs the entry with the ID, as a choice in the popup.
void Item_Popup_Command(long id);

void MnuSubPopupDelete_Click();
void MnuSubPopupLog_Click();
void MnuSubPopupSetupBid_Click();
void MnuSubPopupUpdate_Click();
void MnuSubPopupCats_Click(int Index);
void MnuSubPopupComment_Click();

}  // namespace TLMainItems
