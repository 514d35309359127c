// recording_main_window.h — a plain widget standing in for the main window: it records what
// the lower parts of the program asked of it and keeps menu checks and the item-number box;
// registered as the main window for the life of the object.
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "foundation/main_window_link.h"

namespace testsupport {

class RecordingMainWindow final : public QWidget, public MainWindowLink {
public:
    struct Wheel { long keys, rotation, x, y; };

    RecordingMainWindow() { registerMainWindow(this); }
    ~RecordingMainWindow() override { registerMainWindow(nullptr); }

    std::string itemNumberText() const override { return itemNumber; }
    void setItemNumberText(const std::string& text) override { itemNumber = text; }
    bool menuChecked(const std::string& name) const override {
        const auto it = checked.find(name);
        return it != checked.end() && it->second;
    }
    void setMenuChecked(const std::string& name, bool on) override { checked[name] = on; }
    void setMenuVisible(const std::string& name, bool on) override { menuVisible[name] = on; }
    bool exists() const override { return true; }
    void setWindowState(int state) override { windowStates.push_back(state); }
    bool isVisible() const override { return QWidget::isVisible(); }
    void setVisible(bool on) override {
        shows.push_back(on);
        QWidget::setVisible(on);
    }
    void AddLinkMenu() override { ++linkMenus; }
    void MouseWheel(long keys, long rotation, long x, long y) override { wheels.push_back({keys, rotation, x, y}); }
    std::string wakeUpTipText() const override { return wakeUpTip; }

    std::string itemNumber;
    std::string wakeUpTip;
    std::map<std::string, bool> checked;
    std::map<std::string, bool> menuVisible;
    std::vector<int> windowStates;
    std::vector<bool> shows;
    std::vector<Wheel> wheels;
    int linkMenus = 0;
};

}  // namespace testsupport
