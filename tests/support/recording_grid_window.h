// recording_grid_window.h — stand-ins for what the grid and the item windows reach of the main
// window (items/item_window_links.h): the item details and caption, the alarm dialog, the
// browser views, the photo frame and the bid-history list. Each records what it was asked and
// takes on its duty for the life of the object.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "items/item_window_links.h"

namespace testsupport {

template <class Link, class Self>
class HoldsItemLink {
protected:
    HoldsItemLink() { TLMainItems::setItemLink<Link>(static_cast<Self*>(this)); }
    ~HoldsItemLink() { TLMainItems::setItemLink<Link>(static_cast<Link*>(nullptr)); }
};

class RecordingItemWindow final : public TLMainItems::ItemWindow,
                                  public HoldsItemLink<TLMainItems::ItemWindow, RecordingItemWindow> {
public:
    void setSellerLabel(const std::string& text) override { seller = text; }
    void setAutoDialMarker(bool shown) override { phoneShown = shown; }
    void setMainCaption(const std::string& text) override { caption = text; }
    void ResizeWindow() override { ++resizes; }
    void categoriesChanged() override { ++categoryBuilds; }
    void beep() override { ++beeps; }
    void MnuSubPopupCopy_Click() override { commands.push_back("Copy"); }
    void MnuSubPopupReport_Click() override { commands.push_back("Report"); }
    void MnuSubPopupFeedback_Click() override { commands.push_back("Feedback"); }
    void mnuTogglePhotos_Click() override { commands.push_back("Photos"); }

    std::string seller, caption;
    bool phoneShown = false;
    int resizes = 0, categoryBuilds = 0, beeps = 0;
    std::vector<std::string> commands;  // the main window's popup entries, in order
};

class RecordingAlarmDialog final : public TLMainItems::AlarmDialog,
                                   public HoldsItemLink<TLMainItems::AlarmDialog, RecordingAlarmDialog> {
public:
    void showAlarmDialog() override { ++shown; }
    int shown = 0;
};

class RecordingBrowserViews final : public TLMainItems::BrowserViews,
                                    public HoldsItemLink<TLMainItems::BrowserViews, RecordingBrowserViews> {
public:
    struct Started { std::string program; std::vector<std::string> arguments; };
    void ViewEbayItem() override { ++itemViews; }
    void MnuSubPopupBidResults_Click() override { ++bidResults; }
    void openServicePage(const std::string& address) override { servicePages.push_back(address); }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return startSucceeds;
    }
    int itemViews = 0, bidResults = 0;
    std::vector<std::string> servicePages;
    std::vector<Started> started;
    bool startSucceeds = true;
};

class RecordingPhotoFrame final : public TLMainItems::PhotoFrame,
                                  public HoldsItemLink<TLMainItems::PhotoFrame, RecordingPhotoFrame> {
public:
    struct Placed { TLMainItems::TwipRect frame, picture; bool noPhoto, visible; };
    // The picture every load measures (twips); loads fail when it is 0 wide.
    long pictureWidth = 0, pictureHeight = 0;
    bool loadPicture(const std::string& path, long& width, long& height) override {
        loaded.push_back(path);
        width = pictureWidth;
        height = pictureHeight;
        return pictureWidth > 0;
    }
    void clearPicture() override { ++clears; }
    void placePhoto(int index, const TLMainItems::TwipRect& frame, const TLMainItems::TwipRect& picture, bool noPhoto,
                    bool visible) override {
        placed[index] = {frame, picture, noPhoto, visible};
    }
    std::vector<std::string> loaded;
    int clears = 0;
    std::map<int, Placed> placed;  // the last placing of each element
};

class RecordingBidHistoryList final : public TLMainItems::BidHistoryList,
                                      public HoldsItemLink<TLMainItems::BidHistoryList, RecordingBidHistoryList> {
public:
    void setColumns(const std::vector<std::string>& c, const std::vector<long>& w) override {
        captions = c;
        widths = w;
    }
    void setRows(const std::vector<TLMainItems::BidHistoryRow>& r) override { rows = r; }
    void placeList(const TLMainItems::TwipRect& a, bool v) override {
        area = a;
        visible = v;
    }
    std::vector<std::string> captions;
    std::vector<long> widths;
    std::vector<TLMainItems::BidHistoryRow> rows;
    TLMainItems::TwipRect area;
    bool visible = false;
};

}  // namespace testsupport
