// splash.h — the splash window: the hand-off from start-up to the first visible window.
#pragma once

#include <QWidget>
#include <functional>

#include "platform/timers.h"

class QLabel;

class Splash final : public QWidget {
    Q_OBJECT
public:
    // What the splash shows when it closes: the set-up wizard on a new install, else the main window.
    struct Next {
        std::function<void()> showNewSetup;
        std::function<void()> unloadNewSetup;
        std::function<void()> showMainWindow;
    };
    explicit Splash(Next next);

    void Form_Load();
    void ExitSplash();
    QLabel* TLIILogo = nullptr;

private:
    Next m_next;
    platform::Timer Timer1;
    bool m_done = false;
};
