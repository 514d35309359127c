// feedback_to_leave.h — the Feedback menu's "Leave Feedback": the transactions of the current
// user that still wait for feedback, read from the account's feedback page and shown in the
// main grid (view 1), one row per entry, coloured by what feedback the entry has received or
// been given. A double-click on a row opens its leave-feedback page; Esc returns to the items.
//
// The page is read with two cursors: the text cursor runs through the page text (item number,
// title, other party and date of each entry), the HTML cursor through the page's HTML (each
// entry's feedback status). UI thread only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modFeedback {

struct FeedbackEntry {
    std::string ItemNumber;
    std::string UserID;
    std::string Title;
    std::string Detail;     // the entry's date text
    std::string LeaveLink;  // the page on which feedback for it is left ("" none)
    std::string Status;     // "POS", "NEG", "NEU", "FBLEFT" or ""
    bool operator==(const FeedbackEntry&) const = default;
};
// Entries 1 to N (element 0 holds none), N the count the page announced (at most
// kMaxFeedbackEntries); replaced whole by each run that finds a count.
inline std::vector<FeedbackEntry> FeedbackList(1);
inline constexpr long kMaxFeedbackEntries = 1000;

inline constexpr const char* kCheckingFeedback = "Checking for Feedback to Leave.....";
inline constexpr const char* kFeedbackFailed = "Failed to Retrieve Feedback.....";
inline constexpr const char* kNoFeedbackToLeave = "You Have No Feedback to Leave....";

void Get_Feedback_To_Leave();

// The cutters; positions count from 1, 0 after a failed search.
long Get_FB_Count(std::string_view text, long& c);
std::string Get_FB_Item_Number(std::string_view text, long& c);
std::string Get_FB_Item_Title(std::string_view text, long c);
std::string Get_FB_User_ID(std::string_view text, long& c);
std::string Get_FB_Item_Detail(std::string_view text, long& c);
// The entry's leave-feedback link in `html`, absolute against `pageAddress`; only http(s) links.
std::string Get_FB_Leave_Link(std::string_view html, const std::string& userId, const std::string& itemNumber,
                              const std::string& pageAddress);
// The status of the entry row at the HTML cursor; a failed search leaves the cursor where it was.
std::string Get_FB_Status(std::string_view html, long& h);

// Fills the main grid's view 1 from FeedbackList.
void Show_Feedback_To_Leave();

void ResetFeedbackToLeaveForTests();

}  // namespace modFeedback
