// add_user_form.h — the add-user dialog (AddUser), opened from the options dialog's Users page:
// a new user, or a new password and gate for an existing one, who becomes the current user.
#pragma once

#include "options/users_tab.h"
#include "platform/dialog_keys.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class AddUser final : public UsersPageDialog {
public:
    // The one dialog, shown modeless in front of the options dialog; `tab` is the Users page
    // whose lists follow the new user.
    static AddUser& Show_AddUser(UsersTab* tab);
    static AddUser* loaded();  // nullptr when it is not open

    // Event procedures.
    void Form_Load();
    void UsersConfirmBox_Change();
    void cmdAddUser_Click(int index);  // 0 "Add User", 1 "Cancel"

    // The confirmation label's colour as a Windows colour value (0 black, 255 red, 40960 green).
    long confirmColour() const { return m_confirmColour; }

    QLabel* labUserID = nullptr;
    QLineEdit* UsersIDBox = nullptr;
    QLabel* labUserPass = nullptr;
    QLineEdit* UsersPassBox = nullptr;
    QLabel* LabConfirmPass = nullptr;
    QLineEdit* UsersConfirmBox = nullptr;
    QCheckBox* ReqPassword = nullptr;
    QPushButton* cmdAddUser[2] = {};

protected:
    // Enter is Add User (or the focused button), Esc Cancel.
    void keyPressEvent(QKeyEvent* e) override;

private:
    AddUser();
    void forget() override;
    long m_confirmColour = 0;
    platform::DefaultButtonMark m_defaultMark;
};
