// recording_main_window.h — stand-ins for the main window's duties: each records what the lower
// parts of the program asked of it and takes on its duty for the life of the object.
//
// A test that needs one duty makes that one (RecordingStatusLine, RecordingMenus, ...);
// RecordingMainWindow is a plain widget that carries out all of them.
#pragma once

#include <QWidget>
#include <map>
#include <functional>
#include <string>
#include <vector>

#include "foundation/main_window_link.h"

namespace testsupport {

// Takes on the duties of the derived class while it lives.
template <class Self>
class HoldsDuties {
protected:
    HoldsDuties() { TLMainLink::registerDuties(static_cast<Self*>(this)); }
    ~HoldsDuties() { TLMainLink::releaseDuties(static_cast<Self*>(this)); }
};

class RecordingStatusLine : public TLMainLink::StatusLine, public HoldsDuties<RecordingStatusLine> {
public:
    void setStatus(const std::string& text) override {
        status = text;
        statuses.push_back(text);
        if (onStatus) onStatus(text);
    }
    std::string statusText() const override { return status; }
    std::string status;
    std::vector<std::string> statuses;  // every message in order
    // Runs after each message (a test plays the user while the program works).
    std::function<void(const std::string&)> onStatus;
};

class RecordingItemNumberBox : public TLMainLink::ItemNumberBox, public HoldsDuties<RecordingItemNumberBox> {
public:
    std::string itemNumberText() const override { return itemNumber; }
    void setItemNumberText(const std::string& text) override { itemNumber = text; }
    std::string itemNumber;
};

class RecordingLogBox : public TLMainLink::LogBox, public HoldsDuties<RecordingLogBox> {
public:
    void showLogBox(const std::string& text) override {
        logBox = text;
        logBoxShown = true;
    }
    void hideLogBox() override { logBoxShown = false; }
    bool logBoxVisible() const override { return logBoxShown; }
    std::string logBoxSelectedText() const override { return logBoxSelection; }
    std::string logBox;
    bool logBoxShown = false;
    std::string logBoxSelection;
};

class RecordingMenus : public TLMainLink::Menus, public HoldsDuties<RecordingMenus> {
public:
    bool menuChecked(TLMainLink::MenuItem item) const override {
        const auto it = checked.find(item);
        return it != checked.end() && it->second;
    }
    void setMenuChecked(TLMainLink::MenuItem item, bool on) override { checked[item] = on; }
    void setMenuVisible(TLMainLink::MenuItem item, bool on) override { menuVisible[item] = on; }
    std::map<TLMainLink::MenuItem, bool> checked;      // only the items that were set
    std::map<TLMainLink::MenuItem, bool> menuVisible;
};

// A real widget, so that the tray icon, the subclass and popup menus have a window to go to.
class RecordingWindow : public QWidget, public TLMainLink::Window, public HoldsDuties<RecordingWindow> {
public:
    QWidget* widget() override { return this; }
    void setWindowState(int state) override { windowStates.push_back(state); }
    void setVisible(bool on) override {
        shows.push_back(on);
        QWidget::setVisible(on);
    }
    std::vector<int> windowStates;
    std::vector<bool> shows;
};

class RecordingToolbar : public TLMainLink::Toolbar, public HoldsDuties<RecordingToolbar> {
public:
    void setToolbarButtonTip(int button, const std::string& text) override { tips[button] = text; }
    std::map<int, std::string> tips;
};

class RecordingTrayAndWheel : public TLMainLink::TrayAndWheel, public HoldsDuties<RecordingTrayAndWheel> {
public:
    struct Wheel { long keys, rotation, x, y; };
    void AddLinkMenu() override { ++linkMenus; }
    void MouseWheel(long keys, long rotation, long x, long y) override { wheels.push_back({keys, rotation, x, y}); }
    std::string wakeUpTipText() const override { return wakeUpTip; }
    int linkMenus = 0;
    std::vector<Wheel> wheels;
    std::string wakeUpTip;
};

class RecordingSounds : public TLMainLink::Sounds, public HoldsDuties<RecordingSounds> {
public:
    struct Played { std::string name; int repeat; };
    void SoundEffects(const std::string& name, int repeat) override { played.push_back({name, repeat}); }
    std::vector<Played> played;
};

class RecordingMainWindow final : public RecordingWindow,
                                  public RecordingStatusLine,
                                  public RecordingItemNumberBox,
                                  public RecordingLogBox,
                                  public RecordingMenus,
                                  public RecordingToolbar,
                                  public RecordingTrayAndWheel,
                                  public RecordingSounds {};

}  // namespace testsupport
