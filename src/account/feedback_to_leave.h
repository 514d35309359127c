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
#include <unordered_map>
#include <utility>
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
// The command's reading of the fetched page (cleaned in place; PageText set): FeedbackList filled
// with the entries the page announces; the number of entries with a leave link, -1 when the page
// announces none (FeedbackList then unchanged).
long Read_Feedback_To_Leave(std::string& html, const std::string& pageAddress);
// The same on the cleaned page and its text.
long Read_Feedback_Entries(std::string_view html, std::string_view text, const std::string& pageAddress);

// The cutters; positions count from 1, 0 after a failed search.
long Get_FB_Count(std::string_view text, long& c);
std::string Get_FB_Item_Number(std::string_view text, long& c);
// The title is the line before the cursor, sought back at most kMaxTitleLine bytes: a longer
// line (a page that writes its entries on one line) holds no title.
std::string Get_FB_Item_Title(std::string_view text, long c);
inline constexpr long kMaxTitleLine = 1000;
std::string Get_FB_User_ID(std::string_view text, long& c);
std::string Get_FB_Item_Detail(std::string_view text, long& c);
// The entry's leave-feedback link in `html`, absolute against `pageAddress`; only http(s) links.
// The link is the quoted text around the first "useridto=" + the user (or, for a user with "$",
// with "%24") whose quoted text also holds the item number as a whole number.
std::string Get_FB_Leave_Link(std::string_view html, const std::string& userId, const std::string& itemNumber,
                              const std::string& pageAddress);
// The leave-feedback links of a page read in one pass, for the links of all its entries.
class LeaveLinks {
public:
    explicit LeaveLinks(std::string_view html);
    // As Get_FB_Leave_Link on the page.
    std::string find(const std::string& userId, const std::string& itemNumber, const std::string& pageAddress) const;

private:
    struct User {
        bool blocked = false;         // the user's first link stands before any quote
        std::vector<size_t> quoted;   // the quoted texts (by their first quote's index) with the user's links
    };
    const User& user(const std::string& userId) const;
    void addMatches(const std::string& name, std::vector<size_t>& at) const;

    std::string_view html_;
    std::string upper_;               // the page in capitals, for the case-blind searches
    std::vector<size_t> quotes_;      // every double quote
    // Each "useridto=" by the (at most kKey) capitals after it, then by its place.
    static constexpr size_t kKey = 64;
    std::vector<std::pair<std::string_view, size_t>> byName_;
    // Each run of digits in a quoted text that holds a "useridto=": those quoted texts, in order.
    std::unordered_map<std::string_view, std::vector<size_t>> numbers_;
    mutable std::unordered_map<std::string, User> users_;
};

// The status of the entry row at the HTML cursor; a failed search leaves the cursor where it was.
std::string Get_FB_Status(std::string_view html, long& h);

// Fills the main grid's view 1 from FeedbackList.
void Show_Feedback_To_Leave();

void ResetFeedbackToLeaveForTests();

}  // namespace modFeedback
