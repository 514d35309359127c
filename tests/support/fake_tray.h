// fake_tray.h — a notification-area icon that records what the program did with it and lets a
// test play mouse actions on it; installed for the life of the object.
#pragma once

#include <QIcon>
#include <functional>
#include <string>
#include <vector>

#include "platform/tray.h"

namespace testsupport {

class FakeTrayIcon final : public platform::TrayIcon {
public:
    struct Balloon { std::string title, text; int iconFlags; };

    FakeTrayIcon() { platform::setTrayIconForTests(this); }
    ~FakeTrayIcon() override { platform::setTrayIconForTests(nullptr); }

    void add(const QIcon& picture, const std::string& tip, std::function<void(int)> onMouse) override {
        calls.push_back("add");
        icon = picture;
        if (!trayAvailable) return;  // as on a desktop without a notification area
        shown = true;
        this->tip = tip;
        m_onMouse = std::move(onMouse);
    }
    void remove() override {
        shown = false;
        m_onMouse = {};
        calls.push_back("remove");
    }
    void setTip(const std::string& t) override {
        tip = t;
        calls.push_back("tip");
    }
    void showBalloon(const std::string& title, const std::string& text, int iconFlags) override {
        balloons.push_back({title, text, iconFlags});
        calls.push_back("balloon");
    }

    bool available() const override { return trayAvailable; }
    bool isShown() const override { return shown; }

    // A mouse action on the icon (platform::kTrayLeftButtonUp, ...); nothing while it is not shown.
    void mouse(int mouseMessage) {
        if (shown && m_onMouse) m_onMouse(mouseMessage);
    }

    bool trayAvailable = true;  // false: a desktop without a notification area
    bool shown = false;
    QIcon icon;  // the picture last added
    std::string tip;
    std::vector<Balloon> balloons;
    std::vector<std::string> calls;  // "add", "remove", "tip", "balloon" in order

private:
    std::function<void(int)> m_onMouse;
};

}  // namespace testsupport
