#include "options/change_password_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "options/users.h"
#include "options/users_tab.h"
#include "platform/message_box.h"

namespace {

ChgPass* g_chgPass = nullptr;

void notice(const std::string& text) { platform::MsgBox(text, platform::vbOKOnly | platform::vbSystemModal); }

}  // namespace

ChgPass::ChgPass() {
    setObjectName("ChgPass");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Change User Password");
    auto* grid = new QGridLayout(this);
    labchgpass = new QLabel(
        "To change your ebay user password enter your new password in the new password and confirmation boxes.",
        this);
    labchgpass->setWordWrap(true);
    grid->addWidget(labchgpass, 0, 0, 1, 2);
    const char* captions[3] = {"", "New Password:", "Confirm Password:"};
    for (int i = 1; i <= 2; ++i) {
        Label1[i] = new QLabel(captions[i], this);
        Text1[i] = new QLineEdit(this);
        Text1[i]->setEchoMode(QLineEdit::Password);
        grid->addWidget(Label1[i], i, 0);
        grid->addWidget(Text1[i], i, 1);
    }
    auto* buttons = new QHBoxLayout;
    cmdOK[0] = new QPushButton("Change", this);
    cmdOK[1] = new QPushButton("Cancel", this);
    for (int i = 0; i < 2; ++i) {
        buttons->addWidget(cmdOK[i]);
        connect(cmdOK[i], &QPushButton::clicked, this, [this, i] { cmdOK_Click(i); });
    }
    grid->addLayout(buttons, 3, 0, 1, 2);
}

ChgPass& ChgPass::Show_ChgPass(UsersTab* tab) {
    if (!g_chgPass) {
        g_chgPass = new ChgPass();
        g_chgPass->Form_Load();
    }
    g_chgPass->m_tab = tab;
    g_chgPass->show();
    g_chgPass->Text1[1]->setFocus();
    return *g_chgPass;
}

ChgPass* ChgPass::loaded() { return g_chgPass; }

// Brought to the front once, not kept there.
void ChgPass::Form_Load() {
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
    modTLMain::Set_Window_Topmost(this, -1);
    modTLMain::Set_Window_Topmost(this, 0);
}

void ChgPass::cmdOK_Click(int index) {
    if (index != 0) {
        Unload();
        return;
    }
    // The password goes to the current user's own line; without a stored current user there is
    // nothing to change.
    const std::string user = modUsers::Stored_User_Key(UserState::CurrentUserID);
    if (user.empty()) return notice("        No User Selected!        ");
    const std::string password = Text1[1]->text().toStdString();
    if (password.empty()) return notice("No User Password Entered....");
    if (modUsers::Password_Has_Outer_Blank(password)) return notice(modUsers::kOuterBlankPassword);
    if (password != Text1[2]->text().toStdString()) return notice("Error! Invalid Confirmation Password.");
    modTLC::Set_Config_Value(modUsers::kUsersSection, user, password);
    notice("Your Password has been Changed");
    Unload();
}

void ChgPass::forget() {
    if (g_chgPass == this) g_chgPass = nullptr;
}
