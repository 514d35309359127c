#include "options/add_user_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/categories.h"
#include "options/users.h"
#include "options/users_tab.h"
#include "platform/message_box.h"

namespace {

AddUser* g_addUser = nullptr;

void notice(const std::string& text) { platform::MsgBox(text, platform::vbOKOnly | platform::vbSystemModal); }

}  // namespace

AddUser::AddUser() {
    setObjectName("AddUser");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Add New User");
    auto* grid = new QGridLayout(this);
    labUserID = new QLabel("eBay User ID:", this);
    UsersIDBox = new QLineEdit(this);
    labUserPass = new QLabel("eBay User Password:", this);
    UsersPassBox = new QLineEdit(this);
    UsersPassBox->setEchoMode(QLineEdit::Password);
    LabConfirmPass = new QLabel("Confirm Password:", this);
    UsersConfirmBox = new QLineEdit(this);
    UsersConfirmBox->setEchoMode(QLineEdit::Password);
    ReqPassword = new QCheckBox("Require Users Password to Access Program", this);
    ReqPassword->setEnabled(false);
    grid->addWidget(labUserID, 0, 0);
    grid->addWidget(UsersIDBox, 0, 1);
    grid->addWidget(labUserPass, 1, 0);
    grid->addWidget(UsersPassBox, 1, 1);
    grid->addWidget(LabConfirmPass, 2, 0);
    grid->addWidget(UsersConfirmBox, 2, 1);
    grid->addWidget(ReqPassword, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    cmdAddUser[0] = new QPushButton("Add User", this);
    cmdAddUser[1] = new QPushButton("Cancel", this);
    for (int i = 0; i < 2; ++i) {
        buttons->addWidget(cmdAddUser[i]);
        connect(cmdAddUser[i], &QPushButton::clicked, this, [this, i] { cmdAddUser_Click(i); });
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
    setTabOrder(UsersIDBox, UsersPassBox);
    setTabOrder(UsersPassBox, UsersConfirmBox);
    connect(UsersConfirmBox, &QLineEdit::textChanged, this, [this] { UsersConfirmBox_Change(); });
    m_defaultMark.follow(this, [this] { return cmdAddUser[0]; });
    platform::passEnterToWindow(this);  // Enter on the password gate's box is Add User too
}

void AddUser::keyPressEvent(QKeyEvent* e) {
    if (!platform::pressButtonForKey(this, e, cmdAddUser[0], cmdAddUser[1])) UsersPageDialog::keyPressEvent(e);
}

AddUser& AddUser::Show_AddUser(UsersTab* tab) {
    if (!g_addUser) {
        g_addUser = new AddUser();
        g_addUser->Form_Load();
    }
    g_addUser->m_tab = tab;
    g_addUser->show();
    g_addUser->UsersIDBox->setFocus();
    return *g_addUser;
}

AddUser* AddUser::loaded() { return g_addUser; }

void AddUser::Form_Load() {
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
    modTLMain::Set_Window_Topmost(this, -1);
}

void AddUser::UsersConfirmBox_Change() {
    if (UsersPassBox->text().isEmpty()) return;
    m_confirmColour =
        modUsers::Confirmation_Colour(UsersPassBox->text().toStdString(), UsersConfirmBox->text().toStdString());
    modUsers::Set_Label_Colour(LabConfirmPass, m_confirmColour);
    ReqPassword->setEnabled(m_confirmColour == modUsers::kConfirmGreen);
}

void AddUser::cmdAddUser_Click(int index) {
    if (index != 0) {
        Unload();
        return;
    }
    // The ID becomes a key: lower case, without blanks at either end.
    std::string id = modUsers::Clean_User_Name(vb::LCase(UsersIDBox->text().toStdString()));
    const std::string password = UsersPassBox->text().toStdString();
    const std::string confirm = UsersConfirmBox->text().toStdString();
    if (const std::string fault = modUsers::User_Entry_Fault(id, password, confirm); !fault.empty())
        return notice(fault);

    // A user of that name (in any letter case) is replaced only when the user says so, and keeps
    // the name it is stored under, so its items, groups and cookies stay its own.
    const std::string existing = modUsers::Stored_User_Key(id);
    if (!existing.empty()) {
        const int answer = platform::MsgBox("User " + existing + " Already Exists! Replace User?",
                                            platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2 |
                                                platform::vbSystemModal);
        if (answer != platform::vbYes) return;
        id = existing;
    }

    modTLC::Set_Config_Value(modUsers::kUsersSection, id, password);
    modTLC::Set_Config_Value("Options", "LastUser", id);
    modTLC::Set_Config_Value(modUsers::kLogInSection, id, ReqPassword->isChecked() ? "1" : "0");
    const std::string category = TLMainItems::Current_Category_Name();
    if (!category.empty()) modTLC::Set_Config_Value("Categories", category, "1");
    UserState::CurrentUserID = id;
    if (m_tab) {
        m_tab->Fill_User_Lists();
        m_tab->Select_Current_User();
    }
    modUsers::Write_Main_Caption();
    Unload();
}

void AddUser::forget() {
    if (g_addUser == this) g_addUser = nullptr;
}
