// change_password_form.h — the change-password dialog (ChgPass), opened from the options
// dialog's Users page: a new password for the user who was current when it opened, the user its
// caption names, whoever is current by the time Change is pressed.
#pragma once

#include <string>

#include "options/users_tab.h"
#include "platform/dialog_keys.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class ChgPass final : public UsersPageDialog {
public:
    // The one dialog, shown modeless in front of the options dialog that holds `tab` (its Users
    // page), for the current user, who must be stored in [Users].
    static ChgPass& Show_ChgPass(UsersTab* tab);
    static ChgPass* loaded();  // nullptr when it is not open
    ~ChgPass() override;

    // Event procedures.
    void Form_Load();
    void cmdOK_Click(int index);  // 0 "Change", 1 "Cancel"

    QLabel* labchgpass = nullptr;
    QLabel* Label1[3] = {};    // 1 and 2
    QLineEdit* Text1[3] = {};  // 1 new password, 2 confirmation
    QPushButton* cmdOK[2] = {};

protected:
    // Enter presses the button with the focus, else Change; Esc is Cancel.
    void keyPressEvent(QKeyEvent* e) override;

private:
    explicit ChgPass(QWidget* setup);
    void forget() override;

    std::string m_user;
    platform::DefaultButtonMark m_defaultMark;
};
