// splash.h — the splash window: the hand-off from start-up to the first visible window, and the
// About box.
//
// At start-up the window is never shown: it closes 10 ms after its load and then shows the
// set-up wizard on a new install, otherwise the main window. As the About box (Help menu, "About
// Tolvane Rerode II") it fades in over the hidden main window with the program's picture, version
// and rights notice, stays until it is clicked or a key is pressed, fades out and brings the main
// window back. A click while a fade runs is ignored.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

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
    ~Splash() override;

    // Start-up: closes on the first tick of Timer1 (10 ms). About (AboutMode): shows the window and
    // fades it in, returning once the fade is done.
    void Form_Load();
    // Closes the window (with a fade-out when it is visible) and goes on to the next window;
    // nothing while a fade runs.
    void ExitSplash();
    void FadeInOutTimer_Timer();

    // Opacity steps of the fade (0 to 255) and its state.
    int32_t Alpha = 0;
    int32_t FadeDirection = 1;  // 1 in, 0 out
    bool FadeDone = false;

    QLabel* Image1 = nullptr;       // the program's picture
    QLabel* labName = nullptr;      // the program's name
    QLabel* TLIILogo = nullptr;     // DataFolder/Help/tl2splash.gif when it is there
    QLabel* labVer = nullptr;       // "Version 3.43"
    QLabel* labRT = nullptr;        // a status line, empty
    QLabel* labCopyright = nullptr;
    platform::Timer FadeInOutTimer;
    platform::Timer Timer1;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void waitForFade();
    Next m_next;
    bool m_done = false;
};

namespace TLMainAbout {

// True while the splash window serves as the About box.
inline bool AboutMode = false;

// The rights notice; its year range ends with the current year.
std::string Copyright_Text();

// The About command. With Shift and Ctrl held (KeyShiftState 3) an input box titled ":)" takes a
// service code first (compared in upper case): the debug access code switches the debug menu on;
// the time-out code followed by a number from 5 to 30 stores [Options] TimeOut. Anything else,
// and every other shift state, opens the About box: the main window hides until it closes.
void MnuSubAbout_Click(int KeyShiftState);

}  // namespace TLMainAbout
