// item_window_links.h — what the grid, its popup and the item windows reach of the main window
// beyond its general duties (main_window_link.h): the item details beside the grid and the
// window's caption and layout, the alarm dialog, the browser views, the photo
// frame and the bid-history list.
//
// Each duty is a small interface whose owner takes it on (setItemLink); until then, and in tests
// that install no stand-in, the duty does nothing and reads empty or false.
#pragma once

#include "foundation/duty_links.h"

#include <ostream>
#include <string>
#include <vector>

namespace TLMainItems {

// An area of the main window in twips (15 twips make one pixel), from its client area's corner.
struct TwipRect {
    long left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const TwipRect& r) {
    return os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

// The main window around the grid.
class ItemWindow {
public:
    virtual ~ItemWindow() = default;
    // The seller label beside the grid (labSeller); an empty text hides it (the feedback views).
    virtual void setSellerLabel(const std::string& text) {}
    // The auto-dial marker (Phone): shown or hidden.
    virtual void setAutoDialMarker(bool shown) {}
    // The window's caption.
    virtual void setMainCaption(const std::string& text) {}
    // Lays the window out after a grid load: filler rows to the grid's height, column 2 takes
    // the width the others leave.
    virtual void ResizeWindow() {}
    // The category list or the current category changed: the category menus follow it.
    virtual void categoriesChanged() {}
    // The system beep.
    virtual void beep() {}
    // The popup's entries that the main window carries out itself.
    virtual void MnuSubPopupCopy_Click() {}
    virtual void MnuSubPopupReport_Click() {}
    virtual void mnuTogglePhotos_Click() {}
    // The seller feedback analyzer for the selected item.
    virtual void MnuSubPopupFeedback_Click() {}
    virtual std::string photosCaption() const { return "Photos"; }
};

// The alarm settings dialog (Alarm), shown modally. (The bid set-up dialog is item_windows.h's.)
class AlarmDialog {
public:
    virtual ~AlarmDialog() = default;
    virtual void showAlarmDialog() {}
};

// Pages shown in a browser.
class BrowserViews {
public:
    virtual ~BrowserViews() = default;
    // The service's page of the item whose number is in the item-number box.
    virtual void ViewEbayItem() {}
    // The saved bid-results page of the selected item.
    virtual void MnuSubPopupBidResults_Click() {}
    // A page of the user's account on the service: a new window of the program's browser that
    // signs in by itself as [Options] MyeBayASI says (AutoSignIn).
    virtual void openServicePage(const std::string& address) {}
    // Starts a program with an argument list, never through a shell; false when it did not start.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments) { return false; }
};

// The photo frame (PicHolder) with its picture (ItemPic) and its "no photo" label; element 0 is
// the pop-up.
class PhotoFrame {
public:
    virtual ~PhotoFrame() = default;
    // Loads the picture file into the frame; its size in twips, or false when it does not load.
    virtual bool loadPicture(const std::string& path, long& width, long& height) { return false; }
    // Empties the frame's picture.
    virtual void clearPicture() {}
    // Shows the frame as laid out.
    virtual void placePhoto(int index, const TwipRect& frame, const TwipRect& picture, bool noPhoto, bool visible) {}
};

// The bid-history list (BidHistory), in report view.
struct BidHistoryRow {
    std::string key, bidder, amount, when;
    bool operator==(const BidHistoryRow&) const = default;
};
class BidHistoryList {
public:
    virtual ~BidHistoryList() = default;
    virtual void setColumns(const std::vector<std::string>& captions, const std::vector<long>& widths) {}
    virtual void setRows(const std::vector<BidHistoryRow>& rows) {}
    virtual void placeList(const TwipRect& area, bool visible) {}
};

// The duty as its owner carries it out; a stand-in that does nothing when nobody took it on.
template <class Link>
Link& itemLink() {
    return DutyLinks::dutyLink<Link>();
}
// `link` takes on the duty (nullptr: nobody).
template <class Link>
void setItemLink(Link* link) {
    DutyLinks::setDutyLink<Link>(link);
}

}  // namespace TLMainItems
