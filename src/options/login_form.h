// login_form.h — the login dialog (Login): a gated last user types the password before the
// program starts; another user or "GUEST" can be chosen instead, or the program left.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_keys.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Login final : public QWidget {
public:
    // Shows the dialog modally and returns once a user has logged in (UserState::CurrentUserID
    // holds that user). Exit, or closing the window, ends the program at once: nothing is saved
    // and no other window's unload runs.
    static void Show_Login();

    // Called with the dialog right after it shows (tests play the user through it).
    static void SetShowHookForTests(std::function<void(Login&)> hook);

    // Event procedures.
    void Form_Load();
    void Form_Activate();
    void UserListbox_Click();
    void LoginCmd_Click();
    void ExitCmd_Click();

    // What the user can do.
    void chooseUser(const std::string& entry);  // selects the list entry with that text
    void typePassword(const std::string& text);

    // What the dialog shows.
    std::vector<std::string> entries() const;
    std::string selectedEntry() const;  // "" when nothing is selected

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* UserListbox = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* UsersPassBox = nullptr;
    QPushButton* LoginCmd = nullptr;
    QPushButton* ExitCmd = nullptr;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    Login();
    bool m_loggedIn = false;
    bool m_filling = false;
    platform::DefaultButtonMark m_defaultMark;
};
