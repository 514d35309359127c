// change_password_form.h — the change-password dialog (ChgPass), opened from the options
// dialog's Users page: a new password for the current user.
#pragma once

#include "options/users_tab.h"

class QLabel;
class QLineEdit;
class QPushButton;

class ChgPass final : public UsersPageDialog {
public:
    // The one dialog, shown modeless; `tab` is the Users page of the options dialog.
    static ChgPass& Show_ChgPass(UsersTab* tab);
    static ChgPass* loaded();  // nullptr when it is not open

    // Event procedures.
    void Form_Load();
    void cmdOK_Click(int index);  // 0 "Change", 1 "Cancel"

    QLabel* labchgpass = nullptr;
    QLabel* Label1[3] = {};    // 1 and 2
    QLineEdit* Text1[3] = {};  // 1 new password, 2 confirmation
    QPushButton* cmdOK[2] = {};

private:
    ChgPass();
    void forget() override;
};
