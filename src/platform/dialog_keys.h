// dialog_keys.h — Enter and Esc in the program's own small windows, which are plain windows
// rather than the toolkit's dialogs: Enter presses the button with the focus, else the window's
// default button, Esc its cancel button; and the button Enter would press is the one drawn as
// the default, so the user sees what Enter does.
#pragma once

#include <QMetaObject>
#include <functional>

class QKeyEvent;
class QPushButton;
class QWidget;

namespace platform {

// Presses the button the key stands for in `window`: for Enter (either key) the push button of
// the window that has the focus, else `enter`; for Esc `escape`. A button that is missing, not
// shown or disabled is not pressed. True (the event accepted) when a button was pressed.
bool pressButtonForKey(QWidget* window, QKeyEvent* e, QPushButton* enter, QPushButton* escape);

// Under some desktop themes (GTK's) Enter on a focused check box or option button presses it as
// Space does, and on a list opens it. In `window` Enter there is the window's own, as under Qt's
// own theme: it goes to the window (its keyPressEvent), not to the control. Covers the controls
// the window has now.
void passEnterToWindow(QWidget* window);

// Draws as the default the one button of a window that Enter would press: the focused push
// button, else the button `enter` gives (nullptr: none). A member of the window's class: it
// follows the focus from follow() until the window's own destructor has run.
class DefaultButtonMark {
public:
    DefaultButtonMark() = default;
    DefaultButtonMark(const DefaultButtonMark&) = delete;
    DefaultButtonMark& operator=(const DefaultButtonMark&) = delete;
    ~DefaultButtonMark();

    // Marks now, and again whenever the focus moves into, within or out of `window`.
    void follow(QWidget* window, std::function<QPushButton*()> enter);
    // Marks now (after the window changed which button `enter` gives).
    void markNow() const;

private:
    QWidget* m_window = nullptr;
    std::function<QPushButton*()> m_enter;
    QMetaObject::Connection m_focus;
};

}  // namespace platform
