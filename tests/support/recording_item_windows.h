// recording_item_windows.h — stands in for the bid set-up dialog and the comment window: records
// what was opened; the comment window stays open for a number of yields a test chooses. Takes on
// the duty for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "items/auction_item.h"
#include "items/item_windows.h"

namespace testsupport {

class RecordingItemWindows final : public TLMainItems::ItemWindows {
public:
    RecordingItemWindows() { TLMainItems::registerItemWindows(this); }
    ~RecordingItemWindows() override { TLMainItems::registerItemWindows(nullptr); }

    void showBidForm() override { bidForms.push_back(TLMainItems::AddedItemNumber); }
    void showCommentWindow(int itemIndex) override {
        commentWindows.push_back(itemIndex);
        m_openChecks = commentOpenChecks;
    }
    // Open until it has been asked `commentOpenChecks` times.
    bool commentWindowOpen() const override { return m_openChecks-- > 0; }

    std::vector<std::string> bidForms;  // AddedItemNumber when each bid set-up opened
    std::vector<int> commentWindows;    // the item index of each comment window
    int commentOpenChecks = 0;
    int commentOpenChecksLeft() const { return m_openChecks; }  // 0 or less: it was seen closed

private:
    mutable int m_openChecks = 0;
};

}  // namespace testsupport
