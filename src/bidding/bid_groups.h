// bid_groups.h — bid groups (the program's "Wintally"): bid on several like items and stop after
// a wanted number of wins.
//
// Every item of a group carries the group's name, the wanted wins and the wins so far. A group
// belongs to one user: items of another user with the same name are another group, and user IDs
// match without regard to case. A win counts in every item of the group; at the wanted wins the
// group's remaining armed bids are cancelled (renamed "[Cancelled]-<name>") and the items held
// back by the group ("controlling group") are released. The options dialog keeps a list of
// group names per user in [BidGroups] (key = name, value = user).
#pragma once

#include <string>
#include <vector>

namespace modBidGroups {

// Counts the win of the item of the running result update (TLMainState::PendingRequestItem),
// whose high bidder is PageHighBidder; releases and cancels at the wanted wins. No high bidder
// cancels the group's remaining bids.
void Check_Group_Win();
// Cancels the remaining armed bids of the group of PendingRequestItem: BidTimeSecs 0, the name
// "[Cancelled]-" + name, a status still on its way to a bid emptied, the confirm request dropped.
// The caller saves the item store.
void Cancel_Group_Bids();

// The bid set-up dialog's group lists for item `index` and the user in use.
struct BidFormGroups {
    std::vector<std::string> groups;         // WTGroups: "" first, then the user's names
    std::vector<std::string> controlGroups;  // WTCtrlGroups: "" first, then the armed groups
    std::vector<std::string> requiredWins;   // WTReqWins: "1" to "30"
    int groupIndex = -1;                     // the entries selected (-1: none)
    int controlIndex = -1;
    int requiredIndex = -1;
    std::string itemsWon;                    // txtItemsWon
};
BidFormGroups Load_BidForm_Groups(int index);

// Writes the dialog's group choice into the items at `indexes` (the selected rows) for the user
// in use: group `groupText`, controlling group `controlText`, wanted wins `requiredWins`. Asks
// before it changes the wanted wins of a group that has some; refuses a name with "=", "[", "]"
// or a line break, a group that would control itself, and wanted wins at or below the wins
// counted. False when nothing was applied. The caller saves the item store.
bool Apply_Bid_Group(const std::string& groupText, const std::string& controlText, const std::string& requiredWins,
                     const std::vector<int>& indexes);

// The options dialog's list: adds a group name for `user` (refused when the name is not valid or
// another user has it), removes `user`'s group of that name, lists `user`'s groups in stored order.
bool Add_Bid_Group(const std::string& name, const std::string& user);
bool Remove_Bid_Group(const std::string& name, const std::string& user);
std::vector<std::string> Load_Setup_Groups(const std::string& user);

// A group name may not hold "=", "[", "]" or a line break (it is a key of the configuration).
bool Valid_Group_Name(const std::string& name);

inline constexpr const char* kCancelledPrefix = "[Cancelled]-";
inline constexpr const char* kInvalidGroupName = "Invalid Bid Group Name!";
inline constexpr const char* kGroupControlsItself = "Error! A Bid Group Can Not Control Itself.";
inline constexpr const char* kGroupNameTaken = "Error! Bid Group Name Used By Another User.";

}  // namespace modBidGroups
